#include "model/VertexFans.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/SimpEdgeType.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <new>
#include <vector>

namespace
{
using E = SimpleElem;

// For every corner of every usable face, the record of the face across the edge that starts there.
class PartnerTable
{
public:
    explicit PartnerTable(const SimplePoly& poly) : mStart(size_t(poly.mNumFaces) + 1, 0)
    {
        for (int f = 0; f < poly.mNumFaces; ++f)
        {
            const int n = (poly.mFaces[f].mFlags & E::kTemp) ? 0 : poly.mFaces[f].mNum;
            mStart[size_t(f) + 1] = mStart[size_t(f)] + size_t(std::max(n, 0));
        }
        mEntries.assign(mStart.back(), nullptr);
    }

    EdgeFace*& At(const SimpleFace* face, int corner)
    {
        return mEntries[mStart[size_t(face->GetIndex())] + size_t(corner)];
    }

private:
    std::vector<size_t> mStart;
    std::vector<EdgeFace*> mEntries;
};

struct FanWalk
{
    PartnerTable& partners;
    std::vector<int>& placed;      // faces already placed around each vertex
    std::vector<int>& positions;  // the vertex's corner in each placed face
};

// Walks the fan of v from the face of record e, placing its faces around v in order, until the
// walk comes back to a record it has already left through.
bool TraverseFaceLoop(SimpleVert* v, EdgeFace* e, FanWalk& walk)
{
    int& placed = walk.placed[size_t(v->GetIndex())];
    while (e)
    {
        SimpleFace* f = e->mFace;
        const int n = f->mNum;
        int i = e->mCorner;
        uint32_t bit;
        int leave;
        if (f->mList[i] == v)
        {
            bit = EdgeFace::kTowardFirst;
            leave = (i + n - 1) % n;
        }
        else
        {
            bit = EdgeFace::kTowardSecond;
            i = (i + 1) % n;
            leave = i;
        }
        if (e->mFlags & bit)
            return true;
        e->mFlags |= bit;

        EdgeFace* adj = walk.partners.At(f, e->mCorner);
        if (!adj)
        {
            InternalError("TraverseFaceLoop: adj == NULL");
            return false;
        }
        adj->mFlags |= adj->mFace->mList[adj->mCorner] == v ? EdgeFace::kTowardFirst : EdgeFace::kTowardSecond;

        if (placed >= v->mNum)
        {
            InternalError("TraverseFaceLoop: more faces than expected");
            DebugTrace("  Vert %d, %d faces\n", v->GetIndex(), v->mNum);
            return false;
        }
        v->mList[placed] = f;
        walk.positions[size_t(placed)] = i;
        ++placed;
        e = walk.partners.At(f, leave);
    }
    InternalError("TraverseFaceLoop: ef == NULL");
    return false;
}

// x, then y, then z within 1e-7; then the index.
bool VertBefore(const SimpleVert* a, const SimpleVert* b)
{
    const int c = Vec3Compare(a->mPos, b->mPos, kTol);
    if (c != 0)
        return c < 0;
    return a->GetIndex() < b->GetIndex();
}

// The usable vertices in runs of coincident ones: each run's members agree with its first within 1e-7.
std::vector<std::vector<SimpleVert*>> CoincidentRuns(SimplePoly& poly)
{
    std::vector<SimpleVert*> sorted;
    sorted.reserve(size_t(poly.mNumVerts));
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        if (!(poly.mVerts[i].mFlags & E::kTemp))
            sorted.push_back(&poly.mVerts[i]);
    }
    // Comparisons within a tolerance need not be transitive; a merge sort stays inside the array.
    std::stable_sort(sorted.begin(), sorted.end(), VertBefore);
    std::vector<std::vector<SimpleVert*>> runs;
    for (size_t i = 0; i < sorted.size();)
    {
        size_t j = i + 1;
        while (j < sorted.size() && sorted[j]->SamePos(*sorted[i]))
            ++j;
        runs.emplace_back(sorted.begin() + std::ptrdiff_t(i), sorted.begin() + std::ptrdiff_t(j));
        i = j;
    }
    return runs;
}
}  // namespace

bool SortVertFaces(SimplePoly& poly, const SymGroup& group)
{
    if (poly.mFlags & SimplePoly::kSortedFaceLists)
        return true;
    {
        TraceGuard trace("CheckTemporaryVerts");
        if (!CheckTemporaryVerts(&poly))
            return false;
    }
    EdgeTypeList types;
    {
        TraceGuard trace("CreateEdgeTypes");
        types.reset(CreateEdgeTypes(poly, group));
    }
    if (!types)
        return false;
    bool ok;
    {
        TraceGuard trace("TraverseEdgeTypes");
        ok = TraverseEdgeTypes(poly, types.get());
    }
    if (ok)
    {
        TraceGuard trace("SortVertFacesUsingEdgeTypes");
        ok = SortVertFacesUsingEdgeTypes(poly, types.get(), group);
    }
    {
        TraceGuard trace("edgeTypes->DeleteList");
        types.reset();
    }
    if (ok)
        poly.mFlags |= SimplePoly::kSortedFaceLists;
    return ok;
}

bool SortVertFacesUsingEdgeTypes(SimplePoly& poly, SimpEdgeType* types, const SymGroup&)
{
    PartnerTable partners(poly);
    std::vector<int> placed(size_t(poly.mNumVerts), 0);
    int maxFaces = 1;
    for (int i = 0; i < poly.mNumVerts; ++i)
        maxFaces = std::max(maxFaces, int(poly.mVerts[i].mNum));
    std::vector<int> positions(size_t(maxFaces), -1);

    for (SimpEdgeType* t = types; t; t = t->mNext)
    {
        for (EdgeInstance* inst = t->mFirstInstance; inst; inst = inst->mNext)
        {
            for (int j = 0; j < t->mNumFaces; ++j)
            {
                const int p = t->mSlots[j].mPartner;
                if (p < 0)
                    continue;
                const EdgeFace& r = inst->mRecords[j];
                partners.At(r.mFace, r.mCorner) = &inst->mRecords[p];
            }
        }
    }

    FanWalk walk{partners, placed, positions};
    std::vector<VertexSplit> splits;
    for (SimpEdgeType* t = types; t; t = t->mNext)
    {
        const bool halfTurn = t->mHasHalfTurnAxis && !t->mPairedAlongAxis;
        for (int j = 0; j < t->mNumFaces; ++j)
        {
            for (int side = 0; side < 2; ++side)
            {
                const int slot = side == 1 && halfTurn ? t->mSlots[j].mRotNext : j;
                for (EdgeInstance* inst = t->mFirstInstance; inst; inst = inst->mNext)
                {
                    EdgeFace& r = inst->mRecords[slot];
                    const bool fromFirst = (r.mFlags & EdgeFace::kFromFirstEnd) != 0;
                    const bool atCorner = side == 0 ? fromFirst : !fromFirst;
                    const uint32_t bit = atCorner ? EdgeFace::kTowardFirst : EdgeFace::kTowardSecond;
                    if (r.mFlags & bit)
                        continue;
                    SimpleVert* v = r.mFace->GetVert(atCorner ? r.mCorner : (r.mCorner + 1) % r.mFace->mNum);
                    const int before = placed[size_t(v->GetIndex())];
                    if (!TraverseFaceLoop(v, &r, walk))
                        return false;
                    const int after = placed[size_t(v->GetIndex())];
                    if (after < v->mNum)
                    {
                        VertexSplit split;
                        split.mVert = v;
                        for (int k = before; k < after; ++k)
                            split.mFaces.push_back(v->GetFace(k));
                        split.mCorners.assign(positions.begin() + before, positions.begin() + after);
                        splits.push_back(std::move(split));
                        v->mFlags |= E::kSplitMe;
                    }
                }
            }
        }
    }
    SplitVertices(poly, splits);
    return true;
}

void SplitVertices(SimplePoly& poly, std::vector<VertexSplit>& splits)
{
    if (splits.empty())
        return;
    const int oldCount = poly.mNumVerts;
    std::vector<int> owners;
    owners.reserve(splits.size());
    for (const VertexSplit& s : splits)
        owners.push_back(s.mVert->GetIndex());
    if (!poly.Grow(oldCount + int(splits.size()), poly.mNumFaces))
    {
        splits.clear();
        return;
    }

    std::vector<int> fans(size_t(oldCount), 0);
    int next = oldCount;
    for (size_t i = 0; i < splits.size(); ++i)
    {
        const VertexSplit& s = splits[i];
        SimpleVert& old = poly.mVerts[owners[i]];
        SimpleVert& fresh = poly.mVerts[next++];
        const int a = ++fans[size_t(owners[i])];
        fresh.mId = a * oldCount + old.mId;
        fresh.mPos = old.mPos;
        fresh.mColor = old.mColor;
        fresh.mBackColor = old.mBackColor;
        fresh.mFlags = old.mFlags & E::kTemp;
        const int n = int(s.mFaces.size());
        fresh.mList.reset(new (std::nothrow) SimpleElem*[size_t(std::max(n, 1))]);
        if (!fresh.mList)
        {
            ErrorMessage("Out of memory for the faces of vertex %d.", next - 1);
            continue;
        }
        fresh.mNum = n;
        for (int k = 0; k < n; ++k)
        {
            SimpleFace* f = s.mFaces[size_t(k)];
            fresh.mList[k] = f;
            const int c = s.mCorners[size_t(k)];
            if (c < 0 || c >= f->mNum || f->mList[c] != &old)
                InternalError("SplitVertices: face-vert mismatch");
            else
                f->mList[c] = &fresh;
            old.RemoveEntry(f);
        }
    }
    // Records made anew carry neither marks nor rings; the search tree is left empty.
    poly.mVertTree = nullptr;
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        SimpleVert& v = poly.mVerts[i];
        v.mFlags &= E::kTemp;
        v.mNextOfType = &v;
        v.mNextCoincident = &v;
    }
    splits.clear();
}

bool SimpleSortVertFaces(SimplePoly& poly)
{
    if (poly.mFlags & SimplePoly::kSortedFaceLists)
        return true;
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        SimpleVert& v = poly.mVerts[i];
        if ((v.mFlags & E::kTemp) || v.mNum <= 0)
            continue;
        const SimpleFace* f = v.GetFace(0);
        const int at = f ? f->IndexInList(&v, -1) : -1;
        if (at < 0)
            return false;
        const SimpleElem* r = f->mList[(at + f->mNum - 1) % f->mNum];
        for (int j = 1; j + 1 < v.mNum; ++j)
        {
            int found = -1;
            const SimpleElem* nextR = nullptr;
            for (int t = j; t < v.mNum && found < 0; ++t)
            {
                const SimpleFace* g = v.GetFace(t);
                const int n = g ? g->mNum : 0;
                for (int p = g ? g->IndexInList(&v, -1) : -1; p >= 0; p = g->IndexInList(&v, p))
                {
                    if (g->mList[(p + 1) % n] == r)
                        nextR = g->mList[(p + n - 1) % n];
                    else if (g->mList[(p + n - 1) % n] == r)
                        nextR = g->mList[(p + 1) % n];
                    else
                        continue;
                    found = t;
                    break;
                }
            }
            if (found < 0)
                return false;
            std::swap(v.mList[j], v.mList[found]);
            r = nextR;
        }
    }
    poly.mFlags |= SimplePoly::kSortedFaceLists;
    return true;
}

void MergeCoincidentVerts(SimplePoly& poly)
{
    poly.CreateVertexFaceLists(false);
    for (const std::vector<SimpleVert*>& run : CoincidentRuns(poly))
    {
        if (run.size() < 2)
            continue;
        SimpleVert* keep = run[0];
        int total = 0;
        for (const SimpleVert* v : run)
            total += v->mNum;
        std::unique_ptr<SimpleElem*[]> list(new (std::nothrow) SimpleElem*[size_t(std::max(total, 1))]);
        if (!list)
        {
            ErrorMessage("Out of memory for the faces of vertex %d.", keep->GetIndex());
            return;
        }
        int at = 0;
        for (SimpleVert* v : run)
        {
            for (int k = 0; k < v->mNum; ++k)
            {
                SimpleElem* face = v->mList[k];
                list[at++] = face;
                if (v == keep || !face)
                    continue;
                for (int c = 0; c < face->mNum; ++c)
                {
                    if (face->mList[c] == v)
                        face->mList[c] = keep;
                }
            }
            if (v != keep)
            {
                v->mList.reset();
                v->mNum = 0;
                v->mFlags |= E::kTemp;
            }
        }
        keep->mList = std::move(list);
        keep->mNum = total;
        poly.mFlags &= ~SimplePoly::kSortedFaceLists;
    }
}

void LinkCoincidentVerts(SimplePoly& poly)
{
    for (const std::vector<SimpleVert*>& run : CoincidentRuns(poly))
    {
        for (size_t i = 0; i < run.size(); ++i)
            run[i]->mNextCoincident = run[(i + 1) % run.size()];
    }
}
