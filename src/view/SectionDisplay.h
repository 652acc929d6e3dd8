#pragma once

class CPolyView;

// Section > Show Cross-Section in Model Views: 0 never, 1 while a Cross-Section pane is open,
// 2 always. Never at start.
int GetCrossSectionDisplayMode();
void SetCrossSectionDisplayMode(int mode);

// The pane draws the cross-section in the model: the display mode asks for it and the pane shows
// the side the document shows.
bool ShowsSectionInModel(const CPolyView& view);
// The pane's type depends on the cross-section: the Cross-Section, or a Base Polyhedron, Dual or
// Base/Dual Compound pane that shows the section in the model.
bool NeedsSectionThrow(const CPolyView& view, int viewType);
// The pane reacts to the section depth under the mouse; with ignoreMode the mouse mode plays no
// part.
bool IsSectionTarget(const CPolyView& view, bool ignoreMode);

// Drops the current model's cross-section, to be cut again at a new depth or orientation.
void InvalidateModelCrossSection();
