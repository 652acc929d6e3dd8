#pragma once

class wxWindow;

// Puts a control made in code where a dialog's placeholder control was: the placeholder's sizer slot
// (or its position and size when it has none) and its place in the tab order; then destroys the
// placeholder. The replacement must already be a child of the placeholder's parent.
void ReplaceControl(wxWindow* placeholder, wxWindow* replacement);
