#pragma once

#include "kernel/MouseThrow.h"

class OpenGLView;

// The camera motions of an OpenGLView, each a throw that the view owns: the idle step keeps them
// moving after a fast release. While views are locked together only the active view's throws move
// cameras; the other views follow it.
class CameraThrow : public MouseThrow
{
public:
    explicit CameraThrow(OpenGLView* view) : MouseThrow(-1), mView(view) {}
    void InvalidateTargets() override;

protected:
    // False for a locked view that follows another.
    bool MayMove() const;

    OpenGLView* mView;
};

// Orbits the camera about the screen-space axis of the drag.
class TumbleThrow : public CameraThrow
{
public:
    using CameraThrow::CameraThrow;
    bool Apply(float amount, float unused) override;
};

// Turns about the line of sight (3D) or turns the flat area (2D).
class TwistThrow : public CameraThrow
{
public:
    using CameraThrow::CameraThrow;
    bool Apply(float dx, float dy) override;
};

// Scales the camera distance, or the half-height of an orthogonal view, by 1.006^(dy - dx).
class ZoomThrow : public CameraThrow
{
public:
    using CameraThrow::CameraThrow;
    bool Apply(float dx, float dy) override;
};

// Turns the camera about an axis fixed in the model (the chosen symmetry axis).
class PivotThrow : public CameraThrow
{
public:
    using CameraThrow::CameraThrow;
    bool Apply(float amount, float unused) override;
};

// Turns the camera in place about a screen-space axis.
class TurnThrow : public CameraThrow
{
public:
    using CameraThrow::CameraThrow;
    bool Apply(float amount, float unused) override;
};
