// The anchor list on a real dialog: children found by window, id and class, moved on a resize.

#include "platform/AnchorList.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/dialog.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

TEST(AnchorListWindowTest, ChildrenFollowTheClientAreaByTheirAnchors)
{
    if (!WxTestAppRunning())
        GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
    constexpr int S = AnchorList::kKeepSize;
    constexpr int N = AnchorList::kKeepNear;
    constexpr int F = AnchorList::kFollowFar;
    wxDialog dialog(nullptr, wxID_ANY, "Anchors", wxDefaultPosition, wxDefaultSize,
                    wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER);
    dialog.SetClientSize(300, 200);
    auto* label = new wxStaticText(&dialog, wxID_ANY, "Label", wxPoint(10, 10), wxSize(100, 20));
    auto* edit = new wxTextCtrl(&dialog, 1011, "", wxPoint(10, 40), wxSize(280, 100));
    auto* ok = new wxButton(&dialog, wxID_OK, "OK", wxPoint(10, 160), wxSize(80, 30));
    auto* cancel = new wxButton(&dialog, wxID_CANCEL, "Cancel", wxPoint(210, 160), wxSize(80, 30));
    auto* loose = new wxStaticText(&dialog, wxID_ANY, "Scales", wxPoint(150, 10), wxSize(60, 20));

    AnchorList anchors;
    anchors.SetMinSize(250, 150);
    anchors.Attach(&dialog);
    EXPECT_EQ(anchors.Count(), 5);
    EXPECT_EQ(anchors.SetAnchorByClass(wxCLASSINFO(wxButton), S | F, S | F), 2);
    EXPECT_TRUE(anchors.SetAnchorById(wxID_OK, N, S | F));  // a later rule overrides an earlier one
    EXPECT_TRUE(anchors.SetAnchorById(1011, N | F, N | F));
    EXPECT_TRUE(anchors.SetAnchor(label, S | N, S | N));
    EXPECT_FALSE(anchors.SetAnchorById(4242, N, N));
    anchors.AllowGrowth(true, false);

    wxSize minSize, maxSize;
    anchors.GetMinMaxInfo(minSize, maxSize);
    EXPECT_EQ(minSize, wxSize(250, 150));  // set before Attach, so kept
    EXPECT_EQ(maxSize, wxSize(AnchorList::kUnlimited, 150));
    EXPECT_EQ(dialog.GetMinSize(), wxSize(250, 150));
    EXPECT_EQ(dialog.GetMaxSize(), wxSize(-1, 150));

    dialog.SetSize(400, 300);
    EXPECT_EQ(dialog.GetSize(), wxSize(400, 150)) << "only the width may grow";

    anchors.AllowGrowth(true, true);
    dialog.SetClientSize(400, 300);
    ASSERT_EQ(dialog.GetClientSize(), wxSize(400, 300));
    anchors.Layout();
    EXPECT_EQ(label->GetRect(), wxRect(10, 10, 100, 20));
    EXPECT_EQ(edit->GetRect(), wxRect(10, 40, 380, 200));
    EXPECT_EQ(ok->GetRect(), wxRect(10, 260, 110, 30));  // right edge scaled: 90 * 400 / 300
    EXPECT_EQ(cancel->GetRect(), wxRect(310, 260, 80, 30));
    EXPECT_EQ(loose->GetRect(), wxRect(200, 15, 80, 30));  // both axes scaled

    anchors.Clear();
    EXPECT_EQ(anchors.Count(), 0);
    anchors.Layout();  // nothing recorded: nothing moves
    EXPECT_EQ(cancel->GetRect(), wxRect(310, 260, 80, 30));
}
