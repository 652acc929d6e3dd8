#pragma once

#include "kernel/Vec3D.h"

class OpenGLView;

// A view's eye and axes alone, for code that turns a camera for a moment and puts it back; the
// caller marks the view for redrawing when it needs to.
struct CameraSnapshot
{
    bool valid = false;
    Vec3D eye;
    Vec3D right;
    Vec3D up;
    Vec3D backward;

    void Save(const OpenGLView& view);
    // Only a valid snapshot is restored; nothing else of the view changes.
    void Restore(OpenGLView& view) const;
};
