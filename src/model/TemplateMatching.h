#pragma once

#include <cstdint>

class Face;
class FaceVert;
class Poly;
class PolyTemplate;
class Vert;

// Growing a uniform polyhedron from its vertex configuration: one polygon of the solved template is
// placed with its corners on the unit sphere, then one vertex at a time is matched against the
// template (which polygon stands at which of its face positions, turning which way) and completed
// with the faces the match asks for. Faces that land on faces are merged, and so are vertices that
// land on vertices. A vertex that admits several placements is a branch point; a contradiction
// sends the matching back to the latest one. The Poly members (PrepareFromTemplate, SolveMatching,
// MatchStep, AddVertex, ...) drive these steps.

// Where CreateFaces stands around the vertex it completes. A merge can hand the vertex's role to
// the vertex it is merged into, whose face positions may run the other way.
struct MatchCursor
{
    Vert* vertex = nullptr;
    int position = 0;
    int step = 1;
};

// Starts the model from the template: the first polygon in the plane y = d with its first corner on
// the positive x side, its first vertex matched and completed. False on failure.
bool Prepare(Poly& poly, PolyTemplate* templ, uint32_t flags);
// Backs up to the latest branch point and takes its next choice.
bool TakeBranch(Poly& poly);
// Removes the most recently placed vertex and the faces made after it; reset also forgets its
// choices. Nothing while at most one vertex is placed.
void RemoveVertex(Poly& poly, bool reset);
// Chooses the vertex's next placement (candidate, direction, turn, fit level).
bool DoNextMatch(Vert* vertex);
// Makes the faces the vertex's placement asks for, merging those that land on existing faces.
bool CreateFaces(Vert* vertex);

// Neighbour steps that respect the orientation bytes: the face step places after the given one
// around the vertex (before it when the face runs against the vertex), with its orientation byte;
// the corner step places after the vertex on the face (before it when the face runs against the
// vertex). Null (with an internal error) when the element is not around the other.
Face* GetNextFace(const Vert* vertex, const Face* face, int step, bool* reversed);
Vert* GetNextVertex(const Face* face, const Vert* vertex, int step);
// The vertex receives the new face next to the face it shares the side with; false, with the
// user told, when that side is already taken by another face.
bool SetNextFace(Vert* vertex, const Face* face, Face* newFace);
// Hands the faces of drop to keep (walking drop's positions backward when the two run opposite
// ways) and deletes drop. a is a face of keep, b the face of drop at the same place; reversed: the
// two faces run opposite ways.
bool VertexMerge(Vert* keep, Vert* drop, const Face* a, const Face* b, bool reversed);
