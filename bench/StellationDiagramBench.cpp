#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

// The first half of the stellation build: every face type's diagram, the links between them, the
// facets and the coincidence rings. The model is built once; each round frees the diagrams and
// builds them again.
static void BM_StellationDiagrams(benchmark::State& state, const char* config)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    Poly poly;
    if (!templ.Parse(config, false) || !poly.PrepareFromTemplate(&templ, 0))
    {
        state.SkipWithError("the model does not build");
        return;
    }
    Stellation* stellation = poly.GetFaceStellation();
    for (auto _ : state)
    {
        bool built = false;
        {
            ProgressScope progress;
            built = stellation->BuildDiagrams();
        }
        benchmark::DoNotOptimize(built);
        if (!built)
        {
            state.SkipWithError("the diagrams do not build");
            return;
        }
        state.PauseTiming();
        stellation->Free(false);
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(BM_StellationDiagrams, Icosahedron, "3.3.3.3.3")->Unit(benchmark::kMicrosecond);
// 92 face planes in three types.
BENCHMARK_CAPTURE(BM_StellationDiagrams, SnubDodecahedron, "3.3.3.3.5")->Unit(benchmark::kMillisecond);
