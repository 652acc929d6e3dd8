// The Display menu on the model panes: the program-wide switches and sizes, the switches of one
// pane, and the kit's edge-style menu over its toolbar button.

#include "platform/CommandIds.h"
#include "platform/MenuPictureChecks.h"
#include "stellation/StellationSettings.h"
#include "ui/DisplayCommands.h"
#include "ui/ToolBarDropDowns.h"
#include "view/PaneFixture.h"

#include <wx/menu.h>

#include <string>

namespace
{
class DisplayMenuTest : public PaneFixture
{
protected:
    void SetUp() override
    {
        PaneFixture::SetUp();
        if (!IsSkipped())
            mStellation = GetStellationSettings();
    }
    void TearDown() override
    {
        if (!IsSkipped())
            GetStellationSettings() = mStellation;
        SetDropDownChooser(nullptr);
        PaneFixture::TearDown();
    }

    bool Checked(int id)
    {
        wxUpdateUIEvent update(id);
        update.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(update);
        return update.GetSetChecked() && update.GetChecked();
    }
    bool Enabled(int id)
    {
        wxUpdateUIEvent update(id);
        update.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(update);
        return !update.GetSetEnabled() || update.GetEnabled();
    }

    StellationSettings mStellation;
};
}  // namespace

TEST_F(DisplayMenuTest, TheProgramWideSwitchesToggleWithTheirMarks)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    Pane(0)->Activate(true);
    struct Case
    {
        const char* name;
        int command;
        bool& flag;
    };
    ElementDisplayOptions& o = GetElementDisplayOptions();
    const Case kCases[] = {
        {"vertices", kCmdShowVertices, o.mShowVerts},
        {"edges", kCmdShowEdges, o.mShowEdges},
        {"stellation vertices", kCmdShowStellationVertices, o.mShowStelVerts},
        {"stellation edges", kCmdShowStellationEdges, o.mShowStelEdges},
        {"spheres and cylinders", kCmdUseSpheresAndCylinders, o.mSpheresAndCylinders},
        {"midsphere", kCmdShowMidsphere, GetViewDisplayOptions().showMidsphere},
        {"between hidden faces", kCmdHideBetweenHiddenFaces, o.mHideBetweenHiddenFaces},
        {"auto-frame", kCmdAutoFrameStellation, GetStellationSettings().autoFrame},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const bool before = c.flag;
        EXPECT_TRUE(Enabled(c.command));
        EXPECT_EQ(Checked(c.command), before);
        RunCommand(c.command);
        EXPECT_EQ(c.flag, !before);
        EXPECT_EQ(Checked(c.command), !before);
        RunCommand(c.command);
        EXPECT_EQ(c.flag, before);
    }
    // Cell lines and original edges wait for the stellations' drawing of them.
    EXPECT_FALSE(Enabled(kCmdShowCellLines));
    EXPECT_FALSE(Enabled(kCmdShowOriginalEdges));
}

TEST_F(DisplayMenuTest, ShowEdgesRedrawsThePaneWithTheEdges)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* pane = Pane(0);
    pane->Activate(true);
    GetElementDisplayOptions().mShowVerts = false;
    GetElementDisplayOptions().mShowEdges = false;
    const PaneFrame without = DrawAndRead(pane);
    RunCommand(kCmdShowEdges);
    const PaneFrame with = DrawAndRead(pane);
    EXPECT_NE(without.rgb, with.rgb);
    RunCommand(kCmdShowEdges);
    EXPECT_EQ(DrawAndRead(pane).rgb, without.rgb);
}

TEST_F(DisplayMenuTest, SpheresAndCylindersWithNothingShownSaysWhereToShowThem)
{
    ASSERT_NE(OpenModel("Cube"), nullptr);
    Pane(0)->Activate(true);
    ElementDisplayOptions& o = GetElementDisplayOptions();
    o.mShowVerts = o.mShowEdges = o.mShowStelVerts = o.mShowStelEdges = false;
    const bool before = o.mSpheresAndCylinders;
    RunCommand(kCmdUseSpheresAndCylinders);
    EXPECT_EQ(o.mSpheresAndCylinders, !before);
    EXPECT_EQ(Pane(0)->GetMessage(),
              "The effect of changing this option won't be apparent unless you use\n"
              "\"Display->Vertex & Edge Options->Show Vertices\" or\n"
              "\"Display->Vertex & Edge Options->Show Edges\".");

    NewView::ClearMessage(Pane(0));
    o.mShowEdges = true;
    RunCommand(kCmdUseSpheresAndCylinders);
    EXPECT_EQ(o.mSpheresAndCylinders, before);
    EXPECT_EQ(Pane(0)->GetMessage(), "");
}

TEST_F(DisplayMenuTest, SizesAreTypedAndCancelKeepsThem)
{
    GetElementDisplayOptions().mVertSize = 3.0f;
    GetRenderSettings().edgeWidth = 1.0f;
    mScripted.services.PushText("2*3.5");
    RunCommand(kCmdVertexSize);
    EXPECT_FLOAT_EQ(GetElementDisplayOptions().mVertSize, 7.0f);
    mScripted.services.PushText("9", false);
    RunCommand(kCmdVertexSize);
    EXPECT_FLOAT_EQ(GetElementDisplayOptions().mVertSize, 7.0f);
    mScripted.services.PushText("2.5");
    RunCommand(kCmdEdgeWidth);
    EXPECT_FLOAT_EQ(GetRenderSettings().edgeWidth, 2.5f);
}

TEST_F(DisplayMenuTest, SymmetryAxesShowInThePaneThatAskedOnly)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* first = Pane(0);
    CPolyView* second = Pane(1);
    ASSERT_NE(second, nullptr);
    first->SetViewType(kViewTypePoly, false);
    second->SetViewType(kViewTypePoly, false);
    first->Activate(true);
    const PaneFrame firstBefore = DrawAndRead(first);
    const PaneFrame secondBefore = DrawAndRead(second);

    RunCommand(kCmdShowSymmetryAxes);
    EXPECT_TRUE(first->mShowSymmetryAxes);
    EXPECT_FALSE(second->mShowSymmetryAxes);
    EXPECT_TRUE(Checked(kCmdShowSymmetryAxes));
    const PaneFrame firstAfter = DrawAndRead(first);
    // The axes reach out of the cube: pixels change at the pane's edges too.
    int changedOutside = 0;
    for (int y = 0; y < firstAfter.height; ++y)
        for (int x = 0; x < firstAfter.width; ++x)
            if ((x < firstAfter.width / 8 || x >= firstAfter.width * 7 / 8 || y < firstAfter.height / 8 ||
                 y >= firstAfter.height * 7 / 8) &&
                !std::equal(firstAfter.At(x, y), firstAfter.At(x, y) + 3, firstBefore.At(x, y)))
                ++changedOutside;
    EXPECT_NE(firstAfter.rgb, firstBefore.rgb);
    EXPECT_GT(changedOutside, 0) << "no axis beyond the cube";
    EXPECT_EQ(DrawAndRead(second).rgb, secondBefore.rgb);

    second->Activate(true);
    EXPECT_FALSE(Checked(kCmdShowSymmetryAxes));
    RunCommand(kCmdShowReflectionPlanes);
    EXPECT_TRUE(second->mShowReflectionPlanes);
    EXPECT_FALSE(first->mShowReflectionPlanes);
}

TEST_F(DisplayMenuTest, TheEdgeStyleMenuOpensWithTheCurrentStyleWhileTheKitStyleIsOn)
{
    EXPECT_FALSE(Enabled(kCmdChooseKitEdgeStyle));
    SetKitStyle(true);
    EXPECT_TRUE(Enabled(kCmdChooseKitEdgeStyle));
    mFrame->SetGeomagEdgeStyleButton(3);
    std::vector<std::string> labels;
    std::vector<int> checked;
    SetDropDownChooser([&](wxMenu& menu, int command) {
        EXPECT_EQ(command, kCmdChooseKitEdgeStyle);
        for (const wxMenuItem* item : menu.GetMenuItems())
        {
            labels.push_back(item->GetItemLabelText().ToStdString());
            if (IsPictureCheckItem(item) ? IsPictureCheckItemChecked(item) : item->IsCheckable() && item->IsChecked())
                checked.push_back(item->GetId());
        }
        return wxID_NONE;
    });
    RunCommand(kCmdChooseKitEdgeStyle);
    const std::vector<std::string> expected = {"Yellow",       "Red",         "Green",       "Blue",
                                               "Metallic Blue", "Metallic Silver", "Glow in the Dark",
                                               "Pastel Lemon", "Pastel Musk", "Pastel Mauve", "Pastel Sky"};
    EXPECT_EQ(labels, expected);
    EXPECT_EQ(checked, std::vector<int>{kCmdKitEdgeBlue});
    mFrame->SetGeomagEdgeStyleButton(0);
}

TEST(KitEdgeStyleMenuPlacement, TheCurrentItemOpensOverTheButtonAndTheMenuStaysOnScreen)
{
    struct Case
    {
        const char* name;
        wxPoint anchor;
        int offset;
        wxPoint at;
    };
    const wxSize menu(150, 300);
    const wxSize screen(1280, 1024);
    const Case kCases[] = {
        {"in the middle", {500, 400}, 100, {501, 302}},
        {"at the top edge", {500, 10}, 100, {501, 0}},
        {"at the bottom edge", {500, 1000}, 10, {501, 724}},
        {"at the left edge", {0, 400}, 0, {1, 402}},
        {"a frame wider than the gap", {0, 400}, 0, {0, 402}},
        {"at the right edge", {1270, 400}, 0, {1280 - 150 - 2 - 12, 402}},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const int frame = std::string(c.name) == "a frame wider than the gap" ? 5 : 1;
        EXPECT_EQ(PlaceKitEdgeStyleMenu(c.anchor, c.offset, menu, screen, frame), c.at);
    }
}

TEST_F(DisplayMenuTest, LockingTheViewsGivesTheOtherPanesTheActiveCameraAtOnce)
{
    mFrame->SetLayout(kLayout2);
    Pump();
    ASSERT_NE(OpenModel("Cube"), nullptr);
    CPolyView* first = Pane(0);
    CPolyView* second = Pane(1);
    ASSERT_NE(second, nullptr);
    first->SetViewType(kViewTypePoly, false);
    second->SetViewType(kViewTypeDual, false);
    first->Activate(true);
    ASSERT_TRUE(first->LookDownAxis(0, true));
    first->RotateView(2, 20.0);
    ASSERT_GT(std::fabs(second->GetUp().x - first->GetUp().x) + std::fabs(second->GetEye().z - first->GetEye().z),
              1e-3);
    RunCommand(kCmdLockViews);
    EXPECT_TRUE(OpenGLView::ViewsLocked());
    for (const auto& [a, b] : {std::pair{second->GetEye(), first->GetEye()}, std::pair{second->GetUp(), first->GetUp()},
                               std::pair{second->GetRight(), first->GetRight()}})
    {
        EXPECT_NEAR(a.x, b.x, 1e-12);
        EXPECT_NEAR(a.y, b.y, 1e-12);
        EXPECT_NEAR(a.z, b.z, 1e-12);
    }
    RunCommand(kCmdLockViews);
    EXPECT_FALSE(OpenGLView::ViewsLocked());
}
