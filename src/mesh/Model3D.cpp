#include "mesh/Model3D.h"

#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/Stellation.h"

#include <cmath>
#include <new>

namespace
{
void DeleteTypeList(Face3DType*& first)
{
    while (first)
    {
        Face3DType* next = first->mNext;
        delete first;
        first = next;
    }
}
}  // namespace

Model3D::Model3D(Poly* poly, Stellation* stellation) : mPoly(poly), mStellation(stellation)
{
    for (auto& row : mKitPanels)
        for (int32_t& count : row)
            count = -1;
}

Model3D::~Model3D()
{
    Clear();
}

void Model3D::Clear()
{
    ScopedWaitCursor wait;
    mSelectedFace = nullptr;
    mSelectedEdge = nullptr;
    mVerts.reset();
    mNumVerts = 0;
    mNumVertTypes = 0;
    DeleteTypeList(mFaceTypes);
    DeleteTypeList(mExtraFaceTypes);
    mLastExtraFaceType = nullptr;
}

bool Model3D::AllocateVerts(int count)
{
    mVerts.reset();
    mNumVerts = 0;
    if (count < 0)
        return false;
    mVerts.reset(new (std::nothrow) Vert3D[size_t(count)]);
    if (!mVerts && count > 0)
        return false;
    mNumVerts = count;
    return true;
}

Face3DType* Model3D::AppendFaceType(std::unique_ptr<Face3DType> owned, bool userFacet)
{
    Face3DType* type = owned.release();
    if (!type)
        return nullptr;
    type->mModel = this;
    type->mNext = nullptr;
    if (userFacet)
    {
        type->mFlags |= kFace3DTypeUserFacet;
        if (mLastExtraFaceType)
            mLastExtraFaceType->mNext = type;
        else
            mExtraFaceTypes = type;
        mLastExtraFaceType = type;
        return type;
    }
    Face3DType** link = &mFaceTypes;
    while (*link)
        link = &(*link)->mNext;
    *link = type;
    return type;
}

Vert3D* Model3D::GetVert(int i) const
{
    return i >= 0 && i < mNumVerts ? &mVerts[size_t(i)] : nullptr;
}

int Model3D::GetNumFaceTypes() const
{
    int n = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        ++n;
    return n;
}

int Model3D::GetNumFaces() const
{
    int n = 0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
        n += type->mNumFaces;
    return n;
}

Face3D* Model3D::GetFace(int i) const
{
    if (i < 0)
        return nullptr;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        if (i < type->mNumFaces)
            return type->GetFace(i);
        i -= type->mNumFaces;
    }
    return nullptr;
}

bool Model3D::IsDual() const
{
    return mStellation && mStellation->IsDual();
}

void Model3D::CalcEdgeLengthRange()
{
    if (mMaxEdgeLength >= 0.0)
        return;
    double shortest = kUnsetValue;
    double longest = -1.0;
    for (const Face3DType* type = mFaceTypes; type; type = type->mNext)
    {
        const Face3D* face = type->GetFace(0);
        if (!face)
            continue;
        for (int i = 0; i < type->mNumSides; ++i)
        {
            const Edge3D& edge = face->mEdges[size_t(i)];
            const Edge3D* next = edge.GetNext();
            if (!next)
                continue;
            Vec2D d;
            Vec2Sub(d, next->mFacePos, edge.mFacePos);
            const double lengthSq = d.x * d.x + d.y * d.y;
            if (lengthSq < shortest)
                shortest = lengthSq;
            if (lengthSq > longest)
                longest = lengthSq;
        }
    }
    // A mesh without edges has no lengths: both stay unset rather than becoming roots of the
    // starting values.
    if (longest < 0.0)
        return;
    mMinEdgeLength = std::sqrt(shortest);
    mMaxEdgeLength = std::sqrt(longest);
}

double Model3D::GetMeanEdgeLength()
{
    CalcEdgeLengthRange();
    return (mMinEdgeLength + mMaxEdgeLength) / 2.0;
}

void Model3D::SetKitReason(const char* reason)
{
    if (mStellation)
        mStellation->mKitReason = reason;
}

bool Model3D::IsKitBuildable(Model3D* model)
{
    if (!model)
        return false;
    // The complexity question of the stellation build is open: answer without looking, and keep
    // nothing.
    if (IsModelBuildSuspended())
        return true;
    if (model->mFlags & (kModel3DKitYes | kModel3DKitNo))
        return (model->mFlags & kModel3DKitYes) != 0;

    model->SetKitReason(nullptr);
    model->CalcEdgeLengthRange();
    if (!WithinTol(model->mMinEdgeLength, model->mMaxEdgeLength, kTol))
    {
        model->SetKitReason(kKitReasonEdgeLengths);
        model->mFlags |= kModel3DKitNo;
        return false;
    }

    // Edges meeting at a vertex: one vertex of each type stands for its run. The same edge seen
    // from two facelets points the same way and is no small angle.
    const double shortest = model->mMinEdgeLength;
    const double cosMin = std::cos(kKitMinAngle);
    for (int v = 0; v < model->mNumVerts; ++v)
    {
        const Vert3D& vert = model->mVerts[size_t(v)];
        if (!(vert.mFlags & kVert3DRunStart))
            continue;
        for (const Edge3D* p = vert.mFirstEdge; p; p = p->mNextAtVert)
        {
            const Edge3D* pNext = p->GetNext();
            if (!pNext || !pNext->mVert)
                continue;
            Vec3D dp;
            Vec3Sub(dp, pNext->mVert->mPos, vert.mPos);
            Vec3Scale(dp, dp, 1.0 / shortest);
            for (const Edge3D* q = p->mNextAtVert; q; q = q->mNextAtVert)
            {
                const Edge3D* qNext = q->GetNext();
                if (!qNext || !qNext->mVert)
                    continue;
                Vec3D dq;
                Vec3Sub(dq, qNext->mVert->mPos, vert.mPos);
                Vec3Scale(dq, dq, 1.0 / shortest);
                const double dot = Vec3Dot(dp, dq);
                if (dot > cosMin && !(dot >= kRatioLow && dot <= kRatioHigh))
                {
                    model->SetKitReason(kKitReasonEdgeAngle);
                    model->mFlags |= kModel3DKitNo;
                    return false;
                }
            }
        }
    }

    model->mFlags |= kModel3DKitYes;
    return true;
}
