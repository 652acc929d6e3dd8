#include "stellation/FaceType.h"

#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"

namespace
{
// Elements are alike when they have the same type; before types exist, the same identifier.
bool SameKind(const FaceVert* a, const FaceVert* b)
{
    if (!a || !b)
        return a == b;
    if (a->mFaceType || b->mFaceType)
        return a->mFaceType == b->mFaceType;
    return a->mIdFlags == b->mIdFlags;
}

// Turning the face by step places maps every corner and every face across a side onto one alike.
bool TurnMatches(const FaceVert* face, int step)
{
    const int n = face->mNumSides;
    for (int i = 0; i < n; ++i)
    {
        const int j = (i + step) % n;
        if (!SameKind(face->mNeighbours[i], face->mNeighbours[j]))
            return false;
        if (!SameKind(FaceVert::GetAdjacent(face, i), FaceVert::GetAdjacent(face, j)))
            return false;
    }
    return true;
}

// A turn the face allows that no rotation of a group with this many faces of the type can make.
bool MustHalve(int count, int order)
{
    return (count > 2 && order > 5) || (count == 3 && order == 4) || (count == 4 && order == 4) ||
           (count > 6 && order == 4) || (count == 24 && order == 2) || (count == 60 && order == 2);
}

bool AlongAxis(const Vec3D& axis, const Vec3D& normal)
{
    return Vec3Equal(axis, normal, kSymTol) || Vec3EqualNeg(axis, normal, kSymTol);
}
}  // namespace

void FaceType::EstimateRotOrder()
{
    if (mCoplanarSource)
        return;
    const FaceVert* face = mFirstFace;
    const int n = face ? face->mNumSides : 0;
    int order = 1;
    for (int k = n; k > 1; --k)
    {
        if (n % k == 0 && TurnMatches(face, n / k))
        {
            order = k;
            break;
        }
    }
    if (MustHalve(mCount, order))
        order /= 2;
    mNumRotations = order;
}

void FaceType::RaiseRotOrder(const SymGroup* group)
{
    if (!group || !mFirstFace || mNumRotations <= 0)
        return;
    const Vec3D& normal = mFirstFace->mZAxis;
    for (int s = 0; s < group->mNumAxisSets; ++s)
    {
        const SymAxisSet& set = group->mAxisSets[s];
        if (set.mOrder == mNumRotations || set.mOrder % mNumRotations != 0)
            continue;
        for (int i = 0; i < set.mNumAxes; ++i)
        {
            if (AlongAxis(set.mAxes[i].mDir, normal))
            {
                mNumRotations = set.mOrder;
                return;
            }
        }
    }
}
