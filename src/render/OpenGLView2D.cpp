// The 2D drawing area of OpenGLView: a rectangle of a flat world shown at a zoom, scrolled with the
// view's scroll bars and optionally turned.

#include "render/OpenGLView.h"

#include "kernel/Tolerance.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kDegToRad = kPi / 180.0;

// To the nearest integer, halves away from zero.
double Nint(double v)
{
    return std::round(v);
}
}  // namespace

void OpenGLView::SetScrollArea(float left, float bottom, float right, float top)
{
    mLeft2D = left;
    mBottom2D = bottom;
    mRight2D = right;
    mTop2D = top;
    UpdateScrollSize();
}

void OpenGLView::SetRotationAllowed(bool allowed, bool keepAngle)
{
    mRotationAllowed = allowed;
    if (!keepAngle)
    {
        StopRotationThrows(true);
        mAngle2D = 0.0f;
    }
}

float OpenGLView::GetScaledHeight() const
{
    return float(GetClientHeight()) * mZoom2D;
}

void OpenGLView::UpdateScrollSize()
{
    const float scale = GetScaledHeight();
    SetDocumentSize(std::fabs(scale * (mRight2D - mLeft2D)), std::fabs(scale * (mBottom2D - mTop2D)), false);
}

void OpenGLView::SetDocumentSize(float width, float height, bool force)
{
    // Keep the point at the middle of the window where it was.
    const float cx = mDocWidth != 0.0f ? (float(mPrevWidth) / 2.0f + mScrollX) / mDocWidth : 0.5f;
    const float cy = mDocHeight != 0.0f ? (float(mPrevHeight) / 2.0f + mScrollY) / mDocHeight : 0.5f;
    mDocWidth = width > 0.0f ? width : 1.0f;
    mDocHeight = height > 0.0f ? height : 1.0f;
    if (mOffscreen)
        return;
    ClampScroll(mScrollX, mScrollY);
    if (mDocWidth > 2147483648.0f || mDocHeight > 2147483648.0f)
        return;
    const int w = int(std::floor(mDocWidth)), h = int(std::floor(mDocHeight));
    if (w != GetScrollRangeX() || h != GetScrollRangeY() || force)
    {
        SetScrollRanges(w, h);
        ScrollTo(cx * float(w) - float(GetWidth()) / 2.0f, cy * float(h) - float(GetHeight()) / 2.0f);
    }
}

void OpenGLView::ClampScroll(float& x, float& y) const
{
    x = std::max(0.0f, std::min(x, mDocWidth - float(GetWidth())));
    y = std::max(0.0f, std::min(y, mDocHeight - float(GetHeight())));
}

void OpenGLView::ScrollTo(float x, float y)
{
    ClampScroll(x, y);
    mScrollX = x;
    mScrollY = y;
    SetScrollPositions(int(Nint(GetScrollRangeX() * x / mDocWidth)), int(Nint(GetScrollRangeY() * y / mDocHeight)));
}

wxRect OpenGLView::GetVisibleRect() const
{
    return wxRect(int(Nint(mScrollX)), int(Nint(mScrollY)), GetWidth(), GetHeight());
}

void OpenGLView::ScrollBy(int code, int trackPosition, bool horizontal)
{
    const float client = float(horizontal ? GetWidth() : GetHeight());
    const float document = horizontal ? mDocWidth : mDocHeight;
    const int range = horizontal ? GetScrollRangeX() : GetScrollRangeY();
    float position = horizontal ? mScrollX : mScrollY;
    switch (code)
    {
    case kScrollLineUp:
        position -= 5.0f;
        break;
    case kScrollLineDown:
        position += 5.0f;
        break;
    case kScrollPageUp:
        position -= client;
        break;
    case kScrollPageDown:
        position += client;
        break;
    case kScrollThumbTrack:
        position = range > 0 ? document / float(range) * float(trackPosition) : 0.0f;
        break;
    case kScrollTop:
        position = 0.0f;
        break;
    case kScrollBottom:
        position = document - client;
        break;
    default:
        break;
    }
    float x = horizontal ? position : mScrollX;
    float y = horizontal ? mScrollY : position;
    ClampScroll(x, y);
    if (x == mScrollX && y == mScrollY)
        return;
    ScrollTo(x, y);
    Invalidate(this, true);
    RedrawNow(this);
}

void OpenGLView::OnHScroll(int code, int trackPosition)
{
    ScrollBy(code, trackPosition, true);
}

void OpenGLView::OnVScroll(int code, int trackPosition)
{
    ScrollBy(code, trackPosition, false);
}

// ---- Pixels and world coordinates ----

namespace
{
// A document narrower than the window is centred in it.
double CentringOffset(int client, float document)
{
    return client > document ? double(int((client - document) / 2.0f)) : 0.0;
}
}  // namespace

double OpenGLView::WorldXAtPixel(double px) const
{
    const double offset = CentringOffset(GetWidth(), mDocWidth);
    return mLeft2D + (mRight2D - mLeft2D) * (Nint(mScrollX) + px - offset) / mDocWidth;
}

double OpenGLView::WorldYAtPixel(double py) const
{
    const double offset = CentringOffset(GetHeight(), mDocHeight);
    return mTop2D + (mBottom2D - mTop2D) * (Nint(mScrollY) + py - offset) / mDocHeight;
}

double OpenGLView::PixelOfWorldX(double x) const
{
    const double offset = CentringOffset(GetWidth(), mDocWidth);
    return (x - mLeft2D) * mDocWidth / (mRight2D - mLeft2D) - Nint(mScrollX) + offset;
}

double OpenGLView::PixelOfWorldY(double y) const
{
    const double offset = CentringOffset(GetHeight(), mDocHeight);
    return (y - mTop2D) * mDocHeight / (mBottom2D - mTop2D) - Nint(mScrollY) + offset;
}

double OpenGLView::PixelsToWorldX(double n) const
{
    return n * (mRight2D - mLeft2D) / mDocWidth;
}

double OpenGLView::PixelsToWorldY(double n) const
{
    return n * (mBottom2D - mTop2D) / mDocHeight;
}

double OpenGLView::WorldToPixelsX(double d) const
{
    return d * mDocWidth / (mRight2D - mLeft2D);
}

double OpenGLView::WorldToPixelsY(double d) const
{
    return d * mDocHeight / (mBottom2D - mTop2D);
}

void OpenGLView::ClientToWorld2D(Vec2D& out, double px, double py) const
{
    const double s = GetScaledHeight();
    double x = mLeft2D + (HasHorizontalScrollBar() ? (px + mScrollX) / s
                                                   : px / s - (GetWidth() / s - (mRight2D - mLeft2D)) / 2.0);
    double y = mTop2D - (HasVerticalScrollBar() ? (py + mScrollY) / s
                                                : py / s - (GetHeight() / s - (mTop2D - mBottom2D)) / 2.0);
    if (mRotationAllowed && mAngle2D != 0.0f)
    {
        const double a = mAngle2D * kDegToRad;
        const double c = std::cos(a), sn = std::sin(a);
        const double tx = x * c + y * sn;
        y = -x * sn + y * c;
        x = tx;
    }
    out = Vec2D{x, y};
}

void OpenGLView::WorldToClient2D(Vec2D& out, double x, double y) const
{
    if (mRotationAllowed && mAngle2D != 0.0f)
    {
        const double a = mAngle2D * kDegToRad;
        const double c = std::cos(a), sn = std::sin(a);
        const double tx = x * c - y * sn;
        y = x * sn + y * c;
        x = tx;
    }
    const double s = GetScaledHeight();
    const double px = HasHorizontalScrollBar() ? (x - mLeft2D) * s - mScrollX
                                               : ((x - mLeft2D) + (GetWidth() / s - (mRight2D - mLeft2D)) / 2.0) * s;
    const double py = HasVerticalScrollBar() ? (mTop2D - y) * s - mScrollY
                                             : ((mTop2D - y) + (GetHeight() / s - (mTop2D - mBottom2D)) / 2.0) * s;
    out = Vec2D{px, py};
}

void OpenGLView::Compute2DVisible()
{
    // Only an empty rectangle is widened (the projection needs some extent): a fixed minimum width
    // would stop the zoom of small diagrams and stretch them.
    mVisLeft = WorldXAtPixel(0);
    mVisRight = WorldXAtPixel(GetWidth());
    mVisTop = WorldYAtPixel(0);
    mVisBottom = WorldYAtPixel(GetHeight());
    const double minimumX = 1e-9 * std::max(1.0, std::fabs(mVisLeft));
    const double minimumY = 1e-9 * std::max(1.0, std::fabs(mVisBottom));
    mVisRight = std::max(mVisRight, mVisLeft + minimumX);
    mVisTop = std::max(mVisTop, mVisBottom + minimumY);
}

void OpenGLView::GetVisibleWorld(double& left, double& bottom, double& right, double& top) const
{
    left = mVisLeft;
    bottom = mVisBottom;
    right = mVisRight;
    top = mVisTop;
}

void OpenGLView::ZoomToFitArea()
{
    const int bar = GetScrollBarThickness();
    const double availableW = HasVerticalScrollBar() ? GetWidth() : GetWidth() - bar;
    const double availableH = HasHorizontalScrollBar() ? GetHeight() : GetHeight() - bar;
    const double zx = std::fabs(availableW / (mRight2D - mLeft2D));
    const double zy = std::fabs(availableH / (mBottom2D - mTop2D));
    const double zoom = std::min(zx, zy);
    if (std::isfinite(zoom) && zoom > 0.0)
        mZoom2D = float(zoom / GetClientHeight());
    UpdateScrollSize();
    Invalidate(this, true);
}
