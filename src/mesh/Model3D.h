#pragma once

#include "mesh/Face3DType.h"
#include "mesh/Vert3D.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class Edge3D;
class Face3D;
class FaceVert;
class FitPointSink;
class Net;
class NetType;
class PointList;
class Poly;
class Polygon3D;
class SegVert;
class SimplePoly;
class Stellation;
struct VertexPair;

// Bits of Model3D::mFlags.
inline constexpr uint32_t kModel3DKitYes = 0x1;  // both clear: the kit check has not run
inline constexpr uint32_t kModel3DKitNo = 0x2;
inline constexpr uint32_t kModel3DRegionsLinked = 0x4;
inline constexpr uint32_t kModel3DHasNets = 0x8;

// Options of Model3D::CreateSimplePoly.
inline constexpr uint32_t kMeshConvertNoHolesWarning = 0x2;
inline constexpr uint32_t kMeshConvertFolded = 0x4;
inline constexpr uint32_t kMeshConvertTriangulateAll = 0x20;
inline constexpr uint32_t kMeshConvertTriangulateNonConvex = 0x40;
inline constexpr uint32_t kMeshConvertTriangulateHoles = 0x80;

// The kit check's reasons, left in the mesh's Stellation. Arrays, so that each text has one address
// that every caller compares with.
inline constexpr char kKitReasonEdgeLengths[] = "Edges have different lengths.";
inline constexpr char kKitReasonFacesIntersect[] = "Faces intersect each other.";
inline constexpr char kKitReasonEdgeAngle[] = "Angle between edges is too small.";
inline constexpr char kKitReasonPanelShape[] = "Geomag don't make panels that shape.";
inline constexpr char kKitReasonFaceAngle[] = "Angle between faces is too small.";

// Two edges at a ball, or two panels at an edge, cannot meet at less than 53 degrees.
inline constexpr double kKitMinAngle = 0.9250245035569947;

// The face-by-face mesh of one side of the current model as the user sees it: the polyhedron's own
// faces, or the surface of the current stellation cut into facelets, with explicit neighbours, for
// nets, tabs, the kit check, metric data and facelet picking. The Stellation of its side owns it,
// builds it on demand and drops it whenever the model or the stellation changes.
class Model3D
{
public:
    Model3D(Poly* poly, Stellation* stellation);
    ~Model3D();
    Model3D(const Model3D&) = delete;
    Model3D& operator=(const Model3D&) = delete;

    // ---- Building ----

    // The mesh of the side's own faces (on the dual side, the Poly's vertices as faces), one facelet
    // type per face type, one vertex run per vertex type. Null only when memory runs out.
    static std::unique_ptr<Model3D> CreateFromPoly(Poly* poly, bool dual);
    // The surface of the stellation's current stellation traced out of its face types' diagrams;
    // numVerts is the count of surface corners that marking the used diagram vertices gave.
    static std::unique_ptr<Model3D> CreateFromStellation(Stellation* stellation, int numVerts);
    // A user's facet: a type of one facelet at the end of the user facets, its vertices found by
    // position, no neighbours. Nothing for null; a polygon without rings is cleared and ignored.
    void AddUserFacet(Polygon3D* polygon);
    void ClearUserFacets();
    // The n-th (0-based) user facet; nothing beyond the list.
    void RemoveUserFacet(int n);

    // Sets every element link of the side to none, unlinks the diagram regions, frees the vertices
    // and both facelet-type lists.
    void Clear();

    // For the builders: a zeroed vertex array (false when it cannot be had), and a new facelet type
    // appended to the model's own list (or to the user facets), owned by the model.
    bool AllocateVerts(int count);
    Face3DType* AppendFaceType(std::unique_ptr<Face3DType> type, bool userFacet);
    // The first vertex within 1e-7 of p in every coordinate; null when none.
    Vert3D* FindVertAt(const Vec3D& p);
    // The vertex at p in the run of the diagram vertex's mesh vertices; without a run the search by
    // position. Null, after an internal error, when the run lacks it.
    Vert3D* FindVert(const SegVert* segVert, const Vec3D& p);
    // Every facelet's edges find their neighbours; then each geometric edge gets one canonical mark.
    void ConnectEdges();

    // ---- Counts and look-ups; the static forms accept null ----

    int GetNumVerts() const { return mNumVerts; }
    Vert3D* GetVert(int i) const;
    // Over the model's own types, user facets excluded.
    int GetNumFaceTypes() const;
    int GetNumFaces() const;
    int GetNumEdgeSlots() const;
    // Edgelets: half the edge slots.
    int GetNumEdges() const;
    // The edgelets, and the edge slots joined on the other side.
    int GetNumEdges(int& joinedOtherSide) const;
    bool HasHoles() const;
    // The largest distance of a vertex from the centre.
    double GetRadius() const;
    // By running index, type by type; null beyond the end.
    Face3D* GetFace(int i) const;
    // By running index over every edge slot; null outside.
    Edge3D* GetEdge(int i) const;
    bool IsDual() const;
    // False for none.
    static bool HasNets(const Model3D* model) { return model && (model->mFlags & kModel3DHasNets); }

    // ---- Selection and drawing ----

    // Selects the facelet (null: none), making its net current and naming it in the status bar.
    void SelectFacelet(Face3D* face);
    // Selects the edge (null: none), making its net current and describing it in the status bar.
    void SelectEdge(Edge3D* edge);
    // Whether the edge's facelet is in what the net panes show: mode 1 the flat pane's current
    // net, mode 0 the folding pane's choice of nets, other modes every net.
    bool IsEdgeInShownNet(const Edge3D* edge, int mode) const;
    // The selected edge in white and its net partner in blue: mode 0 folded, 1 flat.
    void DrawSelectedEdge(int mode);
    // The Folding Net pane: the nets shown, folded to the scene's fold ratio.
    void DrawFoldedNets();
    // The mesh's edges once each, and only the cut ones in the cut colours, in a model pane.
    void DrawEdges(double explosion);
    // Every facelet in the model placement, farthest first, the exploded ones moved out by their
    // element's centroid.
    void DrawFaces(double explosion);
    // Orders facelets for drawing from the eye: by distance, farthest first, then one pass that
    // moves a facelet lying behind an earlier one's plane before it.
    static void SortFacesForDrawing(std::vector<Face3D*>& faces, const Vec3D& eye);
    void DrawCutEdges(double explosion);

    // ---- Edge lengths and the construction kit ----

    // The shortest and longest edge over the first facelet of every type (once).
    void CalcEdgeLengthRange();
    double GetMeanEdgeLength();
    double GetShortestEdgeLength();

    // Whether the kit can build the mesh: equal edges (within 1e-7) meeting at no less than the kit
    // angle at any vertex. Panel shapes and face angles only withdraw panels and leave a note. The
    // answer is kept; the reason goes to the Stellation. False for none.
    static bool IsKitBuildable(Model3D* model);
    // Rods, balls and panels by kind and colour (once); all zero when the kit cannot build it.
    void CountKitParts();
    // All panels of every kind and colour, counted first when needed.
    int GetNumKitPanels();

    // ---- Conversion and reports ----

    // The facelets as faces of a new plain model (one face per loop, or triangles by the options),
    // the vertices as its vertices; edgeList, when given, receives the mesh's edges. Null for an
    // empty model, or when the user cancels the question about holes.
    std::unique_ptr<SimplePoly> CreateSimplePoly(uint32_t options, VertexPair** edgeList);
    // The edges of the visible facelets as vertex pairs: mode 0 by mesh vertex, mode 1 by the
    // target's vertices found or made at the folded positions. Null for an empty model.
    VertexPair* CreateEdgeList(int mode, SimplePoly* target);

    // The text report of the mesh for model builders; a file that cannot be opened is reported.
    void ExportMetricData(const char* path, const char* title);

    // ---- Parts, regions and nets ----

    // Gives every part (the elements joined across convex or flat edges) the next automatic colour;
    // the caller first marks every element of the side uncoloured (red -1). Answers the parts.
    int ColorParts();
    // Links the facelets of whole faces to the diagram regions they cover (once).
    void LinkFaceletRegions();
    // The distinct colours of the nets, packed; empty without nets.
    std::vector<uint32_t> GetNetColors() const;
    Net* FindNetByColor(uint32_t color) const;

    // Every facelet into exactly one net, from scratch: edge marking, coplanar groups, growth,
    // combining, merging, the user facets' nets, layout, connection numbers, types sorted by size.
    // The first net of the first type becomes current.
    void CreateNets();
    // The steps of CreateNets from edge marking to merging.
    void BuildNets();
    // Frees every net type; with clearFacelets the facelets forget their nets too.
    void DeleteNets(bool clearFacelets);
    // Gives each cut pair of edges one number, in outline order net by net; others keep -1.
    void NumberConnections();
    // Exactly one type holding exactly one net.
    bool HasSingleNet() const;
    int GetNumNetTypes() const;
    // The first net of the next (or previous) type becomes current, wrapping round.
    void StepCurrentNet(bool forward);

    // Folds every net to the scene's fold ratio, unless already placed for it.
    void PlaceNetsFolded();
    // Places the nets and feeds the Folding Net pane's fit with the nets it shows.
    void ExtendFoldedFitBounds(FitPointSink& sink);

    // Pipeline steps, public for the net code.
    void GroupCoplanarFacelets();
    void MergeNetTypes();
    void AddExtraFaceNets();
    void SetNetBBoxRadii();
    void CopyNetLayouts();
    void CalcNetCentres();
    void SortNetTypes();

    Poly* mPoly;
    Stellation* mStellation;
    Face3DType* mFaceTypes = nullptr;  // owned
    Face3DType* mExtraFaceTypes = nullptr;  // owned: the user's facets
    Face3DType* mLastExtraFaceType = nullptr;
    Face3D* mSelectedFace = nullptr;
    Edge3D* mSelectedEdge = nullptr;
    int32_t mNumVerts = 0;
    std::unique_ptr<Vert3D[]> mVerts;
    int32_t mNumVertTypes = 0;
    uint32_t mFlags = 0;
    double mMinEdgeLength = -1.0;  // not computed
    double mMaxEdgeLength = -1.0;
    int32_t mKitPanels[4][5];  // by panel kind and kit colour; -1 until counted
    int32_t mKitRods = -1;
    int32_t mKitBalls = -1;
    NetType* mNetTypes = nullptr;
    NetType* mLastNetType = nullptr;
    Net* mCurrentNet = nullptr;
    double mFoldAmount = -1.0;  // never placed

private:
    void DrawEdgesOrCuts(double explosion, bool cutsOnly);
    void SetKitReason(const char* reason);
    // Builders' steps.
    bool CreateVertsFromPoly(Stellation* otherSide, int capacity);
    void CreateFaceTypesFromPoly(Stellation* side);
    bool CreateVertices(int numVerts);
    void CreateFaces();
    // The vertices by position cell, for FindVertAt; made on first use, dropped with the vertices.
    void IndexVerts();

    std::unordered_multimap<uint64_t, int> mVertIndex;
    int mIndexedVerts = -1;  // vertices in mVertIndex; -1 when none are indexed
    bool mReportedMissingNeigh = false;
};

// The size of the glue tabs of nets, in the current distance unit.
double GetTabSize();

// The faceted builder's distinct points: the place of a point equal within 1e-7 per coordinate,
// or of a copy appended at the end (the list's tolerance is set here); the list is emptied by Free.
int FindOrAddPoint(const Vec3D& point, PointList& list);
void FreePointList(PointList& list);
