#include "kernel/RingTriangulation.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/TriangulationScratch.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <memory>
#include <new>

namespace
{
bool IsRealEar(const RingVert* v)
{
    return v->priority > 0.0 && v->priority != kUnsetValue;
}

bool SamePosition(const RingVert* a, const RingVert* b)
{
    return a->x == b->x && a->y == b->y;
}

// Positive when t lies left of the stored edge leaving e.
double SideOfEdge(const RingVert* e, const RingVert* t)
{
    return e->dx * (t->y - e->y) - e->dy * (t->x - e->x);
}

// Rings at least this long get the two indexes below; shorter ones, like the polygons drawn
// while the mouse moves, are clipped without touching the general allocator.
constexpr int kIndexedRingSize = 256;

// The ear list: the remaining vertices sorted by ascending priority, through earNext and earPrev.
// A vertex whose priority changes goes back before the first vertex whose priority is not lower.
// Long rings also keep, for every priority present, its first vertex in the list, so that this
// place is found without walking the list; the order is the same either way.
class EarList
{
public:
    RingVert* head = nullptr;

    // Links the vertices, sorted by priority.
    void Build(RingVert** verts, int n, bool indexed)
    {
        mIndexed = indexed;
        for (int i = 0; i < n; ++i)
        {
            RingVert* v = verts[i];
            v->earPrev = i > 0 ? verts[i - 1] : nullptr;
            v->earNext = i + 1 < n ? verts[i + 1] : nullptr;
            if (mIndexed)
            {
                Run& run = mRuns[v->priority];
                if (!run.first)
                    run.first = v;
                ++run.count;
            }
        }
        head = verts[0];
        mTail = verts[n - 1];
    }

    // Takes v out; its priority must still be the one it was inserted with. Returns a vertex that
    // stays, near v's old place, to start the search when v goes back in.
    RingVert* Detach(RingVert* v)
    {
        if (mIndexed)
        {
            auto run = mRuns.find(v->priority);
            if (--run->second.count == 0)
                mRuns.erase(run);
            else if (run->second.first == v)
                run->second.first = v->earNext;
        }
        RingVert* hint = v->earNext ? v->earNext : v->earPrev;
        if (v->earPrev)
            v->earPrev->earNext = v->earNext;
        else
            head = v->earNext;
        if (v->earNext)
            v->earNext->earPrev = v->earPrev;
        else
            mTail = v->earPrev;
        v->earNext = v->earPrev = nullptr;
        return hint;
    }

    void Insert(RingVert* v, RingVert* hint)
    {
        RingVert* before = nullptr;
        if (mIndexed)
        {
            auto run = mRuns.lower_bound(v->priority);
            if (run != mRuns.end())
                before = run->second.first;
            if (run != mRuns.end() && run->first == v->priority)
            {
                run->second.first = v;
                ++run->second.count;
            }
            else
                mRuns.emplace_hint(run, v->priority, Run{v, 1});
        }
        else if (head)
            before = PlaceFrom(v, hint);

        if (!head)
        {
            v->earPrev = v->earNext = nullptr;
            head = mTail = v;
        }
        else if (before)
        {
            v->earPrev = before->earPrev;
            v->earNext = before;
            if (before->earPrev)
                before->earPrev->earNext = v;
            else
                head = v;
            before->earPrev = v;
        }
        else
        {
            v->earPrev = mTail;
            v->earNext = nullptr;
            mTail->earNext = v;
            mTail = v;
        }
    }

private:
    // The vertices of one priority lie together in the list.
    struct Run
    {
        RingVert* first = nullptr;
        int count = 0;
    };

    // The list is sorted, so searching from near the old place finds the same vertex as a search
    // from the head would.
    static RingVert* PlaceFrom(const RingVert* v, RingVert* hint)
    {
        RingVert* before = hint;
        if (hint->priority < v->priority)
        {
            while (before && before->priority < v->priority)
                before = before->earNext;
            return before;
        }
        while (before->earPrev && before->earPrev->priority >= v->priority)
            before = before->earPrev;
        return before;
    }

    RingVert* mTail = nullptr;
    bool mIndexed = false;
    std::map<double, Run> mRuns;
};

// The vertices of a long ring in a fixed grid, so that an ear test looks only at the vertices near
// the ear. Freed vertices stay in their cells and are skipped. Finds a blocker exactly when the
// scan of the whole ring would; only which blocker is remembered may differ.
class VertexGrid
{
public:
    bool Build(RingVert** verts, int n)
    {
        double minX = 0, maxX = 0, minY = 0, maxY = 0;
        bool first = true;
        for (int i = 0; i < n; ++i)
        {
            const RingVert* v = verts[i];
            if (!std::isfinite(v->x) || !std::isfinite(v->y))
                continue;
            if (first || v->x < minX)
                minX = v->x;
            if (first || v->x > maxX)
                maxX = v->x;
            if (first || v->y < minY)
                minY = v->y;
            if (first || v->y > maxY)
                maxY = v->y;
            first = false;
        }
        mSide = std::max(1, int(std::sqrt(double(n) / 2)));
        mMinX = minX;
        mMinY = minY;
        mCellW = (maxX - minX) / mSide;
        mCellH = (maxY - minY) / mSide;
        if (!(mCellW > 0.0) || !(mCellH > 0.0) || !std::isfinite(mCellW) || !std::isfinite(mCellH))
            return false;

        const int cells = mSide * mSide;
        mStart.reset(new (std::nothrow) int[size_t(cells) + 1]());
        mItems.reset(new (std::nothrow) RingVert*[size_t(n)]);
        mOutside.reset(new (std::nothrow) RingVert*[size_t(n)]);
        if (!mStart || !mItems || !mOutside)
            return false;
        for (int i = 0; i < n; ++i)
        {
            const int c = CellOf(verts[i]);
            if (c >= 0)
                ++mStart[c + 1];
        }
        for (int c = 0; c < cells; ++c)
            mStart[c + 1] += mStart[c];
        std::unique_ptr<int[]> fill(new (std::nothrow) int[size_t(cells)]);
        if (!fill)
            return false;
        std::copy(mStart.get(), mStart.get() + cells, fill.get());
        for (int i = 0; i < n; ++i)
        {
            const int c = CellOf(verts[i]);
            if (c >= 0)
                mItems[fill[c]++] = verts[i];
            else
                mOutside[mNumOutside++] = verts[i];  // not a finite point: always looked at
        }
        return true;
    }

    // The ear test of IsEarBlocked over the vertices near the ear: every vertex that can block lies
    // in the ear's triangle or within kTol of it.
    void FindBlocker(RingVert* v, bool& blocked) const
    {
        const RingVert* prev = v->prev;
        const RingVert* next = v->next;
        const double x0 = std::min({v->x, prev->x, next->x}), x1 = std::max({v->x, prev->x, next->x});
        const double y0 = std::min({v->y, prev->y, next->y}), y1 = std::max({v->y, prev->y, next->y});
        // Room for the tolerance and for rounding in the edge tests.
        const double margin = 2 * kTol + 1e-9 * std::max(x1 - x0, y1 - y0);
        const int cx0 = Clamp((x0 - margin - mMinX) / mCellW), cx1 = Clamp((x1 + margin - mMinX) / mCellW);
        const int cy0 = Clamp((y0 - margin - mMinY) / mCellH), cy1 = Clamp((y1 + margin - mMinY) / mCellH);

        blocked = false;
        auto test = [&](RingVert* t) {
            if (t == v || t == prev || t == next || (t->flags & kRingVertFree) || !PointBlocksEar(v, t))
                return false;
            v->blocker = t;
            blocked = true;
            return true;
        };
        for (int cy = cy0; cy <= cy1; ++cy)
            for (int cx = cx0; cx <= cx1; ++cx)
            {
                const int c = cy * mSide + cx;
                for (int i = mStart[c]; i < mStart[c + 1]; ++i)
                    if (test(mItems[i]))
                        return;
            }
        for (int i = 0; i < mNumOutside; ++i)
            if (test(mOutside[i]))
                return;
        v->blocker = nullptr;
    }

private:
    int Clamp(double cell) const
    {
        if (!(cell > 0.0))
            return 0;
        return cell >= mSide - 1 ? mSide - 1 : int(cell);
    }

    int CellOf(const RingVert* v) const
    {
        if (!std::isfinite(v->x) || !std::isfinite(v->y))
            return -1;
        return Clamp((v->y - mMinY) / mCellH) * mSide + Clamp((v->x - mMinX) / mCellW);
    }

    int mSide = 0;
    double mMinX = 0, mMinY = 0, mCellW = 0, mCellH = 0;
    std::unique_ptr<int[]> mStart;
    std::unique_ptr<RingVert*[]> mItems;
    std::unique_ptr<RingVert*[]> mOutside;
    int mNumOutside = 0;
};

bool IsEarBlockedNear(RingVert* v, const VertexGrid* grid)
{
    if (!grid)
        return IsEarBlocked(v);
    if (v->blocker && !(v->blocker->flags & kRingVertFree) && PointBlocksEar(v, v->blocker))
        return true;
    bool blocked = false;
    grid->FindBlocker(v, blocked);
    return blocked;
}

void WriteTriangle(int32_t* indices, int& count, const RingVert* v)
{
    indices[count++] = v->prev->index;
    indices[count++] = v->index;
    indices[count++] = v->next->index;
}
}  // namespace

void SetRingEdgeVector(RingVert* v)
{
    v->dx = v->next->x - v->x;
    v->dy = v->next->y - v->y;
    v->length = std::sqrt(v->dx * v->dx + v->dy * v->dy);
}

void SetEarPriority(RingVert* v)
{
    const RingVert* p = v->prev;
    const double ax = p->dx, ay = p->dy, bx = v->dx, by = v->dy;
    const double c = ax * by - ay * bx;
    const double d = ax * bx + ay * by;
    if (c == 0.0 && d < kTol)
        v->priority = -1.0;
    else if (c > 0.0)
    {
        const double c2 = c * c;
        if (c2 == 0.0)
            v->priority = 0.0;
        else
        {
            const double sx = ax + bx, sy = ay + by;
            v->priority = (ax * ax + ay * ay) * (bx * bx + by * by) * (sx * sx + sy * sy) / (4.0 * c2);
            // Overflowing sides give inf / inf: such a corner is no usable ear.
            if (std::isnan(v->priority))
                v->priority = kUnsetValue;
        }
    }
    else
        v->priority = kUnsetValue;
}

bool PointBlocksEar(const RingVert* v, const RingVert* t)
{
    const RingVert* prev = v->prev;
    const RingVert* next = v->next;
    if (SamePosition(t, prev) || SamePosition(t, next))
        return false;

    if (!SamePosition(t, v))
    {
        if (SideOfEdge(v, t) < 0.0 || SideOfEdge(prev, t) < 0.0)
            return false;
        const double ex = next->x - prev->x, ey = next->y - prev->y;
        const double beyond = ex * (t->y - next->y) - ey * (t->x - next->x);
        if (beyond <= 0.0)
            return true;
        // Past the far edge, a point blocks only within kTol of that edge. The tolerance is a
        // distance: on the cross product itself it would grow with the edge's length, and the
        // nearly straight ears of a finely divided or small ring would all count as blocked by
        // their neighbours, leaving the ring unfilled.
        const double len2 = ex * ex + ey * ey;
        const double along = (t->x - prev->x) * ex + (t->y - prev->y) * ey;
        double dist2;
        if (along <= 0.0)
            dist2 = (t->x - prev->x) * (t->x - prev->x) + (t->y - prev->y) * (t->y - prev->y);
        else if (along >= len2)
            dist2 = (t->x - next->x) * (t->x - next->x) + (t->y - next->y) * (t->y - next->y);
        else
            dist2 = beyond * beyond / len2;
        return dist2 <= kTol * kTol;
    }

    // The ring passes v's position twice, as after a hole bridge: follow both passes while they
    // run together, then see whether the other pass turns into the ear.
    const RingVert* back = v;
    const RingVert* fwd = t;
    while (SamePosition(back, fwd))
    {
        back = back->prev;
        fwd = fwd->next;
        if (back == v)
            return true;
    }
    return !(SideOfEdge(back, fwd) < 0.0 || SideOfEdge(back->next, fwd) < 0.0);
}

bool IsEarBlocked(RingVert* v)
{
    // The remembered blocker is checked again: the ear changes shape as its neighbours go, and a
    // stale blocker would hold back a good ear for the rest of the clipping.
    if (v->blocker && !(v->blocker->flags & kRingVertFree) && PointBlocksEar(v, v->blocker))
        return true;
    for (RingVert* t = v->next->next; t != v->prev; t = t->next)
        if (PointBlocksEar(v, t))
        {
            v->blocker = t;
            return true;
        }
    v->blocker = nullptr;
    return false;
}

int TriangulateRingInto(RingVert* ring, int capacity, int32_t* indices, TriangulationScratch* scratch)
{
    const int n = RingCount(ring);
    if (n < 3)
    {
        FreeRing(ring);
        return 0;
    }

    std::unique_ptr<RingVert*[]> ownVerts;
    RingVert** verts = nullptr;
    if (scratch)
        verts = scratch->GetVertexPointers(n);
    else
    {
        ownVerts.reset(new (std::nothrow) RingVert*[size_t(n)]);
        verts = ownVerts.get();
    }
    if (!verts)
    {
        InternalError("TriangulateRingInto(): no memory for %d vertices", n);
        FreeRing(ring);
        return 0;
    }

    RingVert* v = ring;
    for (int i = 0; i < n; ++i, v = v->next)
    {
        verts[i] = v;
        v->blocker = nullptr;
        SetRingEdgeVector(v);
    }
    for (int i = 0; i < n; ++i)
        SetEarPriority(verts[i]);
    // Stable, so that equal priorities keep ring order and results repeat on every platform.
    std::stable_sort(verts, verts + n, [](const RingVert* a, const RingVert* b) { return a->priority < b->priority; });
    // The grid is a speed-up only: without memory for it the ear tests scan the ring.
    const bool indexed = n >= kIndexedRingSize;
    EarList ears;
    ears.Build(verts, n, indexed);
    VertexGrid grid;
    const VertexGrid* near = indexed && grid.Build(verts, n) ? &grid : nullptr;

    int count = 0;
    for (int remaining = n; remaining > 3; --remaining)
    {
        // Spikes and zero edges first; then the best free ear; when every convex corner is blocked,
        // a reflex or straight one goes without a triangle so that the clipping always ends.
        RingVert* ear = ears.head;
        while (ear && IsRealEar(ear) && IsEarBlockedNear(ear, near))
            ear = ear->earNext;
        if (!ear)
        {
            FreeRing(ears.head);
            return count;
        }

        ears.Detach(ear);
        RingVert* prev = ear->prev;
        RingVert* next = ear->next;
        if (IsRealEar(ear))
        {
            if (count + 3 > capacity)
            {
                InternalError("Triangulation failed: insufficient space");
                FreeRing(ear);
                return count;
            }
            WriteTriangle(indices, count, ear);
        }
        RingUnlink(ear);
        FreeRingVert(ear);

        // Out of the list while their priorities change, then back in: prev first, then next.
        RingVert* prevHint = ears.Detach(prev);
        RingVert* nextHint = ears.Detach(next);
        if (prevHint == next)
            prevHint = nextHint;
        SetRingEdgeVector(prev);
        SetEarPriority(prev);
        SetEarPriority(next);
        if (prev->blocker == next)
            prev->blocker = nullptr;
        if (next->blocker == prev)
            next->blocker = nullptr;
        ears.Insert(prev, prevHint);
        ears.Insert(next, nextHint ? nextHint : prev);
    }

    RingVert* head = ears.head;
    if (IsRealEar(head))
    {
        if (count + 3 > capacity)
            InternalError("Triangulation failed: insufficient space\nmax %d, needed %d", capacity, count + 3);
        else
            WriteTriangle(indices, count, head);
    }
    FreeRing(head);
    return count;
}

int TriangulateRing(RingVert* ring, std::unique_ptr<int32_t[]>& out)
{
    out.reset();
    const int n = RingCount(ring);
    if (n < 3)
    {
        FreeRing(ring);
        return 0;
    }
    const int capacity = 3 * (n - 2);
    out.reset(new (std::nothrow) int32_t[size_t(capacity)]);
    if (!out)
    {
        InternalError("TriangulateRing(): no memory for %d indices", capacity);
        FreeRing(ring);
        return 0;
    }
    return TriangulateRingInto(ring, capacity, out.get(), nullptr);
}

int TriangulateRing(RingVert* ring, int32_t*& out, TriangulationScratch& scratch)
{
    out = nullptr;
    const int n = RingCount(ring);
    if (n < 3)
    {
        FreeRing(ring);
        return 0;
    }
    const int capacity = 3 * (n - 2);
    out = scratch.AllocIndices(uint32_t(capacity));
    if (!out)
    {
        InternalError("TriangulateRing(): no memory for %d indices", capacity);
        FreeRing(ring);
        return 0;
    }
    return TriangulateRingInto(ring, capacity, out, &scratch);
}

namespace
{
// Joins the holes and frees the list's last node; returns the joined ring.
RingVert* TakeJoinedRing(RingList* list)
{
    if (!list)
        return nullptr;
    JoinRingHoles(list);
    RingVert* ring = list->ring;
    list->ring = nullptr;
    FreeRingListNode(list);
    return ring;
}
}  // namespace

int TriangulateRingList(RingList* list, std::unique_ptr<int32_t[]>& out)
{
    return TriangulateRing(TakeJoinedRing(list), out);
}

int TriangulateRingList(RingList* list, int32_t*& out, TriangulationScratch& scratch)
{
    return TriangulateRing(TakeJoinedRing(list), out, scratch);
}

int TriangulateRingListInto(RingList* list, int capacity, int32_t* indices, TriangulationScratch* scratch)
{
    return TriangulateRingInto(TakeJoinedRing(list), capacity, indices, scratch);
}
