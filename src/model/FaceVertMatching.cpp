#include "model/FaceVert.h"

#include "kernel/Tolerance.h"
#include "model/ElemList.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "stellation/FaceType.h"

#include <vector>

namespace
{
bool IsInfinite(const FaceVert* e)
{
    return e && (e->mFlags & FaceVert::kHemi);
}

const FaceVert* CornerAt(const FaceVert* e, int i)
{
    const int n = e->mNumSides;
    return e->mNeighbours[((i % n) + n) % n];
}

bool HasAllCorners(const FaceVert* e)
{
    for (int i = 0; i < e->mNumSides; ++i)
        if (!e->mNeighbours[i])
            return false;
    return true;
}

// A corner at infinity is a direction: the opposite direction names the same point.
bool CornerPointMatches(const FaceVert* corner, const Vec3D& image)
{
    return Vec3Equal(corner->mPoint, image, kMatchTol) ||
           (IsInfinite(corner) && Vec3EqualNeg(corner->mPoint, image, kMatchTol));
}

// Corner positions, in model x and y along the polygon's own frame: x towards a chosen corner, z
// the element's axis.
struct PolygonFrame
{
    Vec3D origin, x, y;

    PolygonFrame(const Vec3D& centroid, const Vec3D& towards, const Vec3D& z, double scale) : origin(centroid)
    {
        Vec3Sub(x, towards, centroid);
        valid = Vec3Normalize(x);
        Vec3Cross(y, z, x);
        Vec3Scale(x, x, scale);
        Vec3Scale(y, y, scale);
    }

    bool valid = false;  // false: the corner sits on the centroid and gives no direction

    bool SameSpot(const Vec3D& p, const PolygonFrame& other, const Vec3D& q) const
    {
        Vec3D d, e;
        Vec3Sub(d, p, origin);
        Vec3Sub(e, q, other.origin);
        return WithinTol(Vec3Dot(x, d), Vec3Dot(other.x, e), kTol) &&
               WithinTol(Vec3Dot(y, d), Vec3Dot(other.y, e), kTol);
    }
};

// Corners 1.. of a against b's corners from start on, in the direction, by the test.
template <class Test>
bool CornersAgree(int n, int start, int direction, Test test)
{
    for (int j = 1; j < n; ++j)
        if (!test(j, ((start + direction * j) % n + n) % n))
            return false;
    return true;
}

void SetMatch(int* start, bool* reversed, int i, bool isReversed)
{
    if (start)
        *start = i;
    if (reversed)
        *reversed = isReversed;
}

// Corner i of the other element may stand for our corner 0 when first(i) holds; ordered matching
// then walks the corners both ways round, unordered matching only asks that every corner has a
// partner.
template <class First, class Matches>
bool FindCornerMatch(int n, First first, Matches matches, bool ordered, int* start, bool* reversed)
{
    for (int i = 0; i < n; ++i)
    {
        if (!first(i))
            continue;
        if (ordered)
        {
            for (int direction : {1, -1})
            {
                if (CornersAgree(n, i, direction, matches))
                {
                    SetMatch(start, reversed, i, direction < 0);
                    return true;
                }
            }
            continue;
        }
        bool all = true;
        for (int j = 1; j < n && all; ++j)
        {
            bool found = false;
            for (int k = 0; k < n && !found; ++k)
                found = matches(j, k);
            all = found;
        }
        if (all)
        {
            SetMatch(start, reversed, i, false);
            return true;
        }
    }
    return false;
}
}  // namespace

void FaceVert::CopyAxesFromRing()
{
    const FaceType* master = mFaceType ? mFaceType->mCoplanarSource : nullptr;
    if (!master)
        return;
    int limit = mList ? mList->mCount + 1 : 1;
    for (const FaceVert* e = mNextCoplanar; e && e != this && limit-- > 0; e = e->mNextCoplanar)
    {
        if (e->mFaceType != master)
            continue;
        mXAxis = e->mXAxis;
        mYAxis = e->mYAxis;
        mZAxis = e->mZAxis;
        return;
    }
}

bool FaceVert::IsCongruent(const FaceVert* other, bool allowScale) const
{
    if (!other)
        return false;
    if (other == this || (mFaceType && mFaceType == other->mFaceType))
        return true;
    const int n = mNumSides;
    if (other->mNumSides != n)
        return false;
    const double ra = GetRadiusFromCentroid();
    const double rb = other->GetRadiusFromCentroid();
    if (IsZeroTol(ra, kTol))
        return IsZeroTol(rb, kTol);
    if (IsZeroTol(rb, kTol) || !HasAllCorners(this) || !HasAllCorners(other))
        return false;
    double scale = 1.0;
    if (allowScale)
        scale = rb / ra;
    else if (!WithinTol(rb, ra, kTol))
        return false;

    const Vec3D& a0 = mNeighbours[0]->mPoint;
    const PolygonFrame mine(mCentroid, a0, mZAxis, scale);
    // Without a direction every corner would look alike: no congruence can be shown.
    if (!mine.valid)
        return false;
    Vec3D d;
    Vec3Sub(d, a0, mCentroid);
    const double target = scale * scale * Vec3LengthSq(d);
    for (int w = 0; w < n; ++w)
    {
        const Vec3D& bw = other->mNeighbours[w]->mPoint;
        Vec3Sub(d, bw, other->mCentroid);
        if (!WithinTol(Vec3LengthSq(d), target, kTol))
            continue;
        const PolygonFrame theirs(other->mCentroid, bw, other->mZAxis, 1.0);
        if (!theirs.valid)
            continue;
        for (int direction : {1, -1})
        {
            const bool agree = CornersAgree(n, w, direction, [&](int j, int k) {
                return mine.SameSpot(mNeighbours[j]->mPoint, theirs, other->mNeighbours[k]->mPoint);
            });
            if (agree)
                return true;
        }
    }
    return false;
}

bool FaceVert::MatchesTransformedPoint(const FaceVert* other, const Vec3D& point, const Vec3D& centre,
                                       const Mat3& m, bool ordered, int* start, bool* reversed) const
{
    const int n = mNumSides;
    if (!other || other->mNumSides != n || !Vec3Equal(other->mPoint, point, kMatchTol))
        return false;
    if (n <= 0)
        return true;
    if (!HasAllCorners(this) || !HasAllCorners(other))
        return false;
    std::vector<Vec3D> images(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        m.Transform(images[size_t(j)], mNeighbours[j]->mCentre);
    auto matches = [&](int j, int k) {
        const FaceVert* b = other->mNeighbours[k];
        return b->mNumSides == mNeighbours[j]->mNumSides && Vec3Equal(b->mCentre, images[size_t(j)], kMatchTol);
    };
    auto first = [&](int i) {
        const FaceVert* b = other->mNeighbours[i];
        return b->mNumSides == mNeighbours[0]->mNumSides && Vec3Equal(b->mCentre, centre, kMatchTol);
    };
    return FindCornerMatch(n, first, matches, ordered, start, reversed);
}

bool FaceVert::MatchesTransformed(const FaceVert* other, const Vec3D& centre, const Vec3D& axis, const Vec3D& corner,
                                  const Mat3& m, bool ordered, int* start, bool* reversed) const
{
    const int n = mNumSides;
    if (!other || other->mNumSides != n || !Vec3Equal(other->mCentre, centre, kMatchTol))
        return false;
    if (!Vec3Equal(other->mZAxis, axis, kMatchTol) && !Vec3EqualNeg(other->mZAxis, axis, kMatchTol))
        return false;
    if (n <= 0)
        return true;
    if (!HasAllCorners(this) || !HasAllCorners(other))
        return false;
    std::vector<Vec3D> images(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        m.Transform(images[size_t(j)], mNeighbours[j]->mPoint);
    auto matches = [&](int j, int k) {
        const FaceVert* b = other->mNeighbours[k];
        return b->mNumSides == mNeighbours[j]->mNumSides && CornerPointMatches(b, images[size_t(j)]);
    };
    auto first = [&](int i) {
        const FaceVert* b = other->mNeighbours[i];
        return b->mNumSides == mNeighbours[0]->mNumSides && CornerPointMatches(b, corner);
    };
    return FindCornerMatch(n, first, matches, ordered, start, reversed);
}

bool FaceVert::MatchesUnderTransform(const FaceVert* other, const Mat3& m) const
{
    Vec3D centre, axis, corner;
    m.Transform(centre, mCentre);
    m.Transform(axis, mZAxis);
    if (mNumSides > 0 && mNeighbours[0])
        m.Transform(corner, mNeighbours[0]->mPoint);
    return MatchesTransformed(other, centre, axis, corner, m, true, nullptr, nullptr);
}

int FaceVert::FindImageUnderSymmetry(const FaceVert* other, const Vec3D* centre, const Vec3D* axis,
                                     const Vec3D* corner, const SymGroup& group, int mirror, int& direction) const
{
    const int n = mNumSides;
    if (!other || other->mNumSides != n)
        return -1;
    Vec3D c, a, q;
    if (centre)
        c = *centre;
    else
        group.Reflect(c, mCentre, mirror);
    if (axis)
        a = *axis;
    else
        group.Reflect(a, mZAxis, mirror);
    if (corner)
        q = *corner;
    else if (n > 0 && mNeighbours[0])
        group.Reflect(q, mNeighbours[0]->mPoint, mirror);
    if (!Vec3Equal(other->mCentre, c, kMatchTol) ||
        (!Vec3Equal(other->mZAxis, a, kMatchTol) && !Vec3EqualNeg(other->mZAxis, a, kMatchTol)))
        return -1;
    if (n == 0)
    {
        direction = 1;
        return 0;
    }
    if (!HasAllCorners(this) || !HasAllCorners(other))
        return -1;
    std::vector<Vec3D> images(static_cast<size_t>(n));
    for (int j = 0; j < n; ++j)
        group.Reflect(images[size_t(j)], mNeighbours[j]->mPoint, mirror);
    for (int w = 0; w < n; ++w)
    {
        if (!CornerPointMatches(other->mNeighbours[w], q))
            continue;
        for (int dir : {1, -1})
        {
            const bool agree = CornersAgree(n, w, dir, [&](int j, int k) {
                return CornerPointMatches(other->mNeighbours[k], images[size_t(j)]);
            });
            if (agree)
            {
                direction = dir;
                return w;
            }
        }
    }
    return -1;
}

const Vec3D* FaceVert::FindHalfTurnAxis() const
{
    if (!(mFlags & kHemi) || !mPoly || !mPoly->mGroup)
        return nullptr;
    const SymGroup& group = *mPoly->mGroup;
    for (int s = 0; s < group.mNumAxisSets; ++s)
    {
        const SymAxisSet& set = group.mAxisSets[s];
        if (set.mOrder <= 0 || set.mOrder % 2 != 0)
            continue;
        for (int k = 0; k < set.mNumAxes; ++k)
        {
            const Vec3D& d = set.mAxes[k].mDir;
            if (!IsZeroTol(Vec3Dot(d, mZAxis), kTol))
                continue;
            Mat3 halfTurn;
            halfTurn.SetRotation(d, kPi);
            if (MatchesUnderTransform(this, halfTurn))
                return &d;
        }
    }
    return nullptr;
}

bool FaceVert::IsMirrorSymmetric(const Vec3D& normal) const
{
    const int n = mNumSides;
    if (Vec3IsZero(normal, kTol) || n <= 0 || !HasAllCorners(this))
        return false;
    Vec3D v = normal;
    if (!Vec3Normalize(v))
        return false;
    auto reflect = [&](const Vec3D& p) {
        Vec3D d, r;
        Vec3Sub(d, p, mCentroid);
        Vec3AddScaled(r, p, -2.0 * Vec3Dot(d, v), v);
        return r;
    };
    const Vec3D image0 = reflect(mNeighbours[0]->mPoint);
    for (int i = 0; i < n; ++i)
    {
        if (!Vec3Equal(mNeighbours[i]->mPoint, image0, kTol))
            continue;
        for (int direction : {-1, 1})
        {
            const bool agree = CornersAgree(n, i, direction, [&](int j, int k) {
                return Vec3Equal(reflect(mNeighbours[j]->mPoint), mNeighbours[k]->mPoint, kTol);
            });
            if (agree)
                return true;
        }
    }
    return false;
}

bool FaceVert::FindMirrorLine(Vec3D& normal) const
{
    if (!HasAllCorners(this))
        return false;
    for (int i = 0; i < mNumSides; ++i)
    {
        const Vec3D& p = mNeighbours[i]->mPoint;
        Vec3D mid, d, candidate;
        Vec3Midpoint(mid, p, CornerAt(this, i + 1)->mPoint);
        Vec3Sub(d, mid, mCentroid);
        Vec3Cross(candidate, d, mZAxis);
        if (IsMirrorSymmetric(candidate))
        {
            normal = candidate;
            return true;
        }
        Vec3Sub(d, p, mCentroid);
        Vec3Cross(candidate, d, mZAxis);
        if (IsMirrorSymmetric(candidate))
        {
            normal = candidate;
            return true;
        }
    }
    return false;
}

bool FaceVert::TraceOriginalEdge(std::vector<FaceVert*>& list, FaceVert* u, FaceVert* f, FaceVert* v, FaceVert* g)
{
    auto parallel = [](const FaceVert* a, const FaceVert* b) {
        return Vec3Equal(a->mZAxis, b->mZAxis, kTol) || Vec3EqualNeg(a->mZAxis, b->mZAxis, kTol);
    };
    list.push_back(v);
    if (!g || !f || !v || (!parallel(g, this) && !parallel(g, f)))
        return false;
    bool result = false;
    FaceVert* p = this;
    // A straight line passes each vertex once; the bound keeps bad data from walking round forever.
    int limit = mPoly ? mPoly->mVerts.mCount : 0;
    for (int a = FindNeighbour(v, p, -1); a >= 0 && limit-- > 0; a = FindNeighbour(v, p, -1))
    {
        const int n = v->mNumSides;
        int dir = 0;
        if (v->mNeighbours[(a + 1) % n] == g)
            dir = 1;
        else if (v->mNeighbours[(a + n - 1) % n] == g)
            dir = -1;
        else
            break;
        // Past the faces in p's plane to the first face of another plane.
        FaceVert* s = p;
        FaceVert* h = nullptr;
        for (int k = 1; k <= n; ++k)
        {
            FaceVert* e = v->mNeighbours[((a + dir * k) % n + n) % n];
            if (e == p)
                return result;
            if (!e || !parallel(e, p))
            {
                h = e;
                break;
            }
            s = e;
        }
        if (!h || !parallel(h, f))
            break;
        const int is = FindNeighbour(s, v, -1);
        const int ih = FindNeighbour(h, v, -1);
        if (is < 0 || ih < 0)
            break;
        FaceVert* w = CornerAt(s, is + 1) == u ? nullptr : const_cast<FaceVert*>(CornerAt(s, is + 1));
        if (!w || (CornerAt(h, ih + 1) != w && CornerAt(h, ih - 1) != w))
            w = const_cast<FaceVert*>(CornerAt(s, is - 1));
        if (!w)
            break;
        list.push_back(w);
        const int k = FindNeighbour(w, s, -1);
        if (k < 0)
            break;
        FaceVert* next = CornerAt(w, k + 1) == h ? const_cast<FaceVert*>(CornerAt(w, k - 1))
                                                  : const_cast<FaceVert*>(CornerAt(w, k + 1));
        result = true;
        p = s;
        u = v;
        v = w;
        f = h;
        g = next;
    }
    return result;
}
