#pragma once

#include <memory>

class SimplePoly;
struct VertexPair;

// Edges and vertices as plain geometry, for the 3D exports whose files have no cylinders or
// spheres of their own (and for any file when the user asks for them): what a 3D printer builds.
// Both add their vertices and faces to the model after its own and mark the added vertices
// hidden, so that no writer puts a sphere on them; they answer false, the model unchanged, when it
// would be too large or memory runs out (reported).

// A cylinder of `segments` sides (3 or more) and radius along each edge of the list whose ends lie
// apart, capped when asked, scaled at each end by that end's size factor; every ring turns
// counter-clockwise about the edge's direction, so that every face looks out. With triangulate
// the sides and caps are triangles, otherwise quadrilaterals and two polygons. The faces take the
// edge's colour.
bool AddFlatEdgeCylinders(SimplePoly& poly, const VertexPair* edges, double radius, int segments, bool caps,
                          bool triangulate);

// A geodesic sphere of the frequency (1, 2, 4 or 8: 20 to 1280 triangles) and radius, scaled by
// the vertex's size factor, about each of the first numModelVerts vertices that is not hidden, in
// the vertex's colour.
bool AddFlatVertexSpheres(SimplePoly& poly, int numModelVerts, double radius, int frequency);
