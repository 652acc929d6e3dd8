// The camera of OpenGLView: its frame and rotations, field of view, projection, fitting, stereo and
// the window-projection queries.

#include "render/OpenGLView.h"

#include "kernel/Tolerance.h"
#include "render/GLContextState.h"
#include "render/GLLight.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kDegToRad = kPi / 180.0;

bool gViewsLocked = false;

double TanHalf(double degrees)
{
    return std::tan(degrees * kDegToRad / 2.0);
}

// The window the field of view is measured in: half the client width in side-by-side stereo.
float FovWidth(const OpenGLView& view)
{
    const int w = view.GetWidth();
    return float(view.GetStereoType() == OpenGLView::kStereoSideBySide ? w / 2 : w);
}

float FovHeight(const OpenGLView& view)
{
    return float(view.GetHeight());
}

// The camera's frame after the rotation q acting in camera coordinates; the eye orbits the origin
// with it when asked.
void TurnCamera(Vec3D& eye, Vec3D& right, Vec3D& up, Vec3D& backward, const Mat3& q, bool orbit)
{
    Mat3 k;
    k.SetColumns(right, up, backward);
    Mat3 turned;
    Mat3Mul(turned, k, q);
    if (orbit)
    {
        Vec3D local;
        k.TransformTransposed(local, eye);
        turned.Transform(eye, local);
    }
    turned.GetColumn(right, 0);
    turned.GetColumn(up, 1);
    turned.GetColumn(backward, 2);
}
}  // namespace

bool& OpenGLView::ViewsLocked()
{
    return gViewsLocked;
}

// ---- Camera frame ----

void OpenGLView::ResetCamera(bool alsoFOV)
{
    mZoom2D = 1.0f;
    mAngle2D = 0.0f;
    mEye = Vec3D{0, 0, 2};
    mRight = Vec3D{1, 0, 0};
    mUp = Vec3D{0, 1, 0};
    mBackward = Vec3D{0, 0, 1};
    mHalfHeight = 1.0f;
    mOrthogonal = false;
    mCurrentEyePos = mEye;
    mFOV = 25.0f;
    if (alsoFOV)
        SetNominalFOV(25.0f);
    mWindowMatrixValid = false;
    mCameraPlaced = false;
}

void OpenGLView::ResetView()
{
    UpdateAspect();
    ResetCamera(true);
    mMinDistance = mMaxDistance = -1.0;
    mNear = 0.1f;
    mFar = 4000.0f;
    const Vec3D origin{0, 0, 0};
    FitSphere(&origin, 1.0);
}

void OpenGLView::OrthonormalizeCamera()
{
    Vec3Normalize(mBackward);
    Vec3Cross(mRight, mUp, mBackward);
    Vec3Normalize(mRight);
    Vec3Cross(mUp, mBackward, mRight);
    // Between frames the current eye is the eye itself.
    if (mCurrentEye == 0)
        mCurrentEyePos = mEye;
    mWindowMatrixValid = false;
}

void OpenGLView::GetCameraTransform(Transform3D& out) const
{
    out.m.SetColumns(mRight, mUp, mBackward);
    out.t = mEye;
}

void OpenGLView::SetCameraTransform(const Transform3D& transform)
{
    transform.m.GetColumn(mRight, 0);
    transform.m.GetColumn(mUp, 1);
    transform.m.GetColumn(mBackward, 2);
    mEye = transform.t;
    mCurrentEyePos = mEye;
    mWindowMatrixValid = false;
    mCameraPlaced = true;
}

void OpenGLView::GetViewTransform(Transform3D& out) const
{
    out.m.SetRows(mRight, mUp, mBackward);
    out.t = Vec3D{-Vec3Dot(mRight, mEye), -Vec3Dot(mUp, mEye), -Vec3Dot(mBackward, mEye)};
}

void OpenGLView::RotateView(int axisIndex, double degrees)
{
    Mat3 q;
    q.SetAxisRotation(axisIndex, degrees * kDegToRad);
    TurnCamera(mEye, mRight, mUp, mBackward, q, true);
    OrthonormalizeCamera();
}

void OpenGLView::RotateViewEuler(double a, double b, double c)
{
    Transform3D q;
    q.SetEulerRotation(a * kDegToRad, b * kDegToRad, c * kDegToRad);
    TurnCamera(mEye, mRight, mUp, mBackward, q.m, true);
    OrthonormalizeCamera();
}

void OpenGLView::RotateViewAboutAxis(const Vec3D& axis, double degrees, bool orbit)
{
    if (Vec3LengthSq(axis) == 0.0)
        return;
    Mat3 q;
    q.SetRotation(axis, degrees * kDegToRad);
    TurnCamera(mEye, mRight, mUp, mBackward, q, orbit);
    OrthonormalizeCamera();
}

void OpenGLView::RotateCameraAboutWorldAxis(const Vec3D& axis, double degrees)
{
    if (Vec3LengthSq(axis) == 0.0)
        return;
    Mat3 m;
    m.SetRotation(axis, degrees * kDegToRad);
    for (Vec3D* v : {&mEye, &mRight, &mUp, &mBackward})
        m.Transform(*v, *v);
    OrthonormalizeCamera();
}

// ---- Field of view ----

float OpenGLView::VerticalToHorizontalFOV(float v, float w, float h) const
{
    if (v <= 0.0f)
        v = mFOV;
    if (w <= 0.0f || h <= 0.0f)
    {
        w = FovWidth(*this);
        h = FovHeight(*this);
    }
    return float(2.0 * std::atan(w * TanHalf(v) / h) / kDegToRad);
}

float OpenGLView::HorizontalToVerticalFOV(float a, float w, float h) const
{
    if (a <= 0.0f)
        a = mFOV;
    if (w <= 0.0f || h <= 0.0f)
    {
        w = FovWidth(*this);
        h = FovHeight(*this);
    }
    return float(2.0 * std::atan(h * TanHalf(a) / w) / kDegToRad);
}

void OpenGLView::SetFOVLimit(float vertical, float aspectLimit)
{
    mAspectLimit = aspectLimit;
    mHFOVAtLimit = VerticalToHorizontalFOV(vertical, aspectLimit, 1.0f);
    mVFOVAtLimit = vertical;
}

void OpenGLView::SetVerticalFOV(float v)
{
    mFOV = v;
    if (mAspectLimit > 0.0f)
    {
        if (mAspect <= mAspectLimit)
        {
            mHFOVAtLimit = VerticalToHorizontalFOV(v, 0.0f, 0.0f);
            mVFOVAtLimit = HorizontalToVerticalFOV(mHFOVAtLimit, mAspectLimit, 1.0f);
        }
        else
        {
            mVFOVAtLimit = v;
            mHFOVAtLimit = VerticalToHorizontalFOV(v, mAspectLimit, 1.0f);
        }
    }
    mWindowMatrixValid = false;
}

void OpenGLView::SetHorizontalFOV(float h)
{
    SetVerticalFOV(HorizontalToVerticalFOV(h, 0.0f, 0.0f));
}

void OpenGLView::SetNominalFOV(float v)
{
    if (mAspectLimit > 0.0f && mAspect < mAspectLimit)
        SetHorizontalFOV(VerticalToHorizontalFOV(v, mAspectLimit, 1.0f));
    else
        SetVerticalFOV(v);
}

float OpenGLView::GetNominalFOV() const
{
    if (mAspectLimit > 0.0f && mAspect < mAspectLimit)
        return HorizontalToVerticalFOV(mHFOVAtLimit, mAspectLimit, 1.0f);
    return mFOV;
}

float OpenGLView::GetNarrowFOV() const
{
    const float w = FovWidth(*this), h = FovHeight(*this);
    if (w >= h || h == 0.0f)
        return mFOV;
    return VerticalToHorizontalFOV(mFOV, 0.0f, 0.0f);
}

void OpenGLView::SetOrthogonal(bool on)
{
    if (on == mOrthogonal)
        return;
    const double d = Vec3Dot(mEye, mBackward);
    const double s = std::sin(mFOV * kDegToRad / 2.0);
    if (on)
        mHalfHeight = float(d * s);
    else
    {
        Vec3AddScaledTo(mEye, -d, mBackward);
        Vec3AddScaledTo(mEye, mHalfHeight / s, mBackward);
    }
    mOrthogonal = on;
    mWindowMatrixValid = false;
    Invalidate(this, true);
}

void OpenGLView::UpdateAspect()
{
    int w = GetWidth();
    const int h = GetHeight();
    if (mStereoMode == kStereoSideBySide)
        w /= 2;
    mAspect = h == 0 ? mPixelAspect : float(w) / float(h) * mPixelAspect;
}

void OpenGLView::OnClientResized()
{
    UpdateAspect();
    if (mAspectLimit > 0.0f)
        mFOV = mAspectLimit < mAspect ? mVFOVAtLimit : HorizontalToVerticalFOV(mHFOVAtLimit, 0.0f, 0.0f);
    mWindowMatrixValid = false;
    Invalidate(this, true);
    // The stored ranges are out of date: the next document size updates the bars.
    ForgetScrollRanges();
    UpdateScrollSize();
    mPrevWidth = GetWidth();
    mPrevHeight = GetHeight();
}

// ---- Fitting ----

// The part of the drawing width (or height) a fit may fill: all of it but the export's borders.
double OpenGLView::FitFraction(bool horizontal) const
{
    const int size = horizontal ? GetWidth() : GetHeight();
    const int border = horizontal ? mFitBorderX : mFitBorderY;
    if (border <= 0 || size <= 0)
        return 1.0;
    return std::max(1.0 - 2.0 * border / size, 0.02);
}

void OpenGLView::FitSphere(const Vec3D* centre, double radius)
{
    StopZoomThrow();
    radius /= std::min(FitFraction(true), FitFraction(false));
    if (mOrthogonal)
    {
        mHalfHeight = float(GetWidth() < GetHeight() ? radius / mAspect : radius);
        const double d = Vec3Dot(mEye, mBackward);
        Vec3Scale(mEye, mBackward, d);
    }
    else
    {
        const double distance = radius / std::sin(GetNarrowFOV() * kDegToRad / 2.0);
        Vec3Scale(mEye, mBackward, distance);
        if (centre)
            Vec3AddTo(mEye, *centre);
    }
    mCurrentEyePos = mEye;
    mWindowMatrixValid = false;
}

void OpenGLView::BeginFitBounds(FitBounds& record, double extraRadius, double angle2D) const
{
    record = FitBounds();
    record.angle2D = angle2D;
    if (!Is3D())
        return;
    if (mOrthogonal)
        record.hExtraRadius = record.vExtraRadius = extraRadius;
    else
    {
        record.vSlope = 1.0 / (TanHalf(mFOV) * FitFraction(false));
        record.hSlope = 1.0 / (TanHalf(mFOV) * mAspect * FitFraction(true));
        record.vExtraRadius = extraRadius / std::sin(mFOV * kDegToRad / 2.0);
        record.hExtraRadius = extraRadius / std::sin(std::atan(1.0 / record.hSlope));
    }
}

void OpenGLView::ExtendFitBounds(FitBounds& record, const Vec3D& p) const
{
    if (!Is3D())
    {
        const double a = record.angle2D * kDegToRad;
        const double c = std::cos(a), s = std::sin(a);
        const double x = p.x * c - p.y * s;
        const double y = p.x * s + p.y * c;
        record.minX = std::min(record.minX, x);
        record.maxX = std::max(record.maxX, x);
        record.minY = std::min(record.minY, y);
        record.maxY = std::max(record.maxY, y);
        return;
    }
    if (mOrthogonal)
    {
        const double x = Vec3Dot(mRight, p), y = Vec3Dot(mUp, p);
        record.minX = std::min(record.minX, x);
        record.maxX = std::max(record.maxX, x);
        record.minY = std::min(record.minY, y);
        record.maxY = std::max(record.maxY, y);
        return;
    }
    const double back = Vec3Dot(mBackward, p);
    const double horizontal = std::fabs(Vec3Dot(mRight, p)) * record.hSlope + back + record.hExtraRadius;
    const double vertical = std::fabs(Vec3Dot(mUp, p)) * record.vSlope + back + record.vExtraRadius;
    record.largestDistance = std::max(record.largestDistance, std::max(horizontal, vertical));
}

void OpenGLView::ApplyFitBounds(const FitBounds& record)
{
    StopZoomThrow();
    if (!Is3D())
    {
        if (record.minX > record.maxX || record.minY > record.maxY)
            return;
        const int bar = GetScrollBarThickness();
        const double availableW = (HasVerticalScrollBar() ? GetWidth() : GetWidth() - bar) - 2.0 * mFitBorderX;
        const double availableH =
            (HasHorizontalScrollBar() ? GetHeight() : GetHeight() - bar) - 2.0 * mFitBorderY;
        const double rangeX = record.maxX - record.minX;
        const double rangeY = record.maxY - record.minY;
        double f = std::fabs(availableH / rangeY);
        if (rangeY == 0.0 || (rangeX != 0.0 && std::fabs(availableW / rangeX) < f))
            f = std::fabs(availableW / rangeX);
        if (!std::isfinite(f))
            return;
        mZoom2D = float(f / GetClientHeight());
        UpdateScrollSize();
        double x = f * (record.maxX + record.minX) / 2.0 - (f * mLeft2D + availableW / 2.0);
        double y = f * mTop2D - f * (record.maxY + record.minY) / 2.0 - availableH / 2.0;
        if (!HasVerticalScrollBar())
            x -= bar / 2.0;
        if (!HasHorizontalScrollBar())
            y -= bar / 2.0;
        ScrollTo(float(x), float(y));
        return;
    }
    if (mOrthogonal)
    {
        if (record.minX > record.maxX || record.minY > record.maxY)
            return;
        const double minX = record.minX - record.hExtraRadius, maxX = record.maxX + record.hExtraRadius;
        const double minY = record.minY - record.vExtraRadius, maxY = record.maxY + record.vExtraRadius;
        const double m = std::max(std::fabs(minX), std::fabs(maxX));
        const double o = std::max(std::fabs(minY), std::fabs(maxY));
        mHalfHeight = float(std::max(o / FitFraction(false), m / (mAspect * FitFraction(true))));
    }
    else if (record.largestDistance > -9.99999e99)
        Vec3Scale(mEye, mBackward, record.largestDistance);
    mCurrentEyePos = mEye;
    mWindowMatrixValid = false;
}

// ---- Per frame ----

void OpenGLView::UpdateViewport()
{
    const int w = GetWidth(), h = GetHeight();
    if (mStereoMode == kStereoSideBySide && m3D)
    {
        const int half = w / 2;
        mViewport[0] = mCurrentEye == mLeftHalfEye ? 0 : half;
        mViewport[1] = 0;
        mViewport[2] = half;
        mViewport[3] = h;
    }
    else
    {
        mViewport[0] = mViewport[1] = 0;
        mViewport[2] = w;
        mViewport[3] = h;
    }
    glViewport(mViewport[0], mViewport[1], mViewport[2], mViewport[3]);
    if (mStereoMode == kStereoAnaglyph && m3D)
    {
        gColorMask[0] = gColorMask[1] = gColorMask[2] = false;
        const int channel = mCurrentEye == 2 ? mChannel2 : mChannel1;
        if (channel == 3)
            gColorMask[1] = gColorMask[2] = true;
        else
            gColorMask[channel] = true;
    }
    else
        gColorMask[0] = gColorMask[1] = gColorMask[2] = gColorMask[3] = true;
    glColorMask(gColorMask[0], gColorMask[1], gColorMask[2], gColorMask[3]);
    CheckGLError("UpdateViewport");
}

void OpenGLView::ApplyProjection(int matrixMode)
{
    glMatrixMode(GLenum(matrixMode));
    glLoadIdentity();
    const double w = mViewport[2], h = mViewport[3];
    if (matrixMode == GL_MODELVIEW)
    {
        glScalef(float(w / 2.0), float(-h / 2.0), 1.0f);
        glTranslatef(1.0f, -1.0f, 0.0f);
    }
    if (mSelectionMode)
    {
        const double s = mLargePick ? 6.0 : 1.0;
        GLint viewport[4] = {mViewport[0], mViewport[1], mViewport[2], mViewport[3]};
        gluPickMatrix(mPickX, mPickY, s, s, viewport);
    }
    if (m3D)
    {
        if (mOrthogonal)
            glOrtho(-mAspect * mHalfHeight, mAspect * mHalfHeight, -mHalfHeight, mHalfHeight, mNear, mFar);
        else if (mStereoMode != kStereoOff)
        {
            const double t = TanHalf(mFOV) * mNear;
            const double distance = Vec3Dot(mEye, mBackward);
            double shift = distance != 0.0 ? mNear * mEyeSeparation / distance : 0.0;
            if (mCurrentEye == 2)
                shift = -shift;
            glFrustum(-t * mAspect + shift, t * mAspect + shift, -t, t, mNear, mFar);
        }
        else
            gluPerspective(mFOV, mAspect, mNear, mFar);
    }
    else
    {
        Compute2DVisible();
        glOrtho(mVisLeft, mVisRight, mVisBottom, mVisTop, 1.0, 20.0);
        // What can appear once the picture is turned.
        const double a = -mAngle2D * kDegToRad;
        const double c = std::cos(a), s = std::sin(a);
        const double xs[2] = {mVisLeft, mVisRight}, ys[2] = {mVisBottom, mVisTop};
        double minX = 1e300, maxX = -1e300, minY = 1e300, maxY = -1e300;
        for (double x : xs)
            for (double y : ys)
            {
                const double tx = x * c - y * s, ty = x * s + y * c;
                minX = std::min(minX, tx);
                maxX = std::max(maxX, tx);
                minY = std::min(minY, ty);
                maxY = std::max(maxY, ty);
            }
        mVisLeft = minX;
        mVisRight = maxX;
        mVisBottom = minY;
        mVisTop = maxY;
    }
    glMatrixMode(GL_MODELVIEW);
    CheckGLError("ApplyProjection");
}

void OpenGLView::SetViewingMatrix(int matrixMode, bool placeLights)
{
    ApplyProjection(matrixMode);
    if (matrixMode != GL_MODELVIEW)
        glLoadIdentity();
    if (m3D)
    {
        if (mStereoMode != kStereoOff && mCurrentEye != 0)
        {
            const double x = mCurrentEye == 1 ? -mEyeSeparation : mEyeSeparation;
            Vec3AddScaled(mCurrentEyePos, mEye, x, mRight);
            glTranslatef(float(-x), 0.0f, 0.0f);
        }
        else
            mCurrentEyePos = mEye;
        if (placeLights)
        {
            EnableCurrentLights();
            PlaceEyeFixedLights();
        }
        glTranslated(-Vec3Dot(mRight, mEye), -Vec3Dot(mUp, mEye), -Vec3Dot(mBackward, mEye));
        ApplyModelTransform();
        const GLdouble rotation[16] = {mRight.x, mUp.x, mBackward.x, 0, mRight.y, mUp.y, mBackward.y, 0,
                                       mRight.z, mUp.z, mBackward.z, 0, 0,         0,    0,           1};
        glMultMatrixd(rotation);
        if (placeLights)
            PlaceModelFixedLights();
    }
    else
    {
        glTranslatef(0.0f, 0.0f, -10.0f);
        ApplyModelTransform();
        glRotatef(mAngle2D, 0.0f, 0.0f, 1.0f);
    }
    mWindowMatrixValid = false;
    CheckGLError("SetViewingMatrix");
}

// ---- Window projection and queries ----

void OpenGLView::ComputeWindowMatrix()
{
    if (mWindowMatrixValid)
        return;
    if (!PreOpenGL())
        return;
    GLint mode = GL_MODELVIEW;
    glGetIntegerv(GL_MATRIX_MODE, &mode);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    SetViewingMatrix(GL_MODELVIEW, false);
    glGetFloatv(GL_MODELVIEW_MATRIX, mWindowMatrix);
    glPopMatrix();
    glMatrixMode(GLenum(mode));
    PostOpenGL();
    mWindowMatrixValid = true;
}

void OpenGLView::ProjectToWindowF(Vec3F& out, const Vec3F& p)
{
    ComputeWindowMatrix();
    const float* m = mWindowMatrix;
    float x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    float y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    float z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    const float w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w != 0.0f)
    {
        x /= w;
        y /= w;
        z /= w;
    }
    out = Vec3F{x, y, z};
}

void OpenGLView::ProjectToWindow(Vec3D& out, const Vec3D& p)
{
    ComputeWindowMatrix();
    const float* m = mWindowMatrix;
    double x = m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12];
    double y = m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13];
    double z = m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14];
    const double w = m[3] * p.x + m[7] * p.y + m[11] * p.z + m[15];
    if (w != 0.0)
    {
        x /= w;
        y /= w;
        z /= w;
    }
    out = Vec3D{x, y, z};
}

double OpenGLView::DotTowardViewer(const Vec3D& p, const Vec3D& v, bool normalise) const
{
    if (mOrthogonal)
        return Vec3Dot(v, mBackward);
    Vec3D toEye;
    Vec3Sub(toEye, mCurrentEyePos, p);
    if (normalise)
        Vec3Normalize(toEye);
    return Vec3Dot(v, toEye);
}

bool OpenGLView::IsFacingViewer(const Vec3D& point, const Vec3D& normal, bool useMatrix)
{
    if (useMatrix)
    {
        ComputeWindowMatrix();
        const float* m = mWindowMatrix;
        return normal.x * m[2] + normal.y * m[6] + normal.z * m[10] <= 0.0;
    }
    return DotTowardViewer(point, normal, false) > 0.0;
}

bool OpenGLView::IsFacingViewerF(const Vec3F& point, const Vec3F& normal, bool useMatrix)
{
    const Vec3D p{point.x, point.y, point.z};
    const Vec3D n{normal.x, normal.y, normal.z};
    if (useMatrix)
        return IsFacingViewer(p, n, true);
    return DotTowardViewer(p, n, false) > 0.0;
}

bool OpenGLView::IsFacingViewer(const Vec3D& point, const Vec3D& normal)
{
    return IsFacingViewer(point, normal, false);
}

void OpenGLView::GetDirectionToViewer(Vec3D& out, const Vec3D& p) const
{
    if (!m3D)
        out = Vec3D{0, 0, 1};
    else if (mOrthogonal)
        Vec3Neg(out, mCurrentEyePos);
    else
        Vec3Sub(out, mCurrentEyePos, p);
}

void OpenGLView::GetPickRay(Vec3D& origin, Vec3D& direction, int x, int y) const
{
    const int w = int(FovWidth(*this)), h = std::max(int(FovHeight(*this)), 1);
    if (!m3D)
    {
        Vec2D world;
        ClientToWorld2D(world, x, y);
        origin = Vec3D{world.x, world.y, 1.0};
        direction = Vec3D{0, 0, -1};
        return;
    }
    Vec3D o;
    Vec3Scale(o, mRight, double(x - w / 2));
    Vec3AddScaledTo(o, double(h / 2 - y), mUp);
    if (mOrthogonal)
    {
        Vec3AddScaled(origin, mEye, 2.0 * mHalfHeight / h, o);
        Vec3Neg(direction, mBackward);
    }
    else
    {
        origin = mEye;
        Vec3Scale(direction, o, 2.0 * TanHalf(mFOV) / h);
        Vec3SubFrom(direction, mBackward);
        Vec3Normalize(direction);
    }
}

// ---- Stereo ----

void OpenGLView::SetStereoMode(int type)
{
    struct StereoType
    {
        int mode, leftHalfEye, channel1, channel2;
        float tint[3];
    };
    static const StereoType kTypes[] = {
        {kStereoOff, 1, 0, 3, {1, 1, 1}},         {kStereoSideBySide, 1, 0, 3, {1, 1, 1}},
        {kStereoSideBySide, 2, 0, 3, {1, 1, 1}},  {kStereoAnaglyph, 1, 0, 3, {0.8f, 0.6f, 1.0f}},
        {kStereoAnaglyph, 1, 0, 2, {0.8f, 0, 1}}, {kStereoAnaglyph, 1, 0, 1, {0.8f, 0.8f, 0}},
        {kStereoAnaglyph, 1, 3, 0, {0.8f, 0.6f, 1}}, {kStereoAnaglyph, 1, 2, 0, {0.8f, 0, 1}},
        {kStereoAnaglyph, 1, 1, 0, {0.8f, 0.8f, 0}}};
    if (type < 0 || type > 8)
        return;
    const StereoType& t = kTypes[type];
    mStereoMode = t.mode;
    if (t.mode == kStereoSideBySide)
        mLeftHalfEye = t.leftHalfEye;
    if (t.mode == kStereoAnaglyph)
    {
        mChannel1 = t.channel1;
        mChannel2 = t.channel2;
        for (int i = 0; i < 3; ++i)
            mTint[i] = t.tint[i];
    }
    if (PreOpenGL())
    {
        for (bool& b : gColorMask)
            b = true;
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        if (mStereoMode == kStereoAnaglyph && m3D)
            SetMaterialColor3f(1.0f, 1.0f, 1.0f);
        PostOpenGL();
    }
    UpdateAspect();
    mWindowMatrixValid = false;
    Invalidate(this, true);
}

int OpenGLView::GetStereoMode() const
{
    switch (mStereoMode)
    {
    case kStereoOff:
        return 0;
    case kStereoSideBySide:
        return mLeftHalfEye == 2 ? 2 : 1;
    case kStereoAnaglyph:
        if (mChannel2 == 3)
            return 3;
        if (mChannel2 == 2)
            return 4;
        if (mChannel2 == 1)
            return 5;
        return mChannel1 == 3 ? 6 : mChannel1 == 2 ? 7 : 8;
    default:
        return -1;
    }
}

// ---- Locked views ----

bool OpenGLView::SyncOtherViews()
{
    if (!gViewsLocked || !m3D)
        return false;
    bool changed = false;
    for (NewView* v = GetFirstView(); v; v = v->next)
    {
        auto* other = dynamic_cast<OpenGLView*>(v);
        if (!other || other == this || !other->m3D)
            continue;
        other->mOrthogonal = mOrthogonal;
        other->mEye = mEye;
        other->mRight = mRight;
        other->mUp = mUp;
        other->mBackward = mBackward;
        other->mHalfHeight = mHalfHeight;
        other->SetVerticalFOV(mFOV);
        other->mWindowMatrixValid = false;
        Invalidate(other, true);
        changed = true;
    }
    return changed;
}

void OpenGLView::StopLinkedThrows(bool zoomOnly, bool alsoPivot)
{
    if (!gViewsLocked || !m3D)
        return;
    for (NewView* v = GetFirstView(); v; v = v->next)
    {
        auto* other = dynamic_cast<OpenGLView*>(v);
        if (!other || other == this || !other->m3D)
            continue;
        if (zoomOnly)
            other->StopZoomThrow();
        else
            other->StopRotationThrows(alsoPivot);
    }
}
