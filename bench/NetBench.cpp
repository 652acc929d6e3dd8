#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
// Models of about 1,000 faces, built once: the 40 x 25 torus and the frequency-7 geodesic sphere.
Poly& Torus()
{
    static Poly* poly = [] {
        ScopedScriptedServices quiet;
        auto* p = new Poly();
        std::unique_ptr<SimplePoly> source = CreateTorus(0.3, 40, 25);
        CreatePoly(source.get(), p, false, true);
        return p;
    }();
    return *poly;
}

Poly& GeodesicSphere()
{
    static Poly* poly = [] {
        ScopedScriptedServices quiet;
        static PolyTemplate templ;
        Poly icosahedron;
        icosahedron.CreateFromLibraryEntry(&templ, FindLibraryEntry("Icosahedron", nullptr, false), false);
        std::unique_ptr<SimplePoly> source = icosahedron.Subdivide(true, 7);
        auto* p = new Poly();
        CreatePoly(source.get(), p, false, true);
        return p;
    }();
    return *poly;
}

// Argument 0: colours may mix on a net; 1: one colour per net, which cuts between the colours.
void RunCreateNets(benchmark::State& state, Poly& poly)
{
    ScopedScriptedServices quiet;
    UnitSettings& units = GetUnitSettings();
    const int savedMode = units.mColorPagesMode;
    units.mColorPagesMode = state.range(0) ? kSingleColorPages : kMultiColorPages;
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&poly, false);
    for (auto _ : state)
    {
        mesh->CreateNets();
        benchmark::DoNotOptimize(mesh->GetNumNetTypes());
    }
    state.counters["faces"] = double(mesh->GetNumFaces());
    state.counters["nets"] = double(mesh->GetNumNetTypes());
    state.SetItemsProcessed(state.iterations() * int64_t(mesh->GetNumFaces()));
    units.mColorPagesMode = savedMode;
}

void BM_CreateNetsOfTorus(benchmark::State& state)
{
    RunCreateNets(state, Torus());
}
BENCHMARK(BM_CreateNetsOfTorus)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CreateNetsOfGeodesicSphere(benchmark::State& state)
{
    RunCreateNets(state, GeodesicSphere());
}
BENCHMARK(BM_CreateNetsOfGeodesicSphere)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}  // namespace
