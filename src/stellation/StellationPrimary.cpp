// Primary stellations: those whose face is one patch of the stellation diagram bounded by lines
// that lie in mirror planes, so that every edge is where a face meets its own mirror image.

#include "kernel/Shell.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"

#include <vector>

namespace
{
bool InMirrorPlane(const StellationEdge* edge)
{
    return edge->mLine && (edge->mLine->mFlags & kLineInMirrorPlane);
}

// The facet of the region across the edge, or null at the rim of the diagram.
StellationFacet* FacetAcross(const StellationEdge* edge)
{
    const StellationEdge* twin = edge->mTwin;
    return twin && twin->mRegion ? twin->mRegion->mFacet : nullptr;
}

template <typename Visit>
void ForEachRegionEdge(const StellationRegion* region, Visit visit)
{
    if (!region || !region->mEdge)
        return;
    const StellationEdge* edge = region->mEdge;
    do
    {
        visit(edge);
        edge = edge->mNext;
    } while (edge && edge != region->mEdge);
}
}  // namespace

bool Stellation::IsLowestAround(StellationFacet* facet)
{
    if (!facet)
        return false;
    if (facet->mMirror && facet->mMirror->mIndex < facet->mIndex)
        return false;
    bool lowest = true;
    ForEachRegionEdge(facet->mRegions.empty() ? nullptr : facet->mRegions[0], [&](const StellationEdge* edge) {
        const StellationFacet* across = FacetAcross(edge);
        if (!InMirrorPlane(edge) && across && across->mIndex < facet->mIndex)
            lowest = false;
    });
    return lowest;
}

bool Stellation::ShowPrimaryStellation(StellationFacet* facet)
{
    if (!facet || !mFirstCell)
        return false;
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
        StellationCell::SetIncluded(cell, false);
    // The patch of the diagram around the facet, its mirror image with it.
    std::vector<StellationFacet*> patch;
    bool closed = true;
    auto visit = [&patch](StellationFacet* f) {
        if (f && !(f->mFlags & kFacetTaken))
        {
            f->mFlags |= kFacetTaken;
            patch.push_back(f);
        }
    };
    visit(facet);
    visit(facet->GetMirror());
    for (size_t at = 0; at < patch.size(); ++at)
        for (const StellationRegion* region : patch[at]->mRegions)
            ForEachRegionEdge(region, [&](const StellationEdge* edge) {
                if (InMirrorPlane(edge))
                    return;
                StellationFacet* across = FacetAcross(edge);
                if (!across)
                    closed = false;
                visit(across);
                if (across)
                    visit(across->GetMirror());
            });
    for (StellationFacet* f : patch)
    {
        f->mFlags &= ~kFacetTaken;
        if (closed)
            StellationCell::SetIncluded(f->mCellBelow, true);
    }
    if (closed)
        FillInaccessibleCells();
    return closed;
}

StellationFacet* Stellation::FindLowestUsedFacet() const
{
    StellationFacet* lowest = nullptr;
    for (const FaceType* type = mFirstFaceType; type; type = type->mNextFaceType)
        for (StellationFacet* f = type->mUsedFacets; f; f = f->mNextUsed)
            if (!lowest || f->mIndex < lowest->mIndex)
                lowest = f;
    return lowest;
}

bool Stellation::IsPrimaryCandidate(StellationFacet* facet)
{
    return IsLowestAround(facet) && ShowPrimaryStellation(facet) && FindLowestUsedFacet() == facet;
}

bool Stellation::CanHavePrimaryStellations() const
{
    if (!IsReflexible() || !mFirstFaceType)
        return false;
    const FaceType* second = mFirstFaceType->mNextFaceType;
    if (!second)
        return true;
    return !second->mNextFaceType && mFirstFaceType->mMirrorFace == second;
}

bool Stellation::StepPrimary(bool forward)
{
    StellationFacet* from = FindLowestUsedFacet();
    if (from && from->mFaceType != mFirstFaceType)
        from = from->GetMirror();
    if (!from)
        return false;
    for (StellationFacet* f = forward ? from->next : from->prev; f; f = forward ? f->next : f->prev)
        if (IsPrimaryCandidate(f))
            return true;
    return false;
}

bool Stellation::InitPrimary()
{
    if (!CanHavePrimaryStellations())
    {
        Shell& shell = GetShell();
        shell.SetViewMessage(shell.ActiveView(),
                             "Error: Only reflexible isohedral models have \"primary\" stellations.\n"
                             "You can change your stellation criteria by choosing from the\n"
                             "\"Stellation->Stellation Criteria\" sub-menu.");
        return false;
    }
    StellationFacet* start = nullptr;
    if (mStepCell && mStepCell->mNumLower < mStepCell->GetNumFacets())
        start = mStepCell->mFacets[size_t(mStepCell->mNumLower)];
    if (start && start->mFaceType != mFirstFaceType)
        start = start->GetMirror();
    for (StellationFacet* f = start; f; f = f->prev)
        if (IsPrimaryCandidate(f))
            return true;
    return false;
}
