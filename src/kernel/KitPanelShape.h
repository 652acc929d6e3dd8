#pragma once

#include "kernel/Vec3D.h"

// The kinds of flat panel the kit has, in the order kit part counts are kept.
enum KitPanelKind
{
    kKitPanelTriangle = 0,
    kKitPanelSquare = 1,
    kKitPanelRhombus = 2,  // 60 and 120 degree corners
    kKitPanelPentagon = 3,
};
inline constexpr int kNumKitPanelKinds = 4;

// The flat panels of the magnetic construction kit all have unit edges: triangle, square, rhombus
// (60 and 120 degree corners) and pentagon; hexagons, octagons, decagons and dodecagons are built
// from them with rods and balls inside. True when the polygon of n corners, running
// counterclockwise about the unit normal, is one of those regular shapes or the rhombus (a polygon
// running the other way is not). rhombusOut, when given, learns whether it is the rhombus; a rhombus
// given from an obtuse corner has its corners turned by one place so that it starts at an acute one.
bool IsKitPanelShape(int n, Vec3D* corners, const Vec3D& normal, int* rhombusOut);
