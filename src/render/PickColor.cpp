#include "render/PickColor.h"

#include "kernel/ChooseColorDialog.h"
#include "render/NewView.h"

bool PickColor(ColorRGB& color, bool /*allowKit*/)
{
    NewView::RedrawAllNow();
    return ChooseColorDialog(color);
}

bool PickColorRGB(uint32_t& color, bool allowKit)
{
    ColorRGB floats;
    ColorFromRGB(floats, color);
    if (!PickColor(floats, allowKit))
        return false;
    color = ColorToRGB(floats);
    return true;
}
