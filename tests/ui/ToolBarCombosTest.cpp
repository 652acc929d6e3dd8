// The toolbars' combo boxes: the library's categories and models on the Main toolbar, the
// symmetry group and its subgroups on the Option toolbar.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/UndoKinds.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryCategory.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/MultiColumnCombo.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/ToolBarCombos.h"

#include <wx/odcombo.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
class ToolBarCombosTest : public MainFrameFixture
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
        mMain = dynamic_cast<MainToolBar*>(mFrame->GetToolBar(kMainToolBar));
        mOption = dynamic_cast<OptionToolBar*>(mFrame->GetToolBar(kOptionToolBar));
        ASSERT_NE(mMain, nullptr);
        ASSERT_NE(mOption, nullptr);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            ClearUndoList();
            WholeModelUndo::SetModelFunctions(nullptr, nullptr);
            GetDocumentSettings() = mSaved;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }
    void Open(const char* name)
    {
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(name, nullptr, false), false, false));
        ClearUndoList();
    }
    static std::vector<std::string> Texts(const wxOwnerDrawnComboBox* combo)
    {
        std::vector<std::string> texts;
        for (unsigned i = 0; i < combo->GetCount(); ++i)
            texts.push_back(combo->GetString(i).utf8_string());
        return texts;
    }
    static std::string Shown(const wxOwnerDrawnComboBox* combo)
    {
        const int row = combo->GetSelection();
        return row < 0 ? std::string() : combo->GetString(unsigned(row)).utf8_string();
    }
    // The number of distinct vertex types of the model.
    int VertexTypeCount()
    {
        std::set<const FaceType*> types;
        for (FaceVert* vert = Current().mVerts.mFirst; vert; vert = vert->mNext)
            types.insert(vert->mFaceType);
        return int(types.size());
    }

    ScopedScriptedServices mServices;
    // The program's shell, so that a model change refreshes the document as it does in the program.
    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    DocumentSettings mSaved;
    MainToolBar* mMain = nullptr;
    OptionToolBar* mOption = nullptr;
};
}  // namespace

TEST_F(ToolBarCombosTest, TheCategoryAndModelBoxesShowTheModelAndOpenWhatIsChosen)
{
    Open("Icosahedron");
    wxOwnerDrawnComboBox* category = mMain->GetCategoryCombo();
    wxOwnerDrawnComboBox* model = mMain->GetModelCombo();
    EXPECT_EQ(Texts(category), std::vector<std::string>{"- - - Platonic"});
    EXPECT_EQ(Texts(model), std::vector<std::string>{"Icosahedron"});

    // Open: every category in tree order, the model's own selected.
    mMain->FillCategoryList(false);
    const std::vector<std::string> rows = Texts(category);
    ASSERT_EQ(rows.size(), size_t(kNumLibraryCategories));
    EXPECT_EQ(rows[0], "Search Results");
    EXPECT_EQ(rows[1], "All Built-in Polyhedra");
    EXPECT_EQ(rows[2], "- Uniform");
    EXPECT_EQ(rows[4], "- - - Platonic");
    EXPECT_EQ(Shown(category), "- - - Platonic");

    // Choosing a category above the model's opens that category's first model in one step; the
    // list keeps the chosen row while the models stay inside it, and the same row again opens the
    // first model again.
    const LibraryEntry* first = GetLibraryEntryInCategory(2, 0, false);
    ASSERT_NE(first, nullptr);
    category->SetSelection(2);
    mMain->OnCategorySelected(2);
    EXPECT_EQ(Current().mLibraryEntry, first);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(category->GetCount(), unsigned(kNumLibraryCategories));
    EXPECT_EQ(Shown(category), "- Uniform");
    EXPECT_EQ(Texts(model), std::vector<std::string>{first->mName});
    mMain->FillCategoryList(false);
    EXPECT_EQ(Shown(category), "- Uniform");
    RunCommand(kCmdNextPolyhedron);
    ASSERT_NE(Current().mLibraryEntry, first);
    mMain->OnCategorySelected(category->GetSelection());
    EXPECT_EQ(Current().mLibraryEntry, first);

    // A model row opens that model of the shown category.
    mMain->FillModelList();
    ASSERT_GT(model->GetCount(), 5u);
    const std::string fifth = model->GetString(4).utf8_string();
    const int steps = GetUndoStepCount();
    mMain->OnModelSelected(4);
    ASSERT_NE(Current().mLibraryEntry, nullptr);
    EXPECT_EQ(Current().mLibraryEntry->mName, fifth);
    EXPECT_EQ(GetUndoStepCount(), steps + 1);
    EXPECT_EQ(Texts(model), std::vector<std::string>{fifth});
}

TEST_F(ToolBarCombosTest, AModelWithoutALibraryEntryGetsUnknownRowsThatDoNothing)
{
    Open("Cube");
    std::unique_ptr<SimplePoly> cube = LibraryEntry::CreatePoly(FindLibraryEntry("Cube", nullptr, false), false);
    ASSERT_NE(cube, nullptr);
    ASSERT_TRUE(SetModelFromSimplePoly(cube.get(), kUndoCreateNewModel, false, false));
    ASSERT_EQ(Current().mLibraryEntry, nullptr);
    wxOwnerDrawnComboBox* category = mMain->GetCategoryCombo();
    wxOwnerDrawnComboBox* model = mMain->GetModelCombo();
    EXPECT_EQ(Texts(category), std::vector<std::string>{"<Unknown Category>"});
    EXPECT_EQ(Texts(model), std::vector<std::string>{"<Unknown Model>"});

    mMain->FillCategoryList(true);
    ASSERT_EQ(category->GetCount(), unsigned(kNumLibraryCategories + 1));
    EXPECT_EQ(category->GetString(0), "<Unknown Category>");
    EXPECT_EQ(category->GetString(1), "Search Results");
    mMain->FillModelList();
    ASSERT_GT(model->GetCount(), 1u);
    EXPECT_EQ(model->GetString(0), "<Unknown Model>");
    const int steps = GetUndoStepCount();
    mMain->OnCategorySelected(0);
    mMain->OnModelSelected(0);
    EXPECT_EQ(Current().mLibraryEntry, nullptr);
    EXPECT_EQ(GetUndoStepCount(), steps);

    // A family row asks for its parameter; Cancel leaves the model and the boxes as they were.
    const LibraryEntry* family = nullptr;
    const LibraryEntry* neighbour = nullptr;
    for (const LibraryEntry& row : GetLibraryTable())
        if (!family && (row.mFlags & (LibraryEntry::kParametricFamily | LibraryEntry::kAnyFamily)))
            family = &row;
    ASSERT_NE(family, nullptr);
    for (const LibraryEntry& row : GetLibraryTable())
        if (!neighbour && row.mCategory == family->mCategory &&
            !(row.mFlags & (LibraryEntry::kParametricFamily | LibraryEntry::kAnyFamily)))
            neighbour = &row;
    ASSERT_NE(neighbour, nullptr);
    ASSERT_TRUE(mDocument->OpenLibraryModel(neighbour, false, false));
    ClearUndoList();
    mMain->FillModelList();
    const std::vector<std::string> models = Texts(model);
    const auto at = std::find(models.begin(), models.end(), family->mName);
    ASSERT_NE(at, models.end());
    mServices.services.calls.clear();
    mServices.services.PushText("7", false);
    mMain->OnModelSelected(int(at - models.begin()));
    EXPECT_EQ(mServices.services.CountCalls("Prompt"), 1);
    EXPECT_EQ(Current().mLibraryEntry, neighbour);
    EXPECT_EQ(Texts(model), std::vector<std::string>{neighbour->mName});
    EXPECT_EQ(GetUndoStepCount(), 0);
}

TEST_F(ToolBarCombosTest, ASubgroupChosenFromTheBoxesIsOneUndoStep)
{
    Open("Cube");
    wxOwnerDrawnComboBox* rotational = mOption->GetRotationalCombo();
    EXPECT_EQ(Texts(rotational), std::vector<std::string>{SymGroup::GetName(Current().GetSymGroup())});
    EXPECT_EQ(mOption->GetSymbolsCombo()->GetItemCount(), 1);
    EXPECT_EQ(mOption->GetSymbolsCombo()->GetItem(0).columns[0], "Oh");

    mOption->FillRotationalList(false);
    const std::vector<std::string> rows = Texts(rotational);
    // The rotation group of the cube has subgroups O, T, D4, D3, D2 (two classes), C4, C3, C2 (two
    // classes) and C1: eleven classes.
    EXPECT_EQ(rows.size(), 11u);
    int tetrahedral = -1;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].find("Tetrahedral") != std::string::npos)
            tetrahedral = int(i);
    ASSERT_GT(tetrahedral, 0);
    // The cube's eight vertices: one type under the full group, two under the tetrahedral one.
    EXPECT_EQ(VertexTypeCount(), 1);

    mOption->OnRotationalSelected(tetrahedral);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(Current().mGroup->mKind, SymGroup::kTetrahedral);
    EXPECT_EQ(Current().mSubgroupChoice[0], tetrahedral);
    EXPECT_EQ(VertexTypeCount(), 2);
    EXPECT_EQ(Shown(rotational), rows[size_t(tetrahedral)]);
    const int symbolsRow = mOption->GetSymbolsCombo()->GetSelection();
    EXPECT_EQ(symbolsRow, SymGroup::FindSubgroupIndex(Current().mFullGroup.get(), tetrahedral, 0));

    UndoList::Undo();
    EXPECT_EQ(Current().mGroup->mKind, SymGroup::kOctahedral);
    EXPECT_EQ(VertexTypeCount(), 1);
    EXPECT_EQ(Texts(rotational), std::vector<std::string>{SymGroup::GetName(Current().GetSymGroup())});
    EXPECT_EQ(mOption->GetSymbolsCombo()->GetItemCount(), 1);
    UndoList::Redo();
    EXPECT_EQ(Current().mGroup->mKind, SymGroup::kTetrahedral);
    EXPECT_EQ(Shown(rotational), rows[size_t(tetrahedral)]);
}

TEST_F(ToolBarCombosTest, KeysTypedWhileAListIsOpenRunNoCommand)
{
    Open("Cube");
    auto* pane = dynamic_cast<OpenGLView*>(NewView::GetActiveView());
    ASSERT_NE(pane, nullptr);
    const bool before = pane->IsOrthogonal();
    // O is Orthogonal View, a plain letter key of the menu bar.
    const auto pressO = [&]() {
        wxKeyEvent key(wxEVT_CHAR_HOOK);
        key.m_keyCode = 'O';
        key.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(key);
        Pump();
    };
    wxOwnerDrawnComboBox* category = mMain->GetCategoryCombo();
    wxCommandEvent drop(wxEVT_COMBOBOX_DROPDOWN, category->GetId());
    drop.SetEventObject(category);
    category->ProcessWindowEvent(drop);
    EXPECT_TRUE(IsToolBarListOpen());
    EXPECT_EQ(category->GetCount(), unsigned(kNumLibraryCategories));
    pressO();
    EXPECT_EQ(pane->IsOrthogonal(), before);

    wxCommandEvent close(wxEVT_COMBOBOX_CLOSEUP, category->GetId());
    close.SetEventObject(category);
    category->ProcessWindowEvent(close);
    EXPECT_FALSE(IsToolBarListOpen());
    pressO();
    EXPECT_NE(pane->IsOrthogonal(), before);
}
