#pragma once

#include <wx/dialog.h>

class wxRadioButton;
class wxTextCtrl;
class wxWindow;

// Poly > Create Waterman Polyhedron: the root number and the packing the polyhedron is centred in.
// The command keeps the last choice and offers it again.
class WatermanDialog : public wxDialog
{
public:
    WatermanDialog(wxWindow* parent, unsigned long root, int centre);

    // What OK does: false, with the dialog left open, for a root that is no whole number from 1 to
    // 4294967295.
    bool Commit();
    unsigned long GetRoot() const { return mRoot; }
    // 0 about a lattice point, 1 about an octahedral hole, 2 in the simple cubic lattice.
    int GetCentre() const { return mCentre; }

    wxTextCtrl* RootBox() const { return mRootBox; }
    wxRadioButton* CentreButton(int centre) const { return mCentres[centre]; }

private:
    void OnOk(wxCommandEvent& event);

    wxTextCtrl* mRootBox;
    wxRadioButton* mCentres[3];
    unsigned long mRoot;
    int mCentre;
};

// Asks for the root and the packing, then makes the polyhedron the current model.
void RunWatermanCommand(wxWindow* parent);
