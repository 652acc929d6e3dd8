#include "mesh/Edge3D.h"

#include "mesh/Face3D.h"
#include "mesh/Face3DType.h"

namespace
{
// The first edge index and the size of the loop holding edge i.
bool FindLoop(const Face3DType& type, int i, int& start, int& size)
{
    start = 0;
    for (int32_t loopSize : type.mLoopSizes)
    {
        if (i < start + loopSize)
        {
            size = loopSize;
            return true;
        }
        start += loopSize;
    }
    return false;
}
}  // namespace

int Edge3D::GetIndexInFace() const
{
    return mFace ? int(this - mFace->mEdges.get()) : -1;
}

Edge3D* Edge3D::GetNext() const
{
    const int i = GetIndexInFace();
    int start = 0, size = 0;
    if (i < 0 || !mFace->mType || !FindLoop(*mFace->mType, i, start, size))
        return nullptr;
    return &mFace->mEdges[size_t(start + (i - start + 1) % size)];
}

Edge3D* Edge3D::GetPrev() const
{
    const int i = GetIndexInFace();
    int start = 0, size = 0;
    if (i < 0 || !mFace->mType || !FindLoop(*mFace->mType, i, start, size))
        return nullptr;
    return &mFace->mEdges[size_t(start + (i - start + size - 1) % size)];
}
