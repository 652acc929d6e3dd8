#include "ui/CreateBlockDialog.h"

#include "kernel/Messages.h"
#include "operations/PolyMenuCommands.h"
#include "ui/SpinNumberBox.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

namespace
{
constexpr int kMostCubes = 10000;

int gDimensions[3] = {3, 3, 3};
bool gLinked = true;
}  // namespace

CreateBlockDialog::CreateBlockDialog(wxWindow* parent) : wxDialog(parent, wxID_ANY, "Create Block")
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* grid = new wxFlexGridSizer(2, 6, 6);
    const char* const labels[3] = {"X:", "Y:", "Z:"};
    for (int axis = 0; axis < 3; ++axis)
    {
        grid->Add(new wxStaticText(this, wxID_ANY, labels[axis]), 0, wxALIGN_CENTER_VERTICAL);
        mBoxes[axis] = AddSpinNumberBox(this, grid, gDimensions[axis], 1, kMostCubes);
    }
    top->Add(grid, 0, wxALL, 6);
    mLink = new wxCheckBox(this, wxID_ANY, "Link dimensions");
    mLink->SetValue(gLinked);
    top->Add(mLink, 0, wxLEFT | wxRIGHT, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);

    mBoxes[0]->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        UpdateLinking(true);
        event.Skip();
    });
    mLink->Bind(wxEVT_CHECKBOX, [this](wxCommandEvent&) { UpdateLinking(true); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Commit())
            EndModal(wxID_OK);
    }, wxID_OK);
    // The starting values stand until the user changes X or ticks the box.
    UpdateLinking(false);
}

void CreateBlockDialog::UpdateLinking(bool copy)
{
    const bool linked = mLink->GetValue();
    mBoxes[1]->Enable(!linked);
    mBoxes[2]->Enable(!linked);
    if (linked && copy)
        for (int axis = 1; axis < 3; ++axis)
            mBoxes[axis]->ChangeValue(mBoxes[0]->GetValue());
}

bool CreateBlockDialog::Commit()
{
    int values[3] = {0, 0, 0};
    for (int axis = 0; axis < 3; ++axis)
    {
        if (!ReadSpinNumber(mBoxes[axis], values[axis]) || values[axis] <= 0)
        {
            ErrorMessage("Dimensions must all be greater than zero");
            return false;
        }
    }
    for (int axis = 0; axis < 3; ++axis)
        gDimensions[axis] = values[axis];
    gLinked = mLink->GetValue();
    return true;
}

int CreateBlockDialog::GetDimension(int axis)
{
    return axis >= 0 && axis < 3 ? gDimensions[axis] : 0;
}

bool CreateBlockDialog::GetLinked()
{
    return gLinked;
}

void RunCreateBlockCommand(wxWindow* parent)
{
    CreateBlockDialog dialog(parent);
    if (dialog.ShowModal() != wxID_OK)
        return;
    CreateBlockModel(gDimensions[0], gDimensions[1], gDimensions[2]);
}
