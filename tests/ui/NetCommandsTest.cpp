// The Nets menu from the main window: the net options are stored and make the nets that exist
// again, Next and Previous Net wrap round the net types, and the Unfolded Net pane names the
// current net.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryLookup.h"
#include "mesh/Edge3D.h"
#include "mesh/Face3D.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "stellation/Stellation.h"
#include "view/TitleButtons.h"

#include <wx/menu.h>

#include <string>

namespace
{
class NetCommandsTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        mSavedUnits = GetUnitSettings();
        GetDocumentSettings().enableTransitions = false;
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSavedSettings;
            GetUnitSettings() = mSavedUnits;
        }
        MainFrameFixture::TearDown();
    }

    // The model in a base pane only, so that no net pane makes nets while drawing.
    void Open(const char* name)
    {
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(name, nullptr, false)));
        for (ModelPane* pane : Panes())
            pane->SetViewType(kViewTypePoly, true);
        Panes()[0]->Activate(true);
    }
    Stellation* Base() { return GetCurrentPoly()->GetFaceStellation(); }

    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    UnitSettings mSavedUnits{false};
};
}  // namespace

TEST_F(NetCommandsTest, MaximumFacesPerNetStoresAtLeastOneAndRebuildsTheNets)
{
    Open("Cube");
    Model3D* mesh = Base()->GetModel3D(true);
    ASSERT_TRUE(mesh && mesh->HasSingleNet());
    mServices.services.PushAnswer(0);
    RunCommand(kCmdMaximumFacesPerNet);
    ASSERT_EQ(mServices.services.CountCalls("Integer"), 1);
    EXPECT_EQ(mServices.services.LastCall("Integer")->text, "Maximum number of faces allowed per net:");
    EXPECT_EQ(GetUnitSettings().mMaxFacesPerNet, 1);
    // Every square is a net of its own now.
    int nets = 0;
    for (const NetType* t = mesh->mNetTypes; t; t = t->mNext)
        nets += t->mNumNets;
    EXPECT_EQ(nets, 6);

    mServices.services.PushAnswer(1000);
    RunCommand(kCmdMaximumFacesPerNet);
    EXPECT_EQ(GetUnitSettings().mMaxFacesPerNet, 1000);
    EXPECT_TRUE(mesh->HasSingleNet());
}

TEST_F(NetCommandsTest, CoincidentEdgeMethodAndColourMixingAreRadiosThatMakeNoNetsOfTheirOwn)
{
    Open("Cube");
    wxMenuBar* bar = mFrame->GetMenuBar();
    ASSERT_FALSE(Base()->HasNets());
    RunCommand(kCmdEdgesDisconnected);
    EXPECT_EQ(GetUnitSettings().mCoincEdgeMethod, kCoincUnconnected);
    RunCommand(kCmdColorMixingOnePerNet);
    EXPECT_EQ(GetUnitSettings().mColorPagesMode, kSingleColorPages);
    EXPECT_FALSE(Base()->HasNets());
    bar->UpdateMenus();
    for (int id : {kCmdEdgesDisconnected, kCmdColorMixingOnePerNet})
    {
        ASSERT_TRUE(bar->FindItem(id)->IsEnabled()) << id;
        EXPECT_TRUE(bar->FindItem(id)->IsChecked()) << id;
    }
    for (int id : {kCmdEdgesInternalSupport, kCmdEdgesTongueInGroove, kCmdColorMixingAuto, kCmdColorMixingAllow})
        EXPECT_FALSE(bar->FindItem(id)->IsChecked()) << id;
    RunCommand(kCmdEdgesInternalSupport);
    RunCommand(kCmdColorMixingAuto);
    bar->UpdateMenus();
    EXPECT_TRUE(bar->FindItem(kCmdEdgesInternalSupport)->IsChecked());
    EXPECT_TRUE(bar->FindItem(kCmdColorMixingAuto)->IsChecked());
}

TEST_F(NetCommandsTest, NextNetWrapsRoundTheTypesAndThePaneNamesTheCurrentNet)
{
    // One face per net: the triangular prism's three squares and two triangles are two types.
    GetUnitSettings().mMaxFacesPerNet = 1;
    Open("Triangular Prism");
    Model3D* mesh = Base()->GetModel3D(true);
    ASSERT_TRUE(mesh);
    ASSERT_EQ(mesh->GetNumNetTypes(), 2);
    NetType* first = mesh->mNetTypes;
    NetType* second = first->mNext;
    const int copies[2] = {first->mNumNets, second->mNumNets};
    EXPECT_EQ(copies[0] + copies[1], 5);
    EXPECT_EQ(mesh->mCurrentNet, first->GetFirstNet());

    ModelPane* net = Panes()[1];
    net->SetViewType(kViewTypeNet2D, true);
    auto line = [](int type, int need) {
        return "Net type " + std::to_string(type) + " of 2.  Need " + std::to_string(need) + " copies of this net.";
    };
    EXPECT_EQ(net->GetNetInfoLine(), line(1, copies[0]));
    RunCommand(kCmdNextNet);
    EXPECT_EQ(mesh->mCurrentNet, second->GetFirstNet());
    EXPECT_EQ(net->GetNetInfoLine(), line(2, copies[1]));
    RunCommand(kCmdNextNet);
    EXPECT_EQ(mesh->mCurrentNet, first->GetFirstNet());
    RunCommand(kCmdPreviousNet);
    EXPECT_EQ(mesh->mCurrentNet, second->GetFirstNet());
    // The net pane's own next button steps too.
    EXPECT_TRUE(net->OnTitleButton(0, kTitleNextElement, 0));
    EXPECT_EQ(mesh->mCurrentNet, first->GetFirstNet());
}

TEST_F(NetCommandsTest, ShortestEdgeLengthScalesByTheNetsShortestEdge)
{
    Open("Cube");
    GetUnitSettings().SetScale(1.0, false);
    mServices.services.PushText("6");
    RunCommand(kCmdScaleShortestEdge);
    Model3D* mesh = Base()->PeekModel3D();
    ASSERT_TRUE(mesh && Model3D::HasNets(mesh));
    ASSERT_EQ(mServices.services.promptStarts.size(), 1u);
    EXPECT_NEAR(GetUnitSettings().GetScale() * mesh->GetShortestEdgeLength(), 6.0, 1e-9);
}

TEST_F(NetCommandsTest, EdgeDataIsOneKindAtATimeAndFaceAnglesStandBesideIt)
{
    Open("Cube");
    wxMenuBar* bar = mFrame->GetMenuBar();
    GetUnitSettings().mNetEdgeData = 0;
    RunCommand(kCmdEdgeDataLengths);
    EXPECT_EQ(GetUnitSettings().mNetEdgeData, kNetEdgeLengths);
    RunCommand(kCmdEdgeDataLengths);
    EXPECT_EQ(GetUnitSettings().mNetEdgeData, 0) << "choosing the kind shown again shows none";
    RunCommand(kCmdEdgeDataLengths);
    RunCommand(kCmdEdgeDataNames);
    EXPECT_EQ(GetUnitSettings().mNetEdgeData, kNetEdgeNames);
    RunCommand(kCmdShowFaceAngles);
    EXPECT_EQ(GetUnitSettings().mNetEdgeData, kNetEdgeNames | kNetFaceAngles);
    RunCommand(kCmdEdgeDataNone);
    EXPECT_EQ(GetUnitSettings().mNetEdgeData, kNetFaceAngles);
    bar->UpdateMenus();
    EXPECT_TRUE(bar->FindItem(kCmdEdgeDataNone)->IsChecked());
    EXPECT_TRUE(bar->FindItem(kCmdShowFaceAngles)->IsChecked());
    EXPECT_FALSE(bar->FindItem(kCmdEdgeDataNames)->IsChecked());
}

TEST_F(NetCommandsTest, TheFoldingPaneShowsPolyhedronArrowsForAllNetsAndNetArrowsOtherwise)
{
    Open("Cube");
    ModelPane* folding = Panes()[1];
    folding->SetViewType(kViewTypeNet3D, true);
    const int before = GetNetsShownInFoldingView();
    struct Case { int command; int shown; int button; } const kCases[] = {
        {kCmdFoldingOneNet, kNetsShownOne, kTitleNextElement},
        {kCmdFoldingOneNetType, kNetsShownOneType, kTitleNextElement},
        {kCmdFoldingAllNets, kNetsShownAll, kTitleNextPolyhedron},
    };
    wxMenuBar* bar = mFrame->GetMenuBar();
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.shown);
        RunCommand(c.command);
        EXPECT_EQ(GetNetsShownInFoldingView(), c.shown);
        // The pane's buttons follow the choice when they are made.
        folding->SetViewType(kViewTypePoly, true);
        folding->SetViewType(kViewTypeNet3D, false);
        bool arrows = false, otherArrows = false;
        const int other = c.button == kTitleNextElement ? kTitleNextPolyhedron : kTitleNextElement;
        for (int i = 0; i < folding->GetButtonCount(); ++i)
        {
            arrows = arrows || folding->GetButton(i).command == c.button;
            otherArrows = otherArrows || folding->GetButton(i).command == other;
        }
        EXPECT_TRUE(arrows);
        EXPECT_FALSE(otherArrows);
        bar->UpdateMenus();
        EXPECT_TRUE(bar->FindItem(c.command)->IsChecked());
    }
    SetNetsShownInFoldingView(before);
}

TEST_F(NetCommandsTest, SelectNeighbouringEdgeSelectsThePartnerInTheNet)
{
    Open("Cube");
    Model3D* mesh = Base()->GetModel3D(true);
    ASSERT_TRUE(mesh);
    wxMenuBar* bar = mFrame->GetMenuBar();
    bar->UpdateMenus();
    EXPECT_FALSE(bar->FindItem(kCmdSelectNeighbouringEdge)->IsEnabled());
    Edge3D* e = &mesh->GetFace(0)->mEdges[0];
    mesh->SelectEdge(e);
    bar->UpdateMenus();
    ASSERT_TRUE(bar->FindItem(kCmdSelectNeighbouringEdge)->IsEnabled());
    RunCommand(kCmdSelectNeighbouringEdge);
    EXPECT_EQ(mesh->mSelectedEdge, e->GetNeighInNet(false));
    RunCommand(kCmdSelectNeighbouringEdge);
    EXPECT_EQ(mesh->mSelectedEdge, e);
}
