#pragma once

#include "kernel/CountedArray.h"
#include "kernel/DiagramOutline.h"
#include "kernel/DiagramPools.h"
#include "kernel/LoopTypeHolder.h"
#include "kernel/TransitionSettings.h"
#include "kernel/Vec3D.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "operations/Augmenter.h"
#include "stellation/Stellation.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Cell4D;
class CompoundPart;
class Face;
class FaceImage;
class FitPointSink;
struct OutlineFeeder2D;
struct Transform3D;
class FaceVert;
class Model3D;
class PointList;
class Polygon3D;
class PolyTemplate;
class Polytope4D;
class SectionPolygon;
class SimplePoly;
class SymGroup;
class Vert;
class Vert4D;
struct LibraryEntry;
struct VertexPair;
struct ZoneOptions;
template <class T>
class GrowableArray;

// One facet of the faceted model made from the drawn polygons, and the polygon it came from.
struct FacetTableEntry
{
    Polygon3D* mPolygon = nullptr;
};

// The current polyhedron: the one object every view, command, exporter and analysis reads. It is
// dual-symmetric: its faces and its vertices are both FaceVert elements, so what is done to the
// faces of the model is done with the same code to the faces of its dual (its vertex list). Around
// the two lists it owns what the analysis derives (edges, face types in its two Stellations,
// symmetry groups, compound parts, volumes), its selection, names and sources, the drawn polygons
// and the transition state. One lives in each ModelRecord; a few operations make one on the stack.
class Poly
{
public:
    // Model flags (mFlags); a rebuild clears the word.
    static constexpr uint32_t kKitYes = 0x1;
    static constexpr uint32_t kKitNo = 0x2;
    static constexpr uint32_t kDualKitYes = 0x4;
    static constexpr uint32_t kDualKitNo = 0x8;
    static constexpr uint32_t kOneSided = 0x20;
    static constexpr uint32_t kAgainstType = 0x40;
    static constexpr uint32_t kRetroFailed = 0x80;
    static constexpr uint32_t kOldStyleAxes = 0x100;
    static constexpr uint32_t kDontReorderUniFaces = 0x200;
    static constexpr uint32_t kConvex = 0x400;
    static constexpr uint32_t kRadiallyConvex = 0x800;
    static constexpr uint32_t kNonSelfIntersecting = 0x1000;
    static constexpr uint32_t kRecolorFaceDiagrams = 0x2000;
    static constexpr uint32_t kRecolorMorphDiagrams = 0x4000;
    static constexpr uint32_t kRecolorSection = 0x8000;
    static constexpr uint32_t kIs4D = 0x20000;

    // Keep flags of SetPolytope4D.
    static constexpr int kKeepScale = 0x1;
    static constexpr int kKeepProjection = 0x2;
    static constexpr int kKeepColors = 0x4;

    // Template matching states (mMatchingStatus).
    static constexpr int kMatchingRunning = 0;
    static constexpr int kMatchingFinished = 1;
    static constexpr int kMatchingOpenBranches = 2;
    static constexpr int kMatchingFailed = 3;

    // Conversion flags of CreateSimplePoly.
    static constexpr uint32_t kConvertQuiet = 0x1;
    static constexpr uint32_t kConvertNoHolesWarning = 0x2;  // the stellation mesh asks nothing about holes
    static constexpr uint32_t kConvertFolded = 0x4;          // a folding net's folded state
    static constexpr uint32_t kConvertBase = 0x8;
    static constexpr uint32_t kConvertDual = 0x10;
    static constexpr uint32_t kConvertTriangulate = 0x60;
    static constexpr uint32_t kConvertDropSmall = 0xe0;
    static constexpr uint32_t kConvertKeepPart = 0x100;
    static constexpr uint32_t kConvertVertsOnly = 0x200;
    static constexpr uint32_t kConvertAllowInfinite = 0x400;
    static constexpr uint32_t kConvertKeepPolytope = 0x800;
    static constexpr uint32_t kConvertPolytopeUnscaled = 0x1000;

    Poly();
    ~Poly();
    Poly(const Poly&) = delete;
    Poly& operator=(const Poly&) = delete;

    // Lifecycle.
    // Every member of the model back to its initial value (the lists, pools and embedded objects
    // aside); one empty drawn polygon; the measurement starts afresh.
    void Init();
    // Frees everything the model owns, then Init unless keepMembers.
    void Clear(bool keepMembers = false);
    // Drops the group in force, the face types of both sides with every element's link to them,
    // and the stellations and facetings built on them.
    void ClearAnalysis();
    void FreeEdges();
    void ResetElementEdges();

    // Adds a picked point to the polygon being drawn. The last point again, or the one before it,
    // removes the last point instead; a point off the polygon's plane changes nothing and says so.
    void AddFacetVertex(const Vec3D& point);
    // Drawn polygons (the user's facets). The current polygon, when it encloses an area, is kept
    // and a new empty one started; without an area it is emptied.
    void CloseDrawnPolygon(bool resetFacetings, bool withUndo);
    // Every drawn polygon goes; one empty polygon is current again.
    void ClearDrawnPolygons(bool resetFacetings);
    // Removes the closed polygon at position, or the one count steps from the first, whichever
    // comes first; nothing when the walk reaches the current polygon. Facet table entries that came
    // from it go with it.
    void RemoveDrawnPolygons(const Polygon3D* position, int count);

    // Names and sources. The setters store a copy (none for null or empty) and mark the Model Info
    // tree out of date.
    void SetBaseName(const char* text);
    void SetDualName(const char* text);
    void SetComments(const char* text);
    void SetLink(const char* text);
    // Null when there is none.
    const char* GetBaseName() const { return TextOrNull(mBaseName); }
    const char* GetDualName() const { return TextOrNull(mDualName); }
    const char* GetComments() const { return TextOrNull(mComments); }
    const char* GetLink() const { return TextOrNull(mLink); }
    // The base name when isDual equals the show-dual flag, else the dual name.
    const char* GetNameFor(bool isDual) const;
    // The template's configuration, else the library entry's symbol, else empty.
    std::string GetName() const;
    // Names, comments and link from a library entry (null clears them).
    void SetFromLibraryEntry(const LibraryEntry* entry);
    void SetSpringDesc(std::string text) { mSpringDesc = std::move(text); }
    // Makes the model show the polytope (null: none), re-initialising it first.
    void SetPolytope4D(std::unique_ptr<Polytope4D> polytope, int keepFlags);
    // Builds the library row into this model: a prism-family row by its builder, any other row
    // from its vertex configuration through the caller's template (stepwise only starts the
    // matching). False, with the builders' messages, when the row cannot be made.
    bool CreateFromLibraryEntry(PolyTemplate* templ, const LibraryEntry* entry, bool stepwise);

    // Access.
    // The faces, vertices and Stellations of one side; the dual side swaps them. Outputs may be null.
    void GetSideLists(bool dual, ElemList** faces, ElemList** verts, Stellation** stellation,
                      Stellation** otherStellation);
    Stellation* GetFaceStellation() { return &mStellations[0]; }
    Stellation* GetVertStellation() { return &mStellations[1]; }
    const Stellation* GetFaceStellation() const { return &mStellations[0]; }
    const Stellation* GetVertStellation() const { return &mStellations[1]; }
    // The vertex stellation while the dual is shown, else the face stellation.
    Stellation* GetShownStellation() { return mShowDual ? GetVertStellation() : GetFaceStellation(); }
    // The selected face of the shown side's Stellation.
    FaceVert* GetStellationFace() { return GetShownStellation()->mSelectedFace; }
    Vert* GetNthVert(int i) const;
    Face* GetNthFace(int i) const;
    // Faces first, then vertices; null outside, or for a null Poly.
    static FaceVert* GetElement(const Poly* poly, int i);
    // Null when i is not below the edge count.
    Edge* GetEdge(int i) const;
    // The first edge between the two faces (either order) and the two vertices (either order).
    Edge* FindEdge(const FaceVert* face0, const FaceVert* face1, const FaceVert* vert0, const FaceVert* vert1) const;
    bool HasEdges() const { return mEdges.count > 0; }
    // The full group while a subgroup is applied, else the group in force.
    SymGroup* GetSymGroup() const;
    // For a 4D model the polytope's; otherwise the largest distance of a face type's pole from the
    // centre (cached), 1.0 without face types.
    double GetRadius();
    // Height of scene text and radius of the vertex spheres for a side (0 faces, 1 vertices), by the
    // text-size mode and the sphere options: count defaults to faces plus vertices when negative,
    // size and length are the item's own when positive.
    double GetTextSize(int side, double meanEdgeLength, int count = -1, double size = -1.0, double length = -1.0);
    double GetVertexSphereRadius(int side, double meanEdgeLength, int count = -1, double size = -1.0,
                                 double length = -1.0);
    // The spread of the points of one side's vertices along the direction, points at infinity left
    // out; 0 for none.
    double GetExtentAlong(const Vec3D& direction, bool dual) const;
    // Clears the given flag bits on every face and vertex.
    void ClearElementFlags(uint32_t mask);

    // Compound parts.
    bool IsCompound() const;
    int GetNumParts() const;
    CompoundPart* GetNthPart(int n) const;

    // Selection.
    // Selects a face or vertex (null: none); asVertex makes it appear as a vertex of the shown
    // model, switching the side shown as needed.
    void SelectFace(FaceVert* element, bool asVertex);

    // ---- Selection, compound parts, measures, kit check and transition queries ----
    // Selects an edge, or hands a face or vertex (or nothing) to SelectFace.
    void SelectElement(PolyElement* element, bool asVertex);
    // Steps through the element's coincidence ring: the member after the selected face.
    void SelectNextCoincident(FaceVert* element);
    // Nothing selected any more: no element, no axis of the group in force, no edge of the face
    // side's mesh, no 4D cell.
    void ClearSelection();
    // Shows the dual in place of the model, or the model again.
    void SetShowDual(bool showDual);
    Edge* GetSelectedEdge() const { return mSelectedEdge; }
    // The selected face of the other side's Stellation: a vertex of the shown model.
    FaceVert* GetStellationVert();
    // The selected face, else the shown side's stellation face.
    FaceVert* GetSelectedFace();
    PolyElement* GetSelectedEdgeOrFace();
    // GetStellationVert, or the next vertex of its list that is not at the centre.
    FaceVert* GetVisibleStellationVert();
    bool HasSelectedVert() const;
    bool HasSelectedEdge() const;
    // "vertex", "edge", "face" or, for a 4D model, "cell".
    const char* GetSelectedKindWord() const;
    // The polytope of a 4D model, its dual while the dual is shown.
    Polytope4D* GetShownPolytope4D();
    Cell4D* GetSelectedCell4D() const;
    Vert4D* GetSelectedVert4D() const;
    // Packed 0x00BBGGRR: the draw colour of the shown model's current vertex, and of the selected
    // edge.
    uint32_t GetVertColorRef();
    uint32_t GetSelectedEdgeColorRef();
    // Moves the model so that the point becomes the origin, as one undo step; false, with the model
    // unchanged and no step left, when it cannot be rebuilt.
    bool SetCentre(const Vec3D& point);

    // Splits the model into its connected parts, orients each (a part listed inside out is turned
    // round, a one-sided part is marked) and sums the volumes of the model and of its dual. Answers
    // whether the faces of the last part face different ways.
    bool FindCompoundParts();
    // Face-type areas times their face counts, for both sides.
    void CalcSurfaceAreas();
    // 1 plus the sum over the parts of (genus - 1).
    int GetGenus() const;
    CompoundPart* FindPartOf(FaceVert* element);
    // One palette colour per part; answers the number of parts.
    int ColorByPart();
    // Recolours the element's connected part; with onlySameColor, only the elements of the start's
    // colour.
    void FillPartColor(FaceVert* start, const ColorRGB& color, bool onlySameColor);
    // Mean of the vertex points (those flagged Skip left out), and weighted by the faces around each.
    Vec3D GetVertexCentroid() const;
    Vec3D GetWeightedVertexCentroid() const;
    // The sphere through every vertex; false for 3 vertices or fewer or when there is none.
    bool GetCircumcentre(Vec3D& centre, double& radiusSq) const;

    // Whether the magnetic construction kit builds the model (its dual with dual); the answer is
    // kept in the model flags and a "no" leaves its reason. A reason from the caller records a
    // known "no".
    bool IsKitBuildable(bool dual, const char* reason);
    // The same for the mesh of one side's current stellation.
    bool IsStellationKitBuildable(bool dual);

    bool InTransition() const { return mTransitionEnd >= 0.0; }
    double GetTransitionLength() const;
    double GetTransitionStart() const;
    // Gives the transition a new length from the time on, keeping the part already played.
    void RetimeTransition(double time, double length);
    // A new target scale from the time on, the scale passing through its present value then.
    void RetargetScale(double time, double target);
    // The model is exploding or imploding in the running transition.
    bool IsExplodePhase() const;

    // ---- Building from a vertex configuration ----
    // Starts the model from the solved template and matches vertices until it closes up; false
    // when it cannot (status kMatchingFailed).
    bool PrepareFromTemplate(PolyTemplate* templ, uint32_t flags);
    // Matching steps while the status is running; fails after more than kMaxAddedVertices steps. A
    // convex result marks every element as on the convex hull.
    bool SolveMatching();
    // One step (Add Vertex): the next vertex, or the next branch after a dead end or on request.
    bool MatchStep();
    // Matches and completes the vertex; with none, finishes the model and analyses it.
    bool AddVertex(Vert* vertex);
    // The unmatched vertex with the fewest placements left (more attached faces first, then the
    // earliest); null when none is left or one has no placement.
    Vert* NextVertexToMatch() const;
    // Recounts the unmatched vertices whose faces changed; false (with a message) when one has no
    // placement left.
    bool CheckMatchable();
    // Fills the corners of a face whose corner 0 is set: from the faces around its corners where
    // they exist, new vertices on its circle elsewhere; then its pole.
    bool CreateVertices(Face* face);
    // Mends the faces around the vertex that disagree about the vertex between them.
    bool ZipVertex(Vert* vertex);
    static constexpr int kMaxAddedVertices = 500;

    // ---- The analysis ----
    // Classifies faces and vertices into face types, sets the symmetry group (the given one, or
    // derived from the face types when null, turning the model into the group's orientation),
    // orients the face frames, finds parts, volumes and density, builds the drawn polygons, colours
    // and edges. Always answers true: inconsistencies are reported and the analysis goes on.
    bool SetFaceTypes(std::unique_ptr<SymGroup> group, bool colourFaces, bool colourVerts);
    // Builds the stellation of one side (its diagrams, their links and facets, then its cells),
    // first asking the user when the build looks too complex; afterwards its mState is built, or
    // not built after a failure, a cancel or a "no", which also stops later calls until the face
    // types are made again. Nothing for no stellation, one built or being built, one declined, a
    // model moving out in a transition, no face types, or while some build's question is open.
    // The level asked for is for the callers, who compare mState with it.
    void CreateStellation(Stellation* stellation, int level);
    // Half the sum over the face types of faces times sides; stored in mNumEdges.
    int CountEdges();
    // The edges and edge types from the face types of the model's own side.
    void CreateEdges();
    // Faces by shape (sides over density), then by type size and index.
    void SortFaces();
    void CreateAllPolygonsForDrawing();
    void RecolourFaceDiagrams();
    void SetFaceTypeRotSyms();
    // Applies a subgroup of the full group: with a negative second index the first counts through
    // the combined list of subgroups (both are then updated), otherwise the first chooses the
    // rotational subgroup and the second its reflective choice. Retypes faces and vertices by the
    // subgroup's orbits and reruns the analysis; false when the subgroup cannot be made.
    bool SetSymmetry(int& first, int& second);
    // Gives the element and its images under the group in force, among its successors of the same
    // full-group type, the type id counter, which then moves on. Nothing for an element already given.
    void AssignSubgroupTypes(FaceVert* element, int& counter);
    // Whether applying a subgroup recolours the faces by their new types.
    inline static bool sRecolourOnSymmetryChange = true;

    // What the view (null: the active one) shows, as a plain model the caller owns: the model's own
    // side for the model views; null, with a message unless kConvertQuiet, for a view that cannot
    // be converted. Missing comments and link come from the model. edgeList (may be null) receives
    // the edges of the model's side, for the caller to free; fromModel (may be null) whether the
    // result was made from the model's own faces.
    std::unique_ptr<SimplePoly> CreateSimplePolyFromView(uint32_t flags, VertexPair** edgeList, bool* fromModel,
                                                         void* view);
    // The dispatch on the view type behind CreateSimplePolyFromView; kConvertBase or kConvertDual
    // skips it.
    std::unique_ptr<SimplePoly> ConvertViewToSimplePoly(uint32_t flags, VertexPair** edgeList, bool* fromModel,
                                                        void* view);
    // A view of the stellation family: the mesh of the shown side's stellation, converted; null when
    // no mesh can be built.
    std::unique_ptr<SimplePoly> ConvertStellationView(int viewType, uint32_t flags, VertexPair** edgeList,
                                                      bool* fromModel);
    // The edges of one side (kConvertDual: the dual's) by the indices of their ends, each with its
    // packed colour: the edge records not hidden on that side, or without records every side of every
    // face in the default edge colour. Null for none; the caller frees it.
    VertexPair* GetEdgeList(uint32_t flags) const;
    // The plain form of one side of the model (flags: kConvert...; the dual side with kConvertDual),
    // owned by the caller; part, when given, is kept alone (kConvertKeepPart) or left out. Null with
    // a message when the side cannot be converted.
    std::unique_ptr<SimplePoly> CreateSimplePoly(uint32_t flags, CompoundPart* part, void* view);
    // Names a converted side with the names the view shows (the model's own without a view), and
    // copies the comments and link.
    void NameSimplePoly(bool dualSide, SimplePoly& simplePoly, void* view) const;

    // ---- Subdivided faces and zonohedra: new models for the caller, or null with a message ----
    // Every face of the side shown cut into the triangular grid of frequency parts per edge (a
    // polygon other than a triangle first into the fan about its centroid); geodesic puts every
    // point on the unit sphere. Null also on cancel and for a result too large to hold.
    std::unique_ptr<SimplePoly> Subdivide(bool geodesic, int frequency);
    // The zone vectors the options choose from the side shown, into the list (tolerance 1e-7), in
    // this order: vertices, edges, faces, axis classes, the coordinate axes; at most the options'
    // maximum.
    void CollectZoneVectors(PointList& list, const ZoneOptions& options);
    // The zonohedron of the zones the options choose, or with options.zonish the model with those
    // zones added round it. Null also on cancel.
    std::unique_ptr<SimplePoly> Zonohedrify(const ZoneOptions& options);

    // ---- Drawing, through the current SceneDrawer (the view that draws, or a recorder) ----
    // The kinds of DrawFaceList: 0 the plain model, 1 to 7 the dual morphs, 8 the stellation.
    // explodeScale 1 keeps the faces in place; scale multiplies the Poly's display scale.
    int DrawBaseModel(double scale, double explodeScale);
    int DrawDualModel(double scale, double explodeScale);
    // The faces of one side (faces: the side's face list, others the other list).
    void DrawSide(ElemList* faces, ElemList* others, double scale, double explodeScale);
    // The current stellation of the base side (of the dual side), facelet by facelet in kind 8; the
    // mesh is built when missing, and nothing is drawn while none can be built.
    void DrawStellationView(double scale, double explodeScale);
    void DrawDualStellationView(double scale, double explodeScale);
    // The faceted polyhedron of the drawn facets, built again (quietly) when the facets changed;
    // null without facets. The current faceted face stays below the new face count.
    void UpdateFacetedPoly();
    // The Faceting Preview pane's model: the faceted polyhedron with its problem edges marked.
    void DrawFacetingPreview(double explodeScale);
    // The shown side as the compound pane draws it: kind 0 while its stellation is the original
    // polyhedron, else kind 8; answers the kind it used.
    int DrawCompoundView(double scale, double explodeScale);
    // Every face of the list, or the one face given.
    void DrawFaceList(ElemList* faces, int kind, double scale, double explodeScale, FaceVert* single);
    void DrawFace(FaceVert* face, int kind, double scale, double explodeScale, bool single);
    // One pass of one face in the colour (red below 0: the face's own); true when another pass
    // follows.
    bool DrawFacePass(FaceVert* face, int kind, double scale, double explodeScale, const float color[4], bool single,
                      int& pass);
    // The selected face of the shown side, highlighted over the model.
    void DrawSelectedFace(int kind, double scale, double explodeScale);
    // Selected-face display 1: the face type's stellation diagram in the face's plane, in place of
    // the face and its coplanar partners (built with its cells when needed).
    void DrawSelectedFaceDiagram(FaceVert* face, double scale, double explodeScale);
    // The drawn positions of one side's finite, visible vertices (once per face around each when
    // exploded), with the vertex of each; and the two ends of each drawn edge with the edge.
    void CollectVertexPoints(bool dual, double scale, double explodeScale, std::vector<Vec3D>& points,
                             std::vector<const FaceVert*>& elements) const;
    void CollectEdgeSegments(bool dual, double scale, double explodeScale, std::vector<Vec3D>& ends,
                             std::vector<const Edge*>& edges) const;
    // Radius of the rods: "CylinderRad" times the vertex spheres' (-1 arguments: the model's own).
    double GetCylinderRadius(int side, double meanEdgeLength, int count, double size, double length);
    // Vertices as points and edges as lines of one side, each in its own colour.
    void DrawVertices(bool dual, double scale, double explodeScale);
    void DrawEdges(bool dual, double scale, double explodeScale);
    // The selected vertex as a large point, the selected edge as a wide line, the selected face's
    // outline.
    void DrawSelection(double scale, double explodeScale);
    // 1 shows the selected face as its stellation diagram: only with a selected face whose type's
    // diagram exists, in kinds 0 and 8.
    int GetSelectedFaceDisplay(int kind) const;
    bool IsInSelectedFaceRing(const FaceVert* face) const;

    // ---- The 2D cross-section of the shown side (PolyCrossSection.cpp) ----
    static constexpr uint32_t kSectionValid = 0x10000;
    // The extremes of n . p over the shown side's finite vertices (9.99999e99 and -9.99999e99 for
    // none) and the plane's place between them: max - depth (max - min).
    double GetCrossSectionRange(double& min, double& max) const;
    // The plane n . x + d = 0 at the current depth, and its in-plane axes.
    void GetCrossSectionFrame(Vec3D& n, double& d, Vec3D& u, Vec3D& v) const;
    // The loops are traced again when next needed.
    void InvalidateCrossSection();
    // The section direction down the first axis of the group's first axis class, when it has one.
    void UpdateCrossSectionDirection();
    // Traces the loops where the plane cuts the shown side's faces, and fills them with fill on.
    // True when a section exists afterwards; a section built for another plane is built again.
    bool CreateCrossSection2D();
    // Keeps a traced loop (points in model space, each with the face its next segment crosses) as
    // the first loop, in the plane's 2D axes, and feeds it to the fill unless cancelled (feeder
    // null: no fill). A cancel sets cancelled, drops the fill and tells the user how to avoid it.
    void AddSectionLoop(const std::vector<Vec3D>& points, const std::vector<FaceVert*>& faces, int startFace,
                        int numFaces, const Vec3D& u, const Vec3D& v, OutlineFeeder2D* feeder, bool& cancelled);
    // Every loop point, as (x, y, 0), into the sink.
    void ExtendFitBoundsBySection(FitPointSink& sink);
    // The fill and the loops through the mapping: its m columns are the images of the 2D x and y
    // axes, its t the origin's image.
    void DrawCrossSection2D(const Transform3D& mapping);
    // The Cross-Section pane of a 3D model: the section flat in the pane, with the vertices near
    // the plane as discs when asked for.
    void DrawCrossSectionView(double viewRadius);

    // ---- Colour schemes ----
    // Changes the face scheme word (mask -1 toggles the code's bits, else the mask's bits become
    // the code's) and recolours both sides, as one undo step; the code kFaceColorAsCompound colours
    // by compound parts instead (GetFaceColorMenuChange gives the menu's code and mask).
    void SetFaceColorScheme(uint32_t code, uint32_t mask);
    // Every part its own palette colour, faces outside the parts the next ones; says on the active
    // view's message line how many parts there are.
    void ColorAsCompound();
    // Colours one side's faces by the program's scheme word.
    void ColorFaces(ElemList* list);
    // Colours the list by the word and answers the word used once automatic colour has chosen.
    uint32_t ColorFaceList(ElemList* list, uint32_t scheme);
    // The axis class and rotation order of every plane type of both sides, found again in the group
    // in force.
    void ResetFaceTypeRotations();
    // Colours the edges by the program's edge scheme, as one undo step with undo.
    void SetEdgeColorScheme(bool undo);
    // Runs the recolouring of face diagrams that the model flags ask for.
    void UpdateFaceDiagramColors();
    // Packed 0x00BBGGRR colours; an old colour of kSelectedElementColor stands for the selected
    // vertex's or edge's. While vertices are not drawn in their own colours only the default vertex
    // colour changes; otherwise every vertex of the shown model in the old colour takes the new one.
    void ReplaceVertexColor(uint32_t newColor, uint32_t oldColor);
    // The default vertex colour; with an old colour, the vertices in it follow.
    void SetDefaultVertexColor(const ColorRGB& color, const ColorRGB* oldColor);
    // The default edge colour when it is the old one, and every edge in the old colour.
    void ReplaceEdgeColor(uint32_t newColor, uint32_t oldColor);
    void SetDefaultEdgeColor(const ColorRGB& color, const ColorRGB* oldColor);
    // ---- Colour edits of the Color menu (PolyColorEdits.cpp) ----
    // Colours are compared exactly. Each edit that changes colours is one undo step.
    // Some face or vertex has the colour as its colour or back colour.
    bool HasElementColor(const ColorRGB& color) const;
    // Every face and vertex whose colour is the old one takes the new one, and so does every back
    // colour that is the old one; with backOnly only back colours change.
    void ReplaceFaceColor(const ColorRGB& oldColor, const ColorRGB& newColor, bool backOnly);
    // What SetElementColor reaches besides the element.
    static constexpr int kColorScopeSingle = 0;
    static constexpr int kColorScopeType = 1;  // the element's type, its mirror type with withMirror
    static constexpr int kColorScopeAll = 2;   // the element's whole list (every edge for an edge)
    // The element (face, vertex or edge) and what the scope adds take the colour. Faces and
    // vertices take it as back colour too, but a single one only when its back colour was its
    // colour; with back only back colours change. False, with nothing changed, for a null element,
    // the back of an edge, and the back of a single face through the centre (the user is told).
    bool SetElementColor(PolyElement* element, int scope, const ColorRGB& color, bool back, bool withMirror);
    // False, after telling the user, for a face through the centre: its two sides are one.
    static bool MayChangeBackColor(const FaceVert* face);
    // The faces of the start's list in the start's colour take, pass after pass, the colours of
    // neighbours of other colours. Neighbours of two colours ask once which one to take (outermost,
    // innermost, or leave the face); the answer serves the later conflicts. Answers the number of
    // faces recoloured.
    int TakeColorFromNeighbours(FaceVert* start);
    // Every face and vertex of the element's connected part takes the colour, front and back.
    void SetPartColor(FaceVert* start, const ColorRGB& color);

    // 0 to 5; other values are ignored.
    static void SetStellationDiagramColorScheme(int scheme);
    // 0 highlights the selected face, 1 shows its stellation diagram; other values are ignored.
    static void SetSelectedFaceDisplay(int mode);
    bool HasEdgeTypes() const;

    // ---- Images and texts on elements ----
    // Which faces of the face's list ApplyImageToFaces reaches.
    static constexpr int kImageScopeFace = 0;
    static constexpr int kImageScopeSameType = 1;   // mirror types too while reflexibility is kept
    static constexpr int kImageScopeSameColor = 2;  // exactly the face's front colour
    static constexpr int kImageScopeSameImage = 3;
    static constexpr int kImageScopeWithoutImage = 4;
    static constexpr int kImageScopeAllFaces = 5;
    // Gives those faces the image (null takes theirs away), as one undo step when any changes.
    void ApplyImageToFaces(FaceImage* image, FaceVert* face, int scope);
    // Which elements RemoveTexts clears; faces and vertices are those of the model shown.
    static constexpr int kTextScopeElement = 0;
    static constexpr int kTextScopeSameType = 1;
    static constexpr int kTextScopeSameColor = 2;  // exactly the element's colour
    static constexpr int kTextScopeAllFaces = 3;
    static constexpr int kTextScopeAllEdges = 4;
    static constexpr int kTextScopeAllVertices = 5;
    static constexpr int kTextScopeEverywhere = 6;
    // True when a text was removed, or when changed says an earlier step changed something.
    bool RemoveTexts(PolyElement* element, int scope, bool changed);
    // The distinct front colours of the shown model's faces (1/512 tells them apart); -1 on failure.
    int CollectFaceColors(GrowableArray<ColorRGB>& colors);

    std::string mBaseName;  // empty: none
    std::string mDualName;
    std::string mComments;
    std::string mLink;
    const LibraryEntry* mLibraryEntry = nullptr;
    PolyTemplate* mTemplate = nullptr;  // owned by the ModelRecord
    std::string mSpringDesc;
    std::unique_ptr<Polytope4D> mPolytope;
    std::unique_ptr<Polytope4D> mMorphPolytope;  // cached expanded polytope of a dual morph
    double mMorphRatio = kNoMorphRatio;
    std::unique_ptr<Polytope4D> mDualMorphPolytope;
    double mDualMorphRatio = kNoMorphRatio;
    int32_t mMatchingStatus = kMatchingRunning;
    uint32_t mFlags = 0;
    int32_t mOpenBranches = 0;
    Vert* mMatchingAnchor = nullptr;  // removing it restarts matching
    bool mAnchorFree = true;
    bool mVariation = false;  // matching took another branch
    bool mHasPointsAtInfinity = false;
    int32_t mNumPlaced = 0;  // vertices placed by matching; the stamp of the next one
    VertList mVerts;  // the model's vertices: the faces of the dual
    FaceList mFaces;
    int32_t mNumEdges = 0;
    CountedArray<Edge> mEdges;  // grouped by edge type
    int32_t mNumEdgeTexts = 0;  // edges that carry a text
    // Counts of generated elements carried over from a model file.
    int32_t mNumGenCells = 0;
    int32_t mNumGenFaces = 0;
    int32_t mNumGenEdges = 0;
    int32_t mNumGenVerts = 0;
    int32_t mNumEdgeTypes = 0;
    CountedArray<EdgeType> mEdgeTypes;
    CompoundPart* mFirstPart = nullptr;  // owned
    CompoundPart* mLastPart = nullptr;
    std::unique_ptr<SymGroup> mFullGroup;  // kept while a subgroup is applied
    std::unique_ptr<SymGroup> mGroup;      // the group in force
    bool mFullGroupReflexible = false;
    bool mReflexible = false;
    int32_t mSubgroupChoice[2] = {0, 0};
    Stellation mStellations[2];  // the faces of the model, then the faces of the dual
    FaceVert* mSelectedFace = nullptr;
    PolyElement* mSelectedElement = nullptr;  // the element selected last
    Edge* mSelectedEdge = nullptr;
    bool mShowDual = false;
    double mDisplayScale = 1.0;
    double mMidRadius = 1.0;
    double mRadius = -1.0;  // negative: not computed
    double mVolume = 0.0;
    double mDualVolume = 0.0;
    double mSurfaceArea = 0.0;
    double mDualSurfaceArea = 0.0;
    double mDensity = 0.0;
    // The face diagrams of the face types are built in these pools, their results kept in the first
    // work pools; the second and third take the results of diagrams built in the shared pools: the
    // faces clipped by the dual, and the cross-section.
    DiagramPools mDiagramPools;
    DiagramWorkPools mDiagramWorkPools[3];
    DiagramOutline mOutline;             // feeds outlines into face diagrams and cross-sections
    LoopTypeHolder mSectionLoopTypes;    // the region classes of the cross-section
    SectionPolygon* mSectionPolygons = nullptr;  // owned chain: the loops of the cross-section
    // The plane and side the loops were traced for.
    Vec3D mSectionNormal;
    Vec3D mSectionU;
    double mSectionOffset = 0.0;
    bool mSectionDual = false;
    Augmenter mAugmenter;
    Polygon3D* mFirstDrawnPolygon = nullptr;  // owned list
    Polygon3D* mCurrentDrawnPolygon = nullptr;  // the last, being entered
    bool mFacetingDirty = false;
    std::unique_ptr<SimplePoly> mFacetedModel;
    std::vector<FacetTableEntry> mFacetTable;  // by face of mFacetedModel
    Polygon3D* mFirstFacetedFace = nullptr;     // owned list, one polygon per face of mFacetedModel
    Polygon3D* mLastFacetedFace = nullptr;
    int32_t mCurrentFacet = -1;
    std::unique_ptr<SymGroup> mFacetedGroup;
    Vec3D mFacetedState[3];
    double mTransitionEnd = -1.0;  // seconds of the program clock; negative: none
    bool mIncoming = false;
    double mTransitionProgress = 1.0;
    double mScaleStart = 0.0;
    double mScaleTarget = 1.0;
    TransitionSettings mTransition;
    TransitionSettings mQueuedTransition;  // type -1: none
    const char* mKitReason = nullptr;
    const char* mDualKitReason = nullptr;

    static constexpr double kNoMorphRatio = 9.99999e99;

private:
    static const char* TextOrNull(const std::string& text) { return text.empty() ? nullptr : text.c_str(); }
    void SetText(std::string& member, const char* text);
};

// Makes the current model show the polytope: inside an undo item of the kind (none for a negative
// kind) and the transition of its preset when it has one; names that are not blank are set.
void SetModelFromPolytope4D(int undoKind, std::unique_ptr<Polytope4D> polytope, int keepFlags, const char* baseName,
                            const char* dualName);

// Clears the selection of the current model everywhere (nothing without one).
void ClearSelection();

// The library entry whose names the last model took.
const LibraryEntry* GetLastLibraryEntry();
// Undo puts back the entry of the model it restores (null leaves the last one).
void SetLastLibraryEntry(const LibraryEntry* entry);

// Added to the radius of a model that has points at infinity; the drawing of such models sets it.
double GetInfinityRadiusMargin();
void SetInfinityRadiusMargin(double margin);
