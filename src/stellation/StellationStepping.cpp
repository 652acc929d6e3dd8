// Stepping through the stellations that the global criterion accepts, and counting them.

#include "kernel/Progress.h"
#include "kernel/Shell.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

namespace
{
StellationCell* LastCellOf(const Stellation& stellation, const StellationCellLayer* layer)
{
    return layer->next ? layer->next->mFirstCell->prev : stellation.mLastCell;
}

bool IsOuterLayer(const Stellation& stellation, const StellationCellLayer* layer)
{
    return layer && stellation.mLastCell && stellation.mLastCell->mLayer == layer;
}

void SetLayerIncluded(const Stellation& stellation, const StellationCellLayer* layer, bool on)
{
    const StellationCell* last = LastCellOf(stellation, layer);
    for (StellationCell* cell = layer->mFirstCell; cell; cell = cell->next)
    {
        StellationCell::ApplyInclusion(cell, on);
        if (cell == last)
            break;
    }
}

// Excludes every cell; through SetIncluded when the step counts as a direct change.
void ExcludeAll(Stellation& stellation, bool direct)
{
    for (StellationCell* cell = stellation.mFirstCell; cell && cell != stellation.mLastCell; cell = cell->next)
        if (direct)
            StellationCell::SetIncluded(cell, false);
        else
            StellationCell::ApplyInclusion(cell, false);
}

bool IsSecondOfPair(const StellationCell* cell)
{
    return (cell->mFlags & kCellChiralSecond) != 0;
}

// The criteria whose stepping is built here.
bool CanStep(int criterion)
{
    return criterion >= kCriterionMainline && criterion <= kCriterionMillerSlow;
}
}  // namespace

bool Stellation::InitStepping()
{
    if (mSteppingReady)
        return false;
    if (!mFirstCell || !mLastCell)
        return true;
    const int criterion = GetStellationCriterion();
    if (!CanStep(criterion))
        return false;
    CopyIncludedToFlag(kCellDeadPocket);
    mSteppingReady = true;
    ClearStepping();
    mStepCell = nullptr;
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
        if (cell->IsIncluded())
            mStepCell = cell;
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
    {
        cell->mFlags &= ~kCellQueued;
        cell->mSearchMark = -1;
    }
    mLastCell->mFlags |= kCellQueued;
    if (!mStepCell)
    {
        StellationCell::ApplyInclusion(mFirstCell, true);
        mStepCell = mFirstCell;
    }
    switch (criterion)
    {
    case kCriterionMainline:
        mStepCell = LastCellOf(*this, mStepCell->mLayer);
        for (StellationCellLayer* layer = mFirstLayer; layer; layer = layer->next)
        {
            SetLayerIncluded(*this, layer, true);
            if (layer == mStepCell->mLayer)
                break;
        }
        break;
    case kCriterionPrimary:
        if (!InitPrimary())
        {
            // Nothing found: the stellation goes back to what it was.
            for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
                StellationCell::ApplyInclusion(cell, (cell->mFlags & kCellDeadPocket) != 0);
            mSteppingReady = false;
            ClearCellFlag(kCellDeadPocket);
            return false;
        }
        break;
    case kCriterionMonoacral:
        if (IsMonoacral(mStepCell))
            break;
        for (;;)
        {
            while (mStepCell->prev && IsSecondOfPair(mStepCell))
                mStepCell = mStepCell->prev;
            ExcludeAll(*this, true);
            if (StellationCell::IncludeWithSupport(mStepCell) || !mStepCell->prev)
                break;
            mStepCell = mStepCell->prev;
        }
        break;
    case kCriterionFullySupported:
        for (StellationCell* cell = mStepCell; cell; cell = cell->prev)
            if (cell->IsIncluded())
                StellationCell::IncludeWithSupport(cell);
        if (GetStellationOptions() & kCriteriaFullSupNeedsCore)
            SetLayerIncluded(*this, mFirstLayer, true);
        for (StellationCellLayer* layer = mFirstLayer; layer && !IsOuterLayer(*this, layer); layer = layer->next)
        {
            layer->CollectCandidates();
            mStepLayer = layer;
            if (!layer->HasIncludedCandidate())
                break;
        }
        break;
    case kCriterionMiller:
    case kCriterionMillerSlow:
        InitMillerStepping();
        break;
    default:
        break;
    }
    mSteppingReady = true;
    const bool changed = !MatchesFlag(kCellDeadPocket);
    ClearCellFlag(kCellDeadPocket);
    return changed;
}

void Stellation::GoToCore()
{
    if (!mFirstCell || !mLastCell)
        return;
    ClearStepping();
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
    {
        if (cell != mLastCell)
            StellationCell::ApplyInclusion(cell, false);
        cell->mFlags &= ~kCellQueued;
        cell->mSearchMark = -1;
    }
    StellationCell::ApplyInclusion(mFirstCell, true);
    mStepCell = mFirstCell;
    mLastCell->mFlags |= kCellQueued;
    mSteppingReady = true;
    switch (GetStellationCriterion())
    {
    case kCriterionMainline:
        SetLayerIncluded(*this, mFirstLayer, true);
        mStepCell = LastCellOf(*this, mFirstLayer);
        break;
    case kCriterionFullySupported:
        if (GetStellationOptions() & kCriteriaFullSupNeedsCore)
        {
            SetLayerIncluded(*this, mFirstLayer, true);
            mStepCell = LastCellOf(*this, mFirstLayer);
        }
        mFirstLayer->CollectCandidates();
        mStepLayer = mFirstLayer;
        if (mFirstLayer->next && !IsOuterLayer(*this, mFirstLayer->next))
        {
            mFirstLayer->next->CollectCandidates();
            mStepLayer = mFirstLayer->next;
        }
        break;
    case kCriterionPrimary:
        // The core need not be primary: the search finds the first one from it.
        mSteppingReady = false;
        InitStepping();
        break;
    case kCriterionMiller:
    case kCriterionMillerSlow:
        StartMillerSearch();
        break;
    default:
        break;
    }
}

bool Stellation::GoToFinal(bool valid)
{
    if (!mFirstCell || !mLastCell)
        return false;
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
        StellationCell::ApplyInclusion(cell, true);
    mSteppingReady = false;
    return valid ? InitStepping() : true;
}

bool Stellation::NextByCriteria()
{
    if (!mFirstCell || !mLastCell)
        return false;
    if (!mSteppingReady)
    {
        if (InitStepping())
            return true;
        if (!mSteppingReady)
            return false;
    }
    bool wrap = false;
    switch (GetStellationCriterion())
    {
    case kCriterionMainline:
    {
        StellationCellLayer* next = mStepCell->mLayer->next;
        if (!next || IsOuterLayer(*this, next))
        {
            wrap = true;
            break;
        }
        SetLayerIncluded(*this, next, true);
        mStepCell = LastCellOf(*this, next);
        break;
    }
    case kCriterionPrimary:
        wrap = !StepPrimary(true);
        mSteppingReady = true;
        break;
    case kCriterionMonoacral:
        ExcludeAll(*this, true);
        for (;;)
        {
            mStepCell = mStepCell->next;
            while (mStepCell && mStepCell != mLastCell && IsSecondOfPair(mStepCell))
                mStepCell = mStepCell->next;
            if (!mStepCell || mStepCell == mLastCell)
            {
                wrap = true;
                break;
            }
            if (StellationCell::IncludeWithSupport(mStepCell))
                break;
            ExcludeAll(*this, true);
        }
        mSteppingReady = true;
        break;
    case kCriterionFullySupported:
        while (mStepLayer && !mStepLayer->NextCombination())
        {
            mStepLayer->ClearCandidates();
            mStepLayer = mStepLayer->prev;
        }
        if (!mStepLayer)
        {
            wrap = true;
            break;
        }
        if (mStepLayer->next && !IsOuterLayer(*this, mStepLayer->next))
        {
            mStepLayer = mStepLayer->next;
            mStepLayer->CollectCandidates();
        }
        break;
    case kCriterionMiller:
    case kCriterionMillerSlow:
        wrap = !NextMiller();
        break;
    default:
        return false;
    }
    if (wrap)
    {
        GoToCore();
        return false;
    }
    return true;
}

bool Stellation::PreviousByCriteria()
{
    if (!mFirstCell || !mLastCell)
        return false;
    if (!mSteppingReady)
    {
        if (InitStepping())
            return true;
        if (!mSteppingReady)
            return false;
    }
    bool wrap = false;
    switch (GetStellationCriterion())
    {
    case kCriterionMainline:
    {
        StellationCellLayer* layer = mStepCell->mLayer;
        if (!layer->prev)
        {
            wrap = true;
            break;
        }
        SetLayerIncluded(*this, layer, false);
        mStepCell = LastCellOf(*this, layer->prev);
        break;
    }
    case kCriterionPrimary:
        wrap = !StepPrimary(false);
        mSteppingReady = true;
        break;
    case kCriterionMonoacral:
        ExcludeAll(*this, true);
        for (;;)
        {
            mStepCell = mStepCell->prev;
            while (mStepCell && IsSecondOfPair(mStepCell))
                mStepCell = mStepCell->prev;
            if (!mStepCell)
            {
                wrap = true;
                break;
            }
            if (StellationCell::IncludeWithSupport(mStepCell))
                break;
            ExcludeAll(*this, true);
        }
        mSteppingReady = true;
        break;
    case kCriterionFullySupported:
    {
        if (mStepLayer)
        {
            mStepLayer->ClearCandidates();
            mStepLayer = mStepLayer->prev;
        }
        if (!mStepLayer || (!mStepLayer->prev && (GetStellationOptions() & kCriteriaFullSupNeedsCore)))
        {
            wrap = true;
            break;
        }
        mStepLayer->PrevCombination();
        if (mNumIncludedCells == 0)
        {
            wrap = true;
            break;
        }
        if (!mStepLayer->HasIncludedCandidate())
            break;
        // The largest combination above the layer: every candidate of each next layer.
        while (mStepLayer->next && !IsOuterLayer(*this, mStepLayer->next))
        {
            mStepLayer = mStepLayer->next;
            mStepLayer->CollectCandidates();
            if (!mStepLayer->HasCandidates())
                break;
            for (StellationCell* cell = mStepLayer->mFirstCandidate; cell; cell = cell->mNextInLayer)
                StellationCell::ApplyInclusion(cell, true);
        }
        break;
    }
    case kCriterionMiller:
    case kCriterionMillerSlow:
    {
        Shell& shell = GetShell();
        shell.SetViewMessage(shell.ActiveView(),
                             "Sorry, going to the previous stellation when\nusing Miller's rules has not been "
                             "implemented.\n\nIf you want to go back to a stellation you just\npassed, try using "
                             "Ctrl+Z to undo instead.");
        return true;
    }
    default:
        return false;
    }
    if (wrap)
    {
        GoToFinal(true);
        return false;
    }
    return true;
}

bool Stellation::CountStellations()
{
    if (!mFirstCell || !mLastCell || !CanStep(GetStellationCriterion()))
        return false;
    ProgressScope progress;
    const bool miller = GetStellationCriterion() >= kCriterionMiller;
    // A run that was cancelled counted the stellation it stopped at.
    bool resuming = mCountInterrupted && mSteppingReady;
    mCountInterrupted = false;
    if (!resuming)
    {
        mNumStellations = BigUInt();
        mNumChirals = BigUInt();
        mNumMillerExceptions = BigUInt();
        GoToCore();
        if (!mSteppingReady && !InitStepping() && !mSteppingReady)
            return false;
    }
    for (;;)
    {
        if (resuming)
            resuming = false;
        else
        {
            // A compound with its mirror image that Miller's rules show counts too; the search
            // counts those in mNumMillerExceptions as well.
            mNumStellations.AddWord(1);
            if (mNumUnmatchedChiralCells > 0)
                mNumChirals.AddWord(1);
        }
        if (miller)
            TraceMillerStellation();
        if (!ShowProgress(kProgressKeepAlive))
        {
            mCountInterrupted = true;
            return false;
        }
        if (!NextByCriteria())
            return true;
    }
}
