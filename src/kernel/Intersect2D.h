#pragma once

#include "kernel/Vec2D.h"

// Meeting points, point location and winding in the plane. Nothing here reports anything: a
// failure is a false result or a result code. Tolerances are absolute and include both ends.

// How segment A = pq meets segment B = rs (SegmentIsectSegment2D; the 3D test adds 13).
enum SegmentContact
{
    kSegNoContact = 0,      // also for a zero-length A and for parallel separate segments
    kSegPMeetsR = 1,
    kSegPMeetsS = 2,
    kSegQMeetsR = 3,
    kSegQMeetsS = 4,
    kSegRTouchesA = 5,      // r on the interior of A
    kSegSTouchesA = 6,
    kSegPTouchesB = 7,      // p on the interior of B
    kSegQTouchesB = 8,
    kSegEqual = 9,          // colinear, same ends, same direction
    kSegEqualReversed = 10,
    kSegOverlap = 11,       // colinear, sharing a stretch: out1 and out2 are its ends
    kSegCross = 12,         // the interiors cross
    kSegNotCoplanar = 13,
};

// Classifies how pq meets rs. out1 receives the meeting point (for 9 and 10: p; for 11: the
// stretch end on p's side), out2 the second point of 9, 10 and 11; either may be null. Lines are
// tested in the normalised form a*x + b*y + c = 0 with |a| + |b| = 1.
// For 11 the stretch always runs from out1 to out2 in A's direction: when A runs backwards along
// the axis of comparison, out1 is the upper end and out2 the lower one.
int SegmentIsectSegment2D(const Vec2D& p, const Vec2D& q, const Vec2D& r, const Vec2D& s, double tol,
                          Vec2D* out1 = nullptr, Vec2D* out2 = nullptr);

// The meeting point of the infinite lines ab and cd; false, with out untouched, when they are
// parallel within tol or either line has no length.
bool LineIsectLine2D(Vec2D& out, const Vec2D& a, const Vec2D& b, const Vec2D& c, const Vec2D& d,
                     double tol);

// True when the triangle winds around p (either orientation); exact comparisons.
bool PointInTriangle2D(const Vec2D& p, const Vec2D t[3]);

// 0 for x > 0, y > 0; 1 for x <= 0, y > 0; 2 for x <= 0, y <= 0; 3 for x > 0, y <= 0.
int Quadrant2D(const Vec2D& v);

// The signed quarter turns around the origin from prev to cur; prev and quadrant (prev's) are then
// advanced to cur. Summed around a closed polygon (points relative to the test point, prev and
// quadrant started at the last vertex) the steps give four times its winding number.
int WindingStep(const Vec2D& cur, Vec2D& prev, int& quadrant, double tol);

// The arcs of the circle (centre, radius) that lie inside the counterclockwise triangle t, each
// running counterclockwise from starts[i] to ends[i]; both arrays have room for three arcs.
// Returns the number of arcs; a circle wholly inside gives one arc that starts and ends at
// (centre.x + radius, centre.y).
int CircleClipTriangle2D(const Vec2D& centre, double radius, const Vec2D t[3], Vec2D starts[3],
                         Vec2D ends[3]);
