#pragma once

class FaceType;
struct Mat3;
class Stellation;
class SymGroup;

// The steps that make each face type of a side ready for its stellation diagram, run by the
// model's analysis once the faces are grouped into types: the types are ordered, their rotational
// symmetry is found, every face of a type gets a frame that is the symmetric image of the first
// face's frame (so that one diagram serves them all), reflexible types and mirror pairs of types
// are found, and the rings of coplanar faces are put in corresponding orders. Failures are internal
// errors; a step then leaves the type as far as it got.

// Negative when a comes first. The standard order: types whose first face lies at infinity last,
// coplanar copies after the others, then by the distance of the plane (a vertex: the squared
// distance of its point) from the centre, then as they were.
using FaceTypeComparator = int (*)(const FaceType* a, const FaceType* b);
int CompareFaceTypes(const FaceType* a, const FaceType* b);
// By the list index of the first faces.
int CompareFaceTypesByFirstFace(const FaceType* a, const FaceType* b);
// Sorts the side's types and numbers them 0..n-1 in the new order.
void SortFaceTypes(Stellation* stellation, FaceTypeComparator compare);

// Finds the axis class of the group with an axis along the first face's normal (of the type's
// rotation order, when one is set) and records in each face the axis of that class through it.
// Without such a class the type has no rotation. Nothing once the class is known or for order 1.
void SetRotSym(FaceType* type, SymGroup* group);
// Gives the first face its standard frame and every other face the image of that frame under the
// first rotation of the group that maps the first face onto it; each face records the number of
// that rotation (GetNumberedOperation).
void ReorientAxes(FaceType* type, const SymGroup* group);
void SetRotSymAndReorientAxes(FaceType* type, SymGroup* group);
// The rotation with that number: the group's rotations in their own order, the identity as 0.
// False past the last.
bool GetNumberedOperation(const SymGroup& group, int number, Mat3& out);

// Decides, under the reflections of the Poly's group, whether the type is its own mirror image
// (with the direction of its mirror line in the first face's frame when one lies in its plane) or
// which type is; a mirror partner's faces get frames reflected from this type's first face, so that
// its diagram is the mirror image of this one's. Nothing for a type that has its mirror type.
void CheckReflectivity(FaceType* type);

// Orders every ring of coplanar faces of the side so that the rings of a type's faces correspond
// member by member under the type's symmetry; the first member of each ring stays its
// representative (the others are flagged Skip), and partners with the same centroid are flagged
// concentric.
void SortCoplanarFaces(Stellation* stellation);
// A coplanar copy takes as its first face its face in the ring of its source's first face, and
// borrows the source's diagram.
void CopyCoplanarInfo(FaceType* type);
