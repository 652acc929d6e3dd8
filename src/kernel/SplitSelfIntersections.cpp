#include "kernel/SplitSelfIntersections.h"

#include "kernel/Intersect2D.h"
#include "kernel/LinkNode.h"
#include "kernel/Messages.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RingList.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <numbers>
#include <vector>

namespace
{
constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

Vec2D PointOf(const CrossPoint* p)
{
    return Vec2D{p->x, p->y};
}

// The counterclockwise angle in [0, 2pi) from unit u to unit v; the asin forms stay accurate near
// both 0 and pi, where acos of the dot product loses its digits.
double CcwAngle(const Vec2D& u, const Vec2D& v)
{
    double angle;
    if (Vec2Dot(u, v) >= 0.0)
    {
        Vec2D d;
        Vec2Sub(d, v, u);
        angle = 2.0 * std::asin(std::min(1.0, Vec2Length(d) / 2.0));
    }
    else
    {
        Vec2D s;
        Vec2Add(s, u, v);
        angle = kPi - 2.0 * std::asin(std::min(1.0, Vec2Length(s) / 2.0));
    }
    if (Vec2Cross(u, v) < 0.0)
        angle = kTwoPi - angle;
    return angle;
}

// The unit direction from a to b; false when shorter than minLength.
bool UnitDirection(const Vec2D& a, const Vec2D& b, double minLength, Vec2D& out)
{
    Vec2Sub(out, b, a);
    const double length = Vec2Length(out);
    if (length < minLength)
        return false;
    Vec2Div(out, out, length);
    return true;
}

void ChainAtPoint(RingVert* v, CrossPoint* p)
{
    v->point = p;
    v->nextAtPoint = p->vertices;
    p->vertices = v;
}

// The edge of w in direction dir (the outgoing edge, or the incoming one taken backwards) seen from
// the incoming direction a: its contribution to the winding count when the walk passes w's point.
int EdgeWindingStep(const Vec2D& a, double b, const Vec2D& from, const Vec2D& to, double tol)
{
    Vec2D d;
    if (!UnitDirection(from, to, kTol, d))
        return 0;
    const double f = CcwAngle(a, d);
    if (std::fabs(f - b) <= tol || std::fabs(f - kPi) <= tol)
        return 0;
    // Left of the walk lies the sector from the outgoing direction round to the incoming one taken
    // backwards (at pi); after a right turn (b > pi) that sector wraps through 0.
    const bool inside = (f > b && f < kPi) || (b > kPi && (f < kPi || f > b));
    return inside ? -1 : 1;
}

// How the winding count changes when the walk along the input ring arrives at h: every other pass
// through h's point crosses or touches the walk there.
int WindingChangeAt(const RingVert* h)
{
    const Vec2D here{h->x, h->y};
    Vec2D a;
    Vec2D out;
    double b = 0.0;
    const bool hasIn = UnitDirection(Vec2D{h->prev->x, h->prev->y}, here, kTol, a);
    if (hasIn && UnitDirection(here, Vec2D{h->next->x, h->next->y}, kTol, out))
        b = CcwAngle(a, out);
    if (!hasIn)
        return 0;  // without a direction of arrival the sides cannot be told apart
    int change = 0;
    for (const RingVert* w = h->point->vertices; w; w = w->nextAtPoint)
    {
        if (w == h)
            continue;
        const Vec2D at{w->x, w->y};
        change += EdgeWindingStep(a, b, at, Vec2D{w->next->x, w->next->y}, 1e-6);
        change -= EdgeWindingStep(a, b, at, Vec2D{w->prev->x, w->prev->y}, kTol);
    }
    return change;
}

void ClearSplitState(RingVert* ring)
{
    RingVert* v = ring;
    do
    {
        v->flags &= ~kRingVertEdgeTraced;
        v->point = nullptr;
        v->nextAtPoint = nullptr;
        v = v->next;
    } while (v != ring);
}

// Puts the input ring back as it came: crossing vertices freed, links restored, and no vertex left
// pointing into the point list that is about to be freed.
void RestoreInput(RingVert* ring, CrossPoint* points)
{
    RestoreRing(ring);
    ClearSplitState(ring);
    FreeCrossPoints(points);
}
}  // namespace

CrossPoint* FindOrAddCrossPoint(Vec2D& pos, CrossPoint*& first, CrossPoint*& last)
{
    for (CrossPoint* p = first; p; p = p->next)
        if (std::fabs(p->x - pos.x) <= kTol && std::fabs(p->y - pos.y) <= kTol)
        {
            pos = PointOf(p);
            return p;
        }
    CrossPoint* p = new (std::nothrow) CrossPoint;
    if (!p)
        return nullptr;
    p->x = pos.x;
    p->y = pos.y;
    if (last)
        last->next = p;
    else
        first = p;
    last = p;
    return p;
}

void InsertCrossPoint(RingVert* v, CrossPoint* point)
{
    RingVert* end = v->savedNext;
    const bool alongX = std::fabs(end->x - v->x) > std::fabs(end->y - v->y);
    const double start = alongX ? v->x : v->y;
    const double stop = alongX ? end->x : end->y;
    const double target = alongX ? point->x : point->y;
    const bool up = stop >= start;
    RingVert* w = v->next;
    while (w != end)
    {
        const double c = alongX ? w->x : w->y;
        if (up ? c >= target : c <= target)
            break;
        w = w->next;
    }
    if (w->point == point || v->point == point || end->point == point)
        return;
    // The 3D position follows the point's place along the edge.
    const double t = stop != start ? (target - start) / (stop - start) : 0.0;
    const Vec3D pos{v->pos.x + t * (end->pos.x - v->pos.x), v->pos.y + t * (end->pos.y - v->pos.y),
                    v->pos.z + t * (end->pos.z - v->pos.z)};
    RingVert* lone = nullptr;
    RingVert* added = AddRingVert(point->x, point->y, v->owner, &pos, lone);
    if (!added)
        return;
    added->x = point->x;  // exactly the point's, without the snapping to 0
    added->y = point->y;
    RingInsertBefore(w, added);
    ChainAtPoint(added, point);
}

RingVert* NextEdgeAtPoint(CrossPoint* point, const Vec2D& reference)
{
    const Vec2D here = PointOf(point);
    Vec2D u;
    const bool hasReference = UnitDirection(here, reference, 1e-10, u);
    double best = 999999.9;
    RingVert* chosen = nullptr;
    for (RingVert* w = point->vertices; w; w = w->nextAtPoint)
    {
        RingVert* ends[2] = {w->next, w->prev};
        for (RingVert* far : ends)
        {
            Vec2D d;
            Vec2Sub(d, Vec2D{far->x, far->y}, here);
            if (Vec2IsZero(d, kTol))
                continue;
            double angle = kTwoPi;
            Vec2D v;
            if (hasReference && UnitDirection(here, Vec2D{far->x, far->y}, 1e-10, v))
            {
                angle = CcwAngle(u, v);
                if (angle < kTol)
                    angle = kTwoPi;
            }
            if (angle < best)
            {
                best = angle;
                chosen = far;
            }
        }
    }
    if (!chosen)
        return nullptr;
    const CrossPoint* farPoint = chosen->point;
    for (RingVert* w = point->vertices; w; w = w->nextAtPoint)
    {
        if (w->next->point == farPoint)
            w->flags |= kRingVertEdgeTraced;
        if (w->prev->point == farPoint)
            w->prev->flags |= kRingVertEdgeTraced;
    }
    return chosen;
}

RingVert* TraceRing(RingVert* start, CrossPoint* previous, int32_t& nextNumber)
{
    CrossPoint* const startPoint = start->point;
    CrossPoint* const firstPrevious = previous;
    RingVert* ring = nullptr;
    RingVert* cur = start;
    CrossPoint* prev = previous;
    // A walk caught in a cycle that misses its start is caught by a checkpoint that is moved ever
    // further apart.
    const CrossPoint* checkPoint = nullptr;
    const CrossPoint* checkPrevious = nullptr;
    int step = 0;
    int nextCheck = 12;
    int interval = 10;
    for (;;)
    {
        ++step;
        CrossPoint* p = cur->point;
        if (checkPoint && p == checkPoint && prev == checkPrevious)
            break;
        if (step == nextCheck)
        {
            checkPoint = p;
            checkPrevious = prev;
            interval *= 2;
            nextCheck = step + interval + 2;
        }
        if (p->index < 0)
            p->index = nextNumber++;
        RingVert* added = AddRingVert(p->x, p->y, cur->owner, &cur->pos, ring);
        if (!added)
            break;
        added->x = p->x;
        added->y = p->y;
        added->index = p->index;
        RingVert* next = NextEdgeAtPoint(p, PointOf(prev));
        if (!next)
            break;
        if (next->point == startPoint && p == firstPrevious)
            return ring;
        prev = p;
        cur = next;
    }
    FreeRing(ring);
    return nullptr;
}

void FreeCrossPoints(CrossPoint* first)
{
    while (first)
    {
        CrossPoint* next = first->next;
        delete first;
        first = next;
    }
}

RingList* SplitSelfIntersections(RingVert* ring, std::unique_ptr<Vec2D[]>& points, int* pointCount)
{
    points.reset();
    const int n = RingCount(ring);
    if (n < 3)
        return nullptr;

    CrossPoint* first = nullptr;
    CrossPoint* last = nullptr;
    std::vector<RingVert*> verts;
    verts.reserve(size_t(n));
    RingVert* v = ring;
    do
    {
        v->flags &= ~kRingVertEdgeTraced;
        Vec2D pos{v->x, v->y};
        CrossPoint* p = FindOrAddCrossPoint(pos, first, last);
        if (!p)
        {
            ClearSplitState(ring);
            FreeCrossPoints(first);
            return nullptr;
        }
        v->x = pos.x;
        v->y = pos.y;
        ChainAtPoint(v, p);
        verts.push_back(v);
        v = v->next;
    } while (v != ring);
    if (first == last)
    {
        ClearSplitState(ring);
        FreeCrossPoints(first);
        return nullptr;
    }

    SaveRingLinks(ring);
    for (int i = 0; i < n; ++i)
    {
        const RingVert* a = verts[size_t(i)];
        const Vec2D p{a->x, a->y};
        const Vec2D q{a->savedNext->x, a->savedNext->y};
        for (int j = i + 2; j < n; ++j)
        {
            if (i == 0 && j == n - 1)
                continue;  // adjacent round the end
            const RingVert* b = verts[size_t(j)];
            Vec2D meet;
            const int contact = SegmentIsectSegment2D(p, q, Vec2D{b->x, b->y}, Vec2D{b->savedNext->x, b->savedNext->y},
                                                      kTol, &meet);
            if (contact < kSegPMeetsR || (contact > kSegQTouchesB && contact != kSegCross))
                continue;
            CrossPoint* at = FindOrAddCrossPoint(meet, first, last);
            if (!at)
                continue;
            InsertCrossPoint(verts[size_t(i)], at);
            InsertCrossPoint(verts[size_t(j)], at);
        }
    }

    // The point farthest from the origin lies on the outer boundary.
    CrossPoint* c = nullptr;
    double farthest = -1.0;
    for (RingVert* w : verts)
    {
        const double d = w->x * w->x + w->y * w->y;
        if (d > farthest)
        {
            farthest = d;
            c = w->point;
        }
    }

    // Coordinates that overflowed to NaN leave no farthest point and nothing to trace.
    if (!c)
    {
        RestoreInput(ring, first);
        return nullptr;
    }
    int32_t nextNumber = 0;
    RingVert* f = NextEdgeAtPoint(c, Vec2D{2.0 * c->x, 2.0 * c->y});
    RingVert* outer = f ? TraceRing(f, c, nextNumber) : nullptr;
    if (!outer)
    {
        RestoreInput(ring, first);
        return nullptr;
    }
    RingList* list = nullptr;
    RingList* listLast = nullptr;
    if (!AppendRingToList(outer, list, listLast))
        FreeRing(outer);

    // Walk the input ring with the winding count of the area to the walk's left, starting on the
    // outer boundary, and trace every boundary the filling rule counts as filled.
    RingVert* h = f;
    int windings = 0;
    if (f->next->point == c)
        windings = 0;
    else if (f->prev->point == c)
    {
        h = f->prev;
        windings = 2;
    }
    else
        InternalError("edge funny");
    const bool modulo2 = IsModulo2Filling();
    RingVert* const walkStart = h;
    do
    {
        if (!(h->flags & kRingVertEdgeTraced) &&
            (windings == 0 || windings == 2 || (modulo2 && windings % 2 == 0)))
        {
            RingVert* traced = std::abs(windings) % 4 == 2 ? TraceRing(h->next, h->point, nextNumber)
                                                            : TraceRing(h, h->next->point, nextNumber);
            if (traced && !AppendRingToList(traced, list, listLast))
                FreeRing(traced);
        }
        h = h->next;
        windings += WindingChangeAt(h);
    } while (h != walkStart);

    if (pointCount)
        *pointCount = nextNumber;
    points.reset(new (std::nothrow) Vec2D[size_t(nextNumber > 0 ? nextNumber : 1)]);
    for (const CrossPoint* p = first; p && points; p = p->next)
    {
        if (p->index < 0)
            continue;
        if (p->index >= nextNumber)
        {
            InternalError("Outside array bounds");
            continue;
        }
        points[size_t(p->index)] = PointOf(p);
    }
    RestoreInput(ring, first);
    return list;
}
