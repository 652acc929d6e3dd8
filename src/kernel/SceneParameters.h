#pragma once

#include "kernel/Mat4.h"
#include "kernel/Vec3D.h"

// The scene values that the mouse moves in every pane at once and that belong to the model shown:
// each model record keeps its own, and the model file stores them under the names given.
struct SceneParameters
{
    double morphRatio = 0.5;   // "MorphRatio": how far the dual morphs have gone
    double foldRatio = 0.25;   // "FoldRatio": how far the folding net has folded
    double netShrink4D = 1.0;  // "NetShrink4D"
    double sliceRatio = 0.5;   // "SliceRatio": depth of the cross-section
    Mat4 sliceMatrix;          // "SliceMat": direction of the 4D cross-section
    bool sliceSameAsProj = false;  // "SliceSameAsProj": the cross-section follows the 4D projection
    double shrink4D = 0.3;     // "Shrink4D": shrink of the 4D cells
};

// The values of the model being shown.
SceneParameters& GetSceneParameters();

// The frame of the 3D cross-section, read from the slice matrix: the in-plane axes u and v and the
// section direction n are its first three columns. A matrix whose w entry is not 1 was never set as
// a frame: it becomes the identity first.
void GetSectionFrame(Vec3D& u, Vec3D& v, Vec3D& n);
