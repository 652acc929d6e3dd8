// The status bar of the main window: the general text and the mouse-button hints.

#include "MainFrameFixture.h"

#include "ui/NewFrame.h"

#include <string>

namespace
{
using StatusBarTest = MainFrameFixture;
}  // namespace

TEST_F(StatusBarTest, HintPanesLabelTheButtons)
{
    SetMouseHintTexts("Tumble", "Zoom", "Twist");
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(1), "L: Tumble");
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(2), "R: Zoom");
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(3), "L+R: Twist");
}

TEST_F(StatusBarTest, LongTextsAreCutWithAnEllipsis)
{
    const std::string fits(511, 'a');
    EXPECT_EQ(SetStatusPaneText(0, "%s", fits.c_str()), 511);
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(0).utf8_string(), fits);

    const std::string longer(600, 'b');
    EXPECT_EQ(SetStatusPaneText(0, "%s", longer.c_str()), 511);
    const std::string shown = mFrame->GetStatusBar()->GetStatusText(0).utf8_string();
    ASSERT_EQ(shown.size(), 511u);
    EXPECT_EQ(shown.substr(0, 508), longer.substr(0, 508));
    EXPECT_EQ(shown.substr(508), "...");
}

TEST_F(StatusBarTest, AViewMessageIsShownAsGivenInThePaneAndTheStatusBar)
{
    // The text is shown, not taken as a format.
    ShowViewMessage("Done: 100%s %d");
    EXPECT_EQ(mFrame->GetStatusBar()->GetStatusText(0), "Done: 100%s %d");
    EXPECT_EQ(NewView::GetActiveView()->GetMessage(), "Done: 100%s %d");
}

TEST_F(StatusBarTest, WithoutAMainWindowNothingIsSet)
{
    wxTheApp->SetTopWindow(nullptr);
    auto* other = new wxFrame(nullptr, wxID_ANY, "no status bar");
    wxTheApp->SetTopWindow(other);
    EXPECT_EQ(SetStatusPaneText(0, "%s", "lost"), 0);
    other->Destroy();
    wxTheApp->SetTopWindow(mFrame);
    EXPECT_EQ(SetStatusPaneText(5, "%s", "no such pane"), 0);
}
