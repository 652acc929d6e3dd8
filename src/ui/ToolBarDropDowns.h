#pragma once

#include "platform/ToolBarEx.h"

#include <functional>
#include <vector>

class wxMenu;

// A toolbar of the main window with the drop-down menus its buttons open on a right click. Owned
// by the main window.
class MainWindowToolBar : public CToolBarEx
{
public:
    MainWindowToolBar(wxWindow* parent, wxWindow* target) : CToolBarEx(parent, wxID_ANY, target) {}
    void OnDropDown(int command) override;
    // Makes the bar's combo boxes; false when one cannot be made.
    virtual bool AddCombos() { return true; }
    // Puts the next of them on the bar, where the design has a combo place.
    virtual void AddNextCombo() {}
};

// The commands of a button's drop-down menu (0 for a separator); empty when the button has none or
// has none for this model. Undo and Redo are not here: their menus are the undo history.
std::vector<int> GetDropDownCommands(int command, bool model4D);

// Undoes (or redoes) up to count steps under progress; a cancel stops it. Answers the steps taken.
int RunUndoHistorySteps(bool undoSide, int count);

// Test hook: instead of tracking the menu, the hook is shown the updated menu and answers the
// chosen id (wxID_NONE for none). Null restores the tracking.
using DropDownChooser = std::function<int(wxMenu& menu, int command)>;
void SetDropDownChooser(DropDownChooser chooser);
const DropDownChooser& GetDropDownChooser();
