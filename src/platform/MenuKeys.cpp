#include "platform/MenuKeys.h"

#include <wx/accel.h>
#include <wx/event.h>
#include <wx/frame.h>
#include <wx/menu.h>

#include <memory>

namespace
{
// The enabled item of the menu (or its submenus) that the key with those flags runs; 0 for none.
int FindAcceleratorItem(const wxMenu& menu, int flags, int keyCode)
{
    for (const wxMenuItem* item : menu.GetMenuItems())
    {
        if (const wxMenu* sub = item->GetSubMenu())
        {
            if (const int id = FindAcceleratorItem(*sub, flags, keyCode))
                return id;
            continue;
        }
        const std::unique_ptr<wxAcceleratorEntry> accel(item->GetAccel());
        if (accel && item->IsEnabled() && accel->GetFlags() == flags && accel->GetKeyCode() == keyCode)
            return item->GetId();
    }
    return 0;
}
}  // namespace

bool RunPlainMenuAccelerator(wxFrame& frame, const wxKeyEvent& event)
{
    const int modifiers = event.GetModifiers();
    if (modifiers & ~wxMOD_SHIFT)
        return false;
    int keyCode = event.GetKeyCode();
    if (keyCode >= 'a' && keyCode <= 'z')
        keyCode += 'A' - 'a';
    if (!((keyCode >= 'A' && keyCode <= 'Z') || (keyCode >= '0' && keyCode <= '9')))
        return false;
    const wxMenuBar* bar = frame.GetMenuBar();
    if (!bar)
        return false;
    const int flags = (modifiers & wxMOD_SHIFT) ? wxACCEL_SHIFT : wxACCEL_NORMAL;
    for (size_t i = 0; i < bar->GetMenuCount(); ++i)
    {
        if (const int id = FindAcceleratorItem(*bar->GetMenu(i), flags, keyCode))
        {
            wxCommandEvent command(wxEVT_MENU, id);
            command.SetEventObject(&frame);
            frame.ProcessWindowEvent(command);
            return true;
        }
    }
    return false;
}
