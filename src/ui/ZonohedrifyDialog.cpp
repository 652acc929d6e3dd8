#include "ui/ZonohedrifyDialog.h"

#include "kernel/EvaluateExpression.h"
#include "kernel/Messages.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "operations/PolyMenuCommands.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace
{
ZoneOptions gOptions;

// The grid's choice for a row, from the box ticked in it.
int RowChoice(wxCheckBox* const row[3])
{
    for (int column = 0; column < 3; ++column)
        if (row[column]->GetValue())
            return kZonesFromAll + column;
    return kZonesFromNone;
}
}  // namespace

ZonohedrifyDialog::ZonohedrifyDialog(wxWindow* parent, const SymGroup* group, bool model4D)
    : wxDialog(parent, wxID_ANY, "Zonohedrify")
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    mModes[0] = new wxRadioButton(this, wxID_ANY, "Zones only (create a true zonohedron)", wxDefaultPosition,
                                  wxDefaultSize, wxRB_GROUP);
    mModes[1] = new wxRadioButton(this, wxID_ANY, "Add zones to existing faces (zonish polyhedron)");
    for (wxRadioButton* mode : mModes)
        top->Add(mode, 0, wxLEFT | wxRIGHT | wxTOP, 6);

    // One box for each of the first three axis classes; with exactly two classes only the first.
    int classes = group ? std::min(group->mNumAxisSets, 3) : 0;
    if (classes == 2)
        classes = 1;
    for (int set = 0; set < classes; ++set)
    {
        const SymAxisSet& axes = group->mAxisSets[set];
        mAxes[set] = new wxCheckBox(this, wxID_ANY,
                                    wxString::Format("%d-fold symmetry axis (%d zones)", axes.mOrder, axes.mNumAxes));
        top->Add(mAxes[set], 0, wxLEFT | wxRIGHT | wxTOP, 6);
    }
    mXyz = new wxCheckBox(this, wxID_ANY, model4D ? "All cells" : "XYZ axes");
    top->Add(mXyz, 0, wxLEFT | wxRIGHT | wxTOP, 6);

    auto* grid = new wxFlexGridSizer(4, 6, 10);
    grid->AddSpacer(0);
    for (const char* heading : {"All", "All of type", "Current"})
        grid->Add(new wxStaticText(this, wxID_ANY, heading), 0, wxALIGN_CENTER_HORIZONTAL);
    const char* const rows[3] = {"Vertices", "Edges", "Faces"};
    for (int row = 0; row < 3; ++row)
    {
        grid->Add(new wxStaticText(this, wxID_ANY, rows[row]), 0, wxALIGN_CENTER_VERTICAL);
        for (int column = 0; column < 3; ++column)
        {
            wxString label;
            if (model4D && row == 2 && column > 0)
                label = column == 1 ? "Current cell type" : "Current cell";
            mGrid[row][column] = new wxCheckBox(this, wxID_ANY, label);
            mGrid[row][column]->Bind(wxEVT_CHECKBOX, [this, row, column](wxCommandEvent&) { OnGridBox(row, column); });
            grid->Add(mGrid[row][column], 0, wxALIGN_CENTER);
        }
    }
    top->Add(grid, 0, wxALL, 6);

    auto* numbers = new wxFlexGridSizer(2, 6, 6);
    numbers->Add(new wxStaticText(this, wxID_ANY, "Maximum zones (0 = no limit)"), 0, wxALIGN_CENTER_VERTICAL);
    mMaxZones = new wxSpinCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 0,
                               32767, 0);
    numbers->Add(mMaxZones);
    mEdgeScaleLabel = new wxStaticText(this, wxID_ANY, "Zone edge scale");
    numbers->Add(mEdgeScaleLabel, 0, wxALIGN_CENTER_VERTICAL);
    mEdgeScale = new wxTextCtrl(this, wxID_ANY, wxString::FromUTF8(gOptions.edgeScale));
    numbers->Add(mEdgeScale, 0, wxEXPAND);
    top->Add(numbers, 0, wxALL, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);

    // The values kept from last time; a 4D polytope has neither the zonish mode nor the axes.
    mModes[gOptions.zonish && !model4D ? 1 : 0]->SetValue(true);
    for (int set = 0; set < 3; ++set)
        if (mAxes[set])
            mAxes[set]->SetValue(gOptions.axisClasses[set] && !model4D);
    mXyz->SetValue(gOptions.xyzAxes);
    const int choices[3] = {gOptions.vertices, gOptions.edges, gOptions.faces};
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 3; ++column)
            mGrid[row][column]->SetValue(choices[row] == kZonesFromAll + column);
    mMaxZones->SetValue(gOptions.maxZones);
    if (model4D)
    {
        for (wxRadioButton* mode : mModes)
            mode->Hide();
        mEdgeScaleLabel->Hide();
        mEdgeScale->Hide();
    }

    // The scale is a zonish polyhedron's alone: the zonohedron's size is set when it is adopted.
    auto updateScale = [this](wxCommandEvent&) { mEdgeScale->Enable(mModes[1]->GetValue()); };
    for (wxRadioButton* mode : mModes)
        mode->Bind(wxEVT_RADIOBUTTON, updateScale);
    mEdgeScale->Enable(mModes[1]->GetValue());
    SetSizerAndFit(top);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Commit())
            EndModal(wxID_OK);
    }, wxID_OK);
}

void ZonohedrifyDialog::OnGridBox(int row, int column)
{
    if (!mGrid[row][column]->GetValue())
        return;
    for (int other = 0; other < 3; ++other)
        if (other != column)
            mGrid[row][other]->SetValue(false);
}

bool ZonohedrifyDialog::Commit()
{
    const std::string scale = mEdgeScale->GetValue().utf8_string();
    if (!IsValidExpression(scale.c_str(), true))
        return false;
    gOptions.zonish = mModes[1]->GetValue();
    for (int set = 0; set < 3; ++set)
        gOptions.axisClasses[set] = mAxes[set] && mAxes[set]->GetValue();
    gOptions.xyzAxes = mXyz->GetValue();
    gOptions.vertices = RowChoice(mGrid[0]);
    gOptions.edges = RowChoice(mGrid[1]);
    gOptions.faces = RowChoice(mGrid[2]);
    gOptions.maxZones = mMaxZones->GetValue();
    gOptions.edgeScale = scale;
    return true;
}

const ZoneOptions& ZonohedrifyDialog::GetOptions()
{
    return gOptions;
}

void RunZonohedrifyCommand(wxWindow* parent)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if (poly->mFlags & Poly::kIs4D)
    {
        ErrorMessage("You can not zonohedrify 4D polytopes");
        return;
    }
    const SymGroup* group = poly->mGroup ? poly->mGroup.get() : poly->GetSymGroup();
    ZonohedrifyDialog dialog(parent, group, false);
    if (dialog.ShowModal() != wxID_OK)
        return;
    ZonohedrifyCurrentModel(gOptions);
}
