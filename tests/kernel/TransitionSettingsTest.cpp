#include "kernel/TransitionSettings.h"

#include <gtest/gtest.h>

TEST(TransitionSettings, UnsetValuesFallBackToTheDefaultOccasion)
{
    ResetTransitionOccasions();
    TransitionSettings fresh;
    EXPECT_EQ(fresh.type, TransitionSettings::kTypeDefault);
    EXPECT_EQ(fresh.duration, TransitionSettings::kUnset);
    EXPECT_DOUBLE_EQ(fresh.GetDuration(), 0.5);
    fresh.duration = 1.25;
    EXPECT_DOUBLE_EQ(fresh.GetDuration(), 1.25);

    TransitionSettings* occasions = GetTransitionOccasions();
    EXPECT_EQ(occasions[0].type, 2);  // Sideways
    EXPECT_EQ(occasions[2].type, 6);  // start-up: Shrink & Implode over two seconds
    EXPECT_DOUBLE_EQ(occasions[2].GetDuration(), 2.0);
    EXPECT_DOUBLE_EQ(occasions[3].GetDuration(), 0.5);
    EXPECT_DOUBLE_EQ(occasions[4].sidewaysAngle, -15.0);
    EXPECT_EQ(occasions[4].type, TransitionSettings::kTypeDefault);

    // A changed default reaches every unset duration.
    occasions[0].duration = 3.0;
    EXPECT_DOUBLE_EQ(occasions[3].GetDuration(), 3.0);
    EXPECT_DOUBLE_EQ(TransitionSettings().GetDuration(), 3.0);
    ResetTransitionOccasions();
    EXPECT_DOUBLE_EQ(TransitionSettings().GetDuration(), 0.5);
}

TEST(TransitionSettings, UndoKindsPlayTheirOccasion)
{
    struct Case
    {
        int kind;
        int occasion;
    };
    const Case cases[] = {{0, 6},  {20, 6}, {39, 6},  {43, 6},  {1, 3},   {4, 12},  {5, 5},   {6, 7},
                          {8, 7},  {11, 8}, {12, 8},  {16, 10}, {17, 9},  {19, 11}, {33, 4},  {2, -1},
                          {9, -1}, {27, -1}, {34, -1}, {44, -1}, {60, -1}, {-1, -1}, {61, -1}};
    for (const Case& c : cases)
        EXPECT_EQ(UndoKindTransitionPreset(c.kind), c.occasion) << "kind " << c.kind;
}
