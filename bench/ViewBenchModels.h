#pragma once

// The models and the display of the view benchmarks (one program, run under a display).

#include "support/PolyBuilder.h"

// The program has a display: the benchmarks that draw are skipped without one.
bool ViewBenchHasDisplay();
// Lets the window system catch up for some rounds.
void PumpViewBench(int rounds);
// The geodesic sphere of frequency n on the icosahedron: 20 n^2 triangles.
PolySpec GeodesicSpec(int n);
// The uniform polyhedron with the most faces that builds from its configuration so far.
const char* LargestUniform();
