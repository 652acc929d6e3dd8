#include "model/FacePlacement.h"

#include "kernel/IntMath.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <memory>
#include <new>

void FacePlacementList::Delete(FacePlacement* placement)
{
    if (!placement)
        return;
    ListRemove(placement, mFirst, mLast);
    delete placement;
}

int FacePlacementList::Count() const
{
    int n = 0;
    for (const FacePlacement* p = mFirst; p; p = p->next)
        ++n;
    return n;
}

namespace
{
double MaxSqDistance(const Vec3D* points, int n, const Vec3D& from)
{
    double maxSq = 0.0;
    for (int i = 0; i < n; ++i)
    {
        Vec3D d;
        Vec3Sub(d, points[i], from);
        maxSq = std::max(maxSq, Vec3LengthSq(d));
    }
    return maxSq;
}

int Wrap(int i, int n)
{
    if (i < 0)
        return i + n;
    if (i >= n)
        return i - n;
    return i;
}
}  // namespace

std::unique_ptr<FacePlacementList> SimpleFace::FindPlacements(const PlacementTarget& target, uint32_t options) const
{
    const int n = mNum;
    if (n <= 2 || int(target.corners.size()) != n)
        return nullptr;
    std::vector<Vec3D> added(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
    {
        if (!GetVert(k))
            return nullptr;
        added[size_t(k)] = GetVert(k)->mPos;
    }
    const Vec3D* corners = target.corners.data();

    const Vec3D c = GetCentroid();
    Vec3D s;
    for (const Vec3D& p : target.corners)
        Vec3AddTo(s, p);
    Vec3Div(s, s, n);
    const double addedSq = MaxSqDistance(added.data(), n, c);
    const double targetSq = MaxSqDistance(corners, n, s);
    if (addedSq < kTol || targetSq < kTol)
        return nullptr;
    const double scale = std::sqrt(targetSq / addedSq);

    int u = 0;
    while (u < n && Vec3Equal(corners[u], s, kTol))
        ++u;
    if (u == n)
        return nullptr;
    Vec3D x;
    Vec3Sub(x, corners[u], s);
    Vec3Normalize(x);

    // The added model goes on the outer side unless one of the reversals says otherwise.
    const bool addedReversed = (mFlags & kReverseNorm) != 0;
    const bool fromOtherSide = (options & kPlaceFromOtherSide) != 0;
    const bool flip = (target.reversedNormal != fromOtherSide) != addedReversed;
    Vec3D normal = target.zAxis;
    if (!flip)
        Vec3Negate(normal);
    const bool mirrored = target.reversedNormal != addedReversed;

    Vec3D y, ax, ay, az;
    Vec3Cross(y, normal, x);
    Vec3Scale(ax, x, scale);
    Vec3Scale(ay, y, scale);
    Vec3Scale(az, normal, scale);
    Transform3D toTarget;
    toTarget.SetFrameToWorld(s, ax, ay, az);

    auto list = std::make_unique<FacePlacementList>();
    for (int d = 0; d < 2; ++d)
    {
        for (int m = 0; m < n; ++m)
        {
            Vec3D xs, ys;
            Vec3Sub(xs, added[size_t(m)], c);
            if (!Vec3Normalize(xs))
                continue;
            Vec3Cross(ys, mNormal, xs);
            Transform3D fromSource, map;
            fromSource.SetWorldToFrame(c, xs, ys, mNormal);
            Transform3D::Multiply(map, toTarget, fromSource);
            bool all = true;
            for (int l = 0; l < n && all; ++l)
            {
                const int from = d == 0 ? (m + l) % n : ((m - l) % n + n) % n;
                Vec3D image;
                map.Apply(image, added[size_t(from)]);
                all = Vec3Equal(image, corners[(u + l) % n], kTol);
            }
            if (!all)
                continue;
            auto* placement = new (std::nothrow) FacePlacement;
            if (!placement)
                return nullptr;
            placement->mStart = Wrap(d == 0 ? m - u : m + u, n);
            placement->mDirection = d;
            placement->mMirrored = mirrored;
            placement->mTransform = map;
            list->Append(placement);
        }
    }

    // Placements that repeat a kept one under a symmetry of either face go.
    int a = 1;
    if (mRots > 1 && Vec3Parallel(c, mNormal, kTol))
        a = mRots;
    int b = 1;
    if (target.typeRots > 1)
    {
        Vec3D foot;
        Vec3Scale(foot, target.zAxis, Vec3Dot(target.zAxis, s));
        if (Vec3Equal(foot, s, kTol))
            b = target.typeRots;
    }
    const int keep = std::max(1, int(list->Count() / Lcm(a, b)));
    FacePlacement* p = list->mFirst;
    for (int i = 0; i < keep && p; ++i)
        p = p->next;
    while (p)
    {
        FacePlacement* next = p->next;
        list->Delete(p);
        p = next;
    }
    if (!list->mFirst)
        return nullptr;
    return list;
}
