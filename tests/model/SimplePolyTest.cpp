#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Tolerance.h"
#include "model/ElementDisplayOptions.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "polytope4d/Polytope4D.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace
{
using E = SimpleElem;
using P = SimplePoly;

// The cube with corners (+-1, +-1, +-1), made the way builders make models: each face lists its
// corner positions and the search tree merges the corners that meet.
std::unique_ptr<SimplePoly> MakeCube(uint32_t flags = 0)
{
    static const int kFaces[6][4][3] = {
        {{1, -1, -1}, {1, 1, -1}, {1, 1, 1}, {1, -1, 1}},     {{-1, -1, -1}, {-1, -1, 1}, {-1, 1, 1}, {-1, 1, -1}},
        {{-1, 1, -1}, {-1, 1, 1}, {1, 1, 1}, {1, 1, -1}},     {{-1, -1, -1}, {1, -1, -1}, {1, -1, 1}, {-1, -1, 1}},
        {{-1, -1, 1}, {1, -1, 1}, {1, 1, 1}, {-1, 1, 1}},     {{-1, -1, -1}, {-1, 1, -1}, {1, 1, -1}, {1, -1, -1}},
    };
    auto poly = std::make_unique<SimplePoly>(24, 6);
    poly->mFlags |= flags;
    int next = 0;
    for (int f = 0; f < 6; ++f)
    {
        SimpleFace* face = poly->GetFace(f);
        face->SetNumVerts(4);
        for (int k = 0; k < 4; ++k)
        {
            const Vec3D p{double(kFaces[f][k][0]), double(kFaces[f][k][1]), double(kFaces[f][k][2])};
            face->SetVert(k, poly->FindOrCreateVert(p, next));
        }
    }
    poly->mNumVerts = next;
    return poly;
}

// Restores the display options a test changes.
class ElementOptionsGuard
{
public:
    ElementOptionsGuard() : mSaved(GetElementDisplayOptions()) {}
    ~ElementOptionsGuard() { GetElementDisplayOptions() = mSaved; }

private:
    ElementDisplayOptions mSaved;
};

std::vector<std::string> gTrace;
void RecordTrace(const char* text)
{
    gTrace.emplace_back(text);
}
}  // namespace

TEST(SimplePolyTest, NewRecordsHaveTheirDefaults)
{
    SimplePoly poly(2, 2);
    ASSERT_EQ(poly.mNumVerts, 2);
    ASSERT_EQ(poly.mNumFaces, 2);
    EXPECT_EQ(poly.mFlags, 0u);
    EXPECT_DOUBLE_EQ(poly.mScale, 8.0);
    for (int i = 0; i < 2; ++i)
    {
        const SimpleVert& v = poly.mVerts[i];
        const SimpleFace& f = poly.mFaces[i];
        EXPECT_EQ(v.mOwner, &poly);
        EXPECT_EQ(f.mOwner, &poly);
        EXPECT_FALSE(v.IsFace());
        EXPECT_TRUE(f.IsFace());
        EXPECT_EQ(v.mColor, 0x0080FFu);
        EXPECT_EQ(v.mBackColor, 0xFF0080u);
        EXPECT_EQ(f.mColor, 0x0000FFu);
        EXPECT_EQ(f.mBackColor, 0x00FFFFu);
        EXPECT_EQ(v.mId, -1);
        EXPECT_EQ(v.mNextOfType, &v);
        EXPECT_EQ(v.mNextCoincident, &v);
        EXPECT_EQ(f.mNextCoincident, &f);
        EXPECT_EQ(f.mNormal.x, -2.0);
        EXPECT_EQ(f.mDensity, 1);
        EXPECT_EQ(v.GetIndex(), i);
        EXPECT_EQ(f.GetIndex(), i);
        EXPECT_EQ(v.CountOfKind(), 2);
        EXPECT_EQ(f.ElementOfKind(1), &poly.mFaces[1]);
        EXPECT_EQ(v.ElementOfKind(2), nullptr);
    }
    EXPECT_EQ(SimpleVert::GetIndex(nullptr), -1);
    EXPECT_EQ(SimpleFace::GetIndex(nullptr), -1);

    SimplePoly none(0, -3);
    EXPECT_EQ(none.mNumVerts, 0);
    EXPECT_EQ(none.mNumFaces, 0);
}

TEST(SimplePolyTest, FindOrCreateVertMergesWithinTolerance)
{
    struct Case
    {
        const char* name;
        Vec3D second;
        bool secondInf;
        bool merged;
    };
    const Vec3D first{0.25, -1.5, 3.0};
    const Case kCases[] = {
        {"same point", first, false, true},
        {"0.9e-7 off in every coordinate", {0.25 + 0.9e-7, -1.5 - 0.9e-7, 3.0 + 0.9e-7}, false, true},
        {"exactly 1e-7 off in x", {0.25 + 1e-7, -1.5, 3.0}, false, true},
        {"3e-7 off in x", {0.25 + 3e-7, -1.5, 3.0}, false, false},
        {"3e-7 off in y", {0.25, -1.5 - 3e-7, 3.0}, false, false},
        {"3e-7 off in z", {0.25, -1.5, 3.0 + 3e-7}, false, false},
        {"the same coordinates at infinity", first, true, false},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SimplePoly poly(4, 0);
        int next = 0;
        SimpleVert* a = poly.FindOrCreateVert(first, next, false);
        SimpleVert* b = poly.FindOrCreateVert(c.second, next, c.secondInf);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(a == b, c.merged);
        EXPECT_EQ(next, c.merged ? 1 : 2);
        EXPECT_EQ((b->mFlags & E::kInf) != 0, c.secondInf);
        EXPECT_TRUE(b->mFlags & E::kInTree);
    }

    // Two directions at infinity merge like finite points, and never with a finite vertex.
    SimplePoly poly(4, 0);
    int next = 0;
    SimpleVert* inf = poly.FindOrCreateVert({0, 0, 1}, next, true);
    SimpleVert* finite = poly.FindOrCreateVert({0, 0, 1}, next, false);
    EXPECT_NE(inf, finite);
    EXPECT_EQ(poly.FindOrCreateVert({0, 0, 1 + 5e-8}, next, true), inf);
    EXPECT_EQ(poly.FindOrCreateVert({0, 0, 1 - 5e-8}, next, false), finite);
    EXPECT_EQ(next, 2);
}

TEST(SimplePolyTest, CompareVertPosOrdersFiniteBeforeInfinite)
{
    SimplePoly poly(1, 0);
    SimpleVert& v = poly.mVerts[0];
    v.mPos = {1, 2, 3};
    EXPECT_EQ(P::CompareVertPos({1, 2, 3}, false, v, kTol), 0);
    EXPECT_EQ(P::CompareVertPos({0, 9, 9}, false, v, kTol), -1);  // x decides first
    EXPECT_EQ(P::CompareVertPos({1, 2, 4}, false, v, kTol), 1);
    EXPECT_EQ(P::CompareVertPos({-9, -9, -9}, true, v, kTol), 1);
    v.mFlags |= E::kInf;
    EXPECT_EQ(P::CompareVertPos({9, 9, 9}, false, v, kTol), -1);
    EXPECT_EQ(P::CompareVertPos({1, 2, 3}, true, v, kTol), 0);
}

TEST(SimplePolyTest, CubeBuiltFromFaceCornersHasEightVertices)
{
    auto cube = MakeCube();
    EXPECT_EQ(cube->mNumVerts, 8);
    cube->CreateVertexFaceLists(false);
    int corners = 0;
    for (int i = 0; i < cube->mNumVerts; ++i)
    {
        const SimpleVert& v = cube->mVerts[i];
        EXPECT_NEAR(Vec3Length(v.mPos), std::sqrt(3.0), 1e-12);
        EXPECT_EQ(v.mNum, 3) << "vertex " << i;
        corners += v.mNum;
        // Each face listed at a vertex has that vertex among its corners.
        for (int k = 0; k < v.mNum; ++k)
        {
            const SimpleFace* f = v.GetFace(k);
            bool found = false;
            for (int j = 0; j < f->mNum; ++j)
                found = found || f->GetVert(j) == &v;
            EXPECT_TRUE(found);
        }
    }
    EXPECT_EQ(corners, 24);
}

TEST(SimplePolyTest, GrowKeepsEveryVertexFindable)
{
    SimplePoly poly(0, 1);
    poly.mFlags |= P::kMayGrow;
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-5.0, 5.0);
    std::vector<Vec3D> points;
    for (int i = 0; i < 500; ++i)
        points.push_back({coordinate(random), coordinate(random), coordinate(random)});

    // A face that refers to early vertices must follow them into the grown array.
    SimpleFace* face = poly.GetFace(0);
    face->SetNumVerts(3);
    int next = 0;
    for (int i = 0; i < 500; ++i)
    {
        SimpleVert* v = poly.FindOrCreateVert(points[i], next);
        ASSERT_NE(v, nullptr);
        ASSERT_EQ(v->GetIndex(), i);
        if (i < 3)
            poly.mFaces[0].SetVert(i, v);
    }
    EXPECT_EQ(next, 500);
    EXPECT_GE(poly.mNumVerts, 500);
    for (int i = 0; i < 500; ++i)
    {
        SimpleVert* v = poly.FindOrCreateVert(points[i], next);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(v->GetIndex(), i);
        EXPECT_TRUE(Vec3Equal(v->mPos, points[i], 0.0));
    }
    EXPECT_EQ(next, 500);
    for (int k = 0; k < 3; ++k)
    {
        ASSERT_EQ(poly.mFaces[0].GetVert(k), &poly.mVerts[k]);
        EXPECT_TRUE(Vec3Equal(poly.mFaces[0].GetVert(k)->mPos, points[k], 0.0));
    }
}

TEST(SimplePolyTest, GetVertPastTheEnd)
{
    {
        ScopedScriptedServices scope;
        SimplePoly poly(4, 2);
        EXPECT_EQ(poly.GetVert(4), nullptr);
        ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(scope.services.LastCall()->caption, "Internal Error");
        EXPECT_EQ(scope.services.LastCall()->text, "GetVert: vertIdx 4 >= mNumVerts 4");
        EXPECT_EQ(poly.GetFace(7), nullptr);
        EXPECT_EQ(scope.services.LastCall()->text, "GetFace: faceIdx 7 >= mNumFaces 2");
        EXPECT_EQ(poly.mNumVerts, 4);
        EXPECT_EQ(poly.GetVert(3), &poly.mVerts[3]);
        EXPECT_EQ(scope.services.CountCalls("MessageBox"), 2);
    }
    {
        ScopedScriptedServices scope;
        SimplePoly poly(4, 2);
        poly.mFlags |= P::kMayGrow;
        ASSERT_TRUE(poly.AllocateEdges(3));
        poly.mVerts[1].mPos = {1, 2, 3};
        poly.mVerts[1].SetText("kept");
        SimpleVert* v = poly.GetVert(4);
        ASSERT_NE(v, nullptr);
        EXPECT_EQ(poly.mNumVerts, 2 * 4 + 10);
        EXPECT_EQ(poly.mNumEdges, 0);
        EXPECT_EQ(v, &poly.mVerts[4]);
        EXPECT_EQ(v->mColor, 0x0080FFu);
        EXPECT_EQ(v->mOwner, &poly);
        EXPECT_TRUE(Vec3Equal(poly.mVerts[1].mPos, {1, 2, 3}, 0.0));
        EXPECT_EQ(poly.mVerts[1].mText, "kept");
        SimpleFace* f = poly.GetFace(5);
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(poly.mNumFaces, 2 * 5 + 10);
        EXPECT_EQ(scope.services.CountCalls("MessageBox"), 0);
    }
}

TEST(SimplePolyTest, GrowMovesFaceContentsAndKeepsRings)
{
    SimplePoly poly(3, 2);
    poly.mFlags |= P::kMayGrow;
    int next = 0;
    for (int i = 0; i < 3; ++i)
        poly.FindOrCreateVert({double(i), 0, 0}, next);
    SimpleFace& f0 = poly.mFaces[0];
    f0.SetNumVerts(3, 1);
    for (int k = 0; k < 3; ++k)
        f0.SetVert(k, &poly.mVerts[k]);
    poly.mFaces[1].SetNumVerts(3, 1);
    for (int k = 0; k < 3; ++k)
        poly.mFaces[1].SetVert(k, &poly.mVerts[2 - k]);
    poly.mFaces[0].mNextOfType = &poly.mFaces[1];
    poly.mFaces[1].mNextOfType = &poly.mFaces[0];
    poly.mFaces[1].mId = 0;
    poly.mFaces[1].mRots = 3;
    poly.mFaces[1].mOpacity = 0.5f;
    poly.mSelectedFace = &poly.mFaces[1];
    poly.CreateVertexFaceLists(true);

    ASSERT_TRUE(poly.Grow(20, 9));
    EXPECT_EQ(poly.mNumVerts, 20);
    EXPECT_EQ(poly.mNumFaces, 9);
    EXPECT_EQ(poly.mSelectedFace, &poly.mFaces[1]);
    EXPECT_EQ(poly.mFaces[0].mNextOfType, &poly.mFaces[1]);
    EXPECT_EQ(poly.mFaces[1].mNextOfType, &poly.mFaces[0]);
    EXPECT_EQ(poly.mFaces[1].mRots, 3);
    EXPECT_EQ(poly.mFaces[1].mOpacity, 0.5f);
    EXPECT_EQ(poly.mFaces[1].GetVert(0), &poly.mVerts[2]);
    for (int i = 0; i < 3; ++i)
    {
        ASSERT_EQ(poly.mVerts[i].mNum, 2);
        EXPECT_EQ(poly.mVerts[i].GetFace(0), &poly.mFaces[0]);
        EXPECT_EQ(poly.mVerts[i].GetFace(1), &poly.mFaces[1]);
    }
    EXPECT_EQ(poly.mFaces[5].mNum, 0);
    EXPECT_EQ(poly.mFaces[5].mNextOfType, &poly.mFaces[5]);
}

TEST(SimplePolyTest, SetNameRules)
{
    struct Case
    {
        const char* name;
        const char* base;
        const char* prefix;
        bool force;
        std::string expected;  // empty: no name
    };
    const std::string prefix30(30, 'p');
    const std::string base31(31, 'b');
    const std::string base30(30, 'b');
    const Case kCases[] = {
        {"base alone", "Cube", nullptr, false, "Cube"},
        {"prefix and base", "Cube", "Dual of ", false, "Dual of Cube"},
        {"base already has the prefix", "dual OF cube", "Dual of ", false, "dual OF cube"},
        {"forced prefix", "Dual of Cube", "Dual of ", true, "Dual of Dual of Cube"},
        {"blank base, blank prefix", "  ", " \t", false, ""},
        {"null base, null prefix", nullptr, nullptr, false, ""},
        {"blank base with a prefix", "", "Hull of ", false, "Hull of Polyhedron"},
        {"61 characters together", base31.c_str(), prefix30.c_str(), false, prefix30 + "Polyhedron"},
        {"60 characters together", base30.c_str(), prefix30.c_str(), false, prefix30 + base30},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SimplePoly poly;
        poly.SetName("old", nullptr, false);
        poly.SetName(c.base, c.prefix, c.force);
        EXPECT_EQ(poly.mName, c.expected);
    }

    SimplePoly poly;
    poly.SetDualName("", "Dual of ");
    EXPECT_EQ(poly.mDualName, "Dual of Dual");
    poly.SetDualName("Octahedron");
    EXPECT_EQ(poly.mDualName, "Octahedron");
    EXPECT_TRUE(poly.mName.empty());
}

TEST(SimplePolyTest, LongNamesAreCut)
{
    SimplePoly poly;
    const std::string long200(200, 'x');
    poly.SetName(long200.c_str());
    ASSERT_EQ(poly.mName.size(), 127u);
    EXPECT_EQ(poly.mName.substr(0, 124), long200.substr(0, 124));
    EXPECT_EQ(poly.mName.substr(124), "...");

    const std::string fits(127, 'y');
    poly.SetName(fits.c_str());
    EXPECT_EQ(poly.mName, fits);
    const std::string tooLong(128, 'z');
    poly.SetName(tooLong.c_str());
    EXPECT_EQ(poly.mName, std::string(124, 'z') + "...");
}

TEST(SimplePolyTest, BlankTextsStoreNothing)
{
    SimplePoly poly(1, 1);
    poly.SetComments("Made by hand");
    poly.SetLink("http://example.org/");
    poly.mVerts[0].SetText("v");
    EXPECT_EQ(poly.mComments, "Made by hand");
    EXPECT_EQ(poly.mLink, "http://example.org/");
    EXPECT_EQ(poly.mVerts[0].mText, "v");
    poly.SetComments(" \n ");
    poly.SetLink(nullptr);
    poly.mVerts[0].SetText("\t");
    EXPECT_TRUE(poly.mComments.empty());
    EXPECT_TRUE(poly.mLink.empty());
    EXPECT_TRUE(poly.mVerts[0].mText.empty());
}

TEST(SimplePolyTest, SymGroupIsCopied)
{
    SimplePoly poly;
    std::unique_ptr<SymGroup> group = SymGroup::Create(SymGroup::kOctahedral);
    poly.SetSymGroup(group.get());
    ASSERT_NE(poly.mSymGroup, nullptr);
    EXPECT_NE(poly.mSymGroup.get(), group.get());
    EXPECT_EQ(poly.mSymGroup->mKind, SymGroup::kOctahedral);
    EXPECT_EQ(poly.mSymGroup->mOrder, 24);
    poly.SetSymGroup(nullptr);
    EXPECT_EQ(poly.mSymGroup, nullptr);
}

TEST(SimplePolyTest, MemorySizeCountsRecordsListsAndTexts)
{
    EXPECT_EQ(P::GetMemorySize(nullptr), 0u);
    auto cube = MakeCube();
    const size_t bare = P::GetMemorySize(cube.get());
    EXPECT_GE(bare, sizeof(SimplePoly) + 8 * sizeof(SimpleVert) + 6 * sizeof(SimpleFace) + 24 * sizeof(void*));
    cube->SetComments("abcd");
    EXPECT_EQ(P::GetMemorySize(cube.get()), bare + 5);
    cube->CreateVertexFaceLists(false);
    EXPECT_EQ(P::GetMemorySize(cube.get()), bare + 5 + 24 * sizeof(void*));
}

TEST(SimplePolyTest, VertexFaceListsFollowTheFaces)
{
    auto cube = MakeCube();
    cube->mFlags |= P::kSortedFaceLists;
    cube->CreateVertexFaceLists(false);
    EXPECT_TRUE(cube->mFlags & P::kHasVertFaceLists);
    EXPECT_FALSE(cube->mFlags & P::kSortedFaceLists);

    // Without force nothing changes, even though a face has gone.
    cube->mFaces[2].mFlags |= E::kTemp;
    cube->mFlags |= P::kSortedFaceLists;
    cube->CreateVertexFaceLists(false);
    EXPECT_TRUE(cube->mFlags & P::kSortedFaceLists);
    EXPECT_EQ(cube->mFaces[2].GetVert(0)->mNum, 3);

    cube->CreateVertexFaceLists(true);
    EXPECT_FALSE(cube->mFlags & P::kSortedFaceLists);
    const SimpleVert* corner = cube->mFaces[2].GetVert(0);
    ASSERT_EQ(corner->mNum, 2);
    EXPECT_LT(corner->GetFace(0)->GetIndex(), corner->GetFace(1)->GetIndex());
    EXPECT_EQ(corner->CountLiveFaces(), 2);

    // A Temp vertex gets no list; a face that lists a vertex twice is entered twice.
    SimplePoly poly(4, 1);
    int next = 0;
    for (int i = 0; i < 4; ++i)
        poly.FindOrCreateVert({double(i), double(i * i), 0}, next);
    SimpleFace& f = poly.mFaces[0];
    f.SetNumVerts(5);
    const int corners[5] = {0, 1, 2, 0, 3};
    for (int k = 0; k < 5; ++k)
        f.SetVertByIndex(k, corners[k]);
    poly.mVerts[3].mFlags |= E::kTemp;
    poly.CreateVertexFaceLists(true);
    ASSERT_EQ(poly.mVerts[0].mNum, 2);
    EXPECT_EQ(poly.mVerts[0].GetFace(0), &f);
    EXPECT_EQ(poly.mVerts[0].GetFace(1), &f);
    EXPECT_EQ(poly.mVerts[1].mNum, 1);
    EXPECT_EQ(poly.mVerts[3].mNum, 0);
}

TEST(SimplePolyTest, NormalsPointAwayFromTheCentre)
{
    auto cube = MakeCube();
    cube->SetNormals(false);
    for (int f = 0; f < 6; ++f)
    {
        const SimpleFace& face = cube->mFaces[f];
        // The face's centre is its outward normal for this cube.
        Vec3D centre;
        for (int k = 0; k < 4; ++k)
            Vec3AddTo(centre, face.GetVert(k)->mPos);
        Vec3Div(centre, centre, 4.0);
        EXPECT_TRUE(Vec3Equal(face.mNormal, centre, 1e-12)) << "face " << f;
        EXPECT_FALSE(face.mFlags & E::kPlaneThroughCentre);
    }

    // Only unset normals are computed unless all are asked for.
    cube->mFaces[0].mNormal = {0, 0, 5};
    cube->SetNormals(false);
    EXPECT_TRUE(Vec3Equal(cube->mFaces[0].mNormal, {0, 0, 5}, 0.0));
    cube->SetNormals(true, 1);
    EXPECT_TRUE(Vec3Equal(cube->mFaces[0].mNormal, {0, 0, 5}, 0.0));
    cube->SetNormals(true);
    EXPECT_TRUE(Vec3Equal(cube->mFaces[0].mNormal, {1, 0, 0}, 1e-12));

    // A square through the centre, with its first three corners in a line: the outline decides.
    SimplePoly poly(5, 1);
    int next = 0;
    SimpleFace& f = poly.mFaces[0];
    f.SetNumVerts(5);
    const Vec3D corners[5] = {{-1, 0, -1}, {0, 0, -1}, {1, 0, -1}, {1, 0, 1}, {-1, 0, 1}};
    for (int k = 0; k < 5; ++k)
        f.SetVert(k, poly.FindOrCreateVert(corners[k], next));
    poly.SetNormals(true);
    EXPECT_TRUE(f.mFlags & E::kPlaneThroughCentre);
    EXPECT_TRUE(Vec3Equal(f.mNormal, {0, -1, 0}, 1e-12) || Vec3Equal(f.mNormal, {0, 1, 0}, 1e-12));
}

TEST(SimplePolyTest, RemoveDegenerateCornersCleansFaces)
{
    // A square with a repeated corner and a spike out to (3, 0, 0) and back, a sliver of two
    // distinct corners, and a vertex that no face uses.
    SimplePoly poly(7, 2);
    int next = 0;
    auto at = [&](double x, double y) { return poly.FindOrCreateVert({x, y, 0}, next); };
    SimpleVert* a = at(0, 0);
    SimpleVert* b = at(1, 0);
    SimpleVert* spike = at(3, 0);
    SimpleVert* c = at(1, 1);
    SimpleVert* d = at(0, 1);
    SimpleVert* lone = at(9, 9);
    SimpleFace& square = poly.mFaces[0];
    SimpleVert* corners[] = {a, b, spike, b, c, c, d};
    square.SetNumVerts(7);
    for (int k = 0; k < 7; ++k)
        square.SetVert(k, corners[k]);
    SimpleFace& sliver = poly.mFaces[1];
    sliver.SetNumVerts(4);
    SimpleVert* sliverCorners[] = {a, spike, a, spike};
    for (int k = 0; k < 4; ++k)
        sliver.SetVert(k, sliverCorners[k]);
    poly.mNumVerts = next;
    poly.mFlags |= P::kHasVertFaceLists;

    poly.CleanFaces();
    ASSERT_EQ(square.mNum, 4);
    EXPECT_EQ(square.GetVert(0), a);
    EXPECT_EQ(square.GetVert(1), b);
    EXPECT_EQ(square.GetVert(2), c);
    EXPECT_EQ(square.GetVert(3), d);
    EXPECT_TRUE(sliver.mFlags & E::kTemp);
    EXPECT_TRUE(poly.mFlags & P::kHasVertFaceLists);
    EXPECT_TRUE(spike->mFlags & E::kTemp);
    EXPECT_TRUE(lone->mFlags & E::kTemp);
    EXPECT_FALSE(a->mFlags & E::kTemp);
    EXPECT_EQ(a->mNum, 1);
    EXPECT_EQ(P::CountFacesWithout(&poly, E::kTemp), 1);
    EXPECT_EQ(P::CountFacesWithout(nullptr, E::kTemp), 0);

    // A spike that wraps round the end of the list: the last corner and the first go.
    SimplePoly wrap(5, 1);
    next = 0;
    SimpleVert* p = wrap.FindOrCreateVert({0, 0, 0}, next);
    SimpleVert* q = wrap.FindOrCreateVert({2, 0, 0}, next);
    SimpleVert* r = wrap.FindOrCreateVert({2, 2, 0}, next);
    SimpleVert* tip = wrap.FindOrCreateVert({-4, -4, 0}, next);
    SimpleFace& f = wrap.mFaces[0];
    SimpleVert* wrapCorners[] = {tip, p, q, r, p};
    f.SetNumVerts(5);
    for (int k = 0; k < 5; ++k)
        f.SetVert(k, wrapCorners[k]);
    wrap.mNumVerts = next;
    wrap.RemoveDegenerateCorners();
    ASSERT_EQ(f.mNum, 3);
    EXPECT_EQ(f.GetVert(0), p);
    EXPECT_EQ(f.GetVert(1), q);
    EXPECT_EQ(f.GetVert(2), r);
    EXPECT_TRUE(tip->mFlags & E::kTemp);
}

TEST(SimplePolyTest, ProjectOntoSphere)
{
    auto cube = MakeCube();
    EXPECT_TRUE(cube->ProjectOntoSphere());
    for (int i = 0; i < cube->mNumVerts; ++i)
        EXPECT_NEAR(Vec3Length(cube->mVerts[i].mPos), 1.0, 1e-12);

    // A planar quadrilateral whose corners lie at different distances bends when projected.
    ScopedScriptedServices scope;
    SimplePoly poly(4, 1);
    int next = 0;
    SimpleFace& f = poly.mFaces[0];
    f.SetNumVerts(4);
    const Vec3D corners[4] = {{1, 0, 1}, {0, 1, 1}, {-2, 0, 1}, {0, -1, 1}};
    for (int k = 0; k < 4; ++k)
        f.SetVert(k, poly.FindOrCreateVert(corners[k], next));
    EXPECT_FALSE(poly.ProjectOntoSphere());
    ASSERT_EQ(scope.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(scope.services.LastCall()->text,
              "After projecting vertices onto a sphere,\nsome of the faces would no longer be planar.\n"
              "So the operation is not allowed for this model.");
    EXPECT_NEAR(Vec3Length(poly.mVerts[2].mPos), 1.0, 1e-12);
}

TEST(SimplePolyTest, CentroidTranslateScaleStretch)
{
    auto cube = MakeCube();
    EXPECT_NEAR(cube->GetRadius(), std::sqrt(3.0), 1e-12);
    cube->Translate({-1, -2, -3});
    Vec3D centroid = cube->GetVertexCentroid();
    EXPECT_TRUE(Vec3Equal(centroid, {1, 2, 3}, 1e-12));

    // Coincident vertices count once; Temp ones not at all; the marks are cleared.
    SimplePoly poly(4, 0);
    poly.mVerts[0].mPos = {0, 0, 0};
    poly.mVerts[1].mPos = {0, 0, 0};
    poly.mVerts[2].mPos = {3, 0, 0};
    poly.mVerts[3].mPos = {100, 0, 0};
    poly.mVerts[0].mNextCoincident = &poly.mVerts[1];
    poly.mVerts[1].mNextCoincident = &poly.mVerts[0];
    poly.mVerts[3].mFlags |= E::kTemp;
    EXPECT_TRUE(Vec3Equal(poly.GetVertexCentroid(), {1.5, 0, 0}, 1e-12));
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(poly.mVerts[i].mFlags & E::kDone);
    EXPECT_NEAR(poly.GetRadius(), 3.0, 0.0);
    poly.Centralise();
    EXPECT_TRUE(Vec3Equal(poly.mVerts[2].mPos, {1.5, 0, 0}, 1e-12));
    poly.Translate({5e-8, -5e-8, 0});
    EXPECT_TRUE(Vec3Equal(poly.mVerts[2].mPos, {1.5, 0, 0}, 0.0));

    // Scaling reaches the stored plane points of empty faces, except planes through the centre.
    SimplePoly planes(1, 2);
    planes.mVerts[0].mPos = {1, 1, 1};
    planes.mFaces[0].SetNumVerts(0);
    planes.mFaces[1].SetNumVerts(0);
    EXPECT_TRUE(planes.mFlags & P::kHasEmptyFaces);
    planes.mFaces[0].mNormal = {0, 0, 2};
    planes.mFaces[1].mNormal = {0, 1, 0};
    planes.mFaces[1].mFlags |= E::kPlaneThroughCentre;
    planes.Scale(1.00000005);
    EXPECT_TRUE(Vec3Equal(planes.mVerts[0].mPos, {1, 1, 1}, 0.0));
    planes.Scale(3.0);
    EXPECT_TRUE(Vec3Equal(planes.mVerts[0].mPos, {3, 3, 3}, 0.0));
    EXPECT_TRUE(Vec3Equal(planes.mFaces[0].mNormal, {0, 0, 6}, 0.0));
    EXPECT_TRUE(Vec3Equal(planes.mFaces[1].mNormal, {0, 1, 0}, 0.0));

    // Stretching doubles the component along the direction and keeps the rest.
    const Vec3D u{0.6, 0.8, 0};
    planes.StretchAlong(2.0, u);
    const double along = Vec3Dot(u, {3, 3, 3});
    EXPECT_NEAR(Vec3Dot(u, planes.mVerts[0].mPos), 2.0 * along, 1e-12);
    EXPECT_NEAR(planes.mVerts[0].mPos.z, 3.0, 1e-12);
}

TEST(SimplePolyTest, RingsAndIndices)
{
    SimplePoly poly(3, 4);
    poly.mFaces[1].mFlags |= E::kTemp;
    EXPECT_EQ(poly.mFaces[0].GetLiveIndex(), 0);
    EXPECT_EQ(poly.mFaces[1].GetLiveIndex(), -1);
    EXPECT_EQ(poly.mFaces[2].GetLiveIndex(), 1);
    EXPECT_EQ(poly.mFaces[3].GetLiveIndex(), 2);
    SimpleFace stray;
    EXPECT_EQ(stray.GetLiveIndex(), -999);
    EXPECT_EQ(stray.GetIndex(), -1);

    SimpleFace* f = poly.mFaces.get();
    f[0].JoinCoincident(&f[1]);
    f[2].JoinCoincident(&f[3]);
    EXPECT_EQ(f[0].CountCoincident(), 2);
    f[1].JoinCoincident(&f[3]);
    EXPECT_EQ(f[0].CountCoincident(), 4);
    EXPECT_EQ(f[2].CountCoincident(), 4);
    f[3].JoinCoincident(&f[0]);  // already one ring: unchanged
    EXPECT_EQ(f[1].CountCoincident(), 4);

    poly.mVerts[0].mNextCoincident = &poly.mVerts[2];
    poly.mVerts[2].mNextCoincident = &poly.mVerts[0];
    poly.mVerts[2].MarkCoincident(E::kHidden);
    EXPECT_TRUE(poly.mVerts[0].mFlags & E::kHidden);
    EXPECT_FALSE(poly.mVerts[1].mFlags & E::kHidden);
    poly.mVerts[0].UnmarkCoincident(E::kHidden);
    EXPECT_FALSE(poly.mVerts[2].mFlags & E::kHidden);

    poly.ResetCoincidence();
    poly.ResetTypeIds();
    for (int i = 0; i < 4; ++i)
    {
        EXPECT_EQ(f[i].CountCoincident(), 1);
        EXPECT_EQ(f[i].mId, i);
        EXPECT_EQ(f[i].mNextOfType, &f[i]);
    }
    EXPECT_EQ(poly.mVerts[2].mNextCoincident, &poly.mVerts[2]);
    EXPECT_EQ(poly.mVerts[2].mId, 2);

    poly.mVerts[0].mFlags |= E::kDone | E::kHidden;
    poly.mFaces[0].mFlags |= E::kDone;
    poly.ClearFlags(E::kDone);
    EXPECT_EQ(poly.mVerts[0].mFlags, E::kHidden);
    EXPECT_EQ(poly.mFaces[0].mFlags, E::kIsFace);
}

TEST(SimplePolyTest, FindCoincidentVertSearchesAfterStart)
{
    SimplePoly poly(4, 1);
    poly.mVerts[0].mPos = {1, 1, 1};
    poly.mVerts[1].mPos = {2, 2, 2};
    poly.mVerts[2].mPos = {1, 1, 1 + 5e-8};
    poly.mVerts[3].mPos = {1, 1, 1};
    SimpleFace& f = poly.mFaces[0];
    f.SetNumVerts(4);
    for (int k = 0; k < 4; ++k)
        f.SetVert(k, &poly.mVerts[k]);
    EXPECT_EQ(f.FindCoincidentVert(&poly.mVerts[0], -1), 0);
    EXPECT_EQ(f.FindCoincidentVert(&poly.mVerts[0], 0), 2);
    EXPECT_EQ(f.FindCoincidentVert(&poly.mVerts[0], 2), 3);
    EXPECT_EQ(f.FindCoincidentVert(&poly.mVerts[0], 3), -1);
    EXPECT_EQ(f.FindCoincidentVert(&poly.mVerts[1], 1), -1);
}

TEST(SimplePolyTest, HiddenVerticesBetweenHiddenFaces)
{
    ElementOptionsGuard guard;
    auto cube = MakeCube();
    cube->CreateVertexFaceLists(false);
    SimpleVert& v = cube->mVerts[0];
    EXPECT_FALSE(v.IsHidden());
    for (int k = 0; k < v.mNum; ++k)
        v.GetFace(k)->mFlags |= (k == 0 ? E::kTemp : E::kHidden);
    EXPECT_FALSE(v.IsHidden());
    GetElementDisplayOptions().mHideBetweenHiddenFaces = true;
    EXPECT_TRUE(v.IsHidden());
    v.GetFace(1)->mFlags &= ~E::kHidden;
    EXPECT_FALSE(v.IsHidden());
    GetElementDisplayOptions().mHideBetweenHiddenFaces = false;
    v.mFlags |= E::kHidden;
    EXPECT_TRUE(v.IsHidden());
}

TEST(SimplePolyTest, CopiesTakeTheHeaderButNotTheType)
{
    SimplePoly from(1, 1);
    SimplePoly to(1, 1);
    SimpleVert& a = from.mVerts[0];
    a.mPos = {1, 2, 3};
    a.mUserData[1] = 7.5;
    a.mFlags = E::kDone | E::kTemp | E::kHidden | E::kInf | E::kInTree | E::kSplitMe | 0x2;
    a.mColor = 0x123456;
    a.mBackColor = 0x654321;
    a.mOpacity = 0.25f;
    a.mId = 9;
    a.SetText("A");
    SimpleVert& b = to.mVerts[0];
    b.CopyFrom(a, true);
    EXPECT_TRUE(Vec3Equal(b.mPos, {1, 2, 3}, 0.0));
    EXPECT_EQ(b.mUserData[1], 7.5);
    EXPECT_EQ(b.mFlags, E::kDone | E::kTemp | E::kHidden | E::kInf | E::kInTree);  // InTree from SetPos
    EXPECT_EQ(b.mColor, 0x123456u);
    EXPECT_EQ(b.mBackColor, 0x654321u);
    EXPECT_EQ(b.mOpacity, 0.25f);
    EXPECT_EQ(b.mText, "A");
    EXPECT_EQ(b.mId, -1);
    EXPECT_EQ(to.mVertTree, &b);

    SimpleFace& f = from.mFaces[0];
    f.mNormal = {0, 0, 1};
    f.mFlags |= E::kPlaneThroughCentre | E::kReverseNorm | E::kReversed;
    SimpleFace& g = to.mFaces[0];
    g.CopyFrom(f);
    EXPECT_TRUE(Vec3Equal(g.mNormal, {0, 0, 1}, 0.0));
    EXPECT_EQ(g.mFlags, E::kIsFace | E::kPlaneThroughCentre | E::kReverseNorm);
}

TEST(SimplePolyTest, StandsForA4DPolytope)
{
    auto polytope = std::make_unique<Polytope4D>();
    const Vec4D pos{1, 2, 3, 4};
    polytope->NewVert(&pos);
    polytope->mScale = 3.0;
    Polytope4D* raw = polytope.get();

    SimplePoly poly(5, 5);
    poly.SetName("Old");
    poly.InitFromPolytope4D(std::move(polytope), true);
    EXPECT_EQ(poly.mNumVerts, 0);
    EXPECT_EQ(poly.mNumFaces, 0);
    EXPECT_TRUE(poly.mFlags & P::kFrom4D);
    EXPECT_EQ(poly.mPolytope4D.get(), raw);
    EXPECT_DOUBLE_EQ(poly.mScale, 24.0);
    EXPECT_DOUBLE_EQ(raw->mScale, 1.0);

    // Scaling a model of a polytope scales the polytope.
    poly.Scale(2.0);
    EXPECT_EQ(raw->GetVert(0)->mPos.w, 8.0);
    poly.Clear();
    EXPECT_EQ(poly.mPolytope4D, nullptr);
}

TEST(SimplePolyTest, CornersOutsideTheListAreRefused)
{
    ScopedScriptedServices scope;
    SimplePoly poly(1, 1);
    SimpleFace& f = poly.mFaces[0];
    f.SetNumVerts(3);
    f.SetVert(3, &poly.mVerts[0]);
    f.SetVert(-1, &poly.mVerts[0]);
    EXPECT_EQ(scope.services.CountCalls("MessageBox"), 2);
    EXPECT_EQ(scope.services.LastCall()->caption, "Internal Error");
    EXPECT_FALSE(f.SetVertByIndex(0, 1));
    EXPECT_EQ(scope.services.LastCall()->text, "GetVert: vertIdx 1 >= mNumVerts 1");
    for (int k = 0; k < 3; ++k)
        EXPECT_EQ(f.GetVert(k), nullptr);
    EXPECT_TRUE(f.SetVertByIndex(2, 0));
    EXPECT_EQ(f.GetVert(2), &poly.mVerts[0]);
}

TEST(SimplePolyTest, DestroyingVerticesEmptiesTheTree)
{
    auto cube = MakeCube();
    ASSERT_NE(cube->mVertTree, nullptr);
    cube->Clear();
    EXPECT_EQ(cube->mVertTree, nullptr);
    EXPECT_EQ(cube->mNumVerts, 0);
    EXPECT_EQ(cube->mNumFaces, 0);
}

TEST(SimplePolyTest, DumpTracesTheModelAndBrokenRings)
{
    auto cube = MakeCube();
    cube->SetName("Cube");
    cube->mVerts[0].mNextCoincident = &cube->mVerts[1];  // a ring that never returns to vertex 0
    gTrace.clear();
    TraceSink previous = SetTraceSink(RecordTrace);
    P::Dump(cube.get());
    P::Dump(nullptr);
    SetTraceSink(previous);
    std::string all;
    for (const std::string& line : gTrace)
        all += line;
    EXPECT_NE(all.find("\nSimplePoly 'Cube': 8 verts, 6 faces, scale 8\n"), std::string::npos);
    EXPECT_NE(all.find("BAD_COINC_LIST!"), std::string::npos);
    EXPECT_EQ(all.find("BAD_TYPE_LIST!"), std::string::npos);
    EXPECT_NE(all.find("\nSimplePoly: NULL\n"), std::string::npos);
}

TEST(SimplePolyTest, CopiedImagesBecomeOneClonePlacedByTheMatchingElement)
{
    auto a = MakeCube();
    auto b = MakeCube();
    ClearFaceImageClones();
    // Face 1 shows an image placed by face 0; face 2 shows the same image.
    FaceImage* image = FaceImage::Create(nullptr, FaceImage::kProjectPlanar, FaceImage::kWrapRepeat,
                                         a->GetFace(0), false);
    a->GetFace(1)->mImage.Set(image);
    a->GetFace(2)->mImage.Set(image);
    EXPECT_EQ(image->GetUserCount(), 2);

    b->GetFace(1)->CopyHeaderFrom(*a->GetFace(1));
    b->GetFace(2)->CopyHeaderFrom(*a->GetFace(2));
    FaceImage* clone = b->GetFace(1)->mImage.Get();
    ASSERT_NE(clone, nullptr);
    EXPECT_NE(clone, image);
    EXPECT_EQ(b->GetFace(2)->mImage.Get(), clone);  // one clone for every carrier
    EXPECT_EQ(clone->mOwner, b->GetFace(0));       // placed by the element at the same place
    EXPECT_EQ(clone->mProjection, FaceImage::kProjectPlanar);

    // The original goes with its last carrier; the clone stays with the copy.
    a.reset();
    for (FaceImage* i = GetFirstFaceImage(); i; i = i->next)
        EXPECT_NE(i, image);
    EXPECT_EQ(clone->GetUserCount(), 2);
    b.reset();
    EXPECT_FALSE(FaceImagesExist());
}

TEST(SimplePolyTest, GrowKeepsImagesAndTheirPlacement)
{
    auto cube = MakeCube();
    FaceImage* image = FaceImage::Create(nullptr, FaceImage::kProjectEachFace, FaceImage::kWrapRepeat,
                                         cube->GetFace(3), false);
    cube->GetFace(3)->mImage.Set(image);
    ASSERT_TRUE(cube->Grow(cube->mNumVerts, 40));
    EXPECT_EQ(cube->GetFace(3)->mImage.Get(), image);
    EXPECT_EQ(image->mOwner, cube->GetFace(3));
    EXPECT_EQ(image->GetUserCount(), 1);
    cube.reset();
    EXPECT_FALSE(FaceImagesExist());
}
