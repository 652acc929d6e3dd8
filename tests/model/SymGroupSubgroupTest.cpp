#include "kernel/Mat3.h"
#include "kernel/ScriptedServices.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

constexpr double kEps = 1e-6;

std::unique_ptr<SymGroup> MakeGroup(int kind, int reflection, int n = 1)
{
    std::unique_ptr<SymGroup> g = SymGroup::Create(kind, n);
    g->SetReflectionKind(reflection);
    return g;
}

bool SameMatrix(const Mat3& a, const Mat3& b)
{
    for (int i = 0; i < 9; ++i)
    {
        if (std::fabs(a.m[i] - b.m[i]) > kEps)
            return false;
    }
    return true;
}

bool Contains(const std::vector<Mat3>& list, const Mat3& m)
{
    for (const Mat3& x : list)
    {
        if (SameMatrix(x, m))
            return true;
    }
    return false;
}

// Every operation of the group, proper and improper.
std::vector<Mat3> Operations(const SymGroup& g)
{
    std::vector<Mat3> list;
    SymOpIterator it;
    Mat3 m;
    while (g.NextOperationWithReflections(it, true, &m, true) && list.size() < 500)
        list.push_back(m);
    return list;
}

// The turn by 2*pi/order about d, right-handed.
Mat3 Turn(const Vec3D& d, int order)
{
    Mat3 m;
    m.SetRotation(d, 2.0 * std::acos(-1.0) / order);
    return m;
}

Mat3 PlaneReflection(const Vec3D& n)
{
    Mat3 m;
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            m.At(i, j) = (i == j ? 1.0 : 0.0) - 2.0 * n[i] * n[j];
    return m;
}

struct Entry
{
    SymDescriptor d;
    int rot;
    int refl;
};

std::vector<Entry> CombinedList(const SymGroup* parent)
{
    std::vector<Entry> list;
    SymDescriptor d;
    int rot = -1, refl = -1;
    while (SymGroup::NextSubgroup(parent, d, rot, refl) && list.size() < 200)
        list.push_back({d, rot, refl});
    return list;
}

std::vector<std::string> Symbols(const SymGroup* parent)
{
    std::vector<std::string> list;
    for (const Entry& e : CombinedList(parent))
        list.push_back(SymGroup::GetSchoenflies(&e.d));
    return list;
}

// "rotational name | reflective name" of every entry.
std::vector<std::string> Names(const SymGroup* parent)
{
    std::vector<std::string> list;
    for (const Entry& e : CombinedList(parent))
    {
        std::string name = SymGroup::GetRotationalSubgroupName(parent, e.d);
        name += " | ";
        name += SymGroup::GetReflectiveSubgroupName(parent, e.d);
        list.push_back(name);
    }
    return list;
}

// A turn that leaves no axis of a canonical frame in place.
Mat3 OddTurn()
{
    Vec3D axis{0.3, -0.5, 0.81};
    Vec3Normalize(axis);
    Mat3 m;
    m.SetRotation(axis, 0.7);
    return m;
}

struct ParentCase
{
    const char* name;
    int kind;
    int reflection;
    int n;
};

// Parents of every kind and reflection kind, with odd and even main orders.
const ParentCase kParents[] = {
    {"Ih", G::kIcosahedral, G::kHorizontal, 1},   {"I", G::kIcosahedral, G::kChiral, 1},
    {"Oh", G::kOctahedral, G::kHorizontal, 1},    {"O", G::kOctahedral, G::kChiral, 1},
    {"Th", G::kTetrahedral, G::kHorizontal, 1},   {"Td", G::kTetrahedral, G::kDiagonal, 1},
    {"T", G::kTetrahedral, G::kChiral, 1},        {"D6h", G::kDihedral, G::kHorizontal, 6},
    {"D6d", G::kDihedral, G::kVertical, 6},       {"D6", G::kDihedral, G::kChiral, 6},
    {"D5h", G::kDihedral, G::kHorizontal, 5},     {"D5d", G::kDihedral, G::kVertical, 5},
    {"D8h", G::kDihedral, G::kHorizontal, 8},     {"D4d", G::kDihedral, G::kVertical, 4},
    {"D12h", G::kDihedral, G::kHorizontal, 12},   {"D9d", G::kDihedral, G::kVertical, 9},
    {"D2h", G::kDihedral, G::kHorizontal, 2},     {"C6v", G::kPyramidal, G::kVertical, 6},
    {"C6h", G::kPyramidal, G::kHorizontal, 6},    {"S12", G::kPyramidal, G::kRotationReflection, 6},
    {"S10", G::kPyramidal, G::kRotationReflection, 5}, {"C5v", G::kPyramidal, G::kVertical, 5},
    {"C4", G::kPyramidal, G::kChiral, 4},         {"Cs", G::kNoSymmetry, G::kHorizontal, 1},
    {"Ci", G::kNoSymmetry, G::kCentralInversion, 1}, {"C1", G::kNoSymmetry, G::kChiral, 1},
};
}  // namespace

TEST(SymSubgroups, PolyhedralListsHaveTheirLengths)
{
    struct Case
    {
        const char* name;
        int kind;
        int reflection;
        size_t entries;
        int rotational;
    };
    const Case cases[] = {
        {"Ih", G::kIcosahedral, G::kHorizontal, 22, 9}, {"I", G::kIcosahedral, G::kChiral, 9, 9},
        {"Oh", G::kOctahedral, G::kHorizontal, 33, 11}, {"O", G::kOctahedral, G::kChiral, 11, 11},
        {"Td", G::kTetrahedral, G::kDiagonal, 11, 5},   {"Th", G::kTetrahedral, G::kHorizontal, 10, 5},
        {"T", G::kTetrahedral, G::kChiral, 5, 5},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SymGroup> g = MakeGroup(c.kind, c.reflection);
        const std::vector<Entry> list = CombinedList(g.get());
        EXPECT_EQ(list.size(), c.entries);
        int rotational = 0;
        SymDescriptor d;
        while (SymGroup::NextRotationalSubgroup(g.get(), d) && rotational < 100)
            ++rotational;
        EXPECT_EQ(rotational, c.rotational);
        // A chiral parent lists each rotational subgroup once, chiral.
        if (c.reflection == G::kChiral)
        {
            for (const Entry& e : list)
                EXPECT_EQ(e.d.mReflection, G::kChiral);
        }
    }
}

TEST(SymSubgroups, IcosahedralListInOrder)
{
    std::unique_ptr<SymGroup> ih = MakeGroup(G::kIcosahedral, G::kHorizontal);
    const std::vector<std::string> expected = {"Ih",  "I",   "Th",  "T",   "D5d", "D5",  "C5v", "S10",
                                               "C5",  "D3d", "D3",  "C3v", "S6",  "C3",  "D2h", "D2",
                                               "C2h", "C2v", "C2",  "Cs",  "Ci",  "C1"};
    EXPECT_EQ(Symbols(ih.get()), expected);

    std::unique_ptr<SymGroup> i = MakeGroup(G::kIcosahedral, G::kChiral);
    const std::vector<std::string> chiral = {"I", "T", "D5", "C5", "D3", "C3", "D2", "C2", "C1"};
    EXPECT_EQ(Symbols(i.get()), chiral);
}

TEST(SymSubgroups, NamedListsOfOctahedralTetrahedralAndDihedralParents)
{
    std::unique_ptr<SymGroup> oh = MakeGroup(G::kOctahedral, G::kHorizontal);
    const std::vector<std::string> ohNames = {
        "Octahedral | Horizontal Reflection",
        "Octahedral | Chiral (No Reflection)",
        "Tetrahedral | Diagonal Reflection",
        "Tetrahedral | Horizontal Reflection",
        "Tetrahedral | Chiral (No Reflection)",
        "4-fold Dihedral | Horizontal Reflection",
        "4-fold Dihedral | Chiral (No Reflection)",
        "2-fold Dihedral (A) | Horizontal Reflection",
        "2-fold Dihedral (A) | Vertical Reflection",
        "2-fold Dihedral (A) | Chiral (No Reflection)",
        "2-fold Dihedral (B) | Horizontal Reflection",
        "2-fold Dihedral (B) | Vertical Reflection",
        "2-fold Dihedral (B) | Chiral (No Reflection)",
        "4-fold Pyramidal | Horizontal Reflection",
        "4-fold Pyramidal | Vertical Reflection",
        "4-fold Pyramidal | Chiral (No Reflection)",
        "2-fold Pyramidal (From 4-Axis) | Horizontal Reflection",
        "2-fold Pyramidal (From 4-Axis) | Vertical Reflection (A)",
        "2-fold Pyramidal (From 4-Axis) | Vertical Reflection (B)",
        "2-fold Pyramidal (From 4-Axis) | Rotation-Reflection",
        "2-fold Pyramidal (From 4-Axis) | Chiral (No Reflection)",
        "3-fold Dihedral | Vertical Reflection",
        "3-fold Dihedral | Chiral (No Reflection)",
        "3-fold Pyramidal | Vertical Reflection",
        "3-fold Pyramidal | Rotation-Reflection",
        "3-fold Pyramidal | Chiral (No Reflection)",
        "2-fold Pyramidal (From 2-Axis) | Horizontal Reflection",
        "2-fold Pyramidal (From 2-Axis) | Vertical Reflection",
        "2-fold Pyramidal (From 2-Axis) | Chiral (No Reflection)",
        "No Symmetry | Horizontal Reflection",
        "No Symmetry | Diagonal Reflection",
        "No Symmetry | Central Inversion",
        "No Symmetry | Chiral (No Reflection)",
    };
    EXPECT_EQ(Names(oh.get()), ohNames);
    const std::vector<std::string> ohSymbols = {"Oh",  "O",   "Td",  "Th",  "T",   "D4h", "D4",  "D2h", "D2d",
                                                "D2",  "D2h", "D2d", "D2",  "C4h", "C4v", "C4",  "C2h", "C2v",
                                                "C2v", "S4",  "C2",  "D3d", "D3",  "C3v", "S6",  "C3",  "C2h",
                                                "C2v", "C2",  "Cs",  "Cs",  "Ci",  "C1"};
    EXPECT_EQ(Symbols(oh.get()), ohSymbols);

    std::unique_ptr<SymGroup> th = MakeGroup(G::kTetrahedral, G::kHorizontal);
    const std::vector<std::string> thSymbols = {"Th", "T", "C3", "D2h", "D2", "C2h", "C2v", "C2", "Cs", "C1"};
    EXPECT_EQ(Symbols(th.get()), thSymbols);
    std::unique_ptr<SymGroup> td = MakeGroup(G::kTetrahedral, G::kDiagonal);
    const std::vector<std::string> tdSymbols = {"Td", "T", "C3v", "C3", "D2d", "D2", "C2v", "S4", "C2", "Cs", "C1"};
    EXPECT_EQ(Symbols(td.get()), tdSymbols);

    std::unique_ptr<SymGroup> d6h = MakeGroup(G::kDihedral, G::kHorizontal, 6);
    const std::vector<std::string> d6hNames = {
        "6-fold Dihedral | Horizontal Reflection",
        "6-fold Dihedral | Chiral (No Reflection)",
        "3-fold Dihedral (A) | Horizontal Reflection",
        "3-fold Dihedral (A) | Vertical Reflection",
        "3-fold Dihedral (A) | Chiral (No Reflection)",
        "3-fold Dihedral (B) | Horizontal Reflection",
        "3-fold Dihedral (B) | Vertical Reflection",
        "3-fold Dihedral (B) | Chiral (No Reflection)",
        "2-fold Dihedral | Horizontal Reflection",
        "2-fold Dihedral | Chiral (No Reflection)",
        "6-fold Pyramidal | Horizontal Reflection",
        "6-fold Pyramidal | Vertical Reflection",
        "6-fold Pyramidal | Chiral (No Reflection)",
        "3-fold Pyramidal | Horizontal Reflection",
        "3-fold Pyramidal | Vertical Reflection (A)",
        "3-fold Pyramidal | Vertical Reflection (B)",
        "3-fold Pyramidal | Rotation-Reflection",
        "3-fold Pyramidal | Chiral (No Reflection)",
        "2-fold Pyramidal (Primary) | Horizontal Reflection",
        "2-fold Pyramidal (Primary) | Vertical Reflection",
        "2-fold Pyramidal (Primary) | Chiral (No Reflection)",
        "2-fold Pyramidal (A) | Horizontal Reflection",
        "2-fold Pyramidal (A) | Vertical Reflection",
        "2-fold Pyramidal (A) | Chiral (No Reflection)",
        "2-fold Pyramidal (B) | Horizontal Reflection",
        "2-fold Pyramidal (B) | Vertical Reflection",
        "2-fold Pyramidal (B) | Chiral (No Reflection)",
        "No Symmetry | Horizontal Reflection",
        "No Symmetry | Vertical Reflection (A)",
        "No Symmetry | Vertical Reflection (B)",
        "No Symmetry | Central Inversion",
        "No Symmetry | Chiral (No Reflection)",
    };
    EXPECT_EQ(Names(d6h.get()), d6hNames);
}

TEST(SymSubgroups, OddDihedralParentListsItsCrossAxisTwoFoldSubgroup)
{
    std::unique_ptr<SymGroup> d5 = MakeGroup(G::kDihedral, G::kChiral, 5);
    SymDescriptor d;
    std::vector<std::string> names;
    std::vector<bool> onMain;
    while (SymGroup::NextRotationalSubgroup(d5.get(), d) && names.size() < 20)
    {
        names.push_back(SymGroup::GetRotationalSubgroupName(d5.get(), d));
        onMain.push_back(d.mOnMainAxis);
    }
    const std::vector<std::string> expected = {"5-fold Dihedral", "5-fold Pyramidal", "2-fold Pyramidal",
                                               "No Symmetry"};
    EXPECT_EQ(names, expected);
    EXPECT_EQ(onMain, (std::vector<bool>{true, true, false, true}));
}

TEST(SymSubgroups, FindSubgroupIndexWalksTheCombinedList)
{
    std::unique_ptr<SymGroup> oh = MakeGroup(G::kOctahedral, G::kHorizontal);
    EXPECT_EQ(SymGroup::FindSubgroupIndex(oh.get(), 0, 0), 0);
    EXPECT_EQ(SymGroup::FindSubgroupIndex(oh.get(), -1, -3), 0);
    EXPECT_EQ(SymGroup::FindSubgroupIndex(oh.get(), 1, 2), 4);  // Tetrahedral, Chiral
    EXPECT_EQ(SymGroup::FindSubgroupIndex(oh.get(), 0, 2), -1);
    EXPECT_EQ(SymGroup::FindSubgroupIndex(oh.get(), 11, 0), -1);

    // Position and pair agree both ways over every entry.
    for (const ParentCase& c : {kParents[0], kParents[2], kParents[7]})
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SymGroup> g = MakeGroup(c.kind, c.reflection, c.n);
        const std::vector<Entry> list = CombinedList(g.get());
        for (size_t i = 0; i < list.size(); ++i)
        {
            EXPECT_EQ(SymGroup::FindSubgroupIndex(g.get(), list[i].rot, list[i].refl), int(i));
            SymDescriptor d;
            int rot = -1, refl = -1;
            ASSERT_TRUE(SymGroup::GetSubgroup(g.get(), int(i), d, rot, refl));
            EXPECT_EQ(rot, list[i].rot);
            EXPECT_EQ(refl, list[i].refl);
            EXPECT_STREQ(SymGroup::GetSchoenflies(&d), SymGroup::GetSchoenflies(&list[i].d));

            SymDescriptor r;
            ASSERT_TRUE(SymGroup::GetRotationalSubgroup(g.get(), rot, r));
            EXPECT_EQ(r.mKind, d.mKind);
            EXPECT_EQ(r.mN, d.mN);
            ASSERT_TRUE(SymGroup::GetReflectiveSubgroup(g.get(), refl, r));
            EXPECT_EQ(r.mReflection, d.mReflection);
            EXPECT_EQ(r.mSecondMirrorSet, d.mSecondMirrorSet);
        }
        SymDescriptor d;
        int rot = 0, refl = 0;
        EXPECT_FALSE(SymGroup::GetSubgroup(g.get(), int(list.size()), d, rot, refl));
    }
}

TEST(SymSubgroups, EnumerationEndsOnceAndStartsAgain)
{
    std::unique_ptr<SymGroup> t = MakeGroup(G::kTetrahedral, G::kChiral);
    SymDescriptor d;
    int steps = 0;
    while (SymGroup::NextRotationalSubgroup(t.get(), d))
        ++steps;
    EXPECT_EQ(steps, 5);
    EXPECT_EQ(d.mKind, -1);
    EXPECT_EQ(d.mN, -1);
    EXPECT_TRUE(d.mOnMainAxis);
    EXPECT_FALSE(d.mAlternate);
    ASSERT_TRUE(SymGroup::NextRotationalSubgroup(t.get(), d));
    EXPECT_EQ(d.mKind, G::kTetrahedral);
    EXPECT_FALSE(SymGroup::GetRotationalSubgroup(t.get(), 5, d));

    // The reflective list of one rotational subgroup ends with the reflection back at -1.
    std::unique_ptr<SymGroup> oh = MakeGroup(G::kOctahedral, G::kHorizontal);
    ASSERT_TRUE(SymGroup::GetRotationalSubgroup(oh.get(), 6, d));  // C2 about a 4-fold axis
    std::vector<int> reflections;
    while (SymGroup::NextReflectiveSubgroup(oh.get(), d) && reflections.size() < 10)
        reflections.push_back(d.mReflection);
    EXPECT_EQ(reflections, (std::vector<int>{0, 1, 1, 3, 5}));
    EXPECT_EQ(d.mReflection, -1);
    EXPECT_FALSE(d.mSecondMirrorSet);
}

TEST(SymSubgroups, NullParentHasNoSubgroups)
{
    SymDescriptor d;
    EXPECT_FALSE(SymGroup::NextRotationalSubgroup(nullptr, d));
    EXPECT_EQ(d.mKind, -1);
    EXPECT_FALSE(SymGroup::NextReflectiveSubgroup(nullptr, d));
    EXPECT_FALSE(SymGroup::NextSubgroup(nullptr, d));
    EXPECT_EQ(SymGroup::FindSubgroupIndex(nullptr, 0, 0), 0);
    EXPECT_EQ(SymGroup::FindSubgroupIndex(nullptr, 1, 0), -1);
    EXPECT_STREQ(SymGroup::GetRotationalSubgroupName(nullptr, d), "NULL");
    EXPECT_STREQ(SymGroup::GetReflectiveSubgroupName(nullptr, d), "NULL");
}

// Each subgroup, built inside its parent in the parent's canonical frame and turned, consists of
// operations of the parent; its own axes and mirror planes are operations of its own; it has the
// order its kind and reflection give.
TEST(SymSubgroups, CreatedSubgroupsLieInsideTheirParent)
{
    ScopedScriptedServices quiet;
    const Mat3 turns[2] = {Mat3(), OddTurn()};
    for (const ParentCase& c : kParents)
    {
        for (const Mat3& turn : turns)
        {
            std::unique_ptr<SymGroup> parent = MakeGroup(c.kind, c.reflection, c.n);
            parent->Rotate(turn);
            const std::vector<Mat3> parentOps = Operations(*parent);
            ASSERT_EQ(parentOps.size(), size_t(parent->mOrder) * (c.reflection == G::kChiral ? 1 : 2)) << c.name;
            for (const Entry& e : CombinedList(parent.get()))
            {
                const std::string label = std::string(c.name) + " > " +
                                          SymGroup::GetRotationalSubgroupName(parent.get(), e.d) + " | " +
                                          SymGroup::GetReflectiveSubgroupName(parent.get(), e.d);
                SCOPED_TRACE(label);
                std::unique_ptr<SymGroup> sub = parent->CreateSubgroup(e.d);
                ASSERT_TRUE(sub);
                EXPECT_EQ(sub->mReflection, e.d.mReflection < 0 ? G::kChiral : e.d.mReflection);
                const std::vector<Mat3> ops = Operations(*sub);
                EXPECT_EQ(ops.size(), size_t(sub->mOrder) * (sub->mReflection == G::kChiral ? 1 : 2));
                int outside = 0;
                for (const Mat3& m : ops)
                    outside += !Contains(parentOps, m);
                EXPECT_EQ(outside, 0);
                for (int s = 0; s < sub->mNumAxisSets; ++s)
                {
                    const SymAxisSet& set = sub->mAxisSets[s];
                    for (int i = 0; i < set.mNumAxes; ++i)
                        EXPECT_TRUE(Contains(ops, Turn(set.mAxes[i].mDir, set.mOrder))) << "axis " << s << "," << i;
                }
                for (int i = 0; i < sub->mMirrors.count; ++i)
                    EXPECT_TRUE(Contains(ops, PlaneReflection(sub->mMirrors[i].mDir))) << "mirror " << i;
                Mat3 inversion;
                Mat3Scale(inversion, -1.0);
                EXPECT_EQ(Contains(ops, inversion), sub->HasCentralInversion());
            }
        }
    }
    EXPECT_EQ(quiet.services.CountCalls("MessageBox"), 0);
}

namespace
{
bool SameSet(const std::vector<Mat3>& a, const std::vector<Mat3>& b)
{
    if (a.size() != b.size())
        return false;
    for (const Mat3& m : a)
    {
        if (!Contains(b, m))
            return false;
    }
    return true;
}

// g S g^-1 for an orthogonal g.
std::vector<Mat3> Conjugated(const std::vector<Mat3>& ops, const Mat3& g)
{
    Mat3 inverse, tmp;
    inverse.SetTranspose(g);
    std::vector<Mat3> out(ops.size());
    for (size_t i = 0; i < ops.size(); ++i)
    {
        Mat3Mul(tmp, g, ops[i]);
        Mat3Mul(out[i], tmp, inverse);
    }
    return out;
}

bool AlongSomeAxisOf(const SymAxisSet& set, const Vec3D& v)
{
    for (int i = 0; i < set.mNumAxes; ++i)
    {
        if (Vec3Equal(set.mAxes[i].mDir, v, kEps) || Vec3EqualNeg(set.mAxes[i].mDir, v, kEps))
            return true;
    }
    return false;
}
}  // namespace

// No two entries of a list are the same subgroup up to a symmetry of the parent.
TEST(SymSubgroups, EntriesAreDistinctUpToConjugacy)
{
    for (const ParentCase& c : {kParents[0], kParents[2], kParents[5], kParents[7]})
    {
        SCOPED_TRACE(c.name);
        std::unique_ptr<SymGroup> parent = MakeGroup(c.kind, c.reflection, c.n);
        const std::vector<Mat3> parentOps = Operations(*parent);
        const std::vector<Entry> list = CombinedList(parent.get());
        std::vector<std::vector<Mat3>> subOps;
        for (const Entry& e : list)
        {
            std::unique_ptr<SymGroup> sub = parent->CreateSubgroup(e.d);
            ASSERT_TRUE(sub);
            subOps.push_back(Operations(*sub));
        }
        for (size_t a = 0; a < list.size(); ++a)
        {
            for (size_t b = a + 1; b < list.size(); ++b)
            {
                if (subOps[a].size() != subOps[b].size())
                    continue;
                bool conjugate = false;
                for (size_t k = 0; k < parentOps.size() && !conjugate; ++k)
                    conjugate = SameSet(Conjugated(subOps[a], parentOps[k]), subOps[b]);
                EXPECT_FALSE(conjugate) << "entries " << a << " and " << b;
            }
        }
    }
}

TEST(SymSubgroups, FivefoldDihedralInsideIcosahedralSitsOnTheParentsAxes)
{
    for (const Mat3& turn : {Mat3(), OddTurn()})
    {
        std::unique_ptr<SymGroup> ih = MakeGroup(G::kIcosahedral, G::kHorizontal);
        ih->Rotate(turn);
        SymDescriptor d;
        ASSERT_TRUE(SymGroup::GetRotationalSubgroup(ih.get(), 2, d));
        ASSERT_EQ(d.mKind, G::kDihedral);
        ASSERT_EQ(d.mN, 5);
        ASSERT_TRUE(SymGroup::GetReflectiveSubgroup(ih.get(), 0, d));
        std::unique_ptr<SymGroup> d5d = ih->CreateSubgroup(d);
        ASSERT_TRUE(d5d);
        EXPECT_STREQ(SymGroup::GetSchoenflies(d5d.get()), "D5d");
        EXPECT_TRUE(Vec3Equal(d5d->mAxisSets[0].mAxes[0].mDir, ih->mAxisSets[0].mAxes[0].mDir, kEps));
        for (int s = 1; s < d5d->mNumAxisSets; ++s)
        {
            for (int i = 0; i < d5d->mAxisSets[s].mNumAxes; ++i)
            {
                const SymAxis& axis = d5d->mAxisSets[s].mAxes[i];
                EXPECT_TRUE(AlongSomeAxisOf(ih->mAxisSets[2], axis.mDir)) << s << "," << i;
                EXPECT_NEAR(Vec3Dot(axis.mDir, axis.mRef), 0.0, kEps);
            }
        }
        for (int i = 0; i < d5d->mMirrors.count; ++i)
            EXPECT_TRUE(AlongSomeAxisOf(ih->mAxisSets[2], d5d->mMirrors[i].mDir)) << "mirror " << i;
    }
}

TEST(SymSubgroups, SecondClassOfDihedralSubgroupsUsesTheOtherTwoFoldAxes)
{
    std::unique_ptr<SymGroup> d6h = MakeGroup(G::kDihedral, G::kHorizontal, 6);
    SymDescriptor a, b;
    ASSERT_TRUE(SymGroup::GetRotationalSubgroup(d6h.get(), 1, a));
    ASSERT_TRUE(SymGroup::GetRotationalSubgroup(d6h.get(), 2, b));
    EXPECT_STREQ(SymGroup::GetRotationalSubgroupName(d6h.get(), a), "3-fold Dihedral (A)");
    EXPECT_STREQ(SymGroup::GetRotationalSubgroupName(d6h.get(), b), "3-fold Dihedral (B)");
    a.mReflection = b.mReflection = G::kChiral;
    std::unique_ptr<SymGroup> first = d6h->CreateSubgroup(a);
    std::unique_ptr<SymGroup> second = d6h->CreateSubgroup(b);
    ASSERT_TRUE(first && second);
    // D3's three 2-fold axes (class 1; class 2 holds their far ends).
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_TRUE(AlongSomeAxisOf(d6h->mAxisSets[1], first->mAxisSets[1].mAxes[i].mDir)) << i;
        EXPECT_TRUE(AlongSomeAxisOf(d6h->mAxisSets[2], second->mAxisSets[1].mAxes[i].mDir)) << i;
    }
}

// A parent with vertical planes holds the rotation-reflection of a subgroup about its main axis
// only through its own, when the subgroup's step is an odd multiple of its own.
TEST(SymSubgroups, DihedralParentWithVerticalPlanesOffersOnlyTheRotationReflectionsItHolds)
{
    for (int bigN = 2; bigN <= 12; ++bigN)
    {
        std::unique_ptr<SymGroup> parent = MakeGroup(G::kDihedral, G::kVertical, bigN);
        const std::vector<Mat3> parentOps = Operations(*parent);
        for (const Entry& e : CombinedList(parent.get()))
        {
            if (e.d.mKind != G::kPyramidal || !e.d.mOnMainAxis)
                continue;
            SCOPED_TRACE("D" + std::to_string(bigN) + "d, C" + std::to_string(e.d.mN));
            const bool listed = e.d.mReflection == G::kRotationReflection;
            if (e.d.mReflection != G::kVertical && !listed)
                continue;
            // The rotation-reflection about the main axis by half the subgroup's step.
            std::unique_ptr<SymGroup> s = MakeGroup(G::kPyramidal, G::kRotationReflection, e.d.mN);
            Mat3 rr;
            s->GetReflectionMatrix(rr);
            if (e.d.mReflection == G::kVertical)
                EXPECT_EQ(Contains(parentOps, rr), (bigN / e.d.mN) % 2 == 1) << "listed after Vertical";
            else
                EXPECT_TRUE(Contains(parentOps, rr));
        }
    }
}

TEST(SymSubgroups, DescriptorThatDoesNotFitItsParentIsRefused)
{
    ScopedScriptedServices scripted;
    // D3d needs mirror planes that a chiral icosahedral group does not have.
    std::unique_ptr<SymGroup> i = MakeGroup(G::kIcosahedral, G::kChiral);
    SymDescriptor d;
    d.mKind = G::kDihedral;
    d.mN = 3;
    d.mAlternate = true;
    d.mReflection = G::kVertical;
    EXPECT_EQ(i->CreateSubgroup(d), nullptr);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scripted.services.LastCall()->text.find("SymGroup::CreateSubgroup()"), std::string::npos);

    d.mReflection = G::kChiral;
    std::unique_ptr<SymGroup> d3 = i->CreateSubgroup(d);
    ASSERT_TRUE(d3);
    EXPECT_STREQ(SymGroup::GetSchoenflies(d3.get()), "D3");
    EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
}
