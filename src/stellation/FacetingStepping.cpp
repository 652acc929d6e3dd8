#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/Shell.h"
#include "kernel/StatusText.h"
#include "kernel/UnitSettings.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "stellation/FaceType.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"
#include "stellation/Stellation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{
constexpr double kTolerance = 1e-7;

int StepMode()
{
    return GetFacetingSettings().stepMode;
}

std::vector<Vec3D> RingPoints(const Polygon3D* polygon)
{
    std::vector<Vec3D> points;
    if (!polygon || !polygon->mRing)
        return points;
    const RingVert* v = polygon->mRing;
    do
    {
        points.push_back(v->pos);
        v = v->next;
    } while (v && v != polygon->mRing);
    return points;
}

bool Near(const Vec3D& a, const Vec3D& b)
{
    return std::fabs(a.x - b.x) <= kTolerance && std::fabs(a.y - b.y) <= kTolerance &&
           std::fabs(a.z - b.z) <= kTolerance;
}

FacetingFace* LastFaceOfPlane(FacetPlane* plane)
{
    return plane ? plane->mLastFace : nullptr;
}
}  // namespace

bool Faceting::PrepareStepping(bool* changed)
{
    *changed = false;
    if (!mFirstPlane && !CreateForCurrentModel())
        return false;
    const int mode = StepMode();
    if (mode == kFacetingStepEdges || mCurrentFace)
        return true;
    Polygon3D* drawn = mPoly ? mPoly->mCurrentDrawnPolygon : nullptr;
    if (mode == kFacetingStepPlanes || mode == kFacetingStepFacets)
    {
        bool notFound = false;
        FacetingFace* found = nullptr;
        if (mode == kFacetingStepPlanes)
        {
            FacetPlane* plane = FindPlaneOfPolygon(drawn, &notFound, nullptr);
            found = plane ? plane->mFirstFace : nullptr;
        }
        else
        {
            found = FindFaceOfPolygon(drawn, &notFound);
        }
        mCurrentFace = found;
        // A drawn polygon that is no candidate gives way to the nearest candidate at once. Reporting
        // a change without showing one would leave the same polygon to be matched again at the next
        // step, and stepping would never move on.
        if (notFound && found)
            *changed = ShowPlane(found);
    }
    else if (mNumFacets == 0 && SyncWithModelFacets())
    {
        *changed = true;
    }
    return true;
}

bool Faceting::StepNext()
{
    mTotalCount = BigUInt();
    bool changed = false;
    if (!PrepareStepping(&changed))
        return false;
    if (changed)
        return true;
    switch (StepMode())
    {
    case kFacetingStepEdges:
        return ShowEdge(mCurrentEdge ? mCurrentEdge->next : mFirstEdge);
    case kFacetingStepPlanes:
        if (!mCurrentFace)
            return ShowPlane(mFirstPlane ? mFirstPlane->mFirstFace : nullptr);
        return ShowPlane(mCurrentFace->mPlane->next ? mCurrentFace->mPlane->next->mFirstFace : nullptr);
    case kFacetingStepFacets:
        return ShowPlane(mCurrentFace ? mCurrentFace->GetNext() : GetFirstFace());
    default:
        return FindNext();
    }
}

bool Faceting::StepPrevious()
{
    mTotalCount = BigUInt();
    bool changed = false;
    if (!PrepareStepping(&changed))
        return false;
    if (changed)
        return true;
    switch (StepMode())
    {
    case kFacetingStepEdges:
        return ShowEdge(mCurrentEdge ? mCurrentEdge->prev : mLastEdge);
    case kFacetingStepPlanes:
        if (!mCurrentFace)
            return ShowPlane(mLastPlane ? mLastPlane->mFirstFace : nullptr);
        return ShowPlane(mCurrentFace->mPlane->prev ? mCurrentFace->mPlane->prev->mFirstFace : nullptr);
    case kFacetingStepFacets:
        return ShowPlane(mCurrentFace ? mCurrentFace->GetPrevious() : LastFaceOfPlane(mLastPlane));
    default:
        return FindPrevious();
    }
}

bool Faceting::GoToFirst()
{
    bool changed = false;
    if (!PrepareStepping(&changed))
        return false;
    if (StepMode() != kFacetingStepFacetings)
        return ShowPlane(mFirstPlane ? mFirstPlane->mFirstFace : nullptr);
    if (mPoly)
        mPoly->ClearDrawnPolygons(true);
    return StepNext();
}

bool Faceting::GoToLast()
{
    bool changed = false;
    if (!PrepareStepping(&changed))
        return false;
    switch (StepMode())
    {
    case kFacetingStepPlanes:
        return ShowPlane(mLastPlane ? mLastPlane->mFirstFace : nullptr);
    case kFacetingStepEdges:
    case kFacetingStepFacets:
        return ShowPlane(LastFaceOfPlane(mLastPlane));
    default:
        Reset(false, false);
        return StepPrevious();
    }
}

void Faceting::UseModelFaces()
{
    if (!mPoly)
        return;
    mPoly->ClearDrawnPolygons(true);
    // This side's faces belong to the stellation that embeds this faceting.
    const bool dualSide = this == &mPoly->GetVertStellation()->mFaceting;
    Stellation* own = dualSide ? mPoly->GetVertStellation() : mPoly->GetFaceStellation();
    for (FaceType* type = own->mFirstFaceType; type; type = type->mNextFaceType)
    {
        const FaceVert* face = type->mFirstFace;
        Polygon3D* polygon = mPoly->mCurrentDrawnPolygon;
        if (type->IsCoplanarCopy() || !face || !polygon || !face->mNeighbours)
            continue;
        for (int i = 0; i < face->mNumSides; ++i)
        {
            if (const FaceVert* corner = face->mNeighbours[size_t(i)])
                AddRingVert(0.0, 0.0, nullptr, &corner->mPoint, polygon->mRing);
        }
        polygon->Prepare();
        mPoly->CloseDrawnPolygon(false, false);
    }
    GetShell().InvalidateAllViews(false, 0);
}

bool Faceting::ShowEdge(FacetingEdge* edge)
{
    Polygon3D* polygon = mPoly ? mPoly->mCurrentDrawnPolygon : nullptr;
    if (polygon)
        polygon->Clear();
    GetShell().InvalidateAllViews(false, 0);
    mCurrentEdge = edge;
    if (!edge || !polygon)
        return false;
    AddRingVert(0.0, 0.0, nullptr, &edge->mVertA->mPoint, polygon->mRing);
    AddRingVert(0.0, 0.0, nullptr, &edge->mVertB->mPoint, polygon->mRing);
    const std::string text = DescribeCurrent();
    SetStatusText("%s", text.c_str());
    return true;
}

bool Faceting::ShowPlane(FacetingFace* face)
{
    Polygon3D* polygon = mPoly ? mPoly->mCurrentDrawnPolygon : nullptr;
    if (polygon)
        polygon->Clear();
    GetShell().InvalidateAllViews(false, 0);
    mCurrentFace = face;
    if (!face || !polygon)
        return false;
    for (const FacetPlaneVert* v : face->mVerts)
        AddRingVert(0.0, 0.0, nullptr, &v->mVert->mPoint, polygon->mRing);
    polygon->Prepare();
    const std::string text = DescribeCurrent();
    SetStatusText("%s", text.c_str());
    return true;
}

std::string Faceting::DescribeCurrent() const
{
    const double scale = GetUnitSettings().GetScale();
    char text[256] = "";
    switch (StepMode())
    {
    case kFacetingStepEdges:
        if (mCurrentEdge)
        {
            const FacetingEdge* mirror = mCurrentEdge->GetMirror();
            std::snprintf(text, sizeof(text), "Faceting edge %d: Length %g, mirror %d", mCurrentEdge->mIndex,
                          std::sqrt(mCurrentEdge->mLengthSq) * scale, mirror ? mirror->mIndex : -1);
        }
        break;
    case kFacetingStepFacets:
        return mCurrentFace ? mCurrentFace->Describe() : std::string();
    case kFacetingStepPlanes:
        if (mCurrentFace)
        {
            const FacetPlane* plane = mCurrentFace->mPlane;
            char symmetry[64] = "no rotational symmetry";
            if (plane->mNumRots >= 2)
                std::snprintf(symmetry, sizeof(symmetry), "%d-fold symmetry", plane->mNumRots);
            std::snprintf(text, sizeof(text), "Plane %d: Height %g, %d vertices, %d faces, %s, %s", plane->mIndex,
                          -plane->mD * scale, plane->mNumVerts, plane->mNumFaces, symmetry,
                          (plane->mFlags & kFacetPlaneReflexible) ? "reflexible" : "chiral");
        }
        break;
    default:
        break;
    }
    return text;
}

FacetPlane* Faceting::FindPlaneOfPolygon(const Polygon3D* polygon, bool* notFound, Mat3* matrix) const
{
    const std::vector<Vec3D> points = RingPoints(polygon);
    if (points.size() < 3)
        return nullptr;
    Vec3D u, v, n;
    Vec3Sub(u, points[1], points[0]);
    Vec3Sub(v, points[2], points[0]);
    Vec3Cross(n, u, v);
    if (Vec3Length(n) <= kTolerance * Vec3Length(u) * Vec3Length(v) || !Vec3Normalize(n))
        return nullptr;
    if (Vec3Dot(n, points[0]) < 0.0)
        Vec3Negate(n);
    const double d = -Vec3Dot(n, points[0]);
    const double e = CalcPlaneHeight(n, d);

    std::vector<FacetPlane*> run;
    FacetPlane* stop = nullptr;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        if (p->mHeight < e - kTolerance)
        {
            stop = p;
            break;
        }
        if (std::fabs(p->mHeight - e) <= kTolerance && std::fabs(p->mD - d) <= kTolerance)
            run.push_back(p);
    }
    if (run.empty())
    {
        if (notFound)
            *notFound = true;
        return stop;
    }
    if (run.size() == 1 && !matrix)
        return run.front();
    for (const Mat3& m : GetRotations())
    {
        Vec3D rn;
        m.Transform(rn, n);
        for (FacetPlane* p : run)
        {
            Vec3D negated;
            Vec3Neg(negated, p->mNormal);
            if (Near(rn, p->mNormal) || (p->IsThroughCentre() && Near(rn, negated)))
            {
                if (matrix)
                    *matrix = m;
                return p;
            }
        }
    }
    return run.front();
}

FacetingFace* Faceting::FindFaceOfPolygon(const Polygon3D* polygon, bool* notFound) const
{
    bool planeNotFound = false;
    FacetPlane* plane = FindPlaneOfPolygon(polygon, &planeNotFound, nullptr);
    if (!plane)
    {
        if (notFound)
            *notFound = planeNotFound;
        return nullptr;
    }
    if (planeNotFound)
    {
        if (notFound)
            *notFound = true;
        return plane->mFirstFace;
    }
    const std::vector<Vec3D> points = RingPoints(polygon);
    const size_t n = points.size();
    FacetingFace* fallback = plane->mFirstFace;
    for (FacetingFace* f = plane->mFirstFace; f; f = f->next)
    {
        if (f->mVerts.size() == n)
        {
            fallback = f;
            break;
        }
    }
    // Every rotation of the group is tried: a facet stands for its whole orbit.
    std::vector<Vec3D> mapped(n);
    for (const Mat3& m : GetRotations())
    {
        for (size_t k = 0; k < n; ++k)
            m.Transform(mapped[k], points[k]);
        for (FacetingFace* f = plane->mFirstFace; f; f = f->next)
        {
            if (f->mVerts.size() != n)
                continue;
            for (size_t j = 0; j < n; ++j)
            {
                bool forward = true;
                bool backward = true;
                for (size_t k = 0; k < n && (forward || backward); ++k)
                {
                    forward = forward && Near(mapped[k], f->mVerts[(j + k) % n]->mVert->mPoint);
                    backward = backward && Near(mapped[k], f->mVerts[(j + n - k) % n]->mVert->mPoint);
                }
                if (forward || backward)
                    return f;
            }
        }
    }
    if (notFound)
        *notFound = true;
    return fallback;
}

bool Faceting::SyncWithModelFacets()
{
    if (!mFirstPlane && !CreateForCurrentModel())
        return false;
    if (!mPoly || ListCount(mPoly->mFirstDrawnPolygon) < 2)
    {
        FindNext();
        return true;
    }
    // Every drawn facet up to symmetry, each candidate once.
    std::vector<FacetingFace*> matched;
    bool mismatch = false;
    for (const Polygon3D* p = mPoly->mFirstDrawnPolygon; p && p != mPoly->mCurrentDrawnPolygon; p = p->mNext)
    {
        bool notFound = false;
        FacetingFace* face = FindFaceOfPolygon(p, &notFound);
        if (!face || notFound)
            mismatch = true;
        else if (!(face->mFlags & kFacetingFaceMark))
        {
            face->mFlags |= kFacetingFaceMark;
            matched.push_back(face);
        }
    }
    if (GetFacetingSettings().criterion != kFacetingIsohedral)
    {
        // Replaying the general search over the drawn facets is not done: the drawn facets stay as
        // they are and the next search starts from the beginning.
        for (FacetingFace* f : matched)
            f->mFlags &= ~kFacetingFaceMark;
        return false;
    }

    // The isohedral search resumes from its first facet alone: rebuild just that.
    Reset(true, true);
    FacetingFace* s = nullptr;
    for (FacetingFace* f = GetFirstFace(); f && !s; f = f->GetNext())
    {
        if (f->mFlags & kFacetingFaceMark)
            s = f;
    }
    if (s && matched.size() == 1 && (s->mFlags & kFacetingFaceChiralSecond) && s->mMirror)
        s = s->mMirror;
    if (s && CanAddFaceWithMirror(s, 0))
    {
        AddFaceWithMirror(s);
        FacetingFace* mirror = s->GetMirror();
        if (!IsReflexibilityMaintained() && mirror && mirror != s && (mirror->mFlags & kFacetingFaceMark) &&
            CanAddFace(mirror, 0))
            AddFace(mirror);
    }
    for (FacetingFace* f : matched)
        f->mFlags &= ~kFacetingFaceMark;
    for (const FacetingFace* f = mFirstFacet; f; f = f->mNextFacet)
    {
        if (std::find(matched.begin(), matched.end(), f) == matched.end())
            mismatch = true;
    }
    if (mNumOpenEdges > 0 || !mFirstFacet)
        FindNext();
    return mismatch || int(matched.size()) != mNumFacets;
}

bool Faceting::SetFromDrawnFacets()
{
    return SyncWithModelFacets();
}

void SetFacetingStepMode(int mode)
{
    FacetingSettings& settings = GetFacetingSettings();
    if (settings.stepMode == mode)
        return;
    settings.stepMode = mode;
    if (Faceting* faceting = GetCurrentFaceting())
    {
        const std::string text = faceting->DescribeCurrent();
        SetStatusText("%s", text.c_str());
    }
}

bool FacetsExist(const Poly* poly, bool facetingMouseMode)
{
    const Polygon3D* polygon = poly ? poly->mCurrentDrawnPolygon : nullptr;
    return polygon && polygon->mRing && (facetingMouseMode || StepMode() != kFacetingStepFacetings);
}
