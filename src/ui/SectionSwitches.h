#pragma once

class wxEvtHandler;

// The Section menu's switches of the 2D cross-section (fill, edges, vertices near the plane),
// handled for the whole main window.
void BindSectionSwitches(wxEvtHandler* frame);
