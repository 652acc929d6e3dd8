// Which stored version counts as newer than the running one.

#include "document/UpdateCheck.h"
#include "document/UpdateCheckSettings.h"
#include "document/UpdateCheckWorker.h"

#include <gtest/gtest.h>

namespace
{
TEST(UpdateCheck, VersionsCompareByNumbersThenReleaseThenRest)
{
    struct Case
    {
        const char* known;
        const char* running;
        bool newer;
    };
    const Case kCases[] = {
        {"5.5", "5.4", true},
        {"5.4.1", "5.4", true},
        {"5.4", "5.4.1", false},
        {"5.4", "5.4 Beta", true},
        {"5.4 Beta", "5.4", false},
        {"5.4 Beta 2", "5.4 Beta 1", true},
        {"5.4 Beta 1", "5.4 Beta 2", false},
        {"5.4 beta 10", "5.4 BETA 9", true},
        {"5.4 Alpha", "5.4 Beta", false},
        {"6", "5.4", true},
        {"", "5.4", false},
        {"5.4", "5.4", false},
        {"5.10", "5.9", true},
        {"5.4.2", "5.4.10", false},
        {"4.9", "5.4", false},
        // Without a minor number any difference counts.
        {"5", "5 ", true},
        // A reply of endless digits does not overflow.
        {"99999999999999999999999999.1", "5.4", true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(std::string(c.known) + " over " + c.running);
        EXPECT_EQ(IsNewerVersion(c.known, c.running), c.newer);
    }
}

TEST(UpdateCheck, TheStoredLatestVersionDecides)
{
    UpdateCheckSettings& settings = GetUpdateCheckSettings();
    const UpdateCheckSettings saved = settings;
    settings.latestKnownVersion = "";
    EXPECT_FALSE(IsNewerVersionKnown("5.4"));
    settings.latestKnownVersion = "5.4";
    EXPECT_FALSE(IsNewerVersionKnown("5.4"));
    settings.latestKnownVersion = "5.5";
    EXPECT_TRUE(IsNewerVersionKnown("5.4"));
    EXPECT_FALSE(IsNewerVersionKnown("5.5"));
    settings = saved;
}
}  // namespace

namespace
{
TEST(UpdateCheck, DayNumbersCountTheLeapDayAndQueriesAreEncoded)
{
    EXPECT_EQ(GetDayNumber(2024, 3, 1) - GetDayNumber(2024, 2, 28), 2);
    EXPECT_EQ(GetDayNumber(2023, 3, 1) - GetDayNumber(2023, 2, 28), 1);
    EXPECT_EQ(GetDayNumber(2025, 1, 1) - GetDayNumber(2024, 12, 31), 1);
    EXPECT_EQ(EncodeQueryValue("5.4"), "5.4");
    EXPECT_EQ(EncodeQueryValue("6.0 Beta/2&x_y-z"), "6.0+Beta%2f2%26x_y-z");
}
}  // namespace
