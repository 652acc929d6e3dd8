#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

class SimpleFace;
class SimpleVert;

// One face at one edge of a SimplePoly.
struct EdgeFace
{
    static constexpr uint32_t kTowardFirst = 0x1;   // walked toward the corner at the edge's first position
    static constexpr uint32_t kTowardSecond = 0x2;  // walked toward the other corner
    static constexpr uint32_t kFromFirstEnd = 0x4;  // the face runs from the type's first end to its second

    void Set(SimpleFace* face, int corner)
    {
        mFace = face;
        mCorner = corner;
    }

    uint32_t mFlags = 0;
    SimpleFace* mFace = nullptr;
    int32_t mCorner = -1;  // the edge runs from this corner of the face to the next
};

// One edge of a type: its faces, one record per slot. Owned by its SimpEdgeType.
struct EdgeInstance
{
    static constexpr uint32_t kReached = 0x1;  // found as an image of the type's first edge

    uint32_t mFlags = 0;
    std::unique_ptr<EdgeFace[]> mRecords;
    EdgeInstance* mNext = nullptr;
};

// One face position around the edges of a type; slots refer to each other by index.
struct EdgeSlot
{
    int32_t mPartner = -1;    // the slot across the edge in the vertex fans
    int32_t mClass = -1;      // slots the edge's own symmetry maps onto one another
    int32_t mClassSize = 1;
    int32_t mRotNext = -1;    // ring of slots joined by the rotation that pairs them
    int32_t mCoplanarNext = -1;  // ring of slots whose faces are coplanar
    int32_t mCoplanarPrev = -1;
};

// Edges of a SimplePoly that the symmetry maps onto one another with the same faces around them.
// The types of a model form a list through mNext, which its first type heads; DeleteList frees it.
class SimpEdgeType
{
public:
    // Appends the new type to the list given by head and tail.
    SimpEdgeType(SimpleVert* first, SimpleVert* second, double lengthSq, int numFaces, SimpEdgeType*& head,
                 SimpEdgeType*& tail);
    ~SimpEdgeType();
    SimpEdgeType(const SimpEdgeType&) = delete;
    SimpEdgeType& operator=(const SimpEdgeType&) = delete;

    // Deletes the type and every type after it.
    static void DeleteList(SimpEdgeType* first);

    // A new instance holding a copy of the count records; null when memory runs out.
    EdgeInstance* AddEdge(int count, const EdgeFace* records);
    // Appends an instance taken from another type.
    void AppendInstance(EdgeInstance* instance);
    // Takes the slot out of its coplanar ring; returns it.
    int UnlinkCoplanar(int slot);
    // Joins the rotation rings of slots whose faces the turns by 2*pi*j/k about the unit axis carry
    // onto one another.
    void PairSlotsByRotation(int k, const Vec3D& axis);

    bool IsValid() const { return mSlots != nullptr || mNumFaces == 0; }

    int32_t mRotOrder = 1;  // the order of the last rotation that joined slots
    bool mPairedAlongAxis = false;
    bool mHasHalfTurnAxis = false;
    double mLengthSq;
    SimpleVert* mEnds[2];  // the end of lower vertex type first
    int32_t mNumFaces;
    std::unique_ptr<EdgeSlot[]> mSlots;
    EdgeInstance* mFirstInstance = nullptr;
    EdgeInstance* mLastInstance = nullptr;
    SimpEdgeType* mNext = nullptr;
};

// Frees a list of edge types at the end of a scope.
struct EdgeTypeListDeleter
{
    void operator()(SimpEdgeType* first) const { SimpEdgeType::DeleteList(first); }
};
using EdgeTypeList = std::unique_ptr<SimpEdgeType, EdgeTypeListDeleter>;
