#pragma once

#include <wx/frame.h>

class GLCanvasWindow;

// The main window: for now one model pane and the status bar.
class CMainFrame : public wxFrame
{
public:
    CMainFrame();

private:
    // Test hook: with ORVANE_FIRST_FRAME_PPM set, save the first frame there and close.
    void ArmFirstFrameCapture(const char* path);

    GLCanvasWindow* mPane;
    bool mFirstFrameSaved = false;
};
