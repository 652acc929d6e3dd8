#include "document/ToolbarBoxes.h"

namespace
{
ToolbarBoxesHooks gHooks;
}  // namespace

void SetToolbarBoxesHooks(const ToolbarBoxesHooks& hooks)
{
    gHooks = hooks;
}

const ToolbarBoxesHooks& GetToolbarBoxesHooks()
{
    return gHooks;
}

void ShowCurrentInToolbarBoxes()
{
    if (gHooks.showCurrent)
        gHooks.showCurrent();
}

void ShowSymmetryInToolbarBoxes(int rotational, int reflective)
{
    if (gHooks.showSymmetry)
        gHooks.showSymmetry(rotational, reflective);
}
