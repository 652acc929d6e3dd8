// The mesh records: vertex runs and their back-offsets, edge look-ups and names, user facets,
// edges shared by more than two facelets, the centre vertex, and the edge-class iterator.

#include "MeshFixtures.h"

#include "kernel/Polygon3D.h"
#include "kernel/RingVert.h"
#include "kernel/ScriptedServices.h"
#include "mesh/Edge3DType.h"
#include "model/SymGroup.h"
#include "support/PolyBuilder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

TEST(Model3DRecords, ARunOfAHundredStepsBackToItsStartThroughOffsetsThatRestartAfter62)
{
    Model3D model(nullptr, nullptr);
    ASSERT_TRUE(model.AllocateVerts(100));
    // Distinct points in no particular order.
    for (int i = 0; i < 100; ++i)
        model.mVerts[size_t(i)].mPos = Vec3D{double((i * 37) % 100), double(i % 7), 1e-9 * i};
    FinishVertexRun(model.mVerts.get(), 100);

    for (int i = 0; i < 100; ++i)
    {
        SCOPED_TRACE(i);
        const Vert3D& v = model.mVerts[size_t(i)];
        const uint32_t offset = v.mFlags & kVert3DRunOffsetMask;
        EXPECT_EQ(offset, i == 0 ? 0u : uint32_t((i - 1) % 62 + 1));
        EXPECT_EQ((v.mFlags & kVert3DRunStart) != 0, i == 0);
        EXPECT_EQ(v.GetRunStart(), &model.mVerts[0]);
        // Sorted, and components near zero are exactly zero.
        EXPECT_EQ(v.mPos.z, 0.0);
        if (i > 0)
        {
            EXPECT_LT(Vert3D::Compare(model.mVerts[size_t(i - 1)], v), 0);
        }
    }
    EXPECT_EQ(model.mVerts[63].mFlags & kVert3DRunOffsetMask, 1u);
    EXPECT_EQ(model.mVerts[62].mFlags & kVert3DRunOffsetMask, 62u);
    EXPECT_TRUE(Vert3D::IsSameType(&model.mVerts[99], &model.mVerts[1]));
    EXPECT_FALSE(Vert3D::IsSameType(&model.mVerts[99], nullptr));
    EXPECT_EQ(Vert3D::GetNextType(&model.mVerts[5], &model), nullptr);
    EXPECT_EQ(Vert3D::GetIndex(&model.mVerts[42], &model), 42);
    EXPECT_EQ(Vert3D::GetIndex(nullptr, &model), -1);
}

TEST(Model3DRecords, TwoVerticesInOnePlaceAreReported)
{
    ScopedScriptedServices scripted;
    Vert3D a, b;
    a.mPos = b.mPos = Vec3D{1, 2, 3};
    EXPECT_EQ(Vert3D::Compare(a, b), 0);
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_TRUE(call);
    EXPECT_EQ(call->text, "Vert3D::Compare() - Vertices equal");
}

TEST(Model3DRecords, EdgesAreFoundAndNamedByTheirPlaces)
{
    Model3D model(nullptr, nullptr);
    BuildMesh(model, Cube(1.0), kCubeFaces);
    model.ConnectEdges();
    EXPECT_EQ(model.GetNumEdgeSlots(), 24);
    EXPECT_EQ(model.GetNumEdges(), 12);
    EXPECT_EQ(model.GetEdge(24), nullptr);
    EXPECT_EQ(model.GetEdge(-1), nullptr);
    Edge3D* e = model.GetEdge(4 * 3 + 2);
    ASSERT_TRUE(e);
    EXPECT_EQ(e, &model.GetFace(3)->mEdges[2]);
    EXPECT_EQ(Edge3D::GetRunningIndex(e), 14);
    EXPECT_EQ(Edge3D::GetLoopNumber(e), 3);
    EXPECT_STREQ(Edge3D::GetName(e), "3-2");
    EXPECT_STREQ(Edge3D::GetTypeName(e), "3-2");
    EXPECT_STREQ(Edge3D::GetName(nullptr), "NULL");
    EXPECT_STREQ(Edge3D::GetTypeName(nullptr), "NULL");
    EXPECT_EQ(Edge3D::GetRunningIndex(nullptr), -1);
    EXPECT_TRUE(Edge3D::IsSameTypeEdge(e, e));
    EXPECT_FALSE(Edge3D::IsSameTypeEdge(e, e->mNeigh));
    EXPECT_FALSE(model.HasHoles());
    EXPECT_DOUBLE_EQ(model.GetRadius(), std::sqrt(3.0));
}

TEST(Model3DRecords, AUserFacetTakesTheNormalOfItsFirstTrueCorner)
{
    // The last corner, the first and the second lie on one line.
    const std::vector<Vec3D> corners = {{0, 0, 1}, {1, 0, 1}, {2, 1, 1}, {0, 2, 1}, {-1, 0, 1}};
    Model3D model(nullptr, nullptr);
    ASSERT_TRUE(model.AllocateVerts(int(corners.size())));
    for (size_t i = 0; i < corners.size(); ++i)
        model.mVerts[i].mPos = corners[i];

    Polygon3D* first = nullptr;
    Polygon3D* last = nullptr;
    auto* polygon = new Polygon3D(first, last);
    for (const Vec3D& p : corners)
        AddRingVert(p.x, p.y, nullptr, &p, polygon->mRing);
    ASSERT_GT(polygon->Prepare(), 0);
    model.AddUserFacet(polygon);
    model.AddUserFacet(nullptr);
    ASSERT_TRUE(model.mExtraFaceTypes);
    const Face3DType& type = *model.mExtraFaceTypes;
    EXPECT_TRUE(type.mFlags & kFace3DTypeUserFacet);
    EXPECT_EQ(type.mNumSides, 5);
    EXPECT_EQ(type.mTriIndices.size(), 9u);
    const Face3D& face = type.mFaces[0];
    EXPECT_EQ(face.mElement, nullptr);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(face.mEdges[size_t(i)].mVert) << i;
    const Vec3D n = face.GetNormal();
    EXPECT_NEAR(std::fabs(n.z), 1.0, 1e-12);
    EXPECT_NEAR(n.x, 0.0, 1e-12);
    EXPECT_NEAR(n.y, 0.0, 1e-12);
    // The polygon keeps its rings; user facets stay out of the model's own counts.
    EXPECT_TRUE(polygon->mRings);
    EXPECT_EQ(model.GetNumFaces(), 0);

    // A polygon without rings is emptied and ignored.
    auto* empty = new Polygon3D(first, last);
    model.AddUserFacet(empty);
    EXPECT_EQ(model.mExtraFaceTypes->mNext, nullptr);
    model.RemoveUserFacet(3);
    EXPECT_TRUE(model.mExtraFaceTypes);
    model.RemoveUserFacet(0);
    EXPECT_EQ(model.mExtraFaceTypes, nullptr);
    EXPECT_EQ(model.mLastExtraFaceType, nullptr);
    FreePolygon3DList(first);
}

TEST(Model3DRecords, AtAnEdgeOfTwoCubesTheNeighbourIsAtTheLargestAngle)
{
    // Cube A fills [0,1]^3, cube B [1,2] x [1,2] x [0,1]: they share the edge x = y = 1.
    std::vector<Vec3D> points = Cube(1.0);
    for (int i = 0; i < 8; ++i)
        if (i != 0 && i != 4)
            points.push_back(Vec3D{1.0 + ((i & 1) ? 1.0 : 0.0), 1.0 + ((i & 2) ? 1.0 : 0.0), (i & 4) ? 1.0 : 0.0});
    // B's corners in cube numbering: 0 -> A's 3, 4 -> A's 7, the others appended in order.
    const int b[8] = {3, 8, 9, 10, 7, 11, 12, 13};
    std::vector<std::vector<int>> faces = kCubeFaces;
    for (const std::vector<int>& f : kCubeFaces)
        faces.push_back({b[f[0]], b[f[1]], b[f[2]], b[f[3]]});
    Model3D model(nullptr, nullptr);
    BuildMesh(model, points, faces);
    model.ConnectEdges();

    // The facelets of the shared edge: A's faces x = 1 (5) and y = 1 (3), B's x = 1 (10) and y = 1 (8).
    auto sharedEdge = [&](int face) -> Edge3D* {
        Face3D* f = model.GetFace(face);
        for (int e = 0; e < 4; ++e)
        {
            const Vec3D& p = f->mEdges[size_t(e)].mVert->mPos;
            const Vec3D& q = f->mEdges[size_t(e)].GetEndVert()->mPos;
            if (p.x == 1.0 && p.y == 1.0 && q.x == 1.0 && q.y == 1.0)
                return &f->mEdges[size_t(e)];
        }
        return nullptr;
    };
    Edge3D* aX = sharedEdge(5);
    Edge3D* aY = sharedEdge(3);
    Edge3D* bX = sharedEdge(10);
    Edge3D* bY = sharedEdge(8);
    ASSERT_TRUE(aX && aY && bX && bY);
    // From A's face x = 1, round through A: A's face y = 1 at a quarter turn, B's face y = 1 at
    // three quarters.
    EXPECT_EQ(aX->mNeigh, bY);
    EXPECT_NEAR(aX->mDihedral, 1.5 * kPi, 1e-12);
    EXPECT_EQ(aX->mCoincEdge, aY);
    EXPECT_NEAR(aX->mCoincAngle, 0.5 * kPi, 1e-12);
    int canonical = 0;
    for (Edge3D* e : {aX, aY, bX, bY})
    {
        EXPECT_TRUE(e->mNeigh);
        EXPECT_TRUE(e->mCoincEdge);
        canonical += (e->mFlags & kEdge3DCanonical) != 0;
    }
    EXPECT_EQ(canonical, 1);
    // Elsewhere two facelets meet and point at each other.
    int paired = 0;
    ForEachEdge(model, [&](Edge3D& e) { paired += e.mNeigh && e.mNeigh->mNeigh == &e && !e.mCoincEdge; });
    EXPECT_EQ(paired, 48 - 4);
}

TEST(Model3DRecords, AVertexAtTheCentreIsARunOfItsOwn)
{
    ScopedScriptedServices scripted;
    // A square pyramid whose apex is the centre.
    auto source = MakeFacedPoly({{0, 0, 0}, {1, 1, -1}, {-1, 1, -1}, {-1, -1, -1}, {1, -1, -1}},
                                {{0, 2, 1}, {0, 3, 2}, {0, 4, 3}, {0, 1, 4}, {1, 2, 3, 4}});
    source->mFlags |= SimplePoly::kKeepCentre;
    auto poly = PolyFrom(source.get());
    ASSERT_TRUE(poly);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
    ASSERT_EQ(mesh->mNumVerts, 5);
    int centres = 0;
    for (const auto& [start, size] : VertexRuns(*mesh))
    {
        const Vert3D& v = mesh->mVerts[size_t(start)];
        if (!(v.mFlags & kVert3DCentre))
            continue;
        ++centres;
        EXPECT_EQ(size, 1);
        EXPECT_EQ(v.mPos.x, 0.0);
        EXPECT_EQ(v.mPos.y, 0.0);
        EXPECT_EQ(v.mPos.z, 0.0);
    }
    EXPECT_EQ(centres, 1);
}

TEST(Model3DRecords, EdgeClassesOfACubeAreItsTwelveEdgesOnce)
{
    ScopedScriptedServices scripted;
    auto poly = PolyFrom(MakeFacedPoly(CubeSpec().verts, CubeSpec().faces).get());
    ASSERT_TRUE(poly);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(poly.get(), false);
    ASSERT_EQ(mesh->GetNumFaceTypes(), 1);
    Face3DType* type = mesh->mFaceTypes;
    EXPECT_EQ(type->GetNumRots(), 4);
    Edge3DType classes;
    ASSERT_TRUE(classes.Init(type));
    // One class: every edge slot of the six squares, each once.
    int numClasses = 0;
    std::set<const Edge3D*> members;
    do
    {
        ++numClasses;
        for (Edge3D* e = classes.NextMember(nullptr); e; e = classes.NextMember(e))
            EXPECT_TRUE(members.insert(e).second);
    } while (classes.NextClass());
    EXPECT_EQ(numClasses, 1);
    EXPECT_EQ(members.size(), 24u);

    Edge3DType fromEdge;
    ASSERT_TRUE(fromEdge.Init(&type->mFaces[3].mEdges[2]));
    EXPECT_EQ(fromEdge.GetEdgeIndex(), 0);
    EXPECT_EQ(fromEdge.mStep, 1);
}
