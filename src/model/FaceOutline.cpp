#include "model/FaceOutline.h"

#include "kernel/Intersect2D.h"
#include "kernel/RingTriangulation.h"
#include "kernel/RingVert.h"
#include "kernel/Tolerance.h"
#include "kernel/Vec2D.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <map>
#include <memory>
#include <utility>

namespace
{
// The arrangement the face's sides make in the face's plane: nodes at the corners and at every
// crossing or touching point, edges between consecutive nodes along the sides, each counting how
// often the outline runs along it (forwards less backwards). Edges that the outline runs along
// both ways stay, so that the arrangement of the one closed outline stays connected.
class Arrangement
{
public:
    struct Node
    {
        Vec2D p;
        Vec3D pos;
        int corner;
        std::vector<int> out;  // outgoing half-edges, counterclockwise
    };
    struct HalfEdge
    {
        int from;
        int to;
        int count;  // the outline's runs along it, in its direction
        int next = -1;
        int cycle = -1;
    };

    int AddNode(const Vec2D& p, const Vec3D& pos, int corner)
    {
        for (size_t i = 0; i < mNodes.size(); ++i)
        {
            if (Vec2Equal(mNodes[i].p, p, kTol))
                return int(i);
        }
        mNodes.push_back(Node{p, pos, corner, {}});
        return int(mNodes.size()) - 1;
    }

    // Runs from a to b.
    void AddRun(int a, int b)
    {
        if (a == b)
            return;
        mRuns[{std::min(a, b), std::max(a, b)}] += a < b ? 1 : -1;
    }

    void Build();
    // The triangles of the cycles the outline winds around.
    void Triangulate(std::vector<int32_t>& indices) const;

    std::vector<Node> mNodes;

private:
    double CycleArea(int cycle) const;

    std::map<std::pair<int, int>, int> mRuns;
    std::vector<HalfEdge> mHalfEdges;
    std::vector<int> mCycleStart;  // one half-edge of each cycle
    std::vector<int> mWinding;     // per cycle
};

// Ear-clips a counterclockwise loop of nodes; a region wound round clockwise (negative winding)
// gets its triangles turned round.
template <class Node>
void TriangulateLoop(const std::vector<Node>& nodes, const std::vector<int>& loop, int winding,
                     std::vector<int32_t>& indices)
{
    RingVert* ring = nullptr;
    for (int node : loop)
    {
        const Node& nd = nodes[size_t(node)];
        RingVert* v = AddRingVert(nd.p.x, nd.p.y, nullptr, &nd.pos, ring);
        if (!v)
        {
            FreeRing(ring);
            return;
        }
        v->index = node;
    }
    std::unique_ptr<int32_t[]> triangles;
    const int count = TriangulateRing(ring, triangles);
    for (int i = 0; i + 2 < count; i += 3)
    {
        indices.push_back(triangles[size_t(i)]);
        indices.push_back(triangles[size_t(winding > 0 ? i + 1 : i + 2)]);
        indices.push_back(triangles[size_t(winding > 0 ? i + 2 : i + 1)]);
    }
}

void Arrangement::Build()
{
    for (const auto& [ends, count] : mRuns)
    {
        mHalfEdges.push_back(HalfEdge{ends.first, ends.second, count});
        mHalfEdges.push_back(HalfEdge{ends.second, ends.first, -count});
    }
    const int numHalfEdges = int(mHalfEdges.size());
    std::vector<double> angle(size_t(numHalfEdges), 0.0);
    for (int h = 0; h < numHalfEdges; ++h)
    {
        const HalfEdge& e = mHalfEdges[size_t(h)];
        Vec2D d;
        Vec2Sub(d, mNodes[size_t(e.to)].p, mNodes[size_t(e.from)].p);
        angle[size_t(h)] = PseudoAngle2D(d);
        mNodes[size_t(e.from)].out.push_back(h);
    }
    for (Node& node : mNodes)
        std::stable_sort(node.out.begin(), node.out.end(), [&](int a, int b) { return angle[size_t(a)] < angle[size_t(b)]; });

    // The face on the left of an edge goes on along the edge that leaves its end next clockwise
    // from the way back: the cycles are the boundaries of the arrangement's faces.
    for (int h = 0; h < numHalfEdges; ++h)
    {
        const std::vector<int>& out = mNodes[size_t(mHalfEdges[size_t(h)].to)].out;
        const int twin = h ^ 1;
        const int deg = int(out.size());
        const int k = int(std::find(out.begin(), out.end(), twin) - out.begin());
        mHalfEdges[size_t(h)].next = out[size_t((k + deg - 1) % deg)];
    }
    for (int h = 0; h < numHalfEdges; ++h)
    {
        if (mHalfEdges[size_t(h)].cycle >= 0)
            continue;
        const int cycle = int(mCycleStart.size());
        mCycleStart.push_back(h);
        for (int e = h, steps = 0; mHalfEdges[size_t(e)].cycle < 0 && steps <= numHalfEdges; ++steps)
        {
            mHalfEdges[size_t(e)].cycle = cycle;
            e = mHalfEdges[size_t(e)].next;
        }
    }

    // Winding numbers from the outer cycle (the one of least area, winding 0) across the edges:
    // the winding to the left of an edge exceeds that to its right by the edge's count.
    const int numCycles = int(mCycleStart.size());
    mWinding.assign(size_t(numCycles), 0);
    if (numCycles == 0)
        return;
    std::vector<std::vector<int>> cycleEdges(static_cast<size_t>(numCycles));
    for (int h = 0; h < numHalfEdges; ++h)
        cycleEdges[size_t(mHalfEdges[size_t(h)].cycle)].push_back(h);
    int outer = 0;
    double outerArea = CycleArea(0);
    for (int c = 1; c < numCycles; ++c)
    {
        const double area = CycleArea(c);
        if (area < outerArea)
        {
            outer = c;
            outerArea = area;
        }
    }
    std::vector<bool> known(size_t(numCycles), false);
    std::vector<int> queue{outer};
    known[size_t(outer)] = true;
    for (size_t q = 0; q < queue.size(); ++q)
    {
        const int c = queue[q];
        for (int h : cycleEdges[size_t(c)])
        {
            const HalfEdge& e = mHalfEdges[size_t(h)];
            const int across = mHalfEdges[size_t(h ^ 1)].cycle;
            if (known[size_t(across)])
                continue;
            mWinding[size_t(across)] = mWinding[size_t(c)] - e.count;
            known[size_t(across)] = true;
            queue.push_back(across);
        }
    }
}

double Arrangement::CycleArea(int cycle) const
{
    double twice = 0.0;
    const int start = mCycleStart[size_t(cycle)];
    int e = start;
    do
    {
        const HalfEdge& h = mHalfEdges[size_t(e)];
        twice += Vec2Cross(mNodes[size_t(h.from)].p, mNodes[size_t(h.to)].p);
        e = h.next;
    } while (e != start && mHalfEdges[size_t(e)].cycle == cycle);
    return twice / 2.0;
}

void Arrangement::Triangulate(std::vector<int32_t>& indices) const
{
    for (int c = 0; c < int(mCycleStart.size()); ++c)
    {
        const int winding = mWinding[size_t(c)];
        if (winding == 0 || CycleArea(c) <= 0.0)
            continue;
        std::vector<int> loop;
        const int start = mCycleStart[size_t(c)];
        int e = start;
        do
        {
            loop.push_back(mHalfEdges[size_t(e)].from);
            e = mHalfEdges[size_t(e)].next;
        } while (e != start && mHalfEdges[size_t(e)].cycle == c);

        // Edges that hang into the face are walked out and back: those spikes go.
        for (bool removed = true; removed && loop.size() >= 3;)
        {
            removed = false;
            const size_t n = loop.size();
            for (size_t i = 0; i < n; ++i)
            {
                if (loop[(i + n - 1) % n] != loop[(i + 1) % n])
                    continue;
                const size_t after = (i + 1) % n;
                loop.erase(loop.begin() + std::ptrdiff_t(std::max(i, after)));
                loop.erase(loop.begin() + std::ptrdiff_t(std::min(i, after)));
                removed = true;
                break;
            }
        }
        if (loop.size() < 3)
            continue;

        TriangulateLoop(mNodes, loop, winding, indices);
    }
}

}  // namespace

int ResolveFaceOutline(const SimpleFace& face, FaceOutline& out)
{
    out.points.clear();
    out.corners.clear();
    out.indices.clear();
    const int n = face.mNum;
    if (n < 3)
        return 0;
    for (int k = 0; k < n; ++k)
    {
        const SimpleVert* v = face.GetVert(k);
        if (!v || (v->mFlags & SimpleElem::kInf))
            return 0;
    }
    Vec3D normal = face.mNormal;
    if (normal.x == -2.0 || Vec3IsZero(normal, kTol))
        normal = face.GetAreaVector();
    if (Vec3IsZero(normal, kTol))
        return 0;
    // The plane of the two other axes, as the face is seen along its largest normal component.
    const int axis = Vec3MaxAxis(normal);
    const int u = (axis + 1) % 3, w = (axis + 2) % 3;
    auto project = [u, w](const Vec3D& p) { return Vec2D{p[u], p[w]}; };

    Arrangement arrangement;
    std::vector<int> cornerNode(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
    {
        const Vec3D& pos = face.GetVert(k)->mPos;
        cornerNode[size_t(k)] = arrangement.AddNode(project(pos), pos, k);
    }

    // Every side is cut where another side crosses or touches it.
    std::vector<std::vector<std::pair<double, int>>> cuts(static_cast<size_t>(n));
    auto cut = [&](int side, const Vec2D& p) {
        const Vec3D& a3 = face.GetVert(side)->mPos;
        const Vec3D& b3 = face.GetVert((side + 1) % n)->mPos;
        const Vec2D a = project(a3), b = project(b3);
        Vec2D ab, ap;
        Vec2Sub(ab, b, a);
        Vec2Sub(ap, p, a);
        const double t = std::clamp(Vec2Dot(ap, ab) / Vec2Dot(ab, ab), 0.0, 1.0);
        Vec3D pos;
        Vec3Sub(pos, b3, a3);
        Vec3Scale(pos, pos, t);
        Vec3AddTo(pos, a3);
        cuts[size_t(side)].emplace_back(t, arrangement.AddNode(p, pos, -1));
    };
    for (int i = 0; i < n; ++i)
    {
        const int i1 = (i + 1) % n;
        if (cornerNode[size_t(i)] == cornerNode[size_t(i1)])
            continue;
        for (int j = i + 1; j < n; ++j)
        {
            const int j1 = (j + 1) % n;
            if (cornerNode[size_t(j)] == cornerNode[size_t(j1)])
                continue;
            Vec2D at1, at2;
            const int contact =
                SegmentIsectSegment2D(project(face.GetVert(i)->mPos), project(face.GetVert(i1)->mPos),
                                      project(face.GetVert(j)->mPos), project(face.GetVert(j1)->mPos), kTol, &at1, &at2);
            if (contact < kSegRTouchesA || contact > kSegCross)
                continue;
            cut(i, at1);
            cut(j, at1);
            if (contact == kSegEqual || contact == kSegEqualReversed || contact == kSegOverlap)
            {
                cut(i, at2);
                cut(j, at2);
            }
        }
    }
    // An outline that neither crosses nor touches itself is one loop, clipped as it stands.
    bool simple = int(arrangement.mNodes.size()) == n;
    for (int i = 0; i < n && simple; ++i)
        simple = cuts[size_t(i)].empty();
    if (simple)
    {
        double twiceArea = 0.0;
        for (int k = 0; k < n; ++k)
            twiceArea += Vec2Cross(arrangement.mNodes[size_t(k)].p, arrangement.mNodes[size_t((k + 1) % n)].p);
        std::vector<int> loop(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            loop[size_t(k)] = twiceArea > 0.0 ? k : n - 1 - k;
        if (twiceArea != 0.0)
            TriangulateLoop(arrangement.mNodes, loop, twiceArea > 0.0 ? 1 : -1, out.indices);
    }
    for (int i = 0; i < n && !simple; ++i)
    {
        std::vector<std::pair<double, int>>& along = cuts[size_t(i)];
        along.emplace_back(0.0, cornerNode[size_t(i)]);
        along.emplace_back(1.0, cornerNode[size_t((i + 1) % n)]);
        std::stable_sort(along.begin(), along.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (size_t k = 0; k + 1 < along.size(); ++k)
            arrangement.AddRun(along[k].second, along[k + 1].second);
    }

    if (!simple)
    {
        arrangement.Build();
        arrangement.Triangulate(out.indices);
    }
    for (const Arrangement::Node& node : arrangement.mNodes)
    {
        out.points.push_back(node.pos);
        out.corners.push_back(node.corner);
    }
    return int(out.indices.size());
}
