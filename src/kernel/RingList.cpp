#include "kernel/RingList.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"

#include <cmath>
#include <new>

namespace
{
// Per thread, for the reasons given with the ring vertices' free list.
struct RingListFreeList
{
    RingList* first = nullptr;
    int count = 0;

    ~RingListFreeList() { Release(); }

    void Release()
    {
        while (first)
        {
            RingList* next = first->next;
            delete first;
            first = next;
        }
        count = 0;
    }
};

thread_local RingListFreeList tFreeLists;

// Pushes a node on the free list without touching the ring it held.
void RecycleNode(RingList* node)
{
    node->ring = nullptr;
    node->prev = nullptr;
    node->next = tFreeLists.first;
    tFreeLists.first = node;
    ++tFreeLists.count;
}

void UnlinkFollowingNode(RingList* node)
{
    node->prev->next = node->next;
    if (node->next)
        node->next->prev = node->prev;
}

bool SamePosition(const RingVert* a, const RingVert* b)
{
    return a->x == b->x && a->y == b->y;
}

// The first vertex of greatest y, in ring order.
RingVert* TopVertex(RingVert* ring)
{
    RingVert* top = ring;
    for (RingVert* v = ring->next; v != ring; v = v->next)
        if (v->y > top->y)
            top = v;
    return top;
}

// The direction of the first edge from v that has a length; 0 for a ring of one point.
double OutgoingAngle(const RingVert* v)
{
    for (const RingVert* w = v->next; w != v; w = w->next)
        if (!SamePosition(w, v))
            return PseudoAngle2D(Vec2D{w->x - v->x, w->y - v->y});
    return 0.0;
}

// Of several outline vertices at one position, the bridge must start at the one whose corner holds
// the direction back to the hole: the corner whose outgoing edge comes first clockwise from that
// direction. Angles are compared as turns counterclockwise from `reference`.
bool AngleWins(double angle, double best, double reference)
{
    if (best >= reference)
        return angle < reference || angle > best;
    return angle < reference && angle > best;
}

double AngleTowards(const RingVert* from, const RingVert* to)
{
    return PseudoAngle2D(Vec2D{to->x - from->x, to->y - from->y});
}

// A hole that shares a vertex with the outline is spliced in there, with no bridge.
bool SpliceAtSharedVertex(RingVert* outline, RingVert* hole)
{
    RingVert* o = outline;
    do
    {
        RingVert* h = hole;
        do
        {
            if (SamePosition(o, h))
            {
                RingVert* before = o->prev;
                RingVert* holeLast = h->prev;
                before->next = h;
                h->prev = before;
                holeLast->next = o;
                o->prev = holeLast;
                return true;
            }
            h = h->next;
        } while (h != hole);
        o = o->next;
    } while (o != outline);
    return false;
}

// The outline vertex that the hole's top vertex m can see: the nearest outline vertex straight
// above m, or else the best visible vertex near the nearest outline edge above m.
RingVert* FindBridgeTarget(RingVert* outline, const RingVert* m)
{
    double best = 99999999.9;
    RingVert* cutEdge = nullptr;
    RingVert* hitVertex = nullptr;
    double hitAngle = 0.0;

    RingVert* u = outline;
    do
    {
        RingVert* w = u->next;
        if (u->x - m->x > kTol && m->x - w->x > kTol && (u->y > m->y || w->y > m->y))
        {
            const double cutY = u->y + (m->x - u->x) * (w->y - u->y) / (w->x - u->x);
            if (cutY > m->y && cutY < best)
            {
                best = cutY;
                cutEdge = u;
                hitVertex = nullptr;
            }
        }
        if (std::fabs(u->x - m->x) <= kTol && u->y > m->y && u->y <= best)
        {
            const double angle = OutgoingAngle(u);
            if (u->y < best || !hitVertex || AngleWins(angle, hitAngle, AngleTowards(u, m)))
            {
                best = u->y;
                hitVertex = u;
                hitAngle = angle;
                cutEdge = nullptr;
            }
        }
        u = w;
    } while (u != outline);

    if (hitVertex)
        return hitVertex;
    if (!cutEdge)
        return nullptr;

    // The cut edge's upper end is visible unless outline vertices poke into the triangle between
    // m, the cut and that end; then the one nearest in angle to the ray is.
    RingVert* eu = cutEdge;
    RingVert* ew = cutEdge->next;
    RingVert* f = ew->y > eu->y ? ew : eu;
    const double xOffset = f->x - m->x;
    if (std::fabs(xOffset) <= kTol)
        InternalError("xOffset is almost zero!");
    const bool leftSide = xOffset < 0.0;
    const double ex = ew->x - eu->x, ey = ew->y - eu->y;

    RingVert* choice = f;
    double choiceSlope = std::fabs((f->y - m->y) / xOffset);
    double choiceAngle = OutgoingAngle(f);
    for (RingVert* q = f->next; q != f; q = q->next)
    {
        if (q->y <= m->y)
            continue;
        if (leftSide ? !(q->x < m->x) : !(q->x >= m->x))
            continue;
        if (!(ex * (q->y - eu->y) - ey * (q->x - eu->x) > 0.0))
            continue;
        const double slope = std::fabs((q->y - m->y) / (q->x - m->x));
        if (!(slope > choiceSlope - kTol))
            continue;
        bool take = slope > choiceSlope + kTol;
        if (!take)
        {
            const double angle = OutgoingAngle(q);
            take = q->y < choice->y || (q->y == choice->y && AngleWins(angle, choiceAngle, AngleTowards(q, m)));
        }
        if (take)
        {
            choice = q;
            choiceSlope = slope;
            choiceAngle = OutgoingAngle(q);
        }
    }
    return choice;
}
}  // namespace

RingList* AppendRingToList(RingVert* ring, RingList*& first, RingList*& last)
{
    RingList* node = tFreeLists.first;
    if (node)
    {
        tFreeLists.first = node->next;
        --tFreeLists.count;
    }
    else
    {
        node = new (std::nothrow) RingList;
        if (!node)
            return nullptr;
    }
    node->ring = ring;
    ListAppend(node, first, last);
    return node;
}

void FreeRingListNode(RingList* node)
{
    FreeRing(node->ring);
    RecycleNode(node);
}

void FreeRingList(RingList* first)
{
    while (first)
    {
        RingList* next = first->next;
        FreeRingListNode(first);
        first = next;
    }
}

void ReleaseRingListPool()
{
    tFreeLists.Release();
}

int RingListPoolCount()
{
    return tFreeLists.count;
}

RingList* CopyRingList(const RingList* first)
{
    RingList* head = nullptr;
    RingList* tail = nullptr;
    for (const RingList* node = first; node; node = node->next)
    {
        RingVert* copy = CopyRing(node->ring);
        if ((node->ring && !copy) || !AppendRingToList(copy, head, tail))
        {
            FreeRing(copy);
            FreeRingList(head);
            return nullptr;
        }
    }
    return head;
}

int RingListCount(const RingList* first)
{
    int n = 0;
    for (; first; first = first->next)
        ++n;
    return n;
}

int RingListVertexCount(const RingList* first)
{
    int n = 0;
    for (; first; first = first->next)
        n += RingCount(first->ring);
    return n;
}

void ReverseRingList(RingList* first)
{
    for (; first; first = first->next)
        ReverseRing(first->ring);
}

void SetRingListFlags(RingList* first, uint32_t bits)
{
    if (!first || !first->ring)
        return;
    RingVert* v = first->ring;
    do
    {
        v->flags |= bits;
        v = v->next;
    } while (v != first->ring);
}

bool IsSingleConvexRing(const RingList* first)
{
    return first && !first->next && IsConvexRing(first->ring);
}

void JoinRingHoles(RingList* first)
{
    if (!first)
        return;
    for (RingList* node = first->next; node; node = node->next)
        if (node->ring)
            node->ring = TopVertex(node->ring);

    while (first->next)
    {
        // Highest hole first: everything still unjoined then lies at or below its bridge.
        RingList* pick = first->next;
        for (RingList* node = pick->next; node; node = node->next)
            if (node->ring && (!pick->ring || node->ring->y > pick->ring->y))
                pick = node;
        RingVert* hole = pick->ring;
        UnlinkFollowingNode(pick);
        RecycleNode(pick);
        if (!hole)
            continue;
        if (!first->ring)
        {
            FreeRing(hole);
            continue;
        }

        if (SpliceAtSharedVertex(first->ring, hole))
            continue;

        RingVert* m = hole;
        RingVert* target = FindBridgeTarget(first->ring, m);
        if (!target)
        {
            FreeRing(hole);
            continue;
        }
        RingVert* at = m;
        RingVert* mCopy = CopyRingVert(m, at);
        at = target;
        RingVert* targetCopy = CopyRingVert(target, at);
        if (!mCopy || !targetCopy)
        {
            if (targetCopy)
            {
                RingUnlink(targetCopy);
                FreeRingVert(targetCopy);
            }
            FreeRing(hole);
            continue;
        }
        // ... -> target's copy -> m -> around the hole -> m's copy -> target -> ...
        targetCopy->next = m;
        m->prev = targetCopy;
        mCopy->next = target;
        target->prev = mCopy;
    }
}
