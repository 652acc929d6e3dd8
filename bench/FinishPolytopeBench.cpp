// Completing a polytope from its faces, as every 4D construction ends: the 600-cell from its 1,200
// triangles, once with its cells to be found and once with its 600 tetrahedra given.
#include "RegularPolytopes4D.h"

#include "kernel/ScriptedServices.h"
#include "polytope4d/Polytope4D.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>

namespace
{
void BM_Finish600Cell(benchmark::State& state)
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    const PolytopeSpec4D spec = TriangleSpec4D(Verts600Cell(), 1.0 / phi, state.range(0) != 0);
    ScopedScriptedServices scripted;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto polytope = std::make_unique<Polytope4D>();
        AddSpec(*polytope, spec);
        state.ResumeTiming();
        benchmark::DoNotOptimize(polytope->FinishPolytope());
        state.counters["cells"] = polytope->mNumCells;
        state.PauseTiming();
        polytope.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Finish600Cell)->ArgName("cellsGiven")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}  // namespace
