#pragma once

#include <cstdint>

// The colour scheme words of the Color menu, program-wide values that neither the settings nor the
// model file keep. Tests that change them restore them.

// Face scheme bits: exactly one basic scheme (1 to 32), the modifiers and the arrangements
// (model/PredefinedColorIndex.h).
inline constexpr uint32_t kFaceColorAuto = 0x1;
inline constexpr uint32_t kFaceColorSingle = 0x2;
inline constexpr uint32_t kFaceColorBySides = 0x4;
inline constexpr uint32_t kFaceColorByType = 0x8;
inline constexpr uint32_t kFaceColorAlongSection = 0x10;
inline constexpr uint32_t kFaceColorPerFace = 0x20;
inline constexpr uint32_t kFaceColorBasicMask = 0x3f;
inline constexpr uint32_t kFaceColorChiralAlike = 0x80;
inline constexpr uint32_t kFaceColorCoplanarAlike = 0x100;
inline constexpr uint32_t kFaceColorCoplanarChiralAlike = 0x200;
inline constexpr uint32_t kFaceColorFrontBackAlike = 0x400;
// Not stored: colour the compound by its parts.
inline constexpr uint32_t kFaceColorAsCompound = 0x800;
// Schemes that need a finished model to take effect.
inline constexpr uint32_t kFaceColorNeedsCompleteModel = 0xfff7ad;

inline constexpr uint32_t kInitialFaceColorScheme = 0x601;

// The menu's Toggle Single/Auto Color Modes, which stands for no bit of its own.
inline constexpr uint32_t kFaceColorToggleSingleAuto = 0x3;

// What SetFaceColorScheme is given for one Color menu choice: mask -1 toggles the code's bits,
// any other mask has its bits replaced by the code.
struct FaceColorSchemeChange
{
    uint32_t code;
    uint32_t mask;
};

// The change that the menu item standing for command (a basic scheme, a modifier, an arrangement
// bit, kFaceColorAsCompound or kFaceColorToggleSingleAuto) makes to the word. A basic scheme
// replaces the basic bits; an arrangement takes the place of the others of its axis class, and
// choosing the one already set clears the class; the modifiers and the cubic and octahedral
// arrangements toggle.
FaceColorSchemeChange GetFaceColorMenuChange(uint32_t command, uint32_t word);

// Edge schemes.
inline constexpr int kEdgeColorAllSame = 1;
inline constexpr int kEdgeColorByTypeWithReflections = 2;
inline constexpr int kEdgeColorByType = 4;
inline constexpr int kEdgeColorParallel = 8;
inline constexpr int kEdgeColorGreatCircles = 16;
inline constexpr int kEdgeColorFromFaces = 32;
inline constexpr int kEdgeColorFromFacesComplement = 64;

uint32_t& FaceColorScheme();
int& EdgeColorScheme();
int& StellationDiagramColorScheme();
// 0 highlight, 1 stellation diagram.
int& SelectedFaceDisplay();

// Given as the old colour to the replacing functions: the colour of the selected vertex or edge.
inline constexpr uint32_t kSelectedElementColor = 0xff000000;

// The stellation-diagram schemes run from 0 (per front/back/internal) to 5 (per 3D layer).
inline constexpr int kNumStellationDiagramColorSchemes = 6;
