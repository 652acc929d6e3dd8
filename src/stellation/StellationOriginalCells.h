#pragma once

class FaceType;
class FaceVert;

// Traces the face's polygon (in the plane of the type's first face) into the type's diagram: the
// lines of its sides get line bit 6, the edges along its sides edge bit 9 on both halves, and the
// half with the face on its left a winding count of one (minus one for a face turned over, flip).
void MarkOriginalEdges(FaceType* type, const FaceVert* face, bool flip);
