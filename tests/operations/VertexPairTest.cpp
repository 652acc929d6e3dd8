#include "operations/VertexPair.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace
{
std::vector<std::pair<int, int>> Pairs(const VertexPair* list)
{
    std::vector<std::pair<int, int>> pairs;
    for (; list; list = list->mNext)
        pairs.emplace_back(list->mLow, list->mHigh);
    return pairs;
}
}  // namespace

TEST(VertexPairTest, EachPairOnceNewestFirst)
{
    VertexPair* list = nullptr;
    EXPECT_EQ(CountVertexPairs(list), 0);
    FreeVertexPairs(list);
    EXPECT_EQ(list, nullptr);

    ASSERT_TRUE(AddVertexPair(5, 2, 0x0000ff, list));
    ASSERT_TRUE(AddVertexPair(2, 5, 0x00ff00, list));
    ASSERT_EQ(CountVertexPairs(list), 1);
    EXPECT_EQ(list->mLow, 2);
    EXPECT_EQ(list->mHigh, 5);
    EXPECT_EQ(list->mValue, 0x0000ff);  // the first value stays
    FreeVertexPairs(list);

    AddVertexPair(1, 2, 0, list);
    AddVertexPair(3, 4, 0, list);
    AddVertexPair(5, 6, 0, list);
    AddVertexPair(7, 7, 0, list);
    AddVertexPair(4, 3, 0, list);
    EXPECT_EQ(Pairs(list), (std::vector<std::pair<int, int>>{{7, 7}, {5, 6}, {3, 4}, {1, 2}}));
    EXPECT_EQ(CountVertexPairs(list), 4);
    FreeVertexPairs(list);
    EXPECT_EQ(list, nullptr);
}
