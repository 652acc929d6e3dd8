#pragma once

#include <memory>

class SimplePoly;

// Centres of a Waterman polyhedron.
inline constexpr int kWatermanLatticePoint = 0;  // face-centred cubic lattice about a lattice point
inline constexpr int kWatermanMidpoint = 1;      // the same lattice about the midpoint of two neighbours
inline constexpr int kWatermanSimpleCubic = 2;   // simple cubic lattice about a lattice point

// The convex hull of the lattice points within the sphere of squared radius root (simple cubic) or
// 2 root (the face-centred lattice, in doubled integer coordinates). Null for a root outside 1..10
// or when the hull fails.
std::unique_ptr<SimplePoly> CreateWatermanHull(int centre, int root);
