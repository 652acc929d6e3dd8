#include "kernel/PointList.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/SimplePoly.h"
#include "operations/Zonohedron.h"

#include <benchmark/benchmark.h>

#include <climits>
#include <cmath>
#include <memory>
#include <random>

// The zonohedron of n zones in general position: n (n - 1) parallelograms, every pair of zones
// tested against every other zone.
static void BM_CreateZonohedron(benchmark::State& state)
{
    ScopedScriptedServices scripted;
    const int n = int(state.range(0));
    PointList zones;
    zones.Init(kTol);
    std::mt19937 random(2024u);
    std::normal_distribution<double> normal;
    while (zones.Count() < n)
        AddZoneVector(zones, Vec3D{normal(random), normal(random), normal(random)}, 1.0, INT_MAX);
    for (auto _ : state)
    {
        std::unique_ptr<SimplePoly> made = CreateZonohedron(zones, "zones");
        if (!made || made->mNumFaces != n * (n - 1))
        {
            state.SkipWithError("zonohedron not made");
            return;
        }
        benchmark::DoNotOptimize(made.get());
    }
    state.SetItemsProcessed(state.iterations() * n * (n - 1));
}
BENCHMARK(BM_CreateZonohedron)->Arg(50)->Arg(200)->Unit(benchmark::kMillisecond);
