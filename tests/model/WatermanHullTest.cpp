#include "HullChecks.h"

#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"
#include "model/WatermanHull.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <tuple>
#include <vector>

TEST(WatermanHullTest, PublishedShapes)
{
    // Counts of the Waterman polyhedra as published (about a lattice point: roots 1 to 5, and 10,
    // which is a truncated octahedron), and the solids the small ones are known to be.
    struct WatermanCase
    {
        int centre, root, v, e, f;
    };
    const WatermanCase kCases[] = {
        {kWatermanSimpleCubic, 1, 6, 12, 8},    // octahedron
        {kWatermanLatticePoint, 1, 12, 24, 14}, // cuboctahedron
        {kWatermanLatticePoint, 2, 6, 12, 8},
        {kWatermanLatticePoint, 3, 24, 48, 26},
        {kWatermanLatticePoint, 4, 12, 24, 14},
        {kWatermanLatticePoint, 5, 24, 36, 14},
        {kWatermanLatticePoint, 10, 24, 36, 14},
        {kWatermanMidpoint, 1, 6, 12, 8},       // octahedron
        {kWatermanMidpoint, 2, 8, 12, 6},       // cube
    };
    for (const WatermanCase& c : kCases)
    {
        SCOPED_TRACE(testing::Message() << "centre " << c.centre << " root " << c.root);
        auto hull = CreateWatermanHull(c.centre, c.root);
        ASSERT_TRUE(hull);
        const HullShape shape = CheckSoundHull(*hull, nullptr, kTol);
        EXPECT_EQ(shape.v, c.v);
        EXPECT_EQ(shape.e, c.e);
        EXPECT_EQ(shape.f, c.f);
        EXPECT_EQ(hull->mScale, 1.0);
    }
}

TEST(WatermanHullTest, SmallestHullsAreTheirPointSets)
{
    // Centre 2, root 1: the six unit points on the axes. Centre 0, root 1: the twelve points with
    // two coordinates +-1; the cuboctahedron has 8 triangles and 6 squares.
    auto octahedron = CreateWatermanHull(kWatermanSimpleCubic, 1);
    ASSERT_TRUE(octahedron);
    ASSERT_EQ(octahedron->mNumVerts, 6);
    for (int i = 0; i < 6; ++i)
    {
        const Vec3D& p = octahedron->mVerts[i].mPos;
        EXPECT_EQ(std::fabs(p.x) + std::fabs(p.y) + std::fabs(p.z), 1.0);
        EXPECT_EQ(Vec3LengthSq(p), 1.0);
    }
    auto cubocta = CreateWatermanHull(kWatermanLatticePoint, 1);
    ASSERT_TRUE(cubocta);
    ASSERT_EQ(cubocta->mNumVerts, 12);
    int triangles = 0, squares = 0;
    for (int fi = 0; fi < cubocta->mNumFaces; ++fi)
    {
        triangles += cubocta->mFaces[fi].mNum == 3;
        squares += cubocta->mFaces[fi].mNum == 4;
    }
    EXPECT_EQ(triangles, 8);
    EXPECT_EQ(squares, 6);
}

TEST(WatermanHullTest, RootsOutsideOneToTenGiveNothing)
{
    for (int root : {-1, 0, 11, 100})
        for (int centre : {kWatermanLatticePoint, kWatermanMidpoint, kWatermanSimpleCubic})
            EXPECT_FALSE(CreateWatermanHull(centre, root)) << centre << " " << root;
}

TEST(WatermanHullTest, EveryShellPointOnceAndNothingElse)
{
    // The points are the lattice points (with the centre's parity, the centre itself left out) of
    // the shell from the radius less one to the radius, each once; found here by brute force.
    for (int centre : {kWatermanLatticePoint, kWatermanMidpoint, kWatermanSimpleCubic})
    {
        for (int root = 1; root <= 10; ++root)
        {
            SCOPED_TRACE(testing::Message() << "centre " << centre << " root " << root);
            auto hull = CreateWatermanHull(centre, root);
            ASSERT_TRUE(hull);
            const int x2 = centre == kWatermanSimpleCubic ? root : 2 * root;
            const double inner = std::sqrt(double(x2)) - 1.0;
            std::set<std::tuple<int, int, int>> expected, got;
            const int m = int(std::sqrt(double(x2))) + 1;
            for (int x = -m; x <= m; ++x)
                for (int y = -m; y <= m; ++y)
                    for (int z = -m; z <= m; ++z)
                    {
                        const int d = x * x + y * y + z * z;
                        const int parity = ((x + y + z) % 2 + 2) % 2;
                        if (d > x2 || d <= inner * inner - 1e-4 || d == 0)
                            continue;
                        if ((centre == kWatermanLatticePoint && parity) || (centre == kWatermanMidpoint && !parity))
                            continue;
                        expected.insert({x, y, z});
                    }
            for (int i = 0; i < hull->mNumVerts; ++i)
            {
                const Vec3D& p = hull->mVerts[i].mPos;
                EXPECT_TRUE(got.insert({int(p.x), int(p.y), int(p.z)}).second) << "twice: " << i;
            }
            EXPECT_EQ(got, expected);
        }
    }
}
