// The application's idle step: the time it works at, painting the marked panes, and when it must
// not run.

#include "document/PolyApp.h"
#include "kernel/ProgramClock.h"
#include "platform/CommandRouting.h"
#include "render/OpenGLView.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <gdk/gdkx.h>
#include <gtk/gtk.h>
#include <X11/Xlib.h>

namespace
{
class CountingView : public OpenGLView
{
public:
    explicit CountingView(wxWindow* parent) : OpenGLView(parent) {}
    int mFrames = 0;

protected:
    void DrawScene() override { ++mFrames; }
};

class IdleStepTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mFrame = new wxFrame(nullptr, wxID_ANY, "idle", wxPoint(50, 50), wxSize(300, 240));
        mView = new CountingView(mFrame);
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(mView, 1, wxEXPAND);
        mFrame->SetSizer(sizer);
        wxTheApp->SetTopWindow(mFrame);
        mFrame->Show();
        // The first frame is drawn before the test begins.
        PumpEventsUntil([this] { return mView->mFrames > 0; });
        NewView::ClearRedrawFlags(mView);
        mView->mFrames = 0;
    }
    void TearDown() override
    {
        SetFrozenTime(-1.0);
        CPolyApp::SetExportRunning(false);
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 5);
        }
    }

    // Minimises the window as a window manager does: it unmaps the window, which the toolkit
    // takes for minimising.
    bool Minimise()
    {
        GdkWindow* window = gtk_widget_get_window(mFrame->GetHandle());
        XUnmapWindow(GDK_WINDOW_XDISPLAY(window), GDK_WINDOW_XID(window));
        return PumpEventsUntil([this] { return mFrame->IsIconized(); }, 500);
    }
    void Restore()
    {
        mFrame->Iconize(false);
        PumpEventsUntil([this] { return !mFrame->IsIconized() && mFrame->IsShownOnScreen(); }, 500);
    }

    wxFrame* mFrame = nullptr;
    CountingView* mView = nullptr;
};
}  // namespace

TEST_F(IdleStepTest, WorksAtTheTimeGivenOrElseTheClocksTime)
{
    EXPECT_FALSE(CPolyApp::IdleStep(2.5));
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 2.5);
    EXPECT_FALSE(CPolyApp::IdleStep(0.0));
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 0.0);

    // A given time is used even while the clock is frozen elsewhere.
    SetFrozenTime(12.25);
    EXPECT_FALSE(CPolyApp::IdleStep(4.0));
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 4.0);
    // "Now" is the frozen time while frames are exported...
    EXPECT_FALSE(CPolyApp::IdleStep(-1.0));
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 12.25);
    // ... and the running clock otherwise.
    SetFrozenTime(-1.0);
    const double before = GetElapsedSeconds(false);
    EXPECT_FALSE(CPolyApp::IdleStep(-1.0));
    const double after = GetElapsedSeconds(false);
    EXPECT_GE(CPolyApp::GetLastIdleStepTime(), before);
    EXPECT_LE(CPolyApp::GetLastIdleStepTime(), after);
}

TEST_F(IdleStepTest, PaintsEachMarkedPaneOnce)
{
    EXPECT_FALSE(CPolyApp::IdleStep(1.0));
    EXPECT_EQ(mView->mFrames, 0);
    NewView::Invalidate(mView, false);
    NewView::Invalidate(mView, false);
    EXPECT_FALSE(CPolyApp::IdleStep(1.0));
    EXPECT_EQ(mView->mFrames, 1);
    EXPECT_EQ(mView->GetRedrawMarks() & NewView::kRedraw, 0);

    // A colour change is seen in every pane at the next step, and only once.
    MarkDiagramColorsChanged();
    EXPECT_EQ(mView->mFrames, 1);
    EXPECT_FALSE(CPolyApp::IdleStep(1.0));
    EXPECT_EQ(mView->mFrames, 2);
    EXPECT_FALSE(CPolyApp::IdleStep(1.0));
    EXPECT_EQ(mView->mFrames, 2);
}

TEST_F(IdleStepTest, AMinimisedWindowStopsTheStepUnlessFramesAreExported)
{
    ASSERT_TRUE(Minimise()) << "the window did not take the unmapping for minimising";
    EXPECT_TRUE(mFrame->IsIconized());
    NewView::Invalidate(mView, false);
    EXPECT_FALSE(CPolyApp::IdleStep(7.0));
    EXPECT_NE(CPolyApp::GetLastIdleStepTime(), 7.0);
    EXPECT_NE(mView->GetRedrawMarks() & NewView::kRedraw, 0);

    CPolyApp::SetExportRunning(true);
    EXPECT_FALSE(CPolyApp::IdleStep(8.0));
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 8.0);
    CPolyApp::SetExportRunning(false);
    Restore();
}

TEST_F(IdleStepTest, IdleEventsWaitWhileACommandRuns)
{
    wxTheApp->Bind(wxEVT_IDLE, &CPolyApp::HandleIdleEvent);
    SetFrozenTime(3.0);
    CPolyApp::IdleStep(1.0);
    {
        // A message box inside a command runs idle events: they must not step or paint.
        CommandScope command;
        NewView::Invalidate(mView, false);
        wxTheApp->ProcessIdle();
        EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 1.0);
        EXPECT_NE(mView->GetRedrawMarks() & NewView::kRedraw, 0);
        // A loop of ours calls the step itself.
        CPolyApp::IdleStep(-1.0);
        EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 3.0);
        EXPECT_EQ(mView->mFrames, 1);
    }
    SetFrozenTime(5.0);
    NewView::Invalidate(mView, false);
    wxTheApp->ProcessIdle();
    EXPECT_DOUBLE_EQ(CPolyApp::GetLastIdleStepTime(), 5.0);
    EXPECT_EQ(mView->mFrames, 2);
    wxTheApp->Unbind(wxEVT_IDLE, &CPolyApp::HandleIdleEvent);
}
