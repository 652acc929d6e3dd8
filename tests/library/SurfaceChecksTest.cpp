// The independent surface checks that the authored library rows are tested with.

#include "SurfaceChecks.h"

#include <gtest/gtest.h>

namespace
{
struct MeetCase
{
    const char* name;
    SurfaceTriangle a, b;
    bool meet;
};

const SurfaceTriangle kBase{Vec3D{0, 0, 0}, Vec3D{1, 0, 0}, Vec3D{0, 1, 0}};
}  // namespace

TEST(SurfaceChecksTest, TrianglesInOnePlaneMeetOnlyWhereTheyOverlap)
{
    const MeetCase cases[] = {
        {"in one plane, apart", kBase, {Vec3D{2, 0, 0}, Vec3D{3, 0, 0}, Vec3D{2, 1, 0}}, false},
        {"in one plane, apart across the long side", kBase, {Vec3D{1, 1, 0}, Vec3D{0.6, 1, 0}, Vec3D{1, 0.6, 0}}, false},
        {"in one plane, overlapping", kBase, {Vec3D{0.2, 0.2, 0}, Vec3D{2, 0.2, 0}, Vec3D{0.2, 2, 0}}, true},
        {"in one plane, one inside the other", kBase, {Vec3D{0.1, 0.1, 0}, Vec3D{0.3, 0.1, 0}, Vec3D{0.1, 0.3, 0}}, true},
        {"in one plane, sharing a corner", kBase, {Vec3D{1, 0, 0}, Vec3D{2, 0, 0}, Vec3D{2, 1, 0}}, true},
        {"parallel planes", kBase, {Vec3D{0, 0, 1}, Vec3D{1, 0, 1}, Vec3D{0, 1, 1}}, false},
        {"piercing", kBase, {Vec3D{0.2, 0.2, -1}, Vec3D{0.2, 0.2, 1}, Vec3D{-1, -1, 0}}, true},
        {"crossing planes, apart", kBase, {Vec3D{2, 2, -1}, Vec3D{2, 2, 1}, Vec3D{3, 1, 0}}, false},
    };
    for (const MeetCase& c : cases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(TrianglesMeet(c.a, c.b), c.meet);
        EXPECT_EQ(TrianglesMeet(c.b, c.a), c.meet);
    }
}

TEST(SurfaceChecksTest, FacesInOnePlaneThatDoNotTouchAreNotCountedAsMeeting)
{
    // Two squares side by side in one plane, a gap between them, and a third that overlaps the second.
    SurfaceModel model;
    model.verts = {Vec3D{0, 0, 0}, Vec3D{1, 0, 0}, Vec3D{1, 1, 0}, Vec3D{0, 1, 0},
                   Vec3D{2, 0, 0}, Vec3D{3, 0, 0}, Vec3D{3, 1, 0}, Vec3D{2, 1, 0},
                   Vec3D{2.5, 0.5, 0}, Vec3D{3.5, 0.5, 0}, Vec3D{3.5, 1.5, 0}, Vec3D{2.5, 1.5, 0}};
    model.faces = {{0, 1, 2, 3}, {4, 5, 6, 7}};
    EXPECT_EQ(CountFacePairsThatMeet(model), 0);
    model.faces.push_back({8, 9, 10, 11});
    EXPECT_EQ(CountFacePairsThatMeet(model), 1);
}
