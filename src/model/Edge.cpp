#include "model/Edge.h"

#include "kernel/Tolerance.h"
#include "model/ElementDisplayOptions.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"

Edge::Edge()
{
    mColor = GetElementDisplayOptions().mDefaultEdgeColor;
}

Edge::~Edge()
{
    SetText(this, nullptr);
}

int Edge::GetIndex(const Edge* edge, const Poly* poly)
{
    if (!edge || !poly || !poly->mEdges.items)
        return -1;
    const Edge* first = poly->mEdges.begin();
    if (edge < first || edge >= poly->mEdges.end())
        return -1;
    return int(edge - first);
}

bool Edge::Touches(const PolyElement* element) const
{
    return element && (element == mVerts[0] || element == mVerts[1] || element == mFaces[0] || element == mFaces[1]);
}

Vert* Edge::GetOtherVert(const Edge* edge, const Vert* vert)
{
    if (!edge)
        return nullptr;
    if (vert == edge->mVerts[0])
        return edge->mVerts[1];
    return edge->mVerts[0];
}

Face* Edge::GetOtherFace(const Edge* edge, const Face* face)
{
    if (!edge)
        return nullptr;
    if (face == edge->mFaces[0])
        return edge->mFaces[1];
    return edge->mFaces[0];
}

FaceVert* Edge::GetOther(const FaceVert* element) const
{
    if (element && element->IsVert())
        return GetOtherVert(this, static_cast<const Vert*>(element));
    if (element && element->IsFace())
        return GetOtherFace(this, static_cast<const Face*>(element));
    return nullptr;
}

std::array<FaceVert*, 2> Edge::GetVerts(bool dual) const
{
    if (dual)
        return {mFaces[0], mFaces[1]};
    return {mVerts[0], mVerts[1]};
}

std::array<FaceVert*, 2> Edge::GetFaces(bool dual) const
{
    return GetVerts(!dual);
}

FaceVert* Edge::GetEnd(bool dual, int i) const
{
    return dual ? static_cast<FaceVert*>(mFaces[i]) : static_cast<FaceVert*>(mVerts[i]);
}

FaceVert* Edge::GetSide(bool dual, int i) const
{
    return GetEnd(!dual, i);
}

int EdgeType::GetIndex(const EdgeType* type, const Poly* poly)
{
    if (!type || !poly || !poly->mEdgeTypes.items)
        return -1;
    const EdgeType* first = poly->mEdgeTypes.begin();
    if (type < first || type >= poly->mEdgeTypes.end())
        return -1;
    return int(type - first);
}

namespace
{
bool IsInfiniteEnd(const FaceVert* e)
{
    return e && (e->mFlags & FaceVert::kHemi);
}
}  // namespace

Vec3D Edge::GetVector(bool dual) const
{
    const std::array<FaceVert*, 2> ends = GetVerts(dual);
    Vec3D v;
    if (!ends[0] || !ends[1])
        return v;
    const bool aInfinite = IsInfiniteEnd(ends[0]), bInfinite = IsInfiniteEnd(ends[1]);
    if (aInfinite && bInfinite)
        Vec3Add(v, ends[0]->mPoint, ends[1]->mPoint);
    else if (aInfinite)
        v = ends[0]->mPoint;
    else if (bInfinite)
        v = ends[1]->mPoint;
    else
        Vec3Sub(v, ends[1]->mPoint, ends[0]->mPoint);
    return v;
}

double Edge::GetLength(bool dual) const
{
    const std::array<FaceVert*, 2> ends = GetVerts(dual);
    if (!ends[0] || !ends[1] || IsInfiniteEnd(ends[0]) || IsInfiniteEnd(ends[1]))
        return -1.0;
    return Vec3Distance(ends[0]->mPoint, ends[1]->mPoint);
}

Vec3D Edge::GetMidNormal(bool dual) const
{
    const std::array<FaceVert*, 2> sides = GetFaces(dual);
    Vec3D s;
    if (!sides[0] || !sides[1])
        return s;
    Vec3Add(s, sides[0]->mZAxis, sides[1]->mZAxis);
    if (!Vec3IsZero(s, kTol) && Vec3Normalize(s))
        return s;
    // The sides face opposite ways: lean across the edge, away from the first side.
    const Vec3D& z = sides[0]->mZAxis;
    Vec3D v = GetVector(dual);
    if (Vec3IsZero(v, kTol) || Vec3Parallel(z, v, kTol))
    {
        v = Vec3D();
        v[Vec3MinAxisTol(z, kTol)] = 1.0;
    }
    Vec3D n;
    Vec3Cross(n, z, v);
    if (!Vec3Normalize(n))
        return Vec3D();
    const FaceVert* first = GetEnd(dual, 0);
    if (first)
    {
        Vec3D away;
        Vec3Sub(away, first->mPoint, sides[0]->mCentre);
        if (Vec3Dot(n, away) < 0.0)
            Vec3Negate(n);
    }
    return n;
}

Vec3D Edge::GetFoot(bool dual) const
{
    if (!mVerts[0] || !mVerts[1])
        return Vec3D();
    const Vec3D& a = mVerts[0]->mPoint;
    const Vec3D& b = mVerts[1]->mPoint;
    Vec3D along, w, u;
    Vec3Sub(along, b, a);
    Vec3Cross(w, along, a);
    if (Vec3IsZero(w, kTol))
        return Vec3D();  // the line passes through the centre
    Vec3Cross(u, w, along);
    if (!Vec3Normalize(u))
        return Vec3D();
    // The dual edge lies in the polar plane of the edge's foot, so it shares the direction u.
    const FaceVert* r = dual ? static_cast<const FaceVert*>(mFaces[0]) : static_cast<const FaceVert*>(mVerts[0]);
    if (!r)
        return Vec3D();
    Vec3D foot;
    Vec3Scale(foot, u, Vec3Dot(u, r->mPoint));
    return foot;
}
