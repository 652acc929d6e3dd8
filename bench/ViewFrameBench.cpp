// Frames per second of the Base Polyhedron pane, next to a plain GL loop drawing the same lit
// triangles in an identical view: the ratio of the two is the cost of the model's drawing path
// (face diagrams, translucent queue, colour rules) over the bare triangles. Needs a display
// (run under Xvfb); without one every benchmark is skipped.

#include "document/PolyDoc.h"
#include "kernel/RecordingSceneDrawer.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "platform/WxSupport.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/Prisms4D.h"
#include "render/OpenGLView.h"
#include "support/PolyBuilder.h"
#include "view/PolyView.h"
#include "ViewBenchModels.h"

#include <benchmark/benchmark.h>
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/init.h>
#include <wx/sizer.h>
#include <wx/utils.h>

#include <GL/gl.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

namespace
{
bool gDisplay = false;
}  // namespace

bool ViewBenchHasDisplay()
{
    return gDisplay;
}

void PumpViewBench(int rounds)
{
    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    for (int i = 0; i < rounds; ++i)
    {
        while (loop.Pending())
            loop.Dispatch();
        loop.YieldFor(wxEVT_CATEGORY_ALL);
        wxMilliSleep(1);
    }
}

namespace
{
// The triangles a model's base drawing hands to the view, as flat arrays.
struct TriangleArrays
{
    std::vector<float> positions;
    std::vector<float> normals;
    std::vector<float> colors;
    int count = 0;
};

TriangleArrays RecordTriangles(Poly& poly)
{
    RecordingSceneDrawer drawer;
    {
        ScopedSceneDrawer scope(&drawer);
        poly.DrawBaseModel(1.0, 1.0);
    }
    TriangleArrays out;
    for (const RecordingSceneDrawer::Call& call : drawer.calls)
    {
        if (call.name != "AddTriangle")
            continue;
        const std::vector<double>& v = call.values;
        for (int c = 0; c < 3; ++c)
        {
            for (int k = 0; k < 3; ++k)
            {
                out.positions.push_back(float(v[size_t(3 * c + k)]));
                out.normals.push_back(float(v[size_t(9 + k)]));
            }
            for (int k = 0; k < 4; ++k)
                out.colors.push_back(float(v[size_t(12 + k)]));
        }
        ++out.count;
    }
    return out;
}

// The plain program: the same triangles from vertex arrays, colour through the material.
class PlainTrianglesView : public OpenGLView
{
public:
    using OpenGLView::OpenGLView;
    const TriangleArrays* triangles = nullptr;

protected:
    void DrawScene() override
    {
        if (!triangles || !triangles->count)
            return;
        glEnable(GL_COLOR_MATERIAL);
        glColorMaterial(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE);
        glEnableClientState(GL_VERTEX_ARRAY);
        glEnableClientState(GL_NORMAL_ARRAY);
        glEnableClientState(GL_COLOR_ARRAY);
        glVertexPointer(3, GL_FLOAT, 0, triangles->positions.data());
        glNormalPointer(GL_FLOAT, 0, triangles->normals.data());
        glColorPointer(4, GL_FLOAT, 0, triangles->colors.data());
        glDrawArrays(GL_TRIANGLES, 0, 3 * triangles->count);
        glDisableClientState(GL_COLOR_ARRAY);
        glDisableClientState(GL_NORMAL_ARRAY);
        glDisable(GL_COLOR_MATERIAL);
    }
};

// A shown frame with the model pane and the plain view side by side at the same size.
struct Scene
{
    std::unique_ptr<CPolyDoc> document;
    wxFrame* frame = nullptr;
    CPolyView* pane = nullptr;
    PlainTrianglesView* plain = nullptr;
    TriangleArrays triangles;

    ~Scene()
    {
        if (frame)
        {
            frame->Destroy();
            PumpViewBench(5);
        }
    }
};

std::unique_ptr<Scene> MakeScene(const std::function<bool(Poly&)>& build)
{
    auto scene = std::make_unique<Scene>();
    scene->document = std::make_unique<CPolyDoc>();
    Poly& poly = scene->document->GetCurrentRecord()->mPoly;
    if (!build(poly))
        return nullptr;
    poly.UpdateFaceDiagramColors();
    scene->triangles = RecordTriangles(poly);
    scene->frame = new wxFrame(nullptr, wxID_ANY, "frames", wxDefaultPosition, wxSize(1000, 520));
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    scene->pane = new CPolyView(scene->frame);
    scene->plain = new PlainTrianglesView(scene->frame);
    scene->plain->triangles = &scene->triangles;
    sizer->Add(scene->pane, 1, wxEXPAND);
    sizer->Add(scene->plain, 1, wxEXPAND);
    scene->frame->SetSizer(sizer);
    scene->frame->Show();
    PumpViewBench(40);
    scene->pane->RequestFit(1);
    scene->pane->OnDraw();
    Transform3D camera;
    scene->pane->GetCameraTransform(camera);
    scene->plain->SetCameraTransform(camera);
    return scene;
}

// Frames of one view; counters give frames per second and the model's triangles.
void RunFrames(benchmark::State& state, Scene* scene, bool plain)
{
    OpenGLView* view = plain ? static_cast<OpenGLView*>(scene->plain) : scene->pane;
    for (auto _ : state)
        view->OnDraw();
    state.counters["fps"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["triangles"] = scene->triangles.count;
}

void BM_Frames(benchmark::State& state, const char* model, bool plain)
{
    if (!gDisplay)
    {
        state.SkipWithError("needs a display");
        return;
    }
    ScopedScriptedServices scripted;
    std::unique_ptr<Scene> scene;
    PolyTemplate templ;
    if (std::strcmp(model, "geodesic") == 0)
        scene = MakeScene([](Poly& poly) {
            BuildPoly(poly, GeodesicSpec(32), false);
            return poly.mFaces.mCount == 20480;
        });
    else
        scene = MakeScene([&](Poly& poly) { return templ.Parse(model, false) && poly.PrepareFromTemplate(&templ, 0); });
    if (!scene)
    {
        state.SkipWithError("model not built");
        return;
    }
    RunFrames(state, scene.get(), plain);
}

// The 4D prism of the frequency-32 geodesic sphere (20,482 cells), its cells shrunk by the factor.
void BM_Frames4D(benchmark::State& state, double shrink, bool plain)
{
    if (!gDisplay)
    {
        state.SkipWithError("needs a display");
        return;
    }
    ScopedScriptedServices scripted;
    // The new document's model record brings its own scene values.
    std::unique_ptr<Scene> scene = MakeScene([shrink](Poly& poly) {
        GetSceneParameters().shrink4D = shrink;
        BuildPoly(poly, GeodesicSpec(32), false);
        std::unique_ptr<Polytope4D> prism = Create4DPrism(&poly, 3);
        if (!prism || prism->mNumCells != 20482)
            return false;
        poly.SetPolytope4D(std::move(prism), 0);
        return true;
    });
    if (!scene)
        state.SkipWithError("model not built");
    else
    {
        RunFrames(state, scene.get(), plain);
        // The cells the pane's hiding leaves in the picture.
        int shown = 0;
        const Polytope4D* polytope = scene->document->GetCurrentRecord()->mPoly.mPolytope.get();
        for (const Element4D* e = polytope ? polytope->mFirstCell : nullptr; e; e = e->next)
            shown += (e->mFlags & Element4D::kCellNotShown) ? 0 : 1;
        state.counters["cells"] = shown;
    }
}

void BM_LargestUniform(benchmark::State& state, bool plain)
{
    BM_Frames(state, LargestUniform(), plain);
    state.SetLabel(LargestUniform());
}
}  // namespace

BENCHMARK_CAPTURE(BM_LargestUniform, ModelPane, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_LargestUniform, PlainGL, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames, Geodesic20480ModelPane, "geodesic", false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames, Geodesic20480PlainGL, "geodesic", true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames4D, GeodesicPrismShrunkModelPane, 0.3, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames4D, GeodesicPrismShrunkPlainGL, 0.3, true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames4D, GeodesicPrismWholeModelPane, 1.0, false)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_Frames4D, GeodesicPrismWholePlainGL, 1.0, true)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (std::getenv("DISPLAY"))
    {
        PreferX11Backend();
        wxApp::SetInstance(new wxApp());
        gDisplay = wxEntryStart(argc, argv) && wxTheApp->CallOnInit();
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (gDisplay)
    {
        wxTheApp->OnExit();
        wxEntryCleanup();
    }
    return 0;
}
