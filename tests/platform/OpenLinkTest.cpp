#include "platform/OpenLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
// Records what would reach the desktop, and puts the desktop's opener back afterwards.
class OpenLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mPrevious = SetLinkOpener([this](const std::string& target, LinkKind) {
            opened.push_back(target);
            return true;
        });
    }
    void TearDown() override { SetLinkOpener(mPrevious); }

    std::vector<std::string> opened;

private:
    LinkOpener mPrevious;
};
}  // namespace

TEST_F(OpenLinkTest, OnlyWebAndMailAddressesReachTheDesktop)
{
    struct Case
    {
        const char* target;
        bool opens;
    };
    const Case kCases[] = {
        {"http://example.org/", true},
        {"HTTPS://example.org/a?b=c", true},
        {"mailto:someone@example.org", true},
        {"file:///etc/passwd", false},
        {"javascript:alert(1)", false},
        {"JavaScript:alert(1)", false},
        {" http://example.org/", false},
        {"www.example.org", false},
        {"/usr/bin/xterm", false},
        {"https://", false},
        {"", false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.target);
        opened.clear();
        EXPECT_EQ(OpenLink(c.target), c.opens);
        EXPECT_EQ(opened.size(), c.opens ? 1u : 0u);
    }
}

TEST_F(OpenLinkTest, ProgramFilesArePathsNotAddresses)
{
    EXPECT_TRUE(OpenLink("/opt/orvane/OrvaneMaxManual.html", LinkKind::kProgramFile));
    EXPECT_FALSE(OpenLink("javascript:alert(1)", LinkKind::kProgramFile));
    EXPECT_FALSE(OpenLink("file:///etc/passwd", LinkKind::kProgramFile));
    EXPECT_EQ(opened, std::vector<std::string>{"/opt/orvane/OrvaneMaxManual.html"});
}
