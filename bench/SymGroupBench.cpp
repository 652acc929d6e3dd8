#include "model/SymGroup.h"

#include <benchmark/benchmark.h>

namespace
{
// The inner loop of the symmetric builders: every operation of Ih applied to 1000 points.
void BM_SymGroupFullIcosahedralOverPoints(benchmark::State& state)
{
    const auto group = SymGroup::Create(SymGroup::kIcosahedral);
    group->SetReflectionKind(SymGroup::kHorizontal);
    const int numPoints = int(state.range(0));
    for (auto _ : state)
    {
        SymOpIterator it;
        Mat3 m;
        Vec3D sum;
        while (group->NextOperationWithReflections(it, true, &m, true))
        {
            for (int i = 0; i < numPoints; ++i)
            {
                Vec3D p = {1.0 + i, 0.5, -0.25 * i}, image;
                m.Transform(image, p);
                Vec3AddTo(sum, image);
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * 120 * state.range(0));
}
BENCHMARK(BM_SymGroupFullIcosahedralOverPoints)->Arg(1000);

// The enumeration alone.
void BM_SymGroupEnumerateIcosahedral(benchmark::State& state)
{
    const auto group = SymGroup::Create(SymGroup::kIcosahedral);
    group->SetReflectionKind(SymGroup::kHorizontal);
    for (auto _ : state)
    {
        SymOpIterator it;
        Mat3 m;
        while (group->NextOperationWithReflections(it, true, &m, true))
            benchmark::DoNotOptimize(m);
    }
    state.SetItemsProcessed(state.iterations() * 120);
}
BENCHMARK(BM_SymGroupEnumerateIcosahedral);
}  // namespace
