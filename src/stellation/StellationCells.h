#pragma once

class Stellation;
class StellationCell;
class StellationCellLayer;
class StellationFacet;

// The cells of a stellation are made from lists of facet sides: side 1 is the lower side of a
// facet (the cell lies below it), side 0 the upper side. The nodes of every list come from one
// free list that the build releases when it ends.
struct FacetSide
{
    StellationFacet* facet = nullptr;
    int side = 0;
    FacetSide* next = nullptr;
};

struct FacetSideList
{
    FacetSide* first = nullptr;
    FacetSide* last = nullptr;
    int count = 0;
};

// Appends the side and marks it taken (facet bits 6 and 14 or 15); then, while the facet has a hemi
// partner whose opposite side is free, that side too: the half turn that pairs them swaps the sides
// of the plane, so both bound the same cell.
void AddFacetSide(FacetSideList& list, StellationFacet* facet, int side);
// Clears the marks of the list's facets and gives its nodes back to the free list.
void FreeFacetSideList(FacetSideList& list);
// Deletes the nodes of the free list.
void ReleaseFacetSideNodes();
// Nodes on the free list, for tests.
int CountFreeFacetSideNodes();

// The cell on one side of a facet (1 below, 0 above), found by walking from facet to facet across
// the edges of their regions on the adjacent planes; null when the cell is not bounded by the
// diagrams (it reaches past a diagram's edge) or a link is missing. A null layer starts a new one.
StellationCell* CreateCellFromFacet(StellationFacet* facet, int side, StellationCellLayer* layer,
                                    Stellation* stellation, int index);
// A cell of the listed facet sides, appended to the stellation's cells (a null layer starts a new
// layer with it); chiral when the first facet with a mirror image has its image outside the list.
// Frees the list. Null on a conflict with a cell made before.
StellationCell* CreateCell(FacetSideList& list, StellationCellLayer* layer, Stellation* stellation, int index);
// The other cell of a chiral pair, right after the cell in its layer: the mirror images of its
// facets, on the same sides unless the mirror turns the plane over.
StellationCell* CreateMirrorCell(StellationCell* cell, int index);
// Fills the cell's facet and neighbour arrays from the list (lower facets first) and links the
// facets and the cells across them to it. Frees the list. False when a facet side has a cell
// already.
bool MakePermenantFacetArray(StellationCell* cell, FacetSideList& list);
