#pragma once

#include <string>

class wxFrame;

// The program's main window, as the toolkit's top window; null before it exists and after it is gone.
wxFrame* GetMainFrame();
// Sets the main window's title; nothing without a main window.
void SetMainWindowTitle(const std::string& text);
// The main window is minimised; false without one.
bool IsMainWindowMinimised();
