// Support between cells, flood fills over the cells, and the layer candidates of fully supported
// stepping.

#include "kernel/Messages.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationFacet.h"

#include <vector>

namespace
{
bool IsCentral(const StellationFacet* facet)
{
    return facet && (facet->mFlags & kFacetCentral) != 0;
}
}  // namespace

bool StellationCell::IsSupported() const
{
    for (int i = 0; i < mNumLower; ++i)
    {
        const StellationCell* below = mNeighbours[i];
        if (!IsCentral(mFacets[i]) && !(below && below->IsIncluded()))
            return false;
    }
    return true;
}

bool StellationCell::HasIncludedUpperNeighbour() const
{
    for (size_t i = size_t(mNumLower); i < mFacets.size(); ++i)
    {
        const StellationCell* above = mNeighbours[i];
        if (!IsCentral(mFacets[i]) && above && above != this && above->IsIncluded())
            return true;
    }
    return false;
}

bool StellationCell::IncludeWithSupport(StellationCell* cell)
{
    if (!cell || cell->IsOuter())
        return false;
    for (int i = 0; i < cell->mNumLower; ++i)
    {
        StellationCell* below = cell->mNeighbours[i];
        if (IsCentral(cell->mFacets[i]) || (below && below->IsIncluded()))
            continue;
        // Cells below lie nearer the core, so the recursion ends.
        if (!below || below == cell || !IncludeWithSupport(below))
        {
            SetIncluded(cell, false);
            return false;
        }
    }
    SetIncluded(cell, true);
    return true;
}

void StellationCell::ExcludeWithDependants(StellationCell* cell)
{
    if (!cell)
        return;
    SetIncluded(cell, false);
    for (int i = 0; i < cell->mNumLower; ++i)
    {
        StellationCell* below = cell->mNeighbours[i];
        if (!IsCentral(cell->mFacets[i]) && below && below != cell && below->IsIncluded() &&
            !below->HasIncludedUpperNeighbour())
            ExcludeWithDependants(below);
    }
}

bool Stellation::IsMonoacral(StellationCell* cell) const
{
    if (!cell || !cell->IsIncluded() || !cell->IsSupported())
        return false;
    for (const StellationCell* other = mFirstCell; other; other = other->next)
        if (other != cell && other->IsIncluded() && (!other->IsSupported() || !other->HasIncludedUpperNeighbour()))
            return false;
    return true;
}

void Stellation::FloodFill(StellationCell* cell, bool included)
{
    if (!cell || cell->IsIncluded() != included)
        return;
    const int maxCells = included ? mNumIncludedCells : GetNumExcludedCells() + 1;
    std::vector<StellationCell*> queue;
    queue.reserve(size_t(maxCells > 0 ? maxCells : 1));
    cell->mFlags |= kCellVisited;
    queue.push_back(cell);
    for (size_t at = 0; at < queue.size(); ++at)
        for (StellationCell* next : queue[at]->mNeighbours)
        {
            if (!next || (next->mFlags & kCellVisited) || next->IsIncluded() != included)
                continue;
            if (int(queue.size()) >= maxCells)
            {
                InternalError("FloodFill: freePos >= maxCells (%d)", maxCells);
                return;
            }
            next->mFlags |= kCellVisited;
            queue.push_back(next);
        }
}

bool Stellation::IsConnected()
{
    if (mBuildDeclined)
        return true;
    StellationCell* first = mFirstCell;
    while (first && !first->IsIncluded())
        first = first->next;
    if (!first)
        return false;
    FloodFill(first, true);
    bool connected = true;
    for (const StellationCell* cell = mFirstCell; cell; cell = cell->next)
        if (cell->IsIncluded() && !(cell->mFlags & kCellVisited))
            connected = false;
    ClearCellFlag(kCellVisited);
    return connected;
}

bool Stellation::HasNoInaccessibleCells()
{
    if (mBuildDeclined || !mLastCell)
        return true;
    FloodFill(mLastCell, false);
    bool accessible = true;
    for (const StellationCell* cell = mFirstCell; cell; cell = cell->next)
        if (!cell->IsIncluded() && !(cell->mFlags & kCellVisited))
            accessible = false;
    ClearCellFlag(kCellVisited);
    return accessible;
}

bool Stellation::FillInaccessibleCells()
{
    if (mBuildDeclined || !mLastCell)
        return false;
    FloodFill(mLastCell, false);
    std::vector<StellationCell*> holes;
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
        if (!cell->IsIncluded() && !(cell->mFlags & kCellVisited))
            holes.push_back(cell);
    ClearCellFlag(kCellVisited);
    for (StellationCell* cell : holes)
        StellationCell::SetIncluded(cell, true);
    return !holes.empty();
}

void Stellation::KeepConnectedPart(StellationCell* cell)
{
    if (!cell || !cell->IsIncluded())
        return;
    FloodFill(cell, true);
    mMillerCounted = false;
    std::vector<StellationCell*> cut;
    bool mirrorCompound = mNumUnmatchedChiralCells == 0 && mNumIncludedCells % 2 == 0;
    for (StellationCell* c = mFirstCell; c; c = c->next)
    {
        if (!c->IsIncluded())
            continue;
        const bool reached = (c->mFlags & kCellVisited) != 0;
        if (!reached)
            cut.push_back(c);
        const StellationCell* partner = c->GetMirror();
        if (partner == c || reached == ((partner->mFlags & kCellVisited) != 0))
            mirrorCompound = false;
    }
    ClearCellFlag(kCellVisited);
    if (mirrorCompound)
        return;
    for (StellationCell* c : cut)
        StellationCell::SetIncluded(c, false);
}

void Stellation::IncludeMirrorsOfIncluded()
{
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
        if (cell->IsIncluded())
            StellationCell::ApplyInclusion(cell->GetMirror(), true);
}

// ---- Layer candidates ----

void StellationCellLayer::CollectCandidates()
{
    ClearCandidates();
    std::vector<StellationCell*> found;
    if (!prev)
    {
        for (StellationCell* cell = mFirstCell; cell && cell->mLayer == this; cell = cell->next)
            if (!(cell->mFlags & kCellQueued))
                found.push_back(cell);
    }
    else
    {
        for (StellationCell* below = prev->mFirstCandidate; below; below = below->mNextInLayer)
            for (size_t i = size_t(below->mNumLower); i < below->mFacets.size(); ++i)
            {
                StellationCell* cell = below->mNeighbours[i];
                if (IsCentral(below->mFacets[i]) || !cell || (cell->mFlags & kCellQueued) || !cell->IsSupported())
                    continue;
                cell->mFlags |= kCellQueued;
                found.push_back(cell);
            }
    }
    // Mirror pairs go first, the second of each pair before its partner, so that the count can
    // step over the second.
    std::vector<StellationCell*> ordered;
    for (StellationCell* cell : found)
    {
        StellationCell* partner = cell->GetMirror();
        if (partner == cell || !(cell->mFlags & kCellChiralFirst))
            continue;
        for (StellationCell* other : found)
            if (other == partner)
            {
                ordered.push_back(partner);
                ordered.push_back(cell);
                break;
            }
    }
    const size_t pairs = ordered.size();
    for (StellationCell* cell : found)
    {
        bool paired = false;
        for (size_t i = 0; i < pairs && !paired; ++i)
            paired = ordered[i] == cell;
        if (!paired)
            ordered.push_back(cell);
    }
    for (StellationCell* cell : ordered)
    {
        cell->mFlags |= kCellQueued;
        cell->mPrevInLayer = mLastCandidate;
        cell->mNextInLayer = nullptr;
        if (mLastCandidate)
            mLastCandidate->mNextInLayer = cell;
        else
            mFirstCandidate = cell;
        mLastCandidate = cell;
    }
}

namespace
{
// The second of a mirror pair whose partner is a candidate next to it.
bool IsSecondOfCandidatePair(const StellationCell* cell)
{
    return (cell->mFlags & kCellChiralSecond) && cell->mNextInLayer && cell->mNextInLayer == cell->prev;
}
}  // namespace

bool StellationCellLayer::NextCombination()
{
    for (StellationCell* cell = mFirstCandidate; cell; cell = cell->mNextInLayer)
    {
        if (IsSecondOfCandidatePair(cell) &&
            (IsReflexibilityMaintained() || (cell->mStellation->mNumUnmatchedChiralCells == 0 && !cell->IsIncluded())))
            continue;
        const bool was = cell->IsIncluded();
        StellationCell::ApplyInclusion(cell, !was);
        if (!was)
            return true;
    }
    return false;
}

bool StellationCellLayer::PrevCombination()
{
    for (StellationCell* cell = mFirstCandidate; cell; cell = cell->mNextInLayer)
    {
        if (IsSecondOfCandidatePair(cell) &&
            (IsReflexibilityMaintained() || (cell->mStellation->mNumUnmatchedChiralCells == 1 && !cell->IsIncluded() &&
                                              cell->GetMirror()->IsIncluded())))
            continue;
        const bool was = cell->IsIncluded();
        StellationCell::ApplyInclusion(cell, !was);
        if (was)
            return true;
    }
    return false;
}

bool StellationCellLayer::HasIncludedCandidate() const
{
    for (const StellationCell* cell = mFirstCandidate; cell; cell = cell->mNextInLayer)
        if (cell->IsIncluded())
            return true;
    return false;
}

void StellationCellLayer::ClearCandidates()
{
    StellationCell* cell = mFirstCandidate;
    while (cell)
    {
        StellationCell* next = cell->mNextInLayer;
        cell->mFlags &= ~kCellQueued;
        cell->mNextInLayer = cell->mPrevInLayer = nullptr;
        cell = next;
    }
    mFirstCandidate = mLastCandidate = nullptr;
}
