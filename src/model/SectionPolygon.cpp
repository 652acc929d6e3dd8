#include "model/SectionPolygon.h"

#include <new>

SectionPolygon::SectionPolygon(int numPoints)
{
    if (numPoints <= 0)
        return;
    mPoints.reset(new (std::nothrow) Vec3D[numPoints]);
    if (mPoints)
        mNumPoints = numPoints;
}

SectionPolygon::~SectionPolygon()
{
    // Unlinked one at a time so that a long chain never recurses.
    while (mNext)
    {
        SectionPolygon* next = mNext;
        mNext = next->mNext;
        next->mNext = nullptr;
        delete next;
    }
}
