#include "kernel/CountedArray.h"
#include "kernel/GrowableArray.h"
#include "kernel/IntSet.h"
#include "kernel/LinkNode.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{
struct Item : LinkNode<Item>
{
    Item() = default;
    Item(int v, Item*& head, Item*& tail) : value(v) { ListAppend(this, head, tail); }
    int value = 0;
};

struct RingItem : RingNode<RingItem>
{
    RingItem() { RingMakeLone(this); }
    RingItem(int v, RingItem*& first) : value(v) { RingJoin(this, first); }
    int value = 0;
};

std::vector<int> Forward(Item* head)
{
    std::vector<int> out;
    for (Item* n = head; n; n = n->next)
        out.push_back(n->value);
    return out;
}

std::vector<int> Backward(Item* tail)
{
    std::vector<int> out;
    for (Item* n = tail; n; n = n->prev)
        out.push_back(n->value);
    return out;
}
}  // namespace

TEST(LinkNode, ConstructionAppendsAndInsertBeforeLinksBothWays)
{
    Item* head = nullptr;
    Item* tail = nullptr;
    Item a(1, head, tail);
    EXPECT_EQ(head, &a);
    EXPECT_EQ(tail, &a);
    Item b(2, head, tail);
    Item c(3, head, tail);
    EXPECT_EQ(Forward(head), (std::vector<int>{1, 2, 3}));

    Item d;
    d.value = 0;
    EXPECT_EQ(ListInsertBefore(head, &d, head, tail), &d);
    EXPECT_EQ(head, &d);
    Item e;
    e.value = 25;
    ListInsertBefore(&c, &e, head, tail);
    Item f;
    f.value = 4;
    ListInsertBefore<Item>(nullptr, &f, head, tail);  // null `before` appends
    EXPECT_EQ(Forward(head), (std::vector<int>{0, 1, 2, 25, 3, 4}));
    EXPECT_EQ(Backward(tail), (std::vector<int>{4, 3, 25, 2, 1, 0}));
    EXPECT_EQ(ListInsertBefore<Item>(&c, nullptr, head, tail), nullptr);

    ListRemove(&d, head, tail);
    ListRemove(&f, head, tail);
    ListRemove(&e, head, tail);
    EXPECT_EQ(Forward(head), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(Backward(tail), (std::vector<int>{3, 2, 1}));
}

TEST(RingNode, FirstNodeStaysFirstAndOrderIsInsertion)
{
    RingItem lone;
    EXPECT_EQ(lone.next, &lone);
    EXPECT_EQ(lone.prev, &lone);

    RingItem* first = nullptr;
    RingItem a(1, first), b(2, first), c(3, first);
    EXPECT_EQ(first, &a);
    std::vector<int> order;
    RingItem* n = first;
    do
    {
        order.push_back(n->value);
        n = n->next;
    } while (n != first);
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.prev, &c);
    EXPECT_EQ(c.next, &a);

    RingUnlink(&b);
    EXPECT_EQ(a.next, &c);
    EXPECT_EQ(c.prev, &a);
    EXPECT_EQ(b.next, &b);
}

TEST(IntSet, NumbersValuesByFirstAppearanceAndGrowsFromTenToTwenty)
{
    IntSet set;
    set.Init();
    EXPECT_EQ(set.Add(42), 0);
    EXPECT_EQ(set.Add(-7), 1);
    EXPECT_EQ(set.Add(42), 0);
    EXPECT_EQ(set.Count(), 2);
    EXPECT_EQ(set.Capacity(), 10);
    for (int v = 100; v < 108; ++v)
        set.Add(v);
    EXPECT_EQ(set.Capacity(), 10);
    EXPECT_EQ(set.Add(200), 10);  // the eleventh distinct value
    EXPECT_EQ(set.Capacity(), 20);
    EXPECT_EQ(set[1], -7);
    EXPECT_EQ(set.Add(107), 9);
    set.Free();
    EXPECT_EQ(set.Count(), 0);
}

TEST(CountedArray, ResizeReplacesTheRecords)
{
    CountedArray<int> a;
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.items, nullptr);
    ASSERT_TRUE(a.Resize(3));
    EXPECT_EQ(a.count, 3);
    EXPECT_EQ(a[2], 0);  // default-constructed
    a[1] = 5;
    ASSERT_TRUE(a.Resize(-1));
    EXPECT_EQ(a.count, 0);
    EXPECT_EQ(a.items, nullptr);
}

TEST(GrowableArray, KeepsValuesAcrossGrowth)
{
    GrowableArray<int> a;
    for (int i = 0; i < 100; ++i)
        ASSERT_TRUE(a.Add(i * i));
    EXPECT_EQ(a.count, 100u);
    EXPECT_GE(a.capacity, 100u);
    int sum = 0;
    for (int v : a)
        sum += v;
    EXPECT_EQ(sum, 328350);
}
