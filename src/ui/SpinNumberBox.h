#pragma once

class wxSizer;
class wxTextCtrl;
class wxWindow;

// A box for a whole number with a spin button beside it that steps the number held to minimum ..
// maximum. The box stays plain text, so that what the user typed, out of range or not a number,
// reaches the dialog's own check on OK.
wxTextCtrl* AddSpinNumberBox(wxWindow* parent, wxSizer* sizer, int value, int minimum, int maximum);

// The box's whole number; false when it holds none.
bool ReadSpinNumber(const wxTextCtrl* box, int& value);
