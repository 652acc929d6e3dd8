// The Nets menu's options: they are program settings that change the shape of the nets, so the
// nets that exist are made again.

#include "document/PolyDoc.h"

#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "stellation/Stellation.h"

#include <wx/event.h>

namespace
{
const struct
{
    int command;
    int method;
} kMethodCommands[] = {
    {kCmdEdgesTongueInGroove, kCoincTongueInGroove},
    {kCmdEdgesInternalSupport, kCoincInternalSupport},
    {kCmdEdgesNoInternalSupport, kCoincNoInternalSupport},
    {kCmdEdgesDisconnected, kCoincUnconnected},
};

const struct
{
    int command;
    int mode;
} kMixingCommands[] = {
    {kCmdColorMixingAuto, kAutoColorPages},
    {kCmdColorMixingOnePerNet, kSingleColorPages},
    {kCmdColorMixingAllow, kMultiColorPages},
};
}  // namespace

bool CPolyDoc::RebuildNets()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mFlags & Poly::kIs4D)
        return false;
    bool any = false;
    for (Stellation* side : {poly->GetFaceStellation(), poly->GetVertStellation()})
    {
        Model3D* mesh = side ? side->PeekModel3D() : nullptr;
        if (!Model3D::HasNets(mesh))
            continue;
        mesh->CreateNets();
        any = true;
    }
    if (!any)
        return false;
    if (GetMouseMode() == kMouseModeCutEdges)
        GetShell().InvalidateAllViews(false, 0);
    else
        GetShell().InvalidateViewsOfType(kViewFamilyNet, 0);
    return true;
}

void CPolyDoc::PromptMaxFacesPerNet()
{
    UnitSettings& units = GetUnitSettings();
    int value = units.mMaxFacesPerNet;
    if (!PromptInteger("Maximum number of faces allowed per net:", value))
        return;
    units.mMaxFacesPerNet = value < 1 ? 1 : value;
    Poly* poly = GetCurrentPoly();
    // The nets of cells of a 4D polytope are made when a net pane draws them.
    if (poly && (poly->mFlags & Poly::kIs4D))
        GetShell().InvalidateViewsOfType(kViewFamilyNet, 0);
    else
        RebuildNets();
}

void CPolyDoc::SetCoincEdgeMethod(int method)
{
    GetUnitSettings().mCoincEdgeMethod = method;
    RebuildNets();
}

void CPolyDoc::SetColorMixing(int mode)
{
    GetUnitSettings().mColorPagesMode = mode;
    RebuildNets();
}

void CPolyDoc::BindNetCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { PromptMaxFacesPerNet(); }, kCmdMaximumFacesPerNet);
    for (const auto& c : kMethodCommands)
    {
        const int method = c.method;
        Bind(wxEVT_MENU, [this, method](wxCommandEvent&) { SetCoincEdgeMethod(method); }, c.command);
        Bind(
            wxEVT_UPDATE_UI,
            [method](wxUpdateUIEvent& event) { event.Check(GetUnitSettings().mCoincEdgeMethod == method); },
            c.command);
    }
    for (const auto& c : kMixingCommands)
    {
        const int mode = c.mode;
        Bind(wxEVT_MENU, [this, mode](wxCommandEvent&) { SetColorMixing(mode); }, c.command);
        Bind(
            wxEVT_UPDATE_UI,
            [mode](wxUpdateUIEvent& event) { event.Check(GetUnitSettings().mColorPagesMode == mode); }, c.command);
    }
}
