#include "kernel/MemBlock.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TokenFile.h"
#include "library/SceneFile.h"
#include "library/SceneReader.h"
#include "model/ConvexHull.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "model/SimplePoly.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <unistd.h>

namespace
{
std::unique_ptr<SimplePoly> Icosahedron()
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    auto points = std::make_unique<SimplePoly>(12, 0);
    int i = 0;
    for (int axis = 0; axis < 3; ++axis)
        for (double a : {-1.0, 1.0})
            for (double b : {-phi, phi})
            {
                Vec3D p;
                p[(axis + 1) % 3] = a;
                p[(axis + 2) % 3] = b;
                points->mVerts[i++].SetPos(p);
            }
    return CreateConvexHull(points.get(), 0);
}

// A geodesic sphere of 100,820 faces as the model: no template, so its geometry is written out.
Poly& LargeModel()
{
    static Poly poly;
    static bool built = false;
    if (!built)
    {
        ScopedScriptedServices quiet;
        const auto sphere = SimplePoly::Subdivide(*Icosahedron(), SimplePoly::kGeodesic, 71);
        built = CreatePoly(sphere.get(), &poly, false, true);
    }
    return poly;
}

void WriteFile(benchmark::State& state, int mode)
{
    ScopedScriptedServices quiet;
    Poly& poly = LargeModel();
    const std::string path = "/tmp/orvane-scene-bench-" + std::to_string(getpid()) + ".orva";
    for (auto _ : state)
    {
        const bool ok = WriteSceneFile(path.c_str(), mode, &poly, 0);
        benchmark::DoNotOptimize(ok);
    }
    state.counters["faces"] = poly.mFaces.mCount;
    std::remove(path.c_str());
}

void BM_WriteSceneAscii(benchmark::State& state)
{
    WriteFile(state, kIoAscii);
}
BENCHMARK(BM_WriteSceneAscii)->Unit(benchmark::kMillisecond);

void BM_WriteSceneBinary(benchmark::State& state)
{
    WriteFile(state, kIoBinary);
}
BENCHMARK(BM_WriteSceneBinary)->Unit(benchmark::kMillisecond);

// A tour event's capture.
void BM_WriteSceneToMemory(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    Poly& poly = LargeModel();
    for (auto _ : state)
    {
        MemBlock block;
        const bool ok = WriteSceneToBuffer(nullptr, &poly, 0, block);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(block.mData);
    }
    state.counters["faces"] = poly.mFaces.mCount;
}
BENCHMARK(BM_WriteSceneToMemory)->Unit(benchmark::kMillisecond);

// Opening the scene: reading every item and building the model again from its vertices and faces.
void ReadFile(benchmark::State& state, int mode)
{
    ScopedScriptedServices quiet;
    Poly& poly = LargeModel();
    const std::string path = "/tmp/orvane-scene-bench-" + std::to_string(getpid()) + ".orva";
    if (!WriteSceneFile(path.c_str(), mode, &poly, 0))
    {
        state.SkipWithError("the scene could not be written");
        return;
    }
    for (auto _ : state)
    {
        PolyTemplate templ;
        Poly read;
        const bool ok = ReadSceneFile(path.c_str(), &read, &templ, 0, nullptr, nullptr, nullptr);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(read.mFaces.mCount);
    }
    state.counters["faces"] = poly.mFaces.mCount;
    std::remove(path.c_str());
}

void BM_ReadSceneAscii(benchmark::State& state)
{
    ReadFile(state, kIoAscii);
}
BENCHMARK(BM_ReadSceneAscii)->Unit(benchmark::kMillisecond);

void BM_ReadSceneBinary(benchmark::State& state)
{
    ReadFile(state, kIoBinary);
}
BENCHMARK(BM_ReadSceneBinary)->Unit(benchmark::kMillisecond);

// A tour event's playback.
void BM_ReadSceneFromMemory(benchmark::State& state)
{
    ScopedScriptedServices quiet;
    Poly& poly = LargeModel();
    MemBlock block;
    if (!WriteSceneToBuffer(nullptr, &poly, 0, block))
    {
        state.SkipWithError("the scene could not be written");
        return;
    }
    for (auto _ : state)
    {
        PolyTemplate templ;
        Poly read;
        const bool ok = ReadSceneFile(nullptr, &read, &templ, 0, nullptr, &block, nullptr);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(read.mFaces.mCount);
    }
    state.counters["faces"] = poly.mFaces.mCount;
}
BENCHMARK(BM_ReadSceneFromMemory)->Unit(benchmark::kMillisecond);
}  // namespace
