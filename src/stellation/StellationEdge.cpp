#include "stellation/StellationEdge.h"

#include "stellation/StellationRegion.h"

#include <cstdio>

namespace
{
// Far more edges than meet at any vertex or bound any region: only broken links walk this far.
constexpr int kWalkLimit = 1 << 20;
}  // namespace

StellationEdge::StellationEdge(StellationRegion* region, StellationLine* line, SegVert* start)
    : mRegion(region), mLine(line), mStart(start)
{
}

SegVert* StellationEdge::GetEnd() const
{
    if (mTwin)
        return mTwin->mStart;
    return mNext ? mNext->mStart : nullptr;
}

StellationEdge* StellationEdge::FindOnLineAroundVertex(const StellationLine* line) const
{
    const StellationEdge* e = this;
    for (int i = 0; i < kWalkLimit; ++i)
    {
        if (!e->mNext || !e->mNext->mTwin)
            return nullptr;
        e = e->mNext->mTwin;
        if (e == this)
            return nullptr;
        if (e->mLine == line)
            return e->mTwin;
    }
    return nullptr;
}

StellationEdge* StellationEdge::GetNeighbourOnSide(int side) const
{
    if (side != 0)
        return mNeighbour;
    if (!mTwin || !mTwin->mNeighbour)
        return nullptr;
    return mTwin->mNeighbour->mTwin;
}

int StellationEdge::GetWinding() const
{
    const int count = int(mFlags & kEdgeWindingMask);
    return (mFlags & kEdgeWindingNegative) ? -count : count;
}

void StellationEdge::SetWinding(int winding)
{
    if (winding > 255)
        winding = 255;
    if (winding < -255)
        winding = -255;
    mFlags &= ~(kEdgeWindingMask | kEdgeWindingNegative);
    if (winding < 0)
        mFlags |= kEdgeWindingNegative | uint32_t(-winding);
    else
        mFlags |= uint32_t(winding);
}

std::string StellationEdge::GetLabel() const
{
    const StellationEdge* on = this;
    if (!mRegion)
        on = mTwin && mTwin->mRegion ? mTwin : nullptr;
    if (!on)
        return "Empty";
    const StellationRegion* region = on->mRegion;
    const int regionIndex = region->GetIndex();
    int edgeIndex = -1;
    const StellationEdge* e = region->mEdge;
    for (int i = 0; e && i < kWalkLimit; ++i)
    {
        if (e == this)
        {
            edgeIndex = i;
            break;
        }
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    char text[32];
    if (edgeIndex >= 0)
        std::snprintf(text, sizeof text, "%d-%d", regionIndex, edgeIndex);
    else
        std::snprintf(text, sizeof text, "%d-?", regionIndex);
    return text;
}
