#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

class SimpleFace;

// The filled area of one face resolved into triangles, for exporters that take triangles only.
// Points where the face's sides cross or touch become points of their own, and every region the
// outline winds around (any winding number but 0, as a star polygon's centre) is filled once.
// Each triangle runs the way the outline runs around its region.
struct FaceOutline
{
    std::vector<Vec3D> points;
    std::vector<int> corners;      // per point: the face's corner that lies there, -1 for a new point
    std::vector<int32_t> indices;  // three per triangle, into points
};

// Fills out and returns the number of indices: 0 for a face with fewer than 3 corners, a missing
// corner or one at infinity, or an outline that encloses no area.
int ResolveFaceOutline(const SimpleFace& face, FaceOutline& out);
