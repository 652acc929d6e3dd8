#include "platform/CommandTable.h"

#include "platform/WxSupport.h"

#include <wx/accel.h>
#include <wx/menu.h>

#include <cctype>
#include <cstring>
#include <vector>

namespace
{
std::string Before(const char* text, char stop)
{
    std::string out;
    for (const char* p = text; p && *p && *p != stop; ++p)
        out += *p;
    return out;
}

std::string WithoutMnemonics(const std::string& text)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i)
    {
        // "&&" is a literal ampersand.
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] == '&')
            out += text[++i];
        else if (text[i] != '&')
            out += text[i];
    }
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

bool FindPath(const wxMenu* menu, int id, std::string& path)
{
    for (const wxMenuItem* item : menu->GetMenuItems())
    {
        const std::string text = item->GetItemLabelText().utf8_string();
        if (item->GetSubMenu())
        {
            std::string rest;
            if (FindPath(item->GetSubMenu(), id, rest))
            {
                path = text + "->" + rest;
                return true;
            }
        }
        else if (item->GetId() == id)
        {
            path = text;
            return true;
        }
    }
    return false;
}
}  // namespace

const CommandInfo* CommandTable::Find(int id) const
{
    for (size_t i = 0; i < count; ++i)
        if (entries[i].id == id)
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

std::string CommandAcceleratorText(const CommandInfo& command)
{
    const char* tab = command.text ? std::strchr(command.text, '\t') : nullptr;
    return tab ? std::string(tab + 1) : std::string();
}

std::string CommandPlainText(const CommandInfo& command)
{
    return WithoutMnemonics(Before(command.text, '\t'));
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
        const wxString top = wxString::FromUTF8(parts[0]);
        const int index = bar->FindMenu(WithoutMnemonics(parts[0]));
        wxMenu* menu = index != wxNOT_FOUND ? bar->GetMenu(size_t(index)) : nullptr;
        if (!menu)
        {
            menu = new wxMenu();
            bar->Append(menu, top);
        }
        for (size_t p = 1; p < parts.size(); ++p)
            menu = SubMenu(menu, parts[p]);
        if (!c.text)
        {
            menu->AppendSeparator();
            continue;
        }
        const std::string keys = CommandAcceleratorText(c);
        const bool keyRange = IsKeyRange(keys);
        wxMenuItem* item = menu->Append(c.id, wxString::FromUTF8(keyRange ? Before(c.text, '\t') : c.text),
                                        wxString::FromUTF8(c.prompt ? c.prompt : ""),
                                        c.update.checkable ? wxITEM_CHECK : wxITEM_NORMAL);
        if (keyRange)
            ShowMenuItemKeyText(item, keys);
    }
    return bar;
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

std::string GetCommandMenuPath(const wxMenuBar* menuBar, int id)
{
    if (!menuBar)
        return std::string();
    for (size_t i = 0; i < menuBar->GetMenuCount(); ++i)
    {
        std::string rest;
        if (FindPath(menuBar->GetMenu(i), id, rest))
            return menuBar->GetMenuLabelText(i).utf8_string() + "->" + rest;
    }
    return std::string();
}
