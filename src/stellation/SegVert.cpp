#include "stellation/SegVert.h"

#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

SegVert::SegVert(FaceType* faceType, double x, double y, SegVert*& list)
    : mFaceType(faceType), mPos{x, y}, mNext(list)
{
    list = this;
}

int SegVert::GetAxisClass() const
{
    if (mFlags & kSegVertCentre)
        return 0;
    if (!(mFlags & kSegVertOnAxis))
        return -1;
    if (mFlags & kSegVertAxisClass0)
        return 0;
    return (mFlags & kSegVertAxisClass1) ? 1 : 2;
}

int SegVert::GetNumCopies() const
{
    if (mFlags & kSegVertCentre)
        return 1;
    const Stellation* stellation = mFaceType ? mFaceType->mStellation : nullptr;
    return Stellation::CountCopies(stellation, GetAxisClass());
}
