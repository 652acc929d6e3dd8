#include "model/Poly.h"
#include "model/Vert.h"
#include "support/PolyBuilder.h"

#include <benchmark/benchmark.h>

namespace
{
// The whole compound-part analysis of a model of 20000 faces and as many vertices.
void BM_FindCompoundParts(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(200, 100), false);
    for (auto _ : state)
        benchmark::DoNotOptimize(poly.FindCompoundParts());
    state.SetItemsProcessed(state.iterations() * (poly.mFaces.mCount + poly.mVerts.mCount));
}
BENCHMARK(BM_FindCompoundParts)->Unit(benchmark::kMillisecond);

// Every pair of 2000 vertices seen from one of them; the cache is dropped each time.
void BM_MaxChordDistance(benchmark::State& state)
{
    Poly poly;
    BuildPoly(poly, TorusSpec(50, 40), false);
    FaceVert* vert = poly.mVerts.mFirst;
    vert->mXAxis = Vec3D{0, 0, 1};
    Vec3Cross(vert->mYAxis, vert->mZAxis, vert->mXAxis);
    for (auto _ : state)
    {
        poly.mVerts.mMaxChordDistance = -1.0;
        benchmark::DoNotOptimize(vert->GetMaxChordDistance());
    }
}
BENCHMARK(BM_MaxChordDistance)->Unit(benchmark::kMillisecond);
}  // namespace
