#pragma once

#include <wx/odcombo.h>
#include <wx/textctrl.h>

#include <string>
#include <vector>

class NewListCtrl;

// The in-place editors of a NewListCtrl's cells. Each tells its list the edited text (or that the
// edit was cancelled) once, when it closes, and then destroys itself; the list's rows window owns
// them meanwhile.

// A text box over a cell: Enter keeps the text, Escape cancels, leaving it keeps the text.
class CellEdit : public wxTextCtrl
{
public:
    CellEdit(NewListCtrl* list, int row, int column, const wxRect& rect, const wxString& text, int align);

    // The list is going away: the editor closes without telling it.
    void Detach() { mClosed = true; }

private:
    void Close();
    void OnCharHook(wxKeyEvent& event);
    void OnText(wxCommandEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    NewListCtrl* mList;
    int mRow;
    int mColumn;
    bool mCancelled = false;
    bool mClosed = false;
};

// A choice list over a cell, dropped down at once: a chosen row or Enter keeps the choice, Escape
// cancels.
class CellCombo : public wxOwnerDrawnComboBox
{
public:
    CellCombo(NewListCtrl* list, int row, int column, const wxRect& rect, const std::vector<std::string>& choices,
              int current);
    ~CellCombo() override;

    bool IsCancelled() const { return mCancelled; }
    void Detach() { mClosed = true; }

protected:
    wxCoord OnMeasureItem(size_t item) const override;

private:
    void Close();
    void OnCloseUp(wxCommandEvent& event);
    void OnPopupKey(wxKeyEvent& event);
    void OnKillFocus(wxFocusEvent& event);

    NewListCtrl* mList;
    int mRow;
    int mColumn;
    int mRowHeight;
    bool mCancelled = false;
    bool mClosed = false;
};
