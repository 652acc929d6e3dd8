#include "ViewBenchModels.h"

#include "kernel/SceneParameters.h"
#include "model/Poly.h"
#include "model/SectionSettings.h"

#include <benchmark/benchmark.h>

namespace
{
// A depth drag rebuilds the section every frame: the filled section of the 20,480-face geodesic
// sphere, at a new depth each time.
void BM_CreateCrossSection2D(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, GeodesicSpec(32), true);
    GetSectionSettings().fill = state.range(0) != 0;
    SceneParameters& scene = GetSceneParameters();
    scene.sliceMatrix.SetIdentity();
    int frame = 0;
    for (auto _ : state)
    {
        scene.sliceRatio = 0.3 + 0.001 * (frame++ % 400);
        poly.InvalidateCrossSection();
        benchmark::DoNotOptimize(poly.CreateCrossSection2D());
    }
    GetSectionSettings() = SectionSettings{};
    scene.sliceRatio = 0.5;
}
BENCHMARK(BM_CreateCrossSection2D)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}  // namespace
