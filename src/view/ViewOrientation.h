#pragma once

#include "kernel/Vec3D.h"

class SymGroup;

// The unit "up" of a view turned to look along d: the symmetry axis least aligned with d, made
// perpendicular to it, so that another axis ends straight up; without a usable axis, d crossed with
// the coordinate axis of d's smallest component.
Vec3D ChooseUpVector(const Vec3D& d, const SymGroup* group);

// The axis class an export orientation looks down or sits on: 2 and 6 give 0, 3 and 7 give 1, 4 and 8
// give 2; -1 for the others.
int ExportOrientationAxis(int code);

// What the Export Options dialog asks the 3D exports to turn the view to: orientation 0 current, 1
// default, 2 look down and 3 sit on the given axis classes, 4 look at and 5 sit on the selected item.
struct ExportOrientation3D
{
    int orientation = 0;
    int lookDownClass = 0;
    int sitOnClass = 0;
};

// The angles the Rotate Around X/Y/Z Axis prompts offer: the last one accepted for each axis, 90
// at start, for the run.
float& RememberedRotateAngle(int axis);
