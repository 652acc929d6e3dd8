#pragma once

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

// The "Enter a number" prompt: the prompt over a box for a signed whole number. OK takes only a
// whole number; anything else keeps the dialog open.
class NumberDialog : public wxDialog
{
public:
    NumberDialog(wxWindow* owner, const std::string& prompt, int value);

    // The number of the last OK.
    int Value() const { return mValue; }
    wxTextCtrl* Edit() const { return mEdit; }

private:
    void OnOk(wxCommandEvent& event);

    wxTextCtrl* mEdit;
    int mValue;
};

// Runs the dialog; on OK the value receives the number.
bool RunNumberDialog(wxWindow* owner, const std::string& prompt, int& value);
