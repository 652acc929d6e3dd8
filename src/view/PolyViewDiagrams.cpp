#include "kernel/FitPointSink.h"
// The flat diagram panes: the Face, the Face of Stellation, the Stellation Diagram and the Cell
// Diagram, their extents for the fit and their captions, and the clicks that include or exclude
// cells.

#include "kernel/Messages.h"
#include "kernel/Palette.h"
#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/Transform3D.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "model/ElemList.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "render/NewView.h"
#include "stellation/CellDiagram.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/SegVert.h"
#include "stellation/StellationCellLayer.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationRegion.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
constexpr double kFitMargin = 0.05;
constexpr int kDashedStipple = 0x6666;
constexpr float kIdleFacetGrey = 0.25f;

Transform3D IdentityFrame()
{
    Transform3D frame;
    frame.SetFrameToWorld(Vec3D{0, 0, 0}, Vec3D{1, 0, 0}, Vec3D{0, 1, 0}, Vec3D{0, 0, 1});
    return frame;
}

// The face type whose diagram a face view draws: a coplanar copy shows its source's.
FaceType* DiagramTypeOf(FaceVert* face)
{
    FaceType* type = face ? face->mFaceType : nullptr;
    return type && type->mCoplanarSource ? type->mCoplanarSource : type;
}

// Line pieces (pairs of ends) in the default edge colour.
void DrawLinesInEdgeColour(SceneDrawer& drawer, const std::vector<Vec3D>& ends)
{
    if (ends.empty())
        return;
    const ColorRGB& c = GetElementDisplayOptions().mDefaultEdgeColor;
    std::vector<float> colours;
    for (size_t i = 0; i < ends.size() / 2; ++i)
        colours.insert(colours.end(), {c.r, c.g, c.b, 1.0f});
    drawer.DrawLines(ends.data(), colours.data(), int(ends.size() / 2));
}

void FillRect(SceneDrawer& drawer, double left, double top, double right, double bottom)
{
    // Cell diagram units grow downwards; the pane's grow upwards.
    const Vec3D a{left, -top, 0}, b{right, -top, 0}, c{right, -bottom, 0}, d{left, -bottom, 0};
    const Vec3D corners[6] = {a, b, c, a, c, d};
    drawer.DrawTriangles(corners, 2);
}
}  // namespace

// ---- Which diagram, and how large ----

FaceVert* CPolyView::GetDiagramFace(int needed) const
{
    Stellation* stellation = GetStellationUpTo(needed);
    FaceVert* face = stellation ? stellation->GetSelectedFace() : nullptr;
    FaceType* type = DiagramTypeOf(face);
    if (!type || !type->mFirstRegion)
        return nullptr;
    return face;
}

bool CPolyView::GetDiagramExtent(double& left, double& bottom, double& right, double& top) const
{
    std::vector<Vec2D> points;
    switch (mViewType)
    {
    case kViewTypeCellDiagram:
    {
        const Stellation* stellation = GetStellationUpTo(kStellationBuilt);
        if (!stellation)
            return false;
        const CellDiagramExtent extent = GetCellDiagramExtent(*stellation);
        if (extent.right <= extent.left)
            return false;
        left = extent.left;
        right = extent.right;
        top = -extent.top;
        bottom = -extent.bottom;
        return true;
    }
    case kViewTypeStelDiagram:
    case kViewTypeStelFace:
        if (FaceVert* face = GetDiagramFace(kStellationBuilt))
            DiagramTypeOf(face)->CollectDiagramPoints(points);
        break;
    case kViewTypeSlice:
        if (Poly* poly = GetCurrentPoly(); poly && !IsModel4D(poly))
        {
            struct Sink : FitPointSink
            {
                std::vector<Vec2D>* points;
                void ExtendFit(const Vec3D& p) override { points->push_back(Vec2D{p.x, p.y}); }
            } sink;
            sink.points = &points;
            poly->ExtendFitBoundsBySection(sink);
        }
        break;
    case kViewTypeFace:
        if (FaceVert* face = GetDiagramFace(kStellationBuilt))
            for (const StellationFacet* f = DiagramTypeOf(face)->mFacets; f; f = f->next)
                if (f->mFlags & kFacetOnOriginalFace)
                    for (const StellationRegion* region : f->mRegions)
                        for (const StellationEdge* e = region ? region->mEdge : nullptr; e;)
                        {
                            points.push_back(e->mStart->mPos);
                            e = e->mNext == region->mEdge ? nullptr : e->mNext;
                        }
        break;
    case kViewTypeNet2D:
    {
        // The current net's layout is centred on the origin.
        const Model3D* mesh = GetStellationModel3D(true);
        if (!Model3D::HasNets(mesh) || !mesh->mCurrentNet || !mesh->mCurrentNet->mNetType)
            return false;
        const double r = mesh->mCurrentNet->mNetType->GetRadius();
        if (r <= 0.0)
            return false;
        left = bottom = -r;
        right = top = r;
        return true;
    }
    default:
        return false;
    }
    if (points.empty())
        return false;
    left = bottom = 9.99999e99;
    right = top = -9.99999e99;
    for (const Vec2D& p : points)
    {
        left = std::min(left, p.x);
        right = std::max(right, p.x);
        bottom = std::min(bottom, p.y);
        top = std::max(top, p.y);
    }
    const double margin = kFitMargin * std::max(right - left, top - bottom);
    left -= margin;
    right += margin;
    bottom -= margin;
    top += margin;
    return right > left && top > bottom;
}

bool CPolyView::FitDiagram()
{
    double left = 0, bottom = 0, right = 0, top = 0;
    if (!GetDiagramExtent(left, bottom, right, top))
        return false;
    SetScrollArea(float(left), float(bottom), float(right), float(top));
    ZoomToFitArea();
    return true;
}

// ---- Drawing ----

bool CPolyView::DrawsDiagram(int type)
{
    return type == kViewTypeFace || type == kViewTypeStelFace || type == kViewTypeStelDiagram ||
           type == kViewTypeCellDiagram || type == kViewTypeSlice;
}

void CPolyView::DrawDiagramView()
{
    mDiagramCaption.clear();
    switch (mViewType)
    {
    case kViewTypeFace:
        DrawFaceView();
        break;
    case kViewTypeStelFace:
        DrawStellationFaceView();
        break;
    case kViewTypeStelDiagram:
        DrawStellationDiagramView();
        break;
    case kViewTypeCellDiagram:
        DrawCellDiagram();
        break;
    case kViewTypeSlice:
        if (Poly* poly = GetCurrentPoly(); poly && !IsModel4D(poly))
            poly->DrawCrossSectionView(GetViewRadius(1));
        break;
    default:
        break;
    }
}

void CPolyView::DrawFaceView()
{
    FaceVert* face = GetDiagramFace(kStellationBuilt);
    if (!face)
        return;
    FaceType* type = DiagramTypeOf(face);
    if (IsPicking() && PicksDiagramPointsOnly(GetSelectionMode()))
    {
        type->DrawDiagram(IdentityFrame(), kDiagramVertsOnly);
        return;
    }
    // The face is the facets of its diagram that the face covers, a star face's included.
    const ColorRGB front = LimitBrightColour(face->mColor);
    const ColorRGB back = DiagramBackColour(face->mColor, face->mBackColor);
    const Transform3D identity = IdentityFrame();
    const bool lighting = SetLighting(false);
    for (const StellationFacet* f = type->mFacets; f; f = f->next)
    {
        if (!(f->mFlags & kFacetOnOriginalFace))
            continue;
        const ColorRGB& c = (f->mFlags & kFacetBack) ? back : front;
        if (IsPicking())
            SetGLSelectionItem(kPickDiagramFacet, f->mIndex);
        SetMaterialColor4f(c.r, c.g, c.b, 1.0f);
        f->DrawGL(identity);
    }
    if (IsPicking())
    {
        ClearGLSelectionItem();
        SetLighting(lighting);
        return;
    }
    // The outline: the diagram's edges on the face's boundary, each segment once.
    std::vector<Vec3D> ends;
    for (const StellationRegion* region = type->mFirstRegion; region; region = region->next)
    {
        const StellationEdge* e = region->mEdge;
        for (int i = 0; e && i < 100000; ++i)
        {
            const SegVert* end = e->GetEnd();
            const bool first = !e->mTwin || !e->mTwin->mRegion || region->GetIndex() < e->mTwin->mRegion->GetIndex();
            if ((e->mFlags & kEdgeOnOriginalBoundary) && first && end)
            {
                ends.push_back(Vec3D{e->mStart->mPos.x, e->mStart->mPos.y, 0});
                ends.push_back(Vec3D{end->mPos.x, end->mPos.y, 0});
            }
            e = e->mNext;
            if (e == region->mEdge)
                break;
        }
    }
    DrawLinesInEdgeColour(*this, ends);
    SetLighting(lighting);
    DrawFaceDiagram(face);
}

void CPolyView::DrawStellationFaceView()
{
    FaceVert* face = GetDiagramFace(kStellationBuilt);
    if (!face)
        return;
    FaceType* type = DiagramTypeOf(face);
    if (IsPicking() && PicksDiagramPointsOnly(GetSelectionMode()))
    {
        type->DrawDiagram(IdentityFrame(), kDiagramVertsOnly);
        return;
    }
    const ColorRGB front = LimitBrightColour(face->mColor);
    const ColorRGB back = DiagramBackColour(face->mColor, face->mBackColor);
    const Transform3D identity = IdentityFrame();
    std::vector<Vec3D> edges;
    for (const StellationFacet* f = type->mFacets; f; f = f->next)
    {
        const int side = f->GetSideClass();
        ColorRGB c = side == kFacetSideFront ? front : back;
        if (side == kFacetSideInternal || side == kFacetSideOff)
            c = ColorRGB{kIdleFacetGrey, kIdleFacetGrey, kIdleFacetGrey};
        if (IsPicking())
            SetGLSelectionItem(kPickDualDiagramFacet, f->mIndex);
        SetMaterialColor4f(c.r, c.g, c.b, 1.0f);
        f->DrawGL(identity);
    }
    if (IsPicking())
    {
        ClearGLSelectionItem();
        return;
    }
    // Outlines between facets that look different, and round the used part.
    for (const StellationFacet* f = type->mFacets; f; f = f->next)
        for (const StellationRegion* region : f->mRegions)
        {
            const StellationEdge* e = region ? region->mEdge : nullptr;
            for (int i = 0; e && i < 100000; ++i)
            {
                const StellationRegion* across = e->mTwin ? e->mTwin->mRegion : nullptr;
                const StellationFacet* other = across ? across->mFacet : nullptr;
                const bool same = other && other->IsUsed() && f->IsUsed() &&
                                  (other->mFlags & kFacetBack) == (f->mFlags & kFacetBack);
                const bool drawn = other && other->IsUsed() == f->IsUsed() && !f->IsUsed();
                const SegVert* end = e->GetEnd();
                if (!same && !drawn && end)
                {
                    edges.push_back(Vec3D{e->mStart->mPos.x, e->mStart->mPos.y, 0});
                    edges.push_back(Vec3D{end->mPos.x, end->mPos.y, 0});
                }
                e = e->mNext;
                if (e == region->mEdge)
                    break;
            }
        }
    DrawLinesInEdgeColour(*this, edges);
    DrawFaceDiagram(face);
}

void CPolyView::DrawStellationDiagramView()
{
    FaceVert* face = GetDiagramFace(kStellationBuilt);
    if (!face)
        return;
    FaceType* type = DiagramTypeOf(face);
    int flags = 0;
    if (IsPicking() && PicksDiagramPointsOnly(GetSelectionMode()))
        flags = kDiagramVertsOnly;
    type->DrawDiagram(IdentityFrame(), flags);
    if (flags)
        return;
    DrawFaceDiagram(face);
}

void CPolyView::DrawFaceDiagram(FaceVert* face)
{
    Poly* poly = GetCurrentPoly();
    FaceType* type = face ? face->mFaceType : nullptr;
    if (!poly || !type || !IsNewestModelPoly(poly))
        return;
    const Stellation* stellation = type->mStellation;
    char text[160];
    std::snprintf(text, sizeof text, "Face type %d of %d%s.  %d faces of this type.", FaceType::GetNumber(type),
                  stellation ? stellation->GetNumPlaneTypes() : 0, (face->mFlags & FaceVert::kInf) ? " (Infinite)" : "",
                  int(type->mCount));
    mDiagramCaption = text;
}

void CPolyView::DrawCellDiagram()
{
    Stellation* stellation = GetStellationUpTo(kStellationBuilt);
    if (!stellation)
        return;
    const std::vector<CellDiagramBox> boxes = LayOutCellDiagram(*stellation);
    const double z = GetScaledHeight();
    const CellDiagramDetail detail = GetCellDiagramDetail(z);
    const double pixel = z > 0.0 ? 1.0 / z : 1.0;
    const ColorRGB& edge = GetElementDisplayOptions().mDefaultEdgeColor;
    const bool picking = IsPicking();
    const bool lighting = SetLighting(false);

    // Where each cell's box is, for the lines to the cells resting on it.
    std::vector<const CellDiagramBox*> boxOf(size_t(stellation->GetNumCellRecords() + 1), nullptr);
    for (const CellDiagramBox& box : boxes)
        if (box.cell->mIndex >= 0 && size_t(box.cell->mIndex) < boxOf.size())
            boxOf[size_t(box.cell->mIndex)] = &box;

    for (const CellDiagramBox& box : boxes)
    {
        ColorRGB layerColour;
        GetPaletteColor(box.layer, layerColour, 0);
        layerColour = LimitBrightColour(layerColour);
        const StellationCell* cell = box.cell;
        if (!picking && detail.supportLines)
        {
            std::vector<Vec3D> ends;
            for (size_t i = size_t(std::max(cell->mNumLower, 0)); i < cell->mNeighbours.size(); ++i)
            {
                const StellationCell* above = cell->mNeighbours[i];
                if (!above || above == cell || above->IsOuter() || !above->mLayer ||
                    above->mLayer->mNumber != box.layer + 1 || size_t(above->mIndex) >= boxOf.size() ||
                    !boxOf[size_t(above->mIndex)])
                    continue;
                const CellDiagramBox& to = *boxOf[size_t(above->mIndex)];
                ends.push_back(Vec3D{box.x + kCellBoxWidth / 2, -(box.y + kCellBoxHeight), 0});
                ends.push_back(Vec3D{to.x + kCellBoxWidth / 2, -to.y, 0});
            }
            std::vector<float> colours;
            for (size_t i = 0; i < ends.size() / 2; ++i)
                colours.insert(colours.end(), {layerColour.r, layerColour.g, layerColour.b, 1.0f});
            if (!ends.empty())
                DrawLines(ends.data(), colours.data(), int(ends.size() / 2));
        }
        if (!picking && detail.pairConnectors && (cell->mFlags & kCellChiralFirst))
        {
            const double y = -(box.y + kCellBoxHeight / 2);
            const Vec3D ends[2] = {Vec3D{box.x + kCellBoxWidth, y, 0}, Vec3D{box.x + kCellPitch, y, 0}};
            const float colours[8] = {layerColour.r, layerColour.g, layerColour.b, 1.0f,
                                      layerColour.r, layerColour.g, layerColour.b, 1.0f};
            SetLineStipple(kDashedStipple);
            DrawLines(ends, colours, 1);
            SetLineStipple(0);
        }
        if (picking)
            SetGLSelectionItem(kPickStellationCell, cell->mIndex);
        // A box narrower than a pixel still shows.
        const double width = std::max(kCellBoxWidth, pixel);
        const double height = std::max(kCellBoxHeight, pixel);
        double inset = 0.0;
        if (cell->IsIncluded())
        {
            SetMaterialColor4f(edge.r, edge.g, edge.b, 1.0f);
            FillRect(*this, box.x, box.y, box.x + width, box.y + height);
            inset = 3.0 * z < 1.0 ? pixel : 3.0;
        }
        SetMaterialColor4f(layerColour.r, layerColour.g, layerColour.b, 1.0f);
        FillRect(*this, box.x + inset, box.y + inset, box.x + width - inset, box.y + height - inset);
        if (picking)
            ClearGLSelectionItem();
        else if (detail.numbers)
        {
            char text[32];
            std::snprintf(text, sizeof text, "%d", cell->mIndex);
            SetColor3f(edge.r, edge.g, edge.b);
            DrawTextAt(text, box.x + kCellBoxWidth / 2, -(box.y + kCellBoxHeight / 2), true);
        }
    }
    SetLighting(lighting);
}

// ---- Clicking cells ----

void CPolyView::ToggleCell(StellationCell* cell, int request)
{
    Stellation* stellation = cell ? cell->mStellation : nullptr;
    if (!stellation || cell->IsOuter() || !cell->mLayer || !stellation->IsBuilt())
        return;
    Shell& shell = GetShell();
    shell.AddUndo(stellation->IsDual() ? kUndoDualStellationChange : kUndoStellationChange, false);
    const bool included = cell->IsIncluded();
    const int layer = cell->mLayer->mNumber;
    if (request == kPickCellLayer)
    {
        for (StellationCell* c = stellation->mFirstCell; c; c = c->next)
        {
            if (c->IsOuter() || !c->mLayer)
                continue;
            const int n = c->mLayer->mNumber;
            if (included && n >= layer)
                StellationCell::SetIncluded(c, false);
            else if (!included && n <= layer)
                StellationCell::SetIncluded(c, true);
        }
    }
    else if (request == kPickCellWithSupport)
    {
        if (included)
            StellationCell::ExcludeWithDependants(cell);
        else
            StellationCell::IncludeWithSupport(cell);
    }
    else
        StellationCell::SetIncluded(cell, !included);
    shell.CloseUndo();
    SetStatusText("Clicked cell %d, layer %d", cell->mIndex, layer);
    NewView::InvalidateAll(false, true);
}

void CPolyView::ToggleFacetCell(int facetIndex, int request)
{
    Poly* poly = GetCurrentPoly();
    FaceType* type = nullptr;
    if (DrawsDiagram(mViewType))
        type = DiagramTypeOf(GetDiagramFace(kStellationBuilt));
    else if (poly && poly->mSelectedFace)
        type = DiagramTypeOf(poly->mSelectedFace);
    if (!type)
        return;
    const StellationFacet* facet = type->mFacets;
    while (facet && facet->mIndex != facetIndex)
        facet = facet->next;
    if (!facet)
        return;
    StellationCell* cell = request == kPickToggleCell ? facet->mCellAbove : facet->mCellBelow;
    ToggleCell(cell, request);
}
