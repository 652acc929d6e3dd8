// The Stellation's cached mesh of what its side shows, and the sizes measured on it.

#include "stellation/Stellation.h"

#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/ModelBuildSuspension.h"

#include <algorithm>
#include <cmath>

namespace
{
// The largest distance from the first face's centre to a corner of a facelet lying on that face;
// 1 when none lies on it.
double FaceTypeRadius(const FaceType& type)
{
    const FaceVert* first = type.mFirstFace;
    const Face3D* start = first ? FaceVert::FindFace3D(first) : nullptr;
    double best = -1.0;
    const Face3D* face = start;
    while (face)
    {
        if (face->mElement == first && face->mType)
            for (int i = 0; i < face->mType->mNumSides; ++i)
                if (const Vert3D* v = face->mEdges[size_t(i)].mVert)
                    best = std::max(best, Vec3Distance(v->mPos, first->mCentre));
        face = face->mNextOnElement != start ? face->mNextOnElement : nullptr;
    }
    return best < 0.0 ? 1.0 : best;
}
}  // namespace

bool Stellation::UsesFaceMesh() const
{
    if (!mPoly)
        return false;
    const uint32_t wanted = mDual ? Poly::kConvex : Poly::kConvex | Poly::kRadiallyConvex | Poly::kNonSelfIntersecting;
    return (mPoly->mFlags & wanted) != 0;
}

Model3D* Stellation::GetModel3D(bool withNets)
{
    ScopedWaitCursor wait;
    (void)withNets;  // nets are not made yet
    if (!mModel3D && mFirstFaceType && mPoly && !IsModelBuildSuspended())
    {
        if (IsOriginal() && UsesFaceMesh())
            mModel3D = Model3D::CreateFromPoly(mPoly, mDual);
    }
    return mModel3D.get();
}

double Stellation::GetRadius()
{
    if (mRadius >= 0.0)
        return mRadius;
    const Model3D* model = GetModel3D(false);
    if (!model)
        return 0.0;
    mRadius = model->GetRadius();
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (!type->mCoplanarSource)
            type->mRadius = FaceTypeRadius(*type);
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mCoplanarSource)
            type->mRadius = type->mCoplanarSource->mRadius;
    return mRadius;
}
