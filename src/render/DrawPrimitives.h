#pragma once

#include "kernel/Vec3D.h"

// Immediate-mode shapes drawn into the current context in the current colour or material.

// A regular polygon of n sides about the circle in the plane through centre perpendicular to normal,
// its edges touching the circle (the radius is divided by cos(pi / n)); filled or as an outline.
// The first corner lies along startAxis, or by default along normal x (the axis of the normal's
// smallest component).
void DrawCircle3D(const Vec3D& centre, const Vec3D& normal, double radius, int segments, bool filled,
                  const Vec3D* startAxis);

// Two barbs at tip, size long, at 45 degrees to the line from tip back to from, in the plane that
// faces the viewer (backward: the direction towards the viewer).
void DrawArrowHead3D(const Vec3D& from, const Vec3D& tip, double size, const Vec3D& backward);
// The segment with a head at each end.
void DrawDoubleArrow3D(const Vec3D& a, const Vec3D& b, double size, const Vec3D& backward);
