#include "DiagramChecks.h"

#include "kernel/Polygon3D.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/StellationOptions.h"
#include "model/SymGroup.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingEdge.h"
#include "stellation/FacetingFace.h"
#include "stellation/FacetingSettings.h"
#include "stellation/FacetPlane.h"
#include "stellation/FacetPlaneVert.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// The faceting search checked against published facetings (uniform polyhedra and regular compounds
// that share a model's vertices) and against a brute-force count over sets of candidate facets.

namespace
{
constexpr double kEps = 1e-6;

class FacetingSearchTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        GetFacetingSettings() = FacetingSettings();
        mOptions = GetStellationOptions();
        SetReflexibility(false);
    }
    void TearDown() override
    {
        GetFacetingSettings() = FacetingSettings();
        StoreStellationOptions(mOptions);
    }
    static void SetReflexibility(bool on)
    {
        StoreStellationOptions(on ? GetStellationOptions() | kCriteriaReflexible
                                  : GetStellationOptions() & ~kCriteriaReflexible);
    }

private:
    int mOptions = 0;
};

struct Prepared
{
    std::unique_ptr<BuiltModel> model;
    Faceting* faceting = nullptr;
    bool ok = false;
};

// The faceting of the model's own vertices, prepared under the criterion.
Prepared Prepare(const char* config, int criterion)
{
    GetFacetingSettings().criterion = criterion;
    Prepared p;
    p.model = BuildModel(config);
    if (!p.model)
        return p;
    Poly& poly = p.model->poly;
    p.faceting = &poly.GetFaceStellation()->mFaceting;
    p.ok = p.faceting->CreateFaceting(&poly, poly.GetVertStellation()->mFirstFaceType);
    return p;
}

std::vector<FacetingFace*> AllFaces(const Faceting& f)
{
    std::vector<FacetingFace*> out;
    for (FacetingFace* face = f.GetFirstFace(); face; face = face->GetNext())
        out.push_back(face);
    return out;
}

std::vector<FacetingFace*> Facets(const Faceting& f)
{
    std::vector<FacetingFace*> out;
    for (FacetingFace* face = f.mFirstFacet; face; face = face->mNextFacet)
        out.push_back(face);
    return out;
}

struct Found
{
    std::vector<FacetingFace*> facets;
    bool chiral = false;
    bool compound = false;
};

std::vector<Found> FindAll(Faceting& f, size_t cap = 200000)
{
    std::vector<Found> out;
    while (out.size() < cap && f.FindNext())
        out.push_back({Facets(f), f.mNumUnmatchedChirals > 0, f.mIsChiralCompound});
    return out;
}

// A polygon as the set of its sides, each a pair of vertex indices of the faceted model.
using PolygonKey = std::vector<std::pair<int, int>>;
using PolygonSet = std::set<PolygonKey>;

struct Geometry
{
    std::vector<Vec3D> verts;
    std::vector<Mat3> rotations;
    double radius = 0.0;

    explicit Geometry(const Poly& poly)
    {
        for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
            verts.push_back(v->mPoint);
        radius = verts.empty() ? 0.0 : Vec3Length(verts[0]);
        SymOpIterator it;
        Mat3 m;
        while (poly.mGroup->NextOperation(it, true, &m))
            rotations.push_back(m);
    }

    int Index(const Vec3D& p) const
    {
        for (size_t i = 0; i < verts.size(); ++i)
            if (Vec3Equal(verts[i], p, kEps))
                return int(i);
        return -1;
    }

    // Empty when a corner is no vertex of the model.
    PolygonKey Key(const std::vector<Vec3D>& polygon) const
    {
        PolygonKey key;
        for (size_t i = 0; i < polygon.size(); ++i)
        {
            const int a = Index(polygon[i]);
            const int b = Index(polygon[(i + 1) % polygon.size()]);
            if (a < 0 || b < 0)
                return {};
            key.emplace_back(std::min(a, b), std::max(a, b));
        }
        std::sort(key.begin(), key.end());
        return key;
    }

    PolygonSet Orbit(const FacetingFace* face) const
    {
        PolygonSet out;
        for (const Mat3& m : rotations)
        {
            std::vector<Vec3D> image;
            for (const FacetPlaneVert* v : face->mVerts)
            {
                Vec3D q;
                m.Transform(q, v->mVert->mPoint);
                image.push_back(q);
            }
            out.insert(Key(image));
        }
        return out;
    }
};

// The faces of a published polyhedron, scaled to the faceted model's circumradius; empty when some
// corner is no vertex of the model.
PolygonSet PublishedFaces(const char* config, const Geometry& g)
{
    std::unique_ptr<BuiltModel> x = BuildModel(config);
    if (!x)
        return {};
    const double scale = g.radius / Vec3Length(x->poly.mVerts.mFirst->mPoint);
    PolygonSet out;
    for (const FaceVert* f = x->poly.mFaces.mFirst; f; f = f->mNext)
    {
        std::vector<Vec3D> corners;
        for (int i = 0; i < f->mNumSides; ++i)
        {
            Vec3D p;
            Vec3Scale(p, f->mNeighbours[size_t(i)]->mPoint, scale);
            corners.push_back(p);
        }
        const PolygonKey key = g.Key(corners);
        if (key.empty())
            return {};
        out.insert(key);
    }
    return out;
}

// Every polygon of the model's vertices with n equal sides of the length given whose corners are
// all the same distance apart as in the regular polygon: squares (n 4) or triangles (n 3).
PolygonSet RegularPolygons(const Geometry& g, int n, double side)
{
    PolygonSet out;
    const size_t count = g.verts.size();
    auto dist = [&](size_t a, size_t b) { return Vec3Distance(g.verts[a], g.verts[b]); };
    auto is = [&](double a, double b) { return std::fabs(a - b) <= kEps; };
    for (size_t a = 0; a < count; ++a)
        for (size_t b = a + 1; b < count; ++b)
            for (size_t c = b + 1; c < count; ++c)
            {
                if (n == 3)
                {
                    if (is(dist(a, b), side) && is(dist(b, c), side) && is(dist(a, c), side))
                        out.insert(g.Key({g.verts[a], g.verts[b], g.verts[c]}));
                    continue;
                }
                // a-b-c a corner of a square; its fourth corner is a + c - b.
                const size_t corner[3][3] = {{a, b, c}, {b, a, c}, {a, c, b}};
                for (const auto& t : corner)
                {
                    if (!is(dist(t[0], t[1]), side) || !is(dist(t[1], t[2]), side) ||
                        !is(dist(t[0], t[2]), side * std::sqrt(2.0)))
                        continue;
                    Vec3D d;
                    Vec3Add(d, g.verts[t[0]], g.verts[t[2]]);
                    Vec3Sub(d, d, g.verts[t[1]]);
                    if (g.Index(d) >= 0)
                        out.insert(g.Key({g.verts[t[0]], g.verts[t[1]], g.verts[t[2]], d}));
                }
            }
    return out;
}

// The facetings found whose facets' polygons are exactly the set.
std::vector<const Found*> Matching(const std::vector<Found>& found, const std::map<const FacetingFace*, PolygonSet>& orbits,
                                   const PolygonSet& target)
{
    std::vector<const Found*> out;
    for (const Found& f : found)
    {
        PolygonSet all;
        for (const FacetingFace* face : f.facets)
            all.insert(orbits.at(face).begin(), orbits.at(face).end());
        if (all == target)
            out.push_back(&f);
    }
    return out;
}

std::map<const FacetingFace*, PolygonSet> Orbits(const Faceting& f, const Geometry& g)
{
    std::map<const FacetingFace*, PolygonSet> out;
    for (const FacetingFace* face : AllFaces(f))
        out[face] = g.Orbit(face);
    return out;
}

double MinDistance(const Geometry& g)
{
    double best = 1e300;
    for (size_t i = 1; i < g.verts.size(); ++i)
        best = std::min(best, Vec3Distance(g.verts[0], g.verts[i]));
    return best;
}

// The shortest distance from vertex 0 longer than the given one.
double NextDistance(const Geometry& g, double after)
{
    double best = 1e300;
    for (size_t i = 1; i < g.verts.size(); ++i)
    {
        const double d = Vec3Distance(g.verts[0], g.verts[i]);
        if (d > after + kEps)
            best = std::min(best, d);
    }
    return best;
}
}  // namespace

// ---- Published facetings ----

TEST_F(FacetingSearchTest, PublishedFacetingsAreFound)
{
    struct Target
    {
        const char* name;
        const char* config;  // a uniform polyhedron; null for a compound named by kind
        int compound = 0;    // 1 stella octangula, 5 five cubes, 10 ten tetrahedra, 55 five tetrahedra
    };
    struct Case
    {
        const char* model;
        const char* config;
        int criterion;
        bool reflexibility;
        std::vector<Target> present;
        std::vector<Target> absent;
    };
    const Case kCases[] = {
        {"cube", "4.4.4", kFacetingIsohedral, false, {{"cube", "4.4.4"}, {"stella octangula", nullptr, 1}}, {}},
        {"icosahedron",
         "3.3.3.3.3",
         kFacetingIsohedral,
         false,
         {{"icosahedron", "3.3.3.3.3"},
          {"great icosahedron", "(3.3.3.3.3)/2"},
          {"great dodecahedron", "(5.5.5.5.5)/2"},
          {"small stellated dodecahedron", "5/2.5/2.5/2.5/2.5/2"}},
         {}},
        {"dodecahedron",
         "5.5.5",
         kFacetingIsohedral,
         false,
         {{"great stellated dodecahedron", "5/2.5/2.5/2"},
          {"compound of five cubes", nullptr, 5},
          {"compound of ten tetrahedra", nullptr, 10},
          {"compound of five tetrahedra", nullptr, 55}},
         {}},
        {"dodecahedron",
         "5.5.5",
         kFacetingIsohedral,
         true,
         {{"great stellated dodecahedron", "5/2.5/2.5/2"},
          {"compound of five cubes", nullptr, 5},
          {"compound of ten tetrahedra", nullptr, 10}},
         {{"compound of five tetrahedra", nullptr, 55}}},
        {"dodecahedron",
         "5.5.5",
         kFacetingTidy,
         false,
         {{"small ditrigonal icosidodecahedron", "5/2.3.5/2.3.5/2.3"},
          {"ditrigonal dodecadodecahedron", "5/3.5.5/3.5.5/3.5"},
          {"great ditrigonal icosidodecahedron", "(5.3.5.3.5.3)/2"}},
         {}},
        {"cuboctahedron",
         "3.4.3.4",
         kFacetingTidy,
         false,
         {{"octahemioctahedron", "3.6.3/2.6"}, {"cubohemioctahedron", "4.6.4/3.6"}},
         {}},
        {"cuboctahedron",
         "3.4.3.4",
         kFacetingDualTidy,
         false,
         {},
         {{"octahemioctahedron", "3.6.3/2.6"}, {"cubohemioctahedron", "4.6.4/3.6"}}},
        {"icosidodecahedron",
         "3.5.3.5",
         kFacetingTidy,
         false,
         {{"small icosihemidodecahedron", "3/2.10.3.10"}, {"small dodecahemidodecahedron", "5/4.10.5.10"}},
         {}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(std::string(c.model) + ", criterion " + std::to_string(c.criterion) +
                     (c.reflexibility ? ", reflexibility maintained" : ""));
        ScopedScriptedServices scripted;
        SetReflexibility(c.reflexibility);
        Prepared p = Prepare(c.config, c.criterion);
        ASSERT_TRUE(p.ok);
        const Geometry g(p.model->poly);
        const std::map<const FacetingFace*, PolygonSet> orbits = Orbits(*p.faceting, g);
        const std::vector<Found> found = FindAll(*p.faceting);
        ASSERT_FALSE(found.empty());

        const double edge = MinDistance(g);
        const double diagonal = NextDistance(g, edge);
        auto facesOf = [&](const Target& t) -> PolygonSet {
            if (t.config)
                return PublishedFaces(t.config, g);
            if (t.compound == 1)
                return RegularPolygons(g, 3, diagonal);
            if (t.compound == 5)
                return RegularPolygons(g, 4, diagonal);
            return RegularPolygons(g, 3, diagonal * std::sqrt(2.0));
        };
        for (const Target& t : c.present)
        {
            SCOPED_TRACE(t.name);
            PolygonSet faces = facesOf(t);
            const size_t expected[] = {0, 8, 0, 0, 0, 30, 0, 0, 0, 0, 40};
            if (t.compound && t.compound <= 10)
            {
                EXPECT_EQ(faces.size(), expected[t.compound]);
            }
            if (t.compound == 55)
            {
                // Five of the ten tetrahedra, one of each pair: a chiral faceting of 20 of the 40 triangles.
                ASSERT_EQ(faces.size(), 40u);
                bool seen = false;
                for (const Found& f : found)
                {
                    PolygonSet all;
                    for (const FacetingFace* face : f.facets)
                        all.insert(orbits.at(face).begin(), orbits.at(face).end());
                    if (all.size() == 20 && std::includes(faces.begin(), faces.end(), all.begin(), all.end()))
                    {
                        seen = true;
                        EXPECT_TRUE(f.chiral);
                    }
                }
                EXPECT_TRUE(seen);
                continue;
            }
            ASSERT_FALSE(faces.empty());
            EXPECT_FALSE(Matching(found, orbits, faces).empty());
        }
        for (const Target& t : c.absent)
        {
            SCOPED_TRACE(std::string("not ") + t.name);
            PolygonSet faces = facesOf(t);
            ASSERT_FALSE(faces.empty());
            if (t.compound == 55)
            {
                for (const Found& f : found)
                {
                    PolygonSet all;
                    for (const FacetingFace* face : f.facets)
                        all.insert(orbits.at(face).begin(), orbits.at(face).end());
                    EXPECT_FALSE(all.size() == 20 && std::includes(faces.begin(), faces.end(), all.begin(), all.end()));
                }
                continue;
            }
            // No plane through the centre: the hemi-polyhedra's faces are not even candidates.
            EXPECT_TRUE(Matching(found, orbits, faces).empty());
        }
        // With reflexibility maintained no facet comes without its mirror image.
        if (c.reflexibility)
        {
            for (const Found& f : found)
                for (const FacetingFace* face : f.facets)
                    EXPECT_NE(std::find(f.facets.begin(), f.facets.end(), face->mMirror), f.facets.end());
        }
    }
}

// ---- An independent count ----

namespace
{
struct Counts
{
    long total = 0, chiral = 0, compound = 0;
};

// Every set of candidate facets, by inclusion and exclusion in the order of all faces: each edge
// class used exactly twice, no two facets of one plane meeting at an edge class (or, under the
// tidy criteria, at a vertex), connected through edge classes; a set and its mirror image count
// once.
class BruteForce
{
public:
    BruteForce(const Faceting& f, int criterion, bool reflexibility)
        : mFaceting(f), mCriterion(criterion), mReflexibility(reflexibility), mFaces(AllFaces(f))
    {
        for (size_t i = 0; i < mFaces.size(); ++i)
            mIndex[mFaces[i]] = int(i);
        mChosen.assign(mFaces.size(), false);
    }

    Counts Run()
    {
        Visit(0);
        return mCounts;
    }

private:
    const Faceting& mFaceting;
    int mCriterion;
    bool mReflexibility;
    std::vector<FacetingFace*> mFaces;
    std::map<const FacetingFace*, int> mIndex;
    std::vector<bool> mChosen;
    std::map<const FacetingEdge*, int> mEdgeUses;
    Counts mCounts;

    static bool SharesLeader(const FacetingFace* a, const FacetingFace* b)
    {
        for (int i = 0; i < a->GetNumBaseVerts(); ++i)
            for (int j = 0; j < b->GetNumBaseVerts(); ++j)
                if (a->mVerts[size_t(i)]->mLeader == b->mVerts[size_t(j)]->mLeader)
                    return true;
        return false;
    }

    static bool SharesEdge(const FacetingFace* a, const FacetingFace* b)
    {
        for (const FaceUse& u : a->mUses)
            for (const FaceUse& v : b->mUses)
                if (u.mEdge == v.mEdge)
                    return true;
        return false;
    }

    // Two facets may stand together.
    bool Compatible(const FacetingFace* a, const FacetingFace* b) const
    {
        if (a->mPlane != b->mPlane)
            return true;
        if (SharesEdge(a, b))
            return false;
        return !(IsTidyFacetingCriterion(mCriterion) && SharesLeader(a, b));
    }

    // Edge uses within 2 and every pair compatible; with exact, every edge class used twice.
    bool Valid(const std::vector<const FacetingFace*>& set, bool exact) const
    {
        std::map<const FacetingEdge*, int> uses;
        for (size_t i = 0; i < set.size(); ++i)
        {
            for (const FaceUse& u : set[i]->mUses)
                uses[u.mEdge] += u.mNumHits;
            for (size_t j = 0; j < i; ++j)
                if (set[i] == set[j] || !Compatible(set[i], set[j]))
                    return false;
        }
        for (const auto& [edge, n] : uses)
            if (n > 2 || (exact && n != 2))
                return false;
        return true;
    }

    // Under maintained reflexibility a facet and its mirror image join the faceting together.
    bool Connected(const std::vector<const FacetingFace*>& set) const
    {
        std::vector<bool> reached(set.size(), false);
        std::vector<size_t> stack{0};
        reached[0] = true;
        while (!stack.empty())
        {
            const size_t i = stack.back();
            stack.pop_back();
            for (size_t j = 0; j < set.size(); ++j)
                if (!reached[j] && (SharesEdge(set[i], set[j]) || (mReflexibility && MirrorOf(set[i]) == set[j])))
                {
                    reached[j] = true;
                    stack.push_back(j);
                }
        }
        return std::find(reached.begin(), reached.end(), false) == reached.end();
    }

    bool UsesAllVertexTypes(const std::vector<const FacetingFace*>& set) const
    {
        std::set<const void*> types;
        for (const FacetingFace* f : set)
            for (const FaceUse& u : f->mUses)
            {
                types.insert(u.mEdge->mVertA->mFaceType);
                types.insert(u.mEdge->mVertB->mFaceType);
            }
        return int(types.size()) >= mFaceting.mNumVertexTypes;
    }

    std::vector<int> Indices(const std::vector<const FacetingFace*>& set) const
    {
        std::vector<int> out;
        for (const FacetingFace* f : set)
            out.push_back(mIndex.at(f));
        std::sort(out.begin(), out.end());
        return out;
    }

    static const FacetingFace* MirrorOf(const FacetingFace* f) { return f->mMirror ? f->mMirror : f; }

    void Evaluate()
    {
        std::vector<const FacetingFace*> set;
        for (size_t i = 0; i < mFaces.size(); ++i)
            if (mChosen[i])
                set.push_back(mFaces[i]);
        // An isohedral faceting of a chiral pair need not be connected (the compound of ten
        // tetrahedra); any other grows from one facet through its edges.
        if (set.empty() || !Valid(set, true) || !UsesAllVertexTypes(set) ||
            (mCriterion != kFacetingIsohedral && !Connected(set)))
            return;
        std::vector<const FacetingFace*> mirrors;
        for (const FacetingFace* f : set)
            mirrors.push_back(MirrorOf(f));
        const std::vector<int> own = Indices(set), image = Indices(mirrors);
        const bool reflexible = own == image;
        const FacetingSettings& s = GetFacetingSettings();

        if (mCriterion == kFacetingIsohedral)
        {
            const bool orbit = (set.size() == 1 && (set[0]->mFlags & kFacetingFaceSelfClosed)) ||
                               (set.size() == 2 && MirrorOf(set[0]) == set[1]);
            if (!orbit || (mReflexibility && !reflexible) || (!reflexible && image < own))
                return;
            ++mCounts.total;
            mCounts.chiral += !reflexible;
            return;
        }
        if (mReflexibility && !reflexible)
            return;
        if (!reflexible && image < own)
            return;
        const int n = int(set.size());
        if (n >= s.minFacets && n <= s.maxFacets)
        {
            ++mCounts.total;
            mCounts.chiral += !reflexible;
        }
        // An all-chiral faceting and its mirror image together, when they fit.
        bool allChiral = !mReflexibility;
        for (const FacetingFace* f : set)
            allChiral = allChiral && MirrorOf(f) != f && std::find(set.begin(), set.end(), MirrorOf(f)) == set.end();
        if (!allChiral || 2 * n < s.minFacets || 2 * n > s.maxFacets)
            return;
        std::vector<const FacetingFace*> both = set;
        both.insert(both.end(), mirrors.begin(), mirrors.end());
        if (Valid(both, true))
        {
            ++mCounts.total;
            ++mCounts.compound;
        }
    }

    void Visit(size_t i)
    {
        if (i == mFaces.size())
        {
            Evaluate();
            return;
        }
        Visit(i + 1);
        const FacetingFace* f = mFaces[i];
        for (const FaceUse& u : f->mUses)
            if (mEdgeUses[u.mEdge] + u.mNumHits > 2)
                return;
        for (size_t j = 0; j < i; ++j)
            if (mChosen[j] && !Compatible(mFaces[j], f))
                return;
        for (const FaceUse& u : f->mUses)
            mEdgeUses[u.mEdge] += u.mNumHits;
        mChosen[i] = true;
        Visit(i + 1);
        mChosen[i] = false;
        for (const FaceUse& u : f->mUses)
            mEdgeUses[u.mEdge] -= u.mNumHits;
    }
};

Counts Enumerated(Faceting& f)
{
    Counts c;
    for (const Found& found : FindAll(f))
    {
        ++c.total;
        c.compound += found.compound;
        c.chiral += found.chiral && !found.compound;
    }
    return c;
}
}  // namespace

TEST_F(FacetingSearchTest, CountsEqualABruteForceCount)
{
    const std::pair<int, int> kLimits[] = {{1, INT_MAX}, {1, 2}, {2, INT_MAX}, {2, 3}};
    for (const char* config : {"4.4.4", "3.3.3.3", "3.4.3.4", "3.3.3.3.3", "5.5.5", "3.6.6"})
        for (int criterion = 0; criterion < 4; ++criterion)
            for (bool reflexibility : {false, true})
                for (const auto& [minFacets, maxFacets] : kLimits)
                {
                    SCOPED_TRACE(std::string(config) + ", criterion " + std::to_string(criterion) +
                                 (reflexibility ? ", reflexible" : "") + ", facet types " +
                                 std::to_string(minFacets) + ".." + std::to_string(maxFacets));
                    ScopedScriptedServices scripted;
                    SetReflexibility(reflexibility);
                    GetFacetingSettings().minFacets = minFacets;
                    GetFacetingSettings().maxFacets = maxFacets;
                    Prepared p = Prepare(config, criterion);
                    ASSERT_TRUE(p.ok);
                    const Counts expected = BruteForce(*p.faceting, criterion, reflexibility).Run();
                    const Counts got = Enumerated(*p.faceting);
                    EXPECT_EQ(got.total, expected.total);
                    EXPECT_EQ(got.chiral, expected.chiral);
                    EXPECT_EQ(got.compound, expected.compound);
                }
}

// ---- The search's edge cases ----

namespace
{
// Records what the core asks of the views and the undo list.
class RecordingShell : public Shell
{
public:
    RecordingShell() : mPrevious(SetShell(this)) {}
    ~RecordingShell() override { SetShell(mPrevious); }
    void SetViewMessage(void* view, const std::string& text) override
    {
        messages.push_back(text);
        messageViews.push_back(view);
    }
    void AddUndo(int kind, bool) override { undoKinds.push_back(kind); }
    void DiscardLastUndo() override { ++discarded; }

    std::vector<std::string> messages;
    std::vector<void*> messageViews;
    std::vector<int> undoKinds;
    int discarded = 0;

private:
    Shell* mPrevious;
};

std::vector<FacetingFace*> WithMirrors(const std::vector<FacetingFace*>& half)
{
    std::vector<FacetingFace*> out = half;
    for (auto it = half.rbegin(); it != half.rend(); ++it)
        out.push_back((*it)->mMirror);
    return out;
}

bool UsesAllVertexTypes(const Faceting& f, const std::vector<FacetingFace*>& facets)
{
    std::set<const void*> types;
    for (const FacetingFace* face : facets)
        for (const FaceUse& u : face->mUses)
        {
            types.insert(u.mEdge->mVertA->mFaceType);
            types.insert(u.mEdge->mVertB->mFaceType);
        }
    return int(types.size()) == f.mNumVertexTypes;
}
}  // namespace

TEST_F(FacetingSearchTest, AfterTheLastFacetingTheSearchStartsAgainFromTheFirst)
{
    for (int criterion : {kFacetingIsohedral, kFacetingTidy})
    {
        SCOPED_TRACE(criterion);
        ScopedScriptedServices scripted;
        Prepared p = Prepare("5.5.5", criterion);
        ASSERT_TRUE(p.ok);
        const std::vector<Found> first = FindAll(*p.faceting);
        ASSERT_GT(first.size(), 1u);
        // Out of facetings: the state is reset.
        EXPECT_EQ(p.faceting->mNumFacets, 0);
        EXPECT_EQ(p.faceting->mNumOpenEdges, 0);
        for (const FacetingFace* face : AllFaces(*p.faceting))
            EXPECT_EQ(face->mDepth, -1);
        const std::vector<Found> again = FindAll(*p.faceting);
        ASSERT_EQ(again.size(), first.size());
        for (size_t i = 0; i < first.size(); ++i)
            EXPECT_EQ(again[i].facets, first[i].facets) << i;
        // No faceting comes twice.
        std::set<std::vector<FacetingFace*>> distinct;
        for (const Found& f : first)
        {
            std::vector<FacetingFace*> sorted = f.facets;
            std::sort(sorted.begin(), sorted.end());
            distinct.insert(sorted);
        }
        EXPECT_EQ(distinct.size(), first.size());
    }
}

TEST_F(FacetingSearchTest, IsohedralFindPreviousWalksTheSameFacetingsBackwards)
{
    for (bool reflexibility : {false, true})
    {
        SCOPED_TRACE(reflexibility);
        ScopedScriptedServices scripted;
        SetReflexibility(reflexibility);
        Prepared p = Prepare("5.5.5", kFacetingIsohedral);
        ASSERT_TRUE(p.ok);
        const std::vector<Found> forwards = FindAll(*p.faceting);
        ASSERT_GT(forwards.size(), 2u);
        std::vector<std::vector<FacetingFace*>> backwards;
        while (p.faceting->FindPrevious())
        {
            std::vector<FacetingFace*> facets = Facets(*p.faceting);
            std::sort(facets.begin(), facets.end());
            backwards.push_back(facets);
        }
        ASSERT_EQ(backwards.size(), forwards.size());
        for (size_t i = 0; i < forwards.size(); ++i)
        {
            std::vector<FacetingFace*> expected = forwards[forwards.size() - 1 - i].facets;
            std::sort(expected.begin(), expected.end());
            EXPECT_EQ(backwards[i], expected) << i;
        }
        // Forwards again from the middle: each step back and forth lands on its neighbour.
        for (size_t i = 0; i < 3; ++i)
            ASSERT_TRUE(p.faceting->FindNext());
        ASSERT_TRUE(p.faceting->FindPrevious());
        EXPECT_EQ(Facets(*p.faceting), forwards[1].facets);
        ASSERT_TRUE(p.faceting->FindNext());
        EXPECT_EQ(Facets(*p.faceting), forwards[2].facets);
    }
}

TEST_F(FacetingSearchTest, OneFacetTypeAtMostKeepsEveryFacetingToOneOrbit)
{
    for (int criterion : {kFacetingDualTidy, kFacetingTidy, kFacetingCoplanarVerts})
    {
        SCOPED_TRACE(criterion);
        ScopedScriptedServices scripted;
        GetFacetingSettings().maxFacets = INT_MAX;
        Prepared p = Prepare("5.5.5", criterion);
        ASSERT_TRUE(p.ok);
        const std::vector<Found> all = FindAll(*p.faceting);
        size_t single = 0;
        for (const Found& f : all)
            single += f.facets.size() == 1;
        GetFacetingSettings().maxFacets = 1;
        p.faceting->Reset(true, false);
        const std::vector<Found> limited = FindAll(*p.faceting);
        EXPECT_GT(all.size(), limited.size());
        EXPECT_EQ(limited.size(), single);
        for (const Found& f : limited)
            EXPECT_EQ(f.facets.size(), 1u);
    }
}

TEST_F(FacetingSearchTest, WithoutPartialFacetingsEveryVertexTypeIsUsed)
{
    // The rhombic dodecahedron's vertices: the cube's eight and the octahedron's six.
    ScopedScriptedServices scripted;
    GetFacetingSettings().criterion = kFacetingTidy;
    std::unique_ptr<BuiltModel> model = BuildModel("3.4.3.4");
    ASSERT_TRUE(model);
    Poly& poly = model->poly;
    Faceting& faceting = poly.GetVertStellation()->mFaceting;
    ASSERT_TRUE(faceting.CreateFaceting(&poly, poly.GetFaceStellation()->mFirstFaceType));
    ASSERT_EQ(faceting.mNumVertexTypes, 2);

    const std::vector<Found> whole = FindAll(faceting);
    ASSERT_FALSE(whole.empty());
    for (const Found& f : whole)
        EXPECT_TRUE(UsesAllVertexTypes(faceting, f.facets));

    GetFacetingSettings().options = kFacetingPartialOK;
    faceting.Reset(true, false);
    const std::vector<Found> partial = FindAll(faceting);
    size_t leavingOut = 0;
    for (const Found& f : partial)
        leavingOut += !UsesAllVertexTypes(faceting, f.facets);
    EXPECT_GT(leavingOut, 0u);
    EXPECT_EQ(partial.size(), whole.size() + leavingOut);
}

TEST_F(FacetingSearchTest, AnAllChiralFacetingComesAloneAndThenAsACompoundWithItsMirrorImage)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("5.5.5", kFacetingTidy);
    ASSERT_TRUE(p.ok);
    const std::vector<Found> all = FindAll(*p.faceting);
    int compounds = 0;
    for (size_t i = 0; i < all.size(); ++i)
    {
        if (!all[i].compound)
            continue;
        ++compounds;
        ASSERT_GT(i, 0u);
        const Found& half = all[i - 1];
        EXPECT_TRUE(half.chiral);
        EXPECT_FALSE(half.compound);
        EXPECT_EQ(all[i].facets, WithMirrors(half.facets));
        for (const FacetingFace* face : half.facets)
            EXPECT_EQ(std::find(half.facets.begin(), half.facets.end(), face->mMirror), half.facets.end());
    }
    EXPECT_GT(compounds, 0);

    // With reflexibility maintained there are no halves, and no chiral facet without its mirror image.
    SetReflexibility(true);
    Prepared q = Prepare("5.5.5", kFacetingTidy);
    ASSERT_TRUE(q.ok);
    for (const Found& f : FindAll(*q.faceting))
    {
        EXPECT_FALSE(f.compound);
        EXPECT_FALSE(f.chiral);
        for (const FacetingFace* face : f.facets)
            EXPECT_NE(std::find(f.facets.begin(), f.facets.end(), face->mMirror), f.facets.end());
    }
}

TEST_F(FacetingSearchTest, FindPreviousUnderTidyExplainsItselfUnlessAtACompound)
{
    ScopedScriptedServices scripted;
    RecordingShell shell;
    Prepared p = Prepare("5.5.5", kFacetingTidy);
    ASSERT_TRUE(p.ok);
    ASSERT_TRUE(p.faceting->FindNext());
    ASSERT_TRUE(p.faceting->FindNext());
    const std::vector<FacetingFace*> before = Facets(*p.faceting);
    EXPECT_FALSE(p.faceting->FindPrevious());
    EXPECT_EQ(Facets(*p.faceting), before);
    EXPECT_EQ(shell.discarded, 1);
    ASSERT_EQ(shell.messages.size(), 1u);
    EXPECT_EQ(shell.messageViews[0], nullptr);
    EXPECT_EQ(shell.messages[0],
              "Sorry, going to the previous faceting has only\nbeen implemented when using the isohedral criteria.\n"
              "(See \"Isohedral\").\n\nIf you want to go back to a faceting you just\npassed, try using Ctrl+Z to "
              "undo instead.");

    // A chiral compound goes back to its half.
    std::vector<FacetingFace*> half;
    while (p.faceting->FindNext() && !p.faceting->mIsChiralCompound)
        half = Facets(*p.faceting);
    ASSERT_TRUE(p.faceting->mIsChiralCompound);
    EXPECT_TRUE(p.faceting->FindPrevious());
    EXPECT_FALSE(p.faceting->mIsChiralCompound);
    EXPECT_EQ(Facets(*p.faceting), half);
    EXPECT_EQ(shell.messages.size(), 1u);
}

// ---- Enumeration ----

namespace
{
int64_t gFakeNow = 0;
int64_t FakeClock()
{
    return gFakeNow += 10000;  // late enough at every step to show the window and pump it
}

class ScopedFakeClock
{
public:
    ScopedFakeClock() : mPrevious(SetProgressClock(&FakeClock)) {}
    ~ScopedFakeClock() { SetProgressClock(mPrevious); }

private:
    ProgressClock mPrevious;
};

std::string Reported(const ScriptedServices& services)
{
    const ScriptedServices::Call* call = services.LastCall("MessageBox");
    return call ? call->text : std::string();
}

std::string Text(long n)
{
    return std::to_string(n);
}

std::string TextOf(const BigUInt& n)
{
    char text[128];
    return n.ToText(text, sizeof(text));
}
}  // namespace

TEST_F(FacetingSearchTest, EnumerationReportsReflexibleAsTotalLessChiral)
{
    ScopedScriptedServices scripted;
    RecordingShell shell;
    Prepared p = Prepare("5.5.5", kFacetingIsohedral);
    ASSERT_TRUE(p.ok);
    const Counts truth = Enumerated(*p.faceting);
    // The compound of five tetrahedra is chiral; the compound of ten is not.
    ASSERT_GT(truth.chiral, 0);
    ASSERT_GT(truth.total, truth.chiral);
    std::vector<Found> all = FindAll(*p.faceting);
    ASSERT_FALSE(all.empty());

    EXPECT_TRUE(RunFacetingEnumeration(p.faceting));
    const std::string report = Reported(scripted.services);
    const std::string expected = "Found " + Text(truth.total) + " facetings: " + Text(truth.total - truth.chiral) +
                                 " reflexible, " + Text(truth.chiral) + " chiral.\nReflexible count includes " +
                                 Text(truth.compound) + " compounds of chiral pairs.\nTook ";
    EXPECT_EQ(report.substr(0, expected.size()), expected);
    // A completed run starts the next one afresh.
    EXPECT_TRUE(p.faceting->mTotalCount.IsZero());
    EXPECT_TRUE(p.faceting->mChiralCount.IsZero());
    EXPECT_TRUE(p.faceting->mCompoundCount.IsZero());
    ASSERT_EQ(shell.undoKinds.size(), 1u);
    EXPECT_EQ(shell.undoKinds[0], 28);
    // The last faceting found is shown: one drawn polygon per facet, then the empty one being drawn.
    EXPECT_EQ(ListCount(p.model->poly.mFirstDrawnPolygon), int(all.back().facets.size()) + 1);

    SetReflexibility(true);
    p.faceting->Reset(true, false);
    const Counts reflexible = Enumerated(*p.faceting);
    EXPECT_TRUE(RunFacetingEnumeration(p.faceting));
    const std::string expectedReflexible = "Found " + Text(reflexible.total) + " reflexible facetings.\nTook ";
    EXPECT_EQ(Reported(scripted.services).substr(0, expectedReflexible.size()), expectedReflexible);
}

TEST_F(FacetingSearchTest, AChiralGroupReportsPlainCounts)
{
    ScopedScriptedServices scripted;
    Prepared p = Prepare("3.3.3.3.4", kFacetingIsohedral);  // the snub cube: rotations only
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.model->poly.mGroup->mReflection, SymGroup::kChiral);
    const Counts truth = Enumerated(*p.faceting);
    ASSERT_GT(truth.total, 0);
    EXPECT_TRUE(RunFacetingEnumeration(p.faceting));
    const std::string expected = "Found " + Text(truth.total) + " facetings\nTook ";
    EXPECT_EQ(Reported(scripted.services).substr(0, expected.size()), expected);
}

TEST_F(FacetingSearchTest, ACancelledEnumerationWarnsKeepsItsCountsAndResumesToTheSameTotals)
{
    ScopedScriptedServices scripted;
    ScopedFakeClock clock;
    // Long searches between facetings of six or more types: the search itself reports progress.
    GetFacetingSettings().minFacets = 6;
    Prepared p = Prepare("3.5.3.5", kFacetingTidy);
    ASSERT_TRUE(p.ok);
    const Counts truth = Enumerated(*p.faceting);
    ASSERT_GT(truth.total, 0);
    for (int cancelAt : {1, 10, 40})
    {
        SCOPED_TRACE(cancelAt);
        p.faceting->Reset(true, false);
        scripted.services.Clear();
        scripted.services.progressPumps = 0;
        scripted.services.cancelAtPump = cancelAt;
        EXPECT_FALSE(RunFacetingEnumeration(p.faceting));
        const std::string report = Reported(scripted.services);
        EXPECT_EQ(report.rfind("WARNING!  Enumeration was not completed.\n\nFound ", 0), 0u) << report;
        const std::string partial = TextOf(p.faceting->mTotalCount);
        EXPECT_NE(report.find("Found " + partial + " facetings"), std::string::npos);

        // Continue to the end: nothing is counted twice or missed.
        scripted.services.cancelAtPump = -1;
        ASSERT_TRUE(EnumerateFacetings(p.faceting));
        EXPECT_EQ(TextOf(p.faceting->mTotalCount), Text(truth.total));
        EXPECT_EQ(TextOf(p.faceting->mChiralCount), Text(truth.chiral));
        EXPECT_EQ(TextOf(p.faceting->mCompoundCount), Text(truth.compound));
    }
}

TEST_F(FacetingSearchTest, EnumerationShowsProgressEveryTenThousandFacetings)
{
    ScopedScriptedServices scripted;
    ScopedFakeClock clock;
    Prepared p = Prepare("3.5.3.5", kFacetingCoplanarVerts);
    ASSERT_TRUE(p.ok);
    ASSERT_TRUE(EnumerateFacetings(p.faceting));
    const long total = std::stol(TextOf(p.faceting->mTotalCount));
    ASSERT_GE(total, 20000);
    std::vector<std::string> reports;
    for (const ProgressDisplay& d : scripted.services.progressUpdates)
        if (d.setCaption && d.caption.rfind("Enumerating facetings.", 0) == 0)
            reports.push_back(d.caption);
    ASSERT_EQ(long(reports.size()), total / 10000);
    for (size_t i = 0; i < reports.size(); ++i)
    {
        const std::string head = "Enumerating facetings.  Found " + std::to_string((i + 1) * 10000) + " so far.\nCurrent facet ";
        EXPECT_EQ(reports[i].substr(0, head.size()), head);
        EXPECT_EQ(reports[i].back(), ',');
    }
}
