#pragma once

#include <cstdint>
#include <string>

class SegVert;
class StellationLine;
class StellationRegion;

// Bits of StellationEdge::mFlags. The low byte with the sign bit is how often the original face
// winds over the edge.
inline constexpr uint32_t kEdgeWindingMask = 0xFF;
inline constexpr uint32_t kEdgeWindingNegative = 0x100;
inline constexpr uint32_t kEdgeOnOriginalBoundary = 0x200;
inline constexpr uint32_t kEdgeBoundaryMark = 0x400;  // a second mark while original edges are marked
inline constexpr uint32_t kEdgeMidOnTwoFoldAxis = 0x800;
inline constexpr uint32_t kEdgeOnSurface = 0x1000;  // an edge of the current stellation's surface
inline constexpr uint32_t kEdgeMeshDone = 0x2000;   // the mesh builder's mark

// One directed half of a segment between two vertices of a stellation diagram, with the region on
// its left (none outside the finite diagram). The edges around a region form a ring through mNext
// and mPrev, mNext starting where this edge ends; the edges that end at a vertex are visited by
// taking mNext and then its twin, again and again. The face type owns its edges through its regions
// and the ring outside them.
class StellationEdge
{
public:
    StellationEdge(StellationRegion* region, StellationLine* line, SegVert* start);
    StellationEdge(const StellationEdge&) = delete;
    StellationEdge& operator=(const StellationEdge&) = delete;

    // The start of the twin (of mNext when there is no twin); null when neither is linked.
    SegVert* GetEnd() const;

    // The edge that goes on along the line from this edge's end: the twin of the first other edge
    // ending there that lies on the line. Null when none does.
    StellationEdge* FindOnLineAroundVertex(const StellationLine* line) const;
    // The matching edge of the adjacent face type's diagram: mNeighbour on side 1, and across the
    // twin on side 0 (the twin's neighbour's twin). Null where a link is missing.
    StellationEdge* GetNeighbourOnSide(int side) const;
    StellationEdge* GetNeighbourOnOtherSide(int side) const { return GetNeighbourOnSide(1 - side); }

    // The original face's winding over the edge, -255..255.
    int GetWinding() const;
    void SetWinding(int winding);

    // "region-position" for messages: the place of its region (else its twin's) in the type's region
    // list and the place of the edge around that region, "?" when it is not on that ring (an edge
    // outside the diagram); "Empty" when neither side has a region.
    std::string GetLabel() const;

    uint32_t mFlags = 0;
    StellationRegion* mRegion;
    StellationLine* mLine;
    StellationEdge* mTwin = nullptr;
    StellationEdge* mNeighbour = nullptr;  // across which a cell goes on into another type's diagram
    SegVert* mStart;
    StellationEdge* mNext = nullptr;
    StellationEdge* mPrev = nullptr;
};
