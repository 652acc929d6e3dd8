// Our convex hull against Qhull's on the same points, in one run: the counter "ratio" of
// BM_HullOverQhull is our time over Qhull's.
#include "support/QhullReference.h"

#include "kernel/Tolerance.h"
#include "model/ConvexHull.h"
#include "model/HullBuilder.h"
#include "model/SimplePoly.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <random>
#include <vector>

namespace
{
// Points spread evenly over the unit sphere, the scale models have: all of them are corners, and
// some quadruples lie within the tolerance of one plane.
std::vector<Vec3D> SpherePoints(int n)
{
    std::mt19937_64 rng(1);
    std::normal_distribution<double> normal;
    std::vector<Vec3D> points;
    points.reserve(size_t(n));
    while (int(points.size()) < n)
    {
        Vec3D v{normal(rng), normal(rng), normal(rng)};
        if (Vec3Normalize(v))
            points.push_back(v);
    }
    return points;
}

// A model holding the points as vertices, ready for the hull in place.
void ResetModel(SimplePoly& poly, const std::vector<Vec3D>& points)
{
    poly.mNumFaces = 0;
    for (size_t i = 0; i < points.size(); ++i)
        poly.mVerts[i].mFlags &= ~SimpleElem::kTemp;
}

double Seconds(std::chrono::steady_clock::time_point since)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

void BM_HullBuilder(benchmark::State& state)
{
    const std::vector<Vec3D> points = SpherePoints(int(state.range(0)));
    for (auto _ : state)
    {
        HullBuilder hull;
        benchmark::DoNotOptimize(hull.Build(points, kTol));
        benchmark::DoNotOptimize(hull.NumFaces());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_HullBuilder)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The program's path: the faces written into the model's records.
void BM_SimplePolyHull(benchmark::State& state)
{
    const std::vector<Vec3D> points = SpherePoints(int(state.range(0)));
    SimplePoly poly(int(points.size()), 0);
    for (size_t i = 0; i < points.size(); ++i)
        poly.mVerts[i].SetPos(points[i]);
    for (auto _ : state)
    {
        state.PauseTiming();
        ResetModel(poly, points);
        state.ResumeTiming();
        benchmark::DoNotOptimize(poly.ComputeConvexHull(0));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_SimplePolyHull)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

void BM_Qhull(benchmark::State& state)
{
    const std::vector<Vec3D> points = SpherePoints(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(QhullHullCounts(points));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Qhull)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

// Both hulls of the same points each iteration. "ratio": our model hull's time over Qhull's;
// "engine_ratio": the hull alone, without writing the model's faces.
void BM_HullOverQhull(benchmark::State& state)
{
    const std::vector<Vec3D> points = SpherePoints(int(state.range(0)));
    SimplePoly poly(int(points.size()), 0);
    for (size_t i = 0; i < points.size(); ++i)
        poly.mVerts[i].SetPos(points[i]);
    double ours = 0.0, engine = 0.0, qhull = 0.0;
    for (auto _ : state)
    {
        ResetModel(poly, points);
        auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(poly.ComputeConvexHull(0));
        ours += Seconds(start);

        start = std::chrono::steady_clock::now();
        HullBuilder hull;
        benchmark::DoNotOptimize(hull.Build(points, kTol));
        engine += Seconds(start);

        start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(QhullHullCounts(points));
        qhull += Seconds(start);
    }
    state.counters["ours_s"] = ours / double(state.iterations());
    state.counters["engine_s"] = engine / double(state.iterations());
    state.counters["qhull_s"] = qhull / double(state.iterations());
    state.counters["ratio"] = ours / qhull;
    state.counters["engine_ratio"] = engine / qhull;
}
BENCHMARK(BM_HullOverQhull)->Arg(100000)->Arg(1000000)->Iterations(2)->Unit(benchmark::kMillisecond);

// The points of a side x side x side integer lattice in lattice order: x, then y, then z.
std::vector<Vec3D> LatticePoints(int side)
{
    std::vector<Vec3D> points;
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            for (int z = 0; z < side; ++z)
                points.push_back({double(x), double(y), double(z)});
    return points;
}

// The shell of a Waterman polyhedron about a lattice point of the face-centred cubic lattice (even
// coordinate sums), squared radius 2 root, in lattice order: the points farther than one unit
// inside the sphere cannot be corners.
std::vector<Vec3D> WatermanShellPoints(int root)
{
    const int x2Max = 2 * root;
    const double s = std::sqrt(double(x2Max));
    const int dMin = int(std::floor((s - 1.0) * (s - 1.0) - k4DTol)) + 1;
    const int r = int(std::floor(s + k4DTol));
    std::vector<Vec3D> points;
    for (int x = -r; x <= r; ++x)
        for (int y = -r; y <= r; ++y)
            for (int z = -r; z <= r; ++z)
            {
                const int d = x * x + y * y + z * z;
                if (((x + y + z) & 1) == 0 && d >= dMin && d <= x2Max)
                    points.push_back({double(x), double(y), double(z)});
            }
    return points;
}

std::vector<Vec3D> Shuffled(std::vector<Vec3D> points)
{
    std::shuffle(points.begin(), points.end(), std::mt19937_64(7));
    return points;
}

// CreateConvexHull of a model whose vertices were placed one by one, as a lattice builder or a
// model file places them.
void HullOfPlacedPoints(benchmark::State& state, const std::vector<Vec3D>& points)
{
    int faces = 0;
    for (auto _ : state)
    {
        SimplePoly source(int(points.size()), 0);
        for (size_t i = 0; i < points.size(); ++i)
            source.mVerts[i].SetPos(points[i]);
        auto hull = CreateConvexHull(&source, 0);
        faces = hull ? SimplePoly::CountFacesWithout(hull.get(), SimpleElem::kTemp) : -1;
        benchmark::DoNotOptimize(hull);
    }
    state.counters["points"] = double(points.size());
    state.counters["faces"] = faces;
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
}

// Points in lattice order against the same points shuffled: the vertex lookup must not make the
// ordered ones dearer.
void BM_LatticeHull(benchmark::State& state, bool shuffled)
{
    const std::vector<Vec3D> points = LatticePoints(int(state.range(0)));
    HullOfPlacedPoints(state, shuffled ? Shuffled(points) : points);
}
BENCHMARK_CAPTURE(BM_LatticeHull, Ordered, false)->Arg(30)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_LatticeHull, Shuffled, true)->Arg(30)->Unit(benchmark::kMillisecond);

void BM_WatermanShellHull(benchmark::State& state, bool shuffled)
{
    const std::vector<Vec3D> points = WatermanShellPoints(int(state.range(0)));
    HullOfPlacedPoints(state, shuffled ? Shuffled(points) : points);
}
BENCHMARK_CAPTURE(BM_WatermanShellHull, Ordered, false)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WatermanShellHull, Shuffled, true)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace
