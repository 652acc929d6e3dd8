#include "SolidModels.h"
#include "SolidPoints.h"
#include "kernel/Tolerance.h"
#include "model/FacePlacement.h"
#include "model/SimplePoly.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace
{
// The cube (+-1)^3 as the model being added.
std::unique_ptr<SimplePoly> AddedCube()
{
    return MakeModel(ConvexSolid(FindSolid(PlatonicAndArchimedeanSolids(), "cube").points));
}

const SimpleFace& FaceWithNormal(const SimplePoly& poly, const Vec3D& n)
{
    for (int i = 0; i < poly.mNumFaces; ++i)
    {
        if (Vec3Equal(poly.mFaces[i].mNormal, n, kTol))
            return poly.mFaces[i];
    }
    return poly.mFaces[0];
}

// A square of side 2 * half in the plane z = height, counter-clockwise seen from +z.
PlacementTarget Square(double half, double height, int typeRots)
{
    PlacementTarget t;
    t.corners = {{half, -half, height}, {half, half, height}, {-half, half, height}, {-half, -half, height}};
    t.zAxis = {0, 0, 1};
    t.typeRots = typeRots;
    return t;
}

int Count(const std::unique_ptr<FacePlacementList>& list)
{
    return list ? list->Count() : 0;
}
}  // namespace

TEST(FacePlacementTest, EveryPlacementPutsTheCornersOnTheTarget)
{
    auto cube = AddedCube();
    const SimpleFace& top = FaceWithNormal(*cube, {0, 0, 1});
    const PlacementTarget target = Square(2.0, 5.0, 1);
    auto list = top.FindPlacements(target, 0);
    ASSERT_TRUE(list);
    // A square fits a square four ways round. Turned over onto the target, the added face's
    // corners run against the target's.
    EXPECT_EQ(list->Count(), 4);
    for (const FacePlacement* p = list->mFirst; p; p = p->next)
    {
        EXPECT_EQ(p->mDirection, 1);
        EXPECT_FALSE(p->mMirrored);
        for (int j = 0; j < 4; ++j)
        {
            const int from = ((p->mDirection == 0 ? p->mStart + j : p->mStart - j) % 4 + 4) % 4;
            Vec3D image;
            p->mTransform.Apply(image, top.GetVert(from)->mPos);
            EXPECT_TRUE(Vec3Equal(image, target.corners[size_t(j)], kTol));
        }
        // Scaled by 2, and the added cube stands outside: its centre goes above the target.
        Vec3D centre;
        p->mTransform.Apply(centre, {0, 0, 0});
        EXPECT_TRUE(Vec3Equal(centre, {0, 0, 7}, kTol));
    }

    auto inside = top.FindPlacements(target, SimpleFace::kPlaceFromOtherSide);
    ASSERT_TRUE(inside);
    EXPECT_EQ(inside->Count(), 4);
    EXPECT_EQ(inside->mFirst->mDirection, 0);
    Vec3D centre;
    inside->mFirst->mTransform.Apply(centre, {0, 0, 0});
    EXPECT_TRUE(Vec3Equal(centre, {0, 0, 3}, kTol));

    // A reversed target face takes the added model to its other side and reflects it.
    PlacementTarget reversed = target;
    reversed.reversedNormal = true;
    auto mirrored = top.FindPlacements(reversed, 0);
    ASSERT_TRUE(mirrored);
    EXPECT_TRUE(mirrored->mFirst->mMirrored);
    mirrored->mFirst->mTransform.Apply(centre, {0, 0, 0});
    EXPECT_TRUE(Vec3Equal(centre, {0, 0, 3}, kTol));
}

TEST(FacePlacementTest, FaceSymmetriesLeaveCountOverLcmPlacements)
{
    struct Case
    {
        const char* name;
        int addedRots;
        int targetRots;
        double targetHeight;  // off the centre line the target's symmetry does not count
        double targetShift;
        int expected;
    };
    const Case kCases[] = {
        {"no symmetry", 1, 1, 5, 0, 4},
        {"added face of order 2", 2, 1, 5, 0, 2},
        {"target of order 2", 1, 2, 5, 0, 2},
        {"both squares", 4, 4, 5, 0, 1},
        {"orders 2 and 2", 2, 2, 5, 0, 2},
        {"orders 3 and 2 keep one", 3, 2, 5, 0, 1},
        {"target off its axis", 1, 4, 5, 3, 4},
    };
    auto cube = AddedCube();
    SimpleFace& top = const_cast<SimpleFace&>(FaceWithNormal(*cube, {0, 0, 1}));
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        top.mRots = c.addedRots;
        PlacementTarget target = Square(1.0, c.targetHeight, c.targetRots);
        for (Vec3D& p : target.corners)
            p.x += c.targetShift;
        EXPECT_EQ(Count(top.FindPlacements(target, 0)), c.expected);
    }
}

TEST(FacePlacementTest, FacesThatCannotMeetGiveNoList)
{
    auto cube = AddedCube();
    const SimpleFace& top = FaceWithNormal(*cube, {0, 0, 1});
    PlacementTarget triangle;
    triangle.corners = {{0, 0, 1}, {1, 0, 1}, {0, 1, 1}};
    triangle.zAxis = {0, 0, 1};
    EXPECT_FALSE(top.FindPlacements(triangle, 0));

    PlacementTarget point = Square(0.0, 1.0, 1);
    EXPECT_FALSE(top.FindPlacements(point, 0));

    // A rectangle is no square: no way round fits.
    PlacementTarget rectangle = Square(1.0, 1.0, 1);
    for (Vec3D& p : rectangle.corners)
        p.x *= 2.0;
    EXPECT_FALSE(top.FindPlacements(rectangle, 0));

    auto strip = MakeFacedPoly({{0, 0, 0}, {1, 0, 0}}, {{0, 1}});
    EXPECT_FALSE(strip->mFaces[0].FindPlacements(Square(1.0, 1.0, 1), 0));
}
