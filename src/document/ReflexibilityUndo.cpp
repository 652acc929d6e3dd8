#include "document/ReflexibilityUndo.h"

#include "document/StellationUndo.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/ModelRecord.h"
#include "model/StellationOptions.h"

ReflexibilityUndo::ReflexibilityUndo() : UndoItem(kUndoReflexibilityChange), mMaintain(IsReflexibilityMaintained())
{
}

bool ReflexibilityUndo::CloseUndo()
{
    mBaseCells.clear();
    mDualCells.clear();
    Poly* poly = GetCurrentPoly();
    if (!UndoOneStel::CollectCells(poly, false, mBaseCells) || !UndoOneStel::CollectCells(poly, true, mDualCells))
        DebugTrace("UndoOneStel::CloseUndo(): Problem!");
    return true;
}

bool ReflexibilityUndo::Apply(bool /*undo*/)
{
    const bool maintain = mMaintain;
    if (!IsSideItem())
        mMaintain = IsReflexibilityMaintained();
    Poly* poly = GetCurrentPoly();
    const bool toggled = (mBaseCells.empty() && mDualCells.empty()) ||
                         (UndoOneStel::ToggleCells(poly, false, mBaseCells) &&
                          UndoOneStel::ToggleCells(poly, true, mDualCells));
    const int options = GetStellationOptions();
    StoreStellationOptions(maintain ? options | kCriteriaReflexible : options & ~kCriteriaReflexible);
    GetShell().InvalidateAllViews(false, 1);
    return toggled;
}
