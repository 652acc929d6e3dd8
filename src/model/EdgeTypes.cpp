#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/SimpEdgeType.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;

bool Before(const SimpleFace* a, const SimpleFace* b)
{
    return std::less<const SimpleFace*>()(a, b);
}

bool NormalsCoplanar(const SimpleFace* a, const SimpleFace* b)
{
    return Vec3Equal(a->mNormal, b->mNormal, kTol) || Vec3EqualNeg(a->mNormal, b->mNormal, kTol);
}

// Appends a record for every place where g runs a->b or b->a. False when g is a face before f, or f
// itself at a corner before k: the edge was handled from that face already.
bool CollectEdgeFaces(SimpleFace* g, const SimpleVert* a, const SimpleVert* b, const SimpleFace* f, int k,
                      std::vector<EdgeFace>& out)
{
    const int n = g->mNum;
    for (int j = 0; j < n; ++j)
    {
        const SimpleElem* p = g->mList[j];
        const SimpleElem* q = g->mList[(j + 1) % n];
        if (!((p == a && q == b) || (p == b && q == a)))
            continue;
        if (Before(g, f) || (g == f && j < k))
            return false;
        EdgeFace record;
        record.Set(g, j);
        out.push_back(record);
    }
    return true;
}

bool SameFaceTypes(const EdgeFace* a, const EdgeFace* b, int n)
{
    for (int i = 0; i < n; ++i)
    {
        if (a[i].mFace->mId != b[i].mFace->mId)
            return false;
    }
    return true;
}

void MarkFirstEnd(EdgeInstance& instance, int n, const SimpleVert* end)
{
    for (int i = 0; i < n; ++i)
    {
        EdgeFace& r = instance.mRecords[i];
        if (r.mFace->mList[r.mCorner] == end)
            r.mFlags |= EdgeFace::kFromFirstEnd;
    }
}

// Corners of d, from some corner on and forward (or backward), lie at the given points.
bool CornersAt(const SimpleFace& d, const std::vector<Vec3D>& points, bool forward)
{
    const int n = d.mNum;
    if (int(points.size()) != n)
        return false;
    for (int o = 0; o < n; ++o)
    {
        if (!Vec3Equal(d.GetVert(o)->mPos, points[0], kTol))
            continue;
        bool all = true;
        for (int l = 1; l < n && all; ++l)
        {
            const int at = forward ? (o + l) % n : ((o - l) % n + n) % n;
            all = Vec3Equal(d.GetVert(at)->mPos, points[size_t(l)], kTol);
        }
        if (all)
            return true;
    }
    return false;
}

// Puts the instance's records in the order of the first instance's records under the rotation, so
// that slot k of every edge holds the image of the face in slot k of the first.
void ReorderRecords(EdgeInstance& instance, const EdgeInstance& first, int m, const Mat3& rotation)
{
    std::vector<Vec3D> corners;
    for (int k = 0; k + 1 < m; ++k)
    {
        const EdgeFace& ref = first.mRecords[k];
        const SimpleFace* f = ref.mFace;
        Vec3D normal;
        rotation.Transform(normal, f->mNormal);
        corners.resize(size_t(f->mNum));
        for (int l = 0; l < f->mNum; ++l)
            rotation.Transform(corners[size_t(l)], f->GetVert(l)->mPos);

        int bestQuality = 0, firstBest = -1, lastParity = -1;
        for (int idx = k; idx < m; ++idx)
        {
            const EdgeFace& cand = instance.mRecords[idx];
            const SimpleFace* d = cand.mFace;
            if (d->mId != f->mId || d->mNum != f->mNum)
                continue;
            const bool same = Vec3Equal(d->mNormal, normal, kTol);
            if (!same && !Vec3EqualNeg(d->mNormal, normal, kTol))
                continue;
            const bool forward = (ref.mFlags & EdgeFace::kFromFirstEnd) == (cand.mFlags & EdgeFace::kFromFirstEnd);
            if (!CornersAt(*d, corners, forward))
                continue;
            const int quality = (d->mFlags & E::kPlaneThroughCentre) && !same ? 1 : 2;
            if (quality > bestQuality)
            {
                bestQuality = quality;
                firstBest = idx;
                lastParity = -1;
            }
            if (quality == bestQuality && (cand.mCorner - ref.mCorner) % 2 == 0)
                lastParity = idx;
        }
        const int chosen = lastParity >= 0 ? lastParity : firstBest;
        if (chosen > k)
            std::swap(instance.mRecords[k], instance.mRecords[chosen]);
    }
}

// Makes the type's slots rotation rings and joins those that a rotation of the group about an axis
// through the edge's midpoint maps onto one another; then numbers the slot classes.
void PairSlotsBySymmetry(SimpEdgeType& type, const SymGroup& group)
{
    const int n = type.mNumFaces;
    for (int i = 0; i < n; ++i)
        type.mSlots[i].mRotNext = i;
    Vec3D d, mid;
    Vec3Sub(d, type.mEnds[1]->mPos, type.mEnds[0]->mPos);
    Vec3Midpoint(mid, type.mEnds[0]->mPos, type.mEnds[1]->mPos);
    if (!Vec3IsZero(d, kTol))
    {
        const bool midAtCentre = Vec3IsZero(mid, kTol);
        Vec3D halfTurn;
        bool stop = false;
        for (int s = 0; s < group.mNumAxisSets && !stop; ++s)
        {
            const SymAxisSet& set = group.mAxisSets[s];
            if (set.mSkip)
                continue;
            for (int i = 0; i < set.mNumAxes && !stop; ++i)
            {
                const Vec3D& axis = set.mAxes[i].mDir;
                if (!midAtCentre && !Vec3Parallel(axis, mid, kTol))
                    continue;
                const double along = Vec3Dot(d, axis);
                if (std::fabs(along) > kTol)
                {
                    if (!type.mPairedAlongAxis && Vec3Parallel(axis, d, kTol))
                    {
                        type.mPairedAlongAxis = true;
                        type.PairSlotsByRotation(set.mOrder, axis);
                    }
                }
                else if (set.mOrder % 2 == 0 && !type.mHasHalfTurnAxis)
                {
                    halfTurn = axis;
                    type.mHasHalfTurnAxis = true;
                }
                // Only one axis passes through a point off the centre.
                stop = !midAtCentre;
            }
        }
        if (type.mHasHalfTurnAxis && !type.mPairedAlongAxis)
            type.PairSlotsByRotation(2, halfTurn);
    }

    int c = 0;
    for (int i = 0; i < n; ++i)
    {
        if (type.mSlots[i].mClass >= 0)
            continue;
        int size = 0, s = i;
        do
        {
            type.mSlots[s].mClass = c;
            ++size;
            s = type.mSlots[s].mRotNext;
        } while (s != i);
        do
        {
            type.mSlots[s].mClassSize = size;
            s = type.mSlots[s].mRotNext;
        } while (s != i);
        ++c;
    }
}

// The usable vertices sorted by position, to find a vertex at a point.
class VertexLocator
{
public:
    explicit VertexLocator(SimplePoly& poly)
    {
        for (int i = 0; i < poly.mNumVerts; ++i)
        {
            if (!(poly.mVerts[i].mFlags & E::kTemp))
                mSorted.push_back(&poly.mVerts[i]);
        }
        // A tolerant order need not be transitive; a merge sort never leaves the array for it.
        std::stable_sort(mSorted.begin(), mSorted.end(), [](const SimpleVert* a, const SimpleVert* b) {
            const int c = Vec3Compare(a->mPos, b->mPos, kTol);
            return c != 0 ? c < 0 : a->GetIndex() < b->GetIndex();
        });
    }

    SimpleVert* Find(const Vec3D& p) const
    {
        size_t lo = 0, hi = mSorted.size();
        while (lo < hi)
        {
            const size_t mid = (lo + hi) / 2;
            const int c = Vec3Compare(p, mSorted[mid]->mPos, kTol);
            if (c == 0)
                return mSorted[mid];
            if (c < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        return nullptr;
    }

private:
    std::vector<SimpleVert*> mSorted;
};

uint64_t EdgeKey(const SimpleVert* a, const SimpleVert* b)
{
    uint64_t i = uint32_t(a->GetIndex()), j = uint32_t(b->GetIndex());
    if (i > j)
        std::swap(i, j);
    return (i << 32) | j;
}

void InstanceEnds(const EdgeInstance& inst, SimpleVert*& a, SimpleVert*& b)
{
    const EdgeFace& r0 = inst.mRecords[0];
    a = r0.mFace->GetVert(r0.mCorner);
    b = r0.mFace->GetVert((r0.mCorner + 1) % r0.mFace->mNum);
}

// Finds the images of every type's first edge under the group's rotations; edges that no rotation
// reaches go into new types, which the next pass treats the same way. Images are found through the
// position of their ends, so that a type's edges are never scanned once per rotation.
bool MatchInstances(SimplePoly& poly, SimpEdgeType*& head, SimpEdgeType*& tail, const SymGroup& group)
{
    std::vector<Mat3> rotations;
    SymOpIterator it;
    Mat3 r;
    while (group.NextOperation(it, false, &r))
        rotations.push_back(r);

    bool single = true;
    for (const SimpEdgeType* t = head; t && single; t = t->mNext)
        single = t->mFirstInstance->mNext == nullptr;
    if (rotations.empty() && single)
    {
        // Every edge is a type of its own: nothing to match or split.
        for (SimpEdgeType* t = head; t; t = t->mNext)
        {
            t->mFirstInstance->mFlags |= EdgeInstance::kReached;
            MarkFirstEnd(*t->mFirstInstance, t->mNumFaces, t->mEnds[0]);
        }
        return true;
    }

    const VertexLocator locator(poly);
    std::unordered_map<uint64_t, EdgeInstance*> edges;
    std::unordered_map<const EdgeInstance*, SimpEdgeType*> owners;
    size_t count = 0;
    for (SimpEdgeType* t = head; t; t = t->mNext)
    {
        for (EdgeInstance* inst = t->mFirstInstance; inst; inst = inst->mNext)
            ++count;
    }
    edges.reserve(count);
    owners.reserve(count);
    for (SimpEdgeType* t = head; t; t = t->mNext)
    {
        for (EdgeInstance* inst = t->mFirstInstance; inst; inst = inst->mNext)
        {
            SimpleVert *a, *b;
            InstanceEnds(*inst, a, b);
            edges[EdgeKey(a, b)] = inst;
            owners[inst] = t;
        }
    }

    std::vector<SimpEdgeType*> pass;
    for (SimpEdgeType* t = head; t; t = t->mNext)
        pass.push_back(t);
    while (!pass.empty())
    {
        DebugTrace("Match faces for edge types\n");
        for (SimpEdgeType* t : pass)
        {
            t->mFirstInstance->mFlags |= EdgeInstance::kReached;
            MarkFirstEnd(*t->mFirstInstance, t->mNumFaces, t->mEnds[0]);
        }
        for (const Mat3& rotation : rotations)
        {
            for (SimpEdgeType* t : pass)
            {
                Vec3D p0, p1;
                rotation.Transform(p0, t->mEnds[0]->mPos);
                rotation.Transform(p1, t->mEnds[1]->mPos);
                const SimpleVert* atP0 = locator.Find(p0);
                const SimpleVert* atP1 = locator.Find(p1);
                if (!atP0 || !atP1 || atP0 == atP1)
                    continue;
                const auto found = edges.find(EdgeKey(atP0, atP1));
                if (found == edges.end())
                    continue;
                EdgeInstance* inst = found->second;
                if ((inst->mFlags & EdgeInstance::kReached) || owners[inst] != t)
                    continue;
                inst->mFlags |= EdgeInstance::kReached;
                MarkFirstEnd(*inst, t->mNumFaces, atP0);
                ReorderRecords(*inst, *t->mFirstInstance, t->mNumFaces, rotation);
            }
        }

        std::vector<SimpEdgeType*> created;
        for (SimpEdgeType* t : pass)
        {
            SimpEdgeType* split = nullptr;
            EdgeInstance* keptLast = t->mFirstInstance;
            EdgeInstance* inst = t->mFirstInstance->mNext;
            keptLast->mNext = nullptr;
            while (inst)
            {
                EdgeInstance* next = inst->mNext;
                if (inst->mFlags & EdgeInstance::kReached)
                {
                    keptLast->mNext = inst;
                    keptLast = inst;
                    inst->mNext = nullptr;
                }
                else
                {
                    if (!split)
                    {
                        SimpleVert *a, *b;
                        InstanceEnds(*inst, a, b);
                        if (b->mId < a->mId)
                            std::swap(a, b);
                        split = new (std::nothrow) SimpEdgeType(a, b, t->mLengthSq, t->mNumFaces, head, tail);
                        if (!split || !split->IsValid())
                        {
                            ErrorMessage("Out of memory for the edges of a model.");
                            return false;
                        }
                        for (int i = 0; i < t->mNumFaces; ++i)
                            split->mSlots[i] = t->mSlots[i];
                        split->mRotOrder = t->mRotOrder;
                        split->mPairedAlongAxis = t->mPairedAlongAxis;
                        split->mHasHalfTurnAxis = t->mHasHalfTurnAxis;
                        created.push_back(split);
                    }
                    split->AppendInstance(inst);
                    owners[inst] = split;
                }
                inst = next;
            }
            t->mLastInstance = keptLast;
        }
        pass = std::move(created);
    }
    return true;
}
}  // namespace

void CompressVertexTypeIds(SimplePoly& poly)
{
    int id = 0;
    for (int i = 0; i < poly.mNumVerts; ++i)
    {
        SimpleVert& v = poly.mVerts[i];
        if (v.mFlags & (E::kDone | E::kTemp))
            continue;
        SimpleElem* e = &v;
        do
        {
            e->mId = id;
            e->mFlags |= E::kDone;
            e = e->mNextOfType;
        } while (e && e != &v);
        ++id;
    }
    poly.ClearVertFlags(E::kDone);
}

SimpEdgeType* CreateEdgeTypes(SimplePoly& poly, const SymGroup& group)
{
    if (poly.mFlags & SimplePoly::kSortedFaceLists)
        return nullptr;
    {
        TraceGuard trace("CompressVertexTypeIds");
        CompressVertexTypeIds(poly);
    }
    {
        TraceGuard trace("CreateVertexFaceLists");
        poly.CreateVertexFaceLists(false);
    }

    int maxType = -1;
    {
        TraceGuard trace("Sort faces around vertices");
        for (int i = 0; i < poly.mNumVerts; ++i)
        {
            SimpleVert& v = poly.mVerts[i];
            if (v.mFlags & E::kTemp)
                continue;
            std::sort(v.mList.get(), v.mList.get() + v.mNum, [](const SimpleElem* a, const SimpleElem* b) {
                return std::less<const SimpleElem*>()(a, b);
            });
            maxType = std::max(maxType, int(v.mId));
        }
    }

    SimpEdgeType* head = nullptr;
    SimpEdgeType* tail = nullptr;
    auto fail = [&]() -> SimpEdgeType* {
        SimpEdgeType::DeleteList(head);
        return nullptr;
    };
    {
        TraceGuard trace("Find edge types");
        std::vector<std::vector<SimpEdgeType*>> buckets(size_t(maxType + 1));
        std::vector<EdgeFace> records;
        bool reported = false;
        for (int fi = 0; fi < poly.mNumFaces; ++fi)
        {
            SimpleFace* f = &poly.mFaces[fi];
            if (f->mFlags & E::kTemp)
                continue;
            const int n = f->mNum;
            for (int k = 0; k < n; ++k)
            {
                SimpleVert* a = f->GetVert(k);
                SimpleVert* b = f->GetVert((k + 1) % n);
                if (!a || !b || a == b)
                    continue;
                if (b->mId < a->mId)
                    std::swap(a, b);
                if (a->mId < 0 || a->mId > maxType || (a->mFlags & E::kTemp))
                    continue;

                records.clear();
                bool handled = false;
                const SimpleElem* previous = nullptr;
                for (int t = 0; t < a->mNum && !handled; ++t)
                {
                    SimpleFace* g = a->GetFace(t);
                    if (!g || g == previous)
                        continue;  // a face listed twice was searched whole the first time
                    previous = g;
                    handled = !CollectEdgeFaces(g, a, b, f, k, records);
                }
                if (handled)
                    continue;

                const int m = int(records.size());
                if (m % 2 == 1 || m < 2)
                {
                    if (!reported)
                        InternalError("Model is invalid\nEdge found with odd number of faces (%d)", m);
                    else
                        DebugTrace("ERROR: numEdgeFaces = %d\n", m);
                    reported = true;
                }
                if (m == 0)
                    continue;
                const double lengthSq = Vec3LengthSq({b->mPos.x - a->mPos.x, b->mPos.y - a->mPos.y, b->mPos.z - a->mPos.z});
                std::stable_sort(records.begin(), records.end(),
                                 [](const EdgeFace& x, const EdgeFace& y) { return x.mFace->mId < y.mFace->mId; });

                SimpEdgeType* type = nullptr;
                for (SimpEdgeType* candidate : buckets[size_t(a->mId)])
                {
                    if (candidate->mEnds[1]->mId == b->mId && candidate->mNumFaces == m &&
                        WithinTol(candidate->mLengthSq, lengthSq, kTol) &&
                        SameFaceTypes(candidate->mFirstInstance->mRecords.get(), records.data(), m))
                    {
                        type = candidate;
                        break;
                    }
                }
                if (!type)
                {
                    type = new (std::nothrow) SimpEdgeType(a, b, lengthSq, m, head, tail);
                    if (!type || !type->IsValid())
                    {
                        ErrorMessage("Out of memory for the edges of a model.");
                        return fail();
                    }
                    buckets[size_t(a->mId)].push_back(type);
                }
                if (!type->AddEdge(m, records.data()))
                    return fail();
            }
        }
    }
    if (!head)
        return nullptr;

    {
        TraceGuard trace("Find face types wrt edges");
        for (SimpEdgeType* t = head; t; t = t->mNext)
            PairSlotsBySymmetry(*t, group);
        if (!MatchInstances(poly, head, tail, group))
            return fail();
    }
    return head;
}

void LinkCoplanarSlots(SimplePoly& poly, SimpEdgeType* types)
{
    if (poly.mFlags & SimplePoly::kSortedFaceLists)
        return;
    for (SimpEdgeType* t = types; t; t = t->mNext)
    {
        if (t->mNumFaces == 2)
            continue;
        EdgeSlot* slots = t->mSlots.get();
        const EdgeFace* records = t->mFirstInstance->mRecords.get();
        for (int s = 0; s < t->mNumFaces; ++s)
            slots[s].mCoplanarNext = slots[s].mCoplanarPrev = s;
        for (int s = 1; s < t->mNumFaces; ++s)
        {
            for (int e = 0; e < s; ++e)
            {
                if (!NormalsCoplanar(records[e].mFace, records[s].mFace))
                    continue;
                // s goes in at the end of e's ring.
                const int last = slots[e].mCoplanarPrev;
                slots[s].mCoplanarPrev = last;
                slots[s].mCoplanarNext = e;
                slots[last].mCoplanarNext = s;
                slots[e].mCoplanarPrev = s;
                break;
            }
        }
    }
}

namespace
{
void PairAlongRings(EdgeSlot* slots, int i, int c)
{
    int a = i, b = c;
    do
    {
        slots[a].mPartner = b;
        slots[b].mPartner = a;
        a = slots[a].mRotNext;
        b = slots[b].mRotNext;
    } while (a != i && a >= 0 && b >= 0);
}

int FindPartner(SimpEdgeType& t, int i)
{
    const EdgeSlot* slots = t.mSlots.get();
    const EdgeFace* records = t.mFirstInstance->mRecords.get();
    const int n = t.mNumFaces;
    auto coplanar = [&](int a, int b) { return NormalsCoplanar(records[a].mFace, records[b].mFace); };
    auto hasMate = [&](int s) { return slots[s].mCoplanarNext >= 0 && slots[s].mCoplanarNext != s; };
    for (int pass = 0; pass < 2; ++pass)
    {
        auto free = [&](int w) { return slots[w].mPartner < 0 && (pass == 1 || hasMate(w)); };
        if (t.mRotOrder == 2)
        {
            const int w = slots[i].mRotNext;
            if (w >= 0 && w != i && free(w) && !coplanar(i, w))
                return w;
        }
        for (int w = i + 1; w < n; ++w)
        {
            if (free(w) && slots[w].mClassSize == slots[i].mClassSize && slots[w].mClass != slots[i].mClass &&
                records[w].mFace != records[i].mFace && !coplanar(i, w))
                return w;
        }
        for (int w = i + 1; w < n; ++w)
        {
            if (free(w) && slots[w].mClass == slots[i].mClass && !coplanar(i, w))
                return w;
        }
    }
    for (int w = i + 1; w < n; ++w)
    {
        if (slots[w].mPartner < 0 && slots[w].mClassSize == slots[i].mClassSize)
            return w;
    }
    return -1;
}
}  // namespace

bool TraverseEdgeTypes(SimplePoly& poly, SimpEdgeType* types)
{
    if (poly.mFlags & SimplePoly::kSortedFaceLists)
        return true;
    LinkCoplanarSlots(poly, types);
    for (SimpEdgeType* t = types; t; t = t->mNext)
    {
        EdgeSlot* slots = t->mSlots.get();
        if (t->mNumFaces == 2)
        {
            slots[0].mPartner = 1;
            slots[1].mPartner = 0;
            continue;
        }
        for (int i = 0; i + 1 < t->mNumFaces; ++i)
        {
            if (slots[i].mPartner >= 0)
                continue;
            const int c = FindPartner(*t, i);
            if (c < 0)
                continue;
            t->UnlinkCoplanar(i);
            t->UnlinkCoplanar(c);
            PairAlongRings(slots, i, c);
        }
    }
    return true;
}
