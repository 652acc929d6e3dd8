#pragma once

#include "kernel/Vec3D.h"

// Which side of the plane through a, b and c the point d lies on: ((b - a) x (c - a)) . (d - a),
// whose sign is always exact (positive on the side the right-hand normal of a, b, c points to, zero
// only when the four points are exactly coplanar). The magnitude is the rounded value, or an estimate
// of it when the rounded value was too small to trust. Decisions that must never contradict each
// other (hull visibility) use this instead of a tolerance.
double Orient3D(const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d);

// The same determinant in plain arithmetic, with the bound on its rounding error: when |value| >
// bound the sign of value is exact. Lets a caller test many points cheaply and fall back to
// Orient3D only near the plane.
double Orient3DEstimate(const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d, double& bound);
