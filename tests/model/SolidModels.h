#pragma once

#include "kernel/Mat3.h"
#include "kernel/Vec3D.h"

#include <memory>
#include <string>
#include <vector>

class SimplePoly;

// A polyhedron as points and faces (corner index lists), as files and textbook tables give it.
struct FacedSolid
{
    std::vector<Vec3D> verts;
    std::vector<std::vector<int>> faces;
};

// The convex solid of the points: the faces of their hull over the points as given.
FacedSolid ConvexSolid(const std::vector<Vec3D>& points);
// A model of the solid, normals set, nothing else computed.
std::unique_ptr<SimplePoly> MakeModel(const FacedSolid& solid);

// Reads a plain OFF file (counts line, points, faces; no colours). False when it cannot.
bool ReadOff(const std::string& path, FacedSolid& out);
// The folder of the OFF files the tests read.
std::string PolyhedraDir();

// A rotation drawn uniformly from a fixed seed.
Mat3 RandomRotation(unsigned seed);
// The points turned, scaled and then moved.
std::vector<Vec3D> Transformed(const std::vector<Vec3D>& points, const Mat3& m, double scale, const Vec3D& offset);
