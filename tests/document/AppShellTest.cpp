#include "document/AppShell.h"
#include "document/UndoItem.h"
#include "document/UndoList.h"
#include "kernel/UndoKinds.h"
#include "kernel/ViewTypes.h"
#include "render/OpenGLView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/frame.h>

#include <vector>

namespace
{
// A pane that reports the view-type code it is given.
class CodedView : public OpenGLView
{
public:
    CodedView(wxWindow* parent, int code) : OpenGLView(parent), mCode(code) {}
    int ViewTypeCode() const override { return mCode; }

private:
    int mCode;
};

class AppShellTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "shell");
        mSlice = new CodedView(mFrame, kViewTypeSlice);
        mNet = new CodedView(mFrame, kViewTypeNet2D);
        mPlain = new NewView(mFrame);
        for (NewView* v = NewView::GetFirstView(); v; v = v->next)
            NewView::ClearRedrawFlags(v);
    }
    void TearDown() override
    {
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
    }

    AppShell mShell;
    wxFrame* mFrame = nullptr;
    CodedView* mSlice = nullptr;
    CodedView* mNet = nullptr;
    NewView* mPlain = nullptr;
};
}  // namespace

TEST_F(AppShellTest, CoreWalksTheViewsWithTheirTypes)
{
    std::vector<void*> walked;
    for (void* v = mShell.NextView(nullptr); v; v = mShell.NextView(v))
        walked.push_back(v);
    // Views are listed in creation order, so ours come last.
    ASSERT_GE(walked.size(), 3u);
    const size_t first = walked.size() - 3;
    EXPECT_EQ(walked[first], static_cast<NewView*>(mSlice));
    EXPECT_EQ(walked[first + 1], static_cast<NewView*>(mNet));
    EXPECT_EQ(walked[first + 2], mPlain);

    EXPECT_EQ(mShell.ViewTypeCode(static_cast<NewView*>(mSlice)), kViewTypeSlice);
    EXPECT_EQ(mShell.ViewTypeCode(static_cast<NewView*>(mNet)), kViewTypeNet2D);
    EXPECT_EQ(mShell.ViewTypeCode(mPlain), kViewTypeNone);  // not a drawing pane
}

TEST_F(AppShellTest, NotificationsMarkTheViewsTheyConcern)
{
    mShell.InvalidateCrossSectionViews(0);
    EXPECT_TRUE(mSlice->GetRedrawMarks() & NewView::kRedraw);
    EXPECT_EQ(mNet->GetRedrawMarks(), 0);
    EXPECT_EQ(mPlain->GetRedrawMarks(), 0);

    mShell.UpdateViewTitle(mNet);
    EXPECT_EQ(mNet->GetRedrawMarks(), NewView::kRedrawCaption);

    mShell.RequestViewFit(mPlain, 1);
    EXPECT_TRUE(mPlain->GetRedrawMarks() & NewView::kRedraw);

    // Null means the active view.
    mNet->Activate(false);
    EXPECT_FALSE(mNet->GetRedrawMarks() & NewView::kRedraw);
    mShell.RequestViewFit(nullptr, 1);
    EXPECT_TRUE(mNet->GetRedrawMarks() & NewView::kRedraw);
}

// Core code records its changes through the shell: the program's shell keeps them in the undo list.
TEST(AppShellUndo, CoreChangesReachTheUndoList)
{
    // An item of a recording kind that saw no change.
    struct Unchanged : UndoItem
    {
        using UndoItem::UndoItem;
        bool CloseUndo() override { return false; }
    };
    ClearUndoList();
    SetUndoItemMaker([](int kind) -> UndoItem* {
        return kind == kUndoStellationChange ? new Unchanged(kind) : new UndoItem(kind);
    });
    AppShell appShell;
    Shell& shell = appShell;
    shell.AddUndo(kUndoImageOptions, false);
    EXPECT_EQ(GetUndoStepCount(), 1);
    shell.BeginUndoGroup(kUndoImageOptions);
    shell.AddUndo(kUndoImageOptions, false);
    shell.EndUndoGroup();
    EXPECT_EQ(GetUndoStepCount(), 2);
    shell.AddUndo(kUndoImageOptions, false);
    shell.DiscardLastUndo();
    EXPECT_EQ(GetUndoStepCount(), 2);
    // The item of a recording kind stays open until closed; with nothing recorded it goes.
    shell.AddUndo(kUndoStellationChange, false);
    EXPECT_EQ(GetUndoStepCount(), 3);
    shell.CloseUndo();
    EXPECT_EQ(GetUndoStepCount(), 2);
    EXPECT_EQ(UndoMenuText(false), "&Undo Image Options");
    ClearUndoList();
    SetUndoItemMaker(nullptr);
}
