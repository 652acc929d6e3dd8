#pragma once

#include <memory>

class SimplePoly;

// New models made from a few numbers: the {n/d} prisms and antiprisms of the library's prism rows,
// and the solids of the construction commands. Each answers a model for the caller to hand to
// CreatePoly and then drop, or null after telling the user why it cannot be built.

// Base polygon of circumradius 1, square sides.
std::unique_ptr<SimplePoly> CreatePrism(int n, int d);
// Base polygon of circumradius 1; n = 2d has no base polygons (n = 2 gives the tetrahedron). When
// the triangles cannot be equilateral the height is 1.
std::unique_ptr<SimplePoly> CreateAntiprism(int n, int d);
std::unique_ptr<SimplePoly> CreateRightPyramid(int n, int d, double baseEdge, double sideEdge);
// a, b, c are the base edges V0V2, V1V2, V0V1; d, e, f the edges opposite them, V1V3, V0V3, V2V3.
std::unique_ptr<SimplePoly> CreateIrregularTet(double a, double b, double c, double d, double e, double f);
// The same with each length the chord 2 cos(pi den/num) of a polygon {num/den} with unit edges.
std::unique_ptr<SimplePoly> CreateIrregularTetFromRatios(const int numerators[6], const int denominators[6]);
// A frustum of an n-gonal pyramid, and of an n-gonal antiprism.
std::unique_ptr<SimplePoly> CreatePodium(int n, double bottomEdge, double topEdge, double sideEdge);
std::unique_ptr<SimplePoly> CreateAntipodium(int n, double bottomEdge, double topEdge, double sideEdge);
// The arm of radius armRadius runs round the unit circle in the xy-plane; points where the arm
// meets the axis are shared, the faces there becoming triangles. Null (with a message) for a torus
// too large to hold.
std::unique_ptr<SimplePoly> CreateTorus(double armRadius, int segments, int armSegments);

// X by Y by Z cubes of side 2 as one block spanning -X..X, -Y..Y, -Z..Z: 2(XY + Z(X + Y)) squares,
// neighbours sharing their corners. Null, with a message, for a dimension below 1 or a block too
// large to hold.
std::unique_ptr<SimplePoly> CreateBlock(int x, int y, int z);

// The chord that skips one vertex of the regular {n/d} polygon with unit edges: 2 cos(pi d/n).
double PolygonChordLength(int n, int d);
