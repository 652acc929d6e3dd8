#pragma once

#include "kernel/LinkNode.h"
#include "kernel/RingVert.h"

#include <cstdint>

// A list of rings referred to by its first node: the first ring is the outline, the following ones
// its holes. Nodes come from a per-thread free list like the ring vertices; a list owns its rings.
struct RingList : LinkNode<RingList>
{
    RingVert* ring = nullptr;
};

// Appends a node holding the ring; null when memory runs out (the ring then stays the caller's).
RingList* AppendRingToList(RingVert* ring, RingList*& first, RingList*& last);

// Frees the node's ring and pushes the node on the free list; the caller unlinks it first.
void FreeRingListNode(RingList* node);
void FreeRingList(RingList* first);

// Deletes the nodes on the calling thread's list free list.
void ReleaseRingListPool();
int RingListPoolCount();

// A new list of ring copies; null for null (or when memory runs out).
RingList* CopyRingList(const RingList* first);

int RingListCount(const RingList* first);
int RingListVertexCount(const RingList* first);
void ReverseRingList(RingList* first);

// ORs bits into the flags of every vertex of the first ring.
void SetRingListFlags(RingList* first, uint32_t bits);

bool IsSingleConvexRing(const RingList* first);

// Joins every hole into the outline by a bridge edge (two copied vertices), or splices it in where
// it shares a vertex with the outline. Afterwards the first node holds the joined ring and is the
// only node. The outline runs counterclockwise and its holes clockwise.
void JoinRingHoles(RingList* first);
