#include "model/SectionPolygon.h"

#include <new>

SectionPolygon::SectionPolygon(int numPoints)
{
    if (numPoints <= 0)
        return;
    mPoints.reset(new (std::nothrow) Vec3D[numPoints]);
    mFaces.reset(new (std::nothrow) FaceVert*[numPoints]());
    if (mPoints && mFaces)
        mNumPoints = numPoints;
    else
    {
        mPoints.reset();
        mFaces.reset();
    }
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
