#pragma once

#include <string>

// The parts of the default name of an exported file.

// Shortens a model name for a file name: "hedron" and "gonal" go, "grammic" becomes "gram",
// "truncated" "trunc" (matched without case, written as they were); '"', ':', '/' and '\' go and
// make the next character upper case. A leading "D-" is kept as it is.
void AbbreviateModelName(std::string& name);

// What the type of a pane adds to the name: the morph ratio of a dual morph, the cross-section's
// depth, or the kind of diagram, face or figure; empty for the plain model views.
std::string ViewTypeFileSuffix(int viewType, double morphRatio, double sliceRatio, bool model4D);
