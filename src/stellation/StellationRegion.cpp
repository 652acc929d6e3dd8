#include "stellation/StellationRegion.h"

#include "stellation/SegVert.h"
#include "stellation/StellationEdge.h"

namespace
{
// More edges than any region has: only a broken ring walks this far.
constexpr int kRingLimit = 1 << 20;

template <class Visit>
void ForRing(const StellationRegion* region, Visit visit)
{
    StellationEdge* e = region->mEdge;
    for (int i = 0; e && i < kRingLimit; ++i)
    {
        visit(e);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
}
}  // namespace

int StellationRegion::GetIndex() const
{
    int index = 0;
    for (const StellationRegion* r = prev; r; r = r->prev)
        ++index;
    return index;
}

int StellationRegion::GetNumEdges() const
{
    int n = 0;
    ForRing(this, [&](StellationEdge*) { ++n; });
    return n;
}

StellationEdge* StellationRegion::GetEdge(int n) const
{
    StellationEdge* found = nullptr;
    int i = 0;
    ForRing(this, [&](StellationEdge* e) {
        if (i++ == n)
            found = e;
    });
    return found;
}

Vec2D StellationRegion::GetCentroid() const
{
    Vec2D sum;
    int n = 0;
    ForRing(this, [&](StellationEdge* e) {
        if (e->mStart)
        {
            Vec2Add(sum, sum, e->mStart->mPos);
            ++n;
        }
    });
    if (n > 0)
        Vec2Div(sum, sum, double(n));
    return sum;
}

int StellationRegion::GetNumOpenEdges() const
{
    int n = 0;
    ForRing(this, [&](StellationEdge* e) { n += !e->mTwin || !e->mTwin->mRegion; });
    return n;
}
