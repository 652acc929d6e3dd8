// Laying facelets flat and the overlap test on small hand-made meshes, and the edge cases of
// growing, combining and merging.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Net.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace
{
class NetPlacementTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        mMaxFaces = GetUnitSettings().mMaxFacesPerNet;
        mPages = GetUnitSettings().mColorPagesMode;
        GetUnitSettings().mMaxFacesPerNet = 1000000;
        GetUnitSettings().mColorPagesMode = kMultiColorPages;
    }
    void TearDown() override
    {
        GetUnitSettings().mMaxFacesPerNet = mMaxFaces;
        GetUnitSettings().mColorPagesMode = mPages;
        LibraryStateTest::TearDown();
    }

    ScopedScriptedServices mScripted;

private:
    int mMaxFaces = 0, mPages = 0;
};

// Four unit squares around the origin in the plane z = 0: A lower left, B lower right, C upper
// right, D upper left, each a type of its own, counterclockwise from their lower left corner.
struct Grid
{
    Model3D model{nullptr, nullptr};
    Face3D* face[4] = {};
    Edge3D* Edge(int f, int k) { return &face[f]->mEdges[size_t(k)]; }
};

void BuildGrid(Grid& g)
{
    std::vector<Vec3D> points;
    for (int y = -1; y <= 1; ++y)
        for (int x = -1; x <= 1; ++x)
            points.push_back(Vec3D{double(x), double(y), 0.0});
    BuildMesh(g.model, points, {{0, 1, 4, 3}, {1, 2, 5, 4}, {4, 5, 8, 7}, {3, 4, 7, 6}});
    g.model.ConnectEdges();
    for (int f = 0; f < 4; ++f)
        g.face[f] = g.model.GetFace(f);
    // The root lies where its plane coordinates put it.
    for (int k = 0; k < 4; ++k)
        g.Edge(0, k)->mNetPos = g.Edge(0, k)->mFacePos;
}

Vec2D Apply(const double m[6], const Vec2D& p)
{
    return Vec2D{m[0] * p.x + m[2] * p.y + m[4], m[1] * p.x + m[3] * p.y + m[5]};
}

// Net A-B-C laid out; D is then placed across C with the test.
struct ClosingCase
{
    const char* name;
    uint32_t extraFlags;  // on D's edge lying on A
    bool dropPartner;     // D's edge and A's edge no longer partners
    bool accepted;
};
}  // namespace

TEST_F(NetPlacementTest, EqualEdgesLandOnEachOtherReversed)
{
    Grid g;
    BuildGrid(g);
    Net net;
    net.Init(nullptr, g.face[0]);
    // A's edge 1 (0,-1)->(0,0) and B's edge 3 (0,0)->(0,-1).
    ASSERT_EQ(g.Edge(0, 1)->mNeigh, g.Edge(1, 3));
    ASSERT_TRUE(CalcUnfoldedFacePos2D(g.Edge(0, 1), g.Edge(1, 3), false, nullptr));
    // B's edge 3 ends where A's edge 1 starts, exactly, and starts where it ends.
    EXPECT_EQ(g.Edge(1, 0)->mNetPos.x, g.Edge(0, 1)->mNetPos.x);
    EXPECT_EQ(g.Edge(1, 0)->mNetPos.y, g.Edge(0, 1)->mNetPos.y);
    EXPECT_TRUE(Vec2Equal(g.Edge(1, 3)->mNetPos, g.Edge(0, 2)->mNetPos, 1e-12));
    // B lands to the right of A, not folded over it.
    EXPECT_NEAR(g.Edge(1, 1)->mNetPos.x - g.Edge(0, 0)->mNetPos.x, 2.0, 1e-12);
}

TEST_F(NetPlacementTest, AFlippedFaceletStoresItsMapWithTheFirstColumnNegated)
{
    Grid g;
    BuildGrid(g);
    Face3D* b = g.face[1];
    b->mFlags |= kFace3DFlipped;
    for (int k = 0; k < 4; ++k)
        b->mEdges[size_t(k)].mFacePos.x = -b->mEdges[size_t(k)].mFacePos.x;
    double map[6];
    Edge3D::CalcJoinTransform(g.Edge(0, 1), g.Edge(1, 3), map);
    ASSERT_TRUE(CalcUnfoldedFacePos2D(g.Edge(0, 1), g.Edge(1, 3), false, nullptr));
    EXPECT_EQ(b->mNetPlacement[0], -map[0]);
    EXPECT_EQ(b->mNetPlacement[1], -map[1]);
    for (int k = 2; k < 6; ++k)
        EXPECT_EQ(b->mNetPlacement[k], map[k]);
    for (int k = 0; k < 4; ++k)
    {
        const Edge3D& e = b->mEdges[size_t(k)];
        // The edges are placed with the map as computed; the stored map takes the true plane
        // coordinates (x not negated) to the same places.
        EXPECT_TRUE(Vec2Equal(e.mNetPos, Apply(map, e.mFacePos), 1e-12));
        EXPECT_TRUE(Vec2Equal(e.mNetPos, Apply(b->mNetPlacement, Vec2D{-e.mFacePos.x, e.mFacePos.y}), 1e-12));
    }
}

TEST_F(NetPlacementTest, ClosingTheNetAroundAVertexMeetsOnlyThePartnerEdge)
{
    const ClosingCase kCases[] = {
        {"partner edge: a meeting edge", 0, false, true},
        {"cut by the user: overlap", kEdge3DUserCut, false, false},
        {"cannot join: overlap", kEdge3DCannotJoin, false, false},
        {"not the partner: overlap", 0, true, false},
    };
    for (const ClosingCase& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Grid g;
        BuildGrid(g);
        Net net;
        net.Init(nullptr, g.face[0]);
        ASSERT_TRUE(CalcUnfoldedFacePos2D(g.Edge(0, 1), g.Edge(1, 3), true, nullptr));
        net.AddFace(g.Edge(0, 1), g.Edge(1, 3));
        ASSERT_EQ(g.Edge(1, 2)->mNeigh, g.Edge(2, 0));
        ASSERT_TRUE(CalcUnfoldedFacePos2D(g.Edge(1, 2), g.Edge(2, 0), true, nullptr));
        net.AddFace(g.Edge(1, 2), g.Edge(2, 0));
        // D's edge 0 (-1,0)->(0,0) will lie on A's edge 2 (0,0)->(-1,0).
        Edge3D* onA = g.Edge(3, 0);
        ASSERT_EQ(onA->mNeigh, g.Edge(0, 2));
        onA->mFlags |= c.extraFlags;
        if (c.dropPartner)
            onA->mNeigh = g.Edge(0, 2)->mNeigh = nullptr;
        MeetingList list;
        ASSERT_EQ(g.Edge(2, 3)->mNeigh, g.Edge(3, 1));
        EXPECT_EQ(CalcUnfoldedFacePos2D(g.Edge(2, 3), g.Edge(3, 1), true, &list), c.accepted);
        if (c.accepted)
        {
            ASSERT_EQ(list.size(), 1u);
            EXPECT_EQ(list[0], onA);
            MarkMeetingEdges(list, false);
            EXPECT_TRUE(list.empty());
            EXPECT_TRUE(onA->mFlags & kEdge3DMeeting);
            EXPECT_TRUE(g.Edge(0, 2)->mFlags & kEdge3DMeeting);
        }
        // The join edge's own flags are as they were.
        EXPECT_TRUE(g.Edge(2, 3)->mFlags == 0 || !(g.Edge(2, 3)->mFlags & kEdge3DJoinBits));
    }
}

TEST_F(NetPlacementTest, TheCornerTestAcceptsExactlyWhenTheWedgeTurnsAway)
{
    // The net's outline edge o runs from (-1, 0) to the corner P = (0, 0); the new triangle starts
    // its edge s at P. Each case gives the triangle's other two corners.
    struct Case
    {
        const char* name;
        Vec2D s1, x;  // s runs P -> s1, the edge before s runs x -> P
    };
    const double c120 = std::cos(2 * kPi / 3), s120 = std::sin(2 * kPi / 3);
    const Case kCases[] = {
        {"below and right", {0, -1}, {1, 0}},
        {"straight below", {-1, -1}, {1, -1}},
        {"around o itself", {c120, s120}, {c120, -s120}},
        {"folded back over o", {-1, 0.2}, {-1, 0.1}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Model3D model(nullptr, nullptr);
        const int32_t three = 3, two = 2;
        Face3DType* tri = model.AppendFaceType(std::make_unique<Face3DType>(&model, 1, std::span(&three, 1)), false);
        Face3DType* seg = model.AppendFaceType(std::make_unique<Face3DType>(&model, 1, std::span(&two, 1)), false);
        Face3D& t = tri->mFaces[0];
        Face3D& o = seg->mFaces[0];
        Net net;
        net.Init(nullptr, &o);
        o.mEdges[0].mNetPos = Vec2D{-1, 0};
        o.mEdges[1].mNetPos = Vec2D{0, 0};
        t.mEdges[0].mNetPos = Vec2D{0, 0};
        t.mEdges[1].mNetPos = c.s1;
        t.mEdges[2].mNetPos = c.x;
        // Independently: the angles from o's direction to the two edges at P, counterclockwise.
        auto ccw = [](const Vec2D& v) {
            const double a = std::atan2(v.y, v.x);
            return a < 0 ? a + 2 * kPi : a;
        };
        auto unit = [](const Vec2D& from, const Vec2D& to) {
            const Vec2D d{to.x - from.x, to.y - from.y};
            return Vec2D{d.x / Vec2Length(d), d.y / Vec2Length(d)};
        };
        const double e = ccw(unit(c.x, Vec2D{0, 0}));
        const double m = ccw(unit(c.s1, Vec2D{0, 0}));
        EXPECT_NEAR(CcwAngle2D(1, 0, unit(c.x, Vec2D{0, 0}).x, unit(c.x, Vec2D{0, 0}).y), e, 1e-12);
        EXPECT_EQ(Edge3D::TestEdgeAgainst(&t.mEdges[0], &o.mEdges[0], nullptr), m < e ? 0 : 12)
            << "m " << m << " e " << e;
    }
}

TEST_F(NetPlacementTest, AnOutlineWalkThatNeverReturnsAnswersFalse)
{
    // Square A in a net; N below it to be placed across A's bottom edge. A's right edge is joined to
    // a far triangle T whose edges lead round T for ever, never back to A.
    Model3D model(nullptr, nullptr);
    const std::vector<Vec3D> points = {{0, 0, 0},  {1, 0, 0},  {1, 1, 0},  {0, 1, 0},
                                       {0, -1, 0}, {1, -1, 0}, {10, 10, 0}, {11, 10, 0}, {10, 11, 0}};
    BuildMesh(model, points, {{0, 1, 2, 3}, {0, 4, 5, 1}, {6, 7, 8}});
    model.ConnectEdges();
    Face3D* a = model.GetFace(0);
    Face3D* n = model.GetFace(1);
    Face3D* t = model.GetFace(2);
    for (Face3D* f : {a, t})
        for (int k = 0; k < f->mType->mNumSides; ++k)
            f->mEdges[size_t(k)].mNetPos = f->mEdges[size_t(k)].mFacePos;
    Net net;
    net.Init(nullptr, a);
    t->mNet = &net;
    Edge3D* a1 = &a->mEdges[1];
    a1->mNeigh = &t->mEdges[0];
    a1->mFlags |= kEdge3DJoined;
    t->mEdges[0].mNeigh = &t->mEdges[2];
    t->mEdges[0].mFlags |= kEdge3DJoinedOtherSide;
    ASSERT_EQ(a->mEdges[0].mNeigh, &n->mEdges[3]);
    EXPECT_FALSE(CalcUnfoldedFacePos2D(&a->mEdges[0], &n->mEdges[3], true, nullptr));
    EXPECT_EQ(a->mEdges[0].mFlags & kEdge3DJoinBits, 0u);
}

TEST_F(NetPlacementTest, ATrialRelayoutFailsAtAJoinWithoutPartner)
{
    Grid g;
    BuildGrid(g);
    Net na, nb;
    na.Init(nullptr, g.face[0]);
    nb.Init(nullptr, g.face[1]);
    // B's bottom edge says it is joined, but nothing lies across it.
    ASSERT_EQ(g.Edge(1, 0)->mNeigh, nullptr);
    g.Edge(1, 0)->mFlags |= kEdge3DJoined;
    g.Edge(0, 1)->mFlags |= kEdge3DJoined;
    g.Edge(1, 3)->mFlags |= kEdge3DJoinedOtherSide;
    MeetingList list;
    EXPECT_FALSE(nb.TryRelayout(g.Edge(0, 1), &list));
    // Without the broken join the same trial succeeds.
    g.Edge(1, 0)->mFlags &= ~kEdge3DJoined;
    EXPECT_TRUE(nb.TryRelayout(g.Edge(0, 1), &list));
    EXPECT_TRUE(Vec2Equal(g.Edge(1, 0)->mNetPos, g.Edge(0, 1)->mNetPos, 1e-12));
}

TEST_F(NetPlacementTest, ARingOfMoreThanAHundredAndOneFaceletsIsReportedAndNotUsed)
{
    // A shallow cone of 102 triangles around one apex.
    Model3D model(nullptr, nullptr);
    const int n = 102;
    std::vector<Vec3D> points = {Vec3D{0, 0, 0.05}};
    for (int k = 0; k < n; ++k)
        points.push_back(Vec3D{std::cos(2 * kPi * k / n), std::sin(2 * kPi * k / n), 0.0});
    std::vector<std::vector<int>> faces;
    for (int k = 0; k < n; ++k)
        faces.push_back({0, 1 + k, 1 + (k + 1) % n});
    BuildMesh(model, points, faces);
    model.ConnectEdges();
    model.CreateNets();
    int loopErrors = 0;
    for (const auto& call : mScripted.services.calls)
        loopErrors += call.text.find("GenerateNets: Failed to find edge loop around vertex 0") == 0;
    EXPECT_EQ(loopErrors, 1);
    // No net holds the whole ring; every facelet is in one net all the same.
    int facelets = 0;
    for (const NetType* type = model.mNetTypes; type; type = type->mNext)
        for (int k = 0; k < type->mNumNets; ++k)
            facelets += Net::GetNumFaces(&type->mNets[size_t(k)]);
    EXPECT_EQ(facelets, n);
}

// The triakis tetrahedron: twelve triangles off every axis, one per rotation of the tetrahedral
// group, each a net of its own and asymmetric. Across an edge at an apex three copies go round
// the apex; across a base edge two copies face each other over a 2-fold axis.
NetType* SingleTriangleNets(Model3D& mesh)
{
    NetType* type = new NetType(1, 0);
    type->Append(mesh.mNetTypes, mesh.mLastNetType);
    if (!type->CreateFromFaceType(mesh.mFaceTypes) || type->mNumNets != 12)
        return nullptr;
    return type;
}

TEST_F(NetPlacementTest, CopiesInACycleCombineWithTheRootInTheMiddle)
{
    struct Case
    {
        const char* name;
        int maxFaces;
        int nets, symOrder;
    };
    const Case kCases[] = {
        {"three round an apex", 1000000, 4, 3},
        {"room for two faces: two across a base edge", 2, 6, 2},
        {"room for one face: nothing", 1, 12, 1},
    };
    auto row = OpenRow(*FindLibraryEntry("Truncated Tetrahedron", nullptr, false));
    ASSERT_TRUE(row);
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetUnitSettings().mMaxFacesPerNet = c.maxFaces;
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, true);
        NetType* type = SingleTriangleNets(*mesh);
        ASSERT_TRUE(type);
        type->TryToCombineNets(3);
        EXPECT_EQ(type->mNumNets, c.nets);
        EXPECT_EQ(type->mSymOrder, c.symOrder);
        for (int k = 0; k < type->mNumNets; ++k)
        {
            const Net& net = type->mNets[size_t(k)];
            ASSERT_EQ(Net::GetNumFaces(&net), c.symOrder);
            int joins = 0, rootJoins = 0;
            for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet)
            {
                EXPECT_EQ(f->mNet, &net);
                for (int j = 0; j < 3; ++j)
                {
                    joins += (f->mEdges[size_t(j)].mFlags & kEdge3DJoined) != 0;
                    rootJoins += f == net.mFirstFace && (f->mEdges[size_t(j)].mFlags & kEdge3DJoinBits);
                }
            }
            EXPECT_EQ(joins, c.symOrder - 1);
            // Three copies: the root is the middle one, joined to both others.
            if (c.symOrder == 3)
            {
                EXPECT_EQ(rootJoins, 2);
            }
        }
    }
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);
}

TEST_F(NetPlacementTest, ATypeWithAReflexFoldIsNeverMerged)
{
    auto row = OpenRow(*FindLibraryEntry("Truncated Tetrahedron", nullptr, false));
    ASSERT_TRUE(row);
    for (bool reflex : {false, true})
    {
        SCOPED_TRACE(reflex ? "reflex" : "convex");
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, true);
        NetType* type = SingleTriangleNets(*mesh);
        ASSERT_TRUE(type);
        type->TryToCombineNets(3);
        ASSERT_EQ(type->mNumNets, 4);
        if (reflex)
            ForEachEdge(*mesh, [](Edge3D& e) { e.mDihedral = 4.0; });
        type->MarkMergeable();
        EXPECT_EQ((type->mFlags & kNetTypeMergeable) != 0, !reflex);
    }
}

TEST_F(NetPlacementTest, OneColourPerNetCutsBetweenColoursThatDifferInOneComponent)
{
    auto row = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(row);
    FaceVert* odd = row->poly.mFaces.mFirst;
    ColorRGB color = odd->mNext->mColor;
    color.g += 0.001f;
    odd->mColor = odd->mBackColor = color;
    for (int mode : {kMultiColorPages, kSingleColorPages})
    {
        SCOPED_TRACE(mode);
        GetUnitSettings().mColorPagesMode = mode;
        std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, false);
        mesh->CreateNets();
        const Face3D* oddFace = FaceVert::FindFace3D(odd);
        ASSERT_TRUE(oddFace && oddFace->mNet);
        if (mode == kMultiColorPages)
        {
            EXPECT_TRUE(mesh->HasSingleNet());
            continue;
        }
        EXPECT_EQ(Net::GetNumFaces(oddFace->mNet), 1);
        for (int k = 0; k < 4; ++k)
        {
            const Edge3D& e = oddFace->mEdges[size_t(k)];
            EXPECT_TRUE(e.mFlags & kEdge3DCannotJoin);
            EXPECT_TRUE(e.mNeigh->mFlags & kEdge3DCannotJoin);
            EXPECT_TRUE(e.mFlags & kEdge3DCut);
        }
        // No net mixes the two colours.
        for (const NetType* t = mesh->mNetTypes; t; t = t->mNext)
            for (int k = 0; k < t->mNumNets; ++k)
                for (const Face3D* f = t->mNets[size_t(k)].mFirstFace; f; f = f->mNextInNet)
                    EXPECT_EQ(f == oddFace, t->mNets[size_t(k)].mFirstFace == oddFace);
    }
}

TEST_F(NetPlacementTest, TooManyStartsForTheVertexTypeEndTheType)
{
    auto row = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(row);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, false);
    // Room for one net only, while the corners give eight rings.
    NetType* type = new NetType(24, 0);
    type->Append(mesh->mNetTypes, mesh->mLastNetType);
    Edge3D* start = &mesh->mFaceTypes->mFaces[0].mEdges[0];
    EXPECT_FALSE(type->CreateFromVert(start, mesh.get()));
    EXPECT_EQ(type->mNumNets, 1);
    EXPECT_EQ(Net::GetNumFaces(type->GetFirstNet()), 3);
    ASSERT_TRUE(mScripted.services.LastCall("MessageBox"));
    EXPECT_NE(mScripted.services.LastCall("MessageBox")->text.find("CreateFromVert() - Too many nets"), std::string::npos);
}

TEST_F(NetPlacementTest, CombiningNeverTakesACombinedNetIntoAnother)
{
    // The cube's squares turn four times: one net per square with symmetry order 1 does not give
    // one copy per rotation, and the cycles across one edge overlap.
    auto row = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(row);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, false);
    NetType* type = new NetType(1, 0);
    type->Append(mesh->mNetTypes, mesh->mLastNetType);
    ASSERT_TRUE(type->CreateFromFaceType(mesh->mFaceTypes));
    type->TryToCombineNets(4);
    int facelets = 0;
    for (int k = 0; k < type->mNumNets; ++k)
    {
        const Net& net = type->mNets[size_t(k)];
        int size = 0, joins = 0;
        for (const Face3D* f = net.mFirstFace; f; f = f->mNextInNet, ++size)
        {
            EXPECT_EQ(f->mNet, &net);
            for (int j = 0; j < 4; ++j)
                joins += (f->mEdges[size_t(j)].mFlags & kEdge3DJoined) != 0;
        }
        EXPECT_LE(size, type->mSymOrder);
        EXPECT_EQ(joins, size - 1);
        facelets += size;
    }
    EXPECT_EQ(facelets, 6);
}
