// The View menu's commands on one pane: its view type, base and dual, fits, orientations, the typed
// rotations, orthogonal projection and full screen.

#include "view/PolyView.h"

#include "kernel/Prompt.h"
#include "kernel/ViewTypes.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/MenuPictureChecks.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "render/ViewSnapshot.h"
#include "view/PaneHelpers.h"
#include "view/PolyCaptionWnd.h"
#include "view/ViewOrientation.h"

#include <wx/event.h>
#include <wx/menu.h>
#include <wx/toplevel.h>

#include <cmath>
#include <memory>

namespace
{
struct ViewTypeCommand
{
    int command;
    int code;
};

constexpr ViewTypeCommand kViewTypeCommands[] = {
    {kCmdViewBasePolyhedron, kViewTypePoly},
    {kCmdViewDualPolyhedron, kViewTypeDual},
    {kCmdViewBaseAndDual, kViewTypePolyAndDual},
    {kCmdViewBaseStellation, kViewTypeUniStellation},
    {kCmdViewDualStellation, kViewTypeDualStellation},
    {kCmdViewPreviewFaceting, kViewTypeFacetPreview},
    {kCmdViewFace, kViewTypeFace},
    {kCmdViewStellationFace, kViewTypeStelFace},
    {kCmdViewStellationDiagram, kViewTypeStelDiagram},
    {kCmdViewCellDiagram, kViewTypeCellDiagram},
    {kCmdViewVertexFigure, kViewTypeVertexFigure},
    {kCmdViewFacetingDiagram, kViewTypeFacetDiagram},
    {kCmdViewCrossSection, kViewTypeSlice},
    {kCmdViewUnfoldedNet, kViewTypeNet2D},
    {kCmdViewFoldingNet, kViewTypeNet3D},
    {kCmdMorphBySizing, kViewTypeMorphSizing},
    {kCmdMorphByTruncation, kViewTypeMorphTruncating},
    {kCmdMorphByAugmentation, kViewTypeMorphAugmentation},
    {kCmdMorphByExpansion, kViewTypeMorphWithRects},
    {kCmdMorphByTiltingQuads, kViewTypeMorphTiltQuads},
    {kCmdMorphByTiltingTriangles, kViewTypeMorphTiltTris},
    {kCmdMorphByTiltingToCompound, kViewTypeMorphViaCompound},
    {kCmdMorphByTiltingToRectify, kViewTypeMorphViaRectified},
};

constexpr int kLookDownCommands[] = {kCmdLookDownAxis0, kCmdLookDownAxis1, kCmdLookDownAxis2};
constexpr int kSitOnCommands[] = {kCmdSitOnAxis0, kCmdSitOnAxis1, kCmdSitOnAxis2};
constexpr int kRotateCommands[] = {kCmdRotateAroundX, kCmdRotateAroundY, kCmdRotateAroundZ};

const SymGroup* CurrentGroup()
{
    const Poly* poly = GetCurrentPoly();
    return poly ? poly->GetSymGroup() : nullptr;
}

bool AxisClassExists(int axisClass)
{
    const SymGroup* group = CurrentGroup();
    return group && axisClass >= 0 && axisClass < group->mNumAxisSets &&
           group->mAxisSets[size_t(axisClass)].mNumAxes > 0;
}
}  // namespace

int ViewTypeOfCommand(int command)
{
    for (const ViewTypeCommand& c : kViewTypeCommands)
        if (c.command == command)
            return c.code;
    return kViewTypeNone;
}

std::string GetAxisMenuText(const char* name, int axisClass)
{
    std::string text;
    SymGroup::GetAxisText(CurrentGroup(), text, name, axisClass);
    return text;
}

namespace
{
// The item keeps a key: the first digit of the axis text (its fold or its place).
wxString WithAxisMnemonic(const std::string& text)
{
    const size_t at = text.find_first_of("0123456789");
    if (at == std::string::npos)
        return wxString::FromUTF8(text);
    return wxString::FromUTF8(text.substr(0, at)) + "&" + wxString::FromUTF8(text.substr(at));
}
}  // namespace

void CPolyView::StopRotatingThrows()
{
    GetTumbleThrow().Stop();
    GetTwistThrow().Stop();
    GetPivotThrow().Stop();
}

void CPolyView::LookAlong(const Vec3D& direction, bool stopThrows)
{
    if (stopThrows)
        StopRotatingThrows();
    Vec3D z = direction;
    if (!Vec3Normalize(z))
        return;
    const double distance = Vec3Dot(GetEye(), GetBackward());
    const Vec3D y = ChooseUpVector(z, CurrentGroup());
    Vec3D x;
    Vec3Cross(x, y, z);
    Transform3D camera;
    camera.m.SetColumns(x, y, z);
    Vec3Scale(camera.t, z, distance);
    SetCameraTransform(camera);
    NewView::Invalidate(this, true);
}

void CPolyView::SitOn(const Vec3D& direction, bool stopThrows)
{
    if (stopThrows)
        StopRotatingThrows();
    Vec3D y = direction;
    if (!Vec3Normalize(y))
        return;
    Vec3Scale(y, y, -1.0);
    const double distance = Vec3Dot(GetEye(), GetBackward());
    const Vec3D x = ChooseUpVector(y, CurrentGroup());
    Vec3D z;
    Vec3Cross(z, x, y);
    Transform3D camera;
    camera.m.SetColumns(x, y, z);
    Vec3Scale(camera.t, z, distance);
    SetCameraTransform(camera);
    NewView::Invalidate(this, true);
}

bool CPolyView::LookDownAxis(int axisClass, bool stopThrows)
{
    if (!AxisClassExists(axisClass))
        return false;
    LookAlong(CurrentGroup()->mAxisSets[size_t(axisClass)].mAxes[0].mDir, stopThrows);
    return true;
}

bool CPolyView::SitOnAxis(int axisClass, bool stopThrows)
{
    if (!AxisClassExists(axisClass))
        return false;
    SitOn(CurrentGroup()->mAxisSets[size_t(axisClass)].mAxes[0].mDir, stopThrows);
    return true;
}

bool CPolyView::GetSelectedItemPoint(Vec3D& out) const
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    if (IsModel4D(poly))
        return GetSelectedItemPoint4D(out, nullptr);
    if (poly->GetSymGroup())
        if (const SymAxis* axis = SymGroup::SelectedAxis())
        {
            out = axis->mDir;
            return true;
        }
    const bool dual = ShowsDual();
    if (const Edge* edge = poly->GetSelectedEdge())
    {
        const std::array<FaceVert*, 2> ends = edge->GetVerts(dual);
        if (!ends[0] || !ends[1])
            return false;
        const Vec3D& a = ends[0]->mPoint;
        const Vec3D& b = ends[1]->mPoint;
        // The foot of the perpendicular from the centre onto the edge's line.
        Vec3D ab;
        Vec3Sub(ab, b, a);
        const double lengthSq = Vec3LengthSq(ab);
        out = a;
        if (lengthSq > 0.0)
            Vec3AddScaledTo(out, -Vec3Dot(a, ab) / lengthSq, ab);
        constexpr double kZero = 1e-7;
        if (std::fabs(out.x) <= kZero && std::fabs(out.y) <= kZero && std::fabs(out.z) <= kZero)
        {
            out = Vec3Length(a) > Vec3Length(b) ? a : b;
            if (Vec3Length(out) <= kZero)
                out = Vec3D{0, 1, 0};
        }
        return true;
    }
    const FaceVert* element = poly->GetSelectedFace();
    if (!element)
        return false;
    out = element->mPoint;
    return true;
}

bool CPolyView::GetSelectedItemPoint4D(Vec3D& out, Vec4D* unturned) const
{
    Poly* poly = GetCurrentPoly();
    Polytope4D* polytope = poly ? poly->mPolytope.get() : nullptr;
    // The flat panes of one 4D element centre on it as they draw it, which they do not yet.
    if (!polytope || !ViewTypeHasAll(mViewType, kViewFamily3D))
        return false;
    const Selection4D& selection = GetSelection4D();
    Vec4D point;
    if (selection.mVert)
        point = selection.mVert->mPos;
    else if (selection.mEdge && selection.mEdge->mVerts[0] && selection.mEdge->mVerts[1])
    {
        Vec4Add(point, selection.mEdge->mVerts[0]->mPos, selection.mEdge->mVerts[1]->mPos);
        Vec4Scale(point, 0.5);
    }
    else if (selection.mFace)
        selection.mFace->GetCentre(point);
    else if (const Cell4D* cell = polytope->GetCurrentCell(true))
        point = cell->mCentre;
    else
        return false;
    if (unturned)
    {
        *unturned = point;
        const double length = Vec4Length(point);
        if (length > 0.0)
            Vec4Div(*unturned, length);
    }
    Vec4D turned;
    mRotation4D.Transform(turned, point);
    out = Vec3D{turned.x, turned.y, turned.z};
    constexpr double kZero = 1e-7;
    return std::fabs(out.x) > kZero || std::fabs(out.y) > kZero || std::fabs(out.z) > kZero;
}

void CPolyView::ToggleDualView(bool toggle)
{
    switch (mViewType)
    {
    case kViewTypePoly:
        SetViewType(kViewTypeDual, false);
        return;
    case kViewTypeDual:
        SetViewType(kViewTypePoly, false);
        return;
    case kViewTypeUniStellation:
        SetViewType(kViewTypeDualStellation, false);
        return;
    case kViewTypeDualStellation:
        SetViewType(kViewTypeUniStellation, false);
        return;
    default:
        if (toggle)
            if (Poly* poly = GetCurrentPoly())
                poly->SetShowDual(!poly->mShowDual);
        return;
    }
}

void CPolyView::DualAllViews()
{
    Poly* poly = GetCurrentPoly();
    const bool showDual = poly && poly->mShowDual;
    ForEachPolyView([this](CPolyView& view) {
        if (&view != this)
            view.ToggleDualView(false);
    });
    if (poly && poly->mShowDual != showDual)
        poly->SetShowDual(showDual);
    ToggleDualView(true);
}

void CPolyView::SetDefaultAxes()
{
    Transform3D camera;
    camera.m.SetColumns(Vec3D{1, 0, 0}, Vec3D{0, 1, 0}, Vec3D{0, 0, 1});
    camera.t = Vec3D{0, 0, Vec3Length(GetEye())};
    SetCameraTransform(camera);
}

void CPolyView::SetDefaultOrientation()
{
    StopRotatingThrows();
    SetDefaultAxes();
    RequestFit(1);
}

wxMenu* CPolyView::BuildViewTypeMenu() const
{
    const ViewTypeMenuSource& source = GetViewTypeMenuSource();
    wxMenu* menu = source.menu ? source.menu() : nullptr;
    if (!menu)
        return nullptr;
    for (const ViewTypeCommand& c : kViewTypeCommands)
        if (c.code == mViewType)
            if (wxMenuItem* item = menu->FindItem(c.command))
            {
                if (IsPictureCheckItem(item))
                    SetPictureCheckItemChecked(item, true);
                else if (item->IsCheckable())
                    item->Check(true);
            }
    return menu;
}

void CPolyView::ShowViewTypeMenu()
{
    std::unique_ptr<wxMenu> menu(BuildViewTypeMenu());
    wxWindow* top = wxGetTopLevelParent(this);
    auto* caption = dynamic_cast<PolyCaptionWnd*>(GetCaptionWnd());
    if (!menu || !top || !caption)
        return;
    // Shown through the main window, whose update rules grey and mark the items; below the
    // picture, so that the pointer stays over the caption.
    const wxRect icon = caption->GetIconRect();
    const wxPoint at = top->ScreenToClient(caption->ClientToScreen(wxPoint(icon.GetLeft(), icon.GetBottom() + 1)));
    const int chosen = top->GetPopupMenuSelectionFromUser(*menu, at);
    if (chosen != wxID_NONE)
        RunViewTypeMenuChoice(chosen);
}

void CPolyView::RunViewTypeMenuChoice(int command)
{
    // The main window sends a command to the active pane: this one.
    Activate(true);
    wxCommandEvent event(wxEVT_MENU, command);
    if (wxWindow* top = wxGetTopLevelParent(this))
    {
        event.SetEventObject(top);
        top->ProcessWindowEvent(event);
    }
}

void CPolyView::ApplyExportOrientation(int code, const ViewSnapshot& saved)
{
    Vec3D point;
    switch (code)
    {
    case 0:
        saved.Restore(*this);
        break;
    case 1:
        SetDefaultAxes();
        FitView(1);
        break;
    case 5:
        if (GetSelectedItemPoint(point))
            LookAlong(point, false);
        break;
    case 9:
        if (GetSelectedItemPoint(point))
            SitOn(point, false);
        break;
    default:
        if (code >= 2 && code <= 4)
            LookDownAxis(ExportOrientationAxis(code), false);
        else if (code >= 6 && code <= 8)
            SitOnAxis(ExportOrientationAxis(code), false);
        break;
    }
}

void CPolyView::OrientForExport3D(const ExportOrientation3D& options, ViewSnapshot& store)
{
    // The whole camera is kept, not only eye and axes: the default fit of an orthogonal view
    // changes its height too.
    store.Save(*this);
    Vec3D point;
    switch (options.orientation)
    {
    case 1:
        SetDefaultAxes();
        FitView(1);
        break;
    case 2:
        LookDownAxis(options.lookDownClass, false);
        break;
    case 3:
        SitOnAxis(options.sitOnClass, false);
        break;
    case 4:
        if (GetSelectedItemPoint(point))
            LookAlong(point, false);
        break;
    case 5:
        if (GetSelectedItemPoint(point))
            SitOn(point, false);
        break;
    default:
        break;
    }
}

void CPolyView::RestoreAfterExport3D(ViewSnapshot& store)
{
    if (!store.valid)
        return;
    store.Restore(*this);
    store.valid = false;
    NewView::Invalidate(this, true);
}

bool CPolyView::RotateAroundAxis(int axis)
{
    float angle = RememberedRotateAngle(axis);
    if (!PromptFloat("Rotate view by what angle?", angle))
        return false;
    RememberedRotateAngle(axis) = angle;
    RotateView(axis, -double(angle));
    NewView::Invalidate(this, true);
    return true;
}

void CPolyView::ToggleOrthogonal()
{
    SetOrthogonal(!IsOrthogonal());
    SyncOtherViews();
}

void CPolyView::BindViewMenuCommands()
{
    for (const ViewTypeCommand& c : kViewTypeCommands)
    {
        const int code = c.code;
        Bind(wxEVT_MENU, [this, code](wxCommandEvent&) { SetViewType(code, false); }, c.command);
        Bind(wxEVT_UPDATE_UI, [this, code](wxUpdateUIEvent& event) { event.Check(mViewType == code); }, c.command);
    }
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ToggleDualView(true); }, kCmdDualOfCurrentView);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { DualAllViews(); }, kCmdDualAllViews);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RequestFit(1); }, kCmdFitView);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { RequestFitAllViews(1); }, kCmdFitAllViews);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { RequestFit(3); }, kCmdTightFitView);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { RequestFitAllViews(3); }, kCmdTightFitAllViews);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SetDefaultOrientation(); }, kCmdDefaultOrientation);
    for (int axis = 0; axis < 3; ++axis)
    {
        Bind(wxEVT_MENU, [this, axis](wxCommandEvent&) { LookDownAxis(axis, true); }, kLookDownCommands[axis]);
        Bind(wxEVT_MENU, [this, axis](wxCommandEvent&) { SitOnAxis(axis, true); }, kSitOnCommands[axis]);
        Bind(
            wxEVT_UPDATE_UI,
            [this, axis](wxUpdateUIEvent& event) {
                event.SetText(WithAxisMnemonic(GetAxisMenuText("Look Down", axis)));
                event.Enable(Is3D() && AxisClassExists(axis));
            },
            kLookDownCommands[axis]);
        Bind(
            wxEVT_UPDATE_UI,
            [this, axis](wxUpdateUIEvent& event) {
                event.SetText(wxString::FromUTF8(GetAxisMenuText("Sit On", axis)));
                event.Enable(Is3D() && AxisClassExists(axis));
            },
            kSitOnCommands[axis]);
        Bind(wxEVT_MENU, [this, axis](wxCommandEvent&) { RotateAroundAxis(axis); }, kRotateCommands[axis]);
    }
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            Vec3D point;
            if (GetSelectedItemPoint(point))
                LookAlong(point, true);
        },
        kCmdLookAtSelected);
    Bind(
        wxEVT_MENU,
        [this](wxCommandEvent&) {
            Vec3D point;
            if (GetSelectedItemPoint(point))
                SitOn(point, true);
        },
        kCmdSitOnSelected);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ToggleOrthogonal(); }, kCmdOrthogonalView);
    Bind(
        wxEVT_UPDATE_UI,
        [this](wxUpdateUIEvent& event) {
            event.Enable(Is3D());
            event.Check(IsOrthogonal());
        },
        kCmdOrthogonalView);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SetFullScreen(!IsFullScreen()); }, kCmdFullScreen);
}

bool CPolyView::SyncOtherViews()
{
    if (!OpenGLView::SyncOtherViews())
        return false;
    if (IsModel4D(GetCurrentPoly()))
        ForEachPolyView([this](CPolyView& view) {
            if (&view != this && view.Is3D())
            {
                view.mRotation4D = mRotation4D;
                view.mProjection4D = mProjection4D;
            }
        });
    return true;
}
