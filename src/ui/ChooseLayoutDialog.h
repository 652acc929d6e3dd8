#pragma once

#include <wx/dialog.h>
#include <wx/gdicmn.h>

#include <vector>

class wxRadioButton;

// "Choose Layout": a picture of each of the eleven pane layouts with a radio button naming its key.
// Made by View > Choose Layout... on the stack of the command.
class ChooseLayoutDialog : public wxDialog
{
public:
    ChooseLayoutDialog(wxWindow* parent, int layout);

    // The layout of the first radio button set, after OK; the starting one when none is set.
    int GetLayoutIndex() const { return mLayout; }
    wxRadioButton* Radio(int layout) const { return mRadios[size_t(layout)]; }
    wxWindow* Picture(int layout) const { return mPictures[size_t(layout)]; }

private:
    bool TransferDataFromWindow() override;

    int mLayout;
    std::vector<wxRadioButton*> mRadios;
    std::vector<wxWindow*> mPictures;
};

// The panes of a layout drawn into an area: its grid at the default proportions, a gap between
// panes; one rectangle per pane.
std::vector<wxRect> LayoutPaneRects(int layout, const wxRect& area, int gap);

// Runs the dialog on the current layout; the chosen layout, or -1 on Cancel.
int RunChooseLayoutDialog(wxWindow* parent, int current);
