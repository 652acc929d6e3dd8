#include "ui/StretchDialog.h"

#include "kernel/UnitSettings.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/textctrl.h>

#include <memory>

StretchDialog::StretchDialog(wxWindow* parent, Poly& poly, const StretchSegment* segment)
    : wxDialog(parent, wxID_ANY, "Stretch (Non-Uniform Scale)"), mPoly(poly), mHasSegment(segment != nullptr)
{
    if (segment)
        mSegment = *segment;
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* axes = new wxStaticBoxSizer(wxVERTICAL, this, "Scale along which axis?");
    const int numClasses = CountStretchAxisClasses(poly);
    for (int i = 0; i < 4; ++i)
    {
        wxString label = i < 3 ? wxString::Format("Along %d-fold axis", GetStretchAxisFold(poly, i))
                               : wxString(GetStretchElementLabel(poly));
        mDirections[i] = new wxRadioButton(axes->GetStaticBox(), wxID_ANY, label, wxDefaultPosition, wxDefaultSize,
                                           i == 0 ? wxRB_GROUP : 0);
        axes->Add(mDirections[i], 0, wxALL, 3);
        if (i < 3 && i >= numClasses)
            mDirections[i]->Hide();
    }
    top->Add(axes, 0, wxEXPAND | wxALL, 6);

    const char* const modeLabels[3] = {"Scale by", "Set height to", "Set measured distance to"};
    auto* modes = new wxBoxSizer(wxVERTICAL);
    for (int i = 0; i < 3; ++i)
    {
        mModes[i] = new wxRadioButton(this, wxID_ANY, modeLabels[i], wxDefaultPosition, wxDefaultSize,
                                      i == 0 ? wxRB_GROUP : 0);
        modes->Add(mModes[i], 0, wxALL, 3);
    }
    mModes[2]->Enable(mHasSegment);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    row->Add(modes, 0, wxALIGN_CENTER_VERTICAL);
    mValue = new wxTextCtrl(this, wxID_ANY);
    row->Add(mValue, 1, wxALIGN_CENTER_VERTICAL | wxLEFT, 6);
    top->Add(row, 0, wxEXPAND | wxLEFT | wxRIGHT, 6);

    mRecolor = new wxCheckBox(this, wxID_ANY, "Recolor according to new symmetry");
    top->Add(mRecolor, 0, wxALL, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);

    const StretchChoices start = LoadStretchChoices(RememberedStretchChoices(), numClasses, mHasSegment);
    mDirections[start.direction]->SetValue(true);
    mModes[start.mode]->SetValue(true);
    mValue->ChangeValue(start.text);
    mRecolor->SetValue(start.recolor);

    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Commit())
            EndModal(wxID_OK);
    }, wxID_OK);
}

StretchChoices StretchDialog::ReadChoices() const
{
    StretchChoices choices;
    for (int i = 0; i < 4; ++i)
        if (mDirections[i]->GetValue())
            choices.direction = i;
    for (int i = 0; i < 3; ++i)
        if (mModes[i]->GetValue())
            choices.mode = i;
    choices.text = mValue->GetValue().utf8_string();
    choices.recolor = mRecolor->GetValue();
    return choices;
}

bool StretchDialog::GetRecolor() const
{
    return mRecolor->GetValue();
}

bool StretchDialog::Commit()
{
    const StretchChoices choices = ReadChoices();
    if (!ComputeStretch(mPoly, choices, mHasSegment ? &mSegment : nullptr, GetUnitSettings().GetScale(), mResult))
        return false;
    RememberedStretchChoices() = choices;
    return true;
}

void RunStretchCommand(wxWindow* parent)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    std::unique_ptr<SimplePoly> model = poly->CreateSimplePolyFromView(0, nullptr, nullptr, nullptr);
    if (!model)
        return;
    StretchSegment segment;
    const bool hasSegment = GetStretchSegment(segment);
    StretchDialog dialog(parent, *poly, hasSegment ? &segment : nullptr);
    if (dialog.ShowModal() != wxID_OK)
        return;
    StretchModel(model.get(), dialog.GetResult(), dialog.GetRecolor());
}
