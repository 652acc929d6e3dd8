#include "ElementFixtures.h"

#include "kernel/Tolerance.h"
#include "mesh/Model3D.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "stellation/ModelBuildSuspension.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

namespace
{
// The points moved so that their mean is the origin.
std::vector<Vec3D> Centred(std::vector<Vec3D> points)
{
    Vec3D mean;
    for (const Vec3D& p : points)
        Vec3AddTo(mean, p);
    Vec3Div(mean, mean, double(points.size()));
    for (Vec3D& p : points)
        Vec3SubFrom(p, mean);
    return points;
}

// A prism of unit edges over the rhombus whose acute corners have the angle.
std::vector<Vec3D> RhombicPrism(double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    std::vector<Vec3D> points;
    for (double z : {0.0, 1.0})
        for (const Vec3D& p : {Vec3D{0, 0, z}, Vec3D{1, 0, z}, Vec3D{1 + c, s, z}, Vec3D{c, s, z}})
            points.push_back(p);
    return Centred(points);
}

// The pentagonal pyramid of unit edges.
std::vector<Vec3D> PentagonalPyramid()
{
    const double r = 1.0 / (2.0 * std::sin(kPi / 5.0));
    std::vector<Vec3D> points = StarPolygon(5, 1, r, 0.0);
    points.push_back(Vec3D{0, 0, std::sqrt(1.0 - r * r)});
    return Centred(points);
}

class SuspensionGuard
{
public:
    SuspensionGuard() : mSaved(IsModelBuildSuspended()) {}
    ~SuspensionGuard() { SetModelBuildSuspended(mSaved); }

private:
    bool mSaved;
};
}  // namespace

TEST(KitBuildable, UnequalEdgesAreRefusedAndTheAnswerIsKept)
{
    PolySpec box = CubeSpec();
    for (Vec3D& v : box.verts)
        v.z *= 2.0;
    Poly poly;
    BuildPoly(poly, box, false);
    OneTypePerElement(poly);
    EXPECT_FALSE(poly.IsKitBuildable(false, nullptr));
    ASSERT_NE(poly.mKitReason, nullptr);
    EXPECT_STREQ(poly.mKitReason, "Edges have different lengths.");
    EXPECT_TRUE(poly.mFlags & Poly::kKitNo);
    EXPECT_FALSE(poly.mFlags & Poly::kKitYes);

    // Made a cube behind the check's back: the kept answer stands until the flags are cleared.
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        v->mPoint.z /= 2.0;
    poly.GetFaceStellation()->mShortestEdge = -1.0;
    poly.GetFaceStellation()->mLongestEdge = -1.0;
    EXPECT_FALSE(poly.IsKitBuildable(false, nullptr));
    EXPECT_STREQ(poly.mKitReason, "Edges have different lengths.");
    poly.mFlags &= ~(Poly::kKitYes | Poly::kKitNo);
    EXPECT_TRUE(poly.IsKitBuildable(false, nullptr));
    EXPECT_EQ(poly.mKitReason, nullptr);
}

TEST(KitBuildable, CubeAndItsDualAreBuildable)
{
    Poly poly;
    BuildPoly(poly, CubeSpec(), false);
    OneTypePerSide(poly);
    EXPECT_TRUE(poly.IsKitBuildable(false, nullptr));
    EXPECT_EQ(poly.mKitReason, nullptr);
    EXPECT_TRUE(poly.mFlags & Poly::kKitYes);
    // The dual, an octahedron of triangle panels, is checked and kept apart.
    EXPECT_FALSE(poly.mFlags & (Poly::kDualKitYes | Poly::kDualKitNo));
    EXPECT_TRUE(poly.IsKitBuildable(true, nullptr));
    EXPECT_EQ(poly.mDualKitReason, nullptr);
    EXPECT_TRUE(poly.mFlags & Poly::kDualKitYes);

    // A reason from the caller records a known no.
    EXPECT_FALSE(poly.IsKitBuildable(true, kKitReasonFacesIntersect));
    EXPECT_EQ(poly.mDualKitReason, kKitReasonFacesIntersect);
    EXPECT_FALSE(poly.IsKitBuildable(true, nullptr));
    EXPECT_TRUE(poly.IsKitBuildable(false, nullptr));

    // Faces against their type: the faces would cut each other.
    poly.mFlags = Poly::kAgainstType;
    EXPECT_FALSE(poly.IsKitBuildable(false, nullptr));
    EXPECT_STREQ(poly.mKitReason, "Faces intersect each other.");
}

TEST(KitBuildable, EdgesMeetAtNoLessThanTheKitAngle)
{
    EXPECT_DOUBLE_EQ(kKitMinAngle, 0.9250245035569947);
    struct Case
    {
        double angle;
        bool buildable;
    };
    const Case cases[] = {{kKitMinAngle + 1e-6, true}, {kKitMinAngle - 1e-6, false}, {kPi / 3.0, true}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.angle);
        Poly poly;
        BuildPoly(poly, ConvexSpec(RhombicPrism(c.angle)), false);
        ASSERT_EQ(poly.mFaces.mCount, 6);
        OneTypePerElement(poly);
        EXPECT_EQ(poly.IsKitBuildable(false, nullptr), c.buildable);
        if (!c.buildable)
            EXPECT_STREQ(poly.mKitReason, "Angle between edges is too small.");
        else if (c.angle == kPi / 3.0)
            EXPECT_EQ(poly.mKitReason, nullptr);  // the 60-degree rhombus is a panel
        else
            EXPECT_STREQ(poly.mKitReason, "Geomag don't make panels that shape.");  // buildable without it
    }
}

TEST(KitBuildable, PanelsMeetingTooSharplyLoseOnePanel)
{
    // The pentagon of the pentagonal pyramid meets the triangles at 37.4 degrees; the type of
    // fewer faces, the pentagon, gives its panel up.
    Poly poly;
    BuildPoly(poly, ConvexSpec(PentagonalPyramid()), false);
    ASSERT_EQ(poly.mFaces.mCount, 6);
    std::vector<FaceVert*> triangles, base, apex;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        (f->mNumSides == 5 ? base : triangles).push_back(f);
    FaceType* triangleType = AddFaceType(poly, false, triangles, 1);
    FaceType* pentagonType = AddFaceType(poly, false, base, 2);
    std::vector<FaceVert*> rim;
    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        (v->mNumSides == 5 ? apex : rim).push_back(v);
    AddFaceType(poly, true, rim, 3);
    AddFaceType(poly, true, apex, 4);

    EXPECT_TRUE(poly.IsKitBuildable(false, nullptr));
    EXPECT_STREQ(poly.mKitReason, "Angle between faces is too small.");
    EXPECT_TRUE(pentagonType->mFlags & kFaceTypeNotPanelShape);
    EXPECT_FALSE(pentagonType->mFlags & kFaceTypePanelShape);
    EXPECT_TRUE(triangleType->mFlags & kFaceTypePanelShape);
}

TEST(KitBuildable, NoCheckWhileAModelIsRebuilt)
{
    SuspensionGuard guard;
    PolySpec box = CubeSpec();
    for (Vec3D& v : box.verts)
        v.z *= 2.0;
    Poly poly;
    BuildPoly(poly, box, false);
    OneTypePerElement(poly);
    SetModelBuildSuspended(true);
    EXPECT_TRUE(poly.IsKitBuildable(false, nullptr));
    EXPECT_FALSE(poly.mFlags & (Poly::kKitYes | Poly::kKitNo));
    EXPECT_TRUE(poly.IsStellationKitBuildable(false));
    SetModelBuildSuspended(false);
    EXPECT_FALSE(poly.IsKitBuildable(false, nullptr));
    // No mesh of the stellation: not buildable, and no reason left over.
    poly.GetFaceStellation()->mKitReason = kKitReasonEdgeAngle;
    EXPECT_FALSE(poly.IsStellationKitBuildable(false));
    EXPECT_EQ(poly.GetFaceStellation()->mKitReason, nullptr);
}
