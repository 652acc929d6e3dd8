#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "mesh/Model3D.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
// The torus of 200 x 100 quadrilaterals, built once: 20,000 faces whose corners each face looks up.
Poly& Torus()
{
    static Poly* poly = [] {
        ScopedScriptedServices quiet;
        auto* p = new Poly();
        std::unique_ptr<SimplePoly> source = CreateTorus(0.3, 200, 100);
        CreatePoly(source.get(), p, false, true);
        return p;
    }();
    return *poly;
}

void BM_Model3DFromTorus(benchmark::State& state)
{
    Poly& poly = Torus();
    for (auto _ : state)
    {
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&poly, false);
        benchmark::DoNotOptimize(mesh->GetNumEdges());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(poly.mFaces.mCount));
}
BENCHMARK(BM_Model3DFromTorus)->Unit(benchmark::kMillisecond);

void BM_Model3DToSimplePolyOfTorus(benchmark::State& state)
{
    Poly& poly = Torus();
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&poly, false);
    for (auto _ : state)
    {
        std::unique_ptr<SimplePoly> plain = mesh->CreateSimplePoly(0, nullptr);
        benchmark::DoNotOptimize(plain->mNumVerts);
    }
    state.SetItemsProcessed(state.iterations() * int64_t(poly.mFaces.mCount));
}
BENCHMARK(BM_Model3DToSimplePolyOfTorus)->Unit(benchmark::kMillisecond);

void BM_Model3DColorPartsOfTorus(benchmark::State& state)
{
    Poly& poly = Torus();
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&poly, false);
    for (auto _ : state)
    {
        for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
            f->mColor.r = -1.0f;
        benchmark::DoNotOptimize(mesh->ColorParts());
    }
    state.SetItemsProcessed(state.iterations() * int64_t(poly.mFaces.mCount));
}
BENCHMARK(BM_Model3DColorPartsOfTorus)->Unit(benchmark::kMillisecond);
}  // namespace
