#include "kernel/ChunkPool.h"

#include <gtest/gtest.h>

TEST(ChunkPool, GrowsByAtLeastDoubleWhatWasTried)
{
    ChunkPool<int> pool;
    EXPECT_EQ(pool.ChunkSize(), 120u);

    int* a = pool.Alloc(200);
    ASSERT_NE(a, nullptr);
    ASSERT_EQ(pool.NumChunks(), 1);
    EXPECT_EQ(pool.ChunkCapacity(0), 400u);
    EXPECT_EQ(pool.ChunkUsed(0), 200u);

    int* b = pool.Alloc(250);  // 200 + 250 > 400
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(pool.NumChunks(), 2);
    EXPECT_EQ(pool.ChunkCapacity(0), 1300u);  // max(120, 2 * (250 + 400)), placed first
    EXPECT_EQ(pool.ChunkCapacity(1), 400u);

    int* c = pool.Alloc(10);  // fits the current, newest chunk
    EXPECT_EQ(c, b + 250);
    EXPECT_EQ(pool.ChunkUsed(0), 260u);

    // Small requests on a fresh pool share one chunk of the chunk size.
    ChunkPool<int> small;
    int* p = small.Alloc(1);
    int* q = small.Alloc(1);
    EXPECT_EQ(q, p + 1);
    EXPECT_EQ(small.ChunkCapacity(0), 120u);
}

TEST(ChunkPool, ResetStartsAtTheNewestChunkAndKeepsMemory)
{
    ChunkPool<int> pool;
    int* old = pool.Alloc(200);
    int* newest = pool.Alloc(250);
    pool.Reset();
    EXPECT_EQ(pool.NumChunks(), 2);
    EXPECT_EQ(pool.ChunkUsed(0), 0u);
    EXPECT_EQ(pool.ChunkUsed(1), 0u);

    EXPECT_EQ(pool.Alloc(1000), newest);
    // The newest cannot hold 400 more; the older chunk is used next.
    EXPECT_EQ(pool.Alloc(400), old);
    EXPECT_EQ(pool.NumChunks(), 2);
    // Space passed over stays unused until the next reset: a request that fits neither makes a new chunk.
    EXPECT_NE(pool.Alloc(300), nullptr);
    EXPECT_EQ(pool.NumChunks(), 3);
}

TEST(ChunkPool, ItemsOfClassTypeAreConstructedOnceAndFreedWithThePool)
{
    static int constructed = 0;
    static int destroyed = 0;
    struct Counted
    {
        Counted() { ++constructed; }
        ~Counted() { ++destroyed; }
        int value = 7;
    };
    {
        ChunkPool<Counted> pool(10);
        Counted* items = pool.Alloc(3);
        EXPECT_EQ(constructed, 10);
        EXPECT_EQ(items[2].value, 7);
        items[0].value = 99;
        pool.Reset();
        // Handed out anew without being constructed again.
        EXPECT_EQ(pool.Alloc(1)->value, 99);
        EXPECT_EQ(constructed, 10);
        pool.Free();
        EXPECT_EQ(destroyed, 10);
        EXPECT_EQ(pool.ChunkSize(), 120u);
        EXPECT_EQ(pool.NumChunks(), 0);
    }
    EXPECT_EQ(destroyed, 10);
}
