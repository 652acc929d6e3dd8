#include "model/HullBuilder.h"

#include "kernel/Messages.h"
#include "kernel/Orient3D.h"

#include <cmath>
#include <cstring>

namespace
{
// A cell of the grid that finds near duplicates. Cells are compared as doubles so that huge
// coordinates cannot overflow an integer; two cells that round together only cost a test.
struct Cell
{
    double x, y, z;
    bool operator==(const Cell& o) const { return x == o.x && y == o.y && z == o.z; }
};

uint64_t HashCell(const Cell& c)
{
    uint64_t h = 1469598103934665603ull;
    for (double d : {c.x, c.y, c.z})
    {
        uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        h = (h ^ bits) * 1099511628211ull;
        h ^= h >> 29;
    }
    return h;
}

// Cells to the last point entered in each, open addressing; the points of a cell are chained by
// the caller. Much lighter than a node-based map for a million points.
class CellTable
{
public:
    explicit CellTable(size_t points)
    {
        size_t size = 16;
        while (size < 2 * points)
            size *= 2;
        mKeys.resize(size);
        mHeads.assign(size, -1);
        mMask = size - 1;
    }

    // The slot of the cell: holding its last point, or empty (-1) where it would go.
    int& Slot(const Cell& c)
    {
        size_t i = size_t(HashCell(c)) & mMask;
        while (mHeads[i] >= 0 && !(mKeys[i] == c))
            i = (i + 1) & mMask;
        mKeys[i] = c;
        return mHeads[i];
    }

    int Find(const Cell& c) const
    {
        size_t i = size_t(HashCell(c)) & mMask;
        while (mHeads[i] >= 0)
        {
            if (mKeys[i] == c)
                return mHeads[i];
            i = (i + 1) & mMask;
        }
        return -1;
    }

private:
    std::vector<Cell> mKeys;
    std::vector<int> mHeads;
    size_t mMask = 0;
};

bool IsFinite(const Vec3D& p)
{
    return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

bool WithinCube(const Vec3D& a, const Vec3D& b, double tol)
{
    return std::fabs(a.x - b.x) <= tol && std::fabs(a.y - b.y) <= tol && std::fabs(a.z - b.z) <= tol;
}

double LineDistanceSq(const Vec3D& p, const Vec3D& a, const Vec3D& dir, double dirLenSq)
{
    Vec3D ap, c;
    Vec3Sub(ap, p, a);
    Vec3Cross(c, ap, dir);
    return Vec3LengthSq(c) / dirLenSq;
}
}  // namespace

void HullBuilder::Reset(int numPoints)
{
    mUsable.assign(numPoints, 1);
    mTris.clear();
    mFreeTris.clear();
    mNextOutside.assign(numPoints, -1);
    mPending.clear();
    mStep = 0;
    mHorizonFrom.assign(numPoints, -1);
    mVertexTri.assign(numPoints, -1);
    mIsCorner.assign(numPoints, 0);
    mFaceStart.assign(1, 0);
    mCorners.clear();
    mFaceNormals.clear();
}

bool HullBuilder::Build(const std::vector<Vec3D>& points, double tol)
{
    mPoints = &points;
    Reset(int(points.size()));
    DropNearDuplicates(tol);
    if (!StartSimplex(tol))
        return false;
    while (!mPending.empty())
    {
        const int t = mPending.back();
        mPending.pop_back();
        if (mTris[t].dead || mTris[t].outsideHead < 0)
            continue;
        AddPoint(mTris[t].farthest, t);
        if (mTris.empty())
            return false;  // the step found the faces inconsistent and gave up
    }
    CollectLiveTris();
    GrowRegions(tol);
    BuildPolygons(tol);
    RemoveStraightCorners(tol);
    WriteFaces();
    return NumFaces() >= 4;
}

void HullBuilder::DropNearDuplicates(double tol)
{
    const std::vector<Vec3D>& pts = *mPoints;
    const int n = int(pts.size());
    // Cells much wider than the window of a point, so that the window seldom reaches a second
    // cell; a zero tolerance still finds exact copies.
    const double cellSize = tol > 0.0 ? 64.0 * tol : 1.0;
    CellTable cells{size_t(n)};
    std::vector<int> next(n, -1);
    for (int i = 0; i < n; ++i)
    {
        const Vec3D& p = pts[i];
        if (!IsFinite(p))
        {
            mUsable[i] = 0;
            continue;
        }
        const Cell home{std::floor(p.x / cellSize), std::floor(p.y / cellSize), std::floor(p.z / cellSize)};
        // A point within tol lies in this cell or the one beside it on an axis.
        const double lo[3] = {std::floor((p.x - tol) / cellSize), std::floor((p.y - tol) / cellSize),
                              std::floor((p.z - tol) / cellSize)};
        const double hi[3] = {std::floor((p.x + tol) / cellSize), std::floor((p.y + tol) / cellSize),
                              std::floor((p.z + tol) / cellSize)};
        bool duplicate = false;
        for (int ix = 0; ix < 2 && !duplicate; ++ix)
        {
            const double cx = ix ? hi[0] : lo[0];
            if (ix && cx == lo[0])
                continue;
            for (int iy = 0; iy < 2 && !duplicate; ++iy)
            {
                const double cy = iy ? hi[1] : lo[1];
                if (iy && cy == lo[1])
                    continue;
                for (int iz = 0; iz < 2 && !duplicate; ++iz)
                {
                    const double cz = iz ? hi[2] : lo[2];
                    if (iz && cz == lo[2])
                        continue;
                    for (int j = cells.Find(Cell{cx, cy, cz}); j >= 0 && !duplicate; j = next[j])
                        duplicate = WithinCube(p, pts[j], tol);
                }
            }
        }
        if (duplicate)
        {
            mUsable[i] = 0;
            continue;
        }
        int& head = cells.Slot(home);
        next[i] = head;
        head = i;
    }
}

int HullBuilder::NewTri(int a, int b, int c)
{
    int t;
    if (!mFreeTris.empty())
    {
        t = mFreeTris.back();
        mFreeTris.pop_back();
        mTris[t] = Tri();
    }
    else
    {
        t = int(mTris.size());
        mTris.emplace_back();
    }
    Tri& tri = mTris[t];
    tri.v[0] = a;
    tri.v[1] = b;
    tri.v[2] = c;
    tri.adj[0] = tri.adj[1] = tri.adj[2] = -1;
    const std::vector<Vec3D>& pts = *mPoints;
    Vec3D ab, ac, n;
    Vec3Sub(ab, pts[b], pts[a]);
    Vec3Sub(ac, pts[c], pts[a]);
    Vec3Cross(n, ab, ac);
    const double len = Vec3Length(n);
    tri.invNormLen = len > 0.0 ? 1.0 / len : 0.0;
    tri.stamp = mStep;
    return t;
}

void HullBuilder::FreeTri(int t)
{
    mTris[t].dead = true;
    mTris[t].outsideHead = -1;
    mFreeTris.push_back(t);
}

bool HullBuilder::IsOutside(const Tri& tri, int p, double& dist) const
{
    const std::vector<Vec3D>& pts = *mPoints;
    double bound;
    double det = Orient3DEstimate(pts[tri.v[0]], pts[tri.v[1]], pts[tri.v[2]], pts[p], bound);
    if (!(det > bound || -det > bound))
        det = Orient3D(pts[tri.v[0]], pts[tri.v[1]], pts[tri.v[2]], pts[p]);
    dist = det * tri.invNormLen;
    return det > 0.0;
}

void HullBuilder::AddOutside(int t, int p, double dist)
{
    Tri& tri = mTris[t];
    mNextOutside[p] = tri.outsideHead;
    tri.outsideHead = p;
    if (tri.farthest < 0 || dist > tri.farthestDist)
    {
        tri.farthest = p;
        tri.farthestDist = dist;
    }
}

bool HullBuilder::StartSimplex(double tol)
{
    const std::vector<Vec3D>& pts = *mPoints;
    const int n = int(pts.size());
    int extreme[6] = {-1, -1, -1, -1, -1, -1};
    int usable = 0;
    for (int i = 0; i < n; ++i)
    {
        if (!mUsable[i])
            continue;
        ++usable;
        for (int axis = 0; axis < 3; ++axis)
        {
            int& lo = extreme[2 * axis];
            int& hi = extreme[2 * axis + 1];
            if (lo < 0 || pts[i][axis] < pts[lo][axis])
                lo = i;
            if (hi < 0 || pts[i][axis] > pts[hi][axis])
                hi = i;
        }
    }
    if (usable < 4)
        return false;

    // The two extreme points farthest apart, the point farthest from their line, and the point
    // farthest from the plane of the three: a well-shaped start that also decides flatness.
    int k = extreme[0], l = extreme[1];
    double best = -1.0;
    for (int i = 0; i < 6; ++i)
    {
        for (int j = i + 1; j < 6; ++j)
        {
            Vec3D d;
            Vec3Sub(d, pts[extreme[i]], pts[extreme[j]]);
            if (Vec3LengthSq(d) > best)
            {
                best = Vec3LengthSq(d);
                k = extreme[i];
                l = extreme[j];
            }
        }
    }
    if (WithinCube(pts[k], pts[l], tol))
        return false;

    Vec3D dir;
    Vec3Sub(dir, pts[l], pts[k]);
    const double dirLenSq = Vec3LengthSq(dir);
    int m = -1;
    best = -1.0;
    for (int i = 0; i < n; ++i)
    {
        if (!mUsable[i])
            continue;
        const double d = LineDistanceSq(pts[i], pts[k], dir, dirLenSq);
        if (d > best)
        {
            best = d;
            m = i;
        }
    }
    if (m < 0 || !(best > tol * tol))
        return false;

    Vec3D km, normal;
    Vec3Sub(km, pts[m], pts[k]);
    Vec3Cross(normal, dir, km);
    const double normalLen = Vec3Length(normal);
    int apex = -1;
    best = -1.0;
    for (int i = 0; i < n; ++i)
    {
        if (!mUsable[i])
            continue;
        double bound;
        const double d = std::fabs(Orient3DEstimate(pts[k], pts[l], pts[m], pts[i], bound)) / normalLen;
        if (d > best)
        {
            best = d;
            apex = i;
        }
    }
    if (apex < 0 || !(best > tol))
        return false;

    int a = k, b = l, c = m;
    if (Orient3D(pts[k], pts[l], pts[m], pts[apex]) > 0.0)
        std::swap(b, c);  // the apex must lie behind the base
    ++mStep;
    const int t0 = NewTri(a, b, c);
    const int t1 = NewTri(b, a, apex);
    const int t2 = NewTri(c, b, apex);
    const int t3 = NewTri(a, c, apex);
    const int tris[4] = {t0, t1, t2, t3};
    for (int x : tris)
    {
        for (int i = 0; i < 3; ++i)
        {
            const int from = mTris[x].v[i], to = mTris[x].v[(i + 1) % 3];
            for (int y : tris)
            {
                for (int j = 0; j < 3 && y != x; ++j)
                {
                    if (mTris[y].v[j] == to && mTris[y].v[(j + 1) % 3] == from)
                        mTris[x].adj[i] = y;
                }
            }
        }
    }

    for (int i = 0; i < n; ++i)
    {
        if (!mUsable[i] || i == a || i == b || i == c || i == apex)
            continue;
        for (int x : tris)
        {
            double dist;
            if (IsOutside(mTris[x], i, dist))
            {
                AddOutside(x, i, dist);
                break;
            }
        }
    }
    for (int x : tris)
    {
        if (mTris[x].outsideHead >= 0)
            mPending.push_back(x);
    }
    return true;
}

void HullBuilder::AddPoint(int eye, int fromTri)
{
    ++mStep;
    mVisible.clear();
    mHorizonTri.clear();
    mHorizonEdge.clear();

    // The faces the eye sees form one patch around the face it was found outside of.
    mTris[fromTri].stamp = mStep;
    mTris[fromTri].visible = true;
    mVisible.push_back(fromTri);
    for (size_t q = 0; q < mVisible.size(); ++q)
    {
        const int t = mVisible[q];
        for (int i = 0; i < 3; ++i)
        {
            const int u = mTris[t].adj[i];
            Tri& nb = mTris[u];
            if (nb.stamp != mStep)
            {
                double dist;
                nb.stamp = mStep;
                nb.visible = IsOutside(nb, eye, dist);
                if (nb.visible)
                    mVisible.push_back(u);
            }
            if (!nb.visible)
            {
                mHorizonTri.push_back(t);
                mHorizonEdge.push_back(i);
            }
        }
    }

    // Chain the horizon edges into one loop.
    const int numHorizon = int(mHorizonTri.size());
    bool simple = numHorizon >= 3;
    for (int h = 0; h < numHorizon && simple; ++h)
    {
        const int from = mTris[mHorizonTri[h]].v[mHorizonEdge[h]];
        if (mHorizonFrom[from] >= 0)
            simple = false;
        mHorizonFrom[from] = h;
    }
    std::vector<int>& loop = mNewTris;  // the horizon edges in order, then the new faces
    loop.clear();
    if (simple)
    {
        int h = 0;
        do
        {
            loop.push_back(h);
            const int to = mTris[mHorizonTri[h]].v[(mHorizonEdge[h] + 1) % 3];
            h = mHorizonFrom[to];
        } while (h > 0 && int(loop.size()) <= numHorizon);
        simple = h == 0 && int(loop.size()) == numHorizon;
    }
    for (int h = 0; h < numHorizon; ++h)
        mHorizonFrom[mTris[mHorizonTri[h]].v[mHorizonEdge[h]]] = -1;
    if (!simple)
    {
        // Exact visibility makes this impossible; stop rather than build a broken surface.
        InternalError("HullBuilder::AddPoint: the horizon of point %d is not one loop", eye);
        mTris.clear();
        mPending.clear();
        return;
    }

    // A cone of new faces from the eye over the horizon.
    for (int k = 0; k < numHorizon; ++k)
    {
        const int h = loop[k];
        const int t = mHorizonTri[h], i = mHorizonEdge[h];
        const int a = mTris[t].v[i], b = mTris[t].v[(i + 1) % 3], kept = mTris[t].adj[i];
        const int nt = NewTri(a, b, eye);
        mTris[nt].adj[0] = kept;
        for (int j = 0; j < 3; ++j)
        {
            if (mTris[kept].v[j] == b)
                mTris[kept].adj[j] = nt;
        }
        loop[k] = nt;
    }
    for (int k = 0; k < numHorizon; ++k)
    {
        mTris[loop[k]].adj[1] = loop[(k + 1) % numHorizon];
        mTris[loop[k]].adj[2] = loop[(k + numHorizon - 1) % numHorizon];
    }

    // Points outside a removed face are outside a new face or inside the hull for good.
    for (int t : mVisible)
    {
        for (int p = mTris[t].outsideHead; p >= 0;)
        {
            const int next = mNextOutside[p];
            if (p != eye)
            {
                for (int nt : loop)
                {
                    double dist;
                    if (IsOutside(mTris[nt], p, dist))
                    {
                        AddOutside(nt, p, dist);
                        break;
                    }
                }
            }
            p = next;
        }
        FreeTri(t);
    }
    for (int nt : loop)
    {
        if (mTris[nt].outsideHead >= 0)
            mPending.push_back(nt);
    }
}

void HullBuilder::CollectLiveTris()
{
    mLive.clear();
    for (int t = 0; t < int(mTris.size()); ++t)
    {
        if (mTris[t].dead)
            continue;
        mLive.push_back(t);
        for (int i = 0; i < 3; ++i)
            mVertexTri[mTris[t].v[i]] = t;
    }
}
