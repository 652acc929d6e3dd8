#pragma once

// Toolkit set-up that the program needs before and right after wxWidgets starts.

// Our GL canvases need GLX: on a Wayland desktop run through XWayland. Call before wxWidgets starts.
void PreferX11Backend();

// wxLog messages and failed wx asserts go to stderr, never to modal dialogs. With the environment
// variable ORVANE_FATAL_ASSERTS set (the GUI tests set it) a failed assert also aborts.
void InstallStderrDiagnostics();

// Menu icons show on GTK only when the "gtk-menu-images" setting is on.
void EnableMenuImages();
