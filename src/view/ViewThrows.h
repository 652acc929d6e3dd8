#pragma once

#include "kernel/Mat4.h"
#include "kernel/MouseThrow.h"
#include "kernel/Vec4D.h"

class CPolyView;

// The throws that every model pane owns for the values of its own: its explosion, its turns of the
// cross-section and its 4D rotation. Each is a member of its pane, given its kind and its pane as
// owner when the pane is made, and stopped and unlinked when the pane goes.
class ViewThrow : public MouseThrow
{
public:
    ViewThrow(CPolyView* view, int interfaceType, int flags);

protected:
    CPolyView* mView;
};

// The explosion scale of the pane, 0.03 per pixel, swinging within the range of its release.
class ExplodeThrow : public ViewThrow
{
public:
    explicit ExplodeThrow(CPolyView* view) : ViewThrow(view, 1002, 0) {}

    // At the release: [1, scale] for an explosion while imploding is not allowed, else
    // [-|scale|, |scale|], so that the thrown scale swings back through the model at rest.
    void SetRange(double scale);
    double GetLow() const { return mLow; }
    double GetHigh() const { return mHigh; }
    // The implode option changed while the throw moves.
    void ImplodeOptionChanged(bool allowed);

    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
    void WriteData(ioFile* file) override;
    void ReadData(ioFile* file, bool apply) override;
    void SaveState(MouseThrowState& state) override;
    void RestoreState(const MouseThrowState& state) override;

private:
    double mLow = 0.0;
    double mHigh = 0.0;
};

// Turns the cross-section (the slice matrix of the scene) about the axis of the drag.
class SliceRotateThrow : public ViewThrow
{
public:
    explicit SliceRotateThrow(CPolyView* view) : ViewThrow(view, 1006, kAxisMode) {}
    bool Apply(float amount, float unused) override;
    void InvalidateTargets() override;
};

// Turns the cross-section of a 4D model towards the fourth axis.
class SliceRotate4DThrow : public ViewThrow
{
public:
    explicit SliceRotate4DThrow(CPolyView* view) : ViewThrow(view, 1007, kAxisMode) {}
    // A 3D model view turns about the axis of the drag; other panes take the raw movement, drag and
    // release alike, so that a thrown turn keeps the direction of the drag.
    void SetAxisMode(bool on);
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

// Twists the cross-section of a 4D model from the line of sight into the fourth axis.
class SliceTwist4DThrow : public ViewThrow
{
public:
    explicit SliceTwist4DThrow(CPolyView* view) : ViewThrow(view, 1008, 0) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

// The pane's 4D rotation: the screen direction of the drag turns into the fourth axis.
class Rotate4DThrow : public ViewThrow
{
public:
    explicit Rotate4DThrow(CPolyView* view) : ViewThrow(view, 1009, kAxisMode) {}
    bool Apply(float amount, float unused) override;
    void InvalidateTargets() override;
};

// The pane's 4D rotation: the line of sight turns into the fourth axis.
class Tunnel4DThrow : public ViewThrow
{
public:
    explicit Tunnel4DThrow(CPolyView* view) : ViewThrow(view, 1010, 0) {}
    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
};

// The pane's 4D rotation: a chosen direction of the model turns towards the fourth axis.
class RotateThrough4DThrow : public ViewThrow
{
public:
    explicit RotateThrough4DThrow(CPolyView* view) : ViewThrow(view, 1011, 0) {}

    // The direction to turn through; false, keeping the old one, for a direction with nothing in
    // the first three axes (along the fourth axis, or zero).
    bool SetDirection(const Vec4D& v);
    const Vec4D& GetDirection() const { return mDirection; }

    bool Apply(float dx, float dy) override;
    void InvalidateTargets() override;
    void WriteData(ioFile* file) override;
    void ReadData(ioFile* file, bool apply) override;
    void SaveState(MouseThrowState& state) override;
    void RestoreState(const MouseThrowState& state) override;

private:
    Vec4D mDirection{1.0, 0.0, 0.0, 0.0};  // unit, w = 0
};

// Options > Allow Explosion Inertia to Implode: off at start. Changing it moves the lower limit of
// every pane's moving explosion throw.
bool GetExplosionImplodeAllowed();
void SetExplosionImplodeAllowed(bool on);

// Stops the three slice throws of every pane: a new mode, view type or section direction makes
// their motion meaningless.
void StopSliceThrows();
// Stops the three 4D rotation throws of every pane.
void Stop4DRotationThrows();

