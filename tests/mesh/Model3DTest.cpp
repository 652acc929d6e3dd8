#include "MeshFixtures.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "stellation/ModelBuildSuspension.h"
#include "stellation/Stellation.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>


TEST(Model3D, EdgesWalkTheirOwnLoop)
{
    Model3D model(nullptr, nullptr);
    const int32_t loops[] = {4, 3};
    Face3DType* type = model.AppendFaceType(std::make_unique<Face3DType>(&model, 2, loops), false);
    ASSERT_EQ(type->mNumSides, 7);
    ASSERT_EQ(type->mNumLoops, 2);
    const Face3D& face = type->mFaces[1];
    Edge3D* e = face.mEdges.get();
    struct Step
    {
        int edge, next, prev;
    };
    const Step kSteps[] = {{0, 1, 3}, {3, 0, 2}, {4, 5, 6}, {6, 4, 5}};
    for (const Step& s : kSteps)
    {
        SCOPED_TRACE(s.edge);
        EXPECT_EQ(e[s.edge].GetIndexInFace(), s.edge);
        EXPECT_EQ(e[s.edge].GetNext(), &e[s.next]);
        EXPECT_EQ(e[s.edge].GetPrev(), &e[s.prev]);
    }
    // New records: facelets ring on their own, edges have no connection number.
    EXPECT_EQ(face.mNextOnElement, &face);
    EXPECT_EQ(e[2].mConnectionId, -1);
    EXPECT_EQ(e[2].mFace, &face);
    EXPECT_EQ(face.mType, type);
    EXPECT_EQ(Edge3D().GetNext(), nullptr);
}

TEST(Model3D, FaceletsAreNumberedAcrossTheirTypes)
{
    Model3D model(nullptr, nullptr);
    const int32_t tri = 3, quad = 4;
    Face3DType* a = model.AppendFaceType(std::make_unique<Face3DType>(&model, 2, std::span(&tri, 1)), false);
    Face3DType* b = model.AppendFaceType(std::make_unique<Face3DType>(&model, 3, std::span(&quad, 1)), false);
    Face3DType* user = model.AppendFaceType(std::make_unique<Face3DType>(&model, 1, std::span(&tri, 1)), true);

    EXPECT_EQ(model.GetNumFaceTypes(), 2);  // user facets are kept apart
    EXPECT_EQ(model.GetNumFaces(), 5);
    EXPECT_EQ(model.mExtraFaceTypes, user);
    EXPECT_TRUE(user->mFlags & kFace3DTypeUserFacet);
    EXPECT_EQ(Face3D::GetIndex(&a->mFaces[1]), 1);
    EXPECT_EQ(Face3D::GetIndex(&b->mFaces[0]), 2);
    EXPECT_EQ(Face3D::GetIndex(&b->mFaces[2]), 4);
    EXPECT_EQ(model.GetFace(4), &b->mFaces[2]);
    EXPECT_EQ(model.GetFace(5), nullptr);
    EXPECT_EQ(model.GetFace(-1), nullptr);
    EXPECT_EQ(Face3D::GetIndex(nullptr), -1);
    EXPECT_EQ(Face3D::GetIndex(&user->mFaces[0]), -2);  // not among the model's own facelets
    EXPECT_FALSE(Model3D::HasNets(nullptr));
    EXPECT_FALSE(Model3D::HasNets(&model));
}

TEST(Model3D, KitBuildsAnEqualEdgedCubeAndRemembersIt)
{
    Stellation side(nullptr, true);
    side.mKitReason = kKitReasonFaceAngle;  // left from an earlier mesh
    auto owned = std::make_unique<Model3D>(nullptr, &side);
    Model3D* model = owned.get();
    side.SetModel3D(std::move(owned));
    BuildMesh(*model, Cube(2.0), kCubeFaces);
    EXPECT_TRUE(model->IsDual());

    EXPECT_TRUE(Model3D::IsKitBuildable(model));
    EXPECT_EQ(side.mKitReason, nullptr);
    EXPECT_DOUBLE_EQ(model->mMinEdgeLength, 2.0);
    EXPECT_DOUBLE_EQ(model->mMaxEdgeLength, 2.0);
    EXPECT_DOUBLE_EQ(model->GetMeanEdgeLength(), 2.0);
    EXPECT_EQ(model->mFlags & (kModel3DKitYes | kModel3DKitNo), kModel3DKitYes);

    // The answer is kept: moving a vertex changes nothing until the mesh is rebuilt.
    model->mVerts[0].mPos.x = -5.0;
    EXPECT_TRUE(Model3D::IsKitBuildable(model));
    EXPECT_FALSE(Model3D::IsKitBuildable(nullptr));

    // The stellation owns the mesh and drops it when freed.
    side.Free(false);
    EXPECT_EQ(side.PeekModel3D(), nullptr);
}

TEST(Model3D, KitNeedsEdgesEqualWithinTolerance)
{
    struct Case
    {
        const char* name;
        double stretch;
        bool buildable;
    };
    const Case kCases[] = {
        {"edges differ by 5e-8", 5e-8, true},
        {"edges differ by 2e-7", 2e-7, false},
        {"edges differ by 0.5", 0.5, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Stellation side(nullptr, false);
        Model3D model(nullptr, &side);
        BuildMesh(model, Cube(1.0, c.stretch), kCubeFaces);
        EXPECT_EQ(Model3D::IsKitBuildable(&model), c.buildable);
        EXPECT_EQ(side.mKitReason, c.buildable ? nullptr : kKitReasonEdgeLengths);
        EXPECT_NEAR(model.mMaxEdgeLength - model.mMinEdgeLength, c.stretch, 1e-12);
    }
}

TEST(Model3D, KitNeedsEdgesAtAVertexAtLeastTheKitAngleApart)
{
    // Two unit triangles at the origin whose first sides leave it at 30 degrees to each other.
    const double t = 3.141592653589793 / 6;
    const std::vector<Vec3D> narrow = {{0, 0, 0}, {1, 0, 0}, {0.5, 0, std::sqrt(0.75)},
                                       {std::cos(t), std::sin(t), 0}, {0.5 * std::cos(t), 0.5 * std::sin(t), -std::sqrt(0.75)}};
    Stellation side(nullptr, false);
    Model3D model(nullptr, &side);
    BuildMesh(model, narrow, {{0, 1, 2}, {0, 3, 4}});
    EXPECT_FALSE(Model3D::IsKitBuildable(&model));
    EXPECT_EQ(side.mKitReason, kKitReasonEdgeAngle);

    // The same side seen from two facelets is no angle at all; 60 degrees is enough.
    const std::vector<Vec3D> shared = {{0, 0, 0}, {1, 0, 0}, {0.5, std::sqrt(0.75), 0}, {0.5, -std::sqrt(0.75), 0}};
    Stellation other(nullptr, false);
    Model3D twice(nullptr, &other);
    BuildMesh(twice, shared, {{0, 1, 2}, {0, 1, 3}});
    EXPECT_TRUE(Model3D::IsKitBuildable(&twice));
    EXPECT_EQ(other.mKitReason, nullptr);
}

TEST(Model3D, KitCheckAnswersYesWithoutKeepingItWhileBuildingIsSuspended)
{
    Stellation side(nullptr, false);
    Model3D model(nullptr, &side);
    BuildMesh(model, Cube(1.0, 0.5), kCubeFaces);
    SetModelBuildSuspended(true);
    EXPECT_TRUE(Model3D::IsKitBuildable(&model));
    EXPECT_EQ(model.mFlags, 0u);
    EXPECT_EQ(model.mMaxEdgeLength, -1.0);
    SetModelBuildSuspended(false);
    EXPECT_FALSE(Model3D::IsKitBuildable(&model));
}

TEST(Model3D, AMeshWithoutEdgesHasNoLengths)
{
    Model3D model(nullptr, nullptr);
    model.CalcEdgeLengthRange();
    EXPECT_EQ(model.mMinEdgeLength, -1.0);
    EXPECT_EQ(model.mMaxEdgeLength, -1.0);
}
