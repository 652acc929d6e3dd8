#include "stellation/FaceType.h"

#include "kernel/FaceDiagram.h"
#include "kernel/KitPanelShape.h"

#include <vector>

FaceType::FaceType(Poly* poly, Stellation* stellation, int typeId, int index)
    : mPoly(poly), mTypeId(typeId), mIndex(index), mStellation(stellation)
{
}

FaceType::~FaceType() = default;

bool FaceType::HasEarlierMirror() const
{
    return mMirrorFace && mMirrorFace->mIndex < mIndex;
}

bool FaceType::IsPanelShape(std::span<const Vec3D> firstFaceCorners, const Vec3D& normal)
{
    if (mFlags & kFaceTypePanelShape)
        return true;
    if (mFlags & kFaceTypeNotPanelShape)
        return false;
    if (firstFaceCorners.empty())
        return false;

    // The panel test may turn a rhombus to start at an acute corner: work on a copy.
    std::vector<Vec3D> corners(firstFaceCorners.begin(), firstFaceCorners.end());
    int rhombus = 0;
    if (corners.size() <= 12 && IsKitPanelShape(int(corners.size()), corners.data(), normal, &rhombus))
    {
        mFlags |= kFaceTypePanelShape;
        if (rhombus)
            mFlags |= kFaceTypeRhombusPanel;
        return true;
    }
    mFlags |= kFaceTypeNotPanelShape;
    return false;
}
