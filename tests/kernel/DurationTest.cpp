#include "kernel/Duration.h"

#include <gtest/gtest.h>

namespace
{
constexpr int64_t kDay = Duration::kMsPerDay;
}

TEST(Duration, NormalisesToOneSign)
{
    const Duration d = Duration::FromMilliseconds(90061001);
    EXPECT_EQ(d.Days(), 1);
    EXPECT_EQ(d.Milliseconds(), 3661001);

    const Duration negative(0, -kDay - 5);
    EXPECT_EQ(negative.Days(), -1);
    EXPECT_EQ(negative.Milliseconds(), -5);

    const Duration mixed(2, -1000);
    EXPECT_EQ(mixed.Days(), 1);
    EXPECT_EQ(mixed.Milliseconds(), kDay - 1000);

    const Duration mixedNegative(-2, 1000);
    EXPECT_EQ(mixedNegative.Days(), -1);
    EXPECT_EQ(mixedNegative.Milliseconds(), -(kDay - 1000));
}

TEST(Duration, ArithmeticKeepsNormalForm)
{
    Duration a(1, 1000);
    const Duration b(0, 2000);
    const Duration diff = b - a;
    EXPECT_EQ(diff.Days(), 0);
    EXPECT_EQ(diff.Milliseconds(), -(kDay - 1000));
    a += Duration(0, kDay - 1000);
    EXPECT_EQ(a.Days(), 2);
    EXPECT_EQ(a.Milliseconds(), 0);

    const Duration half = Duration(3, 0) / 2.0;  // the half day goes into milliseconds
    EXPECT_EQ(half.Days(), 1);
    EXPECT_EQ(half.Milliseconds(), kDay / 2);
    const Duration third = Duration(0, 1000) / 3.0;
    EXPECT_EQ(third.Milliseconds(), 333);
}

TEST(Duration, FormatShowsTheTwoLargestUnits)
{
    struct Case
    {
        const char* name;
        Duration d;
        const char* text;
    };
    const Case cases[] = {
        {"a day and an hour", Duration::FromMilliseconds(90061001), "1 day, 1 hour"},
        {"negative seconds", Duration::FromMilliseconds(-1500), "-1.50 seconds"},
        {"45 days", Duration(45, 0), "1 month, 15 days"},
        {"400 days", Duration(400, 0), "1 year, 1 month"},
        {"365 days", Duration(365, 0), "12 months"},
        {"730 days", Duration(730, 0), "1 year, 12 months"},
        {"hours and minutes", Duration(0, 2 * 3600000 + 5 * 60000 + 7000), "2 hours, 5 minutes"},
        {"minutes and seconds", Duration(0, 5 * 60000 + 3250), "5 minutes, 3.25 seconds"},
        {"half a second", Duration(0, 500), "0.50 seconds"},
        {"zero", Duration(), "0.00 seconds"},
        {"negative day", Duration(-1, -2 * 3600000), "-1 day, 2 hours"},
        {"a month and four days", Duration(34, 0), "1 month, 4 days"},
        {"one minute", Duration(0, 60000), "1 minute, 0.00 seconds"},
        {"two thousand years", Duration(800000, 0), "2 millennia"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.d.Format(), c.text) << c.name;
}

TEST(Duration, FifteenHundredYearsHaveNoSeparatorAfterThem)
{
    // The day count whose year rule gives exactly 1500 years and no months.
    for (int64_t days = 547800; days < 548000; ++days)
    {
        const std::string text = Duration(days, 0).Format();
        if (text.rfind("1500 years", 0) == 0 && text.find("month") == std::string::npos)
        {
            EXPECT_EQ(text, "1500 years");
            return;
        }
    }
    FAIL() << "no day count reads as 1500 years";
}
