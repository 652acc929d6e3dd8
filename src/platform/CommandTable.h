#pragma once

#include <cstddef>
#include <string>
#include <vector>

class wxAcceleratorTable;
class wxMenu;
class wxMenuBar;

// The kinds of model a command works on.
inline constexpr int kCommandFor3DModel = 1;
inline constexpr int kCommandFor4DModel = 2;
inline constexpr int kCommandForAnyModel = kCommandFor3DModel | kCommandFor4DModel;

// How a command's menu text is reworded for the model shown and what is selected.
inline constexpr int kWordingNone = 0;
inline constexpr int kWordingFaceCell = 1;           // "face" becomes "cell" for a 4D model
inline constexpr int kWordingSelection = 2;          // names the kind of element selected
inline constexpr int kWordingSelectionNoVertex = 3;  // the same, a selected vertex aside
inline constexpr int kWordingTope = 4;               // "polyhedra" becomes "polytopes"

// When a command can be chosen: from the active pane's view type and the kind of model shown. The
// owner's update handler runs only for a command the rule enables and that asks for it; a checked
// command also while the rule greys it, for its mark.
struct CommandUpdateRule
{
    int viewFamilies = 0;  // the active pane's view-type code carries one of these bits; 0: any pane
    int modelKinds = kCommandForAnyModel;  // 0: never enabled
    bool ownerUpdates = false;  // the owner also checks, unchecks or renames the item
    bool checkable = false;     // the menu item carries a mark
    bool radio = false;         // the mark shows one of a set of exclusive choices
    int wording = kWordingNone;  // the menu text follows the model and the selection
};

// One command, declared once: menus, toolbars and accelerators are built from the table.
struct CommandInfo
{
    int id;
    // The pop-ups down to the item, joined by '>' ("&View>&Toolbars"); null for a command reached
    // only by its accelerator or a button.
    const char* menuPath;
    // The item text with its '&' mnemonic, then a tab and the accelerator ("&Layout 2\tCtrl+2").
    const char* text;
    const char* prompt;  // the status-bar help
    CommandUpdateRule update;
    const char* tooltip = nullptr;  // what the toolbar button says; the plain menu text when null
    const char* bitmap = nullptr;   // the name of its picture in the program's art
    // The feature the command waits for. While one is named the command is greyed and never runs;
    // the change that builds the feature removes the name and binds the command's handler.
    const char* waitsFor = nullptr;
    // The key after the tab is shown but belongs to another command (Esc) or to the panes' own key
    // handling (the arrows): the item does not take it. A range of keys ("Ctrl+1-6") never is one.
    bool keyShownOnly = false;
};

struct CommandTable
{
    const CommandInfo* entries = nullptr;
    size_t count = 0;

    // Null for an id the table does not hold.
    const CommandInfo* Find(int id) const;
};

bool CommandEnabledByRule(const CommandUpdateRule& rule, int activeViewType, bool model4D);
// The rule, and greyed while the command waits for its feature.
bool CommandEnabled(const CommandInfo& command, int activeViewType, bool model4D);

// The text after the tab ("Ctrl+2"), empty when the command has no accelerator.
std::string CommandAcceleratorText(const CommandInfo& command);
// The text before the tab without its '&' marks.
std::string CommandPlainText(const CommandInfo& command);
// The accelerator is shown in the command's item without being the item's key.
bool CommandKeyShownOnly(const CommandInfo& command);
// The text a menu item gets: the text before the tab, and the accelerator when the item takes it.
std::string CommandItemLabel(const CommandInfo& command, const std::string& label);

// The art client under which the program's pictures are asked for by name (wxArtProvider).
extern const char* const kCommandArtClient;

// The menu bar of the commands that have a menu path: pop-ups in order of first mention, items in
// table order; a null text makes a separator. A menu item brings its own accelerator. Separators
// left first, last or doubled are removed.
wxMenuBar* BuildMenuBar(const CommandTable& table);
// A pop-up menu of commands (0 for a separator) with their texts, pictures and marks; the update
// rules apply when it is shown through the main window.
wxMenu* BuildCommandMenu(const CommandTable& table, const std::vector<int>& ids);
// The accelerators of the commands that have no menu item.
wxAcceleratorTable BuildAcceleratorTable(const CommandTable& table);
