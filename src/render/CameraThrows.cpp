#include "render/CameraThrows.h"

#include "render/OpenGLView.h"

#include <cmath>

namespace
{
constexpr double kTwistRate = 0.3;   // degrees per pixel
constexpr double kTurnRate = -0.1;   // degrees per pixel
constexpr double kZoomBase = 1.006;  // per pixel
}  // namespace

void CameraThrow::InvalidateTargets()
{
    NewView::Invalidate(mView, true);
}

bool CameraThrow::MayMove() const
{
    return !OpenGLView::ViewsLocked() || NewView::GetActiveView() == mView;
}

bool TumbleThrow::Apply(float amount, float /*unused*/)
{
    if (!MayMove())
        return false;
    if (!mView->Is3D())
    {
        Stop();
        return false;
    }
    const Vec3D& axis = GetAxis();
    mView->RotateViewAboutAxis(Vec3D{axis.x, axis.y, 0.0}, amount * mView->GetTumbleRate(), true);
    mView->OrthonormalizeCamera();
    mView->SyncOtherViews();
    return false;
}

bool TwistThrow::Apply(float dx, float dy)
{
    if (!MayMove())
        return false;
    if (mView->Is3D())
    {
        mView->RotateView(2, (double(dx) + dy) * kTwistRate);
        mView->OrthonormalizeCamera();
    }
    else
        mView->Set2DAngle(float(mView->Get2DAngle() - dx * kTwistRate));
    mView->SyncOtherViews();
    return false;
}

bool ZoomThrow::Apply(float dx, float dy)
{
    if (!MayMove())
        return false;
    mView->ScaleCameraDistance(std::pow(kZoomBase, double(dy) - dx));
    mView->SyncOtherViews();
    return false;
}

bool PivotThrow::Apply(float amount, float /*unused*/)
{
    if (!MayMove() || !mView->Is3D())
        return false;
    mView->RotateCameraAboutWorldAxis(GetAxis(), amount * mView->GetTumbleRate());
    mView->OrthonormalizeCamera();
    mView->SyncOtherViews();
    return false;
}

bool TurnThrow::Apply(float amount, float /*unused*/)
{
    if (!MayMove())
        return false;
    if (!mView->Is3D())
    {
        Stop();
        return false;
    }
    const Vec3D& axis = GetAxis();
    mView->RotateViewAboutAxis(Vec3D{axis.x, axis.y, 0.0}, amount * kTurnRate, false);
    mView->OrthonormalizeCamera();
    mView->SyncOtherViews();
    return false;
}
