#pragma once

#include <vector>

// Names of what is drawn, for GL picking: a name packs an item type (below 2^shift) and an index.
// A hit stores the name less one; the type and index are read back from that.

// Sizes the type field for n item types.
void InitGLSelection(int numberOfItemTypes);
// Names the primitives drawn next; reports a type that does not fit and loads nothing then.
void SetGLSelectionItem(int itemType, int index);
// What follows is not selectable.
void ClearGLSelectionItem();
// The name SetGLSelectionItem would load, 0 when it would load none.
unsigned GLSelectionName(int itemType, int index);
int GetGLSelectionItemType(unsigned hit);
int GetGLSelectionItemIndex(unsigned hit);

// One primitive under the pick point: its name less one, and its nearest window depth (0 nearest,
// as OpenGL reports it).
struct GLHit
{
    unsigned code = 0;
    unsigned depth = 0;
};

// Nearest first (unsigned depths).
void SortGLHits(std::vector<GLHit>& hits);
// The position of the first hit of that type and index, or -1.
int FindGLHit(const std::vector<GLHit>& hits, int itemType, int index);

// What a selection buffer of that many entries holds, read as OpenGL's hit records (name count,
// minimum depth, maximum depth, names): each record whose innermost name is not 0 appends one hit.
// At most maxRecords records are read, and a record whose names would run past the end of the
// buffer ends the walk.
void ReadGLHitRecords(const unsigned* buffer, int bufferSize, int maxRecords, std::vector<GLHit>& hits);
