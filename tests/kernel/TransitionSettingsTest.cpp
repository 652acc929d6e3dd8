#include "kernel/TransitionSettings.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(TransitionSettings, TypeNamesReadBackAndUnknownsAreRefused)
{
    for (int type = 0; type <= 8; ++type)
        EXPECT_EQ(TransitionTypeByName(TransitionTypeName(type)), type) << "type " << type;
    EXPECT_STREQ(TransitionTypeName(6), "Shrink & Implode");
    EXPECT_STREQ(TransitionTypeName(9), "?");
    EXPECT_STREQ(TransitionTypeName(-1), "?");
    EXPECT_EQ(TransitionTypeByName("<Use default>"), 8);
    EXPECT_EQ(TransitionTypeByName("sideways"), -1);  // names are case-sensitive
    EXPECT_EQ(TransitionTypeByName("?"), -1);
    EXPECT_EQ(TransitionTypeByName(nullptr), -1);
}

TEST(TransitionSettings, MergingFillsOnlyUnsetValuesFromTheDefaultOccasion)
{
    ResetTransitionOccasions();
    TransitionSettings merged;
    // Convex hull: Explode & Implode with its own explosion values, the rest from Default.
    ApplyTransitionDefaults(merged, 8);
    EXPECT_EQ(merged.type, TransitionSettings::kTypeExplodeImplode);
    EXPECT_DOUBLE_EQ(merged.duration, 0.5);
    EXPECT_DOUBLE_EQ(merged.explosionSize, 0.9);
    EXPECT_DOUBLE_EQ(merged.explodeSpin, 0.0);
    EXPECT_DOUBLE_EQ(merged.sidewaysAngle, 30.0);
    EXPECT_DOUBLE_EQ(merged.orbitCount, 2.0);

    // "Load from file": the Default type with its own angle.
    ApplyTransitionDefaults(merged, 4);
    EXPECT_EQ(merged.type, TransitionSettings::kTypeSideways);
    EXPECT_DOUBLE_EQ(merged.sidewaysAngle, -15.0);
    EXPECT_DOUBLE_EQ(merged.sidewaysSpin, 3.0);

    // A record with every value set keeps them all.
    TransitionSettings own;
    own.type = TransitionSettings::kTypeOrbit;
    own.duration = 1.5;
    own.shrinkSpin = own.sidewaysAngle = own.sidewaysSpin = own.orbitTilt = 7;
    own.orbitCount = own.orbitSpin = own.explosionSize = own.explodeSpin = 7;
    MergeTransitionDefaults(merged, own);
    EXPECT_EQ(merged.type, TransitionSettings::kTypeOrbit);
    EXPECT_DOUBLE_EQ(merged.duration, 1.5);
    for (double v : {merged.shrinkSpin, merged.sidewaysAngle, merged.sidewaysSpin, merged.orbitTilt, merged.orbitCount,
                     merged.orbitSpin, merged.explosionSize, merged.explodeSpin})
        EXPECT_DOUBLE_EQ(v, 7.0);
}

TEST(TransitionSettings, TheOutermostForcedOccasionWinsUntilItsScopeEnds)
{
    ResetTransitionOccasions();
    TransitionSettings s;
    {
        TransitionOccasionScope startUp(2);
        {
            TransitionOccasionScope inner(6);
            EXPECT_EQ(GetForcedTransitionOccasion(), 2);
            ApplyTransitionDefaults(s, 3);
            EXPECT_EQ(s.type, TransitionSettings::kTypeShrinkImplode);
            EXPECT_DOUBLE_EQ(s.duration, 2.0);
            EXPECT_DOUBLE_EQ(s.explodeSpin, 2.0);
        }
        EXPECT_EQ(GetForcedTransitionOccasion(), 2);
    }
    EXPECT_EQ(GetForcedTransitionOccasion(), -1);
    ApplyTransitionDefaults(s, 3);
    EXPECT_EQ(s.type, TransitionSettings::kTypeSideways);
}

TEST(TransitionSettings, InversionReversesEachMotion)
{
    ResetTransitionOccasions();
    struct Case
    {
        int type;
        int invertedType;
    };
    const Case cases[] = {{2, 2}, {3, 3}, {4, 4}, {5, 6}, {6, 5}, {7, 7}};
    for (const Case& c : cases)
    {
        SCOPED_TRACE(TransitionTypeName(c.type));
        TransitionSettings s;
        s.type = c.type;
        MergeTransitionDefaults(s, s);
        const TransitionSettings before = s;
        InvertTransitionSettings(s);
        EXPECT_EQ(s.type, c.invertedType);
        const bool sideways = c.type == 2;
        const bool orbit = c.type == 3;
        const bool explodes = c.type >= 5;
        // Previous with the Default occasion slides along 210 degrees with reversed spin.
        EXPECT_DOUBLE_EQ(s.sidewaysAngle, sideways ? 210.0 : before.sidewaysAngle);
        EXPECT_DOUBLE_EQ(s.sidewaysSpin, sideways ? -3.0 : before.sidewaysSpin);
        EXPECT_DOUBLE_EQ(s.orbitCount, orbit ? -2.0 : before.orbitCount);
        EXPECT_DOUBLE_EQ(s.orbitSpin, orbit ? -4.0 : before.orbitSpin);
        EXPECT_DOUBLE_EQ(s.explodeSpin, explodes ? -1.0 : before.explodeSpin);
        EXPECT_DOUBLE_EQ(s.shrinkSpin, before.shrinkSpin);
    }

    int depthInside = -1;
    {
        InverseTransitionScope on(true);
        InverseTransitionScope off(false);
        depthInside = GetInverseTransitionDepth();
    }
    EXPECT_EQ(depthInside, 1);
    EXPECT_EQ(GetInverseTransitionDepth(), 0);
}

TEST(TransitionSettings, RandomTypesAreMovingTypesAndRepeatWithTheSeed)
{
    SeedTransitionRandom(7);
    std::vector<int> first;
    bool seen[8] = {};
    for (int i = 0; i < 600; ++i)
    {
        const int type = DrawRandomTransitionType();
        ASSERT_GE(type, 2);
        ASSERT_LE(type, 7);
        seen[type] = true;
        first.push_back(type);
    }
    for (int type = 2; type <= 7; ++type)
        EXPECT_TRUE(seen[type]) << "type " << type << " never drawn";
    SeedTransitionRandom(7);
    for (int expected : first)
        ASSERT_EQ(DrawRandomTransitionType(), expected);
}

TEST(TransitionSettings, ResetForASetUpKeepsOnlyTheDefaultOccasion)
{
    ResetTransitionOccasions();
    GetTransitionOccasions()[0].duration = 9.0;
    ResetTransitionOccasionsToDefault();
    const TransitionSettings* o = GetTransitionOccasions();
    EXPECT_EQ(o[0].type, TransitionSettings::kTypeSideways);
    EXPECT_DOUBLE_EQ(o[0].duration, 0.5);
    for (int i = 1; i < kTransitionOccasionCount; ++i)
    {
        EXPECT_EQ(o[i].type, TransitionSettings::kTypeDefault) << "occasion " << i;
        EXPECT_EQ(o[i].duration, TransitionSettings::kUnset) << "occasion " << i;
        EXPECT_EQ(o[i].explodeSpin, TransitionSettings::kUnset) << "occasion " << i;
    }
    ResetTransitionOccasions();
}
