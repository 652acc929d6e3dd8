#include "library/Export3DOptions.h"
#include "library/Export3DScene.h"
#include "model/ElementDisplayOptions.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <string>

#include <unistd.h>

namespace
{
// A wavy sheet of 100,000 triangles (250 by 200 quadrilaterals, two triangles each) in 1,000 colours.
std::unique_ptr<SimplePoly> ColouredSheet()
{
    constexpr int kColumns = 250;
    constexpr int kRows = 200;
    auto sheet = std::make_unique<SimplePoly>((kColumns + 1) * (kRows + 1), 2 * kColumns * kRows);
    for (int j = 0; j <= kRows; ++j)
        for (int i = 0; i <= kColumns; ++i)
            sheet->mVerts[j * (kColumns + 1) + i].SetPos(Vec3D{double(i), double(j), 0.1 * ((i * 7 + j * 3) % 5)});
    int f = 0;
    for (int j = 0; j < kRows; ++j)
        for (int i = 0; i < kColumns; ++i)
        {
            const int a = j * (kColumns + 1) + i;
            const int corners[2][3] = {{a, a + 1, a + kColumns + 2}, {a, a + kColumns + 2, a + kColumns + 1}};
            for (const auto& tri : corners)
            {
                SimpleFace& face = sheet->mFaces[f];
                face.SetNumVerts(3);
                for (int k = 0; k < 3; ++k)
                    face.SetVert(k, &sheet->mVerts[tri[k]]);
                const int c = f % 1000;
                face.mColor = uint32_t(c % 10 * 25) | uint32_t(c / 10 % 10 * 25) << 8 | uint32_t(c / 100 * 25) << 16;
                ++f;
            }
        }
    sheet->SetNormals(true);
    return sheet;
}

std::string BenchPath(const char* extension)
{
    return "/tmp/orvane-export-bench-" + std::to_string(::getpid()) + "." + extension;
}

void BM_ExportDxf(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    VertexPair* edges = sheet->CollectEdges();
    const std::string path = BenchPath("dxf");
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportDxf(path.c_str(), "Sheet", edges));
    FreeVertexPairs(edges);
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportDxf)->Unit(benchmark::kMillisecond);

void BM_ExportStl(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    const std::string path = BenchPath("stl");
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportStl(path.c_str(), "Sheet"));
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportStl)->Unit(benchmark::kMillisecond);

void BM_ExportObj(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    const std::string path = BenchPath("obj");
    const std::string materials = BenchPath("mtl");
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportObj(path.c_str(), materials.c_str(), "Sheet"));
    std::remove(path.c_str());
    std::remove(materials.c_str());
}
BENCHMARK(BM_ExportObj)->Unit(benchmark::kMillisecond);

void BM_ExportOff(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    const std::string path = BenchPath("off");
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportOff(path.c_str(), "Sheet"));
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportOff)->Unit(benchmark::kMillisecond);
void BM_ExportVrml(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    VertexPair* edges = sheet->CollectEdges();
    const std::string path = BenchPath("wrl");
    // Spheres at the vertices and cylinders along the edges: the largest world.
    const uint32_t options = gExport3DOptions;
    const bool spheresAndCylinders = GetElementDisplayOptions().mSpheresAndCylinders;
    gExport3DOptions |= kExport3DVerts | kExport3DEdges;
    GetElementDisplayOptions().mSpheresAndCylinders = true;
    Export3DScene scene;
    scene.sphereLength = 0.1;
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportVrml(path.c_str(), "Sheet", edges, scene));
    gExport3DOptions = options;
    GetElementDisplayOptions().mSpheresAndCylinders = spheresAndCylinders;
    FreeVertexPairs(edges);
    std::remove(path.c_str());
}
BENCHMARK(BM_ExportVrml)->Unit(benchmark::kMillisecond);

void BM_ExportPov(benchmark::State& state)
{
    std::unique_ptr<SimplePoly> sheet = ColouredSheet();
    VertexPair* edges = sheet->CollectEdges();
    const std::string include = BenchPath("inc");
    const std::string scene = BenchPath("pov");
    for (auto _ : state)
        benchmark::DoNotOptimize(sheet->ExportPov(include.c_str(), scene.c_str(), "Sheet", edges, Export3DScene()));
    FreeVertexPairs(edges);
    std::remove(include.c_str());
    std::remove(scene.c_str());
}
BENCHMARK(BM_ExportPov)->Unit(benchmark::kMillisecond);
}  // namespace
