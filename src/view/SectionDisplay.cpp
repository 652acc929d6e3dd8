#include "view/SectionDisplay.h"

#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionPolygon.h"
#include "view/PolyView.h"

namespace
{
int gCrossSectionDisplayMode = 0;

bool IsModelWithSection(int type)
{
    return type == kViewTypePoly || type == kViewTypeDual || type == kViewTypePolyAndDual;
}

// Whether a pane of the type shows the section in its model: the display mode asks for it and the
// type shows the side the document shows.
bool ShowsSectionAs(int viewType)
{
    const Poly* poly = GetCurrentPoly();
    const bool documentDual = poly && poly->mShowDual;
    bool dual = documentDual;
    if (ViewTypeHasAll(viewType, kViewFamilyBaseOnly))
        dual = false;
    else if (ViewTypeHasAll(viewType, kViewFamilyDualOnly))
        dual = true;
    if (dual != documentDual)
        return false;
    if (gCrossSectionDisplayMode == 2)
        return true;
    return gCrossSectionDisplayMode == 1 && FindViewOfType(kViewTypeSlice, kViewTypeSlice) != nullptr;
}
}  // namespace

int GetCrossSectionDisplayMode()
{
    return gCrossSectionDisplayMode;
}

void SetCrossSectionDisplayMode(int mode)
{
    gCrossSectionDisplayMode = mode;
}

bool ShowsSectionInModel(const CPolyView& view)
{
    return ShowsSectionAs(view.GetViewType());
}

bool NeedsSectionThrow(const CPolyView& /*view*/, int viewType)
{
    if (viewType == kViewTypeSlice)
        return true;
    return IsModelWithSection(viewType) && ShowsSectionAs(viewType);
}

bool IsSectionTarget(const CPolyView& view, bool ignoreMode)
{
    const int type = view.GetViewType();
    const int mode = GetMouseMode();
    if (type == kViewTypeSlice)
        return ignoreMode || mode != kMouseModeColorFaces;
    if (!ignoreMode && mode == kMouseModeMeasure)
        return false;
    if (!IsModelWithSection(type))
        return false;
    return (!ignoreMode && mode == kMouseModeSectionTumble) || ShowsSectionInModel(view);
}

void InvalidateModelCrossSection()
{
    if (Poly* poly = GetCurrentPoly())
    {
        delete poly->mSectionPolygons;
        poly->mSectionPolygons = nullptr;
    }
}
