#pragma once

struct RegistryApp;
class wxTopLevelWindow;

// Show commands of the main window.
inline constexpr int kShowNormal = 5;
inline constexpr int kShowMaximised = 3;

// The main window's placement between runs: its normal rectangle (right and bottom exclusive) and
// the show command it starts with, kept in the "Settings" key as "WindowPosLeft", "WindowPosTop",
// "WindowPosRight", "WindowPosBottom" and "WindowIsMaximised".
struct WindowPlacement
{
    int left = 20;
    int top = 20;
    int right = 200;
    int bottom = 200;
};

// What is applied at start: the last placement read.
WindowPlacement& StoredWindowPlacement();
// The show command the main window starts with.
int& MainWindowShowCommand();

// The rectangle of the given size centred on a desktop of that size, each size at most the desktop
// less 64 pixels; halves truncate toward zero.
WindowPlacement CentredPlacement(int desktopLeft, int desktopTop, int desktopRight, int desktopBottom, int width,
                                 int height);

// Reads the stored placement, defaulting to a window of the given size centred on the desktop; a
// stored maximised state makes the show command maximised, else normal. Nothing happens without a
// company key.
void LoadWindowPlacement(const RegistryApp& app, int defaultWidth, int defaultHeight);
// Gives the window the stored rectangle, then maximises it when the show command says so.
void ApplyWindowPlacement(wxTopLevelWindow& window);
// Stores the normal rectangle the window has (or had before it was maximised) and its state.
void SaveWindowPlacement(const RegistryApp& app, const WindowPlacement& normal, bool maximised);
