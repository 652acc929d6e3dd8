// The model pane's picking: what lies under the mouse, what a click on it does, identification,
// painting faces like the selected one, the title-bar button that makes what a pane shows the base
// model, and the Selection menu's mouse modes and Select None.

#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "kernel/Messages.h"
#include "kernel/StatusText.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "mesh/Face3D.h"
#include "mesh/Edge3D.h"
#include "mesh/Model3D.h"
#include "model/ColorSchemes.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "render/HtmlText.h"
#include "stellation/Stellation.h"
#include "view/ColorChanges.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"
#include "view/TitleButtons.h"


#include <algorithm>
#include <cstdio>
#include <limits>
#include <memory>

namespace
{
constexpr double kInfiniteFaceRate = 0.005;  // per pixel

bool IsFaceKind(int kind)
{
    return kind == kPickBaseFace || kind == kPickDualFace;
}

// The mouse modes of the Selection menu, by command.
const struct
{
    int command;
    int mode;
} kModeCommands[] = {
    {kCmdModeSelect, kMouseModeSelect},
    {kCmdModeIdentify, kMouseModeIdentify},
    {kCmdModeCutEdges, kMouseModeCutEdges},
    {kCmdModeMeasure, kMouseModeMeasure},
    {kCmdModeFaceting, kMouseModeFaceting},
    {kCmdModeColorFaces, kMouseModeColorFaces},
    {kCmdModeImage, kMouseModeImage},
    {kCmdModeSectionTumble, kMouseModeSectionTumble},
    {kCmdMode4DTumble, kMouseMode4DTumble},
};

bool AnythingSelected(const Poly* poly)
{
    if (!poly)
        return false;
    if (poly->mPolytope)
    {
        const Selection4D& s = GetSelection4D();
        return s.mCell || s.mFace || s.mEdge || s.mVert;
    }
    return poly->mSelectedFace || poly->mSelectedEdge || poly->mSelectedElement || SymGroup::SelectedAxis();
}

bool HasColorsOf(const FaceVert& face, const FaceVert& pattern)
{
    const auto same = [](const ColorRGB& a, const ColorRGB& b) { return a.r == b.r && a.g == b.g && a.b == b.b; };
    return same(face.mColor, pattern.mColor) && same(face.mBackColor, pattern.mBackColor) &&
           face.mImage.Get() == pattern.mImage.Get();
}
}  // namespace

// ---- The pick ----

int CPolyView::PickAt(const PickRequest& request, PickResult* result)
{
    PickResult local;
    PickResult& out = result ? *result : local;
    out = PickResult{};
    Poly* poly = GetCurrentPoly();
    const unsigned mask = PickRequestMask(request.kind);

    // Points are picked whether or not they are shown.
    ElementDisplayOptions& options = GetElementDisplayOptions();
    const bool showVerts = options.mShowVerts;
    if (PickShowsPoints(mask) && mViewType != kViewTypeFacetPreview)
        options.mShowVerts = true;
    const bool precise = request.precise || mViewType == kViewTypeVertexFigure ||
                         mViewType == kViewTypeFacetDiagram || (mViewType == kViewTypeSlice && !Is3D());

    // Layer by layer: the faces hit are hidden for the next pass, and shown again at the end.
    std::vector<FaceVert*> hidden;
    std::vector<Element4D*> hidden4D;
    // Links are named in drawing order over all passes, so a name's index is its place in the list.
    ClearHtmlLinks(int(PickKindCategory(kPickLabel)), kPickLabel);
    for (;;)
    {
        std::vector<GLHit> pass;
        if (DoSelection(pass, int(mask), request.x, request.y, !precise))
            out.overflow = true;
        bool added = false;
        bool hid = false;
        for (const GLHit& hit : pass)
        {
            const int kind = GetGLSelectionItemType(hit.code);
            if (!(PickKindCategory(kind) & mask))
                continue;
            auto same = std::find_if(out.hits.begin(), out.hits.end(), [&](const GLHit& h) { return h.code == hit.code; });
            if (same != out.hits.end())
            {
                same->depth = std::min(same->depth, hit.depth);
                continue;
            }
            out.hits.push_back(hit);
            added = true;
            if (poly && poly->mPolytope && Is4DPickKind(kind))
            {
                // The cell (or whole face) hit gives way to what lies behind it.
                Hit4DElements elements;
                HitTo4DElements(poly->mPolytope.get(), kind, GetGLSelectionItemIndex(hit.code), elements);
                Element4D* layer = kind >= kPick4DEdge ? nullptr
                                   : elements.cell ? static_cast<Element4D*>(elements.cell)
                                                   : static_cast<Element4D*>(elements.face);
                if (layer && !(layer->mFlags & Element4D::kHidden))
                {
                    layer->mFlags |= Element4D::kHidden;
                    hidden4D.push_back(layer);
                    hid = true;
                }
                continue;
            }
            if (!poly || !IsFaceKind(kind))
                continue;
            PolyElement* element = HitToPolyElement(*poly, hit);
            FaceVert* face = element ? element->AsFaceVert() : nullptr;
            if (face && !(face->mFlags & FaceVert::kHidden))
            {
                face->mFlags |= FaceVert::kHidden;
                hidden.push_back(face);
                hid = true;
            }
        }
        if (!added || !hid)
            break;
    }
    for (FaceVert* face : hidden)
        face->mFlags &= ~FaceVert::kHidden;
    for (Element4D* element : hidden4D)
        element->mFlags &= ~Element4D::kHidden;
    options.mShowVerts = showVerts;

    // The selection box is a pixel wide: a face it grazes, or sees nearly edge-on, is hit at its
    // nearest point in the box, which can lie in front of the face really under the point. In a
    // precise pick the faces the pick ray meets take the depth where it meets them, and the faces
    // it only grazes (at an edge or a corner, or edge-on) come after them in their own order.
    if (precise && poly && !poly->mPolytope && Is3D() && !ExplosionApplies() &&
        poly->mTransitionProgress >= 1.0 && (mViewType == kViewTypePoly || mViewType == kViewTypeDual))
    {
        constexpr unsigned kFar = std::numeric_limits<unsigned>::max();
        Vec3D origin, direction;
        GetPickRay(origin, direction, request.x, request.y);
        for (GLHit& hit : out.hits)
        {
            const int kind = GetGLSelectionItemType(hit.code);
            if (kind != kPickBaseFace && kind != kPickDualFace)
                continue;
            const PolyElement* element = HitToPolyElement(*poly, hit);
            const FaceVert* face = element ? element->AsFaceVert() : nullptr;
            if (!face)
                continue;
            Vec3D meet, window;
            if (RayMeetsPolygon(*face, poly->mDisplayScale, origin, direction, meet))
            {
                ProjectToWindow(window, meet);
                hit.depth = unsigned(std::clamp(window.z, 0.0, 1.0) * double(kFar - 1024));
            }
            else
                hit.depth = kFar - 1024 + (hit.depth >> 23);
        }
    }
    OrderPickHits(poly, out.hits);
    if (!out.hits.empty())
    {
        out.kind = GetGLSelectionItemType(out.hits[0].code);
        out.index = GetGLSelectionItemIndex(out.hits[0].code);
        if (poly && !poly->mPolytope)
            out.element = out.kind == kPickFaceFacet || out.kind == kPickDualFaceFacet
                              ? HitToPolyElement(*poly, out.hits[0])
                              : HitToElement(*poly, out.kind, out.index);
        // A facelet of the stellation stands for the face whose plane it lies in.
        if (out.kind == kPickFacelet)
        {
            const Model3D* mesh = PeekStellationModel3D();
            const Face3D* facelet = mesh ? mesh->GetFace(out.index) : nullptr;
            out.element = facelet ? facelet->mElement : nullptr;
        }
    }
    if (!result)
        ApplyPickDefault(request.kind, out);
    return out.kind;
}

void CPolyView::ApplyPickDefault(int request, const PickResult& picked)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    switch (picked.kind)
    {
    case -1:
        poly->ClearSelection();
        SetStatusText("%s", "");
        break;
    case kPickBaseFace:
    case kPickDualFace:
    case kPickFaceFacet:
    case kPickDualFaceFacet:
    case kPickFacelet:
        if (picked.element && picked.element != poly->mSelectedFace)
            poly->SelectElement(picked.element, false);
        break;
    case kPickBaseEdge:
    case kPickDualEdge:
        if (picked.element)
            poly->SelectElement(picked.element, false);
        break;
    case kPickDiagramFacet:
        ToggleFacetCell(picked.index, request);
        return;
    case kPickStellationCell:
        if (Stellation* stellation = GetStellationUpTo(kStellationBuilt))
            ToggleCell(stellation->FindCell(picked.index), request);
        return;
    case kPickAxis:
        if (SymGroup* group = poly->GetSymGroup())
            group->SelectAxis(picked.index);
        break;
    case kPickBaseVert:
    case kPickDualVert:
        if (picked.element)
            poly->SelectNextCoincident(picked.element->AsFaceVert());
        break;
    case kPickLabel:
        FollowTextLink(picked.index);
        return;
    default:
        if (poly->mPolytope && Is4DPickKind(picked.kind))
            Select4DHit(request, picked);
        // Facets, cells and meshes are taken by the drawing that names them.
        break;
    }
    NewView::InvalidateAll(false, true);
}

void CPolyView::Select4DHit(int request, const PickResult& picked)
{
    Poly* poly = GetCurrentPoly();
    Hit4DElements hit;
    if (!poly || !HitTo4DElements(poly->mPolytope.get(), picked.kind, picked.index, hit))
        return;
    if (hit.vert)
        Vert4D::Select(hit.vert);
    else if (hit.edge)
        Edge4D::Select(hit.edge);
    else if (hit.cell)
        Cell4D::Select(hit.cell);
    else if (hit.face)
    {
        // A whole face stands for one of its cells; repeated clicks alternate between the two.
        Cell4D* cell = request == kPick4DFaces ? nullptr : CellOfClickedFace(hit.face);
        if (cell)
            Cell4D::Select(cell);
        else
            Face4D::Select(hit.face);
    }
}

void CPolyView::Pick4DPress(int code, int x, int y)
{
    Poly* poly = GetCurrentPoly();
    PickRequest request;
    request.x = x;
    request.y = y;
    request.kind = code == 64 ? kPick4DFaces : code == 65 ? kPick4DEdges : kPickVertsAndEdges;
    PickResult picked;
    PickAt(request, &picked);
    Hit4DElements hit;
    HitTo4DElements(poly->mPolytope.get(), picked.kind, picked.index, hit);
    switch (code)
    {
    case 3:
        if (hit.vert)
            Vert4D::Select(hit.vert);
        else if (hit.edge)
            Edge4D::Select(hit.edge);
        else
            Vert4D::Select(nullptr);
        break;
    case 55:
        if (hit.edge)
            Edge4D::Select(hit.edge);
        else if (hit.vert)
        {
            // A vertex names the edge from the current vertex to it.
            const Vert4D* current = hit.vert->mOwner ? hit.vert->mOwner->GetCurrentVert(true) : nullptr;
            if (Edge4D* edge = current ? current->FindEdgeTo(hit.vert) : nullptr)
                Edge4D::Select(edge);
        }
        break;
    case 64:
        if (hit.face)
            Face4D::Select(hit.face);
        break;
    case 65:
        Edge4D::Select(hit.edge);
        break;
    default:
        break;
    }
    NewView::InvalidateAll(false, true);
}

std::string CPolyView::IdentifyAt(int x, int y)
{
    PickResult picked;
    PickRequest request;
    request.kind = kPickAnything;
    request.x = x;
    request.y = y;
    request.precise = true;
    const int kind = PickAt(request, &picked);
    const Poly* poly = GetCurrentPoly();
    std::string what = kind < 0 || !poly ? std::string("nothing") : IdentifyText(*poly, kind, picked.index);
    if (kind == kPickFacelet)
    {
        const FaceVert* face = picked.element ? picked.element->AsFaceVert() : nullptr;
        char text[96];
        std::snprintf(text, sizeof text, "%s-face %d, facelet %d,", face && face->IsVert() ? "dual" : "base",
                      face ? face->mIndex + 1 : 0, picked.index + 1);
        what = face ? text : "nothing";
    }
    const std::string text = "Selected " + what;
    SetStatusText("%s", text.c_str());
    return text;
}

// ---- Painting ----

bool CPolyView::PaintLikeSelected(int x, int y, bool single)
{
    Poly* poly = GetCurrentPoly();
    // Cells of a 4D model are painted with the 4D drawing.
    if (!poly || poly->mPolytope)
        return false;
    FaceVert* pattern = poly->GetSelectedFace();
    if (!pattern)
        return false;
    PickResult picked;
    PickRequest request;
    request.kind = kPickPaintFaces;
    request.x = x;
    request.y = y;
    PickAt(request, &picked);
    FaceVert* face = picked.element && IsFaceKind(picked.kind) ? picked.element->AsFaceVert() : nullptr;
    if (!face || !face->mList)
        return false;
    poly->ClearSelection();
    const bool hide = (pattern->mFlags & FaceVert::kHidden) != 0;
    std::vector<FaceVert*> targets;
    for (FaceVert* f = face->mList->mFirst; f; f = f->mNext)
    {
        if (single ? f != face : !PolyElement::IsSameType(f, face))
            continue;
        if (hide ? !(f->mFlags & FaceVert::kHidden) : !HasColorsOf(*f, *pattern))
            targets.push_back(f);
    }
    if (targets.empty())
        return false;
    AddColorAndImageUndo();
    for (FaceVert* f : targets)
    {
        if (hide)
            f->mFlags |= FaceVert::kHidden;
        else
        {
            f->mColor = pattern->mColor;
            f->mBackColor = pattern->mBackColor;
            f->mImage.Set(pattern->mImage.Get());
        }
    }
    FaceColorsChanged(poly, true);
    return true;
}

void CPolyView::RepeatPaintingAtIdle()
{
    auto* view = dynamic_cast<CPolyView*>(NewView::GetActiveView());
    if (!view || !(NewView::GetPressedButtons() & kLeftButton) || !(view->GetRedrawMarks() & kRedraw))
        return;
    if (view->GetMouseAction() != 13)
        return;
    Poly* poly = GetCurrentPoly();
    const FaceVert* pattern = poly ? poly->GetSelectedFace() : nullptr;
    if (!pattern || (pattern->mFlags & FaceVert::kHidden))
        return;
    const wxPoint at = NewView::GetLastMousePoint();
    view->PaintLikeSelected(at.x, at.y, (NewView::GetModifierState() & kCtrl) != 0);
}

// ---- Presses that pick ----

bool CPolyView::PickingPress(int code, int x, int y)
{
    Poly* poly = GetCurrentPoly();
    PickRequest request;
    request.x = x;
    request.y = y;
    if (poly && poly->mPolytope && (code == 3 || code == 55 || code == 64 || code == 65))
    {
        Pick4DPress(code, x, y);
        return true;
    }
    switch (code)
    {
    case 3:
    {
        // The next element coincident with the vertex under the point.
        request.kind = kPickVertsAndEdges;
        PickResult picked;
        const int kind = PickAt(request, &picked);
        if (poly && picked.element && (kind == kPickBaseVert || kind == kPickDualVert))
        {
            poly->SelectNextCoincident(picked.element->AsFaceVert());
            NewView::InvalidateAll(false, true);
        }
        return true;
    }
    case 4:
        IdentifyAt(x, y);
        return true;
    case 11:
    {
        // Faceting mode: the vertex under the point joins the facet being drawn.
        request.kind = kPickVertsAndEdges;
        PickResult picked;
        const int kind = PickAt(request, &picked);
        if (poly && picked.element && (kind == kPickBaseVert || kind == kPickDualVert))
            poly->AddFacetVertex(picked.element->AsFaceVert()->mPoint);
        return true;
    }
    case 12:
        // Faceting mode: the facet being drawn is accepted.
        if (poly)
            poly->CloseDrawnPolygon(true, true);
        return true;
    case 13:
    {
        PaintLikeSelected(x, y, (GetModifierState() & kCtrl) != 0);
        return true;
    }
    case 26:
    {
        const bool diagramView = mViewType == kViewTypeFace || mViewType == kViewTypeStelFace ||
                                 mViewType == kViewTypeStelDiagram || mViewType == kViewTypeCellDiagram;
        const bool modelView = mViewType == kViewTypePolyAndDual || mViewType == kViewTypePoly ||
                               mViewType == kViewTypeDual || mViewType == kViewTypeUniStellation ||
                               mViewType == kViewTypeDualStellation;
        const bool diagramShown = poly && poly->mSelectedFace && SelectedFaceDisplay() == 1;
        request.kind = diagramView || (modelView && diagramShown) ? kPickSelectFacet : kPickAnything;
        PickAt(request, nullptr);
        return true;
    }
    case 27:
        request.kind = kPickToggleCell;
        PickAt(request, nullptr);
        return true;
    case 29:
        request.kind = kPickCellWithSupport;
        PickAt(request, nullptr);
        return true;
    case 30:
        request.kind = kPickCellLayer;
        PickAt(request, nullptr);
        return true;
    case 5:
    case 6:
        // Cut/Uncut Edges: a whole class of edges, or one edge and its partner.
        if (!poly || !poly->mPolytope)
            CutEdgeAt(x, y, code == 5);
        return true;
    case 55:
    {
        // Nets and 4D models pick their edges with their own drawing.
        if (poly && poly->mPolytope)
            return true;
        request.kind = kPickEdges;
        PickResult picked;
        const int kind = PickAt(request, &picked);
        if (poly && picked.element && (kind == kPickBaseEdge || kind == kPickDualEdge))
        {
            poly->SelectElement(picked.element, false);
            NewView::InvalidateAll(false, true);
        }
        return true;
    }
    default:
        return false;
    }
}

bool CPolyView::CutEdgeAt(int x, int y, bool wholeClass)
{
    Model3D* mesh = GetStellationModel3D(true);
    if (!Model3D::HasNets(mesh))
        return false;
    PickRequest request;
    request.kind = kPickMeshEdges;
    request.x = x;
    request.y = y;
    PickResult picked;
    Edge3D* edge = PickAt(request, &picked) == kPickNetEdge ? mesh->GetEdge(picked.index) : nullptr;
    if (!edge)
        return false;
    // The nets are made again round the cut.
    edge->ToggleCut(wholeClass);
    NewView::InvalidateAll(false, true);
    return true;
}

// ---- The faces at infinity of the dual ----

void CPolyView::SizeInfiniteFaces(float dx, float dy)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !DualIsInfinite(*poly))
    {
        NewView::SetMessage(this, "%s", "That operation requires an infinite dual model.");
        return;
    }
    double& size = InfiniteFaceSize();
    size = std::max(0.0, size + (double(dx) - dy) * kInfiniteFaceRate);
    poly->GetVertStellation()->CreateFaceDiagrams();
    InvalidateViewsOfType(kViewTypeDual, false);
    InvalidateViewsOfType(kViewTypeVertexFigure, false);
    InvalidateViewsOfType(kViewFamilyMorph, false);
}

// ---- Title-bar buttons ----

bool CPolyView::ConvertViewToBaseModel(int flags)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return false;
    std::unique_ptr<SimplePoly> simple =
        poly->CreateSimplePolyFromView(uint32_t(flags), nullptr, nullptr, static_cast<NewView*>(this));
    if (!simple)
        return false;
    // The step keeps the model itself, whichever side the panes show now, so that undo gives the
    // model back rather than its dual.
    poly->SetShowDual(false);
    // A failed build discards the step and leaves the model as it was.
    return SetModelFromSimplePoly(simple.get(), kUndoConvertToBaseModel, false, false);
}

// ---- The Selection menu ----

void CPolyView::BindSelectionCommands()
{
    for (const auto& m : kModeCommands)
    {
        const int mode = m.mode;
        Bind(wxEVT_MENU, [mode](wxCommandEvent&) { CPolyView::SetMouseMode(mode); }, m.command);
        Bind(
            wxEVT_UPDATE_UI,
            [mode](wxUpdateUIEvent& event) {
                // 4D Tumble Mode does not outlive the 4D model: the next update after a 3D model
                // arrives sets selection mode.
                if (mode == kMouseMode4DTumble && ::GetMouseMode() == mode && !IsModel4D(GetCurrentPoly()))
                    CPolyView::SetMouseMode(kMouseModeSelect);
                event.Check(::GetMouseMode() == mode);
            },
            m.command);
    }
    Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            ClearSelection();
            NewView::InvalidateAll(false, true);
        },
        kCmdSelectNone);
    Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(AnythingSelected(GetCurrentPoly())); },
         kCmdSelectNone);
}
