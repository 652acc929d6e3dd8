#include "kernel/RadixSort.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <random>
#include <vector>

namespace
{
std::vector<uint32_t> Ranks(const RadixSort& sorter, uint32_t n)
{
    return std::vector<uint32_t>(sorter.Ranks(), sorter.Ranks() + n);
}

struct Node
{
    float key = 0;
    Node* next = nullptr;
    Node* prev = nullptr;
};
}  // namespace

TEST(RadixSort, SortsSignedKeysWithNegativeZeroFirst)
{
    const float keys[] = {3, -1, -2, 0, -0.0f, 2};
    RadixSort sorter;
    ASSERT_TRUE(sorter.Sort(keys, 6));
    EXPECT_EQ(Ranks(sorter, 6), (std::vector<uint32_t>{2, 1, 4, 3, 5, 0}));
    EXPECT_EQ(sorter.Hits(), 0u);

    // Unchanged keys: the previous order still holds, counted as a hit.
    ASSERT_TRUE(sorter.Sort(keys, 6));
    EXPECT_EQ(sorter.Hits(), 1u);
    EXPECT_EQ(sorter.TotalSorts(), 2u);
    EXPECT_EQ(Ranks(sorter, 6), (std::vector<uint32_t>{2, 1, 4, 3, 5, 0}));
}

TEST(RadixSort, AllNegativeWithOneTopByteReverses)
{
    const float keys[] = {-1.5f, -1.25f, -1.75f};
    RadixSort sorter;
    ASSERT_TRUE(sorter.Sort(keys, 3));
    EXPECT_EQ(Ranks(sorter, 3), (std::vector<uint32_t>{2, 0, 1}));
}

TEST(RadixSort, AgreesWithAStableSortOnRandomKeys)
{
    std::mt19937 random(12345);
    std::uniform_real_distribution<float> wide(-1e6f, 1e6f);
    std::uniform_int_distribution<int> small(-3, 3);
    RadixSort sorter;
    for (int round = 0; round < 20; ++round)
    {
        const uint32_t n = 1 + uint32_t(random() % 3000);
        std::vector<float> keys(n);
        for (float& k : keys)
            k = (round % 2) ? wide(random) : float(small(random)) * 0.5f;  // many equal keys on odd rounds
        ASSERT_TRUE(sorter.Sort(keys.data(), n));
        const std::vector<uint32_t> ranks = Ranks(sorter, n);
        for (uint32_t i = 1; i < n; ++i)
            ASSERT_LE(keys[ranks[i - 1]], keys[ranks[i]]) << "round " << round << " at " << i;
        std::vector<uint32_t> sorted = ranks;
        std::sort(sorted.begin(), sorted.end());
        std::vector<uint32_t> all(n);
        std::iota(all.begin(), all.end(), 0u);
        ASSERT_EQ(sorted, all);  // a permutation
    }
}

TEST(RadixSort, SortListRelinksOrLeavesTheListAlone)
{
    Node nodes[5];
    const float keys[] = {4, -2, 7, 0, 1};
    for (int i = 0; i < 5; ++i)
    {
        nodes[i].key = keys[i];
        nodes[i].next = i < 4 ? &nodes[i + 1] : nullptr;
        nodes[i].prev = i > 0 ? &nodes[i - 1] : nullptr;
    }
    auto unused = [](const Node*) { return 0.0f; };

    RadixSort sorter;
    Node* last = nullptr;
    // Order only: the list stays, the order is read from ranks and objects.
    EXPECT_EQ(sorter.SortList(&nodes[0], 0, 1, &Node::key, unused, &Node::next, &Node::prev, &last), &nodes[0]);
    EXPECT_EQ(nodes[0].next, &nodes[1]);
    EXPECT_EQ(static_cast<Node*>(sorter.Objects()[sorter.Ranks()[0]]), &nodes[1]);

    // Relinked through a key function (farthest first is the caller's negated key).
    Node* first = sorter.SortList(&nodes[0], 5, 0, static_cast<float Node::*>(nullptr),
                                  [](const Node* n) { return -n->key; }, &Node::next, &Node::prev, &last);
    std::vector<float> order;
    for (Node* n = first; n; n = n->next)
        order.push_back(n->key);
    EXPECT_EQ(order, (std::vector<float>{7, 4, 1, 0, -2}));
    EXPECT_EQ(last, &nodes[1]);
    EXPECT_EQ(first->prev, nullptr);
    EXPECT_EQ(last->prev->key, 0);

    // Fewer nodes than the count given.
    EXPECT_EQ(sorter.SortList(first, 9, 0, &Node::key, unused, &Node::next, &Node::prev, &last), nullptr);
    EXPECT_EQ(sorter.SortList<Node>(nullptr, 3, 0, &Node::key, unused, &Node::next, &Node::prev, &last), nullptr);
    EXPECT_EQ(last, nullptr);
}
