#pragma once

// Checks of a closed surface's geometry, written independently of the model code: the library rows
// built without public data are tested with them.

#include "kernel/Vec3D.h"

#include <array>
#include <map>
#include <utility>
#include <vector>

class SimplePoly;

struct SurfaceModel
{
    std::vector<Vec3D> verts;
    std::vector<std::vector<int>> faces;
};

SurfaceModel SurfaceModelOf(const SimplePoly& poly);

Vec3D SurfaceCentroid(const SurfaceModel& model, const std::vector<int>& face);
// Unit normal of the face's vector area (Newell's method): the face's own turning sense.
Vec3D SurfaceAreaNormal(const SurfaceModel& model, const std::vector<int>& face);
double WorstPlaneDistance(const SurfaceModel& model, const std::vector<int>& face);
// Sides equal and corners equally far from the centre, both within tol.
bool IsRegularFace(const SurfaceModel& model, const std::vector<int>& face, double tol);

using SurfaceTriangle = std::array<Vec3D, 3>;
// Closed triangles that share at least one point; triangles in one plane meet only where they overlap.
bool TrianglesMeet(const SurfaceTriangle& a, const SurfaceTriangle& b);
// Pairs of faces that meet anywhere but along their shared edges and corners.
int CountFacePairsThatMeet(const SurfaceModel& model);

// The faces on each undirected edge (lower index first).
std::map<std::pair<int, int>, std::vector<int>> FacesByEdge(const SurfaceModel& model);
std::pair<double, double> EdgeRange(const SurfaceModel& model);
