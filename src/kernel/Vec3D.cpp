#include "kernel/Vec3D.h"

#include "kernel/Tolerance.h"

void Vec3Normal3(Vec3D& out, const Vec3D& a, const Vec3D& b, const Vec3D& c)
{
    Vec3D ab, bc;
    Vec3Sub(ab, b, a);
    Vec3Sub(bc, c, b);
    Vec3Cross(out, ab, bc);
}

void Vec3Perpendicular(Vec3D& out, const Vec3D& v)
{
    Vec3D e;
    e[Vec3MinAxis(v)] = 1.0;
    Vec3Cross(out, v, e);
}

double Vec3Angle(const Vec3D& a, const Vec3D& b)
{
    Vec3D d;
    if (Vec3Dot(a, b) >= 0.0)
    {
        Vec3Sub(d, b, a);
        return 2.0 * std::asin(std::fmin(Vec3Length(d) * 0.5, 1.0));
    }
    Vec3Add(d, a, b);
    return kPi - 2.0 * std::asin(std::fmin(Vec3Length(d) * 0.5, 1.0));
}

double Vec3SignedAngle(const Vec3D& a, const Vec3D& b, const Vec3D& n)
{
    const double angle = Vec3Angle(a, b);
    Vec3D c;
    Vec3Cross(c, a, b);
    return Vec3Dot(c, n) < 0.0 ? -angle : angle;
}

bool Vec3Equal(const Vec3D& a, const Vec3D& b, double tol)
{
    return WithinTol(a.x, b.x, tol) && WithinTol(a.y, b.y, tol) && WithinTol(a.z, b.z, tol);
}

bool Vec3EqualNeg(const Vec3D& a, const Vec3D& b, double tol)
{
    return WithinTol(a.x, -b.x, tol) && WithinTol(a.y, -b.y, tol) && WithinTol(a.z, -b.z, tol);
}

bool Vec3IsZero(const Vec3D& v, double tol)
{
    return IsZeroTol(v.x, tol) && IsZeroTol(v.y, tol) && IsZeroTol(v.z, tol);
}

int Vec3Compare(const Vec3D& a, const Vec3D& b, double tol)
{
    for (int i = 0; i < 3; ++i)
    {
        if (a[i] < b[i] - tol)
            return -1;
        if (a[i] > b[i] + tol)
            return 1;
    }
    return 0;
}

void Vec3SnapZero(Vec3D& v, double tol)
{
    for (int i = 0; i < 3; ++i)
        if (IsZeroTol(v[i], tol))
            v[i] = 0.0;
}

bool Vec3Parallel(const Vec3D& a, const Vec3D& b, double tol)
{
    const int k = Vec3MaxAxis(b);
    if (IsZeroTol(b[k], tol))
        return true;
    const double r = a[k] / b[k];
    return WithinTol(a.x, r * b.x, tol) && WithinTol(a.y, r * b.y, tol) && WithinTol(a.z, r * b.z, tol);
}

bool Vec3Colinear(const Vec3D& a, const Vec3D& b, const Vec3D& c, double tol)
{
    Vec3D ab, ac;
    Vec3Sub(ab, b, a);
    Vec3Sub(ac, c, a);
    return Vec3Parallel(ab, ac, tol);
}

int Vec3MaxAxis(const Vec3D& v)
{
    const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
    if (ax > ay && ax > az)
        return 0;
    if (ay >= ax && ay > az)
        return 1;
    return 2;
}

int Vec3MaxAxisOfDiff(const Vec3D& a, const Vec3D& b)
{
    Vec3D d;
    Vec3Sub(d, b, a);
    return Vec3MaxAxis(d);
}

int Vec3MinAxis(const Vec3D& v)
{
    const double ax = std::fabs(v.x), ay = std::fabs(v.y), az = std::fabs(v.z);
    int axis = ax < ay ? 0 : 1;
    const double m = axis == 0 ? ax : ay;
    return m < az ? axis : 2;
}

int Vec3MinAxisTol(const Vec3D& v, double tol)
{
    int axis = 0;
    double m = std::fabs(v.x);
    for (int i = 1; i < 3; ++i)
    {
        const double c = std::fabs(v[i]);
        if (m >= c + tol)
        {
            axis = i;
            m = c;
        }
    }
    return axis;
}
