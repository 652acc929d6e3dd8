#pragma once

#include "kernel/Vec3D.h"

#include <cstdint>

class FaceType;
class FaceVert;
class StellationEdge;

// Bits of StellationLine::mFlags.
inline constexpr uint32_t kLineOuterSameWay = 0x1;    // mOuterNeighbour runs the same way as this line
inline constexpr uint32_t kLineInnerSameWay = 0x2;    // mInnerNeighbour runs the same way
inline constexpr uint32_t kLineNearHorizontal = 0x8;  // |a| < |b|: places along it compare by x, else by y
inline constexpr uint32_t kLineInMirrorPlane = 0x10;
inline constexpr uint32_t kLineOriginalEdge = 0x40;    // carries an edge of the original face
inline constexpr uint32_t kLineFromCentralFace = 0x80;  // made by a face through the centre, as the first face is
inline constexpr uint32_t kLineThroughCentre = 0x100;   // passes the diagram's centre

// One line of a face type's stellation diagram: where the plane of another face cuts the plane of
// the type's first face, as a x + b y + c = 0 in the first face's frame. The type owns its lines,
// newest first.
class StellationLine
{
public:
    // Prepended to the list. The direction is the cross product of the making face's normal and
    // the first face's normal.
    StellationLine(FaceType* faceType, double a, double b, double c, FaceVert* face, StellationLine*& list);
    StellationLine(const StellationLine&) = delete;
    StellationLine& operator=(const StellationLine&) = delete;

    // a x + b y + c: zero on the line, its sign telling the sides apart.
    double Eval(double x, double y) const { return mEqn[0] * x + mEqn[1] * y + mEqn[2]; }
    // Where the two lines cross, each coordinate snapped to 0 within 1e-7; false for lines
    // parallel within 1e-7.
    bool Intersect(const StellationLine& other, double& x, double& y) const;
    // The x of the line's point at height y; false for a line within 1e-7 of horizontal.
    bool XAtY(double y, double& x) const;
    bool YAtX(double x, double& y) const;
    // Both end vertices of the line, placed in space through the first face, lie on one mirror
    // plane of the group (within 1e-6), or a neighbour line is known to lie in one.
    bool LiesInMirrorPlane(const FaceType* type) const;

    FaceType* mFaceType;
    double mEqn[3];
    uint32_t mFlags = 0;
    StellationEdge* mFirstEdge = nullptr;  // starts at one end of the finite line and runs along it
    StellationEdge* mLastEdge = nullptr;   // starts at the other end and runs back
    Vec3D mDir;
    FaceVert* mFace;   // the faces whose planes give the line; mFace2 is mFace when only one side does
    FaceVert* mFace2;
    FaceVert* mFace3 = nullptr;
    double mNearDist = 0.0;  // choose among faces that give the same line
    double mFarDist = 0.0;
    StellationLine* mOuterNeighbour = nullptr;  // the matching line in the diagram of mFace's type
    StellationLine* mInnerNeighbour = nullptr;  // and of mFace2's type
    StellationLine* mNext;
};
