#include "kernel/Mat3.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "model/StellationOptions.h"
#include "model/SymGroup.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace
{
using G = SymGroup;

constexpr double kEps = 1e-6;

bool SameMatrix(const Mat3& a, const Mat3& b, double tol = kEps)
{
    for (int i = 0; i < 9; ++i)
    {
        if (std::fabs(a.m[i] - b.m[i]) > tol)
            return false;
    }
    return true;
}

int IndexOf(const std::vector<Mat3>& list, const Mat3& m)
{
    for (size_t i = 0; i < list.size(); ++i)
    {
        if (SameMatrix(list[i], m))
            return int(i);
    }
    return -1;
}

Mat3 Negated(const Mat3& m)
{
    Mat3 n = m;
    Mat3Scale(n, -1.0);
    return n;
}

double Trace(const Mat3& m)
{
    return m.m[0] + m.m[4] + m.m[8];
}

bool IsOrthogonal(const Mat3& m)
{
    Mat3 t, product;
    t.SetTranspose(m);
    Mat3Mul(product, m, t);
    return SameMatrix(product, Mat3(), 1e-12);
}

std::vector<Mat3> Rotations(const SymGroup& g, bool includeIdentity = true)
{
    std::vector<Mat3> list;
    SymOpIterator it;
    Mat3 m;
    while (g.NextOperation(it, includeIdentity, &m) && list.size() < 1000)
        list.push_back(m);
    return list;
}

std::vector<Mat3> AllOperations(const SymGroup& g, bool includeIdentity = true, bool withReflections = true)
{
    std::vector<Mat3> list;
    SymOpIterator it;
    Mat3 m;
    while (g.NextOperationWithReflections(it, includeIdentity, &m, withReflections) && list.size() < 1000)
        list.push_back(m);
    return list;
}

// Distinct, orthogonal, closed under products: the list is a group of its size.
void ExpectGroup(const std::vector<Mat3>& ops)
{
    for (size_t i = 0; i < ops.size(); ++i)
    {
        EXPECT_TRUE(IsOrthogonal(ops[i])) << i;
        for (size_t j = 0; j < i; ++j)
            EXPECT_FALSE(SameMatrix(ops[i], ops[j])) << "operations " << j << " and " << i << " are equal";
    }
    int missing = 0;
    for (const Mat3& a : ops)
    {
        for (const Mat3& b : ops)
        {
            Mat3 ab;
            Mat3Mul(ab, a, b);
            if (IndexOf(ops, ab) < 0)
                ++missing;
        }
    }
    EXPECT_EQ(missing, 0) << "products outside the list";
}

std::unique_ptr<SymGroup> MakeGroup(int kind, int n, int reflection)
{
    std::unique_ptr<SymGroup> g = SymGroup::Create(kind, n);
    g->SetReflectionKind(reflection);
    return g;
}

bool IsOdd(int n)
{
    return n % 2 != 0;
}

// A point group with its reflection, named in Schoenflies notation.
struct PointGroup
{
    std::string name;
    int kind;
    int n;
    int reflection;
};

std::vector<PointGroup> ImproperGroups()
{
    std::vector<PointGroup> groups = {
        {"Ih", G::kIcosahedral, 1, G::kHorizontal}, {"Oh", G::kOctahedral, 1, G::kHorizontal},
        {"Th", G::kTetrahedral, 1, G::kHorizontal}, {"Td", G::kTetrahedral, 1, G::kDiagonal},
        {"Ci", G::kNoSymmetry, 1, G::kCentralInversion}, {"Cs", G::kNoSymmetry, 1, G::kHorizontal},
        {"Cs diagonal", G::kNoSymmetry, 1, G::kDiagonal},
    };
    for (int n = 1; n <= 7; ++n)
    {
        const std::string k = std::to_string(n);
        groups.push_back({"D" + k + "h", G::kDihedral, n, G::kHorizontal});
        groups.push_back({"D" + k + "d", G::kDihedral, n, G::kVertical});
        groups.push_back({"C" + k + "h", G::kPyramidal, n, G::kHorizontal});
        groups.push_back({"C" + k + "v", G::kPyramidal, n, G::kVertical});
        groups.push_back({"S" + std::to_string(2 * n), G::kPyramidal, n, G::kRotationReflection});
    }
    return groups;
}

// Restores the global stellation option word.
class SymGroupOptionsTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetStellationOptions(); }
    void TearDown() override { StoreStellationOptions(mSaved); }

private:
    int mSaved = 0;
};

class RecordingShell : public Shell
{
public:
    void InvalidateAllViews(bool updateNow, int flag) override
    {
        ++invalidations;
        lastUpdateNow = updateNow;
        lastFlag = flag;
    }
    void UpdatePivotOfLastActiveView() override { ++pivotUpdates; }

    int invalidations = 0;
    int pivotUpdates = 0;
    bool lastUpdateNow = true;
    int lastFlag = -1;
};

class ScopedShell
{
public:
    explicit ScopedShell(Shell* shell) : mPrevious(SetShell(shell)) {}
    ~ScopedShell() { SetShell(mPrevious); }

private:
    Shell* mPrevious;
};
}  // namespace

TEST(SymGroup, RotationGroupsAreClosedAndHaveTheirOrder)
{
    struct Case
    {
        std::string name;
        int kind, n, order;
    };
    std::vector<Case> cases = {
        {"icosahedral", G::kIcosahedral, 1, 60},
        {"octahedral", G::kOctahedral, 1, 24},
        {"tetrahedral", G::kTetrahedral, 1, 12},
        {"no symmetry", G::kNoSymmetry, 1, 1},
    };
    for (int n : {1, 2, 3, 4, 5, 6, 7, 12})
    {
        cases.push_back({"D" + std::to_string(n), G::kDihedral, n, 2 * n});
        cases.push_back({"C" + std::to_string(n), G::kPyramidal, n, n});
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto g = SymGroup::Create(c.kind, c.n);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->mOrder, c.order);
        EXPECT_EQ(g->mReflection, G::kChiral);

        const std::vector<Mat3> rotations = Rotations(*g);
        ASSERT_EQ(int(rotations.size()), c.order);
        EXPECT_TRUE(SameMatrix(rotations[0], Mat3()));
        for (const Mat3& r : rotations)
            EXPECT_NEAR(r.Determinant(), 1.0, 1e-12);
        ExpectGroup(rotations);

        const std::vector<Mat3> withoutIdentity = Rotations(*g, false);
        EXPECT_EQ(int(withoutIdentity.size()), c.order - 1);
        EXPECT_LT(IndexOf(withoutIdentity, Mat3()), 0);
        for (const Mat3& r : withoutIdentity)
            EXPECT_GE(IndexOf(rotations, r), 0);
    }
}

TEST(SymGroup, PolyhedralRotationsHaveTheirPublishedAngles)
{
    // The number of rotations by each angle: the trace of a turn by a is 1 + 2 cos a.
    struct Case
    {
        const char* name;
        int kind;
        std::map<int, int> countByDegrees;
    };
    const Case cases[] = {
        {"icosahedral", G::kIcosahedral, {{0, 1}, {72, 12}, {144, 12}, {120, 20}, {180, 15}}},
        {"octahedral", G::kOctahedral, {{0, 1}, {90, 6}, {120, 8}, {180, 9}}},
        {"tetrahedral", G::kTetrahedral, {{0, 1}, {120, 8}, {180, 3}}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::map<int, int> counts;
        for (const Mat3& r : Rotations(*SymGroup::Create(c.kind)))
        {
            const double cosine = std::fmax(-1.0, std::fmin(1.0, (Trace(r) - 1.0) / 2.0));
            ++counts[int(std::lround(std::acos(cosine) * 180.0 / kPi))];
        }
        EXPECT_EQ(counts, c.countByDegrees);
    }
}

TEST(SymGroup, FullGroupsAreClosedWithImproperHalf)
{
    struct Case
    {
        PointGroup group;
        int order;  // rotations and improper operations
    };
    std::vector<Case> cases = {{{"I", G::kIcosahedral, 1, G::kChiral}, 60}};
    for (const PointGroup& pg : ImproperGroups())
        cases.push_back({pg, 2 * SymGroup::Create(pg.kind, pg.n)->mOrder});
    for (const Case& c : cases)
    {
        const PointGroup& pg = c.group;
        SCOPED_TRACE(pg.name);
        const auto g = MakeGroup(pg.kind, pg.n, pg.reflection);
        const std::vector<Mat3> ops = AllOperations(*g);
        ASSERT_EQ(int(ops.size()), c.order);
        const int rotations = g->mOrder;
        for (int i = 0; i < c.order; ++i)
            EXPECT_NEAR(ops[i].Determinant(), i < rotations ? 1.0 : -1.0, 1e-12) << i;
        ExpectGroup(ops);

        EXPECT_EQ(int(AllOperations(*g, false).size()), c.order - 1);

        // The improper operations alone are the second half.
        std::vector<Mat3> improper;
        SymOpIterator it;
        Mat3 r, m;
        while (g->NextImproperOperation(it, r, &m) && improper.size() < 1000)
            improper.push_back(m);
        EXPECT_EQ(int(improper.size()), c.order - rotations);
        for (const Mat3& op : improper)
        {
            const int i = IndexOf(ops, op);
            EXPECT_GE(i, rotations);
        }
    }
    // The published orders of the full polyhedral groups.
    EXPECT_EQ(AllOperations(*MakeGroup(G::kIcosahedral, 1, G::kHorizontal)).size(), 120u);
    EXPECT_EQ(AllOperations(*MakeGroup(G::kOctahedral, 1, G::kHorizontal)).size(), 48u);
    EXPECT_EQ(AllOperations(*MakeGroup(G::kTetrahedral, 1, G::kDiagonal)).size(), 24u);
}

TEST_F(SymGroupOptionsTest, MaintainedReflexibilityAddsTheImproperHalf)
{
    const auto oh = MakeGroup(G::kOctahedral, 1, G::kHorizontal);
    const auto o = SymGroup::Create(G::kOctahedral);

    StoreStellationOptions(0);
    EXPECT_EQ(AllOperations(*oh, true, false).size(), 24u);
    StoreStellationOptions(kCriteriaReflexible);
    EXPECT_EQ(AllOperations(*oh, true, false).size(), 48u);
    EXPECT_EQ(AllOperations(*o, true, false).size(), 24u);  // nothing to add without a reflection
    StoreStellationOptions(kCriteriaAllFaceTypes | kCriteriaFullSupNeedsCore);
    EXPECT_EQ(AllOperations(*oh, true, false).size(), 24u);
}

TEST(SymGroup, NextOperationStopsAndRestarts)
{
    const auto g = SymGroup::Create(G::kDihedral, 3);
    SymOpIterator it;
    int count = 0;
    while (g->NextOperation(it, true, nullptr))
        ++count;
    EXPECT_EQ(count, 6);
    EXPECT_EQ(it.mSetIndex, -1);
    EXPECT_EQ(it.mAxisIndex, -1);
    EXPECT_EQ(it.mStep, -1);
    // The same iterator runs again from the start.
    Mat3 m;
    ASSERT_TRUE(g->NextOperation(it, true, &m));
    EXPECT_TRUE(SameMatrix(m, Mat3()));

    // The trivial group: the identity when asked for, else nothing.
    const auto none = SymGroup::Create(G::kNoSymmetry);
    SymOpIterator it2;
    EXPECT_FALSE(none->NextOperation(it2, false, &m));
    EXPECT_TRUE(none->NextOperation(it2, true, &m));
    EXPECT_FALSE(none->NextOperation(it2, true, &m));
}

TEST(SymGroup, AxisClassesMatchTheGroup)
{
    struct SetCase
    {
        int order, axes, ends;
        bool skip;
    };
    struct Case
    {
        std::string name;
        int kind, n;
        std::vector<SetCase> sets;
    };
    std::vector<Case> cases = {
        {"icosahedral", G::kIcosahedral, 1, {{5, 6, 12, false}, {3, 10, 20, false}, {2, 15, 30, false}}},
        {"octahedral", G::kOctahedral, 1, {{4, 3, 6, false}, {3, 4, 8, false}, {2, 6, 12, false}}},
        {"tetrahedral", G::kTetrahedral, 1, {{3, 4, 4, false}, {3, 4, 4, true}, {2, 3, 6, false}}},
        {"no symmetry", G::kNoSymmetry, 1, {}},
    };
    for (int n : {2, 3, 4, 5, 6, 9})
    {
        const int c = IsOdd(n) ? n : n / 2;
        const std::vector<SetCase> dihedral = {{n, 1, 2, false}, {2, c, n, false}, {2, c, n, IsOdd(n)}};
        cases.push_back({"D" + std::to_string(n), G::kDihedral, n, dihedral});
        cases.push_back({"C" + std::to_string(n), G::kPyramidal, n, {{n, 1, 1, false}, {n, 1, 1, true}}});
    }
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto g = SymGroup::Create(c.kind, c.n);
        ASSERT_EQ(g->mNumAxisSets, int(c.sets.size()));
        const std::vector<Mat3> rotations = Rotations(*g);
        for (int s = 0; s < g->mNumAxisSets; ++s)
        {
            SCOPED_TRACE(s);
            const SymAxisSet& set = g->mAxisSets[s];
            EXPECT_EQ(set.mOrder, c.sets[s].order);
            EXPECT_EQ(set.mNumAxes, c.sets[s].axes);
            EXPECT_EQ(set.mNumEnds, c.sets[s].ends);
            EXPECT_EQ(set.mSkip, c.sets[s].skip);
            EXPECT_EQ(set.mOneSided, set.mNumAxes == set.mNumEnds);
            for (int i = 0; i < set.mNumAxes; ++i)
            {
                SCOPED_TRACE(i);
                const SymAxis& a = set.mAxes[i];
                EXPECT_NEAR(Vec3Length(a.mDir), 1.0, 1e-12);
                EXPECT_NEAR(Vec3Length(a.mRef), 1.0, 1e-12);
                EXPECT_NEAR(Vec3Dot(a.mDir, a.mRef), 0.0, 1e-12);
                EXPECT_EQ(a.mFlags, 0);

                // A turn by one step about the axis belongs to the group.
                Mat3 step;
                step.SetRotation(a.mDir, 2 * kPi / set.mOrder);
                EXPECT_GE(IndexOf(rotations, step), 0);

                // The ends of the class are the images of the axis under the group.
                std::vector<Vec3D> images;
                for (const Mat3& r : rotations)
                {
                    Vec3D p;
                    r.Transform(p, a.mDir);
                    bool seen = false;
                    for (const Vec3D& q : images)
                        seen = seen || Vec3Equal(p, q, kEps);
                    if (!seen)
                        images.push_back(p);
                }
                EXPECT_EQ(int(images.size()), set.mNumEnds);
            }
        }
        // Apart from the far ends held by a skipped class, no axis appears twice.
        std::vector<const SymAxis*> seen;
        for (int s = 0; s < g->mNumAxisSets; ++s)
            for (int i = 0; i < g->mAxisSets[s].mNumAxes; ++i)
            {
                const Vec3D& dir = g->mAxisSets[s].mAxes[i].mDir;
                for (const SymAxis* earlier : seen)
                    EXPECT_TRUE(g->mAxisSets[s].mSkip || !Vec3Parallel(dir, earlier->mDir, kEps)) << s << "." << i;
                seen.push_back(&g->mAxisSets[s].mAxes[i]);
            }
    }
}

TEST(SymGroup, TetrahedralSkippedClassHoldsTheOppositeEnds)
{
    const auto g = SymGroup::Create(G::kTetrahedral);
    for (int i = 0; i < 4; ++i)
    {
        Vec3D opposite;
        Vec3Neg(opposite, g->mAxisSets[0].mAxes[i].mDir);
        EXPECT_TRUE(Vec3Equal(g->mAxisSets[1].mAxes[i].mDir, opposite, 0.0)) << i;
    }
}

TEST(SymGroup, MirrorsAreThePlanesOfTheGroup)
{
    struct Case
    {
        PointGroup group;
        int mirrors;
    };
    std::vector<Case> cases = {
        {{"Ih", G::kIcosahedral, 1, G::kHorizontal}, 15}, {{"Oh", G::kOctahedral, 1, G::kHorizontal}, 9},
        {{"Td", G::kTetrahedral, 1, G::kDiagonal}, 6},    {{"Th", G::kTetrahedral, 1, G::kHorizontal}, 3},
        {{"Ci", G::kNoSymmetry, 1, G::kCentralInversion}, 0}, {{"Cs", G::kNoSymmetry, 1, G::kHorizontal}, 1},
        {{"I", G::kIcosahedral, 1, G::kChiral}, 0},
    };
    for (int n : {1, 2, 3, 4, 5, 6})
    {
        const std::string k = std::to_string(n);
        cases.push_back({{"D" + k + "h", G::kDihedral, n, G::kHorizontal}, n + 1});
        cases.push_back({{"D" + k + "d", G::kDihedral, n, G::kVertical}, n});
        cases.push_back({{"C" + k + "v", G::kPyramidal, n, G::kVertical}, n});
        cases.push_back({{"C" + k + "h", G::kPyramidal, n, G::kHorizontal}, 1});
        cases.push_back({{"S" + std::to_string(2 * n), G::kPyramidal, n, G::kRotationReflection}, 0});
    }
    for (const Case& c : cases)
    {
        const PointGroup& pg = c.group;
        SCOPED_TRACE(pg.name);
        const auto g = MakeGroup(pg.kind, pg.n, pg.reflection);
        ASSERT_EQ(g->mMirrors.count, c.mirrors);
        const std::vector<Mat3> ops = AllOperations(*g);

        // Every plane reflection of the group is listed, and only those: reflections are the
        // improper operations with trace 1.
        int reflections = 0;
        for (const Mat3& op : ops)
            reflections += op.Determinant() < 0 && std::fabs(Trace(op) - 1.0) < kEps;
        EXPECT_EQ(reflections, c.mirrors);

        for (int i = 0; i < g->mMirrors.count; ++i)
        {
            SCOPED_TRACE(i);
            const Vec3D& normal = g->mMirrors[i].mDir;
            EXPECT_NEAR(Vec3Length(normal), 1.0, 1e-12);
            Mat3 reflection;
            ASSERT_TRUE(g->GetReflectionMatrix(reflection, G::kHorizontal, &normal));
            EXPECT_GE(IndexOf(ops, reflection), 0);
            for (int j = 0; j < i; ++j)
                EXPECT_FALSE(Vec3Parallel(normal, g->mMirrors[j].mDir, kEps)) << "same plane as " << j;

            // The plane maps every axis onto an axis of the same order.
            for (int s = 0; s < g->mNumAxisSets; ++s)
                for (int a = 0; a < g->mAxisSets[s].mNumAxes; ++a)
                {
                    Vec3D image;
                    g->ReflectInMirror(image, g->mAxisSets[s].mAxes[a].mDir, i);
                    const SymAxisSet* found = g->FindAxisByAbsDir(image);
                    ASSERT_TRUE(found) << s << "." << a;
                    EXPECT_EQ(found->mOrder, g->mAxisSets[s].mOrder);
                }
        }
    }
}

TEST(SymGroup, VerticalPlanesContainOrBisectTheTwoFoldAxes)
{
    // Dnh: every 2-fold axis lies in a vertical plane; Dnd: the planes pass between them.
    for (int n : {2, 3, 4, 5, 6})
    {
        SCOPED_TRACE(n);
        const auto dnh = MakeGroup(G::kDihedral, n, G::kHorizontal);
        const auto dnd = MakeGroup(G::kDihedral, n, G::kVertical);
        EXPECT_TRUE(Vec3Equal(dnh->mMirrors[n].mDir, {0, 1, 0}, 0.0));  // the horizontal plane comes last
        for (int s = 1; s < 3; ++s)
            for (int i = 0; i < dnh->mAxisSets[s].mNumAxes; ++i)
            {
                const Vec3D& axis = dnh->mAxisSets[s].mAxes[i].mDir;
                int inDnh = 0, inDnd = 0;
                for (int m = 0; m < n; ++m)
                {
                    EXPECT_EQ(dnh->mMirrors[m].mDir.y, 0.0);
                    EXPECT_EQ(dnd->mMirrors[m].mDir.y, 0.0);
                    inDnh += std::fabs(Vec3Dot(dnh->mMirrors[m].mDir, axis)) < kEps;
                    inDnd += std::fabs(Vec3Dot(dnd->mMirrors[m].mDir, axis)) < kEps;
                }
                EXPECT_EQ(inDnh, 1) << s << "." << i;
                EXPECT_EQ(inDnd, 0) << s << "." << i;
            }
    }
}

TEST(SymGroup, CentralInversion)
{
    struct Case
    {
        PointGroup group;
        bool inversion;
    };
    std::vector<Case> cases = {
        {{"Ih", G::kIcosahedral, 1, G::kHorizontal}, true}, {{"Oh", G::kOctahedral, 1, G::kHorizontal}, true},
        {{"Th", G::kTetrahedral, 1, G::kHorizontal}, true}, {{"Td", G::kTetrahedral, 1, G::kDiagonal}, false},
        {{"I", G::kIcosahedral, 1, G::kChiral}, false},     {{"Ci", G::kNoSymmetry, 1, G::kCentralInversion}, true},
        {{"Cs", G::kNoSymmetry, 1, G::kHorizontal}, false}, {{"C1", G::kNoSymmetry, 1, G::kChiral}, false},
    };
    for (int n : {1, 2, 3, 4, 5, 6})
    {
        const std::string k = std::to_string(n);
        cases.push_back({{"D" + k + "h", G::kDihedral, n, G::kHorizontal}, !IsOdd(n)});
        cases.push_back({{"D" + k + "d", G::kDihedral, n, G::kVertical}, IsOdd(n)});
        cases.push_back({{"C" + k + "h", G::kPyramidal, n, G::kHorizontal}, !IsOdd(n)});
        cases.push_back({{"C" + k + "v", G::kPyramidal, n, G::kVertical}, false});
        cases.push_back({{"S" + std::to_string(2 * n), G::kPyramidal, n, G::kRotationReflection}, IsOdd(n)});
        cases.push_back({{"D" + k, G::kDihedral, n, G::kChiral}, false});
    }
    const Mat3 minusIdentity = Negated(Mat3());
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.group.name);
        const auto g = MakeGroup(c.group.kind, c.group.n, c.group.reflection);
        EXPECT_EQ(g->HasCentralInversion(), c.inversion);
        EXPECT_EQ(IndexOf(AllOperations(*g), minusIdentity) >= 0, c.inversion);
    }
}

TEST(SymGroup, ReflectionMatrices)
{
    const auto g = MakeGroup(G::kPyramidal, 2, G::kRotationReflection);
    Mat3 out;
    out.SetColumns({1, 2, 3}, {4, 5, 6}, {7, 8, 9});
    const Mat3 before = out;
    EXPECT_EQ(g->GetReflectionMatrix(out, G::kChiral), nullptr);
    EXPECT_TRUE(SameMatrix(out, before, 0.0));

    ASSERT_EQ(g->GetReflectionMatrix(out, G::kCentralInversion), &out);
    EXPECT_TRUE(SameMatrix(out, Negated(Mat3()), 0.0));

    // S4 about y: a quarter turn and the reflection across y = 0.
    ASSERT_TRUE(g->GetReflectionMatrix(out));
    Vec3D p;
    out.Transform(p, {1, 2, 0});
    EXPECT_TRUE(Vec3Equal(p, {0, -2, -1}, 1e-12));
    Vec3D q;
    g->Reflect(q, {1, 2, 0}, 0);
    EXPECT_TRUE(Vec3Equal(q, p, 1e-12));

    // Any other kind reflects in the plane normal to the vector given.
    const Vec3D n = {0.6, 0, 0.8};
    ASSERT_TRUE(g->GetReflectionMatrix(out, G::kHorizontal, &n));
    out.Transform(p, {3, 1, 4});  // 3*0.6 + 4*0.8 = 5
    EXPECT_TRUE(Vec3Equal(p, {3 - 6, 1, 4 - 8}, 1e-12));

    const auto ci = MakeGroup(G::kNoSymmetry, 1, G::kCentralInversion);
    ci->Reflect(q, {1, -2, 3}, 0);
    EXPECT_TRUE(Vec3Equal(q, {-1, 2, -3}, 0.0));

    const auto cs = MakeGroup(G::kNoSymmetry, 1, G::kHorizontal);
    cs->Reflect(q, {1, -2, 3}, 0);
    EXPECT_TRUE(Vec3Equal(q, {1, 2, 3}, 0.0));
}

TEST(SymGroup, RotateTurnsEveryPartTogether)
{
    Mat3 m;
    m.SetRotation({0.3, -1.2, 0.7}, 0.9);
    for (const PointGroup& pg : ImproperGroups())
    {
        SCOPED_TRACE(pg.name);
        const auto g = MakeGroup(pg.kind, pg.n, pg.reflection);
        const std::vector<Mat3> before = AllOperations(*g);
        const auto turned = SymGroup::Copy(g.get());
        turned->Rotate(m);
        EXPECT_TRUE(SameMatrix(turned->mOrientation, m, 0.0));

        // Each operation A becomes M A M^T.
        const std::vector<Mat3> after = AllOperations(*turned);
        ASSERT_EQ(after.size(), before.size());
        Mat3 mt;
        mt.SetTranspose(m);
        for (size_t i = 0; i < before.size(); ++i)
        {
            Mat3 tmp, expected;
            Mat3Mul(tmp, m, before[i]);
            Mat3Mul(expected, tmp, mt);
            EXPECT_TRUE(SameMatrix(after[i], expected)) << i;
        }
        for (int i = 0; i < g->mMirrors.count; ++i)
        {
            Vec3D expected;
            m.Transform(expected, g->mMirrors[i].mDir);
            EXPECT_TRUE(Vec3Equal(turned->mMirrors[i].mDir, expected, kEps)) << i;
        }
        EXPECT_EQ(turned->HasCentralInversion(), g->HasCentralInversion());

        // Mirrors built after the turn follow the orientation.
        const auto rebuilt = SymGroup::Create(pg.kind, pg.n);
        rebuilt->Rotate(m);
        rebuilt->SetReflectionKind(pg.reflection);
        ASSERT_EQ(rebuilt->mMirrors.count, turned->mMirrors.count);
        for (int i = 0; i < rebuilt->mMirrors.count; ++i)
            EXPECT_TRUE(Vec3Equal(rebuilt->mMirrors[i].mDir, turned->mMirrors[i].mDir, kEps)) << i;
    }

    // Turns accumulate, the later one applied last.
    const auto g = SymGroup::Create(G::kOctahedral);
    Mat3 m2, both;
    m2.SetAxisRotationExact(0, 1, 8);
    g->Rotate(m);
    g->Rotate(m2);
    Mat3Mul(both, m2, m);
    EXPECT_TRUE(SameMatrix(g->mOrientation, both, 1e-15));
}

TEST(SymGroup, RotateSnapsTinyComponentsAndIgnoresIdentity)
{
    const auto g = MakeGroup(G::kIcosahedral, 1, G::kHorizontal);
    const auto copy = SymGroup::Copy(g.get());
    Mat3 nearIdentity;
    nearIdentity.m[1] = 5e-7;
    g->Rotate(nearIdentity);
    SymGroup::Rotate(nullptr, nearIdentity);
    for (int i = 0; i < 9; ++i)
        EXPECT_EQ(g->mOrientation.m[i], Mat3().m[i]);
    for (int s = 0; s < g->mNumAxisSets; ++s)
        for (int i = 0; i < g->mAxisSets[s].mNumAxes; ++i)
            EXPECT_TRUE(Vec3Equal(g->mAxisSets[s].mAxes[i].mDir, copy->mAxisSets[s].mAxes[i].mDir, 0.0));

    // A quarter turn about z from the table sine turns x into y with exact zeros.
    Mat3 quarter;
    quarter.SetAxisRotation(2, kPi / 2);  // cos is 6e-17, not 0
    const auto oct = SymGroup::Create(G::kOctahedral);
    oct->Rotate(quarter);
    const Vec3D& x = oct->mAxisSets[0].mAxes[0].mDir;
    EXPECT_EQ(x.x, 0.0);
    EXPECT_EQ(x.y, 1.0);
    EXPECT_EQ(x.z, 0.0);
}

TEST(SymGroup, CopyIsDeepAndComplete)
{
    EXPECT_EQ(SymGroup::Copy(nullptr), nullptr);
    const auto g = MakeGroup(G::kDihedral, 5, G::kVertical);
    Mat3 m;
    m.SetRotation({1, 2, 3}, 0.4);
    g->Rotate(m);
    g->mAxisSets[1].mAxes[2].mFlags = 0x5;
    const auto copy = SymGroup::Copy(g.get());
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->mKind, g->mKind);
    EXPECT_EQ(copy->mReflection, g->mReflection);
    EXPECT_EQ(copy->mOrder, g->mOrder);
    EXPECT_TRUE(SameMatrix(copy->mOrientation, g->mOrientation, 0.0));
    ASSERT_EQ(copy->mNumAxisSets, g->mNumAxisSets);
    for (int s = 0; s < g->mNumAxisSets; ++s)
    {
        const SymAxisSet &a = g->mAxisSets[s], &b = copy->mAxisSets[s];
        EXPECT_EQ(b.mOrder, a.mOrder);
        EXPECT_EQ(b.mNumEnds, a.mNumEnds);
        EXPECT_EQ(b.mSkip, a.mSkip);
        EXPECT_EQ(b.mOneSided, a.mOneSided);
        ASSERT_EQ(b.mNumAxes, a.mNumAxes);
        EXPECT_NE(b.mAxes.get(), a.mAxes.get());
        for (int i = 0; i < a.mNumAxes; ++i)
        {
            EXPECT_EQ(b.mAxes[i].mFlags, a.mAxes[i].mFlags);
            EXPECT_TRUE(Vec3Equal(b.mAxes[i].mDir, a.mAxes[i].mDir, 0.0));
            EXPECT_TRUE(Vec3Equal(b.mAxes[i].mRef, a.mAxes[i].mRef, 0.0));
        }
    }
    ASSERT_EQ(copy->mMirrors.count, g->mMirrors.count);
    for (int i = 0; i < g->mMirrors.count; ++i)
        EXPECT_TRUE(Vec3Equal(copy->mMirrors[i].mDir, g->mMirrors[i].mDir, 0.0));
    // The copy enumerates the same operations.
    const std::vector<Mat3> a = AllOperations(*g), b = AllOperations(*copy);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
        EXPECT_TRUE(SameMatrix(a[i], b[i], 0.0));
}

TEST(SymGroup, ByteSizeCountsEveryRecord)
{
    EXPECT_EQ(SymGroup::GetByteSize(nullptr), 0u);
    const auto ih = MakeGroup(G::kIcosahedral, 1, G::kHorizontal);
    EXPECT_EQ(SymGroup::GetByteSize(ih.get()), sizeof(SymGroup) + 3 * sizeof(SymAxisSet) + (31 + 15) * sizeof(SymAxis));
    const auto c1 = SymGroup::Create(G::kNoSymmetry);
    EXPECT_EQ(SymGroup::GetByteSize(c1.get()), sizeof(SymGroup));
}

TEST(SymGroup, CreateFromRotationChoosesTheGroup)
{
    struct Case
    {
        int n, count, kind, order;
    };
    const Case cases[] = {
        {5, 12, G::kIcosahedral, 60}, {5, 24, G::kIcosahedral, 60}, {5, 2, G::kDihedral, 10},
        {4, 6, G::kOctahedral, 24},   {4, 2, G::kDihedral, 8},      {3, 20, G::kIcosahedral, 60},
        {3, 40, G::kIcosahedral, 60}, {3, 8, G::kOctahedral, 24},   {3, 4, G::kTetrahedral, 12},
        {3, 2, G::kDihedral, 6},      {6, 2, G::kDihedral, 12},     {2, 6, G::kDihedral, 4},
        {1, 1, G::kDihedral, 2},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::to_string(c.n) + "-fold, " + std::to_string(c.count) + " faces");
        const auto g = SymGroup::CreateFromRotation(c.n, c.count);
        ASSERT_TRUE(g);
        EXPECT_EQ(g->mKind, c.kind);
        EXPECT_EQ(int(Rotations(*g).size()), c.order);
    }
}

TEST(SymGroup, DegenerateFoldMakesAOneFoldGroup)
{
    for (int n : {0, -3})
    {
        SCOPED_TRACE(n);
        const auto d = SymGroup::Create(G::kDihedral, n);
        ASSERT_TRUE(d);
        EXPECT_EQ(d->MainOrder(), 1);
        ExpectGroup(Rotations(*d));
        EXPECT_EQ(Rotations(*d).size(), 2u);
        const auto c = SymGroup::Create(G::kPyramidal, n);
        EXPECT_EQ(Rotations(*c).size(), 1u);
    }
}

TEST(SymGroup, OneFoldMainAxisGivesNoIdentityWhenNotAskedFor)
{
    const auto c1 = SymGroup::Create(G::kPyramidal, 1);
    EXPECT_TRUE(Rotations(*c1, false).empty());
    const auto d1 = SymGroup::Create(G::kDihedral, 1);
    const std::vector<Mat3> ops = Rotations(*d1, false);
    ASSERT_EQ(ops.size(), 1u);
    EXPECT_NEAR(Trace(ops[0]), -1.0, 1e-12);  // the half turn
}

TEST(SymGroup, ChooseDihedralReflectionFromTheModel)
{
    // A triangular prism and antiprism placed so that the D3 group's 2-fold axes are theirs.
    auto ring = [](double degrees, double y) {
        std::vector<Vec3D> points;
        for (int i = 0; i < 3; ++i)
        {
            const double a = (degrees + 120.0 * i) * kPi / 180.0;
            points.push_back({std::cos(a), y, std::sin(a)});
        }
        return points;
    };
    struct Case
    {
        const char* name;
        double top, bottom;
        int reflection;
    };
    const Case cases[] = {
        {"prism", 0.0, 0.0, G::kHorizontal},
        {"antiprism", 30.0, -30.0, G::kVertical},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<Vec3D> verts = ring(c.top, 0.8);
        for (const Vec3D& v : ring(c.bottom, -0.8))
            verts.push_back(v);
        const auto g = SymGroup::Create(G::kDihedral, 3);
        g->ChooseDihedralReflection(verts[0], verts);
        EXPECT_EQ(g->mReflection, c.reflection);

        // Every operation of the chosen group maps the model onto itself.
        for (const Mat3& op : AllOperations(*g))
            for (const Vec3D& v : verts)
            {
                Vec3D image;
                op.Transform(image, v);
                bool found = false;
                for (const Vec3D& w : verts)
                    found = found || Vec3Equal(image, w, kEps);
                EXPECT_TRUE(found);
            }
    }
}

TEST(SymGroup, FindersLocateAxes)
{
    const double s3 = std::sqrt(1.0 / 3.0), s2 = std::sqrt(0.5);
    const auto tet = SymGroup::Create(G::kTetrahedral);
    // One-sided class 0 does not answer for the far end; the skipped class holds it.
    EXPECT_EQ(tet->FindAxisByDir({s3, s3, s3}), &tet->mAxisSets[0]);
    EXPECT_EQ(tet->FindAxisByDir({-s3, -s3, -s3}), &tet->mAxisSets[1]);
    EXPECT_EQ(tet->FindAxisByDir({-1, 0, 0}), &tet->mAxisSets[2]);
    EXPECT_EQ(tet->FindAxis({0, -1, 0}), &tet->mAxisSets[2].mAxes[1]);
    EXPECT_EQ(tet->FindAxisByDir({s2, s2, 0}), nullptr);

    const auto oct = SymGroup::Create(G::kOctahedral);
    EXPECT_EQ(oct->FindAxis({-s2, 0, s2}), &oct->mAxisSets[2].mAxes[3]);  // two-sided
    EXPECT_EQ(oct->FindAxisByAbsDir({-2, -2, 2}), &oct->mAxisSets[1]);
    EXPECT_EQ(oct->FindAxisByAbsDir({0, 0, -3}), &oct->mAxisSets[0]);
    EXPECT_EQ(oct->FindAxisByAbsDir({5, 5, 0}), &oct->mAxisSets[2]);
    EXPECT_EQ(oct->FindAxisByAbsDir({1, 2, 3}), nullptr);
    EXPECT_EQ(oct->FindAxisByAbsDir({0, 0, 0}), &oct->mAxisSets[0]);

    EXPECT_EQ(oct->FindAxisSetByOrder(3), &oct->mAxisSets[1]);
    EXPECT_EQ(oct->FindAxisSetIndexByOrder(2), 2);
    EXPECT_EQ(oct->FindAxisSetByOrder(5), nullptr);
    EXPECT_EQ(oct->FindAxisSetIndexByOrder(5), -1);
    EXPECT_EQ(oct->GetAxisSetIndex(&oct->mAxisSets[2]), 2);
    EXPECT_EQ(oct->GetAxisSetIndex(nullptr), -1);
    EXPECT_EQ(oct->GetAxisSetIndex(&tet->mAxisSets[0]), -1);

    // GetAxis counts through the classes; FindAxisSetOf gives each axis back its class.
    int count = 0;
    for (int s = 0; s < oct->mNumAxisSets; ++s)
        for (int i = 0; i < oct->mAxisSets[s].mNumAxes; ++i, ++count)
        {
            EXPECT_EQ(oct->GetAxis(count), &oct->mAxisSets[s].mAxes[i]);
            EXPECT_EQ(oct->FindAxisSetOf(oct->GetAxis(count)), &oct->mAxisSets[s]);
        }
    EXPECT_EQ(count, 13);
    EXPECT_EQ(oct->GetAxis(13), nullptr);
    EXPECT_EQ(oct->GetAxis(-1), nullptr);
    EXPECT_EQ(oct->FindAxisSetOf(&tet->mAxisSets[0].mAxes[0]), nullptr);
    EXPECT_EQ(tet->GetAxis(4), &tet->mAxisSets[1].mAxes[0]);  // skipped classes count
}

TEST(SymGroup, PerpendicularAxesOfEvenOrder)
{
    // Even-order axes perpendicular to a given axis: published counts.
    struct Case
    {
        const char* name;
        int kind, n;
        Vec3D d;
        int count;
    };
    const double s3 = std::sqrt(1.0 / 3.0);
    const Case cases[] = {
        {"icosahedral about a 5-fold axis", G::kIcosahedral, 1, {}, 5},
        {"octahedral about a 4-fold axis", G::kOctahedral, 1, {1, 0, 0}, 4},
        {"octahedral about a 3-fold axis", G::kOctahedral, 1, {s3, s3, s3}, 3},
        {"D6 about its main axis", G::kDihedral, 6, {0, 1, 0}, 6},
        {"D5 about its main axis, far ends included", G::kDihedral, 5, {0, 1, 0}, 10},
        {"C4 about its main axis", G::kPyramidal, 4, {0, 1, 0}, 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        const auto g = SymGroup::Create(c.kind, c.n);
        const Vec3D d = c.kind == G::kIcosahedral ? g->mAxisSets[0].mAxes[0].mDir : c.d;
        int count = 0;
        SymAxis* first = g->FindPerpendicularAxis(d);
        for (SymAxis* a = first; a && count < 100; a = g->FindNextPerpendicularAxis(d, a), ++count)
        {
            EXPECT_NEAR(Vec3Dot(a->mDir, d), 0.0, kEps);
            EXPECT_EQ(g->FindAxisSetOf(a)->mOrder % 2, 0);
        }
        EXPECT_EQ(count, c.count);
        // From an axis that is not the group's, the search starts over.
        SymAxis stranger;
        EXPECT_EQ(g->FindNextPerpendicularAxis(d, &stranger), first);
    }

    // With w: the perpendicular axis parallel to w.
    const auto oct = SymGroup::Create(G::kOctahedral);
    const Vec3D w = {0, -3, 3};
    EXPECT_EQ(oct->FindPerpendicularAxis({1, 0, 0}, &w), &oct->mAxisSets[2].mAxes[5]);
    const Vec3D zero = {0, 0, 0};
    EXPECT_EQ(oct->FindPerpendicularAxis({1, 0, 0}, &zero), &oct->mAxisSets[0].mAxes[1]);
    const Vec3D skew = {1, 2, 3};
    EXPECT_EQ(oct->FindPerpendicularAxis({1, 0, 0}, &skew), nullptr);
}

TEST(SymGroup, FindMirrorContainingADirection)
{
    const auto oh = MakeGroup(G::kOctahedral, 1, G::kHorizontal);
    Vec3D normal;
    ASSERT_TRUE(oh->FindMirrorContaining(normal, {1, 0, 0}));
    EXPECT_NEAR(Vec3Dot(normal, {1, 0, 0}), 0.0, kEps);
    const auto td = MakeGroup(G::kTetrahedral, 1, G::kDiagonal);
    // No plane of Td contains the direction (1, 2, 4).
    EXPECT_FALSE(td->FindMirrorContaining(normal, {1, 2, 4}));
    EXPECT_TRUE(td->FindMirrorContaining(normal, {1, 1, 4}));
    EXPECT_NEAR(Vec3Dot(normal, {1, 1, 4}), 0.0, kEps);
}

TEST(SymGroup, SetAndCopyAxisReferenceAndClearMarks)
{
    const auto g = SymGroup::Create(G::kOctahedral);
    EXPECT_TRUE(g->SetAxisReference(0, 1, 1, 0, 0));
    EXPECT_TRUE(Vec3Equal(g->mAxisSets[0].mAxes[1].mRef, {1, 0, 0}, 0.0));
    EXPECT_TRUE(g->CopyAxisReference(1, 0, 2, 1));
    EXPECT_TRUE(Vec3Equal(g->mAxisSets[1].mAxes[0].mRef, g->mAxisSets[2].mAxes[1].mDir, 0.0));
    EXPECT_FALSE(g->SetAxisReference(3, 0, 1, 0, 0));
    EXPECT_FALSE(g->CopyAxisReference(0, 0, 0, 3));

    g->mAxisSets[0].mAxes[0].mFlags = 0x3F;
    g->mAxisSets[2].mAxes[5].mFlags = 0x1;
    g->ClearAxisMarks();
    EXPECT_EQ(g->mAxisSets[0].mAxes[0].mFlags, 0x30);
    EXPECT_EQ(g->mAxisSets[2].mAxes[5].mFlags, 0);
}

TEST(SymGroup, ValidReflectionCombinations)
{
    struct Case
    {
        int kind, reflection;
        bool valid;
    };
    const Case cases[] = {
        {G::kIcosahedral, G::kVertical, false},      {G::kIcosahedral, G::kDiagonal, false},
        {G::kOctahedral, G::kCentralInversion, false}, {G::kTetrahedral, G::kVertical, false},
        {G::kDihedral, G::kRotationReflection, false}, {G::kPyramidal, G::kDiagonal, false},
        {G::kNoSymmetry, G::kVertical, false},       {G::kUncreated, G::kHorizontal, false},
        {G::kNoSymmetry, G::kDiagonal, false},       {G::kIcosahedral, G::kChiral, true},
        {G::kNoSymmetry, G::kChiral, true},          {G::kOctahedral, G::kHorizontal, true},
        {G::kTetrahedral, G::kDiagonal, true},       {G::kDihedral, G::kVertical, true},
        {G::kPyramidal, G::kVertical, true},         {G::kPyramidal, G::kRotationReflection, true},
        {G::kNoSymmetry, G::kCentralInversion, true}, {G::kDihedral, G::kHorizontal, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SymGroup::IsValidReflection(c.kind, c.reflection), c.valid) << c.kind << " " << c.reflection;
}

TEST(SymGroup, SelectAxisShowsAndRemembersTheAxis)
{
    ScopedScriptedServices scope;
    RecordingShell shell;
    ScopedShell installed(&shell);
    const auto g = SymGroup::Create(G::kOctahedral);

    g->SelectAxis(4);  // the second 3-fold axis
    EXPECT_EQ(SymGroup::SelectedAxis(), &g->mAxisSets[1].mAxes[1]);
    EXPECT_EQ(scope.services.statusText, "Selected 3-fold rotational symmetry axis");
    EXPECT_EQ(shell.invalidations, 1);
    EXPECT_FALSE(shell.lastUpdateNow);
    EXPECT_EQ(shell.lastFlag, 0);
    EXPECT_EQ(shell.pivotUpdates, 1);

    // The same axis again: only the status text.
    scope.services.statusText.clear();
    g->SelectAxis(4);
    EXPECT_EQ(scope.services.statusText, "Selected 3-fold rotational symmetry axis");
    EXPECT_EQ(shell.invalidations, 1);
    EXPECT_EQ(shell.pivotUpdates, 1);

    g->SelectAxis(0);
    EXPECT_EQ(scope.services.statusText, "Selected 4-fold rotational symmetry axis");
    EXPECT_EQ(SymGroup::SelectedAxis(), &g->mAxisSets[0].mAxes[0]);

    // None: redraw, no pivot.
    g->SelectAxis(-1);
    EXPECT_EQ(SymGroup::SelectedAxis(), nullptr);
    EXPECT_EQ(shell.invalidations, 3);
    EXPECT_EQ(shell.pivotUpdates, 2);

    // Out of range selects nothing.
    g->SelectAxis(12);
    g->SelectAxis(13);
    EXPECT_EQ(SymGroup::SelectedAxis(), nullptr);
    g->SelectAxis(12);
    EXPECT_EQ(SymGroup::SelectedAxis(), &g->mAxisSets[2].mAxes[5]);

    // Destroying any group drops the selection.
    SymGroup::Create(G::kTetrahedral).reset();
    EXPECT_EQ(SymGroup::SelectedAxis(), nullptr);
}
