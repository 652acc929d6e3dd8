// Our hull against the truth: the counts of known solids and, for the same points, Qhull's.
#include "HullChecks.h"
#include "SolidPoints.h"
#include "support/QhullReference.h"

#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"
#include "model/WatermanHull.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
// Builds our hull of the points, checks it is a sound convex polyhedron (within tol) and returns
// its counts.
HullShape OurHull(const std::vector<Vec3D>& points, bool checkEveryPoint = true, double tol = kTol)
{
    auto source = MakePointPoly(points);
    auto hull = CreateConvexHull(source.get(), 0);
    if (!hull)
    {
        ADD_FAILURE() << "no hull";
        return HullShape{};
    }
    return CheckSoundHull(*hull, checkEveryPoint ? &points : nullptr, tol);
}

void ExpectSameAsQhull(const HullShape& ours, const std::vector<Vec3D>& points)
{
    const QhullCounts q = QhullHullCounts(points);
    EXPECT_EQ(ours.v, q.vertices);
    EXPECT_EQ(ours.e, q.edges);
    EXPECT_EQ(ours.f, q.faces);
}

// Rotates the points by a fixed, irrational rotation: exact coplanarity becomes coplanarity within
// rounding.
std::vector<Vec3D> Rotated(const std::vector<Vec3D>& points)
{
    Vec3D axis{0.3, -0.7, 0.2};
    Vec3Normalize(axis);
    const double angle = 0.7;
    const double c = std::cos(angle), s = std::sin(angle);
    std::vector<Vec3D> out;
    for (const Vec3D& p : points)
    {
        // Rodrigues: p cos + (k x p) sin + k (k . p)(1 - cos).
        Vec3D kp, r;
        Vec3Cross(kp, axis, p);
        Vec3Scale(r, p, c);
        Vec3AddScaledTo(r, s, kp);
        Vec3AddScaledTo(r, Vec3Dot(axis, p) * (1 - c), axis);
        out.push_back(r);
    }
    return out;
}
}  // namespace

TEST(HullReferenceTest, UniformPolyhedraHaveTheirKnownCounts)
{
    std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    for (int n : {3, 4, 5, 6, 7, 8, 9, 10, 12, 17, 50})
    {
        solids.push_back(Prism(n));
        solids.push_back(Antiprism(n));
    }
    for (const KnownSolid& s : solids)
    {
        SCOPED_TRACE(s.name);
        ASSERT_EQ(int(s.points.size()), s.v) << "the coordinates give the solid's vertices";
        const HullShape ours = OurHull(s.points);
        EXPECT_EQ(ours.v, s.v);
        EXPECT_EQ(ours.e, s.e);
        EXPECT_EQ(ours.f, s.f);
        ExpectSameAsQhull(ours, s.points);
        // Turned off the axes, the same solid.
        const HullShape turned = OurHull(Rotated(s.points));
        EXPECT_EQ(turned.v, s.v);
        EXPECT_EQ(turned.e, s.e);
        EXPECT_EQ(turned.f, s.f);
    }
}

TEST(HullReferenceTest, SnubsHaveEqualEdges)
{
    // The snub coordinates come from solving cubics: check they are the uniform solids, every
    // vertex with five nearest neighbours at one distance.
    const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    for (const char* name : {"snub cube", "snub dodecahedron"})
    {
        SCOPED_TRACE(name);
        const std::vector<Vec3D>& pts = FindSolid(solids, name).points;
        double edge = 1e300;
        for (size_t i = 1; i < pts.size(); ++i)
            edge = std::min(edge, Vec3Distance(pts[0], pts[i]));
        for (const Vec3D& p : pts)
        {
            int near = 0;
            for (const Vec3D& q : pts)
            {
                const double d = Vec3Distance(p, q);
                if (d > 0 && d < edge * (1 + 1e-9))
                {
                    EXPECT_NEAR(d, edge, edge * 1e-9);
                    ++near;
                }
            }
            EXPECT_EQ(near, 5);
        }
    }
}

TEST(HullReferenceTest, LatticeWithCoplanarAndColinearPointsEverywhere)
{
    const std::vector<Vec3D> lattice = LatticePoints(20);
    const HullShape ours = OurHull(lattice);
    EXPECT_EQ(ours.v, 8);
    EXPECT_EQ(ours.e, 12);
    EXPECT_EQ(ours.f, 6);
    ExpectSameAsQhull(ours, lattice);

    // Turned, the lattice's planes hold their points only within rounding.
    const std::vector<Vec3D> turned = Rotated(lattice);
    const HullShape t = OurHull(turned);
    EXPECT_EQ(t.v, 8);
    EXPECT_EQ(t.e, 12);
    EXPECT_EQ(t.f, 6);
    ExpectSameAsQhull(t, turned);

    // Shaken well below the tolerance it is still the cube.
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> shake(-1e-10, 1e-10);
    std::vector<Vec3D> shaken = LatticePoints(10);
    for (Vec3D& p : shaken)
        p = Vec3D{p.x + shake(rng), p.y + shake(rng), p.z + shake(rng)};
    const HullShape s = OurHull(shaken);
    EXPECT_EQ(s.v, 8);
    EXPECT_EQ(s.e, 12);
    EXPECT_EQ(s.f, 6);
}

TEST(HullReferenceTest, PointsShakenNearTheToleranceStillGiveASoundHull)
{
    // Shaken by about the tolerance, points sit just inside, on and just outside every plane and
    // line: the answer is open, but it must be a convex polyhedron holding every point. A face is
    // flat within the tolerance of some plane, which its normal only approximates: the checks
    // allow twice the tolerance.
    for (double amount : {3e-8, 1e-7, 3e-7})
    {
        SCOPED_TRACE(amount);
        std::mt19937_64 rng(11);
        std::uniform_real_distribution<double> shake(-amount, amount);
        std::vector<Vec3D> shaken = LatticePoints(8);
        for (Vec3D& p : shaken)
            p = Vec3D{p.x + shake(rng), p.y + shake(rng), p.z + shake(rng)};
        OurHull(shaken, true, 2 * kTol);
    }
    // Dense points on a unit sphere: many quadruples lie within the tolerance of one plane.
    OurHull(SpherePoints(100000, 1.0, 3), false, 2 * kTol);
}

TEST(HullReferenceTest, RandomPointsOnASphereAndInABall)
{
    // On a sphere of this radius no four of the points come near one plane, so every point is a
    // corner and every face a triangle.
    const int n = 100000;
    const std::vector<Vec3D> sphere = SpherePoints(n, 1e4, 1);
    const HullShape ours = OurHull(sphere, false);
    EXPECT_EQ(ours.v, n);
    EXPECT_EQ(ours.e, 3 * n - 6);
    EXPECT_EQ(ours.f, 2 * n - 4);
    ExpectSameAsQhull(ours, sphere);

    // Most points of a ball are inside.
    std::vector<Vec3D> ball = SpherePoints(20000, 1e3, 2);
    std::mt19937_64 rng(5);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    for (Vec3D& p : ball)
        Vec3Scale(p, p, std::cbrt(unit(rng)));
    ExpectSameAsQhull(OurHull(ball), ball);
}

TEST(HullReferenceTest, WatermanHullsMatchQhull)
{
    for (int centre : {kWatermanLatticePoint, kWatermanMidpoint, kWatermanSimpleCubic})
    {
        for (int root = 1; root <= 10; ++root)
        {
            SCOPED_TRACE(testing::Message() << "centre " << centre << " root " << root);
            auto hull = CreateWatermanHull(centre, root);
            ASSERT_TRUE(hull);
            std::vector<Vec3D> points;
            for (int i = 0; i < hull->mNumVerts; ++i)
                points.push_back(hull->mVerts[i].mPos);
            ExpectSameAsQhull(CheckSoundHull(*hull, &points, kTol), points);
        }
    }
}
