#pragma once

#include <wx/odcombo.h>

#include <cstdint>
#include <string>
#include <vector>

// One row of a MultiColumnCombo: up to three texts and a colour that fills the row's background.
struct MultiColumnComboItem
{
    static constexpr uint32_t kPlain = 0xFF000000;  // a row without a colour of its own

    std::string columns[3];
    uint32_t color = kPlain;  // otherwise 0x00BBGGRR
};

// A read-only choice list whose rows show up to three texts side by side, each column in its own
// colour, on a background colour of the row's own. It measures its columns when its list drops down
// and widens the list to fit them. Its events are those of a plain combo box. Users: the Option
// toolbar's symmetry box, the Print Options paper colours, the Transitions dialog's nine lists and the
// Exporting Image/Video dialog's list. Owned by its dialog or toolbar.
class MultiColumnCombo : public wxOwnerDrawnComboBox
{
public:
    MultiColumnCombo() = default;
    MultiColumnCombo(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                     const wxSize& size = wxDefaultSize);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize);
    ~MultiColumnCombo() override;

    // Pixels; a negative value is found when the list drops down. Column 3 starts column2Width after
    // column 2. A drop-down width of 0 or more applies at once.
    void SetColumnLayout(int column2Pos, int column2Width, int dropWidth);
    // Makes the combo in place of the dialog's control of that id, then sets the layout; false when
    // there is no such control.
    bool SubclassAndSetLayout(int id, wxWindow* dialog, int column2Pos, int column2Width, int dropWidth);

    // The text's columns are separated by tabs; column 3 is all after the second tab. Answers the
    // new row.
    int AddItem(const std::string& text, uint32_t color = MultiColumnComboItem::kPlain);
    void RemoveAllItems();
    int GetItemCount() const { return int(mItems.size()); }
    const MultiColumnComboItem& GetItem(int index) const { return mItems[size_t(index)]; }
    // The item of the selected row, of row 0 when none is selected.
    int GetCurSelItem() const;
    void SetCurSel(int row);
    // -1 for the selected item; kPlain for an index outside the items.
    uint32_t GetItemColor(int index) const;

    // Measures the columns in the row font and places columns 2 and 3 and the drop-down width by
    // the layout; done when the list drops down.
    void MeasureColumns();
    int Column2Pos() const { return mColumn2Pos; }
    int Column3Pos() const { return mColumn3Pos; }
    int DropWidth() const { return mDropWidth; }
    // The widest measure of columns 1 to 3 after MeasureColumns.
    int MeasuredWidth(int column) const { return mMeasured[column]; }

    // Draws one row as the list shows it, selected or not.
    void DrawRow(wxDC& dc, const wxRect& rect, int row, bool selected) const;

    void ShowPopup() override;

protected:
    void OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    void OnDrawBackground(wxDC& dc, const wxRect& rect, int item, int flags) const override;
    wxCoord OnMeasureItem(size_t item) const override;
    wxCoord OnMeasureItemWidth(size_t item) const override;

private:
    void PlaceColumns();

    std::vector<MultiColumnComboItem> mItems;
    std::vector<int> mRowItems;  // the item each row shows
    wxFont mRowFont;
    int mColumn2Pos = -1;
    int mColumn3Pos = -1;
    int mDropWidth = -1;
    bool mColumn2Auto = true;
    bool mColumn3Auto = true;
    bool mDropAuto = true;
    int mMeasured[3] = {1, 1, 1};
    bool mMoreColumns = false;  // some item has a column 2 or 3
};
