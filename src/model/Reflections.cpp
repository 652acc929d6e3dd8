#include "model/Reflections.h"

#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "model/AxisTurn.h"
#include "model/SimpleAdjacency.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace
{
using E = SimpleElem;

constexpr double kHalfRoot2 = 0.7071067811865475;
constexpr double kThirdRoot3 = 0.5773502691896258;

SimpleFace* NextCoincident(SimpleFace* f)
{
    return f->mNextCoincident ? f->mNextCoincident : f;
}

SimpleFace* NextOfType(SimpleFace* f)
{
    return static_cast<SimpleFace*>(f->mNextOfType);
}

// Takes f out of the type ring it is in, leaving it a ring of its own. The walk for f's
// predecessor starts at start (f itself will do); false when it comes back without meeting f.
bool UnlinkFromTypeRing(SimpleFace* start, SimpleFace* f)
{
    SimpleElem* e = start;
    while (e->mNextOfType != f)
    {
        e = e->mNextOfType;
        if (e == start || !e)
            return false;
    }
    e->mNextOfType = f->mNextOfType;
    f->mNextOfType = f;
    return true;
}

// The angle that turns unit v onto unit k about g, accurate near 0 and pi.
double AngleAbout(const Vec3D& v, const Vec3D& k, const Vec3D& g)
{
    Vec3D d, c;
    double angle;
    if (Vec3Dot(v, k) >= 0.0)
    {
        Vec3Sub(d, k, v);
        angle = 2.0 * std::asin(std::min(Vec3Length(d) / 2.0, 1.0));
    }
    else
    {
        Vec3Add(d, v, k);
        angle = kPi - 2.0 * std::asin(std::min(Vec3Length(d) / 2.0, 1.0));
    }
    Vec3Cross(c, v, k);
    return Vec3Dot(c, g) < 0.0 ? -angle : angle;
}

void TurnModel(SimplePoly& model, SimplePoly& hull, const Mat3& m)
{
    model.Rotate(m);
    hull.Rotate(m);
}

// Finds whether candidate reflections map the model onto itself. One vertex of each type is
// tested; images are found by binary search in the vertices sorted by position.
class ReflectionTester
{
public:
    ReflectionTester(SimplePoly& model, SymGroup& group) : mGroup(group)
    {
        for (int i = 0; i < model.mNumVerts; ++i)
        {
            if (!(model.mVerts[i].mFlags & E::kTemp))
                mSorted.push_back(&model.mVerts[i]);
        }
        // A tolerant order need not be transitive; a merge sort never leaves the array for it.
        std::stable_sort(mSorted.begin(), mSorted.end(), [](const SimpleVert* a, const SimpleVert* b) {
            const int c = ComparePosition(a->mPos, b->mPos);
            return c != 0 ? c < 0 : a->GetIndex() < b->GetIndex();
        });
    }

    bool Test(int kind, const Vec3D& vector)
    {
        Mat3 m;
        if (!mGroup.GetReflectionMatrix(m, kind, &vector))
            return false;
        bool ok = true;
        for (SimpleVert* r : mSorted)
        {
            if (r->mFlags & (E::kDone | E::kTemp))
                continue;
            if (!Maps(*r, m))
            {
                ok = false;
                break;
            }
            SimpleElem* t = r;
            do
            {
                SimpleVert* c = static_cast<SimpleVert*>(t);
                do
                {
                    if (!(c->mFlags & E::kDone))
                    {
                        c->mFlags |= E::kDone;
                        mMarked.push_back(c);
                    }
                    c = c->mNextCoincident;
                } while (c && c != t);
                t = t->mNextOfType;
            } while (t && t != r);
        }
        // Only what this test marked: a candidate that fails at once costs next to nothing.
        for (SimpleVert* v : mMarked)
            v->mFlags &= ~E::kDone;
        mMarked.clear();
        if (ok)
            mGroup.SetReflectionKind(kind);
        return ok;
    }

private:
    SimpleVert* Find(const Vec3D& p) const
    {
        size_t lo = 0, hi = mSorted.size();
        while (lo < hi)
        {
            const size_t mid = (lo + hi) / 2;
            const int c = ComparePosition(p, mSorted[mid]->mPos);
            if (c == 0)
                return mSorted[mid];
            if (c < 0)
                hi = mid;
            else
                lo = mid + 1;
        }
        return nullptr;
    }

    static int RingFaces(const SimpleVert* v)
    {
        int n = 0;
        const SimpleVert* c = v;
        do
        {
            n += c->mNum;
            c = c->mNextCoincident;
        } while (c && c != v);
        return n;
    }

    // Whether m carries every face around r (and the vertices in its place) onto a face around the
    // vertex at r's image.
    bool Maps(const SimpleVert& r, const Mat3& m) const
    {
        Vec3D image;
        m.Transform(image, r.mPos);
        const SimpleVert* f = Find(image);
        if (!f || RingFaces(&r) != RingFaces(f))
            return false;
        const SimpleVert* v = &r;
        do
        {
            for (int i = 0; i < v->mNum; ++i)
            {
                const SimpleFace* d = v->GetFace(i);
                if (d && !HasImage(*d, *v, *f, m))
                    return false;
            }
            v = v->mNextCoincident;
        } while (v && v != &r);
        return true;
    }

    static bool HasImage(const SimpleFace& d, const SimpleVert& v, const SimpleVert& f, const Mat3& m)
    {
        const int at = d.IndexInList(&v, -1);
        if (at < 0)
            return false;
        const int n = d.mNum;
        Vec3D centroid, after, before;
        m.Transform(centroid, d.GetCentroid());
        m.Transform(after, d.GetVert((at + 1) % n)->mPos);
        m.Transform(before, d.GetVert((at + n - 1) % n)->mPos);
        const SimpleVert* c = &f;
        do
        {
            for (int i = 0; i < c->mNum; ++i)
            {
                const SimpleFace* e = c->GetFace(i);
                if (!e || e->mNum != n || !Vec3Equal(e->GetCentroid(), centroid, kTol))
                    continue;
                for (int o = e->IndexInList(c, -1); o >= 0; o = e->IndexInList(c, o))
                {
                    const Vec3D& a = e->GetVert((o + 1) % n)->mPos;
                    const Vec3D& b = e->GetVert((o + n - 1) % n)->mPos;
                    if ((Vec3Equal(after, a, kTol) || Vec3Equal(after, b, kTol)) &&
                        (Vec3Equal(before, a, kTol) || Vec3Equal(before, b, kTol)))
                        return true;
                }
            }
            c = c->mNextCoincident;
        } while (c && c != &f);
        return false;
    }

    SymGroup& mGroup;
    std::vector<SimpleVert*> mSorted;
    std::vector<SimpleVert*> mMarked;
};

// A unit normal from v; false when v has no direction.
bool UnitOf(const Vec3D& v, Vec3D& out)
{
    if (Vec3IsZero(v, kTol))
        return false;
    out = v;
    return Vec3Normalize(out);
}

bool FindDihedralReflection(SimplePoly& model, SymGroup& group, SimplePoly& hull, ReflectionTester& tester)
{
    const int n = group.mAxisSets[0].mOrder;
    const Vec3D a0 = group.mAxisSets[0].mAxes[0].mDir;
    const Vec3D a1 = group.mAxisSets[1].mAxes[0].mDir;
    const Vec3D a2 = group.mAxisSets[2].mAxes[0].mDir;
    if (tester.Test(SymGroup::kHorizontal, a0))
        return true;
    Vec3D v = a1;
    if (n % 2 == 0)
    {
        Vec3Add(v, a1, a2);
        Vec3Normalize(v);
    }
    if (tester.Test(SymGroup::kVertical, v))
        return true;
    if (n != 2)
        return false;

    // D2 with mirrors bisecting two of its axes: the third axis, lying in the mirrors, is the
    // fourfold rotation-reflection axis and becomes the main axis by a third of a turn.
    Vec3D g;
    Vec3Add(g, a0, a1);
    Vec3AddTo(g, a2);
    Vec3Scale(g, g, kThirdRoot3);
    Vec3Normalize(g);
    int sense = 0;
    Vec3D candidate;
    Vec3Add(candidate, a0, a2);
    Vec3Scale(candidate, candidate, kHalfRoot2);
    if (tester.Test(SymGroup::kVertical, candidate))
        sense = 1;  // the model's a1 goes onto a0
    else
    {
        Vec3Add(candidate, a0, a1);
        Vec3Scale(candidate, candidate, kHalfRoot2);
        if (tester.Test(SymGroup::kVertical, candidate))
            sense = -1;  // the model's a2 goes onto a0
    }
    if (sense == 0)
        return false;
    Mat3 turn;
    if (model.mFlags & SimplePoly::kKeepOrientation)
    {
        SetAxisTurnExact(turn, g, sense, 3);
        group.Rotate(turn);
    }
    else
    {
        SetAxisTurnExact(turn, g, -sense, 3);
        TurnModel(model, hull, turn);
    }
    return true;
}

bool FindPyramidalReflection(SimplePoly& model, SymGroup& group, SimplePoly& hull, ReflectionTester& tester)
{
    Vec3D g = group.mAxisSets[0].mAxes[0].mDir;
    Vec3Normalize(g);
    {
        TraceGuard trace("Test Horiz & Rot-Refl");
        if (tester.Test(SymGroup::kHorizontal, g) || tester.Test(SymGroup::kRotationReflection, g))
            return true;
    }
    Vec3D v;
    bool found = false;
    {
        TraceGuard trace("Test using faces");
        for (int i = 0; i < hull.mNumFaces && !found; ++i)
        {
            const SimpleFace& f = hull.mFaces[i];
            if (f.mFlags & E::kTemp)
                continue;
            Vec3D c;
            Vec3Cross(c, g, f.mNormal);
            found = UnitOf(c, v) && tester.Test(SymGroup::kVertical, v);
        }
    }
    if (!found)
    {
        TraceGuard trace("Test using verts");
        for (int i = 0; i < hull.mNumVerts && !found; ++i)
        {
            const SimpleVert& p = hull.mVerts[i];
            if (p.mFlags & E::kTemp)
                continue;
            Vec3D c;
            Vec3Cross(c, g, p.mPos);
            found = UnitOf(c, v) && tester.Test(SymGroup::kVertical, v);
        }
    }
    if (!found)
        return false;

    TraceGuard trace("Align to symmetry");
    if (group.mMirrors.count <= 0)
        return true;
    const double angle = AngleAbout(v, group.mMirrors[0].mDir, g);
    Mat3 turn;
    if (model.mFlags & SimplePoly::kKeepOrientation)
    {
        SetAxisTurn(turn, g, -angle);
        group.Rotate(turn);
    }
    else
    {
        SetAxisTurn(turn, g, angle);
        TurnModel(model, hull, turn);
    }
    return true;
}

// Without rotation axes the candidate mirrors pass through the centre and a hull vertex: through
// one of its neighbours or the midpoint of two, or bisecting it and a neighbour.
bool FindLoneReflection(SimplePoly& model, SimplePoly& hull, ReflectionTester& tester, Vec3D& last, bool& broken)
{
    {
        TraceGuard trace("Test inversion");
        if (tester.Test(SymGroup::kCentralInversion, Vec3D()))
            return true;
    }
    CopyVertTypesToHull(model, hull);
    TraceGuard trace("For loop");
    bool found = false;
    auto test = [&](const Vec3D& normal) {
        Vec3D unit;
        if (!UnitOf(normal, unit))
            return false;
        last = unit;
        return tester.Test(SymGroup::kHorizontal, unit);
    };
    for (int ii = 0; ii < hull.mNumVerts && !found; ++ii)
    {
        SimpleVert* v = &hull.mVerts[ii];
        if (v->mFlags & (E::kDone | E::kTemp))
            continue;
        const int c = v->mNum;
        const int h = (c + 1) / 2;
        SimpleVert* j = GetAdjVert(v, 0);
        for (int i = 0; i < h && !found && j; ++i)
        {
            Vec3D normal;
            if (j->GetIndex() > ii)
            {
                Vec3Cross(normal, v->mPos, j->mPos);
                if ((found = test(normal)))
                    break;
            }
            if (i == h - 1 && c % 2 == 1)
                break;
            SimpleVert* next = GetAdjVert(v, i + 1);
            if (!next)
            {
                DebugTrace("v %d ->GetAdjVert(%d) returned NULL\n", ii, i + 1);
                DebugTrace("FindReflections failed\n");
                hull.ClearVertFlags(E::kDone);
                broken = true;
                return false;
            }
            Vec3D mid;
            Vec3Midpoint(mid, j->mPos, next->mPos);
            Vec3Cross(normal, v->mPos, mid);
            found = test(normal);
            j = next;
        }
        for (int k = 0; k < c && !found; ++k)
        {
            const SimpleVert* w = GetAdjVert(v, k);
            if (!w || w->GetIndex() < ii)
                continue;
            Vec3D mid, d;
            Vec3Midpoint(mid, v->mPos, w->mPos);
            Vec3Sub(d, w->mPos, v->mPos);
            if (IsZeroTol(Vec3Dot(mid, d), kTol))
                found = test(d);
        }
        SimpleElem* t = v;
        do
        {
            t->mFlags |= E::kDone;
            t = t->mNextOfType;
        } while (t && t != v);
    }
    hull.ClearVertFlags(E::kDone);
    return found;
}
}  // namespace

int ComparePosition(const Vec3D& a, const Vec3D& b)
{
    return Vec3Compare(a, b, kTol);
}

void SeparateCoincidentFaces(SimplePoly& model, SymGroup& group)
{
    if (group.mKind == SymGroup::kNoSymmetry)
        return;
    int first = 0;
    while (first < model.mNumFaces && NextCoincident(&model.mFaces[first]) == &model.mFaces[first])
        ++first;
    if (first == model.mNumFaces)
        return;

    // Halves of stacks through the centre.
    for (int i = first; i < model.mNumFaces; ++i)
    {
        SimpleFace* p = &model.mFaces[i];
        if (NextCoincident(p) == p || (p->mFlags & (E::kDone | E::kTemp)) || !(p->mFlags & E::kPlaneThroughCentre))
            continue;
        const Vec3D centroid = p->GetCentroid();
        if (!group.FindPerpendicularAxis(p->mNormal, &centroid))
            continue;
        const int f = p->CountCoincident();
        SimpleFace* r = p;
        for (int s = 0; s < f / 2; ++s)
            r = NextCoincident(r);
        std::swap(p->mNextCoincident, r->mNextCoincident);
        for (SimpleFace* q = NextCoincident(p); q != p; q = NextCoincident(q))
        {
            q->mFlags |= E::kDone;
            if (Vec3Dot(q->mNormal, p->mNormal) <= 0.0)
                Vec3Negate(q->mNormal);
        }
        SimpleFace* q = r;
        do
        {
            q->mFlags |= E::kDone;
            if (Vec3Dot(q->mNormal, p->mNormal) > 0.0)
                Vec3Negate(q->mNormal);
            q = NextCoincident(q);
        } while (q != r);
    }
    model.ClearFaceFlags(E::kDone);

    // Each layer of a stack: one type with the faces of its colour in the image stacks.
    bool countReported = false;
    for (int i = first; i < model.mNumFaces; ++i)
    {
        SimpleFace* p = &model.mFaces[i];
        if (NextCoincident(p) == p || (p->mFlags & (E::kDone | E::kTemp)))
            continue;
        const int f = p->CountCoincident();
        SimpleFace* q = p;
        do
        {
            q->mFlags |= E::kDone;
            q->mId = q->GetIndex();
            if (q != p && !UnlinkFromTypeRing(p, q))
                InternalError("SeparateCoincidentFaces: bad loop:\nf %d, cf %d\n", p->GetIndex(), q->GetIndex());
            q = NextCoincident(q);
        } while (q != p);

        SimpleFace* previous = p;
        SimpleFace* r = NextOfType(p);
        while (r != p)
        {
            if (r->mFlags & (E::kDone | E::kTemp))
            {
                previous = r;
                r = NextOfType(r);
                continue;
            }
            if (r->CountCoincident() != f && !countReported)
            {
                InternalError("SeparateCoincidentFaces: Coinc count wrong");
                countReported = true;
            }
            bool rLeft = false;
            SimpleFace* from = r;  // where the next search of r's stack starts
            SimpleFace* p2 = p;
            do
            {
                SimpleFace* s = nullptr;
                SimpleFace* anyFree = nullptr;
                SimpleFace* c = from;
                do
                {
                    if (!(c->mFlags & E::kDone))
                    {
                        if (!anyFree)
                            anyFree = c;
                        if (c->mColor == p2->mColor)
                        {
                            s = c;
                            break;
                        }
                    }
                    c = NextCoincident(c);
                } while (c != from);
                if (!s)
                    s = anyFree;
                if (s)
                {
                    s->mFlags |= E::kDone;
                    from = NextCoincident(s);
                    if (p2 == p)
                        s->mId = p->mId;
                    else
                    {
                        if (s == r)
                            rLeft = true;
                        UnlinkFromTypeRing(s, s);
                        MergeTypes(p2, s);
                    }
                }
                p2 = NextCoincident(p2);
            } while (p2 != p);
            if (rLeft)
                r = NextOfType(previous);
            else
            {
                previous = r;
                r = NextOfType(r);
            }
        }
    }
    model.ClearFaceFlags(E::kDone);
}

void CopyVertTypesToHull(SimplePoly& model, SimplePoly& hull)
{
    for (int i = 0; i < model.mNumVerts; ++i)
    {
        SimpleVert& p = model.mVerts[i];
        if (p.mFlags & (E::kDone | E::kTemp))
            continue;
        std::vector<SimpleVert*> ring;
        SimpleElem* t = &p;
        do
        {
            SimpleVert* c = static_cast<SimpleVert*>(t);
            do
            {
                c->mFlags |= E::kDone;
                const int index = c->GetIndex();
                if (index < hull.mNumVerts && !(hull.mVerts[index].mFlags & E::kTemp))
                    ring.push_back(&hull.mVerts[index]);
                c = c->mNextCoincident;
            } while (c && c != t);
            t = t->mNextOfType;
        } while (t && t != &p);
        for (size_t k = 0; k < ring.size(); ++k)
        {
            ring[k]->mId = p.mId;
            ring[k]->mNextOfType = ring[(k + 1) % ring.size()];
        }
    }
    model.ClearVertFlags(E::kDone);
}

void AlignModelWithNoSymmetry(SimplePoly& model, SimplePoly& hull, SymGroup& group, bool found, const Vec3D& mirror)
{
    Vec3D p;
    if (found && group.mReflection != SymGroup::kCentralInversion)
        p = mirror;
    else
    {
        double best = -1.0;
        for (int i = 0; i < hull.mNumFaces; ++i)
        {
            const SimpleFace& f = hull.mFaces[i];
            if (f.mFlags & E::kTemp)
                continue;
            const double length = Vec3LengthSq(f.GetVertexSum());
            if (length > best)
            {
                best = length;
                Vec3Neg(p, f.mNormal);
            }
        }
    }
    if (!Vec3Normalize(p))
        return;
    Vec3D r, e;
    e[Vec3MinAxis(p)] = 1.0;
    Vec3Cross(r, p, e);
    int most = 0;
    for (int i = 0; i < model.mNumFaces; ++i)
    {
        const SimpleFace& f = model.mFaces[i];
        if ((f.mFlags & E::kTemp) || f.mNum <= most)
            continue;
        const Vec3D c = f.GetVertexSum();
        if (Vec3Parallel(c, p, kTol))
            continue;
        most = f.mNum;
        r = c;
    }
    Vec3D l, w;
    Vec3AddScaled(l, r, -Vec3Dot(r, p), p);
    Vec3Normalize(l);
    Vec3Cross(w, p, l);
    Vec3Normalize(w);
    Mat3 m;
    m.SetRows(w, p, l);
    if (model.mFlags & SimplePoly::kKeepOrientation)
    {
        Mat3 back;
        back.SetTranspose(m);
        group.Rotate(back);
    }
    else
        TurnModel(model, hull, m);
}

bool FindReflections(SimplePoly& model, SymGroup& group, SimplePoly& hull)
{
    ReflectionTester tester(model, group);
    auto axisDir = [&](int set, int axis) { return group.mAxisSets[set].mAxes[axis].mDir; };
    switch (group.mKind)
    {
    case SymGroup::kIcosahedral:
        return tester.Test(SymGroup::kHorizontal, axisDir(2, 1));
    case SymGroup::kOctahedral:
        return tester.Test(SymGroup::kHorizontal, axisDir(0, 1));
    case SymGroup::kTetrahedral:
        return tester.Test(SymGroup::kHorizontal, axisDir(2, 1)) ||
               tester.Test(SymGroup::kDiagonal, group.mAxisSets[0].mAxes[1].mRef);
    case SymGroup::kDihedral:
    {
        TraceGuard trace("SYM_PRISM");
        return FindDihedralReflection(model, group, hull, tester);
    }
    case SymGroup::kPyramidal:
    {
        TraceGuard trace("SYM_PYRAMID");
        return FindPyramidalReflection(model, group, hull, tester);
    }
    case SymGroup::kNoSymmetry:
    {
        TraceGuard trace("SYM_NONE");
        Vec3D last;
        bool broken = false;
        const bool found = FindLoneReflection(model, hull, tester, last, broken);
        if (broken)
            return false;
        TraceGuard align("AlignModelWithNoSymmetry");
        AlignModelWithNoSymmetry(model, hull, group, found, last);
        return found;
    }
    default:
        return false;
    }
}
