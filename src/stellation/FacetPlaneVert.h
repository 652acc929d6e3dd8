#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec2D.h"

#include <cstdint>

class FaceVert;
class FacetPlaneEdge;

// Bits of FacetPlaneVert::mFlags.
inline constexpr uint32_t kFacetPlaneVertMark = 0x1;  // work marks, cleared after each use
inline constexpr uint32_t kFacetPlaneVertMark2 = 0x2;
inline constexpr uint32_t kFacetPlaneVertLeader = 0x4;   // first of its rotation cycle
inline constexpr uint32_t kFacetPlaneVertFlipped = 0x8;  // found as the flipped copy of another

// A vertex of the faceted model lying in a candidate plane, with its place in the plane: its 2D
// position, the rotation cycle about the plane's axis it belongs to and, in a plane that a half-turn
// turns over, its flipped partner. The plane owns its vertices; the model vertex is not owned.
class FacetPlaneVert : public LinkNode<FacetPlaneVert>
{
public:
    FacetPlaneVert(FaceVert* vert, const Vec2D& pos) : mPos(pos), mVert(vert), mLeader(this) {}

    // The vertex steps places on along its rotation cycle.
    FacetPlaneVert* Advance(int steps);
    // The first plane edge after e in this vertex's edge list (the first one for a null e).
    FacetPlaneEdge* NextEdge(const FacetPlaneEdge* e) const;

    Vec2D mPos;
    uint32_t mFlags = 0;
    FaceVert* mVert;
    int32_t mUseCount = 0;  // on cycle leaders: facets of the current faceting using the cycle
    int32_t mCycleIndex = 0;  // steps from the leader
    FacetPlaneVert* mLeader;
    FacetPlaneVert* mNextInCycle = nullptr;  // a closed ring; null until grouped
    FacetPlaneVert* mFlipped = nullptr;
    FacetPlaneEdge* mEdges = nullptr;  // the plane edges at this vertex, through their end links
};
