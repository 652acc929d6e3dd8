#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/SymGroup.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneEdge.h"
#include "stellation/FacetPlaneVert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
// Symmetry and sides descending, angle sum ascending, area descending.
bool FaceComesBefore(const FacetingFace* a, const FacetingFace* b)
{
    if (a->mSymmetry != b->mSymmetry)
        return a->mSymmetry > b->mSymmetry;
    if (a->GetNumSides() != b->GetNumSides())
        return a->GetNumSides() > b->GetNumSides();
    if (!WithinTol(a->mAngleSum, b->mAngleSum, kTol))
        return a->mAngleSum < b->mAngleSum;
    if (!WithinTol(a->mAreaSq, b->mAreaSq, kTol))
        return a->mAreaSq > b->mAreaSq;
    return false;
}

const Vec3D& PointOf(const FacetingFace* f, int i)
{
    return f->mVerts[size_t(i)]->mVert->mPoint;
}

void CalcAreaAndAngles(FacetingFace* f)
{
    const int n = f->GetNumSides();
    Vec3D c, sum;
    int last = n - 2;
    if (f->mFlags & kFacetingFaceBowTie)
    {
        Vec3Midpoint(c, PointOf(f, n - 1), PointOf(f, 0));
        last = n / 2 - 1;
    }
    else
        c = PointOf(f, n - 1);
    for (int j = 1; j <= last; ++j)
    {
        Vec3D a, b, cross;
        Vec3Sub(a, PointOf(f, j - 1), c);
        Vec3Sub(b, PointOf(f, j), c);
        Vec3Cross(cross, a, b);
        Vec3AddTo(sum, cross);
    }
    Vec3Scale(sum, sum, 0.5);
    f->mAreaSq = Vec3LengthSq(sum);
    if (IsZeroTol(f->mAreaSq, kTol))
        f->mAreaSq = 0.0;
    if (f->mFlags & kFacetingFaceBowTie)
        f->mAreaSq = -f->mAreaSq;

    f->mAngleSum = 0.0;
    for (int i = 0; i < n; ++i)
    {
        const Vec2D& p = f->mVerts[size_t(i)]->mPos;
        const Vec2D& q = f->mVerts[size_t((i + 1) % n)]->mPos;
        if (Vec2IsZero(p, kTol) || Vec2IsZero(q, kTol))
            continue;
        f->mAngleSum += std::atan2(std::fabs(Vec2Cross(p, q)), Vec2Dot(p, q));
    }
}

// The turn by 2 pi num / den about the unit vector d, from the exact sines.
void TurnAbout(Mat3& out, const Vec3D& d, int num, int den)
{
    Vec3D f, g;
    Vec3Perpendicular(f, d);
    Vec3Normalize(f);
    Vec3Cross(g, d, f);
    Mat3 frame, turn, frameT, tmp;
    frame.SetColumns(f, g, d);
    turn.SetAxisRotationExact(2, num, den);
    frameT.SetTranspose(frame);
    Mat3Mul(tmp, frame, turn);
    Mat3Mul(out, tmp, frameT);
}

// m maps t consecutive vertices of f from its first onto consecutive vertices of g, either way round.
bool MatchesUnder(const Mat3& m, const FacetingFace* f, const FacetingFace* g, int t)
{
    const int n = g->GetNumSides();
    if (n == 0 || f->GetNumSides() < t)
        return false;
    std::vector<Vec3D> images(static_cast<size_t>(t));
    for (int k = 0; k < t; ++k)
        m.Transform(images[size_t(k)], PointOf(f, k));
    for (int j = 0; j < n; ++j)
    {
        if (!Vec3Equal(images[0], PointOf(g, j), kTol))
            continue;
        bool forwards = true, backwards = true;
        for (int k = 1; k < t && (forwards || backwards); ++k)
        {
            forwards = forwards && Vec3Equal(images[size_t(k)], PointOf(g, (j + k) % n), kTol);
            backwards = backwards && Vec3Equal(images[size_t(k)], PointOf(g, ((j - k) % n + n) % n), kTol);
        }
        if (forwards || backwards)
            return true;
    }
    return false;
}

// Some map of the list (each the reflection followed by a turn about the mirror plane's axis)
// takes f onto g.
bool IsMirrorImage(const FacetingFace* f, const FacetingFace* g, const std::vector<Mat3>& maps, const Vec3D& normal)
{
    const int t = f->GetNumBaseVerts() + ((f->mFlags & kFacetingFaceBowTie) ? 1 : 0);
    Vec3D sumF, sumG;
    const bool asymmetric = f->mSymmetry == 1;
    if (asymmetric)
    {
        sumF = f->GetVertexSum();
        sumG = g->GetVertexSum();
        if (!WithinTol(Vec3LengthSq(sumF), Vec3LengthSq(sumG), kTol))
            return false;
    }
    const bool checkSum = asymmetric && !Vec3Parallel(sumF, normal, kTol);
    for (const Mat3& m : maps)
    {
        if (checkSum)
        {
            Vec3D image;
            m.Transform(image, sumF);
            if (!Vec3Equal(image, sumG, kTol))
                continue;
        }
        if (MatchesUnder(m, f, g, t))
            return true;
    }
    return false;
}
}  // namespace

bool Faceting::CreateFaces()
{
    SymGroup* group = GetGroup();
    int position = 0;
    for (FacetPlane* p = mFirstPlane; p; p = p->next, ++position)
    {
        if (!p->CreateFaces(group, position))
            return false;
    }
    if (!ShowProgress(1.0, "Faceting preparation: creating faces\nPost-processing"))
        return false;
    for (FacetPlane* p = mFirstPlane; p;)
    {
        FacetPlane* nextPlane = p->next;
        if (!p->mFirstFace)
            delete p;
        p = nextPlane;
    }
    if (!mFirstPlane)
        return false;
    int index = 0;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
        p->mIndex = index++;
    if (!FindChiralFaces())
        return false;

    // Each edge class lists its uses in the order of all faces: prepended from the last face back.
    for (FacetPlane* p = mLastPlane; p; p = p->prev)
    {
        for (FacetingFace* f = p->mLastFace; f; f = f->prev)
        {
            for (size_t i = f->mUses.size(); i-- > 0;)
            {
                FaceUse& use = f->mUses[i];
                use.mNextOfEdge = use.mEdge->mUses;
                use.mEdge->mUses = &use;
            }
        }
    }

    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        auto unused = [](const FacetPlaneEdge* e) { return e->mEdge->mUses == nullptr; };
        for (FacetPlaneVert* v = p->mFirstVert; v; v = v->next)
        {
            FacetPlaneEdge** link = &v->mEdges;
            while (*link)
            {
                FacetPlaneEdge* e = *link;
                FacetPlaneEdge** nextLink = e->mVertA == v ? &e->mNextAtA : &e->mNextAtB;
                if (unused(e))
                    *link = *nextLink;
                else
                    link = nextLink;
            }
        }
        for (FacetPlaneEdge* e = p->mFirstEdge; e;)
        {
            FacetPlaneEdge* nextEdge = e->next;
            if (unused(e))
            {
                ListRemove(e, p->mFirstEdge, p->mLastEdge);
                delete e;
            }
            e = nextEdge;
        }
    }
    for (FacetingEdge* e = mFirstEdge; e;)
    {
        FacetingEdge* nextEdge = e->next;
        if (!e->mUses)
        {
            ListRemove(e, mFirstEdge, mLastEdge);
            delete e;
            --mNumEdges;
        }
        e = nextEdge;
    }
    return true;
}

bool Faceting::FindChiralFaces()
{
    if (!ShowProgress(1.0, "Faceting preparation: creating faces\nCalculating face areas"))
        return false;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        for (FacetingFace* f = p->mFirstFace; f; f = f->next)
            CalcAreaAndAngles(f);
    }

    if (!ShowProgress(1.0, "Faceting preparation: creating faces\nSorting faces"))
        return false;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        std::vector<FacetingFace*> sorted;
        for (FacetingFace* f = p->mFirstFace; f; f = f->next)
            sorted.push_back(f);
        std::stable_sort(sorted.begin(), sorted.end(), FaceComesBefore);
        p->mFirstFace = p->mLastFace = nullptr;
        for (FacetingFace* f : sorted)
            ListAppend(f, p->mFirstFace, p->mLastFace);
    }

    SymGroup* group = GetGroup();
    if (!group || group->mReflection == SymGroup::kChiral)
        return true;
    Mat3 ownReflection;
    const bool hasOwn = group->GetReflectionMatrix(ownReflection) != nullptr;

    int walked = 0;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        if (p->mFlags & kFacetPlaneMirrorImage)
            continue;
        FacetPlane* q = p->GetMirrorPlane();
        Mat3 reflection;
        if (p->mMirrorDir)
            group->GetReflectionMatrix(reflection, SymGroup::kHorizontal, p->mMirrorDir);
        else if (p->mFlags & kFacetPlaneInversion)
        {
            reflection.SetIdentity();
            Mat3Scale(reflection, -1.0);
        }
        else if (hasOwn)
            reflection = ownReflection;

        // The reflection, then each turn about q's axis and, in a plane a half-turn turns over,
        // each turn after that half-turn.
        const Vec3D* halfTurn = q->mHalfTurnAxis ? q->mHalfTurnAxis : p->mHalfTurnAxis;
        auto mapsFor = [&](int symmetry) {
            std::vector<Mat3> maps;
            const int turns = std::max(1, p->mNumRots / std::max(1, symmetry));
            for (int pass = 0; pass < (halfTurn ? 2 : 1); ++pass)
            {
                Mat3 first = reflection;
                if (pass == 1)
                {
                    Mat3 h;
                    TurnAbout(h, *halfTurn, 1, 2);
                    Mat3Mul(first, h, reflection);
                }
                for (int j = 0; j < turns; ++j)
                {
                    Mat3 turn, m;
                    TurnAbout(turn, q->mNormal, j, p->mNumRots);
                    Mat3Mul(m, turn, first);
                    maps.push_back(m);
                }
            }
            return maps;
        };

        FacetingFace* g = q->mFirstFace;
        int indexInPlane = -1;
        for (FacetingFace* f = p->mFirstFace; f && g; f = f->next)
        {
            ++indexInPlane;
            if (q == p)
            {
                if (f->mMirror)
                    continue;
                g = f;
            }
            // The label of f, counted along rather than looked up: planes may hold thousands of faces.
            if (++walked % 100 == 0 &&
                !ShowProgress(mNumFaces > 0 ? double(walked) / mNumFaces : 0.0,
                              "Faceting preparation: creating faces\nFinding chiral partners, face %d-%d/%d-%d",
                              p->mIndex, indexInPlane, mNumPlanes, mNumFaces))
                return false;

            FacetingFace* mirror = nullptr;
            if (p->mFlags & kFacetPlaneSelfMirror)
                mirror = g;
            else
            {
                FacetingFace* runEnd = g->next;
                while (runEnd && runEnd->mSymmetry == g->mSymmetry && runEnd->GetNumSides() == g->GetNumSides() &&
                       WithinTol(runEnd->mAreaSq, g->mAreaSq, kTol))
                    runEnd = runEnd->next;
                if (runEnd == g->next)
                    mirror = g;
                else
                {
                    const std::vector<Mat3> maps = mapsFor(f->mSymmetry);
                    for (FacetingFace* v = g; v != runEnd && !mirror; v = v->next)
                    {
                        if (!v->mMirror && IsMirrorImage(f, v, maps, p->mNormal))
                            mirror = v;
                    }
                }
            }
            if (!mirror)
            {
                InternalError("FindChiralFaces failed");
                DebugTrace("  f %s (0x%llx), mirrorPlane %d\n", FacetingFace::GetLabel(f),
                           static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(f)), q->mIndex);
                if (q != p)
                    g = g->next;
                continue;
            }
            f->mMirror = mirror;
            mirror->mMirror = f;
            if (mirror != f)
            {
                mirror->mFlags |= kFacetingFaceChiralSecond;
                // Keep the walks in step: the partner takes the place the walk over q has reached.
                FacetingFace* before = q == p ? f->next : g;
                if (mirror != before)
                {
                    ListRemove(mirror, q->mFirstFace, q->mLastFace);
                    ListInsertBefore(before, mirror, q->mFirstFace, q->mLastFace);
                }
            }
            if (q != p)
                g = mirror->next;
        }
    }

    // A chiral facet whose mirror image cannot join a faceting that holds it is marked, both ways.
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        for (FacetingFace* f = p->mFirstFace; f; f = f->next)
        {
            FacetingFace* m = f->mMirror;
            if (!m || m == f || (f->mFlags & kFacetingFaceChiralSecond))
                continue;
            AddFace(f);
            if (!CanAddFace(m, 0))
            {
                f->mFlags |= kFacetingFaceNoMirrorTogether;
                m->mFlags |= kFacetingFaceNoMirrorTogether;
            }
            RemoveFace(f);
        }
    }
    return true;
}

bool Faceting::LabelSpikyFacets()
{
    if (!ShowProgress(0.0, "Faceting preparation: Labeling spiky facets"))
        return false;
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        if (p->mHeight < kRatioLow)
            continue;
        for (FacetPlaneEdge* e = p->mFirstEdge; e; e = e->next)
            e->mEdge->mFlags |= kFacetingEdgeOnOuterPlane;
    }
    for (FacetPlane* p = mFirstPlane; p; p = p->next)
    {
        for (FacetingFace* f = p->mFirstFace; f; f = f->next)
        {
            for (const FaceUse& use : f->mUses)
            {
                if (use.mEdge->mFlags & kFacetingEdgeOnOuterPlane)
                    f->mFlags |= kFacetingFaceSpiky;
            }
        }
    }
    return true;
}
