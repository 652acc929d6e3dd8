#include "render/GLSelection.h"

#include "kernel/Messages.h"

#include <GL/gl.h>

namespace
{
int gShift = -1;
unsigned gMask = 0;
}  // namespace

void InitGLSelection(int numberOfItemTypes)
{
    int shift = 0;
    while ((1 << shift) < numberOfItemTypes)
        ++shift;
    gShift = shift;
    gMask = (1u << shift) - 1;
}

unsigned GLSelectionName(int itemType, int index)
{
    if (gShift < 0)
    {
        InternalError("You must call InitGLSelection() before SetGLSelectionItem()");
        return 0;
    }
    if (itemType < 0 || unsigned(itemType) > gMask)
    {
        InternalError("SetGLSelectionItem(): itemType too big");
        return 0;
    }
    return (unsigned(index) << gShift) + unsigned(itemType) + 1;
}

void SetGLSelectionItem(int itemType, int index)
{
    const unsigned name = GLSelectionName(itemType, index);
    if (name)
        glLoadName(name);
}

void ClearGLSelectionItem()
{
    glLoadName(0);
}

int GetGLSelectionItemType(unsigned hit)
{
    return int(hit & gMask);
}

int GetGLSelectionItemIndex(unsigned hit)
{
    return gShift < 0 ? 0 : int(hit >> gShift);
}
