#include "ElementFixtures.h"

#include "kernel/DiagramOutline.h"
#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/PolygonFillOptions.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "model/Face.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{

// The area of a loop type's triangles over the outline's points, counterclockwise positive.
double OutlineTypeArea(const DiagramOutline& outline, int k)
{
    const LoopTypeTriangles& t = outline.mLoopTypeTriangles[k];
    double area = 0.0;
    for (int i = 0; i + 2 < t.mCount; i += 3)
    {
        const Vec2D& a = outline.mPoints[t.mIndices[i]];
        const Vec2D& b = outline.mPoints[t.mIndices[i + 1]];
        const Vec2D& c = outline.mPoints[t.mIndices[i + 2]];
        area += ((b.x - a.x) * (c.y - a.y) - (b.y - a.y) * (c.x - a.x)) / 2.0;
    }
    return area;
}

int CountOf(const LoopType& type, const void* owner)
{
    for (int i = 0; i < type.mOwnerCount; ++i)
        if (type.mOwners[i].mOwner == owner)
            return type.mOwners[i].mCount;
    return 0;
}

// The loop type in which the owner is the only one, with the count; -1 when none is.
int SoleOwnerType(const DiagramOutline& outline, const LoopTypeHolder& holder, const void* owner, int count)
{
    for (int k = 0; k < outline.mLoopTypeCount; ++k)
        if (holder.mLoopTypes[k].mOwnerCount == 1 && CountOf(holder.mLoopTypes[k], owner) == count)
            return k;
    return -1;
}

double RingArea(const RingVert* ring)
{
    double sum = 0.0;
    const RingVert* v = ring;
    do
    {
        sum += v->x * v->next->y - v->y * v->next->x;
        v = v->next;
    } while (v != ring);
    return sum / 2.0;
}

class FaceVertOutlinesTest : public ::testing::Test
{
protected:
    void SetUp() override { mSaved = GetPolygonFillOptions(); }
    void TearDown() override { GetPolygonFillOptions() = mSaved; }

    PolygonFillOptions mSaved;
};

TEST_F(FaceVertOutlinesTest, PentagramFaceOfTheSmallStellatedDodecahedronSplitsIntoFivePointsAndAPentagon)
{
    Poly poly;
    BuildPoly(poly, SmallStellatedDodecahedronSpec(), false);
    ASSERT_EQ(poly.mFaces.mCount, 12);
    SetAllFrames(poly);
    OneTypePerSide(poly);
    FaceVert* face = poly.mFaces.mFirst;
    FaceType* type = face->mFaceType;
    ASSERT_NE(type, nullptr);

    face->BuildDrawLoops();
    EXPECT_NE(poly.mFlags & Poly::kRecolorFaceDiagrams, 0u);
    const DiagramOutline& outline = type->mOutline;
    ASSERT_EQ(outline.mOwnerKind, kOwnerKindFaces);
    ASSERT_EQ(outline.mLoopTypeCount, 2);
    ASSERT_EQ(outline.mPointCount, 10);
    ASSERT_NE(face->mLoopTypes.mLoopTypes, nullptr);
    const int points = SoleOwnerType(outline, face->mLoopTypes, face, 1);
    const int centre = SoleOwnerType(outline, face->mLoopTypes, face, 2);
    ASSERT_GE(points, 0);
    ASSERT_GE(centre, 0);
    EXPECT_EQ(outline.mLoopTypeTriangles[points].mCount, 15);  // five triangles
    EXPECT_EQ(outline.mLoopTypeTriangles[centre].mCount, 9);   // the pentagon in three

    // The neighbours of a vertex lie on a regular pentagon of side 2: the pentagram's circumradius
    // is 1 / sin 36 degrees, the inner pentagon's that over phi squared.
    const double R = 1.0 / std::sin(kPi / 5.0);
    const double r = R * (3.0 - std::sqrt(5.0)) / 2.0;
    const double centreArea = 2.5 * r * r * std::sin(2.0 * kPi / 5.0);
    const double starArea = 5.0 * R * r * std::sin(kPi / 5.0);
    EXPECT_NEAR(OutlineTypeArea(outline, centre), centreArea, 1e-12);
    EXPECT_NEAR(OutlineTypeArea(outline, points), starArea - centreArea, 1e-12);
    // Area-consistent with the winding numbers: the pentagram's own signed area.
    EXPECT_NEAR(OutlineTypeArea(outline, points) + 2.0 * OutlineTypeArea(outline, centre),
                2.5 * R * R * std::sin(4.0 * kPi / 5.0), 1e-12);
    for (int i = 0; i < outline.mPointCount; ++i)
    {
        const double d = std::hypot(outline.mPoints[i].x, outline.mPoints[i].y);
        EXPECT_TRUE(std::fabs(d - R) < 1e-12 || std::fabs(d - r) < 1e-12) << "point " << i << " at " << d;
    }

    // Every other face of the type gets the same classes, owned by itself.
    int others = 0;
    for (FaceVert* f = face->mNextOfType; f; f = f->mNextOfType, ++others)
    {
        ASSERT_NE(f->mLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(CountOf(f->mLoopTypes.mLoopTypes[points], f), 1);
        EXPECT_EQ(CountOf(f->mLoopTypes.mLoopTypes[centre], f), 2);
    }
    EXPECT_EQ(others, 11);
}

TEST_F(FaceVertOutlinesTest, CoincidentMembersAreFedWithTheirOwnTurn)
{
    for (bool reversed : {false, true})
    {
        SCOPED_TRACE(reversed ? "reversed member" : "member the same way");
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        Face* face = static_cast<Face*>(poly.mFaces.mFirst);
        // A second face on the same corners, in the first one's coincidence ring.
        Face* twin = new Face(&poly, nullptr, face->mNumSides);
        for (int i = 0; i < face->mNumSides; ++i)
            twin->mNeighbours[i] = face->mNeighbours[i];
        twin->mZAxis = face->mZAxis;
        twin->mCentre = face->mCentre;
        twin->mPoint = face->mPoint;
        if (reversed)
            twin->mFlags |= FaceVert::kReversed;
        face->mNextCoplanar = twin;
        twin->mNextCoplanar = face;
        SetAllFrames(poly);
        AddFaceType(poly, false, {face}, 1);

        face->BuildDrawLoops();
        const DiagramOutline& outline = face->mFaceType->mOutline;
        ASSERT_EQ(outline.mLoopTypeCount, 1);
        const LoopType& square = face->mLoopTypes.mLoopTypes[0];
        EXPECT_EQ(square.mOwnerCount, 2);
        EXPECT_EQ(CountOf(square, face), 1);
        EXPECT_EQ(CountOf(square, twin), reversed ? -1 : 1);
        EXPECT_NEAR(OutlineTypeArea(outline, 0), 4.0, 1e-12);
    }
}

TEST_F(FaceVertOutlinesTest, ElementAtTheCentreOrTypeWithACoplanarMasterBuildsNoOutline)
{
    struct Case
    {
        const char* name;
        bool inf;
        bool coplanarMaster;
    };
    const Case kCases[] = {{"flagged Inf", true, false}, {"coplanar master", false, true}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        SetAllFrames(poly);
        FaceVert* face = poly.mFaces.mFirst;
        FaceType* type = AddFaceType(poly, false, {face}, 1);
        FaceType* master = AddFaceType(poly, false, {poly.mFaces.mFirst->mNext}, 2);
        if (c.inf)
            face->mFlags |= FaceVert::kInf;
        if (c.coplanarMaster)
            type->mCoplanarSource = master;
        // What an earlier build left in the clipped outline.
        type->mMorphOutline.mOwnerKind = kOwnerKindFaces;
        type->mMorphOutline.mLoopTypeCount = 2;

        face->BuildDrawLoops();
        face->BuildMorphLoops(1.0, 2.0);
        EXPECT_EQ(face->mLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(face->mMorphLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(type->mDiagram, nullptr);
        EXPECT_TRUE(type->mOutline.IsEmpty());
        EXPECT_TRUE(type->mMorphOutline.IsEmpty());  // reset before returning
        EXPECT_EQ(poly.mFlags & (Poly::kRecolorFaceDiagrams | Poly::kRecolorMorphDiagrams), 0u);
        if (c.inf)
        {
            EXPECT_EQ(face->BuildMorphRing(1.0, 2.0), nullptr);
        }
    }
}

// The cube (+-1, +-1, +-1) clipped by its dual octahedron |x| + |y| + |z| <= b: on the face x = a
// at scale a, the part with |y| + |z| <= b - a: a diamond while it fits inside the face, an octagon
// while it cuts the face's corners off.
TEST_F(FaceVertOutlinesTest, CubeFaceClippedByTheScaledDualOctahedron)
{
    struct Case
    {
        const char* name;
        double a, b;
        double area;  // 0: nothing of the dual cuts the face
        int corners;
    };
    const Case kCases[] = {
        {"octahedron touches the face", 1.0, 1.0, 0.0, 0},
        {"diamond inside the face", 1.0, 1.5, 0.5, 4},
        {"octahedron cuts the corners off", 1.0, 2.5, 3.5, 8},
        {"octahedron holds the face", 1.0, 3.5, 4.0, 4},
        {"cube enlarged", 2.0, 3.5, 4.5, 4},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Poly poly;
        BuildPoly(poly, CubeSpec(), false);
        SetAllFrames(poly);
        FaceVert* face = poly.GetNthFace(4);  // the face x = 1
        ASSERT_TRUE(Vec3Equal(face->mZAxis, Vec3D{1, 0, 0}, 1e-15));
        FaceType* type = AddFaceType(poly, false, {face}, 1);

        face->BuildMorphLoops(c.a, c.b);
        EXPECT_NE(poly.mFlags & Poly::kRecolorMorphDiagrams, 0u);
        EXPECT_EQ(face->mLoopTypes.mLoopTypes, nullptr);
        RingVert* ring = face->BuildMorphRing(c.a, c.b);
        if (c.area == 0.0)
        {
            EXPECT_TRUE(type->mMorphOutline.IsEmpty());
            EXPECT_EQ(face->mMorphLoopTypes.mLoopTypes, nullptr);
            EXPECT_EQ(ring, nullptr);
            continue;
        }
        const DiagramOutline& outline = type->mMorphOutline;
        ASSERT_EQ(outline.mLoopTypeCount, 1);
        ASSERT_NE(face->mMorphLoopTypes.mLoopTypes, nullptr);
        EXPECT_EQ(CountOf(face->mMorphLoopTypes.mLoopTypes[0], face), 1);
        EXPECT_NEAR(OutlineTypeArea(outline, 0), c.area, 1e-12);

        ASSERT_NE(ring, nullptr);
        EXPECT_EQ(RingCount(ring), c.corners);
        EXPECT_NEAR(RingArea(ring), c.area, 1e-12);
        const RingVert* v = ring;
        do
        {
            EXPECT_NEAR(v->pos.x, c.a, 1e-12);
            const double extent = std::fabs(v->pos.y) + std::fabs(v->pos.z);
            EXPECT_NEAR(extent, std::min(c.b - c.a, 2.0 * c.a), 1e-12);
            v = v->next;
        } while (v != ring);
        FreeRing(ring);
    }
}
}  // namespace
