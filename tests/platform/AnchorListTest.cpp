#include "platform/AnchorList.h"

#include <gtest/gtest.h>

TEST(AnchorListTest, EdgesFollowTheirFlags)
{
    constexpr int S = AnchorList::kKeepSize;
    constexpr int N = AnchorList::kKeepNear;
    constexpr int F = AnchorList::kFollowFar;
    struct Case
    {
        const char* name;
        int flags;
        int recorded;
        int present;
        int nearEdge;
        int farEdge;
    };
    // A control from 10 to 80 in a client area 300 wide.
    const Case kCases[] = {
        {"fixed", S | N, 300, 400, 10, 80},
        {"stretches", N | F, 300, 400, 10, 180},
        {"keeps the near edge, far edge scales", N, 300, 400, 10, 106},
        {"moves with the far edge", S | F, 300, 400, 110, 180},
        {"near edge scales, far edge follows", F, 300, 400, 13, 180},
        {"near edge scales, keeps its size", S, 300, 400, 13, 83},
        {"scales", 0, 300, 400, 13, 106},
        {"shrinks with the far edge", N | F, 300, 250, 10, 30},
        {"nothing recorded: nothing scales", 0, 0, 400, 10, 80},
        {"unchanged size", 0, 300, 300, 10, 80},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        int nearEdge = -1;
        int farEdge = -1;
        AnchorSpan(10, 80, c.recorded, c.present, c.flags, nearEdge, farEdge);
        EXPECT_EQ(nearEdge, c.nearEdge);
        EXPECT_EQ(farEdge, c.farEdge);
    }
}
