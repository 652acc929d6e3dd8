#include "render/CameraSnapshot.h"

#include "render/OpenGLView.h"

void CameraSnapshot::Save(const OpenGLView& view)
{
    eye = view.mEye;
    right = view.mRight;
    up = view.mUp;
    backward = view.mBackward;
    valid = true;
}

void CameraSnapshot::Restore(OpenGLView& view) const
{
    if (!valid)
        return;
    view.mEye = eye;
    view.mCurrentEyePos = eye;
    view.mRight = right;
    view.mUp = up;
    view.mBackward = backward;
    view.mWindowMatrixValid = false;
}
