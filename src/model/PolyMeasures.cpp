#include "model/Poly.h"

#include "kernel/Intersect3D.h"
#include "kernel/Tolerance.h"
#include "kernel/TransitionSettings.h"
#include "mesh/Model3D.h"
#include "model/FaceVert.h"
#include "stellation/FaceType.h"
#include "stellation/ModelBuildSuspension.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
// Transition types that move the model out from its centre or back.
constexpr int kTransitionExplodeGrow = 5;
constexpr int kTransitionShrinkImplode = 6;
constexpr int kTransitionExplodeImplode = 7;

double DistanceSq(const Vec3D& a, const Vec3D& b)
{
    Vec3D d;
    Vec3Sub(d, a, b);
    return Vec3LengthSq(d);
}

// The first point of the list farthest from the point by the measure (the first on ties).
template <class Measure>
const Vec3D* Farthest(const ElemList& verts, Measure measure)
{
    const Vec3D* best = nullptr;
    double bestValue = 0.0;
    for (const FaceVert* v = verts.mFirst; v; v = v->mNext)
    {
        const double value = measure(v->mPoint);
        if (!best || value > bestValue)
            best = &v->mPoint, bestValue = value;
    }
    return best;
}

// The type's first face is a shape the kit has panels for: its corners in outline order, the
// other way round for a face marked reversed.
bool HasPanel(FaceType* type)
{
    const FaceVert* first = type->mFirstFace;
    std::vector<Vec3D> corners;
    if (first)
    {
        for (int i = 0; i < first->mNumSides; ++i)
        {
            const FaceVert* corner = first->mNeighbours[i];
            if (!corner)
                return type->IsPanelShape({}, Vec3D{});
            corners.push_back(corner->mPoint);
        }
        if (first->mFlags & FaceVert::kReversed)
            std::reverse(corners.begin(), corners.end());
    }
    return type->IsPanelShape(corners, first ? first->GetNormal() : Vec3D{});
}

// Of two face types whose panels meet too sharply, the one that gives its panel up: a type of more
// than 6 sides against one of at most 6, else the type of fewer faces, else of fewer sides, else
// the first one.
FaceType* PanelLoser(FaceType* a, FaceType* b)
{
    const int sidesA = a->mFirstFace ? a->mFirstFace->mNumSides : 0;
    const int sidesB = b->mFirstFace ? b->mFirstFace->mNumSides : 0;
    if ((sidesA > 6) != (sidesB > 6))
        return sidesA > 6 ? a : b;
    if (a->mCount != b->mCount)
        return a->mCount < b->mCount ? a : b;
    if (sidesA != sidesB)
        return sidesA < sidesB ? a : b;
    return a;
}
}  // namespace

Vec3D Poly::GetVertexCentroid() const
{
    Vec3D sum;
    int count = 0;
    for (const FaceVert* v = mVerts.mFirst; v; v = v->mNext)
    {
        if (v->mFlags & FaceVert::kSkip)
            continue;
        Vec3AddTo(sum, v->mPoint);
        ++count;
    }
    if (count > 0)
        Vec3Div(sum, sum, double(count));
    return sum;
}

Vec3D Poly::GetWeightedVertexCentroid() const
{
    Vec3D sum;
    double weight = 0.0;
    for (const FaceVert* v = mVerts.mFirst; v; v = v->mNext)
    {
        Vec3AddScaledTo(sum, double(v->mNumSides), v->mPoint);
        weight += v->mNumSides;
    }
    if (weight > 0.0)
        Vec3Div(sum, sum, weight);
    return sum;
}

bool Poly::GetCircumcentre(Vec3D& centre, double& radiusSq) const
{
    if (mVerts.mCount <= 3)
        return false;
    const Vec3D* p1 = Farthest(mVerts, [](const Vec3D& p) { return Vec3LengthSq(p); });
    const Vec3D* p2 = Farthest(mVerts, [&](const Vec3D& p) { return DistanceSq(p, *p1); });
    const Vec3D* p3 = Farthest(mVerts, [&](const Vec3D& p) {
        Vec3D foot;
        ProjectPointOnLine(foot, p, *p1, *p2, kTol);
        return DistanceSq(p, foot);
    });
    Vec3D a, b, n;
    Vec3Sub(a, *p2, *p1);
    Vec3Sub(b, *p3, *p1);
    if (Vec3Parallel(a, b, kTol) || Vec3Parallel(b, a, kTol))
        return false;
    Vec3Cross(n, a, b);
    if (!Vec3Normalize(n))
        return false;
    if (Vec3Dot(n, *p1) < 0.0)
        Vec3Negate(n);
    const double offset = Vec3Dot(n, *p1);
    const Vec3D* p4 = Farthest(mVerts, [&](const Vec3D& p) { return std::fabs(Vec3Dot(n, p) - offset); });
    Vec3D fromP1;
    if (!SphereCentre4Points(fromP1, *p1, *p2, *p3, *p4, kTol))
        return false;
    const double r2 = Vec3LengthSq(fromP1);
    Vec3D c;
    Vec3Add(c, *p1, fromP1);
    for (const FaceVert* v = mVerts.mFirst; v; v = v->mNext)
        if (!WithinTol(DistanceSq(v->mPoint, c), r2, kTol))
            return false;
    centre = c;
    radiusSq = r2;
    return true;
}

bool Poly::IsKitBuildable(bool dual, const char* reason)
{
    // A model being rebuilt is not checked, and nothing is kept.
    if (IsModelBuildSuspended())
        return true;
    Stellation* edgeSide = dual ? GetVertStellation() : GetFaceStellation();
    Stellation* vertSide = dual ? GetFaceStellation() : GetVertStellation();
    const uint32_t yes = dual ? kDualKitYes : kKitYes;
    const uint32_t no = dual ? kDualKitNo : kKitNo;
    const char*& kitReason = dual ? mDualKitReason : mKitReason;
    if (reason)
    {
        mFlags = (mFlags & ~yes) | no;
        kitReason = reason;
    }
    if (mFlags & (yes | no))
        return (mFlags & yes) != 0;

    kitReason = nullptr;
    auto refuse = [&](const char* why) {
        kitReason = why;
        mFlags |= no;
        return false;
    };
    double shortest = 0.0, longest = 0.0;
    edgeSide->CalcEdgeLengthRange(&shortest, &longest);
    if (!WithinTol(shortest, longest, kTol))
        return refuse(kKitReasonEdgeLengths);
    if (mFlags & (kOneSided | kAgainstType))
        return refuse(kKitReasonFacesIntersect);

    // Rods meeting at a ball: one ball of each kind stands for its kind.
    const double cosMin = std::cos(kKitMinAngle);
    for (const FaceType* type = vertSide->mFirstFaceType; type; type = type->mNextFaceType)
    {
        const FaceVert* v = type->mFirstFace;
        if (!v)
            continue;
        std::vector<Vec3D> rods;
        for (int i = 0; i < v->mNumSides; ++i)
        {
            const FaceVert* other = FaceVert::GetAdjacent(v, i);
            if (!other)
                continue;
            Vec3D d;
            Vec3Sub(d, other->mPoint, v->mPoint);
            if (Vec3Normalize(d))
                rods.push_back(d);
        }
        for (size_t i = 0; i < rods.size(); ++i)
            for (size_t j = i + 1; j < rods.size(); ++j)
            {
                const double dot = Vec3Dot(rods[i], rods[j]);
                if (dot > cosMin && !(dot >= kRatioLow && dot <= kRatioHigh))
                    return refuse(kKitReasonEdgeAngle);
            }
    }

    // Panels: a shape the kit lacks leaves the model buildable without that panel; so do two
    // panels that would meet too sharply, one of them given up.
    for (FaceType* type = edgeSide->mFirstFaceType; type; type = type->mNextFaceType)
        if (!HasPanel(type) && !kitReason)
            kitReason = kKitReasonPanelShape;
    const double cosFold = std::cos(kPi - kKitMinAngle);
    for (FaceType* type = edgeSide->mFirstFaceType; type; type = type->mNextFaceType)
    {
        const FaceVert* first = type->mFirstFace;
        for (int i = 0; first && i < first->mNumSides && HasPanel(type); ++i)
        {
            const FaceVert* across = FaceVert::GetAdjacent(first, i);
            if (!across || !across->mFaceType || !HasPanel(across->mFaceType))
                continue;
            if (Vec3Dot(first->GetNormal(), across->GetNormal()) >= cosFold)
                continue;
            FaceType* loser = PanelLoser(type, across->mFaceType);
            loser->mFlags = (loser->mFlags & ~(kFaceTypePanelShape | kFaceTypeRhombusPanel)) | kFaceTypeNotPanelShape;
            kitReason = kKitReasonFaceAngle;
        }
    }
    mFlags |= yes;
    return true;
}

bool Poly::IsStellationKitBuildable(bool dual)
{
    if (IsModelBuildSuspended())
        return true;
    Stellation* stellation = dual ? GetVertStellation() : GetFaceStellation();
    Model3D* mesh = stellation->PeekModel3D();
    if (!mesh)
    {
        stellation->mKitReason = nullptr;
        return false;
    }
    return Model3D::IsKitBuildable(mesh);
}

double Poly::GetTransitionLength() const
{
    return mTransition.GetDuration();
}

double Poly::GetTransitionStart() const
{
    return mTransitionEnd - GetTransitionLength();
}

void Poly::RetimeTransition(double time, double length)
{
    const double start = GetTransitionStart();
    if (start >= time)
    {
        // Not begun: the same start, the new length.
        mTransition.duration = length;
        mTransitionEnd = start + length;
        return;
    }
    if (time >= mTransitionEnd)
        return;
    const double current = GetTransitionLength();
    if (current <= 0.0)
        return;
    const double ratio = length / current;
    mTransition.duration = current * ratio;
    mTransitionEnd = time + (mTransitionEnd - time) * ratio;
}

void Poly::RetargetScale(double time, double target)
{
    const double start = GetTransitionStart();
    if (start >= time)
    {
        mScaleTarget = target;
        return;
    }
    if (time >= mTransitionEnd)
        return;
    const double d = mDisplayScale;
    mScaleTarget = target;
    mScaleStart = d + (target - d) * (start - time) / (mTransitionEnd - time);
}

bool Poly::IsExplodePhase() const
{
    int type = mTransition.type;
    if (type == TransitionSettings::kTypeDefault)
        type = GetTransitionOccasions()[0].type;
    return type == kTransitionExplodeImplode || (type == kTransitionExplodeGrow && !mIncoming) ||
           (type == kTransitionShrinkImplode && mIncoming);
}
