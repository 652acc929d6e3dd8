#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
bool SamePlane(const FacetPlane* p, const Vec3D& n, double d)
{
    return Vec3Equal(p->mNormal, n, kTol) && WithinTol(p->mD, d, kTol);
}

// The plane, or the same plane with its four values negated.
bool SamePlaneEitherWay(const FacetPlane* p, const Vec3D& n, double d)
{
    if (SamePlane(p, n, d))
        return true;
    Vec3D m;
    Vec3Neg(m, n);
    return SamePlane(p, m, -d);
}

// Height descending, then d ascending, then creation order.
bool PlaneComesBefore(const FacetPlane* a, const FacetPlane* b)
{
    if (!WithinTol(a->mHeight, b->mHeight, kTol))
        return a->mHeight > b->mHeight;
    if (!WithinTol(a->mD, b->mD, kTol))
        return a->mD < b->mD;
    return a->mIndex < b->mIndex;
}
}  // namespace

double Faceting::CalcPlaneHeight(const Vec3D& normal, double d) const
{
    double highest = 0.0;
    const ElemList* verts = mVertexTypes && mVertexTypes->mStellation ? mVertexTypes->mStellation->GetFaceList() : nullptr;
    for (const FaceVert* v = verts ? verts->mFirst : nullptr; v; v = v->mNext)
    {
        if (v->mFlags & FaceVert::kHemi)
            continue;
        highest = std::max(highest, Vec3Dot(normal, v->mPoint));
    }
    // 0 - d keeps a plane through the centre at +0.
    return highest > kTol ? (0.0 - d) / highest : 0.0;
}

// A plane already made, or a turned copy of one at the same distance. Only planes whose offset is
// d, or -d for the same plane with its values negated, can be either.
bool Faceting::IsKnownPlane(const PlanesByOffset& planes, const Vec3D& normal, double d) const
{
    std::vector<const FacetPlane*> sameD;
    auto collect = [&](double offset) {
        for (auto it = planes.lower_bound(offset - kTol); it != planes.end() && it->first <= offset + kTol; ++it)
        {
            if (std::find(sameD.begin(), sameD.end(), it->second) == sameD.end())
                sameD.push_back(it->second);
        }
    };
    collect(d);
    collect(-d);
    for (const FacetPlane* p : sameD)
    {
        if (SamePlaneEitherWay(p, normal, d))
            return true;
    }
    if (sameD.empty())
        return false;
    const std::vector<Mat3>& rotations = GetRotations();
    for (size_t r = 1; r < rotations.size(); ++r)
    {
        Vec3D turned;
        rotations[r].Transform(turned, normal);
        for (const FacetPlane* p : sameD)
        {
            if (SamePlaneEitherWay(p, turned, d))
                return true;
        }
    }
    return false;
}

bool Faceting::CreatePlanes()
{
    TraceScope trace("CreatePlanes");
    SymGroup* group = GetGroup();
    if (!group)
        return false;
    const ElemList* verts = mVertexTypes && mVertexTypes->mStellation ? mVertexTypes->mStellation->GetFaceList() : nullptr;
    const double total = double(mNumEdges) * double(verts ? verts->mCount : 0);
    const bool chiral = group->mReflection == SymGroup::kChiral;
    Mat3 reflection;
    const bool canReflect = !chiral && group->GetReflectionMatrix(reflection);
    const bool dualTidy = GetFacetingSettings().criterion == kFacetingDualTidy;

    PlanesByOffset byOffset;
    int counter = 0;
    for (FacetingEdge* e = mFirstEdge; e; e = e->next)
    {
        FaceVert* a = e->mVertA;
        FaceVert* b = e->mVertB;
        for (FaceType* u = a->mFaceType; u; u = u->mNextFaceType)
        {
            if (!IsVertexType(u))
                continue;
            for (FaceVert* x = u->mFirstFace; x; x = x->mNextOfType)
            {
                if (x == a || x == b || !IsCandidateVert(x))
                    continue;
                ++counter;
                if (Vec3Colinear(a->mPoint, b->mPoint, x->mPoint, kTol))
                    continue;
                Vec3D n;
                Vec3Normal3(n, a->mPoint, b->mPoint, x->mPoint);
                if (!Vec3Normalize(n))
                    continue;
                if (Vec3Dot(n, a->mPoint) < 0.0)
                    Vec3Negate(n);
                double d = -Vec3Dot(n, a->mPoint);
                if (dualTidy && IsZeroTol(d, kTol))
                    continue;
                if (counter % 20 == 0 &&
                    !ShowProgress(total > 0.0 ? std::min(counter / total, 1.0) : 0.0,
                                  "Faceting preparation: creating planes\n%d planes so far", mNumPlanes))
                    return false;
                Vec3SnapZero(n, kTol);
                if (IsZeroTol(d, kTol))
                    d = 0.0;
                if (IsKnownPlane(byOffset, n, d))
                    continue;
                const SymAxisSet* axes = group->FindAxisByDir(n);
                const int numRots = axes ? axes->mOrder : 1;
                FacetPlane* plane = new FacetPlane(this, n, d, numRots, group);
                byOffset.emplace(d, plane);
                // Every vertex in the plane, of the earlier types too: where vertices of different
                // types share an axis line (as the face poles of some degenerate models do), the
                // plane is not always reached from the earlier type first.
                plane->AddVerts(a, b, mVertexTypes);
                if (chiral)
                    continue;
                SetPlaneMirror(plane, *group);
                if (plane->mFlags & kFacetPlaneReflexible)
                {
                    if (!(plane->mFlags & kFacetPlaneInversion) || group->mMirrors.count > 0)
                        continue;
                }
                if (!canReflect)
                    continue;
                // No reflection of the group keeps the plane: its mirror image is a plane of its own.
                plane->mFlags |= kFacetPlaneChiral;
                Vec3D m;
                reflection.Transform(m, n);
                Vec3SnapZero(m, kTol);
                FacetPlane* image = new FacetPlane(this, m, d, numRots, group);
                byOffset.emplace(d, image);
                image->mFlags |= kFacetPlaneMirrorImage;
                image->AddVerts(nullptr, nullptr, mVertexTypes);
            }
        }
    }

    FindChiralEdges();

    int index = 0;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
        p->mIndex = index++;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        p->CreateEdges(group, this);
        p->mHeight = CalcPlaneHeight(p->mNormal, p->mD);
    }

    std::vector<FacetPlane*> sorted;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
        sorted.push_back(p);
    std::stable_sort(sorted.begin(), sorted.end(), PlaneComesBefore);
    mFirstPlane = mLastPlane = nullptr;
    for (FacetPlane* p : sorted)
        ListAppend(p, mFirstPlane, mLastPlane);
    return true;
}

void Faceting::SetPlaneMirror(FacetPlane* plane, SymGroup& group)
{
    const Vec3D& n = plane->mNormal;
    for (int i = 0; i < group.mMirrors.count; ++i)
    {
        const Vec3D& m = group.mMirrors[i].mDir;
        if (IsZeroTol(Vec3Dot(n, m), kTol))
        {
            // The mirror stands across the plane.
            plane->mFlags |= kFacetPlaneReflexible;
            plane->mMirrorDir = &m;
            if (plane->IsThroughCentre())
            {
                Vec3D along;
                Vec3Cross(along, n, m);
                const SymAxisSet* axes = group.FindAxisByAbsDir(along);
                if (axes && axes->mOrder % 2 == 0)
                    plane->mFlags |= kFacetPlaneSelfMirror;
            }
            return;
        }
        if (plane->IsThroughCentre() && Vec3Parallel(n, m, kTol))
        {
            // The plane is the mirror itself.
            plane->mFlags |= kFacetPlaneReflexible;
            plane->mMirrorDir = &m;
            return;
        }
    }
    if (plane->IsThroughCentre() && group.HasCentralInversion())
    {
        plane->mFlags |= kFacetPlaneReflexible | kFacetPlaneInversion;
        plane->mMirrorDir = nullptr;
        if (plane->mNumRots % 2 == 0)
            plane->mFlags |= kFacetPlaneSelfMirror;
    }
}
