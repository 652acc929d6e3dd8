#pragma once

#include "kernel/Vec3D.h"

// n.p + d = 0 with a unit normal; n.p + d is the signed distance of p. Planes built from
// points keep d <= 0, so the normal points away from the origin.
struct Plane
{
    Vec3D n;
    double d = 0.0;
};

inline double PlaneDistance(const Plane& plane, const Vec3D& p)
{
    return Vec3Dot(plane.n, p) + plane.d;
}

// False, with out untouched, for colinear points.
bool PlaneFrom3Points(Plane& out, const Vec3D& p0, const Vec3D& p1, const Vec3D& p2, double tol);
