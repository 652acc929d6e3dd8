#pragma once

#include <wx/listctrl.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class DropMarker;

// The program's report list: rows and columns of text, sortable by a click on a column header,
// editable in place (text boxes, choice lists and yes/no cells, with begin and end notifications to
// the owner), rows with colours of their own or disabled, rows that can be dragged to a new place
// while the list scrolls near its edges, tooltips for cut cells, and a callback when the user
// selects a row. The tour pane derives from it; the Table dialog and the "Polyhedra" chooser use it
// as it is. Owned by its dialog or pane.
//
// Notifications, as wxListEvent with the row as index and the cell's column: wxEVT_LIST_BEGIN_LABEL_EDIT
// before a click edits a cell (Veto refuses), wxEVT_LIST_END_LABEL_EDIT when an editor closes or a
// yes/no cell flips, with the new text, or IsEditCancelled() when the edit was cancelled. The list
// stores no edited text itself except the flipped "Yes" and "No": the owner decides.
class NewListCtrl : public wxListCtrl
{
public:
    // Column kinds: the low bits order a column (CompareListCells kinds 1 to 7); the high four bits,
    // when set, choose its editor, and such a column does not order rows.
    enum EditorKind : uint8_t
    {
        kReadOnly = 0x10,
        kYesNo = 0x20,
        kChoice = 0x80,
        kTextBox = 0x50,  // the editor of a new row
    };
    static constexpr uint32_t kNoColor = 0xFF000000;
    static constexpr int kMinColumnWidth = 12;
    static constexpr int kEditorId = 30446;
    static constexpr int kDragTickMs = 75;

    using SelectCallback = std::function<void(int row, bool selected)>;

    NewListCtrl() = default;
    NewListCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxLC_REPORT);
    ~NewListCtrl() override;

    // Makes the list in place of the dialog's placeholder control of that id, with its size and
    // place; false when there is none.
    bool ReplaceDlgItem(wxWindow* dialog, int id, long style = wxLC_REPORT);

    void SetColumnSortTypes(const std::vector<uint8_t>& kinds);
    int ColumnKind(int column) const;
    // Answers the previous setting; switching on sorts again by the current column.
    bool EnableSorting(bool on);
    void SetSecondarySortColumn(int column, bool ascending);
    // A negative column sorts again by the current one.
    void SortByColumn(int column, bool ascending);
    int SortColumn() const { return mSortColumn; }
    bool SortAscending() const { return mSortAscending; }

    // A disabled row is read-only, grey, and cannot be selected.
    void SetItemDisabled(int row, bool disabled);
    bool IsItemDisabled(int row) const;
    // 0x00BBGGRR or kNoColor. wx draws the selection bar in the system colour, so the selected
    // background is kept for owners but not shown.
    void SetItemColors(int row, uint32_t background, uint32_t selectedBackground = kNoColor);
    // wx colours whole rows: a row that colours its first cell only is coloured across too.
    void SetItemColorInFirstCell(int row, bool on);
    // The row's index when its record was made, which sorting keeps.
    int GetItemId(int row) const;

    void SetSelectCallback(SelectCallback callback) { mSelectCallback = std::move(callback); }
    void EnableEditing(bool on) { mEditingEnabled = on; }
    void SetCtrlClickDeselects(bool on) { mCtrlClickDeselects = on; }
    void ClearSelection();
    int LastClickedColumn() const { return mLastClickColumn; }

    // The row at a point of the list's client area (-1 for none) and the cell's column (-1 past the
    // last column); a point on the edge between two columns belongs to the left one.
    int HitTestCell(const wxPoint& point, int& column) const;
    // The cell's rectangle in the list's client area.
    wxRect CellRect(int row, int column) const;
    wxString CellText(int row, int column) const;

    void OpenCellEdit(int row, int column);
    void OpenCellCombo(int row, int column, const std::vector<std::string>& choices, int current);
    // The open in-place editor's window, null when none is open.
    wxWindow* OpenEditor() const;

    // The tooltip text of a cell, or empty when its text fits its column.
    std::string CellTipText(int row, int column) const;

    // The window that shows the rows, below the header.
    wxWindow* RowsWindow() const;

    // Drag ticks per line of automatic scrolling with the pointer that far past the line 5 pixels
    // inside the edge.
    static int AutoScrollInterval(int distance);
    // The drop position of a row drag in progress, -1 when none.
    static int DragDropPosition();
    // The marker of the drop position while a drag is in progress, null otherwise.
    static const DropMarker* DragMarker();

protected:
    // The text an editor starts with: the cell's text.
    virtual std::string GetCellEditText(int row, int column);
    virtual bool CanDragRow(int row);
    // Called on the list the drag started from.
    virtual void OnRowDropped(NewListCtrl* target, int fromRow, int toRow);
    // A click on a choice cell: by default a list of "Choice 1" and "Choice 2".
    virtual void OnChoiceCell(int row, int column);

private:
    friend class CellEdit;
    friend class CellCombo;
    friend class ListRowDrag;

    struct RowRecord
    {
        uint8_t editorKind = kTextBox;
        uint32_t background = kNoColor;
        uint32_t selectedBackground = kNoColor;
        bool colorInFirstCell = false;
        int id = 0;
    };

    RowRecord* Record(int row) const;
    RowRecord* FindRecord(int row) const;
    void ApplyRowLook(int row);
    int EditorKindOf(int row, int column) const;
    void SendEditEvent(wxEventType type, int row, int column, const wxString* text, bool* allowed);
    void EditorClosed(int row, int column, const wxString* text);
    int FirstSelected() const;
    bool PrepareEditorCell(int row, int column, int minWidth, wxRect& cell);
    void Select(int row, bool selected);
    void CallSelectCallback(int row, bool selected);
    void AfterClick(int row, int column, bool wasSelected, bool shift, bool ctrl);

    void OnRowsLeftDown(wxMouseEvent& event);
    void OnRowsMotion(wxMouseEvent& event);
    void OnRowsKeyDown(wxKeyEvent& event);
    void OnHeaderDoubleClick(wxMouseEvent& event);
    void OnHeaderIdle(wxIdleEvent& event);
    void OnInsertItem(wxListEvent& event);
    void OnDeleteItem(wxListEvent& event);
    void OnDeleteAllItems(wxListEvent& event);
    void OnItemSelected(wxListEvent& event);
    void OnColumnClick(wxListEvent& event);
    void OnColumnEndDrag(wxListEvent& event);
    void OnBeginDrag(wxListEvent& event);
    void BindRowsWindow();
    void UnbindAll();

    mutable std::unordered_map<const RowRecord*, std::unique_ptr<RowRecord>> mRecords;
    std::vector<uint8_t> mColumnKinds;
    bool mSortingEnabled = false;
    int mSortColumn = -1;
    bool mSortAscending = true;
    int mSecondaryColumn = -1;
    bool mSecondaryAscending = true;
    int mPreviousColumn = -1;
    bool mPreviousAscending = true;
    int mLastClickColumn = -1;
    bool mEditingEnabled = true;
    bool mCtrlClickDeselects = false;
    SelectCallback mSelectCallback;
    wxWindow* mEditor = nullptr;
    int mTipId = 0;
    bool mFitFirstColumn = false;  // the first divider was double-clicked
    bool mClampColumns = false;    // a divider drag ended
    wxWindow* mRows = nullptr;
};
