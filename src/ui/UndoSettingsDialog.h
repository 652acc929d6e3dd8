#pragma once

#include <wx/dialog.h>

#include <string>

class wxButton;
class wxCheckBox;
class wxTextCtrl;

// Edit > Undo Settings...: the limits of the undo list, the memory its history uses now, and a way
// to delete that history. OK stores the limits and trims the list to them at once.
class UndoSettingsDialog : public wxDialog
{
public:
    explicit UndoSettingsDialog(wxWindow* parent);

    // What OK does: false, with the dialog left open, when a box holds no valid number.
    bool Commit();
    // After the user agreed: the whole undo and redo history goes.
    void DeleteHistory();

    wxCheckBox* EnableBox() const { return mEnable; }
    wxTextCtrl* MaxSizeBox() const { return mMaxSize; }
    wxTextCtrl* MinLevelsBox() const { return mMinLevels; }
    wxTextCtrl* MaxLevelsBox() const { return mMaxLevels; }
    wxTextCtrl* UsageBox() const { return mUsage; }
    wxButton* DeleteButton() const { return mDelete; }

private:
    void UpdateEnabling();
    void OnOk(wxCommandEvent& event);
    void OnDelete(wxCommandEvent& event);

    wxCheckBox* mEnable;
    wxTextCtrl* mMaxSize;
    wxTextCtrl* mMinLevels;
    wxTextCtrl* mMaxLevels;
    wxTextCtrl* mUsage;
    wxButton* mDelete;
};

// Megabytes of undo history as the dialog shows them: 3 decimals below 1 MB, 1 up to 10 MB, whole
// numbers from there, trailing zeros dropped.
std::string FormatUndoMegabytes(double bytes);

// Shows the dialog modally over the parent.
void RunUndoSettingsDialog(wxWindow* parent);
