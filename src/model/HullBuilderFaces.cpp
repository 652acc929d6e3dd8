#include "model/HullBuilder.h"

#include <algorithm>
#include <cmath>

namespace
{
int IndexOf(const int v[3], int vert)
{
    return v[0] == vert ? 0 : v[1] == vert ? 1 : 2;
}

}  // namespace

void HullBuilder::GrowRegions(double tol)
{
    const std::vector<Vec3D>& pts = *mPoints;
    const int numTris = int(mTris.size());
    mTriNormal.assign(numTris, Vec3D());
    mRegion.assign(numTris, -1);
    mRegionNormal.clear();

    // Seeds go largest first, since a large triangle knows its plane best; sorting by the binary
    // exponent of the area is enough for that and costs one pass.
    std::vector<int> exponent(numTris, 0);
    int minExp = 0, maxExp = 0;
    bool first = true;
    for (int t : mLive)
    {
        const Tri& tri = mTris[t];
        Vec3D ab, ac, n;
        Vec3Sub(ab, pts[tri.v[1]], pts[tri.v[0]]);
        Vec3Sub(ac, pts[tri.v[2]], pts[tri.v[0]]);
        Vec3Cross(n, ab, ac);
        const double len = Vec3Length(n);
        if (len > 0.0)
            Vec3Div(n, n, len);
        mTriNormal[t] = n;
        int e = 0;
        std::frexp(len, &e);
        exponent[t] = e;
        if (first || e < minExp)
            minExp = e;
        if (first || e > maxExp)
            maxExp = e;
        first = false;
    }
    std::vector<int> bucketStart(size_t(maxExp - minExp) + 2, 0);
    for (int t : mLive)
        ++bucketStart[size_t(maxExp - exponent[t]) + 1];
    for (size_t i = 1; i < bucketStart.size(); ++i)
        bucketStart[i] += bucketStart[i - 1];
    std::vector<int> order(mLive.size());
    for (int t : mLive)
        order[size_t(bucketStart[size_t(maxExp - exponent[t])]++)] = t;

    // A region takes every neighbouring triangle that faces the same way and lies within tol of the
    // seed's plane: measured against one fixed plane, a run of slightly bent triangles cannot creep
    // round a corner.
    std::vector<int> queue;
    for (int seed : order)
    {
        if (mRegion[seed] >= 0)
            continue;
        const int r = int(mRegionNormal.size());
        const Vec3D& n = mTriNormal[seed];
        mRegionNormal.push_back(n);
        const double offset = -Vec3Dot(n, pts[mTris[seed].v[0]]);
        mRegion[seed] = r;
        queue.assign(1, seed);
        for (size_t q = 0; q < queue.size(); ++q)
        {
            const Tri& tri = mTris[queue[q]];
            for (int i = 0; i < 3; ++i)
            {
                const int u = tri.adj[i];
                if (mRegion[u] >= 0 || Vec3Dot(mTriNormal[u], n) <= 0.0)
                    continue;
                const Tri& nb = mTris[u];
                const int far = nb.v[(IndexOf(nb.v, tri.v[i]) + 1) % 3];
                if (std::fabs(Vec3Dot(n, pts[far]) + offset) > tol)
                    continue;
                mRegion[u] = r;
                queue.push_back(u);
            }
        }
    }
}

bool HullBuilder::RegionIsDisc(int region, const std::vector<int>& tris)
{
    // The boundary edges, each from the vertex it starts at; a disc has one simple loop of them.
    std::vector<int>& edges = mBoundary;  // 3 * face + edge
    edges.clear();
    bool simple = true;
    for (int t : tris)
    {
        for (int i = 0; i < 3; ++i)
        {
            if (mRegion[mTris[t].adj[i]] == region)
                continue;
            const int from = mTris[t].v[i];
            if (mHorizonFrom[from] >= 0)
                simple = false;
            mHorizonFrom[from] = int(edges.size());
            edges.push_back(3 * t + i);
        }
    }
    if (simple && !edges.empty())
    {
        // Walk the loop, laying its corners down as the polygon's ring.
        const int firstCorner = int(mRing.size());
        int e = 0;
        int count = 0;
        do
        {
            const int t = edges[size_t(e)] / 3, i = edges[size_t(e)] % 3;
            mRing.push_back(Corner{mTris[t].v[i], int(mRing.size()) - 1, int(mRing.size()) + 1, region, t, i, false});
            ++count;
            e = mHorizonFrom[mTris[t].v[(i + 1) % 3]];
        } while (e > 0 && count <= int(edges.size()));
        simple = e == 0 && count == int(edges.size());
        if (simple)
        {
            mRing[firstCorner].prev = int(mRing.size()) - 1;
            mRing.back().next = firstCorner;
            mRegionFirst[region] = firstCorner;
            mRegionCount[region] = count;
        }
        else
            mRing.resize(firstCorner);
    }
    for (int packed : edges)
        mHorizonFrom[mTris[packed / 3].v[packed % 3]] = -1;
    return simple && !edges.empty();
}

bool HullBuilder::IsConvexCorner(int a, int b, int c, const Vec3D& normal, double tol) const
{
    // Convex, or reflex by no more than tol: the nearer of a and c lies within tol of the line of
    // the other side.
    const std::vector<Vec3D>& pts = *mPoints;
    Vec3D ab, bc, turn;
    Vec3Sub(ab, pts[b], pts[a]);
    Vec3Sub(bc, pts[c], pts[b]);
    Vec3Cross(turn, ab, bc);
    return Vec3Dot(turn, normal) >= -tol * std::sqrt(std::max(Vec3LengthSq(ab), Vec3LengthSq(bc)));
}

bool HullBuilder::RingIsConvex(int region, double tol) const
{
    const Vec3D& n = mRegionNormal[size_t(region)];
    const int first = mRegionFirst[size_t(region)];
    int c = first;
    do
    {
        const Corner& corner = mRing[size_t(c)];
        if (!IsConvexCorner(mRing[size_t(corner.prev)].vert, corner.vert, mRing[size_t(corner.next)].vert, n, tol))
            return false;
        c = corner.next;
    } while (c != first);
    return true;
}

int HullBuilder::AddCorner(int vert, int region, int tri, int edge)
{
    mRing.push_back(Corner{vert, -1, -1, region, tri, edge, false});
    mCornerOf[size_t(vert)] = int(mRing.size()) - 1;
    return int(mRing.size()) - 1;
}

void HullBuilder::UnlinkCorner(int corner)
{
    Corner& c = mRing[size_t(corner)];
    c.dead = true;
    mRing[size_t(c.prev)].next = c.next;
    mRing[size_t(c.next)].prev = c.prev;
    if (mRegionFirst[size_t(c.region)] == corner)
        mRegionFirst[size_t(c.region)] = c.next;
    --mRegionCount[size_t(c.region)];
    mCornerOf[size_t(c.vert)] = -1;
}

bool HullBuilder::TryAddTri(int corner, const Vec3D& normal, double offset, double tol, std::vector<int>& touched)
{
    const std::vector<Vec3D>& pts = *mPoints;
    const Corner cu = mRing[size_t(corner)];
    const int t = mTris[size_t(cu.tri)].adj[cu.edge];
    if (mRegion[size_t(t)] != -2 || Vec3Dot(mTriNormal[size_t(t)], normal) <= 0.0)
        return false;
    const int u = cu.vert, v = mRing[size_t(cu.next)].vert;
    const Tri& tri = mTris[size_t(t)];
    const int j = IndexOf(tri.v, v);  // tri runs v -> u -> w
    const int w = tri.v[(j + 2) % 3];
    if (std::fabs(Vec3Dot(normal, pts[size_t(w)]) + offset) > tol)
        return false;

    const int region = cu.region;
    const int cp = cu.prev, cv = cu.next;
    const int p = mRing[size_t(cp)].vert, q = mRing[size_t(mRing[size_t(cv)].next)].vert;
    const int at = mCornerOf[size_t(w)];
    if (at < 0)
    {
        // The ring bulges out to w: u -> w -> v.
        if (!IsConvexCorner(p, u, w, normal, tol) || !IsConvexCorner(u, w, v, normal, tol) ||
            !IsConvexCorner(w, v, q, normal, tol))
            return false;
        const int cw = AddCorner(w, region, t, (j + 2) % 3);
        mRing[size_t(corner)].tri = t;
        mRing[size_t(corner)].edge = (j + 1) % 3;
        mRing[size_t(cw)].prev = corner;
        mRing[size_t(cw)].next = cv;
        mRing[size_t(corner)].next = cw;
        mRing[size_t(cv)].prev = cw;
        ++mRegionCount[size_t(region)];
        touched.insert(touched.end(), {cp, corner, cw, cv});
    }
    else if (at == cp && mRegionCount[size_t(region)] > 3)
    {
        // The triangle fills the notch at u, which goes inside: w -> v.
        const int pp = mRing[size_t(mRing[size_t(cp)].prev)].vert;
        if (!IsConvexCorner(pp, w, v, normal, tol) || !IsConvexCorner(w, v, q, normal, tol))
            return false;
        mRing[size_t(cp)].tri = t;
        mRing[size_t(cp)].edge = (j + 2) % 3;
        UnlinkCorner(corner);
        touched.insert(touched.end(), {mRing[size_t(cp)].prev, cp, cv});
    }
    else if (at == mRing[size_t(cv)].next && mRegionCount[size_t(region)] > 3)
    {
        // The notch at v: u -> w.
        const int ww = mRing[size_t(mRing[size_t(at)].next)].vert;
        if (!IsConvexCorner(p, u, w, normal, tol) || !IsConvexCorner(u, w, ww, normal, tol))
            return false;
        mRing[size_t(corner)].tri = t;
        mRing[size_t(corner)].edge = (j + 1) % 3;
        UnlinkCorner(cv);
        touched.insert(touched.end(), {cp, corner, at});
    }
    else
        return false;  // w elsewhere on the ring: the region would pinch
    mRegion[size_t(t)] = region;
    return true;
}

void HullBuilder::RegrowConvex(int region, std::vector<int>& tris, double tol)
{
    // Greedy growth that keeps every ring simple and convex within tol: largest seeds first, each
    // region taking a neighbour only when the ring stays so; a neighbour refused once is tried again
    // when the ring beside it changes.
    const std::vector<Vec3D>& pts = *mPoints;
    auto area = [&](int t) {
        const Tri& tri = mTris[size_t(t)];
        Vec3D ab, ac, n;
        Vec3Sub(ab, pts[size_t(tri.v[1])], pts[size_t(tri.v[0])]);
        Vec3Sub(ac, pts[size_t(tri.v[2])], pts[size_t(tri.v[0])]);
        Vec3Cross(n, ab, ac);
        return Vec3LengthSq(n);
    };
    std::sort(tris.begin(), tris.end(), [&](int a, int b) { return area(a) > area(b); });
    for (int t : tris)
        mRegion[size_t(t)] = -2;

    std::vector<int> work, touched;
    bool first = true;
    for (int seed : tris)
    {
        if (mRegion[size_t(seed)] != -2)
            continue;
        int r = region;
        if (!first)
        {
            r = int(mRegionNormal.size());
            mRegionNormal.push_back(mTriNormal[size_t(seed)]);
            mRegionFirst.push_back(-1);
            mRegionCount.push_back(0);
        }
        else
            mRegionNormal[size_t(r)] = mTriNormal[size_t(seed)];
        first = false;
        mRegion[size_t(seed)] = r;
        const Vec3D n = mTriNormal[size_t(seed)];
        const double offset = -Vec3Dot(n, pts[size_t(mTris[size_t(seed)].v[0])]);
        int corners[3];
        for (int i = 0; i < 3; ++i)
            corners[i] = AddCorner(mTris[size_t(seed)].v[i], r, seed, i);
        for (int i = 0; i < 3; ++i)
        {
            mRing[size_t(corners[i])].next = corners[(i + 1) % 3];
            mRing[size_t(corners[i])].prev = corners[(i + 2) % 3];
        }
        mRegionFirst[size_t(r)] = corners[0];
        mRegionCount[size_t(r)] = 3;

        work.assign(corners, corners + 3);
        while (!work.empty())
        {
            const int c = work.back();
            work.pop_back();
            if (mRing[size_t(c)].dead)
                continue;
            touched.clear();
            if (TryAddTri(c, n, offset, tol, touched))
                work.insert(work.end(), touched.begin(), touched.end());
        }
        const int firstCorner = mRegionFirst[size_t(r)];
        int c = firstCorner;
        do
        {
            mCornerOf[size_t(mRing[size_t(c)].vert)] = -1;
            c = mRing[size_t(c)].next;
        } while (c != firstCorner);
    }
}

void HullBuilder::BuildPolygons(double tol)
{
    const int numRegions = int(mRegionNormal.size());
    std::vector<int> start(size_t(numRegions) + 1, 0);
    for (int t : mLive)
        ++start[size_t(mRegion[size_t(t)]) + 1];
    for (int r = 0; r < numRegions; ++r)
        start[size_t(r) + 1] += start[size_t(r)];
    std::vector<int> members(mLive.size());
    std::vector<int> fill(start.begin(), start.end() - 1);
    for (int t : mLive)
        members[size_t(fill[size_t(mRegion[size_t(t)])]++)] = t;

    mRing.clear();
    mRing.reserve(mLive.size() + 2);
    mRegionFirst.assign(size_t(numRegions), -1);
    mRegionCount.assign(size_t(numRegions), 0);
    mCornerOf.assign(mPoints->size(), -1);
    std::vector<int> tris;
    for (int r = 0; r < numRegions; ++r)
    {
        if (start[size_t(r) + 1] - start[size_t(r)] == 1)
        {
            // A lone triangle: its own corners, always a convex disc.
            const int t = members[size_t(start[size_t(r)])];
            const int first = int(mRing.size());
            for (int i = 0; i < 3; ++i)
                mRing.push_back(Corner{mTris[size_t(t)].v[i], first + (i + 2) % 3, first + (i + 1) % 3, r, t, i, false});
            mRegionFirst[size_t(r)] = first;
            mRegionCount[size_t(r)] = 3;
            continue;
        }
        tris.assign(members.begin() + start[size_t(r)], members.begin() + start[size_t(r) + 1]);
        const size_t ringStart = mRing.size();
        if (RegionIsDisc(r, tris) && RingIsConvex(r, tol))
            continue;
        // Only near-degenerate input gets here: a region that is no disc, or whose outline bends
        // inwards (its edge zigzags where the surface leaves the plane by about tol), is grown again
        // in pieces that stay convex.
        mRing.resize(ringStart);
        mRegionFirst[size_t(r)] = -1;
        mRegionCount[size_t(r)] = 0;
        RegrowConvex(r, tris, tol);
    }
}

void HullBuilder::RemoveStraightCorners(double tol)
{
    const std::vector<Vec3D>& pts = *mPoints;
    const int numPoints = int(pts.size());
    // The corners of each point.
    std::vector<int> start(size_t(numPoints) + 1, 0);
    for (const Corner& c : mRing)
    {
        if (!c.dead)
            ++start[size_t(c.vert) + 1];
    }
    for (int v = 0; v < numPoints; ++v)
        start[size_t(v) + 1] += start[size_t(v)];
    std::vector<int> cornersOf(size_t(start.back()));
    {
        std::vector<int> fill(start.begin(), start.end() - 1);
        for (int c = 0; c < int(mRing.size()); ++c)
        {
            if (!mRing[size_t(c)].dead)
                cornersOf[size_t(fill[size_t(mRing[size_t(c)].vert)]++)] = c;
        }
    }

    // A point that only two faces share lies on the edge between them; when it is also straight
    // between its neighbours, both faces drop it. Dropping one may straighten its neighbours.
    std::vector<int> queue;
    for (int v = 0; v < numPoints; ++v)
    {
        if (start[size_t(v) + 1] - start[size_t(v)] == 2)
            queue.push_back(v);
    }
    while (!queue.empty())
    {
        const int v = queue.back();
        queue.pop_back();
        if (start[size_t(v) + 1] - start[size_t(v)] != 2)
            continue;
        const int c1 = cornersOf[size_t(start[size_t(v)])], c2 = cornersOf[size_t(start[size_t(v)] + 1)];
        Corner& a = mRing[c1];
        Corner& b = mRing[c2];
        if (a.dead || b.dead)
            continue;
        const int u = mRing[a.prev].vert, w = mRing[a.next].vert;
        if (u == w || mRing[b.next].vert != u || mRing[b.prev].vert != w)
            continue;
        if (mRegionCount[a.region] <= 3 || mRegionCount[b.region] <= 3)
            continue;
        Vec3D uw, uv;
        Vec3Sub(uw, pts[w], pts[u]);
        Vec3Sub(uv, pts[v], pts[u]);
        const double lenSq = Vec3LengthSq(uw);
        const double along = Vec3Dot(uv, uw);
        if (!(lenSq > 0.0) || along <= 0.0 || along >= lenSq)
            continue;
        Vec3D off;
        Vec3Cross(off, uv, uw);
        if (Vec3LengthSq(off) > tol * tol * lenSq)
            continue;
        // Both faces stay convex within tol at u and w.
        const Vec3D& na = mRegionNormal[size_t(a.region)];
        const Vec3D& nb = mRegionNormal[size_t(b.region)];
        const int beforeU = mRing[size_t(mRing[size_t(a.prev)].prev)].vert;
        const int afterW = mRing[size_t(mRing[size_t(a.next)].next)].vert;
        const int beforeW = mRing[size_t(mRing[size_t(b.prev)].prev)].vert;
        const int afterU = mRing[size_t(mRing[size_t(b.next)].next)].vert;
        if (!IsConvexCorner(beforeU, u, w, na, tol) || !IsConvexCorner(u, w, afterW, na, tol) ||
            !IsConvexCorner(beforeW, w, u, nb, tol) || !IsConvexCorner(w, u, afterU, nb, tol))
            continue;
        for (Corner* c : {&a, &b})
        {
            c->dead = true;
            mRing[c->prev].next = c->next;
            mRing[c->next].prev = c->prev;
            if (mRegionFirst[c->region] == int(c - mRing.data()))
                mRegionFirst[c->region] = c->next;
            --mRegionCount[c->region];
        }
        queue.push_back(u);
        queue.push_back(w);
    }
}

void HullBuilder::WriteFaces()
{
    for (int r = 0; r < int(mRegionFirst.size()); ++r)
    {
        const int first = mRegionFirst[r];
        if (first < 0)
            continue;
        int c = first;
        do
        {
            mCorners.push_back(mRing[c].vert);
            mIsCorner[mRing[c].vert] = 1;
            c = mRing[c].next;
        } while (c != first);
        // The seed's normal: the face lies within tol of the seed's plane, which supports the hull,
        // while the outline of a face thinner than tol may not fix a plane at all.
        mFaceNormals.push_back(mRegionNormal[size_t(r)]);
        mFaceStart.push_back(int(mCorners.size()));
    }
}
