#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/DiagramOutline.h"
#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

class FaceDiagram;
class FaceVert;
class Poly;
class SegVert;
class Stellation;
class StellationEdge;
class StellationFacet;
class StellationLine;
class StellationRegion;
struct SymAxis;
struct Transform3D;
class SymAxisSet;
class SymGroup;

// Flags of FaceType::DrawDiagram and DrawDiagramFacets: 0 is the normal drawing of a view.
inline constexpr int kDiagramFaded = 0x1;        // unused facets faded towards grey, all opaque
inline constexpr int kDiagramVerts = 0x2;        // the vertices as pickable points first
inline constexpr int kDiagramVertsOnly = 0x4;    // nothing but the vertices

// The selection names of the diagram drawing.
inline constexpr int kPickItemDiagramFacet = 2;
inline constexpr int kPickItemFaceFacet = 4;
inline constexpr int kPickItemVertFacet = 5;
inline constexpr int kPickItemDiagramVert = 33;

// Bits of FaceType::mFlags.
inline constexpr uint32_t kFaceTypeReflexible = 0x1;       // a mirror line lies in the type's plane
inline constexpr uint32_t kFaceTypeMirrorReversed = 0x2;   // mirror partners are walked the other way
inline constexpr uint32_t kFaceTypeHemiReflexible = 0x4;   // through the centre, mapped onto itself
inline constexpr uint32_t kFaceTypeDuplicateLine = 0x8;    // two planes gave the same diagram line
inline constexpr uint32_t kFaceTypePanelShape = 0x10;      // cached panel test: yes
inline constexpr uint32_t kFaceTypeNotPanelShape = 0x20;   // cached panel test: no
inline constexpr uint32_t kFaceTypeRhombusPanel = 0x40;    // the panel is the 60-degree rhombus
inline constexpr uint32_t kFaceTypeAugmentTarget = 0x80;   // an augmentation target holds it
inline constexpr uint32_t kFaceTypeUnfacetedRegion = 0x200;  // some diagram region got no facet

// One class of congruent faces of one side of a Poly (on the dual side, the Poly's vertices), with
// the stellation diagram that serves all of them, drawn once in the frame of its first face. The
// side's Stellation owns its types; the type owns its diagram, unless it is a coplanar copy, which
// borrows the diagram of the type whose plane it shares. Its faces are chained through their
// next-of-type link from mFirstFace.
class FaceType
{
public:
    // typeId is the identifying value of the first face; index the type's place in its side's list.
    FaceType(Poly* poly, Stellation* stellation, int typeId, int index);
    ~FaceType();
    FaceType(const FaceType&) = delete;
    FaceType& operator=(const FaceType&) = delete;

    // 0-based place in the side's list, -1 for none.
    static int GetIndex(const FaceType* type) { return type ? type->mIndex : -1; }
    // The type number shown in labels: the index + 1 (0 for none).
    static int GetNumber(const FaceType* type) { return GetIndex(type) + 1; }

    bool IsCoplanarCopy() const { return mCoplanarSource != nullptr; }
    // The mirror type comes earlier in the list.
    bool HasEarlierMirror() const;

    // Chains the face at the tail of the type's faces and makes it one of them.
    void AddFace(FaceVert* face);
    // The first element of the Poly's list that holds the type's faces (its vertex list when they
    // are vertices); null without a first face.
    FaceVert* GetElementListHead() const;

    // The order of the turn about the first face that maps the faces around it, and its corners,
    // onto faces and corners of the same types, lowered where the face count shows that the turn
    // cannot be a symmetry of the whole model. Nothing for a coplanar copy.
    void EstimateRotOrder();
    void SetRotOrderFromNeighbours() { EstimateRotOrder(); }
    // Raises the order to that of the first axis class of the group, a proper multiple of it, that
    // has an axis along the first face's normal. Nothing without a group.
    void RaiseRotOrder(const SymGroup* group);
    void CheckAxisClasses(const SymGroup* group) { RaiseRotOrder(group); }

    // Whether the first face's outline is a kit panel shape, cached in the panel bits: at most 12
    // corners, taken in reverse order for a face flagged Reversed, about its normal.
    bool IsPanelShape();
    // The same test on given corners in outline order and the normal; no corners stands for no
    // first face, which is never a panel and is not cached.
    bool IsPanelShape(std::span<const Vec3D> firstFaceCorners, const Vec3D& normal);

    // Frees the stellation diagram (regions with their edges, lines, vertices and facets) and
    // empties its lists; a coplanar copy owns none and only forgets what it borrowed.
    void FreeDiagram();

    // ---- The stellation diagram: every other face plane cut with the first face's plane ----

    // Builds the diagram of a type, the typeNumber-th (0-based) of typeCount, showing its progress
    // line by line. True at once for a coplanar copy, a built diagram or a first face at infinity.
    // False after a cancel or an internal error, with what was built trimmed to its bounded part.
    bool CreateDiagram(int typeNumber, int typeCount);
    // One line for every other plane that meets the first face's plane; planes giving the same
    // line share it, keeping the faces nearest the first face's plane on either side.
    bool CreateLines();
    // The line whose equation is (a, b, c) or (-a, -b, -c) within 1e-7 per coefficient; null if none.
    StellationLine* FindLine(double a, double b, double c) const;
    StellationLine* FindLineExact(double a, double b, double c) const;
    // The edge inside the bounding square through which the line enters it, with the entry point.
    StellationEdge* FindEntryEdge(const StellationLine* line, double& x, double& y) const;
    // Cuts every region the line crosses in two.
    bool InsertLine(StellationLine* line);
    // Turning round the end vertex of the edge, the edge leaving that vertex whose region the line
    // runs into in the direction dir: the region between it and the next edge counterclockwise.
    // Null after a broken ring, a full turn, or a line along an existing edge.
    static StellationEdge* FindEdgeAroundVertex(StellationEdge* edge, const StellationLine* line, const Vec2D& dir);
    // Keeps only the bounded part of the arrangement: every region touching the bounding square
    // goes, with the square, its vertices and the lines left without edges. Quiet skips the
    // messages, for a diagram that is only being tidied after a cancel or an earlier error.
    bool DeleteOuterSegments(bool quiet = false);
    // The largest distance from the centre of a line's end vertex; 1 when no line has edges.
    void CalcDiagramRadius();
    // The radius of the type's share of the stellation's mesh (built when missing): the largest
    // distance from the first face's centre to a corner of a facelet on that face; 1 when none.
    void CalcRadius();
    // That radius once the stellation's sizes are known (Stellation::GetRadius); 1 for no type.
    static double GetRadius(FaceType* type);

    // Positions in the type's lists, -1 for null and -2 when not found; a vertex counts through
    // mOuterVerts and then mVerts.
    int GetRegionIndex(const StellationRegion* region) const;
    int GetVertIndex(const SegVert* vert) const;
    int GetLineIndex(const StellationLine* line) const;
    int GetNumLines() const;

    // The mirror line of a type reflexible in its plane runs through the centre along mMirrorDir.
    Vec2D ReflectPoint(const Vec2D& p) const;
    bool IsOnMirror(const Vec2D& p) const;
    bool IsLeftOfMirror(const Vec2D& p) const;
    // The region lies along the mirror line or crosses it; with touch a vertex on it is enough.
    bool RegionStraddlesMirror(const StellationRegion* region, bool touch) const;

    // An even-order axis of the group along the first face's normal, and the first axis of an
    // even-order class lying in the first face's plane; null when none.
    const SymAxis* FindNormalAxis() const;
    const SymAxis* FindHemiAxis() const;

    // Starts every vertex on a coincidence ring of its own and joins the turned copies of each
    // vertex that the facets give.
    void LinkSymmetricVerts();
    // Along every line, joins the rings of its vertices with those of the matching vertices of
    // the line's outer neighbour; the typeNumber-th of typeCount for the progress text. False on
    // cancel.
    bool JoinCoincidentVerts(int typeNumber, int typeCount);

    Poly* mPoly;
    uint32_t mFlags = 0;
    int32_t mTypeId;  // equal for faces of the same type
    int32_t mIndex;
    int32_t mScratch = -1;  // a work value of the face-type analysis
    SymAxisSet* mAxisClass = nullptr;  // the class of the rotation axis through the faces
    int32_t mCount = 0;                // faces of the type
    int32_t mNumRotations = 0;         // order of the turn about the face normal (1: none)
    Vec2D mMirrorDir;                  // the mirror line of a type reflexible in its plane
    Vec2D mHemiDir;                    // an even-order axis in the plane of a face through the centre
    FaceType* mMirrorFace = nullptr;   // the type that is this one's mirror image
    FaceVert* mMirrorImageFace = nullptr;  // the face that is the first face's mirror image
    Stellation* mStellation;
    FaceVert* mFirstFace = nullptr;
    FaceVert* mLastFace = nullptr;
    FaceType* mCoplanarSource = nullptr;  // the type whose plane, axes and diagram this one shares
    double mOuterLimit = 999999.9;        // half the width of the diagram's bounding square
    double mDiagramRadius = 1.0;
    double mRadius = -1.0;  // not yet computed
    double mArea = 0.0;        // of the first face
    double mSolidAngle = 0.0;  // of the first face
    int32_t mMaxOriginalRing = -1;

    // The face diagram of the first face's coincidence ring, made when first built (its items in
    // the Poly's diagram pools), with its outline; and the outline of the first face clipped by
    // the dual. The faces of the type hold the region classes of both.
    std::unique_ptr<FaceDiagram> mDiagram;
    DiagramOutline mOutline;
    DiagramOutline mMorphOutline;

    // The stellation diagram.
    StellationFacet* mFacets = nullptr;  // through their list links
    StellationFacet* mLastFacet = nullptr;
    StellationFacet* mUsedFacets = nullptr;  // on the surface of the current stellation, through mNextUsed
    StellationRegion* mInnermostRegion = nullptr;
    StellationRegion* mFirstRegion = nullptr;
    StellationRegion* mLastRegion = nullptr;
    int32_t mNumRegions = 0;
    StellationLine* mLineEqns = nullptr;
    SegVert* mOuterVerts = nullptr;
    SegVert* mVerts = nullptr;
    StellationEdge* mOuterEdge = nullptr;

    // ---- The cells' view of the diagram ----

    // Marks where the group's rotation axes meet the type's plane: the vertex there (bits 1 to 3),
    // the edge whose middle it is (bit 11), or the first facet when the axis is the normal (bits 8
    // to 10). For every axis of every class.
    void MarkAxisPoints();
    void MarkAxisPoint(int axisClass, int order, const Vec3D& direction, bool oneSided);
    // An edge of a line through the centre whose middle is the centre; null when none.
    StellationEdge* FindCentralLineEdge() const;
    // Facets covered by an original face of the plane (the first face's coplanar ring) get bit 11;
    // mMaxOriginalRing becomes the highest ring among them.
    void MarkOriginalFacets();

    // ---- Queries ----
    int GetNumRegions() const { return mNumRegions; }
    int CountUsedFacets() const;
    // The n-th facet, used facet, or vertex (mOuterVerts then mVerts); null outside.
    StellationFacet* GetFacet(int n) const;
    StellationFacet* GetUsedFacet(int n) const;
    SegVert* GetDiagramVert(int n) const;
    // The mean of the vertices of every region of the used facets; the centre when there are none.
    Vec2D GetUsedFacetsCentre() const;
    // The edge that starts at the point and runs along a line through it; null when none.
    StellationEdge* FindEdgeAt(double x, double y) const;
    // The used facets from the outermost ring in, and by number within a ring.
    void SortUsedFacets();

    // ---- Drawing (FaceTypeDrawing.cpp), through the current scene drawer ----
    // The frame takes diagram points (x, y, 0) into the scene.
    // The whole diagram: its facets coloured by the stellation diagram colour scheme, then its lines.
    void DrawDiagram(const Transform3D& frame, int flags);
    // The diagram in the plane of a face of the type, moved by offset, then scaled.
    void DrawDiagramOnFace(const FaceVert* face, const Vec3D& offset, double scale, int flags);
    void DrawDiagramFacets(const Transform3D& frame, int flags);
    // Every line between its two ends; with "Show Original Edges" the original face's edges again
    // at four times the width.
    void DrawDiagramLines(const Transform3D& frame);
    // The facets of the current stellation in the plane of the face, those seen from the side the
    // face shows to the viewer; named for picking by face and facet.
    void DrawUsedFacetsOnFace(const FaceVert* face, const Vec3D& offset);
    // With "Show Cell Lines", the edges between the regions of the used facets that are not edges of
    // the stellation's surface, each segment once; nothing while the stellation is not built.
    void DrawCellLines(const FaceVert* face, const Vec3D& offset, double scale);
    // The diagram's vertices, and the vertices of the used facets' regions, for a fit.
    void CollectDiagramPoints(std::vector<Vec2D>& points) const;
    void CollectUsedFacetPoints(std::vector<Vec2D>& points) const;
    // The colour a facet takes under the scheme (0..5) before any fading; the previous facet's colour
    // is what scheme 3 keeps for the second of a mirror pair. False: not drawn (scheme 1 hides
    // internal facets and facets off the surface).
    bool GetFacetColour(const StellationFacet* facet, int scheme, const ColorRGB& previous, ColorRGB& out) const;

    FaceType* mNextFaceType = nullptr;

private:
    void ForgetDiagram();
};
