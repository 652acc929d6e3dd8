#pragma once

#include "kernel/Vec4D.h"

// n.p + d = 0 with a unit normal; n.p + d is the signed distance of p. Hyperplanes built from
// points keep d <= 0, so the normal points away from the origin.
struct Hyperplane
{
    Vec4D n;
    double d = 0.0;
};

inline double HyperplaneDistance(const Hyperplane& h, const Vec4D& p)
{
    return Vec4Dot(h.n, p) + h.d;
}

// False, with out untouched, when the points span no hyperplane (they lie in one 2-plane).
bool HyperplaneFrom4Points(Hyperplane& out, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                           const Vec4D& p3, double tol);

// Unit normal of the 3-space through four points, unchecked: callers test Vec4Coplanar first.
void HyperplaneNormal(Vec4D& out, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2, const Vec4D& p3);

inline void HyperplaneCopy(Hyperplane& out, const Hyperplane& h)
{
    out = h;
}

// The same hyperplane with the other orientation.
inline void HyperplaneNeg(Hyperplane& out, const Hyperplane& h)
{
    Vec4Neg(out.n, h.n);
    out.d = -h.d;
}

inline void HyperplaneNegate(Hyperplane& h)
{
    Vec4Negate(h.n);
    h.d = -h.d;
}

bool HyperplaneEqual(const Hyperplane& a, const Hyperplane& b, double tol);

// -1, 0 or 1 for sorting over normal x, y, z, w, then d; values within tol count as equal.
int HyperplaneCompare(const Hyperplane& a, const Hyperplane& b, double tol);
