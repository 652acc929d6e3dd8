#include "kernel/Tolerance.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "model/Vert.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace
{
// The elements of one side of the model in types of the given sizes, in list order.
void MakeTypes(Poly& poly, bool dual, const std::vector<int>& sizes)
{
    Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    FaceVert* e = dual ? poly.mVerts.mFirst : poly.mFaces.mFirst;
    for (int size : sizes)
    {
        FaceType* type = stellation->AppendFaceType(
            std::make_unique<FaceType>(&poly, stellation, stellation->GetNumFaceTypes() + 1, stellation->GetNumFaceTypes()));
        for (int k = 0; k < size && e; ++k, e = e->mNext)
        {
            e->mFaceType = type;
            if (!type->mFirstFace)
                type->mFirstFace = e;
            ++type->mCount;
        }
    }
}
}  // namespace

TEST(FaceTypeMeasures, AreasAndSolidAnglesOfTheFirstFaces)
{
    // A 2 by 2 by 6 box: the first type starts with a square end, the second with a long side.
    PolySpec spec = CubeSpec();
    for (Vec3D& v : spec.verts)
        v.z *= 3.0;
    Poly poly;
    BuildPoly(poly, spec, false);
    MakeTypes(poly, false, {2, 4});
    MakeTypes(poly, true, {8});
    // A face listed the other way round has a negative area; the type keeps its size.
    poly.GetNthFace(0)->RotateNeighbours(0, true);
    Stellation* faces = poly.GetFaceStellation();
    faces->CalcFaceTypeAreas();
    EXPECT_NEAR(faces->GetFaceType(0)->mArea, 4.0, 1e-12);
    EXPECT_NEAR(faces->GetFaceType(1)->mArea, 12.0, 1e-12);
    poly.GetNthFace(0)->RotateNeighbours(0, true);

    // Seen from the centre, an end of the box and a long side: a rectangle of half-sides a and b at
    // distance h subtends 4 asin(ab / sqrt((a^2 + h^2)(b^2 + h^2))).
    faces->CalcSolidAngles();
    const double end = 4.0 * std::asin(1.0 / std::sqrt(10.0 * 10.0));
    const double side = 4.0 * std::asin(3.0 / std::sqrt(2.0 * 10.0));
    EXPECT_NEAR(faces->GetFaceType(0)->mSolidAngle, end, 1e-12);
    EXPECT_NEAR(faces->GetFaceType(1)->mSolidAngle, side, 1e-12);
    EXPECT_NEAR(2.0 * end + 4.0 * side, 4.0 * kPi, 1e-12);
}

TEST(FaceTypeMeasures, EdgeRangeIsKeptUntilTheStellationIsReset)
{
    PolySpec spec = CubeSpec();
    for (Vec3D& v : spec.verts)
        v.z *= 2.0;
    Poly poly;
    BuildPoly(poly, spec, false);
    MakeTypes(poly, false, {2, 4});
    MakeTypes(poly, true, {8});
    double shortest = 0.0, longest = 0.0;
    Stellation* faces = poly.GetFaceStellation();
    faces->CalcEdgeLengthRange(&shortest, &longest);
    EXPECT_DOUBLE_EQ(shortest, 2.0);
    EXPECT_DOUBLE_EQ(longest, 4.0);
    // The dual's edges join the poles of neighbouring faces: (1, 0, 0) and (0, 0, 1/2).
    poly.GetVertStellation()->CalcEdgeLengthRange(&shortest, &longest);
    EXPECT_DOUBLE_EQ(shortest, std::sqrt(1.25));
    EXPECT_DOUBLE_EQ(longest, std::sqrt(2.0));

    for (FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        v->mPoint.z /= 2.0;
    faces->CalcEdgeLengthRange(&shortest, &longest);
    EXPECT_DOUBLE_EQ(longest, 4.0);
    faces->Reset(false);
    faces->CalcEdgeLengthRange(&shortest, &longest);
    EXPECT_DOUBLE_EQ(shortest, 2.0);
    EXPECT_DOUBLE_EQ(longest, 2.0);
    EXPECT_DOUBLE_EQ(faces->mShortestEdge, 2.0);
}

TEST(FaceTypeMeasures, MeanEdgeLengthIsHalfwayBetweenTheShortestAndLongestSide)
{
    PolySpec spec = CubeSpec();
    for (Vec3D& v : spec.verts)
        v.z *= 2.0;
    Poly poly;
    BuildPoly(poly, spec, false);
    Stellation* faces = poly.GetFaceStellation();
    // Nothing to measure: no size.
    EXPECT_EQ(faces->GetMeanEdgeLength(), 0.0);
    faces->Reset(false);
    MakeTypes(poly, false, {2, 4});
    EXPECT_DOUBLE_EQ(faces->GetMeanEdgeLength(), 3.0);
}
