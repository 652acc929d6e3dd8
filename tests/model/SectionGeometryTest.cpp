// The section plane's frames, range and snapping, against frames and depths worked by hand.

#include "model/Poly.h"
#include "model/SectionGeometry.h"
#include "support/PolyBuilder.h"
#include "support/RecordingShell.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
Vec3D Column(const Mat4& m, int col)
{
    return Vec3D{m.At(0, col), m.At(1, col), m.At(2, col)};
}

void ExpectNear(const Vec3D& a, const Vec3D& b)
{
    EXPECT_NEAR(a.x, b.x, 1e-12);
    EXPECT_NEAR(a.y, b.y, 1e-12);
    EXPECT_NEAR(a.z, b.z, 1e-12);
}

TEST(SectionGeometryTest, Frame3DTakesUThroughTheAxisOfTheSmallestComponent)
{
    const double r2 = 1.0 / std::sqrt(2.0), r3 = 1.0 / std::sqrt(3.0);
    // u = n x e_k normalised, k the axis along which n is smallest (x first on ties).
    struct Case
    {
        const char* name;
        Vec3D direction;
        Vec3D n, u;
    };
    const Case kCases[] = {
        {"z axis", {0, 0, 2}, {0, 0, 1}, {0, 1, 0}},
        {"x axis", {3, 0, 0}, {1, 0, 0}, {0, 0, 1}},
        {"y axis", {0, -1, 0}, {0, -1, 0}, {0, 0, 1}},
        {"cube diagonal", {1, 1, 1}, {r3, r3, r3}, {0, r2, -r2}},
        {"x smallest", {0.1, 1, 2}, {0.1, 1, 2}, {0, 0, 0}},
        {"y smallest", {1, 0.1, 2}, {1, 0.1, 2}, {0, 0, 0}},
        {"z smallest", {1, 2, 0.1}, {1, 2, 0.1}, {0, 0, 0}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Mat4 frame;
        ASSERT_TRUE(MakeSectionFrame3D(c.direction, frame));
        Vec3D n = c.n;
        Vec3Normalize(n);
        Vec3D u = c.u;
        if (Vec3Length(u) == 0.0)
        {
            // The skew cases: the axis is the one named.
            const int k = std::fabs(n.x) <= std::fabs(n.y) && std::fabs(n.x) <= std::fabs(n.z) ? 0
                          : std::fabs(n.y) <= std::fabs(n.z)                                   ? 1
                                                                                               : 2;
            const Vec3D axis{k == 0 ? 1.0 : 0.0, k == 1 ? 1.0 : 0.0, k == 2 ? 1.0 : 0.0};
            Vec3Cross(u, n, axis);
            Vec3Normalize(u);
        }
        Vec3D v;
        Vec3Cross(v, n, u);
        ExpectNear(Column(frame, 2), n);
        ExpectNear(Column(frame, 0), u);
        ExpectNear(Column(frame, 1), v);
        EXPECT_EQ(frame.At(3, 3), 1.0);
        EXPECT_NEAR(Vec3Dot(Column(frame, 0), Column(frame, 2)), 0.0, 1e-12);
    }
    Mat4 untouched;
    EXPECT_FALSE(MakeSectionFrame3D(Vec3D{0, 0, 0}, untouched));
}

TEST(SectionGeometryTest, Frame4DIsOrthonormalWithTheDirectionLast)
{
    const Vec4D kDirections[] = {{0, 0, 0, 1}, {1, 0, 0, 0}, {1, 1, 1, 1}, {0.2, -0.5, 3, 0.1}};
    for (const Vec4D& d : kDirections)
    {
        Mat4 frame;
        ASSERT_TRUE(MakeSectionFrame4D(d, frame));
        const double length = Vec4Length(d);
        for (int row = 0; row < 4; ++row)
            EXPECT_NEAR(frame.At(row, 3), d[row] / length, 1e-12);
        for (int a = 0; a < 4; ++a)
            for (int b = 0; b < 4; ++b)
            {
                double dot = 0.0;
                for (int row = 0; row < 4; ++row)
                    dot += frame.At(row, a) * frame.At(row, b);
                EXPECT_NEAR(dot, a == b ? 1.0 : 0.0, 1e-12) << a << "," << b;
            }
    }
}

TEST(SectionGeometryTest, DepthsOfTheCubeAlongZ)
{
    RecordingShell shell;
    ScopedShell scope(&shell);
    Poly cube;
    BuildPoly(cube, CubeSpec(), true);
    Mat4 frame;
    ASSERT_TRUE(MakeSectionFrame3D(Vec3D{0, 0, 1}, frame));
    double lowest, highest;
    ASSERT_TRUE(GetShownSectionRange(cube, frame, lowest, highest));
    EXPECT_DOUBLE_EQ(lowest, -1.0);
    EXPECT_DOUBLE_EQ(highest, 1.0);
    // Depth 0 is the top face, 1 the bottom.
    EXPECT_DOUBLE_EQ(SectionDepthAtOffset(1.0, lowest, highest), 0.0);
    EXPECT_DOUBLE_EQ(SectionDepthAtOffset(0.0, lowest, highest), 0.5);
    EXPECT_DOUBLE_EQ(SectionDepthAtOffset(-1.0, lowest, highest), 1.0);

    struct Case
    {
        const char* name;
        double depth;
        int direction;
        bool found;
        double snapped;
    };
    const Case kCases[] = {
        {"nearest from above the middle", 0.3, 0, true, 0.0},
        {"nearest from below the middle", 0.8, 0, true, 1.0},
        {"on a vertex stays", 1.0, 0, true, 1.0},
        {"up from the middle", 0.5, 1, true, 0.0},
        {"down from the middle", 0.5, -1, true, 1.0},
        {"nothing above the top", 0.0, 1, false, 0.0},
        {"nothing below the bottom", 1.0, -1, false, 0.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        double snapped = -1.0;
        EXPECT_EQ(FindSnappedSectionDepth(cube, frame, c.depth, c.direction, snapped), c.found);
        if (c.found)
        {
            EXPECT_DOUBLE_EQ(snapped, c.snapped);
        }
    }
}
}  // namespace
