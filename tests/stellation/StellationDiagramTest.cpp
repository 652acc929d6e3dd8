#include "DiagramChecks.h"

#include "stellation/DiagramFacets.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace
{
struct ModelCase
{
    const char* name;
    const char* config;
    bool dual;  // the vertex side: the dual's face stellation
};

const ModelCase kModels[] = {
    {"tetrahedron", "3.3.3", false},
    {"cube", "4.4.4", false},
    {"octahedron", "3.3.3.3", false},
    {"dodecahedron", "5.5.5", false},
    {"icosahedron", "3.3.3.3.3", false},
    {"truncated tetrahedron", "3.6.6", false},
    {"cuboctahedron", "3.4.3.4", false},
    {"truncated cube", "3.8.8", false},
    {"truncated octahedron", "4.6.6", false},
    {"rhombicuboctahedron", "3.4.4.4", false},
    {"truncated cuboctahedron", "4.6.8", false},
    {"snub cube", "3.3.3.3.4", false},
    {"icosidodecahedron", "3.5.3.5", false},
    {"truncated dodecahedron", "3.10.10", false},
    {"truncated icosahedron", "5.6.6", false},
    {"rhombicosidodecahedron", "3.4.5.4", false},
    {"truncated icosidodecahedron", "4.6.10", false},
    {"snub dodecahedron", "3.3.3.3.5", false},
    {"rhombic triacontahedron", "3.5.3.5", true},
    {"small stellated dodecahedron", "5/2.5/2.5/2.5/2.5/2", false},
    {"great icosahedron", "(3.3.3.3.3)/2", false},
    {"tetrahemihexahedron", "3.4.3/2.4", false},
    {"octahemioctahedron", "3.6.3/2.6", false},
    {"cubohemioctahedron", "4.6.4/3.6", false},
};
}  // namespace

TEST(StellationDiagram, Survey)
{
    for (const ModelCase& c : kModels)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = BuildModel(c.config);
        ASSERT_NE(model, nullptr);
        Stellation* st = c.dual ? model->poly.GetVertStellation() : model->poly.GetFaceStellation();
        const bool ok = BuildDiagrams(st);
        std::printf("%s: %s\n", c.name, ok ? "ok" : "FAILED");
        for (FaceType* t : PlaneTypes(st))
        {
            int facets = 0;
            for (StellationFacet* f = t->mFacets; f; f = f->next)
                ++facets;
            std::printf("  type %d: n=%d lines=%d regions=%d facets=%d flags=%x\n", t->mIndex, t->mNumRotations,
                        t->GetNumLines(), t->mNumRegions, facets, t->mFlags);
        }
        EXPECT_TRUE(ok) << InternalErrors(scripted.services);
        if (!ok)
            continue;
        for (FaceType* t : PlaneTypes(st))
        {
            SCOPED_TRACE("type " + std::to_string(t->mIndex));
            const DiagramCounts counts = CheckPlanarSubdivision(t);
            EXPECT_EQ(counts.verts - counts.segments + counts.regions, 1);
            CheckFacets(t);
            CheckLinks(t);
        }
        CheckCoincidenceRings(st, *model->poly.mGroup);
        EXPECT_EQ(InternalErrors(scripted.services), "");
    }
}
