#include "platform/WindowPlacement.h"

#include "kernel/Registry.h"

#include <wx/display.h>
#include <wx/toplevel.h>

#include <algorithm>

WindowPlacement& StoredWindowPlacement()
{
    static WindowPlacement placement;
    return placement;
}

int& MainWindowShowCommand()
{
    static int command = kShowNormal;
    return command;
}

WindowPlacement CentredPlacement(int desktopLeft, int desktopTop, int desktopRight, int desktopBottom, int width,
                                 int height)
{
    const int w = std::min(width, desktopRight - desktopLeft - 64);
    const int h = std::min(height, desktopBottom - desktopTop - 64);
    const int cx = (desktopLeft + desktopRight) / 2;
    const int cy = (desktopTop + desktopBottom) / 2;
    return WindowPlacement{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
}

void LoadWindowPlacement(const RegistryApp& app, int defaultWidth, int defaultHeight)
{
    if (app.companyKey.empty())
        return;
    const wxRect desktop = wxDisplay(0u).GetGeometry();
    WindowPlacement p = CentredPlacement(desktop.GetLeft(), desktop.GetTop(), desktop.GetLeft() + desktop.GetWidth(),
                                         desktop.GetTop() + desktop.GetHeight(), defaultWidth, defaultHeight);
    RegKeyPtr key = OpenRegKey(app, nullptr, "Settings");
    RegReadInt(key.get(), "WindowPosLeft", p.left);
    RegReadInt(key.get(), "WindowPosTop", p.top);
    RegReadInt(key.get(), "WindowPosRight", p.right);
    RegReadInt(key.get(), "WindowPosBottom", p.bottom);
    int maximised = MainWindowShowCommand() == kShowMaximised ? 1 : 0;
    RegReadInt(key.get(), "WindowIsMaximised", maximised);
    StoredWindowPlacement() = p;
    MainWindowShowCommand() = maximised ? kShowMaximised : kShowNormal;
}

void ApplyWindowPlacement(wxTopLevelWindow& window)
{
    const WindowPlacement& p = StoredWindowPlacement();
    window.SetSize(p.left, p.top, p.right - p.left, p.bottom - p.top);
    if (MainWindowShowCommand() == kShowMaximised)
        window.Maximize(true);
}

void SaveWindowPlacement(const RegistryApp& app, const WindowPlacement& normal, bool maximised)
{
    if (app.companyKey.empty())
        return;
    RegKeyPtr key = CreateRegKey(app, nullptr, "Settings");
    RegWriteInt(key.get(), "WindowPosLeft", normal.left);
    RegWriteInt(key.get(), "WindowPosTop", normal.top);
    RegWriteInt(key.get(), "WindowPosRight", normal.right);
    RegWriteInt(key.get(), "WindowPosBottom", normal.bottom);
    RegWriteInt(key.get(), "WindowIsMaximised", maximised ? 1 : 0);
}
