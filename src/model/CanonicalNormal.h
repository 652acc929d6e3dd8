#pragma once

#include "kernel/Vec3D.h"

// The normal with the sign that makes its first clearly non-zero component positive (x, else y,
// else z, which keeps its sign down to -1e-7): both normals of one plane sort alike.
Vec3D CanonicalNormal(const Vec3D& n);
