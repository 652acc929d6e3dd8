#pragma once

class ElemList;
class FaceType;

// Links the elements of the list that share a plane (the same centre, the normal either way) into
// coincidence rings, in a fixed order: by centre, plane, face type and index. An element that
// follows a ring member of its own face type is flagged Coplanar. Elements alone in their plane
// keep no ring.
void FindCoplanarFaces(ElemList& list);

// Starts every face of the list at the corner that matches its type's first face (by the types of
// its corners and of the faces across its sides), rebuilds its x and y axes from there, then hands
// the Coplanar flag of each same-type coplanar pair to one partner by the turn between their axes,
// for the face types from firstType on.
void ReorientFaceAxes(ElemList& list, FaceType* firstType);
