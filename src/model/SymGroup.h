#pragma once

#include "kernel/CountedArray.h"
#include "kernel/Mat3.h"
#include "kernel/Vec3D.h"
#include "model/SymAxis.h"
#include "model/SymAxisSet.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

struct SymDescriptor;

// Where an enumeration of a group's operations stands. Start with mSetIndex = -1 and mReflected
// false (as constructed); a finished enumeration leaves the three positions at -1 again.
struct SymOpIterator
{
    int32_t mSetIndex = -1;
    int32_t mAxisIndex = -1;
    int32_t mStep = -1;
    bool mReflected = false;  // in the improper half
};

// The point symmetry group of a model: a rotation group (its axes in classes of equivalent axes),
// a kind of reflection with its mirror planes, and the orientation it has been turned into.
// Owned by one Poly, SimplePoly, subgroup or detection temporary.
class SymGroup
{
public:
    // Kinds (mKind).
    static constexpr int kUncreated = -1;
    static constexpr int kIcosahedral = 0;  // 60 rotations
    static constexpr int kOctahedral = 1;   // 24
    static constexpr int kTetrahedral = 2;  // 12
    static constexpr int kDihedral = 3;     // 2n, main axis y
    static constexpr int kPyramidal = 4;    // n, main axis y
    static constexpr int kNoSymmetry = 5;   // the identity alone

    // Reflection kinds (mReflection).
    static constexpr int kHorizontal = 0;  // includes the plane across the main axis; polyhedral: full group
    static constexpr int kVertical = 1;    // planes containing the main axis
    static constexpr int kDiagonal = 2;    // the tetrahedral diagonal planes
    static constexpr int kRotationReflection = 3;
    static constexpr int kCentralInversion = 4;
    static constexpr int kChiral = 5;

    SymGroup() = default;
    // Also drops the selected axis, so that it never points into a destroyed group.
    ~SymGroup();
    SymGroup(const SymGroup&) = delete;
    SymGroup& operator=(const SymGroup&) = delete;

    // n is used by the dihedral and pyramidal kinds only; below 1 it counts as 1. Chiral, identity
    // orientation. Null only when memory runs out.
    static std::unique_ptr<SymGroup> Create(int kind, int n = 1);
    // The group implied by the highest rotation order n found among a model's face types and the
    // number of faces of the type that has it.
    static std::unique_ptr<SymGroup> CreateFromRotation(int n, int count);
    static std::unique_ptr<SymGroup> Copy(const SymGroup* group);
    static size_t GetByteSize(const SymGroup* group);
    static bool IsValidReflection(int kind, int reflection);

    // Builds the mirror list of the reflection kind, turned by the current orientation. Returns 0.
    int SetReflectionKind(int reflection);
    // For a dihedral group: Horizontal when the model has the mirror image of a face's first vertex
    // across the plane y = 0, Vertical otherwise.
    void ChooseDihedralReflection(const Vec3D& faceVertex, std::span<const Vec3D> modelVertices);

    // Turns axes, references and mirrors by m and records it in mOrientation.
    void Rotate(const Mat3& m);
    static void Rotate(SymGroup* group, const Mat3& m);
    void OrientMirrors(const Mat3& m);
    // Writes the normals of the n vertical planes into mirror records 0..n-1 (already allocated).
    void SetVerticalMirrors(int n, int reflection, bool pyramidal);
    void UpdateOneSidedFlags();

    // The rotations one at a time: the identity first when asked for, then each axis's turns.
    bool NextOperation(SymOpIterator& it, bool includeIdentity, Mat3* out) const;
    // The rotations, then the improper operations (each rotation after the reflection) when asked
    // for or when mirror-image types count as one.
    bool NextOperationWithReflections(SymOpIterator& it, bool includeIdentity, Mat3* out,
                                      bool withReflections) const;
    // The improper operations only, each rotation after the reflection; r is the caller's scratch.
    bool NextImproperOperation(SymOpIterator& it, Mat3& r, Mat3* out) const;

    // The matrix of a reflection kind (negative: the group's own), about v or the group's own main
    // axis or first mirror. Null (out untouched) for Chiral.
    const Mat3* GetReflectionMatrix(Mat3& out, int kind = -1, const Vec3D* v = nullptr) const;
    void Reflect(Vec3D& out, const Vec3D& p, int mirror) const;
    void ReflectInMirror(Vec3D& out, const Vec3D& p, int mirror) const;
    bool HasCentralInversion() const;

    // The order of the main axis class; 1 without classes.
    int MainOrder() const;

    SymAxisSet* FindAxisSetByOrder(int order);
    int FindAxisSetIndexByOrder(int order) const;
    int GetAxisSetIndex(const SymAxisSet* set) const;
    SymAxisSet* FindAxisSetOf(const SymAxis* axis);
    // Counts through the classes in order, skipped classes included.
    SymAxis* GetAxis(int i);
    bool SetAxisReference(int set, int axis, double x, double y, double z);
    bool CopyAxisReference(int set, int axis, int otherSet, int otherAxis);

    // An axis along v; a class whose ends are equivalent also matches -v.
    SymAxisSet* FindAxisByDir(const Vec3D& v);
    SymAxis* FindAxis(const Vec3D& v);
    // An axis parallel to v in either sense.
    SymAxisSet* FindAxisByAbsDir(const Vec3D& v);
    // Axes of even order perpendicular to d (and parallel to w when given).
    SymAxis* FindPerpendicularAxis(const Vec3D& d, const Vec3D* w = nullptr);
    SymAxis* FindNextPerpendicularAxis(const Vec3D& d, const SymAxis* previous);
    bool FindMirrorContaining(Vec3D& out, const Vec3D& v) const;
    void ClearAxisMarks();

    // Shows axis i (negative: none) as the selected axis.
    void SelectAxis(int i);
    static const SymAxis* SelectedAxis();

    // Names and symbols. Each text function answers from a buffer of its own that its next call
    // overwrites. A null group reads "Unknown" by name; its symbols are "---" while the current
    // model is a 4D polytope and those of the trivial group otherwise.
    static const char* GetKindName(int kind);
    // With the fold n for the dihedral and pyramidal kinds: "5-fold Dihedral".
    static const char* FormatKindName(int kind, int n);
    static const char* GetName(const SymGroup* group);
    static const char* GetReflectionKindName(int reflection);
    static const char* GetReflectionName(const SymGroup* group);
    static const char* GetSchoenflies(const SymGroup* group);
    static const char* GetOrbifold(const SymGroup* group);
    static const char* GetCoxeter(const SymGroup* group);
    // A null descriptor reads as the trivial group.
    static const char* GetSchoenflies(const SymDescriptor* d);
    static const char* GetOrbifold(const SymDescriptor* d);
    static const char* GetCoxeter(const SymDescriptor* d);
    // The three symbols joined by the separator.
    static const char* GetSymbols(const SymGroup* group, const char* separator);
    static const char* GetSymbols(const SymDescriptor* d, const char* separator);
    // The name of axis class i after an optional leading phrase: "Sit on 5-fold axis". When the
    // group has no class i: false, and the text names the class by its place ("Along 3rd Axis").
    static bool GetAxisText(const SymGroup* group, std::string& out, const char* name, int i);

    // Drawing into the view that draws (the current SceneDrawer), sized by its view radius.
    // Yellow, cyan, then magenta for the classes after the first two.
    static void SetAxisColor(int set);
    static void GetAxisColor(int set, float rgb[3]);
    // The rotation axes with their markers; the selected axis stands out. With d (the unit normal
    // of the selected face) an axis is stretched to reach the plane at distance 1 along d.
    void DrawAxes(const Vec3D* d, double scale) const;
    void DrawMirrorNormals(double scale) const;
    // The mirror planes as circles, and the sign of a rotation-reflection or central inversion.
    void DrawMirrors(double scale) const;

    // Subgroups, in a fixed order: each rotational subgroup in turn with every reflection kind
    // allowed for it. The parent may be null: its lists are empty and its names "NULL". The
    // enumerations step a descriptor; at the end they return false with it back at its start.
    static bool NextRotationalSubgroup(const SymGroup* parent, SymDescriptor& d);
    static bool GetRotationalSubgroup(const SymGroup* parent, int i, SymDescriptor& d);
    static bool NextReflectiveSubgroup(const SymGroup* parent, SymDescriptor& d);
    static bool GetReflectiveSubgroup(const SymGroup* parent, int i, SymDescriptor& d);
    // Every reflective choice of every rotational subgroup, keeping the two positions.
    static bool NextSubgroup(const SymGroup* parent, SymDescriptor& d, int& rot, int& refl);
    static bool NextSubgroup(const SymGroup* parent, SymDescriptor& d);
    static bool GetSubgroup(const SymGroup* parent, int i, SymDescriptor& d, int& rot, int& refl);
    // The place of the pair in the combined list; 0 when both are <= 0, -1 when it is not there.
    static int FindSubgroupIndex(const SymGroup* parent, int rot, int refl);
    static const char* GetRotationalSubgroupName(const SymGroup* parent, const SymDescriptor& d);
    static const char* GetReflectiveSubgroupName(const SymGroup* parent, const SymDescriptor& d);
    // The subgroup's group turned into this one, so that its axes and planes are this group's.
    // Owned by the caller; null when memory runs out, or (an internal error) when the descriptor
    // does not fit this group.
    std::unique_ptr<SymGroup> CreateSubgroup(const SymDescriptor& d) const;

    // Copy an axis (direction and reference) or a mirror normal of another group into this one;
    // Reversed negates the direction only. False for an index out of range.
    bool CopyAxis(int set, int axis, const SymGroup& from, int fromSet, int fromAxis);
    bool CopyAxisReversed(int set, int axis, const SymGroup& from, int fromSet, int fromAxis);
    bool CopyMirror(int mirror, const SymGroup& from, int fromMirror);
    // Mirror normal along one of this group's own axes.
    bool CopyAxisToMirror(int mirror, int set, int axis);

    int32_t mKind = kUncreated;
    int32_t mReflection = kChiral;
    int32_t mNumAxisSets = 0;
    std::unique_ptr<SymAxisSet[]> mAxisSets;
    CountedArray<SymAxis> mMirrors;
    int32_t mOrder = 0;  // rotations, the identity included
    Mat3 mOrientation;   // every rotation applied since creation

private:
    bool AllocateAxisSets(int count);
    static void SetSelectedAxis(const SymAxis* axis);
};

// The three notations of a symmetry group, from its kind, reflection kind and main order n. Total:
// every pair of codes gives a text. Each answers from a buffer of its own.
const char* SchoenfliesSymbol(int kind, int reflection, int n);
const char* OrbifoldSymbol(int kind, int reflection, int n);
const char* CoxeterSymbol(int kind, int reflection, int n);

// A closed wavy circle of radius about centre, perpendicular to axis, rising and falling n times by
// amplitude along the axis: the sign of a rotation-reflection. In the colour rgba.
void DrawRotoreflectionCircle(const Vec3D& centre, const Vec3D& axis, double radius, int n, double amplitude,
                              const float rgba[4]);
