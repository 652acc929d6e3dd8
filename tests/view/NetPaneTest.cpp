// The net panes on the cube: the Unfolded Net pane draws the current net and fits it, the Folding
// Net pane draws the nets folding, and cutting an edge by hand makes the nets again round it.

#include "PaneFixture.h"
#include "kernel/SceneParameters.h"
#include "kernel/ViewTypes.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "model/ElementDisplayOptions.h"
#include "view/Picking.h"

#include <cmath>
#include <string>

namespace
{
class NetPaneTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (IsSkipped())
            return;
        mFold = GetSceneParameters().foldRatio;
        ASSERT_NE(OpenModel("Cube"), nullptr);
        mPane = Pane(0);
        ASSERT_NE(mPane, nullptr);
        mPane->Activate(true);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            CPolyView::SetMouseMode(kMouseModeSelect);
            GetSceneParameters().foldRatio = mFold;
        }
        PaneFixture::TearDown();
    }

    wxPoint ClientOf(double x, double y) const
    {
        Vec2D p;
        mPane->WorldToClient2D(p, x, y);
        return wxPoint(int(std::lround(p.x)), int(std::lround(p.y)));
    }

    CPolyView* mPane = nullptr;
    double mFold = 0.25;
};

bool IsBackground(const unsigned char* p, const unsigned char* background)
{
    return std::abs(int(p[0]) - int(background[0])) <= 3 && std::abs(int(p[1]) - int(background[1])) <= 3 &&
           std::abs(int(p[2]) - int(background[2])) <= 3;
}
}  // namespace

TEST_F(NetPaneTest, TheUnfoldedNetPaneDrawsAndFitsTheCurrentNet)
{
    mPane->SetViewType(kViewTypeNet2D, false);
    EXPECT_STREQ(mPane->GetPlaceholderText(), "");
    const PaneFrame frame = DrawAndRead(mPane);
    EXPECT_EQ(mPane->GetPendingFit(), 0);
    EXPECT_EQ(mPane->GetNetInfoLine(), "Net type 1 of 1.  Need 1 copy of this net.");
    Model3D* mesh = mPane->GetStellationModel3D(true);
    ASSERT_TRUE(mesh && mesh->mCurrentNet);
    // Every square's centre is covered by the net; the pane's corner is background.
    const unsigned char* background = frame.At(1, 1);
    for (const Face3D* f = mesh->mCurrentNet->mFirstFace; f; f = f->mNextInNet)
    {
        double x = 0, y = 0;
        for (int k = 0; k < 4; ++k)
        {
            x += f->mEdges[size_t(k)].mNetPos.x / 4;
            y += f->mEdges[size_t(k)].mNetPos.y / 4;
        }
        const wxPoint c = ClientOf(x, y);
        ASSERT_TRUE(c.x > 0 && c.y > 0 && c.x < frame.width && c.y < frame.height);
        EXPECT_FALSE(IsBackground(frame.At(c.x, frame.height - 1 - c.y), background));
    }
}

TEST_F(NetPaneTest, CuttingAFoldByHandCutsThatEdgeAndASecondClickJoinsItAgain)
{
    mPane->SetViewType(kViewTypeNet2D, false);
    DrawAndRead(mPane);
    Model3D* mesh = mPane->GetStellationModel3D(true);
    ASSERT_TRUE(mesh && mesh->HasSingleNet());
    CPolyView::SetMouseMode(kMouseModeCutEdges);
    // A fold between the root and one of its neighbours, clicked at its middle.
    Net* net = mesh->mCurrentNet;
    Edge3D* fold = nullptr;
    for (int k = 0; k < 4 && !fold; ++k)
        if (net->mFirstFace->mEdges[size_t(k)].mFlags & kEdge3DJoined)
            fold = &net->mFirstFace->mEdges[size_t(k)];
    ASSERT_TRUE(fold);
    const int foldIndex = Edge3D::GetRunningIndex(fold);
    const wxPoint at = ClientOf((fold->mNetPos.x + fold->GetNext()->mNetPos.x) / 2,
                                (fold->mNetPos.y + fold->GetNext()->mNetPos.y) / 2);
    ASSERT_TRUE(mPane->CutEdgeAt(at.x, at.y, false));
    Edge3D* cut = mesh->GetEdge(foldIndex);
    EXPECT_TRUE(cut->mFlags & kEdge3DUserCut);
    EXPECT_FALSE(cut->mFlags & kEdge3DJoinBits);
    EXPECT_TRUE(cut->mNeigh->mFlags & kEdge3DUserCut);
    // Only that edge: the nets still hold all six squares.
    int userCuts = 0;
    for (int i = 0; i < mesh->GetNumEdgeSlots(); ++i)
        userCuts += (mesh->GetEdge(i)->mFlags & kEdge3DUserCut) != 0;
    EXPECT_EQ(userCuts, 2);
    ASSERT_TRUE(mesh->mCurrentNet);
    EXPECT_EQ(mesh->mCurrentNet, cut->mFace->mNet);

    // The same edge where the new layout draws it, clicked again, joins it.
    DrawAndRead(mPane);
    Edge3D* drawn = cut->GetFirstNetEdge();
    const Net* shown = mesh->mCurrentNet;
    ASSERT_EQ(drawn->mFace->mNet, shown->mNetType->GetFirstNet());
    const wxPoint again = ClientOf((drawn->mNetPos.x + drawn->GetNext()->mNetPos.x) / 2,
                                   (drawn->mNetPos.y + drawn->GetNext()->mNetPos.y) / 2);
    ASSERT_TRUE(mPane->CutEdgeAt(again.x, again.y, false));
    for (int i = 0; i < mesh->GetNumEdgeSlots(); ++i)
        EXPECT_FALSE(mesh->GetEdge(i)->mFlags & kEdge3DUserCut);
    EXPECT_TRUE(mesh->HasSingleNet());
}

TEST_F(NetPaneTest, TheFoldingNetPaneDrawsTheNetsAtTheFoldRatio)
{
    mPane->SetViewType(kViewTypeNet3D, false);
    GetSceneParameters().foldRatio = 1.0;
    const PaneFrame frame = DrawAndRead(mPane);
    Model3D* mesh = mPane->GetStellationModel3D(true);
    ASSERT_TRUE(mesh);
    EXPECT_EQ(mesh->mFoldAmount, 1.0);
    // Folded whole, the cube covers the pane's centre.
    EXPECT_FALSE(IsBackground(frame.At(frame.width / 2, frame.height / 2), frame.At(1, 1)));
}
