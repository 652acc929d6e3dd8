#include "kernel/Messages.h"
#include "kernel/Tolerance.h"
#include "kernel/UserServices.h"
#include "kernel/Vec2D.h"
#include "model/CanonicalNormal.h"
#include "model/SimplePoly.h"
#include "model/VertexFans.h"

#include <algorithm>
#include <map>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;

bool HasCorners(const SimpleFace& face)
{
    if (face.mNum < 3)
        return false;
    for (int k = 0; k < face.mNum; ++k)
    {
        if (!face.mList[k])
            return false;
    }
    return true;
}

struct PlaneKey
{
    SimpleFace* face;
    Vec3D normal;  // canonical
    int index;
};

bool PlaneBefore(const PlaneKey& a, const PlaneKey& b)
{
    if (const int c = Vec3Compare(a.normal, b.normal, kTol))
        return c < 0;
    const double da = Vec3Dot(a.normal, a.face->GetVert(0)->mPos);
    const double db = Vec3Dot(a.normal, b.face->GetVert(0)->mPos);
    if (!WithinTol(da, db, kTol))
        return da < db;
    return a.index < b.index;
}

// Numbers the positions of the vertices: vertices within 1e-7 of each other get one number.
std::vector<int> PlacesOf(const std::vector<SimpleVert*>& verts)
{
    std::vector<int> order(verts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return Vec3Compare(verts[size_t(a)]->mPos, verts[size_t(b)]->mPos, kTol) < 0;
    });
    std::vector<int> place(verts.size(), -1);
    int places = 0;
    for (size_t i = 0; i < order.size();)
    {
        const SimpleVert* first = verts[size_t(order[i])];
        size_t j = i;
        for (; j < order.size() && verts[size_t(order[j])]->SamePos(*first); ++j)
            place[size_t(order[j])] = places;
        ++places;
        i = j;
    }
    return place;
}

// The corners of the group's faces, face after face.
std::vector<SimpleVert*> CornersOf(const std::vector<SimpleFace*>& group)
{
    std::vector<SimpleVert*> corners;
    for (const SimpleFace* face : group)
    {
        for (int k = 0; k < face->mNum; ++k)
            corners.push_back(face->GetVert(k));
    }
    return corners;
}

// Whether two faces of the group have a side at the same places.
bool SharesEdge(const std::vector<SimpleFace*>& group)
{
    const std::vector<int> place = PlacesOf(CornersOf(group));
    std::map<std::pair<int, int>, size_t> sideFace;
    size_t first = 0;
    for (size_t f = 0; f < group.size(); ++f)
    {
        const int n = group[f]->mNum;
        for (int k = 0; k < n; ++k)
        {
            const int a = place[first + size_t(k)], b = place[first + size_t((k + 1) % n)];
            if (a == b)
                continue;
            const auto [it, added] = sideFace.insert({{std::min(a, b), std::max(a, b)}, f});
            if (!added && it->second != f)
                return true;
        }
        first += size_t(n);
    }
    return false;
}

// One corner of a face outline while a plane group is blended; its edge runs to the next corner.
struct BlendEdgeNode
{
    SimpleVert* vert;
    Vec2D p;
    int place;   // nodes at one position share it
    int next;    // the node after it in its outline
    bool live = true;
    int follow = -1;  // the edge that goes on from next's place
};

// The outlines of the union of a group of coplanar faces: each face runs counterclockwise in the
// plane seen along the first face's normal, edges that two faces share (running opposite ways)
// cancel, and at a place where outlines meet each arriving edge goes on along the edge that leaves
// next clockwise from the way back. That keeps the filled side on the left and parts that only
// touch at a corner apart; a hole touching the outline stays joined to it there, to be cut off
// with the other loops that close on themselves.
std::vector<std::vector<SimpleVert*>> BlendGroup(const std::vector<SimpleFace*>& group)
{
    const Vec3D& normal = group[0]->mNormal;
    Vec3D axis, xAxis, yAxis;
    axis[Vec3MinAxis(normal)] = 1.0;
    Vec3Cross(xAxis, normal, axis);
    Vec3Normalize(xAxis);
    Vec3Cross(yAxis, normal, xAxis);

    std::vector<BlendEdgeNode> nodes;
    for (const SimpleFace* face : group)
    {
        const int n = face->mNum;
        const int first = int(nodes.size());
        double twiceArea = 0.0;
        std::vector<Vec2D> p(static_cast<size_t>(n));
        for (int k = 0; k < n; ++k)
            p[size_t(k)] = Vec2D{Vec3Dot(xAxis, face->GetVert(k)->mPos), Vec3Dot(yAxis, face->GetVert(k)->mPos)};
        for (int k = 0; k < n; ++k)
            twiceArea += Vec2Cross(p[size_t(k)], p[size_t((k + 1) % n)]);
        const bool reverse = twiceArea < 0.0;
        for (int k = 0; k < n; ++k)
        {
            const int at = reverse ? (n - k) % n : k;
            nodes.push_back(BlendEdgeNode{face->GetVert(at), p[size_t(at)], -1, first + (k + 1) % n});
        }
    }
    const int count = int(nodes.size());
    {
        std::vector<SimpleVert*> verts;
        for (const BlendEdgeNode& node : nodes)
            verts.push_back(node.vert);
        const std::vector<int> place = PlacesOf(verts);
        for (int i = 0; i < count; ++i)
            nodes[size_t(i)].place = place[size_t(i)];
    }
    auto placeOf = [&](int i) { return nodes[size_t(i)].place; };
    auto headPlace = [&](int i) { return placeOf(nodes[size_t(i)].next); };

    // Shared edges cancel in pairs: each edge with the first earlier live edge running back
    // along it.
    std::map<std::pair<int, int>, std::vector<int>> byEnds;
    for (int i = 0; i < count; ++i)
        byEnds[{placeOf(i), headPlace(i)}].push_back(i);
    for (int r = 0; r < count; ++r)
    {
        const auto back = byEnds.find({headPlace(r), placeOf(r)});
        if (!nodes[size_t(r)].live || back == byEnds.end())
            continue;
        for (int R : back->second)
        {
            if (R >= r)
                break;
            if (nodes[size_t(R)].live)
            {
                nodes[size_t(R)].live = nodes[size_t(r)].live = false;
                break;
            }
        }
    }

    // Each arriving edge takes the leaving edge first clockwise from its way back.
    auto direction = [&](int from, int to) {
        Vec2D d;
        Vec2Sub(d, nodes[size_t(to)].p, nodes[size_t(from)].p);
        return Vec2IsZero(d, 0.0) ? 0.0 : PseudoAngle2D(d);
    };
    std::map<int, std::vector<int>> leaving;
    for (int i = 0; i < count; ++i)
    {
        if (nodes[size_t(i)].live)
            leaving[placeOf(i)].push_back(i);
    }
    std::vector<bool> taken(size_t(count), false);
    for (int in = 0; in < count; ++in)
    {
        BlendEdgeNode& arriving = nodes[size_t(in)];
        if (!arriving.live)
            continue;
        const double back = direction(arriving.next, in);
        int best = -1;
        double bestTurn = 0.0;
        for (int out : leaving[headPlace(in)])
        {
            if (taken[size_t(out)])
                continue;
            double turn = back - direction(out, nodes[size_t(out)].next);
            while (turn <= 0.0)
                turn += 8.0;
            if (best < 0 || turn < bestTurn)
            {
                best = out;
                bestTurn = turn;
            }
        }
        arriving.follow = best;
        if (best >= 0)
            taken[size_t(best)] = true;
    }

    std::vector<std::vector<SimpleVert*>> loops;
    std::vector<bool> written(size_t(count), false);
    for (int start = 0; start < count; ++start)
    {
        if (!nodes[size_t(start)].live || written[size_t(start)])
            continue;
        std::vector<SimpleVert*> loop;
        for (int e = start; e >= 0 && !written[size_t(e)]; e = nodes[size_t(e)].follow)
        {
            written[size_t(e)] = true;
            loop.push_back(nodes[size_t(e)].vert);
        }
        loops.push_back(std::move(loop));
    }
    return loops;
}

// A loop that a face's outline closes on itself at a vertex.
struct Split
{
    int face;
    std::vector<SimpleVert*> corners;
};

// Appends a face for each split, with the data of the face it came from.
bool AppendSplits(SimplePoly& poly, const std::vector<Split>& splits)
{
    if (splits.empty())
        return true;
    const int first = poly.mNumFaces;
    if (!poly.Grow(poly.mNumVerts, first + int(splits.size())))
        return false;
    for (size_t i = 0; i < splits.size(); ++i)
    {
        SimpleFace& face = poly.mFaces[first + int(i)];
        const std::vector<SimpleVert*>& corners = splits[i].corners;
        face.SetNumVerts(int(corners.size()), 1);
        face.CopyFrom(poly.mFaces[splits[i].face]);
        for (size_t k = 0; k < corners.size() && int(k) < face.mNum; ++k)
            face.mList[k] = corners[k];
    }
    return true;
}

void SetCorners(SimpleFace& face, const std::vector<SimpleVert*>& corners)
{
    face.SetNumVerts(int(corners.size()), 1);
    for (size_t k = 0; k < corners.size() && int(k) < face.mNum; ++k)
        face.mList[k] = corners[k];
}

// Cuts every loop off the face that closes where its outline meets a vertex a second time.
void CollectRepeats(SimplePoly& poly, int f, std::vector<Split>& splits)
{
    SimpleFace& face = poly.mFaces[f];
    std::vector<SimpleVert*> corners;
    for (int k = 0; k < face.mNum; ++k)
        corners.push_back(face.GetVert(k));
    bool cut = false;
    for (size_t k = 1; k < corners.size(); ++k)
    {
        const auto earlier = std::find(corners.begin(), corners.begin() + std::ptrdiff_t(k), corners[k]);
        if (earlier == corners.begin() + std::ptrdiff_t(k))
            continue;
        splits.push_back(Split{f, std::vector<SimpleVert*>(earlier, corners.begin() + std::ptrdiff_t(k))});
        k = size_t(earlier - corners.begin());
        corners.erase(earlier, earlier + std::ptrdiff_t(splits.back().corners.size()));
        cut = true;
    }
    if (cut)
        SetCorners(face, corners);
}

// Whether face g has vert between vertices at the places of a and b (either way round); the
// position of that corner, or -1.
int PassesThrough(const SimpleFace& g, const SimpleVert* vert, const SimpleVert& a, const SimpleVert& b)
{
    const int n = g.mNum;
    for (int p = g.IndexInList(vert, -1); p >= 0; p = g.IndexInList(vert, p))
    {
        const SimpleVert* before = g.GetVert((p + n - 1) % n);
        const SimpleVert* after = g.GetVert((p + 1) % n);
        if ((before->SamePos(a) && after->SamePos(b)) || (before->SamePos(b) && after->SamePos(a)))
            return p;
    }
    return -1;
}

// Takes corner p (and with dropNext the corner after it) out of face g, keeping the face lists.
void RemoveCornerAt(SimpleFace& g, int p, bool dropNext)
{
    SimpleVert* vert = g.GetVert(p);
    SimpleVert* next = dropNext ? g.GetVert((p + 1) % g.mNum) : nullptr;
    g.RemoveEntries(p, 1);
    vert->RemoveEntry(&g);
    if (next && g.mNum > 0)
    {
        const int q = p % g.mNum;
        g.RemoveEntries(q, 1);
        if (g.IndexInList(next, -1) < 0)
            next->RemoveEntry(&g);
    }
}

Vec3D SideOf(const SimpleFace& face, int from)
{
    const int n = face.mNum;
    Vec3D d;
    Vec3Sub(d, face.GetVert((from + 1) % n)->mPos, face.GetVert(from % n)->mPos);
    return d;
}

// Corner k of the face when it lies on a straight run: it goes from the faces around it that pass
// straight through, unless other faces meet the run there. True when it went.
bool RemoveStraightCorner(SimpleFace& face, int k)
{
    const int n = face.mNum;
    SimpleVert* q = face.GetVert((k + n - 1) % n);
    SimpleVert* r = face.GetVert(k);
    SimpleVert* s = face.GetVert((k + 1) % n);
    const Vec3D qr = SideOf(face, k + n - 1), rs = SideOf(face, k);
    if (!Vec3Parallel(qr, rs, kTol))
        return false;
    int passing = 0;
    for (int i = 0; i < r->mNum; ++i)
    {
        const SimpleFace* g = r->GetFace(i);
        if (g && PassesThrough(*g, r, *q, *s) >= 0)
            ++passing;
    }
    const bool spike = Vec3Dot(qr, rs) < 0.0;
    const bool backTrack = q->SamePos(*s);
    if (r->mNum != 2 && !q->SamePos(*r) && !r->SamePos(*s) && !backTrack && !spike && passing % 2 == 1)
        return false;  // a corner where other faces meet the straight run

    std::vector<SimpleFace*> around;
    for (int i = 0; i < r->mNum; ++i)
        around.push_back(r->GetFace(i));
    // The face itself always loses the corner, even where the vertex's list misses it.
    if (std::find(around.begin(), around.end(), &face) == around.end())
        around.push_back(&face);
    const SimpleVert* farther = Vec3Distance(q->mPos, r->mPos) >= Vec3Distance(s->mPos, r->mPos) ? q : s;
    SimpleVert* nearer = farther == q ? s : q;
    for (SimpleFace* g : around)
    {
        if (!g)
            continue;
        const int p = PassesThrough(*g, r, *q, *s);
        if (p >= 0)
        {
            RemoveCornerAt(*g, p, backTrack);
            continue;
        }
        if (!spike || passing % 2 == 0)
            continue;
        // The tip of a spike goes: a face beside it along the longer side meets the shorter one.
        const int m = g->mNum;
        for (int at = g->IndexInList(r, -1); at >= 0; at = g->IndexInList(r, at))
        {
            if (g->GetVert((at + 1) % m) == farther)
                g->InsertEntry(at + 1, nearer);
            else if (g->GetVert((at + m - 1) % m) == farther)
                g->InsertEntry(at, nearer);
            else
                continue;
            nearer->InsertEntry(nearer->mNum, g);
            break;
        }
    }
    return true;
}

// Walks the face's corners from the first where it turns, removing corners on straight runs; after
// a removal the corner before is looked at again, and the walk ends once every corner left was
// looked at without a removal. True when a corner went.
bool RemoveStraightCorners(SimpleFace& face)
{
    const int n = face.mNum;
    int k = 0;
    while (k < n && Vec3Parallel(SideOf(face, k + n - 1), SideOf(face, k), kTol))
        ++k;
    if (k == n)
        k = 0;
    bool removed = false;
    // Every removal takes at least one corner from the face, which bounds the walk.
    for (int quiet = 0; HasCorners(face) && quiet < face.mNum;)
    {
        k %= face.mNum;
        if (RemoveStraightCorner(face, k))
        {
            removed = true;
            quiet = 0;
            k = face.mNum > 0 ? (k + face.mNum - 1) % face.mNum : 0;
        }
        else
        {
            ++quiet;
            ++k;
        }
    }
    return removed;
}
}  // namespace

bool SimplePoly::BlendCoplanarFaces(int options, bool* answered, int* status)
{
    if (StandsFor4D())
        return false;
    TraceScope trace("BlendCoplanarFaces");
    SetNormals(true);
    if (status)
        *status = 0;
    std::vector<PlaneKey> sorted;
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if (!(face.mFlags & E::kTemp) && HasCorners(face))
            sorted.push_back(PlaneKey{&face, CanonicalNormal(face.mNormal), f});
    }
    trace.SetStep("qsort");
    std::stable_sort(sorted.begin(), sorted.end(), PlaneBefore);

    trace.SetStep("Main part");
    bool changed = false;
    std::vector<Split> appended;
    for (size_t i = 0; i < sorted.size();)
    {
        const SimpleFace& lead = *sorted[i].face;
        const double offset = Vec3Dot(lead.mNormal, lead.GetVert(0)->mPos);
        std::vector<SimpleFace*> group{sorted[i].face};
        size_t j = i + 1;
        for (; j < sorted.size(); ++j)
        {
            const SimpleFace& g = *sorted[j].face;
            if ((!Vec3Equal(g.mNormal, lead.mNormal, kTol) && !Vec3EqualNeg(g.mNormal, lead.mNormal, kTol)) ||
                !WithinTol(Vec3Dot(lead.mNormal, g.GetVert(0)->mPos), offset, kTol))
                break;
            group.push_back(sorted[j].face);
        }
        i = j;

        if (group.size() < 2 || !SharesEdge(group))
            continue;
        if (options & kBlendAsk)
        {
            const int answer = ShowMessage(kMbYesNo | kMbIconQuestion,
                                           "Some coplanar faces share an edge.\nShall I blend these faces?");
            if (status)
                *status |= kBlendAsked;
            if (answer != kIdYes)
            {
                if (answered)
                    *answered = false;
                return false;
            }
            if (answered)
                *answered = true;
            options &= ~kBlendAsk;
        }

        const std::vector<std::vector<SimpleVert*>> loops = BlendGroup(group);
        for (size_t k = 0; k < loops.size(); ++k)
        {
            if (k < group.size())
                SetCorners(*group[k], loops[k]);
            else
                appended.push_back(Split{group[0]->GetIndex(), loops[k]});
        }
        for (size_t k = loops.size(); k < group.size(); ++k)
            group[k]->mFlags |= E::kTemp;
        mFlags &= ~kHasVertFaceLists;
        changed = true;
    }
    // Loops beyond the group's faces become faces after all the others.
    if (!AppendSplits(*this, appended))
        return changed;

    CreateVertexFaceLists(false);
    if (options & kBlendMergeVerts)
        MergeCoincidentVerts(*this);

    trace.SetStep("Post");
    std::vector<Split> splits;
    for (int f = 0; f < mNumFaces; ++f)
    {
        if (!(mFaces[f].mFlags & E::kTemp) && HasCorners(mFaces[f]))
            CollectRepeats(*this, f, splits);
    }
    if (!splits.empty())
    {
        changed = true;
        if (!AppendSplits(*this, splits))
            return changed;
    }
    CreateVertexFaceLists(true);
    for (int f = 0; f < mNumFaces; ++f)
    {
        SimpleFace& face = mFaces[f];
        if (face.mFlags & E::kTemp)
            continue;
        if (HasCorners(face) && RemoveStraightCorners(face))
            changed = true;
        if (face.mNum < 3)
        {
            face.mFlags |= E::kTemp;
            changed = true;
        }
    }
    if (changed)
    {
        CreateVertexFaceLists(true);
        for (int i = 0; i < mNumVerts; ++i)
        {
            if (mVerts[i].mNum == 0)
                mVerts[i].mFlags |= E::kTemp;
        }
    }
    return changed;
}
