// How one facelet draws itself in the model, in the flat net and in the folding net.

#include "mesh/Face3D.h"

#include "kernel/RenderSettings.h"
#include "kernel/SceneDrawer.h"
#include "kernel/SceneParameters.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3DType.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "mesh/Vert3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/Poly.h"

#include <cmath>
#include <cstdio>
#include <string>

namespace
{
bool gHighlighting = false;

// Labels on nets, in the panes' text colour.
constexpr ColorRGB kLabelColor{1.0f, 1.0f, 0.7f};

Vec3D NetPoint(const Edge3D& e)
{
    return Vec3D{e.mNetPos.x, e.mNetPos.y, 0.0};
}

Vec3D Scaled(const Vec3D& p, double s)
{
    Vec3D q;
    Vec3Scale(q, p, s);
    return q;
}

int VertIndex(const Model3D* model, const Vert3D* v)
{
    return model && v ? int(v - model->mVerts.get()) : -1;
}

bool IsHiddenElement(const FaceVert* element)
{
    return element && (element->mFlags & FaceVert::kHidden);
}

void DrawOneLine(SceneDrawer& drawer, const Vec3D& a, const Vec3D& b, const ColorRGB& color)
{
    const Vec3D ends[2] = {a, b};
    const float rgba[4] = {color.r, color.g, color.b, 1.0f};
    drawer.DrawLines(ends, rgba, 1);
}
}  // namespace

bool SetFaceletHighlight(bool on)
{
    const bool previous = gHighlighting;
    gHighlighting = on;
    return previous;
}

double FaceAngleAt(const Vec2D& q0, const Vec2D& q1, const Vec2D& q2)
{
    double ax = q1.x - q0.x, ay = q1.y - q0.y, bx = q2.x - q1.x, by = q2.y - q1.y;
    const double la = std::hypot(ax, ay), lb = std::hypot(bx, by);
    if (la < kTol || lb < kTol)
        return 0.0;
    ax /= la;
    ay /= la;
    bx /= lb;
    by /= lb;
    return kPi - CcwAngle2D(ax, ay, bx, by);
}

bool Face3D::IsSelected() const
{
    const Model3D* model = mType ? mType->mModel : nullptr;
    if (!model)
        return false;
    if (model->mSelectedFace)
        return model->mSelectedFace == this;
    const Poly* poly = model->mPoly;
    if (!poly || !mElement || !poly->mSelectedFace)
        return false;
    if (mFlags & kFace3DWholeFace)
        return mElement == poly->mSelectedFace;
    return mElement == poly->mSelectedFace || poly->IsInSelectedFaceRing(mElement);
}

void Face3D::Draw(int mode, const Vec3D& offset, double scale, const Face3D* representative) const
{
    const Face3D* s = representative ? representative : this;
    if (mode != kFaceDrawNet && IsHiddenElement(mElement))
        return;
    // The kit's panels come from the kit renderer; no other facelet shows in the kit style.
    if (IsKitStyle())
        return;
    SceneDrawer& drawer = CurrentSceneDrawer();
    const ColorRGB color = s->GetColor();
    float rgba[4] = {color.r, color.g, color.b, (mode == kFaceDrawNet || !s->mElement) ? 1.0f : s->GetOpacity()};
    bool lighting = true;
    const bool highlight = gHighlighting && s->IsSelected();
    if (highlight)
    {
        lighting = drawer.SetLighting(false);
        rgba[0] = rgba[1] = rgba[2] = 1.0f;
        rgba[3] = 0.5f;
    }
    if (drawer.IsPicking())
        drawer.SetGLSelectionItem(7, GetIndex(s));

    Vec3D normal{0, 0, 1};
    if (mode == kFaceDrawModel)
        normal = GetNormal();
    else if (mode == kFaceDrawFolded)
        normal = mFoldedNormal;
    const std::vector<int32_t>& tris = mType->mTriIndices;
    for (size_t t = 0; t + 2 < tris.size(); t += 3)
    {
        Vec3D corners[3];
        bool complete = true;
        for (int c = 0; c < 3; ++c)
        {
            const int index = tris[t + size_t(c)];
            if (index < 0 || index >= mType->mNumSides)
            {
                complete = false;
                break;
            }
            const Edge3D& e = mEdges[size_t(index)];
            if (mode == kFaceDrawNet)
                corners[c] = NetPoint(e);
            else if (mode == kFaceDrawFolded)
                corners[c] = e.mFoldedPos;
            else if (e.mVert)
                Vec3Add(corners[c], e.mVert->mPos, offset);
            else
                complete = false;
        }
        if (complete)
            drawer.AddTriangle(corners, normal, rgba, 0, scale, nullptr, nullptr, nullptr);
    }
    if (highlight)
        drawer.SetLighting(lighting);
    if (drawer.IsPicking())
        drawer.ClearGLSelectionItem();
}

void Face3D::DrawEdgesAndVerts(int mode, Model3D* model, double scale)
{
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool cutMode = GetMouseMode() == kMouseModeCutEdges;
    const bool flat = GetSceneParameters().foldRatio == 0.0;
    const bool picking = drawer.IsPicking();
    const bool showEdges = options.mShowEdges || options.mShowStelEdges || cutMode || picking || flat;
    const bool showVerts = options.mShowVerts || options.mShowStelVerts;
    // Rods and balls are the kit renderer's.
    if ((options.mSpheresAndCylinders && !cutMode && (mode != kFaceDrawNet || IsKitStyle())) || IsKitStyle())
        return;
    const float width = GetRenderSettings().edgeWidth * drawer.LineScale();
    const bool lighting = drawer.SetLighting(false);
    const auto at = [&](const Edge3D& e) { return mode == kFaceDrawNet ? NetPoint(e) : Scaled(e.mFoldedPos, scale); };
    if (showEdges)
    {
        const float oldWidth = drawer.SetLineWidth(width);
        for (int k = 0; k < mType->mNumSides; ++k)
        {
            const Edge3D& q = mEdges[size_t(k)];
            const Edge3D* r = q.GetNext();
            if (!r)
                continue;
            if (cutMode && !picking && !flat && !(q.mFlags & (kEdge3DCannotJoin | kEdge3DUserCut)))
                continue;
            if (picking)
                drawer.SetGLSelectionItem(23, Edge3D::GetRunningIndex(&q));
            else
            {
                drawer.SetLineStipple(q.IsConvex() ? 0 : 0x0F0F);
                drawer.SetLineWidth(cutMode && (q.mFlags & kEdge3DUserCut) ? 3.0f * width : width);
            }
            Vec3D a = at(q), b = at(*r);
            if (VertIndex(model, r->mVert) < VertIndex(model, q.mVert))
                std::swap(a, b);
            DrawOneLine(drawer, a, b, options.mDefaultEdgeColor);
        }
        drawer.SetLineStipple(0);
        drawer.SetLineWidth(oldWidth);
        if (picking)
            drawer.ClearGLSelectionItem();
    }
    if (showVerts)
    {
        const float oldSize = drawer.SetPointSize(options.mVertSize * drawer.PointScale());
        const ColorRGB& c = options.mDefaultVertColor;
        drawer.SetColor3f(c.r, c.g, c.b);
        for (int k = 0; k < mType->mNumSides; ++k)
        {
            const Edge3D& q = mEdges[size_t(k)];
            if (picking)
                drawer.SetGLSelectionItem(32, VertIndex(model, q.mVert));
            const Vec3D p = at(q);
            drawer.DrawPoints(&p, 1);
        }
        if (picking)
            drawer.ClearGLSelectionItem();
        drawer.SetPointSize(oldSize);
    }
    drawer.SetLighting(lighting);
}

void Face3D::DrawFoldedExtras(Model3D* model)
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lighting = drawer.SetLighting(false);
    const double scale = model && model->mPoly ? model->mPoly->mDisplayScale : 1.0;
    drawer.SetColor3f(kLabelColor.r, kLabelColor.g, kLabelColor.b);
    char text[64];
    const int diagnostic = GetDiagnosticLabelFlags();
    if (diagnostic & kDiagnosticFaceletGroup)
    {
        const int number = (diagnostic & kDiagnosticFaceletNumbers) ? GetIndex(this) : Face3DType::GetIndex(mType);
        std::snprintf(text, sizeof text, "%d", number);
        drawer.DrawRasterText(text, Scaled(GetFoldedCentroid(), scale));
    }
    const UnitSettings& units = GetUnitSettings();
    if (units.mNetEdgeData)
    {
        std::string label;
        for (int k = 0; k < mType->mNumSides; ++k)
        {
            const Edge3D& e = mEdges[size_t(k)];
            const Edge3D* p = e.GetPrev();
            const Edge3D* next = e.GetNext();
            if (!p || !next)
                continue;
            if (p->GetLabel(label))
            {
                Vec3D mid;
                Vec3Midpoint(mid, p->mFoldedPos, e.mFoldedPos);
                drawer.DrawRasterText(label.c_str(), Scaled(mid, scale));
            }
            if (units.mNetEdgeData & kNetFaceAngles)
            {
                units.FormatAngle(text, sizeof text, FaceAngleAt(p->mNetPos, e.mNetPos, next->mNetPos), "\xC2\xB0");
                Vec3D d1, d0, at;
                Vec3Sub(d1, next->mFoldedPos, e.mFoldedPos);
                Vec3Sub(d0, e.mFoldedPos, p->mFoldedPos);
                Vec3Sub(d1, d1, d0);
                Vec3AddScaled(at, e.mFoldedPos, 0.1, d1);
                drawer.DrawRasterText(text, Scaled(at, scale));
            }
        }
    }
    const ElementDisplayOptions& options = GetElementDisplayOptions();
    if (!(options.mSpheresAndCylinders && GetMouseMode() != kMouseModeCutEdges && !drawer.IsPicking()))
        DrawEdgesAndVerts(kFaceDrawFolded, model, scale);
    drawer.SetLighting(lighting);
}

int Face3D::SphereCircle(double radius, Vec3D& centre, double& circleRadius) const
{
    if (!mElement || radius <= 0.0)
        return 0;
    const double d = Vec3Length(mElement->mCentroid);
    if (radius * radius - kTol < d * d)
        return 0;
    centre = mElement->mCentroid;
    circleRadius = std::sqrt(std::max(0.0, radius * radius - d * d));
    return 1;
}
