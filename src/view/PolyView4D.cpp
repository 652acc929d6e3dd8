// The model pane's 4D projection: what it projects and how, the directions it looks along, and the
// 4D menu's commands that act on it.

#include "kernel/SceneParameters.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"
#include "polytope4d/Prisms4D.h"
#include "polytope4d/Projection4D.h"
#include "polytope4d/VertexFigurePolychoron.h"
#include "render/NewView.h"
#include "view/ElementMaterial.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"

#include <string>

namespace
{
bool CellShownInView(void* view, const Cell4D* cell)
{
    auto* pane = static_cast<CPolyView*>(view);
    return !pane || pane->IsCellShown4D(cell, true);
}

void TurnPanesToAutomaticDirection(Polytope4D* polytope)
{
    if (GetAutoProjection4D())
        CPolyView::SetAutoProjectionDirection(polytope);
}

// The cross-section that follows the projection takes the pane's rotation.
void SyncSliceToProjection(const CPolyView& view)
{
    SceneParameters& scene = GetSceneParameters();
    if (!scene.sliceSameAsProj)
        return;
    scene.sliceMatrix = view.GetRotation4D();
    InvalidateModelCrossSection();
    InvalidateCrossSectionViews(false);
}

const struct
{
    int command;
    int type;
} kProjectionTypes[] = {
    {kCmdProjection4DPerspective, 0},
    {kCmdProjection4DOrthogonal, 1},
    {kCmdProjection4DSameAs3D, 2},
};

const struct
{
    int command;
    bool (Polytope4D::*preset)(Vec4D&);
} kDirectionPresets[] = {
    {kCmdProjectCellFirst, &Polytope4D::GetCellFirstDirection},
    {kCmdProjectFaceFirst, &Polytope4D::GetFaceFirstDirection},
    {kCmdProjectEdgeFirst, &Polytope4D::GetEdgeFirstDirection},
    {kCmdProjectVertexFirst, &Polytope4D::GetVertexFirstDirection},
};

void ToggleCellHiding(int mode)
{
    ToggleCellHidingMode4D(mode);
    InvalidateViewsOfType(kViewFamily3D, false);
}
}  // namespace

void CPolyView::InstallHooks4D()
{
    Polytope4D::SetCellShownQuery(&CellShownInView);
    Polytope4D::SetPolytopeShownHook(&TurnPanesToAutomaticDirection);
}

Polytope4D* CPolyView::GetViewPolytope4D() const
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !poly->mPolytope)
        return nullptr;
    return ShowsDual() ? poly->mPolytope->GetDual() : poly->mPolytope.get();
}

bool CPolyView::IsOrthogonal4D() const
{
    return mProjection4D == 1 || (mProjection4D == 2 && IsOrthogonal());
}

View4D CPolyView::MakeView4D() const
{
    View4D view;
    view.rotation = mRotation4D;
    view.orthogonal = IsOrthogonal4D();
    view.radius = GetViewRadius(0);
    view.shellView = const_cast<CPolyView*>(this);
    const int picking = GetSelectionMode();
    view.pickMask = picking < 0 ? 0xFFFFFFu : unsigned(picking);
    return view;
}

const View4D* CPolyView::GetView4D() const
{
    mView4D = MakeView4D();
    return &mView4D;
}

double CPolyView::Project4DPoint(Vec3D& out, const Vec4D& p, double a, const Polytope4D* polytope) const
{
    return ::Project4DPoint(MakeView4D(), out, p, a, polytope);
}

bool CPolyView::IsCellShown4D(const Cell4D* cell, bool edgeOnAnswer) const
{
    return ::IsCellShown4D(MakeView4D(), cell, edgeOnAnswer);
}

void CPolyView::Stop4DThrows()
{
    mRotate4DThrow.Stop();
    mTunnel4DThrow.Stop();
    mRotateThrough4DThrow.Stop();
}

void CPolyView::Set4DDirection(const Vec4D& direction)
{
    DirectionRotation4D(mRotation4D, direction);
    Stop4DThrows();
    if (NewView::GetActiveView() == this)
        SyncOtherViews();
    SyncSliceToProjection(*this);
    NewView::Invalidate(this, false);
}

CPolyView* CPolyView::GetProjectionTarget()
{
    if (ViewTypeHasAll(mViewType, kViewFamily3D))
        return this;
    const Poly* poly = GetCurrentPoly();
    const int side = poly && poly->mShowDual ? kViewTypeDual : kViewTypePoly;
    CPolyView* sideView = nullptr;
    CPolyView* compound = nullptr;
    ForEachPolyView([&](CPolyView& view) {
        if (!sideView && view.GetViewType() == side)
            sideView = &view;
        if (!compound && view.GetViewType() == kViewTypePolyAndDual)
            compound = &view;
    });
    if (sideView)
        return sideView;
    return compound ? compound : this;
}

void CPolyView::SetAutoProjectionDirection(Polytope4D* polytope)
{
    if (!polytope)
        return;
    Vec4D direction;
    polytope->GetAutoProjectionDirection(direction, false);
    ForEachPolyView([&](CPolyView& view) {
        DirectionRotation4D(view.mRotation4D, direction);
        view.Stop4DThrows();
        NewView::Invalidate(&view, false);
    });
}

bool CPolyView::Create4DPrismOfModel()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope)
        return false;
    std::unique_ptr<Polytope4D> prism = Create4DPrism(poly, 3);
    if (!prism)
        return false;
    std::string name = GetShownModelName(false, false);
    if (name.size() >= 3 && name.compare(name.size() - 3, 3, "ron") == 0)
        name.replace(name.size() - 3, 3, "ral");
    name += " Prism";
    SetModelFromPolytope4D(kUndo4DPrism, std::move(prism), 0, name.c_str(), nullptr);
    return true;
}

bool CPolyView::CreatePolychoronOfModel()
{
    Poly* poly = GetCurrentPoly();
    if (!poly || poly->mPolytope)
        return false;
    std::unique_ptr<Polytope4D> polytope = CreatePolychoronFromVertexFigure(poly, nullptr, 0);
    if (!polytope)
        return false;
    const std::string name = "Polychoron with " + GetShownModelName(false, false) + " Vertex Figure";
    // The cells keep the colours of the figure's faces; the panes turn to the new polytope.
    SetModelFromPolytope4D(kUndoUniformPolychoron, std::move(polytope), Poly::kKeepColors, name.c_str(), nullptr);
    return true;
}

void CPolyView::Bind4DCommands()
{
    for (const auto& p : kProjectionTypes)
    {
        const int type = p.type;
        Bind(
            wxEVT_MENU,
            [this, type](wxCommandEvent&) {
                mProjection4D = type;
                NewView::InvalidateAll(false, true);
            },
            p.command);
        Bind(wxEVT_UPDATE_UI, [this, type](wxUpdateUIEvent& event) { event.Check(mProjection4D == type); }, p.command);
    }
    for (const auto& d : kDirectionPresets)
    {
        const auto preset = d.preset;
        Bind(
            wxEVT_MENU,
            [this, preset](wxCommandEvent&) {
                Polytope4D* polytope = GetViewPolytope4D();
                Vec4D direction;
                if (polytope && (polytope->*preset)(direction))
                    GetProjectionTarget()->Set4DDirection(direction);
            },
            d.command);
    }
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            SetAutoProjection4D(!GetAutoProjection4D());
            const Poly* poly = GetCurrentPoly();
            if (GetAutoProjection4D() && poly && poly->mPolytope)
                SetAutoProjectionDirection(poly->mPolytope.get());
        },
        kCmdProjectAutomatic);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetAutoProjection4D()); }, kCmdProjectAutomatic);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleCellHiding(kCellHidingBack); }, kCmdHideBackCells);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetCellHidingMode4D() == kCellHidingBack); },
         kCmdHideBackCells);
    Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleCellHiding(kCellHidingFront); }, kCmdHideFrontCells);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetCellHidingMode4D() == kCellHidingFront); },
         kCmdHideFrontCells);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { Create4DPrismOfModel(); }, kCmdCreate4DPrism);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { CreatePolychoronOfModel(); }, kCmdCreatePolychoron);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetAutoGeneratePolychora()); },
         kCmdAutoGeneratePolychora);
}

void CPolyView::Draw4DSelection(Poly& poly)
{
    if (!IsModelType(mViewType) || !poly.mPolytope)
        return;
    const double scale = poly.mDisplayScale;
    const auto overlays = [&](Polytope4D* polytope) {
        if (!polytope)
            return;
        polytope->DrawSelectedCell(scale);
        polytope->DrawSelectedFace(scale);
        // Plainly, then dashed where the model hides them.
        for (const bool dashed : {false, true})
        {
            const bool depthTest = SetDepthTest(!dashed);
            SetLineStipple(dashed ? 0x5555 : 0);
            polytope->DrawSelectedEdge(scale);
            polytope->DrawSelectedVertex(scale);
            SetLineStipple(0);
            SetDepthTest(depthTest);
        }
    };
    if (mViewType != kViewTypeDual)
        overlays(poly.mPolytope.get());
    if (mViewType != kViewTypePoly)
        overlays(poly.mPolytope->GetDualIfBuilt());
}

void CPolyView::Draw4DSpheresAndCylinders(Poly& poly)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const bool spheres = options.mShowVerts && DrawSpheresAtVerts();
    const bool cylinders = options.mShowEdges && DrawCylindersAtEdges();
    // A pick names the points and lines of the polytope's own drawing.
    if (!IsModelType(mViewType) || !poly.mPolytope || IsPicking() || (!spheres && !cylinders))
        return;
    const View4D view = MakeView4D();
    const double m = Calc4DProjectionScale(view.radius) * poly.mDisplayScale;
    const auto draw = [&](Polytope4D* p, int side) {
        if (!p)
            return;
        const double length = p->GetMeanEdgeLength();
        const int count = Polytope4D::GetSphereSizeCount(p->mNumEdges);
        if (spheres)
        {
            const double r0 = poly.GetVertexSphereRadius(side, length, count, 1.0, p->mScale);
            MaterialPass record;
            const int kind = BeginSphereMaterial(record);
            while (ApplyMaterial(true, record))
                for (Element4D* e = p->mFirstVert; e; e = e->next)
                {
                    Vert4D* vert = Element4D::AsVert(e);
                    if (Vert4D::IsHidden(vert))
                        continue;
                    if (kind == kMaterialSameColor && record.current != kPassHighlight)
                        SetMaterialColorRGB(Vert4D::GetColor(vert));
                    Vec3D q;
                    const double f = ::Project4DPoint(view, q, vert->mPos, m, p);
                    DrawSphere(q, r0 * f);
                }
            EndSphereMaterial();
        }
        if (cylinders)
        {
            const double r = poly.GetCylinderRadius(side, length, count, 1.0, p->mScale);
            const bool sameColor = options.mCylinderMaterial == kMaterialSameColor;
            MaterialPass record;
            BeginCylinderMaterial(record);
            while (ApplyMaterial(false, record))
                for (Element4D* e = p->mFirstEdge; e; e = e->next)
                {
                    Edge4D* edge = Element4D::AsEdge(e);
                    if (Edge4D::IsHidden(edge))
                        continue;
                    if (sameColor && record.current != kPassHighlight)
                        SetMaterialColorRGB(Edge4D::GetColor(edge));
                    Vec3D p0, p1, u;
                    const double f0 = ::Project4DPoint(view, p0, edge->mVerts[0]->mPos, m, p);
                    const double f1 = ::Project4DPoint(view, p1, edge->mVerts[1]->mPos, m, p);
                    CylinderOrientation4D(u, p0, p1);
                    DrawCylinder(p0, p1, r * f0, r * f1, 0.0, 0.0, &u, true);
                }
            EndCylinderMaterial();
        }
    };
    if (mViewType != kViewTypeDual)
        draw(poly.mPolytope.get(), 0);
    if (mViewType != kViewTypePoly)
        draw(poly.mPolytope->GetDualIfBuilt(), 1);
}

void CPolyView::StartTurnThrough4D(int code, int x, int y)
{
    Polytope4D* polytope = GetViewPolytope4D();
    if (!polytope)
        return;
    PickRequest request;
    request.kind = code == 62 ? kPickFacesAndCells : kPickVertsAndEdges;
    request.x = x;
    request.y = y;
    PickResult picked;
    PickAt(request, &picked);
    Poly* poly = GetCurrentPoly();
    Hit4DElements hit;
    HitTo4DElements(poly ? poly->mPolytope.get() : nullptr, picked.kind, picked.index, hit);
    Vec4D point;
    if (code == 62)
    {
        // A face hit stands for its cell that is seen.
        Cell4D* cell = hit.cell ? hit.cell : hit.face ? CellOfClickedFace(hit.face) : nullptr;
        if (!cell)
            cell = polytope->GetCurrentCell(true);
        if (!cell)
            return;
        Cell4D::MakeCurrent(cell);
        point = cell->mCentre;
    }
    else
    {
        Vert4D* vert = hit.vert ? hit.vert : polytope->GetCurrentVert(true);
        if (!vert)
            return;
        Vert4D::MakeCurrent(vert);
        point = vert->mPos;
    }
    mRotation4D.TransformInPlace(point);
    mRotateThrough4DThrow.SetDirection(point);
    mRotateThrough4DThrow.AddSample(x, y);
    mRotate4DThrow.Stop();
    mTunnel4DThrow.Stop();
}

void CPolyView::DragFieldOfView4D(float dx, float dy)
{
    if (!GetViewPolytope4D())
        return;
    DragEyeDistance4D(double(dy) - double(dx));
    SetStatusText("4D projection FOV: %.1f degrees", GetFieldOfView4D());
    NewView::InvalidateAll(false, true);
}
