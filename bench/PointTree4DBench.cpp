// Finding or creating 4D vertices by position through the polytope's point tree, as the 4D
// constructions do: 100,000 points spread over the unit 3-sphere, each created once, then found again.
#include "polytope4d/Polytope4D.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
std::vector<Vec4D> SpherePoints4D(int n)
{
    std::mt19937_64 rng(1);
    std::normal_distribution<double> normal;
    std::vector<Vec4D> points;
    points.reserve(size_t(n));
    while (int(points.size()) < n)
    {
        Vec4D v{normal(rng), normal(rng), normal(rng), normal(rng)};
        const double length = Vec4Length(v);
        if (length > 1e-6)
        {
            Vec4Div(v, length);
            points.push_back(v);
        }
    }
    return points;
}

void BM_FindOrCreateThenFindVert4D(benchmark::State& state)
{
    const std::vector<Vec4D> points = SpherePoints4D(int(state.range(0)));
    for (auto _ : state)
    {
        Polytope4D polytope;
        for (const Vec4D& p : points)
            benchmark::DoNotOptimize(polytope.FindOrCreateVert(p));
        for (const Vec4D& p : points)
            benchmark::DoNotOptimize(polytope.FindVert(p));
        state.counters["verts"] = polytope.mNumVerts;
    }
    state.SetItemsProcessed(state.iterations() * state.range(0) * 2);
}
BENCHMARK(BM_FindOrCreateThenFindVert4D)->Arg(100000)->Unit(benchmark::kMillisecond);
}  // namespace
