#pragma once

#include <string>
#include <vector>

class Poly;

// Showing and hiding the elements of the current model, and stepping the selected face type. Each
// show or hide works on one group of elements: the edge rule shows the group when the chosen edge
// is hidden, else hides it; the group rule shows it when any member is hidden, else hides it.
enum class ShowHideGroup
{
    Color,         // the selected item's colour among its kind
    Type,          // the selected item's type
    Single,        // the selected item alone (it flips)
    All,           // every element of the selected item's kind
    Toggle,        // every element of that kind flips
    Plane,         // the stellation face and the faces in its plane
    CompoundPart,  // the connected part that holds the stellation face (4D: the current cell)
};

// False when there is nothing to work on (no selection, or the group does not apply).
bool ShowHideElements(Poly& poly, ShowHideGroup group);
// The faces around the selected vertex, with its coincident vertices when includeCoincident.
bool ShowHideAroundVertex(Poly& poly, bool includeCoincident);
// The question asked before the faces around a vertex with coincident vertices are shown or hidden.
std::string CoincidentVertexQuestion(int number, const std::vector<int>& others);

// Selects the first element of the next (step 1) or previous (step -1) type: faces or vertices
// (4D: cells or vertices). With planeTypes a coplanar copy counts as its source type. False, with
// the selection kept, when the model has only one type of the kind.
bool StepSelectedType(Poly& poly, int step, bool vertices, bool planeTypes);
