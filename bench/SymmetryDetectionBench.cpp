#include "kernel/ScriptedServices.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
// The icosahedron (0, +-1, +-phi) and its cyclic permutations, as points and faces.
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
                p[axis] = 0.0;
                p[(axis + 1) % 3] = a;
                p[(axis + 2) % 3] = b;
                points->mVerts[i++].SetPos(p);
            }
        }
    }
    return CreateConvexHull(points.get(), 0);
}

// Detection of a geodesic sphere: every one of its vertices, faces and edges is tested against
// the 31 axes of the icosahedral group, and its edge types are found under all 60 rotations.
void BM_FindSymmetriesGeodesic(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const auto base = Icosahedron();
    const int parts = int(state.range(0));
    int faces = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto sphere = SimplePoly::Subdivide(*base, SimplePoly::kGeodesic, parts);
        faces = sphere->mNumFaces;
        state.ResumeTiming();
        bool reflection = false;
        auto group = sphere->FindSymmetries(reflection);
        benchmark::DoNotOptimize(group);
    }
    state.counters["faces"] = faces;
    state.SetItemsProcessed(state.iterations() * int64_t(faces));
}
BENCHMARK(BM_FindSymmetriesGeodesic)->Arg(23)->Arg(71)->Unit(benchmark::kMillisecond);

// Detection of a model without any symmetry: the hull of random points on a sphere, where every
// candidate axis and mirror must fail.
void BM_FindSymmetriesNone(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const int numPoints = int(state.range(0));
    std::mt19937 random(3);
    std::normal_distribution<double> normal;
    auto points = std::make_unique<SimplePoly>(numPoints, 0);
    for (int i = 0; i < numPoints; ++i)
    {
        Vec3D p{normal(random), normal(random), normal(random)};
        Vec3Normalize(p);
        points->mVerts[i].SetPos(p);
    }
    int faces = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto model = CreateConvexHull(points.get(), 0);
        faces = model->mNumFaces;
        state.ResumeTiming();
        bool reflection = false;
        auto group = model->FindSymmetries(reflection);
        benchmark::DoNotOptimize(group);
    }
    state.counters["faces"] = faces;
    state.SetItemsProcessed(state.iterations() * int64_t(faces));
}
BENCHMARK(BM_FindSymmetriesNone)->Arg(25000)->Unit(benchmark::kMillisecond);
}  // namespace
