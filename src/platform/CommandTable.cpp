#include "platform/CommandTable.h"

#include "platform/IconMenu.h"
#include "platform/MenuPictureChecks.h"
#include "platform/WxSupport.h"

#include <wx/accel.h>
#include <wx/artprov.h>
#include <wx/menu.h>

#include <cctype>
#include <cstring>

// The toolkit asks that art clients end in "C".
const char* const kCommandArtClient = "ORVANE_COMMAND_C";

namespace
{
std::string Before(const char* text, char stop)
{
    std::string out;
    for (const char* p = text; p && *p && *p != stop; ++p)
        out += *p;
    return out;
}

// "Ctrl+1-6": a range of keys, each a command of its own, named in one item.
bool IsKeyRange(const std::string& keys)
{
    for (size_t i = 1; i + 1 < keys.size(); ++i)
        if (keys[i] == '-' && std::isdigit(static_cast<unsigned char>(keys[i - 1])) &&
            std::isdigit(static_cast<unsigned char>(keys[i + 1])))
            return true;
    return false;
}

std::vector<std::string> SplitPath(const char* path)
{
    std::vector<std::string> parts(1);
    for (const char* p = path; *p; ++p)
    {
        if (*p == '>')
            parts.emplace_back();
        else
            parts.back() += *p;
    }
    return parts;
}

// The pop-up of that text in the menu, made at the end when missing.
wxMenu* SubMenu(wxMenu* menu, const std::string& text)
{
    for (wxMenuItem* item : menu->GetMenuItems())
        if (item->GetSubMenu() && item->GetItemLabel().utf8_string() == text)
            return item->GetSubMenu();
    auto* sub = new wxMenu();
    menu->AppendSubMenu(sub, wxString::FromUTF8(text));
    return sub;
}

void AppendCommand(wxMenu* menu, const CommandInfo& c)
{
    const std::string keys = CommandAcceleratorText(c);
    const wxBitmap picture =
        c.bitmap ? wxArtProvider::GetBitmap(c.bitmap, kCommandArtClient, wxSize(16, 16)) : wxBitmap();
    // Marks are checks even for exclusive choices: this toolkit's radio groups cannot show none
    // chosen, which several of the program's sets of choices can. A marked command with a picture
    // shows its mark on the picture.
    const bool pictureCheck = c.update.checkable && picture.IsOk();
    auto* item = new wxMenuItem(menu, c.id, wxString::FromUTF8(CommandItemLabel(c, Before(c.text, '\t'))),
                                wxString::FromUTF8(c.prompt ? c.prompt : ""),
                                c.update.checkable && !pictureCheck ? wxITEM_CHECK : wxITEM_NORMAL);
    if (picture.IsOk())
        item->SetBitmap(picture);
    menu->Append(item);
    if (pictureCheck)
        MakePictureCheckItem(item, picture);
    if (CommandKeyShownOnly(c))
        ShowMenuItemKeyText(item, keys);
}
}  // namespace

const CommandInfo* CommandTable::Find(int id) const
{
    for (size_t i = 0; i < count; ++i)
        if (entries[i].id == id && entries[i].text)
            return &entries[i];
    return nullptr;
}

bool CommandEnabledByRule(const CommandUpdateRule& rule, int activeViewType, bool model4D)
{
    if (!(rule.modelKinds & (model4D ? kCommandFor4DModel : kCommandFor3DModel)))
        return false;
    if (rule.viewFamilies == 0)
        return true;
    return activeViewType >= 0 && (activeViewType & rule.viewFamilies) != 0;
}

bool CommandEnabled(const CommandInfo& command, int activeViewType, bool model4D)
{
    return !command.waitsFor && CommandEnabledByRule(command.update, activeViewType, model4D);
}

std::string CommandAcceleratorText(const CommandInfo& command)
{
    const char* tab = command.text ? std::strchr(command.text, '\t') : nullptr;
    return tab ? std::string(tab + 1) : std::string();
}

std::string CommandPlainText(const CommandInfo& command)
{
    return IconMenu::GetPlainItemText(Before(command.text, '\t'));
}

bool CommandKeyShownOnly(const CommandInfo& command)
{
    const std::string keys = CommandAcceleratorText(command);
    return !keys.empty() && (command.keyShownOnly || IsKeyRange(keys));
}

std::string CommandItemLabel(const CommandInfo& command, const std::string& label)
{
    const std::string keys = CommandAcceleratorText(command);
    if (keys.empty() || CommandKeyShownOnly(command))
        return label;
    return label + '\t' + keys;
}

wxMenuBar* BuildMenuBar(const CommandTable& table)
{
    auto* bar = new wxMenuBar();
    for (size_t i = 0; i < table.count; ++i)
    {
        const CommandInfo& c = table.entries[i];
        if (!c.menuPath)
            continue;
        const std::vector<std::string> parts = SplitPath(c.menuPath);
        wxMenu* menu = nullptr;
        for (size_t m = 0; m < bar->GetMenuCount() && !menu; ++m)
            if (bar->GetMenuLabel(m).utf8_string() == parts[0])
                menu = bar->GetMenu(m);
        if (!menu)
        {
            menu = new wxMenu();
            bar->Append(menu, wxString::FromUTF8(parts[0]));
        }
        for (size_t p = 1; p < parts.size(); ++p)
            menu = SubMenu(menu, parts[p]);
        if (!c.text)
            menu->AppendSeparator();
        else
            AppendCommand(menu, c);
    }
    IconMenu::RemoveRedundantItems(bar);
    return bar;
}

wxMenu* BuildCommandMenu(const CommandTable& table, const std::vector<int>& ids)
{
    auto* menu = new wxMenu();
    for (int id : ids)
    {
        if (id == 0)
            menu->AppendSeparator();
        else if (const CommandInfo* c = table.Find(id))
            AppendCommand(menu, *c);
    }
    IconMenu::RemoveRedundantItems(menu);
    return menu;
}

wxAcceleratorTable BuildAcceleratorTable(const CommandTable& table)
{
    std::vector<wxAcceleratorEntry> entries;
    for (size_t i = 0; i < table.count; ++i)
    {
        const CommandInfo& c = table.entries[i];
        const std::string keys = CommandAcceleratorText(c);
        if (c.menuPath || keys.empty())
            continue;
        wxAcceleratorEntry entry;
        if (entry.FromString(wxString::FromUTF8(keys)))
        {
            entry.Set(entry.GetFlags(), entry.GetKeyCode(), c.id);
            entries.push_back(entry);
        }
    }
    return wxAcceleratorTable(int(entries.size()), entries.data());
}
