#include "view/Picking.h"

#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
// The categories of item: each request takes some of them.
constexpr unsigned kCatFaces = 0x1;        // faces and 4D cells
constexpr unsigned kCatFacelets = 0x2;     // faces of a mesh
constexpr unsigned kCatFacets = 0x4;       // stellation facets, on a diagram or on a face
constexpr unsigned kCatCells = 0x8;        // stellation cells
constexpr unsigned kCatVerts = 0x10;       // vertices of the model, 4D and mesh vertices
constexpr unsigned kCatMeshEdges = 0x20;   // edges of a mesh (nets)
constexpr unsigned kCatMeshPoints = 0x40;  // vertices and edges of a display mesh
constexpr unsigned kCatDiagramPoints = 0x80;
constexpr unsigned kCatFacetPoints = 0x100;
constexpr unsigned kCatFacetPlanes = 0x200;
constexpr unsigned k4DFaces = 0x400;
constexpr unsigned k4DEdges = 0x800;
constexpr unsigned kCatEdges = 0x1000;
constexpr unsigned kCatAxes = 0x2000;
constexpr unsigned kCatLabels = 0x4000;
constexpr unsigned kCatOther = 0x8000;
constexpr unsigned kPointCategories = kCatVerts | kCatMeshPoints | kCatDiagramPoints | kCatFacetPoints;

const unsigned kRequestMasks[] = {
    0xFFFFFF,                    // anything
    kCatFaces,                   // faces and 4D cells
    kCatFaces | kCatFacelets,    // faces to paint
    0xF, 0xF, 0xF, 0xF,          // faces, facets and cells: select, toggle, with support, layer
    kCatVerts | kCatMeshPoints,  // vertices and edges
    kPointCategories,            // points
    kCatEdges,                   // edges
    kCatMeshEdges,               // mesh edges
    kCatFacetPlanes,             // facets of the faceting in progress
    k4DFaces,                    // 4D faces
    k4DEdges,                    // 4D edges
};

FaceVert* NthOf(const ElemList& list, int index)
{
    return list.GetNth(index);
}

bool IsFaceKind(int kind)
{
    return kind == kPickBaseFace || kind == kPickDualFace;
}

// An edge of the face, a vertex of the edge or face: by their indices, without walking the lists.
bool EdgeBordersFace(const Poly& poly, int edgeIndex, bool dual, const FaceVert* face)
{
    if (edgeIndex < 0 || edgeIndex >= poly.mEdges.count || !face)
        return false;
    const auto sides = poly.mEdges[edgeIndex].GetFaces(dual);
    return sides[0] == face || sides[1] == face;
}

bool IsCornerOf(const PolyElement* reference, bool dual, int vertIndex)
{
    if (const Edge* edge = reference->AsEdge())
    {
        for (const FaceVert* end : edge->GetVerts(dual))
            if (end && end->mIndex == vertIndex)
                return true;
        return false;
    }
    const FaceVert* face = reference->AsFaceVert();
    if (!face || !face->mNeighbours)
        return false;
    for (int i = 0; i < face->mNumSides; ++i)
        if (face->mNeighbours[size_t(i)] && face->mNeighbours[size_t(i)]->mIndex == vertIndex)
            return true;
    return false;
}

// Moves the hit at from to the front, keeping the order of the others.
void BringToFront(std::vector<GLHit>& hits, size_t from)
{
    const GLHit hit = hits[from];
    hits.erase(hits.begin() + std::ptrdiff_t(from));
    hits.insert(hits.begin(), hit);
}

double gInfiniteFaceSize = 0.375;
}  // namespace

unsigned PickRequestMask(int request)
{
    if (request < 0 || request >= int(std::size(kRequestMasks)))
        return 0;
    return kRequestMasks[request];
}

unsigned PickKindCategory(int kind)
{
    switch (kind)
    {
    case 0: case 1: case 8: case 9:
        return kCatFaces;
    case 7: case 15:
        return kCatFacelets;
    case 2: case 3: case 4: case 5:
        return kCatFacets;
    case 6:
        return kCatCells;
    case 28: case 29: case 30: case 31: case 32:
        return kCatVerts;
    case 16: case 23:
        return kCatMeshEdges;
    case 25: case 26: case 35: case 36:
        return kCatMeshPoints;
    case 33:
        return kCatDiagramPoints;
    case 34:
        return kCatFacetPoints;
    case 14:
        return kCatFacetPlanes;
    case 10: case 11: case 12: case 13:
        return k4DFaces;
    case 21: case 22:
        return k4DEdges;
    case 19: case 20:
        return kCatEdges;
    case 24:
        return kCatAxes;
    case 17:
        return kCatLabels;
    default:
        return kCatOther;
    }
}

bool PickShowsPoints(unsigned mask)
{
    return (mask & kPointCategories) != 0;
}

PolyElement* HitToPolyElement(const Poly& poly, const GLHit& hit)
{
    const int kind = GetGLSelectionItemType(hit.code);
    const int index = GetGLSelectionItemIndex(hit.code);
    switch (kind)
    {
    case 0:
        return NthOf(poly.mFaces, index);
    case 1:
        return NthOf(poly.mVerts, index);
    case 4:
        return poly.mFaces.mCount > 0 ? NthOf(poly.mFaces, index % poly.mFaces.mCount) : nullptr;
    case 5:
        return poly.mVerts.mCount > 0 ? NthOf(poly.mVerts, index % poly.mVerts.mCount) : nullptr;
    default:
        return nullptr;
    }
}

PolyElement* HitToElement(const Poly& poly, int kind, int index)
{
    switch (kind)
    {
    case kPickBaseFace:
    case kPickDualVert:  // a vertex of the dual is a face of the base
        return NthOf(poly.mFaces, index);
    case kPickDualFace:
    case kPickBaseVert:
        return NthOf(poly.mVerts, index);
    case kPickBaseEdge:
    case kPickDualEdge:
        if (index < 0 || index >= poly.mEdges.count)
            return nullptr;
        return const_cast<Edge*>(&poly.mEdges[index]);
    default:
        return nullptr;
    }
}

void OrderPickHits(const Poly* poly, std::vector<GLHit>& hits)
{
    constexpr unsigned kMax = std::numeric_limits<unsigned>::max();
    for (GLHit& hit : hits)
    {
        const int kind = GetGLSelectionItemType(hit.code);
        // A sum that would wrap keeps the old depth.
        if (kind <= 27 && hit.depth <= kMax - 10)
            hit.depth += 10;
        if (kind <= 18 && hit.depth <= kMax - 10)
            hit.depth += 10;
    }
    SortGLHits(hits);
    if (!poly || hits.size() < 2)
        return;
    const int firstKind = GetGLSelectionItemType(hits[0].code);
    if (firstKind > 27)
        return;
    // Only the 3D elements of a model are sorted out here; 4D and meshes come with their drawing.
    bool dual = false;
    if (IsFaceKind(firstKind))
        dual = firstKind == kPickDualFace;
    else if (firstKind == kPickBaseEdge || firstKind == kPickDualEdge)
        dual = firstKind == kPickDualEdge;
    else
        return;
    const PolyElement* reference = HitToElement(*poly, firstKind, GetGLSelectionItemIndex(hits[0].code));
    if (!reference)
        return;
    const int edgeKind = dual ? kPickDualEdge : kPickBaseEdge;
    const int vertKind = dual ? kPickDualVert : kPickBaseVert;
    for (size_t i = 1; i < hits.size(); ++i)
    {
        const int kind = GetGLSelectionItemType(hits[i].code);
        const int index = GetGLSelectionItemIndex(hits[i].code);
        if (kind == edgeKind && reference->AsFaceVert() && EdgeBordersFace(*poly, index, dual, reference->AsFaceVert()))
        {
            BringToFront(hits, i);
            reference = &poly->mEdges[index];
        }
        else if (kind == vertKind && IsCornerOf(reference, dual, index))
        {
            BringToFront(hits, i);
            return;
        }
    }
}

bool PicksDiagramPointsOnly(int selectionMode)
{
    const unsigned mask = unsigned(selectionMode);
    return (mask & kCatDiagramPoints) && !(mask & kCatFacets);
}

std::string IdentifyText(const Poly& poly, int kind, int index)
{
    char text[160];
    switch (kind)
    {
    case kPickBaseFace:
    case kPickDualFace:
        std::snprintf(text, sizeof text, "%s-face %d,", kind == kPickBaseFace ? "base" : "dual", index + 1);
        return text;
    case kPickDiagramFacet:
    case kPickDualDiagramFacet:
        std::snprintf(text, sizeof text, "facet %d,", index);
        return text;
    case kPickFaceFacet:
    case kPickDualFaceFacet:
    {
        // The index counts the faces of the list once per facet.
        const int count = kind == kPickFaceFacet ? poly.mFaces.mCount : poly.mVerts.mCount;
        if (count <= 0)
            break;
        std::snprintf(text, sizeof text, "%s-face %d, facet %d,", kind == kPickFaceFacet ? "base" : "dual",
                      index % count + 1, index / count);
        return text;
    }
    case kPickStellationCell:
        std::snprintf(text, sizeof text, "stellation cell %d,", index);
        return text;
    case kPickBaseEdge:
    case kPickDualEdge:
    {
        const PolyElement* element = HitToElement(poly, kind, index);
        const Edge* edge = element ? element->AsEdge() : nullptr;
        if (!edge)
            break;
        const auto ends = edge->GetVerts(kind == kPickDualEdge);
        std::snprintf(text, sizeof text, " %s-edge %d (vert %d-%d),", kind == kPickBaseEdge ? "base" : "dual",
                      index + 1, FaceVert::GetNumber(ends[0]), FaceVert::GetNumber(ends[1]));
        return text;
    }
    case kPickAxis:
    {
        SymGroup* group = poly.GetSymGroup();
        const SymAxisSet* set = group ? group->FindAxisSetOf(group->GetAxis(index)) : nullptr;
        if (!set)
            break;
        std::snprintf(text, sizeof text, "%d-fold rotational symmetry axis", int(set->mOrder));
        return text;
    }
    case kPickBaseVert:
    case kPickDualVert:
        std::snprintf(text, sizeof text, " %s-vert %d,", kind == kPickBaseVert ? "base" : "dual", index + 1);
        return text;
    default:
        break;
    }
    return "nothing";
}

double& InfiniteFaceSize()
{
    return gInfiniteFaceSize;
}

bool DualIsInfinite(const Poly& poly)
{
    for (const FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        if (f->mFlags & FaceVert::kHemi)
            return true;
    return false;
}

bool RayMeetsPolygon(const FaceVert& element, double scale, const Vec3D& origin, const Vec3D& direction,
                     Vec3D& meet)
{
    const int n = element.mNumSides;
    if (n < 3 || !element.mNeighbours)
        return false;
    std::vector<Vec3D> corners(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
    {
        const FaceVert* corner = element.mNeighbours[size_t(i)];
        if (!corner)
            return false;
        Vec3Scale(corners[size_t(i)], corner->mPoint, scale);
    }
    // Newell's normal holds for star polygons too.
    Vec3D normal{0, 0, 0};
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& a = corners[size_t(i)];
        const Vec3D& b = corners[size_t((i + 1) % n)];
        normal.x += (a.y - b.y) * (a.z + b.z);
        normal.y += (a.z - b.z) * (a.x + b.x);
        normal.z += (a.x - b.x) * (a.y + b.y);
    }
    const double normalLength = Vec3Length(normal);
    const double directionLength = Vec3Length(direction);
    const double along = Vec3Dot(normal, direction);
    if (normalLength == 0.0 || directionLength == 0.0 || std::fabs(along) < 1e-9 * normalLength * directionLength)
        return false;
    Vec3D toPlane;
    Vec3Sub(toPlane, corners[0], origin);
    const double t = Vec3Dot(normal, toPlane) / along;
    Vec3D hit;
    Vec3AddScaled(hit, origin, t, direction);
    // The winding number about the hit point, on the two axes where the normal is smallest.
    const int drop = std::fabs(normal.x) > std::fabs(normal.y) ? (std::fabs(normal.x) > std::fabs(normal.z) ? 0 : 2)
                                                               : (std::fabs(normal.y) > std::fabs(normal.z) ? 1 : 2);
    const auto u = [drop](const Vec3D& p) { return drop == 0 ? p.y : p.x; };
    const auto v = [drop](const Vec3D& p) { return drop == 2 ? p.y : p.z; };
    int winding = 0;
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& a = corners[size_t(i)];
        const Vec3D& b = corners[size_t((i + 1) % n)];
        const double ay = v(a) - v(hit), by = v(b) - v(hit);
        const double cross = (u(a) - u(hit)) * by - (u(b) - u(hit)) * ay;
        if (ay <= 0.0 && by > 0.0 && cross > 0.0)
            ++winding;
        else if (ay > 0.0 && by <= 0.0 && cross < 0.0)
            --winding;
    }
    meet = hit;
    return winding != 0;
}
