#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

class StellationEdge;
class StellationFacet;
struct Transform3D;

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
    // The region filled through the frame: a fan, the regions of a line arrangement being convex.
    void DrawGL(const Transform3D& frame) const;
    // The edges of this region and of every region reachable across edges that are no surface edge
    // of the current stellation (and have a twin: MarkAllUsedSegVerts marks the surface first), each
    // region once, as lines through the frame,
    // handed to out as pairs of ends. Marks the regions visited; ClearVisited clears the marks over
    // the same flood.
    void CollectEdgesFlood(const Transform3D& frame, std::vector<Vec3D>& out);
    void ClearVisited();
    int GetNumOpenEdges() const;

    StellationFacet* mFacet = nullptr;
    StellationEdge* mEdge = nullptr;
    uint32_t mFlags = 0;
};
