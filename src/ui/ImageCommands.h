#pragma once

#include <string>

class wxEvtHandler;

// The Image menu: images on the selected face and the background image behind every pane, with the
// Image Options dialog. Commands act on the current model.
void BindImageCommands(wxEvtHandler* frame);

// Loads the image file onto the selected face (mode 0), or changes the options of the selected face's
// image (3) or of every image (4), through the Image Options dialog. True when the dialog was accepted
// and the images applied.
bool ReadImageList(int mode, const std::string& path);

// Show BG Image Through Model: the typed value held to 0 - 0.95 (not a number: 0).
float ClampShowThrough(float value);
