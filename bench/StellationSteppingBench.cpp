#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/StellationOptions.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

// One full cycle of stepping from the core to the wrap through the counting routine, on a
// stellation built once.
static void BM_StellationStepping(benchmark::State& state, const char* config, bool dual, int criterion)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    Poly poly;
    if (!templ.Parse(config, false) || !poly.PrepareFromTemplate(&templ, 0))
    {
        state.SkipWithError("the model does not build");
        return;
    }
    Stellation* stellation = dual ? poly.GetVertStellation() : poly.GetFaceStellation();
    poly.CreateStellation(stellation, kStellationBuilt);
    if (!stellation->IsBuilt())
    {
        state.SkipWithError("the stellation does not build");
        return;
    }
    const int savedCriterion = GetStellationCriterion();
    StoreStellationCriterion(criterion);
    uint32_t count = 0;
    for (auto _ : state)
    {
        if (!stellation->CountStellations())
        {
            state.SkipWithError("the count did not finish");
            break;
        }
        count = stellation->mNumStellations.NumWords() ? stellation->mNumStellations.Word(0) : 0;
        benchmark::DoNotOptimize(count);
    }
    StoreStellationCriterion(savedCriterion);
    state.counters["stellations"] = count;
}

BENCHMARK_CAPTURE(BM_StellationStepping, IcosahedronMainline, "3.3.3.3.3", false, kCriterionMainline);
BENCHMARK_CAPTURE(BM_StellationStepping, IcosahedronPrimary, "3.3.3.3.3", false, kCriterionPrimary);
BENCHMARK_CAPTURE(BM_StellationStepping, IcosahedronMonoacral, "3.3.3.3.3", false, kCriterionMonoacral);
BENCHMARK_CAPTURE(BM_StellationStepping, IcosahedronFullySupported, "3.3.3.3.3", false, kCriterionFullySupported);
BENCHMARK_CAPTURE(BM_StellationStepping, TriacontahedronMainline, "3.5.3.5", true, kCriterionMainline);
BENCHMARK_CAPTURE(BM_StellationStepping, TriacontahedronPrimary, "3.5.3.5", true, kCriterionPrimary);
BENCHMARK_CAPTURE(BM_StellationStepping, TriacontahedronMonoacral, "3.5.3.5", true, kCriterionMonoacral);
BENCHMARK_CAPTURE(BM_StellationStepping, TriacontahedronFullySupported, "3.5.3.5", true,
                  kCriterionFullySupported);
