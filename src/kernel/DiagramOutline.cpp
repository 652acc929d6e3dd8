#include "kernel/DiagramOutline.h"

void DiagramOutline::Clear()
{
    mOwnerKind = -1;
    mLoopTypeCount = -1;
    mLoopTypeTriangles = nullptr;
    mPoints = nullptr;
}
