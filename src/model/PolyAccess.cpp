#include "model/Poly.h"

#include "model/CompoundPart.h"
#include "model/Face.h"
#include "model/SymGroup.h"
#include "model/Vert.h"
#include "polytope4d/Polytope4D.h"
#include "stellation/FaceType.h"

#include <algorithm>

namespace
{
double gInfinityRadiusMargin = 0.0;
}  // namespace

double GetInfinityRadiusMargin()
{
    return gInfinityRadiusMargin;
}

void SetInfinityRadiusMargin(double margin)
{
    gInfinityRadiusMargin = margin;
}

void Poly::GetSideLists(bool dual, ElemList** faces, ElemList** verts, Stellation** stellation,
                        Stellation** otherStellation)
{
    ElemList* faceList = dual ? static_cast<ElemList*>(&mVerts) : static_cast<ElemList*>(&mFaces);
    ElemList* vertList = dual ? static_cast<ElemList*>(&mFaces) : static_cast<ElemList*>(&mVerts);
    if (faces)
        *faces = faceList;
    if (verts)
        *verts = vertList;
    if (stellation)
        *stellation = dual ? GetVertStellation() : GetFaceStellation();
    if (otherStellation)
        *otherStellation = dual ? GetFaceStellation() : GetVertStellation();
}

Vert* Poly::GetNthVert(int i) const
{
    return static_cast<Vert*>(mVerts.GetNth(i));
}

Face* Poly::GetNthFace(int i) const
{
    return static_cast<Face*>(mFaces.GetNth(i));
}

FaceVert* Poly::GetElement(const Poly* poly, int i)
{
    if (!poly)
        return nullptr;
    if (i < poly->mFaces.mCount)
        return poly->mFaces.GetNth(i);
    return poly->mVerts.GetNth(i - poly->mFaces.mCount);
}

Edge* Poly::GetEdge(int i) const
{
    if (i < 0 || i >= mNumEdges || i >= mEdges.count)
        return nullptr;
    return const_cast<Edge*>(&mEdges[i]);
}

Edge* Poly::FindEdge(const FaceVert* face0, const FaceVert* face1, const FaceVert* vert0,
                     const FaceVert* vert1) const
{
    for (int i = 0; i < mEdges.count; ++i)
    {
        const Edge& e = mEdges[i];
        const bool facesMatch = (e.mFaces[0] == face0 && e.mFaces[1] == face1) ||
                                (e.mFaces[0] == face1 && e.mFaces[1] == face0);
        const bool vertsMatch = (e.mVerts[0] == vert0 && e.mVerts[1] == vert1) ||
                                (e.mVerts[0] == vert1 && e.mVerts[1] == vert0);
        if (facesMatch && vertsMatch)
            return const_cast<Edge*>(&e);
    }
    return nullptr;
}

SymGroup* Poly::GetSymGroup() const
{
    return mFullGroup ? mFullGroup.get() : mGroup.get();
}

double Poly::GetRadius()
{
    if (mPolytope)
        return Polytope4D::GetRadius(mPolytope.get());
    const Stellation* stellation = GetFaceStellation();
    if (!stellation->mFirstFaceType)
        return 1.0;
    if (mRadius < 0.0)
    {
        double radius = 0.0;
        for (const FaceType* type = stellation->mFirstFaceType; type; type = type->mNextFaceType)
        {
            const FaceVert* first = type->mFirstFace;
            if (!first || (first->mFlags & FaceVert::kHemi))
                continue;
            radius = std::max(radius, Vec3Length(first->mPoint));
        }
        mRadius = radius;
    }
    return mHasPointsAtInfinity ? mRadius + gInfinityRadiusMargin : mRadius;
}

double Poly::GetExtentAlong(const Vec3D& direction, bool dual) const
{
    Vec3D unit = direction;
    if (!Vec3Normalize(unit))
        return 0.0;
    const ElemList& verts = dual ? static_cast<const ElemList&>(mFaces) : static_cast<const ElemList&>(mVerts);
    bool any = false;
    double low = 0.0, high = 0.0;
    for (const FaceVert* e = verts.mFirst; e; e = e->mNext)
    {
        if (e->mFlags & FaceVert::kHemi)
            continue;
        const double t = Vec3Dot(e->mPoint, unit);
        if (!any || t < low)
            low = t;
        if (!any || t > high)
            high = t;
        any = true;
    }
    return any ? high - low : 0.0;
}

void Poly::ClearElementFlags(uint32_t mask)
{
    for (FaceVert* e = mFaces.mFirst; e; e = e->mNext)
        e->mFlags &= ~mask;
    for (FaceVert* e = mVerts.mFirst; e; e = e->mNext)
        e->mFlags &= ~mask;
}

bool Poly::IsCompound() const
{
    if (mPolytope)
        return mPolytope->mFirstPart && mPolytope->mFirstPart->mNext;
    return mFirstPart && mFirstPart->mNext;
}

int Poly::GetNumParts() const
{
    if (mPolytope)
        return mPolytope->GetNumParts();
    int n = 0;
    for (const CompoundPart* part = mFirstPart; part; part = part->mNext)
        ++n;
    return n;
}

CompoundPart* Poly::GetNthPart(int n) const
{
    if (n < 0)
        return nullptr;
    CompoundPart* part = mFirstPart;
    while (part && n-- > 0)
        part = part->mNext;
    return part;
}
