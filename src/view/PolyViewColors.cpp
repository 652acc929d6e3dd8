// The Color menu commands of the model pane: colouring as a compound, the default vertex, edge,
// midsphere and cell-line colours and the edge colouring.

#include "kernel/ViewTypes.h"
#include "model/ColorSchemes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "render/PickColor.h"
#include "stellation/StellationSettings.h"
#include "view/ColorChanges.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <string>

namespace
{
constexpr struct
{
    int command;
    int mode;
} kEdgeColorings[] = {
    {kCmdEdgeColorsSame, kEdgeColorAllSame},
    {kCmdEdgeColorsByTypeWithReflections, kEdgeColorByTypeWithReflections},
    {kCmdEdgeColorsByTypeWithoutReflections, kEdgeColorByType},
    {kCmdEdgeColorsParallel, kEdgeColorParallel},
    {kCmdEdgeColorsGreatCircles, kEdgeColorGreatCircles},
    {kCmdEdgeColorsFromFaces, kEdgeColorFromFaces},
    {kCmdEdgeColorsFromFacesComplement, kEdgeColorFromFacesComplement},
};

// The types whose compound colouring belongs to the parts of a stellation's or a net's mesh.
bool ShowsMeshParts(int viewType)
{
    switch (viewType)
    {
    case kViewTypeUniStellation:
    case kViewTypeDualStellation:
    case kViewTypeStelFace:
    case kViewTypeStelDiagram:
    case kViewTypeCellDiagram:
    case kViewTypeNet2D:
    case kViewTypeNet3D:
        return true;
    default:
        return false;
    }
}

std::string SphereOptionsPath()
{
    return CommandMenuPath(kCmdSphereCylinderOptions,
                           "Display->Vertex & Edge Options->Sphere and Cylinder Options...");
}

// A colour of the program's own that the panes show: chosen, then every pane redrawn.
void PickDisplayColor(ColorRGB& color)
{
    if (PickColor(color, false))
        NewView::InvalidateAll(false, true);
}
}  // namespace

bool CPolyView::ShowsOneSide() const
{
    return (mViewType & (kViewFamilyBaseOnly | kViewFamilyDualOnly | kViewFamilyFollowsSide)) != 0;
}

bool CPolyView::CanColorAsCompound() const
{
    const Poly* poly = GetCurrentPoly();
    return poly && !IsModel4D(poly) && ShowsOneSide() && !ShowsMeshParts(mViewType);
}

void CPolyView::ChooseDefaultVertexColor()
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    ColorRGB color = options.mDefaultVertColor;
    if (!PickColor(color, false))
        return;
    options.mDefaultVertColor = color;
    if (!options.mShowVerts && !options.mShowStelVerts)
        NewView::SetMessage(this, "The effect of changing this option won't be apparent unless you use\n\"%s\".",
                            CommandMenuPath(kCmdShowVertices, "Display->Vertex & Edge Options->Show Vertices").c_str());
    else if (DrawSpheresAtVerts() && options.mSphereMaterial != 1)
        NewView::SetMessage(this,
                            "Note: this change does not affect the color of spheres\ndisplayed at vertices.  If that "
                            "was your intention, please use\n\"%s\".",
                            SphereOptionsPath().c_str());
    NewView::InvalidateAll(false, true);
}

void CPolyView::ChooseDefaultEdgeColor()
{
    ElementDisplayOptions& options = GetElementDisplayOptions();
    const ColorRGB old = options.mDefaultEdgeColor;
    ColorRGB color = old;
    if (!PickColor(color, false))
        return;
    if (Poly* poly = GetCurrentPoly())
        poly->SetDefaultEdgeColor(color, &old);
    else
        options.mDefaultEdgeColor = color;
    if (!options.mShowEdges && !options.mShowStelEdges && mViewType != kViewTypeNet2D)
        NewView::SetMessage(this, "The effect of changing this option won't be apparent unless you use\n\"%s\".",
                            CommandMenuPath(kCmdShowEdges, "Display->Vertex & Edge Options->Show Edges").c_str());
    else if (DrawCylindersAtEdges() && options.mCylinderMaterial != 1)
        NewView::SetMessage(this,
                            "Note: this change does not affect the color of cylinders\ndisplayed along edges.  If "
                            "that was your intention, please use\n\"%s\".",
                            SphereOptionsPath().c_str());
    NewView::InvalidateAll(false, true);
}

void CPolyView::SetEdgeColoring(int mode)
{
    EdgeColorScheme() = mode;
    if (Poly* poly = GetCurrentPoly())
        poly->SetEdgeColorScheme(true);
}

void CPolyView::BindColorCommands()
{
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            if (Poly* poly = GetCurrentPoly(); poly && CanColorAsCompound())
                poly->SetFaceColorScheme(kFaceColorAsCompound, uint32_t(-1));
        },
        kCmdColorAsCompound);
    Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(CanColorAsCompound()); }, kCmdColorAsCompound);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ChooseDefaultVertexColor(); }, kCmdDefaultVertexColor);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ChooseDefaultEdgeColor(); }, kCmdDefaultEdgeColor);
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            bool& same = GetElementDisplayOptions().mColorVertsSameAsDualFace;
            same = !same;
            NewView::InvalidateAll(false, true);
        },
        kCmdVertexColorsFromDualFaces);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check(GetElementDisplayOptions().mColorVertsSameAsDualFace); },
        kCmdVertexColorsFromDualFaces);
    for (const auto& c : kEdgeColorings)
    {
        const int mode = c.mode;
        Bind(wxEVT_MENU, [this, mode](wxCommandEvent&) { SetEdgeColoring(mode); }, c.command);
        Bind(wxEVT_UPDATE_UI, [mode](wxUpdateUIEvent& event) { event.Check(EdgeColorScheme() == mode); }, c.command);
    }
    Bind(
        wxEVT_MENU, [](wxCommandEvent&) { PickDisplayColor(GetElementDisplayOptions().mMidsphereColor); },
        kCmdSetMidsphereColor);
    Bind(
        wxEVT_MENU, [](wxCommandEvent&) { PickDisplayColor(GetStellationSettings().cellLineColor); },
        kCmdSetCellLineColor);
}
