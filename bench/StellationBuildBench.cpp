#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

// The whole stellation build of one side: diagrams, links, facets, the cells in their layers, their
// axes and the original polyhedron. The model is built once; each round frees the stellation (which
// marks it declined) and builds it again.
static void BM_StellationBuild(benchmark::State& state, const char* config, bool dual)
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
    int cells = 0;
    for (auto _ : state)
    {
        poly.CreateStellation(stellation, kStellationBuilt);
        if (!stellation->IsBuilt())
        {
            state.SkipWithError("the stellation does not build");
            return;
        }
        cells = stellation->GetNumCellRecords();
        benchmark::DoNotOptimize(cells);
        state.PauseTiming();
        stellation->Free(false);
        stellation->mBuildDeclined = false;
        state.ResumeTiming();
    }
    state.counters["cell records"] = cells;
}

BENCHMARK_CAPTURE(BM_StellationBuild, Icosahedron, "3.3.3.3.3", false)->Unit(benchmark::kMicrosecond);
// The dual of the icosidodecahedron: 30 rhombi.
BENCHMARK_CAPTURE(BM_StellationBuild, RhombicTriacontahedron, "3.5.3.5", true)->Unit(benchmark::kMillisecond);
// 92 face planes in three types.
BENCHMARK_CAPTURE(BM_StellationBuild, SnubDodecahedron, "3.3.3.3.5", false)->Unit(benchmark::kMillisecond);
