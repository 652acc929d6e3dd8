#pragma once

#include "kernel/Mat3.h"
#include "kernel/Mat4.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

// Small matrix helpers of the model panes: picking, the 4D tumbling and blending coplanar faces
// build their transforms from these.

void Transform3DIdentity(Transform3D& t);
// Turns by angle (radians, right-handed) about the axis through the origin; a zero axis gives the
// identity.
Transform3D RotationAboutAxis(const Vec3D& axis, double angle);
// Only the 3 x 3 part, in place: directions ignore the translation.
void Transform3DApplyLinear(const Transform3D& t, Vec3D& v);
// The first two coordinates of the transformed point.
Vec2D Transform3DApply2D(const Transform3D& t, const Vec3D& p);
// 1 in the last diagonal place, zeros elsewhere in the last row and column.
Mat4 Mat3ToMat4(const Mat3& m);
// The upper-left 3 x 3 block.
Mat3 Mat4ToMat3(const Mat4& m);
// A turn by angle in the plane of the third and fourth axes, z turning towards w.
Mat4 Mat4PlaneRotation(double angle);
void Mat3Copy(Mat3& out, const Mat3& m);
// Every coordinate in [-h, h].
bool InsideCube(const Vec3D& p, double h);
