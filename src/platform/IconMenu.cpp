#include "platform/IconMenu.h"

#include <wx/menu.h>

std::string IconMenu::GetPlainItemText(const std::string& text)
{
    std::string label = text;
    for (size_t i = 0; i < label.size(); ++i)
        if (label[i] == '\t' || (label[i] == '\\' && i + 1 < label.size() && label[i + 1] == 't'))
        {
            label.resize(i);
            break;
        }
    while (!label.empty() && label.back() == ' ')
        label.pop_back();
    if (label.size() > 3 && label.compare(label.size() - 3, 3, "...") == 0)
        label.resize(label.size() - 3);
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i)
        if (label[i] != '&' || (i + 1 < label.size() && label[i + 1] == '&'))
            plain += label[i];
    return plain;
}

bool IconMenu::GetCommandPath(const wxMenu* menu, int id, std::string& path)
{
    if (!menu)
        return false;
    for (const wxMenuItem* item : menu->GetMenuItems())
    {
        const std::string text = GetPlainItemText(item->GetItemLabel().utf8_string());
        if (const wxMenu* sub = item->GetSubMenu())
        {
            std::string rest;
            if (GetCommandPath(sub, id, rest))
            {
                path = text + "->" + rest;
                return true;
            }
        }
        else if (item->GetId() == id && !item->IsSeparator())
        {
            path = text;
            return true;
        }
    }
    return false;
}

bool IconMenu::GetCommandPath(const wxMenuBar* bar, int id, std::string& path)
{
    if (!bar)
        return false;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
    {
        std::string rest;
        if (GetCommandPath(bar->GetMenu(i), id, rest))
        {
            path = GetPlainItemText(bar->GetMenuLabel(i).utf8_string()) + "->" + rest;
            return true;
        }
    }
    return false;
}

bool IconMenu::DeleteItem(wxMenu* menu, int id)
{
    if (!menu)
        return false;
    for (wxMenuItem* item : menu->GetMenuItems())
    {
        if (item->GetId() == id && !item->IsSeparator())
        {
            menu->Destroy(item);
            return true;
        }
        if (DeleteItem(item->GetSubMenu(), id))
            return true;
    }
    return false;
}

bool IconMenu::DeleteItem(wxMenuBar* bar, int id)
{
    for (size_t i = 0; bar && i < bar->GetMenuCount(); ++i)
        if (DeleteItem(bar->GetMenu(i), id))
            return true;
    return false;
}

void IconMenu::RemoveRedundantItems(wxMenu* menu)
{
    if (!menu)
        return;
    bool separatorOrEndFollows = true;
    for (size_t i = menu->GetMenuItemCount(); i-- > 0;)
    {
        wxMenuItem* item = menu->FindItemByPosition(i);
        if (wxMenu* sub = item->GetSubMenu())
        {
            RemoveRedundantItems(sub);
            if (sub->GetMenuItemCount() == 0)
            {
                menu->Destroy(item);
                continue;
            }
            separatorOrEndFollows = false;
        }
        else if (item->IsSeparator())
        {
            if (separatorOrEndFollows)
            {
                menu->Destroy(item);
                continue;
            }
            separatorOrEndFollows = true;
        }
        else
            separatorOrEndFollows = false;
    }
    if (menu->GetMenuItemCount() > 0 && menu->FindItemByPosition(0)->IsSeparator())
        menu->Destroy(menu->FindItemByPosition(0));
}

void IconMenu::RemoveRedundantItems(wxMenuBar* bar)
{
    if (!bar)
        return;
    for (size_t i = bar->GetMenuCount(); i-- > 0;)
    {
        RemoveRedundantItems(bar->GetMenu(i));
        if (bar->GetMenu(i)->GetMenuItemCount() == 0)
            delete bar->Remove(i);
    }
}
