#pragma once

#include "kernel/Vec3D.h"

#include <vector>

class SimplePoly;

struct HullShape
{
    int v = 0, e = 0, f = 0;  // corners, edges and faces of the live faces
};

// Checks, with gtest expectations, that the live faces of the model form a convex polyhedron: every
// directed edge has its reverse in exactly one other face (closed, consistently oriented), V - E + F
// = 2, unit normals, faces flat and convex within tol with their corners counter-clockwise about
// the normal, every face's neighbours behind its plane (locally, hence globally, convex), every
// corner a non-Temp vertex and every other vertex Temp. With points, also that each of them lies
// inside or within tol of the hull (skipped when that would cost too much).
HullShape CheckSoundHull(const SimplePoly& hull, const std::vector<Vec3D>* points, double tol);
