#include "model/RotationAxisTester.h"

#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/AxisTurn.h"
#include "model/SimpleAdjacency.h"
#include "model/SimplePoly.h"

#include <algorithm>

namespace
{
using E = SimpleElem;
constexpr uint32_t kMerged = E::kEdgeTypeMark;  // scratch of the type merge
constexpr uint32_t kScratch = E::kDone | kMerged;

bool Usable(const SimpleVert* v)
{
    return v && !(v->mFlags & (E::kDone | E::kTemp));
}

bool NormalFits(const Vec3D& a, const Vec3D& b)
{
    return Vec3Equal(a, b, kTol) || Vec3EqualNeg(a, b, kTol);
}
}  // namespace

int CompareHeightRadius(const SimpleVert* a, const SimpleVert* b)
{
    for (int i = 0; i < 2; ++i)
    {
        if (a->mUserData[i] < b->mUserData[i] - kTol)
            return -1;
        if (a->mUserData[i] > b->mUserData[i] + kTol)
            return 1;
    }
    return a->GetIndex() - b->GetIndex();
}

RotationAxisTester::RotationAxisTester(SimplePoly& model, int maxOrder)
    : mModel(model)
{
    mWork.reserve(size_t(std::max(maxOrder, 1)) * size_t(std::max(model.mNumVerts, 1)));
}

SimpleVert* RotationAxisTester::ModelVert(const SimpleVert* hullVert) const
{
    const int i = hullVert ? hullVert->GetIndex() : -1;
    return i >= 0 && i < mModel.mNumVerts ? &mModel.mVerts[i] : nullptr;
}

const Vec3D& RotationAxisTester::CentroidSum(const SimpleVert& v)
{
    // Positions do not change while candidates are tested: each sum is worked out once.
    const size_t i = size_t(v.GetIndex());
    if (mCentroidSums.size() <= i)
    {
        mCentroidSums.resize(size_t(mModel.mNumVerts));
        mHasCentroidSum.resize(size_t(mModel.mNumVerts), false);
    }
    if (!mHasCentroidSum[i])
    {
        mCentroidSums[i] = v.SumFaceCentroids();
        mHasCentroidSum[i] = true;
    }
    return mCentroidSums[i];
}

void RotationAxisTester::Mark(SimpleElem* e, uint32_t bit)
{
    if (!(e->mFlags & kScratch))
        mMarked.push_back(e);
    e->mFlags |= bit;
}

void RotationAxisTester::ClearMarks()
{
    // Only what a test marked: a failing candidate should cost what it looked at, not the model.
    for (SimpleElem* e : mMarked)
        e->mFlags &= ~kScratch;
    mMarked.clear();
}

void RotationAxisTester::Append(SimpleVert* v)
{
    if (size_t(mCount) < mWork.size())
        mWork[size_t(mCount)] = v;
    else
        mWork.push_back(v);
    ++mCount;
}

bool RotationAxisTester::TestAxisAndCombineSameTypes(const SimpleFace* face, const SimpleVert* vert, int edge,
                                                   const Vec3D& axis, int sides, int k)
{
    TraceScope scope("TestAxisAndCombineSameTypes");
    Mat3 rotation;
    const bool ok = TestRotation(face, vert, edge, axis, rotation, sides, k);
    if (ok)
    {
        for (int g = 0; g < mCount; g += k)
        {
            SimpleVert* x = mWork[size_t(g)];
            for (int i = 0; i < x->mNum; ++i)
            {
                SimpleFace* f = x->GetFace(i);
                if (!f || (f->mFlags & kMerged) || f->mNum <= 0)
                    continue;
                Mark(f, kMerged);
                Vec3D normal = f->mNormal, first = f->GetVert(0)->mPos;
                Mat3 turn;
                // At j = 0 faces in the same place as f around x join its coincident ring and type;
                // at later j the images of f join its type.
                SimpleFace* previous = f;
                for (int j = 0; j < k; ++j)
                {
                    SimpleVert* y = mWork[size_t(g + j)];
                    for (int t = 0; t < y->mNum; ++t)
                    {
                        SimpleFace* other = y->GetFace(t);
                        if (!other || (other->mFlags & kMerged) || !f->MatchesUnder(*other, normal, first, turn))
                            continue;
                        if (previous)
                            other->JoinCoincident(previous);
                        Mark(other, kMerged);
                        MergeTypes(f, other);
                        previous = other;
                    }
                    rotation.Transform(normal, normal);
                    rotation.Transform(first, first);
                    Mat3 next;
                    Mat3Mul(next, rotation, turn);
                    turn = next;
                    previous = nullptr;
                }
            }
            for (int j = 1; j < k; ++j)
                MergeTypes(x, mWork[size_t(g + j)]);
        }
    }
    ClearMarks();
    return ok;
}

bool RotationAxisTester::TestRotation(const SimpleFace* face, const SimpleVert* vert, int edge, const Vec3D& axis,
                                    Mat3& rotation, int sides, int k)
{
    mCount = 0;
    if (k < 1)
        return false;
    Vec3D unit = axis;
    if (!Vec3Normalize(unit))
        return false;
    SetAxisTurnExact(rotation, unit, 1, k);
    mPowers.resize(size_t(k));
    for (int j = 0; j < k; ++j)
        SetAxisTurnExact(mPowers[size_t(j)], unit, j, k);
    const int m = sides / k;
    if (sides != k * m)
        return false;

    // Seeds from the candidate; a seed that growth from an earlier one has reached is dropped.
    auto seed = [&](const std::vector<SimpleVert*>& group) {
        if (std::find(group.begin(), group.end(), nullptr) != group.end())
            return false;
        if (group[0]->mFlags & E::kDone)
            return true;
        const int start = mCount;
        for (SimpleVert* v : group)
            Append(v);
        return TestForSymmetry(k, start);
    };
    std::vector<SimpleVert*> group(static_cast<size_t>(k));
    if (vert && edge < 0)
    {
        std::fill(group.begin(), group.end(), ModelVert(vert));
        if (!seed(group))
            return false;
    }
    else if (face && edge < 0)
    {
        for (int i = 0; i < m; ++i)
        {
            for (int j = 0; j < k; ++j)
                group[size_t(j)] = ModelVert(face->GetVert(i + j * m));
            if (!seed(group))
                return false;
        }
    }
    else if (face && edge >= 0 && k == 2 && face->mNum > 0)
    {
        group = {ModelVert(face->GetVert(edge % face->mNum)), ModelVert(face->GetVert((edge + 1) % face->mNum))};
        if (!seed(group))
            return false;
    }
    else
        return false;

    if (!SweepRemaining(unit, k))
        return false;
    return TestEmptyFaceImages(k);
}

bool RotationAxisTester::SweepRemaining(const Vec3D& axis, int k)
{
    mSorted.clear();
    for (int i = 0; i < mModel.mNumVerts; ++i)
    {
        SimpleVert& v = mModel.mVerts[i];
        if (!Usable(&v))
            continue;
        v.mUserData[0] = Vec3Dot(v.mPos, axis);
        v.mUserData[1] = Vec3LengthSq(v.mPos);
        mSorted.push_back(&v);
    }
    // A tolerant order need not be transitive; a merge sort never leaves the array for it.
    std::stable_sort(mSorted.begin(), mSorted.end(),
                     [](const SimpleVert* a, const SimpleVert* b) { return CompareHeightRadius(a, b) < 0; });
    const size_t n = mSorted.size();
    for (size_t idx = 0; idx < n; ++idx)
    {
        SimpleVert* o = mSorted[idx];
        if (o->mFlags & E::kDone)
            continue;
        const int start = mCount;
        Append(o);
        if (Vec3Parallel(o->mPos, axis, kTol))
        {
            for (int j = 1; j < k; ++j)
                Append(o);
        }
        else
        {
            for (int j = 1; j < k; ++j)
                Append(nullptr);
            int found = 1;
            for (size_t q = idx + 1; q < n && found < k; ++q)
            {
                SimpleVert* other = mSorted[q];
                if (!WithinTol(other->mUserData[1], o->mUserData[1], kTol) ||
                    !WithinTol(other->mUserData[0], o->mUserData[0], kTol))
                    break;
                if (!Usable(other))
                    continue;
                for (int j = 1; j < k; ++j)
                {
                    Vec3D image;
                    mPowers[size_t(j)].Transform(image, o->mPos);
                    if (!Vec3Equal(image, other->mPos, kTol))
                        continue;
                    if (!mWork[size_t(start + j)])
                    {
                        mWork[size_t(start + j)] = other;
                        ++found;
                    }
                    break;
                }
            }
            if (found < k)
                return false;
        }
        if (!TestForSymmetry(k, start))
            return false;
    }
    return true;
}

bool RotationAxisTester::TestForSymmetry(int k, int start)
{
    TraceScope scope("TestForSymmetry");
    SimpleVert* x = mWork[size_t(start)];
    if (x->mNextCoincident && x->mNextCoincident != x)
    {
        // Positions alone cannot tell vertices in one place apart: their faces do.
        Vec3D p = x->mPos;
        for (int j = 1; j < k; ++j)
        {
            mPowers[1].Transform(p, p);
            SimpleVert* entry = mWork[size_t(start + j)];
            if (!entry || !Vec3Equal(entry->mPos, p, kTol))
                return false;
            SimpleVert* chosen = nullptr;
            SimpleVert* c = entry;
            do
            {
                if (Usable(c) && x->MatchesUnder(*c, p, mPowers[size_t(j)]))
                    chosen = c;
                c = c->mNextCoincident;
            } while (!chosen && c && c != entry);
            if (!chosen)
                return false;
            mWork[size_t(start + j)] = chosen;
        }
    }
    return TestForSymmetryR(k, start);
}

bool RotationAxisTester::TestImageGroup(int k, int start)
{
    SimpleVert* first = mWork[size_t(start)];
    if (!first)
        return false;
    if (k > 1)
    {
        Vec3D p = first->mPos;
        for (int i = 1; i < k; ++i)
        {
            mPowers[1].Transform(p, p);
            const SimpleVert* e = mWork[size_t(start + i)];
            if (!e || e->mNum != first->mNum || !Vec3Equal(e->mPos, p, kTol))
                return false;
        }
    }
    for (int i = 0; i < k; ++i)
        Mark(mWork[size_t(start + i)], E::kDone);
    return true;
}

bool RotationAxisTester::TestForSymmetryR(int k, int start)
{
    if (!TestImageGroup(k, start))
        return false;
    // The end grows as neighbours' groups are added.
    for (int g = start; g < mCount; g += k)
    {
        SimpleVert* x = mWork[size_t(g)];
        for (int i = 0; i < x->mNum; ++i)
        {
            SimpleFace* f = x->GetFace(i);
            if (!f || f->mNum <= 0)
                continue;
            if (!(f->mFlags & E::kDone))
            {
                for (int j = 1; j < k; ++j)
                {
                    const Mat3& turn = mPowers[size_t(j)];
                    Vec3D normal, first;
                    turn.Transform(normal, f->mNormal);
                    turn.Transform(first, f->GetVert(0)->mPos);
                    SimpleFace* image = nullptr;
                    SimpleVert* y = mWork[size_t(g + j)];
                    SimpleVert* c = y;
                    do
                    {
                        for (int t = 0; t < c->mNum && !image; ++t)
                        {
                            SimpleFace* other = c->GetFace(t);
                            if (other && f->MatchesUnder(*other, normal, first, turn))
                                image = other;
                        }
                        c = c->mNextCoincident;
                    } while (!image && c && c != y);
                    if (!image)
                        return false;
                    Mark(image, E::kDone);
                }
                Mark(f, E::kDone);
            }

            const int at = f->IndexInList(x, -1);
            const int n = f->mNum;
            SimpleVert* before = at >= 0 ? f->GetVert((at + n - 1) % n) : nullptr;
            if (!before)
            {
                InternalError("TestForSymmetryR: firstAdj NULL");
                SimplePoly::Dump(&mModel);
                return false;
            }
            bool failed = false;
            if (GrowGroup(k, g, *f, before, failed))
            {
                SimpleVert* after = f->GetVert((at + 1) % n);
                if (after)
                    GrowGroup(k, g, *f, after, failed);
            }
            if (failed)
                return false;
        }
    }
    return true;
}

bool RotationAxisTester::GrowGroup(int k, int g, const SimpleFace& face, SimpleVert* o, bool& failed)
{
    if (!Usable(o))
        return false;
    const Vec3D faceSum = face.GetVertexSum();
    const int start = mCount;
    Append(o);
    for (int j = 1; j < k; ++j)
        Append(nullptr);
    mCount = start;  // tentative until the group passes

    for (int j = 1; j < k; ++j)
    {
        const Mat3& turn = mPowers[size_t(j)];
        Vec3D normal, sum, place;
        turn.Transform(normal, face.mNormal);
        turn.Transform(sum, faceSum);
        turn.Transform(place, o->mPos);
        SimpleVert* y = mWork[size_t(g + j)];
        SimpleVert* image = nullptr;
        for (int t = 0; t < y->mNum && !image; ++t)
        {
            const SimpleFace* other = y->GetFace(t);
            if (!other || other->mNum != face.mNum || !NormalFits(other->mNormal, normal) ||
                !Vec3Equal(other->GetVertexSum(), sum, kTol))
                continue;
            const int at = other->IndexInList(y, -1);
            if (at < 0)
                continue;
            const int n = other->mNum;
            SimpleVert* candidate = nullptr;
            for (int side = 0; side < 2 && !candidate; ++side)
            {
                SimpleVert* p = other->GetVert(side == 0 ? (at + n - 1) % n : (at + 1) % n);
                if (!p)
                {
                    InternalError(side == 0 ? "TestForSymmetryR: adj NULL (dec)" : "TestForSymmetryR: adj NULL (inc)");
                    failed = true;
                    return false;
                }
                if (p->mNum == o->mNum && Vec3Equal(p->mPos, place, kTol))
                    candidate = p;
            }
            if (!candidate)
                continue;
            Vec3D wanted;
            turn.Transform(wanted, CentroidSum(*o));
            if (Vec3Equal(CentroidSum(*candidate), wanted, kSymTol))
                image = candidate;
        }
        if (!image || (image->mFlags & E::kDone))
            return false;
        mWork[size_t(start + j)] = image;
    }
    if (!TestImageGroup(k, start))
        return false;
    mCount = start + k;
    return true;
}

bool RotationAxisTester::TestEmptyFaceImages(int k)
{
    if (!(mModel.mFlags & SimplePoly::kHasEmptyFaces))
        return true;
    std::vector<SimpleFace*> empties;
    for (int i = 0; i < mModel.mNumFaces; ++i)
    {
        SimpleFace& f = mModel.mFaces[i];
        if (f.mNum == 0 && !(f.mFlags & E::kTemp))
            empties.push_back(&f);
    }
    std::vector<std::vector<SimpleFace*>> groups;
    for (size_t e = 0; e < empties.size(); ++e)
    {
        SimpleFace* first = empties[e];
        if (first->mFlags & E::kDone)
            continue;
        std::vector<SimpleFace*> group = {first};
        Vec3D p = first->mNormal;
        for (int j = 1; j < k; ++j)
        {
            mPowers[1].Transform(p, p);
            SimpleFace* image = nullptr;
            for (size_t c = e; c < empties.size() && !image; ++c)
            {
                SimpleFace* other = empties[c];
                if (!(other->mFlags & E::kDone) &&
                    ((other->mFlags ^ first->mFlags) & E::kPlaneThroughCentre) == 0 &&
                    Vec3Equal(other->mNormal, p, kTol))
                    image = other;
            }
            if (!image)
                return false;
            group.push_back(image);
        }
        for (SimpleFace* f : group)
            Mark(f, E::kDone);
        groups.push_back(std::move(group));
    }
    for (const std::vector<SimpleFace*>& group : groups)
    {
        for (size_t i = 1; i < group.size(); ++i)
            MergeTypes(group[0], group[i]);
    }
    return true;
}
