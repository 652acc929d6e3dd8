#pragma once

#include "kernel/Plane.h"
#include "kernel/Vec3D.h"

// Projections, closest points and meeting points in space. Planes are n.p + d = 0, given as a
// Plane or as a normal and an offset. Nothing here reports anything: a failure is a false result
// or a result code, and outputs are then left untouched unless said otherwise.

// Distance of p from the line ab; 0 when p is on the line within tol (also when a equals b).
double PointLineDistance(const Vec3D& p, const Vec3D& a, const Vec3D& b, double tol);

// The foot of the perpendicular from p to the line ab; returns its parameter (0 at a, 1 at b).
// When a equals b within tol, out = a and the result is 0.
double ProjectPointOnLine(Vec3D& out, const Vec3D& p, const Vec3D& a, const Vec3D& b, double tol);

// out = p - (n.p + d) n; out may be p.
void ProjectPointOnPlane(Vec3D& out, const Vec3D& p, const Plane& plane);

// The closest points of the lines p0p1 (out1) and q0q1 (out2); params, when given, receives their
// parameters on their lines. Returns the distance, signed: positive when the first line lies on
// the side of the second towards which (p1 - p0) x (q1 - q0) points. Parallel lines (within tol)
// give the midpoint of p0p1, its foot on the other line, params (0.5, t) and a positive distance.
double LineClosestPoints(Vec3D& out1, Vec3D& out2, double* params, const Vec3D& p0, const Vec3D& p1,
                         const Vec3D& q0, const Vec3D& q1, double tol);

// The centre of the sphere through a, b, c, d as an offset from a; false for coplanar points.
bool SphereCentre4Points(Vec3D& out, const Vec3D& a, const Vec3D& b, const Vec3D& c, const Vec3D& d,
                         double tol);

// The line common to two planes: a point with a zero coordinate on the axis of dir's largest
// component, and dir = na x nb (not normalised). False for parallel planes.
bool PlaneIsectPlane(Vec3D& point, Vec3D& dir, const Vec3D& na, double da, const Vec3D& nb, double db,
                     double tol);

// Where the line through point along dir meets the plane; false when dir is parallel to it.
bool PlaneIsectLine(Vec3D& out, const Vec3D& n, double d, const Vec3D& point, const Vec3D& dir, double tol);

// Where the line of segment ab meets the plane; false when the line is parallel to the plane or
// both ends lie strictly on one side. In the second case out still holds the line's meeting point.
bool SegmentIsectPlane(Vec3D& out, const Vec3D& n, double d, const Vec3D& a, const Vec3D& b, double tol);

// How segments pq and rs meet: the codes of SegmentIsectSegment2D (kernel/Intersect2D.h) for
// segments in one plane, found in the projection that drops the axis of the plane normal's largest
// component, or 13 when they do not lie in one plane. out1, out2 (may be null) are 3D points.
// Parallel segments that do not lie on one line within tol never meet: they give 0, whatever
// their projections would show.
int SegmentIsectSegment3D(const Vec3D& p, const Vec3D& q, const Vec3D& r, const Vec3D& s, double tol,
                          Vec3D* out1 = nullptr, Vec3D* out2 = nullptr);
