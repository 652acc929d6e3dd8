#pragma once

// The main window's model and symmetry boxes follow the current model. The document's title
// refresh and the undo of a subgroup step ask for that; the window installs what does it.
struct ToolbarBoxesHooks
{
    // The category, model and symmetry boxes show the current model as their single entries.
    void (*showCurrent)() = nullptr;
    // The symmetry boxes select the subgroup pair (rotational, reflective) now applied.
    void (*showSymmetry)(int rotational, int reflective) = nullptr;
};
void SetToolbarBoxesHooks(const ToolbarBoxesHooks& hooks);
const ToolbarBoxesHooks& GetToolbarBoxesHooks();
void ShowCurrentInToolbarBoxes();
void ShowSymmetryInToolbarBoxes(int rotational, int reflective);
