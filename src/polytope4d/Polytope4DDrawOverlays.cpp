#include "kernel/SceneParameters.h"
#include "model/ElementDisplayOptions.h"
#include "polytope4d/Draw4DSupport.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Projection4D.h"

#include <algorithm>
#include <vector>

namespace
{
double ProjectionScale(const View4D& view, double scale)
{
    return Calc4DProjectionScale(view.radius) * scale;
}
}  // namespace

void Polytope4D::DrawSelectedCell(double scale)
{
    Cell4D* cell = GetSelection4D().mCell;
    if (!cell || cell->mOwner != this)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    // On top of everything, half seen through.
    const int blend = drawer.SetBlendMode(1);
    const bool depthTest = drawer.SetDepthTest(false);
    DrawCell(cell, ProjectionScale(view, scale), true, true, nullptr);
    drawer.SetDepthTest(depthTest);
    drawer.SetBlendMode(blend);
}

void Polytope4D::DrawSelectedFace(double scale)
{
    Face4D* face = GetSelection4D().mFace;
    if (!face || face->mOwner != this)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    const double m = ProjectionScale(view, scale);
    const int blend = drawer.SetBlendMode(1);
    const bool depthTest = drawer.SetDepthTest(false);
    // Whole cells show the face once.
    const int count = GetSceneParameters().shrink4D == 1.0 ? std::min(face->mNumCells, 1) : face->mNumCells;
    for (int i = 0; i < count; ++i)
        DrawCell(face->mCells[i], m, true, true, face);
    drawer.SetDepthTest(depthTest);
    drawer.SetBlendMode(blend);
}

void Polytope4D::DrawSelectedEdge(double scale)
{
    Edge4D* edge = GetSelection4D().mEdge;
    if (!edge || edge->mOwner != this)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    const double m = ProjectionScale(view, scale);
    Vec3D ends[2];
    Project4DPoint(view, ends[0], edge->mVerts[0]->mPos, m, this);
    Project4DPoint(view, ends[1], edge->mVerts[1]->mPos, m, this);
    const float white[8] = {1, 1, 1, 1, 1, 1, 1, 1};
    const bool lighting = drawer.SetLighting(false);
    drawer.SetColor3f(1.0f, 1.0f, 1.0f);
    drawer.DrawPoints(ends, white, 2, GetElementDisplayOptions().mVertSize + 4.0f);
    const float width = drawer.SetLineWidth(1.0f);
    drawer.DrawLines(ends, white, 1);
    drawer.SetLineWidth(width);
    drawer.SetLighting(lighting);
}

void Polytope4D::DrawSelectedVertex(double scale)
{
    Vert4D* vert = GetSelection4D().mVert;
    if (!vert || vert->mOwner != this)
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const View4D view = CurrentView4D(drawer);
    const double m = ProjectionScale(view, scale);
    Vec3D at;
    Project4DPoint(view, at, vert->mPos, m, this);
    const bool lighting = drawer.SetLighting(false);
    drawer.SetColor3f(1.0f, 1.0f, 1.0f);
    const float white[4] = {1, 1, 1, 1};
    drawer.DrawPoints(&at, white, 1, GetElementDisplayOptions().mVertSize + 4.0f);
    // A stroke from each edge's middle to the vertex shows which way its edges go.
    std::vector<Vec3D> ends;
    std::vector<float> colors;
    for (int i = 0; i < vert->mNumEdges; ++i)
    {
        const Edge4D* edge = vert->mEdges[i];
        if (!edge)
            continue;
        Vec4D mid;
        Vec4Add(mid, edge->mVerts[0]->mPos, edge->mVerts[1]->mPos);
        Vec4Scale(mid, 0.5);
        Vec3D p;
        Project4DPoint(view, p, mid, m, this);
        ends.insert(ends.end(), {p, at});
        colors.insert(colors.end(), {1, 1, 1, 1});
    }
    const float width = drawer.SetLineWidth(3.0f);
    if (!ends.empty())
        drawer.DrawLines(ends.data(), colors.data(), int(ends.size() / 2));
    drawer.SetLineWidth(width);
    drawer.SetLighting(lighting);
}
