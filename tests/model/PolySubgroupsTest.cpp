#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace
{
// The place of a subgroup of the model's full group in the lists, by its kind, main order (dihedral
// and pyramidal only) and reflection kind; false when the full group has none such.
bool FindSubgroup(const SymGroup* full, int kind, int n, int reflection, int& rot, int& refl)
{
    SymDescriptor d;
    int r = 0;
    int s = 0;
    while (SymGroup::NextSubgroup(full, d, r, s))
    {
        const bool axial = kind == SymGroup::kDihedral || kind == SymGroup::kPyramidal;
        if (d.mKind == kind && (!axial || d.mN == n) && d.mReflection == reflection && !d.mAlternate)
        {
            rot = r;
            refl = s;
            return true;
        }
    }
    return false;
}

std::vector<int> TypeSizes(const Stellation* side)
{
    std::vector<int> sizes;
    for (const FaceType* t = side->mFirstFaceType; t; t = t->mNextFaceType)
        sizes.push_back(t->mCount);
    return sizes;
}
}  // namespace

// A cube built from "4.4.4" under subgroups of its octahedral group: its 6 faces and 8 vertices
// fall into the orbits of the subgroup. The two inscribed tetrahedra stay apart under the rotations
// of a tetrahedron and under its full group (diagonal mirrors), and are swapped by the central
// inversion of the pyritohedral group; a 4-fold axis separates its two faces from the four round it.
TEST(PolySubgroups, CubeFacesAndVerticesFallIntoTheSubgroupsOrbits)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("4.4.4", false));
    Poly poly;
    ASSERT_TRUE(poly.PrepareFromTemplate(&templ, 0));
    ASSERT_TRUE(poly.mGroup);
    ASSERT_EQ(poly.mGroup->mKind, SymGroup::kOctahedral);

    const struct
    {
        int kind;
        int n;
        int reflection;
        std::vector<int> faces;  // face type sizes, in the analysis's order
        int vertexTypes;
        int vertsPerType;
    } cases[] = {
        {SymGroup::kTetrahedral, 0, SymGroup::kChiral, {6}, 2, 4},
        {SymGroup::kTetrahedral, 0, SymGroup::kDiagonal, {6}, 2, 4},
        {SymGroup::kTetrahedral, 0, SymGroup::kHorizontal, {6}, 1, 8},
        {SymGroup::kDihedral, 4, SymGroup::kChiral, {2, 4}, 1, 8},
        {SymGroup::kPyramidal, 4, SymGroup::kChiral, {1, 1, 4}, 2, 4},
        {SymGroup::kNoSymmetry, 0, SymGroup::kChiral, {1, 1, 1, 1, 1, 1}, 8, 1},
        {SymGroup::kOctahedral, 0, SymGroup::kHorizontal, {6}, 1, 8},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE("kind " + std::to_string(c.kind) + " n " + std::to_string(c.n) + " reflection " +
                     std::to_string(c.reflection));
        const SymGroup* full = poly.mFullGroup ? poly.mFullGroup.get() : poly.mGroup.get();
        int rot = 0;
        int refl = 0;
        ASSERT_TRUE(FindSubgroup(full, c.kind, c.n, c.reflection, rot, refl));
        ASSERT_TRUE(poly.SetSymmetry(rot, refl));
        ASSERT_TRUE(poly.mFullGroup);
        EXPECT_EQ(poly.mFullGroup->mKind, SymGroup::kOctahedral);
        ASSERT_TRUE(poly.mGroup);
        EXPECT_EQ(poly.mGroup->mKind, c.kind);
        EXPECT_EQ(poly.mReflexible, c.reflection != SymGroup::kChiral);
        EXPECT_EQ(poly.mSubgroupChoice[0], rot);
        EXPECT_EQ(poly.mSubgroupChoice[1], refl);
        std::vector<int> faces = TypeSizes(poly.GetFaceStellation());
        std::vector<int> want = c.faces;
        std::sort(faces.begin(), faces.end());
        std::sort(want.begin(), want.end());
        EXPECT_EQ(faces, want);
        const std::vector<int> verts = TypeSizes(poly.GetVertStellation());
        EXPECT_EQ(verts, std::vector<int>(size_t(c.vertexTypes), c.vertsPerType));
        EXPECT_EQ(poly.mFaces.mCount, 6);
        EXPECT_EQ(poly.mVerts.mCount, 8);
        EXPECT_EQ(poly.mNumEdges, 12);
    }
}

// The combined index counts through every subgroup; a negative second index selects that way and
// hands back the pair. An index past the list fails and leaves the model as it was.
TEST(PolySubgroups, CombinedIndexSelectsAndOutOfRangeFails)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("3.3.3", false));
    Poly poly;
    ASSERT_TRUE(poly.PrepareFromTemplate(&templ, 0));
    ASSERT_EQ(poly.mGroup->mKind, SymGroup::kTetrahedral);
    int count = 0;
    {
        SymDescriptor d;
        int r = 0;
        int s = 0;
        while (SymGroup::NextSubgroup(poly.mGroup.get(), d, r, s))
            ++count;
    }
    ASSERT_GT(count, 1);
    int last = count - 1;
    int second = -1;
    ASSERT_TRUE(poly.SetSymmetry(last, second));
    EXPECT_EQ(SymGroup::FindSubgroupIndex(poly.mFullGroup.get(), last, second), count - 1);

    const int faceTypes = poly.GetFaceStellation()->GetNumFaceTypes();
    int past = count;
    int none = -1;
    EXPECT_FALSE(poly.SetSymmetry(past, none));
    EXPECT_EQ(poly.GetFaceStellation()->GetNumFaceTypes(), faceTypes);
    ASSERT_TRUE(poly.mGroup);
}
