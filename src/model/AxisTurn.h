#pragma once

struct Mat3;
struct Vec3D;

// The right-handed turn by 2*pi*num/den about the unit vector axis: a turn about z, from the exact
// sine table, in the frame whose third axis is the axis (first axis Vec3Perpendicular of it,
// second axis third x first). Repeated turns of one axis close up to rounding.
void SetAxisTurnExact(Mat3& out, const Vec3D& axis, int num, int den);
// The same frame with a turn by any angle.
void SetAxisTurn(Mat3& out, const Vec3D& axis, double angle);
