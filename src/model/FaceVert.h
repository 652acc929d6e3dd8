#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/FaceImage.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/Transform3D.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"
#include "model/PolyElement.h"

#include <cstdint>
#include <memory>
#include <vector>

class ElemList;
class LineBatch;
struct RingVert;
class Face3D;
class FaceType;
class FitPointSink;
class Stellation;
class SymGroup;

// A face or a vertex of a Poly. The model is its own dual's dual: a face of the model is a vertex
// of the dual and a vertex is a dual face, so both carry the same members in both roles. A face's
// neighbours are its corners in order and its point is its pole (its vertex in the dual); a
// vertex's neighbours are the faces around it and its plane is its face in the dual. Builders make
// faces and vertices with new; each links itself into its Poly's list, which deletes it.
class FaceVert : public PolyElement
{
public:
    // Flags (mFlags); the names are those of the debug dump.
    static constexpr uint32_t kHemi = 0x1;  // the point is at infinity (a direction): the plane passes the centre
    static constexpr uint32_t kInf = 0x2;   // the plane is at infinity: a vertex at the centre
    static constexpr uint32_t kHidden = 0x4;
    static constexpr uint32_t kCoplanar = 0x8;  // same plane and type as the previous member of its ring
    static constexpr uint32_t kSkip = 0x10;
    static constexpr uint32_t kIsCopConcentric = 0x20;
    static constexpr uint32_t kSkipCopConcentric = 0x40;
    static constexpr uint32_t kVisitMark = 0x100;   // transient: whoever sets it clears it again
    static constexpr uint32_t kInvertMark = 0x200;  // transient, for turning a compound part over
    static constexpr uint32_t kOneSided = 0x400;
    static constexpr uint32_t kReversed = 0x800;
    static constexpr uint32_t kReverseNorm = 0x1000;
    static constexpr uint32_t kOpaqueImageInRing = 0x2000;
    static constexpr uint32_t kSmooth = 0x4000;  // drawn with normals blended across its edges
    static constexpr uint32_t kConvexHull = 0x8000;
    // The mirror-image variant of a type identifier (mIdFlags).
    static constexpr int32_t kMirrorId = 0x10000;

    ~FaceVert() override;

    FaceVert* AsFaceVert() override { return this; }
    virtual bool IsConvexPolygon() const { return false; }
    virtual bool IsVert() const { return false; }
    virtual bool IsFace() const { return false; }

    // -1 for null.
    static int GetIndex(const FaceVert* element) { return element ? element->mIndex : -1; }
    // The number shown to the user; 0 for null.
    static int GetNumber(const FaceVert* element) { return GetIndex(element) + 1; }
    // Faces first, then vertices: a vertex's index plus the number of faces; -1 for null.
    static int GetCombinedIndex(const FaceVert* element);

    // The Stellation of the element's side (the dual one for a vertex), and the other one.
    Stellation* GetStellation() const;
    Stellation* GetOtherStellation() const;

    // The element itself unless flagged Inf; else the next element of its list, wrapping, that is
    // not; null when there is none, or for null.
    static FaceVert* SkipInf(FaceVert* element);

    // Opacity 0..1 (snapped to 1 above 0.995 and to 0 below 0.005), keeping the list's count of
    // translucent elements.
    void SetOpacity(float opacity);
    bool IsTranslucent() const;
    // Some member of the coincidence ring that is not hidden is translucent.
    bool IsRingTranslucent() const;
    // Order of the element's rotational symmetry about its own axis.
    int GetNumRots() const;
    int GetRingSize() const;

    // The first position above start (-1 for the first) whose neighbour is the given one; -1 when
    // none, or for null.
    static int FindNeighbour(const FaceVert* element, const FaceVert* neighbour, int start);
    bool HasNeighbour(const FaceVert* neighbour) const { return FindNeighbour(this, neighbour, -1) >= 0; }
    // The same search among the edges; -1 for a null edge.
    int FindEdge(const Edge* edge, int start) const;
    // The first neighbour whose point is the given one within 1e-7.
    static FaceVert* FindNeighbourAt(const FaceVert* element, const Vec3D& point);
    // The element across side i: the face across a face's edge i, the vertex at the other end of a
    // vertex's edge i.
    static FaceVert* GetAdjacent(const FaceVert* element, int side);
    // The element across side i, and in side the index of the same side in that element (-1 when
    // not found).
    static FaceVert* GetAdjacentAndSide(const FaceVert* element, int& side);
    // The neighbour steps places after the given one (negative: before).
    FaceVert* GetNextNeighbour(const FaceVert* neighbour, int steps) const;
    // Entry start comes first; with reverse the cyclic order is turned round about entry 0. Edges
    // and the matching orientation bytes follow.
    void RotateNeighbours(int start, bool reverse);
    // p is q or a member of q's coincidence ring.
    static bool IsInRingOf(const FaceVert* p, const FaceVert* q);
    // The first member of the ring, from the element, without Skip; the element when all have it.
    static FaceVert* GetFirstUnskipped(FaceVert* element);
    static Face3D* FindFace3D(const FaceVert* element);
    // mZAxis, negated for ReverseNorm.
    Vec3D GetNormal() const;
    // The element's connected faces and vertices into buffer (room for every face and vertex of
    // the Poly), each given the visit mark, which the caller clears; null: count only. Answers the
    // number collected.
    int CollectConnected(FaceVert** buffer);

    // ---- Geometry of the element's polygon: on a face its corners, on a vertex the poles of the
    // faces around it (its face in the dual). A corner flagged Hemi is a direction, not a point.

    // Model coordinates into the element's frame (its centre at the origin, its plane at z = 0),
    // and back; flip mirrors the x axis.
    Transform3D GetWorldToLocal(bool flip) const;
    Transform3D GetLocalFrame(bool flip) const;
    // Turns point, centre and axes by m; the centroid waits for its recomputation.
    void Rotate(const Mat3& m);
    // Mean of the finite corners; the centre when there are none.
    void CalcCentroid();
    // Unit normal of the polygon of the adjacent elements, towards the element's point.
    Vec3D CalcNormal() const;
    // The winding density: how often the side directions turn round. Below 5 sides nothing changes.
    void CalcDensity();
    double DistanceAlongNormal(const Vec3D& a, const Vec3D& b) const;

    virtual double GetRadius() = 0;
    double GetRadiusFromCentroid() const;
    // The largest GetRadius over the coincidence ring; 0 when none is positive.
    double GetRingRadius();
    // Largest distance in model x and y from the point to a corner; 0 without corners.
    double GetMaxCornerDistance2D(double x, double y) const;
    double GetAverageSideLength() const;
    double GetMinSideLength() const;
    double GetMaxSideLength() const;
    // Smallest distance from the point to a side's line (with ignoreZero, lines through the point
    // aside); 0 when nothing is left.
    double GetMinSideDistance(const Vec3D& point, bool ignoreZero) const;
    // Half the shortest distance to an adjacent element's point; 0 when nothing is left.
    double GetHalfMinEdge(bool ignoreZero) const;
    // Signed about mZAxis; 0 within 1e-7.
    double GetArea() const;
    // Signed solid angle of the polygon seen from the model centre; 0 when two consecutive sides lie
    // in one plane through the centre.
    double GetSolidAngle() const;
    bool IsRegularPolygon() const;
    // The corner farthest from the centroid, the corner farthest from it and the corner farthest from
    // their line, as far as they exist; answers how many.
    int GetExtremeCorners(Vec3D out[3]) const;

    // Measures over the faces and vertices connected to the element; kind: the element's own
    // (faces or vertices), or the other with otherKind.
    double GetPartMinInradius(bool ignoreZero);
    // Mean point of the part's elements of the kind (unchanged zero when none) into centre; the
    // elements collected stay in buffer when one is given (room for every face and vertex).
    // Answers the number of elements of the part.
    int GetPartCentre(bool otherKind, Vec3D& centre, FaceVert** buffer);
    double GetPartRadius(bool otherKind);
    // kUnsetValue when the part holds no element of the kind.
    double GetPartHalfMinEdge(bool ignoreZero);

    // The line where the other element's plane meets this one's, in this element's frame:
    // a u + b v + d = 0 with (a, b) a unit vector. False for parallel planes.
    bool IntersectPlanes(const FaceVert* other, double& a, double& b, double& d) const;
    // Where the line from the element's point through p (along p for a direction) meets the plane;
    // false with the line's unit direction when they are parallel.
    bool IntersectWithPlane(const Vec3D& p, bool isDirection, Vec3D& out) const;
    // IntersectWithPlane, then x and y through the frame: false gives the direction, not translated.
    bool ProjectPoint(const Vec3D& p, bool isDirection, const Transform3D& frame, Vec2D& out) const;
    bool ProjectNeighbour(const FaceVert* element, const Transform3D& frame, Vec2D& out) const;
    bool ProjectAdjacent(int side, const Transform3D& frame, Vec2D& out) const;
    // Corner i through the element's own frame: one point for a finite corner; for an infinite one
    // the five points that close the strip it opens off within the model's sphere; none when there
    // is no corner or no finite corner.
    int ProjectSide(int side, const Transform3D& frame, Vec2D out[5]);

    // Zoom-to-fit: the element's outline through the frame; the vertex figure (with coplanar
    // members and dual faces as the options say); every other element of the list as seen from it.
    virtual void FitOutline(FitPointSink& sink, const Transform3D& frame) = 0;
    void FitFigure(FitPointSink& sink);
    double GetFigureRadius();
    void FitRingFigure(FitPointSink& sink) const;
    double GetListFigureRadius() const;
    // Largest distance from the element's axis to a chord between two other elements of the list
    // as seen from it; kept in the list until its owner resets it.
    double GetMaxChordDistance();

    // ---- Outlines for face diagrams ----

    // Feeds the element's polygon and those of its coincidence ring, in its own frame, into its face
    // type's diagram, whose region classes reach mLoopTypes of every face of the type. Nothing for
    // an element at the centre or a type that shares another type's diagram.
    void BuildDrawLoops();
    // The same for the polygons at scale a clipped by the planes of the other side at scale b (the
    // model shown with its dual); the classes go to mMorphLoopTypes. The type's clipped outline is
    // emptied first in every case.
    void BuildMorphLoops(double a, double b);
    // The element's own polygon clipped the same way, as a ring of 2D points in its frame; null when
    // nothing is left. The caller frees it (FreeRing).
    RingVert* BuildMorphRing(double a, double b);

    // ---- Coplanar rings, frames and congruence ----

    // Takes the axes of the first ring member of the type's coplanar master type.
    void CopyAxesFromRing();
    // A proper motion maps this polygon onto the other one (and its size too with allowScale).
    bool IsCongruent(const FaceVert* other, bool allowScale) const;
    // Pairing under a symmetry operation m: this element's image (its point p', the centre c' of its
    // corner 0's element) against the other's corner elements; ordered keeps the cyclic order
    // (either turn). start and reversed, when given, receive where and how it matched.
    bool MatchesTransformedPoint(const FaceVert* other, const Vec3D& point, const Vec3D& centre, const Mat3& m,
                                 bool ordered, int* start, bool* reversed) const;
    // The same by plane and corner points: centre c', axis a' and corner 0's point q' are the images.
    bool MatchesTransformed(const FaceVert* other, const Vec3D& centre, const Vec3D& axis, const Vec3D& corner,
                            const Mat3& m, bool ordered, int* start, bool* reversed) const;
    bool MatchesUnderTransform(const FaceVert* other, const Mat3& m) const;
    // The other element's corner that this element's corner 0 maps to under the group's improper
    // operation k, -1 when it is no image; direction: +1 same turn, -1 reversed. Without centre the
    // images are computed here.
    int FindImageUnderSymmetry(const FaceVert* other, const Vec3D* centre, const Vec3D* axis, const Vec3D* corner,
                               const SymGroup& group, int mirror, int& direction) const;
    // For a Hemi element: an even-order axis of the group in force, in the element's plane, whose
    // half turn maps the element onto itself; null when none.
    const Vec3D* FindHalfTurnAxis() const;
    // The polygon is its own mirror image in the line through the centroid with the normal.
    bool IsMirrorSymmetric(const Vec3D& normal) const;
    // The first mirror line through a side's midpoint or a corner, side by side.
    bool FindMirrorLine(Vec3D& normal) const;
    // From edge u-v along the line where this face's plane meets f's, through vertices where faces
    // coplanar with the two continue it; appends v and each further vertex to list. True when the
    // line went on past v.
    bool TraceOriginalEdge(std::vector<FaceVert*>& list, FaceVert* u, FaceVert* f, FaceVert* v, FaceVert* g);

    // ---- Drawing into the view that draws (the current SceneDrawer) ----

    // Green or dark red by the drawn polygon's plane while facets exist, else the element's colour
    // or the default vertex colour.
    ColorRGB GetDrawColor() const;
    // Each finite corner not hidden on the side the view shows, as a point (o + corner) s.
    void DrawCornerPoints(const Vec3D& o, double s) const;
    // Side i from corner i to corner i+1 into the batch; the selected edge three times as wide
    // unless noWiden. A side to a corner at infinity runs as far as the model's sphere.
    void DrawSide(int i, const Vec3D& o, double s, bool noWiden, LineBatch& batch);
    // Half of the side from corner i-1 to corner i: the first or the second.
    void DrawHalfSide(int i, const Vec3D& o, double s, bool firstHalf, LineBatch& batch);
    // Every side in its edge's colour.
    void DrawSides(const Vec3D& o, double s);
    // The number and the three axes at the (exploded) centroid; nothing for a hidden element.
    void DrawNumber(double s, double explosion) const;
    bool ShouldDrawText() const;
    // The face label: numbers and texts of the element and its concentric coplanar members.
    void DrawText(const Vec3D& anchor, const Vec3D& direction, const Vec3D& normal);
    void DrawTextOnFace(double s, double explosion);
    // The faceting diagram of a vertex: the other elements projected onto its plane, the chords
    // between them, the drawn polygon or the measured points, and labels.
    void DrawFacetingDiagram();

    int32_t mNumSides;
    int32_t mDensity = 1;
    FaceType* mFaceType = nullptr;  // owned by the Stellation of the element's side
    uint32_t mFlags = 0;
    int32_t mIdFlags = 0;  // type identifier: equal identifiers, one face type
    int32_t mSavedIdFlags = 0;  // taken when a symmetry subgroup is first applied
    Poly* mPoly;
    // Set by the face-type analysis and reset with the face type: the axis of its type's axis class
    // through the element, and the number of the rotation that maps its type's first element onto
    // it (0 for the first, -1 for none yet).
    int32_t mTypeMark = 0;
    int32_t mTypeOffset = -1;
    int32_t mIndex = -1;  // position in its list
    Vec3D mCentroid;
    Vec3D mCentre;  // foot of the perpendicular from the model centre onto the plane
    Vec3D mXAxis{1.0, 0.0, 0.0};
    Vec3D mYAxis{0.0, 1.0, 0.0};
    Vec3D mZAxis{0.0, 0.0, 1.0};
    Vec3D mPoint;
    std::unique_ptr<FaceVert*[]> mNeighbours;
    std::unique_ptr<Edge*[]> mEdges;  // edge i lies between neighbours i and i+1
    FaceVert* mNextCoplanar = nullptr;  // the coincidence ring; null when alone
    LoopTypeHolder mLoopTypes;
    LoopTypeHolder mMorphLoopTypes;
    ColorRGB mBackColor;
    float mOpacity = 1.0f;
    FaceImageRef mImage;
    Face3D* mFace3D = nullptr;
    FaceVert* mNextOfType = nullptr;
    FaceVert* mSavedNextOfType = nullptr;
    ElemList* mList = nullptr;
    FaceVert* mNext = nullptr;
    FaceVert* mPrev = nullptr;

protected:
    // n null neighbours and edges; the derived constructor links the element into its list.
    FaceVert(Poly* poly, int numSides);
};
