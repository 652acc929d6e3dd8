// A mesh back as a plain model: counts, volume, vertices split where separate fans meet, holes,
// names, triangles and the edge list.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UserServices.h"
#include "library/LibraryLookup.h"
#include "operations/VertexPair.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
class Model3DConvertTest : public LibraryStateTest
{
};

const char kHolesQuestion[] = "Warning: this model has holes in some faces,\nwhich isn't allowed for base models, so "
                              "holes\nwill be turned into additional coplanar faces.";

// A unit square at z = 0 with a square hole: one facelet type of two loops.
void BuildSquareWithHole(Model3D& model)
{
    const Vec3D points[8] = {{0, 0, 0}, {3, 0, 0}, {3, 3, 0}, {0, 3, 0}, {1, 1, 0}, {1, 2, 0}, {2, 2, 0}, {2, 1, 0}};
    ASSERT_TRUE(model.AllocateVerts(8));
    for (int i = 0; i < 8; ++i)
    {
        model.mVerts[size_t(i)].mPos = points[i];
        model.mVerts[size_t(i)].mFlags = kVert3DRunStart;
    }
    model.mNumVertTypes = 8;
    const int32_t loops[] = {4, 4};
    Face3DType* type = model.AppendFaceType(std::make_unique<Face3DType>(&model, 1, loops), false);
    for (int i = 0; i < 8; ++i)
    {
        Edge3D& e = type->mFaces[0].mEdges[size_t(i)];
        e.mVert = &model.mVerts[size_t(i)];
        e.mFacePos = Vec2D{points[i].x, points[i].y};
        e.mVert->AddEdge(&e);
    }
}
}  // namespace

TEST_F(Model3DConvertTest, ConvertingBackKeepsTheCountsAndTheVolume)
{
    ScopedScriptedServices scripted;
    for (const char* name : {"Cube", "Icosahedron", "Truncated Icosahedron", "Snub Cube", "Square Pyramid"})
    {
        SCOPED_TRACE(name);
        LibraryEntry* row = FindLibraryEntry(name, nullptr, false);
        ASSERT_TRUE(row);
        auto model = OpenRow(*row);
        ASSERT_TRUE(model);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        VertexPair* edges = nullptr;
        std::unique_ptr<SimplePoly> plain = mesh->CreateSimplePoly(0, &edges);
        ASSERT_TRUE(plain);
        EXPECT_EQ(plain->mNumVerts, model->poly.mVerts.mCount);
        EXPECT_EQ(plain->mNumFaces, model->poly.mFaces.mCount);
        EXPECT_EQ(CountVertexPairs(edges), model->poly.mNumEdges);
        FreeVertexPairs(edges);
        const double volume = Volume(model->poly, false);
        EXPECT_GT(volume, 0.0);
        EXPECT_NEAR(Volume(*plain), volume, 1e-9);
        EXPECT_TRUE(plain->mFlags & SimplePoly::kSortedFaceLists);
        // Every vertex lists the faces round it, each face holding it.
        for (int v = 0; v < plain->mNumVerts; ++v)
        {
            const SimpleVert& vert = plain->mVerts[v];
            EXPECT_GE(vert.mNum, 3);
            for (int k = 0; k < vert.mNum; ++k)
                EXPECT_GE(vert.mList[k]->IndexInList(&vert, -1), 0);
        }
        EXPECT_EQ(plain->mName, row->mName);

        // Triangles: n - 2 a face, on the same vertices.
        std::unique_ptr<SimplePoly> triangles = mesh->CreateSimplePoly(kMeshConvertTriangulateAll, nullptr);
        ASSERT_TRUE(triangles);
        int expected = 0;
        for (const FaceVert* f = model->poly.mFaces.mFirst; f; f = f->mNext)
            expected += f->mNumSides - 2;
        EXPECT_EQ(triangles->mNumFaces, expected);
        EXPECT_EQ(triangles->mNumVerts, model->poly.mVerts.mCount);
        EXPECT_NEAR(Volume(*triangles), volume, 1e-9);
    }
}

TEST_F(Model3DConvertTest, TwoCubesTouchingAtACornerGetAVertexEach)
{
    ScopedScriptedServices scripted;
    // The second cube fills [1,2]^3 and shares the corner (1,1,1) with the first.
    std::vector<Vec3D> points = Cube(1.0);
    int b[8];
    for (int i = 0; i < 8; ++i)
    {
        if (i == 0)
        {
            b[i] = 7;
            continue;
        }
        b[i] = int(points.size());
        points.push_back(Vec3D{1.0 + ((i & 1) ? 1.0 : 0.0), 1.0 + ((i & 2) ? 1.0 : 0.0), 1.0 + ((i & 4) ? 1.0 : 0.0)});
    }
    std::vector<std::vector<int>> faces = kCubeFaces;
    for (const std::vector<int>& f : kCubeFaces)
        faces.push_back({b[f[0]], b[f[1]], b[f[2]], b[f[3]]});
    Model3D model(nullptr, nullptr);
    BuildMesh(model, points, faces);
    model.ConnectEdges();
    EXPECT_EQ(model.mNumVerts, 15);

    std::unique_ptr<SimplePoly> plain = model.CreateSimplePoly(0, nullptr);
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->mNumVerts, 16);
    EXPECT_EQ(plain->mNumFaces, 12);
    // Two vertices at the shared corner, each with the three faces of its own cube.
    int atCorner = 0;
    for (int v = 0; v < plain->mNumVerts; ++v)
    {
        const SimpleVert& vert = plain->mVerts[v];
        if (!Vec3Equal(vert.mPos, Vec3D{1, 1, 1}, 1e-12))
            continue;
        ++atCorner;
        EXPECT_EQ(vert.mNum, 3);
        for (int k = 0; k < vert.mNum; ++k)
            EXPECT_GE(vert.mList[k]->IndexInList(&vert, -1), 0);
    }
    EXPECT_EQ(atCorner, 2);
    // Every face still has four distinct corners.
    for (int f = 0; f < plain->mNumFaces; ++f)
        EXPECT_EQ(plain->mFaces[f].mNum, 4);
}

TEST_F(Model3DConvertTest, HolesAreAskedAboutUnlessToldNotTo)
{
    Model3D model(nullptr, nullptr);
    BuildSquareWithHole(model);
    EXPECT_TRUE(model.HasHoles());
    {
        ScopedScriptedServices scripted;
        scripted.services.PushAnswer(kIdCancel);
        EXPECT_EQ(model.CreateSimplePoly(0, nullptr), nullptr);
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        ASSERT_TRUE(call);
        EXPECT_EQ(call->text, kHolesQuestion);
    }
    {
        ScopedScriptedServices scripted;
        scripted.services.PushAnswer(kIdOk);
        std::unique_ptr<SimplePoly> plain = model.CreateSimplePoly(0, nullptr);
        ASSERT_TRUE(plain);
        // The outline and the hole, each a face of the plane.
        EXPECT_EQ(plain->mNumFaces, 2);
        EXPECT_EQ(plain->mFaces[0].mNum, 4);
        EXPECT_EQ(plain->mFaces[1].mNum, 4);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    }
    {
        ScopedScriptedServices scripted;
        EXPECT_TRUE(model.CreateSimplePoly(kMeshConvertNoHolesWarning, nullptr));
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), 0);
    }
}

TEST_F(Model3DConvertTest, AStellatedModelIsNamedAfterItsBase)
{
    ScopedScriptedServices scripted;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(model);
    model->poly.SetBaseName("Cube");
    model->poly.SetDualName("Octahedron");
    Stellation* side = model->poly.GetFaceStellation();
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
    std::unique_ptr<SimplePoly> plain = mesh->CreateSimplePoly(0, nullptr);
    EXPECT_EQ(plain->mName, "Cube");
    EXPECT_EQ(plain->mDualName, "Octahedron");

    // A stellation that differs from the original polyhedron.
    side->mState = kStellationBuilt;
    side->mNumChangedCells = 1;
    plain = mesh->CreateSimplePoly(0, nullptr);
    EXPECT_EQ(plain->mName, "Stellated Cube");
    EXPECT_EQ(plain->mDualName, "Faceted Octahedron");
    side->mState = kStellationNotBuilt;
    side->mNumChangedCells = 0;
}

TEST_F(Model3DConvertTest, AnEmptyMeshConvertsToNothing)
{
    Model3D model(nullptr, nullptr);
    VertexPair* edges = reinterpret_cast<VertexPair*>(&model);
    EXPECT_EQ(model.CreateSimplePoly(0, &edges), nullptr);
    EXPECT_EQ(edges, nullptr);
    EXPECT_EQ(model.CreateEdgeList(0, nullptr), nullptr);
}
