#pragma once

class Poly;

// What follows a change of colours or of what a side of the model shows: the side's display data is
// made again at the next idle step and every pane is redrawn. The core reaches these through its
// shell (kernel/Shell.h).

// The base (dual false) or dual side of the model; with rebuildNets the side's nets are laid out
// again as well.
void InvalidateModelDisplay(Poly* poly, bool dual, bool rebuildNets);
// After face colours changed: the side the model shows, then the rainbow warning.
void FaceColorsChanged(Poly* poly, bool rebuildNets);
// After edge colours changed; warns when the change cannot be seen.
void EdgeColorsChanged();
// In rainbow colour mode colour changes show nothing: the active pane says so.
void WarnIfRainbowMode();
