#include "SolidPoints.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UserServices.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <memory>
#include <set>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

std::vector<int> LiveFaces(const SimplePoly& poly)
{
    std::vector<int> out;
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        if (!(poly.mFaces[f].mFlags & E::kTemp))
            out.push_back(f);
    }
    return out;
}

// Every side of a live face is a side of exactly one other live face, by vertex record.
bool IsClosedByRecords(const SimplePoly& poly)
{
    std::map<std::pair<int, int>, int> uses;
    for (int f : LiveFaces(poly))
    {
        const SimpleFace& face = poly.mFaces[f];
        for (int k = 0; k < face.mNum; ++k)
        {
            const int a = face.GetVert(k)->GetIndex(), b = face.GetVert((k + 1) % face.mNum)->GetIndex();
            ++uses[{std::min(a, b), std::max(a, b)}];
        }
    }
    for (const auto& [edge, count] : uses)
    {
        if (count != 2)
            return false;
    }
    return !uses.empty();
}

// The area vector of the face's outline: its area along the normal the corner order gives.
Vec3D AreaVector(const SimpleFace& face)
{
    Vec3D sum;
    for (int k = 0; k < face.mNum; ++k)
    {
        Vec3D c;
        Vec3Cross(c, face.GetVert(k)->mPos, face.GetVert((k + 1) % face.mNum)->mPos);
        Vec3AddTo(sum, c);
    }
    Vec3Scale(sum, sum, 0.5);
    return sum;
}

bool HasRepeatedVertex(const SimpleFace& face)
{
    std::set<const SimpleVert*> seen;
    for (int k = 0; k < face.mNum; ++k)
    {
        if (!seen.insert(face.GetVert(k)).second)
            return true;
    }
    return false;
}

struct Snapshot
{
    std::vector<std::vector<int>> faces;
    std::vector<uint32_t> faceFlags, vertFlags;

    explicit Snapshot(const SimplePoly& poly)
    {
        for (int f = 0; f < poly.mNumFaces; ++f)
        {
            std::vector<int> corners;
            for (int k = 0; k < poly.mFaces[f].mNum; ++k)
                corners.push_back(poly.mFaces[f].GetVert(k)->GetIndex());
            faces.push_back(corners);
            faceFlags.push_back(poly.mFaces[f].mFlags);
        }
        for (int i = 0; i < poly.mNumVerts; ++i)
            vertFlags.push_back(poly.mVerts[i].mFlags);
    }
    bool operator==(const Snapshot& o) const
    {
        return faces == o.faces && faceFlags == o.faceFlags && vertFlags == o.vertFlags;
    }
};

// A square in the plane z = 1 cut along a diagonal.
std::unique_ptr<SimplePoly> MakeSplitSquare()
{
    return MakeFacedPoly({{0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}}, {{0, 1, 2}, {0, 2, 3}});
}

// The box [-1, 1] x [-0.5, 0.5] x [-0.5, 0.5] made of ten unit squares, counterclockwise seen
// from outside; vertices (x, y, z) with x in {-1, 0, 1}.
std::unique_ptr<SimplePoly> MakeBoxOfSquares()
{
    std::vector<Vec3D> points;
    auto at = [&](int i, int j, int k) { return (i + 1) * 4 + j * 2 + k; };
    for (int i = -1; i <= 1; ++i)
        for (int j = 0; j < 2; ++j)
            for (int k = 0; k < 2; ++k)
                points.push_back({double(i), j - 0.5, k - 0.5});
    std::vector<std::vector<int>> faces = {
        {at(-1, 0, 0), at(-1, 0, 1), at(-1, 1, 1), at(-1, 1, 0)},  // x = -1
        {at(1, 0, 0), at(1, 1, 0), at(1, 1, 1), at(1, 0, 1)},      // x = 1
    };
    for (int i = -1; i < 1; ++i)
    {
        faces.push_back({at(i, 0, 0), at(i + 1, 0, 0), at(i + 1, 0, 1), at(i, 0, 1)});  // y = -0.5
        faces.push_back({at(i, 1, 0), at(i, 1, 1), at(i + 1, 1, 1), at(i + 1, 1, 0)});  // y = 0.5
        faces.push_back({at(i, 0, 0), at(i, 1, 0), at(i + 1, 1, 0), at(i + 1, 0, 0)});  // z = -0.5
        faces.push_back({at(i, 0, 1), at(i + 1, 0, 1), at(i + 1, 1, 1), at(i, 1, 1)});  // z = 0.5
    }
    return MakeFacedPoly(points, faces);
}
}  // namespace

TEST(BlendCoplanarFacesTest, TwoCoplanarTrianglesSharingAnEdgeBecomeOneQuadrilateral)
{
    auto model = MakeSplitSquare();
    int status = -1;
    EXPECT_TRUE(model->BlendCoplanarFaces(0, nullptr, &status));
    EXPECT_EQ(status, 0);
    const std::vector<int> live = LiveFaces(*model);
    ASSERT_EQ(live.size(), 1u);
    const SimpleFace& quad = model->mFaces[live[0]];
    ASSERT_EQ(quad.mNum, 4);
    std::set<int> corners;
    for (int k = 0; k < 4; ++k)
    {
        corners.insert(quad.GetVert(k)->GetIndex());
        // Around the square, not across it.
        EXPECT_DOUBLE_EQ(Vec3Distance(quad.GetVert(k)->mPos, quad.GetVert((k + 1) % 4)->mPos), 1.0);
    }
    EXPECT_EQ(corners, (std::set<int>{0, 1, 2, 3}));
    EXPECT_TRUE(Vec3Equal(AreaVector(quad), Vec3D{0, 0, 1}, 1e-12));
}

TEST(BlendCoplanarFacesTest, ACubeWithAFaceCutInTwoHasSixSquaresAgain)
{
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    std::vector<std::vector<int>> faces = CubeFaces(cube.points);
    const std::vector<int> top = faces[4];
    faces[4] = {top[0], top[1], top[2]};
    faces.push_back({top[0], top[2], top[3]});
    auto model = MakeFacedPoly(cube.points, faces);
    EXPECT_TRUE(model->BlendCoplanarFaces(0, nullptr, nullptr));
    const std::vector<int> live = LiveFaces(*model);
    ASSERT_EQ(live.size(), 6u);
    for (int f : live)
    {
        EXPECT_EQ(model->mFaces[f].mNum, 4);
        EXPECT_NEAR(Vec3Length(AreaVector(model->mFaces[f])), 4.0, 1e-12);
    }
    EXPECT_TRUE(IsClosedByRecords(*model));
}

TEST(BlendCoplanarFacesTest, ABoxOfTenSquaresBecomesSixFacesWithoutItsMidEdgeVertices)
{
    auto model = MakeBoxOfSquares();
    ASSERT_EQ(model->mNumFaces, 10);
    ScopedScriptedServices scripted;
    scripted.services.PushAnswer(kIdYes);
    bool answered = false;
    int status = 0;
    EXPECT_TRUE(model->BlendCoplanarFaces(P::kBlendAsk, &answered, &status));
    EXPECT_TRUE(answered);
    EXPECT_EQ(status, P::kBlendAsked);
    ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    EXPECT_EQ(call->text, "Some coplanar faces share an edge.\nShall I blend these faces?");
    EXPECT_EQ(call->type, kMbYesNo | kMbIconQuestion);

    const std::vector<int> live = LiveFaces(*model);
    ASSERT_EQ(live.size(), 6u);
    int long_ = 0;
    for (int f : live)
    {
        const SimpleFace& face = model->mFaces[f];
        ASSERT_EQ(face.mNum, 4);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(std::fabs(face.GetVert(k)->mPos.x), 1.0);
        const double area = Vec3Length(AreaVector(face));
        EXPECT_TRUE(area == 1.0 || area == 2.0) << area;
        long_ += area == 2.0;
    }
    EXPECT_EQ(long_, 4);
    for (int i = 0; i < model->mNumVerts; ++i)
        EXPECT_EQ((model->mVerts[i].mFlags & E::kTemp) != 0, model->mVerts[i].mPos.x == 0.0) << i;
    EXPECT_TRUE(IsClosedByRecords(*model));
}

TEST(BlendCoplanarFacesTest, AnsweringNoLeavesTheModelUnchanged)
{
    for (int answer : {kIdNo, kIdCancel})
    {
        auto model = MakeBoxOfSquares();
        const Snapshot before(*model);
        ScopedScriptedServices scripted;
        scripted.services.PushAnswer(answer);
        bool answered = true;
        int status = 0;
        EXPECT_FALSE(model->BlendCoplanarFaces(P::kBlendAsk | P::kBlendMergeVerts, &answered, &status));
        EXPECT_FALSE(answered);
        EXPECT_TRUE(status & P::kBlendAsked);
        EXPECT_TRUE(Snapshot(*model) == before);
    }
}

TEST(BlendCoplanarFacesTest, AFourDModelIsNeverChanged)
{
    auto model = MakeSplitSquare();
    model->mPolytope4D = std::make_unique<Polytope4D>();
    model->mFlags |= P::kFrom4D;
    const Snapshot before(*model);
    ScopedScriptedServices scripted;
    bool answered = true;
    EXPECT_FALSE(model->BlendCoplanarFaces(P::kBlendAsk, &answered, nullptr));
    EXPECT_TRUE(Snapshot(*model) == before);
    EXPECT_TRUE(scripted.services.calls.empty());
}

TEST(BlendCoplanarFacesTest, AnOutlineTouchingItselfBecomesTwoFacesTheSecondAppended)
{
    // A square, and beside it a face that wraps round over it and comes down to touch the
    // square's corner (0, 1): the union holds a triangular hole that touches the outline there.
    const std::vector<Vec3D> points = {{0, 0, 1},     {1, 0, 1},  {1, 1, 1},   {0, 1, 1},     {2, 0, 1},
                                       {2, 2, 1},     {-1, 2, 1}, {-1, 1.5, 1}, {0.5, 1.5, 1}};
    auto model = MakeFacedPoly(points, {{0, 1, 2, 3}, {1, 4, 5, 6, 7, 3, 8, 2}});
    const double total = AreaVector(model->mFaces[0]).z + AreaVector(model->mFaces[1]).z;
    EXPECT_TRUE(model->BlendCoplanarFaces(0, nullptr, nullptr));
    const std::vector<int> live = LiveFaces(*model);
    ASSERT_EQ(live.size(), 2u);
    EXPECT_EQ(live[0], 0);
    EXPECT_EQ(live[1], 2);  // after all the faces there were
    double sum = 0.0;
    for (int f : live)
    {
        EXPECT_FALSE(HasRepeatedVertex(model->mFaces[f]));
        sum += AreaVector(model->mFaces[f]).z;
    }
    // The outline and the hole, which runs the other way.
    EXPECT_NEAR(sum, total, 1e-12);
    std::set<int> hole;
    for (int k = 0; k < model->mFaces[2].mNum; ++k)
        hole.insert(model->mFaces[2].GetVert(k)->GetIndex());
    EXPECT_EQ(hole, (std::set<int>{2, 3, 8}));
}

TEST(BlendCoplanarFacesTest, MergingCoincidentVerticesAfterwardsJoinsTheFaces)
{
    // The cube with a separate corner record for every face corner, and one face cut in two.
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    std::vector<Vec3D> points;
    std::vector<std::vector<int>> faces;
    std::vector<std::vector<int>> squares = CubeFaces(cube.points);
    const std::vector<int> top = squares[4];
    squares[4] = {top[0], top[1], top[2]};
    squares.push_back({top[0], top[2], top[3]});
    for (const std::vector<int>& square : squares)
    {
        std::vector<int> face;
        for (int corner : square)
        {
            face.push_back(int(points.size()));
            points.push_back(cube.points[size_t(corner)]);
        }
        faces.push_back(face);
    }
    auto model = MakeFacedPoly(points, faces);
    EXPECT_TRUE(model->BlendCoplanarFaces(P::kBlendMergeVerts, nullptr, nullptr));
    EXPECT_EQ(LiveFaces(*model).size(), 6u);
    int live = 0;
    for (int i = 0; i < model->mNumVerts; ++i)
        live += !(model->mVerts[i].mFlags & E::kTemp);
    EXPECT_EQ(live, 8);
    EXPECT_TRUE(IsClosedByRecords(*model));
}

TEST(BlendCoplanarFacesTest, CornersOnStraightRunsGoUnlessAnotherFaceMeetsThem)
{
    // A square with a spike out of its top side and back to a second record at the same place,
    // and a corner halfway along its bottom side; nothing to blend.
    const std::vector<Vec3D> points = {{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {2, 2, 1},
                                       {1, 2, 1}, {1, 3, 1}, {1, 2, 1}, {0, 2, 1}};
    auto model = MakeFacedPoly(points, {{0, 1, 2, 3, 4, 5, 6, 7}});
    EXPECT_TRUE(model->BlendCoplanarFaces(P::kBlendAsk, nullptr, nullptr));
    const SimpleFace& face = model->mFaces[0];
    std::vector<int> corners;
    for (int k = 0; k < face.mNum; ++k)
        corners.push_back(face.GetVert(k)->GetIndex());
    // The spike's tip and the record after it go. Corners 1 and 4 lie on straight runs, but with
    // a single face there another face may still end there: they stay.
    EXPECT_EQ(corners, (std::vector<int>{0, 1, 2, 3, 4, 7}));
    EXPECT_TRUE(model->mVerts[5].mFlags & E::kTemp);
    EXPECT_TRUE(model->mVerts[6].mFlags & E::kTemp);

    // The same corner between two faces that both run straight through it goes from both.
    auto pair = MakeFacedPoly({{0, 0, 1}, {1, 0, 1}, {2, 0, 1}, {2, 1, 1}, {0, 1, 1}, {1, -1, 0}},
                              {{0, 1, 2, 3, 4}, {0, 5, 2, 1}});
    EXPECT_TRUE(pair->BlendCoplanarFaces(0, nullptr, nullptr));
    EXPECT_EQ(pair->mFaces[0].mNum, 4);
    EXPECT_EQ(pair->mFaces[1].mNum, 3);
    EXPECT_TRUE(pair->mVerts[1].mFlags & E::kTemp);
}
