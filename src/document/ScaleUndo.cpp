#include "document/ScaleUndo.h"

#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "kernel/UnitSettings.h"

ScaleUndo::ScaleUndo() : UndoItem(kUndoScaleChange), mScale(GetUnitSettings().GetScale()) {}

bool ScaleUndo::Apply(bool /*undo*/)
{
    UnitSettings& units = GetUnitSettings();
    const double current = units.GetScale();
    units.SetScale(mScale, false);
    mScale = current;
    GetShell().InfoNeedsUpdate(1);
    return true;
}
