#include "kernel/ScriptedServices.h"
#include "model/ConvexHull.h"
#include "model/SimplePoly.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

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

std::unique_ptr<SimplePoly> GeodesicSphere(int parts)
{
    return SimplePoly::Subdivide(*Icosahedron(), SimplePoly::kGeodesic, parts);
}

// The cube [0, k]^3 with every side made of k x k unit squares over shared vertices.
std::unique_ptr<SimplePoly> GridCube(int k)
{
    auto poly = std::make_unique<SimplePoly>(6 * (k + 1) * (k + 1), 6 * k * k);
    int nextVert = 0, nextFace = 0;
    const double h = k / 2.0;
    for (int axis = 0; axis < 3; ++axis)
    {
        for (double side : {-h, h})
        {
            for (int i = 0; i < k; ++i)
            {
                for (int j = 0; j < k; ++j)
                {
                    SimpleFace* face = poly->GetFace(nextFace++);
                    face->SetNumVerts(4);
                    const int di[4] = {0, 1, 1, 0}, dj[4] = {0, 0, 1, 1};
                    for (int c = 0; c < 4; ++c)
                    {
                        Vec3D p;
                        p[axis] = side;
                        p[(axis + 1) % 3] = i + di[c] - h;
                        p[(axis + 2) % 3] = j + dj[c] - h;
                        face->SetVert(c, poly->FindOrCreateVert(p, nextVert));
                    }
                }
            }
        }
    }
    poly->mNumVerts = nextVert;
    return poly;
}

void BM_CreateDualGeodesic(benchmark::State& state)
{
    const auto sphere = GeodesicSphere(int(state.range(0)));
    for (auto _ : state)
    {
        auto dual = SimplePoly::CreateDual(sphere.get(), 1.0);
        benchmark::DoNotOptimize(dual);
    }
    state.counters["faces"] = sphere->mNumFaces;
    state.SetItemsProcessed(state.iterations() * int64_t(sphere->mNumFaces));
}
BENCHMARK(BM_CreateDualGeodesic)->Arg(71)->Unit(benchmark::kMillisecond);

// The dual of a geodesic sphere has pentagons and hexagons, each resolved into triangles.
void BM_CopyTriangulatedGeodesicDual(benchmark::State& state)
{
    auto sphere = GeodesicSphere(int(state.range(0)));
    const auto dual = SimplePoly::CreateDual(sphere.get(), 1.0);
    for (auto _ : state)
    {
        auto triangles = SimplePoly::CopyTriangulated(dual.get(), SimplePoly::kTriangulateAll, nullptr);
        benchmark::DoNotOptimize(triangles);
    }
    state.counters["faces"] = dual->mNumFaces;
    state.SetItemsProcessed(state.iterations() * int64_t(dual->mNumFaces));
}
BENCHMARK(BM_CopyTriangulatedGeodesicDual)->Arg(71)->Unit(benchmark::kMillisecond);

// A geodesic sphere combined with itself: every face has a partner to remove.
void BM_RemoveAllCoincidentFacesCompound(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    auto sphere = GeodesicSphere(int(state.range(0)));
    int faces = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto both = sphere->Combine(*sphere);
        faces = both->mNumFaces;
        state.ResumeTiming();
        both->RemoveAllCoincidentFaces(1, false, SimpleElem::kTemp);
        benchmark::DoNotOptimize(both);
    }
    state.counters["faces"] = faces;
    state.SetItemsProcessed(state.iterations() * int64_t(faces));
}
BENCHMARK(BM_RemoveAllCoincidentFacesCompound)->Arg(71)->Unit(benchmark::kMillisecond);

// Six sides of k x k squares blend into six squares with long straight runs of corners to remove.
void BM_BlendCoplanarFacesGridCube(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    const int k = int(state.range(0));
    int faces = 0;
    for (auto _ : state)
    {
        state.PauseTiming();
        auto cube = GridCube(k);
        faces = cube->mNumFaces;
        state.ResumeTiming();
        cube->BlendCoplanarFaces(0, nullptr, nullptr);
        benchmark::DoNotOptimize(cube);
    }
    state.counters["faces"] = faces;
    state.SetItemsProcessed(state.iterations() * int64_t(faces));
}
BENCHMARK(BM_BlendCoplanarFacesGridCube)->Arg(40)->Arg(120)->Unit(benchmark::kMillisecond);
}  // namespace
