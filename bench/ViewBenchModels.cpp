#include "ViewBenchModels.h"

#include "document/PolyDoc.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryEntry.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyTemplate.h"
#include "view/PolyView.h"

#include <wx/frame.h>
#include <wx/sizer.h>

#include <cmath>
#include <cstring>
#include <map>
#include <tuple>
#include <vector>

PolySpec GeodesicSpec(int n)
{
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    std::vector<Vec3D> ico = {{-1, phi, 0}, {1, phi, 0}, {-1, -phi, 0}, {1, -phi, 0}, {0, -1, phi}, {0, 1, phi},
                              {0, -1, -phi}, {0, 1, -phi}, {phi, 0, -1}, {phi, 0, 1}, {-phi, 0, -1}, {-phi, 0, 1}};
    const int faces[20][3] = {{0, 11, 5}, {0, 5, 1},  {0, 1, 7},   {0, 7, 10}, {0, 10, 11}, {1, 5, 9}, {5, 11, 4},
                              {11, 10, 2}, {10, 7, 6}, {7, 1, 8},  {3, 9, 4},  {3, 4, 2},   {3, 2, 6}, {3, 6, 8},
                              {3, 8, 9},  {4, 9, 5},  {2, 4, 11}, {6, 2, 10}, {8, 6, 7},   {9, 8, 1}};
    PolySpec spec;
    std::map<std::tuple<long long, long long, long long>, int> index;
    auto vertex = [&](Vec3D p) {
        Vec3Normalize(p);
        const auto key = std::make_tuple(std::llround(p.x * 1e9), std::llround(p.y * 1e9), std::llround(p.z * 1e9));
        const auto it = index.find(key);
        if (it != index.end())
            return it->second;
        const int i = int(spec.verts.size());
        spec.verts.push_back(p);
        index[key] = i;
        return i;
    };
    for (const auto& f : faces)
    {
        const Vec3D& a = ico[size_t(f[0])];
        const Vec3D& b = ico[size_t(f[1])];
        const Vec3D& c = ico[size_t(f[2])];
        auto at = [&](int i, int j) {
            // i steps towards b, j towards c.
            Vec3D p;
            for (int k = 0; k < 3; ++k)
                p[k] = a[k] + (b[k] - a[k]) * i / n + (c[k] - a[k]) * j / n;
            return vertex(p);
        };
        for (int i = 0; i < n; ++i)
            for (int j = 0; i + j < n; ++j)
            {
                spec.faces.push_back({at(i, j), at(i + 1, j), at(i, j + 1)});
                if (i + j + 2 <= n)
                    spec.faces.push_back({at(i + 1, j), at(i + 1, j + 1), at(i, j + 1)});
            }
    }
    return spec;
}

const char* LargestUniform()
{
    static const char* largest = [] {
        ScopedScriptedServices scripted;
        const char* best = "3.3.3.3.3";
        int most = 0;
        for (const LibraryEntry& row : GetLibraryTable())
        {
            if (row.mCategory < LibraryEntry::kCategoryPlatonic || row.mCategory > LibraryEntry::kCategoryPrisms ||
                !row.mSymbol || std::strchr(row.mSymbol, '<') || row.mNumFaces <= most)
                continue;
            PolyTemplate templ;
            Poly poly;
            if (templ.Parse(row.mSymbol, false) && poly.PrepareFromTemplate(&templ, 0) &&
                poly.mFaces.mCount == row.mNumFaces)
            {
                best = row.mSymbol;
                most = row.mNumFaces;
            }
        }
        return best;
    }();
    return largest;
}


ViewBenchScene::ViewBenchScene() = default;

ViewBenchScene::~ViewBenchScene()
{
    if (frame)
    {
        frame->Destroy();
        PumpViewBench(5);
    }
}

std::unique_ptr<ViewBenchScene> MakeViewBenchScene(const char* title, int width, int height,
                                                   const std::function<bool(Poly&)>& build)
{
    auto scene = std::make_unique<ViewBenchScene>();
    scene->document = std::make_unique<CPolyDoc>();
    Poly& poly = scene->document->GetCurrentRecord()->mPoly;
    if (!build(poly))
        return nullptr;
    poly.UpdateFaceDiagramColors();
    scene->frame = new wxFrame(nullptr, wxID_ANY, title, wxDefaultPosition, wxSize(width, height));
    auto* sizer = new wxBoxSizer(wxHORIZONTAL);
    scene->pane = new CPolyView(scene->frame);
    sizer->Add(scene->pane, 1, wxEXPAND);
    scene->frame->SetSizer(sizer);
    scene->frame->Show();
    PumpViewBench(40);
    scene->pane->RequestFit(1);
    scene->pane->OnDraw();
    return scene;
}
