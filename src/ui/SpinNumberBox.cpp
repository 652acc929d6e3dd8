#include "ui/SpinNumberBox.h"

#include <wx/sizer.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <climits>

wxTextCtrl* AddSpinNumberBox(wxWindow* parent, wxSizer* sizer, int value, int minimum, int maximum)
{
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    auto* box = new wxTextCtrl(parent, wxID_ANY, wxString::Format("%d", value), wxDefaultPosition, wxSize(80, -1));
    auto* spin = new wxSpinButton(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSP_VERTICAL);
    // The button keeps no position of its own: each click steps what the box holds.
    spin->SetRange(-1, 1);
    spin->SetValue(0);
    auto step = [box, spin, minimum, maximum](wxSpinEvent& event, int direction) {
        int number = 0;
        if (!ReadSpinNumber(box, number))
            number = minimum;
        else
            number = std::clamp(number + direction, minimum, maximum);
        box->SetValue(wxString::Format("%d", number));
        event.Veto();
        spin->SetValue(0);
    };
    spin->Bind(wxEVT_SPIN_UP, [step](wxSpinEvent& event) { step(event, 1); });
    spin->Bind(wxEVT_SPIN_DOWN, [step](wxSpinEvent& event) { step(event, -1); });
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
    wxString text = box->GetValue();
    text.Trim().Trim(false);
    long number = 0;
    if (text.empty() || !text.ToLong(&number) || number < INT_MIN || number > INT_MAX)
        return false;
    value = int(number);
    return true;
}
