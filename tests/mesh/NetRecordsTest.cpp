// The net records and what an edge answers about nets: partners under the coincident-edge
// methods, the user's cut, running net numbers and deleting nets.

#include "MeshFixtures.h"

#include "../library/LibraryStateFixture.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "mesh/Net.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
class NetRecordsTest : public LibraryStateTest
{
protected:
    void SetUp() override
    {
        LibraryStateTest::SetUp();
        mSaved = GetUnitSettings();
        GetUnitSettings().mMaxFacesPerNet = 1000000;
        GetUnitSettings().mCoincEdgeMethod = kCoincInternalSupport;
        GetUnitSettings().mColorPagesMode = kMultiColorPages;
    }
    void TearDown() override
    {
        GetUnitSettings() = mSaved;
        LibraryStateTest::TearDown();
    }

    ScopedScriptedServices mScripted;
    UnitSettings mSaved{false};
};

// Four unconnected squares, each a type of its own; the tests wire their edges by hand.
struct Squares
{
    Model3D model{nullptr, nullptr};
    Edge3D* Edge(int f, int k) { return &model.GetFace(f)->mEdges[size_t(k)]; }
};

void BuildSquares(Squares& s)
{
    std::vector<Vec3D> points;
    std::vector<std::vector<int>> faces;
    for (int f = 0; f < 4; ++f)
    {
        const double x = 3.0 * f;
        for (const Vec3D& p : {Vec3D{x, 0, 0}, Vec3D{x + 1, 0, 0}, Vec3D{x + 1, 1, 0}, Vec3D{x, 1, 0}})
            points.push_back(p);
        faces.push_back({4 * f, 4 * f + 1, 4 * f + 2, 4 * f + 3});
    }
    BuildMesh(s.model, points, faces);
}
}  // namespace

TEST_F(NetRecordsTest, PartnersFollowTheCoincidentEdgeMethod)
{
    struct Case
    {
        const char* name;
        int method;
        bool coincident;
        int strictAnswer, looseAnswer;  // 0 none, 1 mNeigh, 2 mCoincEdge
    };
    const Case kCases[] = {
        {"no coincident edge, tongue", kCoincTongueInGroove, false, 1, 1},
        {"no coincident edge, disconnected", kCoincUnconnected, false, 1, 1},
        {"tongue-in-groove", kCoincTongueInGroove, true, 0, 1},
        {"internal support, ring free", kCoincInternalSupport, true, 1, 1},
        {"no internal support", kCoincNoInternalSupport, true, 1, 1},
        {"disconnected", kCoincUnconnected, true, 2, 2},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        Squares s;
        BuildSquares(s);
        // x's ring: x -> its coincident edge y -> y's neighbour z -> z's coincident edge = x's
        // neighbour.
        Edge3D* x = s.Edge(0, 1);
        Edge3D* n = s.Edge(1, 3);
        Edge3D* y = s.Edge(2, 0);
        Edge3D* z = s.Edge(3, 2);
        x->mNeigh = n;
        n->mNeigh = x;
        y->mNeigh = z;
        z->mNeigh = y;
        if (c.coincident)
        {
            x->mCoincEdge = y;
            z->mCoincEdge = n;
        }
        x->mFlags |= uint32_t(c.method);
        Edge3D* answers[3] = {nullptr, n, y};
        EXPECT_EQ(x->GetNeighInNet(true), answers[c.strictAnswer]);
        EXPECT_EQ(x->GetNeighInNet(false), answers[c.looseAnswer]);
        // The program's method applies when the edge has none of its own.
        x->mFlags &= ~kEdge3DCoincMethodMask;
        GetUnitSettings().mCoincEdgeMethod = c.method;
        EXPECT_EQ(x->GetNeighInNet(true), answers[c.strictAnswer]);
        GetUnitSettings().mCoincEdgeMethod = kCoincInternalSupport;
        if (c.method == kCoincInternalSupport)
        {
            // A facelet of the ring already used as a support: no strict partner.
            y->mFlags |= kEdge3DClassJoined;
            EXPECT_EQ(x->GetNeighInNet(true), nullptr);
            EXPECT_EQ(x->GetNeighInNet(false), n);
            y->mFlags &= ~kEdge3DClassJoined;
            // A coincident edge that is the neighbour itself joins as usual.
            x->mCoincEdge = n;
            EXPECT_EQ(x->GetNeighInNet(true), n);
        }
        // One face per net: never a strict partner, the loose one all the same.
        x->mFlags |= uint32_t(c.method);
        GetUnitSettings().mMaxFacesPerNet = 1;
        EXPECT_EQ(x->GetNeighInNet(true), nullptr);
        EXPECT_EQ(x->GetNeighInNet(false), c.coincident && c.method == kCoincUnconnected ? y : n);
        GetUnitSettings().mMaxFacesPerNet = 1000000;
    }
    EXPECT_EQ(mScripted.services.CountCalls("MessageBox"), 0);

    // A method the program does not know is reported and gives no partner.
    Squares s;
    BuildSquares(s);
    Edge3D* x = s.Edge(0, 1);
    x->mNeigh = s.Edge(1, 3);
    x->mCoincEdge = s.Edge(2, 0);
    x->mFlags |= kCoincTongueInGroove | kCoincUnconnected;
    EXPECT_EQ(x->GetNeighInNet(false), nullptr);
    ASSERT_TRUE(mScripted.services.LastCall("MessageBox"));
    EXPECT_EQ(mScripted.services.LastCall("MessageBox")->text.find("GetNeighInNet: Unknown coinc edge method 0x"), 0u);
}

TEST_F(NetRecordsTest, TogglingACutTwiceUncutsTheClassOnlyWhenNoOtherMemberIsCut)
{
    auto row = OpenRow(*FindLibraryEntry("Cube", nullptr, false));
    ASSERT_TRUE(row);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, false);
    mesh->CreateNets();
    ASSERT_TRUE(mesh->HasSingleNet());
    Face3DType* squares = mesh->mFaceTypes;
    Edge3D* e = &squares->mFaces[0].mEdges[0];
    Edge3D* other = &squares->mFaces[3].mEdges[2];
    ASSERT_NE(other, e->mNeigh);

    e->ToggleCut(false);
    EXPECT_TRUE(e->mFlags & kEdge3DUserCut);
    EXPECT_TRUE(e->mNeigh->mFlags & kEdge3DUserCut);
    EXPECT_FALSE(e->mFlags & kEdge3DJoinBits);
    EXPECT_TRUE(mesh->HasSingleNet());
    // The current net is the one holding the edge.
    EXPECT_EQ(mesh->mCurrentNet, e->mFace->mNet);
    e->ToggleCut(false);
    EXPECT_FALSE(e->mFlags & kEdge3DUserCut);
    EXPECT_FALSE(e->AnyClassFlag(kEdge3DCut));

    other->ToggleCut(false);
    e->ToggleCut(false);
    e->ToggleCut(false);
    EXPECT_FALSE(e->mFlags & kEdge3DUserCut);
    EXPECT_TRUE(other->mFlags & kEdge3DUserCut);
    // The class stays cut for the other member's sake.
    EXPECT_TRUE(e->mFlags & kEdge3DCut);

    // Cutting the whole class cuts every square apart.
    other->ToggleCut(false);
    e->ToggleCut(true);
    EXPECT_TRUE(e->AllClassFlags(kEdge3DUserCut));
    EXPECT_EQ(mesh->mNetTypes->mNumNets, 6);
}

TEST_F(NetRecordsTest, RunningNetNumbersAndDeletingNets)
{
    GetUnitSettings().mMaxFacesPerNet = 1;
    auto row = OpenRow(*FindLibraryEntry("Triangular Prism", nullptr, false));
    ASSERT_TRUE(row);
    std::unique_ptr<Model3D> mesh = Model3D::CreateFromPoly(&row->poly, false);
    mesh->CreateNets();
    ASSERT_EQ(mesh->GetNumNetTypes(), 2);
    EXPECT_FALSE(mesh->HasSingleNet());
    NetType* first = mesh->mNetTypes;
    NetType* second = first->mNext;
    EXPECT_EQ(Net::GetGlobalIndex(&first->mNets[0], mesh.get()), 0);
    EXPECT_EQ(Net::GetGlobalIndex(&second->mNets[1], mesh.get()), first->mNumNets + 1);
    EXPECT_EQ(Net::GetGlobalIndex(nullptr, mesh.get()), -1);
    // A net whose type is not in the model's list.
    first->mNext = nullptr;
    EXPECT_EQ(Net::GetGlobalIndex(&second->mNets[0], mesh.get()), -2);
    first->mNext = second;

    mesh->DeleteNets(true);
    EXPECT_EQ(mesh->mNetTypes, nullptr);
    EXPECT_EQ(mesh->mCurrentNet, nullptr);
    EXPECT_EQ(mesh->GetNumNetTypes(), 0);
    EXPECT_TRUE(Model3D::HasNets(mesh.get()));
    for (int f = 0; f < mesh->GetNumFaces(); ++f)
    {
        EXPECT_EQ(mesh->GetFace(f)->mNet, nullptr);
        EXPECT_EQ(mesh->GetFace(f)->mNextInNet, nullptr);
    }
    EXPECT_EQ(NetInfoLine(mesh.get()), "No nets.");
}
