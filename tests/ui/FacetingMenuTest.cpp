// The Faceting menu's criteria, limits, options and Enumerate Facetings, chosen as the menu gives
// them to the main window, with scripted answers to the prompts.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "kernel/Polygon3D.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/StellationOptions.h"
#include "platform/CommandIds.h"
#include "stellation/Faceting.h"
#include "stellation/FacetingSettings.h"
#include "stellation/Stellation.h"
#include "ui/FacetingCommands.h"

#include <wx/menu.h>

#include <climits>
#include <string>

namespace
{
class FacetingMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        mSavedOptions = GetStellationOptions();
        GetDocumentSettings().enableTransitions = false;
        GetFacetingSettings() = FacetingSettings();
        InstallModelUndoByCopy();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSavedSettings;
            GetFacetingSettings() = FacetingSettings();
            StoreStellationOptions(mSavedOptions);
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    wxMenuItem* Item(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        return mFrame->GetMenuBar()->FindItem(id);
    }

    ScopedScriptedServices mServices;
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSavedSettings;
    int mSavedOptions = 0;
};
}  // namespace

TEST_F(FacetingMenuTest, TheLimitsShowTheirValuesAndKeepThemInRange)
{
    EXPECT_EQ(Item(kCmdMaximumFacetTypes)->GetItemLabel().utf8_string(), "Ma&ximum Facet Types (no limit)...");
    EXPECT_EQ(Item(kCmdMinimumFacetTypes)->GetItemLabel().utf8_string(), "M&inimum Facet Types (1)...");
    EXPECT_TRUE(Item(kCmdMaximumFacetTypes)->IsEnabled());

    struct Case
    {
        int command;
        int typed;
        const char* label;
    };
    const Case kCases[] = {
        {kCmdMaximumFacetTypes, 0, "Ma&ximum Facet Types (no limit)..."},
        {kCmdMaximumFacetTypes, -4, "Ma&ximum Facet Types (no limit)..."},
        {kCmdMaximumFacetTypes, 3, "Ma&ximum Facet Types (3)..."},
        {kCmdMinimumFacetTypes, 0, "M&inimum Facet Types (1)..."},
        {kCmdMinimumFacetTypes, 2, "M&inimum Facet Types (2)..."},
        {kCmdMinimumFacetTypes, -7, "M&inimum Facet Types (1)..."},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.label);
        mServices.services.PushAnswer(c.typed);
        RunCommand(c.command);
        EXPECT_EQ(Item(c.command)->GetItemLabel().utf8_string(), c.label);
    }
    EXPECT_EQ(GetFacetingSettings().maxFacets, 3);
    EXPECT_EQ(GetFacetingSettings().minFacets, 1);

    // The prompt offers 0 for no limit; a cancelled prompt changes nothing.
    GetFacetingSettings().maxFacets = INT_MAX;
    mServices.services.Clear();
    mServices.services.cancelUnanswered = true;
    RunCommand(kCmdMaximumFacetTypes);
    const ScriptedServices::Call* prompt = mServices.services.LastCall("Integer");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text, "Enter maximum number of facet types for\nacceptable facetings\n(Enter 0 for no limit)");
    EXPECT_EQ(GetFacetingSettings().maxFacets, INT_MAX);
}

TEST_F(FacetingMenuTest, CriteriaAndOptionsCheckTheirItemsAndClearOnlyWhatTheyChange)
{
    Faceting* faceting = GetCurrentFaceting();
    ASSERT_NE(faceting, nullptr);
    ASSERT_TRUE(faceting->CreateForCurrentModel());
    EXPECT_TRUE(Item(kCmdFacetingTidy)->IsChecked());

    // The criterion in force again: the prepared planes stay.
    RunCommand(kCmdFacetingTidy);
    EXPECT_NE(faceting->mFirstPlane, nullptr);
    // Another one: the planes depend on it.
    RunCommand(kCmdFacetingIsohedral);
    EXPECT_EQ(GetFacetingSettings().criterion, kFacetingIsohedral);
    EXPECT_EQ(faceting->mFirstPlane, nullptr);
    EXPECT_TRUE(Item(kCmdFacetingIsohedral)->IsChecked());
    EXPECT_FALSE(Item(kCmdFacetingTidy)->IsChecked());

    // An option restarts the search.
    ASSERT_TRUE(faceting->CreateForCurrentModel());
    ASSERT_TRUE(faceting->FindNext());
    ASSERT_GT(faceting->mNumFacets, 0);
    RunCommand(kCmdAcceptPartialFacetings);
    EXPECT_EQ(GetFacetingSettings().options, kFacetingPartialOK);
    EXPECT_TRUE(Item(kCmdAcceptPartialFacetings)->IsChecked());
    EXPECT_EQ(faceting->mNumFacets, 0);
    RunCommand(kCmdOnlySpikyFacetings);
    EXPECT_EQ(GetFacetingSettings().options, kFacetingPartialOK | kFacetingSpikyOnly);
    RunCommand(kCmdAcceptPartialFacetings);
    EXPECT_FALSE(Item(kCmdAcceptPartialFacetings)->IsChecked());
    EXPECT_TRUE(Item(kCmdOnlySpikyFacetings)->IsChecked());
}

TEST_F(FacetingMenuTest, EnumerateFacetingsReportsTheCountsAndShowsTheLastFaceting)
{
    StoreStellationOptions(GetStellationOptions() | kCriteriaReflexible);
    RunCommand(kCmdEnumerateFacetings);
    const ScriptedServices::Call* report = mServices.services.LastCall("MessageBox");
    ASSERT_NE(report, nullptr);
    // With reflexibility maintained only the reflexible count is reported.
    EXPECT_EQ(report->text.rfind("Found ", 0), 0u) << report->text;
    EXPECT_NE(report->text.find(" reflexible facetings.\nTook "), std::string::npos) << report->text;
    EXPECT_GT(ListCount(Current().mFirstDrawnPolygon), 1);
    EXPECT_TRUE(GetCurrentFaceting()->mTotalCount.IsZero());
}

TEST_F(FacetingMenuTest, ShownFacetingBecomesTheModelAndUndoBringsTheModelBack)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Dodecahedron", nullptr, false), false, false));
    ClearUndoList();
    EXPECT_FALSE(Item(kCmdDeleteAllFacets)->IsEnabled());
    RunCommand(kCmdFacetingIsohedral);
    // The first isohedral faceting is the dodecahedron itself, the second the compound of five
    // cubes: one square facet.
    RunFacetingStep(FacetingStep::Next);
    RunFacetingStep(FacetingStep::Next);
    const int facets = ListCount(Current().mFirstDrawnPolygon) - 1;
    ASSERT_EQ(facets, 1);
    EXPECT_TRUE(Item(kCmdCreateFacetedPolyhedron)->IsEnabled());

    // Five cubes on the dodecahedron's 20 vertices: 30 squares and 60 edges, each cube with its own
    // eight corners.
    EXPECT_EQ(GetUndoStepCount(), 2);
    RunCommand(kCmdCreateFacetedPolyhedron);
    EXPECT_EQ(GetUndoStepCount(), 3);
    EXPECT_EQ(UndoMenuText(false), "&Undo Faceting");
    EXPECT_EQ(Current().mVerts.mCount, 40);
    EXPECT_EQ(Current().mFaces.mCount, 30);
    EXPECT_EQ(Current().mNumEdges, 60);
    EXPECT_EQ(std::string(Current().GetBaseName()).rfind("Faceted ", 0), 0u) << Current().GetBaseName();
    UndoList::Undo();
    EXPECT_EQ(Current().mVerts.mCount, 20);
    EXPECT_EQ(Current().mFaces.mCount, 12);
    EXPECT_EQ(ListCount(Current().mFirstDrawnPolygon) - 1, facets);

    // Delete All Facets is one step, and undoing it brings the facets back.
    ASSERT_TRUE(Item(kCmdDeleteAllFacets)->IsEnabled());
    RunCommand(kCmdDeleteAllFacets);
    EXPECT_EQ(ListCount(Current().mFirstDrawnPolygon), 1);
    UndoList::Undo();
    EXPECT_EQ(ListCount(Current().mFirstDrawnPolygon) - 1, facets);
}

TEST_F(FacetingMenuTest, CreateFacetedPolyhedronWithoutFacetsSaysHowToDrawThem)
{
    RunCommand(kCmdCreateFacetedPolyhedron);
    const ScriptedServices::Call* error = mServices.services.LastCall("MessageBox");
    ASSERT_NE(error, nullptr);
    EXPECT_EQ(error->text.rfind("Before creating a faceted polyhedron", 0), 0u);
    EXPECT_EQ(Current().mFaces.mCount, 6);
}

