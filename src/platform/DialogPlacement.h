#pragma once

#include "kernel/Registry.h"

class wxListCtrl;
class wxWindow;

// Dialog placement and list column widths kept between runs under the program's registry key and a
// sub-key per dialog: "DialogX", "DialogY", "DialogW", "DialogH" and "Column%d". Without a settings
// store, a company name or a stored value nothing changes.

// The program's company and profile names: the application's vendor and application names.
RegistryApp ProgramRegistryApp();

// Restore moves the window (and sizes it, when a size is stored) where it was saved.
void RestoreDialogPlacement(wxWindow* window, const char* subKey);
void SaveDialogPlacement(const wxWindow* window, const char* subKey);
void RestoreListColumnWidths(wxListCtrl* list, const char* subKey);
void SaveListColumnWidths(const wxListCtrl* list, const char* subKey);
