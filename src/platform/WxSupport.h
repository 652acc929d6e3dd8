#pragma once

#include <string>

// Toolkit set-up that the program needs before and right after wxWidgets starts.

// Our GL canvases need GLX: on a Wayland desktop run through XWayland. Call before wxWidgets starts.
void PreferX11Backend();

// wxLog messages and failed wx asserts go to stderr, never to modal dialogs. With the environment
// variable ORVANE_FATAL_ASSERTS set (the GUI tests set it) a failed assert also aborts.
void InstallStderrDiagnostics();

// Menu icons show on GTK only when the "gtk-menu-images" setting is on.
void EnableMenuImages();

class wxMenuItem;

// GTK takes whatever follows the tab of a menu text for the item's key. An item that names a key
// belonging to another command, or a range of keys such as "Ctrl+1-6" (which would become Ctrl+6),
// is made without it; this shows the text at the item's right edge, where keys stand, without
// making it the item's key.
void ShowMenuItemKeyText(wxMenuItem* item, const std::string& keys);
