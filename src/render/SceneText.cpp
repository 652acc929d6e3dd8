#include "render/SceneText.h"

#include "kernel/RenderSettings.h"
#include "render/FontCache.h"
#include "render/GLFont.h"
#include "render/OpenGLView.h"

#include <GL/gl.h>

#include <cmath>

namespace
{
constexpr double kParallelTol = 1e-5;
constexpr double kPi = 3.14159265358979323846;

Vec3D Normalized(Vec3D v)
{
    Vec3Normalize(v);
    return v;
}

Vec3D Cross(const Vec3D& a, const Vec3D& b)
{
    Vec3D out;
    Vec3Cross(out, a, b);
    return out;
}

Vec3D Negated(const Vec3D& a)
{
    Vec3D out;
    Vec3Neg(out, a);
    return out;
}
}  // namespace

void AnyPerpendicular(Vec3D& out, const Vec3D& a, double tol)
{
    Vec3D e;
    e[Vec3MinAxisTol(a, tol)] = 1.0;
    Vec3Cross(out, a, e);
}

void PerpendicularOf(Vec3D& out, const Vec3D& a, const Vec3D& b, double tol)
{
    if (Vec3Parallel(a, b, tol))
        AnyPerpendicular(out, a, tol);
    else
        Vec3Cross(out, a, b);
}

SceneTextFrame PlaceSceneText(uint32_t word, const double box[4], const Vec3D& m, const Vec3D& l, const Vec3D* q,
                              const Vec3D* r)
{
    const double x0 = box[0], y0 = box[1], x1 = box[2], y1 = box[3];
    int mode = TextPlacementMode(word);
    if (mode == int(kTextScreenAlign))
    {
        mode = int(kTextFlat);
        q = r = nullptr;
    }
    SceneTextFrame f;
    Vec3D t;
    // The text faces the eye, its x axis across the view's up vector.
    auto facingEye = [&] {
        f.n = Normalized(l);
        PerpendicularOf(t, m, f.n, kParallelTol);
        f.u = Normalized(t);
        f.v = Cross(f.n, f.u);
    };
    switch (mode)
    {
    case int(kTextExtend):
        f.ox = x0;
        f.oy = (y0 + y1) / 2.0;
        if (q)
        {
            f.u = *q;
            if (r)
            {
                f.n = *r;
                f.v = Cross(f.n, f.u);
            }
            else
            {
                PerpendicularOf(t, l, f.u, kParallelTol);
                f.v = Normalized(t);
                f.n = Cross(f.u, f.v);
            }
        }
        else
            facingEye();
        break;
    case int(kTextSitOn):
        f.ox = (x0 + x1) / 2.0;
        f.oy = y0;
        if (q)
        {
            f.v = *q;
            if (r)
                f.u = *r;
            else
            {
                PerpendicularOf(t, f.v, l, kParallelTol);
                f.u = Normalized(t);
            }
            f.n = Cross(f.u, f.v);
        }
        else
        {
            f.n = Normalized(l);
            if (Vec3Parallel(m, f.n, kParallelTol))
                AnyPerpendicular(t, m, kParallelTol);
            else
                Vec3Cross(t, m, f.n);
            f.u = Normalized(t);
            f.v = Cross(f.n, f.u);
        }
        break;
    default:  // flat
        f.ox = (x0 + x1) / 2.0;
        f.oy = (y0 + y1) / 2.0;
        if (q)
        {
            f.n = *q;
            if (r && !(word & kTextKeepUpright))
            {
                f.u = *r;
                f.v = Cross(f.n, f.u);
            }
            else
            {
                PerpendicularOf(t, m, f.n, kParallelTol);
                f.u = Normalized(t);
                f.v = Cross(f.n, f.u);
            }
        }
        else
            facingEye();
        break;
    }
    if ((word & kTextKeepUpright) && Vec3Dot(f.v, m) < 0.0)
    {
        f.u = Negated(f.u);
        f.v = Negated(f.v);
        f.ox = x0 + x1 - f.ox;
        f.oy = y0 + y1 - f.oy;
    }
    if ((word & kTextKeepForward) && Vec3Dot(f.n, l) < 0.0)
    {
        f.u = Negated(f.u);
        f.n = Negated(f.n);
        f.ox = x0 + x1 - f.ox;
    }
    return f;
}

void DrawSceneText(OpenGLView& view, uint32_t word, const Vec3D& anchor, double scale, float width, const char* text,
                   int flags, const Vec3D* q, const Vec3D* r)
{
    if (!text || !*text)
        return;
    GLFont* font = GetSceneFont();
    if (!font)
        return;
    float bbMin[2] = {3.4e38f, 3.4e38f}, bbMax[2] = {-3.4e38f, -3.4e38f};
    DrawHtmlAt(*font, 0.0, 0.0, 0.0, float(scale), width, text, flags | kRunMeasureOnly, bbMin, bbMax, -1, 0);
    if (bbMin[0] > bbMax[0])
        return;
    const double box[4] = {bbMin[0], bbMin[1], bbMax[0], bbMax[1]};

    Vec3D m, l;
    const bool is3D = view.Is3D();
    if (is3D)
    {
        m = view.GetUp();
        if (view.IsOrthogonal())
            l = view.GetBackward();
        else
            Vec3Sub(l, view.GetCurrentEyePosition(), anchor);
    }
    else
    {
        const double a = -view.Get2DAngle() * kPi / 180.0;
        m = Vec3D{-std::sin(a), std::cos(a), 0.0};
        l = Vec3D{0.0, 0.0, 1.0};
    }
    const SceneTextFrame f = PlaceSceneText(word, box, m, l, q, r);

    const double lengthL = Vec3Length(l);
    double lift = GetTextOffset();
    double liftFraction = lift;
    if (GetTextOffsetMode() == 1)
        liftFraction = lengthL > 0.0 ? lift / lengthL : 0.0;
    glPushMatrix();
    if (is3D)
        glTranslated(l.x * liftFraction, l.y * liftFraction, l.z * liftFraction);
    const double frame[16] = {f.u.x, f.u.y, f.u.z, 0.0, f.v.x, f.v.y, f.v.z, 0.0,
                              f.n.x, f.n.y, f.n.z, 0.0, anchor.x, anchor.y, anchor.z, 1.0};
    glMultMatrixd(frame);

    const double height = std::max(1, view.GetHeight());
    const bool keepSize = (word & kTextKeepSize) != 0;
    double k = 1.0;
    if (!is3D)
    {
        if (keepSize)
            k = 0.7 / std::max(1e-9, double(view.Get2DZoom())) / height * 800.0;
    }
    else if (view.IsOrthogonal())
    {
        if (keepSize)
            k = view.GetHalfHeight() / height * 800.0;
    }
    else
    {
        const double shrink = 1.0 - liftFraction;
        k = shrink;
        if (keepSize)
        {
            Vec3D eye = view.GetCurrentEyePosition();
            Vec3Normalize(eye);
            k = std::tan(view.GetVerticalFOV() * kPi / 360.0) * Vec3Dot(eye, l) / height * shrink * 800.0;
        }
    }
    glScaled(k, k, k);
    glTranslated(-f.ox, -f.oy, 0.0);
    DrawHtmlAt(*font, 0.0, 0.0, 0.0, float(scale), width, text, flags, nullptr, nullptr, -1, 0);
    glPopMatrix();
}
