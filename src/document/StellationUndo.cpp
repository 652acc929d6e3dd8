#include "document/StellationUndo.h"

#include "document/UndoList.h"
#include "kernel/Messages.h"
#include "kernel/UndoKinds.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"

#include <algorithm>

namespace
{
Stellation* SideOf(Poly* poly, bool dual)
{
    return dual ? poly->GetVertStellation() : poly->GetFaceStellation();
}
}  // namespace

UndoOneStel::UndoOneStel(int kind) : UndoItem(kind), mDual(kind == kUndoDualStellationChange)
{
}

bool UndoOneStel::CollectCells(Poly* poly, bool dual, std::vector<int>& cells)
{
    bool consistent = true;
    const Stellation* side = poly ? SideOf(poly, dual) : nullptr;
    for (const bool included : {true, false})
        for (const StellationCell* cell : RecordedStelCells(included))
        {
            if (!(cell->mFlags & kCellUndoRecorded) || cell->mIndex < 0)
                consistent = false;
            // A cell toggled back to where it was is no change.
            else if (cell->mStellation == side && cell->IsIncluded() == included)
                cells.push_back(cell->mIndex);
        }
    std::sort(cells.begin(), cells.end());
    cells.erase(std::unique(cells.begin(), cells.end()), cells.end());
    return consistent;
}

bool UndoOneStel::ToggleCells(Poly* poly, bool dual, const std::vector<int>& cells)
{
    if (!poly)
        return false;
    Stellation* side = SideOf(poly, dual);
    if (cells.empty())
        return true;
    poly->CreateStellation(side, kStellationBuilt);
    if (!side->IsBuilt())
        return false;
    // The partners of chiral cells are in the list themselves when they changed.
    const int options = GetStellationOptions();
    StoreStellationOptions(options & ~kCriteriaReflexible);
    for (const int index : cells)
        if (StellationCell* cell = side->FindCell(index))
            StellationCell::SetIncluded(cell, !cell->IsIncluded());
    StoreStellationOptions(options);
    return true;
}

bool UndoOneStel::CloseUndo()
{
    mCells.clear();
    if (!CollectCells(GetCurrentPoly(), mDual, mCells))
        DebugTrace("UndoOneStel::CloseUndo(): Problem!");
    return !mCells.empty();
}

bool UndoOneStel::Apply(bool /*undo*/)
{
    return ToggleCells(GetCurrentPoly(), mDual, mCells);
}
