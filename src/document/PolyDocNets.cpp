// The Nets menu's options: they are program settings that change the shape of the nets, so the
// nets that exist are made again.

#include "document/PolyDoc.h"

#include "kernel/Prompt.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "mesh/Edge3D.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
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
const struct
{
    int command;
    int shown;
} kShownCommands[] = {
    {kCmdFoldingAllNets, kNetsShownAll},
    {kCmdFoldingOneNetType, kNetsShownOneType},
    {kCmdFoldingOneNet, kNetsShownOne},
};

const struct
{
    int command;
    int bit;
} kEdgeDataCommands[] = {
    {kCmdEdgeDataConnectionIds, kNetEdgeConnectionIds}, {kCmdEdgeDataNames, kNetEdgeNames},
    {kCmdEdgeDataTypeNames, kNetEdgeTypeNames},         {kCmdEdgeDataLengths, kNetEdgeLengths},
    {kCmdEdgeDataDihedralAngles, kNetEdgeDihedrals},    {kCmdEdgeDataMitreAngles, kNetEdgeMitres},
};

bool Is3DModel()
{
    const Poly* poly = GetCurrentPoly();
    return poly && !(poly->mFlags & Poly::kIs4D);
}
}  // namespace

void ChooseNetEdgeData(int bit)
{
    int& data = GetUnitSettings().mNetEdgeData;
    const bool wasSet = bit && (data & bit);
    data &= ~kNetEdgeDataKinds;
    if (!wasSet)
        data |= bit;
}

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
    for (const auto& c : kShownCommands)
    {
        const int shown = c.shown;
        Bind(
            wxEVT_MENU,
            [shown](wxCommandEvent&) {
                SetNetsShownInFoldingView(shown);
                // The folding pane's arrows step through models or through nets as it shows.
                GetShell().UpdateAllViewButtons();
                GetShell().InvalidateViewsOfType(kViewTypeNet3D, 0);
            },
            c.command);
        Bind(
            wxEVT_UPDATE_UI, [shown](wxUpdateUIEvent& event) { event.Check(GetNetsShownInFoldingView() == shown); },
            c.command);
    }
    for (const auto& c : kEdgeDataCommands)
    {
        const int bit = c.bit;
        Bind(
            wxEVT_MENU,
            [bit](wxCommandEvent&) {
                ChooseNetEdgeData(bit);
                GetShell().InvalidateAllViews(false, 0);
            },
            c.command);
        Bind(
            wxEVT_UPDATE_UI,
            [bit](wxUpdateUIEvent& event) { event.Check((GetUnitSettings().mNetEdgeData & bit) != 0); }, c.command);
    }
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            ChooseNetEdgeData(0);
            GetShell().InvalidateAllViews(false, 0);
        },
        kCmdEdgeDataNone);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check(!(GetUnitSettings().mNetEdgeData & kNetEdgeDataKinds)); },
        kCmdEdgeDataNone);
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            GetUnitSettings().mNetEdgeData ^= kNetFaceAngles;
            GetShell().InvalidateAllViews(false, 0);
        },
        kCmdShowFaceAngles);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check((GetUnitSettings().mNetEdgeData & kNetFaceAngles) != 0); },
        kCmdShowFaceAngles);
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            Model3D* mesh = GetCurrentModel3D();
            if (mesh && mesh->mSelectedEdge)
                mesh->SelectEdge(mesh->mSelectedEdge->GetNeighInNet(false));
        },
        kCmdSelectNeighbouringEdge);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            const Model3D* mesh = Is3DModel() ? GetCurrentModel3D() : nullptr;
            event.Enable(mesh && mesh->mSelectedEdge);
        },
        kCmdSelectNeighbouringEdge);
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
