#pragma once

#include "SolidModels.h"

#include <map>
#include <memory>

class Poly;
class SimplePoly;

// Builds models the way the program does (symmetry, face types, edges) and measures results.

// The solid made into the Poly by CreatePoly; false when it cannot be.
bool BuildAnalysedPoly(Poly& poly, const FacedSolid& solid);
// One of the Platonic and Archimedean solids by name, as a convex solid.
FacedSolid NamedSolid(const char* name);

// Counts of a plain model: vertices, edges by the sides of the faces, faces by their corners, and
// whether every edge lies between exactly two faces, or an even number of them.
struct ModelCounts
{
    int v = 0;
    int e = 0;
    int f = 0;
    std::map<int, int> faceSizes;  // corners -> number of faces
    bool closed = true;
    bool evenEdges = true;
};
ModelCounts CountModel(const SimplePoly& model);

// The model scale is a program-wide setting that CreatePoly writes; each test keeps it.
class ScopedModelScale
{
public:
    ScopedModelScale();
    ~ScopedModelScale();
    ScopedModelScale(const ScopedModelScale&) = delete;
    ScopedModelScale& operator=(const ScopedModelScale&) = delete;

private:
    double mScale;
};
