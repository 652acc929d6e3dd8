#include "SolidPoints.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UserServices.h"
#include "model/CanonicalNormal.h"
#include "model/SimplePoly.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

constexpr unsigned kYesNoCancelQuestion = kMbYesNoCancel | kMbIconQuestion;

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

int CountLiveVerts(const SimplePoly& poly)
{
    int n = 0;
    for (int i = 0; i < poly.mNumVerts; ++i)
        n += !(poly.mVerts[i].mFlags & E::kTemp);
    return n;
}

// Whether every side of a live face is a side of exactly one other live face, by vertex record.
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

// Triangle faces over separate vertex records at the positions given.
std::unique_ptr<SimplePoly> MakeTriangles(const std::vector<std::vector<Vec3D>>& triangles)
{
    std::vector<Vec3D> points;
    std::vector<std::vector<int>> faces;
    for (const std::vector<Vec3D>& t : triangles)
    {
        std::vector<int> face;
        for (const Vec3D& p : t)
        {
            face.push_back(int(points.size()));
            points.push_back(p);
        }
        faces.push_back(face);
    }
    return MakeFacedPoly(points, faces);
}

const std::vector<Vec3D> kTriangle = {{1, 0, 1}, {0, 1, 1}, {0, 0, 1}};

// The cube (+-1) and, after it, a square pyramid whose base lies on the cube's face z = 1.
std::unique_ptr<SimplePoly> MakeCubeWithPyramid(bool withSides)
{
    std::vector<Vec3D> points = FindSolid(PlatonicAndArchimedeanSolids(), "cube").points;
    std::vector<std::vector<int>> faces = CubeFaces(points);
    const int base = int(points.size());
    for (const Vec3D& p : {Vec3D{1, -1, 1}, Vec3D{1, 1, 1}, Vec3D{-1, 1, 1}, Vec3D{-1, -1, 1}, Vec3D{0, 0, 2}})
        points.push_back(p);
    faces.push_back({base + 3, base + 2, base + 1, base});  // facing down, onto the cube
    if (withSides)
    {
        for (int k = 0; k < 4; ++k)
            faces.push_back({base + k, base + (k + 1) % 4, base + 4});
    }
    return MakeFacedPoly(points, faces);
}

constexpr int kTopFace = 4;  // the cube's face z = 1
}  // namespace

TEST(CoincidentFacesTest, TwoIdenticalTrianglesGoInPairsOrAllButOne)
{
    struct Case
    {
        const char* name;
        int mode;
        const char* question;
        bool firstKept;
    };
    const Case kCases[] = {
        {"pairs", 0, "There are some coincident faces.\nShall I remove these in pairs?", false},
        {"keep one", 1, "There are some coincident faces.\nShall I remove all but one of these?", true},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        // The second runs the other way round from another corner: it still lies in the same place.
        auto model = MakeTriangles({kTriangle, {kTriangle[1], kTriangle[0], kTriangle[2]}});
        ScopedScriptedServices scripted;
        EXPECT_TRUE(model->RemoveAllCoincidentFaces(c.mode, true, E::kTemp));
        ASSERT_EQ(scripted.services.CountCalls("MessageBox"), 1);
        const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
        EXPECT_EQ(call->text, c.question);
        EXPECT_EQ(call->type, kYesNoCancelQuestion);
        EXPECT_EQ(!(model->mFaces[0].mFlags & E::kTemp), c.firstKept);
        EXPECT_TRUE(model->mFaces[1].mFlags & E::kTemp);
        // The second triangle's vertices are merged into the first's.
        for (int i = 3; i < 6; ++i)
            EXPECT_TRUE(model->mVerts[i].mFlags & E::kTemp) << i;
        EXPECT_EQ(CountLiveVerts(*model), c.firstKept ? 3 : 0);
        if (c.firstKept)
        {
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(model->mFaces[0].GetVert(k), &model->mVerts[k]);
        }
    }
}

TEST(CoincidentFacesTest, NoOrCancelLeavesTheModelAsItWas)
{
    struct Case
    {
        const char* name;
        int answer;
        bool result;
    };
    for (const Case& c : {Case{"no", kIdNo, true}, Case{"cancel", kIdCancel, false}})
    {
        SCOPED_TRACE(c.name);
        auto model = MakeTriangles({kTriangle, kTriangle});
        ScopedScriptedServices scripted;
        scripted.services.PushAnswer(c.answer);
        EXPECT_EQ(model->RemoveAllCoincidentFaces(0, true, E::kTemp), c.result);
        EXPECT_EQ(LiveFaces(*model).size(), 2u);
        EXPECT_EQ(CountLiveVerts(*model), 6);
        EXPECT_FALSE(model->mFlags & P::kHasVertFaceLists);
    }
}

TEST(CoincidentFacesTest, StacksOfCoincidentFaces)
{
    const Vec3D shifted[3] = {{1, 0, 1.000001}, {0, 1, 1.000001}, {0, 0, 1.000001}};
    struct Case
    {
        const char* name;
        std::vector<std::vector<Vec3D>> triangles;
        int mode;
        size_t live;
    };
    const std::vector<Case> kCases = {
        {"three in pairs: one is left over", {kTriangle, kTriangle, kTriangle}, 0, 1},
        {"three, keep one", {kTriangle, kTriangle, kTriangle}, 1, 1},
        {"one slightly off", {kTriangle, {shifted[0], shifted[1], shifted[2]}}, 0, 2},
        // Turned half round about its centroid: same plane and centre, other corners.
        {"same centre, turned corners", {kTriangle, {{-1.0 / 3, 2.0 / 3, 1}, {2.0 / 3, -1.0 / 3, 1}, {2.0 / 3, 2.0 / 3, 1}}},
         1, 2},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto model = MakeTriangles(c.triangles);
        ScopedScriptedServices scripted;
        EXPECT_TRUE(model->RemoveAllCoincidentFaces(c.mode, true, E::kTemp));
        EXPECT_EQ(LiveFaces(*model).size(), c.live);
        EXPECT_EQ(scripted.services.CountCalls("MessageBox"), c.live == c.triangles.size() ? 0 : 1);
    }
}

TEST(CoincidentFacesTest, ACubeCombinedWithItselfIsTheCubeAgain)
{
    const KnownSolid cube = FindSolid(PlatonicAndArchimedeanSolids(), "cube");
    auto model = MakeFacedPoly(cube.points, CubeFaces(cube.points));
    for (int mode : {0, 1})
    {
        SCOPED_TRACE(mode);
        auto both = model->Combine(*model);
        ASSERT_TRUE(both);
        EXPECT_TRUE(both->RemoveAllCoincidentFaces(mode, false, E::kTemp));
        if (mode == 0)
        {
            EXPECT_TRUE(LiveFaces(*both).empty());
            continue;
        }
        EXPECT_EQ(LiveFaces(*both).size(), 6u);
        EXPECT_EQ(CountLiveVerts(*both), 8);
        for (int i = 0; i < 8; ++i)
            EXPECT_FALSE(both->mVerts[i].mFlags & E::kTemp);
        EXPECT_TRUE(IsClosedByRecords(*both));
    }
}

TEST(CoincidentFacesTest, AGluedPyramidAndTheFaceUnderItVanishTogether)
{
    auto model = MakeCubeWithPyramid(true);
    ScopedScriptedServices scripted;
    EXPECT_TRUE(RemoveCoincidentFaces(*model, 6, 8, 6, true, E::kTemp));
    const ScriptedServices::Call* call = scripted.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->text, "There are some coincident faces.\nShall I remove these in pairs?");
    EXPECT_EQ(call->type, kYesNoCancelQuestion);
    EXPECT_TRUE(model->mFaces[kTopFace].mFlags & E::kTemp);
    EXPECT_TRUE(model->mFaces[6].mFlags & E::kTemp);
    EXPECT_EQ(LiveFaces(*model).size(), 9u);
    // The base corners merge into the cube's; the apex stays.
    for (int i = 8; i < 12; ++i)
        EXPECT_TRUE(model->mVerts[i].mFlags & E::kTemp) << i;
    EXPECT_FALSE(model->mVerts[12].mFlags & E::kTemp);
    EXPECT_EQ(CountLiveVerts(*model), 9);
    EXPECT_TRUE(IsClosedByRecords(*model));
}

TEST(CoincidentFacesTest, AnAddedFaceOnARemovedFaceBringsItBackOrGoes)
{
    struct Case
    {
        const char* name;
        bool topRemoved;
        bool withSides;
        int limit;
        bool topLive;   // afterwards
        bool partKept;  // the added part's live faces stay
    };
    const Case kCases[] = {
        // Glued onto a face removed earlier, a part with more faces brings that face back.
        {"pyramid on a removed face", true, true, 6, true, true},
        // A lone face on a removed face, or on one the caller keeps, is dropped with its vertices.
        {"square on a removed face", true, false, 6, false, false},
        {"square on a kept face", false, false, kTopFace, true, false},
        {"square on a face below the limit", false, false, 6, false, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        auto model = MakeCubeWithPyramid(c.withSides);
        if (c.topRemoved)
            model->mFaces[kTopFace].mFlags |= E::kTemp;
        EXPECT_TRUE(RemoveCoincidentFaces(*model, 6, 8, c.limit, false, E::kTemp));
        EXPECT_EQ(!(model->mFaces[kTopFace].mFlags & E::kTemp), c.topLive);
        EXPECT_TRUE(model->mFaces[6].mFlags & E::kTemp);
        for (int i = 8; i < 12; ++i)
            EXPECT_TRUE(model->mVerts[i].mFlags & E::kTemp) << i;
        if (c.partKept)
        {
            EXPECT_FALSE(model->mVerts[12].mFlags & E::kTemp);
            // The sides now stand on the cube's own corners.
            for (int f = 7; f < 11; ++f)
            {
                for (int k = 0; k < 2; ++k)
                    EXPECT_LT(model->mFaces[f].GetVert(k)->GetIndex(), 8);
            }
        }
        if (!c.topRemoved && c.topLive)
        {
            EXPECT_TRUE(IsClosedByRecords(*model));
        }
    }
}

TEST(CoincidentFacesTest, AFaceComingBackTakesTheCornersOfThePartThatBroughtIt)
{
    // A lone square removed earlier with its corners, and a pyramid glued onto it.
    const std::vector<Vec3D> square = {{1, -1, 1}, {1, 1, 1}, {-1, 1, 1}, {-1, -1, 1}};
    std::vector<Vec3D> points = square;
    points.insert(points.end(), square.begin(), square.end());
    points.push_back({0, 0, 2});
    std::vector<std::vector<int>> faces = {{0, 1, 2, 3}, {7, 6, 5, 4}};
    for (int k = 0; k < 4; ++k)
        faces.push_back({4 + k, 4 + (k + 1) % 4, 8});
    auto model = MakeFacedPoly(points, faces);
    model->mFaces[0].mFlags |= E::kTemp;
    for (int i = 0; i < 4; ++i)
        model->mVerts[i].mFlags |= E::kTemp;
    EXPECT_TRUE(RemoveCoincidentFaces(*model, 1, 4, 1, false, E::kTemp));
    EXPECT_FALSE(model->mFaces[0].mFlags & E::kTemp);
    EXPECT_TRUE(model->mFaces[1].mFlags & E::kTemp);
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(model->mVerts[i].mFlags & E::kTemp) << i;
    EXPECT_TRUE(IsClosedByRecords(*model));  // the square closes the pyramid
}

TEST(CoincidentFacesTest, AFourDModelIsLeftAlone)
{
    auto model = MakeTriangles({kTriangle, kTriangle});
    model->mPolytope4D = std::make_unique<Polytope4D>();
    model->mFlags |= P::kFrom4D;
    ScopedScriptedServices scripted;
    EXPECT_TRUE(model->RemoveAllCoincidentFaces(0, true, E::kTemp));
    EXPECT_TRUE(RemoveCoincidentFaces(*model, 1, 3, 2, true, E::kTemp));
    EXPECT_EQ(LiveFaces(*model).size(), 2u);
    EXPECT_EQ(CountLiveVerts(*model), 6);
    EXPECT_TRUE(scripted.services.calls.empty());
}

TEST(CoincidentFacesTest, BothNormalsOfAPlaneHaveOneCanonicalForm)
{
    struct Case
    {
        Vec3D normal, canonical;
    };
    const Case kCases[] = {
        {{-0.6, 0.8, 0}, {0.6, -0.8, 0}},
        {{0.6, -0.8, 0}, {0.6, -0.8, 0}},
        {{5e-8, -1, 0}, {-5e-8, 1, 0}},  // x counts as zero: y decides
        {{0, 0, -1}, {0, 0, 1}},
        {{0, 5e-8, -5e-8}, {0, 5e-8, -5e-8}},  // all within 1e-7: kept
    };
    for (const Case& c : kCases)
    {
        EXPECT_TRUE(Vec3Equal(CanonicalNormal(c.normal), c.canonical, 0.0));
        const Vec3D flipped{-c.normal.x, -c.normal.y, -c.normal.z};
        if (Vec3Length(c.normal) > 1e-6)
        {
            EXPECT_TRUE(Vec3Equal(CanonicalNormal(flipped), c.canonical, 0.0));
        }
    }
}
