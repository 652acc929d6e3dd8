#pragma once

// The models and the display of the view benchmarks (one program, run under a display).

#include "support/PolyBuilder.h"

#include <functional>
#include <memory>

class CPolyDoc;
class CPolyView;
class Poly;
class wxFrame;

// The program has a display: the benchmarks that draw are skipped without one.
bool ViewBenchHasDisplay();
// Lets the window system catch up for some rounds.
void PumpViewBench(int rounds);
// The geodesic sphere of frequency n on the icosahedron: 20 n^2 triangles.
PolySpec GeodesicSpec(int n);
// The uniform polyhedron with the most faces that builds from its configuration so far.
const char* LargestUniform();

// One model pane in a frame of its own, over a document of its own; the frame goes with the scene.
struct ViewBenchScene
{
    ViewBenchScene();
    ~ViewBenchScene();
    std::unique_ptr<CPolyDoc> document;
    wxFrame* frame = nullptr;
    CPolyView* pane = nullptr;
};
// The scene of the model that build makes, shown, fitted and drawn once; null when build fails.
std::unique_ptr<ViewBenchScene> MakeViewBenchScene(const char* title, int width, int height,
                                                   const std::function<bool(Poly&)>& build);
