#pragma once

// Global options of the 4D code that other subsystems read.

// "Auto-Generate Polychora from Vertex Figure Files" (on at start): model files whose names begin
// "verf-of-" then hold vertex figures of generated polychora, and their display names drop that prefix.
bool GetAutoGeneratePolychora();
void SetAutoGeneratePolychora(bool on);

// Which cells the 4D panes leave out: 4D > Hide Back-Cells and Hide Front-Cells. Front cells are
// hidden at start.
inline constexpr int kCellHidingNone = 0;
inline constexpr int kCellHidingBack = 1;
inline constexpr int kCellHidingFront = 2;
int GetCellHidingMode4D();
// A mode outside 0..2 changes nothing.
void SetCellHidingMode4D(int mode);
// Hide Back-Cells and Hide Front-Cells: each turns its own mode on, or off again when it is on.
void ToggleCellHidingMode4D(int mode);
