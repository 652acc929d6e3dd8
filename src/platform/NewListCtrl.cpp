#include "platform/NewListCtrl.h"

#include "platform/CellEditors.h"
#include "platform/ListCellCompare.h"
#include "platform/ListRowDrag.h"
#include "platform/ReplaceControl.h"

#include <wx/dcclient.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
wxColour Unpacked(uint32_t rgb)
{
    return wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// Text that stays readable on a background: white up to a channel sum of 382.
wxColour InkOn(uint32_t rgb)
{
    return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) <= 382 ? *wxWHITE : *wxBLACK;
}

// While the rows are sorted each carries its record and the texts it is compared by.
struct SortEntry
{
    wxUIntPtr record;
    std::string key;
    std::string tie;
    bool selected = false;
};

struct SortOrder
{
    int keyKind;
    bool keyAscending;
    int tieKind;
    bool tieAscending;
};

int wxCALLBACK CompareEntries(wxIntPtr a, wxIntPtr b, wxIntPtr order)
{
    const auto* x = reinterpret_cast<const SortEntry*>(a);
    const auto* y = reinterpret_cast<const SortEntry*>(b);
    const auto* o = reinterpret_cast<const SortOrder*>(order);
    const int result = CompareListCells(o->keyKind, x->key, y->key, o->keyAscending);
    return result != 0 ? result : CompareListCells(o->tieKind, x->tie, y->tie, o->tieAscending);
}
}  // namespace

NewListCtrl::NewListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
    Create(parent, id, pos, size, style);
}

bool NewListCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
    if (!wxListCtrl::Create(parent, id, pos, size, (style & ~wxLC_MASK_TYPE) | wxLC_REPORT))
        return false;
    Bind(wxEVT_LIST_INSERT_ITEM, &NewListCtrl::OnInsertItem, this);
    Bind(wxEVT_LIST_DELETE_ITEM, &NewListCtrl::OnDeleteItem, this);
    Bind(wxEVT_LIST_DELETE_ALL_ITEMS, &NewListCtrl::OnDeleteAllItems, this);
    Bind(wxEVT_LIST_ITEM_SELECTED, &NewListCtrl::OnItemSelected, this);
    Bind(wxEVT_LIST_COL_CLICK, &NewListCtrl::OnColumnClick, this);
    Bind(wxEVT_LIST_COL_END_DRAG, &NewListCtrl::OnColumnEndDrag, this);
    Bind(wxEVT_LIST_BEGIN_DRAG, &NewListCtrl::OnBeginDrag, this);
    BindRowsWindow();
    return true;
}

NewListCtrl::~NewListCtrl()
{
    // The base class still deletes items and sends their events after this: the records go first.
    ListRowDrag::ListDestroyed(this);
    if (auto* edit = dynamic_cast<CellEdit*>(mEditor))
        edit->Detach();
    else if (auto* combo = dynamic_cast<CellCombo*>(mEditor))
        combo->Detach();
    UnbindAll();
}

bool NewListCtrl::ReplaceDlgItem(wxWindow* dialog, int id, long style)
{
    wxWindow* placeholder = dialog ? dialog->FindWindow(id) : nullptr;
    if (!placeholder || placeholder == this || GetHandle())
        return false;
    if (!Create(placeholder->GetParent(), id, placeholder->GetPosition(), placeholder->GetSize(),
                style | wxBORDER_SUNKEN))
        return false;
    ReplaceControl(placeholder, this);
    return true;
}

wxWindow* NewListCtrl::RowsWindow() const
{
    if (mRows)
        return mRows;
    // The generic list keeps its rows in a child window of a class it does not export.
    for (wxWindow* child : GetChildren())
        if (static_cast<const void*>(child) == static_cast<const void*>(m_mainWin))
            return child;
    return nullptr;
}

void NewListCtrl::BindRowsWindow()
{
    mRows = RowsWindow();
    if (!mRows)
        return;
    mRows->Bind(wxEVT_LEFT_DOWN, &NewListCtrl::OnRowsLeftDown, this);
    mRows->Bind(wxEVT_LEFT_DCLICK, &NewListCtrl::OnRowsLeftDown, this);
    mRows->Bind(wxEVT_MOTION, &NewListCtrl::OnRowsMotion, this);
    mRows->Bind(wxEVT_KEY_DOWN, &NewListCtrl::OnRowsKeyDown, this);
    for (wxWindow* child : GetChildren())
        if (child != mRows)
        {
            child->Bind(wxEVT_LEFT_DCLICK, &NewListCtrl::OnHeaderDoubleClick, this);
            child->Bind(wxEVT_IDLE, &NewListCtrl::OnHeaderIdle, this);
        }
}

void NewListCtrl::UnbindAll()
{
    Unbind(wxEVT_LIST_INSERT_ITEM, &NewListCtrl::OnInsertItem, this);
    Unbind(wxEVT_LIST_DELETE_ITEM, &NewListCtrl::OnDeleteItem, this);
    Unbind(wxEVT_LIST_DELETE_ALL_ITEMS, &NewListCtrl::OnDeleteAllItems, this);
    Unbind(wxEVT_LIST_ITEM_SELECTED, &NewListCtrl::OnItemSelected, this);
    if (mRows)
    {
        mRows->Unbind(wxEVT_LEFT_DOWN, &NewListCtrl::OnRowsLeftDown, this);
        mRows->Unbind(wxEVT_LEFT_DCLICK, &NewListCtrl::OnRowsLeftDown, this);
        mRows->Unbind(wxEVT_MOTION, &NewListCtrl::OnRowsMotion, this);
        mRows->Unbind(wxEVT_KEY_DOWN, &NewListCtrl::OnRowsKeyDown, this);
    }
    for (wxWindow* child : GetChildren())
        if (child != mRows)
        {
            child->Unbind(wxEVT_LEFT_DCLICK, &NewListCtrl::OnHeaderDoubleClick, this);
            child->Unbind(wxEVT_IDLE, &NewListCtrl::OnHeaderIdle, this);
        }
}

// Row records

NewListCtrl::RowRecord* NewListCtrl::FindRecord(int row) const
{
    if (row < 0 || row >= GetItemCount())
        return nullptr;
    const auto* data = reinterpret_cast<const RowRecord*>(GetItemData(row));
    const auto found = mRecords.find(data);
    return found == mRecords.end() ? nullptr : found->second.get();
}

NewListCtrl::RowRecord* NewListCtrl::Record(int row) const
{
    if (RowRecord* record = FindRecord(row))
        return record;
    if (row < 0 || row >= GetItemCount())
        return nullptr;
    auto record = std::make_unique<RowRecord>();
    record->id = row;
    RowRecord* raw = record.get();
    mRecords.emplace(raw, std::move(record));
    const_cast<NewListCtrl*>(this)->SetItemData(row, reinterpret_cast<wxUIntPtr>(raw));
    return raw;
}

void NewListCtrl::OnInsertItem(wxListEvent& event)
{
    Record(int(event.GetIndex()));
    event.Skip();
}

void NewListCtrl::OnDeleteItem(wxListEvent& event)
{
    if (const RowRecord* record = FindRecord(int(event.GetIndex())))
        mRecords.erase(record);
    event.Skip();
}

void NewListCtrl::OnDeleteAllItems(wxListEvent& event)
{
    mRecords.clear();
    event.Skip();
}

int NewListCtrl::GetItemId(int row) const
{
    const RowRecord* record = Record(row);
    return record ? record->id : -1;
}

void NewListCtrl::ApplyRowLook(int row)
{
    const RowRecord* record = Record(row);
    if (!record)
        return;
    // wx colours whole rows: a row that colours its first cell only is coloured across.
    const bool colored = record->background != kNoColor;
    SetItemBackgroundColour(row, colored ? Unpacked(record->background) : wxNullColour);
    if (record->editorKind == kReadOnly)
        SetItemTextColour(row, wxSystemSettings::GetColour(wxSYS_COLOUR_GRAYTEXT));
    else
        SetItemTextColour(row, colored ? InkOn(record->background) : wxNullColour);
}

void NewListCtrl::SetItemDisabled(int row, bool disabled)
{
    RowRecord* record = Record(row);
    if (!record)
        return;
    record->editorKind = disabled ? kReadOnly : 0;
    if (disabled)
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
    ApplyRowLook(row);
    Refresh();
}

bool NewListCtrl::IsItemDisabled(int row) const
{
    const RowRecord* record = FindRecord(row);
    return record && record->editorKind == kReadOnly;
}

void NewListCtrl::SetItemColors(int row, uint32_t background, uint32_t selectedBackground)
{
    RowRecord* record = Record(row);
    if (!record)
        return;
    record->background = background == kNoColor ? kNoColor : background & 0xFFFFFF;
    record->selectedBackground = selectedBackground == kNoColor ? kNoColor : selectedBackground & 0xFFFFFF;
    ApplyRowLook(row);
}

void NewListCtrl::SetItemColorInFirstCell(int row, bool on)
{
    if (RowRecord* record = Record(row))
    {
        record->colorInFirstCell = on;
        ApplyRowLook(row);
    }
}

void NewListCtrl::OnItemSelected(wxListEvent& event)
{
    // A disabled row is never shown selected.
    const int row = int(event.GetIndex());
    if (IsItemDisabled(row))
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
    event.Skip();
}

// Columns and cells

void NewListCtrl::SetColumnSortTypes(const std::vector<uint8_t>& kinds)
{
    mColumnKinds = kinds;
}

int NewListCtrl::ColumnKind(int column) const
{
    return column >= 0 && column < int(mColumnKinds.size()) ? mColumnKinds[size_t(column)] : 1;
}

int NewListCtrl::EditorKindOf(int row, int column) const
{
    const int columnEditor = ColumnKind(column) & 0xF0;
    if (columnEditor)
        return columnEditor;
    const RowRecord* record = Record(row);
    return record ? int(record->editorKind) : int(kTextBox);
}

wxString NewListCtrl::CellText(int row, int column) const
{
    if (row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount())
        return wxString();
    return GetItemText(row, column);
}

wxRect NewListCtrl::CellRect(int row, int column) const
{
    wxRect rect;
    if (!GetItemRect(row, rect, wxLIST_RECT_BOUNDS))
        return wxRect();
    // The row's left edge moves with the horizontal scrolling.
    int x = rect.x;
    for (int c = 0; c < column; ++c)
        x += GetColumnWidth(c);
    return wxRect(x, rect.y, column < GetColumnCount() ? GetColumnWidth(column) : 0, rect.height);
}

int NewListCtrl::HitTestCell(const wxPoint& point, int& column) const
{
    column = -1;
    const int count = GetItemCount();
    const int first = std::max(int(GetTopItem()), 0);
    const int last = std::min(count, first + GetCountPerPage() + 2);
    for (int row = first; row < last; ++row)
    {
        wxRect rect;
        if (!GetItemRect(row, rect, wxLIST_RECT_BOUNDS) || point.y < rect.y || point.y >= rect.GetBottom() + 1)
            continue;
        int left = rect.x;
        for (int c = 0; c < GetColumnCount(); ++c)
        {
            const int right = left + GetColumnWidth(c);
            if (point.x >= left && point.x <= right)
            {
                column = c;
                break;
            }
            left = right;
        }
        return row;
    }
    return -1;
}

std::string NewListCtrl::CellTipText(int row, int column) const
{
    const wxString text = CellText(row, column);
    if (text.empty() || !mRows)
        return std::string();
    wxClientDC dc(mRows);
    dc.SetFont(GetFont());
    if (dc.GetTextExtent(text).x <= GetColumnWidth(column) - (column == 0 ? 11 : 12))
        return std::string();
    // GTK shows a tooltip as plain text: an '&' stays one character.
    return text.Left(80).utf8_string();
}

// Sorting

bool NewListCtrl::EnableSorting(bool on)
{
    const bool previous = mSortingEnabled;
    mSortingEnabled = on;
    if (on && mSortColumn >= 0)
        SortByColumn(-1, true);
    return previous;
}

void NewListCtrl::SetSecondarySortColumn(int column, bool ascending)
{
    mSecondaryColumn = column;
    mSecondaryAscending = ascending;
}

void NewListCtrl::SortByColumn(int column, bool ascending)
{
    if (column < 0)
    {
        if (mSortColumn < 0)
            return;
        column = mSortColumn;
        ascending = mSortAscending;
    }
    if (column >= GetColumnCount())
        return;
    if (column != mSortColumn)
    {
        mPreviousColumn = mSortColumn;
        mPreviousAscending = mSortAscending;
    }
    mSortColumn = column;
    mSortAscending = ascending;

    int tie = column;
    bool tieAscending = mPreviousAscending;
    if (mSecondaryColumn >= 0)
    {
        tie = mSecondaryColumn;
        tieAscending = mSecondaryAscending;
    }
    else if (mPreviousColumn >= 0)
        tie = mPreviousColumn;

    const int count = GetItemCount();
    std::vector<SortEntry> entries(size_t(std::max(count, 0)));
    for (int row = 0; row < count; ++row)
    {
        Record(row);
        SortEntry& entry = entries[size_t(row)];
        entry.record = GetItemData(row);
        entry.key = CellText(row, column).utf8_string();
        entry.tie = CellText(row, tie).utf8_string();
        entry.selected = GetItemState(row, wxLIST_STATE_SELECTED) != 0;
        SetItemData(row, reinterpret_cast<wxUIntPtr>(&entry));
    }
    const SortOrder order{ColumnKind(column), ascending, ColumnKind(tie), tieAscending};
    SortItems(CompareEntries, reinterpret_cast<wxIntPtr>(&order));
    // The generic list keeps its selection by place, not by row: the selected rows are marked
    // again where the sort has put them.
    for (int row = 0; row < count; ++row)
    {
        const auto* entry = reinterpret_cast<const SortEntry*>(GetItemData(row));
        SetItemData(row, entry->record);
        SetItemState(row, entry->selected ? wxLIST_STATE_SELECTED : 0, wxLIST_STATE_SELECTED);
    }

    const int selected = FirstSelected();
    if (selected >= 0)
        EnsureVisible(selected);
    ShowSortIndicator(column, ascending);
}

void NewListCtrl::OnColumnClick(wxListEvent& event)
{
    event.Skip();
    const int column = event.GetColumn();
    if (!mSortingEnabled || column < 0)
        return;
    SortByColumn(column, !(column == mSortColumn && mSortAscending));
}

void NewListCtrl::OnColumnEndDrag(wxListEvent& event)
{
    event.Skip();
    mClampColumns = true;
}

void NewListCtrl::OnHeaderDoubleClick(wxMouseEvent& event)
{
    // The divider after the first column fits that column to its contents and heading.
    wxRect first;
    const int scroll = GetItemCount() > 0 && GetItemRect(0, first) ? first.x : 0;
    const int divider = scroll + GetColumnWidth(0);
    if (GetColumnCount() == 0 || std::abs(event.GetX() - divider) > 4)
    {
        event.Skip();
        return;
    }
    mFitFirstColumn = true;
}

void NewListCtrl::OnHeaderIdle(wxIdleEvent& event)
{
    // The header hands a dragged divider's width to the list at its idle time: the width rules
    // apply once it has, and the drag is over.
    event.Skip();
    auto* header = dynamic_cast<wxWindow*>(event.GetEventObject());
    if (header && header->HasCapture())
        return;
    if (mFitFirstColumn)
    {
        mFitFirstColumn = false;
        SetColumnWidth(0, wxLIST_AUTOSIZE_USEHEADER);
        SetColumnWidth(0, GetColumnWidth(0) + 3);
    }
    if (mClampColumns)
    {
        mClampColumns = false;
        for (int c = 0; c < GetColumnCount(); ++c)
            if (GetColumnWidth(c) < kMinColumnWidth)
                SetColumnWidth(c, kMinColumnWidth);
        SetFocus();
    }
}

// Selection and clicks

int NewListCtrl::FirstSelected() const
{
    return int(GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

void NewListCtrl::ClearSelection()
{
    for (int row = FirstSelected(); row >= 0; row = int(GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)))
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
}

void NewListCtrl::Select(int row, bool selected)
{
    if (selected)
        SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                     wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    else
        SetItemState(row, 0, wxLIST_STATE_SELECTED);
}

void NewListCtrl::CallSelectCallback(int row, bool selected)
{
    if (mSelectCallback)
        mSelectCallback(row, selected);
}

void NewListCtrl::OnRowsLeftDown(wxMouseEvent& event)
{
    // The list selects first; the click's own work follows once it has.
    event.Skip();
    int column = -1;
    const int row = HitTestCell(event.GetPosition() + mRows->GetPosition(), column);
    if (row < 0 || column < 0)
        return;
    const bool wasSelected = GetItemState(row, wxLIST_STATE_SELECTED) != 0;
    const bool shift = event.ShiftDown();
    const bool ctrl = event.ControlDown();
    CallAfter([this, row, column, wasSelected, shift, ctrl] { AfterClick(row, column, wasSelected, shift, ctrl); });
}

void NewListCtrl::AfterClick(int row, int column, bool wasSelected, bool shift, bool ctrl)
{
    if (row >= GetItemCount())
        return;
    mLastClickColumn = column;
    const int kind = EditorKindOf(row, column);
    if (!mEditingEnabled || column == 0 || kind == kReadOnly || shift || ctrl)
    {
        if (!wasSelected)
            Select(row, true);
        else if (ctrl && mCtrlClickDeselects)
            Select(row, false);
        else
        {
            // The list's own Ctrl-click took the row out of the selection.
            if (ctrl)
                Select(row, true);
            return;
        }
        CallSelectCallback(row, GetItemState(row, wxLIST_STATE_SELECTED) != 0);
        return;
    }
    if (wasSelected || kind == kYesNo)
    {
        bool allowed = true;
        SendEditEvent(wxEVT_LIST_BEGIN_LABEL_EDIT, row, column, nullptr, &allowed);
        if (!allowed)
            return;
        if (kind == kYesNo)
        {
            const wxString text = CellText(row, column);
            const wxUniChar first = text.empty() ? wxUniChar(' ') : text[0];
            if (first != 'Y' && first != 'y' && first != 'N' && first != 'n')
                return;
            const wxString flipped = first == 'Y' || first == 'y' ? "No" : "Yes";
            SetItem(row, column, flipped);
            SendEditEvent(wxEVT_LIST_END_LABEL_EDIT, row, column, &flipped, nullptr);
        }
        else if (kind == kChoice)
            OnChoiceCell(row, column);
        else
            OpenCellEdit(row, column);
        return;
    }
    Select(row, true);
    CallSelectCallback(row, true);
}

void NewListCtrl::OnRowsKeyDown(wxKeyEvent& event)
{
    event.Skip();
    const int before = FirstSelected();
    CallAfter([this, before] {
        const int after = FirstSelected();
        if (after == before)
            return;
        if (after >= 0)
            CallSelectCallback(after, true);
        else
            CallSelectCallback(before, false);
    });
}

void NewListCtrl::OnRowsMotion(wxMouseEvent& event)
{
    event.Skip();
    if (event.Dragging() || !mRows)
        return;
    int column = -1;
    const int row = HitTestCell(event.GetPosition() + mRows->GetPosition(), column);
    const int id = row >= 0 && column >= 0 ? row * 1024 + column + 1 : 0;
    if (id == mTipId)
        return;
    mTipId = id;
    const std::string tip = id ? CellTipText(row, column) : std::string();
    if (tip.empty())
        mRows->UnsetToolTip();
    else
        mRows->SetToolTip(wxString::FromUTF8(tip));
}

// Editing

void NewListCtrl::SendEditEvent(wxEventType type, int row, int column, const wxString* text, bool* allowed)
{
    wxListEvent event(type, GetId());
    event.SetEventObject(this);
    event.SetIndex(row);
    event.SetColumn(column);
    wxListItem item;
    item.SetId(row);
    item.SetColumn(column);
    if (text)
        item.SetText(*text);
    event.SetItem(item);
    if (type == wxEVT_LIST_END_LABEL_EDIT && !text)
        event.SetEditCanceled(true);
    GetEventHandler()->ProcessEvent(event);
    if (allowed)
        *allowed = event.IsAllowed();
}

void NewListCtrl::EditorClosed(int row, int column, const wxString* text)
{
    mEditor = nullptr;
    SendEditEvent(wxEVT_LIST_END_LABEL_EDIT, row, column, text, nullptr);
}

wxWindow* NewListCtrl::OpenEditor() const
{
    return mEditor;
}

bool NewListCtrl::PrepareEditorCell(int row, int column, int minWidth, wxRect& cell)
{
    if (!mRows || mEditor || row < 0 || row >= GetItemCount() || column < 0 || column >= GetColumnCount() ||
        GetColumnWidth(column) < minWidth)
        return false;
    EnsureVisible(row);
    cell = CellRect(row, column);
    const wxRect rows(mRows->GetPosition(), mRows->GetClientSize());
    if (cell.IsEmpty() || cell.y < rows.y || cell.GetBottom() > rows.GetBottom())
        return false;
    if (cell.x < rows.x || cell.x >= rows.GetRight())
    {
        ScrollList(cell.x - rows.x, 0);
        cell = CellRect(row, column);
    }
    // In the rows window, from 4 pixels inside the cell to 3 short of its right edge.
    const int right = std::min(cell.GetRight() + 1 - 3, rows.GetRight() + 1);
    cell = wxRect(cell.x + 4 - rows.x, cell.y - rows.y, std::max(right - (cell.x + 4), 1), cell.height);
    return true;
}

void NewListCtrl::OpenCellEdit(int row, int column)
{
    wxRect rect;
    if (!PrepareEditorCell(row, column, 5, rect))
        return;
    wxListItem heading;
    heading.SetMask(wxLIST_MASK_FORMAT);
    GetColumn(column, heading);
    mEditor = new CellEdit(this, row, column, rect, wxString::FromUTF8(GetCellEditText(row, column)),
                           heading.GetAlign());
}

void NewListCtrl::OpenCellCombo(int row, int column, const std::vector<std::string>& choices, int current)
{
    wxRect rect;
    if (!PrepareEditorCell(row, column, 10, rect))
        return;
    mEditor = new CellCombo(this, row, column, rect, choices, current);
}

std::string NewListCtrl::GetCellEditText(int row, int column)
{
    return CellText(row, column).utf8_string();
}

bool NewListCtrl::CanDragRow(int)
{
    return false;
}

void NewListCtrl::OnRowDropped(NewListCtrl*, int, int)
{
}

void NewListCtrl::OnChoiceCell(int row, int column)
{
    OpenCellCombo(row, column, {"Choice 1", "Choice 2"}, 0);
}

// Row dragging

void NewListCtrl::OnBeginDrag(wxListEvent& event)
{
    const int row = int(event.GetIndex());
    if (row >= 0 && CanDragRow(row))
        ListRowDrag::Get().Begin(this, row);
    else
        event.Skip();
}

int NewListCtrl::AutoScrollInterval(int distance)
{
    // Further past the edge, faster: every 6 ticks near it, every tick 100 pixels out.
    const int steps = std::max(distance, 0) / 20;
    return steps < 6 ? std::max(6 - steps, 1) : 1;
}

int NewListCtrl::DragDropPosition()
{
    return ListRowDrag::Get().IsActive() ? ListRowDrag::Get().DropPosition() : -1;
}

const DropMarker* NewListCtrl::DragMarker()
{
    return ListRowDrag::Get().IsActive() ? &ListRowDrag::Get().Marker() : nullptr;
}
