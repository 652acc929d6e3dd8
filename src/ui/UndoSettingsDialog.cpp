#include "ui/UndoSettingsDialog.h"

#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "kernel/Messages.h"
#include "kernel/Strings.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>
#include <cmath>

namespace
{
constexpr double kBytesPerMegabyte = 1048576.0;
// The byte limit is kept in a 32-bit setting.
constexpr double kMostMegabytes = double(INT_MAX) / kBytesPerMegabyte;
constexpr long kMostLevels = 1000000;

wxTextCtrl* AddRow(wxWindow* parent, wxSizer* sizer, const char* before, const char* after, long style = 0)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(parent, wxID_ANY, before), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    auto* box = new wxTextCtrl(parent, wxID_ANY, wxString(), wxDefaultPosition, wxSize(70, -1), style);
    row->Add(box, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(new wxStaticText(parent, wxID_ANY, after), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
    sizer->Add(row, 0, wxALL, 4);
    return box;
}

bool ReadLevels(const wxTextCtrl* box, long& value)
{
    return box->GetValue().Trim().Trim(false).ToLong(&value) && value >= 0 && value <= kMostLevels;
}
}  // namespace

std::string FormatUndoMegabytes(double bytes)
{
    const double mb = bytes / kBytesPerMegabyte;
    if (mb < 1.0)
        return FormatReal(mb, 3);
    if (mb < 10.0)
        return FormatReal(mb, 1);
    return FormatReal(std::round(mb), 0);
}

UndoSettingsDialog::UndoSettingsDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Undo Settings")
{
    const DocumentSettings& s = GetDocumentSettings();
    auto* top = new wxBoxSizer(wxVERTICAL);
    mEnable = new wxCheckBox(this, wxID_ANY, "Enable undo/redo");
    mEnable->SetValue(s.undoEnabled);
    top->Add(mEnable, 0, wxALL, 6);
    mMaxSize = AddRow(this, top, "Undo should not use more than", "MB");
    mMinLevels = AddRow(this, top, "But there should always be at least", "levels of undo");
    mMaxLevels = AddRow(this, top, "And at most", "levels of undo");
    mUsage = AddRow(this, top, "The undo history is currently using", "MB", wxTE_READONLY);
    mDelete = new wxButton(this, wxID_ANY, "Delete undo history");
    top->Add(mDelete, 0, wxALL, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);

    mMaxSize->SetValue(wxString::FromUTF8(FormatReal(s.maxUndoSize / kBytesPerMegabyte, 3)));
    mMinLevels->SetValue(wxString::Format("%d", s.minNumUndos));
    mMaxLevels->SetValue(wxString::Format("%d", s.maxNumUndos));
    mUsage->SetValue(wxString::FromUTF8(FormatUndoMegabytes(GetUndoSize())));
    UpdateEnabling();

    mEnable->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateEnabling(); });
    mDelete->Bind(wxEVT_BUTTON, &UndoSettingsDialog::OnDelete, this);
    Bind(wxEVT_BUTTON, &UndoSettingsDialog::OnOk, this, wxID_OK);
}

void UndoSettingsDialog::UpdateEnabling()
{
    const bool on = mEnable->GetValue();
    mMaxSize->Enable(on);
    mMinLevels->Enable(on);
    mMaxLevels->Enable(on);
    mDelete->Enable(on && !IsUndoListEmpty());
}

bool UndoSettingsDialog::Commit()
{
    double mb = 0.0;
    long minLevels = 0;
    long maxLevels = 0;
    const bool on = mEnable->GetValue();
    if (on)
    {
        if (!mMaxSize->GetValue().Trim().Trim(false).ToCDouble(&mb) || !(mb >= 0.0 && mb <= kMostMegabytes))
        {
            ErrorMessage("Please enter a size from 0 to %d MB.", int(kMostMegabytes));
            return false;
        }
        if (!ReadLevels(mMinLevels, minLevels) || !ReadLevels(mMaxLevels, maxLevels))
        {
            ErrorMessage("Please enter the levels of undo as whole numbers from 0 to %ld.", kMostLevels);
            return false;
        }
    }
    DocumentSettings& s = GetDocumentSettings();
    s.undoEnabled = on;
    if (on)
    {
        s.maxUndoSize = int(std::lround(mb * kBytesPerMegabyte));
        s.minNumUndos = int(minLevels);
        s.maxNumUndos = int(maxLevels);
    }
    TrimUndoList();
    return true;
}

void UndoSettingsDialog::DeleteHistory()
{
    ClearUndoList();
    mDelete->Enable(false);
    mUsage->SetValue("0");
}

void UndoSettingsDialog::OnOk(wxCommandEvent& /*event*/)
{
    if (Commit())
        EndModal(wxID_OK);
}

void UndoSettingsDialog::OnDelete(wxCommandEvent& /*event*/)
{
    if (AskYesNo("Are you sure you want to delete the undo history?\nYou won't be able to undo any changes thus far."))
        DeleteHistory();
}

void RunUndoSettingsDialog(wxWindow* parent)
{
    UndoSettingsDialog dialog(parent);
    dialog.ShowModal();
}
