#include "operations/PickedPoints.h"

#include <gtest/gtest.h>

#include <cfloat>

TEST(PickedPointsTest, SetsAreBoundToTheirPoolEntries)
{
    ResetMeasurement();
    PickedPoints* sets = GetPickedSets();
    Vec4D* pool = GetMeasurePoints();
    for (int k = 0; k < kNumPickedSets; ++k)
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(&sets[k].GetPoint(i), &pool[4 * k + 6 + i]) << k << " " << i;

    PickedPoints own;
    own.Init(1);
    EXPECT_EQ(&own.GetPoint(3), &pool[13]);
    for (int i = 0; i < kNumMeasurePoints; ++i)
    {
        EXPECT_EQ(pool[i].x, DBL_MAX);
        EXPECT_EQ(pool[i].y, 0.0);
        EXPECT_EQ(pool[i].w, 0.0);
    }
}

TEST(PickedPointsTest, ResetUnsetsTheSetsPoints)
{
    ResetMeasurement();
    PickedPoints& set = GetPickedSets()[2];
    EXPECT_FALSE(set.AllSet());
    Vec4D centre;
    set.Centroid(centre);
    EXPECT_EQ(centre.x, 0.0);
    EXPECT_EQ(centre.w, 0.0);

    set.GetPoint(0) = Vec4D{1, 2, 3, 0};
    set.GetPoint(1) = Vec4D{3, 2, 1, 4};
    set.mCount = 2;
    EXPECT_TRUE(set.AllSet());
    set.Centroid(centre);
    EXPECT_EQ(centre.x, 2.0);
    EXPECT_EQ(centre.y, 2.0);
    EXPECT_EQ(centre.z, 2.0);
    EXPECT_EQ(centre.w, 2.0);
    set.mCount = 3;  // the third point is unset
    EXPECT_FALSE(set.AllSet());

    GetMeasurePoints()[0] = Vec4D{1, 1, 1, 1};
    MeasureSegment() = 1;
    MeasureAngle() = 0.25;
    set.Reset();
    EXPECT_EQ(set.mCount, 0);
    EXPECT_FALSE(IsMeasurePointSet(set.GetPoint(0)));
    EXPECT_FALSE(IsMeasurePointSet(set.GetPoint(1)));
    EXPECT_TRUE(IsMeasurePointSet(GetMeasurePoints()[0]));  // not the set's
    ResetMeasurement();
    EXPECT_FALSE(IsMeasurePointSet(GetMeasurePoints()[0]));
    EXPECT_EQ(MeasureSegment(), 0);
    EXPECT_EQ(MeasureAngle(), DBL_MAX);
}

TEST(PickedPointsTest, MeasuredSegmentNeedsBothEnds)
{
    ResetMeasurement();
    Vec4D a, b;
    EXPECT_FALSE(GetMeasuredSegment(a, b));
    EXPECT_EQ(GetMeasuredDistance(), DBL_MAX);

    Vec4D* pool = GetMeasurePoints();
    MeasureSegment() = 2;
    pool[2] = Vec4D{1, 2, 3, 4};
    EXPECT_FALSE(GetMeasuredSegment(a, b));
    pool[3] = Vec4D{1, 5, 7, 4};
    ASSERT_TRUE(GetMeasuredSegment(a, b));
    EXPECT_EQ(a.y, 2.0);
    EXPECT_EQ(b.z, 7.0);
    EXPECT_DOUBLE_EQ(GetMeasuredDistance(), 5.0);

    pool[3] = Vec4D{1, 2, 3, 4 + 1e-9};
    EXPECT_EQ(GetMeasuredDistance(), 0.0);
    // The two items meet: no segment.
    MeasureSegment() = -1;
    EXPECT_FALSE(GetMeasuredSegment(a, b));
    ResetMeasurement();
}
