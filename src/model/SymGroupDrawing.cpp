#include "kernel/SceneDrawer.h"
#include "kernel/SineTable.h"
#include "kernel/Tolerance.h"
#include "model/SymGroup.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
// Picking names the axes with this item type and their running index (SymGroup::GetAxis).
constexpr int kAxisSelectionItem = 24;
constexpr double kAxisLength = 1.2;        // of the view radius
constexpr double kMarkerRadius = 0.05;     // of the view radius
constexpr double kMirrorNormalLength = 1.3;
constexpr double kMirrorRadius = 1.005;
constexpr int kMirrorCircleSegments = 120;
constexpr double kStretchTol = 1e-6;

// Collects one batch of coloured segments.
struct LineBatch
{
    std::vector<Vec3D> ends;
    std::vector<float> rgba;
    float color[4] = {1, 1, 1, 1};

    void Add(const Vec3D& from, const Vec3D& to)
    {
        ends.push_back(from);
        ends.push_back(to);
        rgba.insert(rgba.end(), color, color + 4);
    }
    void Draw(SceneDrawer& drawer) const
    {
        if (!ends.empty())
            drawer.DrawLines(ends.data(), rgba.data(), int(ends.size() / 2));
    }
};

// n spokes from the axis end and a circle of n*m segments about it, perpendicular to the axis.
void AddMarker(LineBatch& batch, const Vec3D& end, const SymAxis& axis, int n, int m, double radius)
{
    const int count = n * m;
    Vec3D w;
    Vec3Cross(w, axis.mDir, axis.mRef);
    std::vector<Vec3D> points(size_t(count) + 1);
    for (int j = 0; j <= count; ++j)
    {
        double s, c;
        SineTable::SinCos(j, count, s, c);
        Vec3D& p = points[size_t(j)];
        Vec3AddScaled(p, end, radius * c, axis.mRef);
        Vec3AddScaledTo(p, radius * s, w);
    }
    for (int spoke = 0; spoke < n; ++spoke)
    {
        batch.Add(end, points[size_t(spoke * m)]);
        for (int t = 0; t < m; ++t)
            batch.Add(points[size_t(spoke * m + t)], points[size_t(spoke * m + t + 1)]);
    }
}

}  // namespace

void SymGroup::GetAxisColor(int set, float rgb[3])
{
    static const float kColors[3][3] = {{1, 1, 0}, {0, 1, 1}, {1, 0, 1}};
    const float* c = kColors[set == 0 ? 0 : set == 1 ? 1 : 2];
    rgb[0] = c[0];
    rgb[1] = c[1];
    rgb[2] = c[2];
}

void SymGroup::SetAxisColor(int set)
{
    float rgb[3];
    GetAxisColor(set, rgb);
    CurrentSceneDrawer().SetColor3fv(rgb);
}

void SymGroup::DrawAxes(const Vec3D* d, double scale) const
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lit = drawer.SetLighting(false);
    const double length = drawer.GetViewRadius(1) * scale;
    const bool picking = drawer.IsPicking();
    const SymAxis* selected = SelectedAxis();
    int k = 0;
    for (int c = 0; c < mNumAxisSets; ++c)
    {
        const SymAxisSet& set = mAxisSets[c];
        SetAxisColor(c);
        float rgb[3];
        GetAxisColor(c, rgb);
        const int n = set.mOrder > 0 ? int(set.mOrder) : 1;
        const int m = 14 / n + 1;
        for (int i = 0; i < set.mNumAxes; ++i, ++k)
        {
            const SymAxis& axis = set.mAxes[i];
            if (picking)
                drawer.SetGLSelectionItem(kAxisSelectionItem, k);
            const bool highlighted = &axis == selected;
            float width = 0.0f;
            LineBatch batch;
            if (highlighted)
            {
                // Reading the view's width means setting one; the second call sets the one wanted.
                width = drawer.SetLineWidth(1.0f);
                drawer.SetLineWidth(width + 2.0f);
                drawer.SetColor3f(1, 1, 1);
            }
            else
            {
                batch.color[0] = rgb[0];
                batch.color[1] = rgb[1];
                batch.color[2] = rgb[2];
            }

            Vec3D end, p, q;
            Vec3Scale(end, axis.mDir, kAxisLength * length);
            p = end;
            if (!set.mOneSided)
                Vec3Neg(q, end);
            if (d)
            {
                // Reach the plane at distance 1 along d when the axis ends short of it.
                const double t = Vec3Dot(p, *d);
                if (kStretchTol < t && t < 1.0)
                    Vec3Div(p, p, t);
                else if (-1.0 < t && t < -kStretchTol)
                    Vec3Div(q, q, -t);
            }
            batch.Add(p, q);

            const double radius = kMarkerRadius * length;
            AddMarker(batch, end, axis, n, m, radius);
            if (!set.mOneSided)
            {
                Vec3D far;
                Vec3Neg(far, end);
                AddMarker(batch, far, axis, n, m, radius);
            }
            batch.Draw(drawer);

            if (highlighted)
            {
                drawer.SetLineWidth(width);
                SetAxisColor(c);
            }
        }
    }
    if (picking)
        drawer.ClearGLSelectionItem();
    drawer.SetLighting(lit);
}

void SymGroup::DrawMirrorNormals(double scale) const
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lit = drawer.SetLighting(false);
    drawer.SetColor3f(1, 1, 0);
    const double r = kMirrorNormalLength * drawer.GetViewRadius(1) * scale;
    LineBatch batch;
    batch.color[2] = 0.0f;
    for (const SymAxis& mirror : mMirrors)
    {
        Vec3D a, b;
        Vec3Scale(a, mirror.mDir, r);
        Vec3Neg(b, a);
        batch.Add(a, b);
    }
    batch.Draw(drawer);
    drawer.SetLighting(lit);
}

void SymGroup::DrawMirrors(double scale) const
{
    SceneDrawer& drawer = CurrentSceneDrawer();
    const bool lit = drawer.SetLighting(false);
    const double r = kMirrorRadius * drawer.GetViewRadius(1) * scale;
    const float color[4] = {0.7f, 1.0f, 0.7f, 1.0f};
    drawer.SetColor3f(color[0], color[1], color[2]);
    const Vec3D origin;
    for (const SymAxis& mirror : mMirrors)
        drawer.DrawCircle3D(origin, mirror.mDir, r, kMirrorCircleSegments, false, nullptr);

    if (mReflection == kRotationReflection && mNumAxisSets > 0 && mAxisSets[0].mNumAxes > 0)
        DrawRotoreflectionCircle(origin, mAxisSets[0].mAxes[0].mDir, r, MainOrder(), 0.2 * r, color);
    else if (mReflection == kCentralInversion)
    {
        // Arrows through the centre along the four cube diagonals.
        const double s = 0.15 * r;
        const Vec3D ends[4] = {{s, s, s}, {s, s, -s}, {s, -s, s}, {-s, s, s}};
        for (const Vec3D& e : ends)
        {
            Vec3D opposite;
            Vec3Neg(opposite, e);
            drawer.DrawDoubleArrow(e, opposite, 0.5 * s);
        }
    }
    drawer.SetLighting(lit);
}

void DrawRotoreflectionCircle(const Vec3D& centre, const Vec3D& axis, double radius, int n, double amplitude,
                              const float rgba[4])
{
    const int count = 20 * n > 120 ? 20 * n : 120;
    // The polygon's edges, not its corners, touch the circle of the given radius.
    const double rho = radius / std::cos(kPi / count);
    Vec3D e, u, v;
    e[Vec3MinAxis(axis)] = 1.0;
    Vec3Cross(u, axis, e);
    Vec3Normalize(u);
    Vec3Cross(v, axis, u);

    std::vector<Vec3D> points(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
    {
        double s, c, ws, wc;
        SineTable::SinCos(i, count, s, c);
        SineTable::SinCos(int((int64_t(n) * i) % count), count, ws, wc);
        Vec3D& p = points[size_t(i)];
        Vec3AddScaled(p, centre, rho * s, v);
        Vec3AddScaledTo(p, rho * c, u);
        Vec3AddScaledTo(p, amplitude * ws, axis);
    }
    LineBatch batch;
    for (int k = 0; k < 4; ++k)
        batch.color[k] = rgba[k];
    for (int i = 0; i < count; ++i)
        batch.Add(points[size_t(i)], points[size_t((i + 1) % count)]);
    batch.Draw(CurrentSceneDrawer());
}
