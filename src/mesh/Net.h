#pragma once

#include "kernel/ColorRGB.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Edge3D;
class Face3D;
class Face3DType;
class Model3D;
class FitPointSink;
class NetType;

// Edges found lying on their partner in the flat net during one trial placement; the caller
// applies them (MarkMeetingEdges) or drops them with the trial.
using MeetingList = std::vector<Edge3D*>;

// Bits of Net::mFlags.
inline constexpr uint32_t kNetVisited = 0x1;
inline constexpr uint32_t kNetConnectChecked = 0x2;
inline constexpr uint32_t kNetEmptied = 0x4;

// Which nets the Folding Net pane shows ("Nets Shown in Folding View").
inline constexpr int kNetsShownAll = 0;
inline constexpr int kNetsShownOneType = 1;
inline constexpr int kNetsShownOne = 2;
int GetNetsShownInFoldingView();
void SetNetsShownInFoldingView(int shown);

// Bits of NetType::mFlags.
inline constexpr uint32_t kNetTypeMergeable = 0x1;
inline constexpr uint32_t kNetTypeInGroup = 0x2;
inline constexpr uint32_t kNetTypeRejected = 0x4;

// One copy of a net: a list of facelets joined along edges that lies flat in one piece. Its
// NetType owns it in an array; the facelets stay the mesh's.
class Net
{
public:
    void Init(NetType* type, Face3D* face);
    // other (across edge, a facelet of this net) joins the net at its tail.
    void AddFace(Edge3D* edge, Edge3D* other);
    // Hands every facelet over to target, joined across edge; this net is left empty.
    void MergeInto(Net* target, Edge3D* edge);

    static int GetNumFaces(const Net* net);
    Model3D* GetModel() const;
    ColorRGB GetColor() const;
    // Running number over the model's types in list order; -1 for null, -2 when the net's type is
    // not in the model's list.
    static int GetGlobalIndex(const Net* net, const Model3D* model);
    // Edge j of the i-th facelet of the list; null outside.
    Edge3D* GetEdge(int i, int j) const;
    // Place of the facelet in the list; -1 when absent.
    int FindFace(const Face3D* face) const;
    // The first edge without any of bits that is not joined; null when none.
    Edge3D* FindFreeEdge(uint32_t bits) const;
    void ClearEdgeFlags(uint32_t bits);
    void CalcCentre();

    // Places every facelet again from the root, without checks.
    void Relayout();
    // Hangs the whole net on s (an edge of another net, already marked joined to this one); false,
    // with the net put back, when anything overlaps.
    bool TryRelayout(Edge3D* s, MeetingList* list);
    // Merging. Without into: takes in, across free convex folds, the nets of the merge group that
    // fit beside it, and answers whether any did. With into: this net hangs on edge (of into) and
    // merges into it when it fits.
    bool Absorb(Net* into, Edge3D* edge);
    // Whether the merge group joins start to another copy of its type, or to a type of one net.
    bool CheckConnect(const Net* start);

    // Folding: a is how far the facelets have folded (0 flat, 1 as in the model), b how far the net
    // has come back from its thrown-out place (0 pushed out by its centre, 1 home).
    void PlaceFolded(double a, double b);
    // Every triangle corner of the net, folded or flat; nothing for a user facet's net.
    void ExtendFitBounds(FitPointSink& sink, bool folded) const;
    // The Unfolded Net pane: this copy drawn flat on its type's first net's layout.
    void DrawUnfolded();
    // The Folding Net pane: this net at its folded placement.
    void DrawFolded(Model3D* model);
    // Sphere intersections and cell lines of every facelet.
    void DrawOverlays(bool folded);

    NetType* mNetType = nullptr;
    uint32_t mFlags = 0;
    Face3D* mFirstFace = nullptr;  // the root, never moved by unfolding
    Face3D* mLastFace = nullptr;
    Vec3D mCentre;
};

// A class of congruent nets, each an image of the first under the model's symmetry; the model owns
// its types in a singly linked list, each type its nets.
class NetType
{
public:
    NetType(int symOrder, int numNets);

    // Links the type after tail, or as the head of an empty list.
    void Append(NetType*& head, NetType*& tail);
    // A fresh array of count zeroed nets in place of the old one.
    void AllocateNets(int count);

    Net* GetFirstNet() const { return mNumNets > 0 ? &mNets[0] : nullptr; }
    Model3D* GetModel() const;
    int GetNumFaces() const;
    int GetNumEdgeSlots() const;
    double GetRadius() const;
    // 0-based place in the model's list; -1 when absent.
    int GetIndex() const;

    // Growing: one net per facelet of the type; one net per vertex of the start edge's orbit, each
    // the ring of facelets around it; copies of the first net's tree on the free facelets of its
    // root's type; all copies grown together by whole edge classes. False on an internal error.
    bool CreateFromFaceType(Face3DType* type);
    bool CreateFromVert(Edge3D* start, Model3D* model);
    void CopyFirstNet();
    bool Spread();
    // Joins up to n copies of an asymmetric net into one symmetric net (at most one combination).
    void TryToCombineNets(int n);
    void PlaceFolded(double a, double b);
    void DrawFolded(Model3D* model);
    // Merging candidates: small types joined to their neighbours only across convex folds.
    void MarkMergeable();
    // The first net turned so that its smallest bounding rectangle is upright and centred.
    void SetBBoxRadii();

    int32_t mSymOrder;
    uint32_t mFlags = 0;
    int32_t mNumNets = 0;
    std::unique_ptr<Net[]> mNets;
    Edge3D* mHullStart = nullptr;
    double mRadiusX = 0.0;
    double mRadiusY = 0.0;
    int32_t mNumToPlace = 0;
    int32_t mPlaceCursor = -1;
    NetType* mNext = nullptr;
};

// The facelet of n laid flat across e (an edge already in the net); with check, false when it
// would overlap the net. Meeting edges found go to list, or are marked at once without one.
bool CalcUnfoldedFacePos2D(Edge3D* e, Edge3D* n, bool check, MeetingList* list);
// Marks every listed edge and its partner as meeting (over all copies when asked) and empties the
// list.
void MarkMeetingEdges(MeetingList& list, bool allCopies);
// Makes net types until every facelet of the model's own types is in a net.
void GenerateNets(Model3D* model);
// The edge at which the ring around the edge's vertex should start, or null when the ring cannot
// be unfolded.
Edge3D* BestStartAroundVertex(Model3D* model, Edge3D* edge);
// The counter-clockwise angle from unit x to unit y in [0, 2*pi), without atan.
double CcwAngle2D(double xx, double xy, double yx, double yy);

// The information line of the Unfolded Net pane for the model's current net.
std::string NetInfoLine(const Model3D* model);
