#pragma once

// The kinds of undoable change: each names its undo step in the Edit menu and chooses the class of
// item that records it. Core code passes them to the shell's AddUndo.
inline constexpr int kUndoCreateNewModel = 0;
inline constexpr int kUndoOpenBuiltInModel = 1;
inline constexpr int kUndoFaceting = 4;
inline constexpr int kUndoRetrieveFromMemory = 5;
inline constexpr int kUndoAddFromMemory = 6;
inline constexpr int kUndoStellationPlanes = 13;
inline constexpr int kUndoSubdivideFaces = 14;
inline constexpr int kUndoGeodesicSphere = 16;
inline constexpr int kUndoZonohedrify = 17;
inline constexpr int kUndoCreateWatermanPolyhedron = 19;
inline constexpr int kUndoCreateBlock = 20;
inline constexpr int kUndoNonUniformScale = 21;
inline constexpr int kUndoConvertToBaseModel = 22;
inline constexpr int kUndoCreateSpringModel = 23;
inline constexpr int kUndoGoToVariation = 25;
inline constexpr int kUndoScaleChange = 26;
inline constexpr int kUndoColorChange = 27;
inline constexpr int kUndoFacetingChange = 28;
inline constexpr int kUndoStellationChange = 29;
inline constexpr int kUndoDualStellationChange = 30;
inline constexpr int kUndoSubSymmetry = 31;
inline constexpr int kUndoReflexibilityChange = 32;
inline constexpr int kUndoFileOpen = 33;
inline constexpr int kUndoOpenTourItem = 34;
inline constexpr int kUndoUniformPolychoron = 38;
inline constexpr int kUndo4DPrism = 39;
inline constexpr int kUndoApplyImage = 44;
inline constexpr int kUndoImageSwap = 45;
inline constexpr int kUndoImageOptions = 60;
inline constexpr int kUndoKindCount = 61;

// The step's name in menus and messages; "operation" outside 0 to 60.
const char* UndoKindName(int kind);

// Kinds whose whole model is kept before the change and exchanged on undo or redo.
bool IsWholeModelUndoKind(int kind);
// Kinds whose item stays open while the change runs, until CloseUndo.
bool IsOpenUndoKind(int kind);
