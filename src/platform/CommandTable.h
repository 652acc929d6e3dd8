#pragma once

#include <cstddef>
#include <string>

class wxAcceleratorTable;
class wxMenuBar;

// The kinds of model a command works on.
inline constexpr int kCommandFor3DModel = 1;
inline constexpr int kCommandFor4DModel = 2;
inline constexpr int kCommandForAnyModel = kCommandFor3DModel | kCommandFor4DModel;
// For no model: the item stays greyed until the feature behind it lands.
inline constexpr int kCommandNotBuilt = 0;

// When a command can be chosen: from the active pane's view type and the kind of model shown. The
// owner's update handler runs only for a command the rule enables and that asks for it.
struct CommandUpdateRule
{
    int viewFamilies = 0;  // the active pane's view-type code carries one of these bits; 0: any pane
    int modelKinds = kCommandForAnyModel;
    bool ownerUpdates = false;  // the owner also checks, unchecks or renames the item
    bool checkable = false;     // the menu item carries a check mark
};

// One command, declared once: menus, toolbars and accelerators are built from the table.
struct CommandInfo
{
    int id;
    // The pop-ups down to the item, joined by '>' ("View>Toolbars"); null for a command reached
    // only by its accelerator or a button.
    const char* menuPath;
    // The item text with its '&' mnemonic, then a tab and the accelerator ("&Layout 2\tCtrl+2").
    const char* text;
    const char* prompt;  // the status-bar help
    CommandUpdateRule update;
};

struct CommandTable
{
    const CommandInfo* entries = nullptr;
    size_t count = 0;

    // Null for an id the table does not hold.
    const CommandInfo* Find(int id) const;
};

bool CommandEnabledByRule(const CommandUpdateRule& rule, int activeViewType, bool model4D);

// The text after the tab ("Ctrl+2"), empty when the command has no accelerator.
std::string CommandAcceleratorText(const CommandInfo& command);
// The text before the tab without its '&' marks.
std::string CommandPlainText(const CommandInfo& command);

// The menu bar of the commands that have a menu path: pop-ups in order of first mention, items in
// table order; a null text makes a separator. A menu item brings its own accelerator.
wxMenuBar* BuildMenuBar(const CommandTable& table);
// The accelerators of the commands that have no menu item.
wxAcceleratorTable BuildAcceleratorTable(const CommandTable& table);

// Where a command lives in a menu bar: the pop-up texts and the item's, without '&' marks and
// accelerators, joined by "->"; empty when no item has the id.
std::string GetCommandMenuPath(const wxMenuBar* menuBar, int id);
