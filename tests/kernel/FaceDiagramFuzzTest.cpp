#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Messages.h"

#include "DiagramTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

// Thousands of random planes of polygons: random (mostly self-crossing) polygons, star polygons,
// rectangles on a coarse grid that share and overlap edges, exact and reversed copies, copies whose
// corners moved by less than the tolerance, and outlines with edges shorter than it. Whatever comes
// in, the diagram must finish with every owner entry set, and the regions, weighted by each owner's
// winding number, must give back the signed area the owner drew.

namespace
{
struct Drawn
{
    int owner;
    Points2D points;
};

class Generator
{
public:
    explicit Generator(unsigned seed) : mRng(seed) {}

    std::vector<Drawn> Plane()
    {
        std::vector<Drawn> plane;
        const int count = Int(1, 6);
        for (int i = 0; i < count; ++i)
        {
            Drawn d;
            d.owner = Int(0, 3);
            const int kind = plane.empty() ? Int(0, 2) : Int(0, 8);
            switch (kind)
            {
            case 0:
                d.points = RandomPolygon();
                break;
            case 1:
                d.points = Star();
                break;
            case 2:
                d.points = GridRectangle();
                break;
            case 3:  // an exact copy, maybe reversed, maybe of another owner
                d.points = Pick(plane).points;
                if (Int(0, 1))
                    d.points = Reversed(d.points);
                break;
            case 4:  // a copy whose corners moved by less than the tolerance
                d.points = Jitter(Pick(plane).points, 0.9e-7);
                break;
            case 5:  // corners taken from earlier outlines, a little off
                d.points = FromCorners(plane);
                break;
            case 6:  // a short edge inside an outline
                d.points = WithShortEdge(Pick(plane).points);
                break;
            case 7:  // corners on the edges of earlier outlines
                d.points = OnEdges(plane);
                break;
            default:  // a sliver along an earlier edge
                d.points = Sliver(Pick(plane).points);
                break;
            }
            if (d.points.size() >= 2)
                plane.push_back(d);
        }
        return plane;
    }

private:
    int Int(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(mRng); }
    double Real(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(mRng); }
    const Drawn& Pick(const std::vector<Drawn>& plane) { return plane[size_t(Int(0, int(plane.size()) - 1))]; }

    Points2D RandomPolygon()
    {
        Points2D p(size_t(Int(3, 9)));
        for (Vec2D& v : p)
            v = {Real(-1, 1), Real(-1, 1)};
        return p;
    }

    Points2D Star()
    {
        const int n = Int(5, 13);
        const int k = Int(1, n / 2);
        Points2D p = StarPolygon(n, k, Real(0.2, 1.5), {Real(-0.5, 0.5), Real(-0.5, 0.5)}, Real(0, 6.3));
        return Int(0, 1) ? p : Reversed(p);
    }

    Points2D GridRectangle()
    {
        const double x0 = Int(-4, 3) * 0.25, y0 = Int(-4, 3) * 0.25;
        const double x1 = x0 + Int(1, 4) * 0.25, y1 = y0 + Int(1, 4) * 0.25;
        Points2D p = {{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}};
        return Int(0, 1) ? p : Reversed(p);
    }

    Points2D Jitter(Points2D p, double amount)
    {
        for (Vec2D& v : p)
        {
            v.x += Real(-amount, amount);
            v.y += Real(-amount, amount);
        }
        return p;
    }

    Points2D FromCorners(const std::vector<Drawn>& plane)
    {
        Points2D p(size_t(Int(3, 7)));
        for (Vec2D& v : p)
        {
            if (Int(0, 3) == 0)
                v = {Real(-1, 1), Real(-1, 1)};
            else
            {
                const Points2D& from = Pick(plane).points;
                v = from[size_t(Int(0, int(from.size()) - 1))];
                if (Int(0, 1))
                    v = Jitter({v}, 1e-7)[0];
            }
        }
        return p;
    }

    Vec2D OnEdge(const Points2D& p)
    {
        const size_t i = size_t(Int(0, int(p.size()) - 1));
        const Vec2D& a = p[i];
        const Vec2D& b = p[(i + 1) % p.size()];
        const double t = Int(0, 2) ? Real(0, 1) : Int(1, 3) * 0.25;
        Vec2D v{a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t};
        return Int(0, 1) ? v : Jitter({v}, 1e-7)[0];
    }

    Points2D OnEdges(const std::vector<Drawn>& plane)
    {
        Points2D p(size_t(Int(3, 6)));
        for (Vec2D& v : p)
            v = Int(0, 4) ? OnEdge(Pick(plane).points) : Vec2D{Real(-1, 1), Real(-1, 1)};
        return p;
    }

    // A long thin triangle hugging an edge: its apex lies within a few tolerances of the edge.
    Points2D Sliver(const Points2D& from)
    {
        const size_t i = size_t(Int(0, int(from.size()) - 1));
        const Vec2D a = from[i];
        const Vec2D b = from[(i + 1) % from.size()];
        const double len = std::hypot(b.x - a.x, b.y - a.y);
        if (len == 0.0)
            return {};
        const double off = Real(-3e-7, 3e-7);
        const Vec2D m{(a.x + b.x) / 2 - (b.y - a.y) / len * off, (a.y + b.y) / 2 + (b.x - a.x) / len * off};
        return {a, b, m};
    }

    Points2D WithShortEdge(Points2D p)
    {
        const size_t at = size_t(Int(0, int(p.size()) - 1));
        const Vec2D v = p[at];
        p.insert(p.begin() + std::ptrdiff_t(at) + 1, Vec2D{v.x + Real(-1e-7, 1e-7), v.y + Real(-1e-7, 1e-7)});
        return p;
    }

    std::mt19937 mRng;
};

double Perimeter(const Points2D& p)
{
    double sum = 0.0;
    for (size_t i = 0; i < p.size(); ++i)
    {
        const Vec2D& a = p[i];
        const Vec2D& b = p[(i + 1) % p.size()];
        sum += std::hypot(b.x - a.x, b.y - a.y);
    }
    return sum;
}

TEST(FaceDiagramFuzz, RandomPlanesKeepEveryOwnersSignedArea)
{
    // ORVANE_FUZZ_TRIALS and ORVANE_FUZZ_SEED widen the search by hand.
    const char* trials = std::getenv("ORVANE_FUZZ_TRIALS");
    const char* seed = std::getenv("ORVANE_FUZZ_SEED");
    const int kTrials = trials ? std::atoi(trials) : 4000;
    const int kOwnerTokens[4] = {};
    TestOwners owners;
    Generator gen(seed ? unsigned(std::atoi(seed)) : 0x5eed10u);
    int failures = 0;
    long polygons = 0, edges = 0, vertices = 0, loopTypes = 0;
    long conflicts = 0, relinks = 0, recoveries = 0, forced = 0, merged = 0, retriangulated = 0;
    int largest = 0;
    double worst = 0.0;

    for (int trial = 0; trial < kTrials && failures < 10; ++trial)
    {
        SCOPED_TRACE(trial);
        const std::vector<Drawn> plane = gen.Plane();
        FaceDiagram d;
        d.Begin(kOwnerKindCallbacks, &owners);
        double expected[4] = {};
        double slack[4] = {};
        for (const Drawn& p : plane)
        {
            AddPolygon(d, &kOwnerTokens[p.owner], p.points);
            expected[p.owner] += SignedArea(p.points);
            slack[p.owner] += Perimeter(p.points);
            ++polygons;
            edges += long(p.points.size());
        }
        ASSERT_TRUE(d.Finish(0, nullptr));
        vertices += d.VertCount();
        largest = std::max(largest, d.VertCount());
        loopTypes += d.mLoopTypeCount;
        conflicts += d.mCoverageConflicts;
        relinks += d.mRelinks;
        recoveries += d.mParentRecoveries;
        forced += d.mForcedLinks;
        merged += d.mMergedVertices;
        retriangulated += d.mRetriangulated;

        bool ok = true;
        for (int k = 0; k < d.mLoopTypeCount; ++k)
        {
            const LoopType& type = d.mLoopTypes[k];
            for (int o = 0; o < type.mOwnerCount; ++o)
            {
                const void* owner = type.mOwners[o].mOwner;
                const bool known = owner >= static_cast<const void*>(&kOwnerTokens[0]) &&
                                   owner <= static_cast<const void*>(&kOwnerTokens[3]);
                EXPECT_TRUE(known) << "loop type " << k << " owner " << o;
                EXPECT_NE(type.mOwners[o].mCount, 0);
                ok = ok && known;
            }
            const LoopTypeTriangles& t = d.mLoopTypeTriangles[k];
            EXPECT_EQ(t.mCount % 3, 0);
            for (int i = 0; i < t.mCount; ++i)
                ok = ok && t.mIndices[i] >= 0 && t.mIndices[i] < d.VertCount();
        }
        EXPECT_TRUE(ok);
        for (int o = 0; o < 4; ++o)
        {
            const double got = WeightedOwnerArea(d, &kOwnerTokens[o]);
            const double tolerance = 1e-6 * (1.0 + slack[o]);
            worst = std::max(worst, std::fabs(got - expected[o]));
            EXPECT_NEAR(got, expected[o], tolerance) << "owner " << o;
            ok = ok && std::fabs(got - expected[o]) <= tolerance;
        }
        EXPECT_EQ(d.mCoverageConflicts, 0);
        if (!ok || d.mCoverageConflicts)
        {
            // Enough to build the plane again.
            ++failures;
            for (const Drawn& p : plane)
            {
                std::printf("owner %d:", p.owner);
                for (const Vec2D& v : p.points)
                    std::printf(" %.17g %.17g", v.x, v.y);
                std::printf("\n");
            }
        }
    }
    std::printf("face diagram fuzz: %d planes, %ld polygons, %ld edges, %ld vertices (largest plane %d), "
                "%ld loop types; worst area error %.3g; clusters merged %ld, stretches linked uncut %ld, "
                "regions triangulated again %ld, coverage conflicts %ld, relinks %ld, nesting fallbacks %ld\n",
                kTrials, polygons, edges, vertices, largest, loopTypes, worst, merged, forced, retriangulated,
                conflicts, relinks, recoveries);
}
}  // namespace
