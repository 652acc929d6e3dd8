// Scene text: a frame of the geodesic sphere of 1,280 faces with a label on every face, and the
// making of a cached font's glyphs (resolution 48, mipmapped pages). Needs a display (run under
// Xvfb).

#include "ViewBenchModels.h"
#include "document/PolyDoc.h"
#include "kernel/ScriptedServices.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyElement.h"
#include "render/FontCache.h"
#include "render/GLFont.h"
#include "view/PolyView.h"

#include <benchmark/benchmark.h>
#include <wx/frame.h>
#include <wx/sizer.h>

#include <memory>
#include <string>

namespace
{
struct TextScene
{
    std::unique_ptr<CPolyDoc> document;
    wxFrame* frame = nullptr;
    CPolyView* pane = nullptr;

    ~TextScene()
    {
        if (frame)
        {
            frame->Destroy();
            PumpViewBench(5);
        }
    }
};

void BM_LabelledGeodesicFrame(benchmark::State& state)
{
    if (!ViewBenchHasDisplay())
    {
        state.SkipWithError("needs a display");
        return;
    }
    ScopedScriptedServices scripted;
    TextScene scene;
    scene.document = std::make_unique<CPolyDoc>();
    Poly& poly = scene.document->GetCurrentRecord()->mPoly;
    BuildPoly(poly, GeodesicSpec(8), false);
    if (poly.mFaces.mCount != 1280)
    {
        state.SkipWithError("model not built");
        return;
    }
    int n = 0;
    for (FaceVert* f = poly.mFaces.mFirst; f; f = f->mNext)
        PolyElement::SetText(f, ("<b>" + std::to_string(++n) + "</b>").c_str());
    poly.UpdateFaceDiagramColors();
    scene.frame = new wxFrame(nullptr, wxID_ANY, "labels", wxDefaultPosition, wxSize(600, 520));
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    scene.pane = new CPolyView(scene.frame);
    sizer->Add(scene.pane, 1, wxEXPAND);
    scene.frame->SetSizer(sizer);
    scene.frame->Show();
    PumpViewBench(40);
    scene.pane->RequestFit(1);
    scene.pane->OnDraw();
    for (auto _ : state)
        scene.pane->OnDraw();
    if (scene.pane->PreOpenGL())
    {
        FreeFontCache();
        scene.pane->PostOpenGL();
    }
}
BENCHMARK(BM_LabelledGeodesicFrame)->Unit(benchmark::kMillisecond);

void BM_CreateFonts(benchmark::State& state)
{
    if (!ViewBenchHasDisplay())
    {
        state.SkipWithError("needs a display");
        return;
    }
    wxFrame* frame = new wxFrame(nullptr, wxID_ANY, "fonts", wxDefaultPosition, wxSize(200, 200));
    auto* pane = new CPolyView(frame);
    frame->Show();
    PumpViewBench(20);
    if (pane->PreOpenGL())
    {
        for (auto _ : state)
        {
            GLFont font;
            font.SetGlyphCapacity(98);
            benchmark::DoNotOptimize(font.CreateFonts(GLFont::kTexture, 1.0f, 0.0f, 48, "Fonts", "DejaVu Sans",
                                                      nullptr, nullptr, nullptr, nullptr));
        }
        pane->PostOpenGL();
    }
    frame->Destroy();
    PumpViewBench(5);
}
BENCHMARK(BM_CreateFonts)->Unit(benchmark::kMillisecond);
}  // namespace
