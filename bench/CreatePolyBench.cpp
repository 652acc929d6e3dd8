#include "kernel/ScriptedServices.h"
#include "model/ConvexHull.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/WatermanHull.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace
{
std::unique_ptr<SimplePoly> Icosahedron()
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    auto points = std::make_unique<SimplePoly>(12, 0);
    int i = 0;
    for (int axis = 0; axis < 3; ++axis)
    {
        for (double a : {-1.0, 1.0})
        {
            for (double b : {-phi, phi})
            {
                Vec3D p;
                p[(axis + 1) % 3] = a;
                p[(axis + 2) % 3] = b;
                points->mVerts[i++].SetPos(p);
            }
        }
    }
    return CreateConvexHull(points.get(), 0);
}

// A geodesic sphere becoming the model: symmetry detection, the elements with their poles and
// frames, and the face-type analysis.
void BM_CreatePolyGeodesic(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const auto base = Icosahedron();
    const int parts = int(state.range(0));
    int faces = 0;
    Poly poly;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto sphere = SimplePoly::Subdivide(*base, SimplePoly::kGeodesic, parts);
        faces = sphere->mNumFaces;
        state.ResumeTiming();
        const bool ok = CreatePoly(sphere.get(), &poly, false, true);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["faces"] = faces;
    state.counters["model_verts"] = poly.mVerts.mCount;
    state.counters["model_edges"] = poly.mNumEdges;
    state.counters["model_faces"] = poly.mFaces.mCount;
    state.SetItemsProcessed(state.iterations() * int64_t(faces));
}
BENCHMARK(BM_CreatePolyGeodesic)->Arg(23)->Arg(71)->Arg(200)->Unit(benchmark::kMillisecond);

// Subdividing the icosahedron into the geodesic sphere of the frequency: every grid point is
// looked up once per triangle that has it, so the vertex lookup sets the pace. The time should
// grow no faster than V log V.
void BM_SubdivideIcosahedron(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const auto base = Icosahedron();
    const int frequency = int(state.range(0));
    int verts = 0;
    for (auto _ : state)
    {
        auto sphere = SimplePoly::Subdivide(*base, SimplePoly::kGeodesic, frequency);
        verts = sphere ? sphere->mNumVerts : -1;
        benchmark::DoNotOptimize(sphere);
    }
    state.counters["verts"] = verts;
    state.SetItemsProcessed(state.iterations() * int64_t(verts));
}
BENCHMARK(BM_SubdivideIcosahedron)->Arg(50)->Arg(100)->Arg(200)->Unit(benchmark::kMillisecond);

// The way back: the plain form of both sides of the analysed sphere.
void BM_CreateSimplePolyGeodesic(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const auto base = Icosahedron();
    auto sphere = SimplePoly::Subdivide(*base, SimplePoly::kGeodesic, int(state.range(0)));
    Poly poly;
    if (!CreatePoly(sphere.get(), &poly, false, true))
    {
        state.SkipWithError("the sphere was not created");
        return;
    }
    for (auto _ : state)
    {
        auto back = poly.CreateSimplePoly(Poly::kConvertBase, nullptr, nullptr);
        auto dual = poly.CreateSimplePoly(Poly::kConvertDual, nullptr, nullptr);
        benchmark::DoNotOptimize(back);
        benchmark::DoNotOptimize(dual);
    }
    state.counters["faces"] = poly.mFaces.mCount;
    state.SetItemsProcessed(state.iterations() * int64_t(poly.mFaces.mCount + poly.mVerts.mCount));
}
BENCHMARK(BM_CreateSimplePolyGeodesic)->Arg(71)->Unit(benchmark::kMillisecond);

// The largest Waterman polyhedron the program makes, about each centre: the lattice shell, its hull
// and the analysis, as Create Waterman Polyhedron and Next Polyhedron run them.
void BM_CreatePolyWaterman(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const int centre = int(state.range(0));
    int faces = 0;
    Poly poly;
    for (auto _ : state)
    {
        auto hull = CreateWatermanHull(centre, 10);
        const bool ok = hull && CreatePoly(hull.get(), &poly, false, false);
        faces = poly.mFaces.mCount;
        benchmark::DoNotOptimize(ok);
    }
    state.counters["faces"] = faces;
}
BENCHMARK(BM_CreatePolyWaterman)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
}  // namespace
