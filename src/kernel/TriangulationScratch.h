#pragma once

#include "kernel/ChunkPool.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

struct RingVert;

// Storage that repeated triangulations reuse: result arrays from pools (they belong to the pools
// and are never freed one by one) and one vertex pointer array. Owned by the caller that
// triangulates over and over, such as the drawing of polygons while the mouse moves.
class TriangulationScratch
{
public:
    // n contiguous items from the pools; null when memory runs out.
    Vec3D* AllocPoints(uint32_t n) { return mPoints.Alloc(n); }
    int32_t* AllocIndices(uint32_t n) { return mIndices.Alloc(n); }

    // An array of at least n entries, contents not kept from the last call; null when memory runs
    // out. It grows with room to spare so that slowly growing rings do not reallocate each time.
    RingVert** GetVertexPointers(int n);

    int Capacity() const { return mCapacity; }

private:
    ChunkPool<Vec3D> mPoints;
    ChunkPool<int32_t> mIndices;
    std::unique_ptr<RingVert*[]> mVertexPointers;
    int32_t mCapacity = 0;
};
