#pragma once

#include "kernel/Vec2D.h"

#include <cstdint>
#include <memory>

struct RingList;
struct RingVert;

// A distinct 2D point of a ring being split: every ring vertex there, original or inserted at a
// crossing, is chained from vertices through nextAtPoint. The points of one split form a list that
// the split owns and frees before it returns.
struct CrossPoint
{
    double x = 0.0;
    double y = 0.0;
    int32_t index = -1;  // given as the tracing first reaches the point
    RingVert* vertices = nullptr;
    CrossPoint* next = nullptr;
};

// Splits a ring whose edges cross or touch into simple rings, each with the filled side on its
// left: the outer boundary first (counterclockwise), then the inner boundaries that the filling
// rule in force calls for (an unfilled hole runs clockwise). The input ring
// keeps its links and none of its vertices refers to a crossing point afterwards (its vertices'
// positions may have been snapped by up to 1e-7 onto each other). Any array in points is released
// first; the new vertices carry as index the numbers of the distinct points, whose positions
// points then receives (count in pointCount when given). Null, with pointCount untouched, for a ring
// of fewer than three vertices, one whose vertices all coincide, or one whose outline cannot be
// traced.
RingList* SplitSelfIntersections(RingVert* ring, std::unique_ptr<Vec2D[]>& points, int* pointCount);

// The first point of the list within 1e-7 of pos in both coordinates, pos then taking its position;
// else a new point appended. Null when memory runs out.
CrossPoint* FindOrAddCrossPoint(Vec2D& pos, CrossPoint*& first, CrossPoint*& last);

// Puts a new vertex for point into the saved edge from v to its savedNext, in order along the
// edge's longer axis; nothing when a vertex of that edge already stands for the point.
void InsertCrossPoint(RingVert* v, CrossPoint* point);

// The far end of the edge at point that makes the smallest counterclockwise angle from the
// direction towards reference; that edge and every other edge between the same two points are
// flagged as traced. Null when there is none.
RingVert* NextEdgeAtPoint(CrossPoint* point, const Vec2D& reference);

// Walks from start (reached from previous) always taking NextEdgeAtPoint, numbering unnumbered
// points from nextNumber, until the first edge comes round again. Null for a walk that dead-ends or
// cycles without closing.
RingVert* TraceRing(RingVert* start, CrossPoint* previous, int32_t& nextNumber);

void FreeCrossPoints(CrossPoint* first);
