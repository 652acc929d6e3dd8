#pragma once

#include "kernel/Vec3D.h"
#include "kernel/Vec4D.h"

// Drops the current model's cross-section, to be cut again at a new depth or orientation.
void InvalidateModelCrossSection();

// The section commands of every pane. Each one that moves the plane cuts the section again and
// redraws the panes that show it.

// The section normal along the direction (zero: nothing changes).
void SetCrossSectionDirection3D(const Vec3D& direction);
// The 4D section normal along the direction; the section stops following the projection.
void SetCrossSectionDirection4D(const Vec4D& direction);
// The depth, held to [0, 1] (not a number counts as 0).
void SetSectionDepth(double depth);
// The depth that puts the plane through the point (4D: the 4D point).
void SetSectionDepthAt(const Vec3D& point);
void SetSectionDepthAt(const Vec4D& point);
// Moves the plane onto a vertex of the side shown: direction 0 the nearest, positive the next one
// towards the highest point, negative towards the lowest; without such a vertex nothing moves.
void SnapSectionDepth(int direction);
// The model's own direction: a 4D model's projection direction, else the first axis of the first
// class of its symmetry group; a model without axes keeps the direction it has.
void UpdateCrossSectionDirection();
