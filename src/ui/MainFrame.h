#pragma once

#include <wx/frame.h>

class OpenGLView;

// The main window: for now one model pane and the status bar.
class CMainFrame : public wxFrame
{
public:
    CMainFrame();

private:
    // The views' mouse hints on the status bar.
    static void ShowMouseHints(const char* left, const char* right, const char* both);

    // Test hook: with ORVANE_FIRST_FRAME_PPM set, save the first frame there and close.
    void ArmFirstFrameCapture(const char* path);

    OpenGLView* mPane;
    bool mFirstFrameSaved = false;
};
