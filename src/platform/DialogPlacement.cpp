#include "platform/DialogPlacement.h"

#include "platform/DialogUtils.h"

#include <wx/app.h>
#include <wx/listctrl.h>

#include <string>

RegistryApp ProgramRegistryApp()
{
    if (!wxTheApp)
        return RegistryApp();
    return RegistryApp{wxTheApp->GetVendorName().utf8_string(), wxTheApp->GetAppName().utf8_string()};
}

void RestoreDialogPlacement(wxWindow* window, const char* subKey)
{
    RegKeyPtr key = OpenRegKey(ProgramRegistryApp(), nullptr, subKey);
    int position[2] = {-1, -1};
    int size[2] = {0, 0};
    if (!window || !RegReadInt(key.get(), "DialogX", position[0]) || !RegReadInt(key.get(), "DialogY", position[1]))
        return;
    if (!RegReadInt(key.get(), "DialogW", size[0]) || !RegReadInt(key.get(), "DialogH", size[1]))
        size[0] = 0;
    PlaceDialog(window, position, size);
}

void SaveDialogPlacement(const wxWindow* window, const char* subKey)
{
    if (!window)
        return;
    int position[2];
    int size[2];
    GetWindowPosSize(window, position, size);
    RegKeyPtr key = CreateRegKey(ProgramRegistryApp(), nullptr, subKey);
    RegWriteInt(key.get(), "DialogX", position[0]);
    RegWriteInt(key.get(), "DialogY", position[1]);
    RegWriteInt(key.get(), "DialogW", size[0]);
    RegWriteInt(key.get(), "DialogH", size[1]);
}

void RestoreListColumnWidths(wxListCtrl* list, const char* subKey)
{
    RegKeyPtr key = OpenRegKey(ProgramRegistryApp(), nullptr, subKey);
    if (!list || !key)
        return;
    for (int c = 0; c < list->GetColumnCount(); ++c)
    {
        int width = 0;
        if (RegReadInt(key.get(), ("Column" + std::to_string(c)).c_str(), width) && width > 0)
            list->SetColumnWidth(c, width);
    }
}

void SaveListColumnWidths(const wxListCtrl* list, const char* subKey)
{
    if (!list)
        return;
    RegKeyPtr key = CreateRegKey(ProgramRegistryApp(), nullptr, subKey);
    for (int c = 0; c < list->GetColumnCount(); ++c)
        RegWriteInt(key.get(), ("Column" + std::to_string(c)).c_str(), list->GetColumnWidth(c));
}
