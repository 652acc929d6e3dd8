#pragma once

#include "kernel/LinkNode.h"
#include "kernel/Mat3.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <string>
#include <vector>

class FacetingEdge;
class FacetingFace;
class FacetPlane;
class FacetPlaneVert;

// Bits of FacetingFace::mFlags.
inline constexpr uint32_t kFacetingFaceMark = 0x1;
inline constexpr uint32_t kFacetingFaceBowTie = 0x2;      // passes the plane's centre along a diameter
inline constexpr uint32_t kFacetingFaceSelfClosed = 0x4;  // its orbit alone is a closed surface
inline constexpr uint32_t kFacetingFaceUsed = 0x8;        // in the current faceting
inline constexpr uint32_t kFacetingFaceUnreached = 0x10;  // reached from the pending mirror image
inline constexpr uint32_t kFacetingFaceNoMirrorTogether = 0x20;
inline constexpr uint32_t kFacetingFaceChiralSecond = 0x40;
inline constexpr uint32_t kFacetingFaceTurnedOver = 0x80;  // a half-turn about an axis in its plane maps it onto itself
inline constexpr uint32_t kFacetingFaceSpiky = 0x100;      // has an edge in an outermost plane

// One edge class that a candidate face's orbit covers, and how many faces of the orbit hold the
// class's representative (1 or 2). The face owns its uses; the edge class chains them.
struct FaceUse
{
    FacetingEdge* mEdge = nullptr;
    FacetingFace* mFace = nullptr;
    int32_t mNumHits = 0;
    FaceUse* mNextOfEdge = nullptr;
};

// A candidate facet: a polygon in a candidate plane, symmetric under a rotation about the plane's
// axis, stored once for its whole orbit, with the edge classes the orbit covers. The plane owns
// its faces; the current faceting chains the faces it holds through the facet links.
class FacetingFace : public LinkNode<FacetingFace>
{
public:
    // Appended to the plane's face list and counted there and in the plane's Faceting.
    FacetingFace(FacetPlane* plane, int numSides, int numUses, int symmetry);
    // Unlinked from the plane and uncounted.
    ~FacetingFace() override;

    // "plane-facet", or "NULL", in the next of four buffers used in turn.
    static const char* GetLabel(const FacetingFace* face);
    // The status-bar description.
    std::string Describe() const;
    // The vertices of one turn of the polygon: the first sides / symmetry.
    int GetNumBaseVerts() const;
    Vec3D GetVertexSum() const;
    // M maps vertex k to vertex i + k for every k, or to vertex i - k, for some i.
    bool MapsOntoItself(const Mat3& m) const;
    // The half-turn about the axis maps the face onto itself.
    bool IsTurnedOverBy(const Vec3D& axis) const;

    // The order of all faces: plane by plane, each plane's list in order.
    FacetingFace* GetNext() const;
    FacetingFace* GetPrevious() const;
    int GetIndexInPlane() const;
    int GetGlobalIndex() const;
    // Takes the face out of its plane's list (it stays counted).
    void Unlink();

    int GetNumSides() const { return int(mVerts.size()); }
    int GetNumUses() const { return int(mUses.size()); }
    FacetingFace* GetMirror() const { return mMirror; }

    FacetingFace* mNextFacet = nullptr;  // the current faceting
    FacetingFace* mPrevFacet = nullptr;
    double mAreaSq = 0.0;  // negative for a bow-tie face, of one wing
    double mAngleSum = 0.0;
    uint32_t mFlags = 0;
    std::vector<FacetPlaneVert*> mVerts;  // the polygon in boundary order
    std::vector<FaceUse> mUses;
    FacetPlane* mPlane;
    int32_t mDepth = -1;  // search depth at which it was tried
    int32_t mSymmetry;
    FacetingFace* mMirror = nullptr;  // itself when reflexible; null when not determined

private:
    bool mLinked = true;
};
