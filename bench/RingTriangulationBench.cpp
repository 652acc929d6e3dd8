#include "kernel/RingTriangulation.h"
#include "kernel/Vec2D.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
// A star-shaped ring about the origin: evenly spaced directions, radii from minRadius to 1.
// With alternating radii every other corner is reflex, the hard case for ear clipping.
std::vector<Vec2D> StarPoints(int n, double minRadius, bool alternate)
{
    std::mt19937 random(13);
    std::uniform_real_distribution<double> radius(minRadius, 1.0);
    std::vector<Vec2D> points;
    for (int i = 0; i < n; ++i)
    {
        const double a = 2 * 3.141592653589793 * i / n;
        const double r = alternate ? (i % 2 ? minRadius : 1.0) : radius(random);
        points.push_back(Vec2D{r * std::cos(a), r * std::sin(a)});
    }
    return points;
}

RingVert* BuildRing(const std::vector<Vec2D>& points)
{
    RingVert* ring = nullptr;
    int index = 0;
    for (const Vec2D& p : points)
        AddRingVert(p.x, p.y, nullptr, nullptr, ring)->index = index++;
    return ring;
}

void TriangulateStar(benchmark::State& state, double minRadius, bool alternate)
{
    const std::vector<Vec2D> points = StarPoints(int(state.range(0)), minRadius, alternate);
    for (auto _ : state)
    {
        state.PauseTiming();
        RingVert* ring = BuildRing(points);
        state.ResumeTiming();
        std::unique_ptr<int32_t[]> indices;
        benchmark::DoNotOptimize(TriangulateRing(ring, indices));
        benchmark::DoNotOptimize(indices.get());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Random radii: the outline of a blob.
void BM_TriangulateStarRing(benchmark::State& state)
{
    TriangulateStar(state, 0.5, false);
}
BENCHMARK(BM_TriangulateStarRing)->Arg(10000)->Unit(benchmark::kMillisecond);

// Alternating radii: a star with 5000 points.
void BM_TriangulateSpikyStarRing(benchmark::State& state)
{
    TriangulateStar(state, 0.5, true);
}
BENCHMARK(BM_TriangulateSpikyStarRing)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace
