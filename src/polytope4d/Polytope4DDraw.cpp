#include "kernel/RenderSettings.h"
#include "kernel/SceneParameters.h"
#include "model/ElementDisplayOptions.h"
#include "polytope4d/Draw4DSupport.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"
#include "polytope4d/Projection4D.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
template <class Elem>
Elem* NextOf(const Elem* e)
{
    return static_cast<Elem*>(e->next);
}

template <class Type>
int TypeNumber(const Type* first, const Type* type)
{
    int n = 1;
    for (const Type* t = first; t; t = t->next, ++n)
        if (t == type)
            return n;
    return 0;
}

bool CellLeftOut(const Cell4D* cell)
{
    return !cell || (cell->mFlags & (Element4D::kHidden | Element4D::kCellNotShown));
}

// The unit normal of a projected triangle; (0, 0, 1) for a degenerate one.
Vec3D TriangleNormal(const Vec3D& p0, const Vec3D& p1, const Vec3D& p2)
{
    Vec3D a, b, n;
    Vec3Sub(a, p1, p0);
    Vec3Sub(b, p2, p1);
    Vec3Cross(n, a, b);
    const double length = Vec3Length(n);
    if (length < 1e-12)
        return Vec3D{0.0, 0.0, 1.0};
    Vec3Scale(n, n, 1.0 / length);
    return n;
}

void DrawLabel(SceneDrawer& drawer, const Vec3D& at, const char* text)
{
    drawer.DrawSceneText(GetRenderSettings().faceTextSettings, at, 1.0, text, 0, Vec3D{0.0, 0.0, 1.0}, nullptr);
}
}  // namespace

View4D CurrentView4D(const SceneDrawer& drawer)
{
    if (const View4D* view = drawer.GetView4D())
        return *view;
    View4D view;
    view.radius = drawer.GetViewRadius(0);
    return view;
}

void UnpackColor4D(uint32_t rgb, float out[3])
{
    out[0] = float(rgb & 0xFF) / 255.0f;
    out[1] = float((rgb >> 8) & 0xFF) / 255.0f;
    out[2] = float((rgb >> 16) & 0xFF) / 255.0f;
}

int ItemType4D(const Polytope4D* polytope, int baseType)
{
    return baseType + ((polytope->mFlags & Polytope4D::kIsDual) ? 1 : 0);
}

bool CellsDrawnWhite(const SceneDrawer& drawer)
{
    return GetRenderFlags() != 0 || drawer.AllWhiteMode();
}

int Polytope4D::GetSphereSizeCount(int numEdges)
{
    return int(std::pow(double(numEdges), 2.0 / 3.0)) + 1;
}

void Polytope4D::MarkShownCells(const View4D& view, bool edgeOnAnswer)
{
    for (Cell4D* cell = static_cast<Cell4D*>(mFirstCell); cell; cell = NextOf(cell))
    {
        if (IsCellShown4D(view, cell, edgeOnAnswer))
            cell->mFlags &= ~Element4D::kCellNotShown;
        else
            cell->mFlags |= Element4D::kCellNotShown;
    }
}

void Polytope4D::GetCellCentre3D(Vec4D& out, const Cell4D* cell, double m, const View4D& view) const
{
    if (view.orthogonal)
    {
        out = cell->mCentre;
        return;
    }
    Vec3D p;
    Project4DPoint(view, p, cell->mCentre, m, this);
    out = Vec4D{p.x, p.y, p.z, 0.0};
}

void Polytope4D::DrawDual(double scale)
{
    if (Polytope4D* dual = GetDual())
        dual->Draw(scale);
}

void Polytope4D::Draw(double scale)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    const double shrink = GetSceneParameters().shrink4D;
    const bool white = CellsDrawnWhite(drawer);
    const Cell4D* selectedCell = GetSelection4D().mCell;

    PrepareFacePlanes(false);
    MarkShownCells(view, true);
    const double m = Calc4DProjectionScale(view.radius) * scale;
    EnsureIndices(Element4D::kFaceKind);
    EnsureIndices(Element4D::kCellKind);

    if (shrink == 1.0)
    {
        // Faces mode: a face shared by shown cells is drawn once, its colour and opacity mixed.
        const bool nameFaces = (view.pickMask & (kPick4DCells | kPick4DFaceSides)) != 0;
        std::vector<Vec3D> points;
        for (Face4D* face = static_cast<Face4D*>(mFirstFace); face; face = NextOf(face))
        {
            const FacePlane4D& plane = face->mPlane;
            if (plane.mNumIndices < 3 || (face->mFlags & Element4D::kHidden))
                continue;
            double weight = 0.0, transmission = 1.0;
            double sum[3] = {0.0, 0.0, 0.0};
            for (int i = 0; i < face->mNumCells; ++i)
            {
                const Cell4D* cell = face->mCells[i];
                if (CellLeftOut(cell))
                    continue;
                const double a = cell->mOpacity;
                float c[3] = {1.0f, 1.0f, 1.0f};
                if (cell != selectedCell)
                    UnpackColor4D(cell->mColor, c);
                for (int k = 0; k < 3; ++k)
                    sum[k] += a * c[k];
                weight += a;
                transmission *= 1.0 - a;
            }
            if (weight == 0.0)
                continue;
            float rgba[4] = {1.0f, 1.0f, 1.0f, float(1.0 - transmission)};
            if (!white)
                for (int k = 0; k < 3; ++k)
                    rgba[k] = float(sum[k] / weight);
            points.resize(plane.mPoints.size());
            for (size_t i = 0; i < plane.mPoints.size(); ++i)
                Project4DPoint(view, points[i], plane.mPoints[i], m, this);
            const int32_t* idx = plane.mIndices.get();
            const Vec3D normal = TriangleNormal(points[size_t(idx[0])], points[size_t(idx[1])], points[size_t(idx[2])]);
            if (nameFaces)
                drawer.SetGLSelectionItem(ItemType4D(this, 10), face->mIndex);
            for (int t = 0; t + 2 < plane.mNumIndices; t += 3)
            {
                const Vec3D corners[3] = {points[size_t(idx[t])], points[size_t(idx[t + 1])], points[size_t(idx[t + 2])]};
                drawer.AddTriangle(corners, normal, rgba, nameFaces ? kTriangleDrawNow : 0, 1.0, nullptr, nullptr,
                                   nullptr);
            }
        }
        if (nameFaces)
            drawer.ClearGLSelectionItem();
    }
    else if (shrink != 0.0)
    {
        const bool nameCells = (view.pickMask & kPick4DCells) != 0;
        for (Cell4D* cell = static_cast<Cell4D*>(mFirstCell); cell; cell = NextOf(cell))
        {
            if (CellLeftOut(cell))
                continue;
            if (nameCells)
                drawer.SetGLSelectionItem(ItemType4D(this, 8), cell->mIndex);
            DrawCell(cell, m, nameCells, false, nullptr);
        }
        if (nameCells)
            drawer.ClearGLSelectionItem();
    }

    // Vertices and edges; a pick that wants them names them even while they are not shown.
    const bool pickVerts = (view.pickMask & kPick4DVerts) != 0;
    const bool pickEdges = (view.pickMask & kPick4DEdgeLines) != 0;
    // Spheres and rods are the pane's to draw, out of a pick.
    const bool showVerts = (options.mShowVerts && !DrawSpheresAtVerts()) || pickVerts;
    const bool showEdges = (options.mShowEdges && !DrawCylindersAtEdges()) || pickEdges;
    if (showVerts || showEdges)
    {
        EnsureIndices(Element4D::kVertKind);
        EnsureIndices(Element4D::kEdgeKind);
        const bool lighting = drawer.SetLighting(false);
        if (showEdges)
        {
            const Edge4D* selectedEdge = GetSelection4D().mEdge;
            const float width = drawer.SetLineWidth(1.0f);
            std::vector<Vec3D> ends;
            std::vector<float> colors;
            for (Edge4D* edge = static_cast<Edge4D*>(mFirstEdge); edge; edge = NextOf(edge))
            {
                if (Edge4D::IsHidden(edge))
                    continue;
                Vec3D p[2];
                Project4DPoint(view, p[0], edge->mVerts[0]->mPos, m, this);
                Project4DPoint(view, p[1], edge->mVerts[1]->mPos, m, this);
                float c[4] = {0.0f, 0.0f, 0.0f, 1.0f};
                UnpackColor4D(Edge4D::GetColor(edge), c);
                if (pickEdges || edge == selectedEdge)
                {
                    // Each alone: a name each while picking, a wider line for the selected one.
                    if (pickEdges)
                        drawer.SetGLSelectionItem(ItemType4D(this, 21), edge->mIndex);
                    if (edge == selectedEdge)
                        drawer.SetLineWidth(3.0f);
                    drawer.DrawLines(p, c, 1);
                    if (edge == selectedEdge)
                        drawer.SetLineWidth(1.0f);
                    continue;
                }
                ends.insert(ends.end(), {p[0], p[1]});
                colors.insert(colors.end(), c, c + 4);
            }
            if (pickEdges)
                drawer.ClearGLSelectionItem();
            if (!ends.empty())
                drawer.DrawLines(ends.data(), colors.data(), int(ends.size() / 2));
            drawer.SetLineWidth(width);
        }
        if (showVerts)
        {
            std::vector<Vec3D> points;
            std::vector<float> colors;
            for (Vert4D* vert = static_cast<Vert4D*>(mFirstVert); vert; vert = NextOf(vert))
            {
                if (Vert4D::IsHidden(vert))
                    continue;
                Vec3D p;
                Project4DPoint(view, p, vert->mPos, m, this);
                float c[4] = {0.0f, 0.0f, 0.0f, 1.0f};
                UnpackColor4D(Vert4D::GetColor(vert), c);
                if (pickVerts)
                {
                    drawer.SetGLSelectionItem(ItemType4D(this, 30), vert->mIndex);
                    drawer.DrawPoints(&p, c, 1, options.mVertSize);
                    continue;
                }
                points.push_back(p);
                colors.insert(colors.end(), c, c + 4);
            }
            if (pickVerts)
                drawer.ClearGLSelectionItem();
            if (!points.empty())
                drawer.DrawPoints(points.data(), colors.data(), int(points.size()), options.mVertSize);
        }
        drawer.SetLighting(lighting);
    }

    // Labels (none while picking: they would only crowd the hits).
    const int labels = options.mDiagnosticLabelFlags;
    if (view.pickMask)
        return;
    char text[64];
    if (labels & (kDiagnosticVertexNumbers | kDiagnosticVertexTypeNumbers))
    {
        EnsureIndices(Element4D::kVertKind);
        const bool lighting = drawer.SetLighting(false);
        drawer.SetColor3f(1.0f, 1.0f, 1.0f);
        const bool anyCell = !options.mShowVerts && !options.mShowEdges;
        for (Vert4D* vert = static_cast<Vert4D*>(mFirstVert); vert; vert = NextOf(vert))
        {
            if (anyCell)
            {
                bool kept = false;
                for (int i = 0; i < vert->mNumCells && !kept; ++i)
                    kept = vert->mCells[i] && !(vert->mCells[i]->mFlags & Element4D::kHidden);
                if (!kept)
                    continue;
            }
            const int number = (labels & kDiagnosticVertexTypeNumbers) ? TypeNumber(mFirstVertType, vert->mType)
                                                                         : vert->mIndex + 1;
            std::snprintf(text, sizeof text, "%d", number);
            Vec3D p;
            Project4DPoint(view, p, vert->mPos, m, this);
            DrawLabel(drawer, p, text);
        }
        drawer.SetLighting(lighting);
    }
    if ((labels & (kDiagnosticFaceNumbers | kDiagnosticFaceTypeNumbers)) && shrink != 0.0)
    {
        const bool types = (labels & kDiagnosticFaceTypeNumbers) != 0;
        const auto cellNumber = [&](const Cell4D* cell) {
            return types ? TypeNumber(mFirstCellType, cell->mType) : cell->mIndex + 1;
        };
        const auto faceNumber = [&](const Face4D* face) {
            return types ? TypeNumber(mFirstFaceType, face->mType) : face->mIndex + 1;
        };
        const bool lighting = drawer.SetLighting(false);
        drawer.SetColor3f(1.0f, 1.0f, 1.0f);
        if (shrink == 1.0)
        {
            for (Face4D* face = static_cast<Face4D*>(mFirstFace); face; face = NextOf(face))
            {
                if (face->mFlags & Element4D::kHidden)
                    continue;
                std::string label;
                for (int i = 0; i < face->mNumCells; ++i)
                {
                    const Cell4D* cell = face->mCells[i];
                    if (!cell || (cell->mFlags & Element4D::kHidden))
                        continue;
                    if (!label.empty())
                        label += ",";
                    label += std::to_string(cellNumber(cell));
                }
                label += "-" + std::to_string(faceNumber(face));
                Vec4D centre;
                face->GetCentre(centre);
                Vec3D p;
                Project4DPoint(view, p, centre, m, this);
                DrawLabel(drawer, p, label.c_str());
            }
        }
        else
        {
            for (Cell4D* cell = static_cast<Cell4D*>(mFirstCell); cell; cell = NextOf(cell))
            {
                if (cell->mFlags & Element4D::kHidden)
                    continue;
                Vec4D shrinkCentre;
                GetCellCentre3D(shrinkCentre, cell, m, view);
                for (int i = 0; i < cell->mNumFaces; ++i)
                {
                    const Face4D* face = cell->mFaces[i];
                    if (!face)
                        continue;
                    std::snprintf(text, sizeof text, "%d-%d", cellNumber(cell), faceNumber(face));
                    Vec4D centre;
                    face->GetCentre(centre);
                    Vec3D p;
                    Project4DPointScaled(view, p, centre, m, shrinkCentre, this);
                    DrawLabel(drawer, p, text);
                }
            }
        }
        drawer.SetLighting(lighting);
    }
}

void Polytope4D::DrawCell(Cell4D* cell, double m, bool overlay, bool noFaceNames, Face4D* face)
{
    if (!cell || ((cell->mFlags & Element4D::kHidden) && !face))
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    const bool white = CellsDrawnWhite(drawer);
    const Selection4D& selection = GetSelection4D();
    PrepareFacePlanes(false);

    Vec4D centre;
    GetCellCentre3D(centre, cell, m, view);

    float rgba[4] = {1.0f, 1.0f, 1.0f, overlay ? kOverlayOpacity4D : cell->mOpacity};
    bool restoreLights = false;
    bool lightsArgument = false;
    if (cell == selection.mCell)
    {
        lightsArgument = true;
        restoreLights = drawer.UseDefaultLights(true);
    }
    else if (face && face == selection.mFace)
        restoreLights = drawer.UseDefaultLights(false);
    else if (!white)
        UnpackColor4D(cell->mColor, rgba);

    const bool nameFaces = (view.pickMask & kPick4DFaceSides) != 0 && !noFaceNames;
    std::vector<Vec3D> points;
    for (int i = 0; i < cell->mNumFaces; ++i)
    {
        Face4D* f = cell->mFaces[i];
        if (!f || (face && f != face))
            continue;
        const FacePlane4D& plane = f->mPlane;
        if (plane.mNumIndices < 3)
            continue;
        if (nameFaces)
            drawer.SetGLSelectionItem(ItemType4D(this, 12), f->GetItemNumber(cell));
        float faceRgba[4] = {rgba[0], rgba[1], rgba[2], rgba[3]};
        if (f == selection.mFace && !CellsDrawnWhite(drawer))
            faceRgba[0] = faceRgba[1] = faceRgba[2] = 1.0f;
        points.resize(plane.mPoints.size());
        for (size_t k = 0; k < plane.mPoints.size(); ++k)
            Project4DPointScaled(view, points[k], plane.mPoints[k], m, centre, this);
        const int32_t* idx = plane.mIndices.get();
        const Vec3D normal = TriangleNormal(points[size_t(idx[0])], points[size_t(idx[1])], points[size_t(idx[2])]);
        for (int t = 0; t + 2 < plane.mNumIndices; t += 3)
        {
            const Vec3D corners[3] = {points[size_t(idx[t])], points[size_t(idx[t + 1])], points[size_t(idx[t + 2])]};
            drawer.AddTriangle(corners, normal, faceRgba, overlay ? kTriangleDrawNow : 0, 1.0, nullptr, nullptr, nullptr);
        }
    }
    if (restoreLights)
        drawer.UseRainbowLights(lightsArgument);
}
