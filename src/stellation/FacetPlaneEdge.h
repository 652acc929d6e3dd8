#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>

class FacetingEdge;
class FacetPlaneVert;

// Bits of FacetPlaneEdge::mFlags.
inline constexpr uint32_t kFacetPlaneEdgeMark = 0x1;  // work marks, cleared after each use
inline constexpr uint32_t kFacetPlaneEdgeMark2 = 0x2;
inline constexpr uint32_t kFacetPlaneEdgeDiameter = 0x4;  // its ends are opposite through the plane's centre
// Its ends are opposite through the model's centre and the half-turn that swaps them leaves the
// plane: a face using it holds its edge class twice over.
inline constexpr uint32_t kFacetPlaneEdgeSwapped = 0x8;
inline constexpr uint32_t kFacetPlaneEdgeFlipped = 0x10;  // made as the flipped copy of another

// A side that a facet in a candidate plane can have: two of the plane's vertices whose pair belongs
// to a candidate edge class. The edges of one rotation orbit about the plane's axis form a ring led
// by the first made. The plane owns its edges; the edge class is not owned.
class FacetPlaneEdge : public LinkNode<FacetPlaneEdge>
{
public:
    FacetPlaneEdge(FacetPlaneVert* a, FacetPlaneVert* b, FacetingEdge* edge, uint32_t flags, int index)
        : mIndex(index), mFlags(flags), mVertA(a), mVertB(b), mEdge(edge)
    {
    }

    FacetPlaneVert* GetOther(const FacetPlaneVert* v) const { return v == mVertA ? mVertB : mVertA; }
    // The next edge at the end v in v's edge list.
    FacetPlaneEdge* NextAt(const FacetPlaneVert* v) const { return v == mVertA ? mNextAtA : mNextAtB; }

    int32_t mIndex;  // consecutive within a rotation orbit
    uint32_t mFlags;
    FacetPlaneVert* mVertA;
    FacetPlaneVert* mVertB;
    FacetingEdge* mEdge;
    FacetPlaneEdge* mLeader = this;
    FacetPlaneEdge* mNextInOrbit = this;  // turned one step about the plane's axis
    FacetPlaneEdge* mFlipped = nullptr;
    FacetPlaneEdge* mNextAtA = nullptr;
    FacetPlaneEdge* mNextAtB = nullptr;
};
