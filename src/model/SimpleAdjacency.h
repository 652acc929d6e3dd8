#pragma once

class SimpleElem;
class SimpleFace;
class SimpleVert;

// Walking a SimplePoly across its edges. Both walks need every vertex's faces in cyclic order.

// The face on the other side of the edge from corner i to corner i + 1; null when the lists do not
// show one.
SimpleFace* GetAdjFace(const SimpleFace* face, int i);
// The vertex at the other end of the edge between the vertex's faces i and i + 1; null when none.
SimpleVert* GetAdjVert(const SimpleVert* vert, int i);

// Joins the type of `from` to the type of `into`: every element of from's ring takes into's id and
// the two rings become one. Nothing when the two already share an id. Returns into.
SimpleElem* MergeTypes(SimpleElem* into, SimpleElem* from);
