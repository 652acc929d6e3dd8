#include "document/ReflexibilityUndo.h"

#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/StellationOptions.h"

ReflexibilityUndo::ReflexibilityUndo() : UndoItem(kUndoReflexibilityChange), mMaintain(IsReflexibilityMaintained())
{
}

bool ReflexibilityUndo::Apply(bool /*undo*/)
{
    const bool maintain = mMaintain;
    if (!IsSideItem())
        mMaintain = IsReflexibilityMaintained();
    const int options = GetStellationOptions();
    StoreStellationOptions(maintain ? options | kCriteriaReflexible : options & ~kCriteriaReflexible);
    GetShell().InvalidateAllViews(false, 1);
    return true;
}
