#pragma once

#include "kernel/RingList.h"
#include "kernel/RingVert.h"

#include <cstdint>
#include <memory>

class TriangulationScratch;

// Ear clipping of counterclockwise rings, best-shaped ears first (smallest circumradius). Every
// function here consumes the ring or list it is given: its vertices and nodes end on the free
// lists whatever happens. Triangles are written as three vertex `index` values each.
// A ring that cannot be clipped completely (a clockwise or self-crossing ring) loses the part that
// is left once no convex corner is free: its other corners are dropped without triangles.

// The edge from v to its successor into dx, dy and length.
void SetRingEdgeVector(RingVert* v);

// From the stored edge vectors in and out of v: the squared circumradius of the ear for a left turn,
// -1 for a spike or a zero edge, 9.99999e99 for a right turn or a straight continuation.
void SetEarPriority(RingVert* v);

// Whether vertex t lies in the ear at v (the triangle prev, v, next), its edges included, or within
// kTol of its far side. A point at prev's or next's position never blocks; one at v's position
// (the ring passing there twice) blocks when the ring's other pass turns into the ear.
bool PointBlocksEar(const RingVert* v, const RingVert* t);

// Whether some other vertex of the ring blocks the ear at v. Remembers the blocker, so that while
// it still blocks a test costs one check.
bool IsEarBlocked(RingVert* v);

// Triangulates into indices[0 .. capacity) and returns the number of indices written. Too little
// room is an internal error; what was written stays. scratch may be null. Long rings are clipped
// with the help of a vertex grid and an index of the ear list: the same triangles, found faster.
int TriangulateRingInto(RingVert* ring, int capacity, int32_t* indices, TriangulationScratch* scratch);

// Triangulates into a new array of 3(n - 2) indices, owned by the caller; out is null and the
// result 0 for a ring of fewer than three vertices.
int TriangulateRing(RingVert* ring, std::unique_ptr<int32_t[]>& out);

// The same with the index array taken from the scratch's pool (which owns it).
int TriangulateRing(RingVert* ring, int32_t*& out, TriangulationScratch& scratch);

// Joins the holes into the outline, then triangulates it; the list's nodes are freed.
int TriangulateRingList(RingList* list, std::unique_ptr<int32_t[]>& out);
int TriangulateRingList(RingList* list, int32_t*& out, TriangulationScratch& scratch);
int TriangulateRingListInto(RingList* list, int capacity, int32_t* indices, TriangulationScratch* scratch);
