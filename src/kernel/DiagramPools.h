#pragma once

#include "kernel/ChunkPool.h"
#include "kernel/CoverageList.h"
#include "kernel/DiagramItems.h"
#include "kernel/LoopType.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>

// The pools a FaceDiagram takes its construction items from. One shared instance serves every
// diagram that is built and copied out within one operation; each Poly owns one for the diagrams
// of its face types, which live as long as the model.
class DiagramPools
{
public:
    DiagramPools();
    DiagramPools(const DiagramPools&) = delete;
    DiagramPools& operator=(const DiagramPools&) = delete;

    // Resets its own pools, then the shared work pools.
    void ResetAll();
    // Frees its own pools, then the shared work pools.
    void FreeAll();

    ChunkPool<CoverageEntry> mCoverage;
    ChunkPool<Vert2D> mVerts;
    ChunkPool<HalfEdge2D> mHalfEdges;
    ChunkPool<Loop2D> mLoops;
    ChunkPool<Edge2D> mEdges;
    ChunkPool<FaceArea> mFaceAreas;
    ChunkPool<Vert2D*> mVertPointers;  // scratch

private:
    void SetChunkSizes();
};

// The pools the results of a FaceDiagram go to: loop types, their owners and triangles, and the
// points the feeders copy out.
class DiagramWorkPools
{
public:
    DiagramWorkPools() = default;
    DiagramWorkPools(const DiagramWorkPools&) = delete;
    DiagramWorkPools& operator=(const DiagramWorkPools&) = delete;

    void ResetAll();
    void FreeAll();

    ChunkPool<LoopType> mLoopTypes;
    ChunkPool<LoopTypeTriangles> mTriangles;
    ChunkPool<LoopTypeOwner> mOwners;
    ChunkPool<Vec3D> mPoints3D;
    ChunkPool<Vec2D> mPoints2D;
    ChunkPool<int32_t> mIndices;
};

// The program's shared pools, made on first use.
DiagramPools& GetSharedDiagramPools();
DiagramWorkPools& GetSharedDiagramWorkPools();
// False once the shared pools have been destroyed at exit: a diagram destroyed after them leaves
// them alone. Before their first use they count as alive (they are made on demand).
bool SharedDiagramPoolsAlive();
