#include "kernel/BigUInt.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
struct BuiltSide
{
    PolyTemplate templ;
    Poly poly;
    Stellation* stellation = nullptr;
};

std::unique_ptr<BuiltSide> BuildSide(const char* config, bool dual)
{
    auto side = std::make_unique<BuiltSide>();
    if (!side->templ.Parse(config, false) || !side->poly.PrepareFromTemplate(&side->templ, 0))
        return nullptr;
    side->stellation = dual ? side->poly.GetVertStellation() : side->poly.GetFaceStellation();
    side->poly.CreateStellation(side->stellation, kStellationBuilt);
    return side->stellation->IsBuilt() ? std::move(side) : nullptr;
}
}  // namespace

// A whole cycle under Miller's rules through the counting routine: the fast search, and the
// count over every subset of the cells for comparison.
static void BM_MillerCycle(benchmark::State& state, const char* config, int criterion)
{
    ScopedScriptedServices scripted;
    const auto side = BuildSide(config, false);
    if (!side)
    {
        state.SkipWithError("the stellation does not build");
        return;
    }
    const int saved = GetStellationCriterion();
    StoreStellationCriterion(criterion);
    uint32_t count = 0;
    for (auto _ : state)
    {
        if (!side->stellation->CountStellations())
        {
            state.SkipWithError("the count did not finish");
            break;
        }
        count = side->stellation->mNumStellations.Word(0);
        benchmark::DoNotOptimize(count);
    }
    StoreStellationCriterion(saved);
    state.counters["stellations"] = count;
}

BENCHMARK_CAPTURE(BM_MillerCycle, Icosahedron, "3.3.3.3.3", kCriterionMiller)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_MillerCycle, IcosahedronSlow, "3.3.3.3.3", kCriterionMillerSlow)
    ->Unit(benchmark::kMillisecond);

// Steps from the core of the rhombic triacontahedron, counted in BigUInt under a progress level as
// the counting routine counts; a whole cycle there is far too long.
static void BM_MillerTriacontahedronSteps(benchmark::State& state)
{
    ScopedScriptedServices scripted;
    const auto side = BuildSide("3.5.3.5", true);
    if (!side)
    {
        state.SkipWithError("the stellation does not build");
        return;
    }
    const int saved = GetStellationCriterion();
    StoreStellationCriterion(kCriterionMiller);
    Stellation* st = side->stellation;
    for (auto _ : state)
    {
        ProgressScope progress;
        BigUInt count, chirals;
        st->GoToCore();
        for (int64_t i = 0; i < state.range(0); ++i)
        {
            count.AddWord(1);
            if (st->mNumUnmatchedChiralCells > 0)
                chirals.AddWord(1);
            if (!ShowProgress(kProgressKeepAlive) || !st->NextByCriteria())
                break;
        }
        benchmark::DoNotOptimize(count.Word(0));
    }
    StoreStellationCriterion(saved);
}

BENCHMARK(BM_MillerTriacontahedronSteps)->Arg(10000)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);
