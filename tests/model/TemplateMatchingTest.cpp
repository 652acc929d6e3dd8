#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "library/LibraryEntry.h"
#include "model/Edge.h"
#include "model/Face.h"
#include "model/FaceTypeAnalysis.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SymGroup.h"
#include "model/TemplateMatching.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>

namespace
{
// A model built from its vertex configuration; the template must outlive the Poly's use of it.
struct Built
{
    PolyTemplate templ;
    Poly poly;
    bool ok = false;

    explicit Built(const char* configuration)
    {
        if (templ.Parse(configuration, false))
            ok = poly.PrepareFromTemplate(&templ, 0);
    }
};

int NumFaceTypes(const Poly& poly)
{
    return poly.GetFaceStellation()->GetNumFaceTypes();
}

// Every vertex on the unit sphere and every edge of the template's edge length.
void ExpectOnSphereWithEqualEdges(const Built& b)
{
    for (const FaceVert* v = b.poly.mVerts.mFirst; v; v = v->mNext)
        EXPECT_NEAR(Vec3Length(v->mPoint), 1.0, 1e-9);
    for (const Edge& e : b.poly.mEdges)
        EXPECT_NEAR(e.GetLength(false), b.templ.mEdgeLength, 1e-9);
}
}  // namespace

TEST(TemplateMatching, IcosahedronClosesWithoutBranches)
{
    Built b("3.3.3.3.3");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mMatchingStatus, Poly::kMatchingFinished);
    EXPECT_EQ(p.mVerts.mCount, 12);
    EXPECT_EQ(p.mFaces.mCount, 20);
    ASSERT_EQ(NumFaceTypes(p), 1);
    EXPECT_EQ(p.GetFaceStellation()->mFirstFaceType->mCount, 20);
    EXPECT_EQ(p.GetFaceStellation()->mFirstFaceType->mNumRotations, 3);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kIcosahedral);
    EXPECT_TRUE(p.mReflexible);
    EXPECT_EQ(p.mGroup->mReflection, SymGroup::kHorizontal);
    EXPECT_EQ(p.mNumEdges, 30);
    ASSERT_EQ(p.mNumEdgeTypes, 1);
    EXPECT_EQ(p.mEdgeTypes[0].mCount, 30);
    EXPECT_NEAR(p.mDensity, 1.0, 1e-9);
    ExpectOnSphereWithEqualEdges(b);
    // In the group's standard orientation the vertices lie on its 5-fold axes: (0, +-1, +-phi) and
    // their cyclic turns, scaled to the unit sphere.
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    const double s = 1.0 / std::sqrt(1.0 + phi * phi);
    for (const FaceVert* v = p.mVerts.mFirst; v; v = v->mNext)
    {
        double big = 0, small = 0;
        int zeros = 0;
        for (int i = 0; i < 3; ++i)
        {
            const double c = std::fabs(v->mPoint[i]);
            if (c < 1e-9)
                ++zeros;
            else if (std::fabs(c - phi * s) < 1e-9)
                ++big;
            else if (std::fabs(c - s) < 1e-9)
                ++small;
        }
        EXPECT_EQ(zeros, 1);
        EXPECT_EQ(big, 1);
        EXPECT_EQ(small, 1);
    }
}

TEST(TemplateMatching, CubeIsOctahedralWithOneSquareType)
{
    Built b("4.4.4");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mVerts.mCount, 8);
    EXPECT_EQ(p.mFaces.mCount, 6);
    ASSERT_EQ(NumFaceTypes(p), 1);
    const FaceType* squares = p.GetFaceStellation()->mFirstFaceType;
    EXPECT_EQ(squares->mCount, 6);
    EXPECT_EQ(squares->mNumRotations, 4);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kOctahedral);
    EXPECT_TRUE(p.mReflexible);
    EXPECT_EQ(p.mNumEdges, 12);
    ASSERT_EQ(p.mNumEdgeTypes, 1);
    EXPECT_EQ(p.mEdgeTypes[0].mCount, 12);
    EXPECT_NEAR(p.mDensity, 1.0, 1e-9);
    ExpectOnSphereWithEqualEdges(b);
    // Face normals along the coordinate axes: the octahedral group's 4-fold axes.
    for (const FaceVert* f = p.mFaces.mFirst; f; f = f->mNext)
    {
        int ones = 0;
        for (int i = 0; i < 3; ++i)
            ones += std::fabs(std::fabs(f->mZAxis[i]) - 1.0) < 1e-9;
        EXPECT_EQ(ones, 1);
    }
    // The dual side: 8 vertices of one type, each a triangle of the dual octahedron.
    ASSERT_EQ(p.GetVertStellation()->GetNumFaceTypes(), 1);
    EXPECT_EQ(p.GetVertStellation()->mFirstFaceType->mCount, 8);
}

TEST(TemplateMatching, PrepareStartsWithTheFirstPolygonAboveTheOrigin)
{
    PolyTemplate templ;
    ASSERT_TRUE(templ.Parse("5.5.5", false));
    Poly poly;
    ASSERT_TRUE(Prepare(poly, &templ, 0));
    const Face* first = poly.GetNthFace(0);
    ASSERT_NE(first, nullptr);
    const double rho = templ.mFirst->mRadius;
    const double d = std::sqrt(1.0 - rho * rho);
    EXPECT_NEAR(first->mCentre.y, d, 1e-12);
    EXPECT_NEAR(first->mZAxis.y, 1.0, 1e-12);
    for (int i = 0; i < first->mNumSides; ++i)
        EXPECT_NEAR(first->mNeighbours[i]->mPoint.y, d, 1e-9);
    const Vec3D& corner0 = first->mNeighbours[0]->mPoint;
    EXPECT_NEAR(corner0.x, rho, 1e-12);
    EXPECT_NEAR(corner0.z, 0.0, 1e-12);
    // Only the first vertex is placed: removing a vertex leaves the model alone.
    const int faces = poly.mFaces.mCount;
    const int verts = poly.mVerts.mCount;
    EXPECT_EQ(poly.mNumPlaced, 1);
    RemoveVertex(poly, true);
    EXPECT_EQ(poly.mFaces.mCount, faces);
    EXPECT_EQ(poly.mVerts.mCount, verts);
}

TEST(TemplateMatching, PentagonalPrismIsDihedralAndReflexible)
{
    Built b("5.4.4");
    ASSERT_TRUE(b.ok);
    const Poly& p = b.poly;
    EXPECT_EQ(p.mFaces.mCount, 7);
    EXPECT_EQ(p.mVerts.mCount, 10);
    ASSERT_TRUE(p.mGroup);
    EXPECT_EQ(p.mGroup->mKind, SymGroup::kDihedral);
    EXPECT_EQ(p.mGroup->MainOrder(), 5);
    EXPECT_TRUE(p.mReflexible);
    // The pentagons face along the main axis (y).
    for (const FaceVert* f = p.mFaces.mFirst; f; f = f->mNext)
    {
        if (f->mNumSides == 5)
        {
            EXPECT_NEAR(std::fabs(f->mZAxis.y), 1.0, 1e-9);
        }
    }
    ExpectOnSphereWithEqualEdges(b);
}
