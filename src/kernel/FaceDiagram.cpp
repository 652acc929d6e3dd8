#include "kernel/FaceDiagram.h"

#include "kernel/DiagramPools.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/Tolerance.h"

#include <cmath>
#include <cstring>

namespace
{
// Vertices are found through a grid of this cell size; a cell is wider than kTol, so the points
// within kTol of a point lie in its cell or the eight around it.
constexpr double kGridCell = 1e-4;

int64_t CellIndex(double v)
{
    const double c = std::floor(v / kGridCell);
    // Far-out coordinates share the border cells: slower, never wrong.
    if (c < -4e18)
        return int64_t(-4e18);
    if (c > 4e18)
        return int64_t(4e18);
    return int64_t(c);
}

uint64_t CellKey(int64_t ix, int64_t iy)
{
    return uint64_t(ix) * 0x9E3779B97F4A7C15ull ^ (uint64_t(iy) + 0x7F4A7C159E3779B9ull);
}

double gSliceRatio = 0.0;
}  // namespace

void SetFaceDiagramSliceRatio(double ratio)
{
    gSliceRatio = ratio;
}

double GetFaceDiagramSliceRatio()
{
    return gSliceRatio;
}

FaceDiagram::FaceDiagram() : mPools(&GetSharedDiagramPools()), mWorkPools(&GetSharedDiagramWorkPools())
{
}

FaceDiagram::~FaceDiagram()
{
    Reset();
}

void FaceDiagram::Begin(int ownerKind, OwnerCallbacks* callbacks)
{
    Reset();
    mOwnerKind = ownerKind;
    mCallbacks = callbacks;
}

void FaceDiagram::ClearFields()
{
    mCallbacks = nullptr;
    mOwnerKind = -1;
    mLoopTypeCount = 0;
    mLoopTypes = nullptr;
    mLoopTypeTriangles = nullptr;
    mFirstLoop = mLastLoop = nullptr;
    mOutlines = nullptr;
    mFirstHalfEdge = mLastHalfEdge = nullptr;
    mFirstVert = mLastVert = nullptr;
    mEdges = nullptr;
    mFaceAreas = nullptr;
    mFaceAreaCount = 0;
    mFaceAreaCapacity = 0;
    mIndices = nullptr;
    mIndexCount = 0;
    mCoverageConflicts = 0;
    mRelinks = 0;
    mParentRecoveries = 0;
    mForcedLinks = 0;
    mMergedVertices = 0;
    mRetriangulated = 0;
    mVertCount = 0;
    mPieceCount = 0;
    mHalfEdgeCount = 0;
    mLastOwnerKey = -1;
    mLastOwner = nullptr;
    mOwnerKeys.clear();
    mOwnersByKey.clear();
    mAreaSlots.clear();
    mVertGrid.clear();
    mShortSegments.clear();
    mVertsByNumber.clear();
    mGrid.Reset(0.0, 0.0);
    mGridBuiltAt = 0;
    mLow = Vec2D{kUnsetValue, kUnsetValue};
    mHigh = Vec2D{-kUnsetValue, -kUnsetValue};
}

void FaceDiagram::Reset()
{
    ClearFields();
    if (SharedDiagramPoolsAlive())
        GetSharedDiagramPools().ResetAll();
}

Vert2D* FaceDiagram::FindVert2D(const Vec2D& point) const
{
    const int64_t ix = CellIndex(point.x);
    const int64_t iy = CellIndex(point.y);
    Vert2D* best = nullptr;
    for (int64_t dy = -1; dy <= 1; ++dy)
        for (int64_t dx = -1; dx <= 1; ++dx)
        {
            auto cell = mVertGrid.find(CellKey(ix + dx, iy + dy));
            if (cell == mVertGrid.end())
                continue;
            for (Vert2D* v : cell->second)
                if (Vec2Equal(v->mPoint, point, kTol) && (!best || v->mSerial < best->mSerial))
                    best = v;
        }
    // A vertex merged into another answers for it.
    while (best && best->mMergedInto)
        best = best->mMergedInto;
    return best;
}

Vert2D* FaceDiagram::FindOrCreateVert2D(const Vec2D& point, bool& isNew)
{
    TraceScope scope("FaceDiagram::FindOrCreateVert2D");
    isNew = false;
    if (Vert2D* v = FindVert2D(point))
        return v;
    Vert2D* v = NewVert(point);
    isNew = v != nullptr;
    return v;
}

Vert2D* FaceDiagram::NewVert(const Vec2D& point)
{
    Vert2D* v = mPools->mVerts.Alloc(1);
    if (!v)
        return nullptr;
    v->mIndex = -1;
    v->mPoint = point;
    v->mEdge = nullptr;
    v->mMergedInto = nullptr;
    v->mSerial = mVertCount++;
    ListAppend(v, mFirstVert, mLastVert);
    mLow.x = std::fmin(mLow.x, point.x);
    mLow.y = std::fmin(mLow.y, point.y);
    mHigh.x = std::fmax(mHigh.x, point.x);
    mHigh.y = std::fmax(mHigh.y, point.y);
    mVertGrid[CellKey(CellIndex(point.x), CellIndex(point.y))].push_back(v);
    return v;
}

int FaceDiagram::RegisterOwner(const void* owner)
{
    if (mLastOwnerKey >= 0 && owner == mLastOwner)
        return mLastOwnerKey;
    auto found = mOwnerKeys.find(owner);
    if (found != mOwnerKeys.end())
    {
        mLastOwner = owner;
        mLastOwnerKey = found->second;
        return found->second;
    }
    if (mFaceAreaCount == mFaceAreaCapacity)
    {
        const int32_t capacity = mFaceAreaCount * 2 > 10 ? mFaceAreaCount * 2 : 10;
        FaceArea* grown = mPools->mFaceAreas.Alloc(uint32_t(capacity));
        if (!grown)
            return -1;
        // The old array stays behind in the pool.
        for (int32_t i = 0; i < mFaceAreaCount; ++i)
            grown[i] = mFaceAreas[i];
        mFaceAreas = grown;
        mFaceAreaCapacity = capacity;
    }
    const int32_t key = mFaceAreaCount;
    FaceArea& area = mFaceAreas[mFaceAreaCount++];
    area.mOwner = owner;
    area.mArea = 0.0;
    area.mOrder = key;
    mOwnerKeys.emplace(owner, key);
    mOwnersByKey.push_back(owner);
    mAreaSlots.push_back(key);
    mLastOwner = owner;
    mLastOwnerKey = key;
    return key;
}

const FaceArea* FaceDiagram::FindFaceArea(const void* owner) const
{
    const int32_t rank = AreaRank(owner);
    return rank < 0 ? nullptr : &mFaceAreas[rank];
}

FaceArea* FaceDiagram::FindFaceAreaOf(const void* owner)
{
    const int32_t rank = AreaRank(owner);
    return rank < 0 ? nullptr : &mFaceAreas[rank];
}

int32_t FaceDiagram::AreaRank(const void* owner) const
{
    auto found = mOwnerKeys.find(owner);
    if (found == mOwnerKeys.end())
        return -1;
    return mAreaSlots[size_t(found->second)];
}

void FaceDiagram::AddOwnerArea(const void* owner, double doubledArea)
{
    if (FaceArea* area = FindFaceAreaOf(owner))
        area->mArea += doubledArea;
}

const void* FaceDiagram::OwnerOfKey(int32_t key) const
{
    if (key < 0 || size_t(key) >= mOwnersByKey.size())
        return nullptr;
    return mOwnersByKey[size_t(key)];
}

bool FaceDiagram::Finish(uint32_t flags, FaceType* faceType)
{
    TraceScope scope("FaceDiagram::Finish");
    InsertShortSegments();
    if (!(flags & kFinishKeepEdges))
    {
        // The records only serve the insertion.
        mPools->mEdges.Reset();
        mEdges = nullptr;
    }
    const bool ok = CreateLoops();
    CreateLoopTypes(faceType, (flags & kFinishSecondSlot) != 0);
    CalcAllColors(mLoopTypes, mLoopTypeCount,
                  GetDiagramDrawFlags((flags & kFinishCancel) != 0, (flags & kFinishNonOrientable) != 0), mOwnerKind,
                  mCallbacks);
    return ok;
}
