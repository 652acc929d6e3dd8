#include "render/GLSelection.h"

#include "kernel/Messages.h"

#include <GL/gl.h>

#include <algorithm>

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

void SortGLHits(std::vector<GLHit>& hits)
{
    std::stable_sort(hits.begin(), hits.end(), [](const GLHit& a, const GLHit& b) { return a.depth < b.depth; });
}

int FindGLHit(const std::vector<GLHit>& hits, int itemType, int index)
{
    for (size_t i = 0; i < hits.size(); ++i)
        if (GetGLSelectionItemType(hits[i].code) == itemType && GetGLSelectionItemIndex(hits[i].code) == index)
            return int(i);
    return -1;
}

void ReadGLHitRecords(const unsigned* buffer, int bufferSize, int maxRecords, std::vector<GLHit>& hits)
{
    int at = 0;
    for (int record = 0; record < maxRecords; ++record)
    {
        if (at + 3 > bufferSize)
            break;
        const unsigned names = buffer[at];
        const unsigned minDepth = buffer[at + 1];
        if (names > unsigned(bufferSize - at - 3))
            break;
        at += 3 + int(names);
        // Name 0 marks what is not selectable.
        if (names > 0 && buffer[at - 1] != 0)
            hits.push_back(GLHit{buffer[at - 1] - 1, minDepth});
    }
}
