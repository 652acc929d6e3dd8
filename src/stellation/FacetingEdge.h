#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>

class FaceVert;
class Faceting;
struct FaceUse;

// Bits of FacetingEdge::mFlags.
inline constexpr uint32_t kFacetingEdgeOpen = 0x2;        // used once by the current faceting
inline constexpr uint32_t kFacetingEdgeClosed = 0x4;      // used twice
inline constexpr uint32_t kFacetingEdgeHalfTurned = 0x8;  // a half-turn swaps its ends
inline constexpr uint32_t kFacetingEdgeReflexible = 0x10;  // its own mirror image
inline constexpr uint32_t kFacetingEdgeChiralFirst = 0x20;   // the mirror image follows it
inline constexpr uint32_t kFacetingEdgeChiralSecond = 0x40;  // the mirror image precedes it
inline constexpr uint32_t kFacetingEdgeOnOuterPlane = 0x80;

// One class of vertex pairs of the faceted model under the rotations of its symmetry group, kept
// by its two representative vertices (which it does not own: the model's vertices, or its faces
// when the dual is faceted). The Faceting owns its edges.
class FacetingEdge : public LinkNode<FacetingEdge>
{
public:
    // Appended to the faceting's edge list and counted.
    FacetingEdge(Faceting& faceting, FaceVert* a, FaceVert* b, double lengthSq);

    // The other edge of a chiral pair, or the edge itself.
    FacetingEdge* GetMirror();
    // Untried faces using the edge outside the plane of the facet that opened it.
    int CountCandidates() const;

    FacetingEdge* mNextOpen = nullptr;  // the open-edge list of the current faceting
    FacetingEdge* mPrevOpen = nullptr;
    FaceVert* mVertA;
    FaceVert* mVertB;
    double mLengthSq;
    int32_t mIndex = 0;  // place in the sorted edge list
    uint32_t mFlags = 0;
    FaceUse* mUses = nullptr;  // the candidate faces using the edge; they belong to the faces
    FaceUse* mOpenedBy = nullptr;
    FaceUse* mClosedBy = nullptr;
};
