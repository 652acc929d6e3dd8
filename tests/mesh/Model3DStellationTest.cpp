// Meshes traced out of the stellation diagrams: the stellations of the dodecahedron and the
// icosahedron against their published counts, and the two roads to the mesh of the cube.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "stellation/FaceType.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace
{
class Model3DStellationTest : public LibraryStateTest
{
};

// Includes exactly the cells of layers 0 up to last; -1 leaves the stellation as built.
void IncludeLayers(Stellation* st, int last)
{
    if (last < 0)
        return;
    for (StellationCell* cell = st->mFirstCell; cell; cell = cell->next)
        StellationCell::SetIncluded(cell, cell->mLayer && cell->mLayer->mNumber <= last);
}

std::string InternalErrors(const ScriptedServices& services)
{
    std::string text;
    for (const ScriptedServices::Call& call : services.calls)
        if (call.caption == "Internal Error")
            text += call.text + "\n";
    return text;
}
}  // namespace

TEST_F(Model3DStellationTest, StellationsMeshWithTheirPublishedCounts)
{
    struct Case
    {
        const char* name;
        const char* model;
        int lastLayer;
        int verts, edges, faces;
        int runs;  // vertex orbits
    };
    const Case kCases[] = {
        // A pentagonal pyramid on each face: the 12 tips and the dodecahedron's 20 corners.
        {"small stellated dodecahedron", "Dodecahedron", 1, 32, 90, 60, 2},
        // A triangular spike on each face of a hidden icosahedron: 20 tips and 12 corners.
        {"great stellated dodecahedron", "Dodecahedron", 3, 32, 90, 60, 2},
        {"stella octangula", "Octahedron", 1, 14, 36, 24, 2},
        // The complete stellation: a surface of 180 triangles on 12 + 20 + 60 vertices, a third of
        // them from a pair of mirror-image facets.
        {"echidnahedron", "Icosahedron", 99, 92, 270, 180, 3},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        ScopedScriptedServices scripted;
        auto model = OpenRow(*FindLibraryEntry(c.model, nullptr, false));
        ASSERT_TRUE(model);
        Stellation* st = model->poly.GetFaceStellation();
        model->poly.CreateStellation(st, kStellationBuilt);
        ASSERT_TRUE(st->IsBuilt());
        IncludeLayers(st, c.lastLayer);
        ASSERT_FALSE(st->IsOriginal());
        Model3D* mesh = st->GetModel3D(false);
        ASSERT_TRUE(mesh);
        EXPECT_EQ(mesh->mNumVerts, c.verts);
        EXPECT_EQ(mesh->GetNumEdges(), c.edges);
        EXPECT_EQ(mesh->GetNumFaces(), c.faces);
        EXPECT_EQ(mesh->mNumVertTypes, c.runs);
        EXPECT_EQ(mesh->mNumVerts - mesh->GetNumEdges() + mesh->GetNumFaces(), 2);
        int missing = 0, canonical = 0;
        ForEachEdge(*mesh, [&](Edge3D& e) {
            missing += !e.mNeigh || !e.mVert || e.mNeigh->mNeigh != &e;
            canonical += (e.mFlags & kEdge3DCanonical) != 0;
        });
        EXPECT_EQ(missing, 0);
        EXPECT_EQ(canonical, c.edges);
        EXPECT_TRUE(mesh->mFlags & kModel3DRegionsLinked);
        EXPECT_EQ(InternalErrors(scripted.services), "");
        // Converted back it is named after its base, and encloses the cells it is made of.
        std::unique_ptr<SimplePoly> plain = mesh->CreateSimplePoly(kMeshConvertNoHolesWarning, nullptr);
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->mNumVerts, c.verts);
        EXPECT_GT(Volume(*plain), Volume(model->poly, false));
        EXPECT_EQ(plain->mName, std::string("Stellated ") + c.model);
    }
}

TEST_F(Model3DStellationTest, TheCubesFacesAndItsTracedStellationGiveOneMesh)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    Stellation* st = model->poly.GetFaceStellation();
    ASSERT_TRUE(st->UsesFaceMesh());
    Model3D* fromFaces = st->GetModel3D(false);
    ASSERT_TRUE(fromFaces);
    EXPECT_TRUE(fromFaces->mFaceTypes->mFaces[0].mFlags & kFace3DWholeFace);
    const int v = fromFaces->mNumVerts, e = fromFaces->GetNumEdges(), f = fromFaces->GetNumFaces();
    const int runs = fromFaces->mNumVertTypes;
    EXPECT_EQ(v, 8);
    EXPECT_EQ(e, 12);
    EXPECT_EQ(f, 6);
    EXPECT_EQ(runs, 1);
    st->DropModel3D();

    // The same cube traced from its stellation, which is built for it.
    model->poly.mFlags &= ~(Poly::kConvex | Poly::kRadiallyConvex | Poly::kNonSelfIntersecting);
    Model3D* traced = st->GetModel3D(false);
    ASSERT_TRUE(traced);
    EXPECT_TRUE(st->IsBuilt());
    EXPECT_FALSE(traced->mFaceTypes->mFaces[0].mFlags & kFace3DWholeFace);
    EXPECT_EQ(traced->mNumVerts, v);
    EXPECT_EQ(traced->GetNumEdges(), e);
    EXPECT_EQ(traced->GetNumFaces(), f);
    EXPECT_EQ(traced->mNumVertTypes, runs);
    ForEachEdge(*traced, [&](Edge3D& edge) {
        ASSERT_TRUE(edge.mNeigh);
        EXPECT_NEAR(edge.mDihedral, kPi / 2, 1e-9);
    });
    EXPECT_EQ(InternalErrors(scripted.services), "");
}

TEST_F(Model3DStellationTest, SizesAreMeasuredOnTheMesh)
{
    ScopedScriptedServices scripted;
    auto cube = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(cube);
    Stellation* side = cube->poly.GetFaceStellation();
    // The library's cube has radius 1: a face's corners lie sqrt(2/3) from its centre.
    EXPECT_NEAR(side->GetRadius(), 1.0, 1e-12);
    EXPECT_NEAR(FaceType::GetRadius(side->mFirstFaceType), std::sqrt(2.0 / 3.0), 1e-12);
    EXPECT_EQ(FaceType::GetRadius(nullptr), 1.0);

    // The dodecahedron's face plane, then the pentagram round it: its points lie phi squared times
    // as far from the centre as the pentagon's corners.
    auto model = OpenRow(*FindLibraryEntry("Dodecahedron", nullptr, false));
    ASSERT_TRUE(model);
    Stellation* st = model->poly.GetFaceStellation();
    const double pentagon = FaceType::GetRadius(st->mFirstFaceType);
    const double corners = st->GetRadius();
    EXPECT_NEAR(corners, 1.0, 1e-12);
    model->poly.CreateStellation(st, kStellationBuilt);
    ASSERT_TRUE(st->IsBuilt());
    IncludeLayers(st, 1);
    const double phi = (1.0 + std::sqrt(5.0)) / 2.0;
    EXPECT_NEAR(FaceType::GetRadius(st->mFirstFaceType), pentagon * phi * phi, 1e-9);
    EXPECT_GT(st->GetRadius(), corners);
    EXPECT_EQ(InternalErrors(scripted.services), "");
}
