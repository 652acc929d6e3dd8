#include "platform/NumberDialog.h"

#include "kernel/Prompt.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/valtext.h>

namespace
{
constexpr int kMargin = 10;
}  // namespace

NumberDialog::NumberDialog(wxWindow* owner, const std::string& prompt, int value)
    : wxDialog(owner, wxID_ANY, "Enter a number"), mValue(value)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(prompt)), 0, wxLEFT | wxRIGHT | wxTOP, kMargin);
    mEdit = new wxTextCtrl(this, wxID_ANY, wxString::Format("%d", value));
    // Keys other than digits and signs never reach the box; pasted text is checked on OK.
    wxTextValidator digits(wxFILTER_INCLUDE_CHAR_LIST);
    digits.SetCharIncludes("0123456789-+");
    mEdit->SetValidator(digits);
    top->Add(mEdit, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kMargin);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, kMargin);
    SetSizerAndFit(top);
    CentreOnParent();
    mEdit->SetFocus();
    mEdit->SelectAll();
    Bind(wxEVT_BUTTON, &NumberDialog::OnOk, this, wxID_OK);
}

void NumberDialog::OnOk(wxCommandEvent&)
{
    int number = 0;
    if (!ReadWholeNumber(mEdit->GetValue().utf8_string(), number))
    {
        wxBell();
        mEdit->SetFocus();
        mEdit->SelectAll();
        return;
    }
    mValue = number;
    EndModal(wxID_OK);
}

bool RunNumberDialog(wxWindow* owner, const std::string& prompt, int& value)
{
    NumberDialog dialog(owner, prompt, value);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    value = dialog.Value();
    return true;
}
