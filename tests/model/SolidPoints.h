#pragma once

#include "kernel/Vec3D.h"

#include <memory>
#include <string>
#include <vector>

class SimplePoly;

// Vertex sets of known solids from their textbook coordinates, with the numbers of vertices, edges
// and faces the solids have: the truth that hull tests check against.
struct KnownSolid
{
    std::string name;
    std::vector<Vec3D> points;
    int v, e, f;
};

// The five Platonic and thirteen Archimedean solids.
std::vector<KnownSolid> PlatonicAndArchimedeanSolids();
// The n-gonal prism and antiprism with unit circumradius and all edges equal.
KnownSolid Prism(int n);
KnownSolid Antiprism(int n);
const KnownSolid& FindSolid(const std::vector<KnownSolid>& solids, const std::string& name);

// n points uniformly spread on the sphere of the radius about the origin (fixed seed).
std::vector<Vec3D> SpherePoints(int n, double radius, unsigned seed);
// Every integer point (x, y, z) with 0 <= x, y, z < n.
std::vector<Vec3D> LatticePoints(int n);

// A model with these vertices and no faces, as the hull takes it.
std::unique_ptr<SimplePoly> MakePointPoly(const std::vector<Vec3D>& points);
// A model with these vertices and faces (corner index lists), normals set.
std::unique_ptr<SimplePoly> MakeFacedPoly(const std::vector<Vec3D>& verts, const std::vector<std::vector<int>>& faces);
// The faces of the cube (+-1, +-1, +-1) over these corner positions, found by position,
// counter-clockwise seen from outside: x = 1, x = -1, y = 1, y = -1, z = 1, z = -1.
std::vector<std::vector<int>> CubeFaces(const std::vector<Vec3D>& corners);
