#include "OperationTestModels.h"

#include "SolidPoints.h"
#include "kernel/UnitSettings.h"
#include "model/CreatePoly.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"

#include <algorithm>
#include <utility>

bool BuildAnalysedPoly(Poly& poly, const FacedSolid& solid)
{
    std::unique_ptr<SimplePoly> model = MakeModel(solid);
    return model && CreatePoly(model.get(), &poly, false, true);
}

FacedSolid NamedSolid(const char* name)
{
    static const std::vector<KnownSolid> solids = PlatonicAndArchimedeanSolids();
    return ConvexSolid(FindSolid(solids, name).points);
}

ModelCounts CountModel(const SimplePoly& model)
{
    ModelCounts counts;
    std::map<std::pair<int, int>, int> uses;
    for (int f = 0; f < model.mNumFaces; ++f)
    {
        const SimpleFace& face = model.mFaces[f];
        ++counts.faceSizes[face.mNum];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex();
            const int b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    }
    for (const auto& use : uses)
    {
        counts.closed = counts.closed && use.second == 2;
        counts.evenEdges = counts.evenEdges && use.second % 2 == 0;
    }
    counts.v = model.mNumVerts;
    counts.e = int(uses.size());
    counts.f = model.mNumFaces;
    return counts;
}

ScopedModelScale::ScopedModelScale() : mScale(GetUnitSettings().GetScale()) {}

ScopedModelScale::~ScopedModelScale()
{
    GetUnitSettings().SetScale(mScale, false);
}
