#include "kernel/ReadFraction.h"

#include <gtest/gtest.h>

#include <string>

TEST(ReadFraction, ReadsSymbolsAndLeavesTheCursorAtTheNextWord)
{
    struct Case
    {
        const char* text;
        int numerator;
        int denominator;
        const char* rest;
    };
    const Case cases[] = {
        {"  5/2 word", 5, 2, "word"},
        {"5", 5, 1, ""},
        {"\t12\n", 12, 1, ""},
        {"7/3/2", 7, 3, "/2"},
        {"5/ 2", 5, 1, "/ 2"},  // a slash without a digit is not part of the number
        {"10/0x", 0, 0, nullptr},
        {"word 5/2", 0, 0, nullptr},
        {"   ", 0, 0, nullptr},
        {"", 0, 0, nullptr},
        {"-5/2", 0, 0, nullptr},
        {"99999999999/2", 0, 0, nullptr},
        {"5/99999999999", 0, 0, nullptr},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(std::string("text \"") + c.text + "\"");
        const char* cursor = c.text;
        int n = -1;
        int d = -1;
        const bool ok = ReadFraction(cursor, n, d);
        ASSERT_EQ(ok, c.rest != nullptr);
        if (ok)
        {
            EXPECT_EQ(n, c.numerator);
            EXPECT_EQ(d, c.denominator);
            EXPECT_STREQ(cursor, c.rest);
        }
        else
        {
            // Nothing read: the cursor and the outputs stay.
            EXPECT_EQ(cursor, c.text);
            EXPECT_EQ(n, -1);
            EXPECT_EQ(d, -1);
        }
    }
}

TEST(ReadFraction, ReadsSuccessiveSymbols)
{
    const char* cursor = "5/2 3 4/1";
    int n = 0;
    int d = 0;
    int read[3][2] = {};
    for (auto& r : read)
    {
        ASSERT_TRUE(ReadFraction(cursor, n, d));
        r[0] = n;
        r[1] = d;
    }
    EXPECT_EQ(read[0][0], 5);
    EXPECT_EQ(read[0][1], 2);
    EXPECT_EQ(read[1][0], 3);
    EXPECT_EQ(read[1][1], 1);
    EXPECT_EQ(read[2][0], 4);
    EXPECT_EQ(read[2][1], 1);
    EXPECT_FALSE(ReadFraction(cursor, n, d));
}
