#include "kernel/DiagramItems.h"

#include "kernel/ChunkPool.h"
#include "kernel/CoverageList.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"

#include <vector>

Vec2D HalfEdge2D::Direction() const
{
    Vec2D d;
    Vec2Sub(d, End()->mPoint, mOrigin->mPoint);
    return d;
}

bool HalfEdge2D::AddCoverage(int32_t owner, int32_t count, ChunkPool<CoverageEntry>& pool)
{
    CoverageEntry* list = mCoverage;
    const bool ok = AddToCoverage(owner, count, list, pool);
    SetCoverage(list);
    return ok;
}

int Loop2D::VertexCount() const
{
    int n = 0;
    const HalfEdge2D* h = mFirst;
    do
    {
        ++n;
        h = h->next;
    } while (h != mFirst);
    return n;
}

bool Loop2D::ContainsPoint(const Vec2D& point) const
{
    const double raisedY = point.y + kTol;
    int winding = 0;
    const HalfEdge2D* h = mFirst;
    do
    {
        const Vec2D& a = h->mOrigin->mPoint;
        const Vec2D& b = h->End()->mPoint;
        if ((a.y > raisedY) != (b.y > raisedY) && (point.x < a.x || point.x < b.x))
        {
            const double crossX = a.x + (point.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (point.x < crossX)
                winding += b.y > a.y ? 1 : -1;
        }
        h = h->next;
    } while (h != mFirst);
    return winding != 0;
}

void Loop2D::Bounds(Vec2D& min, Vec2D& max) const
{
    min = Vec2D{kUnsetValue, kUnsetValue};
    max = Vec2D{-kUnsetValue, -kUnsetValue};
    const HalfEdge2D* h = mFirst;
    do
    {
        const Vec2D& p = h->mOrigin->mPoint;
        if (p.x < min.x)
            min.x = p.x;
        if (p.y < min.y)
            min.y = p.y;
        if (p.x > max.x)
            max.x = p.x;
        if (p.y > max.y)
            max.y = p.y;
        h = h->next;
    } while (h != mFirst);
}

int Loop2D::TriangleCount() const
{
    const int n = VertexCount();
    int count = n > 2 ? n - 2 : 0;
    for (const Loop2D* hole = mChild; hole; hole = hole->mSibling)
        if (IsAreaHole(hole))
            count += hole->VertexCount() + 2;
    return count;
}

double Loop2D::DoubledArea() const
{
    double sum = 0.0;
    const HalfEdge2D* h = mFirst;
    do
    {
        sum += Vec2Cross(h->mOrigin->mPoint, h->End()->mPoint);
        h = h->next;
    } while (h != mFirst);
    return sum;
}

RingVert* Loop2D::MakeRingFrom(const HalfEdge2D* start, double scale) const
{
    RingVert* ring = nullptr;
    const HalfEdge2D* h = start;
    do
    {
        const Vert2D* v = h->mOrigin;
        RingVert* rv = AddRingVert(v->mPoint.x * scale, v->mPoint.y * scale, nullptr, nullptr, ring);
        if (!rv)
        {
            FreeRing(ring);
            return nullptr;
        }
        rv->index = v->mIndex;
        h = h->next;
    } while (h != start);
    return ring;
}

RingVert* Loop2D::MakeHoleRing(double scale) const
{
    double top = -kUnsetValue;
    const HalfEdge2D* h = mFirst;
    do
    {
        if (h->mOrigin->mPoint.y > top)
            top = h->mOrigin->mPoint.y;
        h = h->next;
    } while (h != mFirst);
    // The region lies left of the walk: at a corner, from the way out counterclockwise round to
    // the way in. Straight up lies in that wedge at exactly one corner of the top.
    const double up = PseudoAngle2D(Vec2D{0.0, 1.0});
    const HalfEdge2D* start = nullptr;
    h = mFirst;
    do
    {
        if (h->mOrigin->mPoint.y == top)
        {
            if (!start)
                start = h;
            const Vec2D out = h->Direction();
            const Vec2D in = h->prev->Direction();
            const double from = PseudoAngle2D(out);
            double to = PseudoAngle2D(Vec2D{-in.x, -in.y}) - from;
            double at = up - from;
            if (to <= 0.0)
                to += 8.0;
            if (at < 0.0)
                at += 8.0;
            if (at > 0.0 && at < to)
            {
                start = h;
                break;
            }
        }
        h = h->next;
    } while (h != mFirst);
    return MakeRingFrom(start, scale);
}

bool Loop2D::AddCrossingCoverage(const HalfEdge2D* h, ChunkPool<CoverageEntry>& pool)
{
    const int32_t sign = h->IsReversed() ? -1 : 1;
    bool ok = true;
    for (const CoverageEntry* e = h->mCoverage; e; e = e->mNext)
        ok = AddToCoverage(e->mOwner, sign * e->mCount, mCoverage, pool) && ok;
    return ok;
}

bool Loop2D::PropagateCoverage(Loop2D* outline, const CoverageEntry* coverage, ChunkPool<CoverageEntry>& pool)
{
    // Pieces may nest deeply: an explicit stack rather than recursion.
    std::vector<Loop2D*> outlines{outline};
    bool ok = true;
    while (!outlines.empty())
    {
        Loop2D* current = outlines.back();
        outlines.pop_back();
        for (Loop2D* region = current->mChild; region; region = region->mSibling)
        {
            for (const CoverageEntry* e = coverage; e; e = e->mNext)
                ok = AddToCoverage(e->mOwner, e->mCount, region->mCoverage, pool) && ok;
            for (Loop2D* inner = region->mChild; inner; inner = inner->mSibling)
                outlines.push_back(inner);
        }
    }
    return ok;
}
