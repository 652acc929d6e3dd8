#include "kernel/ScriptedServices.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "support/PolyBuilder.h"

#include <benchmark/benchmark.h>

namespace
{
const ColorRGB kBands[3] = {{1.0f, 0.0f, 0.0f}, {0.0f, 1.0f, 0.0f}, {0.0f, 0.0f, 1.0f}};

// The 20000 faces of a 200 x 100 torus in bands of ten rings, red, green and blue in turn.
void PaintBands(Poly& poly)
{
    int index = 0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext, ++index)
        f->mColor = f->mBackColor = kBands[(index / 100 / 10) % 3];
}

FaceVert* FirstGreenFace(Poly& poly)
{
    FaceVert* f = poly.mFaces.mFirst;
    for (int i = 0; i < 1000 && f; ++i)
        f = f->mNext;
    return f;
}

// The green bands fill from both edges, ring by ring, asking once which neighbour wins.
void BM_TakeColorFromNeighbours(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(200, 100), false);
    ScopedScriptedServices services;
    for (auto _ : state)
    {
        state.PauseTiming();
        PaintBands(poly);
        services.services.Clear();
        services.services.PushAnswer(0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(poly.TakeColorFromNeighbours(FirstGreenFace(poly)));
    }
    state.SetItemsProcessed(state.iterations() * poly.mFaces.mCount);
}
BENCHMARK(BM_TakeColorFromNeighbours)->Unit(benchmark::kMillisecond);

// One band's colour replaced throughout, front and back, and back again.
void BM_ReplaceFaceColor(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(200, 100), false);
    PaintBands(poly);
    const ColorRGB other{0.5f, 0.5f, 0.5f};
    bool swapped = false;
    for (auto _ : state)
    {
        poly.ReplaceFaceColor(swapped ? other : kBands[1], swapped ? kBands[1] : other, false);
        swapped = !swapped;
        benchmark::DoNotOptimize(poly.mFaces.mFirst->mColor);
    }
    state.SetItemsProcessed(state.iterations() * poly.mFaces.mCount);
}
BENCHMARK(BM_ReplaceFaceColor)->Unit(benchmark::kMillisecond);
}  // namespace
