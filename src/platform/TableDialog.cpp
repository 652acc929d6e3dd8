#include "platform/TableDialog.h"

#include "platform/DialogPlacement.h"
#include "platform/DialogUtils.h"
#include "platform/NewListCtrl.h"

#include <wx/button.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace
{
constexpr int kMargin = 10;
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

    mList = new NewListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
    mList->EnableEditing(false);
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
        if (r < int(request.rowColors.size()) && request.rowColors[size_t(r)] != kNoRowColor)
            mList->SetItemColors(int(item), request.rowColors[size_t(r)]);
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
        std::vector<uint8_t> kinds;
        for (int kind : request.sortKinds)
            kinds.push_back(uint8_t(kind));
        mList->SetColumnSortTypes(kinds);
        mList->EnableSorting(true);
        const int state = request.sortState;
        if (state > 0 && state <= columns)
            SortByColumn(state - 1, true);
        else if (state < 0 && ~state < columns)
            SortByColumn(~state, false);
    }
    if (request.initialRow >= 0 && request.initialRow < request.rows)
    {
        for (int item = 0; item < mList->GetItemCount(); ++item)
            if (mList->GetItemId(item) == request.initialRow)
            {
                mList->SetItemState(item, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                                    wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
                mList->EnsureVisible(item);
            }
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
    return item < 0 ? -1 : mList->GetItemId(int(item));
}

int TableDialog::SortState() const
{
    const int column = mList->SortColumn();
    if (column < 0)
        return 0;
    return mList->SortAscending() ? column + 1 : ~column;
}

void TableDialog::SortByColumn(int column, bool ascending)
{
    mList->SortByColumn(column, ascending);
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
