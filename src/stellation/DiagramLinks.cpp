#include "stellation/DiagramLinks.h"

#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Transform3D.h"
#include "model/FaceVert.h"
#include "stellation/DiagramMap.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationLine.h"

namespace
{
constexpr int kWalkLimit = 1 << 20;

StellationEdge* NextAlongLine(StellationEdge* e)
{
    return e ? e->FindOnLineAroundVertex(e->mLine) : nullptr;
}

double DistanceSq(const Vec2D& a, const Vec3D& b)
{
    return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y);
}

// The edge's direction and the way to its left, in space through the face's frame.
void SpaceDirections(const StellationEdge* e, const FaceVert* face, Vec3D& along, Vec3D& left)
{
    const Vec2D t = GetEdgeDirection(e);
    Vec3Scale(along, face->mXAxis, t.x);
    Vec3AddScaledTo(along, t.y, face->mYAxis);
    Vec3Cross(left, face->mZAxis, along);
}

// A neighbour line's edges as they match this line's, walked the same way in space.
struct NeighbourWalk
{
    StellationEdge* edge = nullptr;  // the current edge of the neighbour line
    bool takeTwin = false;           // its lower half is the twin's region
    Vec3D lower;                     // the way from the line into that lower half
};

// The half of the neighbour plane below the type's first face: the region left of the walked edges,
// or of their twins.
NeighbourWalk StartWalk(StellationEdge* start, const FaceVert* face, const FaceVert* first)
{
    NeighbourWalk walk;
    walk.edge = start;
    Vec3D along;
    SpaceDirections(start, face, along, walk.lower);
    if (Vec3Dot(walk.lower, first->mZAxis) >= 0.0)
    {
        walk.takeTwin = true;
        Vec3Negate(walk.lower);
    }
    return walk;
}

StellationEdge* Lower(const NeighbourWalk& walk)
{
    return walk.takeTwin ? walk.edge->mTwin : walk.edge;
}

bool SelfMatch(const StellationLine* p, const StellationLine* q, uint32_t bit, FaceType* type, int which)
{
    if (q != p || !(p->mFlags & bit))
        return true;
    if (!(type->mFirstFace->mFlags & FaceVert::kHemi))
    {
        InternalError("SetNeighPointers: Line matches itself from the start (%d)", which);
        return false;
    }
    return true;
}
}  // namespace

bool LinkLinesToNeighbours(FaceType* type, int& lineCounter, int totalLines)
{
    const FaceVert* first = type->mFirstFace;
    if (!first)
        return true;
    const Transform3D toThis = first->GetWorldToLocal(false);
    for (StellationLine* line = type->mLineEqns; line; line = line->mNext, ++lineCounter)
    {
        if (!ShowProgress(double(lineCounter) / totalLines, "Linking lines between face types, %d of %d.",
                          lineCounter + 1, totalLines))
            return false;
        const int sides = line->mFace2 == line->mFace ? 1 : 2;
        for (int side = 0; side < sides; ++side)
        {
            FaceVert* face = side == 0 ? line->mFace : line->mFace2;
            double a = 0.0, b = 0.0, c = 0.0;
            if (!face || !face->IntersectPlanes(first, a, b, c))
            {
                InternalError("Other plane says faces don't intersect!");
                continue;
            }
            const FaceType* other = face->mFaceType;
            StellationLine* found = other ? other->FindLine(a, b, c) : nullptr;
            if (!found || !found->mFirstEdge || !line->mFirstEdge || !line->mLastEdge)
            {
                InternalError("Couldn't find line in other plane");
                return false;
            }
            (side == 0 ? line->mOuterNeighbour : line->mInnerNeighbour) = found;
            // The same way when the neighbour's first vertex, in space, is this line's first vertex.
            const Vec2D& start = found->mFirstEdge->mStart->mPos;
            Vec3D inSpace, here;
            face->GetLocalFrame(false).Apply(inSpace, Vec3D{start.x, start.y, 0.0});
            toThis.Apply(here, inSpace);
            const uint32_t bit = side == 0 ? kLineOuterSameWay : kLineInnerSameWay;
            if (DistanceSq(line->mFirstEdge->mStart->mPos, here) < DistanceSq(line->mLastEdge->mStart->mPos, here))
                line->mFlags |= bit;
            else
                line->mFlags &= ~bit;
        }
        if (sides == 1)
        {
            line->mInnerNeighbour = line->mOuterNeighbour;
            line->mFlags = (line->mFlags & ~kLineInnerSameWay) | ((line->mFlags & kLineOuterSameWay) ? kLineInnerSameWay : 0);
        }
    }
    return true;
}

bool SetNeighPointers(FaceType* type)
{
    const FaceVert* first = type ? type->mFirstFace : nullptr;
    if (!first)
        return true;
    for (StellationLine* p = type->mLineEqns; p; p = p->mNext)
    {
        StellationLine* q = p->mOuterNeighbour;
        if (!q)
        {
            InternalError("SetNeighPointers: No matching outer line");
            continue;
        }
        if (!SelfMatch(p, q, kLineOuterSameWay, type, 1))
            return false;
        if (q == p && (p->mFlags & kLineOuterSameWay) && type->FindNormalAxis())
            p->mFlags &= ~kLineOuterSameWay;
        const bool two = p->mFace2 != p->mFace;
        StellationLine* r = nullptr;
        if (two)
        {
            r = p->mInnerNeighbour;
            if (!r)
            {
                InternalError("SetNeighPointers: No matching inner line");
                continue;
            }
            if (!SelfMatch(p, r, kLineInnerSameWay, type, 2))
                return false;
            if (r == p && (p->mFlags & kLineInnerSameWay) && type->FindNormalAxis())
                p->mFlags &= ~kLineInnerSameWay;
        }
        if (!p->mFirstEdge)
            continue;

        StellationEdge* qStart = (p->mFlags & kLineOuterSameWay) ? q->mFirstEdge : q->mLastEdge;
        StellationEdge* rStart = r ? ((p->mFlags & kLineInnerSameWay) ? r->mFirstEdge : r->mLastEdge) : nullptr;
        if (!qStart || (r && !rStart))
        {
            InternalError("Stellation failed.  Model is probably either\ntoo complex or not accurate enough.");
            return false;
        }
        NeighbourWalk qWalk = StartWalk(qStart, p->mFace, first);
        NeighbourWalk rWalk = r ? StartWalk(rStart, p->mFace2, first) : NeighbourWalk{};
        // Each half of p takes the lower half-plane met first turning down from its region; the
        // half whose region lies to the left of p's edges turns from that left.
        Vec3D along, left;
        SpaceDirections(p->mFirstEdge, first, along, left);
        const bool qFirst = !r || Vec3Dot(qWalk.lower, left) >= Vec3Dot(rWalk.lower, left);

        StellationEdge* e = p->mFirstEdge;
        for (int guard = 0; e && guard < kWalkLimit; ++guard)
        {
            if (!qWalk.edge || (r && !rWalk.edge) || !Lower(qWalk) || (r && !Lower(rWalk)) || !e->mTwin)
            {
                InternalError("Stellation failed.  Model is probably either\ntoo complex or not accurate enough.");
                return false;
            }
            StellationEdge* nearLeft = r && !qFirst ? Lower(rWalk) : Lower(qWalk);
            StellationEdge* nearRight = r && qFirst ? Lower(rWalk) : Lower(qWalk);
            e->mNeighbour = nearLeft;
            e->mTwin->mNeighbour = nearRight;
            e = NextAlongLine(e);
            qWalk.edge = NextAlongLine(qWalk.edge);
            if (r)
                rWalk.edge = NextAlongLine(rWalk.edge);
        }
        if (qWalk.edge || (r && rWalk.edge))
        {
            InternalError("Stellation failed.  Model is probably either\ntoo complex or not accurate enough.");
            return false;
        }
    }
    return true;
}

void JoinCoincidentLists(SegVert* v, SegVert* w)
{
    if (!v || !w || !v->mCoincident || !w->mCoincident)
    {
        InternalError("JoinCoincidentLists: Empty lists");
        return;
    }
    SegVert* u = v;
    for (int i = 0; i < kWalkLimit; ++i)
    {
        if (u == w)
            return;
        u = u->mCoincident;
        if (!u || u == v)
            break;
    }
    SegVert* after = v->mCoincident;
    v->mCoincident = w->mCoincident;
    w->mCoincident = after;
}
