#pragma once

#include <wx/dialog.h>

class Poly;
class wxRadioButton;
class wxTextCtrl;

// Element kinds of the Select by Index dialog, in the order of its radio buttons.
inline constexpr int kIndexCell = 0;
inline constexpr int kIndexFace = 1;
inline constexpr int kIndexEdge = 2;
inline constexpr int kIndexVertex = 3;

// For each kind, how many the model as shown has and the number of the current one (0: none). A
// 3D model has no cells; with the dual shown its faces are the base's vertices.
struct IndexCounts
{
    int count[4] = {0, 0, 0, 0};
    int current[4] = {0, 0, 0, 0};
};
IndexCounts CountIndexedElements(Poly& poly);

// Selection > Select Face, Edge or Vertex by Index...: the kind and the 1-based number of the
// element to select. Owned by SelectByIndex for the length of the question.
class SelectByIndexDialog : public wxDialog
{
public:
    // model4D shows the cell radio; the dialog opens on the kind with its current number.
    SelectByIndexDialog(wxWindow* parent, const IndexCounts& counts, int kind, bool model4D);

    // What OK does: false, with the dialog left open after telling the user, when no element of the
    // chosen kind has the number.
    bool Commit();
    // Choosing a radio: unless the user has typed a number, the box shows the kind's current one.
    void ChooseKind(int kind);

    int GetKind() const { return mKind; }
    int GetIndex() const { return mIndex; }
    wxRadioButton* KindButton(int kind) const { return mRadios[kind]; }
    wxTextCtrl* IndexBox() const { return mIndexBox; }

private:
    void ShowIndex(int index);

    IndexCounts mCounts;
    wxRadioButton* mRadios[4] = {nullptr, nullptr, nullptr, nullptr};
    wxTextCtrl* mIndexBox = nullptr;
    int mKind = kIndexFace;
    int mIndex = 0;
    bool mEdited = false;
};

// Selects element index (1-based) of the kind in the model as shown; false when there is none.
bool SelectElementByIndex(Poly& poly, int kind, int index);
// Runs the dialog on the current model and selects what it names: the kind chosen, -1 on Cancel.
// A cell asked of a 3D model becomes a face.
int SelectByIndex(wxWindow* parent, int kind);
