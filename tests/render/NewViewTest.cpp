#include "render/NewView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

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
