#include "kernel/RingVert.h"

#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"

#include <new>

namespace
{
// One free list per thread: rings are built and triangulated on whichever thread draws or cuts,
// and a shared list would need a lock on every vertex. A vertex freed on another thread than the
// one that made it simply joins that thread's list.
struct RingVertFreeList
{
    RingVert* first = nullptr;
    int count = 0;

    ~RingVertFreeList() { Release(); }

    void Release()
    {
        while (first)
        {
            RingVert* next = first->next;
            delete first;
            first = next;
        }
        count = 0;
    }
};

thread_local RingVertFreeList tFreeVerts;

RingOwnerMarkedAtCreation gOwnerMarkedAtCreation = nullptr;
RingOwnerMarked gOwnerMarked = nullptr;

double SnapZero(double v)
{
    return IsZeroTol(v, kTol) ? 0.0 : v;
}
}  // namespace

void SetRingOwnerTests(RingOwnerMarkedAtCreation atCreation, RingOwnerMarked marked)
{
    gOwnerMarkedAtCreation = atCreation;
    gOwnerMarked = marked;
}

RingVert* AddRingVert(double x, double y, const void* owner, const Vec3D* pos, RingVert*& ring)
{
    RingVert* v = tFreeVerts.first;
    if (v)
    {
        tFreeVerts.first = v->next;
        --tFreeVerts.count;
    }
    else
    {
        v = new (std::nothrow) RingVert;
        if (!v)
            return nullptr;
    }
    v->x = SnapZero(x);
    v->y = SnapZero(y);
    v->pos = pos ? *pos : Vec3D{};
    v->index = -1;
    v->flags = owner && gOwnerMarkedAtCreation && gOwnerMarkedAtCreation(owner) ? kRingVertMarkedAtCreation : 0;
    v->dx = 0.0;
    v->dy = 0.0;
    v->length = -1.0;
    v->priority = 0.0;
    v->blocker = nullptr;
    v->owner = owner;
    v->point = nullptr;
    v->nextAtPoint = nullptr;
    v->savedNext = nullptr;
    v->savedPrev = nullptr;
    v->earNext = nullptr;
    v->earPrev = nullptr;
    RingJoin(v, ring);
    return v;
}

RingVert* CopyRingVert(const RingVert* vertex, RingVert*& ring)
{
    RingVert* v = AddRingVert(vertex->x, vertex->y, vertex->owner, &vertex->pos, ring);
    if (v)
    {
        v->point = vertex->point;
        v->index = vertex->index;
    }
    return v;
}

void FreeRingVert(RingVert* vertex)
{
    vertex->flags |= kRingVertFree;
    vertex->next = tFreeVerts.first;
    tFreeVerts.first = vertex;
    ++tFreeVerts.count;
}

void FreeRing(RingVert* ring)
{
    if (!ring)
        return;
    RingVert* v = ring;
    do
    {
        RingVert* next = v->next;
        FreeRingVert(v);
        v = next;
    } while (v != ring);
}

void ReleaseRingVertPool()
{
    tFreeVerts.Release();
}

int RingVertPoolCount()
{
    return tFreeVerts.count;
}

RingVert* CopyRing(const RingVert* ring)
{
    RingVert* copy = nullptr;
    if (!ring)
        return nullptr;
    const RingVert* v = ring;
    do
    {
        if (!CopyRingVert(v, copy))
        {
            FreeRing(copy);
            return nullptr;
        }
        v = v->next;
    } while (v != ring);
    return copy;
}

int RingCount(const RingVert* ring)
{
    if (!ring)
        return 0;
    int n = 0;
    const RingVert* v = ring;
    do
    {
        ++n;
        v = v->next;
    } while (v != ring);
    return n;
}

void SaveRingLinks(RingVert* ring)
{
    if (!ring)
        return;
    RingVert* v = ring;
    do
    {
        v->savedNext = v->next;
        v->savedPrev = v->prev;
        v = v->next;
    } while (v != ring);
}

void RestoreRing(RingVert* ring)
{
    if (!ring || !ring->savedNext)
        return;
    RingVert* v = ring;
    do
    {
        RingVert* target = v->savedNext;
        RingVert* w = v->next;
        // Stops at v as well, so that a saved successor no longer in the ring cannot loop.
        while (w != target && w != v)
        {
            RingVert* next = w->next;
            FreeRingVert(w);
            w = next;
        }
        v->next = target;
        target->prev = v;
        v = target;
    } while (v != ring);
}

void ReverseRing(RingVert* ring)
{
    if (!ring)
        return;
    // Walking forwards, each vertex hands its flags to its successor, the new predecessor's edge.
    const uint32_t lastFlags = ring->prev->flags;
    RingVert* v = ring;
    uint32_t carried = lastFlags;
    do
    {
        RingVert* next = v->next;
        const uint32_t own = v->flags;
        v->flags = carried;
        carried = own;
        v->next = v->prev;
        v->prev = next;
        v = next;
    } while (v != ring);
}

bool IsConvexRing(const RingVert* ring)
{
    if (!ring)
        return true;
    const RingVert* v = ring;
    do
    {
        const Vec2D in{v->x - v->prev->x, v->y - v->prev->y};
        const Vec2D out{v->next->x - v->x, v->next->y - v->y};
        if (Vec2Cross(in, out) < 0.0)
            return false;
        v = v->next;
    } while (v != ring);
    return true;
}

Vec3D RingCentroid3D(const RingVert* ring)
{
    Vec3D sum;
    if (!ring)
        return sum;
    int n = 0;
    const RingVert* v = ring;
    do
    {
        Vec3AddTo(sum, v->pos);
        ++n;
        v = v->next;
    } while (v != ring);
    Vec3Div(sum, sum, n);
    return sum;
}

bool RingNormal3D(const RingVert* ring, Vec3D& out)
{
    out = Vec3D{};
    if (!ring)
        return false;
    const RingVert* second = ring->next;
    Vec3D e1;
    Vec3Sub(e1, second->pos, ring->pos);
    for (const RingVert* v = second; v != ring; v = v->next)
    {
        Vec3D e, n;
        Vec3Sub(e, v->next->pos, v->pos);
        Vec3Cross(n, e1, e);
        if (!Vec3IsZero(n, kTol))
        {
            Vec3Normalize(n);
            out = n;
            return true;
        }
    }
    return false;
}

Vec3D RingAreaVector3D(const RingVert* ring)
{
    Vec3D sum;
    if (!ring)
        return sum;
    for (const RingVert* q = ring->next; q != ring && q->next != ring; q = q->next)
    {
        Vec3D a, b, c;
        Vec3Sub(a, q->pos, ring->pos);
        Vec3Sub(b, q->next->pos, ring->pos);
        Vec3Cross(c, a, b);
        Vec3AddTo(sum, c);
    }
    return sum;
}

void MarkRingVertFromOwner(RingVert* vertex, const void* owner, bool alsoLinked)
{
    if (owner && gOwnerMarked && gOwnerMarked(owner, alsoLinked))
        vertex->flags |= kRingVertOwnerMarked;
}

RingVert* RemoveDuplicateRingVerts(RingVert* ring)
{
    if (!ring)
        return nullptr;
    const int n = RingCount(ring);
    RingVert* first = nullptr;
    RingVert* v = ring;
    for (int i = 0; i < n; ++i)
    {
        RingVert* next = v->next;
        if (next != v && WithinTol(v->x, next->x, kTol) && WithinTol(v->y, next->y, kTol))
        {
            RingUnlink(v);
            FreeRingVert(v);
        }
        else if (!first)
            first = v;
        v = next;
    }
    // What survives is either a real ring or a single point.
    if (first && first->next == first)
    {
        FreeRingVert(first);
        return nullptr;
    }
    return first;
}
