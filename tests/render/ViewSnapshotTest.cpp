// A view's camera and 2D area saved and put back.

#include "RenderTestView.h"
#include "render/CameraSnapshot.h"
#include "render/ViewSnapshot.h"

namespace
{
using ViewSnapshotTest = RenderTest;
}  // namespace

TEST_F(ViewSnapshotTest, RestoringPutsBackCameraProjectionAndArea)
{
    TestView* view = mView;
    view->RotateView(1, 30.0);
    view->SetOrthogonal(true);
    view->SetHalfHeight(2.5f);
    view->Set2DZoom(3.0f);
    view->Set2DAngle(15.0f);
    view->SetScrollArea(-1.0f, -2.0f, 3.0f, 4.0f);
    ViewSnapshot snapshot;
    snapshot.Save(*view);
    const Vec3D eye = view->GetEye();
    const Vec3D up = view->GetUp();
    const float fov = view->GetVerticalFOV();

    view->ResetCamera(true);
    view->SetOrthogonal(false);
    view->Set2DZoom(1.0f);
    view->Set2DAngle(0.0f);
    view->SetScrollArea(0.0f, 1.0f, 1.0f, 0.0f);
    ASSERT_NE(view->GetEye().x, eye.x);
    NewView::ClearRedrawFlags(view);

    snapshot.Restore(*view);
    EXPECT_TRUE(view->IsOrthogonal());
    EXPECT_FLOAT_EQ(view->GetHalfHeight(), 2.5f);
    EXPECT_DOUBLE_EQ(view->GetEye().x, eye.x);
    EXPECT_DOUBLE_EQ(view->GetEye().z, eye.z);
    EXPECT_DOUBLE_EQ(view->GetUp().y, up.y);
    EXPECT_FLOAT_EQ(view->GetVerticalFOV(), fov);
    EXPECT_FLOAT_EQ(view->Get2DZoom(), 3.0f);
    EXPECT_FLOAT_EQ(view->Get2DAngle(), 15.0f);
    EXPECT_NE(view->GetRedrawMarks() & NewView::kRedraw, 0);

    // A snapshot never saved restores nothing.
    ViewSnapshot empty;
    view->ResetCamera(true);
    const Vec3D reset = view->GetEye();
    empty.Restore(*view);
    EXPECT_DOUBLE_EQ(view->GetEye().x, reset.x);
}

TEST_F(ViewSnapshotTest, CameraSnapshotPutsBackEyeAndAxesOnlyWithoutARedrawMark)
{
    TestView* view = mView;
    view->RotateView(0, 40.0);
    CameraSnapshot snapshot;
    snapshot.Save(*view);
    const Vec3D eye = view->GetEye(), up = view->GetUp(), back = view->GetBackward();
    const float fov = view->GetVerticalFOV();

    view->ResetCamera(false);
    view->SetVerticalFOV(fov + 5.0f);
    ASSERT_NE(view->GetUp().z, up.z);
    NewView::ClearRedrawFlags(view);
    snapshot.Restore(*view);
    EXPECT_DOUBLE_EQ(view->GetEye().y, eye.y);
    EXPECT_DOUBLE_EQ(view->GetUp().z, up.z);
    EXPECT_DOUBLE_EQ(view->GetBackward().y, back.y);
    // The field of view is no part of it, and the caller marks the view.
    EXPECT_FLOAT_EQ(view->GetVerticalFOV(), fov + 5.0f);
    EXPECT_EQ(view->GetRedrawMarks() & NewView::kRedraw, 0);

    // An empty snapshot changes nothing.
    CameraSnapshot empty;
    view->ResetCamera(false);
    const Vec3D reset = view->GetEye();
    empty.Restore(*view);
    EXPECT_DOUBLE_EQ(view->GetEye().z, reset.z);
}
