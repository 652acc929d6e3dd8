#pragma once

#include "SolidModels.h"

#include <string>
#include <vector>

// The nine hemipolyhedra (faces through the centre), from the vertices of the convex solids that
// share their vertex arrangement: each face is a regular {n/step} on a plane across a symmetry
// axis, found among the vertices at one height along the axis.
struct HemiPolyhedron
{
    std::string name;
    std::string configuration;  // the vertex configuration, as the library writes it
    FacedSolid solid;
    int v, e, f;         // the known counts
    int kind;            // SymGroup kind of its full symmetry
    int reflection;      // its SymGroup reflection kind
};

std::vector<HemiPolyhedron> HemiPolyhedra();

// Star polyhedra built the same way from the vertices of the icosahedron, dodecahedron and
// icosidodecahedron: the four regular ones and four uniform ones with no face through the centre.
struct StarPolyhedron
{
    std::string name;
    FacedSolid solid;
    int v, e, f;  // the known counts
};

std::vector<StarPolyhedron> StarPolyhedra();
