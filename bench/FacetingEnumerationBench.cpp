#include "kernel/ScriptedServices.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/StellationOptions.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingSettings.h"
#include "stellation/Stellation.h"

#include <benchmark/benchmark.h>

#include <cstdint>

// Counting the facetings of a model's vertices under each criterion, with reflexibility not
// maintained. The model and its faceting are prepared once; each round searches from the start.
// A run with a limit stops after that many facetings.
static void BM_FacetingEnumeration(benchmark::State& state, const char* config, int criterion, int64_t limit)
{
    ScopedScriptedServices scripted;
    const int savedOptions = GetStellationOptions();
    const FacetingSettings savedSettings = GetFacetingSettings();
    StoreStellationOptions(savedOptions & ~kCriteriaReflexible);
    GetFacetingSettings() = FacetingSettings();
    GetFacetingSettings().criterion = criterion;
    PolyTemplate templ;
    Poly poly;
    Faceting& faceting = poly.GetFaceStellation()->mFaceting;
    if (!templ.Parse(config, false) || !poly.PrepareFromTemplate(&templ, 0) ||
        !faceting.CreateFaceting(&poly, poly.GetVertStellation()->mFirstFaceType))
        state.SkipWithError("the faceting is not prepared");
    else
    {
        for (auto _ : state)
        {
            faceting.Reset(true, false);
            int64_t found = 0;
            while ((limit <= 0 || found < limit) && faceting.FindNext())
                ++found;
            benchmark::DoNotOptimize(found);
            state.counters["facetings"] = double(found);
        }
        state.counters["faces"] = faceting.mNumFaces;
    }
    GetFacetingSettings() = savedSettings;
    StoreStellationOptions(savedOptions);
}

BENCHMARK_CAPTURE(BM_FacetingEnumeration, TruncatedOctahedronIsohedral, "4.6.6", kFacetingIsohedral, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, TruncatedOctahedronTidyAndDuals, "4.6.6", kFacetingDualTidy, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, TruncatedOctahedronTidy, "4.6.6", kFacetingTidy, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, TruncatedOctahedronCoplanar, "4.6.6", kFacetingCoplanarVerts, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, IcosidodecahedronIsohedral, "3.5.3.5", kFacetingIsohedral, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, IcosidodecahedronTidyAndDuals, "3.5.3.5", kFacetingDualTidy, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, IcosidodecahedronTidy, "3.5.3.5", kFacetingTidy, 0)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FacetingEnumeration, IcosidodecahedronCoplanar, "3.5.3.5", kFacetingCoplanarVerts, 0)
    ->Unit(benchmark::kMillisecond);
