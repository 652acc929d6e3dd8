#include "kernel/Tolerance.h"
#include "model/ColorSchemes.h"
#include "model/Poly.h"
#include "support/PolyBuilder.h"

#include <benchmark/benchmark.h>

#include <cmath>

namespace
{
// A torus of n by m quadrilaterals (each an isosceles trapezoid, so planar).
PolySpec TorusSpec(int n, int m)
{
    PolySpec spec;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
        {
            const double u = 2.0 * kPi * i / n, v = 2.0 * kPi * j / m;
            const double ring = 3.0 + std::cos(v);
            spec.verts.push_back(Vec3D{ring * std::cos(u), ring * std::sin(u), std::sin(v)});
        }
    auto at = [&](int i, int j) { return (i % n) * m + (j % m); };
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j)
            spec.faces.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
    return spec;
}

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
