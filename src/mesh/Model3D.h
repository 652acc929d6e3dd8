#pragma once

#include "mesh/Face3DType.h"
#include "mesh/Vert3D.h"

#include <cstdint>
#include <memory>

class Edge3D;
class Face3D;
class Net;
class NetType;
class Poly;
class Stellation;

// Bits of Model3D::mFlags.
inline constexpr uint32_t kModel3DKitYes = 0x1;  // both clear: the kit check has not run
inline constexpr uint32_t kModel3DKitNo = 0x2;
inline constexpr uint32_t kModel3DRegionsLinked = 0x4;
inline constexpr uint32_t kModel3DHasNets = 0x8;

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

    // Frees the vertices and both facelet-type lists.
    void Clear();

    // For the builders: a zeroed vertex array (false when it cannot be had), and a new facelet type
    // appended to the model's own list (or to the user facets), owned by the model.
    bool AllocateVerts(int count);
    Face3DType* AppendFaceType(std::unique_ptr<Face3DType> type, bool userFacet);

    int GetNumVerts() const { return mNumVerts; }
    Vert3D* GetVert(int i) const;
    // Over the model's own types, user facets excluded.
    int GetNumFaceTypes() const;
    int GetNumFaces() const;
    // By running index, type by type; null beyond the end.
    Face3D* GetFace(int i) const;

    bool IsDual() const;
    // False for none.
    static bool HasNets(const Model3D* model) { return model && (model->mFlags & kModel3DHasNets); }

    // Null clears the selection.
    void SelectEdge(Edge3D* edge) { mSelectedEdge = edge; }

    // The shortest and longest edge over the first facelet of every type (once).
    void CalcEdgeLengthRange();
    double GetMeanEdgeLength();

    // Whether the kit can build the mesh: equal edges (within 1e-7) meeting at no less than the kit
    // angle at any vertex. The answer is kept; the reason goes to the Stellation. False for none.
    static bool IsKitBuildable(Model3D* model);

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
    void SetKitReason(const char* reason);
};
