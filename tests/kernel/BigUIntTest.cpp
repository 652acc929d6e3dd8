#include "kernel/BigUInt.h"
#include "kernel/ScriptedServices.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>

namespace
{
using U128 = unsigned __int128;

std::string Text(const BigUInt& n)
{
    std::vector<char> buffer(size_t(n.NumDecimalDigits()) + 1);
    return n.ToText(buffer.data(), int(buffer.size()));
}

std::string Text128(U128 v)
{
    std::string s;
    do
    {
        s.insert(s.begin(), char('0' + int(v % 10)));
        v /= 10;
    } while (v);
    return s;
}

// Value of the words, for values known to fit 128 bits; leading zero words are allowed.
U128 Value(const BigUInt& n)
{
    U128 v = 0;
    for (int i = n.NumWords() - 1; i >= 0; --i)
    {
        if (i >= 4)
        {
            EXPECT_EQ(n.Word(i), 0u) << "value does not fit 128 bits";
            continue;
        }
        v = (v << 32) | n.Word(i);
    }
    return v;
}

BigUInt From(U128 v)
{
    BigUInt n;
    n.FromText(Text128(v).c_str());
    return n;
}

BigUInt Factorial(uint32_t k)
{
    BigUInt n;
    n.FromText("1");
    for (uint32_t i = 2; i <= k; ++i)
        n.MulWord(i);
    return n;
}
}  // namespace

TEST(BigUIntTest, ReadsTextInEachBase)
{
    struct Case
    {
        const char* text;
        uint64_t value;
    };
    const Case kCases[] = {
        {"  123", 123},     {"0x1F", 31},       {"0X1f", 31},      {"017", 15},   {"0", 0},
        {"0x1g", 1},        {"09", 0},          {"", 0},           {"abc", 0},    {"-5", 0},
        {"\t\n42xyz", 42},  {"0xffffffffffffffff", 0xffffffffffffffffull},
        {"01777777777777777777777", 0xffffffffffffffffull},  {"4294967296", 0x100000000ull},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.text);
        BigUInt n;
        n.FromText(c.text);
        EXPECT_EQ(Value(n), U128(c.value));
        EXPECT_GE(n.NumWords(), 1);
    }

    BigUInt big;
    big.FromText("340282366920938463463374607431768211455");  // 2^128 - 1
    EXPECT_EQ(Value(big), ~U128(0));
}

TEST(BigUIntTest, NewValueIsZero)
{
    const BigUInt n;
    EXPECT_EQ(n.NumWords(), 0);
    EXPECT_TRUE(n.IsZero());
    EXPECT_EQ(n.NumDecimalDigits(), 1);
    EXPECT_EQ(Text(n), "0");
}

TEST(BigUIntTest, AddingOneToAFullWordCarriesIntoASecondWord)
{
    BigUInt n;
    n.FromText("0xffffffff");
    n.AddWord(1);
    ASSERT_EQ(n.NumWords(), 2);
    EXPECT_EQ(n.Word(0), 0u);
    EXPECT_EQ(n.Word(1), 1u);
}

TEST(BigUIntTest, PowersAndFactorialsMatchPublishedValues)
{
    BigUInt p;
    p.FromText("1");
    for (int i = 0; i < 100; ++i)
        p.MulWord(2);
    EXPECT_EQ(Text(p), "1267650600228229401496703205376");
    EXPECT_EQ(p.NumDecimalDigits(), 31);

    BigUInt q;
    q.FromText("1");
    q.ShiftLeft(31);
    q.ShiftLeft(31);
    q.ShiftLeft(31);
    q.ShiftLeft(7);
    EXPECT_EQ(Text(q), "1267650600228229401496703205376");

    EXPECT_EQ(Text(Factorial(30)), "265252859812191058636308480000000");
    EXPECT_EQ(Text(Factorial(50)), "30414093201713378043612608166064768844377641568960512000000000000");

    // 50! / 49! by repeated division.
    BigUInt f = Factorial(50);
    for (uint32_t i = 2; i <= 49; ++i)
        EXPECT_EQ(f.DivWord(i), 0u);
    EXPECT_EQ(Text(f), "50");
    EXPECT_EQ(f.NumWords(), 1);
}

TEST(BigUIntTest, DivisionGivesQuotientAndRemainder)
{
    BigUInt n;
    n.FromText("1234567");
    EXPECT_EQ(n.DivWord(10), 7u);
    EXPECT_EQ(Text(n), "123456");
    EXPECT_EQ(n.DivWord(0), 0u);
    EXPECT_EQ(Text(n), "123456");
}

TEST(BigUIntTest, SubtractingALargerValueIsAnInternalErrorAndLeavesZero)
{
    ScopedScriptedServices scope;
    BigUInt a, b;
    a.FromText("3");
    b.FromText("5");
    a -= b;
    EXPECT_TRUE(a.IsZero());
    EXPECT_EQ(a.NumWords(), 1);
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_NE(scope.services.LastCall()->text.find("BigUInt::operator-=: must not become negative"),
              std::string::npos);

    // Larger through a word above this value's count.
    BigUInt small, wide;
    small.FromText("7");
    wide.FromText("0x100000000");
    small -= wide;
    EXPECT_TRUE(small.IsZero());
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 2);

    // Equal values and a wider other with zero words above are fine.
    BigUInt c, d;
    c.FromText("0x123456789");
    d.FromText("0x123456789");
    d.Grow(3);
    c -= d;
    EXPECT_TRUE(c.IsZero());
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 2);
}

TEST(BigUIntTest, TextIntoShortBuffers)
{
    BigUInt n;
    n.FromText("1234567");
    struct Case
    {
        int size;
        const char* text;
    };
    const Case kCases[] = {{8, "1234567"}, {20, "1234567"}, {7, ">99999"}, {5, ">999"}, {3, ">9"}, {2, ">"}, {1, ""}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.size);
        char buffer[32];
        std::memset(buffer, '#', sizeof buffer);
        EXPECT_EQ(n.ToText(buffer, c.size), buffer);
        EXPECT_STREQ(buffer, c.text);
        EXPECT_EQ(buffer[c.size], '#') << "wrote past the buffer";
    }

    char untouched[4] = {'#', '#', '#', '#'};
    n.ToText(untouched, 0);
    EXPECT_EQ(std::string(untouched, 4), "####");
}

TEST(BigUIntTest, LeadingZeroWordsReadAsZero)
{
    BigUInt n;
    n.FromText("42");
    n.Grow(5);
    EXPECT_EQ(n.NumWords(), 6);
    EXPECT_EQ(Text(n), "42");
    EXPECT_EQ(n.NumDecimalDigits(), 2);
    n.Trim();
    EXPECT_EQ(n.NumWords(), 1);

    BigUInt zero;
    zero.FromText("0");
    zero.Grow(2);
    zero.Trim();
    EXPECT_EQ(zero.NumWords(), 1);
    EXPECT_EQ(Text(zero), "0");
}

TEST(BigUIntTest, CopiesAreDeep)
{
    BigUInt a;
    a.FromText("99999999999999999999");
    BigUInt b = a;
    b.AddWord(1);
    EXPECT_EQ(Text(a), "99999999999999999999");
    EXPECT_EQ(Text(b), "100000000000000000000");
    a = b;
    b.MulWord(3);
    EXPECT_EQ(Text(a), "100000000000000000000");
}

// Every operation agrees with 128-bit arithmetic on random operands.
TEST(BigUIntTest, AgreesWithWideIntegerArithmetic)
{
    std::mt19937_64 rng(20240917);
    auto random128 = [&](int bits) {
        U128 v = (U128(rng()) << 64) | rng();
        return bits >= 128 ? v : v & ((U128(1) << bits) - 1);
    };
    for (int trial = 0; trial < 2000; ++trial)
    {
        const int bits = 1 + int(rng() % 120);
        const U128 x = random128(bits);
        const U128 y = random128(1 + int(rng() % 120));
        const uint32_t small = 1 + uint32_t(rng() % 65535);
        const int shift = 1 + int(rng() % 31);
        SCOPED_TRACE(Text128(x) + " " + Text128(y));

        EXPECT_EQ(Text(From(x)), Text128(x));
        EXPECT_EQ(From(x).NumDecimalDigits(), int(Text128(x).size()));

        if (x <= ~U128(0) - y)
        {
            BigUInt s = From(x);
            s += From(y);
            EXPECT_EQ(Value(s), x + y);
        }
        if (x >= y)
        {
            BigUInt d = From(x);
            d -= From(y);
            EXPECT_EQ(Value(d), x - y);
        }
        if (bits + 17 <= 128)
        {
            BigUInt m = From(x);
            m.MulWord(small);
            EXPECT_EQ(Value(m), x * small);
        }
        BigUInt q = From(x);
        EXPECT_EQ(q.DivWord(small), uint32_t(x % small));
        EXPECT_EQ(Value(q), x / small);
        if (bits + shift <= 128)
        {
            BigUInt l = From(x);
            l.ShiftLeft(shift);
            EXPECT_EQ(Value(l), x << shift);
        }
        const uint32_t w = uint32_t(rng());
        if (x <= ~U128(0) - w)
        {
            BigUInt a = From(x);
            a.AddWord(w);
            EXPECT_EQ(Value(a), x + w);
        }
    }
}
