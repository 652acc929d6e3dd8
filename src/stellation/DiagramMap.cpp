#include "stellation/DiagramMap.h"

#include "kernel/Mat3.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "kernel/Transform3D.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationLine.h"

#include <algorithm>
#include <cmath>

namespace
{
// Far more edges than meet at any vertex: only a broken ring turns this long.
constexpr int kAroundLimit = 1 << 16;

// The face of the type whose plane the group's reflection makes of the face's plane.
const FaceVert* FindReflectedFace(const FaceType* type, const FaceVert* face, const Mat3& reflection)
{
    Vec3D centre, normal;
    reflection.Transform(centre, face->mCentre);
    reflection.Transform(normal, face->mZAxis);
    for (const FaceVert* f = type->mFirstFace; f; f = f->mNextOfType)
        if (Vec3Equal(f->mCentre, centre, kMatchTol) &&
            (Vec3Equal(f->mZAxis, normal, kMatchTol) || Vec3EqualNeg(f->mZAxis, normal, kMatchTol)))
            return f;
    return nullptr;
}

// The diagram of face a, reflected in space, read in the frame of face b.
bool ReflectedFrameMap(const FaceVert* a, const FaceVert* b, const Mat3& reflection, DiagramMap& out)
{
    const Transform3D toSpace = a->GetLocalFrame(false);
    const Transform3D toB = b->GetWorldToLocal(false);
    Vec3D origin, columns[2];
    for (int k = 0; k < 3; ++k)
    {
        Vec3D p, q, r;
        p = Vec3D{k == 1 ? 1.0 : 0.0, k == 2 ? 1.0 : 0.0, 0.0};
        toSpace.Apply(q, p);
        reflection.Transform(r, q);
        toB.Apply(k == 0 ? origin : columns[k - 1], r);
    }
    // The plane must land on b's plane, about its centre.
    if (!IsZeroTol(origin.x, kSymTol) || !IsZeroTol(origin.y, kSymTol))
        return false;
    for (int k = 0; k < 2; ++k)
    {
        if (!IsZeroTol(columns[k].z - origin.z, kSymTol) || !IsZeroTol(origin.z, kSymTol))
            return false;
        out.m[0][k] = columns[k].x - origin.x;
        out.m[1][k] = columns[k].y - origin.y;
    }
    return true;
}

const SymGroup* GroupOf(const FaceType* type)
{
    return type && type->mPoly ? type->mPoly->mGroup.get() : nullptr;
}
}  // namespace

DiagramMap DiagramMap::Turn(int k, int n)
{
    DiagramMap map;
    double s = 0.0, c = 1.0;
    if (n > 1)
        SineTable::SinCos(k, n, s, c);
    map.m[0][0] = c;
    map.m[0][1] = -s;
    map.m[1][0] = s;
    map.m[1][1] = c;
    return map;
}

bool DiagramMap::Reflection(const Vec2D& direction, DiagramMap& out)
{
    const double length = Vec2Length(direction);
    if (length <= kTol)
        return false;
    const double x = direction.x / length, y = direction.y / length;
    out.m[0][0] = x * x - y * y;
    out.m[0][1] = 2.0 * x * y;
    out.m[1][0] = 2.0 * x * y;
    out.m[1][1] = y * y - x * x;
    return true;
}

bool GetOwnMirrorMap(const FaceType* type, DiagramMap& out)
{
    if (!type || !(type->mFlags & kFaceTypeReflexible))
        return false;
    if (DiagramMap::Reflection(type->mMirrorDir, out))
        return true;
    const SymGroup* group = GroupOf(type);
    Mat3 reflection;
    const FaceVert* first = type->mFirstFace;
    if (!group || !first || !group->GetReflectionMatrix(reflection))
        return false;
    const FaceVert* image = FindReflectedFace(type, first, reflection);
    return image && ReflectedFrameMap(first, image, reflection, out);
}

const FaceType* GetMirrorSource(const FaceType* type)
{
    const FaceType* mirror = type ? type->mMirrorFace : nullptr;
    if (mirror && mirror->mCoplanarSource)
        mirror = mirror->mCoplanarSource;
    return mirror;
}

bool GetMirrorTypeMap(const FaceType* type, DiagramMap& out)
{
    const FaceType* source = GetMirrorSource(type);
    const SymGroup* group = GroupOf(type);
    Mat3 reflection;
    if (!source || !source->mFirstFace || !group || !group->GetReflectionMatrix(reflection))
        return false;
    const FaceVert* image = FindReflectedFace(type, source->mFirstFace, reflection);
    return image && ReflectedFrameMap(source->mFirstFace, image, reflection, out);
}

DiagramVertexIndex::DiagramVertexIndex(const FaceType* type)
{
    if (!type)
        return;
    for (SegVert* list : {type->mOuterVerts, type->mVerts})
        for (SegVert* v = list; v; v = v->mNext)
            mByX.emplace_back(v->mPos.x, v);
    std::sort(mByX.begin(), mByX.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
}

SegVert* DiagramVertexIndex::Find(const Vec2D& p, double tol) const
{
    // Coordinates far out carry larger rounding; keep the tolerance relative there.
    tol = std::max(tol, 1e-9 * (std::fabs(p.x) + std::fabs(p.y)));
    auto it = std::lower_bound(mByX.begin(), mByX.end(), p.x - tol,
                               [](const std::pair<double, SegVert*>& a, double x) { return a.first < x; });
    SegVert* best = nullptr;
    double bestDistance = 0.0;
    for (; it != mByX.end() && it->first <= p.x + tol; ++it)
    {
        const Vec2D& q = it->second->mPos;
        if (std::fabs(q.y - p.y) > tol)
            continue;
        const double distance = std::fabs(q.x - p.x) + std::fabs(q.y - p.y);
        if (!best || distance < bestDistance)
        {
            best = it->second;
            bestDistance = distance;
        }
    }
    return best;
}

std::vector<StellationEdge*> GetEdgesAround(const SegVert* vert)
{
    std::vector<StellationEdge*> edges;
    StellationEdge* first = vert ? vert->mEdge : nullptr;
    StellationEdge* e = first;
    for (int i = 0; e && i < kAroundLimit; ++i)
    {
        if (e->mStart != vert)
            return {};
        edges.push_back(e);
        if (!e->mTwin || !e->mTwin->mNext)
            return {};
        e = e->mTwin->mNext;
        if (e == first)
            return edges;
    }
    return {};
}

StellationEdge* FindEdgeBetween(SegVert* from, SegVert* to)
{
    if (!from || !to)
        return nullptr;
    for (StellationEdge* e : GetEdgesAround(from))
        if (e->GetEnd() == to)
            return e;
    return nullptr;
}

StellationEdge* MapEdge(const DiagramVertexIndex& index, const StellationEdge* edge, const DiagramMap& map)
{
    const SegVert* end = edge ? edge->GetEnd() : nullptr;
    if (!end || !edge->mStart)
        return nullptr;
    SegVert* a = index.Find(map.Apply(edge->mStart->mPos), kSymTol);
    SegVert* b = index.Find(map.Apply(end->mPos), kSymTol);
    return map.IsProper() ? FindEdgeBetween(a, b) : FindEdgeBetween(b, a);
}

Vec2D GetEdgeDirection(const StellationEdge* edge)
{
    const SegVert* end = edge ? edge->GetEnd() : nullptr;
    if (!end || !edge->mStart)
        return Vec2D{};
    Vec2D span;
    Vec2Sub(span, end->mPos, edge->mStart->mPos);
    Vec2D t = span;
    if (edge->mLine)
    {
        // The line's own direction is exact where a short edge's ends are not.
        t = Vec2D{-edge->mLine->mEqn[1], edge->mLine->mEqn[0]};
        if (Vec2Dot(t, span) < 0.0)
            Vec2Scale(t, t, -1.0);
    }
    const double length = Vec2Length(t);
    if (length > 0.0)
        Vec2Div(t, t, length);
    return t;
}
