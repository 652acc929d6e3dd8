#pragma once

#include <wx/dialog.h>

class wxCheckBox;
class wxTextCtrl;

// Poly > Create X x Y x Z Block...: the three dimensions of the block, in cubes, and whether Y and
// Z follow X. The choice is kept for the rest of the run and offered again.
class CreateBlockDialog : public wxDialog
{
public:
    explicit CreateBlockDialog(wxWindow* parent);

    // What OK does: false, with the dialog left open, when a dimension is not above zero.
    bool Commit();

    // axis 0, 1, 2: X, Y, Z.
    wxTextCtrl* DimensionBox(int axis) const { return mBoxes[axis]; }
    wxCheckBox* LinkBox() const { return mLink; }

    // The dimensions last accepted; 3, 3, 3 at first.
    static int GetDimension(int axis);
    static bool GetLinked();

private:
    // Y and Z greyed while linked; with copy they take X's value.
    void UpdateLinking(bool copy);

    wxTextCtrl* mBoxes[3];
    wxCheckBox* mLink;
};

// Asks for the dimensions, then makes the block the current model.
void RunCreateBlockCommand(wxWindow* parent);
