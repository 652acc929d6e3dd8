#include "kernel/ViewTypes.h"

bool IsFacetViewType(int code)
{
    switch (code)
    {
    case kViewTypeFacetPreview:
    case kViewTypeFacetDiagram:
    case kViewTypeNet2D:
    case kViewTypeFace:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
        return true;
    default:
        return false;
    }
}
