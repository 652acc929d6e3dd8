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

// The undo kind of a colour change.
inline constexpr int kUndoKindColorChange = 27;
