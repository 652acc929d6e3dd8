#pragma once

#include <cmath>

// A 3D point or vector; components are also addressed by axis index 0, 1, 2.
struct Vec3D
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    double& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : z; }
    double operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : z; }
};

// Results go to the first argument. Component-wise functions may write over an operand;
// Vec3Cross and Vec3Perpendicular need a result distinct from their operands.

inline void Vec3Set(Vec3D& out, double x, double y, double z)
{
    out.x = x;
    out.y = y;
    out.z = z;
}

inline void Vec3Copy(Vec3D& out, const Vec3D& a)
{
    out = a;
}

inline void Vec3Add(Vec3D& out, const Vec3D& a, const Vec3D& b)
{
    out.x = a.x + b.x;
    out.y = a.y + b.y;
    out.z = a.z + b.z;
}

inline void Vec3Sub(Vec3D& out, const Vec3D& a, const Vec3D& b)
{
    out.x = a.x - b.x;
    out.y = a.y - b.y;
    out.z = a.z - b.z;
}

inline void Vec3AddTo(Vec3D& a, const Vec3D& b)
{
    a.x += b.x;
    a.y += b.y;
    a.z += b.z;
}

inline void Vec3SubFrom(Vec3D& a, const Vec3D& b)
{
    a.x -= b.x;
    a.y -= b.y;
    a.z -= b.z;
}

inline void Vec3Scale(Vec3D& out, const Vec3D& v, double s)
{
    out.x = v.x * s;
    out.y = v.y * s;
    out.z = v.z * s;
}

inline void Vec3Div(Vec3D& out, const Vec3D& v, double s)
{
    out.x = v.x / s;
    out.y = v.y / s;
    out.z = v.z / s;
}

inline void Vec3AddScaled(Vec3D& out, const Vec3D& a, double s, const Vec3D& b)
{
    out.x = a.x + s * b.x;
    out.y = a.y + s * b.y;
    out.z = a.z + s * b.z;
}

inline void Vec3AddScaledTo(Vec3D& v, double s, const Vec3D& w)
{
    v.x += s * w.x;
    v.y += s * w.y;
    v.z += s * w.z;
}

inline void Vec3Midpoint(Vec3D& out, const Vec3D& a, const Vec3D& b)
{
    out.x = (a.x + b.x) * 0.5;
    out.y = (a.y + b.y) * 0.5;
    out.z = (a.z + b.z) * 0.5;
}

inline void Vec3Negate(Vec3D& v)
{
    v.x = -v.x;
    v.y = -v.y;
    v.z = -v.z;
}

inline void Vec3Neg(Vec3D& out, const Vec3D& v)
{
    out.x = -v.x;
    out.y = -v.y;
    out.z = -v.z;
}

inline double Vec3Dot(const Vec3D& a, const Vec3D& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

inline void Vec3Cross(Vec3D& out, const Vec3D& a, const Vec3D& b)
{
    out.x = a.y * b.z - a.z * b.y;
    out.y = a.z * b.x - a.x * b.z;
    out.z = a.x * b.y - a.y * b.x;
}

inline double Vec3LengthSq(const Vec3D& v)
{
    return v.x * v.x + v.y * v.y + v.z * v.z;
}

inline double Vec3Length(const Vec3D& v)
{
    return std::sqrt(Vec3LengthSq(v));
}

inline double Vec3Distance(const Vec3D& a, const Vec3D& b)
{
    const double dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
    return std::sqrt(dx * dx + dy * dy + dz * dz);
}

// Scales v to unit length in place; false (v unchanged) for a zero vector.
inline bool Vec3Normalize(Vec3D& v)
{
    const double len = Vec3Length(v);
    if (len == 0.0 || !std::isfinite(len))
        return false;
    Vec3Div(v, v, len);
    return true;
}

// (b - a) x (c - b), not normalised: the right-hand normal of the triangle a, b, c.
void Vec3Normal3(Vec3D& out, const Vec3D& a, const Vec3D& b, const Vec3D& c);

// v x e_k with k = Vec3MinAxis(v); not normalised, zero only for a zero v.
void Vec3Perpendicular(Vec3D& out, const Vec3D& v);

// Angle between unit vectors in 0..pi, accurate near 0 and pi.
double Vec3Angle(const Vec3D& a, const Vec3D& b);

// Vec3Angle, negated when (a x b) . n < 0.
double Vec3SignedAngle(const Vec3D& a, const Vec3D& b, const Vec3D& n);

bool Vec3Equal(const Vec3D& a, const Vec3D& b, double tol);
bool Vec3EqualNeg(const Vec3D& a, const Vec3D& b, double tol);
bool Vec3IsZero(const Vec3D& v, double tol);

// -1, 0 or 1 for sorting, x first; components within tol count as equal.
int Vec3Compare(const Vec3D& a, const Vec3D& b, double tol);

void Vec3SnapZero(Vec3D& v, double tol);

// a is a multiple of b within tol (opposite directions included); always true for a zero b.
bool Vec3Parallel(const Vec3D& a, const Vec3D& b, double tol);

bool Vec3Colinear(const Vec3D& a, const Vec3D& b, const Vec3D& c, double tol);

// Axis choices by magnitude. The untoleranced ones break ties towards the later axis;
// Vec3MinAxisTol prefers the earlier axis.
int Vec3MaxAxis(const Vec3D& v);
int Vec3MaxAxisOfDiff(const Vec3D& a, const Vec3D& b);
int Vec3MinAxis(const Vec3D& v);
int Vec3MinAxisTol(const Vec3D& v, double tol);
