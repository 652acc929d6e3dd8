// The Stellation's cached mesh of what its side shows, and the sizes measured on it.

#include "stellation/Stellation.h"

#include "kernel/Polygon3D.h"
#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/StellationSurface.h"

#include <algorithm>
#include <cmath>

void FaceType::CalcRadius()
{
    if (mStellation)
        mStellation->GetModel3D(false);
    const FaceVert* first = mFirstFace;
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
    mRadius = best < 0.0 ? 1.0 : best;
}

double FaceType::GetRadius(FaceType* type)
{
    if (!type)
        return 1.0;
    if (type->mStellation)
        type->mStellation->GetRadius();
    return type->mRadius;
}

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
    if (!mModel3D && mFirstFaceType && mPoly && !IsModelBuildSuspended() && !IsComplexityWarningOpen() &&
        !IsUnderConstruction())
    {
        if (IsOriginal() && UsesFaceMesh())
        {
            mModel3D = Model3D::CreateFromPoly(mPoly, mDual);
        }
        else
        {
            mPoly->CreateStellation(this, kStellationBuilt);
            if (IsBuilt() && !mBuildDeclined)
            {
                const int numVerts = MarkAllUsedSegVerts(this);
                if (numVerts >= 0)
                    mModel3D = Model3D::CreateFromStellation(this, numVerts);
            }
        }
    }
    if (mModel3D && withNets && !Model3D::HasNets(mModel3D.get()))
    {
        // The closed user facets get nets of their own; the one being drawn is not a facet yet.
        for (Polygon3D* p = mPoly ? mPoly->mFirstDrawnPolygon : nullptr; p; p = p->mNext)
            if (p != mPoly->mCurrentDrawnPolygon)
                mModel3D->AddUserFacet(p);
        mModel3D->CreateNets();
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
            type->CalcRadius();
    for (FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        if (type->mCoplanarSource)
            type->mRadius = type->mCoplanarSource->mRadius;
    return mRadius;
}
