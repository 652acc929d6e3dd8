#include "kernel/Strings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>

TEST(Strings, BlankAndSpaceTests)
{
    EXPECT_TRUE(IsBlank(static_cast<const char*>(nullptr)));
    EXPECT_TRUE(IsBlank(""));
    EXPECT_TRUE(IsBlank(" \t \r\n\v\f"));
    EXPECT_FALSE(IsBlank(" x "));
    // A non-breaking space of Latin-1 is text, not white space.
    EXPECT_FALSE(IsBlank("\xA0"));
    EXPECT_FALSE(IsBlank(std::string(" \xA0 ")));
    EXPECT_TRUE(IsBlank(std::string("\t ")));
    EXPECT_FALSE(IsSpaceAscii('\x85'));

    const char* text = "  42abc def";
    EXPECT_STREQ(SkipSpaces(text), "42abc def");
    EXPECT_STREQ(SkipDigits(SkipSpaces(text)), "abc def");
    EXPECT_STREQ(SkipToSpace(SkipSpaces(text)), " def");
    EXPECT_STREQ(SkipToSpace("word"), "");

    char buffer[] = "keep  \t\r\n";
    TrimTrailingSpaces(buffer);
    EXPECT_STREQ(buffer, "keep");
    TrimTrailingSpaces(static_cast<char*>(nullptr));  // ignored
    std::string s = "\xE9\xE9 ";
    TrimTrailingSpaces(s);
    EXPECT_EQ(s, "\xE9\xE9");
}

TEST(Strings, TrailingZerosAndRealNumbers)
{
    struct Case
    {
        const char* in;
        int keep;
        const char* out;
    };
    const Case cases[] = {
        {"3.0", 0, "3"},     {"1.500", 0, "1.5"},   {"2.000", 0, "2"}, {"10", 0, "10"},   {"1.25", 0, "1.25"},
        {"100", 0, "100"},   {"2.000", 2, "2.00"}, {"0.10", 1, "0.1"}, {"5.", 0, "5"},    {"-0.500", 0, "-0.5"},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.in);
        char buffer[32];
        std::strcpy(buffer, c.in);
        TrimTrailingZeros(buffer, c.keep);
        EXPECT_STREQ(buffer, c.out);
        std::string s = c.in;
        TrimTrailingZeros(s, c.keep);
        EXPECT_EQ(s, c.out);
    }

    EXPECT_EQ(FormatReal(1.5, 6), "1.5");
    EXPECT_EQ(FormatReal(2.0, 3), "2");
    EXPECT_EQ(FormatReal(-0.5, 3), "-0.5");
    EXPECT_EQ(FormatReal(2.5e10, 6), "2.5e+10");
    EXPECT_EQ(FormatReal(-3e11, 2), "-3e+11");
    EXPECT_EQ(FormatReal(1e10, 1), "10000000000");
    EXPECT_EQ(FormatReal(std::nan(""), 3), "nan");
}

TEST(Strings, CopiesBelongToTheCaller)
{
    EXPECT_EQ(DupString(nullptr), nullptr);
    EXPECT_EQ(DupStringN(nullptr, 3), nullptr);
    EXPECT_EQ(DupStringN("abc", -1), nullptr);

    char* copy = DupString("polyhedron");
    EXPECT_STREQ(copy, "polyhedron");
    std::free(copy);
    char* part = DupStringN("polyhedron", 4);
    EXPECT_STREQ(part, "poly");
    std::free(part);
    char* whole = DupStringN("abc", 10);
    EXPECT_STREQ(whole, "abc");
    std::free(whole);
    char* empty = AllocString(16);
    EXPECT_STREQ(empty, "");
    std::free(empty);

    EXPECT_EQ(StringSize(nullptr), 0);
    EXPECT_EQ(StringSize(""), 1);
    EXPECT_EQ(StringSize("abcd"), 5);

    char small[4] = "zzz";
    CopyString(small, "abcdef", sizeof small);
    EXPECT_STREQ(small, "abc");
    CopyString(small, nullptr, sizeof small);
    EXPECT_STREQ(small, "");
}

TEST(Strings, ComparisonsAreNullSafeAndSigned)
{
    const char* a = "Apple";
    EXPECT_EQ(CompareStrings(a, a), 0);
    EXPECT_EQ(CompareStrings(nullptr, nullptr), 0);
    EXPECT_EQ(CompareStrings(nullptr, ""), -1);
    EXPECT_EQ(CompareStrings("", nullptr), 1);
    EXPECT_EQ(CompareStrings("apple", "banana"), -1);
    EXPECT_EQ(CompareStrings("banana", "apple"), 1);
    // Unsigned bytes: 0xE9 sorts after every 7-bit character.
    EXPECT_EQ(CompareStrings("\xE9", "z"), 1);
    EXPECT_EQ(CompareStringsNoCase("APPLE", "apple"), 0);
    EXPECT_EQ(CompareStringsNoCase("apple", "BANANA"), -1);
    EXPECT_EQ(CompareStringsN("abcX", "abcY", 3), 0);
    EXPECT_EQ(CompareStringsN("abcX", "abcY", 4), -1);
    EXPECT_EQ(CompareStringsNNoCase("ABCx", "abcy", 3), 0);
    EXPECT_EQ(ComparePrefix("Tetrahedron", "Tetra"), 0);
    EXPECT_NE(ComparePrefix("Tetra", "Tetrahedron"), 0);
    EXPECT_EQ(ComparePrefixNoCase("TETRAHEDRON", "tetra"), 0);
    EXPECT_EQ(ComparePrefix(nullptr, "x"), -1);

    char upper[] = "Cube 3.4.4";
    MakeUpperCase(upper);
    EXPECT_STREQ(upper, "CUBE 3.4.4");
}

TEST(Strings, NaturalOrder)
{
    struct Case
    {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"file2", "file10", -1},
        {"1.9", "1.10", -1},
        {"8.10", "8.9", 1},
        {"abc", "ABD", -1},  // letters ignore case
        {"abc", "ABC", 1},   // ...until nothing else differs: then case decides
        {"ABC", "abc", -1},
        {"a1", "ab", -1},    // a digit before a letter
        {"a", "a.b", -1},    // the field that ends first sorts first
        {"a.b", "a", 1},
        {"a", "ab", -1},
        {"x.01", "x.1", -1}, // equal values: the raw digits break the tie
        {"same", "same", 0},
        {"12345678901234567890", "12345678901234567891", -1},  // runs longer than any integer
        {"U75", "U8", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
        EXPECT_EQ(CompareNatural(c.a, c.b), c.expected);
        EXPECT_EQ(CompareNatural(c.b, c.a), -c.expected);
    }
}

TEST(Strings, UrlAndFormEscaping)
{
    EXPECT_EQ(UrlEncode("a b-c.d_e", false), "a+b-c.d_e");
    EXPECT_EQ(UrlEncode("\xE9", false), "%e9");
    EXPECT_EQ(UrlEncode("x/y", false), "x%2fy");
    EXPECT_EQ(UrlEncode("x/y", true), "x%252fy");
    EXPECT_EQ(UrlEncode(nullptr, false), "");

    EXPECT_EQ(EscapeFormValue("My set-up (2)!"), "My set-up (2)!");
    EXPECT_EQ(EscapeFormValue("a/b:c\xFF"), "a%2fb%3ac%ff");
    const char* original = "a/b:c\\d*e?\xFF end";
    EXPECT_EQ(UnescapeFormValue(EscapeFormValue(original).c_str()), original);
    // A stray percent sign is copied as it is.
    EXPECT_EQ(UnescapeFormValue("100%zz"), "100%zz");
    EXPECT_EQ(UnescapeFormValue("%41%4A"), "AJ");
}
