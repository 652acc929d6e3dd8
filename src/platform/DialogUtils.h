#pragma once

#include <wx/gdicmn.h>

#include <cstdint>
#include <string>

class wxBitmap;
class wxDC;
class wxFont;
class wxItemContainer;
class wxOwnerDrawnComboBox;
class wxSpinButton;
class wxTextCtrl;
class wxWindow;

// Placement, measuring and small control helpers for the program's dialogs. Layout itself is left
// to sizers: a dialog that drops a section hides it and calls Layout and Fit, which closes the gap.

// Where a dialog goes the first time, while its position record is still unset (x < 0).
enum class FirstPlacement
{
    kToolkit,      // where the toolkit puts it, or onto the reference window's top-left corner
    kInCorner,     // the bottom-right corner of the reference window (PlaceInCorner)
};

// Moves the window to a remembered position (x >= 0), with the remembered size when one is given
// and its width is positive; otherwise places it as `first` says.
void PlaceDialog(wxWindow* window, const int* position, const int* size, wxWindow* reference = nullptr,
                 FirstPlacement first = FirstPlacement::kToolkit);

// Puts the window, keeping its size, into the bottom-right corner of the reference's inner area
// (the window's parent when null, else the desktop), then onto the desktop. A window as wide or as
// high as the area keeps that coordinate.
void PlaceInCorner(wxWindow* window, wxWindow* reference = nullptr);

// The window's screen position and, when asked, its outer size.
void GetWindowPosSize(const wxWindow* window, int* position, int* size);

// Width and height (plus extraHeight) of a text of one or more lines in the default GUI font.
wxSize MeasureTextGuiFont(wxWindow* window, const std::string& text, int extraHeight);

// The text's lines in the font: the widest line's width and the sum of the line heights, an empty
// line measuring as one space.
wxSize MeasureTextLines(wxDC& dc, const wxFont& font, const std::string& text);
// The same after cutting every line to fit the width: a cut line ends in "..." in place of the
// characters that do not fit; with no room beyond "...." plus 5 pixels the text becomes empty.
wxSize MeasureTextLinesEllipsis(wxDC& dc, const wxFont& font, int maxWidth, std::string& text);

// "%.*f" with trailing zeros after the point (and a bare point) removed, as the window's text.
void SetWindowTextNumber(wxWindow* window, double value, int decimals);

// One spin-button step of the number in an edit box: direction +1 (up arrow) raises it by one
// step onto a multiple of the step, -1 lowers it, 0 only tidies; then it is held to minimum ..
// maximum and written back with the decimals.
void StepDlgItemNumber(wxTextCtrl* edit, int direction, double step, double minimum, double maximum,
                       int decimals);
// Lets the spin button step the edit box that way instead of keeping a position of its own.
void BindSpinStep(wxSpinButton* spin, wxTextCtrl* edit, double step, double minimum, double maximum,
                  int decimals);

// The first item whose client data is the value; -1 when none, or without a control or data.
int FindComboItemByData(const wxItemContainer* combo, intptr_t value);
// Widens the combo's drop-down list to its widest item (in the combo's font, plus 5, at least 6),
// two edges and a scroll bar, but no further than from the combo's left edge to the right edge of
// its screen; answers that width.
int FitComboDropWidth(wxOwnerDrawnComboBox* combo);

// Equal when the menu text with every '&' skipped matches the other text exactly.
bool MenuTextEquals(const std::string& menuText, const std::string& text);

// Copies part of the bitmap to (x, y); each of the source corner and size below 0 takes its
// default: the corner 0, 0 and the bitmap's size.
void DrawBitmap(wxDC& dc, const wxBitmap& bitmap, int x, int y, int sourceLeft = -1, int sourceTop = -1,
                int width = -1, int height = -1);
