#pragma once

#include "kernel/FaceImage.h"

#include "kernel/Vec3D.h"
#include "model/SimpleVertGrid.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class FacePlacementList;
class Polytope4D;
class Polygon3D;
class SimpleFace;
class SimplePoly;
class SimpleVert;
class SymGroup;
struct ColorRGB;
struct Export3DScene;
struct Mat3;
struct PlacementTarget;
struct VertexPair;
template <class T>
class GrowableArray;

// The header that a vertex record and a face record share: a face of a model is a vertex of its
// dual, so code that serves both kinds works on this header. Records live in their SimplePoly's
// arrays and refer to each other by pointer; an index is always the record's place in its array.
class SimpleElem
{
public:
    // Element flags (mFlags). Bits not named here belong to other code and are carried along.
    static constexpr uint32_t kDone = 0x1;  // scratch visit mark: whoever sets it clears it again
    static constexpr uint32_t kEdgeTypeMark = 0x2;
    static constexpr uint32_t kTemp = 0x4;  // left out of the model by every operation
    static constexpr uint32_t kHidden = 0x8;
    static constexpr uint32_t kIsFace = 0x10;
    static constexpr uint32_t kInf = 0x20;  // vertex at infinity: mPos is a direction
    static constexpr uint32_t kHullMark = 0x80;
    static constexpr uint32_t kSplitMe = 0x300;
    static constexpr uint32_t kInTree = 0x2000;
    static constexpr uint32_t kPlaneThroughCentre = 0x10000;
    static constexpr uint32_t kNormalOriented = 0x20000;
    static constexpr uint32_t kReverseNorm = 0x40000;
    static constexpr uint32_t kReversed = 0x80000;
    // What a copied record takes over: Done, Temp, Hidden, Inf, PlaneThroughCentre, ReverseNorm.
    static constexpr uint32_t kCopiedFlags = 0x5002d;

    SimpleElem(const SimpleElem&) = delete;
    SimpleElem& operator=(const SimpleElem&) = delete;

    bool IsFace() const { return (mFlags & kIsFace) != 0; }
    // The owner's number of records of this kind, and its i-th record of this kind (null outside).
    int CountOfKind() const;
    SimpleElem* ElementOfKind(int i) const;
    // Position in the owner's array of this kind; -1 when the record is in none.
    int GetIndex() const;

    // The first place after `after` (-1: from the start) where mList holds the element; -1 when none.
    int IndexInList(const SimpleElem* elem, int after) const;
    // Removes count entries from first on, shifting the rest down.
    void RemoveEntries(int first, int count);
    // Removes the first occurrence of the element; nothing when it is absent.
    void RemoveEntry(const SimpleElem* elem);
    // Grows mList by one, the element going in at position.
    bool InsertEntry(int position, SimpleElem* elem);

    // Stores a copy of the text, or nothing when it is blank.
    void SetText(const char* text);
    // Flags (kCopiedFlags only, ORed in), colours, opacity, image and text; not the id, lists or rings.
    void CopyHeaderFrom(const SimpleElem& other);
    // Attaches a clone of the other element's image. Its reference element, when it is the other
    // element, becomes this one; when it is another element of the other model, the element at the
    // same place here, places counted over elements of this kind whose flags share no bit with skipMask.
    void CloneImageFrom(const SimpleElem& other, uint32_t skipMask);

    int32_t mNum = 0;                      // entries of mList
    std::unique_ptr<SimpleElem*[]> mList;  // a vertex: its faces; a face: its corners in order
    SimplePoly* mOwner = nullptr;
    uint32_t mFlags;
    int32_t mId = -1;  // type id: equal ids, one type
    uint32_t mColor;   // 0x00BBGGRR
    uint32_t mBackColor;
    float mOpacity = 1.0f;
    FaceImageRef mImage;          // one counted user of the image
    std::string mText;            // empty: none
    SimpleElem* mNextOfType;      // ring of the elements of one type; the element itself when alone

protected:
    SimpleElem(uint32_t flags, uint32_t color, uint32_t backColor);
    ~SimpleElem() = default;
};

class SimpleVert : public SimpleElem
{
public:
    SimpleVert();
    // Destroying a vertex empties its owner's search tree, which could otherwise point at it.
    ~SimpleVert();

    using SimpleElem::GetIndex;
    static int GetIndex(const SimpleVert* vert) { return vert ? vert->GetIndex() : -1; }
    SimpleFace* GetFace(int k) const;

    // Both store the position and then enter the vertex into its owner's search tree.
    void SetPosXYZ(double x, double y, double z);
    void SetPos(const Vec3D& pos);

    int CountLiveFaces() const;
    bool IsHidden() const;
    bool SamePos(const SimpleVert& other) const;
    // Position (optional, entering the tree), scratch data and the header.
    void CopyFrom(const SimpleVert& other, bool withPosition);

    void MarkCoincident(uint32_t bits);
    void UnmarkCoincident(uint32_t bits);

    // The sum of the centroids of the vertex's faces: it tells apart vertices in the same place.
    Vec3D SumFaceCentroids() const;
    // Whether m carries this vertex with its faces onto other, image being where m puts this vertex.
    bool MatchesUnder(const SimpleVert& other, const Vec3D& image, const Mat3& m) const;

    Vec3D mPos;
    double mUserData[2] = {0.0, 0.0};   // symmetry detection's scratch
    // How large the exporters draw the vertex's sphere and its edges' cylinders, relative to their
    // usual size (a 4D projection's perspective); 0 for the usual size.
    double mSizeFactor = 0.0;
    SimpleVert* mNextCoincident;        // ring of the vertices at one place
    SimpleVert* mNextInCell = nullptr;  // next vertex of its cell of the owner's search tree
};

class SimpleFace : public SimpleElem
{
public:
    SimpleFace();

    using SimpleElem::GetIndex;
    static int GetIndex(const SimpleFace* face) { return face ? face->GetIndex() : -1; }
    // Place among the owner's faces that are not Temp; for a Temp face the number of live faces
    // before it, negated; -999 when the face is in no array.
    int GetLiveIndex() const;
    SimpleVert* GetVert(int k) const;
    // The sum of the corner positions, and that divided by the corner count (zero without corners).
    Vec3D GetVertexSum() const;
    Vec3D GetCentroid() const;
    // The centroid, and the largest distance of a corner from it (0 without corners).
    double GetCentroidAndRadius(Vec3D& centroid) const;
    // Twice the vector area: along the normal for a convex face.
    Vec3D GetAreaVector() const;
    // The signed solid angle the face subtends at the origin; 0 for a face with an edge whose plane
    // with the origin is undefined.
    double GetSolidAngle() const;
    // Whether m carries this face onto other; normal and firstCorner are m applied to this face's
    // normal and first corner. reversed (when asked) tells whether the corners run backwards.
    bool MatchesUnder(const SimpleFace& other, const Vec3D& normal, const Vec3D& firstCorner, const Mat3& m,
                      bool* reversed = nullptr) const;
    // Every way of putting this face, of a model being added, onto the target face: null when the
    // two do not fit (different sizes, fewer than 3 corners, no size).
    static constexpr uint32_t kPlaceFromOtherSide = 0x10000;
    std::unique_ptr<FacePlacementList> FindPlacements(const PlacementTarget& target, uint32_t options) const;
    // The face's polygon resolved by a face diagram of its plane: its filled areas as triangles,
    // three indices a triangle into the points (the diagram's vertices, numPoints of them when
    // asked). Answers the index count, 0 with no arrays for a face of fewer than 3 corners; the
    // arrays go to the caller.
    int ResolveOutline(std::unique_ptr<Vec3D[]>& points, std::unique_ptr<int32_t[]>& indices,
                       int* numPoints = nullptr) const;

    // A fresh list of n empty corners. n <= 0 leaves an empty face, given by its plane alone.
    void SetNumVerts(int n, int density = 1);
    void SetVert(int k, SimpleVert* vert);
    // Corner k becomes the owner's vertex i (which may grow the vertex array); false when there is none.
    bool SetVertByIndex(int k, int i);
    void CopyFrom(const SimpleFace& other);

    int CountCoincident() const;
    void JoinCoincident(SimpleFace* other);
    // The first corner after start whose vertex lies where vert lies; -1 when none.
    int FindCoincidentVert(const SimpleVert* vert, int start) const;

    int32_t mDensity = 1;  // the d of an n/d polygon
    int32_t mRots = 1;     // order of the face's rotational symmetry
    // Unit normal pointing away from the centre; x of -2 means not yet set. An empty face keeps here
    // the point of its plane nearest the centre.
    Vec3D mNormal{-2.0, -2.0, -2.0};
    SimpleFace* mNextCoincident;  // ring of the faces lying in one place
};

// An edge record, made only when a Poly is handed over with its edges.
class SimpleEdge
{
public:
    static constexpr uint32_t kHidden = 0x8;

    SimpleEdge();
    SimpleEdge(const SimpleEdge&) = delete;
    SimpleEdge& operator=(const SimpleEdge&) = delete;

    void SetText(const char* text);

    uint32_t mFlags = 0;
    int32_t mType = -1;
    SimpleVert* mVerts[2] = {nullptr, nullptr};
    SimpleFace* mFaces[2] = {nullptr, nullptr};  // the faces on either side
    uint32_t mColor;                             // 0x00BBGGRR
    std::string mText;
};

// The plain indexed polyhedron: the one form in which builders, readers, undo, memory slots and
// exporters hand a model over. Whoever makes one owns it and deletes it after handing it on.
class SimplePoly
{
public:
    // Model flags (mFlags).
    static constexpr uint32_t kHasVertFaceLists = 0x1;
    static constexpr uint32_t kSortedFaceLists = 0x2;
    static constexpr uint32_t kWantNewColors = 0x4;
    static constexpr uint32_t kIsOk = 0x8;
    static constexpr uint32_t kKeepOrientation = 0x10;
    static constexpr uint32_t kKeepCentre = 0x20;
    static constexpr uint32_t kKeepRealSize = 0x40;
    static constexpr uint32_t kKeepRadius = 0x80;
    static constexpr uint32_t kKeepBaseColors = 0x100;
    static constexpr uint32_t kKeepDualColors = 0x200;
    static constexpr uint32_t kMayGrow = 0x400;
    static constexpr uint32_t kConvex = 0x800;
    static constexpr uint32_t kRadiallyConvex = 0x1000;
    static constexpr uint32_t kNonSelfIntersecting = 0x2000;
    static constexpr uint32_t kHasEmptyFaces = 0x4000;
    static constexpr uint32_t kFrom4D = 0x80000;

    // The most vertices, and the most faces, that a builder makes a model of.
    static constexpr int64_t kMaxElements = int64_t(1) << 23;
    // Whether a model of these counts may be made; false after telling the user when it is too
    // large. Builders whose counts come from the user ask before they allocate.
    static bool CheckSize(int64_t numVerts, int64_t numFaces);

    // numVerts default vertices and numFaces default faces (none for a count of 0 or less).
    SimplePoly(int numVerts = 0, int numFaces = 0);
    ~SimplePoly();
    SimplePoly(const SimplePoly&) = delete;
    SimplePoly& operator=(const SimplePoly&) = delete;

    // Empties the model and makes it stand for the polytope, which it then owns.
    void InitFromPolytope4D(std::unique_ptr<Polytope4D> polytope, bool takeScale);
    void Clear();
    // Bytes held, for undo accounting; 0 for null.
    static size_t GetMemorySize(const SimplePoly* poly);

    void SetName(const char* base, const char* prefix = nullptr, bool forcePrefix = false);
    void SetDualName(const char* base, const char* prefix = nullptr, bool forcePrefix = false);
    void SetComments(const char* text);
    void SetLink(const char* text);
    // Stores a copy of the group (null: none).
    void SetSymGroup(const SymGroup* group);

    // Record i; past the end the arrays grow with MayGrow, otherwise an internal error and null.
    SimpleVert* GetVert(int i);
    SimpleFace* GetFace(int i);
    // Enlarges the arrays to the given counts (smaller counts leave an array as it is), moving the
    // records' contents; the search tree is rebuilt and edge records are dropped.
    bool Grow(int newNumVerts, int newNumFaces);
    // Edge records, all default; any old ones are dropped.
    bool AllocateEdges(int n);

    // -1, 0 or +1: where point lies against the vertex in the search order. Finite points order
    // before points at infinity. 0 is a match for the search tree.
    static int CompareVertPos(const Vec3D& point, bool pointIsInf, const SimpleVert& vert, double tol);
    // The search tree finds vertices by position: those entered, flagged InTree. Setting mVertTree
    // to null empties it.
    void InsertInTree(SimpleVert* vert);
    // The vertex at the position (within 1e-7 in every coordinate), or record nextIndex made into
    // it (nextIndex then moves on). Null only when the record cannot be had. A point near enough
    // to several vertices takes the nearest (SimpleVertGrid::Find tells the ties), whatever order
    // they were made in.
    SimpleVert* FindOrCreateVert(const Vec3D& pos, int& nextIndex, bool inf = false);

    static int CountFacesWithout(const SimplePoly* poly, uint32_t mask);
    void ClearVertFlags(uint32_t mask);
    void ClearFaceFlags(uint32_t mask);
    void ClearFlags(uint32_t mask);
    void ResetTypeIds();
    void ResetCoincidence();
    void CreateVertexFaceLists(bool force);

    static void Dump(const SimplePoly* poly);

    double GetRadius() const;
    // The radius of the sphere that poles and polars are taken about: the geometric mean of the
    // distances from the centre to the lines of the face edges (each shared edge counted twice).
    // Lines through the centre do not count; without any other edge it is the circumradius, or 1.
    double GetReciprocationRadius() const;
    Vec3D GetVertexCentroid();
    // Turns every vertex, every computed normal (and empty face's point) and the model's own group;
    // nothing for a turn within 1e-7 of the identity.
    void Rotate(const Mat3& m);
    // The symmetry of the model about its centre, which the model is moved, scaled and turned to
    // meet (as its flags allow); every element gets its type and every vertex its faces in order.
    // Null when the model is not valid. reflectionFound tells whether a mirror symmetry was found.
    std::unique_ptr<SymGroup> FindSymmetries(bool& reflectionFound);
    void Translate(const Vec3D& v);
    void Centralise();
    void Scale(double f);
    void StretchAlong(double f, const Vec3D& unitDir);
    void SetNormals(bool all, int firstFace = 0);
    bool ProjectOntoSphere();
    // Every face cut into a triangular grid of n parts per edge (other polygons first into a fan
    // about their centroid); mode kGeodesic also puts the result on the unit sphere. Null for n < 1,
    // for a result too large to hold, and on cancel.
    static constexpr int kGeodesic = 0x1;
    static std::unique_ptr<SimplePoly> Subdivide(const SimplePoly& source, int mode, int n);
    // The geodesic sphere of the frequency (a power of two; 0 and 1 give the icosahedron), made by
    // halving the library icosahedron's edges; null for any other frequency.
    static std::unique_ptr<SimplePoly> CreateSphere(int frequency);
    void RemoveDegenerateCorners();
    void CleanFaces();

    // The convex hull of the usable vertices (carrying none of Done, the edge-type mark, Temp and
    // Inf), written as faces from firstFace on: convex polygons, coplanar neighbours merged, unit
    // outward normals, corners counter-clockwise seen from outside. Every vertex that is no corner
    // becomes Temp, and stays so. False, with the faces untouched, for 3 vertices or fewer or when
    // the usable vertices span no solid (all within 1e-7 of one point, line or plane).
    bool ComputeConvexHull(int firstFace);

    // Caller flags of CheckValidity.
    static constexpr uint32_t kValidityNoCoplanarCount = 0x1;  // also no warning about busy edges
    static constexpr uint32_t kValidityOfferHull = 0x2;
    static constexpr uint32_t kValidityNoCoplanarWarning = 0x4;

    // A faithful copy (a 4D model: of its polytope); null for null or a refused 4D copy.
    static std::unique_ptr<SimplePoly> Clone(SimplePoly* source);
    // This model's vertices and faces followed by the other's; null when exactly one of the two
    // stands for a 4D polytope or a 4D compound fails.
    std::unique_ptr<SimplePoly> Combine(SimplePoly& other);
    // Reflects the model in the plane across the group's image of the x axis (the x axis itself for
    // a null group or one not turned), and drops the model's own group.
    void MirrorImage(const SymGroup* group);
    // The reciprocal about the sphere of radius r: a vertex per face and a face per vertex, in order.
    // Faces through the centre become vertices at infinity and back. Null for null.
    static std::unique_ptr<SimplePoly> CreateDual(SimplePoly* source, double r);
    // Triangulation requests of the export preparation. CopyTriangulated resolves every face into
    // triangles for either of the first two (crossings of star polygons become new vertices) and
    // is Clone otherwise.
    static constexpr int kTriangulateAll = 0x20;
    static constexpr int kTriangulateNonConvex = 0x40;
    static constexpr int kTriangulateHoles = 0x80;
    // An empty edge slot receives the source's edges as they were before.
    static std::unique_ptr<SimplePoly> CopyTriangulated(SimplePoly* source, int options, VertexPair** edges);
    // The distinct colours of the faces that are neither Temp nor Hidden (within 1/512 a channel).
    void CollectColors(GrowableArray<ColorRGB>& list) const;
    // The unique edges of the visible faces (or of the edge records), for the caller to free.
    VertexPair* CollectEdges() const;
    bool HasImages() const;

    // ---- 3D exports (library/SimplePolyExport.cpp) ----
    // Each writes the faces that are neither Temp nor Hidden, in the place they stand (the export
    // command turns and sizes the model as its pane shows it first), with every coordinate and
    // normal component within 1e-7 of zero written as 0, and answers whether the files were written;
    // a file that cannot be opened gives false without a message. DXF and STL take triangles: of
    // any other face the first three corners go out, and the first one is reported once.
    // DXF R12: a layer of 3DFACEs per face colour, with kExport3DEdges the edges as LINEs in a
    // layer "Edges" of their own.
    bool ExportDxf(const char* path, const char* title, const VertexPair* edges) const;
    // ASCII STL, a solid named after the title.
    bool ExportStl(const char* path, const char* title) const;
    // Wavefront OBJ with a material per face colour in the MTL file, which is written first.
    bool ExportObj(const char* objPath, const char* mtlPath, const char* title) const;
    // OFF with the faces' colours.
    bool ExportOff(const char* path, const char* title) const;
    // (library/SimplePolyExportScenes.cpp) A VRML 2.0 world in metres: the faces, spheres at the
    // vertices with kExport3DVerts, and with kExport3DEdges the edges as cylinders (with
    // "SpheresAndCylinders") or lines, and four viewpoints from the scene's camera.
    bool ExportVrml(const char* path, const char* title, const VertexPair* edges, const Export3DScene& scene) const;
    // A POV-Ray include file declaring the faces, vertex spheres and edge cylinders, and, unless
    // scenePath is null, the scene that renders them on a checkered floor as the pane shows them.
    // A scene file that cannot be written is reported here (reported, when given, says so).
    bool ExportPov(const char* includePath, const char* scenePath, const char* title, const VertexPair* edges,
                   const Export3DScene& scene, bool* reported = nullptr) const;
    // Faces lying in one place as polygons: mode 1 keeps one of each stack, mode 0 removes them in
    // pairs, merging their vertices; removed elements get mark. False only when the user cancelled.
    bool RemoveAllCoincidentFaces(int mode, bool ask, uint32_t mark);
    // Options of BlendCoplanarFaces.
    static constexpr int kBlendAsk = 0x1;
    static constexpr int kBlendMergeVerts = 0x2;
    // Status bit: the user was asked.
    static constexpr int kBlendAsked = 0x4;
    // Coplanar faces that share an edge become single faces, and corners on straight lines go.
    // True when the model was changed; answered and status may be null.
    bool BlendCoplanarFaces(int options, bool* answered, int* status);
    // Whether the model is a stand-in for a 4D polytope.
    bool StandsFor4D() const { return mPolytope4D != nullptr; }

    // Whether the model may be created: it has faces and every edge is shared by an even number of
    // them. Tells the user what is wrong, asks about legal but unusual models and, with
    // kValidityOfferHull, offers to replace the faces by the hull of the vertices.
    static bool CheckValidity(SimplePoly* poly, uint32_t flags);
    // The model's problem edges as lines in the current view: one face at an edge green, other odd
    // counts orange, two coplanar faces purple, an even count above two red. Records which kinds it
    // drew in the model flags (kDrewEvenEdges ...).
    void DrawEdgeCheck(double explode, double scale);

    // What the Poly that holds the model for display tells its drawing: the selected face (-1 for
    // none), what the view picks, and the highlight display settings.
    struct DrawOwner
    {
        static constexpr int kPickNothing = 0;
        static constexpr int kPickFaces = 1;
        static constexpr int kPickVerts = 2;
        int selectedFace = -1;
        int pick = kPickNothing;
        float highlightAlpha = 0.5f;
        int transparencyType = 1;  // the blend style of the highlight: screen door
    };
    // Draws the model into the current view: polys holds one prepared polygon per face (in the
    // face's frame); the selected face white and unlit, again on top; the problem edges last, once
    // plainly and once through the faces.
    void Draw(const Polygon3D* const* polys, const DrawOwner& owner, double explode, double scale);
    static constexpr uint32_t kDrewCoplanarEdges = 0x8000;
    static constexpr uint32_t kDrewEvenEdges = 0x10000;
    static constexpr uint32_t kDrewSingleEdges = 0x20000;
    static constexpr uint32_t kDrewOddEdges = 0x40000;

    std::unique_ptr<Polytope4D> mPolytope4D;  // set only with From4D
    std::unique_ptr<SymGroup> mSymGroup;
    uint32_t mFlags = 0;
    int32_t mNumVerts = 0;
    int32_t mNumEdges = 0;
    int32_t mNumFaces = 0;
    std::unique_ptr<SimpleVert[]> mVerts;
    // The first vertex entered into the search tree; null when the tree is empty.
    SimpleVert* mVertTree = nullptr;
    std::unique_ptr<SimpleEdge[]> mEdges;
    std::unique_ptr<SimpleFace[]> mFaces;
    SimpleFace* mSelectedFace = nullptr;  // whose stellation diagram is shown after creation
    double mScale;
    std::string mName;  // empty: none
    std::string mDualName;
    std::string mComments;
    std::string mLink;

private:
    friend class SimpleElem;

    bool AllocateVerts(int n);
    bool AllocateFaces(int n);
    bool GrowVerts(int newNumVerts);
    bool GrowFaces(int newNumFaces);
    void DropEdges();
    static void SetNameText(std::string& out, const char* base, const char* prefix, bool forcePrefix,
                            const char* defaultBase);
    // Vertices of the search tree have moved: it is built again before it is next used.
    void VertsMoved() { mVertGridStale = true; }
    // The tree's cells, up to date and holding nothing when mVertTree is null.
    SimpleVertGrid& VertGrid();

    // Records allocated, which may exceed the counts when a builder used fewer than it asked for.
    int mVertCapacity = 0;
    int mFaceCapacity = 0;
    // What the search tree is made of; whoever nulls mVertTree leaves it to be emptied here.
    SimpleVertGrid mVertGrid;
    bool mVertGridStale = false;
};

// False when a face that is not Temp has a Temp corner (the edge-type analysis cannot use it); true
// otherwise, also for a model without faces.
bool CheckTemporaryVerts(const SimplePoly* poly);

// Faces of a part added from firstFace (its vertices from firstVert) on that lie on faces of the
// model before it vanish in pairs with them, merging their vertices; an added face on a model face
// removed earlier brings that face back. When every added face lies on a removed face or one at or
// above limit, the added part is dropped instead. Removed elements get mark. False only when the
// user cancelled.
bool RemoveCoincidentFaces(SimplePoly& poly, int firstFace, int firstVert, int limit, bool ask, uint32_t mark);
