#include "kernel/Intersect3D.h"

#include "kernel/Intersect2D.h"
#include "kernel/Tolerance.h"

#include <cmath>

double PointLineDistance(const Vec3D& p, const Vec3D& a, const Vec3D& b, double tol)
{
    Vec3D u, v, n, m;
    Vec3Sub(u, a, p);
    Vec3Sub(v, b, a);
    Vec3Cross(n, u, v);
    if (Vec3IsZero(n, tol))
        return 0.0;
    Vec3Cross(m, n, v);
    Vec3Normalize(m);
    return std::fabs(Vec3Dot(u, m));
}

double ProjectPointOnLine(Vec3D& out, const Vec3D& p, const Vec3D& a, const Vec3D& b, double tol)
{
    Vec3D e, ap;
    Vec3Sub(e, b, a);
    if (Vec3IsZero(e, tol))
    {
        out = a;
        return 0.0;
    }
    const double len = Vec3Length(e);
    Vec3Div(e, e, len);
    Vec3Sub(ap, p, a);
    const double s = Vec3Dot(e, ap);
    Vec3AddScaled(out, a, s, e);
    return s / len;
}

void ProjectPointOnPlane(Vec3D& out, const Vec3D& p, const Plane& plane)
{
    const double dist = PlaneDistance(plane, p);
    Vec3AddScaled(out, p, -dist, plane.n);
}

namespace
{
double LineClosestParallel(Vec3D& out1, Vec3D& out2, double* params, const Vec3D& p0, const Vec3D& p1,
                           const Vec3D& q0, const Vec3D& q1, double tol)
{
    Vec3Midpoint(out1, p0, p1);
    const double t = ProjectPointOnLine(out2, out1, q0, q1, tol);
    if (params)
    {
        params[0] = 0.5;
        params[1] = t;
    }
    return Vec3Distance(out1, out2);
}

double ParamAlong(const Vec3D& x, const Vec3D& a, const Vec3D& b)
{
    const int k = Vec3MaxAxisOfDiff(a, b);
    return (x[k] - a[k]) / (b[k] - a[k]);
}
}  // namespace

double LineClosestPoints(Vec3D& out1, Vec3D& out2, double* params, const Vec3D& p0, const Vec3D& p1,
                         const Vec3D& q0, const Vec3D& q1, double tol)
{
    Vec3D u, v, n, w, qp;
    Vec3Sub(u, p1, p0);
    Vec3Sub(v, q1, q0);
    Vec3Cross(n, u, v);
    if (Vec3IsZero(n, tol))
        return LineClosestParallel(out1, out2, params, p0, p1, q0, q1, tol);

    Vec3Normalize(n);
    Vec3Cross(w, u, n);
    Vec3Normalize(w);
    Vec3Sub(qp, p0, q0);
    const double h = Vec3Dot(n, qp);

    // The second line crosses the plane through the first line that contains n. A second line
    // short against the first can still lie in that plane within tol: treat it as parallel.
    Vec3D cross;
    if (!PlaneIsectLine(cross, w, -Vec3Dot(w, p0), q0, v, tol))
        return LineClosestParallel(out1, out2, params, p0, p1, q0, q1, tol);
    out2 = cross;
    Vec3AddScaled(out1, out2, h, n);
    if (params)
    {
        params[0] = ParamAlong(out1, p0, p1);
        params[1] = ParamAlong(out2, q0, q1);
    }
    return h;
}

bool SphereCentre4Points(Vec3D& out, const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d, double tol)
{
    Vec3D u, v, w, vw, uv, wu;
    Vec3Sub(u, b, a);
    Vec3Sub(v, c, a);
    Vec3Sub(w, d, a);
    Vec3Cross(vw, v, w);
    const double den = 2.0 * Vec3Dot(u, vw);
    if (IsZeroTol(den, tol))
        return false;
    Vec3Cross(uv, u, v);
    Vec3Cross(wu, w, u);
    Vec3D sum;
    Vec3Scale(sum, uv, Vec3LengthSq(w));
    Vec3AddScaledTo(sum, Vec3LengthSq(v), wu);
    Vec3AddScaledTo(sum, Vec3LengthSq(u), vw);
    Vec3Div(out, sum, den);
    return true;
}

bool PlaneIsectPlane(Vec3D& point, Vec3D& dir, const Vec3D& na, double da, const Vec3D& nb, double db, double tol)
{
    Vec3D d;
    Vec3Cross(d, na, nb);
    const int k = Vec3MaxAxis(d);
    if (IsZeroTol(d[k], tol))
        return false;
    const int i = (k + 1) % 3, j = (k + 2) % 3;
    point[k] = 0.0;
    point[i] = (db * na[j] - da * nb[j]) / d[k];
    point[j] = (da * nb[i] - db * na[i]) / d[k];
    dir = d;
    return true;
}

bool PlaneIsectLine(Vec3D& out, const Vec3D& n, double d, const Vec3D& point, const Vec3D& dir, double tol)
{
    const double g = Vec3Dot(n, dir);
    if (IsZeroTol(g, tol))
        return false;
    const double t = (-Vec3Dot(n, point) - d) / g;
    Vec3AddScaled(out, point, t, dir);
    return true;
}

bool SegmentIsectPlane(Vec3D& out, const Vec3D& n, double d, const Vec3D& a, const Vec3D& b, double tol)
{
    Vec3D ab;
    Vec3Sub(ab, b, a);
    if (!PlaneIsectLine(out, n, d, a, ab, tol))
        return false;
    auto side = [&](const Vec3D& x) {
        const double s = Vec3Dot(n, x) + d;
        return s > tol ? 1 : s < -tol ? -1 : 0;
    };
    const int sa = side(a), sb = side(b);
    return !(sa == sb && sa != 0);
}

int SegmentIsectSegment3D(const Vec3D& p, const Vec3D& q, const Vec3D& r, const Vec3D& s, double tol,
                          Vec3D* out1, Vec3D* out2)
{
    Vec3D u, v, n;
    Vec3Sub(u, q, p);
    Vec3Sub(v, s, r);
    Vec3Cross(n, u, v);
    if (!Vec3IsZero(n, tol))
    {
        Vec3D rp;
        Vec3Sub(rp, r, p);
        if (!IsZeroTol(Vec3Dot(rp, n), tol))
            return kSegNotCoplanar;
    }
    else
    {
        // Parallel: only segments on one line can meet. Their projection alone could show two
        // segments that lie side by side along the dropped axis as equal.
        if (PointLineDistance(r, p, q, tol) > tol || PointLineDistance(s, p, q, tol) > tol)
            return kSegNoContact;
        Vec3Perpendicular(n, u);
    }

    const int dropped = Vec3MaxAxis(n);
    const int ax = (dropped + 1) % 3, ay = (dropped + 2) % 3;
    auto project = [&](const Vec3D& x) { return Vec2D{x[ax], x[ay]}; };
    const Vec2D p2 = project(p), q2 = project(q), r2 = project(r), s2 = project(s);

    Vec2D w1, w2;
    const int code = SegmentIsectSegment2D(p2, q2, r2, s2, tol, &w1, &w2);
    if (code == kSegNoContact || !out1)
        return code;

    // The dropped coordinate follows pq, measured along its longer projected extent.
    const bool alongY = std::fabs(q2.y - p2.y) >= std::fabs(q2.x - p2.x);
    auto lift = [&](Vec3D& out, const Vec2D& w) {
        const double t = alongY ? (w.y - p2.y) / (q2.y - p2.y) : (w.x - p2.x) / (q2.x - p2.x);
        out[ax] = w.x;
        out[ay] = w.y;
        out[dropped] = p[dropped] + t * (q[dropped] - p[dropped]);
    };
    lift(*out1, w1);
    if (out2 && (code == kSegEqual || code == kSegEqualReversed || code == kSegOverlap))
        lift(*out2, w2);
    return code;
}
