#pragma once

#include <string>

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
// After a vertex colour changed: the active pane says why the change cannot be seen, when vertices
// are drawn in the default colour or as spheres of a material of their own.
void CheckVertexColorVisible();
// The menu path of a command as the menu bar shows it ("Color->Rainbow Color Mode"); the fallback
// while there is no menu bar.
std::string CommandMenuPath(int command, const char* fallback);
