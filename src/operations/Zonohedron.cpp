#include "operations/Zonohedron.h"

#include "kernel/Messages.h"
#include "kernel/PointList.h"
#include "kernel/Progress.h"
#include "kernel/Tolerance.h"
#include "kernel/WaitCursor.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace
{
// One zone vector during the build.
struct ZoneRecord
{
    static constexpr int kPlaneMade = 0x1;  // in the plane of the current vector and an earlier partner
    static constexpr int kReversed = 0x2;   // taken the other way round in the face being made

    Vec3D vector;
    Vec3D unit;
    int index = 0;
    int flags = 0;
    double angle = 0.0;
};

// The angle between two unit vectors in [0, pi], accurate for small and for nearly opposite ones.
double AngleBetween(const Vec3D& u, const Vec3D& w)
{
    Vec3D difference;
    Vec3Sub(difference, w, u);
    if (Vec3Dot(u, w) >= 0.0)
        return 2.0 * std::asin(std::min(1.0, Vec3Length(difference) / 2.0));
    Vec3D sum;
    Vec3Add(sum, w, u);
    return kPi - 2.0 * std::asin(std::min(1.0, Vec3Length(sum) / 2.0));
}

// The two opposite faces of the plane of a and its members, every other vector adding its side of
// the plane to the centre s of the first face.
bool MakeFacePair(SimplePoly& poly, int& nextVert, int& nextFace, std::vector<ZoneRecord*>& members,
                  const Vec3D& s)
{
    const int k = int(members.size());
    std::vector<Vec3D> points(size_t(2 * k));
    for (int i = 0; i < k; ++i)
    {
        Vec3D f = s;
        for (int j = 0; j < k; ++j)
        {
            const bool reversed = (members[size_t(j)]->flags & ZoneRecord::kReversed) != 0;
            if (reversed != (j < i))
                Vec3Sub(f, f, members[size_t(j)]->vector);
            else
                Vec3AddTo(f, members[size_t(j)]->vector);
        }
        points[size_t(i)] = f;
        Vec3Scale(points[size_t(k + i)], s, 2.0);
        Vec3Sub(points[size_t(k + i)], points[size_t(k + i)], f);
    }
    for (int side = 0; side < 2; ++side)
    {
        SimpleFace* face = poly.GetFace(nextFace);
        if (!face)
            return false;
        face->SetNumVerts(2 * k);
        for (int i = 0; i < 2 * k; ++i)
        {
            Vec3D p = points[size_t(i)];
            if (side == 1)
                Vec3Neg(p, p);
            SimpleVert* vert = poly.FindOrCreateVert(p, nextVert);
            if (!vert)
                return false;
            face->SetVert(i, vert);
        }
        ++nextFace;
    }
    return true;
}

// A model holding the points as vertices, for the hull.
std::unique_ptr<SimplePoly> PointModel(const std::vector<Vec3D>& points)
{
    if (!SimplePoly::CheckSize(int64_t(points.size()), 0))
        return nullptr;
    auto poly = std::make_unique<SimplePoly>(int(points.size()), 0);
    if (poly->mNumVerts != int(points.size()))
        return nullptr;
    for (size_t i = 0; i < points.size(); ++i)
        poly->mVerts[i].mPos = points[i];
    return poly;
}

// The hull of the points; null with a message when they span no solid.
std::unique_ptr<SimplePoly> HullOf(const std::vector<Vec3D>& points)
{
    std::unique_ptr<SimplePoly> source = PointModel(points);
    if (!source)
        return nullptr;
    std::unique_ptr<SimplePoly> hull = CreateConvexHull(source.get(), 0);
    if (!hull)
        ErrorMessage("The vertices of the model span no solid, so zones cannot be added to it.");
    return hull;
}
}  // namespace

bool AddZoneVector(PointList& list, const Vec3D& v, double length, int limit)
{
    if (IsZeroTol(v.x, kTol) && IsZeroTol(v.y, kTol) && IsZeroTol(v.z, kTol))
        return true;
    // Turned by its direction: read from the vector itself, one near the plane x = 0 would be
    // turned one way when short and the other when long, and make two zones.
    Vec3D d = v;
    Vec3Normalize(d);
    const bool flip = d.x < -kTol || (IsZeroTol(d.x, kTol) && (d.y < -kTol || (IsZeroTol(d.y, kTol) && d.z < -kTol)));
    if (flip)
        Vec3Neg(d, d);
    Vec3Scale(d, d, length);
    const int index = list.Add(d);
    if (index < 0)
    {
        ErrorMessage("Out of memory for the zone vectors.");
        return false;
    }
    return index < limit;
}

bool ZonesSpanSpace(const PointList& zones)
{
    const PointListNode* first = zones.First();
    if (!first)
        return false;
    Vec3D a = first->point;
    Vec3Normalize(a);
    Vec3D normal;
    bool haveNormal = false;
    for (const PointListNode* node = first->next; node; node = node->next)
    {
        Vec3D u = node->point;
        Vec3Normalize(u);
        if (!haveNormal)
        {
            Vec3Cross(normal, a, u);
            haveNormal = Vec3Length(normal) > kTol;
            if (haveNormal)
                Vec3Normalize(normal);
        }
        else if (!IsZeroTol(Vec3Dot(normal, u), kTol))
            return true;
    }
    return false;
}

std::unique_ptr<SimplePoly> CreateZonohedron(const PointList& zones, const char* modelName)
{
    TraceScope trace("CreateZonohedron");
    ScopedWaitCursor wait;
    ProgressScope progress;

    const int n = zones.Count();
    // The list may be long enough for n (n - 1) to pass 32 bits.
    const int64_t faceRoom = int64_t(n) * (n - 1);
    if (!SimplePoly::CheckSize(faceRoom + 2, faceRoom))
        return nullptr;
    std::vector<ZoneRecord> records(static_cast<size_t>(n));
    int i = 0;
    for (const PointListNode* node = zones.First(); node; node = node->next, ++i)
    {
        ZoneRecord& r = records[size_t(i)];
        r.vector = node->point;
        r.unit = node->point;
        Vec3Normalize(r.unit);
        r.index = i;
    }
    auto poly = std::make_unique<SimplePoly>(int(faceRoom + 2), int(faceRoom));
    if (poly->mNumFaces != int(faceRoom) || poly->mNumVerts != int(faceRoom + 2))
        return nullptr;

    const double numPairs = double(faceRoom) / 2.0;
    double pairsDone = 0.0;
    int nextVert = 0;
    int nextFace = 0;
    std::vector<ZoneRecord*> members;
    for (int a = 0; a < n; ++a)
    {
        ZoneRecord& ra = records[size_t(a)];
        for (int b = a + 1; b < n; ++b, pairsDone += 1.0)
        {
            if (!ShowProgress(pairsDone / numPairs, "Creating zonohedron."))
                return nullptr;
            ZoneRecord& rb = records[size_t(b)];
            if (rb.flags & ZoneRecord::kPlaneMade)
            {
                rb.flags &= ~ZoneRecord::kPlaneMade;
                continue;
            }
            // Which side of the plane a vector lies is read from unit directions, whatever the
            // length of the zones.
            Vec3D normal;
            Vec3Cross(normal, ra.unit, rb.unit);
            Vec3Normalize(normal);
            members.assign({&ra, &rb});
            Vec3D s{0.0, 0.0, 0.0};
            bool madeBefore = false;
            for (ZoneRecord& rv : records)
            {
                if (&rv == &ra || &rv == &rb)
                    continue;
                const double side = Vec3Dot(normal, rv.unit);
                if (side > kTol)
                    Vec3AddTo(s, rv.vector);
                else if (side < -kTol)
                    Vec3Sub(s, s, rv.vector);
                else if (rv.index < a)
                {
                    madeBefore = true;
                    break;
                }
                else
                {
                    rv.flags |= ZoneRecord::kPlaneMade;
                    members.push_back(&rv);
                }
            }
            if (madeBefore)
                continue;
            // Every member is taken the way that turns it clockwise from a about the normal, so that
            // sorted by angle they go round the face.
            for (ZoneRecord* m : members)
            {
                Vec3D turn;
                Vec3Cross(turn, m->unit, ra.unit);
                Vec3D w = m->unit;
                if (m == &ra || Vec3Dot(turn, normal) > 0.0)
                    m->flags &= ~ZoneRecord::kReversed;
                else
                {
                    m->flags |= ZoneRecord::kReversed;
                    Vec3Neg(w, w);
                }
                m->angle = m == &ra ? 0.0 : AngleBetween(ra.unit, w);
            }
            std::sort(members.begin(), members.end(),
                      [](const ZoneRecord* x, const ZoneRecord* y) { return x->angle < y->angle; });
            if (!MakeFacePair(*poly, nextVert, nextFace, members, s))
                return nullptr;
        }
    }
    poly->mNumVerts = nextVert;
    poly->mNumFaces = nextFace;
    poly->SetName(modelName, "Zonohedrified ");
    poly->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    return poly;
}

std::unique_ptr<SimplePoly> CreateZonishPolyhedron(const Vec3D* points, int numPoints, const PointList& zones,
                                                   const char* modelName)
{
    TraceScope trace("CreateZonishPolyhedron");
    ScopedWaitCursor wait;
    ProgressScope progress;

    // A corner of a Minkowski sum is a sum of corners: after each zone only the hull's corners go on.
    std::vector<Vec3D> corners(points, points + std::max(numPoints, 0));
    std::vector<Vec3D> sums;
    int done = 0;
    for (const PointListNode* node = zones.First(); node; node = node->next, ++done)
    {
        if (!ShowProgress(double(done) / zones.Count(), "Adding zones."))
            return nullptr;
        Vec3D half;
        Vec3Scale(half, node->point, 0.5);
        sums.clear();
        for (const Vec3D& p : corners)
        {
            Vec3D q;
            Vec3Add(q, p, half);
            sums.push_back(q);
            Vec3Sub(q, p, half);
            sums.push_back(q);
        }
        std::unique_ptr<SimplePoly> hull = HullOf(sums);
        if (!hull)
            return nullptr;
        corners.clear();
        for (int v = 0; v < hull->mNumVerts; ++v)
            if (!(hull->mVerts[v].mFlags & SimpleElem::kTemp))
                corners.push_back(hull->mVerts[v].mPos);
    }
    std::unique_ptr<SimplePoly> result = HullOf(corners);
    if (!result)
        return nullptr;
    result->SetName(modelName, "Zonohedrified ");
    result->mFlags &= ~SimplePoly::kKeepRealSize;
    result->mFlags |= SimplePoly::kConvex | SimplePoly::kRadiallyConvex | SimplePoly::kNonSelfIntersecting;
    return result;
}
