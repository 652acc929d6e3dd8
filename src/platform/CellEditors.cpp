#include "platform/CellEditors.h"

#include "platform/DialogUtils.h"
#include "platform/NewListCtrl.h"

#include <wx/combo.h>
#include <wx/dcclient.h>

#include <algorithm>

namespace
{
long TextAlignStyle(int listAlign)
{
    switch (listAlign)
    {
    case wxLIST_FORMAT_RIGHT:
        return wxTE_RIGHT;
    case wxLIST_FORMAT_CENTRE:
        return wxTE_CENTRE;
    default:
        return wxTE_LEFT;
    }
}
}  // namespace

CellEdit::CellEdit(NewListCtrl* list, int row, int column, const wxRect& rect, const wxString& text, int align)
    : wxTextCtrl(list->RowsWindow(), NewListCtrl::kEditorId, text, rect.GetPosition(), rect.GetSize(),
                 wxTE_PROCESS_ENTER | wxBORDER_SIMPLE | TextAlignStyle(align)),
      mList(list),
      mRow(row),
      mColumn(column)
{
    SetFont(list->GetFont());
    Bind(wxEVT_CHAR_HOOK, &CellEdit::OnCharHook, this);
    Bind(wxEVT_TEXT, &CellEdit::OnText, this);
    Bind(wxEVT_KILL_FOCUS, &CellEdit::OnKillFocus, this);
    SetFocus();
    SelectAll();
}

void CellEdit::Close()
{
    if (mClosed)
        return;
    mClosed = true;
    const wxString text = GetValue();
    NewListCtrl* list = mList;
    list->EditorClosed(mRow, mColumn, mCancelled ? nullptr : &text);
    Hide();
    CallAfter([this] { Destroy(); });
    list->SetFocus();
}

void CellEdit::OnCharHook(wxKeyEvent& event)
{
    switch (event.GetKeyCode())
    {
    case WXK_ESCAPE:
        mCancelled = true;
        Close();
        break;
    case WXK_RETURN:
    case WXK_NUMPAD_ENTER:
        Close();
        break;
    default:
        event.Skip();
    }
}

void CellEdit::OnText(wxCommandEvent& event)
{
    event.Skip();
    // The box grows with its text up to the list's right edge.
    wxClientDC dc(this);
    dc.SetFont(GetFont());
    const int wanted = dc.GetTextExtent(GetValue()).x + 5;
    const wxRect rect = GetRect();
    if (wanted <= rect.width)
        return;
    const int room = GetParent()->GetClientSize().x - rect.x;
    SetSize(std::min(wanted, std::max(room, rect.width)), rect.height);
}

void CellEdit::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    Close();
}

CellCombo::CellCombo(NewListCtrl* list, int row, int column, const wxRect& rect,
                     const std::vector<std::string>& choices, int current)
    : mList(list), mRow(row), mColumn(column), mRowHeight(std::max(rect.height, 1))
{
    wxArrayString texts;
    for (const std::string& choice : choices)
        texts.Add(wxString::FromUTF8(choice));
    Create(list->RowsWindow(), NewListCtrl::kEditorId, wxString(), rect.GetPosition(), rect.GetSize(), texts,
           wxCB_READONLY);
    SetFont(list->GetFont());
    SetPopupMaxHeight(100 * mRowHeight);
    if (current >= 0 && current < int(texts.size()))
        SetSelection(current);
    Bind(wxEVT_COMBOBOX_CLOSEUP, &CellCombo::OnCloseUp, this);
    Bind(wxEVT_KILL_FOCUS, &CellCombo::OnKillFocus, this);
    SetFocus();
    FitComboDropWidth(this);
    Popup();
    if (wxComboPopup* popup = GetPopupControl())
        popup->GetControl()->Bind(wxEVT_KEY_DOWN, &CellCombo::OnPopupKey, this);
}

CellCombo::~CellCombo()
{
    // The base classes measure the rows of a list still open while they go away.
    if (IsPopupShown())
        HidePopup();
}

wxCoord CellCombo::OnMeasureItem(size_t) const
{
    return mRowHeight;
}

void CellCombo::Close()
{
    if (mClosed)
        return;
    mClosed = true;
    const int chosen = GetSelection();
    const wxString text = chosen >= 0 ? GetString(unsigned(chosen)) : wxString();
    NewListCtrl* list = mList;
    if (IsPopupShown())
        HidePopup();
    list->EditorClosed(mRow, mColumn, mCancelled ? nullptr : &text);
    Hide();
    CallAfter([this] { Destroy(); });
    list->SetFocus();
}

void CellCombo::OnPopupKey(wxKeyEvent& event)
{
    if (event.GetKeyCode() == WXK_ESCAPE)
        mCancelled = true;
    event.Skip();
}

void CellCombo::OnCloseUp(wxCommandEvent& event)
{
    event.Skip();
    // The choice of the closing click or Enter is made once the list has closed.
    CallAfter([this] { Close(); });
}

void CellCombo::OnKillFocus(wxFocusEvent& event)
{
    event.Skip();
    // The drop-down takes the focus while it is open.
    CallAfter([this] {
        if (mClosed || IsPopupShown())
            return;
        const wxWindow* focus = FindFocus();
        if (focus == this || (focus && IsDescendant(const_cast<wxWindow*>(focus))))
            return;
        Close();
    });
}
