#include "polytope4d/Projection4D.h"

#include "kernel/SceneParameters.h"
#include "kernel/Tolerance.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Polytope4DOptions.h"

#include <algorithm>
#include <cmath>

namespace
{
double gEyeDistance = 1.1;
bool gAutoProjection = true;

constexpr double kMinFieldOfView = 0.1;
constexpr double kMaxFieldOfView = 178.0;

double SizeOf(const Polytope4D* polytope)
{
    return polytope ? polytope->mScale : 1.0;
}
}  // namespace

double GetEyeDistance4D()
{
    return gEyeDistance;
}

void SetEyeDistance4D(double distance)
{
    gEyeDistance = distance;
}

double GetFieldOfView4D()
{
    if (gEyeDistance <= 1.0)
        return 180.0;
    return 2.0 * std::asin(1.0 / gEyeDistance) * 180.0 / kPi;
}

void DragEyeDistance4D(double dragLength)
{
    double d = std::pow(1.008, dragLength) * (gEyeDistance - 1.0) + 1.0;
    const double fov = d > 1.0 ? 2.0 * std::asin(1.0 / d) * 180.0 / kPi : 180.0;
    const double kept = std::clamp(fov, kMinFieldOfView, kMaxFieldOfView);
    if (kept != fov)
        d = 1.0 / std::sin(kept / 2.0 * kPi / 180.0);
    gEyeDistance = d;
}

bool GetAutoProjection4D()
{
    return gAutoProjection;
}

void SetAutoProjection4D(bool on)
{
    gAutoProjection = on;
}

double Calc4DProjectionScale(double viewRadius)
{
    const double d = gEyeDistance;
    if (std::fabs(d) < kTol)
        return 1.0;
    return viewRadius * std::sqrt(std::fabs(d * d - 1.0));
}

double Project4DPoint(const View4D& view, Vec3D& out, const Vec4D& p, double a, const Polytope4D* polytope)
{
    Vec4D q;
    Vec4ScaleTo(q, p, SizeOf(polytope));
    view.rotation.TransformInPlace(q);
    double factor;
    if (view.orthogonal)
        factor = a / Calc4DProjectionScale(view.radius);
    else
    {
        const double depth = view.radius * gEyeDistance - q.w;
        // A point at the eye itself has no projection: keep it finite, far out.
        factor = std::fabs(depth) < kTol ? a / kTol : a / depth;
    }
    out = Vec3D{factor * q.x, factor * q.y, factor * q.z};
    return factor;
}

double Project4DPointScaled(const View4D& view, Vec3D& out, const Vec4D& p, double a, const Vec4D& centre,
                            const Polytope4D* polytope)
{
    const double k = GetSceneParameters().shrink4D;
    if (view.orthogonal)
    {
        Vec4D shrunk;
        Vec4D d;
        Vec4Sub(d, p, centre);
        Vec4AddScaled(shrunk, centre, k, d);
        return Project4DPoint(view, out, shrunk, a, polytope);
    }
    const double factor = Project4DPoint(view, out, p, a, polytope);
    const Vec3D c{centre.x, centre.y, centre.z};
    out = Vec3D{c.x + k * (out.x - c.x), c.y + k * (out.y - c.y), c.z + k * (out.z - c.z)};
    return factor;
}

int CellFacing4D(const View4D& view, const Cell4D* cell)
{
    if (!cell || !cell->HasPlane())
        return 0;
    Vec4D w{view.rotation.At(3, 0), view.rotation.At(3, 1), view.rotation.At(3, 2), view.rotation.At(3, 3)};
    Vec4D v = w;
    if (!view.orthogonal)
    {
        Vec4Scale(v, gEyeDistance);
        Vec4Sub(v, v, cell->mCentre);
    }
    const double g = Vec4Dot(v, cell->mPlane.n);
    if (g > kTol)
        return 1;
    if (g < -kTol)
        return -1;
    return 0;
}

bool IsCellShown4D(const View4D& view, const Cell4D* cell, bool edgeOnAnswer)
{
    const int mode = GetCellHidingMode4D();
    if (mode == kCellHidingNone && edgeOnAnswer)
        return true;
    const int facing = CellFacing4D(view, cell);
    if (facing == 0)
        return edgeOnAnswer;
    if (mode == kCellHidingBack && facing < 0)
        return false;
    if (mode == kCellHidingFront && facing > 0)
        return false;
    return true;
}

void DirectionRotation4D(Mat4& out, const Vec4D& d)
{
    const int a = Vec4MinAxis(d);
    const int b = Vec4MinAxisExcept(d, a);
    Vec4D ea{0, 0, 0, 0}, eb{0, 0, 0, 0};
    ea[a] = 1.0;
    eb[b] = 1.0;
    Vec4D u, v, t;
    Vec4Cross(u, d, ea, eb);
    Vec4Div(u, Vec4Length(u));
    Vec4Cross(v, d, ea, u);
    Vec4Div(v, Vec4Length(v));
    Vec4Cross(t, d, v, u);
    out.SetRows(u, v, t, d);
}

void CylinderOrientation4D(Vec3D& out, const Vec3D& p0, const Vec3D& p1)
{
    Vec3D d;
    Vec3Sub(d, p1, p0);
    int k = 0;
    for (int i = 1; i < 3; ++i)
        if (std::fabs(p1[i]) > std::fabs(p1[k]))
            k = i;
    bool inLine = std::fabs(p1[k]) < kTol;
    if (!inLine)
    {
        const double ratio = p0[k] / p1[k];
        inLine = true;
        for (int i = 0; i < 3; ++i)
            inLine = inLine && std::fabs(p0[i] - p1[i] * ratio) < kTol;
    }
    Vec3D u;
    if (!inLine)
    {
        Vec3D normal;
        Vec3Cross(normal, p0, p1);
        Vec3Cross(u, normal, d);
    }
    if (inLine || Vec3Length(u) < kTol)
    {
        int small = 0;
        for (int i = 1; i < 3; ++i)
            if (std::fabs(d[i]) < std::fabs(d[small]))
                small = i;
        Vec3D e{0.0, 0.0, 0.0};
        e[small] = 1.0;
        Vec3Cross(u, d, e);
    }
    const double length = Vec3Length(u);
    if (length < kTol)
    {
        out = Vec3D{1.0, 0.0, 0.0};
        return;
    }
    Vec3Scale(out, u, 1.0 / length);
}
