#pragma once

#include "ui/AppSceneHost.h"
#include "ui/NewFrame.h"

#include <string>

// The main window: the menu built from the command table, the pane layouts with the view type each
// layout's panes showed last, and the orderly shut-down of the program. Made once by the
// application at start-up for the one document.
class CMainFrame : public NewFrame
{
public:
    // Without a pane factory the panes are the program's model panes.
    explicit CMainFrame(CPolyDoc* document, PaneFactory factory = PaneFactory());
    ~CMainFrame() override;

    // The whole program's shut-down; a second request while one runs is refused.
    bool CloseApplication() override;
    // Switches the pane layout: each layout keeps the view types of its panes, and the views keep
    // their stereo mode and 4D state across the switch.
    void SetLayout(int layout) override;

    // The status-bar prompt of a command and the tip of its toolbar button, reworded for the model
    // and the selection where the command's text names them; empty for a command without one.
    static std::string GetMessageString(int command);
    static std::string GetToolTipString(int command);

private:
    void OnMenuHighlight(wxMenuEvent& event);
    // Test hook: with ORVANE_FIRST_FRAME_PPM set, save the first frame there and close.
    void ArmFirstFrameCapture(const char* path);

    // The panes and layout as model files see them, installed while the frame lives.
    AppSceneHost mSceneHost;
    SceneHost* mPreviousSceneHost = nullptr;
    bool mClosing = false;
    bool mFirstFrameSaved = false;
};

// The stereo mode of the first view: 0 none, 1 and 2 side by side, 3 to 8 coloured glasses, -1
// another kind; 0 without a view.
int GetStereoMode();
// A mode 0..8 for every view.
void SetStereoModeInAllViews(int mode);
// Where a command lives in the main window's menu ("File->Exit"); empty when it is not there.
std::string GetCommandMenuText(int command);
