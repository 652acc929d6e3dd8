#pragma once

#include <wx/gdicmn.h>

class wxEvtHandler;
class wxWindow;

// The Display menu's program-wide switches (vertices, edges, their sizes, spheres and cylinders,
// the midsphere, edges between hidden faces), the Stellation menu's display switches and the kit's
// edge-style button, handled for the whole main window. The switches of one pane are the pane's.
void BindDisplayCommands(wxEvtHandler* frame);

// Where the edge-style menu opens so that its current item lies over the anchor (the button's
// top-left corner), kept on the screen: currentOffset is the current item's distance from the
// menu's top, frameWidth the menu's border.
wxPoint PlaceKitEdgeStyleMenu(const wxPoint& anchor, int currentOffset, const wxSize& menu, const wxSize& screen,
                              int frameWidth);

// The menu of the kit's eleven edge styles with the current one marked, opened over (x, y) in
// screen coordinates; the chosen style arrives as its command.
void ShowKitEdgeStyleMenu(wxWindow* owner, int current, int x, int y);
// The same over the Choose Geomag Edge Style button of the Option toolbar.
void ShowKitEdgeStyleMenuAtButton(wxWindow* frame);
