#include "kernel/DiagramPools.h"

namespace
{
// Set when the shared pools are destroyed at exit; they are made again by nobody after that.
bool gSharedGone = false;

struct SharedPools
{
    DiagramWorkPools work;
    DiagramPools pools;

    ~SharedPools() { gSharedGone = true; }
};

SharedPools& Shared()
{
    static SharedPools shared;
    return shared;
}
}  // namespace

DiagramPools::DiagramPools()
{
    SetChunkSizes();
}

void DiagramPools::SetChunkSizes()
{
    // Owners are few: their area arrays come in small chunks.
    mFaceAreas.SetChunkSize(10);
}

void DiagramPools::ResetAll()
{
    mCoverage.Reset();
    mVerts.Reset();
    mHalfEdges.Reset();
    mLoops.Reset();
    mEdges.Reset();
    mFaceAreas.Reset();
    mVertPointers.Reset();
    if (!gSharedGone)
        GetSharedDiagramWorkPools().ResetAll();
}

void DiagramPools::FreeAll()
{
    mCoverage.Free();
    mVerts.Free();
    mHalfEdges.Free();
    mLoops.Free();
    mEdges.Free();
    mFaceAreas.Free();
    mVertPointers.Free();
    SetChunkSizes();
    if (!gSharedGone)
        GetSharedDiagramWorkPools().FreeAll();
}

void DiagramWorkPools::ResetAll()
{
    mLoopTypes.Reset();
    mTriangles.Reset();
    mOwners.Reset();
    mPoints3D.Reset();
    mPoints2D.Reset();
    mIndices.Reset();
}

void DiagramWorkPools::FreeAll()
{
    mLoopTypes.Free();
    mTriangles.Free();
    mOwners.Free();
    mPoints3D.Free();
    mPoints2D.Free();
    mIndices.Free();
}

DiagramPools& GetSharedDiagramPools()
{
    return Shared().pools;
}

DiagramWorkPools& GetSharedDiagramWorkPools()
{
    return Shared().work;
}

bool SharedDiagramPoolsAlive()
{
    return !gSharedGone;
}
