#pragma once

#include "kernel/Vec2D.h"
#include "kernel/Vec3D.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class Face3D;
struct Transform3D;
class Model3D;
class NetTab;
class Vert3D;

// Bits of Edge3D::mFlags.
inline constexpr uint32_t kEdge3DAxisCrossing = 0x1;  // a rotation axis crosses the edge
inline constexpr uint32_t kEdge3DLineMark = 0x2;      // copied from the diagram line under it
inline constexpr uint32_t kEdge3DCannotJoin = 0x4;   // no strict partner, or a colour boundary
inline constexpr uint32_t kEdge3DUserCut = 0x8;
inline constexpr uint32_t kEdge3DCut = 0x10;          // the whole class stays unjoined
inline constexpr uint32_t kEdge3DWalked = 0x20;       // vertex-start search marks
inline constexpr uint32_t kEdge3DNoStart = 0x40;
inline constexpr uint32_t kEdge3DNonConvexRing = 0x80;
inline constexpr uint32_t kEdge3DJoined = 0x100;      // parent side of a join
inline constexpr uint32_t kEdge3DJoinedOtherSide = 0x200;  // the net joins it on the other side
inline constexpr uint32_t kEdge3DTrialRing = 0x400;   // on a class representative
inline constexpr uint32_t kEdge3DClassJoined = 0x800; // on a class representative
inline constexpr uint32_t kEdge3DMeeting = 0x1000;    // lies on its partner in the flat net
inline constexpr uint32_t kEdge3DTabSide = 0x2000;
inline constexpr uint32_t kEdge3DTabNone = 0x4000;    // per-edge tab kinds
inline constexpr uint32_t kEdge3DTabSingle = 0x8000;
inline constexpr uint32_t kEdge3DTabDouble = 0x10000;
inline constexpr uint32_t kEdge3DHullCorner = 0x20000;
inline constexpr uint32_t kEdge3DCanonical = 0x40000;     // the one edge of its coincident ring drawn
inline constexpr uint32_t kEdge3DRepeatedLoop = 0x80000;  // the loop starting here repeats by rotation
inline constexpr uint32_t kEdge3DScratch = 0x100000;      // CreateSimplePoly's walk round a vertex
inline constexpr uint32_t kEdge3DTabWedge = 0x200000;
inline constexpr uint32_t kEdge3DCoincMethodMask = 0x3C00000;
inline constexpr uint32_t kEdge3DJoinBits = kEdge3DJoined | kEdge3DJoinedOtherSide;
// What each net build recomputes.
inline constexpr uint32_t kEdge3DNetBuildBits = kEdge3DCannotJoin | 0x1FF0 | kEdge3DHullCorner;

// One side of a facelet, in its facelet's edge array, loop after loop.
class Edge3D
{
public:
    // The next and previous edge of the same loop, wrapping at the loop's end.
    Edge3D* GetNext() const;
    Edge3D* GetPrev() const;
    // Place in the facelet's edge array; -1 when the edge has no facelet.
    int GetIndexInFace() const;
    // The next edge's start; null when there is none.
    Vert3D* GetEndVert() const;

    // "facelet-edge" by the facelet's running index and the edge's place in it; "NULL" for none.
    // The text lives in a static buffer until the next call.
    static const char* GetName(const Edge3D* edge);
    // "type-edge" by the facelet type's index; a second static buffer.
    static const char* GetTypeName(const Edge3D* edge);
    // Same facelet type and same place in the facelet.
    static bool IsSameTypeEdge(const Edge3D* a, const Edge3D* b);
    // The per-edge coincident-edge method, else the program's.
    int GetCoincMethod() const;
    // The angle to the coincident facelet when the edge has one and is left unconnected; else the
    // dihedral.
    double GetEffectiveDihedral() const;
    // Half the turn away from flat: (pi - effective dihedral) / 2.
    double GetMitreAngle() const { return (3.141592653589793 - GetEffectiveDihedral()) / 2.0; }
    // The edge a join, a tab or a layout pairs this one with, by the coincident-edge method; null
    // when none. Strict asks whether the unfolder may join the two facelets.
    Edge3D* GetNeighInNet(bool strict = false) const;

    // ---- Nets ----

    Model3D* GetModel() const;
    bool IsConvex() const;
    // The member of the edge's class on the type's first facelet at its first rotation.
    Edge3D* GetClassRep() const;
    // Sets or clears bits on every member of the class (withNeighbours: on their partners too);
    // allCopies: on the edges at the same place in every net of the edge's net type instead.
    void SetClassFlags(uint32_t bits, bool set, bool withNeighbours, bool allCopies);
    bool AnyClassFlag(uint32_t bits) const;
    bool AllClassFlags(uint32_t bits) const;
    void FlagOpenClassEdges(uint32_t bits);
    // The next edge along the outline of the edge's net, in the facelets' own winding.
    Edge3D* NextOutlineEdge(bool includeMeeting) const;
    Edge3D* NextHullEdge() const;
    Edge3D* GetFirstNetEdge();
    bool IsInCoincRingOf(const Edge3D* other) const;
    // The text written on the edge in nets; false when the edge carries none.
    bool GetLabel(std::string& text) const;
    // Hangs the facelet joined across this edge on it, folded by a, when it is not placed yet:
    // answers it (marked as placed) with its placement, or null.
    Face3D* FoldPlace(double a, const Transform3D& placement, Transform3D& childPlacement);
    // The user's cut: cuts or joins this edge (or its whole class) and builds the nets again.
    void ToggleCut(bool wholeClass);
    // The edge of the coincident ring to draw: the first whose two facelets face the viewer, else
    // the sharpest fold.
    Edge3D* FindVisibleCoincEdge(const std::function<bool(const Vec3D& eye, const Vec3D& normal)>& facing);
    // The 2D rigid map of n's facelet plane into the net that lays n against e (placed already).
    static void CalcJoinTransform(const Edge3D* e, const Edge3D* n, double map[6]);
    // 0 when s (of a facelet being placed) fits beside the outline edge o, 12 on conflict.
    static int TestEdgeAgainst(Edge3D* s, Edge3D* o, std::vector<Edge3D*>* list);

    // Place in the model's numbering of all edge slots (type by type, facelet by facelet); -1 for
    // none.
    static int GetRunningIndex(const Edge3D* edge);
    // Running number of the edge's loop over all facelets of the model; -2 when not found.
    static int GetLoopNumber(const Edge3D* edge);

    uint32_t mFlags = 0;
    int32_t mConnectionId = -1;  // the number printed on nets
    NetTab* mTab = nullptr;
    Face3D* mFace = nullptr;
    Vert3D* mVert = nullptr;    // start; the end is the next edge's start
    Edge3D* mNeigh = nullptr;   // the matching edge of the facelet across
    double mDihedral = 0.0;     // radians, 0 to 2*pi; pi for a flat continuation
    Edge3D* mCoincEdge = nullptr;
    double mCoincAngle = 0.0;
    Vec3D mFoldedPos;
    Vec2D mNetPos;
    Vec2D mFacePos;  // the start in the facelet's plane coordinates
    Edge3D* mNextAtVert = nullptr;
};
