// Folding nets against the model: folded fully every corner lies on its vertex, flat every net is
// congruent to its layout, and the thrown-out pieces sit at their centres as the fold ratio says.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/FitPointSink.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Net.h"
#include "mesh/Vert3D.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace
{
constexpr int kNumUniformRows = 105;
constexpr int kFirstJohnson = 105;
constexpr int kLastJohnson = 196;
constexpr double kPlaceTol = 1e-9;

class NetFoldingTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        UnitSettings& units = GetUnitSettings();
        mMaxFaces = units.mMaxFacesPerNet;
        mMethod = units.mCoincEdgeMethod;
        mPages = units.mColorPagesMode;
        mFold = GetSceneParameters().foldRatio;
        units.mMaxFacesPerNet = 1000000;
        units.mCoincEdgeMethod = kCoincInternalSupport;
        units.mColorPagesMode = kMultiColorPages;
    }
    void TearDown() override
    {
        UnitSettings& units = GetUnitSettings();
        units.mMaxFacesPerNet = mMaxFaces;
        units.mCoincEdgeMethod = mMethod;
        units.mColorPagesMode = mPages;
        GetSceneParameters().foldRatio = mFold;
        LibraryStateTest::TearDown();
    }

    ScopedScriptedServices mScripted;

private:
    int mMaxFaces = 0, mMethod = 0, mPages = 0;
    double mFold = 0.25;
};

void Fold(Model3D& mesh, double ratio)
{
    GetSceneParameters().foldRatio = ratio;
    mesh.PlaceNetsFolded();
}

template <class Visit>
void ForEachNet(Model3D& mesh, Visit visit)
{
    for (NetType* t = mesh.mNetTypes; t; t = t->mNext)
        for (int i = 0; i < t->mNumNets; ++i)
            visit(t->mNets[size_t(i)]);
}

std::vector<const Edge3D*> Corners(const Net& net)
{
    std::vector<const Edge3D*> corners;
    for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
        for (int k = 0; k < f->mType->mNumSides; ++k)
            corners.push_back(&f->mEdges[size_t(k)]);
    return corners;
}

// Fully folded: every corner on its vertex, every facelet facing as in the model.
void CheckOnModel(Model3D& mesh)
{
    ForEachNet(mesh, [](Net& net) {
        for (const Edge3D* e : Corners(net))
        {
            ASSERT_TRUE(e->mVert);
            EXPECT_LT(Vec3Distance(e->mFoldedPos, e->mVert->mPos), kPlaceTol) << Edge3D::GetName(e);
        }
        for (const Face3D* f = net.mFirstFace->mNextInNet; f; f = f->mNextInNet)
            EXPECT_LT(Vec3Distance(f->mFoldedNormal, f->GetNormal()), kPlaceTol);
    });
}

// Flat: the folded corners lie in one plane across the centre direction (when the net has one)
// and are congruent to the net's layout, with the layout's handedness seen from outside.
void CheckFlat(Model3D& mesh, double tol)
{
    ForEachNet(mesh, [&](Net& net) {
        const std::vector<const Edge3D*> corners = Corners(net);
        const Vec3D n = net.mFirstFace->mFoldedNormal;
        const double level = Vec3Dot(n, corners[0]->mFoldedPos);
        Vec3D centreDir = net.mCentre;
        if (Vec3Length(centreDir) > kTol && Vec3Normalize(centreDir))
        {
            EXPECT_LT(Vec3Distance(n, centreDir), tol);
        }
        for (const Edge3D* e : corners)
            EXPECT_NEAR(Vec3Dot(n, e->mFoldedPos), level, tol) << Edge3D::GetName(e);
        for (size_t i = 0; i < corners.size(); ++i)
        {
            for (size_t j = i + 1; j < corners.size(); j += 1 + corners.size() / 40)
            {
                const Vec2D& a = corners[i]->mNetPos;
                const Vec2D& b = corners[j]->mNetPos;
                const double flat = std::hypot(a.x - b.x, a.y - b.y);
                EXPECT_NEAR(Vec3Distance(corners[i]->mFoldedPos, corners[j]->mFoldedPos), flat, tol);
            }
        }
    });
}

void CheckRow(Model3D& mesh)
{
    mesh.CreateNets();
    ASSERT_TRUE(mesh.mNetTypes);
    Fold(mesh, 1.0);
    CheckOnModel(mesh);
    Fold(mesh, 0.0);
    CheckFlat(mesh, 1e-8);
}

struct CountingSink : FitPointSink
{
    std::vector<Vec3D> points;
    void ExtendFit(const Vec3D& p) override { points.push_back(p); }
};
}  // namespace

TEST_F(NetFoldingTest, ConvexUniformDualAndJohnsonNetsFoldOntoTheModelAndLieFlatAtZero)
{
    int rows = 0;
    for (int position = 0; position <= kLastJohnson; ++position)
    {
        const LibraryEntry& row = Row(position);
        SCOPED_TRACE(std::to_string(position) + " " + row.mName);
        auto model = OpenRow(row);
        ASSERT_TRUE(model);
        if (position < kNumUniformRows && !(model->poly.mFlags & Poly::kConvex))
            continue;
        ++rows;
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        ASSERT_TRUE(mesh);
        CheckRow(*mesh);
        if (position < kFirstJohnson)
        {
            SCOPED_TRACE("dual");
            std::unique_ptr<Model3D> dual = Model3D::CreateFromPoly(&model->poly, true);
            ASSERT_TRUE(dual);
            CheckRow(*dual);
        }
    }
    EXPECT_GE(rows, 22 + 92);
}

TEST_F(NetFoldingTest, SeveralNetsAreThrownOutByTheirCentresAndComeHome)
{
    for (const int maxFaces : {1, 5})
    {
        SCOPED_TRACE(maxFaces);
        GetUnitSettings().mMaxFacesPerNet = maxFaces;
        auto model = OpenRow(*FindLibraryEntry("Icosahedron", nullptr, false));
        ASSERT_TRUE(model);
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
        mesh->CreateNets();
        ASSERT_FALSE(mesh->HasSingleNet());

        // Half way: folded, each net pushed out by its centre.
        Fold(*mesh, 0.5);
        ForEachNet(*mesh, [](Net& net) {
            for (const Edge3D* e : Corners(net))
            {
                Vec3D expected;
                Vec3Add(expected, e->mVert->mPos, net.mCentre);
                EXPECT_LT(Vec3Distance(e->mFoldedPos, expected), kPlaceTol);
            }
        });
        // Flat, turned about the centre and lying at twice it: each corner of the root keeps its
        // distance from the centre, now measured from twice the centre.
        Fold(*mesh, 0.0);
        CheckFlat(*mesh, 1e-9);
        ForEachNet(*mesh, [](Net& net) {
            Vec3D twice;
            Vec3Scale(twice, net.mCentre, 2.0);
            for (int k = 0; k < 3; ++k)
            {
                const Edge3D* e = &net.mFirstFace->mEdges[size_t(k)];
                EXPECT_NEAR(Vec3Distance(e->mFoldedPos, twice), Vec3Distance(e->mVert->mPos, net.mCentre), kPlaceTol);
            }
            Vec3D out = net.mCentre;
            Vec3Normalize(out);
            EXPECT_GT(Vec3Dot(net.mFirstFace->mFoldedNormal, out), 1.0 - 1e-9) << "facing outwards";
        });
        Fold(*mesh, 1.0);
        CheckOnModel(*mesh);
    }
}

TEST_F(NetFoldingTest, ASingleNetAroundTheOriginFoldsInPlaceWithoutTurning)
{
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
    mesh->CreateNets();
    ASSERT_TRUE(mesh->HasSingleNet());
    const Net& net = *mesh->mCurrentNet;
    ASSERT_LT(Vec3Length(net.mCentre), 1e-7);
    for (const double ratio : {0.0, 0.3, 0.5})
    {
        SCOPED_TRACE(ratio);
        Fold(*mesh, ratio);
        // The root stays where it is in the model; its neighbours have turned by (1 - ratio) of a
        // right angle out of their place.
        const Face3D* root = net.mFirstFace;
        EXPECT_TRUE(root->mFlags & kFace3DNetRoot);
        for (int k = 0; k < 4; ++k)
            EXPECT_LT(Vec3Distance(root->mEdges[size_t(k)].mFoldedPos, root->mEdges[size_t(k)].mVert->mPos), kPlaceTol);
        for (int k = 0; k < 4; ++k)
        {
            const Edge3D& e = root->mEdges[size_t(k)];
            if (!(e.mFlags & kEdge3DJoinBits))
                continue;
            const Face3D* child = e.GetNeighInNet(false)->mFace;
            const double angle = std::acos(std::clamp(Vec3Dot(child->mFoldedNormal, child->GetNormal()), -1.0, 1.0));
            EXPECT_NEAR(angle, (1.0 - ratio) * kPi / 2.0, 1e-9);
        }
    }
}

TEST_F(NetFoldingTest, PlacementIsLazyAndANetBuildForcesItAgain)
{
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
    mesh->CreateNets();
    EXPECT_EQ(mesh->mFoldAmount, -1.0);
    Fold(*mesh, 0.4);
    EXPECT_EQ(mesh->mFoldAmount, 0.4);
    Edge3D& e = mesh->mCurrentNet->mFirstFace->mNextInNet->mEdges[0];
    const Vec3D placed = e.mFoldedPos;
    e.mFoldedPos = Vec3D{9, 9, 9};
    Fold(*mesh, 0.4);
    EXPECT_EQ(e.mFoldedPos.x, 9.0) << "the same ratio places nothing again";
    Fold(*mesh, 0.6);
    Fold(*mesh, 0.4);
    EXPECT_LT(Vec3Distance(e.mFoldedPos, placed), kPlaceTol);
    mesh->CreateNets();
    EXPECT_EQ(mesh->mFoldAmount, -1.0);
}

TEST_F(NetFoldingTest, TheFoldingPaneFitsTheNetsItShows)
{
    GetUnitSettings().mMaxFacesPerNet = 1;
    auto model = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&model->poly, false);
    mesh->CreateNets();
    GetSceneParameters().foldRatio = 0.5;
    const int before = GetNetsShownInFoldingView();
    struct Case { int shown; size_t points; } const kCases[] = {{kNetsShownAll, 36}, {kNetsShownOneType, 36},
                                                               {kNetsShownOne, 6}};
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.shown);
        SetNetsShownInFoldingView(c.shown);
        CountingSink sink;
        mesh->ExtendFoldedFitBounds(sink);
        EXPECT_EQ(sink.points.size(), c.points);
        // Half folded: on the cube pushed out by the net's centre, at 2 in one coordinate.
        for (const Vec3D& p : sink.points)
            EXPECT_NEAR(std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}), 2.0 * mesh->GetRadius() / std::sqrt(3.0), 1e-9);
    }
    SetNetsShownInFoldingView(before);
    CountingSink flat;
    mesh->mCurrentNet->ExtendFitBounds(flat, false);
    for (const Vec3D& p : flat.points)
        EXPECT_EQ(p.z, 0.0);
}
