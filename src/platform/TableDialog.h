#pragma once

#include "kernel/UserServices.h"
#include "platform/AnchorList.h"

#include <wx/dialog.h>

#include <vector>

class NewListCtrl;
class wxStaticText;

// The list of a table holds at most this many pixels of heading and rows; longer tables scroll.
inline constexpr int kTableMaxListHeight = 358;

// The "Table" dialog: a prompt over a list of the caller's rows, sortable by a click on a column
// heading when the caller gives sort kinds. Each row's id is its index in the caller's rows.
class TableDialog : public wxDialog
{
public:
    TableDialog(wxWindow* owner, const TableRequest& request);

    // The caller's index of the selected row, -1 for none.
    int SelectedRow() const;
    // column + 1 ascending, ~column descending, 0 unsorted.
    int SortState() const;
    // Sorts as a click on a heading does (a negative column sorts again by the present one).
    void SortByColumn(int column, bool ascending);
    // Stores placement and column widths under the request's key.
    void SavePlacement() const;

    NewListCtrl* List() const { return mList; }

private:
    void SizeColumnsAndList(int promptWidth);

    const TableRequest& mRequest;
    NewListCtrl* mList;
    AnchorList mAnchors;
};

int RunTableDialog(wxWindow* owner, TableRequest& request);
