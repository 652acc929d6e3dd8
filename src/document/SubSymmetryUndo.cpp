#include "document/SubSymmetryUndo.h"

#include "document/ToolbarBoxes.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"

bool HasSubSymmetry(const Poly& poly)
{
    return poly.mSubgroupChoice[0] >= 1 || poly.mSubgroupChoice[1] >= 1;
}

SubSymmetryUndo::SubSymmetryUndo() : UndoItem(kUndoSubSymmetry) {}

SubSymmetryUndo* SubSymmetryUndo::Capture()
{
    const Poly* poly = GetCurrentPoly();
    if (!poly)
        return nullptr;
    auto* item = new SubSymmetryUndo();
    item->mChoice[0] = poly->mSubgroupChoice[0];
    item->mChoice[1] = poly->mSubgroupChoice[1];
    return item;
}

bool SubSymmetryUndo::Apply(bool /*undo*/)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !poly->mGroup)
        return false;
    int rot = mChoice[0];
    int refl = mChoice[1];
    const bool side = IsSideItem();
    if (!side)
    {
        mChoice[0] = poly->mSubgroupChoice[0];
        mChoice[1] = poly->mSubgroupChoice[1];
    }
    // The full group of a model never narrowed is already in force.
    if (rot == 0 && refl == 0 && !poly->mFullGroup)
        return true;
    // A side item follows a model rebuilt with the colours it had: they stay.
    const bool recolour = Poly::sRecolourOnSymmetryChange;
    if (side)
        Poly::sRecolourOnSymmetryChange = false;
    const bool applied = poly->SetSymmetry(rot, refl);
    Poly::sRecolourOnSymmetryChange = recolour;
    if (applied)
        ShowSymmetryInToolbarBoxes(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    GetShell().InvalidateAllViews(false, 1);
    return applied;
}
