#pragma once

#include "kernel/UserServices.h"

#include <wx/dialog.h>

class wxButton;
class wxCheckBox;
class wxGauge;
class wxStaticText;

// The modeless "Processing..." window of a long operation, with Pause and Cancel.
class ProgressWindow : public wxDialog
{
public:
    ProgressWindow();

    void ShowState(const ProgressDisplay& display);
    ProgressInput Input() const { return {mCancelled, mPaused}; }

private:
    void OnPause(wxCommandEvent& event);
    void OnCancel(wxCommandEvent& event);
    void OnClose(wxCloseEvent& event);

    wxStaticText* mCaption;
    wxGauge* mBar;
    wxStaticText* mTimeTaken;
    wxStaticText* mTimeRemaining;
    wxButton* mPause;
    bool mCancelled = false;
    bool mPaused = false;
};

// A message the user may silence: the text with its icon and a "show again" box that starts ticked.
class OptionalMessageDialog : public wxDialog
{
public:
    OptionalMessageDialog(wxWindow* owner, const std::string& text, int options);
    bool IsChecked() const;

private:
    wxCheckBox* mCheck;
};
