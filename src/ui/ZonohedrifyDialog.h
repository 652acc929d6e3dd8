#pragma once

#include "operations/Zonohedron.h"

#include <wx/dialog.h>

class SymGroup;
class wxCheckBox;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticText;
class wxTextCtrl;

// Poly > Zonohedrify: where the zone vectors come from (vertices, edges and faces of the model,
// its symmetry axes, the coordinate axes), how many at most and how long, and whether they make a
// zonohedron alone or are added round the model. The choice is kept for the rest of the run.
class ZonohedrifyDialog : public wxDialog
{
public:
    // The axis boxes are labelled from the group's rotation-axis classes (none without a group).
    ZonohedrifyDialog(wxWindow* parent, const SymGroup* group, bool model4D);

    // What OK does: false, with the dialog left open, for a zone edge scale that is no valid
    // expression.
    bool Commit();

    // The choice last accepted: zones from every vertex, no limit, scale "1" at first.
    static const ZoneOptions& GetOptions();

    // row 0 vertices, 1 edges, 2 faces; column 0 All, 1 All of type, 2 Current.
    wxCheckBox* GridBox(int row, int column) const { return mGrid[row][column]; }
    // Null where the model's symmetry has no such class, or its box was left out.
    wxCheckBox* AxisBox(int axisClass) const { return mAxes[axisClass]; }
    wxCheckBox* XyzBox() const { return mXyz; }
    wxRadioButton* ModeButton(int mode) const { return mModes[mode]; }
    wxSpinCtrl* MaxZonesBox() const { return mMaxZones; }
    wxTextCtrl* EdgeScaleBox() const { return mEdgeScale; }

private:
    void OnGridBox(int row, int column);

    wxRadioButton* mModes[2];
    wxCheckBox* mAxes[3] = {nullptr, nullptr, nullptr};
    wxCheckBox* mXyz;
    wxCheckBox* mGrid[3][3];
    wxSpinCtrl* mMaxZones;
    wxStaticText* mEdgeScaleLabel;
    wxTextCtrl* mEdgeScale;
};

// Refuses a 4D model; otherwise asks for the zones and makes the zonohedron the current model.
void RunZonohedrifyCommand(wxWindow* parent);
