#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace
{
// Vertex merging as a builder of a big model does it: every corner of every face looked up, so each
// point arrives several times, into a model that starts small and grows.
void BM_FindOrCreateVertMerging(benchmark::State& state)
{
    const int numPoints = int(state.range(0));
    std::mt19937 random(1);
    std::uniform_real_distribution<double> coordinate(-1.0, 1.0);
    std::vector<Vec3D> points(numPoints);
    for (Vec3D& p : points)
        p = {coordinate(random), coordinate(random), coordinate(random)};
    std::vector<int> order;
    for (int round = 0; round < 3; ++round)
        for (int i = 0; i < numPoints; ++i)
            order.push_back(int((i * 7919LL + round * 104729LL) % numPoints));

    for (auto _ : state)
    {
        SimplePoly poly(16, 0);
        poly.mFlags |= SimplePoly::kMayGrow;
        int next = 0;
        for (int i : order)
            benchmark::DoNotOptimize(poly.FindOrCreateVert(points[i], next));
        benchmark::DoNotOptimize(next);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(order.size()));
}
BENCHMARK(BM_FindOrCreateVertMerging)->Arg(100000);

// Points of a lattice arriving in lattice order, as a lattice-based builder makes them: sorted input
// is the worst case for an unbalanced search tree.
void BM_FindOrCreateVertLattice(benchmark::State& state)
{
    const int side = int(state.range(0));
    std::vector<Vec3D> points;
    for (int x = 0; x < side; ++x)
        for (int y = 0; y < side; ++y)
            for (int z = 0; z < side; ++z)
                points.push_back({double(x), double(y), double(z)});
    for (auto _ : state)
    {
        SimplePoly poly(16, 0);
        poly.mFlags |= SimplePoly::kMayGrow;
        int next = 0;
        for (const Vec3D& p : points)
            benchmark::DoNotOptimize(poly.FindOrCreateVert(p, next));
        benchmark::DoNotOptimize(next);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(points.size()));
}
BENCHMARK(BM_FindOrCreateVertLattice)->Arg(10)->Arg(20);

// Parsing and solving a configuration, as opening a library model does.
void BM_PolyTemplateParse(benchmark::State& state)
{
    const char* const kConfigurations[] = {"3.3.3.3.3", "5/2.3.3.3.3", "(5/2.4.3.4.5/3.4.3/2.4)/2",
                                           "10/3.6.10/7.6/5"};
    for (auto _ : state)
    {
        for (const char* text : kConfigurations)
        {
            PolyTemplate t;
            benchmark::DoNotOptimize(t.Parse(text, false));
        }
    }
    state.SetItemsProcessed(state.iterations() * 4);
}
BENCHMARK(BM_PolyTemplateParse);
}  // namespace
