// Where the main window starts: the stored rectangle, or one centred on the desktop.

#include "kernel/MemorySettingsStore.h"
#include "kernel/Registry.h"
#include "platform/WindowPlacement.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/display.h>
#include <wx/frame.h>

static bool operator==(const WindowPlacement& a, const WindowPlacement& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

static void PrintTo(const WindowPlacement& p, std::ostream* os)
{
    *os << "(" << p.left << ", " << p.top << ", " << p.right << ", " << p.bottom << ")";
}

namespace
{
class WindowPlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        mSaved = StoredWindowPlacement();
        mShow = MainWindowShowCommand();
    }
    void TearDown() override
    {
        StoredWindowPlacement() = mSaved;
        MainWindowShowCommand() = mShow;
    }

    WindowPlacement mSaved;
    int mShow = kShowNormal;
    ScopedMemorySettingsStore mStore;
    const RegistryApp mApp{"OrvaneSoft", "Orvane"};
};

}  // namespace

TEST(WindowPlacementDefaults, AreCentredOnTheDesktop)
{
    struct Case
    {
        int w, h;
        WindowPlacement expected;
    };
    const Case kCases[] = {
        {1280, 1024, {140, 112, 1140, 912}},  // 1000 x 800
        {800, 600, {32, 32, 768, 568}},       // 736 x 536: the desktop less 64 pixels
        {1001, 801, {32, 32, 968, 768}},      // odd sizes: every half truncates
    };
    for (const Case& c : kCases)
        EXPECT_EQ(CentredPlacement(0, 0, c.w, c.h, 1000, 800), c.expected) << c.w << " x " << c.h;
    // A desktop that does not start at the origin.
    EXPECT_EQ(CentredPlacement(100, 50, 1380, 1074, 1000, 800), (WindowPlacement{240, 162, 1240, 962}));
}

TEST_F(WindowPlacementTest, AFirstStartIsCentredAndTheStoredPlacementWins)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    const wxRect desktop = wxDisplay(0u).GetGeometry();
    MainWindowShowCommand() = kShowNormal;
    LoadWindowPlacement(mApp, 1000, 800);
    EXPECT_EQ(StoredWindowPlacement(),
              CentredPlacement(desktop.x, desktop.y, desktop.GetRight() + 1, desktop.GetBottom() + 1, 1000, 800));
    EXPECT_EQ(MainWindowShowCommand(), kShowNormal);

    SaveWindowPlacement(mApp, WindowPlacement{10, 20, 610, 420}, true);
    MainWindowShowCommand() = kShowNormal;
    LoadWindowPlacement(mApp, 1000, 800);
    EXPECT_EQ(StoredWindowPlacement(), (WindowPlacement{10, 20, 610, 420}));
    EXPECT_EQ(MainWindowShowCommand(), kShowMaximised);

    RegKeyPtr key = OpenRegKey(mApp, nullptr, "Settings");
    int maximised = -1;
    ASSERT_TRUE(RegReadInt(key.get(), "WindowIsMaximised", maximised));
    EXPECT_EQ(maximised, 1);
}

TEST_F(WindowPlacementTest, WithoutACompanyKeyNothingIsReadOrWritten)
{
    const RegistryApp none{"", "Orvane"};
    StoredWindowPlacement() = WindowPlacement();
    LoadWindowPlacement(none, 1000, 800);
    EXPECT_EQ(StoredWindowPlacement(), (WindowPlacement{20, 20, 200, 200}));
    SaveWindowPlacement(none, WindowPlacement{1, 2, 3, 4}, false);
    EXPECT_FALSE(mStore.store.KeyExists("Software\\OrvaneSoft\\Orvane\\Settings"));
}

TEST_F(WindowPlacementTest, AWindowTakesTheStoredPlacement)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    StoredWindowPlacement() = WindowPlacement{60, 70, 560, 470};
    MainWindowShowCommand() = kShowNormal;
    auto* frame = new wxFrame(nullptr, wxID_ANY, "placed");
    ApplyWindowPlacement(*frame);
    frame->Show();
    PumpEventsUntil([frame] { return frame->IsShownOnScreen() && frame->GetPosition() == wxPoint(60, 70); });
    EXPECT_EQ(frame->GetRect(), wxRect(60, 70, 500, 400));
    EXPECT_FALSE(frame->IsMaximized());
    frame->Destroy();
    PumpEventsUntil([] { return false; }, 5);
}
