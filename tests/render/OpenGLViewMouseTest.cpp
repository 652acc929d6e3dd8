// Navigating a view with the mouse: the drags, the wheel, the hints and the motions that go on
// after a fast release. Time comes from the frozen program clock, never from waiting.

#include "RenderTestView.h"

#include "kernel/MouseThrow.h"
#include "kernel/ProgramClock.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "platform/GLCanvasWindow.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
constexpr double kDegToRad = kPi / 180.0;

double AngleBetween(const Vec3D& a, const Vec3D& b)
{
    const double c = Vec3Dot(a, b) / (Vec3Length(a) * Vec3Length(b));
    return std::acos(std::clamp(c, -1.0, 1.0)) / kDegToRad;
}

class MouseNavigationTest : public RenderTest
{
protected:
    void SetUp() override
    {
        RenderTest::SetUp();
        if (!mView)
            return;
        mPreviousTime = SetFrozenTime(100.0);
        mPreviousPivot = gPivotAroundAxis;
        SetMouseInterfaceType(0);
        EnableMouseThrows(true);
        SizeView(200, 200);
        mView->ResetView();
    }
    void TearDown() override
    {
        if (mView)
        {
            StopAllMouseThrows();
            for (int key : {WXK_SPACE, WXK_SHIFT, WXK_CONTROL})
                Key(wxEVT_KEY_UP, key);
            gPivotAroundAxis = mPreviousPivot;
            SetFrozenTime(mPreviousTime);
        }
        RenderTest::TearDown();
    }

    void Mouse(wxEventType type, int x, int y)
    {
        wxWindow* canvas = mView->GetCanvas();
        wxMouseEvent event(type);
        event.SetPosition(wxPoint(x, y));
        event.m_shiftDown = mShiftHeld;
        event.SetEventObject(canvas);
        if (type == wxEVT_MOUSEWHEEL)
        {
            event.m_wheelRotation = 120;
            event.m_wheelDelta = 120;
        }
        canvas->GetEventHandler()->ProcessEvent(event);
    }
    void Key(wxEventType type, int code)
    {
        wxWindow* canvas = mView->GetCanvas();
        wxKeyEvent event(type);
        event.m_keyCode = code;
        event.SetEventObject(canvas);
        canvas->GetEventHandler()->ProcessEvent(event);
    }
    // A drag in one move from (100, 100) by (dx, dy) with the button of these event types.
    void Drag(wxEventType down, wxEventType up, int dx, int dy)
    {
        Mouse(wxEVT_MOTION, 100, 100);
        Mouse(down, 100, 100);
        Mouse(wxEVT_MOTION, 100 + dx, 100 + dy);
        Mouse(up, 100 + dx, 100 + dy);
    }
    double Distance() const { return Vec3Dot(mView->GetEye(), mView->GetBackward()); }

    double mPreviousTime = -1.0;
    bool mPreviousPivot = false;
    bool mShiftHeld = false;  // mouse messages carry the Shift key
};
}  // namespace

TEST_F(MouseNavigationTest, RightDragsAndTheWheelZoom)
{
    struct Case
    {
        const char* name;
        int dx, dy;
        double factor;
    };
    const Case kCases[] = {
        {"100 pixels left", -100, 0, std::pow(1.006, 100)},
        {"100 pixels up", 0, -100, std::pow(1.006, -100)},
        {"diagonal that cancels", 30, 30, 1.0},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mView->ResetView();
        const double before = Distance();
        Drag(wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, c.dx, c.dy);
        EXPECT_NEAR(Distance(), before * c.factor, 1e-9 * before);
        // A zoom does not go on after the release.
        EXPECT_FALSE(mView->GetZoomThrow().IsMoving());
    }

    mView->ResetView();
    double before = Distance();
    mView->OnWheel(120);
    EXPECT_NEAR(Distance(), before / 1.06, 1e-9);
    mView->OnWheel(-240);
    EXPECT_NEAR(Distance(), before * 1.06, 1e-9);

    // Limits hold the distance.
    mView->ResetView();
    before = Distance();
    mView->SetDistanceLimits(before * 0.99, before * 1.01);
    Drag(wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, -100, 0);
    EXPECT_NEAR(Distance(), before * 1.01, 1e-9);
    mView->OnWheel(1200);
    EXPECT_NEAR(Distance(), before * 0.99, 1e-9);
    mView->SetDistanceLimits(-1.0, -1.0);

    // Orthogonal: the half-height scales instead.
    mView->SetOrthogonal(true);
    const float half = mView->GetHalfHeight();
    mView->OnWheel(120);
    EXPECT_NEAR(mView->GetHalfHeight(), half / 1.06, 1e-5);
    mView->SetOrthogonal(false);

    // A flat view: the wheel scales its zoom.
    mView->SetDepthMode(false);
    const float zoom = mView->Get2DZoom();
    mView->OnWheel(120);
    EXPECT_NEAR(mView->Get2DZoom(), zoom * 1.06, 1e-5);
    mView->SetDepthMode(true);
}

TEST_F(MouseNavigationTest, SpaceRightDragChangesTheFieldOfViewWithinItsLimits)
{
    ScopedScriptedServices services;
    struct Case
    {
        const char* name;
        int dx, dy;
        float fov;
    };
    const Case kCases[] = {
        {"wider by 10 degrees", 100, 0, 35.0f},
        {"past the widest", 3000, 0, 160.0f},
        {"past the narrowest", 0, 3000, 5.0f},
    };
    Key(wxEVT_KEY_DOWN, WXK_SPACE);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mView->ResetView();
        mView->SetVerticalFOV(25.0f);
        const double apparent = Distance() * std::sin(mView->GetNarrowFOV() * kDegToRad / 2);
        Drag(wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, c.dx, c.dy);
        EXPECT_NEAR(mView->GetVerticalFOV(), c.fov, 1e-4);
        // The model keeps its apparent size.
        EXPECT_NEAR(Distance() * std::sin(mView->GetNarrowFOV() * kDegToRad / 2), apparent, 1e-9);
    }
    // Shown while dragging, cleared at the release.
    mView->ResetView();
    mView->SetVerticalFOV(25.0f);
    Mouse(wxEVT_MOTION, 100, 100);
    Mouse(wxEVT_RIGHT_DOWN, 100, 100);
    Mouse(wxEVT_MOTION, 120, 100);
    EXPECT_EQ(services.services.statusText, "Vertical FOV: 27.0 degrees");
    Mouse(wxEVT_RIGHT_UP, 120, 100);
    EXPECT_EQ(services.services.statusText, "");

    // Orthogonal: the message, no change.
    mView->SetOrthogonal(true);
    const float half = mView->GetHalfHeight();
    const float fov = mView->GetVerticalFOV();
    Drag(wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, 100, 0);
    EXPECT_EQ(mView->GetVerticalFOV(), fov);
    EXPECT_EQ(mView->GetHalfHeight(), half);
    EXPECT_EQ(mView->GetMessage(), "Can't change field-of-view (FOV)\nin orthogonal projection window.\n"
                                   "Use \"View->Orthogonal View\" to change\nback to a perspective view.");
    mView->SetOrthogonal(false);
}

TEST_F(MouseNavigationTest, DragsMoveTheCameraAsThePointerMoves)
{
    // Space and left: the model follows the pointer.
    Key(wxEVT_KEY_DOWN, WXK_SPACE);
    const Vec3D origin{0, 0, 0};
    Vec3D before, after;
    mView->ProjectToWindow(before, origin);
    Drag(wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, 10, 0);
    mView->ProjectToWindow(after, origin);
    EXPECT_NEAR(after.x - before.x, 10.0, 1e-3);
    EXPECT_NEAR(after.y, before.y, 1e-3);
    Key(wxEVT_KEY_UP, WXK_SPACE);

    // Left: a tumble of 0.3 degree per pixel about the axis across the drag.
    mView->ResetView();
    const Vec3D eye = mView->GetEye();
    const Vec3D up = mView->GetUp();
    Drag(wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, 20, 0);
    EXPECT_NEAR(AngleBetween(eye, mView->GetEye()), 20 * 0.3, 1e-6);
    EXPECT_NEAR(AngleBetween(up, mView->GetUp()), 0.0, 1e-6);
    EXPECT_NEAR(Vec3Length(mView->GetEye()), Vec3Length(eye), 1e-9);

    // The middle button: a twist of 0.3 degree per pixel about the line of sight.
    mView->ResetView();
    const Vec3D backward = mView->GetBackward();
    Drag(wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_UP, 10, 0);
    EXPECT_NEAR(AngleBetween(up, mView->GetUp()), 3.0, 1e-6);
    EXPECT_NEAR(AngleBetween(backward, mView->GetBackward()), 0.0, 1e-6);

    // With Shift the buttons are not navigation's.
    mView->ResetView();
    mShiftHeld = true;
    Drag(wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, 20, 0);
    mShiftHeld = false;
    EXPECT_NEAR(AngleBetween(eye, mView->GetEye()), 0.0, 1e-9);
}

TEST_F(MouseNavigationTest, AFastTumbleGoesOnAfterTheReleaseUntilCaught)
{
    const double times[] = {100.0, 100.1, 100.2, 100.3, 100.4};
    Mouse(wxEVT_MOTION, 50, 100);
    Mouse(wxEVT_LEFT_DOWN, 50, 100);
    for (int i = 1; i < 5; ++i)
    {
        SetFrozenTime(times[i]);
        Mouse(wxEVT_MOTION, 50 + 10 * i, 100);
    }
    Mouse(wxEVT_LEFT_UP, 90, 100);
    ASSERT_TRUE(mView->GetTumbleThrow().IsMoving());
    EXPECT_NEAR(mView->GetTumbleThrow().GetVelocityX(), 100.0f, 1e-3);

    // The idle step marks the view; its next frame steps the throw: 0.5 s at 100 px/s.
    const Vec3D eye = mView->GetEye();
    SetFrozenTime(100.9);
    EXPECT_TRUE(InvalidateMouseThrowTargets());
    EXPECT_NE(mView->GetRedrawMarks() & NewView::kRedraw, 0);
    SetMouseThrowStepPending(true);
    mView->OnDraw();
    EXPECT_NEAR(AngleBetween(eye, mView->GetEye()), 50 * 0.3, 1e-5);

    // A press catches it.
    Mouse(wxEVT_LEFT_DOWN, 90, 100);
    EXPECT_FALSE(AnyMouseThrowMoving());
    Mouse(wxEVT_LEFT_UP, 90, 100);

    // A flat view stops a tumble at its first step.
    mView->GetTumbleThrow().Start(100.0f, 0.0f);
    mView->SetDepthMode(false);
    StepMouseThrows(nullptr);
    EXPECT_FALSE(mView->GetTumbleThrow().IsMoving());
    mView->SetDepthMode(true);
}

TEST_F(MouseNavigationTest, HintsAndCursorsFollowTheKeys)
{
    struct Case
    {
        const char* name;
        bool flat;
        int key;  // held, 0 for none
        bool pivot;
        bool turning;
        const char* left;
        const char* right;
        const char* both;
    };
    const Case kCases[] = {
        {"plain", false, 0, false, true, "Tumble", "Zoom", "Twist"},
        {"space", false, WXK_SPACE, false, true, "Pan", "FOV", "Pivot around axis"},
        {"pivot setting", false, 0, true, true, "Tumble", "Zoom", "Pivot around axis"},
        {"pivot setting and space", false, WXK_SPACE, true, true, "Pan", "FOV", "Twist"},
        {"shift", false, WXK_SHIFT, false, true, "-", "-", "-"},
        {"ctrl", false, WXK_CONTROL, false, true, "-", "-", "-"},
        {"no turning", false, 0, false, false, "Tumble", "Zoom", "-"},
        {"flat", true, 0, true, true, "Pan", "Zoom", "Twist"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        gPivotAroundAxis = c.pivot;
        mView->SetDepthMode(!c.flat);
        mView->SetRotationAllowed(c.turning, true);
        if (c.key)
            Key(wxEVT_KEY_DOWN, c.key);
        std::string left, right, both;
        mView->GetMouseHints(left, right, both);
        EXPECT_EQ(left, c.left);
        EXPECT_EQ(right, c.right);
        EXPECT_EQ(both, c.both);
        if (c.key)
            Key(wxEVT_KEY_UP, c.key);
    }
    mView->SetDepthMode(true);
    mView->SetRotationAllowed(true, true);
    gPivotAroundAxis = false;

    // No button: no cursor of its own; ready to pan with space; buttons pick their mode's.
    EXPECT_EQ(mView->GetMouseMode(), OpenGLView::kModeNone);
    EXPECT_EQ(mView->GetModeCursor(), nullptr);
    Key(wxEVT_KEY_DOWN, WXK_SPACE);
    EXPECT_EQ(mView->GetMouseMode(), OpenGLView::kModeReadyToPan);
    const wxCursor* pan = mView->GetModeCursor();
    EXPECT_NE(pan, nullptr);
    Key(wxEVT_KEY_UP, WXK_SPACE);
    Mouse(wxEVT_LEFT_DOWN, 10, 10);
    EXPECT_EQ(mView->GetMouseMode(), OpenGLView::kModeTumble);
    EXPECT_NE(mView->GetModeCursor(), nullptr);
    EXPECT_NE(mView->GetModeCursor(), pan);
    Mouse(wxEVT_RIGHT_DOWN, 10, 10);
    EXPECT_EQ(mView->GetMouseMode(), OpenGLView::kModeTwist);
    Mouse(wxEVT_RIGHT_UP, 10, 10);
    Mouse(wxEVT_LEFT_UP, 10, 10);
}
