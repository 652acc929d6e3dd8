#pragma once

#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"
#include "kernel/Vec3F.h"

#include <vector>

// Immediate-mode shapes drawn into the current context in the current colour or material. Circles
// and arcs take their corners from the exact sine table, so symmetric models stay exactly symmetric.

// ---- 2D, in the current 2D coordinates ----

// Outcode of a point against a rectangle: 1 left of it, 2 right, 4 below, 8 above.
int OutCode2D(const Vec2D& p, const Vec2D& min, const Vec2D& max);
// Clips the segment to the rectangle in place; false when nothing of it is inside.
bool ClipLine2D(Vec2D& p, Vec2D& q, const Vec2D& min, const Vec2D& max);
// n corners on the circle, filled or as an outline.
void DrawCircle2D(const Vec2D& centre, double radius, int n, bool filled);
// From the direction of from to that of to, counter-clockwise, in steps of 2 pi / n.
void DrawArc2D(const Vec2D& centre, double radius, const Vec2D& from, const Vec2D& to, int n);
// Two barbs of length size at 45 degrees either side of the line back from to towards from.
void DrawArrowHead2D(const Vec2D& from, const Vec2D& to, double size);
void DrawArrow2D(const Vec2D& from, const Vec2D& to, double size);
void DrawDoubleArrow2D(const Vec2D& from, const Vec2D& to, double size);

// ---- 3D ----

// A regular polygon of n sides about the circle in the plane through centre perpendicular to normal,
// its edges touching the circle (the radius is divided by cos(pi / n)); filled or as an outline.
// The first corner lies along startAxis, or by default along normal x (the axis of the normal's
// smallest component).
void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                  const Vec3D* startAxis);
void DrawCircle3DF(const Vec3F& centre, const Vec3F& normal, float radius, int segments, bool filled,
                   const Vec3F* startAxis);
// The arc about the axis from the direction of from to that of to, in steps of 2 pi / n.
void DrawArc3D(const Vec3D& centre, const Vec3D& axis, double radius, const Vec3D& from, const Vec3D& to, int n);
// 11 circles of latitude about y and 24 circles through the y axis.
void DrawWireSphere(const Vec3D& centre, double radius);

// Two barbs at tip, size long, at 45 degrees to the line from tip back to from, in the plane that
// faces the viewer (backward: the camera's backward axis).
void DrawArrowHead3D(const Vec3D& from, const Vec3D& tip, double size, const Vec3D& backward);
// The segment with a head at each end.
void DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size, const Vec3D& backward);

// The unit vectors of one sphere octant, row by row: (n + 1)(n + 2) / 2 of them, row i holding i + 1.
std::vector<Vec3F> BuildOctantGrid(int n);
// Draws one octant (signs +-1 per axis) from a grid of gridN subdivisions, using every step-th row
// and column, in strips facing outward.
void DrawSphereOctant(const Vec3D& centre, double radius, const std::vector<Vec3F>& grid, int gridN, int step,
                      const int signs[3]);
// The two tables a sphere is drawn from (8 and 6 subdivisions), built on first use.
const std::vector<Vec3F>& SphereOctantTable(int gridN);
