#pragma once

#include "kernel/LinkNode.h"

#include <cstdint>
#include <string>
#include <vector>

class FaceType;
class StellationCell;
class StellationEdge;
class StellationRegion;
struct Transform3D;

// Bits of StellationFacet::mFlags.
inline constexpr uint32_t kFacetUsed = 0x1;      // on the surface of the current stellation
inline constexpr uint32_t kFacetBack = 0x2;      // seen from its back: the included cell lies above it
inline constexpr uint32_t kFacetInternal = 0x8;  // included cells on both sides
inline constexpr uint32_t kFacetChiralFirst = 0x10;
inline constexpr uint32_t kFacetChiralSecond = 0x20;
inline constexpr uint32_t kFacetTaken = 0x40;    // in the facet list of a cell being built; a visit mark
inline constexpr uint32_t kFacetCentral = 0x80;  // the type's first face passes through the centre
inline constexpr uint32_t kFacetOnAxis = 0x100;  // axis marks for the cells above axes
inline constexpr uint32_t kFacetAxisClass0 = 0x200;
inline constexpr uint32_t kFacetAxisClass1 = 0x400;
inline constexpr uint32_t kFacetOnOriginalFace = 0x800;
inline constexpr uint32_t kFacetOriginalBelow = 0x1000;  // its cell below belongs to the original solid
inline constexpr uint32_t kFacetOriginalAbove = 0x2000;
inline constexpr uint32_t kFacetLowerTaken = 0x4000;  // a cell under construction took that side
inline constexpr uint32_t kFacetUpperTaken = 0x8000;
inline constexpr uint32_t kFacetSameCellBothSides = 0x10000;

// Side classes of a facet (StellationFacet::GetSideClass).
inline constexpr int kFacetSideFront = 0;
inline constexpr int kFacetSideBack = 1;
inline constexpr int kFacetSideInternal = 2;
inline constexpr int kFacetSideOff = 3;

// One symmetry class of the regions of a face type's diagram: a candidate face of a stellation, one
// region per rotation of the type (entries may be null). The face type owns its facets in a list.
class StellationFacet : public LinkNode<StellationFacet>
{
public:
    // Appended to the list, its own mirror image, with one empty region slot per rotation of the
    // type; it is central when the type's first face passes through the centre.
    StellationFacet(FaceType* faceType, int ring, int index, StellationFacet*& first, StellationFacet*& last);

    bool IsUsed() const { return (mFlags & kFacetUsed) != 0; }
    // On the surface of the current stellation or off it: in its type's used list or out of it.
    void SetUsed(bool on);
    // Front or back while used; internal, or off the surface, while not.
    int GetSideClass() const;
    // The mirror-image facet; the facet itself when it has none.
    StellationFacet* GetMirror() { return mMirror ? mMirror : this; }
    int GetNumRegions() const { return int(mRegions.size()); }
    // Makes the edge's region the facet's i-th region, walked from that edge.
    void SetRegion(int i, StellationEdge* edge);
    // This facet and the other become each other's mirror image, this one first of the pair.
    void PairMirror(StellationFacet* other);

    // "type-index" for messages ("type-?" without an index, "NULL" for none).
    static std::string GetLabel(const StellationFacet* facet);
    // Every region of the facet filled through the frame (diagram points (x, y, 0) into the scene).
    void DrawGL(const Transform3D& frame) const;

    FaceType* mFaceType;
    int32_t mIndex;
    StellationCell* mCellBelow = nullptr;  // on the inner side of the plane
    StellationCell* mCellAbove = nullptr;
    int32_t mRing;  // 0 for the innermost region's facet, else one more than the facet reached from
    uint32_t mFlags = 0;
    StellationFacet* mMirror;
    // For a face through the centre with an even-order axis in its plane: the facet the half-turn
    // about that axis makes of this one (itself when it maps onto itself); otherwise null.
    StellationFacet* mHemiPartner = nullptr;
    std::vector<StellationRegion*> mRegions;
    StellationFacet* mNextUsed = nullptr;
};
