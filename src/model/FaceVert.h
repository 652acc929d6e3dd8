#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/Vec3D.h"
#include "model/PolyElement.h"

#include <cstdint>
#include <memory>

class ElemList;
class Face3D;
class FaceType;
class Stellation;

// A face or a vertex of a Poly. The model is its own dual's dual: a face of the model is a vertex
// of the dual and a vertex is a dual face, so both carry the same members in both roles. A face's
// neighbours are its corners in order and its point is its pole (its vertex in the dual); a
// vertex's neighbours are the faces around it and its plane is its face in the dual. Builders make
// faces and vertices with new; each links itself into its Poly's list, which deletes it.
class FaceVert : public PolyElement
{
public:
    // Flags (mFlags); the names are those of the debug dump.
    static constexpr uint32_t kHemi = 0x1;  // the point is at infinity (a direction): the plane passes the centre
    static constexpr uint32_t kInf = 0x2;   // the plane is at infinity: a vertex at the centre
    static constexpr uint32_t kHidden = 0x4;
    static constexpr uint32_t kCoplanar = 0x8;  // same plane and type as the previous member of its ring
    static constexpr uint32_t kSkip = 0x10;
    static constexpr uint32_t kIsCopConcentric = 0x20;
    static constexpr uint32_t kSkipCopConcentric = 0x40;
    static constexpr uint32_t kVisitMark = 0x100;   // transient: whoever sets it clears it again
    static constexpr uint32_t kInvertMark = 0x200;  // transient, for turning a compound part over
    static constexpr uint32_t kOneSided = 0x400;
    static constexpr uint32_t kReversed = 0x800;
    static constexpr uint32_t kReverseNorm = 0x1000;
    static constexpr uint32_t kOpaqueImageInRing = 0x2000;
    static constexpr uint32_t kConvexHull = 0x8000;
    // The mirror-image variant of a type identifier (mIdFlags).
    static constexpr int32_t kMirrorId = 0x10000;

    ~FaceVert() override;

    FaceVert* AsFaceVert() override { return this; }
    virtual bool IsConvexPolygon() const { return false; }
    virtual bool IsVert() const { return false; }
    virtual bool IsFace() const { return false; }

    // -1 for null.
    static int GetIndex(const FaceVert* element) { return element ? element->mIndex : -1; }
    // The number shown to the user; 0 for null.
    static int GetNumber(const FaceVert* element) { return GetIndex(element) + 1; }
    // Faces first, then vertices: a vertex's index plus the number of faces; -1 for null.
    static int GetCombinedIndex(const FaceVert* element);

    // The Stellation of the element's side (the dual one for a vertex), and the other one.
    Stellation* GetStellation() const;
    Stellation* GetOtherStellation() const;

    // The element itself unless flagged Inf; else the next element of its list, wrapping, that is
    // not; null when there is none, or for null.
    static FaceVert* SkipInf(FaceVert* element);

    // Opacity 0..1 (snapped to 1 above 0.995 and to 0 below 0.005), keeping the list's count of
    // translucent elements.
    void SetOpacity(float opacity);
    bool IsTranslucent() const;
    // Some member of the coincidence ring that is not hidden is translucent.
    bool IsRingTranslucent() const;
    // Order of the element's rotational symmetry about its own axis.
    int GetNumRots() const;
    int GetRingSize() const;

    // The first position above start (-1 for the first) whose neighbour is the given one; -1 when
    // none, or for null.
    static int FindNeighbour(const FaceVert* element, const FaceVert* neighbour, int start);
    bool HasNeighbour(const FaceVert* neighbour) const { return FindNeighbour(this, neighbour, -1) >= 0; }
    // The same search among the edges; -1 for a null edge.
    int FindEdge(const Edge* edge, int start) const;
    // The first neighbour whose point is the given one within 1e-7.
    static FaceVert* FindNeighbourAt(const FaceVert* element, const Vec3D& point);
    // The element across side i: the face across a face's edge i, the vertex at the other end of a
    // vertex's edge i.
    static FaceVert* GetAdjacent(const FaceVert* element, int side);
    // The element across side i, and in side the index of the same side in that element (-1 when
    // not found).
    static FaceVert* GetAdjacentAndSide(const FaceVert* element, int& side);
    // The neighbour steps places after the given one (negative: before).
    FaceVert* GetNextNeighbour(const FaceVert* neighbour, int steps) const;
    // Entry start comes first; with reverse the cyclic order is turned round about entry 0. Edges
    // and the matching orientation bytes follow.
    void RotateNeighbours(int start, bool reverse);
    // p is q or a member of q's coincidence ring.
    static bool IsInRingOf(const FaceVert* p, const FaceVert* q);
    // The first member of the ring, from the element, without Skip; the element when all have it.
    static FaceVert* GetFirstUnskipped(FaceVert* element);
    static Face3D* FindFace3D(const FaceVert* element);
    // mZAxis, negated for ReverseNorm.
    Vec3D GetNormal() const;
    // The element's connected faces and vertices into buffer (room for every face and vertex of
    // the Poly), each given the visit mark, which the caller clears; null: count only. Answers the
    // number collected.
    int CollectConnected(FaceVert** buffer);

    int32_t mNumSides;
    int32_t mDensity = 1;
    FaceType* mFaceType = nullptr;  // owned by the Stellation of the element's side
    uint32_t mFlags = 0;
    int32_t mIdFlags = 0;  // type identifier: equal identifiers, one face type
    int32_t mSavedIdFlags = 0;  // taken when a symmetry subgroup is first applied
    Poly* mPoly;
    // Scratch of the face-type analysis, reset with the face type.
    int32_t mTypeMark = 0;
    int32_t mTypeOffset = -1;
    int32_t mIndex = -1;  // position in its list
    Vec3D mCentroid;
    Vec3D mCentre;  // foot of the perpendicular from the model centre onto the plane
    Vec3D mXAxis{1.0, 0.0, 0.0};
    Vec3D mYAxis{0.0, 1.0, 0.0};
    Vec3D mZAxis{0.0, 0.0, 1.0};
    Vec3D mPoint;
    std::unique_ptr<FaceVert*[]> mNeighbours;
    std::unique_ptr<Edge*[]> mEdges;  // edge i lies between neighbours i and i+1
    FaceVert* mNextCoplanar = nullptr;  // the coincidence ring; null when alone
    LoopTypeHolder mLoopTypes;
    LoopTypeHolder mMorphLoopTypes;
    ColorRGB mBackColor;
    float mOpacity = 1.0f;
    FaceImageRef mImage;
    Face3D* mFace3D = nullptr;
    FaceVert* mNextOfType = nullptr;
    FaceVert* mSavedNextOfType = nullptr;
    ElemList* mList = nullptr;
    FaceVert* mNext = nullptr;
    FaceVert* mPrev = nullptr;

protected:
    // n null neighbours and edges; the derived constructor links the element into its list.
    FaceVert(Poly* poly, int numSides);
};
