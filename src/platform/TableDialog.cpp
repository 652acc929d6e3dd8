#include "platform/TableDialog.h"

#include "platform/DialogPlacement.h"
#include "platform/DialogUtils.h"
#include "platform/ListCellCompare.h"

#include <wx/button.h>
#include <wx/listctrl.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace
{
constexpr int kMargin = 10;

wxColour RgbColour(uint32_t rgb)
{
    return wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

// Text that stays readable on the row's colour.
wxColour InkOn(const wxColour& back)
{
    return back.Red() + back.Green() + back.Blue() <= 382 ? *wxWHITE : *wxBLACK;
}
}  // namespace

TableDialog::TableDialog(wxWindow* owner, const TableRequest& request)
    : wxDialog(owner, wxID_ANY, request.title.empty() ? wxString("Table") : wxString::FromUTF8(request.title),
               wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      mRequest(request)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* prompt = new wxStaticText(this, wxID_ANY, wxString());
    prompt->SetLabelText(wxString::FromUTF8(request.prompt));
    top->Add(prompt, 0, wxLEFT | wxRIGHT | wxTOP, kMargin);

    mList = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    const int columns = std::max(request.columns, 0);
    for (int c = 0; c < columns; ++c)
        mList->AppendColumn(c < int(request.headings.size()) ? wxString::FromUTF8(request.headings[size_t(c)])
                                                             : wxString());
    for (int r = 0; r < request.rows; ++r)
    {
        const long item = mList->InsertItem(r, wxString());
        for (int c = 0; c < columns; ++c)
        {
            const size_t cell = size_t(r) * size_t(columns) + size_t(c);
            if (cell < request.cells.size())
                mList->SetItem(item, c, wxString::FromUTF8(request.cells[cell]));
        }
        mList->SetItemData(item, r);
        if (r < int(request.rowColors.size()) && request.rowColors[size_t(r)] != kNoRowColor)
        {
            const wxColour back = RgbColour(request.rowColors[size_t(r)]);
            mList->SetItemBackgroundColour(item, back);
            mList->SetItemTextColour(item, InkOn(back));
        }
    }
    SizeColumnsAndList(MeasureTextGuiFont(this, request.prompt, 0).x);
    top->Add(mList, 0, wxLEFT | wxRIGHT | wxTOP, kMargin);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    buttons->Add(ok);
    buttons->AddStretchSpacer();
    buttons->Add(cancel);
    top->Add(buttons, 0, wxEXPAND | wxALL, kMargin);
    SetSizerAndFit(top);
    Layout();
    SetSizer(nullptr);

    mAnchors.Attach(this);
    const int fixed = AnchorList::kKeepSize | AnchorList::kKeepNear;
    const int stretch = AnchorList::kKeepNear | AnchorList::kFollowFar;
    mAnchors.SetAnchor(prompt, fixed, fixed);
    mAnchors.SetAnchor(mList, stretch, stretch);
    mAnchors.SetAnchor(ok, AnchorList::kKeepNear, AnchorList::kKeepSize | AnchorList::kFollowFar);
    mAnchors.SetAnchor(cancel, AnchorList::kFollowFar, AnchorList::kKeepSize | AnchorList::kFollowFar);
    mAnchors.AllowGrowth(true, true);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        mAnchors.Layout();
        event.Skip();
    });

    if (!request.sortKinds.empty())
    {
        mList->Bind(wxEVT_LIST_COL_CLICK, &TableDialog::OnColumnClick, this);
        const int state = request.sortState;
        if (state > 0 && state <= columns)
            SortByColumn(state - 1, true);
        else if (state < 0 && ~state < columns)
            SortByColumn(~state, false);
    }
    if (request.initialRow >= 0 && request.initialRow < request.rows)
    {
        const long item = mList->FindItem(-1, wxUIntPtr(request.initialRow));
        mList->SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                            wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
        mList->EnsureVisible(item);
    }
    if (request.initialRow == -2)
        cancel->Hide();
    ok->SetDefault();
    mList->SetFocus();

    CentreOnParent();
    if (!request.settingsKey.empty())
    {
        RestoreDialogPlacement(this, request.settingsKey.c_str());
        RestoreListColumnWidths(mList, request.settingsKey.c_str());
    }
}

void TableDialog::SizeColumnsAndList(int promptWidth)
{
    const int columns = mList->GetColumnCount();
    int width = 0;
    for (int c = 0; c < columns; ++c)
    {
        const std::string heading = c < int(mRequest.headings.size()) ? mRequest.headings[size_t(c)] : std::string();
        int w = MeasureTextGuiFont(this, heading, 0).x + 20;
        for (int r = 0; r < mRequest.rows; ++r)
        {
            const size_t cell = size_t(r) * size_t(columns) + size_t(c);
            if (cell < mRequest.cells.size())
                w = std::max(w, MeasureTextGuiFont(this, mRequest.cells[cell], 0).x);
        }
        w += 19;
        mList->SetColumnWidth(c, w);
        width += w;
    }

    // The list's own measures: where its first row starts (below the heading) and how high rows are.
    const bool probe = mList->GetItemCount() == 0;
    if (probe)
        mList->InsertItem(0, "Xy");
    wxRect first;
    mList->GetItemRect(0, first);
    if (probe)
        mList->DeleteAllItems();
    const int heading = std::max(first.y, 0);
    const int rowHeight = std::max(first.height, 1);

    const wxSize border = mList->GetWindowBorderSize();
    width = std::max(width, promptWidth) + border.x;
    int height = heading + rowHeight * mRequest.rows + border.y;
    if (height > kTableMaxListHeight)
    {
        height = kTableMaxListHeight;
        width += wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, mList);
    }
    mList->SetInitialSize(wxSize(width, height));
}

int TableDialog::SelectedRow() const
{
    const long item = mList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    return item < 0 ? -1 : int(mList->GetItemData(item));
}

int TableDialog::SortState() const
{
    if (mSortColumn < 0)
        return 0;
    return mSortAscending ? mSortColumn + 1 : ~mSortColumn;
}

int TableDialog::CompareCells(int column, bool ascending, int row1, int row2) const
{
    const size_t columns = size_t(std::max(mRequest.columns, 1));
    const size_t a = size_t(row1) * columns + size_t(column);
    const size_t b = size_t(row2) * columns + size_t(column);
    if (a >= mRequest.cells.size() || b >= mRequest.cells.size())
        return 0;
    // Columns past the caller's kinds sort in natural order.
    const int kind = column < int(mRequest.sortKinds.size()) ? mRequest.sortKinds[size_t(column)] : 1;
    return CompareListCells(kind, mRequest.cells[a], mRequest.cells[b], ascending);
}

int wxCALLBACK TableDialog::CompareRows(wxIntPtr row1, wxIntPtr row2, wxIntPtr dialog)
{
    const auto* self = reinterpret_cast<const TableDialog*>(dialog);
    const int order = self->CompareCells(self->mSortColumn, self->mSortAscending, int(row1), int(row2));
    if (order != 0)
        return order;
    // Ties keep the order of the column sorted before.
    if (self->mPreviousColumn >= 0)
        return self->CompareCells(self->mPreviousColumn, self->mPreviousAscending, int(row1), int(row2));
    return 0;
}

void TableDialog::SortByColumn(int column, bool ascending)
{
    if (column < 0)
    {
        if (mSortColumn < 0)
            return;
        column = mSortColumn;
        ascending = mSortAscending;
    }
    if (column >= mList->GetColumnCount())
        return;
    if (column != mSortColumn)
    {
        mPreviousColumn = mSortColumn;
        mPreviousAscending = mSortAscending;
    }
    mSortColumn = column;
    mSortAscending = ascending;
    mList->SortItems(&TableDialog::CompareRows, reinterpret_cast<wxIntPtr>(this));
    mList->ShowSortIndicator(column, ascending);
    const long selected = mList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
    if (selected >= 0)
        mList->EnsureVisible(selected);
}

void TableDialog::OnColumnClick(wxListEvent& event)
{
    const int column = event.GetColumn();
    if (column < 0)
        return;
    SortByColumn(column, !(column == mSortColumn && mSortAscending));
}

void TableDialog::SavePlacement() const
{
    if (mRequest.settingsKey.empty())
        return;
    SaveDialogPlacement(this, mRequest.settingsKey.c_str());
    SaveListColumnWidths(mList, mRequest.settingsKey.c_str());
}

int RunTableDialog(wxWindow* owner, TableRequest& request)
{
    TableDialog dialog(owner, request);
    const bool ok = dialog.ShowModal() == wxID_OK;
    dialog.SavePlacement();
    if (!ok)
        return -1;
    if (!request.sortKinds.empty())
        request.sortState = dialog.SortState();
    return request.initialRow == -2 ? 0 : dialog.SelectedRow();
}
