#include "stellation/StellationCriteria.h"

#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "stellation/Faceting.h"
#include "stellation/Stellation.h"

void ResetStellationEnumerations()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    for (Stellation* stellation : {poly->GetFaceStellation(), poly->GetVertStellation()})
    {
        stellation->mSteppingReady = false;
        stellation->ResetEnumeration();
    }
}

void SetStellationCriteria(int criterion)
{
    if (criterion == GetStellationCriterion())
        return;
    StoreStellationCriterion(criterion);
    ResetStellationEnumerations();
}

void SetStellationOptions(int bits, bool quiet)
{
    const int old = GetStellationOptions();
    if (bits == old)
        return;
    if (!quiet && ((bits ^ old) & kCriteriaReflexible))
    {
        Shell& shell = GetShell();
        ResetAllFacetings();
        // The partners follow from now on; those of the cells already in join them.
        StoreStellationOptions(bits);
        Poly* poly = GetCurrentPoly();
        if ((bits & kCriteriaReflexible) && poly && shell.ActiveView())
        {
            poly->GetFaceStellation()->IncludeMirrorsOfIncluded();
            poly->GetVertStellation()->IncludeMirrorsOfIncluded();
        }
        shell.InvalidateViewsOfType(kViewTypeFacetPreview, 0);
        shell.InvalidateViewsOfType(kViewTypeFacetDiagram, 0);
        shell.InvalidateAllViews(false, 1);
    }
    StoreStellationOptions(bits);
    if (!quiet)
        ResetStellationEnumerations();
}

void ToggleStellationOption(int bit)
{
    SetStellationOptions(GetStellationOptions() ^ bit, false);
}
