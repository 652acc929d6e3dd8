#include "kernel/KitPanelShape.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace
{
constexpr double kPi = 3.141592653589793;

// A regular polygon of unit edge in the plane z = 1, counterclockwise about +z unless reversed.
std::vector<Vec3D> Regular(int n, bool clockwise = false)
{
    const double r = 0.5 / std::sin(kPi / n);
    std::vector<Vec3D> v;
    for (int i = 0; i < n; ++i)
    {
        const double a = 2 * kPi * i / n * (clockwise ? -1 : 1) + 0.3;
        v.push_back(Vec3D{r * std::cos(a), r * std::sin(a), 1.0});
    }
    return v;
}

const Vec3D kUp{0, 0, 1};
}  // namespace

TEST(KitPanelShape, RegularPolygonsOfTheKitSidesAreShapes)
{
    for (int n = 3; n <= 14; ++n)
    {
        SCOPED_TRACE(n);
        const bool kit = n <= 6 || n == 8 || n == 10 || n == 12;
        std::vector<Vec3D> v = Regular(n);
        int rhombus = -1;
        EXPECT_EQ(IsKitPanelShape(n, v.data(), kUp, &rhombus), kit);
        if (kit)
        {
            EXPECT_EQ(rhombus, 0);
        }
        // Running the other way about the normal is not a panel.
        std::vector<Vec3D> back = Regular(n, true);
        EXPECT_FALSE(IsKitPanelShape(n, back.data(), kUp, nullptr));
    }
}

TEST(KitPanelShape, IrregularOutlinesAreNotShapes)
{
    // A rectangle, an equilateral hexagon with unequal angles, and a near square whose sides
    // differ by 1e-5, beyond the tolerance.
    std::vector<Vec3D> rect = {{0, 0, 0}, {2, 0, 0}, {2, 1, 0}, {0, 1, 0}};
    EXPECT_FALSE(IsKitPanelShape(4, rect.data(), kUp, nullptr));

    std::vector<Vec3D> hexagon;
    const double turns[6] = {50, 70, 60, 50, 70, 60};  // exterior angles, summing to 360
    Vec3D p{0, 0, 0};
    double heading = 0;
    for (double t : turns)
    {
        hexagon.push_back(p);
        p.x += std::cos(heading);
        p.y += std::sin(heading);
        heading += t * kPi / 180;
    }
    EXPECT_FALSE(IsKitPanelShape(6, hexagon.data(), kUp, nullptr));

    std::vector<Vec3D> square = {{0, 0, 0}, {1, 0, 0}, {1, 1.00001, 0}, {0, 1.00001, 0}};
    EXPECT_FALSE(IsKitPanelShape(4, square.data(), kUp, nullptr));
    EXPECT_FALSE(IsKitPanelShape(2, square.data(), kUp, nullptr));
    EXPECT_FALSE(IsKitPanelShape(4, nullptr, kUp, nullptr));
}

TEST(KitPanelShape, RhombusStartsAtAnAcuteCorner)
{
    const double h = std::sqrt(3.0) / 2;
    // 60 degrees at (0,0) and (1.5,h), 120 at the other two.
    const Vec3D acute0{0, 0, 0}, obtuse1{1, 0, 0}, acute2{1.5, h, 0}, obtuse3{0.5, h, 0};

    std::vector<Vec3D> fromAcute = {acute0, obtuse1, acute2, obtuse3};
    int rhombus = 0;
    EXPECT_TRUE(IsKitPanelShape(4, fromAcute.data(), kUp, &rhombus));
    EXPECT_EQ(rhombus, 1);
    EXPECT_EQ(fromAcute[0].x, acute0.x);
    EXPECT_EQ(fromAcute[0].y, acute0.y);

    std::vector<Vec3D> fromObtuse = {obtuse1, acute2, obtuse3, acute0};
    rhombus = 0;
    EXPECT_TRUE(IsKitPanelShape(4, fromObtuse.data(), kUp, &rhombus));
    EXPECT_EQ(rhombus, 1);
    // Turned by one place: same cyclic order, now from the acute corner.
    const Vec3D expected[4] = {acute2, obtuse3, acute0, obtuse1};
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(fromObtuse[size_t(i)].x, expected[i].x) << i;
        EXPECT_EQ(fromObtuse[size_t(i)].y, expected[i].y) << i;
    }

    // A rhombus of other angles is no panel.
    std::vector<Vec3D> flat = {{0, 0, 0}, {1, 0, 0}, {1 + std::cos(0.5), std::sin(0.5), 0},
                               {std::cos(0.5), std::sin(0.5), 0}};
    EXPECT_FALSE(IsKitPanelShape(4, flat.data(), kUp, nullptr));
}
