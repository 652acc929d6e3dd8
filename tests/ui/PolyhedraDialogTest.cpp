// File > Polyhedron List...: the "Polyhedra" chooser browsing, searching and opening the library,
// driven through the main window as the user drives it.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/Paths.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/TokenFile.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryCategory.h"
#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFolder.h"
#include "library/LibraryLookup.h"
#include "library/LibrarySearchResult.h"
#include "library/SceneFile.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "platform/DialogUtils.h"
#include "platform/LinkLabel.h"
#include "platform/NewListCtrl.h"
#include "platform/NewTreeCtrl.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/PolyhedraDialog.h"
#include "view/PolyView.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace
{
class PolyhedraDialogTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        ResetChooserState();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
        ClearUndoList();
        mServices.services.Clear();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            ResetChooserState();
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
            GetDocumentSettings() = mSaved;
        }
        MainFrameFixture::TearDown();
    }

    // The filter and the search results outlive the dialog; no test may leave them to the next.
    static void ResetChooserState()
    {
        GetLibraryCountFilter().Reset();
        ClearSearchResults();
        ChooserSearchMode() = 0;
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    static std::string Cell(const PolyhedraDialog& dialog, int row, int column)
    {
        return dialog.List()->GetItemText(row, column).utf8_string();
    }
    static int SelectedRow(const PolyhedraDialog& dialog)
    {
        return int(dialog.List()->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
    }
    static std::string SelectedName(const PolyhedraDialog& dialog)
    {
        const int row = SelectedRow(dialog);
        return row < 0 ? std::string() : Cell(dialog, row, 2);
    }
    static std::string Field(const PolyhedraDialog& dialog, PolyhedraDialog::Field field)
    {
        return dialog.FieldBox(field)->GetValue().utf8_string();
    }
    static std::string SelectedTreeText(const PolyhedraDialog& dialog)
    {
        const wxTreeItemId item = dialog.Tree()->GetSelection();
        return item.IsOk() ? dialog.Tree()->GetItemText(item).utf8_string() : std::string();
    }
    // What a user's click on a tree item or a list row does.
    static void ClickTreeValue(PolyhedraDialog& dialog, int value)
    {
        dialog.Tree()->SelectItem(dialog.Tree()->FindRootItem(value));
    }
    static void ClickRow(PolyhedraDialog& dialog, int row)
    {
        for (int other = 0; other < dialog.List()->GetItemCount(); ++other)
            dialog.List()->SetItemState(other, 0, wxLIST_STATE_SELECTED);
        dialog.List()->SetItemState(row, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
        dialog.OnListSelect();
    }
    static void Type(wxTextCtrl* box, const std::string& text) { box->SetValue(wxString::FromUTF8(text)); }
    static void ChooseMode(PolyhedraDialog& dialog, int mode)
    {
        dialog.ModeButton(mode)->SetValue(true);
        wxCommandEvent event(wxEVT_RADIOBUTTON, dialog.ModeButton(mode)->GetId());
        event.SetEventObject(dialog.ModeButton(mode));
        dialog.ModeButton(mode)->ProcessWindowEvent(event);
    }

    // Runs File > Polyhedron List... with one step against the chooser, which the step ends.
    void RunChooser(std::function<void(PolyhedraDialog&)> step)
    {
        DialogDriver driver({[step](wxDialog& top) {
            auto* dialog = dynamic_cast<PolyhedraDialog*>(&top);
            if (!dialog)
                return false;
            step(*dialog);
            return true;
        }});
        RunCommand(kCmdPolyhedronList);
        EXPECT_FALSE(driver.TimedOut());
    }

    static int CategoryNamed(const char* name)
    {
        for (int i = 0; GetLibraryCategoryName(i); ++i)
            if (std::string(GetLibraryCategoryName(i)) == name)
                return i;
        return -1;
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

TEST_F(PolyhedraDialogTest, OpensOnTheCurrentModelInItsCategoryWithTheWholeTree)
{
    PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
    EXPECT_EQ(dialog.GetTitle(), "Polyhedra");
    EXPECT_EQ(SelectedTreeText(dialog), "Platonic");
    EXPECT_EQ(SelectedName(dialog), "Icosahedron");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kWenninger).rfind("W4, Polyhedron Models p", 0), 0u);
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kDualNames).rfind("Dodecahedron", 0), 0u);
    EXPECT_TRUE(dialog.OkButton()->IsEnabled());
    EXPECT_FALSE(dialog.LocateButton()->IsShown());

    // Every category once, nested as the library nests them, the two lists at the top level.
    NewTreeCtrl& tree = *dialog.Tree();
    for (int i = 0; i < kNumLibraryCategories; ++i)
    {
        SCOPED_TRACE(GetLibraryCategoryName(i));
        const wxTreeItemId item = tree.FindRootItem(i + 1);
        ASSERT_TRUE(item.IsOk());
        EXPECT_EQ(tree.GetItemText(item).utf8_string(), GetLibraryCategoryName(i));
        int depth = 0;
        for (wxTreeItemId up = tree.GetItemParent(item); up != tree.GetRootItem(); up = tree.GetItemParent(up))
            ++depth;
        EXPECT_EQ(depth, GetLibraryCategoryDepth(i));
    }
    EXPECT_EQ(tree.GetItemParent(tree.FindRootItem(1)), tree.GetRootItem());
    EXPECT_EQ(tree.GetItemParent(tree.FindRootItem(2)), tree.GetRootItem());

    // Captions bold, "Search:" larger than the rest.
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(dialog.Caption(i)->GetFont().GetWeight(), wxFONTWEIGHT_BOLD);
    EXPECT_GT(dialog.Caption(0)->GetFontHeight(), dialog.Caption(1)->GetFontHeight());
}

TEST_F(PolyhedraDialogTest, EachCategoryListsItsSubtreeNumberedFromOne)
{
    PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
    const struct
    {
        const char* category;
        int rows;
    } cases[] = {{"All Built-in Polyhedra", 274}, {"Uniform", 105},       {"Platonic", 5},
                 {"Johnson Solids", 92},          {"Demo 4D Polytopes", 10}};
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.category);
        const int category = CategoryNamed(c.category);
        ASSERT_GE(category, 0);
        ClickTreeValue(dialog, category + 1);
        ASSERT_EQ(dialog.List()->GetItemCount(), c.rows);
        for (int row = 0; row < c.rows; ++row)
            EXPECT_EQ(Cell(dialog, row, 0), std::to_string(row + 1));
        EXPECT_EQ(SelectedRow(dialog), 0);
    }
}

TEST_F(PolyhedraDialogTest, FindOneSelectsTheRowInItsCategoryAndSortingKeepsIt)
{
    PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
    Type(dialog.SearchBox(), "cube");
    EXPECT_EQ(SelectedTreeText(dialog), "Platonic");
    EXPECT_EQ(SelectedName(dialog), "Cube");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kOtherNames), "Hexahedron");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kDualNames), "Octahedron");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kWythoff), "3 | 2 4");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kMaeder), "U6");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kKaleido), "K11");
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kWenninger), "W3, Polyhedron Models p16, Dual Models p8.");
    EXPECT_EQ(GetLibraryCountFilter().mText, "cube");

    dialog.List()->SortByColumn(2, true);
    EXPECT_EQ(SelectedName(dialog), "Cube");
    EXPECT_EQ(Cell(dialog, 0, 2), "Cube");  // sorted by name, it comes first of the five
}

TEST_F(PolyhedraDialogTest, FindAllListsDualsAndLocateShowsTheEntrysOwnCategory)
{
    PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
    ChooseMode(dialog, 1);
    Type(dialog.SearchBox(), "rhombic dodecahedron");
    EXPECT_EQ(dialog.ShownCategory(), 0);
    EXPECT_EQ(SelectedTreeText(dialog), "Search Results");
    EXPECT_TRUE(dialog.LocateButton()->IsShown());
    int dualRow = -1;
    for (int row = 0; row < dialog.List()->GetItemCount(); ++row)
        if (Cell(dialog, row, 1) == "D-4.3.4.3" && Cell(dialog, row, 2) == "Rhombic Dodecahedron")
            dualRow = row;
    ASSERT_GE(dualRow, 0);
    ClickRow(dialog, dualRow);
    // A dual result names its entry as the dual.
    EXPECT_EQ(Field(dialog, PolyhedraDialog::kDualNames).rfind("Cuboctahedron", 0), 0u);

    dialog.OnLocateResult();
    EXPECT_FALSE(dialog.LocateButton()->IsShown());
    EXPECT_EQ(SelectedTreeText(dialog), "Archimedean");
    EXPECT_EQ(SelectedName(dialog), "Cuboctahedron");
}

TEST_F(PolyhedraDialogTest, ADualResultOffersADualPaneAndOpensItsEntry)
{
    ASSERT_EQ(FindViewOfType(kViewTypeDual, kViewTypeDualStellation), nullptr);
    mServices.services.PushAnswer(kIdCancel);
    mServices.services.PushAnswer(kIdYes);
    RunChooser([](PolyhedraDialog& dialog) {
        ChooseMode(dialog, 1);
        Type(dialog.SearchBox(), "rhombic dodecahedron");
        for (int row = 0; row < dialog.List()->GetItemCount(); ++row)
            if (Cell(dialog, row, 1) == "D-4.3.4.3")
                ClickRow(dialog, row);
        dialog.OnOK();  // Cancel keeps the dialog open
        EXPECT_TRUE(dialog.IsShown());
        dialog.OnOK();
    });
    ASSERT_EQ(mServices.services.CountCalls("MessageBox"), 2);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text,
              "A dual model was requested, but you don't\ncurrently have a dual view open.\n\n"
              "Shall I change the current view to a dual view?");
    ASSERT_NE(FindViewOfType(kViewTypeDual, kViewTypeDual), nullptr);
    // The cuboctahedron, whose dual the pane shows: 12 faces, 24 edges and 14 vertices.
    EXPECT_EQ(Current().mFaces.mCount, 14);
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(ChooserSearchMode(), 1);
}

TEST_F(PolyhedraDialogTest, TheCountFilterRestrictsTheSearchAndOutlivesTheDialog)
{
    {
        PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
        ChooseMode(dialog, 1);
        Type(dialog.RangeBox(1), "20");
        Type(dialog.SearchBox(), "icosahedron");
        ASSERT_GT(dialog.List()->GetItemCount(), 1);
        for (int row = 0; row < dialog.List()->GetItemCount(); ++row)
            EXPECT_EQ(Cell(dialog, row, 4), "20") << Cell(dialog, row, 2);
    }
    // Closed with Cancel: the next opening shows the text and the range again.
    PolyhedraDialog dialog(mFrame, Current().mLibraryEntry, GetCurrentTemplate());
    EXPECT_EQ(dialog.SearchBox()->GetValue(), "icosahedron");
    EXPECT_EQ(dialog.RangeBox(1)->GetValue(), "20");
    EXPECT_EQ(GetLibraryCountFilter().mMinFaces, 20);
    EXPECT_EQ(GetLibraryCountFilter().mMaxFaces, 20);
}

TEST_F(PolyhedraDialogTest, AFamilyRowAsksForItsParameterOnlyWhenClicked)
{
    // Clicked: the prompt comes, and its answer makes the prism.
    mServices.services.PushText("7");
    RunChooser([](PolyhedraDialog& dialog) {
        ClickTreeValue(dialog, CategoryNamed("Prisms/Antiprisms") + 1);
        for (int row = 0; row < dialog.List()->GetItemCount(); ++row)
            if (Cell(dialog, row, 1).find("<N>") != std::string::npos && Cell(dialog, row, 2).find("Prism") != std::string::npos &&
                Cell(dialog, row, 2).find("Antiprism") == std::string::npos)
            {
                ClickRow(dialog, row);
                break;
            }
        dialog.OnOK();
    });
    ASSERT_EQ(mServices.services.CountCalls("Prompt"), 1);
    EXPECT_EQ(mServices.services.LastCall("Prompt")->text, "Enter a value for <<N>");
    EXPECT_EQ(Current().mFaces.mCount, 9);
    EXPECT_EQ(Current().mVerts.mCount, 14);

    // Found by typing: no prompt, n from the search.
    mServices.services.Clear();
    RunChooser([](PolyhedraDialog& dialog) {
        Type(dialog.SearchBox(), "9.4.4");
        dialog.OnOK();
    });
    EXPECT_EQ(mServices.services.CountCalls("Prompt"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 11);
    EXPECT_EQ(Current().mEdges.count, 27);
    EXPECT_EQ(Current().mVerts.mCount, 18);
}

TEST_F(PolyhedraDialogTest, TextThatNoRowMatchesGoesToTheDocument)
{
    RunChooser([](PolyhedraDialog& dialog) {
        Type(dialog.SearchBox(), "cube*");
        EXPECT_EQ(SelectedRow(dialog), -1);
        EXPECT_EQ(SelectedTreeText(dialog), "All Built-in Polyhedra");
        for (int field = 0; field < PolyhedraDialog::kNumFields; ++field)
            EXPECT_EQ(Field(dialog, PolyhedraDialog::Field(field)), "");
        dialog.OnOK();
    });
    ASSERT_NE(mServices.services.LastCall("MessageBox"), nullptr);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Couldn't find any model with name or symbol\n\"cube*\"");
    EXPECT_STREQ(Current().mLibraryEntry->mName, "Icosahedron");

    RunChooser([](PolyhedraDialog& dialog) {
        Type(dialog.SearchBox(), "3.4.3.4");
        EXPECT_EQ(SelectedRow(dialog), -1);
        dialog.OnOK();
    });
    EXPECT_EQ(UndoMenuText(false), "&Undo Create New Model");
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(Current().mEdges.count, 24);
    EXPECT_EQ(Current().mFaces.mCount, 14);
}

TEST_F(PolyhedraDialogTest, DoubleClicksActOnlyWithRowsAndThePlaceIsKept)
{
    int position[2] = {0, 0};
    int size[2] = {0, 0};
    RunChooser([&](PolyhedraDialog& dialog) {
        ChooseMode(dialog, 1);
        Type(dialog.SearchBox(), "no such polyhedron at all");
        ASSERT_EQ(dialog.List()->GetItemCount(), 0);
        dialog.SetSize(dialog.GetPosition().x + 30, dialog.GetPosition().y + 20, 900, 640);
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetEventObject(dialog.List()->RowsWindow());
        dialog.List()->RowsWindow()->ProcessWindowEvent(click);
        PumpEventsUntil([] { return false; }, 5);
        EXPECT_TRUE(dialog.IsShown());
        GetWindowPosSize(&dialog, position, size);
        dialog.EndModal(wxID_CANCEL);
    });
    RunChooser([&](PolyhedraDialog& dialog) {
        int again[2] = {0, 0};
        int againSize[2] = {0, 0};
        GetWindowPosSize(&dialog, again, againSize);
        EXPECT_EQ(againSize[0], size[0]);
        EXPECT_EQ(againSize[1], size[1]);
        EXPECT_NEAR(again[0], position[0], 2);
        EXPECT_NEAR(again[1], position[1], 2);
        // With rows, a double click on one is OK for it.
        ClickTreeValue(dialog, CategoryNamed("Platonic") + 1);
        ASSERT_EQ(Cell(dialog, 1, 2), "Cube");
        wxWindow* rows = dialog.List()->RowsWindow();
        const wxPoint centre = dialog.List()->CellRect(1, 2).GetPosition() + wxPoint(10, 5);
        wxMouseEvent click(wxEVT_LEFT_DCLICK);
        click.SetPosition(rows->ScreenToClient(dialog.List()->ClientToScreen(centre)));
        click.SetEventObject(rows);
        dialog.List()->RowsWindow()->ProcessWindowEvent(click);
    });
    EXPECT_STREQ(Current().mLibraryEntry->mName, "Cube");
}

TEST_F(PolyhedraDialogTest, ALibraryFolderListsItsModelFilesAndOpensOne)
{
    // "OrvaneLib" beside the program, as an installation ships it.
    std::string program;
    ASSERT_TRUE(FindProgramFile(program, ".", true));
    const std::filesystem::path folder = std::filesystem::path(program).lexically_normal() / "OrvaneLib";
    const bool existed = std::filesystem::exists(folder);
    if (existed)
        GTEST_SKIP() << "an OrvaneLib folder is already beside the program";
    std::filesystem::create_directories(folder);
    struct Cleanup
    {
        std::filesystem::path path;
        ~Cleanup() { std::filesystem::remove_all(path); }
    } cleanup{folder};
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
    ASSERT_TRUE(WriteSceneFile((folder / "Cube.orva").c_str(), kIoAscii, &Current(), 0));
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Snub Cube", nullptr, false)));
    ASSERT_TRUE(WriteSceneFile((folder / "Snub Cube.orva").c_str(), kIoAscii, &Current(), 0));

    RunChooser([](PolyhedraDialog& dialog) {
        NewTreeCtrl& tree = *dialog.Tree();
        wxTreeItemIdValue cookie;
        wxTreeItemId item;
        for (wxTreeItemId top = tree.GetFirstChild(tree.GetRootItem(), cookie); top.IsOk();
             top = tree.GetNextChild(tree.GetRootItem(), cookie))
            if (tree.GetItemText(top) == "(Orvane Library)")
                item = top;
        ASSERT_TRUE(item.IsOk());
        tree.SelectItem(item);
        EXPECT_LT(dialog.ShownCategory(), 0);
        ASSERT_EQ(dialog.List()->GetItemCount(), 2);
        EXPECT_EQ(Cell(dialog, 0, 2), "Cube");
        EXPECT_EQ(Cell(dialog, 0, 4), "6");
        EXPECT_EQ(Cell(dialog, 0, 5), "12");
        EXPECT_EQ(Cell(dialog, 0, 6), "8");
        EXPECT_EQ(Cell(dialog, 1, 2), "Snub Cube");
        EXPECT_EQ(Cell(dialog, 1, 4), "38");
        EXPECT_EQ(Cell(dialog, 1, 5), "60");
        EXPECT_EQ(Cell(dialog, 1, 6), "24");
        ClickRow(dialog, 0);
        dialog.OnOK();
    });
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(mDocument->GetPathName(), (folder / "Cube.orva").string());
}

}  // namespace
