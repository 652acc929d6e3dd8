#pragma once

#include <string>

// What a mouse event in a model pane does is one number, the action code (0 to 67): it follows
// from the buttons and keys held, the mouse selection mode, the pane's view type and the state of
// the model. Code 0 hands the event to the camera navigation of the pane.
struct MouseActionInput
{
    int buttons = 0;  // NewView::kLeftButton, kMiddleButton (left and right together), kRightButton
    int keys = 0;     // NewView::kShift, kCtrl, kSpaceBar
    int mode = 0;     // the mouse selection mode (kMouseMode...)
    int viewType = -1;
    bool depth = false;    // the pane draws a 3D scene
    bool model4D = false;  // the model has a 4D polytope
    // A face is selected whose stellation diagram shows in its place, on the side the pane shows.
    bool diagramSelection = false;
    // The pane reacts to the section depth in the current mode.
    bool sectionTarget = false;
    // The pane picks edges and vertices rather than faces.
    bool picksItems = false;
    // The pane previews an augmentation in progress, and the source bits of the solid being added
    // (1 pyramid, 2 cupola, 4 prism, 8 antiprism).
    bool augmentPreview = false;
    int augmentSource = 0;
    // Image mode: the projection of the selected face's image, -1 without one.
    int imageProjection = -1;
};

int ComputeMouseAction(const MouseActionInput& in);

// Mode 3 in a pane that can show measurements.
bool IsMeasureViewType(int mode, int viewType, bool depth);

// The actions a pane carries out now; the others are computed but do nothing yet.
bool IsMouseActionBuilt(int code);

// What the words of a hint follow.
struct MouseHintContext
{
    bool model4D = false;
    // The pane shows stellation cells: its picks select cells rather than faces.
    bool cellView = false;
    // The face that painting copies is hidden: painting hides.
    bool patternHidden = false;
};
// The name of a carried-out action for the status bar's button hints; "-" for the others.
std::string MouseActionHint(int code, const MouseHintContext& context = {});
