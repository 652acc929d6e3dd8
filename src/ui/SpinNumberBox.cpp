#include "ui/SpinNumberBox.h"

#include "kernel/Prompt.h"
#include "platform/DialogUtils.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

wxTextCtrl* AddSpinNumberBox(wxWindow* parent, wxSizer* sizer, int value, int minimum, int maximum)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* box = new wxTextCtrl(parent, wxID_ANY, wxString::Format("%d", value), wxDefaultPosition, wxSize(80, -1));
    auto* spin = new wxSpinButton(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
    BindSpinStep(spin, box, 1.0, minimum, maximum, 0);
    // A disabled box takes its button with it.
    box->Bind(wxEVT_UPDATE_UI, [box, spin](wxUpdateUIEvent& event) {
        spin->Enable(box->IsEnabled());
        event.Skip();
    });
    row->Add(box, 0, wxALIGN_CENTER_VERTICAL);
    row->Add(spin, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 2);
    sizer->Add(row, 0, wxALIGN_CENTER_VERTICAL);
    return box;
}

bool ReadSpinNumber(const wxTextCtrl* box, int& value)
{
    return ReadWholeNumber(box->GetValue().utf8_string(), value);
}
