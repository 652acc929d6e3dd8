#include "operations/MakeFacesRegular.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UndoKinds.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/SpringSystem.h"

namespace
{
constexpr int kAttempts = 10;
}  // namespace

bool CanMakeFacesRegular()
{
    const Poly* poly = GetCurrentPoly();
    // Relaxing a polytope's own vertices waits until 4D models can be opened.
    return poly && !poly->mPolytope && poly->mFaces.mCount > 0;
}

bool MakeFacesRegular()
{
    TraceScope trace("Make faces regular");
    if (!CanMakeFacesRegular())
        return false;
    SpringSystem system;
    system.CreateFromPoly(GetCurrentPoly());
    system.mFlags |= SpringSystem::kStartFromModel;
    const double force = system.Settle(kAttempts);
    std::unique_ptr<SimplePoly> result = system.TakeResult();
    if (!(force < kTol) || system.mCancelled || !result)
    {
        ErrorMessage("Could not make faces regular.");
        return false;
    }
    // The undo item is opened only now that there is a model to replace the old one with.
    return SetModelFromSimplePoly(result.get(), kUndoCreateSpringModel, false, false);
}
