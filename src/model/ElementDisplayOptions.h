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

    // Display > Vertex && Edge Options: "ShowVerts", "ShowEdges", "ShowStelVerts", "ShowStelEdges",
    // and the point size of vertices drawn as points, "VertSize".
    bool mShowVerts = false;
    bool mShowStelVerts = false;
    bool mShowEdges = false;
    bool mShowStelEdges = false;
    float mVertSize = 3.0f;
    // "SpheresAndCylinders", with the separate sphere and cylinder switches of the display.
    bool mSpheresAndCylinders = false;
    bool mSphereSwitch = true;
    bool mCylinderSwitch = true;
    // The Sphere and Cylinder Options: what the sphere radius is proportional to (0-3,
    // "SphereRadBasedOn"), the radius as a fraction of it ("SphereRad"), the cylinder radius as a
    // fraction of the sphere radius ("CylinderRad"), their materials and colours.
    int mSphereRadBasedOn = 0;
    double mSphereRad = 0.4;
    double mCylinderRad = 0.7;
    bool mShareMaterial = false;    // "ShareMaterial"
    int mSphereMaterial = 2;        // "SphereMaterial"
    int mCylinderMaterial = 3;      // "CylinderMaterial"
    ColorRGB mSphereColor{1.0f, 1.0f, 0.8f};    // "SphereColor"
    ColorRGB mCylinderColor{1.0f, 1.0f, 0.8f};  // "CylinderColor"
    // The colour of the midsphere in the scene ("MidsphereColor").
    ColorRGB mMidsphereColor{0.0f, 0.7f, 1.0f};
    // Display > Show Face/Edge/Vertex Text.
    bool mShowText = true;
    // Options > Show Coplanar Vertex Figures, Show Dual Face on Vertex Figure.
    bool mShowCoplanarVertexFigures = true;
    bool mShowDualFaceOnVertexFigure = true;
    // Options > Label Vertex Figure Faces with (kVertexFigureLabel...).
    int mVertexFigureLabels = 1;
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
inline constexpr int kDiagnosticCellBelowNumbers = 0x80;
inline constexpr int kDiagnosticCellAboveNumbers = 0x100;
inline constexpr int kDiagnosticRegionTypeNumbers = 0x200;
inline constexpr int kDiagnosticRegionNumbers = 0x400;
inline constexpr int kDiagnosticRegionPointers = 0x800;
inline constexpr int kDiagnosticDiagramVertexNumbers = 0x2000;
inline constexpr int kDiagnosticDiagramVertexCoords = 0x4000;
inline constexpr int kDiagnosticFaceletNumbers = 0x8000;
inline constexpr int kDiagnosticFaceletTypeNumbers = 0x10000;
// Labels of one group exclude each other; the element numbers are free.
inline constexpr int kDiagnosticRegionGroup = 0xF80;
inline constexpr int kDiagnosticDiagramVertexGroup = 0x6000;
inline constexpr int kDiagnosticFaceletGroup = 0x18000;

// The mask after choosing the label bits: a set of free bits all on goes off, else all come on; a
// bit of a group toggles and clears the rest of its group.
int ToggleDiagnosticBits(int mask, int bits);

// What the faces of vertex figures are labelled with.
inline constexpr int kVertexFigureLabelNothing = 0;
inline constexpr int kVertexFigureLabelSides = 1;
inline constexpr int kVertexFigureLabelFaceIndices = 2;
inline constexpr int kVertexFigureLabelAroundVertex = 3;

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
