#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "model/StellationOptions.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationSettings.h"

namespace
{
// A pending fit (allowing for rotation) of every view whose type code passes the test.
template <typename Test>
void FitViewsWhere(Test test)
{
    Shell& shell = GetShell();
    for (void* view = shell.NextView(nullptr); view; view = shell.NextView(view))
        if (test(shell.ViewTypeCode(view)))
            shell.RequestViewFit(view, 1);
}

void AfterCellChange(StellationCell* cell, bool on)
{
    Stellation* stellation = cell->mStellation;
    stellation->DropModel3D();
    stellation->mNumUsedSegVerts = -1;
    stellation->mRadius = -1.0;
    Shell& shell = GetShell();
    shell.RecordStelCellChange(cell, on);
    FitViewsWhere([](int code) { return ViewTypeHasAll(code, kViewFamilyNet); });
    if (GetStellationSettings().autoFrame)
    {
        const int shown = stellation->IsDual() ? kViewTypeDualStellation : kViewTypeUniStellation;
        FitViewsWhere([shown](int code) { return code == shown || code == kViewTypeStelFace; });
    }
    shell.InfoNeedsUpdate(2);
}
}  // namespace

void StellationFacet::SetUsed(bool on)
{
    if (IsUsed() == on || !mFaceType)
        return;
    if (on)
    {
        mFlags = (mFlags | kFacetUsed) & ~kFacetInternal;
        mNextUsed = mFaceType->mUsedFacets;
        mFaceType->mUsedFacets = this;
        return;
    }
    mFlags &= ~(kFacetUsed | kFacetBack);
    for (StellationFacet** link = &mFaceType->mUsedFacets; *link; link = &(*link)->mNextUsed)
        if (*link == this)
        {
            *link = mNextUsed;
            break;
        }
    mNextUsed = nullptr;
}

bool StellationCell::IsOuter() const
{
    return mStellation && mStellation->mLastCell == this;
}

void StellationCell::ApplyInclusion(StellationCell* cell, bool on)
{
    if (!cell || !cell->mStellation || cell->IsOuter() || cell->IsIncluded() == on)
        return;
    Stellation* stellation = cell->mStellation;
    const size_t n = cell->mFacets.size();
    if (on)
    {
        cell->mFlags |= kCellIncluded;
        for (size_t i = 0; i < n; ++i)
        {
            StellationFacet* f = cell->mFacets[i];
            const StellationCell* across = cell->mNeighbours[i];
            if (across && across->IsIncluded())
            {
                f->SetUsed(false);
                f->mFlags |= kFacetInternal;
            }
            else
            {
                f->SetUsed(true);
                if (int(i) < cell->mNumLower)
                    f->mFlags |= kFacetBack;
            }
        }
        if (!stellation->mHighestIncludedCell || stellation->mHighestIncludedCell->mIndex < cell->mIndex)
            stellation->mHighestIncludedCell = cell;
        ++stellation->mNumIncludedCells;
    }
    else
    {
        cell->mFlags &= ~kCellIncluded;
        for (size_t i = 0; i < n; ++i)
        {
            StellationFacet* f = cell->mFacets[i];
            if (f->mFlags & kFacetSameCellBothSides)
            {
                f->mFlags &= ~kFacetInternal;
                continue;
            }
            const StellationCell* across = cell->mNeighbours[i];
            const bool used = across && across->IsIncluded();
            f->SetUsed(used);
            if (used && int(i) >= cell->mNumLower)
                f->mFlags |= kFacetBack;
        }
        --stellation->mNumIncludedCells;
    }
    StellationCell* partner = cell->GetMirror();
    if (partner != cell)
    {
        const bool matched = partner->IsIncluded();
        stellation->mNumUnmatchedChiralCells += (on == matched) ? -1 : 1;
        if (IsReflexibilityMaintained() && matched != on)
            ApplyInclusion(partner, on);
    }
    const bool original = (cell->mFlags & kCellOriginal) != 0;
    stellation->mNumChangedCells += (on == original) ? -1 : 1;
    AfterCellChange(cell, on);
}

void StellationCell::SetIncluded(StellationCell* cell, bool on)
{
    if (!cell || !cell->mStellation || cell->mStellation->IsUnderConstruction())
        return;
    if (cell->IsIncluded() == on || cell->IsOuter())
        return;
    ApplyInclusion(cell, on);
    cell->mStellation->mSteppingReady = false;
}

void Stellation::ApplyOriginalInclusion()
{
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
    {
        const bool original = (cell->mFlags & kCellOriginal) != 0;
        if (cell->IsIncluded() != original)
        {
            StellationCell::ApplyInclusion(cell, original);
            mSteppingReady = false;
        }
    }
}

void Stellation::ResetToOriginal()
{
    if (IsBuilt())
        ApplyOriginalInclusion();
}

void Stellation::SelectCellsByFlags(uint32_t want, uint32_t unwanted)
{
    if (!IsBuilt())
        return;
    Shell& shell = GetShell();
    shell.AddUndo(IsDual() ? kUndoDualStellationChange : kUndoStellationChange, false);
    for (StellationCell* cell = mFirstCell; cell && cell != mLastCell; cell = cell->next)
        StellationCell::SetIncluded(cell, (cell->mFlags & want) == want && !(cell->mFlags & unwanted));
    shell.CloseUndo();
}

void Stellation::SelectCellsAboveAxis(int axisClass)
{
    switch (axisClass)
    {
    case 0:
        SelectCellsByFlags(kCellOnAxis | kCellAxisClass0, 0);
        break;
    case 1:
        SelectCellsByFlags(kCellOnAxis | kCellAxisClass1, 0);
        break;
    case 2:
        SelectCellsByFlags(kCellOnAxis, kCellAxisClass0 | kCellAxisClass1);
        break;
    default:
        break;
    }
}

void Stellation::SelectUnsupportableCells()
{
    SelectCellsByFlags(kCellUnsupportable, 0);
}

void Stellation::CopyIncludedToFlag(uint32_t bit)
{
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
        cell->mFlags = cell->IsIncluded() ? (cell->mFlags | bit) : (cell->mFlags & ~bit);
}

void Stellation::ClearCellFlag(uint32_t bit)
{
    for (StellationCell* cell = mFirstCell; cell; cell = cell->next)
        cell->mFlags &= ~bit;
}

bool Stellation::MatchesFlag(uint32_t bit) const
{
    for (const StellationCell* cell = mFirstCell; cell; cell = cell->next)
        if (((cell->mFlags & bit) != 0) != cell->IsIncluded())
            return false;
    return true;
}
