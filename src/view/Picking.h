#pragma once

#include "kernel/Vec3D.h"
#include "render/GLSelection.h"

#include <string>
#include <vector>

class Cell4D;
class Edge4D;
class Face4D;
class FaceVert;
class Poly;
class PolyElement;
class Polytope4D;
class Vert4D;

// What a model pane names for picking: the item kinds given to SetGLSelectionItem by the drawing
// code, and the requests of the mouse actions that say which kinds count.

// Item kinds ("base" and "dual" are the two sides of the model).
inline constexpr int kPickBaseFace = 0;
inline constexpr int kPickDualFace = 1;
inline constexpr int kPickDiagramFacet = 2;
inline constexpr int kPickDualDiagramFacet = 3;
inline constexpr int kPickFaceFacet = 4;
inline constexpr int kPickDualFaceFacet = 5;
inline constexpr int kPickStellationCell = 6;
inline constexpr int kPickFacelet = 7;
inline constexpr int kPickMeshEdge = 16;
inline constexpr int kPickNetEdge = 23;   // an edge of the mesh by its running number
inline constexpr int kPickMeshVert = 32;
inline constexpr int kPickLabel = 17;
inline constexpr int kPickBaseEdge = 19;
inline constexpr int kPickDualEdge = 20;
inline constexpr int kPickAxis = 24;
inline constexpr int kPickBaseVert = 28;
inline constexpr int kPickDualVert = 29;
// 4D elements of the base polytope; the dual's kind is one higher.
inline constexpr int kPick4DCell = 8;
inline constexpr int kPick4DFace = 10;
inline constexpr int kPick4DFaceSide = 12;  // index: face index x 2 + 1 for the face's second cell
inline constexpr int kPick4DEdge = 21;
inline constexpr int kPick4DVert = 30;
// The model panes name 37 kinds of item.
inline constexpr int kNumPickKinds = 37;

// Requests (what a pick may return).
inline constexpr int kPickAnything = 0;
inline constexpr int kPickFacesAndCells = 1;
inline constexpr int kPickPaintFaces = 2;
inline constexpr int kPickSelectFacet = 3;
inline constexpr int kPickToggleCell = 4;
inline constexpr int kPickCellWithSupport = 5;
inline constexpr int kPickCellLayer = 6;
inline constexpr int kPickVertsAndEdges = 7;
inline constexpr int kPickPoints = 8;
inline constexpr int kPickEdges = 9;
inline constexpr int kPickMeshEdges = 10;
inline constexpr int kPickFacetPlanes = 11;
inline constexpr int kPick4DFaces = 12;
inline constexpr int kPick4DEdges = 13;

// A pick under the selection mode (the request's mask) takes the diagram's vertices and not its
// facets: the diagram then draws nothing else.
bool PicksDiagramPointsOnly(int selectionMode);

// The categories of item a request takes; 0 for a request that is none.
unsigned PickRequestMask(int request);
// The category bit of an item kind: a hit counts for a request when the two share a bit.
unsigned PickKindCategory(int kind);
// The request's mask holds the points that a pick makes pickable even while they are not shown.
bool PickShowsPoints(unsigned mask);

// One pick under the mouse (client pixels, y downward); precise picks with the one-pixel region.
struct PickRequest
{
    int kind = kPickAnything;
    int x = 0;
    int y = 0;
    bool precise = false;
};

// What a pick found: the chosen hit's kind (-1 for nothing) and index, the model element it names
// (a face, vertex or edge), and every hit of every layer under the point in the order chosen.
struct PickResult
{
    int kind = -1;
    int index = -1;
    PolyElement* element = nullptr;
    std::vector<GLHit> hits;
    bool overflow = false;
};

// The face (kinds 0 and 4) or vertex (kinds 1 and 5) of the model named by a hit (4 and 5 take the
// index modulo the list's count); null for any other kind or an index out of range.
PolyElement* HitToPolyElement(const Poly& poly, const GLHit& hit);
// Whether the ray meets the polygon through the element's corners (its neighbours' points, times
// the scale), inside by the nonzero winding rule; where it does goes to meet. A polygon seen edge-on
// is never met.
bool RayMeetsPolygon(const FaceVert& element, double scale, const Vec3D& origin, const Vec3D& direction,
                     Vec3D& meet);
// The element of a 3D kind: faces and vertices as above, edges (19, 20) and the vertices drawn as
// points (28 the base's, 29 the dual's, which are faces of the base); null otherwise.
PolyElement* HitToElement(const Poly& poly, int kind, int index);

// Nearest first: a hit of kind 27 or less lies 10 deeper, of kind 18 or less 20 deeper, so that at
// one depth points come before edges and axes, and those before faces and cells. Then, on a 3D
// model, the item that belongs to the first one wins: an edge of the first face, then a vertex of
// that edge or face.
void OrderPickHits(const Poly* poly, std::vector<GLHit>& hits);

// The 4D elements a hit names: one slot filled (face and cell for a face side); false for a kind
// that is no 4D element or an index out of range. Odd kinds look in the dual.
struct Hit4DElements
{
    Cell4D* cell = nullptr;
    Face4D* face = nullptr;
    Edge4D* edge = nullptr;
    Vert4D* vert = nullptr;
};
bool Is4DPickKind(int kind);
bool HitTo4DElements(Polytope4D* polytope, int kind, int index, Hit4DElements& out);
// The cell a click on a whole face selects: of two shown cells the other one than the selected cell
// (or the current cell when that is the second), so that repeated clicks alternate; one shown cell
// is taken; null when the face itself is to be selected.
Cell4D* CellOfClickedFace(Face4D* face);

// The identification text after "Selected " for a chosen hit (kind -1: nothing).
std::string IdentifyText(const Poly& poly, int kind, int index);

// The size of the faces at infinity that the dual of a model with faces through its centre shows.
double& InfiniteFaceSize();
// Some face of the model passes through its centre: its dual has points at infinity.
bool DualIsInfinite(const Poly& poly);
