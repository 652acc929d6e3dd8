#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec3D.h"

#include <cstdint>

struct ioFile;
class MouseThrowState;

// What a throw needs of the view that owns it: its place in the list of views (part of the throw's
// file id) and its projection, for throws that turn about an axis fixed in the model.
class MouseThrowOwner
{
public:
    virtual ~MouseThrowOwner() = default;
    virtual int GetThrowOwnerIndex() const = 0;
    // The window position (x right, y down) of a model-space point.
    virtual void ProjectThrowPoint(Vec3D& out, const Vec3D& p) = 0;
};

// The momentum of one kind of mouse drag. While the user drags, the view feeds the throw every mouse
// position and applies every movement; a release while the mouse still moves keeps applying the
// speed of the last five samples from the idle step until something stops it. Throws are members of
// their views or global objects, never copied; the module's lists hold no ownership.
class MouseThrow : public LinkNode<MouseThrow>
{
public:
    static constexpr int kMoving = 1;
    static constexpr int kAxisMode = 2;   // the motion turns about an axis that the throw keeps
    static constexpr int kFixedAxis = 4;  // with kAxisMode: the axis is given in model space

    explicit MouseThrow(int interfaceType);
    ~MouseThrow() override;

    void Init(int interfaceType, MouseThrowOwner* owner, int flags);

    int GetInterfaceType() const { return mInterfaceType; }
    MouseThrowOwner* GetOwner() const { return mOwner; }
    int GetFlags() const { return mFlags; }
    bool IsMoving() const { return (mFlags & kMoving) != 0; }
    // interface type x 6 + the owner's view index (six panes at most).
    int GetFileId() const;

    float GetVelocityX() const { return mVx; }
    float GetVelocityY() const { return mVy; }
    double GetLastStepTime() const { return mLastStepTime; }
    void SetLastStepTime(double seconds) { mLastStepTime = seconds; }
    const Vec3D& GetAxis() const { return mAxis; }
    void SetAxis(const Vec3D& axis) { mAxis = axis; }

    // One mouse position of a drag (window pixels), at button down and at every move.
    void AddSample(int x, int y);
    // One movement of a drag: the axis handling, then Apply.
    void ApplyMouseDelta(float dx, float dy);
    void Drag(float dx, float dy) { ApplyMouseDelta(dx, dy); }
    // At button up: true when the throw now moves on by itself.
    bool Release();
    void Start(float vx, float vy);
    void Stop();
    void Reverse();
    // For Apply: holds the value in [low, high], reversing at a limit (or reflecting the overshoot
    // in bounce mode); true when the velocity was reversed.
    bool KeepInRange(double* value, double low, double high);
    void StepTo(double time);
    // Axis mode: turns a movement into an amount in dx (dy 0) about the throw's axis.
    void MapDelta(float* dx, float* dy);
    void DragToAmount(float* dx, float* dy) { MapDelta(dx, dy); }

    // The subclass's own values at the end of its model-file line and in saved states.
    virtual void WriteData(ioFile* /*file*/) {}
    virtual void ReadData(ioFile* /*file*/, bool /*apply*/) {}
    virtual void SaveState(MouseThrowState& /*state*/) {}
    virtual void RestoreState(const MouseThrowState& /*state*/) {}
    virtual void InvalidateTargets() = 0;
    // Moves the parameter by a pixel displacement; no caller acts on the result.
    virtual bool Apply(float dx, float dy) = 0;

    MouseThrow* mNextMoving = nullptr;

private:
    int32_t mInterfaceType = -1;
    int32_t mFlags = 0;
    MouseThrowOwner* mOwner = nullptr;
    double mLastStepTime = 0.0;
    float mVx = 0.0f;
    float mVy = 0.0f;
    Vec3D mAxis{0, 0, 0};
};

// Module state and operations, on the user-interface thread.
void ResetMouseSamples();
// Off stops every moving throw.
void EnableMouseThrows(bool on);
bool MouseThrowsEnabled();
// How KeepInRange treats a limit; returns the previous mode.
bool SetMouseThrowBounce(bool on);
bool GetMouseThrowBounce();
// The pointing-device timing rule of the release test; the application sets 0 at start-up.
void SetMouseInterfaceType(int type);
int GetMouseInterfaceType();
// The idle step marks a pending step; the first view drawn after it steps every throw.
void SetMouseThrowStepPending(bool on);
bool IsMouseThrowStepPending();

// Steps to now the moving throws of the owner and those without owner, or all with a null owner;
// true while any throw moves.
bool StepMouseThrows(const MouseThrowOwner* owner);
bool InvalidateMouseThrowTargets();
bool AnyMouseThrowMoving();
MouseThrow* GetFirstMovingThrow();
void StopAllMouseThrows();
// The largest double stands for now.
void SetMouseThrowTimes(double time);
// Oldest first.
MouseThrow* FindMouseThrow(int fileId);

// The "MouseThrows" section of a model file, after its token: the moving throws, then -1.
void WriteMouseThrowData(ioFile* file, int indent);
// Reads up to the section's -1. start false reads without moving anything. False when the section
// ended early: at the end of the input, or at a throw whose values cannot be skipped.
bool ReadMouseThrowData(ioFile* file, int interfaceTypeBound, bool start);
// How many values of its own a throw of the interface type writes after its axis; -1 unknown.
int MouseThrowOwnValueCount(int interfaceType);
