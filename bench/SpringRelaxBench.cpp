#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "library/SpringFamilyDesc.h"
#include "model/SimplePoly.h"
#include "operations/SpringSystem.h"

#include <benchmark/benchmark.h>

#include <optional>
#include <string>

// Settling spring networks as the library does, with ten attempts from the same seed each time.
static void SettleDescription(benchmark::State& state, const std::string& desc)
{
    ScopedScriptedServices scripted;
    for (auto _ : state)
    {
        SeedSpringRandom(1);
        SpringSystem system;
        if (!system.CreateFromDesc(desc.c_str()))
        {
            state.SkipWithError("description does not parse");
            return;
        }
        const double force = system.Settle(10);
        benchmark::DoNotOptimize(force);
        benchmark::DoNotOptimize(system.TakeResult());
        state.counters["force"] = force;
    }
}

// The largest Johnson solid, J71 (75 vertices), from a random start with hop springs.
static void BM_SettleJ71(benchmark::State& state)
{
    const std::optional<std::string> desc = LibraryEntry::GetSpringDesc(&GetLibraryTable()[104 + 71]);
    if (!desc || desc->empty())
    {
        state.SkipWithError("no description");
        return;
    }
    SettleDescription(state, *desc);
}
BENCHMARK(BM_SettleJ71)->Unit(benchmark::kMillisecond);

// The largest spring row, the Zonish Truncated Icosahedron (360 vertices), from a random start.
static void BM_SettleZonishTruncatedIcosahedron(benchmark::State& state)
{
    const LibraryEntry& row = GetLibraryTable()[206];
    const std::optional<std::string> desc = LibraryEntry::GetSpringDesc(&row);
    if (!desc || desc->empty() || row.mNumVerts != 360)
    {
        state.SkipWithError("no description");
        return;
    }
    SettleDescription(state, *desc);
}
BENCHMARK(BM_SettleZonishTruncatedIcosahedron)->Unit(benchmark::kSecond)->Iterations(1);

// The 1000-gonal prism: two rings of chords, about a million springs.
static void BM_SettlePrism1000(benchmark::State& state)
{
    const std::optional<std::string> desc = PrismSpringDesc(1000, 1);
    if (!desc)
    {
        state.SkipWithError("no description");
        return;
    }
    SettleDescription(state, *desc);
}
BENCHMARK(BM_SettlePrism1000)->Unit(benchmark::kSecond)->Iterations(1);
