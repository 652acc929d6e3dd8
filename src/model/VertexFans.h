#pragma once

#include <vector>

class SimpEdgeType;
class SimpleFace;
class SimplePoly;
class SimpleVert;
class SymGroup;

// The faces around every vertex of a SimplePoly in cyclic order, also where edges are shared by
// four, six or more faces: edges are grouped into types under the symmetry group, the faces around
// one edge of each type are paired symmetrically, and the vertex fans are walked through the
// pairs. A vertex where several fans meet is split into one vertex per fan.

// The driver: sets SortedFaceLists on success.
bool SortVertFaces(SimplePoly& poly, const SymGroup& group);
// The edge types of the model (a list to free with SimpEdgeType::DeleteList); null when the faces
// are already sorted or the model has no edges.
SimpEdgeType* CreateEdgeTypes(SimplePoly& poly, const SymGroup& group);
// Pairs the slots of every edge type.
bool TraverseEdgeTypes(SimplePoly& poly, SimpEdgeType* types);
// Walks the fans through the paired slots and splits vertices with more than one fan.
bool SortVertFacesUsingEdgeTypes(SimplePoly& poly, SimpEdgeType* types, const SymGroup& group);
void LinkCoplanarSlots(SimplePoly& poly, SimpEdgeType* types);

// One fan of a vertex beyond its last: its faces and the vertex's corner in each, in fan order.
struct VertexSplit
{
    SimpleVert* mVert = nullptr;
    std::vector<SimpleFace*> mFaces;
    std::vector<int> mCorners;
};
// Each earlier fan of a vertex becomes a new vertex after the old ones; the vertex keeps its last
// fan. Empties the list and the search tree.
void SplitVertices(SimplePoly& poly, std::vector<VertexSplit>& splits);

// The fan order for models whose every edge is in two faces; false when some fan cannot be walked.
bool SimpleSortVertFaces(SimplePoly& poly);
// Vertex type ids become 0, 1, 2, ... in the order of the types' first vertices.
void CompressVertexTypeIds(SimplePoly& poly);
// Vertices within 1e-7 of each other become one; the others of a run are left Temp.
void MergeCoincidentVerts(SimplePoly& poly);
// Vertices within 1e-7 of each other are linked into coincident rings, nothing merged.
void LinkCoincidentVerts(SimplePoly& poly);
