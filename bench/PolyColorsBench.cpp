#include "model/ColorSchemes.h"
#include "model/Poly.h"
#include "support/PolyBuilder.h"

#include <benchmark/benchmark.h>

namespace
{
// Per face unless parallel on 20000 faces: each new colour looks at every later face.
void BM_ColorPerFace(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(200, 100), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(poly.ColorFaceList(&poly.mFaces, kFaceColorPerFace));
    state.SetItemsProcessed(state.iterations() * poly.mFaces.mCount);
}
BENCHMARK(BM_ColorPerFace)->Unit(benchmark::kMillisecond);

// Edges alike when parallel, and by great circles, on the 40000 edges of the same model.
void BM_ColorEdgesByDirection(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(200, 100), true);
    const int saved = EdgeColorScheme();
    EdgeColorScheme() = int(state.range(0));
    for (auto _ : state)
    {
        poly.SetEdgeColorScheme(false);
        benchmark::DoNotOptimize(poly.mEdges[0].mColor);
    }
    EdgeColorScheme() = saved;
    state.SetItemsProcessed(state.iterations() * poly.mEdges.count);
}
BENCHMARK(BM_ColorEdgesByDirection)
    ->Arg(kEdgeColorParallel)
    ->Arg(kEdgeColorGreatCircles)
    ->Unit(benchmark::kMillisecond);
}  // namespace
