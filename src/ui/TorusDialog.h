#pragma once

#include <wx/dialog.h>

#include <string>

class wxTextCtrl;

// Poly > Create Torus...: the segments round the loop and round the arm, and the arm's radius
// relative to the loop's as an expression. The choice is kept for the rest of the run.
class TorusDialog : public wxDialog
{
public:
    explicit TorusDialog(wxWindow* parent);

    // What OK does: false, with the dialog left open, for fewer than 3 segments either way, a radius
    // that is no valid expression or a radius of zero.
    bool Commit();

    wxTextCtrl* SegmentsBox() const { return mSegments; }
    wxTextCtrl* ArmSegmentsBox() const { return mArmSegments; }
    wxTextCtrl* RadiusBox() const { return mRadius; }

    // The values last accepted: 24, 12 and "0.5" at first.
    static int GetSegments();
    static int GetArmSegments();
    static std::string GetRadiusText();

private:
    wxTextCtrl* mSegments;
    wxTextCtrl* mArmSegments;
    wxTextCtrl* mRadius;
};

// Asks for the torus, then makes it the current model.
void RunTorusCommand(wxWindow* parent);
