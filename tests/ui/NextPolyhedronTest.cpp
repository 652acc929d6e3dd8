// Next Polyhedron through the main window, as the user gives it, with the program's model panes.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "ui/ModelPane.h"

namespace
{
class NextPolyhedronTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
    }
    void TearDown() override
    {
        ClearSearchResults();
        if (!IsSkipped())
            GetDocumentSettings() = mSaved;
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

// The model panes themselves follow a search result that matched a dual.
TEST_F(NextPolyhedronTest, ToADualSearchResultSwitchesTheModelPanes)
{
    LibraryEntry* cube = FindLibraryEntry("Cube", nullptr, false);
    AppendSearchResult(cube);
    InsertSearchResult(FindLibraryEntry("Cuboctahedron", nullptr, false), -1, true);
    ASSERT_TRUE(mDocument->OpenLibraryModel(cube, false, true));
    const std::vector<ModelPane*> panes = Panes();
    ASSERT_FALSE(panes.empty());
    ASSERT_EQ(panes[0]->GetViewType(), kViewTypePoly);

    RunCommand(kCmdNextPolyhedron);
    EXPECT_EQ(panes[0]->GetViewType(), kViewTypeDual);
    EXPECT_TRUE(Current().mShowDual);
    EXPECT_EQ(NewView::GetFirstView()->GetMessage(), "Switched from base to dual view");
}
}  // namespace
