#pragma once

#include <string>

class wxMenu;
class wxMenuBar;

// What the program needs of its menus beyond the toolkit's own: plain item texts and the path to
// a command for messages, and tidying after items were taken out. The menus themselves are the
// toolkit's, with the toolbar pictures on their items (platform/CommandTable.h).
class IconMenu
{
public:
    IconMenu() = delete;

    // The text without its key (cut at a tab or a written "\t"), trailing blanks and a trailing "..."
    // (on a text longer than three characters); each '&' that another '&' does not follow goes.
    static std::string GetPlainItemText(const std::string& text);

    // The plain texts of the pop-ups down to the command's item and of the item, joined by "->";
    // false when no item has the id.
    static bool GetCommandPath(const wxMenuBar* bar, int id, std::string& path);
    static bool GetCommandPath(const wxMenu* menu, int id, std::string& path);

    // Deletes the first item of the command (a pop-up with everything in it); false when none.
    static bool DeleteItem(wxMenuBar* bar, int id);
    static bool DeleteItem(wxMenu* menu, int id);

    // Deletes pop-ups left empty, separators first, last or next to another, at every depth; an
    // empty pop-up of the menu bar goes too.
    static void RemoveRedundantItems(wxMenu* menu);
    static void RemoveRedundantItems(wxMenuBar* bar);
};
