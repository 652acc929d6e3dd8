#include "kernel/IntMath.h"
#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "model/SymGroup.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneEdge.h"
#include "stellation/FacetPlaneVert.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace
{
// What an entry of the path set when it was pushed, to be cleared when it is popped.
constexpr uint32_t kSetOrbit = 0x1;
constexpr uint32_t kSetVert = 0x2;
constexpr uint32_t kSetCycle = 0x4;

// One side of the polygon being searched.
struct PathEntry
{
    FacetPlaneEdge* edge;
    bool forwards;  // from its end A to its end B
    int remaining;  // the symmetries the polygon can still have divide this
    int hits;       // what the side adds to its edge class's use
    uint32_t marks;
    FacetPlaneEdge* tried = nullptr;  // the last edge tried at its far end

    FacetPlaneVert* Start() const { return forwards ? edge->mVertA : edge->mVertB; }
    FacetPlaneVert* End() const { return forwards ? edge->mVertB : edge->mVertA; }
};

bool IsCycleUsed(const FacetPlaneVert* v)
{
    return (v->mLeader->mFlags & kFacetPlaneVertMark2) != 0;
}

// Marks the edge's orbit, the vertex and its cycle where they are not marked yet, and says which.
uint32_t MarkPath(FacetPlaneEdge* edge, FacetPlaneVert* v)
{
    uint32_t marks = 0;
    if (edge && !(edge->mLeader->mFlags & kFacetPlaneEdgeMark))
    {
        edge->mLeader->mFlags |= kFacetPlaneEdgeMark;
        marks |= kSetOrbit;
    }
    if (!(v->mFlags & kFacetPlaneVertMark))
    {
        v->mFlags |= kFacetPlaneVertMark;
        marks |= kSetVert;
    }
    if (!IsCycleUsed(v))
    {
        v->mLeader->mFlags |= kFacetPlaneVertMark2;
        marks |= kSetCycle;
    }
    return marks;
}

void UnmarkPath(FacetPlaneEdge* edge, FacetPlaneVert* v, uint32_t marks)
{
    if (marks & kSetOrbit)
        edge->mLeader->mFlags &= ~kFacetPlaneEdgeMark;
    if (marks & kSetVert)
        v->mFlags &= ~kFacetPlaneVertMark;
    if (marks & kSetCycle)
        v->mLeader->mFlags &= ~kFacetPlaneVertMark2;
}

// Steps from g to e around g's orbit; numRots when e is not reached before.
int StepsAround(const FacetPlaneEdge* g, const FacetPlaneEdge* e, int numRots)
{
    int c = 0;
    for (const FacetPlaneEdge* x = g; x != e && c < numRots; x = x->mNextInOrbit)
        ++c;
    return c;
}

// How many faces of the orbit hold the representative of the side's edge class, counted for this
// side: 2 when a half-turn swaps the class's ends and takes the plane elsewhere (not for the
// diameters of a bow-tie, which the half-turn about the plane's axis swaps), twice that for a side
// whose swapping half-turn leaves a plane through the centre.
int SideHits(const FacetPlane* plane, const FacetPlaneEdge* side, bool bowTieDiameter)
{
    int hits = (side->mEdge->mFlags & kFacetingEdgeHalfTurned) && !plane->IsThroughCentre() && !bowTieDiameter ? 2 : 1;
    if (side->mFlags & kFacetPlaneEdgeSwapped)
        hits *= 2;
    return hits;
}

// The order of the turn by k steps divides the symmetry still possible when it can.
void DivideByTurn(int& remaining, int k, int numRots)
{
    const int order = numRots / Gcd(k, numRots);
    if (order > 0 && remaining % order == 0)
        remaining /= order;
}
// The face of the closed path: its vertices (the rotated copies of the path filled in), its uses
// and, in a plane a half-turn turns over, whether the half-turn maps it onto itself.
void BuildFace(FacetPlane* plane, SymGroup* group, const std::vector<PathEntry>& path, bool bowTie, int symmetry,
               int closingSteps, FacetPlaneEdge* closing)
{
    const int n = plane->mNumRots;
    const int length = int(path.size());
    const int numSides = bowTie ? 2 * length : symmetry * length;
    FacetingFace* face = new FacetingFace(plane, numSides, bowTie ? length + 1 : length, symmetry);
    if (bowTie)
        face->mFlags |= kFacetingFaceBowTie;
    for (int i = 0; i < length; ++i)
        face->mVerts[size_t(i)] = path[size_t(i)].Start();

    for (int i = 0; i < face->GetNumUses(); ++i)
    {
        FaceUse& use = face->mUses[size_t(i)];
        if (i < length)
        {
            use.mEdge = path[size_t(i)].edge->mEdge;
            use.mNumHits = path[size_t(i)].hits;
        }
        else
        {
            use.mEdge = closing->mEdge;
            use.mNumHits = SideHits(plane, closing, true);
        }
    }

    if (bowTie)
    {
        // The start of the closing diameter, then the path's vertices turned half round, back to
        // the third; the array starts at the second vertex, the first being its turned copy.
        face->mVerts[size_t(length)] = path.back().End();
        int k = length + 1;
        for (int j = length; j >= 2; --j)
            face->mVerts[size_t(k++)] = face->mVerts[size_t(j)]->Advance(n / 2);
        std::rotate(face->mVerts.begin(), face->mVerts.begin() + 1, face->mVerts.end());
    }
    else
    {
        if (closingSteps >= n)
        {
            InternalError("Creating faceting faces:\nskip >= mNumRots");
            closingSteps = 0;
        }
        for (int m = length; m < numSides; ++m)
            face->mVerts[size_t(m)] = face->mVerts[size_t(m % length)]->Advance((closingSteps * (m / length)) % n);
    }

    if ((plane->mFlags & kFacetPlaneHemi) && group)
    {
        for (SymAxis* axis = group->FindPerpendicularAxis(plane->mNormal); axis;
             axis = group->FindNextPerpendicularAxis(plane->mNormal, axis))
        {
            if (face->IsTurnedOverBy(axis->mDir))
            {
                face->mFlags |= kFacetingFaceTurnedOver;
                break;
            }
        }
    }
}
}  // namespace

bool FacetPlane::CreateFaces(SymGroup* group, int position)
{
    const int n = mNumRots;
    const int criterion = GetFacetingSettings().criterion;
    const bool tidy = IsTidyFacetingCriterion(criterion);
    const bool hemi = (mFlags & kFacetPlaneHemi) != 0;
    int created = 0;
    std::vector<PathEntry> path;
    path.reserve(size_t(mNumVerts) + 1);

    auto onPath = [&path](const FacetPlaneEdge* e) {
        for (const PathEntry& entry : path)
        {
            if (entry.edge == e)
                return true;
        }
        return false;
    };
    auto clearPath = [&path]() {
        while (!path.empty())
        {
            const PathEntry& top = path.back();
            UnmarkPath(top.edge, top.End(), top.marks);
            if (path.size() == 1)
                UnmarkPath(nullptr, top.Start(), top.marks >> 4);
            path.pop_back();
        }
    };

    for (FacetPlaneEdge* g = mFirstEdge; g; g = g->next)
    {
        if (g->mLeader != g || (g->mFlags & kFacetPlaneEdgeFlipped))
            continue;
        FacetPlaneVert* a0 = g->mVertA;
        FacetPlaneVert* b0 = g->mVertB;
        const bool bowTie = (g->mFlags & kFacetPlaneEdgeDiameter) != 0;
        int remaining = n;
        if (bowTie)
            remaining = 2;
        else if (a0->mLeader == b0->mLeader)
            DivideByTurn(remaining, (b0->mCycleIndex - a0->mCycleIndex + n) % n, n);
        // The first entry keeps the marks of its start in the bits above its own.
        const uint32_t startMarks = MarkPath(nullptr, a0);
        const uint32_t endMarks = MarkPath(g, b0);
        path.push_back({g, true, remaining, SideHits(this, g, bowTie), endMarks | (startMarks << 4)});

        while (!path.empty())
        {
            PathEntry& top = path.back();
            FacetPlaneVert* cur = top.End();
            FacetPlaneEdge* e = cur->NextEdge(top.tried);
            if (!e)
            {
                // Backtrack.
                    UnmarkPath(top.edge, cur, top.marks);
                if (path.size() == 1)
                    UnmarkPath(nullptr, top.Start(), top.marks >> 4);
                path.pop_back();
                continue;
            }
            top.tried = e;
            if (e == top.edge)
                continue;
            const bool diameter = (e->mFlags & kFacetPlaneEdgeDiameter) != 0;
            if (e->mIndex < g->mIndex && !(bowTie && !diameter))
                continue;
            FacetPlaneVert* far = e->GetOther(cur);
            const bool forwards = e->mVertA == cur;
            const bool inOrbitOfG = e->mLeader == g;

            int symmetry = 0;  // of the polygon closed by e; 0 when e does not close one
            int closingSteps = 0;
            if (cur == a0)
            {
                // Back at the start, only g closes the polygon: another way on would pass a0 twice.
                if (e != g || bowTie)
                    continue;
                symmetry = 1;
            }
            else if (!bowTie && inOrbitOfG && forwards)
            {
                closingSteps = StepsAround(g, e, n);
                if (closingSteps >= n)
                {
                    InternalError("Creating faceting faces:\ni >= mNumRots");
                    continue;
                }
                const int h = n / Gcd(n, closingSteps);
                const int reference = path.size() <= 1 ? n : path[path.size() - 2].remaining;
                if (reference % h != 0)
                    continue;
                symmetry = h;
            }
            else if (!bowTie && tidy && cur->mLeader == a0->mLeader)
            {
                // Tidy: back in a0's cycle the polygon must close at once.
                continue;
            }
            else if (inOrbitOfG)
                continue;
            else if (diameter)
            {
                if (!bowTie)
                    continue;
                symmetry = 2;
            }

            if (symmetry == 0)
            {
                // Extend the path through e.
                const bool farCycleUsed = IsCycleUsed(far);
                if (tidy && farCycleUsed && (bowTie || far->mLeader != a0->mLeader))
                    continue;
                if ((far->mFlags & kFacetPlaneVertMark) && (far != a0 || bowTie))
                    continue;
                if (e->mLeader->mFlags & kFacetPlaneEdgeMark)
                    continue;
                int rest = top.remaining;
                if (farCycleUsed && far != a0)
                {
                    for (const PathEntry& entry : path)
                    {
                        const FacetPlaneVert* s = entry.Start();
                        if (s->mLeader == far->mLeader)
                            DivideByTurn(rest, (far->mCycleIndex - s->mCycleIndex + n) % n, n);
                    }
                    if (cur->mLeader == far->mLeader)
                        DivideByTurn(rest, (far->mCycleIndex - cur->mCycleIndex + n) % n, n);
                }
                if (bowTie && rest % 2 != 0)
                    continue;
                const uint32_t marks = MarkPath(e, far);
                path.push_back({e, forwards, rest, SideHits(this, e, false), marks});
                continue;
            }

            // The polygon closes.
            if (hemi && ((g->mEdge->mFlags & kFacetingEdgeHalfTurned) || (g->mFlipped && onPath(g->mFlipped))))
            {
                // Its flipped image closes too; the one whose lowest unpaired side is an original
                // is kept.
                const FacetPlaneEdge* lowest = nullptr;
                for (size_t i = 1; i < path.size(); ++i)
                {
                    const FacetPlaneEdge* pe = path[i].edge;
                    if (pe->mFlipped && onPath(pe->mFlipped))
                        continue;
                    if (!lowest || pe->mIndex < lowest->mIndex)
                        lowest = pe;
                }
                if (lowest && (lowest->mFlags & kFacetPlaneEdgeFlipped))
                    continue;
            }
            BuildFace(this, group, path, bowTie, symmetry, closingSteps, e);
            if (++created % 10000 == 0 &&
                !ShowProgress(mOwner->mNumPlanes > 0 ? double(position) / mOwner->mNumPlanes : 0.0,
                              "Faceting preparation: finding possible faces\n%d faces so far, processing plane %d/%d "
                              "(%d vertices)",
                              mOwner->mNumFaces, position + 1, mOwner->mNumPlanes, mNumVerts))
            {
                clearPath();
                return false;
            }
        }
    }
    for (FacetPlaneEdge* e = mFirstEdge; e; e = e->next)
        e->mFlags &= ~(kFacetPlaneEdgeMark | kFacetPlaneEdgeMark2);

    PostProcessFaces();
    return true;
}

namespace
{
// Under the tidy criteria: some vertex of one turn of the face has its flipped partner in the cycle
// of one of them. The face and its turned-over copy, which lies in the same plane and belongs to
// every faceting the face belongs to, would share a vertex.
bool SharesCycleWithFlippedImage(const FacetingFace* face)
{
    const int n = face->GetNumBaseVerts();
    for (int i = 0; i < n; ++i)
    {
        const FacetPlaneVert* flipped = face->mVerts[size_t(i)]->mFlipped;
        if (!flipped)
            continue;
        for (int j = 0; j < n; ++j)
        {
            if (flipped->mLeader == face->mVerts[size_t(j)]->mLeader)
                return true;
        }
    }
    return false;
}

// Under Isohedral and CoplanarVerts coplanar faces may share vertices but, as between facets in the
// search, never a side: the face goes when the flipped image of one of its sides lies in the
// rotation orbit of one of its sides, so that the face and one of its turned-over copies, always in
// the same faceting, would meet along that side in one plane. A face the tidy rule keeps shares no
// vertex with its copies, let alone a side, so these criteria keep every face the tidy ones keep;
// the path search applies the same rule within one rotation orbit, which a path uses only once.
bool SharesSideWithFlippedImage(const FacetPlane* plane, const FacetingFace* face)
{
    const int n = face->GetNumSides();
    std::vector<const FacetPlaneEdge*> sides;
    sides.reserve(size_t(n));
    for (int i = 0; i < n; ++i)
    {
        if (const FacetPlaneEdge* e =
                plane->FindEdgeBetween(face->mVerts[size_t(i)], face->mVerts[size_t((i + 1) % n)], nullptr))
            sides.push_back(e);
    }
    for (const FacetPlaneEdge* e : sides)
    {
        if (!e->mFlipped)
            continue;
        for (const FacetPlaneEdge* s : sides)
        {
            if (s->mLeader == e->mFlipped->mLeader)
                return true;
        }
    }
    return false;
}
}  // namespace

void FacetPlane::PostProcessFaces()
{
    const bool tidy = IsTidyFacetingCriterion(GetFacetingSettings().criterion);
    const bool hemi = (mFlags & kFacetPlaneHemi) != 0;
    for (FacetingFace* f = mFirstFace; f;)
    {
        FacetingFace* nextFace = f->next;
        bool drop = false;
        if (hemi && !(f->mFlags & kFacetingFaceTurnedOver))
        {
            // The half-turn that swaps the ends of such an edge class keeps the plane: the face
            // and its turned-over copy would meet along that edge.
            for (const FaceUse& use : f->mUses)
                drop = drop || (use.mEdge->mFlags & kFacetingEdgeHalfTurned);
            if (!drop)
                drop = tidy ? SharesCycleWithFlippedImage(f) : SharesSideWithFlippedImage(this, f);
        }
        if (!drop)
        {
            for (size_t i = 1; i < f->mUses.size();)
            {
                size_t j = 0;
                while (j < i && f->mUses[j].mEdge != f->mUses[i].mEdge)
                    ++j;
                if (j < i)
                {
                    f->mUses[j].mNumHits += f->mUses[i].mNumHits;
                    f->mUses.erase(f->mUses.begin() + std::ptrdiff_t(i));
                }
                else
                    ++i;
            }
            if (f->mFlags & kFacetingFaceTurnedOver)
            {
                // The path went through each such class and its turned-over image.
                for (FaceUse& use : f->mUses)
                {
                    if (use.mEdge->mFlags & kFacetingEdgeHalfTurned)
                        continue;
                    if (use.mNumHits % 2 != 0)
                        DebugTrace("Expected even numHits\n");
                    use.mNumHits = (use.mNumHits + 1) / 2;
                }
            }
            for (const FaceUse& use : f->mUses)
                drop = drop || use.mNumHits > 2;
        }
        if (drop)
            delete f;
        f = nextFace;
    }
    for (FacetingFace* f = mFirstFace; f; f = f->next)
    {
        bool closed = !f->mUses.empty();
        for (const FaceUse& use : f->mUses)
            closed = closed && use.mNumHits == 2;
        if (closed)
            f->mFlags |= kFacetingFaceSelfClosed;
    }
}
