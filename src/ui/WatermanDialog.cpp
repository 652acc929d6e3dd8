#include "ui/WatermanDialog.h"

#include "kernel/Messages.h"
#include "operations/WatermanPoly.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>

namespace
{
constexpr unsigned long long kMostRoot = 4294967295ULL;

const char* const kCentreTexts[3] = {
    "Rhombic dodecahedron packing, with one at the centre (standard method).",
    "Rhombic dodecahedron packing, centred at vertex where 4-fold axes meet.",
    "Cube packing, with one cube at the centre.",
};
}  // namespace

WatermanDialog::WatermanDialog(wxWindow* parent, unsigned long root, int centre)
    : wxDialog(parent, wxID_ANY, "Waterman Polyhedra"), mRoot(root), mCentre(centre)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY,
                              "Waterman polyhedra are the convex hulls of the centres of closely packed spheres,\n"
                              "taken out to a maximum radius from the centre."),
             0, wxALL, 6);
    top->Add(new wxStaticText(this, wxID_ANY,
                              "Each is identified by its root number, which equals that radius squared."),
             0, wxLEFT | wxRIGHT | wxBOTTOM, 6);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(new wxStaticText(this, wxID_ANY, "Root number:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
    mRootBox = new wxTextCtrl(this, wxID_ANY, wxString::Format("%lu", root), wxDefaultPosition, wxSize(90, -1));
    row->Add(mRootBox, 0, wxALIGN_CENTER_VERTICAL);
    top->Add(row, 0, wxALL, 6);
    for (int i = 0; i < 3; ++i)
    {
        mCentres[i] = new wxRadioButton(this, wxID_ANY, kCentreTexts[i], wxDefaultPosition, wxDefaultSize,
                                        i == 0 ? wxRB_GROUP : 0);
        top->Add(mCentres[i], 0, wxLEFT | wxRIGHT | wxTOP, 6);
    }
    mCentres[centre >= 0 && centre < 3 ? centre : 0]->SetValue(true);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, &WatermanDialog::OnOk, this, wxID_OK);
}

bool WatermanDialog::Commit()
{
    unsigned long long root = 0;
    wxString text = mRootBox->GetValue();
    text.Trim().Trim(false);
    if (!text.ToULongLong(&root) || root < 1 || root > kMostRoot || text.StartsWith("-"))
    {
        ErrorMessage("Please enter a whole number from 1 to %llu.", kMostRoot);
        return false;
    }
    mRoot = static_cast<unsigned long>(root);
    for (int i = 0; i < 3; ++i)
        if (mCentres[i]->GetValue())
            mCentre = i;
    return true;
}

void WatermanDialog::OnOk(wxCommandEvent& /*event*/)
{
    if (Commit())
        EndModal(wxID_OK);
}

void RunWatermanCommand(wxWindow* parent)
{
    WatermanDialog dialog(parent, static_cast<unsigned long>(GetWatermanRoot()), GetWatermanCentre());
    if (dialog.ShowModal() != wxID_OK)
        return;
    // Roots beyond the polyhedra the program builds are refused by the construction.
    const unsigned long root = dialog.GetRoot();
    CreateWatermanPoly(dialog.GetCentre(), root > INT_MAX ? INT_MAX : int(root));
}
