// A fast drag with the real mouse keeps the model turning; Esc stops it. The mouse and the keys
// come from the window system's test input; time comes from the frozen program clock.

#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "platform/CommandIds.h"
#include "platform/GLCanvasWindow.h"
#include "support/WxTestApp.h"
#include "ui/EscapeCommands.h"
#include "ui/MainFrame.h"
#include "ui/ModelPane.h"

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/uiaction.h>

#include <GL/gl.h>

#include <memory>
#include <vector>

namespace
{
// A pane showing a triangle with a colour at each corner, keeping the pixels of its last frame.
class TrianglePane : public ModelPane
{
public:
    using ModelPane::ModelPane;
    std::vector<unsigned char> lastFrame;
    int frames = 0;

protected:
    void DrawScene() override
    {
        glDisable(GL_LIGHTING);
        glBegin(GL_TRIANGLES);
        glColor3f(1, 0, 0);
        glVertex3d(0.0, 0.8, 0.0);
        glColor3f(0, 1, 0);
        glVertex3d(-0.6, -0.5, 0.3);
        glColor3f(0, 0, 1);
        glVertex3d(0.7, -0.4, -0.2);
        glEnd();
        const int* viewport = GetViewport();
        lastFrame.assign(size_t(viewport[2]) * size_t(viewport[3]) * 3, 0);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(viewport[0], viewport[1], viewport[2], viewport[3], GL_RGB, GL_UNSIGNED_BYTE, lastFrame.data());
        ++frames;
    }
};

class MouseInertiaTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mPreviousTime = SetFrozenTime(50.0);
        SetMouseInterfaceType(0);
        EnableMouseThrows(true);
        mDocument = std::make_unique<CPolyDoc>();
        mFrame = new CMainFrame(mDocument.get(), [](wxWindow* parent, wxWindowID id) -> NewView* {
            return new TrianglePane(parent, id);
        });
        mFrame->SetSize(40, 40, 800, 700);
        wxTheApp->SetTopWindow(mFrame);
        mFrame->Show();
        mFrame->Raise();
        PumpEventsUntil([this] { return mFrame->IsShownOnScreen() && mFrame->GetClientSize().x > 700; });
        mPane = dynamic_cast<TrianglePane*>(NewView::GetFirstView());
        ASSERT_NE(mPane, nullptr);
        ASSERT_TRUE(PumpEventsUntil([this] { return mPane->frames > 0; })) << "the pane never drew";
    }
    void TearDown() override
    {
        StopAllMouseThrows();
        if (mFrame)
        {
            mFrame->Destroy();
            PumpEventsUntil([] { return false; }, 10);
        }
        mDocument.reset();
        SetFrozenTime(mPreviousTime);
    }

    // One idle pass a little later, as the running program makes it; the pixels of the frame.
    std::vector<unsigned char> FrameAt(double time)
    {
        SetFrozenTime(time);
        CPolyApp::IdleStep(-1.0);
        mPane->OnDraw();
        return mPane->lastFrame;
    }

    double mPreviousTime = -1.0;
    std::unique_ptr<CPolyDoc> mDocument;
    CMainFrame* mFrame = nullptr;
    TrianglePane* mPane = nullptr;
};
}  // namespace

TEST_F(MouseInertiaTest, AFastDragKeepsTheModelTurningUntilEsc)
{
    wxWindow* canvas = mPane->GetCanvas();
    const wxRect area = canvas->GetScreenRect();
    const wxPoint start(area.x + area.width / 3, area.y + area.height / 2);
    wxUIActionSimulator sim;
    double t = 50.0;
    sim.MouseMove(start);
    PumpEventsUntil([] { return false; }, 20);
    sim.MouseDown();
    ASSERT_TRUE(PumpEventsUntil([] { return NewView::GetPressedButtons() != 0; })) << "no button came";
    // A move every 20 ms, 12 pixels each: 600 pixels per second.
    for (int i = 1; i <= 6; ++i)
    {
        t += 0.02;
        SetFrozenTime(t);
        const wxPoint to(start.x + 12 * i, start.y);
        sim.MouseMove(to);
        ASSERT_TRUE(PumpEventsUntil([&] { return NewView::GetLastMousePoint().x == to.x - area.x; }))
            << "move " << i << " did not arrive";
    }
    sim.MouseUp();
    ASSERT_TRUE(PumpEventsUntil([] { return NewView::GetPressedButtons() == 0; })) << "the release did not come";
    ASSERT_TRUE(mPane->GetTumbleThrow().IsMoving());

    const std::vector<unsigned char> first = FrameAt(t + 0.2);
    const std::vector<unsigned char> second = FrameAt(t + 0.4);
    ASSERT_FALSE(first.empty());
    EXPECT_NE(first, second) << "the model did not turn on";

    // Esc from the keyboard, through the main window's keys.
    sim.Char(WXK_ESCAPE);
    ASSERT_TRUE(PumpEventsUntil([] { return !AnyMouseThrowMoving(); })) << "Esc did not stop the motion";
    const std::vector<unsigned char> third = FrameAt(t + 0.6);
    const std::vector<unsigned char> fourth = FrameAt(t + 0.8);
    EXPECT_EQ(third, fourth);
}

TEST_F(MouseInertiaTest, TheOptionsCommandsSwitchAndStopInertia)
{
    mPane->GetTumbleThrow().Start(100.0f, 0.0f);
    wxUpdateUIEvent update(kCmdStopAllMouseInertia);
    update.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetEnabled());

    wxCommandEvent stop(wxEVT_MENU, kCmdStopAllMouseInertia);
    mFrame->ProcessWindowEvent(stop);
    EXPECT_FALSE(AnyMouseThrowMoving());
    wxUpdateUIEvent greyed(kCmdStopAllMouseInertia);
    greyed.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(greyed);
    EXPECT_FALSE(greyed.GetEnabled());

    // Allow Mouse Inertia off stops what moves and lets nothing be thrown; on again starts nothing.
    mPane->GetTumbleThrow().Start(100.0f, 0.0f);
    wxCommandEvent toggle(wxEVT_MENU, kCmdAllowMouseInertia);
    mFrame->ProcessWindowEvent(toggle);
    EXPECT_FALSE(MouseThrowsEnabled());
    EXPECT_FALSE(AnyMouseThrowMoving());
    wxUpdateUIEvent check(kCmdAllowMouseInertia);
    check.SetEventObject(mFrame);
    mFrame->ProcessWindowEvent(check);
    EXPECT_TRUE(check.GetSetChecked());
    EXPECT_FALSE(check.GetChecked());
    mFrame->ProcessWindowEvent(toggle);
    EXPECT_TRUE(MouseThrowsEnabled());
    EXPECT_FALSE(AnyMouseThrowMoving());
}

TEST_F(MouseInertiaTest, EscFinishesATransitionBeforeStoppingMotions)
{
    static int finished = 0;
    static bool running = true;
    finished = 0;
    running = true;
    const FinishTransitionsHook previous = SetFinishTransitionsHook([] {
        if (!running)
            return false;
        running = false;
        ++finished;
        return true;
    });
    mPane->GetTumbleThrow().Start(100.0f, 0.0f);
    EXPECT_TRUE(RunEscapeKey());
    EXPECT_EQ(finished, 1);
    EXPECT_TRUE(AnyMouseThrowMoving());
    EXPECT_TRUE(RunEscapeKey());
    EXPECT_FALSE(AnyMouseThrowMoving());
    EXPECT_FALSE(RunEscapeKey());
    SetFinishTransitionsHook(previous);
}

TEST_F(MouseInertiaTest, TheStatusBarShowsNavigationHints)
{
    wxStatusBar* bar = mFrame->GetStatusBar();
    EXPECT_EQ(bar->GetStatusText(1), "L: Tumble");
    EXPECT_EQ(bar->GetStatusText(2), "R: Zoom");
    EXPECT_EQ(bar->GetStatusText(3), "L+R: Twist");
    // The pane's own hints follow the space bar.
    wxKeyEvent space(wxEVT_KEY_DOWN);
    space.m_keyCode = WXK_SPACE;
    space.SetEventObject(mPane->GetCanvas());
    mPane->GetCanvas()->GetEventHandler()->ProcessEvent(space);
    NewView::UpdateMouseHints();
    EXPECT_EQ(bar->GetStatusText(1), "L: Pan");
    EXPECT_EQ(bar->GetStatusText(2), "R: FOV");
    EXPECT_EQ(bar->GetStatusText(3), "L+R: Pivot around axis");
    wxKeyEvent up(wxEVT_KEY_UP);
    up.m_keyCode = WXK_SPACE;
    up.SetEventObject(mPane->GetCanvas());
    mPane->GetCanvas()->GetEventHandler()->ProcessEvent(up);
    EXPECT_EQ(bar->GetStatusText(1), "L: Tumble");
}
