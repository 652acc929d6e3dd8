#include "SolidModels.h"
#include "SolidPoints.h"
#include "SymmetryChecks.h"
#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/Reflections.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;

// A model made ready the way detection leaves it before the reflection step: face lists, one type
// per vertex, and its hull with sorted face lists.
struct Prepared
{
    std::unique_ptr<SimplePoly> model;
    std::unique_ptr<SimplePoly> hull;
};

Prepared Prepare(const std::vector<Vec3D>& points, uint32_t flags = 0)
{
    Prepared p;
    p.model = MakeModel(ConvexSolid(points));
    p.model->mFlags |= flags;
    p.model->CreateVertexFaceLists(true);
    p.model->ResetTypeIds();
    p.hull = CreateConvexHull(p.model.get(), kHullMarkingMode);
    EXPECT_TRUE(p.hull && SimpleSortVertFaces(*p.hull));
    return p;
}

const std::vector<Vec3D>& SolidPointsOf(const std::string& name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return FindSolid(solids, name).points;
}

// Points with their axis along z turned so that it lies along y, after a turn by angle about z.
std::vector<Vec3D> AxisAlongY(const std::vector<Vec3D>& points, double angle)
{
    Mat3 spin, lay, m;
    spin.SetAxisRotation(2, angle);
    lay.SetRows({1, 0, 0}, {0, 0, 1}, {0, -1, 0});
    Mat3Mul(m, lay, spin);
    return Transformed(points, m, 1.0, {});
}

// A solid with no symmetry: points on a sphere, one cluster flattened into a large face.
std::vector<Vec3D> Lopsided(unsigned seed)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    std::vector<Vec3D> points;
    for (int k = 0; k < 7; ++k)
    {
        const double a = 2 * kPi * k / 7 + 0.3 * u(rng);
        points.push_back({1.5 * std::cos(a), -1.0, 1.2 * std::sin(a)});
    }
    for (int k = 0; k < 6; ++k)
        points.push_back({u(rng), 0.5 + 0.5 * std::fabs(u(rng)), u(rng)});
    return points;
}

const SimpleFace* LongestVertexSum(const SimplePoly& hull)
{
    const SimpleFace* best = nullptr;
    double length = -1.0;
    for (int i = 0; i < hull.mNumFaces; ++i)
    {
        const double l = Vec3LengthSq(hull.mFaces[i].GetVertexSum());
        if (!(hull.mFaces[i].mFlags & E::kTemp) && l > length + 1e-12)
        {
            length = l;
            best = &hull.mFaces[i];
        }
    }
    return best;
}

Mat3 Mirror(const Vec3D& n)
{
    Mat3 m;
    for (int c = 0; c < 3; ++c)
        for (int r = 0; r < 3; ++r)
            m.At(r, c) = (r == c ? 1.0 : 0.0) - 2.0 * n[r] * n[c];
    return m;
}
}  // namespace

TEST(ReflectionsTest, ReflectionKindsOfSolidsInTheirGroupsFrames)
{
    struct Case
    {
        const char* name;
        std::vector<Vec3D> points;
        int kind;
        int n;
        bool found;
        int reflection;
    };
    const Case kCases[] = {
        {"cube", SolidPointsOf("cube"), SymGroup::kOctahedral, 1, true, SymGroup::kHorizontal},
        {"snub cube", SolidPointsOf("snub cube"), SymGroup::kOctahedral, 1, false, SymGroup::kChiral},
        {"tetrahedron", SolidPointsOf("tetrahedron"), SymGroup::kTetrahedral, 1, true, SymGroup::kDiagonal},
        {"icosahedron", SolidPointsOf("icosahedron"), SymGroup::kIcosahedral, 1, true, SymGroup::kHorizontal},
        {"pentagonal prism", AxisAlongY(Prism(5).points, 0.0), SymGroup::kDihedral, 5, true, SymGroup::kHorizontal},
        {"pentagonal antiprism", AxisAlongY(Antiprism(5).points, -kPi / 10), SymGroup::kDihedral, 5, true,
         SymGroup::kVertical},
        {"hexagonal antiprism", AxisAlongY(Antiprism(6).points, -kPi / 12), SymGroup::kDihedral, 6, true,
         SymGroup::kVertical},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Prepared p = Prepare(c.points);
        auto group = SymGroup::Create(c.kind, c.n);
        ASSERT_TRUE(GroupMapsModelOntoItself(*group, *p.model));  // the rotations fit before we start
        EXPECT_EQ(FindReflections(*p.model, *group, *p.hull), c.found);
        EXPECT_EQ(group->mReflection, c.reflection);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
        for (int i = 0; i < p.model->mNumVerts; ++i)
            EXPECT_FALSE(p.model->mVerts[i].mFlags & E::kDone);
    }
}

TEST(ReflectionsTest, MirrorsBisectingTwoAxesBringTheRotationReflectionAxisToTheMain)
{
    // A tetragonal disphenoid with its fourfold rotation-reflection axis along x: the dihedral group
    // of order 2 has its main axis along y.
    const double h = 0.6;
    const std::vector<Vec3D> points = {{h, 1, 1}, {h, -1, -1}, {-h, 1, -1}, {-h, -1, 1}};
    for (bool keep : {false, true})
    {
        SCOPED_TRACE(keep ? "group turned" : "model turned");
        Prepared p = Prepare(points, keep ? SimplePoly::kKeepOrientation : 0u);
        auto group = SymGroup::Create(SymGroup::kDihedral, 2);
        ASSERT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
        EXPECT_TRUE(FindReflections(*p.model, *group, *p.hull));
        EXPECT_EQ(group->mReflection, SymGroup::kVertical);
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
        // The quarter turn about the group's main axis followed by the mirror across it.
        const Vec3D main = group->mAxisSets[0].mAxes[0].mDir;
        Mat3 quarter, across, s4;
        quarter.SetRotation(main, kPi / 2);
        across = Mirror(main);
        Mat3Mul(s4, across, quarter);
        EXPECT_TRUE(MapsVertsOntoVerts(*p.model, s4));
        if (keep)
        {
            EXPECT_TRUE(Vec3Equal(main, {1, 0, 0}, kTol) || Vec3EqualNeg(main, {1, 0, 0}, kTol));
            EXPECT_TRUE(Vec3Equal(p.model->mVerts[0].mPos, points[0], 0.0));
        }
        else
            EXPECT_TRUE(Vec3Equal(main, {0, 1, 0}, 0.0));
    }
}

TEST(ReflectionsTest, APyramidIsTurnedOntoTheGroupsFirstMirror)
{
    std::vector<Vec3D> points;
    for (int k = 0; k < 5; ++k)
        points.push_back({std::cos(2 * kPi * k / 5), std::sin(2 * kPi * k / 5), -0.4});
    points.push_back({0, 0, 0.8});
    Prepared p = Prepare(AxisAlongY(points, 0.17));
    auto group = SymGroup::Create(SymGroup::kPyramidal, 5);
    ASSERT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
    EXPECT_FALSE(MapsVertsOntoVerts(*p.model, Mirror({1, 0, 0})));
    EXPECT_TRUE(FindReflections(*p.model, *group, *p.hull));
    EXPECT_EQ(group->mReflection, SymGroup::kVertical);
    ASSERT_EQ(group->mMirrors.count, 5);
    EXPECT_TRUE(Vec3Equal(group->mMirrors[0].mDir, {1, 0, 0}, kTol));
    EXPECT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
    // The hull went along.
    for (int i = 0; i < p.hull->mNumVerts; ++i)
        EXPECT_TRUE(Vec3Equal(p.hull->mVerts[i].mPos, p.model->mVerts[i].mPos, 0.0));
}

TEST(ReflectionsTest, ModelsWithoutAxesAreStoodOnAFaceOrTheirMirror)
{
    // No symmetry at all: the largest hull face ends facing down.
    {
        Prepared p = Prepare(Transformed(Lopsided(3), RandomRotation(11), 1.0, {}));
        auto group = SymGroup::Create(SymGroup::kNoSymmetry);
        EXPECT_FALSE(FindReflections(*p.model, *group, *p.hull));
        EXPECT_EQ(group->mReflection, SymGroup::kChiral);
        const SimpleFace* largest = LongestVertexSum(*p.hull);
        ASSERT_NE(largest, nullptr);
        EXPECT_EQ(largest->mNum, 7);
        EXPECT_TRUE(Vec3Equal(largest->mNormal, {0, -1, 0}, 1e-9));
    }
    // A centre of inversion only: found, and still stood on its largest face.
    {
        std::vector<Vec3D> points = Lopsided(5);
        const size_t n = points.size();
        for (size_t i = 0; i < n; ++i)
            points.push_back({-points[i].x, -points[i].y + 0.1, -points[i].z});
        for (Vec3D& q : points)
            q.y -= 0.05;
        Prepared p = Prepare(Transformed(points, RandomRotation(12), 1.0, {}));
        auto group = SymGroup::Create(SymGroup::kNoSymmetry);
        EXPECT_TRUE(FindReflections(*p.model, *group, *p.hull));
        EXPECT_EQ(group->mReflection, SymGroup::kCentralInversion);
        Mat3 inversion;
        Mat3Scale(inversion, -1.0);
        EXPECT_TRUE(MapsVertsOntoVerts(*p.model, inversion));
        const SimpleFace* largest = LongestVertexSum(*p.hull);
        ASSERT_NE(largest, nullptr);
        EXPECT_TRUE(Vec3Equal(largest->mNormal, {0, -1, 0}, 1e-9));
    }
    // One mirror plane: it ends with its normal along y.
    {
        std::vector<Vec3D> points = Lopsided(7);
        const size_t n = points.size();
        for (size_t i = 0; i < n; ++i)
        {
            if (std::fabs(points[i].x) > 1e-3)
                points.push_back({-points[i].x, points[i].y, points[i].z});
        }
        Prepared p = Prepare(Transformed(points, RandomRotation(13), 1.0, {}));
        auto group = SymGroup::Create(SymGroup::kNoSymmetry);
        EXPECT_TRUE(FindReflections(*p.model, *group, *p.hull));
        EXPECT_EQ(group->mReflection, SymGroup::kHorizontal);
        EXPECT_TRUE(MapsVertsOntoVerts(*p.model, Mirror({0, 1, 0})));
        EXPECT_TRUE(GroupMapsModelOntoItself(*group, *p.model));
    }
}

TEST(ReflectionsTest, HalvesOfAStackThroughTheCentreGetOppositeNormals)
{
    // The square z = 0 given twice, both facing +z; the 2-fold axis x lies in it.
    auto poly = MakeFacedPoly({{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}}, {{0, 1, 2, 3}, {0, 1, 2, 3}});
    SimpleFace& a = poly->mFaces[0];
    SimpleFace& b = poly->mFaces[1];
    a.mNormal = b.mNormal = {0, 0, 1};
    ASSERT_TRUE(a.mFlags & E::kPlaneThroughCentre);
    poly->ResetTypeIds();
    a.JoinCoincident(&b);
    a.mNextOfType = &b;
    b.mNextOfType = &a;
    b.mId = a.mId;
    auto group = SymGroup::Create(SymGroup::kOctahedral);
    SeparateCoincidentFaces(*poly, *group);
    EXPECT_TRUE(Vec3Equal(a.mNormal, {0, 0, 1}, 0.0));
    EXPECT_TRUE(Vec3Equal(b.mNormal, {0, 0, -1}, 0.0));
    EXPECT_EQ(a.mNextCoincident, &a);
    EXPECT_EQ(b.mNextCoincident, &b);
    EXPECT_FALSE(a.mFlags & E::kDone);

    // Without symmetry nothing is touched.
    auto lone = MakeFacedPoly({{1, 1, 0}, {-1, 1, 0}, {-1, -1, 0}, {1, -1, 0}}, {{0, 1, 2, 3}, {0, 1, 2, 3}});
    lone->mFaces[0].mNormal = lone->mFaces[1].mNormal = {0, 0, 1};
    lone->mFaces[0].JoinCoincident(&lone->mFaces[1]);
    SeparateCoincidentFaces(*lone, *SymGroup::Create(SymGroup::kNoSymmetry));
    EXPECT_TRUE(Vec3Equal(lone->mFaces[1].mNormal, {0, 0, 1}, 0.0));
    EXPECT_EQ(lone->mFaces[0].mNextCoincident, &lone->mFaces[1]);
}

TEST(ReflectionsTest, LayersOfStacksBecomeTypesByColour)
{
    // Two stacks of two faces, at z = 1 and z = -1, all four of one type: the layers pair by colour.
    const std::vector<Vec3D> verts = {{1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}, {1, -1, 1},
                                      {1, 1, -1}, {1, -1, -1}, {-1, -1, -1}, {-1, 1, -1}};
    auto poly = MakeFacedPoly(verts, {{0, 1, 2, 3}, {0, 1, 2, 3}, {4, 5, 6, 7}, {4, 5, 6, 7}});
    SimpleFace* f = poly->mFaces.get();
    const uint32_t red = 0x0000FF, blue = 0xFF0000;
    f[0].mColor = red;
    f[1].mColor = blue;
    f[2].mColor = blue;
    f[3].mColor = red;
    f[0].JoinCoincident(&f[1]);
    f[2].JoinCoincident(&f[3]);
    for (int i = 0; i < 4; ++i)
    {
        f[i].mId = 0;
        f[i].mNextOfType = &f[(i + 1) % 4];
    }
    auto group = SymGroup::Create(SymGroup::kOctahedral);
    SeparateCoincidentFaces(*poly, *group);
    EXPECT_EQ(f[0].mId, 0);
    EXPECT_EQ(f[3].mId, 0);
    EXPECT_EQ(f[1].mId, 1);
    EXPECT_EQ(f[2].mId, 1);
    EXPECT_EQ(f[0].mNextOfType, &f[3]);
    EXPECT_EQ(f[3].mNextOfType, &f[0]);
    EXPECT_EQ(f[1].mNextOfType, &f[2]);
    EXPECT_EQ(f[2].mNextOfType, &f[1]);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(f[i].mFlags & E::kDone);
}
