#include "model/SymmetryDetection.h"

#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Quaternion.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "model/ConvexHull.h"
#include "model/Reflections.h"
#include "model/RotationAxisTester.h"
#include "model/SimpleAdjacency.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "model/VertexFans.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace
{
using E = SimpleElem;

constexpr uint32_t kOriented = E::kNormalOriented;

// The narrower end of the model along m (between equal ends the one farther from the centre)
// becomes the positive end.
void OrientMainAxis(const SimplePoly& model, Vec3D& m)
{
    double bottom = 999999.9, top = -999999.9, bottomSpread = 0.0, topSpread = 0.0;
    for (int i = 0; i < model.mNumVerts; ++i)
    {
        const SimpleVert& v = model.mVerts[i];
        if (v.mFlags & E::kTemp)
            continue;
        const double h = Vec3Dot(m, v.mPos);
        const double w = Vec3LengthSq(v.mPos) - h * h;
        if (h < bottom + kTol)
        {
            if (h < bottom - kTol)
                bottomSpread = 0.0;
            bottom = h;
            bottomSpread = std::max(bottomSpread, w);
        }
        if (h > top - kTol)
        {
            if (h > top + kTol)
                topSpread = 0.0;
            top = h;
            topSpread = std::max(topSpread, w);
        }
    }
    if (topSpread > bottomSpread + kTol || (topSpread > bottomSpread - kTol && top < -bottom))
        Vec3Negate(m);
}

// A direction across the main axis m to fix the turn about it: the vertex sum of the first face
// with the most corners that is not centred on the axis.
Vec3D ReferenceAcross(const SimplePoly& model, const Vec3D& m)
{
    Vec3D r, e;
    e[Vec3MinAxis(m)] = 1.0;
    Vec3Cross(r, m, e);
    int most = 0;
    for (int i = 0; i < model.mNumFaces; ++i)
    {
        const SimpleFace& f = model.mFaces[i];
        if ((f.mFlags & E::kTemp) || f.mNum <= most)
            continue;
        const Vec3D c = f.GetVertexSum();
        if (Vec3Parallel(c, m, kTol))
            continue;
        most = f.mNum;
        r = c;
    }
    Vec3D a2;
    Vec3AddScaled(a2, r, -Vec3Dot(r, m), m);
    Vec3Normalize(a2);
    return a2;
}

// Whether the turn m is one of the group's own rotations (then nothing needs turning).
bool IsGroupRotation(SymGroup& group, const Mat3& m)
{
    const Quaternion q = Quaternion::FromMat3(m);
    const double w = std::clamp(q.w, -1.0, 1.0);
    const double s = std::sqrt(std::max(0.0, 1.0 - w * w));
    Vec3D axis{q.x, q.y, q.z};
    if (std::fabs(s) > kTol)
        Vec3Div(axis, axis, s);
    const double angle = 2.0 * std::acos(w);
    const SymAxisSet* set = group.FindAxisByAbsDir(axis);
    if (!set)
        return false;
    double t = set->mOrder * angle / (2.0 * kPi);
    if (group.mKind == SymGroup::kTetrahedral && set->mOrder == 2)
        t *= 2.0;
    return WithinTol(t, std::round(t), kTol);
}

int MaxHullWidth(const SimplePoly& hull)
{
    int width = 3;
    for (int i = 0; i < hull.mNumFaces; ++i)
    {
        if (!(hull.mFaces[i].mFlags & E::kTemp))
            width = std::max(width, int(hull.mFaces[i].mNum));
    }
    for (int i = 0; i < hull.mNumVerts; ++i)
    {
        if (!(hull.mVerts[i].mFlags & E::kTemp))
            width = std::max(width, int(hull.mVerts[i].mNum));
    }
    return width;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Found axes

bool FoundAxisList::Listed(const Vec3D& dir) const
{
    for (const FoundAxis* a = mFirst; a; a = a->next)
    {
        if (Vec3Equal(a->mDir, dir, kTol) || Vec3EqualNeg(a->mDir, dir, kTol))
            return true;
    }
    return false;
}

void FoundAxisList::Add(int order, const Vec3D& dir)
{
    auto* axis = new (std::nothrow) FoundAxis;
    if (!axis)
        return;
    axis->mOrder = order;
    axis->mDir = dir;
    FoundAxis* before = mFirst;
    while (before && before->mOrder > order)
        before = before->next;
    ListInsertBefore(before, axis, mFirst, mLast);
}

int FoundAxisList::Count() const
{
    int n = 0;
    for (const FoundAxis* a = mFirst; a; a = a->next)
        ++n;
    return n;
}

// ---------------------------------------------------------------------------------------------
// The group and the turn onto it

std::unique_ptr<SymGroup> AlignSymmetries(SimplePoly& model, SimplePoly& hull, const FoundAxisList& found)
{
    if (!found.mFirst)
    {
        model.ResetTypeIds();
        return SymGroup::Create(SymGroup::kNoSymmetry);
    }
    const FoundAxis* first = found.mFirst;
    const int n = first->mOrder;
    int a = 0;
    const FoundAxis* lower = first;
    while (lower && lower->mOrder == n)
    {
        ++a;
        lower = lower->next;
    }

    std::unique_ptr<SymGroup> group;
    const FoundAxis* second = nullptr;
    if (n < 3 || a < 2)
    {
        if (lower || a == 3)
        {
            group = SymGroup::Create(SymGroup::kDihedral, n);
            second = first->next;
        }
        else
            group = SymGroup::Create(SymGroup::kPyramidal, n);
    }
    else
    {
        switch (n)
        {
        case 5:
            group = SymGroup::Create(SymGroup::kIcosahedral);
            break;
        case 4:
            group = SymGroup::Create(SymGroup::kOctahedral);
            break;
        case 3:
            group = SymGroup::Create(SymGroup::kTetrahedral);
            break;
        default:
            InternalError("Symmetry group has %d axes with %d rots", a, n);
            return nullptr;
        }
        second = lower;
    }
    if (!group)
        return nullptr;

    // The found axes must add up to the group's classes.
    const FoundAxis* node = found.mFirst;
    for (int s = 0; s < group->mNumAxisSets;)
    {
        const SymAxisSet& set = group->mAxisSets[s];
        if (set.mSkip)
        {
            ++s;
            continue;
        }
        int total = set.mNumAxes;
        int t = s + 1;
        while (t < group->mNumAxisSets && group->mAxisSets[t].mOrder == set.mOrder && !group->mAxisSets[t].mSkip)
            total += group->mAxisSets[t++].mNumAxes;
        while (node && node->mOrder == set.mOrder)
        {
            --total;
            node = node->next;
        }
        if (total != 0)
        {
            InternalError("Failed to find symmetry group.\nResorting to no symmetry.");
            model.ResetTypeIds();
            return SymGroup::Create(SymGroup::kNoSymmetry);
        }
        s = t;
    }

    const Vec3D g1 = group->mAxisSets[0].mAxes[0].mDir;
    Vec3D m = first->mDir;
    Vec3D g2, a2;
    bool matched = false;
    if (second)
    {
        const double c = Vec3Dot(m, second->mDir);
        for (int s = 0; s < group->mNumAxisSets && !matched; ++s)
        {
            const SymAxisSet& set = group->mAxisSets[s];
            if (set.mOrder != second->mOrder)
                continue;
            for (int i = 0; i < set.mNumAxes && !matched; ++i)
            {
                const Vec3D& dir = set.mAxes[i].mDir;
                const double d = Vec3Dot(g1, dir);
                if (WithinTol(c, d, kTol))
                {
                    g2 = dir;
                    matched = true;
                }
                else if (WithinTol(c, -d, kTol))
                {
                    Vec3Neg(g2, dir);
                    matched = true;
                }
            }
        }
        if (matched)
            a2 = second->mDir;
        else
            InternalError("Couldn't find matching axes");
    }
    if (!matched)
    {
        g2 = {0, 0, 1};
        OrientMainAxis(model, m);
        a2 = ReferenceAcross(model, m);
    }

    // The turn carrying m onto g1 and a2's part across m onto g2's part across g1.
    Vec3D u, w, v, x;
    Vec3Cross(u, g1, g2);
    Vec3Normalize(u);
    Vec3Cross(w, g1, u);
    Vec3Cross(v, m, a2);
    Vec3Normalize(v);
    Vec3Cross(x, m, v);
    Mat3 turn;
    for (int row = 0; row < 3; ++row)
    {
        for (int col = 0; col < 3; ++col)
            turn.At(row, col) = g1[row] * m[col] + u[row] * v[col] + w[row] * x[col];
    }
    if (IsGroupRotation(*group, turn))
        return group;
    if (model.mFlags & SimplePoly::kKeepOrientation)
    {
        Mat3 back;
        back.SetTranspose(turn);
        group->Rotate(back);
    }
    else
    {
        model.Rotate(turn);
        hull.Rotate(turn);
    }
    return group;
}

// ---------------------------------------------------------------------------------------------
// Detection

SymmetryDetection::SymmetryDetection(SimplePoly& model) : mModel(model)
{
}

SymmetryDetection::~SymmetryDetection() = default;

bool SymmetryDetection::Prepare()
{
    if (!(mModel.mFlags & SimplePoly::kSortedFaceLists))
    {
        {
            TraceGuard trace("CreateVertexFaceLists");
            mModel.CreateVertexFaceLists(false);
        }
        TraceGuard trace("MergeCoincidentVerts");
        MergeCoincidentVerts(mModel);
    }
    else
    {
        TraceGuard trace("LinkCoincidentVerts");
        LinkCoincidentVerts(mModel);
    }

    if (!(mModel.mFlags & SimplePoly::kKeepCentre))
        mModel.Centralise();
    const double r = mModel.GetRadius();
    if (r > kTol && !(mModel.mFlags & SimplePoly::kKeepRadius))
    {
        mModel.Scale(1.0 / r);
        if ((mModel.mFlags & SimplePoly::kKeepRealSize) && !(kRatioLow <= r && r <= kRatioHigh))
            mModel.mScale *= r;
    }
    {
        TraceGuard trace("SetNormals");
        mModel.SetNormals(true);
    }
    {
        TraceGuard trace("CreateConvexHull");
        mHull = CreateConvexHull(&mModel, kHullMarkingMode);
    }
    if (!mHull)
        return false;
    {
        TraceGuard trace("SimpleSortVertFaces");
        if (!SimpleSortVertFaces(*mHull))
        {
            InternalError("Couldn't sort faces around vertices for convex hull");
            mHull.reset();
            return false;
        }
    }
    mModel.ResetTypeIds();
    mTester = std::make_unique<RotationAxisTester>(mModel, MaxHullWidth(*mHull));
    return true;
}

int SymmetryDetection::FindFaceAxes()
{
    TraceGuard trace("Find face axes");
    int added = 0;
    for (int i = 0; mHull && i < mHull->mNumFaces; ++i)
    {
        const SimpleFace& f = mHull->mFaces[i];
        if ((f.mFlags & E::kTemp) || f.mNum < 3)
            continue;
        const Vec3D& n = f.mNormal;
        if (!Vec3Parallel(f.GetVertexSum(), n, kTol) || mFound.Listed(n))
            continue;
        // The highest order first; no lower one once an order holds.
        for (int k = f.mNum; k >= 2; --k)
        {
            if (f.mNum % k == 0 && mTester->TestAxisAndCombineSameTypes(&f, nullptr, -1, n, f.mNum, k))
            {
                mFound.Add(k, n);
                ++added;
                break;
            }
        }
    }
    return added;
}

int SymmetryDetection::FindVertexAxes()
{
    TraceGuard trace("Find vertex axes");
    int added = 0;
    for (int i = 0; mHull && i < mHull->mNumVerts; ++i)
    {
        const SimpleVert& v = mHull->mVerts[i];
        if ((v.mFlags & E::kTemp) || v.mNum < 2)
            continue;
        Vec3D sum;
        for (int k = 0; k < v.mNum; ++k)
            Vec3AddTo(sum, v.GetFace(k)->mNormal);
        if (!Vec3Parallel(sum, v.mPos, kTol))
            continue;
        Vec3D axis = v.mPos;
        if (!Vec3Normalize(axis) || mFound.Listed(axis))
            continue;
        for (int k = v.mNum; k >= 2; --k)
        {
            if (v.mNum % k == 0 && mTester->TestAxisAndCombineSameTypes(nullptr, &v, -1, axis, v.mNum, k))
            {
                mFound.Add(k, axis);
                ++added;
                break;
            }
        }
    }
    return added;
}

int SymmetryDetection::FindEdgeAxes()
{
    TraceGuard trace("Find edge axes");
    int added = 0;
    for (int i = 0; mHull && i < mHull->mNumFaces; ++i)
    {
        const SimpleFace& f = mHull->mFaces[i];
        if ((f.mFlags & E::kTemp) || f.mNum < 3)
            continue;
        for (int e = 0; e < f.mNum; ++e)
        {
            const SimpleFace* g = GetAdjFace(&f, e);
            if (!g || g->GetIndex() < i)
                continue;
            Vec3D mid, a;
            Vec3Midpoint(mid, f.GetVert(e)->mPos, f.GetVert((e + 1) % f.mNum)->mPos);
            Vec3Midpoint(a, f.mNormal, g->mNormal);
            if (!Vec3Parallel(mid, a, kTol))
                continue;
            Vec3D axis = a;
            if (!Vec3Normalize(axis) || mFound.Listed(axis))
                continue;
            if (mTester->TestAxisAndCombineSameTypes(&f, f.GetVert(e), e, axis, 2, 2))
            {
                mFound.Add(2, axis);
                ++added;
            }
        }
    }
    return added;
}

std::unique_ptr<SymGroup> SymmetryDetection::Finish(bool& reflectionFound)
{
    reflectionFound = false;
    if (!mHull)
        return nullptr;
    std::unique_ptr<SymGroup> group;
    {
        TraceGuard trace("AlignSymmetries");
        group = AlignSymmetries(mModel, *mHull, mFound);
    }
    if (!group)
        return nullptr;
    SeparateCoincidentFaces(mModel, *group);
    {
        TraceGuard trace("FindReflections");
        reflectionFound = FindReflections(mModel, *group, *mHull);
    }
    mTester.reset();
    mHull.reset();
    {
        TraceGuard trace("SortVertFaces");
        if (!SortVertFaces(mModel, *group))
            return nullptr;
    }
    TraceGuard trace("Fix hemi faces");
    if (!FixHemiFaces(mModel))
        return nullptr;
    return group;
}

bool FixHemiFaces(SimplePoly& model)
{
    for (;;)
    {
        int resolved = 0, unresolved = 0;
        for (int i = 0; i < model.mNumFaces; ++i)
        {
            SimpleFace* o = &model.mFaces[i];
            if (!(o->mFlags & E::kPlaneThroughCentre) || o->mNextOfType == o || (o->mFlags & (E::kTemp | kOriented)) ||
                o->mNum < 1)
                continue;
            const SimpleFace* adj = GetAdjFace(o, 0);
            if (!adj)
                return false;
            int reference = adj->mId;
            bool decided = false;
            for (int j = 0; j < o->mNum && !decided; ++j)
            {
                const SimpleFace* p = GetAdjFace(o, j);
                if (p && std::fabs(Vec3Dot(p->mNormal, o->mNormal)) > kTol &&
                    (!(p->mFlags & E::kPlaneThroughCentre) || (p->mFlags & kOriented)))
                {
                    reference = p->mId;
                    decided = true;
                }
            }
            if (!decided)
            {
                ++unresolved;
                continue;
            }
            ++resolved;
            SimpleElem* e = o;
            do
            {
                SimpleFace* q = static_cast<SimpleFace*>(e);
                q->mFlags |= kOriented;
                for (int j = 0; j < q->mNum; ++j)
                {
                    const SimpleFace* r = GetAdjFace(q, j);
                    if (r && r->mId == reference)
                    {
                        if (Vec3Dot(r->mNormal, q->mNormal) > 0.0)
                            Vec3Negate(q->mNormal);
                        break;
                    }
                }
                e = e->mNextOfType;
            } while (e && e != o);
        }
        if (unresolved == 0 || resolved == 0)
            return true;
    }
}

std::unique_ptr<SymGroup> SimplePoly::FindSymmetries(bool& reflectionFound)
{
    ScopedWaitCursor wait;
    reflectionFound = false;
    SymmetryDetection detection(*this);
    if (!detection.Prepare())
        return nullptr;
    detection.FindFaceAxes();
    detection.FindVertexAxes();
    detection.FindEdgeAxes();
    return detection.Finish(reflectionFound);
}
