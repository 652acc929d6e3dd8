#include "render/ViewSnapshot.h"

#include "render/OpenGLView.h"

void ViewSnapshot::Save(const OpenGLView& view)
{
    valid = true;
    orthogonal = view.mOrthogonal;
    eye = view.mEye;
    right = view.mRight;
    up = view.mUp;
    backward = view.mBackward;
    fov = view.mFOV;
    halfHeight = view.mHalfHeight;
    zoom2D = view.mZoom2D;
    angle2D = view.mAngle2D;
    left2D = view.mLeft2D;
    bottom2D = view.mBottom2D;
    right2D = view.mRight2D;
    top2D = view.mTop2D;
    scrollX = view.mScrollX;
    scrollY = view.mScrollY;
    docWidth = view.mDocWidth;
    docHeight = view.mDocHeight;
}

void ViewSnapshot::Restore(OpenGLView& view) const
{
    if (!valid)
        return;
    view.mOrthogonal = orthogonal;
    view.mEye = eye;
    view.mCurrentEyePos = eye;
    view.mRight = right;
    view.mUp = up;
    view.mBackward = backward;
    view.mFOV = fov;
    view.mHalfHeight = halfHeight;
    view.mZoom2D = zoom2D;
    view.mAngle2D = angle2D;
    view.mLeft2D = left2D;
    view.mBottom2D = bottom2D;
    view.mRight2D = right2D;
    view.mTop2D = top2D;
    view.mScrollX = scrollX;
    view.mScrollY = scrollY;
    view.mWindowMatrixValid = false;
    view.SetDocumentSize(docWidth, docHeight, true);
    NewView::Invalidate(&view, true);
}

ViewSnapshot* GetCameraMemory(int index)
{
    static ViewSnapshot memories[kNumCameraMemories];
    return index >= 0 && index < kNumCameraMemories ? &memories[index] : nullptr;
}
