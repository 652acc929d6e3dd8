#pragma once

#include "kernel/Mat3.h"
#include "kernel/Tolerance.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "kernel/LinkNode.h"
#include "stellation/FaceType.h"
#include "stellation/SegVert.h"
#include "stellation/Stellation.h"
#include "stellation/StellationEdge.h"
#include "stellation/StellationFacet.h"
#include "stellation/StellationLine.h"
#include "stellation/StellationRegion.h"
#include "support/PolyBuilder.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

// Models built by hand in the standard orientations of the symmetry groups, typed the way the
// model's analysis types them, and the checks the face-type tests share.

inline const double kGolden = (1.0 + std::sqrt(5.0)) / 2.0;

// The faces of the convex hull of the points: every plane through three of them with all the others
// on one side, its points counterclockwise seen from outside.
inline PolySpec ConvexSpec(const std::vector<Vec3D>& points)
{
    constexpr double kFlat = 1e-9;
    PolySpec spec;
    spec.verts = points;
    std::vector<std::pair<Vec3D, double>> planes;
    const size_t n = points.size();
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j)
            for (size_t k = j + 1; k < n; ++k)
            {
                Vec3D normal;
                Vec3Normal3(normal, points[i], points[j], points[k]);
                if (!Vec3Normalize(normal))
                    continue;
                double d = Vec3Dot(normal, points[i]);
                bool above = false, below = false;
                for (const Vec3D& p : points)
                {
                    above = above || Vec3Dot(normal, p) > d + kFlat;
                    below = below || Vec3Dot(normal, p) < d - kFlat;
                }
                if (above && below)
                    continue;
                if (above)
                {
                    Vec3Negate(normal);
                    d = -d;
                }
                bool known = false;
                for (const auto& [m, e] : planes)
                    known = known || (Vec3Equal(m, normal, 1e-6) && std::fabs(e - d) < 1e-6);
                if (known)
                    continue;
                planes.push_back({normal, d});
                std::vector<int> face;
                Vec3D centre;
                for (size_t m = 0; m < n; ++m)
                    if (std::fabs(Vec3Dot(normal, points[m]) - d) <= kFlat)
                    {
                        face.push_back(int(m));
                        Vec3AddTo(centre, points[m]);
                    }
                Vec3Div(centre, centre, double(face.size()));
                Vec3D u, v;
                Vec3Sub(u, points[size_t(face[0])], centre);
                Vec3Normalize(u);
                Vec3Cross(v, normal, u);
                auto angle = [&](int m) {
                    Vec3D d2;
                    Vec3Sub(d2, points[size_t(m)], centre);
                    return std::atan2(Vec3Dot(v, d2), Vec3Dot(u, d2));
                };
                std::sort(face.begin(), face.end(), [&](int a, int b) { return angle(a) < angle(b); });
                spec.faces.push_back(face);
            }
    return spec;
}

inline std::vector<Vec3D> OctahedronPoints()
{
    return {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
}

// Its 5-fold axes through (0, 1, phi) and its cyclic turns, as the icosahedral group has them.
inline std::vector<Vec3D> IcosahedronPoints()
{
    std::vector<Vec3D> p;
    for (double a : {1.0, -1.0})
        for (double b : {kGolden, -kGolden})
        {
            p.push_back({0, a, b});
            p.push_back({a, b, 0});
            p.push_back({b, 0, a});
        }
    return p;
}

// The dual of IcosahedronPoints: its vertices on the 3-fold axes.
inline std::vector<Vec3D> DodecahedronPoints()
{
    std::vector<Vec3D> p;
    for (double x : {1.0, -1.0})
        for (double y : {1.0, -1.0})
            for (double z : {1.0, -1.0})
                p.push_back({x, y, z});
    for (double a : {kGolden, -kGolden})
        for (double b : {1.0 / kGolden, -1.0 / kGolden})
        {
            p.push_back({a, b, 0});
            p.push_back({b, 0, a});
            p.push_back({0, a, b});
        }
    return p;
}

// Equal edges, its axis along y and its square faces facing the 2-fold axes of the 5-fold
// dihedral group.
inline std::vector<Vec3D> PentagonalPrismPoints()
{
    std::vector<Vec3D> p;
    const double h = std::sin(kPi / 5.0);
    for (double y : {h, -h})
        for (int j = 0; j < 5; ++j)
        {
            const double t = (2 * j + 1) * kPi / 5.0;
            p.push_back({std::cos(t), y, -std::sin(t)});
        }
    return p;
}

// Eight scalene triangles: the rotations of the 2-fold dihedral group make two classes of four,
// each the mirror image of the other.
inline std::vector<Vec3D> RhombicBipyramidPoints()
{
    return {{0, 1.5, 0}, {0, -1.5, 0}, {1, 0, 0}, {-1, 0, 0}, {0, 0, 2}, {0, 0, -2}};
}

using ElementKey = std::function<int(const FaceVert*)>;

// The side's elements in types by the key, in the order the keys first appear in the list; every
// element takes its key as its type identifier.
inline std::vector<FaceType*> MakeTypesBy(Poly& poly, bool dual, const ElementKey& key)
{
    Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    std::map<int, FaceType*> byKey;
    std::vector<FaceType*> types;
    for (FaceVert* e = dual ? poly.mVerts.mFirst : poly.mFaces.mFirst; e; e = e->mNext)
    {
        const int k = key(e);
        e->mIdFlags = k;
        auto found = byKey.find(k);
        if (found == byKey.end())
        {
            FaceType* type = stellation->AppendFaceType(
                std::make_unique<FaceType>(&poly, stellation, k, stellation->GetNumFaceTypes()));
            found = byKey.emplace(k, type).first;
            types.push_back(type);
        }
        found->second->AddFace(e);
    }
    return types;
}

inline int BySideCount(const FaceVert* e)
{
    return e->mNumSides;
}

inline void SetGroup(Poly& poly, int kind, int n, bool reflexible)
{
    poly.mGroup = SymGroup::Create(kind, n);
    if (reflexible)
        poly.mGroup->SetReflectionKind(SymGroup::kHorizontal);
}

// The rotation maps one element's frame (both axes and the normal) and centre onto the other's.
inline bool MapsFrame(const Mat3& m, const FaceVert* from, const FaceVert* to, double tol)
{
    Vec3D x, y, z, c;
    m.Transform(x, from->mXAxis);
    m.Transform(y, from->mYAxis);
    m.Transform(z, from->mZAxis);
    m.Transform(c, from->mCentre);
    return Vec3Equal(x, to->mXAxis, tol) && Vec3Equal(y, to->mYAxis, tol) && Vec3Equal(z, to->mZAxis, tol) &&
           Vec3Equal(c, to->mCentre, tol);
}

// The place, counting the group's rotations from the identity in their own order, of the rotation
// that maps one frame onto the other; -1 when none does.
inline int FindFrameRotation(const SymGroup& group, const FaceVert* from, const FaceVert* to, Mat3* out = nullptr)
{
    SymOpIterator it;
    Mat3 m;
    for (int k = 0; group.NextOperation(it, true, &m); ++k)
    {
        if (MapsFrame(m, from, to, 1e-6))
        {
            if (out)
                *out = m;
            return k;
        }
    }
    return -1;
}

inline bool IsRightHandedUnitFrame(const FaceVert* e)
{
    Vec3D zx;
    Vec3Cross(zx, e->mZAxis, e->mXAxis);
    return std::fabs(Vec3Length(e->mXAxis) - 1.0) < 1e-9 && std::fabs(Vec3Length(e->mZAxis) - 1.0) < 1e-9 &&
           std::fabs(Vec3Dot(e->mXAxis, e->mZAxis)) < 1e-9 && Vec3Equal(zx, e->mYAxis, 1e-9);
}

// The corners of the element mapped by m are the corners of the other element, as a set.
inline bool CornersMapOnto(const Mat3& m, const FaceVert* from, const FaceVert* to)
{
    if (from->mNumSides != to->mNumSides)
        return false;
    for (int i = 0; i < from->mNumSides; ++i)
    {
        Vec3D image;
        m.Transform(image, from->mNeighbours[i]->mPoint);
        bool found = false;
        for (int j = 0; j < to->mNumSides && !found; ++j)
            found = Vec3Equal(image, to->mNeighbours[j]->mPoint, 1e-9);
        if (!found)
            return false;
    }
    return true;
}

// The diagram of a face type made by hand: the square (-1, -1) .. (1, 1) cut by the lines x = 0 and
// y = 0 into four regions, each the region of a facet of its own. Vertex k sits at
// (k % 3 - 1, k / 3 - 1); the regions run counterclockwise from the bottom left; the ring outside the
// square is made of the twins of its border.
struct GridDiagram
{
    std::vector<SegVert*> verts;
    std::vector<StellationRegion*> regions;
    std::map<std::pair<int, int>, StellationEdge*> edges;  // by start and end vertex
    std::map<std::string, StellationLine*> lines;

    StellationEdge* Edge(int from, int to) const { return edges.at({from, to}); }
};
inline GridDiagram BuildGridDiagram(FaceType& type)
{
    GridDiagram g;
    for (int k = 0; k < 9; ++k)
        g.verts.push_back(new SegVert(&type, k % 3 - 1, k / 3 - 1, k == 4 ? type.mVerts : type.mOuterVerts));
    g.verts[4]->mFlags |= kSegVertCentre;
    // a x + b y + c = 0.
    const struct
    {
        const char* name;
        double a, b, c;
    } kLines[] = {{"bottom", 0, -1, -1}, {"right", 1, 0, -1}, {"top", 0, 1, -1},
                  {"left", -1, 0, -1},   {"x=0", 1, 0, 0},    {"y=0", 0, 1, 0}};
    for (const auto& l : kLines)
        g.lines[l.name] = new StellationLine(&type, l.a, l.b, l.c, nullptr, type.mLineEqns);
    auto lineOf = [&](int a, int b) {
        const double ax = a % 3 - 1, ay = a / 3 - 1, bx = b % 3 - 1;
        if (ax == bx)
            return g.lines.at(ax < 0 ? "left" : ax > 0 ? "right" : "x=0");
        return g.lines.at(ay < 0 ? "bottom" : ay > 0 ? "top" : "y=0");
    };
    const int kRegions[4][4] = {{0, 1, 4, 3}, {1, 2, 5, 4}, {3, 4, 7, 6}, {4, 5, 8, 7}};
    for (const auto& cycle : kRegions)
    {
        StellationRegion* region = new StellationRegion;
        ListAppend(region, type.mFirstRegion, type.mLastRegion);
        ++type.mNumRegions;
        g.regions.push_back(region);
        std::vector<StellationEdge*> ring;
        for (int i = 0; i < 4; ++i)
        {
            const int a = cycle[i], b = cycle[(i + 1) % 4];
            StellationEdge* e = new StellationEdge(region, lineOf(a, b), g.verts[size_t(a)]);
            g.edges[{a, b}] = e;
            ring.push_back(e);
            g.verts[size_t(a)]->mEdge = e;
        }
        for (int i = 0; i < 4; ++i)
        {
            ring[size_t(i)]->mNext = ring[size_t((i + 1) % 4)];
            ring[size_t(i)]->mPrev = ring[size_t((i + 3) % 4)];
        }
        region->mEdge = ring[0];
        StellationFacet* facet = new StellationFacet(&type, 0, int(g.regions.size()) - 1, type.mFacets, type.mLastFacet);
        facet->mRegions[0] = region;
        region->mFacet = facet;
    }
    // The border's twins, clockwise round the outside.
    const int kOutside[8] = {1, 0, 3, 6, 7, 8, 5, 2};
    std::vector<StellationEdge*> outside;
    for (int i = 0; i < 8; ++i)
    {
        const int a = kOutside[i], b = kOutside[(i + 1) % 8];
        StellationEdge* e = new StellationEdge(nullptr, lineOf(a, b), g.verts[size_t(a)]);
        g.edges[{a, b}] = e;
        outside.push_back(e);
    }
    for (int i = 0; i < 8; ++i)
    {
        outside[size_t(i)]->mNext = outside[size_t((i + 1) % 8)];
        outside[size_t(i)]->mPrev = outside[size_t((i + 7) % 8)];
    }
    for (auto& [key, e] : g.edges)
        e->mTwin = g.edges.at({key.second, key.first});
    type.mInnermostRegion = g.regions[0];
    type.mOuterEdge = g.Edge(0, 1);
    return g;
}
