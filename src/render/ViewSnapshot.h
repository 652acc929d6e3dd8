#pragma once

#include "kernel/Vec3D.h"

class OpenGLView;

// A copy of what a view shows: its camera, projection and 2D area. Saved and restored around
// printing and image export, per model in the document, and as the camera memories.
struct ViewSnapshot
{
    bool valid = false;
    bool orthogonal = false;
    Vec3D eye;
    Vec3D right;
    Vec3D up;
    Vec3D backward;
    float fov = 0.0f;
    float halfHeight = 0.0f;
    float zoom2D = 1.0f;
    float angle2D = 0.0f;
    float left2D = 0.0f;
    float bottom2D = 0.0f;
    float right2D = 0.0f;
    float top2D = 0.0f;
    float scrollX = 0.0f;
    float scrollY = 0.0f;
    float docWidth = 0.0f;
    float docHeight = 0.0f;

    void Save(const OpenGLView& view);
    // Only a valid snapshot is restored; the scroll bars follow and the view is marked for redraw.
    void Restore(OpenGLView& view) const;
};

// The program-wide camera memories of View > Camera, 0..4; a memory is stored while it is valid.
inline constexpr int kNumCameraMemories = 5;
// Null outside 0..4.
ViewSnapshot* GetCameraMemory(int index);
