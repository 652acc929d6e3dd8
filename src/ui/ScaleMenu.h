#pragma once

class wxWindow;

// The Scale menu, handled for the whole main window: the measures that set the model scale, the
// stretch, and the distance and angle units. The frame is also the parent of the stretch dialog.
void BindScaleCommands(wxWindow* frame);
