#include "kernel/Lzrw.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes FromText(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

Bytes FromHex(const char* hex)
{
    Bytes b;
    for (size_t i = 0; hex[i] && hex[i + 1]; i += 2)
        b.push_back(uint8_t(std::stoi(std::string(hex + i, 2), nullptr, 16)));
    return b;
}

uint64_t Fnv1a(const Bytes& b)
{
    uint64_t h = 1469598103934665603ull;
    for (uint8_t c : b)
        h = (h ^ c) * 1099511628211ull;
    return h;
}

class Lzrw : public ::testing::Test
{
protected:
    Bytes Compress(const Bytes& src)
    {
        Bytes dst(src.size() + kLzrwCompressSlack);
        size_t len = 0;
        EXPECT_TRUE(LzrwCompressBlock(mWork.data(), src.data(), src.size(), dst.data(), dst.size(), len));
        dst.resize(len);
        return dst;
    }

    // Decompresses into exactly capacity bytes followed by a guard that must stay untouched.
    bool Decompress(const Bytes& block, size_t capacity, Bytes& out)
    {
        // The block in a buffer of its own size, so that a sanitizer build sees any read past it.
        const std::unique_ptr<uint8_t[]> exact(new uint8_t[block.size() ? block.size() : 1]);
        if (!block.empty())
            std::memcpy(exact.get(), block.data(), block.size());
        Bytes dst(capacity + kGuard, kGuardByte);
        size_t len = 12345;
        const bool ok = LzrwDecompressBlock(mWork.data(), exact.get(), block.size(), dst.data(), capacity, len);
        for (size_t i = capacity; i < dst.size(); ++i)
            if (dst[i] != kGuardByte)
            {
                ADD_FAILURE() << "wrote past the destination at " << i;
                break;
            }
        EXPECT_LE(len, capacity);
        if (!ok)
        {
            EXPECT_EQ(len, 0u);
        }
        dst.resize(len);
        out = dst;
        return ok;
    }

    void ExpectRoundTrip(const Bytes& src)
    {
        const Bytes block = Compress(src);
        ASSERT_GE(block.size(), 4u);
        EXPECT_LE(block.size(), src.size() + 4 + 34);
        Bytes back;
        ASSERT_TRUE(Decompress(block, src.size(), back));
        EXPECT_TRUE(back == src) << "size " << src.size();
    }

    static constexpr size_t kGuard = 64;
    static constexpr uint8_t kGuardByte = 0xA5;
    Bytes mWork = Bytes(kLzrwWorkMemSize + 1);
};

// The items of a compressed block, read straight from the published format.
struct Item
{
    bool copy = false;
    uint8_t literal = 0;
    unsigned slot = 0;
    unsigned length = 0;
};

bool ParseBlock(const Bytes& block, std::vector<Item>& items)
{
    if (block.size() < 4 || block[0] || block[1] || block[2] || block[3])
        return false;
    size_t i = 4;
    while (i < block.size())
    {
        if (i + 2 > block.size())
            return false;
        const unsigned control = block[i] | unsigned(block[i + 1]) << 8;
        i += 2;
        for (int bit = 0; bit < 16 && i < block.size(); ++bit)
        {
            Item item;
            if (control & (1u << bit))
            {
                if (i + 2 > block.size())
                    return false;
                item.copy = true;
                item.slot = ((block[i] & 0xF0u) << 4) | block[i + 1];
                item.length = (block[i] & 0x0Fu) + 3;
                i += 2;
            }
            else
                item.literal = block[i++];
            items.push_back(item);
        }
    }
    return true;
}

// Text made of a small vocabulary by a 32-bit linear congruential generator.
Bytes Words(size_t n, uint32_t seed)
{
    static const char* const kWords[] = {"vertex ", "edge ",     "face ", "dual ", "stellation ",
                                         "{5/2} ",  "0.618034 ", "\n"};
    Bytes v;
    uint32_t x = seed;
    while (v.size() < n)
    {
        x = x * 1664525u + 1013904223u;
        const char* w = kWords[(x >> 24) & 7];
        v.insert(v.end(), w, w + std::strlen(w));
    }
    v.resize(n);
    return v;
}

Bytes RandomBytes(size_t n, uint32_t seed)
{
    std::mt19937 rng(seed);
    Bytes v(n);
    for (uint8_t& b : v)
        b = uint8_t(rng());
    return v;
}
}  // namespace

TEST_F(Lzrw, SourcesShorterThanSixBytesAreStored)
{
    for (size_t n = 0; n < 6; ++n)
    {
        SCOPED_TRACE(n);
        const Bytes src = FromText(std::string("aaaaa").substr(0, n));
        Bytes expected = {1, 0, 0, 0};
        expected.insert(expected.end(), src.begin(), src.end());
        EXPECT_EQ(Compress(src), expected);
        ExpectRoundTrip(src);
    }
}

TEST_F(Lzrw, RandomDataIsStoredVerbatim)
{
    for (size_t n : {6u, 100u, 5000u, 300000u})
    {
        SCOPED_TRACE(n);
        const Bytes src = RandomBytes(n, uint32_t(n));
        const Bytes block = Compress(src);
        ASSERT_EQ(block.size(), n + 4);
        EXPECT_EQ(Bytes(block.begin(), block.begin() + 4), Bytes({1, 0, 0, 0}));
        EXPECT_TRUE(Bytes(block.begin() + 4, block.end()) == src);
        ExpectRoundTrip(src);
    }
}

TEST_F(Lzrw, ThousandEqualBytesGiveThreeLiteralsThenFullCopies)
{
    const Bytes src(1000, 'a');
    const Bytes block = Compress(src);
    std::vector<Item> items;
    ASSERT_TRUE(ParseBlock(block, items));

    // 997 = 55 * 18 + 7: the last 7 bytes are too near the end to be searched.
    ASSERT_EQ(items.size(), 3u + 55u + 7u);
    const unsigned partition = ((40543u * (('a' << 8) ^ ('a' << 4) ^ 'a')) >> 4) & 0x1FF;
    for (size_t i = 0; i < items.size(); ++i)
    {
        SCOPED_TRACE(i);
        const bool copy = i >= 3 && i < 58;
        EXPECT_EQ(items[i].copy, copy);
        if (copy)
        {
            EXPECT_EQ(items[i].length, 18u);
            EXPECT_EQ(items[i].slot / 8, partition);
        }
        else
            EXPECT_EQ(items[i].literal, 'a');
    }
    // The first copy uses the way written by the first insertion.
    EXPECT_EQ(items[3].slot, partition * 8);
    // Flag, five control words (16 + 16 + 16 + 16 + 1 items), 10 literals, 55 copies.
    EXPECT_EQ(block.size(), 4u + 10u + 10u + 110u);
    ExpectRoundTrip(src);
}

// Blocks made by the published reference implementation from the same sources.
TEST_F(Lzrw, CompressionMatchesTheReferenceImplementation)
{
    struct Case
    {
        const char* name;
        Bytes source;
        const char* block;
    };
    const Case kCases[] = {
        {"repeated phrase", FromText("Hello world! Hello world! Hello world! Hello world!"),
         "00000000006048656c6c6f20776f726c6421208f203f4564feff21"},
        {"starts with the start text", FromText("123456789012345678123456789 vertex 123456789012"),
         "0000000003007f8076802076657274657820313233343536c0ff373839303132"},
        {"run then repeats", FromText(std::string(40, 'z') + "abcabcabcabcabcabcabc"),
         "0000000018fe7a7a7afff0fff07a6162635fee"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Compress(c.source), FromHex(c.block));
        ExpectRoundTrip(c.source);
    }

    struct Large
    {
        size_t size;
        size_t blockSize;
        uint64_t fnv;
    };
    const Large kLarge[] = {{3000, 706, 0x2dd4207095c179a6ull}, {100000, 19133, 0x460c62b00634c668ull}};
    for (const Large& c : kLarge)
    {
        SCOPED_TRACE(c.size);
        const Bytes block = Compress(Words(c.size, 7));
        EXPECT_EQ(block.size(), c.blockSize);
        EXPECT_EQ(Fnv1a(block), c.fnv);
    }
}

TEST_F(Lzrw, CopiesFromTheStartTextDecompress)
{
    const Bytes src = FromText("123456789012345678123456789 vertex 123456789012");
    std::vector<Item> items;
    ASSERT_TRUE(ParseBlock(Compress(src), items));
    ASSERT_FALSE(items.empty());
    EXPECT_TRUE(items[0].copy);
    EXPECT_EQ(items[0].length, 18u);

    // A hand-made block whose only item copies the start text.
    Bytes out;
    ASSERT_TRUE(Decompress(FromHex("00000000010005ff"), 8, out));
    EXPECT_EQ(out, FromText("12345678"));
}

TEST_F(Lzrw, EveryBlockRoundTrips)
{
    std::mt19937 rng(99);
    // Sizes around the item and group limits, and the edges of the 16-item loops.
    const size_t kSizes[] = {6, 7, 17, 18, 19, 20, 35, 36, 37, 287, 288, 289, 290, 305, 306, 1023, 1024, 4097};
    for (size_t n : kSizes)
    {
        SCOPED_TRACE(n);
        ExpectRoundTrip(Words(n, uint32_t(n)));
        ExpectRoundTrip(Bytes(n, 0));
        ExpectRoundTrip(RandomBytes(n, uint32_t(n)));
        Bytes pattern(n);
        for (size_t i = 0; i < n; ++i)
            pattern[i] = uint8_t("123456789012345678"[i % 18]);
        ExpectRoundTrip(pattern);
    }

    for (int trial = 0; trial < 300; ++trial)
    {
        const size_t n = rng() % 3000;
        Bytes src(n);
        const int alphabet = 1 + int(rng() % 6);
        for (size_t i = 0; i < n; ++i)
        {
            const unsigned back = 1 + rng() % 40;
            // Mostly short repeats of what came before, with fresh bytes mixed in.
            src[i] = i >= back && rng() % 8 ? src[i - back] : uint8_t('a' + rng() % alphabet);
        }
        SCOPED_TRACE(trial);
        ExpectRoundTrip(src);
    }

    // Several megabytes: text, then text with random stretches, then a slow ramp.
    Bytes big = Words(3 << 20, 3);
    ExpectRoundTrip(big);
    for (size_t at = 0; at + 5000 < big.size(); at += 70001)
    {
        const Bytes noise = RandomBytes(5000, uint32_t(at));
        std::copy(noise.begin(), noise.end(), big.begin() + long(at));
    }
    ExpectRoundTrip(big);
    Bytes ramp(2 << 20);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = uint8_t(i / 1000);
    ExpectRoundTrip(ramp);
}

TEST_F(Lzrw, WorkingMemoryNeedNotBeAligned)
{
    const Bytes src = Words(5000, 11);
    Bytes reference = Compress(src);
    Bytes work(kLzrwWorkMemSize + 8);
    for (size_t offset = 0; offset < 4; ++offset)
    {
        Bytes dst(src.size() + kLzrwCompressSlack);
        size_t len = 0;
        ASSERT_TRUE(LzrwCompressBlock(work.data() + offset, src.data(), src.size(), dst.data(), dst.size(), len));
        dst.resize(len);
        EXPECT_EQ(dst, reference);
    }
}

TEST_F(Lzrw, DamagedBlocksNeverReadOrWriteOutOfBounds)
{
    const Bytes src = Words(4000, 5);
    const Bytes block = Compress(src);
    ASSERT_EQ(block[0], 0);

    // A cut block decompresses to a prefix of the source at most.
    for (size_t cut = 0; cut < block.size(); ++cut)
    {
        SCOPED_TRACE(cut);
        Bytes out;
        if (Decompress(Bytes(block.begin(), block.begin() + long(cut)), src.size(), out))
        {
            EXPECT_LT(out.size(), src.size());
            EXPECT_TRUE(std::equal(out.begin(), out.end(), src.begin()));
        }
    }

    // Too little room is refused, however little is missing.
    for (size_t capacity : {size_t(0), size_t(1), size_t(17), src.size() / 2, src.size() - 1})
    {
        SCOPED_TRACE(capacity);
        Bytes out;
        EXPECT_FALSE(Decompress(block, capacity, out));
    }
    const Bytes stored = Compress(RandomBytes(100, 1));
    Bytes out;
    EXPECT_FALSE(Decompress(stored, 99, out));
    EXPECT_TRUE(Decompress(stored, 100, out));

    // Damaged bytes anywhere: any result, but within bounds.
    std::mt19937 rng(4);
    for (int trial = 0; trial < 2000; ++trial)
    {
        Bytes bad = block;
        const int flips = 1 + int(rng() % 8);
        for (int f = 0; f < flips; ++f)
            bad[4 + rng() % (bad.size() - 4)] ^= uint8_t(1 + rng() % 255);
        Decompress(bad, src.size() + size_t(rng() % 64), out);
    }
    // Random blocks, mostly copy items.
    for (int trial = 0; trial < 2000; ++trial)
    {
        Bytes bad = RandomBytes(4 + rng() % 200, uint32_t(trial));
        bad[0] = bad[1] = bad[2] = bad[3] = 0;
        Decompress(bad, rng() % 3000, out);
    }
}

TEST_F(Lzrw, MalformedBlocksAreRefused)
{
    struct Case
    {
        const char* name;
        const char* block;
        size_t capacity;
    };
    const Case kCases[] = {
        {"shorter than the flag word", "000000", 10},
        {"unknown flag word", "02000000616263", 10},
        {"flag word with high bits", "00000001616263", 10},
        {"control word and nothing else", "000000000000", 10},
        {"half a control word", "0000000000", 10},
        {"copy item cut in half", "000000000100ff", 10},
        {"group ends on a control word", "000000000000616263646566676869707172737475760000", 40},
        {"copy longer than the room", "0000000001000fff", 17},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Bytes out;
        EXPECT_FALSE(Decompress(FromHex(c.block), c.capacity, out));
    }

    // The smallest blocks that are valid.
    Bytes out;
    EXPECT_TRUE(Decompress(FromHex("01000000"), 0, out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(Decompress(FromHex("00000000"), 0, out));
    EXPECT_TRUE(out.empty());
    EXPECT_TRUE(Decompress(FromHex("00000000000061"), 1, out));
    EXPECT_EQ(out, FromText("a"));
}

TEST_F(Lzrw, OneEntryPointForBothDirections)
{
    const Bytes src = Words(2000, 9);
    Bytes block(src.size() + kLzrwCompressSlack);
    size_t len = 0;
    ASSERT_TRUE(LzrwCompress(kLzrwCompressAction, mWork.data(), src.data(), src.size(), block.data(), block.size(), len));
    block.resize(len);
    EXPECT_EQ(block, Compress(src));

    Bytes back(src.size());
    ASSERT_TRUE(LzrwCompress(kLzrwDecompressAction, mWork.data(), block.data(), block.size(), back.data(), back.size(), len));
    EXPECT_EQ(len, src.size());
    EXPECT_EQ(back, src);

    Bytes untouched(10, 7);
    len = 5;
    EXPECT_FALSE(LzrwCompress(3, mWork.data(), src.data(), src.size(), untouched.data(), untouched.size(), len));
    EXPECT_EQ(untouched, Bytes(10, 7));
}

TEST_F(Lzrw, CompressionRefusesADestinationWithoutTheSlack)
{
    ScopedScriptedServices scope;
    const Bytes src = Words(100, 1);
    Bytes dst(src.size() + kLzrwCompressSlack - 1);
    size_t len = 9;
    EXPECT_FALSE(LzrwCompressBlock(mWork.data(), src.data(), src.size(), dst.data(), dst.size(), len));
    EXPECT_EQ(len, 0u);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 1);
}
