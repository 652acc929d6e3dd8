#pragma once

class wxEvtHandler;

// The Options menu's mouse options (pivot, locked panes, implosion), the dual-morph ratio, the
// vertex-figure options, sub-symmetry recolouring, keeping the layout and the diagnostic numbers,
// handled for the whole main window: they change program-wide settings. The inertia commands are
// the Esc key's.
void BindOptionsCommands(wxEvtHandler* frame);

// Options > Set Dual Morphing Ratio...: the ratio typed as a percentage, held to 0 - 100% while
// clamping is on. The morph's motion stops first; Cancel keeps the ratio.
void PromptMorphRatio();
// Options > Clamp Morphing, 0 - 100%: switching it on brings a ratio outside back at once.
void ToggleClampMorphing();
