// Mouse navigation of the views: the modes of the buttons and the space bar, their cursors and
// hints, the drags that move the camera or the flat area, and the wheel.

#include "render/OpenGLView.h"

#include "kernel/StatusText.h"
#include "kernel/Tolerance.h"

#include <wx/cursor.h>

#include <algorithm>
#include <cmath>
#include <memory>

namespace
{
constexpr double kDegToRad = kPi / 180.0;
constexpr double kZoomBase = 1.006;   // per pixel of a zoom drag
constexpr double kWheelBase = 1.06;   // per wheel notch
constexpr double kWheelNotch = 120.0;
constexpr double kFOVRate = 0.1;      // degrees per pixel
constexpr float kMinFOV = 5.0f;
constexpr float kMaxFOV = 160.0f;
constexpr const char* kOrthogonalFOVText = "Can't change field-of-view (FOV)\nin orthogonal projection window.\n"
                                           "Use \"View->Orthogonal View\" to change\nback to a perspective view.";

// Successive 2D zoom moves keep the point that was under the button.
bool gZoomAnchored = false;

double SinHalf(double degrees)
{
    return std::sin(degrees * kDegToRad / 2.0);
}

// The cursors of the modes: not possible, zoom, tumble, twist, pan, field of view, pivot.
enum CursorIndex
{
    kCursorNo,
    kCursorZoom,
    kCursorTumble,
    kCursorTwist,
    kCursorPan,
    kCursorFOV,
    kCursorPivot,
    kNumCursors
};

const wxCursor* ModeCursor(CursorIndex index)
{
    static std::unique_ptr<wxCursor> cursors[kNumCursors];
    if (!cursors[0])
    {
        const wxStockCursor stock[kNumCursors] = {wxCURSOR_NO_ENTRY, wxCURSOR_MAGNIFIER, wxCURSOR_HAND,
                                                  wxCURSOR_POINT_LEFT, wxCURSOR_SIZING, wxCURSOR_SIZENS,
                                                  wxCURSOR_CROSS};
        for (int i = 0; i < kNumCursors; ++i)
            cursors[i] = std::make_unique<wxCursor>(stock[i]);
    }
    return cursors[index].get();
}
}  // namespace

int OpenGLView::GetMouseMode() const
{
    const int keys = GetModifierState();
    if (!mGLEnabled || (keys & ~kSpaceBar) != 0)
        return kModeNone;
    int buttons = GetPressedButtons();
    if (buttons & kMiddleButton)
        buttons |= kLeftButton | kRightButton;
    const bool left = (buttons & kLeftButton) != 0;
    const bool right = (buttons & kRightButton) != 0;
    const bool space = (keys & kSpaceBar) != 0;
    if (m3D)
    {
        if (right && !left)
            return space ? kModeFOV : kModeZoom;
        if (left && !right)
            return space ? kModePan : kModeTumble;
        if (left && right)
        {
            if (!mRotationAllowed)
                return kModeNotPossible;
            return gPivotAroundAxis != space ? kModePivot : kModeTwist;
        }
        return space ? kModeReadyToPan : kModeNone;
    }
    if (right && !left)
        return kModeZoom2D;
    if (left && !right)
        return kModePan2D;
    if (left && right)
        return mRotationAllowed ? kModeTwist2D : kModeNotPossible;
    return kModeNone;
}

const wxCursor* OpenGLView::GetModeCursor()
{
    switch (GetMouseMode())
    {
    case kModeNotPossible:
        return ModeCursor(kCursorNo);
    case kModeZoom:
    case kModeZoom2D:
        return ModeCursor(kCursorZoom);
    case kModeTumble:
        return ModeCursor(kCursorTumble);
    case kModeTwist:
    case kModeTwist2D:
        return ModeCursor(kCursorTwist);
    case kModeReadyToPan:
    case kModePan:
    case kModePan2D:
        return ModeCursor(kCursorPan);
    case kModeFOV:
        return ModeCursor(kCursorFOV);
    case kModePivot:
        return ModeCursor(kCursorPivot);
    default:
        return nullptr;
    }
}

void OpenGLView::GetMouseHints(std::string& left, std::string& right, std::string& both)
{
    left = right = both = "-";
    const int keys = GetModifierState();
    if (keys & (kShift | kCtrl))
        return;
    const bool space = (keys & kSpaceBar) != 0;
    if (!m3D)
    {
        left = "Pan";
        right = "Zoom";
    }
    else if (space)
    {
        left = "Pan";
        right = "FOV";
    }
    else
    {
        left = "Tumble";
        right = "Zoom";
    }
    if (mRotationAllowed)
        both = !m3D || gPivotAroundAxis == space ? "Twist" : "Pivot around axis";
}

void OpenGLView::StopZoomThrow()
{
    mZoomThrow.Stop();
}

void OpenGLView::StopRotationThrows(bool alsoPivot)
{
    mTumbleThrow.Stop();
    mTwistThrow.Stop();
    mTurnThrow.Stop();
    if (alsoPivot)
        mPivotThrow.Stop();
}

void OpenGLView::ScaleCameraDistance(double factor)
{
    if (mOrthogonal)
    {
        mHalfHeight = float(mHalfHeight * factor);
        mWindowMatrixValid = false;
        return;
    }
    const double d = Vec3Dot(mEye, mBackward);
    double distance = d * factor;
    if (mMinDistance >= 0.0)
        distance = std::max(distance, mMinDistance);
    if (mMaxDistance >= 0.0)
        distance = std::min(distance, mMaxDistance);
    Vec3D eye;
    Vec3AddScaled(eye, mEye, distance - d, mBackward);
    SetEye(eye);
}

void OpenGLView::OnMouseButtonDown(int button, int flags, int x, int y)
{
    NewView::OnMouseButtonDown(button, flags, x, y);
    // Keys (the space bar, Esc) reach the pane that was clicked.
    if (wxWindow* child = GetClientChild())
        child->SetFocus();
    BeginMouseAction(flags, x, y);
}

void OpenGLView::OnMouseButtonUp(int button, int flags, int x, int y)
{
    EndMouseAction(flags, x, y);
    NewView::OnMouseButtonUp(button, flags, x, y);
}

void OpenGLView::BeginMouseAction(int /*flags*/, int x, int y)
{
    switch (GetMouseMode())
    {
    case kModeZoom:
        mZoomThrow.Stop();
        StopLinkedThrows(true, false);
        break;
    case kModeTumble:
        mTumbleThrow.AddSample(x, y);
        mTwistThrow.Stop();
        mTurnThrow.Stop();
        StopLinkedThrows(false, false);
        break;
    case kModeTwist:
    case kModeTwist2D:
        mTwistThrow.AddSample(x, y);
        mTumbleThrow.Stop();
        mTurnThrow.Stop();
        StopLinkedThrows(false, true);
        break;
    case kModeFOV:
        SetStatusText("Vertical FOV: %.1f degrees", double(mFOV));
        break;
    case kModePivot:
        mPivotThrow.AddSample(x, y);
        mTwistThrow.Stop();
        mTumbleThrow.Stop();
        mTurnThrow.Stop();
        StopLinkedThrows(false, false);
        break;
    default:
        break;
    }
}

void OpenGLView::EndMouseAction(int /*flags*/, int /*x*/, int /*y*/)
{
    switch (GetMouseMode())
    {
    case kModeTumble:
        mTumbleThrow.Release();
        break;
    case kModeTwist:
    case kModeTwist2D:
        mTwistThrow.Release();
        break;
    case kModePivot:
        mPivotThrow.Release();
        break;
    case kModeFOV:
        SetStatusText("%s", "");
        break;
    default:
        break;
    }
}

void OpenGLView::OnMouseMove(int flags, int x, int y)
{
    UpdateModifierState(flags, false);
    const wxPoint last = GetLastMousePoint();
    const float dx = float(x - last.x);
    const float dy = float(y - last.y);
    if (dx == 0.0f && dy == 0.0f)
    {
        NewView::OnMouseMove(flags, x, y);
        return;
    }
    const int mode = GetMouseMode();
    bool redraw = false;
    switch (mode)
    {
    case kModeZoom:
        mZoomThrow.AddSample(x, y);
        mZoomThrow.Apply(dx, dy);
        redraw = true;
        break;
    case kModeTumble:
        mTumbleThrow.AddSample(x, y);
        mTumbleThrow.Drag(dx, dy);
        redraw = true;
        break;
    case kModePivot:
        mPivotThrow.AddSample(x, y);
        mPivotThrow.Drag(dx, dy);
        redraw = true;
        break;
    case kModeTwist:
    case kModeTwist2D:
        mTwistThrow.AddSample(x, y);
        mTwistThrow.Apply(dx, dy);
        redraw = true;
        break;
    case kModePan:
    {
        const int h = std::max(GetHeight(), 1);
        const double k = mOrthogonal ? 2.0 * mHalfHeight / h
                                     : std::tan(mFOV * kDegToRad / 2.0) * Vec3Dot(mEye, mBackward) * 2.0 / h;
        // The model follows the pointer.
        Vec3D eye;
        Vec3AddScaled(eye, mEye, -dx * k, mRight);
        Vec3AddScaledTo(eye, dy * k, mUp);
        SetEye(eye);
        Invalidate(this, false);
        SyncOtherViews();
        break;
    }
    case kModeFOV:
    {
        if (mOrthogonal)
        {
            SetMessage(this, "%s", kOrthogonalFOVText);
            break;
        }
        const double before = SinHalf(GetNarrowFOV());
        const float fov = std::clamp(float(mFOV + (dx - dy) * kFOVRate), kMinFOV, kMaxFOV);
        SetVerticalFOV(fov);
        // The model keeps its apparent size.
        const double d = Vec3Dot(mEye, mBackward);
        Vec3D eye;
        Vec3AddScaled(eye, mEye, d * before / SinHalf(GetNarrowFOV()) - d, mBackward);
        SetEye(eye);
        SetStatusText("Vertical FOV: %.1f degrees", double(mFOV));
        Invalidate(this, false);
        SyncOtherViews();
        break;
    }
    case kModeZoom2D:
    {
        const wxPoint down = GetButtonDownPoint();
        if (!gZoomAnchored)
        {
            Vec2D anchor;
            ClientToWorld2D(anchor, down.x, down.y);
            mZoomAnchorX = float(anchor.x);
            mZoomAnchorY = float(anchor.y);
            gZoomAnchored = true;
        }
        mZoom2D = float(mZoom2D * std::pow(kZoomBase, double(dx) - dy));
        UpdateScrollSize();
        Vec2D p;
        WorldToClient2D(p, mZoomAnchorX, mZoomAnchorY);
        ScrollTo(float(mScrollX + p.x - down.x), float(mScrollY + p.y - down.y));
        redraw = true;
        break;
    }
    case kModePan2D:
        ScrollTo(mScrollX - dx, mScrollY - dy);
        redraw = true;
        break;
    default:
        break;
    }
    if (mode != kModeZoom2D)
        gZoomAnchored = false;
    if (redraw)
        Invalidate(this, false);
    NewView::OnMouseMove(flags, x, y);
}

void OpenGLView::OnWheel(int delta)
{
    const double notches = delta / kWheelNotch;
    if (m3D)
    {
        mZoomThrow.Stop();
        StopLinkedThrows(true, false);
        ScaleCameraDistance(std::pow(kWheelBase, -notches));
        Invalidate(this, false);
        SyncOtherViews();
        return;
    }
    const wxPoint at = GetLastMousePoint();
    Vec2D anchor;
    ClientToWorld2D(anchor, at.x, at.y);
    mZoom2D = float(mZoom2D * std::pow(kWheelBase, notches));
    UpdateScrollSize();
    Vec2D p;
    WorldToClient2D(p, anchor.x, anchor.y);
    ScrollTo(float(mScrollX + p.x - at.x), float(mScrollY + p.y - at.y));
    Invalidate(this, false);
}
