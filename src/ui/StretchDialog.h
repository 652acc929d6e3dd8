#pragma once

#include "operations/StretchModel.h"

#include <wx/dialog.h>

class Poly;
class wxCheckBox;
class wxRadioButton;
class wxTextCtrl;

// Scale > Stretch (Non-Uniform Scale)...: the direction to stretch the current model along and what
// the number typed means. OK checks the choices and keeps the dialog open while they give no
// stretch; a successful OK remembers them for the next use.
class StretchDialog : public wxDialog
{
public:
    // segment: the measured segment, null while there is none.
    StretchDialog(wxWindow* parent, Poly& poly, const StretchSegment* segment);

    // What OK does: false, with the dialog left open, when the choices give no stretch.
    bool Commit();
    // Valid after a successful Commit.
    const StretchResult& GetResult() const { return mResult; }
    bool GetRecolor() const;

    // 0..2 the axis classes, 3 the selected element.
    wxRadioButton* DirectionRadio(int i) const { return mDirections[i]; }
    wxRadioButton* ModeRadio(int i) const { return mModes[i]; }
    wxTextCtrl* ValueBox() const { return mValue; }
    wxCheckBox* RecolorBox() const { return mRecolor; }

private:
    StretchChoices ReadChoices() const;

    Poly& mPoly;
    bool mHasSegment;
    StretchSegment mSegment;
    StretchResult mResult;
    wxRadioButton* mDirections[4];
    wxRadioButton* mModes[3];
    wxTextCtrl* mValue;
    wxCheckBox* mRecolor;
};

// The whole command: the active view's model, the dialog, the stretched model adopted.
void RunStretchCommand(wxWindow* parent);
