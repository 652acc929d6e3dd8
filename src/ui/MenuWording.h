#pragma once

#include <string>

class wxUpdateUIEvent;

// Texts are written once for a polyhedron and its faces; before they are shown, they are reworded
// for the model shown (a 4D model has cells) and for the kind of element selected. The menus, the
// status-bar prompts and the toolbar tips all go through these.

// What the rewording reads of the current model.
struct WordingModel
{
    bool model4D = false;
    bool vertexSelected = false;
    bool edgeSelected = false;
};
WordingModel CurrentWordingModel();

// Replaces every occurrence of the old word, also inside longer words, comparing without case; a
// capital of the old word's letter j makes letter j of the new word a capital. True when anything
// was replaced.
bool ReplaceWord(std::string& text, const char* oldWord, const char* newWord);

// "face" for a 3D model, "cell" for a 4D one.
bool UseFaceCellWording(std::string& text, const WordingModel& model);
// "hedron" becomes "tope" and "hedra" "topes", whatever the model.
bool UseTopeWording(std::string& text);
// Names the kind of element selected: a vertex (when allowed), an edge, else a face or a cell.
bool UseSelectionWording(std::string& text, bool vertexAllowed, const WordingModel& model);
// One of the kinds of rewording of platform/CommandTable.h.
bool UseWording(std::string& text, int wording, const WordingModel& model);

// For update handlers: the command's item text from the main window's menu, reworded; set as the
// item's text when that changes it. Nothing for a command without an item.
void UpdateSelectionMenuText(wxUpdateUIEvent& event, bool vertexAllowed);
void UpdateFaceCellMenuText(wxUpdateUIEvent& event);
