#include "kernel/ScriptedServices.h"
#include "render/CaptionWnd.h"
#include "render/NewView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>
#include <wx/sizer.h>
#include <wx/toplevel.h>
#include <wx/utils.h>

#include <memory>

namespace
{
class NewViewTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "views");
        for (int i = 0; i < 3; ++i)
            mViews[i] = new NewView(mFrame);
    }
    void TearDown() override
    {
        if (mFrame)
            mFrame->Destroy();
    }

    wxFrame* mFrame = nullptr;
    NewView* mViews[3] = {};
};
}  // namespace

TEST_F(NewViewTest, ListNumbersFollowTheOrder)
{
    EXPECT_EQ(mViews[0]->GetViewNumber(), 0);
    EXPECT_EQ(mViews[2]->GetViewNumber(), 2);
    EXPECT_EQ(NewView::FindView(1), mViews[1]);

    mViews[1]->RemoveFromList();
    EXPECT_EQ(mViews[1]->GetViewNumber(), -1);
    EXPECT_EQ(mViews[2]->GetViewNumber(), 1);
    EXPECT_EQ(NewView::FindView(1), mViews[2]);
    EXPECT_FALSE(NewView::IsListed(mViews[1]));

    mViews[1]->SetViewIndex(5);  // no view 5: to the end
    EXPECT_EQ(mViews[1]->GetViewNumber(), 2);
    mViews[1]->SetViewIndex(0);
    EXPECT_EQ(mViews[1]->GetViewNumber(), 0);
    EXPECT_EQ(mViews[0]->GetViewNumber(), 1);
    EXPECT_EQ(mViews[2]->GetViewNumber(), 2);
    EXPECT_EQ(NewView::GetFirstView(), mViews[1]);

    // A destroyed view leaves the list.
    delete mViews[0];
    mViews[0] = nullptr;
    EXPECT_EQ(mViews[2]->GetViewNumber(), 1);
}

TEST_F(NewViewTest, MessagesLiveThroughOneFrame)
{
    NewView* v = mViews[0];
    NewView::ClearRedrawFlags(v);
    NewView::SetMessage(v, "Wrapped from %s to %s file in folder", "last", "first");
    EXPECT_EQ(v->GetMessage(), "Wrapped from last to first file in folder");
    EXPECT_EQ(v->GetRedrawMarks(), NewView::kRedraw | NewView::kKeepMessage);

    // An ordinary invalidation before the frame keeps it...
    NewView::Invalidate(v, false);
    EXPECT_EQ(v->GetMessage(), "Wrapped from last to first file in folder");
    // ...the frame drawn, the next one clears it.
    NewView::ClearRedrawFlags(v);
    NewView::Invalidate(v, false);
    EXPECT_EQ(v->GetMessage(), "");
    EXPECT_EQ(v->GetRedrawMarks(), NewView::kRedraw);

    // The same text twice changes nothing but the marks; a blank text clears.
    NewView::SetMessage(v, "%s", "same");
    NewView::ClearRedrawFlags(v);
    NewView::SetMessage(v, "%s", "same");
    EXPECT_EQ(v->GetMessage(), "same");
    EXPECT_EQ(v->GetRedrawMarks(), NewView::kRedraw | NewView::kKeepMessage);
    NewView::SetMessage(v, "%s", "   ");
    EXPECT_EQ(v->GetMessage(), "");

    const std::string long2000(2000, 'm');
    NewView::SetMessage(v, "%s", long2000.c_str());
    EXPECT_EQ(v->GetMessage(), long2000.substr(0, 1020) + "...");
    NewView::SetMessage(v, nullptr);
    EXPECT_EQ(v->GetMessage(), "");
    NewView::SetMessage(nullptr, "ignored");
}

TEST_F(NewViewTest, InvalidateAllMarksEveryView)
{
    for (NewView* v : mViews)
        NewView::ClearRedrawFlags(v);
    NewView::SetMessage(mViews[1], "kept");
    NewView::ClearRedrawFlags(mViews[1]);
    NewView::InvalidateAll(true, false);
    for (NewView* v : mViews)
        EXPECT_EQ(v->GetRedrawMarks() & (NewView::kRedraw | NewView::kRedrawCaption),
                  NewView::kRedraw | NewView::kRedrawCaption);
    EXPECT_EQ(mViews[1]->GetMessage(), "");

    NewView::SetBackgroundColorAll(ColorRGB{0.1f, 0.2f, 0.3f});
    EXPECT_FLOAT_EQ(mViews[2]->GetBackgroundColor().b, 0.3f);
    auto* later = new NewView(mFrame);
    EXPECT_FLOAT_EQ(later->GetBackgroundColor().g, 0.2f);
    NewView::SetBackgroundColorAll(ColorRGB{0.5f, 0.5f, 0.5f});
}

namespace
{
// A view that records its title-bar clicks and answers hints by the modifier state.
class ButtonView : public NewView
{
public:
    using NewView::NewView;
    int clickedIndex = -1;
    int clickedCommand = -1;
    int clicks = 0;

    bool OnTitleButton(int index, int command, int /*flags*/) override
    {
        clickedIndex = index;
        clickedCommand = command;
        ++clicks;
        return true;
    }
    void GetMouseHints(std::string& left, std::string& right, std::string& both) override
    {
        NewView::GetMouseHints(left, right, both);
        if (GetModifierState() == 0)
        {
            left = "Tumble";
            right = "Zoom";
        }
    }
    void Press(int flags) { UpdateModifierState(flags, false); }
};

struct HintRecord
{
    int calls = 0;
    std::string left, right, both;
} gHints;

void RecordHints(const char* left, const char* right, const char* both)
{
    ++gHints.calls;
    gHints.left = left;
    gHints.right = right;
    gHints.both = both;
}

// A shown frame with two views side by side, their captions made.
class CaptionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "captions", wxDefaultPosition, wxSize(400, 200));
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        for (ButtonView*& v : mViews)
        {
            v = new ButtonView(mFrame);
            sizer->Add(v, 1, wxEXPAND);
        }
        mFrame->SetSizer(sizer);
        mFrame->Show();
        ASSERT_TRUE(PumpEventsUntil([this] {
            return mViews[1]->GetCaptionWnd() && mViews[1]->GetCaptionWnd()->IsShownOnScreen() &&
                   mViews[1]->GetWidth() > 100;
        }));
    }
    void TearDown() override
    {
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
    }

    // A left-button event on the caption at a point of its client area.
    static void SendCaptionMouse(CaptionWnd* caption, wxEventType type, const wxPoint& at)
    {
        wxMouseEvent event(type);
        event.SetEventObject(caption);
        event.SetPosition(at);
        event.m_leftDown = type == wxEVT_LEFT_DOWN;
        caption->GetEventHandler()->ProcessEvent(event);
    }

    wxFrame* mFrame = nullptr;
    ButtonView* mViews[2] = {};
};
}  // namespace

TEST_F(CaptionTest, TitleButtonsLineUpFromTheRightAndClickOnRelease)
{
    ButtonView* v = mViews[0];
    wxRect caption;
    v->GetCaptionRect(caption);
    EXPECT_EQ(caption.GetHeight(), NewView::GetCaptionHeight());
    EXPECT_EQ(v->GetHeight(), v->GetClientSize().y - NewView::GetCaptionHeight());

    v->SetButtonCount(3);
    v->DefineButton(0, 101, wxNullBitmap, 0);
    v->DefineButton(1, 102, wxNullBitmap, 0);
    v->DefineButton(2, 103, wxNullBitmap, NewView::kButtonGap);
    wxRect r0, r1, r2;
    v->GetButtonRect(0, r0, false);
    v->GetButtonRect(1, r1, false);
    v->GetButtonRect(2, r2, false);
    EXPECT_EQ(r0.GetSize(), wxSize(16, 15));
    EXPECT_EQ(r0.GetRight() + 1, caption.GetRight() + 1 - 2);  // 2 pixels from the caption's right edge
    EXPECT_EQ(r0.y, caption.y + (caption.height - 15) / 2);
    EXPECT_EQ(r1.GetRight() + 1, r0.x);  // touching
    EXPECT_EQ(r2.GetRight() + 1, r1.x - 2);  // the gap flag

    {
        ScopedScriptedServices boxes;
        v->DefineButton(3, 104, wxNullBitmap, 0);
        ASSERT_EQ(boxes.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(boxes.services.LastCall()->text, "DefineButton: index 3 invalid");
        EXPECT_EQ(v->GetButtonCount(), 3);
    }

    // Pressed on button 1, released outside it: nothing; released over it: its command.
    CaptionWnd* c = v->GetCaptionWnd();
    const wxPoint inside1 = r1.GetPosition() + wxPoint(5, 5);
    SendCaptionMouse(c, wxEVT_LEFT_DOWN, inside1);
    EXPECT_EQ(v->GetPressedButton(), 1);
    EXPECT_TRUE(v->IsPressedInside());
    SendCaptionMouse(c, wxEVT_MOTION, r0.GetPosition() + wxPoint(5, 5));
    EXPECT_FALSE(v->IsPressedInside());
    SendCaptionMouse(c, wxEVT_LEFT_UP, r0.GetPosition() + wxPoint(5, 5));
    EXPECT_EQ(v->clicks, 0);
    EXPECT_EQ(v->GetPressedButton(), -1);

    SendCaptionMouse(c, wxEVT_LEFT_DOWN, inside1);
    SendCaptionMouse(c, wxEVT_LEFT_UP, inside1);
    EXPECT_EQ(v->clicks, 1);
    EXPECT_EQ(v->clickedIndex, 1);
    EXPECT_EQ(v->clickedCommand, 102);
    // Pressing the caption activated the view.
    EXPECT_EQ(NewView::GetActiveView(), v);
}

TEST_F(CaptionTest, ActivationMovesTheMarksAndDropsTheMessage)
{
    mViews[0]->Activate(false);
    for (ButtonView* v : mViews)
        NewView::ClearRedrawFlags(v), NewView::RedrawNow(v);
    NewView::SetMessage(mViews[1], "about to be activated");
    mViews[1]->Activate(false);
    EXPECT_EQ(NewView::GetActiveView(), mViews[1]);
    EXPECT_EQ(NewView::GetHintView(), mViews[1]);
    EXPECT_EQ(mViews[1]->GetMessage(), "");
    EXPECT_TRUE(mViews[0]->GetRedrawMarks() & NewView::kRedrawCaption);
    EXPECT_TRUE(mViews[1]->GetRedrawMarks() & NewView::kRedrawCaption);
    // Painting clears the caption mark.
    NewView::RedrawAllNow();
    EXPECT_FALSE(mViews[0]->GetRedrawMarks() & NewView::kRedrawCaption);

    // Hiding the captions gives their strip to the drawing area.
    const int height = mViews[0]->GetHeight();
    EXPECT_TRUE(NewView::SetCaptionsShown(false));
    EXPECT_FALSE(mViews[0]->GetCaptionWnd()->IsShown());
    EXPECT_EQ(mViews[0]->GetHeight(), height + NewView::GetCaptionHeight());
    EXPECT_FALSE(NewView::SetCaptionsShown(true));
    EXPECT_EQ(mViews[0]->GetHeight(), height);
}

TEST_F(CaptionTest, HintsFollowTheModifierKeys)
{
    const MouseHintsSink previous = SetMouseHintsSink(RecordHints);
    gHints = HintRecord();
    mViews[0]->Activate(false);
    mViews[0]->UpdateModifierState(0, true);
    ASSERT_EQ(gHints.calls, 1);
    EXPECT_EQ(gHints.left, "Tumble");
    EXPECT_EQ(gHints.right, "Zoom");
    EXPECT_EQ(gHints.both, "-");
    // Unchanged state: no update unless forced.
    mViews[0]->Press(0);
    EXPECT_EQ(gHints.calls, 1);
    mViews[0]->Press(NewView::kShift);
    EXPECT_EQ(gHints.calls, 2);
    EXPECT_EQ(NewView::GetModifierState(), NewView::kShift);
    EXPECT_EQ(gHints.left, "-");
    mViews[0]->Press(0);
    EXPECT_EQ(gHints.left, "Tumble");
    SetMouseHintsSink(previous);
}

TEST_F(CaptionTest, ScrollBarsShowOnlyForALargerDocument)
{
    ButtonView* v = mViews[0];
    const int w = v->GetWidth(), h = v->GetHeight();
    EXPECT_FALSE(v->HasHorizontalScrollBar());
    EXPECT_EQ(v->GetClientHeight(), h - NewView::GetScrollBarThickness());
    v->SetScrollRanges(w * 3, h / 2);
    EXPECT_TRUE(v->HasHorizontalScrollBar());
    EXPECT_FALSE(v->HasVerticalScrollBar());
    EXPECT_EQ(v->GetHeight(), h - NewView::GetScrollBarThickness());
    EXPECT_EQ(v->GetClientHeight(), v->GetHeight());
    v->SetScrollRanges(w / 2, h / 2);
    EXPECT_FALSE(v->HasHorizontalScrollBar());
    EXPECT_EQ(v->GetHeight(), h);

    // While the document works on a model not shown, the bars stay as they are.
    NewView::ScrollBarUpdate() = false;
    v->SetScrollRanges(w * 3, h * 3);
    EXPECT_EQ(v->GetScrollRangeX(), w * 3);
    EXPECT_FALSE(v->HasHorizontalScrollBar());
    NewView::ScrollBarUpdate() = true;
}

TEST_F(CaptionTest, FullScreenTakesTheViewOutAndBringsItBack)
{
    ButtonView* v = mViews[1];
    const wxRect before = v->GetRect();
    v->SetFullScreen(true);
    EXPECT_EQ(NewView::GetFullScreenView(), v);
    EXPECT_NE(wxGetTopLevelParent(v), mFrame);
    EXPECT_EQ(v->GetSize(), wxGetDisplaySize());
    EXPECT_FALSE(v->GetCaptionWnd()->IsShown());
    // The frame's own layout leaves it alone meanwhile.
    mFrame->Layout();
    EXPECT_EQ(v->GetSize(), wxGetDisplaySize());

    NewView::ExitFullScreen();
    EXPECT_EQ(NewView::GetFullScreenView(), nullptr);
    EXPECT_EQ(v->GetParent(), mFrame);
    EXPECT_EQ(v->GetRect(), before);
    EXPECT_TRUE(v->GetCaptionWnd()->IsShown());
    EXPECT_EQ(mFrame->GetSizer()->GetItem(v) != nullptr, true);
}

namespace
{
class OwnCaption : public CaptionWnd
{
public:
    using CaptionWnd::CaptionWnd;
};

class OwnCaptionView : public NewView
{
public:
    using NewView::NewView;
    CaptionWnd* CreateCaptionWnd() override { return new OwnCaption(this); }
};
}  // namespace

TEST_F(CaptionTest, ADerivedViewMakesItsOwnCaption)
{
    auto* v = new OwnCaptionView(mFrame);
    mFrame->GetSizer()->Add(v, 1, wxEXPAND);
    mFrame->Layout();
    ASSERT_TRUE(PumpEventsUntil([v] { return v->GetCaptionWnd() != nullptr; }));
    EXPECT_NE(dynamic_cast<OwnCaption*>(v->GetCaptionWnd()), nullptr);
    EXPECT_EQ(v->GetCaptionWnd()->GetView(), v);
    EXPECT_EQ(v->GetCaptionWnd()->GetId(), 1);
}
