// Our convex hull against Qhull's on the same points, in one run: the counter "ratio" of
// BM_HullOverQhull is our time over Qhull's.
#include "support/QhullReference.h"

#include "kernel/Tolerance.h"
#include "model/HullBuilder.h"
#include "model/SimplePoly.h"

#include <benchmark/benchmark.h>

#include <chrono>
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
}  // namespace
