#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec3D.h"

#include <cstdint>

struct CrossPoint;

// Bits of RingVert::flags.
inline constexpr uint32_t kRingVertFree = 0x1;            // on the free list
inline constexpr uint32_t kRingVertOwnerMarked = 0x2;     // set by MarkRingVertFromOwner
inline constexpr uint32_t kRingVertMarkedAtCreation = 0x4;
inline constexpr uint32_t kRingVertMeshFlag = 0x10;       // the mesh code's own, set through SetRingListFlags
inline constexpr uint32_t kRingVertEdgeTraced = 0x20;     // the edge from this vertex was used while tracing

// One vertex of a polygon ring: a circular doubly linked list through next and prev, referred to by
// its first vertex (null for the empty ring). x, y place the polygon in its own plane, pos in space.
// Vertices come from a free list of the calling thread and return to it when freed; a vertex is
// in exactly one ring or on the free list, never both.
struct RingVert : RingNode<RingVert>
{
    double x = 0.0;
    double y = 0.0;
    Vec3D pos;
    int32_t index = -1;  // the number written into triangle arrays
    uint32_t flags = 0;
    double dx = 0.0;     // the edge to the next vertex, and its length (-1 until computed)
    double dy = 0.0;
    double length = -1.0;
    double priority = 0.0;  // ear priority while triangulating
    RingVert* blocker = nullptr;  // the vertex last found inside this vertex's ear
    const void* owner = nullptr;  // the element the vertex stands for, opaque here
    CrossPoint* point = nullptr;  // the crossing the vertex lies at while a ring is split
    RingVert* nextAtPoint = nullptr;
    RingVert* savedNext = nullptr;
    RingVert* savedPrev = nullptr;
    RingVert* earNext = nullptr;
    RingVert* earPrev = nullptr;
};

// The kernel cannot look inside the owners the mesh code passes, so that code installs the two
// questions asked of them: whether an owner marks its vertices at creation, and whether it is
// marked (with alsoLinked, the record it refers to counts too). Without them nothing is marked.
using RingOwnerMarkedAtCreation = bool (*)(const void* owner);
using RingOwnerMarked = bool (*)(const void* owner, bool alsoLinked);
void SetRingOwnerTests(RingOwnerMarkedAtCreation atCreation, RingOwnerMarked marked);

// A vertex from the free list (or new) added at the end of the ring, that is before its first
// vertex; an empty ring gets it as its first vertex. x and y within 1e-7 of 0 are stored as 0.
// Null, with the ring unchanged, when memory runs out.
RingVert* AddRingVert(double x, double y, const void* owner, const Vec3D* pos, RingVert*& ring);

// A copy (position, owner, pos, point and index) added at the end of the ring.
RingVert* CopyRingVert(const RingVert* vertex, RingVert*& ring);

// Marks the vertex free and pushes it on the free list. The caller unlinks it first, or frees
// its whole ring; the ring links are not touched, but next is reused by the free list.
void FreeRingVert(RingVert* vertex);

// Frees every vertex of the ring; null does nothing.
void FreeRing(RingVert* ring);

// Deletes the nodes on the calling thread's free list; vertices in rings stay valid.
void ReleaseRingVertPool();

// The number of nodes on the calling thread's free list.
int RingVertPoolCount();

// A ring of copies in the same order; null for null (or when memory runs out).
RingVert* CopyRing(const RingVert* ring);

int RingCount(const RingVert* ring);

void SaveRingLinks(RingVert* ring);

// Undoes insertions since SaveRingLinks: every vertex now lying between a saved vertex and its
// saved successor is freed and the two are linked again. The first vertex must be a saved one.
void RestoreRing(RingVert* ring);

// Turns the ring round; each vertex takes the flags of its former predecessor, so that the flags
// stay with their edge.
void ReverseRing(RingVert* ring);

// True when every corner turns left or runs straight on (a counterclockwise convex ring).
bool IsConvexRing(const RingVert* ring);

// The mean of pos; zero for null.
Vec3D RingCentroid3D(const RingVert* ring);

// The unit normal from the first edge and the first following edge not parallel to it; false,
// with out zero, when every cross product is zero within 1e-7.
bool RingNormal3D(const RingVert* ring, Vec3D& out);

// Twice the vector area of the ring in space (sum of the fan cross products from the first vertex).
Vec3D RingAreaVector3D(const RingVert* ring);

// Sets kRingVertOwnerMarked when the owner is marked (see SetRingOwnerTests).
void MarkRingVertFromOwner(RingVert* vertex, const void* owner, bool alsoLinked);

// Frees every vertex within 1e-7 (both coordinates) of its successor. Returns the first vertex kept,
// or null when the ring collapses into a single point.
RingVert* RemoveDuplicateRingVerts(RingVert* ring);
