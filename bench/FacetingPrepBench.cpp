#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "stellation/Faceting.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

// The whole preparation of a faceting of the model's vertices: edge classes, planes with their
// vertices and edges, candidate faces with their mirror pairs. The model is built once; each round
// clears the faceting and prepares it again.
static void BM_FacetingPreparation(benchmark::State& state, const char* config)
{
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    Poly poly;
    if (!templ.Parse(config, false) || !poly.PrepareFromTemplate(&templ, 0))
    {
        state.SkipWithError("the model does not build");
        return;
    }
    Faceting& faceting = poly.GetFaceStellation()->mFaceting;
    FaceType* vertexTypes = poly.GetVertStellation()->mFirstFaceType;
    for (auto _ : state)
    {
        const bool prepared = faceting.CreateFaceting(&poly, vertexTypes);
        benchmark::DoNotOptimize(prepared);
        if (!prepared)
        {
            state.SkipWithError("the faceting is not prepared");
            return;
        }
        state.PauseTiming();
        state.counters["planes"] = faceting.mNumPlanes;
        state.counters["faces"] = faceting.mNumFaces;
        faceting.Clear();
        state.ResumeTiming();
    }
}

BENCHMARK_CAPTURE(BM_FacetingPreparation, TruncatedOctahedron, "4.6.6")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingPreparation, Icosidodecahedron, "3.5.3.5")->Unit(benchmark::kMillisecond);
// 120 vertices.
BENCHMARK_CAPTURE(BM_FacetingPreparation, TruncatedIcosidodecahedron, "4.6.10")->Unit(benchmark::kMillisecond);
