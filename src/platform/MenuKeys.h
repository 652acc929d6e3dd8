#pragma once

class wxFrame;
class wxKeyEvent;

// Works around GTK's menus never seeing a key without Ctrl or Alt (a letter or digit, maybe with
// Shift) while a canvas has the focus: the canvas's input method takes printable keys first. Called
// for the frame's char-hook event: runs the enabled menu item whose accelerator the key is, and
// answers whether it did.
bool RunPlainMenuAccelerator(wxFrame& frame, const wxKeyEvent& event);
