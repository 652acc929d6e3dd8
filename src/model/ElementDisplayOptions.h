#pragma once

#include "kernel/ColorRGB.h"

// The display options that element code of the core reads (hiding, default colours). The model view
// owns the commands that change them and the settings store keeps them between runs; they live here
// so that core code and core tests can read them without the GUI. Tests that change them restore them.
struct ElementDisplayOptions
{
    // Display > Hide Edges && Vertices Between Hidden Faces.
    bool mHideBetweenHiddenFaces = false;
    // Color > Vertex Colors > Color Vertices Same as Dual Face.
    bool mColorVertsSameAsDualFace = false;
    // The settings "VertColor" and "EdgeColor".
    ColorRGB mDefaultVertColor{1.0f, 1.0f, 0.8f};
    ColorRGB mDefaultEdgeColor{1.0f, 1.0f, 0.8f};
};

ElementDisplayOptions& GetElementDisplayOptions();
