#include "kernel/DiagramPools.h"
#include "kernel/LoopType.h"
#include "kernel/PlaneTriangulation.h"
#include "kernel/Vec3D.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

namespace
{
constexpr double kTwoPi = 2.0 * 3.141592653589793;

// One face of a display mesh: the star polygon {n/k} of radius 1 in a plane of its own.
struct MeshFace
{
    Vec3D normal;
    std::vector<Vec3D> corners;
};

std::vector<MeshFace> RandomFaces(int count, int n, int k)
{
    std::mt19937 random(11);
    std::normal_distribution<double> gauss;
    std::vector<MeshFace> faces;
    for (int f = 0; f < count; ++f)
    {
        MeshFace face;
        face.normal = Vec3D{gauss(random), gauss(random), gauss(random)};
        Vec3Normalize(face.normal);
        Vec3D x, y;
        Vec3Perpendicular(x, face.normal);
        Vec3Normalize(x);
        Vec3Cross(y, face.normal, x);
        Vec3D centre;
        Vec3Scale(centre, face.normal, 5.0);
        for (int i = 0; i < n; ++i)
        {
            const double a = kTwoPi * double(i * k % n) / double(n);
            Vec3D p = centre;
            Vec3AddScaledTo(p, std::cos(a), x);
            Vec3AddScaledTo(p, std::sin(a), y);
            face.corners.push_back(p);
        }
        faces.push_back(face);
    }
    return faces;
}

// The whole mesh triangulated plane by plane into one set of work pools, as the display mesh does.
void Triangulate(benchmark::State& state, const std::vector<MeshFace>& faces)
{
    DiagramWorkPools work;
    std::vector<PlaneTriangulation> results(faces.size());
    auto feeder = std::make_unique<PlaneFeeder>();
    int64_t triangles = 0;
    for (auto _ : state)
    {
        work.ResetAll();
        triangles = 0;
        for (size_t f = 0; f < faces.size(); ++f)
        {
            results[f].Begin(faces[f].normal, &work, kOwnerKindCallbacks, nullptr, *feeder);
            PlaneTriangulation::EndContour(&faces[f], *feeder);
            for (const Vec3D& p : faces[f].corners)
                PlaneTriangulation::AddPoint(p, *feeder);
            FinishTriangulation(results[f], *feeder, 0);
            for (int t = 0; t < results[f].mLoopTypeCount; ++t)
                triangles += results[f].mLoopTypeTriangles[t].mCount / 3;
        }
        benchmark::DoNotOptimize(results.data());
    }
    state.counters["triangles"] = double(triangles);
    state.SetItemsProcessed(state.iterations() * int64_t(faces.size()));
}

void BM_MeshOfTriangles(benchmark::State& state)
{
    Triangulate(state, RandomFaces(int(state.range(0)), 3, 1));
}
BENCHMARK(BM_MeshOfTriangles)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_MeshOfPentagrams(benchmark::State& state)
{
    Triangulate(state, RandomFaces(int(state.range(0)), 5, 2));
}
BENCHMARK(BM_MeshOfPentagrams)->Arg(10000)->Unit(benchmark::kMillisecond);
}  // namespace
