#pragma once

#include "kernel/Vec4D.h"
#include "polytope4d/Polytope4D.h"

#include <vector>

// A polytope as plain lists: vertices, faces by vertex index in boundary order, and cells by face
// index (empty when the cells are left to the completion to find).
struct PolytopeSpec4D
{
    std::vector<Vec4D> verts;
    std::vector<std::vector<int>> faces;
    std::vector<std::vector<int>> cells;
};

// The published vertex sets of the regular polytopes: the 5-cell (1, 1, 1, -1/sqrt 5) and its
// companions with (0, 0, 0, 4/sqrt 5); the 16-cell's permutations of (+-1, 0, 0, 0); the 24-cell's
// of (+-1, +-1, 0, 0); the 600-cell's (+-1/2)^4, the permutations of (+-1, 0, 0, 0) and the even
// permutations of (+-phi, +-1, +-1/phi, 0) / 2.
std::vector<Vec4D> SimplexVerts4D();
std::vector<Vec4D> CrossPolytopeVerts4D();
std::vector<Vec4D> Verts24Cell();
std::vector<Vec4D> Verts600Cell();

// The vertices with every triangle whose three sides have the given length as a face; with cells,
// also every tetrahedron of such triangles as a cell.
PolytopeSpec4D TriangleSpec4D(const std::vector<Vec4D>& verts, double edge, bool withCells);
// The tesseract with corners (+-half)^4 as its 24 squares, with its 8 cubes when asked.
PolytopeSpec4D TesseractSpec(double half, bool withCells);
// Appends the described vertices and faces to the polytope, and its cells when it lists any.
void AddSpec(Polytope4D& p, const PolytopeSpec4D& spec);
