#pragma once

// The program's command ids, one list for every module that declares, handles or sends commands.
// The command numbers start at 0x8000; the toolkit takes menu ids below 0x7FFF only, so every id is
// its number less kCommandIdBase.
inline constexpr int kCommandIdBase = 0x8000;

// File.
inline constexpr int kCmdFileMruFirst = 57616 - kCommandIdBase;  // the recent files, up to kCmdFileMruLast
inline constexpr int kCmdFileMruLast = 57631 - kCommandIdBase;
inline constexpr int kCmdAppExit = 57665 - kCommandIdBase;
inline constexpr int kCmdFileSave = 57603 - kCommandIdBase;
inline constexpr int kCmdFileSaveAs = 57604 - kCommandIdBase;
inline constexpr int kCmdSaveDefaultScene = 33700 - kCommandIdBase;
inline constexpr int kCmdExportMetricData = 34007 - kCommandIdBase;

// View: the pane layouts.
inline constexpr int kCmdLayout1 = 32826 - kCommandIdBase;  // Ctrl+1: one pane
inline constexpr int kCmdLayout2 = 32827 - kCommandIdBase;  // Ctrl+2: two panes
inline constexpr int kCmdLayout3 = 32828 - kCommandIdBase;  // Ctrl+3: the three-pane layouts in turn
inline constexpr int kCmdLayout4 = 32829 - kCommandIdBase;  // Ctrl+4: the four-pane layouts in turn
inline constexpr int kCmdLayout5 = 32830 - kCommandIdBase;  // Ctrl+5: the five-pane layouts in turn
inline constexpr int kCmdLayout6 = 32831 - kCommandIdBase;  // Ctrl+6: six panes
inline constexpr int kCmdChooseLayout = 32832 - kCommandIdBase;

// Options: mouse inertia; the Esc key.
inline constexpr int kCmdStopAllMouseInertia = 33290 - kCommandIdBase;
inline constexpr int kCmdAllowMouseInertia = 33291 - kCommandIdBase;
inline constexpr int kCmdEscapeKey = 33292 - kCommandIdBase;

// Edit: the undo list. The menu items carry Ctrl+Z and Ctrl+R; the toolbar buttons have ids of their
// own, the Undo button's also reached by Alt+Backspace.
inline constexpr int kCmdEditUndo = 57643 - kCommandIdBase;
inline constexpr int kCmdEditRedo = 57644 - kCommandIdBase;
inline constexpr int kCmdUndo = 33250 - kCommandIdBase;
inline constexpr int kCmdRedo = 33251 - kCommandIdBase;
inline constexpr int kCmdUndoSettings = 33253 - kCommandIdBase;

// Poly: stepping through the library; models made from parameters or from the current one.
inline constexpr int kCmdPreviousPolyhedron = 32791 - kCommandIdBase;
inline constexpr int kCmdNextPolyhedron = 32792 - kCommandIdBase;
inline constexpr int kCmdCreateWatermanPolyhedron = 33600 - kCommandIdBase;
inline constexpr int kCmdMakeFacesRegular = 33601 - kCommandIdBase;
