#pragma once

#include <cmath>

// A 4D point or vector; components are also addressed by axis index 0..3 (x, y, z, w).
struct Vec4D
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    double w = 0.0;

    double& operator[](int axis) { return axis == 0 ? x : axis == 1 ? y : axis == 2 ? z : w; }
    double operator[](int axis) const { return axis == 0 ? x : axis == 1 ? y : axis == 2 ? z : w; }
};

// Results go to the first argument. Component-wise functions may write over an operand;
// Vec4Cross and the perpendicular constructions need results distinct from their operands.
// Nothing here guards a division: callers establish non-degenerate input with the predicates.

inline void Vec4Set(Vec4D& v, double x, double y, double z, double w)
{
    v.x = x;
    v.y = y;
    v.z = z;
    v.w = w;
}

inline void Vec4Copy(Vec4D& out, const Vec4D& a)
{
    out = a;
}

inline void Vec4Add(Vec4D& out, const Vec4D& a, const Vec4D& b)
{
    out.x = a.x + b.x;
    out.y = a.y + b.y;
    out.z = a.z + b.z;
    out.w = a.w + b.w;
}

inline void Vec4Sub(Vec4D& out, const Vec4D& a, const Vec4D& b)
{
    out.x = a.x - b.x;
    out.y = a.y - b.y;
    out.z = a.z - b.z;
    out.w = a.w - b.w;
}

inline void Vec4Scale(Vec4D& v, double s)
{
    v.x *= s;
    v.y *= s;
    v.z *= s;
    v.w *= s;
}

inline void Vec4ScaleTo(Vec4D& out, const Vec4D& v, double s)
{
    out.x = v.x * s;
    out.y = v.y * s;
    out.z = v.z * s;
    out.w = v.w * s;
}

inline void Vec4Div(Vec4D& v, double s)
{
    v.x /= s;
    v.y /= s;
    v.z /= s;
    v.w /= s;
}

inline void Vec4DivTo(Vec4D& out, const Vec4D& v, double s)
{
    out.x = v.x / s;
    out.y = v.y / s;
    out.z = v.z / s;
    out.w = v.w / s;
}

inline void Vec4AddScaled(Vec4D& out, const Vec4D& a, double s, const Vec4D& b)
{
    out.x = a.x + s * b.x;
    out.y = a.y + s * b.y;
    out.z = a.z + s * b.z;
    out.w = a.w + s * b.w;
}

inline void Vec4AddScaledTo(Vec4D& v, double s, const Vec4D& w)
{
    v.x += s * w.x;
    v.y += s * w.y;
    v.z += s * w.z;
    v.w += s * w.w;
}

inline void Vec4Negate(Vec4D& v)
{
    v.x = -v.x;
    v.y = -v.y;
    v.z = -v.z;
    v.w = -v.w;
}

inline void Vec4Neg(Vec4D& out, const Vec4D& v)
{
    out.x = -v.x;
    out.y = -v.y;
    out.z = -v.z;
    out.w = -v.w;
}

inline double Vec4Dot(const Vec4D& a, const Vec4D& b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z + a.w * b.w;
}

inline double Vec4LengthSq(const Vec4D& v)
{
    return Vec4Dot(v, v);
}

inline double Vec4Length(const Vec4D& v)
{
    return std::sqrt(Vec4Dot(v, v));
}

// N with N.v = det(v, a, b, c) for every v: perpendicular to a, b and c, as long as the
// 3-volume they span, zero exactly when they are dependent.
void Vec4Cross(Vec4D& out, const Vec4D& a, const Vec4D& b, const Vec4D& c);

// a - (a.n) n for a unit n.
void Vec4RejectFrom(Vec4D& out, const Vec4D& a, const Vec4D& n);

// The part of a perpendicular to both directions (which need not be unit or orthogonal);
// a dir2 parallel to dir1 within tol counts only once.
void Vec4RejectFrom2(Vec4D& out, const Vec4D& a, const Vec4D& dir1, const Vec4D& dir2, double tol);

// Parameter of a point p of the line ab: 0 at a, 1 at b, measured along b - a's largest axis.
double Vec4LineParam(const Vec4D& p, const Vec4D& a, const Vec4D& b);

bool Vec4Equal(const Vec4D& a, const Vec4D& b, double tol);
bool Vec4EqualNeg(const Vec4D& a, const Vec4D& b, double tol);
bool Vec4IsZero(const Vec4D& v, double tol);

// a is a multiple of b within tol (opposite directions included); always true for a zero b.
bool Vec4Parallel(const Vec4D& a, const Vec4D& b, double tol);

// Linear dependence compares the cross product's components with 100 * tol * tol, since
// they are products of three coordinates.
bool Vec4Dependent(const Vec4D& a, const Vec4D& b, const Vec4D& c, double tol);

// The four points lie in one 2-plane.
bool Vec4Coplanar(const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& p3, double tol);

// Axis choices by magnitude. The untoleranced ones break ties towards z, then w, then y, then x;
// Vec4MinAxisTol prefers the earlier axis in the order x, y, w, z.
int Vec4MaxAxis(const Vec4D& v);
int Vec4MinAxis(const Vec4D& v);
int Vec4MinAxisExcept(const Vec4D& v, int axis);
int Vec4MinAxisTol(const Vec4D& v, double tol);

// A vector perpendicular to a and b built from their 2x2 minors, leaving out the axis that gives
// the longest candidate; not normalised, zero when a and b are parallel.
void Vec4PerpendicularTo2(Vec4D& out, const Vec4D& a, const Vec4D& b);

// For orthonormal a, b: the two unit vectors that complete them to an orthonormal frame.
void Vec4CompleteBasis(Vec4D& out1, Vec4D& out2, const Vec4D& a, const Vec4D& b);

// Two vectors perpendicular to v and to each other, not normalised; zero only for a zero v.
void Vec4PerpendicularPair(Vec4D& out1, Vec4D& out2, const Vec4D& v);

// An orthonormal pair of directions of the plane through three points, out1 along p1 - p0.
// False, with the outputs untouched, when the points are colinear or p2 coincides with p0.
bool PlaneBasis4D(Vec4D& out1, Vec4D& out2, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, double tol);

// Two orthonormal normals of the plane through three points; false as PlaneBasis4D.
bool PlaneNormals4D(Vec4D& out1, Vec4D& out2, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, double tol);
