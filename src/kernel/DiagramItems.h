#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec2D.h"

#include <cstdint>

struct CoverageEntry;
struct Edge2D;
struct HalfEdge2D;
struct RingVert;
struct Loop2D;
template <class T>
class ChunkPool;

// The items of a FaceDiagram. They live in the diagram's pools, which construct them once when a
// chunk is made and never again: whoever takes one sets every field it reads.

// A vertex of the arrangement. Distinct vertices lie more than kTol apart in x or in y.
struct Vert2D : LinkNode<Vert2D>
{
    int32_t mIndex = -1;        // numbered in list order when the loop types are made
    Vec2D mPoint;
    HalfEdge2D* mEdge = nullptr;  // one half-edge leaving the vertex; null while it has none
    int32_t mSerial = 0;        // place in order of creation
    Vert2D* mMergedInto = nullptr;  // set when a cluster of nearby vertices was made one
};

// One side of a piece of edge. Its ring links (next, prev) are the neighbouring half-edges of the
// loop it borders; the region of that loop lies to its left. Around a vertex, the half-edges
// leaving it follow each other counterclockwise through twin(prev).
struct HalfEdge2D : RingNode<HalfEdge2D>
{
    static constexpr uint32_t kReversed = 0x2;  // the twin of the side in the half-edge list
    static constexpr uint32_t kRemoved = 0x8;   // merged into another piece

    Edge2D* mEdge = nullptr;    // the inserted segment the piece came from
    Loop2D* mLoop = nullptr;
    HalfEdge2D* mTwin = nullptr;
    Vert2D* mOrigin = nullptr;
    uint32_t mFlags = 0;
    // The winding changes of the piece, shared by both sides: crossing from the left of the
    // forward side to its right adds each count.
    CoverageEntry* mCoverage = nullptr;
    HalfEdge2D* mListNext = nullptr;      // the diagram's list of forward sides
    HalfEdge2D* mListPrev = nullptr;
    uint32_t mStamp = 0;                  // the last search of the piece grid that found it

    bool IsReversed() const { return (mFlags & kReversed) != 0; }
    Vert2D* End() const { return mTwin->mOrigin; }
    // End minus start.
    Vec2D Direction() const;
    // Adds to the list both sides share.
    bool AddCoverage(int32_t owner, int32_t count, ChunkPool<CoverageEntry>& pool);
    void SetCoverage(CoverageEntry* list)
    {
        mCoverage = list;
        mTwin->mCoverage = list;
    }
};

// One inserted segment, from its lower to its upper end along its axis.
struct Edge2D
{
    static constexpr uint32_t kInserting = 0x2;  // the segment being inserted

    Vert2D* mFrom = nullptr;
    Vert2D* mTo = nullptr;
    int32_t mAxis = 0;  // 0: the segment runs more along x
    HalfEdge2D* mFirst = nullptr;  // the half-edge its first linked stretch became
    uint32_t mFlags = 0;
    Edge2D* mNext = nullptr;  // the next older record
};

// The doubled area an owner covers; one per owner, in order of first appearance until sorted.
struct FaceArea
{
    const void* mOwner = nullptr;
    double mArea = 0.0;
    int32_t mOrder = 0;
};

// A closed cycle of half-edges. A counterclockwise loop is a region; the clockwise loop of a
// connected piece of the arrangement stands for the outside of that piece.
struct Loop2D : LinkNode<Loop2D>
{
    static constexpr uint32_t kMarked = 0x1;
    static constexpr uint32_t kClockwise = 0x2;
    static constexpr uint32_t kNoTurning = 0x4;
    static constexpr uint32_t kNested = 0x8;
    static constexpr uint32_t kFirstOfType = 0x10;

    uint32_t mFlags = 0;
    HalfEdge2D* mFirst = nullptr;
    CoverageEntry* mCoverage = nullptr;  // every owner's winding number in the region
    // The loop tree: a clockwise loop's children are the regions of its piece; a region's children
    // are the clockwise loops of the pieces directly inside it.
    Loop2D* mSibling = nullptr;
    Loop2D* mChild = nullptr;
    int32_t mTurning = 0;  // whole turns of the boundary, counterclockwise positive
    Vec2D mMin;            // bounds, while pieces are nested
    Vec2D mMax;

    int VertexCount() const;
    // Crossings of the rightward ray from the point, raised by kTol, with the loop's edges.
    bool ContainsPoint(const Vec2D& point) const;
    // Contains the other loop's first vertex.
    bool ContainsLoop(const Loop2D* other) const { return ContainsPoint(other->mFirst->mOrigin->mPoint); }
    void Bounds(Vec2D& min, Vec2D& max) const;
    // Triangles for the loop with its holes: (n - 2) + the sum of (m + 2) over the holes that
    // enclose an area.
    int TriangleCount() const;
    // The loop's vertices in cycle order, each with its number as index, their coordinates times
    // scale; null when memory runs out.
    RingVert* MakeRing(double scale = 1.0) const { return MakeRingFrom(mFirst, scale); }
    RingVert* MakeRingFrom(const HalfEdge2D* start, double scale) const;
    // The ring of a clockwise loop as a hole: it starts at the corner of its topmost vertex that
    // opens upwards, where the triangulation bridges a hole to its outline. A piece that touches
    // itself there passes that point twice, and only one of its corners faces up.
    RingVert* MakeHoleRing(double scale = 1.0) const;
    // Twice the signed area inside the loop's boundary (shoelace).
    double DoubledArea() const;
    // The loop's children that are holes: clockwise loops whose piece encloses an area.
    static bool IsAreaHole(const Loop2D* child) { return child->mChild != nullptr; }
    // Adds the crossing change of h (negated for a reversed side) to the coverage.
    bool AddCrossingCoverage(const HalfEdge2D* h, ChunkPool<CoverageEntry>& pool);
    // Adds the coverage to every region below the clockwise loop: its own regions, the regions of
    // the pieces inside them, and so on down.
    static bool PropagateCoverage(Loop2D* outline, const CoverageEntry* coverage, ChunkPool<CoverageEntry>& pool);
};
