#pragma once

class wxEvtHandler;

// The Section menu's direction, depth and model-pane items, handled for the whole main window:
// the plane they set is one for every pane.
void BindSectionCommands(wxEvtHandler* frame);
