#pragma once

#include "kernel/RingVert.h"

#include <cstdint>

// What the mesh builders note on the ring vertices of a facelet outline, each bit for the edge that
// starts at the vertex: a rotation axis crosses it, the diagram line under it is marked, and the
// loop it starts is followed by its rotated copies. A traced vertex's owner is the diagram edge
// (StellationEdge) it was traced from; a whole face's vertices have none.
inline constexpr uint32_t kMeshRingAxis = kRingVertOwnerMarked;
inline constexpr uint32_t kMeshRingLineMark = kRingVertMarkedAtCreation;
inline constexpr uint32_t kMeshRingRepeated = kRingVertMeshFlag;
