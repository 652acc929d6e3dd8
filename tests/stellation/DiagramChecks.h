#pragma once

#include "StellationFixtures.h"

#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Transform3D.h"
#include "model/PolyTemplate.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

// Library models built from their vertex configurations, and the checks of a built stellation
// diagram against geometry: planar subdivisions, symmetry orbits, coincidence in space.

struct BuiltModel
{
    PolyTemplate templ;
    Poly poly;
};

inline std::unique_ptr<BuiltModel> BuildModel(const char* config)
{
    auto model = std::make_unique<BuiltModel>();
    if (!model->templ.Parse(config, false) || !model->poly.PrepareFromTemplate(&model->templ, 0))
        return nullptr;
    return model;
}

// The first half of the build inside a progress level of its own, as the build driver runs it.
inline bool BuildDiagrams(Stellation* stellation)
{
    ProgressScope progress;
    return stellation->BuildDiagrams();
}

inline std::string InternalErrors(const ScriptedServices& services)
{
    std::string text;
    for (const ScriptedServices::Call& call : services.calls)
        if (call.caption == "Internal Error")
            text += call.text + "\n";
    return text;
}

inline std::vector<FaceType*> PlaneTypes(const Stellation* stellation)
{
    std::vector<FaceType*> types;
    for (FaceType* t = stellation->mFirstFaceType; t; t = t->mNextFaceType)
        if (!t->mCoplanarSource && t->mFirstFace && !(t->mFirstFace->mFlags & FaceVert::kInf))
            types.push_back(t);
    return types;
}

inline std::vector<StellationEdge*> RingEdges(const StellationRegion* region)
{
    std::vector<StellationEdge*> ring;
    StellationEdge* e = region->mEdge;
    for (int i = 0; e && i < 100000; ++i)
    {
        ring.push_back(e);
        e = e->mNext;
        if (e == region->mEdge)
            break;
    }
    return ring;
}

inline std::vector<Vec2D> RegionPoints(const StellationRegion* region)
{
    std::vector<Vec2D> points;
    for (const StellationEdge* e : RingEdges(region))
        points.push_back(e->mStart->mPos);
    return points;
}

inline Vec2D Turned(const Vec2D& p, int k, int n)
{
    const double a = 2.0 * kPi * k / n;
    return Vec2D{p.x * std::cos(a) - p.y * std::sin(a), p.x * std::sin(a) + p.y * std::cos(a)};
}

inline Vec2D Reflected(const Vec2D& p, const Vec2D& dir)
{
    const double l = std::hypot(dir.x, dir.y);
    const double x = dir.x / l, y = dir.y / l;
    const double along = p.x * x + p.y * y;
    return Vec2D{2.0 * along * x - p.x, 2.0 * along * y - p.y};
}

// The two point sets are equal within the tolerance, relative far out.
inline bool SamePointSet(const std::vector<Vec2D>& a, const std::vector<Vec2D>& b, double tol = 1e-6)
{
    if (a.size() != b.size())
        return false;
    for (const Vec2D& p : a)
    {
        const double t = tol * std::max(1.0, std::hypot(p.x, p.y));
        bool found = false;
        for (const Vec2D& q : b)
            found = found || (std::fabs(p.x - q.x) <= t && std::fabs(p.y - q.y) <= t);
        if (!found)
            return false;
    }
    return true;
}

inline Vec3D InSpace(const FaceVert* face, const Vec2D& p)
{
    Vec3D out;
    face->GetLocalFrame(false).Apply(out, Vec3D{p.x, p.y, 0.0});
    return out;
}

inline bool NearInSpace(const Vec3D& a, const Vec3D& b, double tol = 1e-6)
{
    return Vec3Equal(a, b, tol * std::max(1.0, Vec3Length(a)));
}

struct DiagramCounts
{
    int verts = 0;
    int segments = 0;  // a twin pair once
    int regions = 0;
    int lines = 0;
};

// V, E and R of the type's diagram, checking as it goes that the lists hold only what the finite
// diagram uses: no vertex left on the square's list, every line with edges, every segment with a
// region on one side at least, every ring closed.
inline DiagramCounts CheckPlanarSubdivision(const FaceType* type)
{
    DiagramCounts c;
    EXPECT_EQ(type->mOuterVerts, nullptr);
    for (const SegVert* v = type->mVerts; v; v = v->mNext)
    {
        ++c.verts;
        EXPECT_NE(v->mEdge, nullptr);
    }
    for (const StellationLine* l = type->mLineEqns; l; l = l->mNext)
    {
        ++c.lines;
        EXPECT_NE(l->mFirstEdge, nullptr);
        EXPECT_NE(l->mLastEdge, nullptr);
    }
    std::set<const StellationEdge*> halves;
    for (const StellationRegion* r = type->mFirstRegion; r; r = r->next)
    {
        ++c.regions;
        for (const StellationEdge* e : RingEdges(r))
        {
            EXPECT_EQ(e->mRegion, r);
            EXPECT_EQ(e->mNext->mPrev, e);
            EXPECT_EQ(e->mNext->mStart, e->GetEnd());
            EXPECT_EQ(e->mTwin->mTwin, e);
            halves.insert(e);
            halves.insert(e->mTwin);
        }
    }
    EXPECT_EQ(c.regions, type->mNumRegions);
    c.segments = int(halves.size()) / 2;
    EXPECT_EQ(int(halves.size()) % 2, 0);
    return c;
}

// Facets: every region in exactly one, regions of a facet turned copies of region 0, a central
// facet mapped onto itself, mirror facets holding the mirror images, rings growing one at a time.
inline void CheckFacets(const FaceType* type)
{
    const int n = std::max(type->mNumRotations, 1);
    std::set<const StellationRegion*> seen;
    int index = 0;
    for (const StellationFacet* f = type->mFacets; f; f = f->next, ++index)
    {
        SCOPED_TRACE("facet " + std::to_string(f->mIndex));
        EXPECT_EQ(f->mIndex, index);
        ASSERT_EQ(f->GetNumRegions(), n);
        ASSERT_NE(f->mRegions[0], nullptr);
        const std::vector<Vec2D> first = RegionPoints(f->mRegions[0]);
        int present = 0;
        for (int i = 0; i < n; ++i)
        {
            const StellationRegion* r = f->mRegions[size_t(i)];
            if (!r)
                continue;
            ++present;
            EXPECT_EQ(r->mFacet, f);
            EXPECT_TRUE(seen.insert(r).second) << "a region in two facets";
            // Vertex k of region i is vertex k of region 0 turned i times.
            const std::vector<Vec2D> points = RegionPoints(r);
            ASSERT_EQ(points.size(), first.size());
            for (size_t k = 0; k < points.size(); ++k)
            {
                const Vec2D t = Turned(first[k], i, n);
                EXPECT_NEAR(points[k].x, t.x, 1e-6 * std::max(1.0, std::hypot(t.x, t.y)));
                EXPECT_NEAR(points[k].y, t.y, 1e-6 * std::max(1.0, std::hypot(t.x, t.y)));
            }
        }
        if (present == 1 && n > 1)
        {
            std::vector<Vec2D> turned;
            for (const Vec2D& p : first)
                turned.push_back(Turned(p, 1, n));
            EXPECT_TRUE(SamePointSet(first, turned)) << "a central facet is its own turned image";
            EXPECT_EQ(f->mRing, 0);
        }
        else
            EXPECT_EQ(present, n);
        // Mirror images.
        const StellationFacet* mirror = f->mMirror;
        ASSERT_NE(mirror, nullptr);
        EXPECT_EQ(mirror->mMirror, f);
        if ((type->mFlags & kFaceTypeReflexible) && (type->mMirrorDir.x != 0.0 || type->mMirrorDir.y != 0.0))
        {
            std::vector<Vec2D> image;
            for (const Vec2D& p : first)
                image.push_back(Reflected(p, type->mMirrorDir));
            bool found = false;
            for (const StellationRegion* r : mirror->mRegions)
                found = found || (r && SamePointSet(RegionPoints(r), image));
            EXPECT_TRUE(found) << "the mirror facet holds the reflected region";
        }
        // Rings: a facet beyond ring 0 touches one of the ring before across an edge, and no facet
        // across an edge lies more than one ring away.
        bool before = f->mRing == 0 || (type->mFlags & kFaceTypeUnfacetedRegion);
        for (const StellationRegion* r : f->mRegions)
            for (const StellationEdge* e = r ? r->mEdge : nullptr; e; e = nullptr)
                for (const StellationEdge* x : RingEdges(r))
                {
                    const StellationRegion* across = x->mTwin->mRegion;
                    if (!across)
                        continue;
                    const int ring = across->mFacet->mRing;
                    before = before || ring == f->mRing - 1;
                    EXPECT_LE(std::abs(ring - f->mRing), 1);
                }
        EXPECT_TRUE(before);
    }
    EXPECT_EQ(int(seen.size()), type->mNumRegions) << "every region in a facet";
}

// Each edge in space covers the segment of its matching edge in the diagram of the face that makes
// the line.
inline void CheckLinks(const FaceType* type)
{
    const FaceVert* first = type->mFirstFace;
    for (const StellationLine* p = type->mLineEqns; p; p = p->mNext)
    {
        int count = 0;
        StellationEdge* e = p->mFirstEdge;
        for (; e && count < 100000; e = e->FindOnLineAroundVertex(p->mFirstEdge->mLine), ++count)
            for (const StellationEdge* half : {e, e->mTwin})
            {
                const StellationEdge* n = half->mNeighbour;
                ASSERT_NE(n, nullptr);
                const Vec3D a = InSpace(first, half->mStart->mPos);
                const Vec3D b = InSpace(first, half->GetEnd()->mPos);
                bool covered = false;
                for (const FaceVert* face : {p->mFace, p->mFace2})
                {
                    const StellationLine* made = face == p->mFace ? p->mOuterNeighbour : p->mInnerNeighbour;
                    if (n->mLine != made)
                        continue;
                    const Vec3D c = InSpace(face, n->mStart->mPos);
                    const Vec3D d = InSpace(face, n->GetEnd()->mPos);
                    covered = covered || (NearInSpace(a, c) && NearInSpace(b, d)) || (NearInSpace(a, d) && NearInSpace(b, c));
                }
                EXPECT_TRUE(covered) << "line " << type->GetLineIndex(p) << " edge " << count;
            }
        EXPECT_EQ(p->mLastEdge->GetEnd(), p->mFirstEdge->mStart == p->mLastEdge->mStart ? nullptr : p->mLastEdge->GetEnd());
    }
}

// Rings of coincident vertices: each lies in one orbit of the group's rotations, and each orbit in
// one ring.
inline void CheckCoincidenceRings(const Stellation* stellation, const SymGroup& group)
{
    struct Placed
    {
        const SegVert* vert;
        Vec3D point;
    };
    std::vector<Placed> all;
    for (const FaceType* type : PlaneTypes(stellation))
        for (const SegVert* v = type->mVerts; v; v = v->mNext)
            all.push_back({v, InSpace(type->mFirstFace, v->mPos)});
    std::vector<Mat3> rotations;
    SymOpIterator it;
    Mat3 m;
    while (group.NextOperation(it, true, &m))
        rotations.push_back(m);
    auto sameOrbit = [&](const Vec3D& a, const Vec3D& b) {
        for (const Mat3& r : rotations)
        {
            Vec3D image;
            r.Transform(image, a);
            if (NearInSpace(image, b))
                return true;
        }
        return false;
    };
    auto ringOf = [](const SegVert* v) {
        std::set<const SegVert*> ring;
        const SegVert* u = v;
        for (int i = 0; u && i < 100000 && ring.insert(u).second; ++i)
            u = u->mCoincident;
        return ring;
    };
    std::map<const SegVert*, const std::set<const SegVert*>*> ringByVert;
    std::vector<std::set<const SegVert*>> rings;
    rings.reserve(all.size());
    for (const Placed& p : all)
        if (!ringByVert.count(p.vert))
        {
            rings.push_back(ringOf(p.vert));
            for (const SegVert* u : rings.back())
                ringByVert[u] = &rings.back();
        }
    for (size_t i = 0; i < all.size(); ++i)
    {
        ASSERT_NE(all[i].vert->mCoincident, nullptr);
        for (size_t j = i + 1; j < all.size(); ++j)
        {
            const bool together = ringByVert[all[i].vert] == ringByVert[all[j].vert];
            const bool orbit = sameOrbit(all[i].point, all[j].point);
            EXPECT_EQ(together, orbit) << "vertices at (" << all[i].point.x << ", " << all[i].point.y << ", "
                                       << all[i].point.z << ") and (" << all[j].point.x << ", " << all[j].point.y
                                       << ", " << all[j].point.z << ")";
            if (together != orbit)
                return;
        }
    }
}
