// The helpers every dialog uses: placement, measuring, stepping number boxes, combo and toolbar
// accessors.

#include "platform/DialogUtils.h"
#include "platform/ToolBarUtils.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/artprov.h>
#include <wx/aui/auibar.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/dialog.h>
#include <wx/display.h>
#include <wx/frame.h>
#include <wx/odcombo.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

namespace
{
class DialogUtilsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "Main", wxPoint(40, 40), wxSize(1000, 800));
        mFrame->CreateStatusBar();
        mFrame->Show();
        PumpEventsUntil([this] { return mFrame->IsShownOnScreen(); });
    }
    void TearDown() override
    {
        if (mFrame)
            mFrame->Destroy();
        PumpEventsUntil([] { return false; }, 5);
    }

    wxFrame* mFrame = nullptr;
};

wxRect Desktop()
{
    return wxDisplay(0u).GetClientArea();
}
}  // namespace

TEST_F(DialogUtilsTest, PlaceInCornerPutsADialogInTheMainWindowAboveItsStatusBar)
{
    wxDialog dialog(mFrame, wxID_ANY, "Live", wxPoint(0, 0), wxSize(300, 200));
    PlaceInCorner(&dialog);
    const wxRect inner(mFrame->ClientToScreen(wxPoint(0, 0)), mFrame->GetClientSize());
    const wxRect placed(dialog.GetScreenPosition(), dialog.GetSize());
    EXPECT_EQ(placed.GetSize(), wxSize(300, 200));
    EXPECT_EQ(placed.GetRight(), inner.GetRight());
    EXPECT_EQ(placed.GetBottom(), inner.GetBottom());
    EXPECT_LT(placed.GetBottom(), mFrame->GetStatusBar()->GetScreenPosition().y);
}

TEST_F(DialogUtilsTest, PlaceInCornerKeepsACoordinateTheReferenceCannotHoldThenStaysOnTheDesktop)
{
    const wxRect desktop = Desktop();
    auto* small = new wxFrame(nullptr, wxID_ANY, "Small", wxPoint(100, 100), wxSize(200, 400));
    small->Show();
    // Narrower than the dialog: x stays, then the dialog is moved back onto the desktop.
    wxDialog dialog(small, wxID_ANY, "Live", wxPoint(desktop.GetRight() - 50, 150), wxSize(300, 200));
    PlaceInCorner(&dialog);
    const wxRect inner(small->ClientToScreen(wxPoint(0, 0)), small->GetClientSize());
    EXPECT_EQ(dialog.GetScreenPosition().x, desktop.GetRight() + 1 - 300);
    EXPECT_EQ(dialog.GetScreenPosition().y + 200 - 1, inner.GetBottom());

    // Without a parent or reference the corner is the desktop's.
    wxDialog orphan(nullptr, wxID_ANY, "Alone", wxPoint(5, 5), wxSize(300, 200));
    PlaceInCorner(&orphan);
    EXPECT_EQ(orphan.GetScreenPosition(), wxPoint(desktop.GetRight() + 1 - 300, desktop.GetBottom() + 1 - 200));
    small->Destroy();
}

TEST_F(DialogUtilsTest, PlaceDialogUsesTheRecordElseItsFirstPlacement)
{
    wxDialog dialog(mFrame, wxID_ANY, "Live", wxPoint(10, 10), wxSize(300, 200));
    int position[2] = {-1, -1};
    int size[2] = {0, 0};
    PlaceDialog(&dialog, position, size, nullptr, FirstPlacement::kInCorner);
    const wxRect inner(mFrame->ClientToScreen(wxPoint(0, 0)), mFrame->GetClientSize());
    EXPECT_EQ(dialog.GetScreenPosition(), wxPoint(inner.GetRight() + 1 - 300, inner.GetBottom() + 1 - 200));

    // The toolkit's first placement leaves the dialog where it is.
    dialog.Move(20, 30);
    PlaceDialog(&dialog, position, nullptr);
    EXPECT_EQ(dialog.GetScreenPosition(), wxPoint(20, 30));

    // A record puts it back where it was left, with the remembered size when there is one.
    position[0] = 70;
    position[1] = 80;
    PlaceDialog(&dialog, position, size, nullptr, FirstPlacement::kInCorner);
    EXPECT_EQ(dialog.GetScreenPosition(), wxPoint(70, 80));
    EXPECT_EQ(dialog.GetSize(), wxSize(300, 200));
    size[0] = 320;
    size[1] = 240;
    PlaceDialog(&dialog, position, size);
    EXPECT_EQ(dialog.GetSize(), wxSize(320, 240));
}

TEST_F(DialogUtilsTest, NumberBoxesStepOntoMultiplesAndStayWithinTheirLimits)
{
    auto* edit = new wxTextCtrl(mFrame, wxID_ANY);
    struct Case
    {
        const char* name;
        const char* typed;
        int direction;
        const char* shown;
    };
    // The sphere sizes: step 0.01, minimum 0.01, 6 decimals.
    const Case kCases[] = {
        {"tidy only", "1.500000", 0, "1.5"},
        {"up from between steps", "0.053", +1, "0.06"},
        {"down from between steps", "0.053", -1, "0.04"},
        {"below the minimum", "0.001", 0, "0.01"},
        {"down past the minimum", "0.01", -1, "0.01"},
        {"not a number", "abc", 0, "0.01"},
        {"up from a multiple", "2", +1, "2.01"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        edit->ChangeValue(c.typed);
        StepDlgItemNumber(edit, c.direction, 0.01, 0.01, 9.99999e99, 6);
        EXPECT_EQ(edit->GetValue(), c.shown);
    }
    edit->ChangeValue("7.25");
    StepDlgItemNumber(edit, +1, 0.5, 0.0, 7.5, 3);
    EXPECT_EQ(edit->GetValue(), "7.5");
    StepDlgItemNumber(edit, +1, 0.5, 0.0, 7.5, 3);
    EXPECT_EQ(edit->GetValue(), "7.5");

    SetWindowTextNumber(edit, 2.0, 4);
    EXPECT_EQ(edit->GetValue(), "2");
    SetWindowTextNumber(edit, -0.126, 2);
    EXPECT_EQ(edit->GetValue(), "-0.13");
}

TEST_F(DialogUtilsTest, TheSpinButtonStepsItsBox)
{
    auto* edit = new wxTextCtrl(mFrame, wxID_ANY, "0.053");
    auto* spin = new wxSpinButton(mFrame, wxID_ANY);
    BindSpinStep(spin, edit, 0.01, 0.01, 9.99999e99, 6);
    wxSpinEvent up(wxEVT_SPIN_UP, spin->GetId());
    up.SetEventObject(spin);
    spin->ProcessWindowEvent(up);
    EXPECT_EQ(edit->GetValue(), "0.06");
    EXPECT_FALSE(up.IsAllowed());  // the button keeps no position of its own
    wxSpinEvent down(wxEVT_SPIN_DOWN, spin->GetId());
    down.SetEventObject(spin);
    spin->ProcessWindowEvent(down);
    spin->ProcessWindowEvent(down);
    EXPECT_EQ(edit->GetValue(), "0.04");
}

TEST_F(DialogUtilsTest, TextIsMeasuredLineByLineAndCutToAWidth)
{
    wxMemoryDC dc;
    wxBitmap bitmap(10, 10);
    dc.SelectObject(bitmap);
    const wxFont font = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    dc.SetFont(font);
    const wxSize space = dc.GetTextExtent(" ");
    const wxSize longLine = dc.GetTextExtent("A longer second line");
    const wxSize shortLine = dc.GetTextExtent("Short");

    EXPECT_EQ(MeasureTextLines(dc, font, ""), space);
    EXPECT_EQ(MeasureTextLines(dc, font, "Short\nA longer second line\n"),
              wxSize(longLine.x, shortLine.y + longLine.y + space.y));

    // No room beyond "...." and 5 pixels: nothing is left.
    std::string text = "Short";
    const int dots = dc.GetTextExtent("....").x;
    EXPECT_EQ(MeasureTextLinesEllipsis(dc, font, dots + 5, text), space);
    EXPECT_EQ(text, "");

    // A line that fits stays whole; a longer one keeps what fits and ends in "...".
    text = "Short\nA longer second line";
    const wxSize cut = MeasureTextLinesEllipsis(dc, font, shortLine.x + dots + 2, text);
    const size_t lineBreak = text.find('\n');
    ASSERT_NE(lineBreak, std::string::npos);
    EXPECT_EQ(text.substr(0, lineBreak), "Short");
    const std::string second = text.substr(lineBreak + 1);
    ASSERT_GT(second.size(), 3u);
    EXPECT_EQ(second.substr(second.size() - 3), "...");
    EXPECT_EQ(std::string("A longer second line").rfind(second.substr(0, second.size() - 3), 0), 0u);
    EXPECT_LT(cut.x, longLine.x);
    dc.SelectObject(wxNullBitmap);
}

TEST(DialogUtils, MenuTextsCompareWithoutTheirMnemonics)
{
    struct Case
    {
        const char* menuText;
        const char* text;
        bool equal;
    };
    const Case kCases[] = {
        {"&Debug", "Debug", true},     {"De&bug", "Debug", true},  {"Debug", "Debug", true},
        {"&Debug", "&Debug", false},   {"&Debug", "debug", false}, {"&Debug", "Debugger", false},
        {"&Debugger", "Debug", false}, {"", "", true},             {"&&", "", true},
    };
    for (const Case& c : kCases)
        EXPECT_EQ(MenuTextEquals(c.menuText, c.text), c.equal) << c.menuText << " / " << c.text;
}

TEST_F(DialogUtilsTest, ComboItemsAreFoundByTheirData)
{
    auto* combo = new wxOwnerDrawnComboBox(mFrame, wxID_ANY, "", wxPoint(10, 10), wxSize(80, -1));
    EXPECT_EQ(FindComboItemByData(combo, 5), -1);
    combo->Append("one", reinterpret_cast<void*>(intptr_t(7)));
    combo->Append("a much longer second entry", reinterpret_cast<void*>(intptr_t(5)));
    combo->Append("three", reinterpret_cast<void*>(intptr_t(5)));
    EXPECT_EQ(FindComboItemByData(combo, 5), 1);
    EXPECT_EQ(FindComboItemByData(combo, 7), 0);
    EXPECT_EQ(FindComboItemByData(combo, 9), -1);
    EXPECT_EQ(FindComboItemByData(nullptr, 5), -1);
}

TEST_F(DialogUtilsTest, DrawBitmapCopiesThePartAsked)
{
    wxBitmap source(8, 8, 24);
    {
        wxMemoryDC dc(source);
        dc.SetBackground(*wxRED_BRUSH);
        dc.Clear();
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(*wxBLUE_BRUSH);
        dc.DrawRectangle(4, 4, 4, 4);  // the bottom-right quarter is blue
    }
    wxBitmap target(20, 20, 24);
    wxMemoryDC dc(target);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    DrawBitmap(dc, source, 1, 1);            // the whole bitmap
    DrawBitmap(dc, source, 12, 12, 4, 4);    // from its corner 4, 4 onwards: the blue part
    DrawBitmap(dc, source, 12, 1, 0, 0, 2, 2);
    wxColour c;
    dc.GetPixel(1, 1, &c);
    EXPECT_EQ(c, *wxRED);
    dc.GetPixel(8, 8, &c);
    EXPECT_EQ(c, *wxBLUE);
    dc.GetPixel(9, 9, &c);
    EXPECT_EQ(c, *wxWHITE);
    dc.GetPixel(15, 15, &c);
    EXPECT_EQ(c, *wxBLUE);
    dc.GetPixel(13, 2, &c);
    EXPECT_EQ(c, *wxRED);
    dc.GetPixel(14, 1, &c);
    EXPECT_EQ(c, *wxWHITE);
}

TEST_F(DialogUtilsTest, ToolbarsLoseTheSeparatorsLeftOver)
{
    // Kinds: 'b' a button, '|' a separator, 'c' a control.
    struct Case
    {
        const char* name;
        const char* before;
        const char* after;
    };
    const Case kCases[] = {
        {"separators only", "|||", ""},
        {"leading, doubled and trailing", "|b||b|", "b|b"},
        {"a control stays", "|c||b", "c|b"},
        {"nothing to tidy", "b|b", "b|b"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto* bar = new wxAuiToolBar(mFrame, wxID_ANY);
        int id = 100;
        for (const char* k = c.before; *k; ++k)
        {
            if (*k == '|')
                bar->AddSeparator();
            else if (*k == 'c')
                bar->AddControl(new wxTextCtrl(bar, wxID_ANY));
            else
                bar->AddTool(id++, "tool", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR));
        }
        bar->Realize();
        RemoveExtraSeparators(bar);
        std::string kinds;
        for (size_t i = 0; i < bar->GetToolCount(); ++i)
        {
            wxAuiToolBarItem* item = bar->FindToolByIndex(int(i));
            kinds += item->GetKind() == wxITEM_SEPARATOR ? '|' : item->GetWindow() ? 'c' : 'b';
        }
        EXPECT_EQ(kinds, c.after);
        bar->Destroy();
    }

    auto* bar = new wxAuiToolBar(mFrame, wxID_ANY);
    bar->AddTool(201, "a", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR));
    bar->AddSeparator();
    bar->AddTool(202, "b", wxArtProvider::GetBitmapBundle(wxART_NEW, wxART_TOOLBAR));
    bar->Realize();
    EXPECT_TRUE(DeleteToolBarButton(bar, 202));
    EXPECT_FALSE(DeleteToolBarButton(bar, 202));
    RemoveExtraSeparators(bar);
    EXPECT_EQ(bar->GetToolCount(), 1u);
    EXPECT_NE(bar->FindTool(201), nullptr);
    bar->Destroy();
}
