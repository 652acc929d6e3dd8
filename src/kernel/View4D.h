#pragma once

#include "kernel/Mat4.h"

// How a pane looks at a 4D model: the pane fills one in for the length of its drawing and the 4D
// drawing code projects through it (polytope4d/Projection4D.h).
struct View4D
{
    // Model space to the pane's 4D frame (Mat4::Transform); its last row is the direction towards
    // the viewer in model space.
    Mat4 rotation;
    bool orthogonal = false;
    double radius = 1.0;  // the pane's view radius
    void* shellView = nullptr;  // the pane as the shell names it; null for none
    // While the pane draws for picking, the categories it picks (kPick4D...); 0 otherwise.
    unsigned pickMask = 0;
};

// Pick categories the 4D drawing names its elements for.
inline constexpr unsigned kPick4DCells = 0x1;
inline constexpr unsigned kPick4DVerts = 0x10;
inline constexpr unsigned kPick4DFaceSides = 0x400;
inline constexpr unsigned kPick4DEdgeLines = 0x800;
