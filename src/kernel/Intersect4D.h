#pragma once

#include "kernel/Hyperplane.h"
#include "kernel/Vec4D.h"

// Feet of perpendiculars, closest points and meeting sets of points, lines (two points),
// 2-planes (three points) and hyperplanes in 4D. Results go to the caller's first arguments;
// a false result leaves them untouched.

// Foot of the perpendicular from p to the line ab; returns its parameter (0 at a, 1 at b).
// A line whose ends coincide within tol gives a and 0.
double ProjectPointOnLine4D(Vec4D& out, const Vec4D& p, const Vec4D& a, const Vec4D& b, double tol);

// Foot of the perpendicular from p to the plane through a, b, c (not colinear).
void ProjectPointOnPlane4D(Vec4D& out, const Vec4D& p, const Vec4D& a, const Vec4D& b, const Vec4D& c,
                           double tol);

void ProjectPointOnHyperplane(Vec4D& out, const Vec4D& p, const Hyperplane& h);

// Where the line ab meets h; false when the line runs parallel to h.
bool LineIsectHyperplane(Vec4D& out, const Vec4D& a, const Vec4D& b, const Hyperplane& h, double tol);

// Closest points of the lines a1a2 (out1) and b1b2 (out2). params, when not null, receives their
// two line parameters. Returns the distance, signed by the construction; lines treated as
// parallel give the midpoint of a1a2 and its foot on b1b2, at a distance that is never negative.
double LineClosestPoints4D(Vec4D& out1, Vec4D& out2, double* params, const Vec4D& a1, const Vec4D& a2,
                           const Vec4D& b1, const Vec4D& b2, double tol);

// Closest points of the line a1a2 (out1) and the plane b1b2b3 (out2); returns their signed
// distance. Colinear plane points stand for the line through them.
double LinePlaneClosestPoints4D(Vec4D& out1, Vec4D& out2, const Vec4D& a1, const Vec4D& a2, const Vec4D& b1,
                                const Vec4D& b2, const Vec4D& b3, double tol);

// The line where the plane p0p1p2 meets h, as a point and a unit direction; false when the plane
// is degenerate or parallel to h.
bool PlaneIsectHyperplane(Vec4D& point, Vec4D& dir, const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                          const Hyperplane& h, double tol);

// The 2-plane common to two hyperplanes, as its point nearest the origin and two orthonormal
// directions; false when they are parallel.
bool HyperplaneIsectHyperplane(Vec4D& point, Vec4D& dir1, Vec4D& dir2, const Hyperplane& h1,
                               const Hyperplane& h2, double tol);

// How the planes P = p0p1p2 and Q = q0q1q2 lie; rec is zeroed first, out is written by codes 1-7.
//   0  a plane's points are colinear          (nothing)
//   1  coincident                             out mid (of Q), rec0 mid (of P)
//   2  parallel, apart                        out point of Q, rec0 nearest point of P
//   3  share a direction, do not meet         out point of P, rec0/rec1 directions in P/Q across
//                                             the shared direction, rec2 matching point of Q
//   4  meet in a line                         out point of the line, rec0/rec1 directions in P/Q
//                                             across the line, rec2 its unit direction
//   5  meet in a point, absolutely perpendicular
//                                             out the point, rec0/rec1 towards P's/Q's centroid,
//                                             rec2/rec3 the directions across them in P/Q
//   6  meet in a point, one angle a right angle
//   7  meet in a point                        out the point, rec0/rec2 orthonormal in P, rec1/rec3
//                                             orthonormal in Q, rec0 against rec1 and rec2
//                                             against rec3 are the two principal angles
// In code 6 rec0 is P's direction perpendicular to Q and rec1 Q's perpendicular to P.
// mid is the midpoint of the two planes' centroids.
int PlaneIsectPlane4D(Vec4D& out, Vec4D rec[4], const Vec4D& p0, const Vec4D& p1, const Vec4D& p2,
                      const Vec4D& q0, const Vec4D& q1, const Vec4D& q2, double tol);
