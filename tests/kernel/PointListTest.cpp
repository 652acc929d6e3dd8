#include "kernel/PointList.h"
#include "kernel/Tolerance.h"

#include <gtest/gtest.h>

TEST(PointList, KeepsDistinctPointsInOrder)
{
    PointList list;
    list.Init(kTol);
    EXPECT_EQ(list.Find({1, 2, 3}), -1);

    bool isNew = false;
    EXPECT_EQ(list.Add({1, 2, 3}, &isNew), 0);
    EXPECT_TRUE(isNew);
    EXPECT_EQ(list.Add({1e-9, 2, 3}, &isNew), 1);
    EXPECT_TRUE(isNew);
    EXPECT_EQ(list.Add({4, 5, 6}), 2);

    // Within tolerance of a stored point: its index, nothing added.
    EXPECT_EQ(list.Add({1 + 5e-8, 2 - 1e-7, 3}, &isNew), 0);
    EXPECT_FALSE(isNew);
    EXPECT_EQ(list.Add({0, 2, 3 + 2e-7}, &isNew), 3);  // just beyond it
    EXPECT_TRUE(isNew);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Find({4, 5, 6 + 1e-8}), 2);

    // Components near zero are stored as exactly zero.
    const PointListNode* second = list.First()->next;
    EXPECT_EQ(second->point.x, 0.0);
    EXPECT_EQ(second->point.y, 2.0);

    int n = 0;
    for (const PointListNode* node = list.First(); node; node = node->next)
        ++n;
    EXPECT_EQ(n, 4);

    list.Free();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.First(), nullptr);
    EXPECT_EQ(list.Add({4, 5, 6}), 0);
}

TEST(PointList, TheFirstMatchWinsWhenPointsLieCloseTogether)
{
    PointList list;
    list.Init(1.0);
    EXPECT_EQ(list.Add({0, 0, 0}), 0);
    EXPECT_EQ(list.Add({1.5, 0, 0}), 1);
    // Within 1 of both stored points.
    EXPECT_EQ(list.Find({0.8, 0, 0}), 0);
    EXPECT_EQ(list.Find({1.2, 0, 0}), 1);
    EXPECT_EQ(list.Find({2.6, 0, 0}), -1);
    // Stored as given, apart from components within tolerance of 0.
    EXPECT_EQ(list.Add({5, 0.5, -0.9}), 2);
    const PointListNode* third = list.First()->next->next;
    EXPECT_EQ(third->point.x, 5.0);
    EXPECT_EQ(third->point.y, 0.0);
    EXPECT_EQ(third->point.z, 0.0);
}
