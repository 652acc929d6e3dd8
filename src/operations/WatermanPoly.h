#pragma once

// Waterman polyhedra as the current model: the convex hull of the lattice points within a sphere
// about one of the three centres of model/WatermanHull.h. The last choice is remembered so that the
// dialog offers it again.

inline constexpr int kWatermanMinRoot = 1;
inline constexpr int kWatermanMaxRoot = 10;

// The last root and centre asked for; root 6 about a lattice point until then.
int GetWatermanRoot();
int GetWatermanCentre();

// "Waterman R<root>" and "Waterman dual R<root>", each followed by nothing, ", type 2" or ", cubic"
// for the centre.
void GetWatermanNames(int centre, int root, char* name, char* dualName, int size);

// Remembers the choice, then makes the Waterman polyhedron the current model as one undo step,
// with new colours and the model scale back to 1. False, with nothing changed, for a root or centre
// out of range or when the hull cannot be made.
bool CreateWatermanPoly(int centre, int root);
