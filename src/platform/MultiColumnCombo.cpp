#include "platform/MultiColumnCombo.h"

#include "platform/ReplaceControl.h"

#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
const wxColour kColumn1(0, 0, 255);
const wxColour kColumn2(0, 128, 196);
const wxColour kColumn3(0, 128, 0);
const wxColour kSelectedColumns23(255, 255, 0);

wxColour Unpacked(uint32_t rgb)
{
    return wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

bool IsDark(uint32_t rgb)
{
    return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) < 383;
}
}  // namespace

MultiColumnCombo::MultiColumnCombo(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
{
    Create(parent, id, pos, size);
}

bool MultiColumnCombo::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
{
    if (!wxOwnerDrawnComboBox::Create(parent, id, wxString(), pos, size, wxArrayString(), wxCB_READONLY))
        return false;
    SetColumnLayout(-1, -1, -1);
    return true;
}

MultiColumnCombo::~MultiColumnCombo()
{
    // The base classes measure the rows of a list still open while they go away, and by then this is
    // no owner-drawn combo any more.
    if (IsPopupShown())
        HidePopup();
}

void MultiColumnCombo::SetColumnLayout(int column2Pos, int column2Width, int dropWidth)
{
    mColumn2Auto = column2Pos < 0;
    mColumn3Auto = column2Pos < 0 || column2Width < 0;
    mDropAuto = dropWidth < 0;
    mColumn2Pos = column2Pos;
    mColumn3Pos = mColumn3Auto ? -1 : column2Pos + column2Width;
    mDropWidth = dropWidth;
    if (dropWidth >= 0)
        SetPopupMinWidth(dropWidth);
    // Arial is not on every desktop: the GUI font's sans family at 15 pixels, semibold.
    const wxFont gui = wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT);
    mRowFont = wxFont(wxFontInfo(wxSize(0, 15)).Family(wxFONTFAMILY_SWISS).FaceName(gui.GetFaceName()));
    mRowFont.SetNumericWeight(600);
}

bool MultiColumnCombo::SubclassAndSetLayout(int id, wxWindow* dialog, int column2Pos, int column2Width,
                                            int dropWidth)
{
    wxWindow* placeholder = dialog ? dialog->FindWindow(id) : nullptr;
    if (!placeholder || placeholder == this || GetHandle())
        return false;
    if (!Create(placeholder->GetParent(), id, placeholder->GetPosition(), placeholder->GetSize()))
        return false;
    ReplaceControl(placeholder, this);
    SetColumnLayout(column2Pos, column2Width, dropWidth);
    return true;
}

int MultiColumnCombo::AddItem(const std::string& text, uint32_t color)
{
    MultiColumnComboItem item;
    item.color = color;
    const size_t tab1 = text.find('\t');
    item.columns[0] = text.substr(0, tab1);
    if (tab1 != std::string::npos)
    {
        const size_t tab2 = text.find('\t', tab1 + 1);
        item.columns[1] = text.substr(tab1 + 1, tab2 == std::string::npos ? std::string::npos : tab2 - tab1 - 1);
        if (tab2 != std::string::npos)
            item.columns[2] = text.substr(tab2 + 1);
    }
    mItems.push_back(item);
    mRowItems.push_back(int(mItems.size()) - 1);
    // The closed combo shows its row's columns before the list ever dropped down.
    PlaceColumns();
    return Append(wxString::FromUTF8(item.columns[0]));
}

void MultiColumnCombo::RemoveAllItems()
{
    mItems.clear();
    mRowItems.clear();
    Clear();
}

int MultiColumnCombo::GetCurSelItem() const
{
    const int row = std::max(GetSelection(), 0);
    return row < int(mRowItems.size()) ? mRowItems[size_t(row)] : 0;
}

void MultiColumnCombo::SetCurSel(int row)
{
    SetSelection(row);
}

uint32_t MultiColumnCombo::GetItemColor(int index) const
{
    if (index == -1)
        index = GetSelection() >= 0 ? GetCurSelItem() : -1;
    if (index < 0 || index >= int(mItems.size()))
        return MultiColumnComboItem::kPlain;
    return mItems[size_t(index)].color;
}

void MultiColumnCombo::PlaceColumns()
{
    wxClientDC dc(this);
    dc.SetFont(mRowFont);
    int widest[3] = {1, 1, 1};
    mMoreColumns = false;
    for (const MultiColumnComboItem& item : mItems)
        for (int c = 0; c < 3; ++c)
        {
            if (c > 0 && item.columns[c].empty())
                continue;
            mMoreColumns = mMoreColumns || c > 0;
            widest[c] = std::max(widest[c], dc.GetTextExtent(wxString::FromUTF8(item.columns[c])).x);
        }
    const int v = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    if (mColumn2Auto)
        mColumn2Pos = widest[0] + v;
    else
        widest[0] = mColumn2Pos - v;
    if (mColumn3Auto)
        mColumn3Pos = widest[0] + widest[1] + 2 * v;
    else
        widest[1] = mColumn3Pos - 2 * v - widest[0];
    std::copy(widest, widest + 3, mMeasured);
}

void MultiColumnCombo::MeasureColumns()
{
    PlaceColumns();
    if (!mDropAuto)
        return;
    const int v = wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    const int extent = mMeasured[0] + mMeasured[1] + mMeasured[2] + 5;
    const int edge = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X, this), 0);
    int width = extent + v + 2 * edge + (mMoreColumns ? v : 0);
    if (IsShownOnScreen())
    {
        const int display = wxDisplay::GetFromWindow(this);
        const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetGeometry();
        width = std::min(width, screen.GetRight() + 1 - GetScreenPosition().x);
    }
    mDropWidth = std::max(width, 1);
    SetPopupMinWidth(mDropWidth);
}

void MultiColumnCombo::ShowPopup()
{
    MeasureColumns();
    wxOwnerDrawnComboBox::ShowPopup();
}

void MultiColumnCombo::DrawRow(wxDC& dc, const wxRect& rect, int row, bool selected) const
{
    if (row < 0 || row >= int(mRowItems.size()))
        return;
    const MultiColumnComboItem& item = mItems[size_t(mRowItems[size_t(row)])];
    const wxFont oldFont = dc.GetFont();
    dc.SetFont(mRowFont);
    wxColour first;
    dc.SetPen(*wxTRANSPARENT_PEN);
    if (item.color == MultiColumnComboItem::kPlain)
    {
        dc.SetBrush(wxBrush(wxSystemSettings::GetColour(selected ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_WINDOW)));
        dc.DrawRectangle(rect);
        first = selected ? wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHTTEXT) : kColumn1;
    }
    else
    {
        dc.SetBrush(wxBrush(Unpacked(item.color)));
        dc.DrawRectangle(rect);
        const bool dark = IsDark(item.color);
        if (selected)
        {
            // A frame two pixels wide, in a colour that stands out on the row's.
            first = dark ? wxColour(255, 255, 0) : wxColour(0, 0, 255);
            dc.SetBrush(wxBrush(first));
            dc.DrawRectangle(rect);
            dc.SetBrush(wxBrush(Unpacked(item.color)));
            dc.DrawRectangle(wxRect(rect).Deflate(2));
        }
        else
            first = dark ? *wxWHITE : *wxBLACK;
    }
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    dc.SetTextForeground(first);
    // Centred in a closed combo taller than a row.
    const int y = rect.y + std::max(1, (rect.height - dc.GetCharHeight()) / 2);
    dc.DrawText(wxString::FromUTF8(item.columns[0]), rect.x + 2, y);
    const int positions[2] = {mColumn2Pos, mColumn3Pos};
    const wxColour colors[2] = {kColumn2, kColumn3};
    for (int c = 1; c < 3; ++c)
        if (!item.columns[c].empty())
        {
            dc.SetTextForeground(selected ? kSelectedColumns23 : colors[c - 1]);
            dc.DrawText(wxString::FromUTF8(item.columns[c]), rect.x + positions[c - 1], y);
        }
    dc.SetFont(oldFont);
}

void MultiColumnCombo::OnDrawItem(wxDC& dc, const wxRect& rect, int item, int flags) const
{
    // The closed combo's own face shows its row as not selected.
    const bool selected = (flags & wxODCB_PAINTING_SELECTED) && !(flags & wxODCB_PAINTING_CONTROL);
    DrawRow(dc, rect, item, selected);
}

void MultiColumnCombo::OnDrawBackground(wxDC&, const wxRect&, int, int) const
{
    // DrawRow fills the whole row itself.
}

wxCoord MultiColumnCombo::OnMeasureItem(size_t) const
{
    wxClientDC dc(const_cast<MultiColumnCombo*>(this));
    dc.SetFont(mRowFont);
    return dc.GetCharHeight() + 2;
}

wxCoord MultiColumnCombo::OnMeasureItemWidth(size_t) const
{
    // The width comes from MeasureColumns.
    return 1;
}
