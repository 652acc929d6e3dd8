#pragma once

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
