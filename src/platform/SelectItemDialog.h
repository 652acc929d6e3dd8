#pragma once

#include <wx/dialog.h>

#include <string>
#include <vector>

class wxCheckListBox;

// Ticks any number of the entries of a list, with "Select All" and "Select None".
class SelectItemDialog : public wxDialog
{
public:
    SelectItemDialog(wxWindow* owner, const std::string& prompt, const std::vector<std::string>& items,
                     const std::vector<int>& ticked);

    // The indices of the ticked entries in list order.
    std::vector<int> Ticked() const;
    wxCheckListBox* List() const { return mList; }

private:
    void TickAll(bool tick);

    wxCheckListBox* mList;
};

// Runs the dialog without an owner, starting with the given indices ticked. On OK the result holds
// the ticked indices in list order and their count is returned; on Cancel -1, the result as it was.
int SelectItemsFromList(const std::string& prompt, const std::vector<std::string>& items,
                        const std::vector<int>& ticked, std::vector<int>& result);
