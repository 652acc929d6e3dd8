#include "kernel/FaceDiagram.h"
#include "kernel/LoopType.h"
#include "kernel/Vec2D.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <random>
#include <vector>

namespace
{
constexpr double kTwoPi = 2.0 * 3.141592653589793;

using Outline = std::vector<Vec2D>;

// The star polygon {n/k} of radius 1 about the origin, turned by phase.
Outline Star(int n, int k, double phase)
{
    Outline points;
    for (int i = 0; i < n; ++i)
    {
        const double a = phase + kTwoPi * double(i * k % n) / double(n);
        points.push_back(Vec2D{std::cos(a), std::sin(a)});
    }
    return points;
}

// One plane of a large compound: copies of one star face turned about their common centre, as
// the coplanar faces of the parts meet there.
std::vector<Outline> CompoundPlane(int copies, int n, int k)
{
    std::vector<Outline> plane;
    for (int c = 0; c < copies; ++c)
        plane.push_back(Star(n, k, kTwoPi * double(c) / double(copies * n)));
    return plane;
}

// Stars of several sizes scattered over a plane, overlapping each other.
std::vector<Outline> ScatteredStars(int count)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<double> place(-2.0, 2.0);
    std::uniform_real_distribution<double> turn(0.0, kTwoPi);
    std::vector<Outline> plane;
    for (int c = 0; c < count; ++c)
    {
        Outline star = Star(7, 3, turn(random));
        const double dx = place(random), dy = place(random);
        for (Vec2D& p : star)
            p = Vec2D{p.x + dx, p.y + dy};
        plane.push_back(star);
    }
    return plane;
}

void Build(benchmark::State& state, const std::vector<Outline>& plane)
{
    int64_t vertices = 0;
    int64_t types = 0;
    for (auto _ : state)
    {
        FaceDiagram diagram;
        diagram.Begin(kOwnerKindNone, nullptr);
        for (const Outline& outline : plane)
            for (size_t i = 0; i < outline.size(); ++i)
                diagram.AddEdge(&outline, outline[i], outline[(i + 1) % outline.size()]);
        diagram.Finish(0, nullptr);
        benchmark::DoNotOptimize(diagram.mLoopTypes);
        vertices = diagram.VertCount();
        types = diagram.mLoopTypeCount;
    }
    state.counters["vertices"] = double(vertices);
    state.counters["loop types"] = double(types);
}

void BM_CompoundOfPentagrams(benchmark::State& state)
{
    Build(state, CompoundPlane(int(state.range(0)), 5, 2));
}
BENCHMARK(BM_CompoundOfPentagrams)->Arg(5)->Arg(10)->Arg(20)->Arg(40)->Unit(benchmark::kMillisecond);

void BM_CompoundOfHeptagrams(benchmark::State& state)
{
    Build(state, CompoundPlane(int(state.range(0)), 7, 3));
}
BENCHMARK(BM_CompoundOfHeptagrams)->Arg(6)->Arg(12)->Arg(24)->Unit(benchmark::kMillisecond);

void BM_ScatteredStars(benchmark::State& state)
{
    Build(state, ScatteredStars(int(state.range(0))));
}
BENCHMARK(BM_ScatteredStars)->Arg(20)->Arg(80)->Unit(benchmark::kMillisecond);
}  // namespace
