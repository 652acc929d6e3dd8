#pragma once

#include <wx/aui/auibar.h>

#include <functional>
#include <string>
#include <vector>

// A toolbar of the main window on the toolkit's dockable toolbar: the toolkit draws the hot,
// checked and disabled looks and the grippers, and packs docked bars. What this class adds: a right
// click on an enabled button asks for that button's drop-down menu, commands and update events of a
// floating bar reach the main window as those of a docked one do, and the tips are asked again at
// every update pass. Owned by its frame.
class CToolBarEx : public wxAuiToolBar
{
public:
    using TipSource = std::function<std::string(int command)>;

    // The bar's commands go to target, the main window, wherever the bar is docked or floats.
    CToolBarEx(wxWindow* parent, wxWindowID id, wxWindow* target);

    // The drop-down menu of the button of the command, asked by a right click on it while it is
    // enabled. This bar has none.
    virtual void OnDropDown(int command);

    // Each button's tip comes from the source at every update pass.
    void SetTipSource(TipSource source) { mTips = std::move(source); }
    // One update pass now: every button enabled, checked and tipped as its command says.
    void UpdateButtons();
    // The command ids of the buttons in order, 0 for a separator.
    std::vector<int> GetButtonCommands() const;

    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;

private:
    void OnRightDown(wxMouseEvent& event);
    void OnCommandOrUpdate(wxCommandEvent& event);
    void RefreshTips();

    wxWindow* mTarget;
    TipSource mTips;
};
