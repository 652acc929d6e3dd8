#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

// The low bits of SymAxis::mFlags that the faceted-polyhedron builder uses as marks.
inline constexpr int32_t kSymAxisMarkBits = 0xF;

// One rotation axis of a symmetry group, or one of its mirror planes (then mDir is the plane's
// unit normal and the other fields carry nothing). Owned by a SymAxisSet or a group's mirror list.
struct SymAxis
{
    int32_t mFlags = 0;
    Vec3D mDir;  // unit direction
    Vec3D mRef;  // unit, perpendicular to mDir: the angle zero about the axis
};
