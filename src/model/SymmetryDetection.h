#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>

class RotationAxisTester;
class SimplePoly;
class SymGroup;

// One rotation axis found on a model's hull.
class FoundAxis : public LinkNode<FoundAxis>
{
public:
    int32_t mOrder = 1;
    Vec3D mDir;  // unit, the end from which the axis was found
};

// The axes found, highest order first; among axes of one order the one found last comes first.
class FoundAxisList
{
public:
    FoundAxisList() = default;
    ~FoundAxisList() { ListDeleteAll(mFirst, mLast); }
    FoundAxisList(const FoundAxisList&) = delete;
    FoundAxisList& operator=(const FoundAxisList&) = delete;

    // Whether dir or -dir is listed (within 1e-7).
    bool Listed(const Vec3D& dir) const;
    void Add(int order, const Vec3D& dir);
    int Count() const;

    FoundAxis* mFirst = nullptr;
    FoundAxis* mLast = nullptr;
};

// A new group of the kind the found axes imply (reflection kind Chiral), the model and its hull
// turned onto it (or, with KeepOrientation, the group onto the model). No axes: No Symmetry, nothing
// turned. Null for axis orders no group has.
std::unique_ptr<SymGroup> AlignSymmetries(SimplePoly& model, SimplePoly& hull, const FoundAxisList& found);

// The steps of SimplePoly::FindSymmetries, which runs them in order; apart so that each can be
// looked at.
class SymmetryDetection
{
public:
    explicit SymmetryDetection(SimplePoly& model);
    ~SymmetryDetection();
    SymmetryDetection(const SymmetryDetection&) = delete;
    SymmetryDetection& operator=(const SymmetryDetection&) = delete;

    // Merges (or links) vertices in one place, centres and scales the model, sets the normals and
    // builds the hull. False when there is no hull to take candidates from.
    bool Prepare();
    // Each adds the axes it finds and returns how many.
    int FindFaceAxes();
    int FindVertexAxes();
    int FindEdgeAxes();
    const FoundAxisList& Found() const { return mFound; }
    const SimplePoly* Hull() const { return mHull.get(); }
    // The group, the reflections, the fans and the hemi faces. Null when any of them fails.
    std::unique_ptr<SymGroup> Finish(bool& reflectionFound);

private:
    SimplePoly& mModel;
    std::unique_ptr<SimplePoly> mHull;
    std::unique_ptr<RotationAxisTester> mTester;
    FoundAxisList mFound;
};

// Orients the normals of faces through the centre by their neighbours, the same way for all faces of
// a type. False when such a face has no neighbour across its first edge.
bool FixHemiFaces(SimplePoly& model);
