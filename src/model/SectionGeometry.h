#pragma once

#include "kernel/Mat4.h"
#include "kernel/Vec3D.h"
#include "kernel/Vec4D.h"

class Poly;

// The plane arithmetic of the section commands: frames from a direction, the spread of the side
// shown along the section normal, and depths. The depth runs from 0 at the highest point along
// the normal to 1 at the lowest, as the section is drawn.

// The frame whose columns are u, v, n and the unit w axis, n the direction normalised and u
// perpendicular to it through the coordinate axis along which n is smallest. False for a zero
// direction, with the frame untouched.
bool MakeSectionFrame3D(const Vec3D& direction, Mat4& frame);
// An orthonormal 4D frame whose fourth column is the direction normalised. False for zero.
bool MakeSectionFrame4D(const Vec4D& direction, Mat4& frame);

// The lowest and highest place of the side shown along the frame's normal (third column for a 3D
// model, fourth for a 4D one, whose polytope shown is measured); false with no finite points.
bool GetShownSectionRange(Poly& poly, const Mat4& frame, double& lowest, double& highest);
// The place along the frame's normal of a 3D point, or of a 4D one.
double SectionOffsetOf(const Mat4& frame, const Vec3D& point);
double SectionOffsetOf(const Mat4& frame, const Vec4D& point);
// The depth that puts the plane at the offset; 0 for an empty range.
double SectionDepthAtOffset(double offset, double lowest, double highest);

// The depth of the vertex that Snap Sectioning Depth to Vertex goes to from the depth: direction 0
// the vertex nearest the plane, positive the nearest more than 1e-7 above it (towards the
// highest), negative the nearest more than 1e-7 below. False when there is none.
bool FindSnappedSectionDepth(Poly& poly, const Mat4& frame, double depth, int direction, double& snapped);
