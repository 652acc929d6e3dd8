// Pictures of the model pane drawn off the screen: the 20,480-face geodesic sphere at 2000 x 1500,
// plain and over-sampled 3 times, and the writing of 100 PNG frames. Needs a display (Xvfb).

#include "document/PolyDoc.h"
#include "kernel/ScriptedServices.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "render/CDib.h"
#include "render/ImageExportFiles.h"
#include "render/OffscreenBitmap.h"
#include "view/PolyView.h"
#include "ViewBenchModels.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace
{
std::unique_ptr<ViewBenchScene> MakeGeodesicScene()
{
    return MakeViewBenchScene("offscreen", 600, 450, [](Poly& poly) {
        BuildPoly(poly, GeodesicSpec(32), false);
        return poly.mFaces.mCount == 20480;
    });
}

void BM_RenderOffscreen(benchmark::State& state)
{
    if (!ViewBenchHasDisplay())
    {
        state.SkipWithError("needs a display");
        return;
    }
    ScopedScriptedServices scripted;
    std::unique_ptr<ViewBenchScene> scene = MakeGeodesicScene();
    if (!scene)
    {
        state.SkipWithError("model not built");
        return;
    }
    const int s = int(state.range(0));
    OffscreenBitmap bitmap;
    for (auto _ : state)
    {
        const bool rendered = scene->pane->RenderOffscreen(bitmap, 2000, 1500, s) && bitmap.FillFinal();
        benchmark::DoNotOptimize(rendered);
        benchmark::DoNotOptimize(bitmap.GetFinalDib()->GetBits()[0]);
    }
}

void BM_WritePngFrames(benchmark::State& state)
{
    CDib picture(640, 480, 24);
    picture.CreateBits();
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x)
        {
            uint8_t* p = picture.PixelAt(x, y);
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t(x ^ y);
        }
    const std::string path = (std::filesystem::temp_directory_path() / "orvane_bench_frame.png").string();
    for (auto _ : state)
        for (int frame = 0; frame < 100; ++frame)
            benchmark::DoNotOptimize(WriteImageFile(picture, NumberedFramePath(path, frame), 96, 90));
    for (int frame = 0; frame < 100; ++frame)
        std::remove(NumberedFramePath(path, frame).c_str());
}
}  // namespace

BENCHMARK(BM_RenderOffscreen)->Arg(1)->Arg(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_WritePngFrames)->Unit(benchmark::kMillisecond);
