// Stepping through stellations from the Stellation menu, and its criteria and options, given to the
// main window as the menu or a key gives them.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "platform/CommandIds.h"
#include "stellation/Stellation.h"
#include "stellation/StellationCell.h"
#include "stellation/StellationCellLayer.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

#include <string>
#include <vector>

namespace
{
class StellationMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        mSavedOptions = GetStellationOptions();
        mSavedCriterion = GetStellationCriterion();
        GetDocumentSettings().enableTransitions = false;
        StoreStellationCriterion(kCriterionMainline);
        StoreStellationOptions(0);
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Octahedron", nullptr, false), false, false));
        Panes()[0]->Activate(false);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSavedSettings;
            StoreStellationOptions(mSavedOptions);
            StoreStellationCriterion(mSavedCriterion);
        }
        MainFrameFixture::TearDown();
    }

    Stellation* Base() { return mDocument->GetCurrentRecord()->mPoly.GetFaceStellation(); }

    // Whether exactly the cells of layers 0..last are included.
    bool IsLayersUpTo(int last)
    {
        const Stellation* st = Base();
        for (const StellationCell* c = st->mFirstCell; c && c != st->mLastCell; c = c->next)
            if (c->IsIncluded() != (c->mLayer->mNumber <= last))
                return false;
        return st->mFirstCell != nullptr;
    }

    wxMenuItem* Item(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        return mFrame->GetMenuBar()->FindItem(id);
    }

    std::string PaneMessage(int pane) { return Panes()[size_t(pane)]->GetMessage(); }

    // The program's shell: the stepping asks it for the panes and records its undo items there.
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    int mSavedOptions = 0;
    int mSavedCriterion = 0;
};
}  // namespace

TEST_F(StellationMenuTest, SteppingWithoutAStellationPaneSaysHowToSeeIt)
{
    ASSERT_EQ(Panes().size(), 2u);
    ASSERT_EQ(Panes()[0]->GetViewType(), kViewTypePoly);
    Panes()[1]->SetViewType(kViewTypeDual, false);
    RunCommand(kCmdStellationCore);
    EXPECT_TRUE(IsLayersUpTo(0));
    RunCommand(kCmdNextStellation);
    EXPECT_TRUE(IsLayersUpTo(1));
    const std::string message = PaneMessage(0);
    EXPECT_NE(message.find("no stellation views"), std::string::npos);
    EXPECT_NE(message.find("\"Base Stellation\""), std::string::npos);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    // Each step is one undo step.
    RunCommand(kCmdUndo);
    EXPECT_TRUE(IsLayersUpTo(0));
    RunCommand(kCmdRedo);
    EXPECT_TRUE(IsLayersUpTo(1));
}

TEST_F(StellationMenuTest, OtherPanesThatShowTheStellationKeepTheNoticeAway)
{
    // Nets and the stellation's faces and diagrams are drawn from the stellation; the dual's
    // stellation is not the one stepped.
    const struct
    {
        int viewType;
        bool notice;
    } kCases[] = {{kViewTypeNet2D, false},
                  {kViewTypeStelFace, false},
                  {kViewTypeUniStellation, false},
                  {kViewTypeDualStellation, true},
                  {kViewTypePolyAndDual, true}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.viewType);
        Panes()[1]->SetViewType(c.viewType, false);
        Panes()[0]->Activate(false);
        NewView::ClearMessage(Panes()[0]);
        RunCommand(kCmdNextStellation);
        EXPECT_EQ(PaneMessage(0).find("no stellation views") != std::string::npos, c.notice);
    }
}

TEST_F(StellationMenuTest, AStellationPaneStepsAndWrapsWithoutTheNotice)
{
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    RunCommand(kCmdStellationCore);
    EXPECT_EQ(PaneMessage(0), "");
    RunCommand(kCmdNextStellation);
    EXPECT_TRUE(IsLayersUpTo(1));
    RunCommand(kCmdNextStellation);  // wraps to the core
    EXPECT_TRUE(IsLayersUpTo(0));
    RunCommand(kCmdPreviousStellation);  // wraps to the final valid stellation
    EXPECT_TRUE(IsLayersUpTo(1));
    for (const ModelPane* pane : Panes())
        EXPECT_EQ(pane->GetMessage().find("no stellation views"), std::string::npos);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
}

TEST_F(StellationMenuTest, OnlyFinalValidNextAndPreviousClearThePaneMessage)
{
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    const struct
    {
        int command;
        bool clears;
    } kCases[] = {{kCmdStellationCore, false},      {kCmdFinalStellation, false}, {kCmdOriginalPolyhedron, false},
                  {kCmdFinalValidStellation, true}, {kCmdNextStellation, true},   {kCmdPreviousStellation, true}};
    for (const auto& c : kCases)
    {
        SCOPED_TRACE(c.command);
        NewView::SetMessage(Panes()[0], "%s", "an earlier message");
        RunCommand(c.command);
        EXPECT_EQ(PaneMessage(0).empty(), c.clears);
    }
}

TEST_F(StellationMenuTest, FillingWithoutHolesSaysThereIsNothingToFill)
{
    RunCommand(kCmdStellationCore);
    RunCommand(kCmdFillInaccessibleCells);
    EXPECT_EQ(PaneMessage(0), "Nothing to fill: all parts are accessible already.");
}

TEST_F(StellationMenuTest, PrimaryOnTwoFaceTypesIsRefusedAndChangesNothing)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cuboctahedron", nullptr, false), false, false));
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    RunCommand(kCmdCriteriaPrimary);
    ASSERT_EQ(GetStellationCriterion(), kCriterionPrimary);
    Stellation* st = Base();
    mDocument->GetCurrentRecord()->mPoly.CreateStellation(st, kStellationBuilt);
    ASSERT_NE(st->mFirstCell, nullptr);
    std::vector<bool> before;
    for (const StellationCell* c = st->mFirstCell; c; c = c->next)
        before.push_back(c->IsIncluded());
    RunCommand(kCmdNextStellation);
    std::vector<bool> after;
    for (const StellationCell* c = st->mFirstCell; c; c = c->next)
        after.push_back(c->IsIncluded());
    EXPECT_EQ(after, before);
    EXPECT_EQ(PaneMessage(0), "Error: Only reflexible isohedral models have \"primary\" stellations.\n"
                              "You can change your stellation criteria by choosing from the\n"
                              "\"Stellation->Stellation Criteria\" sub-menu.");
}

TEST_F(StellationMenuTest, TheArrowKeysOfAPaneStepUnderMillersRules)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false), false, false));
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    RunCommand(kCmdCriteriaMillersRules);
    ModelPane* pane = Panes()[0];
    EXPECT_TRUE(pane->OnPaneKey(WXK_HOME, true));  // the core: the icosahedron
    EXPECT_EQ(Base()->mNumIncludedCells, 1);
    EXPECT_TRUE(pane->OnPaneKey(WXK_UP, false));
    EXPECT_TRUE(IsLayersUpTo(1));  // the small triambic icosahedron
    EXPECT_TRUE(pane->OnPaneKey(WXK_DOWN, false));
    EXPECT_TRUE(IsLayersUpTo(1));
    EXPECT_NE(PaneMessage(0).find("Sorry, going to the previous stellation"), std::string::npos);
    // Undo goes back instead.
    RunCommand(kCmdUndo);
    EXPECT_EQ(Base()->mNumIncludedCells, 1);
}

TEST_F(StellationMenuTest, MaintainingReflexibilityAddsTheMirrorsAsOneUndoStep)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false), false, false));
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    Stellation* st = Base();
    mDocument->GetCurrentRecord()->mPoly.CreateStellation(st, kStellationBuilt);
    StellationCell* chiral = st->mFirstCell;
    while (chiral && !(chiral->mFlags & kCellChiralFirst))
        chiral = chiral->next;
    ASSERT_NE(chiral, nullptr);
    StellationCell::SetIncluded(chiral, true);
    ASSERT_FALSE(chiral->GetMirror()->IsIncluded());
    RunCommand(kCmdMaintainReflexibility);
    EXPECT_TRUE(IsReflexibilityMaintained());
    EXPECT_TRUE(chiral->GetMirror()->IsIncluded());
    EXPECT_EQ(st->mNumUnmatchedChiralCells, 0);
    RunCommand(kCmdUndo);
    EXPECT_FALSE(IsReflexibilityMaintained());
    EXPECT_TRUE(chiral->IsIncluded());
    EXPECT_FALSE(chiral->GetMirror()->IsIncluded());
}

TEST_F(StellationMenuTest, CriteriaAndOptionsCheckTheirItems)
{
    EXPECT_TRUE(Item(kCmdCriteriaMainline)->IsChecked());
    EXPECT_TRUE(Item(kCmdCriteriaFullySupported)->IsEnabled());
    EXPECT_TRUE(Item(kCmdCriteriaPrimary)->IsEnabled());
    RunCommand(kCmdCriteriaFullySupported);
    EXPECT_EQ(GetStellationCriterion(), kCriterionFullySupported);
    EXPECT_TRUE(Item(kCmdCriteriaFullySupported)->IsChecked());
    RunCommand(kCmdCriteriaMillersRules);
    EXPECT_EQ(GetStellationCriterion(), kCriterionMiller);
    EXPECT_TRUE(Item(kCmdCriteriaMillersRules)->IsChecked());
    EXPECT_FALSE(Item(kCmdCriteriaFullySupported)->IsChecked());
    RunCommand(kCmdCriteriaFullySupported);
    RunCommand(kCmdFullSupportAllCells);
    EXPECT_EQ(GetStellationOptions(), kCriteriaFullSupNeedsCore);
    EXPECT_TRUE(Item(kCmdFullSupportAllCells)->IsChecked());
    RunCommand(kCmdMaintainReflexibility);
    EXPECT_TRUE(IsReflexibilityMaintained());
    RunCommand(kCmdUndo);
    EXPECT_FALSE(IsReflexibilityMaintained());
    RunCommand(kCmdEnableTransitions);
    EXPECT_TRUE(GetDocumentSettings().enableTransitions);
    RunCommand(kCmdEnableTransitions);
    EXPECT_FALSE(GetDocumentSettings().enableTransitions);
}
