#include "kernel/DiagramOutline.h"
#include "kernel/FaceDiagram.h"
#include "kernel/Intersect3D.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "stellation/FaceType.h"

#include <cmath>
#include <new>

namespace
{
// The ring from the element on, the element first; null ends it. Bounded by the model's elements,
// so a broken ring cannot loop for ever.
template <class Visit>
void ForEachRingMember(FaceVert* element, Visit visit)
{
    const Poly* poly = element->mPoly;
    int guard = poly ? poly->mFaces.mCount + poly->mVerts.mCount + 1 : 1 << 20;
    FaceVert* e = element;
    do
    {
        visit(e);
        e = e->mNextCoplanar;
    } while (e && e != element && --guard > 0);
}

uint32_t FinishFlags(const Poly* poly, uint32_t base)
{
    return base | ((poly->mFlags & Poly::kOneSided) ? FaceDiagram::kFinishNonOrientable : 0u);
}

// The plane of a corner at scale b, as n . x + d = 0 with positive distances outside.
struct ScaledPlane
{
    Vec3D n;
    double d;

    double Distance(const Vec3D& x) const { return Vec3Dot(x, n) + d; }
};

ScaledPlane CornerPlane(const FaceVert* corner, double b)
{
    Vec3D centre;
    Vec3Scale(centre, corner->mCentre, b);
    return ScaledPlane{corner->mZAxis, -Vec3Dot(centre, corner->mZAxis)};
}

// The part of the side from corner m to corner n (their points at scale a) that lies inside the
// planes of both corners at scale b, as the points it contributes to the clipped outline: its
// start, its end unless that is n itself, or, where the side misses the inside, the point where
// the two corner planes meet the element's plane. Answers the number of points written.
int ClipSide(const FaceVert* m, const FaceVert* n, double a, double b, const ScaledPlane& element, Vec3D out[2])
{
    Vec3D side;
    Vec3Sub(side, n->mPoint, m->mPoint);
    const bool firstTest = Vec3Dot(side, m->mZAxis) > 0.0;
    bool r = firstTest;
    if (Vec3Dot(side, n->mZAxis) < 0.0)
        r = !firstTest;

    Vec3D A, B, along;
    Vec3Scale(A, m->mPoint, a);
    Vec3Scale(B, n->mPoint, a);
    Vec3Sub(along, B, A);
    const ScaledPlane pm = CornerPlane(m, b);
    const ScaledPlane pn = CornerPlane(n, b);

    bool parallel = false;
    double t = 0.0;
    Vec3D S = A;
    const double dmA = pm.Distance(A);
    if (dmA > 0.0)
    {
        const double den = dmA - pm.Distance(B);
        if (std::fabs(den) <= kTol)
            parallel = true;
        else
        {
            t = dmA / den;
            Vec3AddScaled(S, A, t, along);
        }
    }
    double u = 1.0;
    Vec3D T = B;
    const double dnB = pn.Distance(B);
    if (!parallel && dnB > 0.0)
    {
        const double dnA = pn.Distance(A);
        const double den = dnB - dnA;
        if (std::fabs(den) <= kTol)
            parallel = true;
        else
        {
            u = -dnA / den;
            Vec3AddScaled(T, A, u, along);
        }
    }
    if (!parallel && (r == (t >= u) || t == 0.0 || u == 1.0))
    {
        out[0] = S;
        if (u == 1.0)
            return 1;
        out[1] = T;
        return 2;
    }
    Vec3D point, direction;
    if (PlaneIsectPlane(point, direction, pm.n, pm.d, pn.n, pn.d, kTol) &&
        PlaneIsectLine(out[0], element.n, element.d, point, direction, kTol))
        return 1;
    return 0;
}

// Runs the clipping over every side of the member, giving each point in the frame's x and y.
template <class Emit>
void ClipSides(const FaceVert* member, double a, double b, const ScaledPlane& element, const Transform3D& frame,
               Emit emit)
{
    const int n = member->mNumSides;
    for (int i = 0; i < n; ++i)
    {
        const FaceVert* from = member->mNeighbours[i];
        const FaceVert* to = member->mNeighbours[(i + 1) % n];
        if (!from || !to)
            continue;
        Vec3D points[2];
        const int count = ClipSide(from, to, a, b, element, points);
        for (int k = 0; k < count; ++k)
        {
            Vec3D local;
            frame.Apply(local, points[k]);
            emit(Vec2D{local.x, local.y}, points[k]);
        }
    }
}

// The element's plane at scale a; false when the element's point at scale b does not lie beyond
// it, so that nothing of the other side cuts the element.
bool ClippedPlane(const FaceVert* element, double a, double b, ScaledPlane& plane)
{
    Vec3D centre;
    Vec3Scale(centre, element->mCentre, a);
    plane.n = element->mZAxis;
    plane.d = -Vec3Dot(centre, plane.n);
    Vec3D point;
    Vec3Scale(point, element->mPoint, b);
    return -plane.d < Vec3Dot(point, plane.n);
}
}  // namespace

void FaceVert::BuildDrawLoops()
{
    FaceType* type = mFaceType;
    if (!type || type->mCoplanarSource || (mFlags & kInf))
        return;
    Poly* poly = mPoly;
    if (!poly)
    {
        InternalError("FaceVert::BuildDrawLoops(): element %d has no model", mIndex);
        return;
    }
    poly->mFlags |= Poly::kRecolorFaceDiagrams;
    if (!type->mDiagram)
    {
        type->mDiagram.reset(new (std::nothrow) FaceDiagram);
        if (!type->mDiagram)
        {
            InternalError("FaceVert::BuildDrawLoops(): no memory for a diagram");
            return;
        }
    }
    OutlineFeeder2D feeder;
    type->mOutline.Begin(*type->mDiagram, kOwnerKindFaces, &poly->mDiagramPools, &poly->mDiagramWorkPools[0], feeder);
    const Transform3D frame = GetWorldToLocal(false);
    ForEachRingMember(this, [&](FaceVert* member) {
        DiagramOutline::AddPointCallback(member, (member->mFlags & kReversed) != 0, feeder);
        for (int i = 0; i < member->mNumSides; ++i)
        {
            Vec2D points[5];
            const int count = member->ProjectSide(i, frame, points);
            for (int k = 0; k < count; ++k)
                DiagramOutline::AddPoint(points[k], feeder);
        }
    });
    type->mOutline.Finish(feeder, mLoopTypes, FinishFlags(poly, FaceDiagram::kFinishKeepEdges), type);
}

void FaceVert::BuildMorphLoops(double a, double b)
{
    FaceType* type = mFaceType;
    if (type)
        type->mMorphOutline.Reset();
    if (!type || type->mCoplanarSource || (mFlags & kInf))
        return;
    Poly* poly = mPoly;
    if (!poly)
    {
        InternalError("FaceVert::BuildMorphLoops(): element %d has no model", mIndex);
        return;
    }
    poly->mFlags |= Poly::kRecolorMorphDiagrams;
    ScaledPlane plane;
    if (!ClippedPlane(this, a, b, plane))
        return;

    FaceDiagram diagram;
    OutlineFeeder2D feeder;
    type->mMorphOutline.Begin(diagram, kOwnerKindFaces, nullptr, &poly->mDiagramWorkPools[1], feeder);
    const Transform3D frame = GetWorldToLocal(false);
    ForEachRingMember(this, [&](FaceVert* member) {
        DiagramOutline::AddPointCallback(member, (member->mFlags & kReversed) != 0, feeder);
        ClipSides(member, a, b, plane, frame, [&](const Vec2D& p, const Vec3D&) { DiagramOutline::AddPoint(p, feeder); });
    });
    type->mMorphOutline.Finish(feeder, mMorphLoopTypes, FinishFlags(poly, FaceDiagram::kFinishSecondSlot), type);
}

RingVert* FaceVert::BuildMorphRing(double a, double b)
{
    if ((mFlags & kInf) || mNumSides <= 0)
        return nullptr;
    ScaledPlane plane;
    if (!ClippedPlane(this, a, b, plane))
        return nullptr;
    const Transform3D frame = GetWorldToLocal(false);
    RingVert* ring = nullptr;
    bool ok = true;
    ClipSides(this, a, b, plane, frame, [&](const Vec2D& p, const Vec3D& point) {
        if (ok && !AddRingVert(p.x, p.y, nullptr, &point, ring))
            ok = false;
    });
    if (!ok)
    {
        InternalError("FaceVert::BuildMorphRing(): no memory for the ring");
        FreeRing(ring);
        return nullptr;
    }
    return RemoveDuplicateRingVerts(ring);
}
