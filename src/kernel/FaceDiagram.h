#pragma once

#include "kernel/DiagramItems.h"
#include "kernel/PieceGrid.h"
#include "kernel/Tolerance.h"
#include "kernel/TriangulationScratch.h"
#include "kernel/Vec2D.h"

#include <cstdint>
#include <unordered_map>
#include <vector>

class DiagramPools;
class DiagramWorkPools;
class FaceType;
class OwnerCallbacks;
struct CoverageEntry;
struct LoopType;
struct LoopTypeTriangles;

// The planar arrangement of every polygon outline that lies in one plane: overlapping coplanar
// faces, star polygons, faces clipped by the dual, cross-sections. Each edge comes with its owner
// (the polygon it belongs to); the diagram splits the edges where they cross or touch, merges what
// lies on top of each other and keeps, for every piece, how each owner's winding number changes
// across it. Finish then traces the regions, groups them by coverage into loop types, triangulates
// and colours them. Every decision of the insertion is a test of a vertex against a piece within
// kTol, and nothing is linked before it was checked against the pieces as they are then, so the
// pieces never cross. A diagram lives on the user-interface thread within one operation; its items
// come from its pools (the shared ones unless a model supplies its own), its results go to its work
// pools. Owners are compared by identity only.
class FaceDiagram
{
public:
    // Finish flags.
    static constexpr uint32_t kFinishCancel = 0x1;
    static constexpr uint32_t kFinishNonOrientable = 0x2;
    static constexpr uint32_t kFinishSecondSlot = 0x4;
    static constexpr uint32_t kFinishKeepEdges = 0x8;

    FaceDiagram();
    ~FaceDiagram();
    FaceDiagram(const FaceDiagram&) = delete;
    FaceDiagram& operator=(const FaceDiagram&) = delete;

    // Reset, then the owner kind and the callbacks of kind 1. A builder that wants the diagram in
    // a model's pools sets mPools and mWorkPools afterwards.
    void Begin(int ownerKind, OwnerCallbacks* callbacks);
    // Empties the diagram (its pools stay chosen) and resets the shared pools: every diagram that
    // lives in them is gone.
    void Reset();

    // The first vertex within kTol of the point in both coordinates, else a new one there; null
    // only when memory runs out.
    Vert2D* FindOrCreateVert2D(const Vec2D& point, bool& isNew);
    // The same search without creating; null when none is near.
    Vert2D* FindVert2D(const Vec2D& point) const;

    // Inserts the segment from a to b for the owner. The winding numbers it sets make the inside
    // of a counterclockwise outline +1 and of a clockwise one -1, whatever order the edges come in.
    // A segment shorter than kTol in both coordinates adds nothing unless its ends lead to two
    // distinct vertices, now or when the diagram is finished: the outline it belongs to must stay
    // closed.
    void AddEdge(const void* owner, const Vec2D& a, const Vec2D& b);

    // The owner's place in order of first appearance, registering it when new; -1 when memory
    // runs out.
    int RegisterOwner(const void* owner);
    // Adds to the owner's area; an owner not registered is ignored.
    void AddOwnerArea(const void* owner, double doubledArea);
    const FaceArea* FindFaceArea(const void* owner) const;
    // The owner of a coverage key.
    const void* OwnerOfKey(int32_t key) const;

    // Loops, loop types, triangles and colours (flags kFinish...); with a face type, copies of the
    // loop types for its other faces. False when the loops could not be built.
    bool Finish(uint32_t flags, FaceType* faceType);

    // The arrangement's operations.
    // A new piece from start to end as a free two-cycle; its forward side (returned) is listed.
    HalfEdge2D* MakeEdgePair(Vert2D* start, Vert2D* end);
    // Links h, whose start end is free (its twin leads straight back into it), into the turn of
    // the half-edges leaving its start vertex, counterclockwise by direction.
    void AttachAtVertex(HalfEdge2D* h);
    // Takes a piece out of the loops and the list, flagging both sides removed.
    void RemoveEdgePair(HalfEdge2D* h);
    // The half-edge from a to b, or null.
    HalfEdge2D* FindPiece(const Vert2D* a, const Vert2D* b) const;

    bool CreateLoops();
    bool CreateLoopTypes(FaceType* faceType, bool secondSlot);

    int VertCount() const { return mVertCount; }
    int PieceCount() const { return mPieceCount; }

    DiagramPools* mPools;
    DiagramWorkPools* mWorkPools;
    OwnerCallbacks* mCallbacks = nullptr;
    int32_t mOwnerKind = -1;
    int32_t mLoopTypeCount = 0;
    LoopType* mLoopTypes = nullptr;
    LoopTypeTriangles* mLoopTypeTriangles = nullptr;
    Loop2D* mFirstLoop = nullptr;
    Loop2D* mLastLoop = nullptr;
    Loop2D* mOutlines = nullptr;  // the top-level clockwise loops, through mSibling
    HalfEdge2D* mFirstHalfEdge = nullptr;
    HalfEdge2D* mLastHalfEdge = nullptr;
    Vert2D* mFirstVert = nullptr;
    Vert2D* mLastVert = nullptr;
    Edge2D* mEdges = nullptr;  // newest first
    FaceArea* mFaceAreas = nullptr;
    int32_t mFaceAreaCount = 0;
    int32_t mFaceAreaCapacity = 0;
    int32_t* mIndices = nullptr;  // the triangles of every loop type, in the work pools
    int32_t mIndexCount = 0;

    // What went wrong and was mended while the diagram was built: for tests and the trace.
    int32_t mCoverageConflicts = 0;  // a region reached two ways with different coverage
    int32_t mRelinks = 0;            // the loops were rebuilt from the vertices' turns
    int32_t mParentRecoveries = 0;   // a nested piece found its region only by the fallback
    int32_t mForcedLinks = 0;        // a stretch cut too often was linked without further cuts
    int32_t mMergedVertices = 0;     // vertices of a cluster within a few tolerances made one
    int32_t mRetriangulated = 0;     // regions whose triangles were found again at a larger scale

private:
    struct ShortSegment
    {
        const void* owner;
        Vec2D a;
        Vec2D b;
    };
    // A stretch of an inserted segment, or of a piece being put back, with its coverage as seen
    // running from `from` to `to`.
    struct Stretch
    {
        Vert2D* from;
        Vert2D* to;
        const CoverageEntry* coverage;
        Edge2D* record;
    };
    // A vertex a stretch passes, at t along it; a vertex a piece is cut at, at t along the piece.
    struct Station
    {
        double t;
        Vert2D* v;
    };
    struct Split
    {
        HalfEdge2D* piece;
        double t;
        Vert2D* v;
    };

    void ClearFields();
    Vert2D* NewVert(const Vec2D& point);
    HalfEdge2D* NewHalfEdge();
    HalfEdge2D* NewPair(Vert2D* start, Vert2D* end, bool startReversed);
    void UnlinkAtOrigin(HalfEdge2D* h);
    static Vert2D* Resolve(Vert2D* v);

    // Insertion.
    bool InsertEdge(const void* owner, const Vec2D& a, const Vec2D& b, Vert2D* va, Vert2D* vb);
    // False when neither end is near a vertex yet.
    bool InsertShortSegment(const ShortSegment& seg);
    void InsertShortSegments();
    bool InsertSegment(Vert2D* s, Vert2D* e, const CoverageEntry* coverage, Edge2D* record);
    void UpdateGrid();
    bool FindMeetings(const Stretch& stretch);
    // Where segments se and uw that cross at x meet: an end of theirs, or a vertex at x.
    Vert2D* CrossingVertex(const Vec2D& x, Vert2D* s, Vert2D* e, Vert2D* u, Vert2D* w);
    bool MergeCluster(const Stretch& stretch);
    void MergeVertexInto(Vert2D* gone, Vert2D* keep);
    bool LinkStretch(const Stretch& stretch);

    // Loops.
    bool TraceLoops();
    void RelinkAllVertices();
    Loop2D* MakeLoop(HalfEdge2D* h, bool& failed);
    void ClassifyPieces();
    void NestPieces();
    void InsertChild(Loop2D* container, Loop2D* piece);
    Loop2D* FindRegionFor(Loop2D* container, Loop2D* piece);

    // Loop types.
    // Writes the triangles of a region with its holes; answers the number of indices written.
    int TriangulateRegion(const Loop2D* loop, int capacity, int32_t* indices);
    void SortFaceAreas();
    // The owner's place in the sorted FaceArea array; -1 when not registered.
    int32_t AreaRank(const void* owner) const;
    FaceArea* FindFaceAreaOf(const void* owner);

    int32_t mVertCount = 0;
    int32_t mPieceCount = 0;
    int32_t mHalfEdgeCount = 0;
    int32_t mLastOwnerKey = -1;
    const void* mLastOwner = nullptr;
    std::unordered_map<const void*, int32_t> mOwnerKeys;
    std::vector<const void*> mOwnersByKey;
    std::vector<int32_t> mAreaSlots;  // where each key's FaceArea sits in the array
    std::unordered_map<uint64_t, std::vector<Vert2D*>> mVertGrid;
    std::vector<ShortSegment> mShortSegments;
    // Pieces by place, rebuilt finer each time the number of pieces has doubled.
    PieceGrid mGrid;
    int32_t mGridBuiltAt = 0;
    Vec2D mLow{kUnsetValue, kUnsetValue};  // bounds of the vertices
    Vec2D mHigh{-kUnsetValue, -kUnsetValue};
    // Scratch of the insertion.
    std::vector<Station> mStations;
    std::vector<Split> mSplits;
    std::vector<Stretch> mPending;
    std::vector<HalfEdge2D*> mNearby;
    std::unordered_map<uint64_t, int> mStretchVisits;
    TriangulationScratch mScratch;
    std::vector<Vert2D*> mVertsByNumber;
    std::vector<int32_t> mFirstAttempt;
    // Rings are triangulated again this much larger when the first attempt falls short: a power
    // of two, so the coordinates scale exactly.
    static constexpr double kRetriangulationScale = 1024.0;
};

// The slice ratio of the cross-section being filled, named in the trace when a nested piece finds
// no region; the cross-section code sets it.
void SetFaceDiagramSliceRatio(double ratio);
double GetFaceDiagramSliceRatio();
