#pragma once

class FaceType;
class SegVert;

// The links between the diagrams of a side's face types, made once every diagram is built.

// Finds, for every line of the type and each face that makes it, the matching line in that face's
// type's diagram (mOuterNeighbour, mInnerNeighbour) and whether it runs the same way (line bits 0
// and 1). lineCounter counts the lines of the side for the progress text, out of totalLines. An
// intersection missing on the other side is reported and passed; a line missing there fails. False
// also on cancel.
bool LinkLinesToNeighbours(FaceType* type, int& lineCounter, int totalLines);

// Gives every edge of every line of the type its matching edge on the adjacent planes (mNeighbour):
// for each half, the half of the nearest plane below this one, turning from the half's region.
bool SetNeighPointers(FaceType* type);

// Splices the coincidence rings of the two vertices, unless they are one ring already.
void JoinCoincidentLists(SegVert* v, SegVert* w);
