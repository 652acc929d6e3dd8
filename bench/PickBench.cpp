// One pick in the model pane, with its layer passes, on a large model: picking draws in OpenGL's
// selection mode, a software path in Mesa. Needs a display (run under Xvfb).

#include "ViewBenchModels.h"
#include "document/PolyDoc.h"
#include "kernel/ScriptedServices.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "view/PolyView.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <cstring>
#include <functional>
#include <memory>

namespace
{
void BM_Pick(benchmark::State& state, const char* model)
{
    if (!ViewBenchHasDisplay())
    {
        state.SkipWithError("needs a display");
        return;
    }
    ScopedScriptedServices scripted;
    PolyTemplate templ;
    std::unique_ptr<ViewBenchScene> scene;
    if (std::strcmp(model, "geodesic") == 0)
        scene = MakeViewBenchScene("picks", 600, 520, [](Poly& poly) {
            BuildPoly(poly, GeodesicSpec(32), false);
            return poly.mFaces.mCount == 20480;
        });
    else
        scene = MakeViewBenchScene("picks", 600, 520, [&](Poly& poly) { return templ.Parse(model, false) && poly.PrepareFromTemplate(&templ, 0); });
    if (!scene)
    {
        state.SkipWithError("model not built");
        return;
    }
    // The middle of the pane, where the model lies in front of its far side.
    PickRequest request;
    request.kind = kPickAnything;
    request.x = scene->pane->GetWidth() / 2 + 3;
    request.y = scene->pane->GetHeight() / 2 + 2;
    int hits = 0;
    for (auto _ : state)
    {
        PickResult result;
        benchmark::DoNotOptimize(scene->pane->PickAt(request, &result));
        hits = int(result.hits.size());
    }
    state.counters["hits"] = hits;
    state.counters["faces"] = scene->document->GetCurrentRecord()->mPoly.mFaces.mCount;
}

void BM_PickLargestUniform(benchmark::State& state)
{
    BM_Pick(state, LargestUniform());
    state.SetLabel(LargestUniform());
}
}  // namespace

BENCHMARK(BM_PickLargestUniform)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Pick, Geodesic20480, "geodesic")->Unit(benchmark::kMillisecond)->UseRealTime();
