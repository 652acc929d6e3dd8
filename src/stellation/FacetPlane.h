#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>

class FaceType;
class FaceVert;
class Faceting;
class FacetingEdge;
class FacetingFace;
class FacetPlaneEdge;
class FacetPlaneVert;
class SymGroup;

// Bits of FacetPlane::mFlags.
inline constexpr uint32_t kFacetPlaneReflexible = 0x2;  // a reflection of the group maps it onto itself
inline constexpr uint32_t kFacetPlaneInversion = 0x4;   // the central inversion does
inline constexpr uint32_t kFacetPlaneChiral = 0x8;       // its mirror image is the next plane
inline constexpr uint32_t kFacetPlaneMirrorImage = 0x10;  // the mirror image of the plane before it
inline constexpr uint32_t kFacetPlaneThroughCentre = 0x20;
// Through the centre with an even-order axis in it: the half-turn about that axis turns it over.
inline constexpr uint32_t kFacetPlaneHemi = 0x40;
// Turned over by a half-turn that, with a reflection, maps every face in it onto itself: each face
// is its own mirror image.
inline constexpr uint32_t kFacetPlaneSelfMirror = 0x80;

// One symmetry class of planes through three or more vertices of the faceted model: the vertices
// lying in it grouped into rotation cycles about its axis, the sides a facet in it can have, and
// its candidate facets. The Faceting owns its planes; a plane owns its vertices, edges and faces.
class FacetPlane : public LinkNode<FacetPlane>
{
public:
    // Links the plane at the tail of the owner's list and counts it. The plane n.p + d = 0 has a
    // unit normal and d <= 0.
    FacetPlane(Faceting* owner, const Vec3D& normal, double d, int numRots, SymGroup* group);
    // Deletes the faces, edges and vertices, unlinks the plane and uncounts it.
    ~FacetPlane() override;

    // The next plane for a chiral plane, the one before for its mirror image, else itself.
    FacetPlane* GetMirrorPlane();
    bool IsThroughCentre() const { return (mFlags & kFacetPlaneThroughCentre) != 0; }

    // Adds a and b (when given), then every vertex lying in the plane of the types from firstType
    // on, and groups them into rotation cycles.
    void AddVerts(FaceVert* a, FaceVert* b, FaceType* firstType);
    Vec2D Project2D(const Vec3D& p) const;
    // The first edge at a other than skip whose far end is b; null when none.
    FacetPlaneEdge* FindEdgeBetween(FacetPlaneVert* a, FacetPlaneVert* b, const FacetPlaneEdge* skip) const;
    // The rotation cycles about the axis and, in a plane turned over by a half-turn, the flipped
    // partners.
    void GroupVertsOfType();
    // Joins every pair of vertices whose pair is a candidate edge class, a rotation orbit at a time.
    void CreateEdges(SymGroup* group, Faceting* faceting);
    // The candidate faces of the plane, the plane being the position-th (0-based) of the
    // faceting's; false after a cancel.
    bool CreateFaces(SymGroup* group, int position);

    Faceting* mOwner;
    int32_t mIndex = 0;  // place in the plane list
    uint32_t mFlags = 0;
    Vec3D mNormal;
    double mD;
    const Vec3D* mMirrorDir = nullptr;     // a mirror of the group perpendicular to the plane, or the plane's own
    const Vec3D* mHalfTurnAxis = nullptr;  // an even-order axis of the group lying in a plane through the centre
    Vec3D mU;  // the plane's 2D frame
    Vec3D mV;
    double mHeight = 0.0;
    int32_t mNumRots;  // order of the turn about the normal that maps the plane onto itself
    int32_t mNumVerts = 0;
    int32_t mNumFaces = 0;
    FacetPlaneVert* mFirstVert = nullptr;
    FacetPlaneVert* mLastVert = nullptr;
    FacetPlaneEdge* mFirstEdge = nullptr;
    FacetPlaneEdge* mLastEdge = nullptr;
    FacetingFace* mFirstFace = nullptr;
    FacetingFace* mLastFace = nullptr;

private:
    // One rotation orbit of plane edges from a to b (and its flipped copy), counted on from index.
    void CreateEdgeOrbit(FacetPlaneVert* a, FacetPlaneVert* b, FacetingEdge* edge, uint32_t flags, int count,
                         bool flipped, int& index);
    void LinkEdge(FacetPlaneEdge* e);
    // After the search: drops the faces that cannot be facets and merges the uses of each.
    void PostProcessFaces();
};
