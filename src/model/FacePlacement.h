#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <vector>

// The face of the current model that a face of an added model is to be placed on, as much of it as
// the placement needs: the current model's face fills it in.
struct PlacementTarget
{
    std::vector<Vec3D> corners;  // in order
    Vec3D zAxis;                 // the face's unit normal
    bool reversedNormal = false;
    int typeRots = 1;  // rotational order of the face's type
};

// One way of putting the added model's face onto the target face. A node of a FacePlacementList.
class FacePlacement : public LinkNode<FacePlacement>
{
public:
    int32_t mStart = 0;      // the added face's corner that lands on the target's first usable corner
    int32_t mDirection = 0;  // 0: the corners run forward over the target's, 1: backward
    bool mMirrored = false;  // the added model is reflected (attached from the other side)
    Transform3D mTransform;  // takes the added model into place, scale included
};

// Owns its placements.
class FacePlacementList
{
public:
    FacePlacementList() = default;
    ~FacePlacementList() { ListDeleteAll(mFirst, mLast); }
    FacePlacementList(const FacePlacementList&) = delete;
    FacePlacementList& operator=(const FacePlacementList&) = delete;

    void Append(FacePlacement* placement) { ListAppend(placement, mFirst, mLast); }
    // Unlinks and deletes the placement.
    void Delete(FacePlacement* placement);
    int Count() const;

    FacePlacement* mFirst = nullptr;
    FacePlacement* mLast = nullptr;
};
