#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec2D.h"

#include <cstdint>

class StellationEdge;
class StellationFacet;

// Bits of StellationRegion::mFlags.
inline constexpr uint32_t kRegionVisited = 0x1;  // the mark of region walks

// A face of the planar arrangement of a stellation diagram, bounded by the ring of edges from
// mEdge. The face type owns its regions in a list, and with them the edges of their rings.
class StellationRegion : public LinkNode<StellationRegion>
{
public:
    StellationRegion() = default;

    // 0-based place in its type's region list.
    int GetIndex() const;

    // Walks of the ring from mEdge; a broken ring counts as far as it goes.
    int GetNumEdges() const;
    // The n-th edge from mEdge; null past the ring.
    StellationEdge* GetEdge(int n) const;
    // The mean of its vertices.
    Vec2D GetCentroid() const;
    // Edges whose other side has no region.
    bool HasOpenEdge() const { return GetNumOpenEdges() > 0; }
    int GetNumOpenEdges() const;

    StellationFacet* mFacet = nullptr;
    StellationEdge* mEdge = nullptr;
    uint32_t mFlags = 0;
};
