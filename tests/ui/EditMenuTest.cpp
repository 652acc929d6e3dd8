// The main window's menu bar built from the command table, and the undo commands reached through
// it: the item texts follow the undo list and the steps are reported on the active pane.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "library/LibraryLookup.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

namespace
{
class EditMenuTest : public MainFrameFixture
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
        // The model's name stands for the model.
        WholeModelUndo::SetModelFunctions(
            [](Poly& poly) {
                auto copy = std::make_unique<SimplePoly>(4, 4);
                copy->mName = poly.mBaseName;
                return copy;
            },
            [](const SimplePoly& copy, Poly& poly) {
                poly.mBaseName = copy.mName;
                return true;
            });
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
            GetDocumentSettings() = mSaved;
        MainFrameFixture::TearDown();
    }

    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    void OpenModel(const char* name)
    {
        BeginUndoGroup(kUndoOpenBuiltInModel);
        Current().mBaseName = name;
        EndUndoGroup();
    }

    // The item as the user sees it once the menu has been updated.
    wxMenuItem* UpdatedItem(int id)
    {
        wxMenuBar* bar = mFrame->GetMenuBar();
        bar->UpdateMenus();
        return bar->FindItem(id);
    }

    std::string ActivePaneMessage() const
    {
        const NewView* view = NewView::GetActiveView();
        return view ? view->GetMessage() : std::string();
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

TEST_F(EditMenuTest, TheMenuBarHoldsTheFileEditAndPolyCommands)
{
    const wxMenuBar* bar = mFrame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_NE(bar->FindMenu("File"), wxNOT_FOUND);
    EXPECT_LT(bar->FindMenu("File"), bar->FindMenu("Edit"));
    EXPECT_LT(bar->FindMenu("Edit"), bar->FindMenu("Poly"));
    struct Case
    {
        int id;
        const char* path;
        int keyFlags;
        int keyCode;
    };
    const Case cases[] = {
        {kCmdAppExit, "File->Exit", 0, 0},
        {kCmdUndo, "Edit->Undo", wxACCEL_CTRL, 'Z'},
        {kCmdRedo, "Edit->Redo", wxACCEL_CTRL, 'R'},
        {kCmdUndoSettings, "Edit->Undo Settings", 0, 0},
        {kCmdPreviousPolyhedron, "Poly->Previous Polyhedron", wxACCEL_CTRL, WXK_LEFT},
        {kCmdNextPolyhedron, "Poly->Next Polyhedron", wxACCEL_CTRL, WXK_RIGHT},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(GetCommandMenuText(c.id), c.path);
        const wxMenuItem* item = bar->FindItem(c.id);
        ASSERT_NE(item, nullptr);
        std::unique_ptr<wxAcceleratorEntry> key(item->GetAccel());
        if (!c.keyCode)
        {
            EXPECT_EQ(key, nullptr);
            continue;
        }
        ASSERT_NE(key, nullptr);
        EXPECT_EQ(key->GetFlags(), c.keyFlags);
        EXPECT_EQ(key->GetKeyCode(), c.keyCode);
    }
    // The toolbar's undo and redo ids have no menu item of their own.
    EXPECT_EQ(bar->FindItem(kCmdEditUndo), nullptr);
    EXPECT_EQ(bar->FindItem(kCmdEditRedo), nullptr);
}

TEST_F(EditMenuTest, UndoAndRedoFollowTheListAndReportOnTheActivePane)
{
    wxMenuItem* undo = UpdatedItem(kCmdUndo);
    wxMenuItem* redo = UpdatedItem(kCmdRedo);
    EXPECT_EQ(undo->GetItemLabel(), "Can't &Undo\tCtrl+Z");
    EXPECT_FALSE(undo->IsEnabled());
    EXPECT_EQ(redo->GetItemLabel(), "Can't &Redo\tCtrl+R");
    EXPECT_FALSE(redo->IsEnabled());
    RunCommand(kCmdUndo);
    EXPECT_EQ(ActivePaneMessage(), "Can't undo any further");

    Current().mBaseName = "Icosahedron";
    OpenModel("Cube");
    undo = UpdatedItem(kCmdUndo);
    EXPECT_EQ(undo->GetItemLabel(), "&Undo Open Built-in Model\tCtrl+Z");
    EXPECT_TRUE(undo->IsEnabled());

    RunCommand(kCmdUndo);
    EXPECT_EQ(Current().mBaseName, "Icosahedron");
    EXPECT_EQ(ActivePaneMessage(), "Undid Open Built-in Model");
    redo = UpdatedItem(kCmdRedo);
    EXPECT_EQ(redo->GetItemLabel(), "&Redo Open Built-in Model\tCtrl+R");
    EXPECT_TRUE(redo->IsEnabled());
    EXPECT_FALSE(UpdatedItem(kCmdUndo)->IsEnabled());

    RunCommand(kCmdRedo);
    EXPECT_EQ(Current().mBaseName, "Cube");
    EXPECT_EQ(ActivePaneMessage(), "Redid Open Built-in Model");
    RunCommand(kCmdRedo);
    EXPECT_EQ(ActivePaneMessage(), "Can't redo any further");

    // The toolbar's ids (Undo also Alt+Backspace) run the same steps.
    RunCommand(kCmdEditUndo);
    EXPECT_EQ(Current().mBaseName, "Icosahedron");
    RunCommand(kCmdEditRedo);
    EXPECT_EQ(Current().mBaseName, "Cube");
}

TEST_F(EditMenuTest, WithUndoDisabledBothCommandsSaySo)
{
    OpenModel("Cube");
    GetDocumentSettings().undoEnabled = false;
    for (int id : {kCmdUndo, kCmdRedo})
    {
        RunCommand(id);
        EXPECT_EQ(ActivePaneMessage(), "Undo/redo is disabled");
    }
    EXPECT_EQ(Current().mBaseName, "Cube");
}
}  // namespace

namespace
{
class PolyMenuTest : public MainFrameFixture
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
    }
    void TearDown() override
    {
        ClearUndoList();
        if (!IsSkipped())
            GetDocumentSettings() = mSaved;
        MainFrameFixture::TearDown();
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

// Poly > Next and Previous Polyhedron, reached through the main window's command routing, open the
// neighbouring library rows.
TEST_F(PolyMenuTest, NextAndPreviousPolyhedronOpenTheNeighbouringRows)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("3.3.3.3.3", nullptr, false)));
    const LibraryEntry* icosahedron = mDocument->GetCurrentRecord()->mPoly.mLibraryEntry;
    RunCommand(kCmdNextPolyhedron);
    const Poly& next = mDocument->GetCurrentRecord()->mPoly;
    EXPECT_NE(next.mLibraryEntry, icosahedron);
    EXPECT_GT(next.mFaces.mCount, 0);
    RunCommand(kCmdPreviousPolyhedron);
    EXPECT_EQ(mDocument->GetCurrentRecord()->mPoly.mLibraryEntry, icosahedron);
    EXPECT_EQ(mDocument->GetCurrentRecord()->mPoly.mFaces.mCount, 20);
}
}  // namespace
