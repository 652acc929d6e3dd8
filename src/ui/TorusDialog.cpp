#include "ui/TorusDialog.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "operations/PolyMenuCommands.h"
#include "ui/SpinNumberBox.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <climits>

namespace
{
int gSegments = 24;
int gArmSegments = 12;
std::string gRadius = "0.5";
}  // namespace

TorusDialog::TorusDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Create a torus")
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 6, 6);
    grid->Add(new wxStaticText(this, wxID_ANY, "Number of segments around torus"), 0, wxALIGN_CENTER_VERTICAL);
    mSegments = AddSpinNumberBox(this, grid, gSegments, 3, INT_MAX);
    grid->Add(new wxStaticText(this, wxID_ANY, "Number of segments around arm"), 0, wxALIGN_CENTER_VERTICAL);
    mArmSegments = AddSpinNumberBox(this, grid, gArmSegments, 3, INT_MAX);
    grid->Add(new wxStaticText(this, wxID_ANY, "Radius of arm relative to loop"), 0, wxALIGN_CENTER_VERTICAL);
    mRadius = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(gRadius));
    grid->Add(mRadius, 0, wxEXPAND);
    top->Add(grid, 0, wxALL, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Commit())
            EndModal(wxID_OK);
    }, wxID_OK);
}

bool TorusDialog::Commit()
{
    // A box that holds no number counts as too few segments.
    int segments = 0;
    int armSegments = 0;
    if (!ReadSpinNumber(mSegments, segments) || segments <= 2)
    {
        ErrorMessage("Torus must have at least 3 segments");
        return false;
    }
    if (!ReadSpinNumber(mArmSegments, armSegments) || armSegments <= 2)
    {
        ErrorMessage("Torus arm must have at least 3 segments");
        return false;
    }
    const std::string radius = mRadius->GetValue().utf8_string();
    if (!IsValidExpression(radius.c_str(), true))
        return false;
    if (IsZeroTol(EvaluateNumber(radius.c_str(), false), kTol))
    {
        ErrorMessage("Torus arm must not have zero radius");
        return false;
    }
    gSegments = segments;
    gArmSegments = armSegments;
    gRadius = radius;
    return true;
}

int TorusDialog::GetSegments()
{
    return gSegments;
}

int TorusDialog::GetArmSegments()
{
    return gArmSegments;
}

std::string TorusDialog::GetRadiusText()
{
    return gRadius;
}

void RunTorusCommand(wxWindow* parent)
{
    TorusDialog dialog(parent);
    if (dialog.ShowModal() != wxID_OK)
        return;
    CreateTorusModel(gRadius.c_str(), gSegments, gArmSegments);
}
