#include "kernel/Vec4D.h"

#include "kernel/Tolerance.h"

void Vec4Cross(Vec4D& out, const Vec4D& a, const Vec4D& b, const Vec4D& c)
{
    // 2x2 minors of b and c; each component is a 3x3 determinant expanded along a.
    const double xy = b.x * c.y - b.y * c.x;
    const double xz = b.x * c.z - b.z * c.x;
    const double xw = b.x * c.w - b.w * c.x;
    const double yz = b.y * c.z - b.z * c.y;
    const double yw = b.y * c.w - b.w * c.y;
    const double zw = b.z * c.w - b.w * c.z;
    out.x = a.y * zw - a.z * yw + a.w * yz;
    out.y = -(a.x * zw - a.z * xw + a.w * xz);
    out.z = a.x * yw - a.y * xw + a.w * xy;
    out.w = -(a.x * yz - a.y * xz + a.z * xy);
}

void Vec4RejectFrom(Vec4D& out, const Vec4D& a, const Vec4D& n)
{
    const double s = Vec4Dot(a, n);
    Vec4AddScaled(out, a, -s, n);
}

void Vec4RejectFrom2(Vec4D& out, const Vec4D& a, const Vec4D& dir1, const Vec4D& dir2, double tol)
{
    Vec4D u, q, r;
    Vec4DivTo(u, dir1, Vec4Length(dir1));
    Vec4RejectFrom(q, a, u);
    Vec4RejectFrom(r, dir2, u);
    if (!Vec4IsZero(r, tol))
    {
        Vec4Div(r, Vec4Length(r));
        Vec4RejectFrom(out, q, r);
    }
    else
        out = q;
}

double Vec4LineParam(const Vec4D& p, const Vec4D& a, const Vec4D& b)
{
    Vec4D d;
    Vec4Sub(d, b, a);
    const int k = Vec4MaxAxis(d);
    return (p[k] - a[k]) / d[k];
}

bool Vec4Equal(const Vec4D& a, const Vec4D& b, double tol)
{
    return WithinTol(a.x, b.x, tol) && WithinTol(a.y, b.y, tol) && WithinTol(a.z, b.z, tol) &&
           WithinTol(a.w, b.w, tol);
}

bool Vec4EqualNeg(const Vec4D& a, const Vec4D& b, double tol)
{
    return WithinTol(a.x, -b.x, tol) && WithinTol(a.y, -b.y, tol) && WithinTol(a.z, -b.z, tol) &&
           WithinTol(a.w, -b.w, tol);
}

bool Vec4IsZero(const Vec4D& v, double tol)
{
    return IsZeroTol(v.x, tol) && IsZeroTol(v.y, tol) && IsZeroTol(v.z, tol) && IsZeroTol(v.w, tol);
}

bool Vec4Parallel(const Vec4D& a, const Vec4D& b, double tol)
{
    const int k = Vec4MaxAxis(b);
    if (IsZeroTol(b[k], tol))
        return true;
    const double r = a[k] / b[k];
    return WithinTol(a.x, r * b.x, tol) && WithinTol(a.y, r * b.y, tol) && WithinTol(a.z, r * b.z, tol) &&
           WithinTol(a.w, r * b.w, tol);
}

bool Vec4Dependent(const Vec4D& a, const Vec4D& b, const Vec4D& c, double tol)
{
    Vec4D n;
    Vec4Cross(n, a, b, c);
    return Vec4IsZero(n, 100.0 * tol * tol);
}

bool Vec4Coplanar(const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& p3, double tol)
{
    Vec4D a, b, c;
    Vec4Sub(a, p1, p0);
    Vec4Sub(b, p2, p0);
    Vec4Sub(c, p3, p0);
    return Vec4Dependent(a, b, c, tol);
}

// The comparisons are written so that a later axis wins whenever the current one is not
// strictly better, which also makes a NaN component lose to the later axis.
int Vec4MaxAxis(const Vec4D& v)
{
    const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z), aw = std::fabs(v.w);
    int axis = 0;
    double m = ax;
    if (!(ax > ay))
        axis = 1, m = ay;
    if (!(m > aw))
        axis = 3, m = aw;
    if (!(m > az))
        axis = 2;
    return axis;
}

int Vec4MinAxis(const Vec4D& v)
{
    const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z), aw = std::fabs(v.w);
    int axis = 0;
    double m = ax;
    if (!(ax < ay))
        axis = 1, m = ay;
    if (!(m < aw))
        axis = 3, m = aw;
    if (!(m < az))
        axis = 2;
    return axis;
}

int Vec4MinAxisExcept(const Vec4D& v, int axis)
{
    Vec4D t = v;
    t[axis] = kUnsetValue;
    return Vec4MinAxis(t);
}

int Vec4MinAxisTol(const Vec4D& v, double tol)
{
    static constexpr int kOrder[4] = {0, 1, 3, 2};
    int axis = 0;
    double m = std::fabs(v.x);
    for (int i = 1; i < 4; ++i)
    {
        const double c = std::fabs(v[kOrder[i]]);
        if (m >= c + tol)
        {
            axis = kOrder[i];
            m = c;
        }
    }
    return axis;
}

void Vec4PerpendicularTo2(Vec4D& out, const Vec4D& a, const Vec4D& b)
{
    const double xy = a.x * b.y - a.y * b.x;
    const double xz = a.x * b.z - a.z * b.x;
    const double xw = a.x * b.w - a.w * b.x;
    const double yz = a.y * b.z - a.z * b.y;
    const double yw = a.y * b.w - a.w * b.y;
    const double zw = a.z * b.w - a.w * b.z;
    // Squared length of the candidate that leaves out each axis.
    const Vec4D lengths{yz * yz + yw * yw + zw * zw, xz * xz + xw * xw + zw * zw,
                        xy * xy + xw * xw + yw * yw, xy * xy + xz * xz + yz * yz};
    switch (Vec4MaxAxis(lengths))
    {
    case 0:
        Vec4Set(out, 0.0, -zw, yw, -yz);
        break;
    case 1:
        Vec4Set(out, zw, 0.0, -xw, xz);
        break;
    case 2:
        Vec4Set(out, -yw, xw, 0.0, -xy);
        break;
    default:
        Vec4Set(out, yz, -xz, xy, 0.0);
        break;
    }
}

void Vec4CompleteBasis(Vec4D& out1, Vec4D& out2, const Vec4D& a, const Vec4D& b)
{
    Vec4D p;
    Vec4PerpendicularTo2(p, a, b);
    Vec4Div(p, Vec4Length(p));
    Vec4Cross(out2, a, b, p);
    out1 = p;
}

void Vec4PerpendicularPair(Vec4D& out1, Vec4D& out2, const Vec4D& v)
{
    const int k1 = Vec4MinAxis(v);
    const int k2 = Vec4MinAxisExcept(v, k1);
    Vec4D e1, e2, p;
    e1[k1] = 1.0;
    e2[k2] = 1.0;
    Vec4Cross(p, v, e1, e2);
    Vec4Cross(out2, v, e1, p);
    out1 = p;
}

bool PlaneBasis4D(Vec4D& out1, Vec4D& out2, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, double tol)
{
    Vec4D a, b;
    Vec4Sub(a, p1, p0);
    Vec4Sub(b, p2, p0);
    // Also true when p2 coincides with p0.
    if (Vec4Parallel(a, b, tol))
        return false;
    Vec4Div(a, Vec4Length(a));
    Vec4AddScaledTo(b, -Vec4Dot(a, b), a);
    Vec4Div(b, Vec4Length(b));
    out1 = a;
    out2 = b;
    return true;
}

bool PlaneNormals4D(Vec4D& out1, Vec4D& out2, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, double tol)
{
    Vec4D e1, e2;
    if (!PlaneBasis4D(e1, e2, p0, p1, p2, tol))
        return false;
    Vec4CompleteBasis(out1, out2, e1, e2);
    return true;
}
