#include "kernel/DiagramPools.h"
#include "kernel/FaceDiagram.h"
#include "kernel/OutlineFeeder.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/Tolerance.h"
#include "kernel/TriangulationScratch.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

namespace
{
const int kOwner = 0;
const void* const A = &kOwner;

using Triangles = std::vector<std::array<int32_t, 3>>;

Triangles TrianglesOf(const OutlineFeeder& feeder)
{
    Triangles out;
    for (int i = 0; i + 2 < feeder.mIndexCount; i += 3)
        out.push_back({feeder.mIndices[i], feeder.mIndices[i + 1], feeder.mIndices[i + 2]});
    return out;
}

// The area of the triangles about the normal: positive for those turning counterclockwise about it.
double AreaAbout(const OutlineFeeder& feeder, const Vec3D& normal)
{
    double area = 0.0;
    for (const auto& t : TrianglesOf(feeder))
    {
        Vec3D e1, e2, n;
        Vec3Sub(e1, feeder.mPoints[t[1]], feeder.mPoints[t[0]]);
        Vec3Sub(e2, feeder.mPoints[t[2]], feeder.mPoints[t[0]]);
        Vec3Cross(n, e1, e2);
        area += Vec3Dot(n, normal) / 2.0;
    }
    return area;
}

int Resolve(OutlineFeeder& feeder, const Vec3D& normal, const std::vector<Vec3D>& corners)
{
    FaceDiagram diagram;
    OutlineFeederState state;
    OutlineFeeder::Begin(normal, diagram, state);
    EXPECT_EQ(state.diagram, &diagram);
    OutlineFeeder::EndLoop(A, state);
    for (const Vec3D& p : corners)
        OutlineFeeder::AddPoint(p, state);
    const int count = feeder.Finish(state);
    EXPECT_EQ(state.diagram, nullptr);
    EXPECT_EQ(diagram.PieceCount(), 0);  // emptied
    return count;
}

class OutlineFeederTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetPolygonFillOptions(); }
    void TearDown() override { GetPolygonFillOptions() = mSaved; }

    PolygonFillOptions mSaved;
};

TEST_F(OutlineFeederTest, DownwardNormalLiftsPointsExactlyAndExchangesTheCornerOrder)
{
    const std::vector<Vec3D> square = {{0, 0, -2}, {3, 0, -2}, {3, 3, -2}, {0, 3, -2}};
    OutlineFeeder up, down;
    ASSERT_EQ(Resolve(up, Vec3D{0, 0, 1}, square), 6);
    ASSERT_EQ(Resolve(down, Vec3D{0, 0, -1}, square), 6);
    ASSERT_EQ(up.mPointCount, 4);
    ASSERT_EQ(down.mPointCount, 4);
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(down.mPoints[i].z, -2.0);
        EXPECT_TRUE(Vec3Equal(down.mPoints[i], up.mPoints[i], 0.0));
    }
    // Both turn counterclockwise about their own normals, the one the other exchanged.
    EXPECT_NEAR(AreaAbout(up, Vec3D{0, 0, 1}), 9.0, 1e-12);
    EXPECT_NEAR(AreaAbout(down, Vec3D{0, 0, -1}), 9.0, 1e-12);
    const Triangles a = TrianglesOf(up), b = TrianglesOf(down);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i)
    {
        EXPECT_EQ(b[i][0], a[i][1]);
        EXPECT_EQ(b[i][1], a[i][0]);
        EXPECT_EQ(b[i][2], a[i][2]);
    }
    // The arrays are the caller's once taken.
    std::unique_ptr<Vec3D[]> points = down.TakePoints();
    std::unique_ptr<int32_t[]> indices = down.TakeIndices();
    EXPECT_NE(points, nullptr);
    EXPECT_NE(indices, nullptr);
}

TEST_F(OutlineFeederTest, PentagramFillsItsPointsAndCentreInAPlaneAtAnAngle)
{
    // The plane x + 2y + 2z = 6, a pentagram of circumradius 1 round its foot point.
    Vec3D normal{1, 2, 2};
    Vec3Normalize(normal);
    Vec3D e1{2, -1, 0}, e2{2, 4, -5};  // e1 x e2 along the normal
    Vec3Normalize(e1);
    Vec3Normalize(e2);
    std::vector<Vec3D> corners;
    for (const Vec2D& q : StarPolygon(5, 2, 1.0))
    {
        Vec3D p;
        Vec3Scale(p, normal, 2.0);
        Vec3AddScaledTo(p, q.x, e1);
        Vec3AddScaledTo(p, q.y, e2);
        corners.push_back(p);
    }
    TriangulationScratch scratch;
    OutlineFeeder feeder(&scratch);
    // Five points and the centre pentagon: 5 + 3 triangles.
    ASSERT_EQ(Resolve(feeder, normal, corners), 24);
    ASSERT_EQ(feeder.mPointCount, 10);
    for (int i = 0; i < feeder.mPointCount; ++i)
        EXPECT_NEAR(Vec3Dot(feeder.mPoints[i], normal), 2.0, 1e-12);
    const double r = (3.0 - std::sqrt(5.0)) / 2.0;
    EXPECT_NEAR(AreaAbout(feeder, normal), 5.0 * r * std::sin(kPi / 5.0), 1e-12);
    // Taken from the pool: nothing to hand over.
    EXPECT_EQ(feeder.TakePoints(), nullptr);
    EXPECT_EQ(feeder.TakeIndices(), nullptr);

    // Filled modulo 2 the centre stays empty: the five points alone.
    GetPolygonFillOptions().mFlags |= PolygonFillOptions::kModulo2;
    OutlineFeeder odd;
    ASSERT_EQ(Resolve(odd, normal, corners), 15);
    EXPECT_NEAR(AreaAbout(odd, normal), 5.0 * r * std::sin(kPi / 5.0) - 2.5 * r * r * std::sin(2.0 * kPi / 5.0),
                1e-12);
}

TEST_F(OutlineFeederTest, NothingFedGivesNoTrianglesAndResetsTheSharedPools)
{
    FaceDiagram diagram;
    OutlineFeederState state;
    OutlineFeeder::Begin(Vec3D{0, 1, 0}, diagram, state);
    ASSERT_NE(GetSharedDiagramPools().mVerts.Alloc(2), nullptr);
    OutlineFeeder feeder;
    EXPECT_EQ(feeder.Finish(state), 0);
    EXPECT_EQ(feeder.mPointCount, 0);
    EXPECT_EQ(feeder.mPoints, nullptr);
    EXPECT_EQ(SharedPoolsUsed(), 0u);
}
}  // namespace
