#pragma once

#include <wx/gdicmn.h>

#include <string>

class wxWindow;

// Placement and measuring for the program's dialogs. Layout itself is left to sizers: a dialog that
// drops or grows a section hides or resizes the item and calls Fit, which also closes the gap.

// Moves the window to a remembered position (x >= 0), with the remembered size when one is given
// and its width is positive; otherwise onto the reference window's top-left corner when there is
// one; otherwise leaves it where it is.
void PlaceDialog(wxWindow* window, const int* position, const int* size, wxWindow* reference = nullptr);

// The window's screen position and, when asked, its outer size.
void GetWindowPosSize(const wxWindow* window, int* position, int* size);

// Width and height (plus extraHeight) of a text of one or more lines in the default GUI font.
wxSize MeasureTextGuiFont(wxWindow* window, const std::string& text, int extraHeight);

class wxOwnerDrawnComboBox;

// Widens the combo's drop-down list to its widest item (in the combo's font, plus 5, at least 6),
// two edges and a scroll bar, but no further than from the combo's left edge to the right edge of
// its screen; answers that width.
int FitComboDropWidth(wxOwnerDrawnComboBox* combo);
