#include "model/SimpEdgeType.h"

#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/AxisTurn.h"
#include "model/SimplePoly.h"

#include <new>
#include <utility>

SimpEdgeType::SimpEdgeType(SimpleVert* first, SimpleVert* second, double lengthSq, int numFaces,
                           SimpEdgeType*& head, SimpEdgeType*& tail)
    : mLengthSq(lengthSq), mEnds{first, second}, mNumFaces(numFaces)
{
    if (numFaces > 0)
    {
        mSlots.reset(new (std::nothrow) EdgeSlot[size_t(numFaces)]);
        if (!mSlots)
            ErrorMessage("Out of memory for an edge of %d faces.", numFaces);
    }
    if (tail)
        tail->mNext = this;
    else
        head = this;
    tail = this;
}

SimpEdgeType::~SimpEdgeType()
{
    EdgeInstance* instance = mFirstInstance;
    while (instance)
    {
        EdgeInstance* next = instance->mNext;
        delete instance;
        instance = next;
    }
}

void SimpEdgeType::DeleteList(SimpEdgeType* first)
{
    while (first)
    {
        SimpEdgeType* next = first->mNext;
        delete first;
        first = next;
    }
}

EdgeInstance* SimpEdgeType::AddEdge(int count, const EdgeFace* records)
{
    auto* instance = new (std::nothrow) EdgeInstance;
    if (instance && count > 0)
    {
        instance->mRecords.reset(new (std::nothrow) EdgeFace[size_t(count)]);
        if (!instance->mRecords)
        {
            delete instance;
            instance = nullptr;
        }
    }
    if (!instance)
    {
        ErrorMessage("Out of memory for the edges of a model.");
        return nullptr;
    }
    for (int i = 0; i < count; ++i)
        instance->mRecords[i] = records[i];
    AppendInstance(instance);
    return instance;
}

void SimpEdgeType::AppendInstance(EdgeInstance* instance)
{
    instance->mNext = nullptr;
    if (mLastInstance)
        mLastInstance->mNext = instance;
    else
        mFirstInstance = instance;
    mLastInstance = instance;
}

int SimpEdgeType::UnlinkCoplanar(int slot)
{
    EdgeSlot& s = mSlots[slot];
    if (s.mCoplanarNext < 0 || s.mCoplanarNext == slot)
        return slot;
    mSlots[s.mCoplanarPrev].mCoplanarNext = s.mCoplanarNext;
    mSlots[s.mCoplanarNext].mCoplanarPrev = s.mCoplanarPrev;
    s.mCoplanarNext = s.mCoplanarPrev = slot;
    return slot;
}

namespace
{
// The corners of d, from its corner `from` on, forward or backward, lie where m puts the corners of
// f from its corner `start` on.
bool CornersMatch(const SimpleFace& f, int start, const SimpleFace& d, int from, int step, const Mat3& m)
{
    const int n = f.mNum;
    int a = start, b = from;
    for (int i = 0; i < n; ++i)
    {
        Vec3D image;
        m.Transform(image, f.GetVert(a)->mPos);
        if (!Vec3Equal(image, d.GetVert(b)->mPos, kTol))
            return false;
        a = (a + 1) % n;
        b = ((b + step) % n + n) % n;
    }
    return true;
}
}  // namespace

void SimpEdgeType::PairSlotsByRotation(int k, const Vec3D& axis)
{
    if (!mSlots || !mFirstInstance || k < 2)
        return;
    Vec3D unit = axis;
    if (!Vec3Normalize(unit))
        return;
    const int n = mNumFaces;
    for (int i = 0; i < n; ++i)
    {
        if (mSlots[i].mRotNext < 0)
            mSlots[i].mRotNext = i;  // not yet in a ring: a ring of its own
    }
    auto markRing = [this](int start) {
        int s = start;
        do
        {
            mSlots[s].mClass = 1;
            s = mSlots[s].mRotNext;
        } while (s >= 0 && s != start);
    };
    const EdgeFace* records = mFirstInstance->mRecords.get();
    for (int i = 0; i < n; ++i)
    {
        if (mSlots[i].mClass >= 0)
            continue;
        markRing(i);
        const EdgeFace& r = records[i];
        const SimpleFace* f = r.mFace;
        if (!f)
            continue;
        for (int j = 1; j < k; ++j)
        {
            Mat3 turn;
            SetAxisTurnExact(turn, unit, j, k);
            Vec3D h;
            turn.Transform(h, f->mNormal);
            int taken = -1, remembered = -1;
            for (int w = i + 1; w < n && taken < 0; ++w)
            {
                if (mSlots[w].mClass >= 0)
                    continue;
                const EdgeFace& c = records[w];
                const SimpleFace* d = c.mFace;
                if (!d || d->mId != f->mId || d->mNum != f->mNum)
                    continue;
                const bool same = Vec3Equal(d->mNormal, h, kTol);
                if (!same && !Vec3EqualNeg(d->mNormal, h, kTol))
                    continue;
                if (!CornersMatch(*f, r.mCorner, *d, c.mCorner, 1, turn) &&
                    !CornersMatch(*f, r.mCorner, *d, (c.mCorner + 1) % d->mNum, -1, turn))
                    continue;
                // A face through the centre fits either way round; prefer the one facing along.
                if (!(d->mFlags & SimpleElem::kPlaneThroughCentre) || same)
                    taken = w;
                else
                    remembered = w;
            }
            if (taken < 0)
                taken = remembered;
            if (taken < 0)
                continue;
            markRing(taken);
            std::swap(mSlots[i].mRotNext, mSlots[taken].mRotNext);
            mRotOrder = k;
        }
    }
    for (int i = 0; i < n; ++i)
        mSlots[i].mClass = -1;
}
