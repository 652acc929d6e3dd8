// The menus a right click on a toolbar button opens: the undo history that takes several steps at
// once, and the option menus that send their commands as the menu bar's items do.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "platform/ToolBarEx.h"
#include "ui/ToolBarDropDowns.h"
#include "support/ModelUndoByCopy.h"

#include <wx/menu.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace
{
class ToolBarDropDownsTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        ClearUndoList();
        InstallModelUndoByCopy();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
        ClearUndoList();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            SetDropDownChooser(nullptr);
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
            GetDocumentSettings() = mSaved;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    // Right-clicks the button; the chooser sees the menu, when one opens, and picks.
    void RightClick(int bar, int command)
    {
        CToolBarEx* toolBar = mFrame->GetToolBar(bar);
        toolBar->UpdateButtons();
        const wxRect r = toolBar->GetToolRect(command);
        wxMouseEvent down(wxEVT_RIGHT_DOWN);
        down.SetPosition(r.GetPosition() + r.GetSize() / 2);
        down.SetEventObject(toolBar);
        toolBar->ProcessWindowEvent(down);
        Pump();
    }

    // The menu's items as (id, text, enabled), separators as id 0.
    struct Item
    {
        int id;
        std::string text;
        bool enabled;
    };
    static std::vector<Item> Items(const wxMenu& menu)
    {
        std::vector<Item> items;
        for (const wxMenuItem* item : menu.GetMenuItems())
            items.push_back({item->IsSeparator() ? 0 : item->GetId(), item->GetItemLabelText().utf8_string(),
                             item->IsEnabled()});
        return items;
    }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

TEST_F(ToolBarDropDownsTest, TheUndoHistoryTakesTheChosenNumberOfSteps)
{
    std::vector<std::string> names{Current().GetName()};
    for (int i = 0; i < 7; ++i)
    {
        RunCommand(kCmdNextPolyhedron);
        names.push_back(Current().GetName());
    }
    ASSERT_EQ(GetUndoStepCount(), 7);
    ASSERT_NE(names[2], names[7]);

    int shownEntries = -1;
    SetDropDownChooser([&](wxMenu& menu, int command) {
        EXPECT_EQ(command, kCmdEditUndo);
        shownEntries = int(menu.GetMenuItemCount());
        return menu.FindItemByPosition(4)->GetId();  // the fifth entry
    });
    RightClick(kMainToolBar, kCmdEditUndo);
    EXPECT_EQ(shownEntries, 7);
    EXPECT_EQ(Current().GetName(), names[2]);
    bool more = false;
    EXPECT_EQ(UndoHistoryTexts(false, more).size(), 5u);
    EXPECT_EQ(UndoHistoryTexts(true, more).size(), 2u);

    // The redo side takes steps forward the same way.
    SetDropDownChooser([](wxMenu& menu, int command) {
        EXPECT_EQ(command, kCmdEditRedo);
        EXPECT_EQ(menu.GetMenuItemCount(), 5u);
        return menu.FindItemByPosition(2)->GetId();
    });
    RightClick(kMainToolBar, kCmdEditRedo);
    EXPECT_EQ(Current().GetName(), names[5]);

    // Closing the menu without a choice changes nothing.
    SetDropDownChooser([](wxMenu&, int) { return int(wxID_NONE); });
    RightClick(kMainToolBar, kCmdEditUndo);
    EXPECT_EQ(Current().GetName(), names[5]);
}

TEST_F(ToolBarDropDownsTest, ACancelStopsTheStepsAndClosesTheProgress)
{
    std::vector<std::string> names{Current().GetName()};
    for (int i = 0; i < 7; ++i)
    {
        RunCommand(kCmdNextPolyhedron);
        names.push_back(Current().GetName());
    }
    static int64_t now = 0;
    const ProgressClock previous = SetProgressClock([] { return now += 2000; });
    // Each step rebuilds the model under progress of its own: find the pump of the third report
    // by taking two steps first.
    ASSERT_EQ(RunUndoHistorySteps(true, 2), 2);
    const int pumpsOfTwoSteps = mServices.services.progressPumps;
    ASSERT_EQ(RunUndoHistorySteps(false, 2), 2);
    ASSERT_EQ(Current().GetName(), names[7]);
    mServices.services.progressPumps = 0;
    mServices.services.progressUpdates.clear();
    mServices.services.cancelAtPump = pumpsOfTwoSteps;
    const int done = RunUndoHistorySteps(true, 5);
    SetProgressClock(previous);
    EXPECT_EQ(done, 2);
    EXPECT_EQ(Current().GetName(), names[5]);
    EXPECT_FALSE(InProgress());
    EXPECT_FALSE(mServices.services.progressWindowOpen);
    ASSERT_FALSE(mServices.services.progressUpdates.empty());
    bool sawText = false;
    for (const ProgressDisplay& d : mServices.services.progressUpdates)
        sawText = sawText || d.caption == "Undone 1 changes out of 5";
    EXPECT_TRUE(sawText);
}

TEST_F(ToolBarDropDownsTest, TheOptionMenusHoldTheirCommandsInOrder)
{
    struct Case
    {
        const char* name;
        int bar;
        int command;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {"vertices", kOptionToolBar, kCmdShowVertices,
         {kCmdVertexSize, kCmdDefaultVertexColor, kCmdVertexColorsFromDualFaces}},
        {"edges", kOptionToolBar, kCmdShowEdges,
         {kCmdEdgeWidth, kCmdDefaultEdgeColor, 0, kCmdEdgeColorsSame, kCmdEdgeColorsByTypeWithReflections,
          kCmdEdgeColorsByTypeWithoutReflections, kCmdEdgeColorsParallel, kCmdEdgeColorsGreatCircles,
          kCmdEdgeColorsFromFaces, kCmdEdgeColorsFromFacesComplement}},
        {"image", kModeToolBar, kCmdModeImage, {kCmdImageOptions, kCmdOptionsForAllImages}},
        {"section tumble", kModeToolBar, kCmdModeSectionTumble,
         {kCmdSectionSelectedFirst, kCmdSectionAlongAxis0, kCmdSectionAlongAxis1, kCmdSectionAlongAxis2, 0,
          kCmdSectionMeasuredFirst, kCmdSectionAutomatic}},
        {"view section", kViewToolBar, kCmdViewCrossSection,
         {kCmdSectionSelectedFirst, kCmdSectionAlongAxis0, kCmdSectionAlongAxis1, kCmdSectionAlongAxis2, 0,
          kCmdSectionMeasuredFirst, kCmdSectionAutomatic}},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        std::vector<int> shown;
        std::vector<Item> items;
        SetDropDownChooser([&](wxMenu& menu, int) {
            items = Items(menu);
            return int(wxID_NONE);
        });
        // Straight to the menu: some of these buttons are greyed until their features land.
        mFrame->GetToolBar(c.bar)->OnDropDown(c.command);
        for (const Item& item : items)
            shown.push_back(item.id);
        EXPECT_EQ(shown, c.ids);
    }
}

TEST_F(ToolBarDropDownsTest, TheSectionAxisItemsNameTheCubeAxes)
{
    std::vector<Item> items;
    SetDropDownChooser([&](wxMenu& menu, int) {
        items = Items(menu);
        return int(wxID_NONE);
    });
    mFrame->GetToolBar(kViewToolBar)->OnDropDown(kCmdViewCrossSection);
    ASSERT_GE(items.size(), 4u);
    // The cube group's axes: 4-fold, 3-fold and 2-fold.
    std::vector<std::string> texts{items[1].text, items[2].text, items[3].text};
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{"Along 2-fold Axis", "Along 3-fold Axis", "Along 4-fold Axis"}));
}

TEST_F(ToolBarDropDownsTest, FourDMenusFollowTheModelKind)
{
    // A 3D model: no 4D tumble menu.
    int shown = 0;
    SetDropDownChooser([&](wxMenu&, int) {
        ++shown;
        return int(wxID_NONE);
    });
    EXPECT_TRUE(GetDropDownCommands(kCmdMode4DTumble, false).empty());
    mFrame->GetToolBar(kModeToolBar)->OnDropDown(kCmdMode4DTumble);
    EXPECT_EQ(shown, 0);

    const std::vector<int> tumble4D = GetDropDownCommands(kCmdMode4DTumble, true);
    EXPECT_EQ(tumble4D, (std::vector<int>{kCmdProjectCellFirst, kCmdProjectFaceFirst, kCmdProjectEdgeFirst,
                                          kCmdProjectVertexFirst, kCmdProjectMeasuredFirst, 0, kCmdProjectAutomatic}));
    const std::vector<int> section4D = GetDropDownCommands(kCmdViewCrossSection, true);
    EXPECT_EQ(section4D, (std::vector<int>{kCmdSectionSelectedFirst, kCmdSectionCellFirst, kCmdSectionFaceFirst,
                                           kCmdSectionEdgeFirst, kCmdSectionVertexFirst, 0,
                                           kCmdSectionSameAsProjection, 0, kCmdSectionMeasuredFirst,
                                           kCmdSectionAutomatic}));
    EXPECT_EQ(GetDropDownCommands(kCmdModeSectionTumble, true), section4D);
    // Buttons without a menu.
    for (int id : {kCmdNextPolyhedron, kCmdEditUndo, kCmdUseSpheresAndCylinders})
        EXPECT_TRUE(GetDropDownCommands(id, false).empty());
}
}  // namespace
