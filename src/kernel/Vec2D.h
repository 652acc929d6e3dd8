#pragma once

#include <cmath>

// A 2D point or vector.
struct Vec2D
{
    double x = 0.0;
    double y = 0.0;
};

inline void Vec2Add(Vec2D& out, const Vec2D& a, const Vec2D& b)
{
    out.x = a.x + b.x;
    out.y = a.y + b.y;
}

inline void Vec2Sub(Vec2D& out, const Vec2D& a, const Vec2D& b)
{
    out.x = a.x - b.x;
    out.y = a.y - b.y;
}

inline void Vec2Scale(Vec2D& out, const Vec2D& v, double s)
{
    out.x = v.x * s;
    out.y = v.y * s;
}

inline void Vec2Div(Vec2D& out, const Vec2D& v, double s)
{
    out.x = v.x / s;
    out.y = v.y / s;
}

inline double Vec2Dot(const Vec2D& a, const Vec2D& b)
{
    return a.x * b.x + a.y * b.y;
}

// The z component of the 3D cross product: positive when b turns counterclockwise from a.
inline double Vec2Cross(const Vec2D& a, const Vec2D& b)
{
    return a.x * b.y - a.y * b.x;
}

inline double Vec2Length(const Vec2D& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

inline bool Vec2IsZero(const Vec2D& v, double tol)
{
    return -tol <= v.x && v.x <= tol && -tol <= v.y && v.y <= tol;
}

inline bool Vec2Equal(const Vec2D& a, const Vec2D& b, double tol)
{
    return b.x - tol <= a.x && a.x <= b.x + tol && b.y - tol <= a.y && a.y <= b.y + tol;
}

// A cheap monotonic stand-in for the direction angle, in -4..4, for sorting directions around a point.
// v must not be zero.
double PseudoAngle2D(const Vec2D& v);
