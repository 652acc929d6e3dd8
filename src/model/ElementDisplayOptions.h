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

    // Display > Vertex && Edge Options: "ShowVerts" and "ShowStelVerts".
    bool mShowVerts = false;
    bool mShowStelVerts = false;
    // "SpheresAndCylinders", with the separate sphere and cylinder switches of the display.
    bool mSpheresAndCylinders = false;
    bool mSphereSwitch = true;
    bool mCylinderSwitch = true;
    // Display > Show Face/Edge/Vertex Text.
    bool mShowText = true;
    // Options > Show Coplanar Vertex Figures, Show Dual Face on Vertex Figure.
    bool mShowCoplanarVertexFigures = true;
    bool mShowDualFaceOnVertexFigure = true;
    // Selection > Mouse Selection Mode (kMouseMode...).
    int mMouseMode = 0;
    // The label bits of Options > Diagnostic Mode (kDiagnostic...).
    int mDiagnosticLabelFlags = 0;
};

ElementDisplayOptions& GetElementDisplayOptions();

// Mouse selection modes.
inline constexpr int kMouseModeSelect = 0;
inline constexpr int kMouseModeIdentify = 1;
inline constexpr int kMouseModeCutEdges = 2;
inline constexpr int kMouseModeMeasure = 3;
inline constexpr int kMouseModeFaceting = 4;
inline constexpr int kMouseModeColorFaces = 5;
inline constexpr int kMouseModeImage = 6;
inline constexpr int kMouseModeSectionTumble = 7;
inline constexpr int kMouseMode4DTumble = 8;

// Label bits of the diagnostic mode.
inline constexpr int kDiagnosticFaceNumbers = 0x1;
inline constexpr int kDiagnosticFaceTypeNumbers = 0x2;
inline constexpr int kDiagnosticVertexNumbers = 0x4;
inline constexpr int kDiagnosticVertexTypeNumbers = 0x8;
inline constexpr int kDiagnosticEdgeNumbers = 0x10;
inline constexpr int kDiagnosticEdgeTypeNumbers = 0x20;

inline int GetMouseMode()
{
    return GetElementDisplayOptions().mMouseMode;
}

inline int GetDiagnosticLabelFlags()
{
    return GetElementDisplayOptions().mDiagnosticLabelFlags;
}

// Vertices are drawn as spheres: the sphere switch and "SpheresAndCylinders" both on.
inline bool DrawSpheresAtVerts()
{
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    return o.mSphereSwitch && o.mSpheresAndCylinders;
}

// Edges are drawn as cylinders: the cylinder switch and "SpheresAndCylinders" both on.
inline bool DrawCylindersAtEdges()
{
    const ElementDisplayOptions& o = GetElementDisplayOptions();
    return o.mCylinderSwitch && o.mSpheresAndCylinders;
}
