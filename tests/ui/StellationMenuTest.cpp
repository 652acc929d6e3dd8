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

#include <wx/menu.h>

#include <string>

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

    AppShell mShell;
    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    int mSavedOptions = 0;
    int mSavedCriterion = 0;
};
}  // namespace

TEST_F(StellationMenuTest, SteppingWithoutAStellationPaneSaysHowToSeeIt)
{
    ASSERT_NE(Panes()[0]->GetViewType(), kViewTypeUniStellation);
    RunCommand(kCmdStellationCore);
    EXPECT_TRUE(IsLayersUpTo(0));
    RunCommand(kCmdNextStellation);
    EXPECT_TRUE(IsLayersUpTo(1));
    const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_NE(call->text.find("no stellation views"), std::string::npos);
    EXPECT_NE(call->text.find("\"Base Stellation\""), std::string::npos);
}

TEST_F(StellationMenuTest, AStellationPaneStepsAndWraps)
{
    Panes()[0]->SetViewType(kViewTypeUniStellation, false);
    Panes()[0]->Activate(false);
    RunCommand(kCmdStellationCore);
    RunCommand(kCmdNextStellation);
    EXPECT_TRUE(IsLayersUpTo(1));
    RunCommand(kCmdNextStellation);  // wraps to the core
    EXPECT_TRUE(IsLayersUpTo(0));
    RunCommand(kCmdPreviousStellation);  // wraps to the final valid stellation
    EXPECT_TRUE(IsLayersUpTo(1));
}

TEST_F(StellationMenuTest, FillingWithoutHolesSaysThereIsNothingToFill)
{
    RunCommand(kCmdStellationCore);
    RunCommand(kCmdFillInaccessibleCells);
    const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    EXPECT_EQ(call->text, "Nothing to fill: all parts are accessible already.");
}

TEST_F(StellationMenuTest, CriteriaAndOptionsCheckTheirItems)
{
    EXPECT_TRUE(Item(kCmdCriteriaMainline)->IsChecked());
    EXPECT_TRUE(Item(kCmdCriteriaFullySupported)->IsEnabled());
    EXPECT_FALSE(Item(kCmdCriteriaPrimary)->IsEnabled());
    RunCommand(kCmdCriteriaFullySupported);
    EXPECT_EQ(GetStellationCriterion(), kCriterionFullySupported);
    EXPECT_TRUE(Item(kCmdCriteriaFullySupported)->IsChecked());
    RunCommand(kCmdFullSupportAllCells);
    EXPECT_EQ(GetStellationOptions(), kCriteriaFullSupNeedsCore);
    EXPECT_TRUE(Item(kCmdFullSupportAllCells)->IsChecked());
    RunCommand(kCmdMaintainReflexibility);
    EXPECT_TRUE(IsReflexibilityMaintained());
    RunCommand(kCmdMaintainReflexibility);
    EXPECT_FALSE(IsReflexibilityMaintained());
    RunCommand(kCmdEnableTransitions);
    EXPECT_TRUE(GetDocumentSettings().enableTransitions);
    RunCommand(kCmdEnableTransitions);
    EXPECT_FALSE(GetDocumentSettings().enableTransitions);
}
