// Growing polychora from their vertex figures: the 120-cell (600 vertices) from the tetrahedron with
// pentagons, and the omnitruncated 120-cell (14,400 vertices, the most the growth allows) from the
// irregular tetrahedron of its six polygons; then completing each again from its vertices and faces
// alone, with the cells to be found.
#include "kernel/ScriptedServices.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/ParametricSolids.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/VertexFigurePolychoron.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

namespace
{
struct Figure
{
    std::unique_ptr<Poly> poly;
    const char* hint;
};

Figure MakeFigure(int which)
{
    Figure f;
    f.poly = std::make_unique<Poly>();
    if (which == 0)
    {
        // The regular tetrahedron with pentagons round each edge.
        const int num[6] = {5, 5, 5, 5, 5, 5};
        const int den[6] = {1, 1, 1, 1, 1, 1};
        std::unique_ptr<SimplePoly> tet = CreateIrregularTetFromRatios(num, den);
        CreatePoly(tet.get(), f.poly.get(), true, false);
        f.hint = "(5;1)";
    }
    else
    {
        const int num[6] = {4, 6, 10, 4, 4, 6};
        const int den[6] = {1, 1, 1, 1, 1, 1};
        std::unique_ptr<SimplePoly> tet = CreateIrregularTetFromRatios(num, den);
        CreatePoly(tet.get(), f.poly.get(), true, false);
        f.hint = "(4;1)";
    }
    return f;
}

void BM_PolychoronFromVertexFigure(benchmark::State& state)
{
    ScopedScriptedServices scripted;
    Figure figure = MakeFigure(int(state.range(0)));
    for (auto _ : state)
    {
        std::unique_ptr<Polytope4D> p =
            CreatePolychoronFromVertexFigure(figure.poly.get(), figure.hint, kPolychoronUseNameHint);
        benchmark::DoNotOptimize(p.get());
        if (p)
        {
            state.counters["verts"] = p->mNumVerts;
            state.counters["edges"] = p->mNumEdges;
            state.counters["faces"] = p->mNumFaces;
            state.counters["cells"] = p->mNumCells;
        }
    }
    // A growth that stopped early says why.
    std::string said;
    for (const ScriptedServices::Call& call : scripted.services.calls)
    {
        if (call.kind == "MessageBox")
            said += (said.empty() ? "" : " / ") + call.text;
    }
    state.SetLabel(said);
}
BENCHMARK(BM_PolychoronFromVertexFigure)->ArgName("omnitruncated")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The completion from the grown polytope's vertices and faces, its cells dropped.
void BM_FinishGrownPolychoron(benchmark::State& state)
{
    ScopedScriptedServices scripted;
    Figure figure = MakeFigure(int(state.range(0)));
    std::unique_ptr<Polytope4D> grown =
        CreatePolychoronFromVertexFigure(figure.poly.get(), figure.hint, kPolychoronUseNameHint);
    if (!grown)
    {
        state.SkipWithError("the polychoron did not grow");
        return;
    }
    std::vector<Vec4D> verts;
    std::vector<std::vector<int>> faces;
    grown->EnsureIndices(Element4D::kVertKind);
    for (Element4D* e = grown->mFirstVert; e; e = e->next)
        verts.push_back(Element4D::AsVert(e)->mPos);
    for (Element4D* e = grown->mFirstFace; e; e = e->next)
    {
        const Face4D* face = Element4D::AsFace(e);
        std::vector<int>& corners = faces.emplace_back();
        for (int k = 0; k < face->mNumSides; ++k)
            corners.push_back(Vert4D::GetIndex(face->mVerts[size_t(k)]));
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        auto p = std::make_unique<Polytope4D>();
        std::vector<Vert4D*> made;
        for (const Vec4D& v : verts)
            made.push_back(p->NewVert(&v));
        for (const std::vector<int>& corners : faces)
        {
            Face4D* face = p->NewFace(int(corners.size()));
            for (size_t k = 0; k < corners.size(); ++k)
                face->SetVert(int(k), made[size_t(corners[k])]);
        }
        state.ResumeTiming();
        benchmark::DoNotOptimize(p->FinishPolytope());
        state.counters["cells"] = p->mNumCells;
        state.PauseTiming();
        p.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_FinishGrownPolychoron)->ArgName("omnitruncated")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
}  // namespace
