#pragma once

class wxEvtHandler;

// The stellation criteria, Full Support Requires All Cells Around Core, Maintain Reflexibility and
// Enable Transitions, handled for the whole main window: they change program-wide settings.
void BindStellationCommands(wxEvtHandler* frame);
