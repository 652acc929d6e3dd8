#include "view/ViewThrows.h"

#include "kernel/Mat3.h"
#include "kernel/Mat4.h"
#include "kernel/SceneParameters.h"
#include "kernel/Shell.h"
#include "kernel/TokenFile.h"
#include "kernel/Transform3D.h"
#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/MouseThrowState.h"
#include "model/Poly.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"
#include "view/ViewMatrices.h"

#include <cmath>

namespace
{
constexpr double kExplodeRate = 0.03;  // per pixel
constexpr double kTurnRate = 0.005;    // radians per pixel
constexpr double kTinyLength = 1e-12;
constexpr double kAlongW = 0.99999;

bool gAllowExplosionImplode = false;

Poly* CurrentPolytopeModel()
{
    Poly* poly = GetCurrentPoly();
    return poly && poly->mPolytope ? poly : nullptr;
}

bool IsModelView(const CPolyView* view)
{
    return ViewTypeHasAll(view->GetViewType(), kViewFamily3D);
}

void Mat4Transpose(Mat4& out, const Mat4& a)
{
    for (int row = 0; row < 4; ++row)
        for (int col = 0; col < 4; ++col)
            out.At(row, col) = a.At(col, row);
}

// a * b * c * d * e, applied right to left.
Mat4 Product(const Mat4& a, const Mat4& b, const Mat4& c, const Mat4& d, const Mat4& e)
{
    Mat4 de, cde, bcde, all;
    Mat4Mul(de, d, e);
    Mat4Mul(cde, c, de);
    Mat4Mul(bcde, b, cde);
    Mat4Mul(all, a, bcde);
    return all;
}

Mat4 Product(const Mat4& a, const Mat4& b, const Mat4& c)
{
    Mat4 bc, all;
    Mat4Mul(bc, b, c);
    Mat4Mul(all, a, bc);
    return all;
}

// The camera's rotation (camera to model) with w left alone.
Mat4 CameraRotation4D(const CPolyView& view)
{
    Transform3D camera;
    view.GetCameraTransform(camera);
    return Mat3ToMat4(camera.m);
}

// The rotation of the plane spanned by the orthonormal p and q, p turning towards q.
void RotationInPlane(Mat4& out, const Vec4D& p, const Vec4D& q, double angle)
{
    Vec4D c2, c3;
    Vec4CompleteBasis(c2, c3, p, q);
    Mat4 basis, turn, back;
    basis.SetColumns(p, q, c2, c3);
    turn.SetRotationXY(angle);
    Mat4Transpose(back, basis);
    out = Product(basis, turn, back);
}

// The rotation by angle in the plane perpendicular to the perpendicular vectors e and a: its first
// vector p turns towards q = e x a x p. Nothing turns when they span no plane.
void PlaneRotation4D(Mat4& out, const Vec4D& e, const Vec4D& a, double angle)
{
    out.SetIdentity();
    Vec4D p, q;
    Vec4PerpendicularTo2(p, e, a);
    const double length = Vec4Length(p);
    if (length < kTinyLength)
        return;
    Vec4Div(p, length);
    Vec4Cross(q, e, a, p);
    const double qLength = Vec4Length(q);
    if (qLength < kTinyLength)
        return;
    Vec4Div(q, qLength);
    RotationInPlane(out, p, q, angle);
}

Vec4D DragAxis(const MouseThrow& t)
{
    const Vec3D& axis = t.GetAxis();
    return Vec4D{axis.x, axis.y, 0.0, 0.0};
}

// In a 3D model view of a 4D model the cross-section is turned in the pane's own frame:
// S = S * V^T * Cam * R * Cam^T * V.
void TurnSliceInModelView(const CPolyView& view, const Mat4& r)
{
    Mat4& slice = GetSceneParameters().sliceMatrix;
    const Mat4& v = view.GetRotation4D();
    const Mat4 cam = CameraRotation4D(view);
    Mat4 vT, camT, inner, result;
    Mat4Transpose(vT, v);
    Mat4Transpose(camT, cam);
    inner = Product(vT, cam, r, camT, v);
    Mat4Mul(result, slice, inner);
    slice = result;
}

// S = Cam * R * Cam^T * S: the turn as the pane's camera sees it.
void TurnSliceOnScreen(const CPolyView& view, const Mat4& r)
{
    Mat4& slice = GetSceneParameters().sliceMatrix;
    const Mat4 cam = CameraRotation4D(view);
    Mat4 camT, result;
    Mat4Transpose(camT, cam);
    Mat4Mul(result, Product(cam, r, camT), slice);
    slice = result;
}

// The 3x3 block of the slice matrix with w left alone.
void SetSlice3D(const Mat3& m)
{
    Mat4& slice = GetSceneParameters().sliceMatrix;
    slice.SetIdentity();
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            slice.At(row, col) = m.At(row, col);
}

Mat3 Slice3D()
{
    const Mat4& slice = GetSceneParameters().sliceMatrix;
    Mat3 m;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            m.At(row, col) = slice.At(row, col);
    return m;
}

// A 4D rotation throw moves only while it may: with a 4D model, and while views are locked only in
// the active view, which the others follow.
bool May4DRotate(MouseThrow& t, CPolyView* view)
{
    if (!CurrentPolytopeModel())
    {
        t.Stop();
        return false;
    }
    return !OpenGLView::ViewsLocked() || NewView::GetActiveView() == view;
}

// What every 4D rotation does after turning: locked views follow, and so does a cross-section that
// is to follow the projection.
void After4DRotation(CPolyView* view)
{
    view->SyncOtherViews();
    SceneParameters& scene = GetSceneParameters();
    if (scene.sliceSameAsProj)
    {
        scene.sliceMatrix = view->GetRotation4D();
        InvalidateModelCrossSection();
        GetShell().InvalidateCrossSectionViews(0);
    }
}

void Rotate4DBy(CPolyView* view, const Mat4& r)
{
    const Mat4 cam = CameraRotation4D(*view);
    Mat4 camT, result;
    Mat4Transpose(camT, cam);
    Mat4Mul(result, Product(cam, r, camT), view->GetRotation4D());
    view->SetRotation4D(result);
}

}  // namespace

ViewThrow::ViewThrow(CPolyView* view, int interfaceType, int flags) : MouseThrow(-1), mView(view)
{
    Init(interfaceType, view, flags);
}

// ---- ExplodeThrow ----

void ExplodeThrow::SetRange(double scale)
{
    if (!gAllowExplosionImplode && scale > 1.0)
    {
        mLow = 1.0;
        mHigh = scale;
        return;
    }
    mHigh = std::fabs(scale);
    mLow = -mHigh;
}

void ExplodeThrow::ImplodeOptionChanged(bool allowed)
{
    if (!IsMoving())
        return;
    if (allowed)
        mLow = -mHigh;
    else if (mHigh > 1.0)
        mLow = 1.0;
}

bool ExplodeThrow::Apply(float dx, float dy)
{
    // An empty range (a release at scale 0, or none yet) leaves nothing to swing in, and reflecting
    // in it would divide by zero.
    if (!(mHigh > mLow))
        return false;
    double scale = mView->GetExplosion() + (double(dx) - dy) * kExplodeRate;
    const bool reversed = KeepInRange(&scale, mLow, mHigh);
    mView->SetExplosion(scale);
    return reversed;
}

void ExplodeThrow::InvalidateTargets()
{
    NewView::Invalidate(mView, true);
}

void ExplodeThrow::WriteData(ioFile* file)
{
    ioPrintf(file, "\t%g\t%g", mLow, mHigh);
}

void ExplodeThrow::ReadData(ioFile* file, bool apply)
{
    const double low = ioReadDouble(file);
    const double high = ioReadDouble(file);
    // A range from a file must be one: a reversed or unbounded one would wreck the motion.
    if (apply && std::isfinite(low) && std::isfinite(high) && low <= high)
    {
        mLow = low;
        mHigh = high;
    }
}

void ExplodeThrow::SaveState(MouseThrowState& state)
{
    state.mBlock = {mLow, mHigh};
}

void ExplodeThrow::RestoreState(const MouseThrowState& state)
{
    if (state.mBlock.size() == 2)
    {
        mLow = state.mBlock[0];
        mHigh = state.mBlock[1];
    }
}

bool GetExplosionImplodeAllowed()
{
    return gAllowExplosionImplode;
}

void SetExplosionImplodeAllowed(bool on)
{
    gAllowExplosionImplode = on;
    ForEachPolyView([on](CPolyView& view) { view.GetExplodeThrow().ImplodeOptionChanged(on); });
}

// ---- Slice throws ----

bool SliceRotateThrow::Apply(float amount, float /*unused*/)
{
    const double angle = amount * kTurnRate;
    if (CurrentPolytopeModel())
    {
        Mat4 r;
        PlaneRotation4D(r, Vec4D{0, 0, 0, 1}, DragAxis(*this), angle);
        if (IsModelView(mView))
            TurnSliceInModelView(*mView, r);
        else
            TurnSliceOnScreen(*mView, r);
        GetSceneParameters().sliceSameAsProj = false;
    }
    else
    {
        const Vec3D& axis = GetAxis();
        const Vec3D turnAxis{axis.x, axis.y, 0.0};
        Mat3 r3;
        if (Vec3Length(turnAxis) > kTinyLength)
            r3.SetRotation(turnAxis, angle);
        Mat3 result;
        if (IsModelView(mView))
        {
            Transform3D camera;
            mView->GetCameraTransform(camera);
            Mat3 camT, inner, turned;
            camT.SetTranspose(camera.m);
            Mat3Mul(inner, r3, camT);
            Mat3Mul(turned, camera.m, inner);
            Mat3Mul(result, Slice3D(), turned);
        }
        else
            Mat3Mul(result, r3, Slice3D());
        SetSlice3D(result);
    }
    InvalidateModelCrossSection();
    return false;
}

void SliceRotateThrow::InvalidateTargets()
{
    GetShell().InvalidateCrossSectionViews(0);
}

void SliceRotate4DThrow::SetAxisMode(bool on)
{
    // Only between motions: Init would drop the moving mark.
    if (IsMoving())
        Stop();
    Init(GetInterfaceType(), mView, on ? kAxisMode : 0);
}

bool SliceRotate4DThrow::Apply(float dx, float dy)
{
    if (!CurrentPolytopeModel())
        return false;
    if (IsModelView(mView))
    {
        Mat4 r;
        PlaneRotation4D(r, Vec4D{0, 0, 1, 0}, DragAxis(*this), dx * kTurnRate);
        TurnSliceInModelView(*mView, r);
    }
    else
        TurnSliceOnScreen(*mView, Mat4PlaneRotation((double(dy) - dx) * kTurnRate));
    GetSceneParameters().sliceSameAsProj = false;
    InvalidateModelCrossSection();
    return false;
}

void SliceRotate4DThrow::InvalidateTargets()
{
    GetShell().InvalidateCrossSectionViews(0);
}

bool SliceTwist4DThrow::Apply(float dx, float dy)
{
    if (!CurrentPolytopeModel())
        return false;
    if (IsModelView(mView))
        TurnSliceInModelView(*mView, Mat4PlaneRotation((double(dy) - dx) * kTurnRate));
    GetSceneParameters().sliceSameAsProj = false;
    InvalidateModelCrossSection();
    return false;
}

void SliceTwist4DThrow::InvalidateTargets()
{
    GetShell().InvalidateCrossSectionViews(0);
}

void StopSliceThrows()
{
    ForEachPolyView([](CPolyView& view) {
        view.GetSliceRotateThrow().Stop();
        view.GetSliceRotate4DThrow().Stop();
        view.GetSliceTwist4DThrow().Stop();
    });
}

// ---- 4D rotation throws ----

bool Rotate4DThrow::Apply(float amount, float /*unused*/)
{
    if (!May4DRotate(*this, mView))
        return false;
    Mat4 r;
    PlaneRotation4D(r, Vec4D{0, 0, 1, 0}, DragAxis(*this), amount * kTurnRate);
    Rotate4DBy(mView, r);
    After4DRotation(mView);
    return false;
}

void Rotate4DThrow::InvalidateTargets()
{
    NewView::Invalidate(mView, true);
}

bool Tunnel4DThrow::Apply(float dx, float dy)
{
    if (!May4DRotate(*this, mView))
        return false;
    Rotate4DBy(mView, Mat4PlaneRotation((double(dx) + dy) * kTurnRate));
    After4DRotation(mView);
    return false;
}

void Tunnel4DThrow::InvalidateTargets()
{
    NewView::Invalidate(mView, true);
}

bool RotateThrough4DThrow::SetDirection(const Vec4D& v)
{
    const double length = Vec4Length(v);
    if (!(length > kTinyLength))
        return false;
    Vec4D unit;
    Vec4DivTo(unit, v, length);
    // Along w (either way) nothing of the direction is left to turn through.
    if (std::fabs(unit.w) > kAlongW)
        return false;
    Vec4D u{unit.x, unit.y, unit.z, 0.0};
    Vec4Div(u, Vec4Length(u));
    mDirection = u;
    return true;
}

bool RotateThrough4DThrow::Apply(float dx, float dy)
{
    if (!May4DRotate(*this, mView))
        return false;
    // The plane of u and w, in the pane's own 4D frame: u turns towards w.
    Mat4 r;
    RotationInPlane(r, mDirection, Vec4D{0, 0, 0, 1}, (double(dx) + dy) * kTurnRate);
    Mat4 result;
    Mat4Mul(result, r, mView->GetRotation4D());
    mView->SetRotation4D(result);
    After4DRotation(mView);
    return false;
}

void RotateThrough4DThrow::InvalidateTargets()
{
    NewView::Invalidate(mView, true);
}

void RotateThrough4DThrow::WriteData(ioFile* file)
{
    ioPrintf(file, "\t%g\t%g\t%g\t%g", mDirection.x, mDirection.y, mDirection.z, mDirection.w);
}

void RotateThrough4DThrow::ReadData(ioFile* file, bool apply)
{
    Vec4D u;
    u.x = ioReadDouble(file);
    u.y = ioReadDouble(file);
    u.z = ioReadDouble(file);
    u.w = ioReadDouble(file);
    // What a file holds is checked as any new direction is.
    if (apply)
        SetDirection(u);
}

void RotateThrough4DThrow::SaveState(MouseThrowState& state)
{
    state.mBlock = {mDirection.x, mDirection.y, mDirection.z, mDirection.w};
}

void RotateThrough4DThrow::RestoreState(const MouseThrowState& state)
{
    if (state.mBlock.size() == 4)
        mDirection = Vec4D{state.mBlock[0], state.mBlock[1], state.mBlock[2], state.mBlock[3]};
}

void Stop4DRotationThrows()
{
    ForEachPolyView([](CPolyView& view) {
        view.GetRotate4DThrow().Stop();
        view.GetTunnel4DThrow().Stop();
        view.GetRotateThrough4DThrow().Stop();
    });
}
