#include "kernel/PolygonFillOptions.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
// One face on these corners, with the normal when one is given.
void MakeFace(SimplePoly& poly, const std::vector<Vec3D>& corners, const Vec3D* normal)
{
    SimpleFace* face = poly.GetFace(0);
    face->SetNumVerts(int(corners.size()));
    for (size_t k = 0; k < corners.size(); ++k)
    {
        poly.GetVert(int(k))->SetPos(corners[k]);
        face->SetVertByIndex(int(k), int(k));
    }
    if (normal)
        face->mNormal = *normal;
}

// The pentagram {5/2} of circumradius 1 at height z, counterclockwise about the normal (0, 0, s).
std::vector<Vec3D> Pentagram(double z, double s)
{
    std::vector<Vec3D> corners;
    for (int i = 0; i < 5; ++i)
    {
        const double a = 2.0 * kPi * double(2 * i % 5) / 5.0;
        corners.push_back(Vec3D{std::cos(a), s * std::sin(a), z});
    }
    return corners;
}

TEST(SimpleFaceOutline, ResolvedFaceFillsItsAreasTurningAboutItsNormal)
{
    const PolygonFillOptions saved = GetPolygonFillOptions();
    GetPolygonFillOptions() = PolygonFillOptions{};
    const double r = (3.0 - std::sqrt(5.0)) / 2.0;
    const double star = 5.0 * r * std::sin(kPi / 5.0);
    struct Case
    {
        const char* name;
        std::vector<Vec3D> corners;
        Vec3D normal;
        bool normalSet;
        int indices;
        int points;
        double area;
    };
    const Case kCases[] = {
        {"pentagram facing up", Pentagram(3.0, 1.0), {0, 0, 1}, true, 24, 10, star},
        {"pentagram facing down", Pentagram(-3.0, -1.0), {0, 0, -1}, true, 24, 10, star},
        {"square without a normal", {{0, 0, 2}, {0, 2, 2}, {0, 2, 4}, {0, 0, 4}}, {1, 0, 0}, false, 6, 4, 4.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SimplePoly poly(int(c.corners.size()), 1);
        MakeFace(poly, c.corners, c.normalSet ? &c.normal : nullptr);
        std::unique_ptr<Vec3D[]> points;
        std::unique_ptr<int32_t[]> indices;
        int numPoints = -1;
        ASSERT_EQ(poly.GetFace(0)->ResolveOutline(points, indices, &numPoints), c.indices);
        ASSERT_EQ(numPoints, c.points);
        ASSERT_NE(points, nullptr);
        ASSERT_NE(indices, nullptr);
        // Every point lies in the face's plane, exactly on the dropped axis.
        const double offset = Vec3Dot(c.normal, c.corners[0]);
        for (int i = 0; i < numPoints; ++i)
            EXPECT_NEAR(Vec3Dot(points[size_t(i)], c.normal), offset, 1e-15);
        // Each triangle turns counterclockwise about the normal; together they cover the face once.
        double area = 0.0;
        for (int i = 0; i + 2 < c.indices; i += 3)
        {
            Vec3D e1, e2, n;
            Vec3Sub(e1, points[size_t(indices[size_t(i + 1)])], points[size_t(indices[size_t(i)])]);
            Vec3Sub(e2, points[size_t(indices[size_t(i + 2)])], points[size_t(indices[size_t(i)])]);
            Vec3Cross(n, e1, e2);
            const double a = Vec3Dot(n, c.normal) / 2.0;
            EXPECT_GT(a, 0.0);
            area += a;
        }
        EXPECT_NEAR(area, c.area, 1e-12);
    }
    GetPolygonFillOptions() = saved;
}

TEST(SimpleFaceOutline, FaceOfFewerThanThreeCornersResolvesToNothing)
{
    SimplePoly poly(2, 1);
    const Vec3D up{0, 0, 1};
    MakeFace(poly, {{0, 0, 0}, {1, 0, 0}}, &up);
    std::unique_ptr<Vec3D[]> points(new Vec3D[1]);
    std::unique_ptr<int32_t[]> indices(new int32_t[1]);
    int numPoints = -1;
    EXPECT_EQ(poly.GetFace(0)->ResolveOutline(points, indices, &numPoints), 0);
    EXPECT_EQ(points, nullptr);
    EXPECT_EQ(indices, nullptr);
    EXPECT_EQ(numPoints, 0);
}
}  // namespace
