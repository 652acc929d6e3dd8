#include "render/KitStyle.h"

#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "model/ElementDisplayOptions.h"
#include "render/NewView.h"

namespace
{
KitDisplaySettings& SavedNormalSettings()
{
    static KitDisplaySettings settings;
    return settings;
}

KitDisplaySettings& KitSettings()
{
    static KitDisplaySettings settings;
    return settings;
}
}  // namespace

void KitDisplaySettings::Capture()
{
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    kitStyle = GetRenderSettings().kitStyle;
    showVerts = o.mShowVerts;
    showEdges = o.mShowEdges;
    spheresAndCylinders = o.mSpheresAndCylinders;
    sphereRadBasedOn = o.mSphereRadBasedOn;
    sphereRad = o.mSphereRad;
    cylinderRad = o.mCylinderRad;
}

void KitDisplaySettings::Apply() const
{
    ElementDisplayOptions& o = GetElementDisplayOptions();
    GetRenderSettings().kitStyle = kitStyle;
    o.mShowVerts = showVerts;
    o.mShowEdges = showEdges;
    o.mSpheresAndCylinders = spheresAndCylinders;
    o.mSphereRadBasedOn = sphereRadBasedOn;
    o.mSphereRad = sphereRad;
    o.mCylinderRad = cylinderRad;
}

void SetKitStyle(bool on)
{
    if (on == GetRenderSettings().kitStyle)
        return;
    if (on)
    {
        SavedNormalSettings().Capture();
        KitSettings().SetDefaults();
        KitSettings().Apply();
        GetShell().UpdateGeomagAvailability();
    }
    else
    {
        SavedNormalSettings().Apply();
        for (NewView* v = NewView::GetFirstView(); v; v = v->next)
            NewView::ClearMessage(v);
    }
    GetShell().InfoNeedsUpdate(15);
    NewView::InvalidateAll(false, true);
}

bool SuspendKitStyle()
{
    if (!GetRenderSettings().kitStyle)
        return false;
    // Changes made while the style is on survive the bracket.
    KitSettings().Capture();
    SavedNormalSettings().Apply();
    return true;
}

void ResumeKitStyle(bool wasSuspended)
{
    if (GetRenderSettings().kitStyle == wasSuspended)
        return;
    KitSettings().Apply();
}
