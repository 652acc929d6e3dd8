#pragma once

#include "kernel/ColorRGB.h"

// The view options that model code reads while it draws, labels and measures: program-wide values
// that the view commands and the settings set. They live here because the element code, the unit
// settings and the mesh read them and none of those may reach into the views.
struct DisplayOptions
{
    // Display > Vertex && Edge Options.
    bool showVerts = false;      // "ShowVerts"
    bool showStelVerts = false;  // "ShowStelVerts"
    // "SpheresAndCylinders", with the separate sphere and cylinder switches of the display.
    bool spheresAndCylinders = false;
    bool sphereSwitch = true;
    bool cylinderSwitch = true;
    ColorRGB defaultVertColor{1.0f, 1.0f, 0.8f};  // "VertColor"

    bool showText = true;                 // Display > Show Face/Edge/Vertex Text
    bool hideBetweenHiddenFaces = false;  // Display > Hide Edges && Vertices Between Hidden Faces
    bool showCoplanarVertexFigures = true;
    bool showDualFaceOnVertexFigure = true;
    bool colorVertsSameAsDualFace = false;  // Color > Vertex Colors > Color Vertices Same as Dual Face

    int mouseMode = 0;             // see kMouseMode...
    int diagnosticLabelFlags = 0;  // see kDiagnostic...

    // The spheres dialog: the spheres in the 3D views and their circles on the nets.
    bool showSpheres = true;
    bool showSphereIntersectionsOnNets = true;
};

DisplayOptions& GetDisplayOptions();

// Selection > Mouse Selection Mode.
inline constexpr int kMouseModeSelect = 0;
inline constexpr int kMouseModeIdentify = 1;
inline constexpr int kMouseModeCutEdges = 2;
inline constexpr int kMouseModeMeasure = 3;
inline constexpr int kMouseModeFaceting = 4;
inline constexpr int kMouseModeColorFaces = 5;
inline constexpr int kMouseModeImage = 6;
inline constexpr int kMouseModeSectionTumble = 7;
inline constexpr int kMouseMode4DTumble = 8;

// Label bits of Options > Diagnostic Mode.
inline constexpr int kDiagnosticFaceNumbers = 0x1;
inline constexpr int kDiagnosticFaceTypeNumbers = 0x2;
inline constexpr int kDiagnosticVertexNumbers = 0x4;
inline constexpr int kDiagnosticVertexTypeNumbers = 0x8;
inline constexpr int kDiagnosticEdgeNumbers = 0x10;
inline constexpr int kDiagnosticEdgeTypeNumbers = 0x20;

int GetMouseMode();
int GetDiagnosticLabelFlags();

// Vertices are drawn as spheres: the sphere switch and "SpheresAndCylinders" both on.
bool DrawSpheresAtVerts();
// Edges are drawn as cylinders: the cylinder switch and "SpheresAndCylinders" both on.
bool DrawCylindersAtEdges();
