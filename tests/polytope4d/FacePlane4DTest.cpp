#include "Polytope4DFixtures.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace
{
using FacePlane4DTest = Polytope4DTestBase;

// A tilted 2-plane of 4D: an origin and an orthonormal pair of directions.
struct Plane2
{
    Vec4D origin;
    Vec4D u;
    Vec4D v;

    Vec4D At(double x, double y) const
    {
        Vec4D p = origin;
        Vec4AddScaledTo(p, x, u);
        Vec4AddScaledTo(p, y, v);
        return p;
    }
    // Distance of p from the plane.
    double Distance(const Vec4D& p) const
    {
        Vec4D d, across;
        Vec4Sub(d, p, origin);
        Vec4RejectFrom2(across, d, u, v, 1e-7);
        return Vec4Length(across);
    }
};

Plane2 RandomPlane(std::mt19937& rng)
{
    std::uniform_real_distribution<double> coord(-1.0, 1.0);
    auto random = [&] { return Vec4D{coord(rng), coord(rng), coord(rng), coord(rng)}; };
    Plane2 plane{random(), random(), random()};
    Vec4Div(plane.u, Vec4Length(plane.u));
    Vec4AddScaledTo(plane.v, -Vec4Dot(plane.v, plane.u), plane.u);
    Vec4Div(plane.v, Vec4Length(plane.v));
    return plane;
}

double TriangleArea(const Vec4D& a, const Vec4D& b, const Vec4D& c)
{
    Vec4D e1, e2;
    Vec4Sub(e1, b, a);
    Vec4Sub(e2, c, a);
    const double dot = Vec4Dot(e1, e2);
    return 0.5 * std::sqrt(std::max(0.0, Vec4LengthSq(e1) * Vec4LengthSq(e2) - dot * dot));
}

double TotalArea(const FacePlane4D& plane)
{
    double area = 0.0;
    for (int i = 0; i + 2 < plane.mNumIndices; i += 3)
    {
        const Vec4D& a = plane.mPoints.at(size_t(plane.mIndices[i]));
        const Vec4D& b = plane.mPoints.at(size_t(plane.mIndices[i + 1]));
        const Vec4D& c = plane.mPoints.at(size_t(plane.mIndices[i + 2]));
        area += TriangleArea(a, b, c);
    }
    return area;
}

Face4D* FaceThrough(Polytope4D& p, const std::vector<Vec4D>& corners)
{
    Face4D* face = p.NewFace(int(corners.size()));
    for (size_t k = 0; k < corners.size(); ++k)
        face->SetVert(int(k), p.NewVert(&corners[k]));
    return face;
}
}  // namespace

TEST_F(FacePlane4DTest, PentagramGetsItsCrossingsAndTheStarsArea)
{
    const double kDeg = 3.141592653589793 / 180.0;
    // Points 1, 3, 5, 2, 4 of the pentagon make the {5/2} star; its crossings lie at radius
    // cos 72 / cos 36, and the star's area is 5 r sin 36 for circumradius 1.
    const double r = std::cos(72 * kDeg) / std::cos(36 * kDeg);
    const double starArea = 5.0 * r * std::sin(36 * kDeg);
    ASSERT_NEAR(starArea, 1.12257, 1e-5);
    std::mt19937 rng(5);
    for (int trial = 0; trial < 20; ++trial)
    {
        SCOPED_TRACE(trial);
        const Plane2 plane = RandomPlane(rng);
        std::vector<Vec4D> corners;
        for (int k = 0; k < 5; ++k)
        {
            const double angle = (90.0 + 144.0 * k) * kDeg;
            corners.push_back(plane.At(std::cos(angle), std::sin(angle)));
        }
        Polytope4D p;
        Face4D* star = FaceThrough(p, corners);
        p.PrepareFacePlanes(false);
        const FacePlane4D& fp = star->mPlane;
        ASSERT_EQ(fp.mPoints.size(), 10u);
        int tips = 0;
        int crossings = 0;
        for (const Vec4D& point : fp.mPoints)
        {
            EXPECT_LT(plane.Distance(point), 1e-12);
            Vec4D d;
            Vec4Sub(d, point, plane.origin);
            const double radius = Vec4Length(d);
            tips += std::fabs(radius - 1.0) < 1e-9;
            crossings += std::fabs(radius - r) < 1e-9;
        }
        EXPECT_EQ(tips, 5);
        EXPECT_EQ(crossings, 5);
        EXPECT_NEAR(TotalArea(fp), starArea, 1e-9);
    }
}

TEST_F(FacePlane4DTest, SquareInARandomPlane)
{
    std::mt19937 rng(4);
    for (int trial = 0; trial < 50; ++trial)
    {
        SCOPED_TRACE(trial);
        const Plane2 plane = RandomPlane(rng);
        Polytope4D p;
        Face4D* square = FaceThrough(p, {plane.At(0, 0), plane.At(1, 0), plane.At(1, 1), plane.At(0, 1)});
        // Its first three corners on a line: the frame takes a later corner.
        Face4D* pointed = FaceThrough(p, {plane.At(0, 0), plane.At(0.5, 0), plane.At(1, 0), plane.At(1, 1),
                                          plane.At(0, 1)});
        p.PrepareFacePlanes(false);
        for (const Face4D* face : {square, pointed})
        {
            const FacePlane4D& fp = face->mPlane;
            EXPECT_EQ(fp.mNumIndices, 3 * (face->mNumSides - 2));
            for (const Vec4D& point : fp.mPoints)
                EXPECT_LT(plane.Distance(point), 1e-12);
            EXPECT_NEAR(TotalArea(fp), 1.0, 1e-12);
        }
        // Every corner of the square is one of its points, in place.
        for (int k = 0; k < 4; ++k)
        {
            bool found = false;
            for (const Vec4D& point : square->mPlane.mPoints)
                found = found || Vec4Equal(point, square->mVerts[k]->mPos, 1e-12);
            EXPECT_TRUE(found) << k;
        }
    }
}

TEST_F(FacePlane4DTest, PreparedOnceUnlessForced)
{
    Polytope4D p;
    Face4D* triangle = FaceThrough(p, {{0, 0, 0, 0}, {2, 0, 0, 0}, {0, 0, 0, 2}});
    Face4D* line = FaceThrough(p, {{0, 0, 0, 0}, {1, 1, 1, 1}});
    Face4D* flat = FaceThrough(p, {{0, 0, 0, 0}, {1, 0, 0, 0}, {2, 0, 0, 0}});
    p.PrepareFacePlanes(false);
    EXPECT_TRUE(p.mFlags & Polytope4D::kPlanesPrepared);
    EXPECT_EQ(triangle->mPlane.mNumIndices, 3);
    EXPECT_NEAR(TotalArea(triangle->mPlane), 2.0, 1e-15);
    EXPECT_EQ(line->mPlane.mNumIndices, 0);
    EXPECT_TRUE(line->mPlane.mPoints.empty());
    EXPECT_EQ(flat->mPlane.mNumIndices, 0);

    triangle->mVerts[1]->mPos.x = 4.0;
    p.PrepareFacePlanes(false);
    EXPECT_NEAR(TotalArea(triangle->mPlane), 2.0, 1e-15);
    p.PrepareFacePlanes(true);
    EXPECT_NEAR(TotalArea(triangle->mPlane), 4.0, 1e-15);
}
