#pragma once

#include "kernel/Vec3D.h"
#include "kernel/Vec4D.h"

#include <vector>

// Qhull's answer for a point set, the reference our hull is compared with in tests and benchmarks.
// Qhull runs with its default options, which merge coplanar facets, so a face counts once however
// many triangles it was found as.
struct QhullCounts
{
    int vertices = -1;  // all -1 when Qhull failed (fewer than four points, no solid)
    int edges = -1;
    int faces = -1;
};

QhullCounts QhullHullCounts(const std::vector<Vec3D>& points);

// The 4-volume of the convex hull of 4D points as Qhull finds it (qconvex FS); -1 when Qhull failed.
double QhullVolume4D(const std::vector<Vec4D>& points);
