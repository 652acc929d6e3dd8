#include "platform/SelectItemDialog.h"

#include "platform/DialogUtils.h"

#include <wx/button.h>
#include <wx/checklst.h>
#include <wx/settings.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <algorithm>

namespace
{
constexpr int kMargin = 10;
}  // namespace

SelectItemDialog::SelectItemDialog(wxWindow* owner, const std::string& prompt, const std::vector<std::string>& items,
                                   const std::vector<int>& ticked)
    : wxDialog(owner, wxID_ANY, "Select one item from list")
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    top->Add(new wxStaticText(this, wxID_ANY, wxString::FromUTF8(prompt)), 0, wxLEFT | wxRIGHT | wxTOP, kMargin);
    mList = new wxCheckListBox(this, wxID_ANY);
    int widest = MeasureTextGuiFont(this, prompt, 3).x;
    for (size_t i = 0; i < items.size(); ++i)
    {
        mList->Append(wxString::FromUTF8(items[i]));
        widest = std::max(widest, MeasureTextGuiFont(this, items[i], 3).x);
        if (std::find(ticked.begin(), ticked.end(), int(i)) != ticked.end())
            mList->Check(unsigned(i));
    }
    // Wide enough for the prompt and every entry beside a check box and a scroll bar.
    const int extra = 2 * GetCharHeight() + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, this);
    mList->SetMinSize(wxSize(widest + extra, GetCharHeight() * std::clamp(int(items.size()) + 1, 4, 16)));
    top->Add(mList, 1, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kMargin);

    auto* choices = new wxBoxSizer(wxHORIZONTAL);
    auto* all = new wxButton(this, wxID_ANY, "Select All");
    auto* none = new wxButton(this, wxID_ANY, "Select None");
    choices->Add(all, 0, wxRIGHT, kMargin);
    choices->Add(none);
    top->Add(choices, 0, wxLEFT | wxRIGHT | wxTOP, kMargin);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, kMargin);
    SetSizerAndFit(top);
    CentreOnScreen();

    all->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { TickAll(true); });
    none->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { TickAll(false); });
}

std::vector<int> SelectItemDialog::Ticked() const
{
    std::vector<int> ticked;
    for (unsigned i = 0; i < mList->GetCount(); ++i)
        if (mList->IsChecked(i))
            ticked.push_back(int(i));
    return ticked;
}

void SelectItemDialog::TickAll(bool tick)
{
    for (unsigned i = 0; i < mList->GetCount(); ++i)
        mList->Check(i, tick);
}

int SelectItemsFromList(const std::string& prompt, const std::vector<std::string>& items,
                        const std::vector<int>& ticked, std::vector<int>& result)
{
    SelectItemDialog dialog(nullptr, prompt, items, ticked);
    if (dialog.ShowModal() != wxID_OK)
        return -1;
    result = dialog.Ticked();
    return int(result.size());
}
