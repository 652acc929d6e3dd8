#include "kernel/DateText.h"
#include "kernel/ProgramClock.h"

#include <gtest/gtest.h>

TEST(ProgramClock, FrozenTimeIsSeenOnlyWhenAllowed)
{
    const double previous = SetFrozenTime(12.5);
    EXPECT_LT(previous, 0.0);
    EXPECT_EQ(GetElapsedSeconds(true), 12.5);
    const double running = GetElapsedSeconds(false);
    EXPECT_GE(running, 0.0);
    EXPECT_NE(running, 12.5);
    EXPECT_EQ(SetFrozenTime(-1.0), 12.5);
    EXPECT_NE(GetElapsedSeconds(true), 12.5);
    // The running clock never goes back.
    const double a = GetElapsedSeconds(false);
    const double b = GetElapsedSeconds(false);
    EXPECT_LE(a, b);
}

TEST(DateText, OrdinalSuffixes)
{
    struct Case
    {
        int n;
        const char* suffix;
    };
    const Case cases[] = {{1, "st"},  {2, "nd"},  {3, "rd"},  {4, "th"},  {11, "th"},  {12, "th"},
                          {13, "th"}, {21, "st"}, {22, "nd"}, {111, "th"}, {113, "th"}, {101, "st"}};
    for (const Case& c : cases)
        EXPECT_STREQ(OrdinalSuffix(c.n), c.suffix) << c.n;
}

TEST(DateText, DatesHaveTheirForms)
{
    const std::string shortDate = FormatDate(false);
    ASSERT_EQ(shortDate.size(), 8u);
    EXPECT_EQ(shortDate[2], '/');
    EXPECT_EQ(shortDate[5], '/');
    const std::string longDate = FormatDate(true);
    EXPECT_NE(longDate[0], '0');  // no leading zero on the day
    EXPECT_NE(FormatTimeAndDate().find(", " + longDate), std::string::npos);
}
