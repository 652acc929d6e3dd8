#include "ui/ToolBarCombos.h"

#include "document/PolyDoc.h"
#include "document/SubSymmetryUndo.h"
#include "document/UndoList.h"
#include "kernel/UndoKinds.h"
#include "library/LibraryBrowsing.h"
#include "library/LibraryCategory.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "library/LibraryParameter.h"
#include "library/LibrarySearchResult.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymDescriptor.h"
#include "model/SymGroup.h"
#include "platform/DialogUtils.h"
#include "platform/MainWindow.h"
#include "platform/MultiColumnCombo.h"
#include "render/NewView.h"

#include <wx/dcclient.h>
#include <wx/frame.h>
#include <wx/odcombo.h>
#include <wx/settings.h>

namespace
{
bool gListOpen = false;
wxAcceleratorTable gSavedAccelerators;

constexpr const char* kUnknownCategory = "<Unknown Category>";
constexpr const char* kUnknownModel = "<Unknown Model>";

// Widths in average characters and open lists in lines of the default GUI font.
struct ComboSize
{
    int chars;
    int lines;
};
constexpr ComboSize kCategorySize{29, 28};
constexpr ComboSize kModelSize{56, 28};
constexpr ComboSize kSymbolsSize{32, 40};
constexpr ComboSize kRotationalSize{20, 40};
constexpr ComboSize kReflectiveSize{25, 40};
// Where the symbols list's second and third columns start.
constexpr int kSymbolsColumn2 = 40;
constexpr int kSymbolsColumn3 = 84;

const LibraryEntry* CurrentEntry()
{
    const Poly* poly = GetCurrentPoly();
    return poly ? poly->mLibraryEntry : nullptr;
}

// The group whose subgroups the lists offer: the full group, also while a subgroup is applied,
// as the subgroup choices count through its subgroups.
const SymGroup* FullGroup(const Poly* poly)
{
    if (!poly)
        return nullptr;
    return poly->mFullGroup ? poly->mFullGroup.get() : poly->GetSymGroup();
}

void SizeCombo(wxWindow* combo, const ComboSize& size)
{
    wxClientDC dc(combo);
    dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    wxFontMetrics metrics = dc.GetFontMetrics();
    combo->SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    combo->SetMinSize(wxSize(size.chars * std::max(1, metrics.averageWidth), -1));
    combo->SetSize(combo->GetMinSize().x, -1);
    if (auto* drop = dynamic_cast<wxOwnerDrawnComboBox*>(combo))
        drop->SetPopupMaxHeight(size.lines * (metrics.height + metrics.externalLeading));
}

wxOwnerDrawnComboBox* MakeTextCombo(wxWindow* parent, const ComboSize& size)
{
    auto* combo = new wxOwnerDrawnComboBox(parent, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, 0,
                                           nullptr, wxCB_READONLY);
    SizeCombo(combo, size);
    return combo;
}

void SetSingleEntry(wxOwnerDrawnComboBox* combo, const std::string& text)
{
    combo->Clear();
    combo->Append(wxString::FromUTF8(text));
    combo->SetSelection(0);
}

// The category name indented with one "- " per level.
std::string IndentedCategoryName(int category)
{
    std::string text;
    for (int i = 0; i < GetLibraryCategoryDepth(category); ++i)
        text += "- ";
    const char* name = GetLibraryCategoryName(category);
    return text + (name ? name : "");
}

std::string ShownModelName()
{
    if (const LibrarySearchResult* result = GetCurrentSearchResult())
    {
        const LibraryEntry* entry = result->mEntry;
        if (entry && (entry->mFlags & LibraryEntry::kFileEntry))
        {
            std::string name = GetLibraryFileDisplayName(entry->mName);
            StripModelFileExtension(name);
            ToSlashNames(name);
            return name;
        }
        if (result->mDual)
            return LibraryEntry::GetDualFirstName(entry);
        return entry && entry->mName ? entry->mName : "";
    }
    if (const LibraryEntry* entry = CurrentEntry(); entry && entry->mName)
        return entry->mName;
    return kUnknownModel;
}

void TakeAcceleratorsAway()
{
    wxFrame* frame = GetMainFrame();
    if (gListOpen || !frame)
        return;
    gListOpen = true;
    if (const wxAcceleratorTable* table = frame->GetAcceleratorTable())
        gSavedAccelerators = *table;
    frame->SetAcceleratorTable(wxNullAcceleratorTable);
}

void GiveAcceleratorsBack()
{
    if (!gListOpen)
        return;
    gListOpen = false;
    if (wxFrame* frame = GetMainFrame())
        frame->SetAcceleratorTable(gSavedAccelerators);
    gSavedAccelerators = wxNullAcceleratorTable;
}

void RedrawAllViews()
{
    NewView::InvalidateAll(false, true);
}
}  // namespace

bool IsToolBarListOpen()
{
    return gListOpen;
}

// ---- The Main toolbar ----

MainToolBar::MainToolBar(wxWindow* parent, wxWindow* target) : MainWindowToolBar(parent, target)
{
}

bool MainToolBar::AddCombos()
{
    mCategory = MakeTextCombo(this, kCategorySize);
    mModel = MakeTextCombo(this, kModelSize);
    if (!mCategory || !mModel)
        return false;
    mCategory->SetToolTip("Library category");
    mModel->SetToolTip("Library model");
    for (wxOwnerDrawnComboBox* combo : {mCategory, mModel})
    {
        combo->Bind(wxEVT_COMBOBOX_DROPDOWN, &MainToolBar::OnDropDownList, this);
        combo->Bind(wxEVT_COMBOBOX_CLOSEUP, &MainToolBar::OnCloseUpList, this);
    }
    mCategory->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) { OnCategorySelected(event.GetSelection()); });
    mModel->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) { OnModelSelected(event.GetSelection()); });
    ShowCurrentCategory();
    ShowCurrentModel();
    return true;
}

void MainToolBar::AddNextCombo()
{
    wxOwnerDrawnComboBox* combo = mNextCombo == 0 ? mCategory : mNextCombo == 1 ? mModel : nullptr;
    if (combo)
        AddControl(combo);
    ++mNextCombo;
}

void MainToolBar::OnDropDownList(wxCommandEvent& event)
{
    TakeAcceleratorsAway();
    if (event.GetEventObject() == mCategory)
    {
        FillCategoryList(false);
        FitComboDropWidth(mCategory);
    }
    else
    {
        FillModelList();
        FitComboDropWidth(mModel);
    }
}

void MainToolBar::OnCloseUpList(wxCommandEvent& /*event*/)
{
    GiveAcceleratorsBack();
}

bool MainToolBar::HasUnknownCategoryRow() const
{
    return mCategory && mCategory->GetCount() > 0 && mCategory->GetString(0) == kUnknownCategory;
}

int MainToolBar::CategoryOfRow(int row) const
{
    if (!mCategory || row < 0 || row >= int(mCategory->GetCount()))
        return -1;
    // A closed list's single entry stands for the category it names.
    if (mCategory->GetCount() == 1)
    {
        const std::string text = mCategory->GetString(0).ToStdString(wxConvUTF8);
        for (int c = 0; GetLibraryCategoryName(c); ++c)
            if (IndentedCategoryName(c) == text)
                return c;
        return -1;
    }
    if (HasUnknownCategoryRow())
        --row;
    return row >= 0 && row < mCategoryRows ? row : -1;
}

int MainToolBar::SelectedCategory() const
{
    return mCategory ? CategoryOfRow(mCategory->GetSelection()) : -1;
}

void MainToolBar::ShowCurrentCategory()
{
    if (!mCategory)
        return;
    if (mCategory->IsPopupShown())
    {
        FillCategoryList(true);
        return;
    }
    const LibraryEntry* entry = CurrentEntry();
    if (mCategory->GetCount() > 1)
    {
        const int selected = SelectedCategory();
        if (entry && selected >= 0 && IsInLibraryCategory(entry->mCategory, selected))
        {
            if (HasUnknownCategoryRow())
            {
                const int row = mCategory->GetSelection();
                mCategory->Delete(0);
                mCategory->SetSelection(row - 1);
            }
            return;
        }
    }
    mRowsFilled = 0;
    mCategoryRows = 999999;
    if (GetCurrentSearchResult())
        SetSingleEntry(mCategory, IndentedCategoryName(LibraryEntry::kCategorySearchResults));
    else if (entry)
        SetSingleEntry(mCategory, IndentedCategoryName(entry->mCategory));
    else
        SetSingleEntry(mCategory, kUnknownCategory);
}

void MainToolBar::FillCategoryList(bool force)
{
    if (!mCategory || (!force && mCategory->GetCount() >= 2))
        return;
    const int previous = SelectedCategory();
    const LibraryEntry* entry = CurrentEntry();
    const bool searching = GetCurrentSearchResult() != nullptr;
    mCategory->Clear();
    const bool unknown = !searching && !entry;
    if (unknown)
        mCategory->Append(kUnknownCategory);
    int categories = 0;
    for (int c = 0; GetLibraryCategoryName(c); ++c, ++categories)
        mCategory->Append(wxString::FromUTF8(IndentedCategoryName(c)));
    // The extra libraries are browsed through File > Open and the folder stepping instead: no
    // folder of them ships with the program, so their rows are left out.
    mCategoryRows = categories;
    mRowsFilled = categories;
    int selected = 0;
    if (searching)
        selected = LibraryEntry::kCategorySearchResults;
    else if (entry)
        selected = previous >= 0 && IsInLibraryCategory(entry->mCategory, previous) ? previous : entry->mCategory;
    mCategory->SetSelection(unknown ? 0 : selected);
}

void MainToolBar::OnCategorySelected(int row)
{
    const int category = CategoryOfRow(row);
    if (category < 0)
        return;
    OpenCategoryEntry(category, 0);
}

void MainToolBar::OpenCategoryEntry(int category, int n)
{
    LibraryEntry* entry = GetLibraryEntryInCategory(category, n, true);
    CPolyDoc* document = GetPolyDoc();
    bool opened = false;
    if (entry && document && PromptLibraryParameter(entry, CurrentEntry(), true))
        opened = document->OpenLibraryModel(entry, false, category == LibraryEntry::kCategorySearchResults);
    if (!opened)
    {
        ShowCurrentCategory();
        ShowCurrentModel();
    }
}

void MainToolBar::ShowCurrentModel()
{
    if (!mModel)
        return;
    if (mModel->IsPopupShown())
    {
        FillModelList();
        return;
    }
    mShownModelCategory = -1;
    mModelHasUnknownRow = false;
    SetSingleEntry(mModel, ShownModelName());
}

void MainToolBar::FillModelList()
{
    if (!mModel || !mCategory)
        return;
    const LibraryEntry* entry = CurrentEntry();
    const LibraryModelBox box = GetLibraryModelBox(SelectedCategory(), int(mCategory->GetCount()), entry);
    mModel->Clear();
    for (const std::string& line : box.lines)
        mModel->Append(wxString::FromUTF8(line));
    mShownModelCategory = box.shownCategory;
    mModelHasUnknownRow = !entry && !GetCurrentSearchResult();
    if (!box.lines.empty())
        mModel->SetSelection(std::clamp(box.selection, 0, int(box.lines.size()) - 1));
}

void MainToolBar::OnModelSelected(int row)
{
    if (mShownModelCategory < 0 || row < 0)
        return;
    if (mModelHasUnknownRow)
    {
        if (row == 0)
            return;
        --row;
    }
    FillCategoryList(false);
    OpenCategoryEntry(mShownModelCategory, row);
}

// ---- The Option toolbar ----

OptionToolBar::OptionToolBar(wxWindow* parent, wxWindow* target) : MainWindowToolBar(parent, target)
{
}

bool OptionToolBar::AddCombos()
{
    mSymbols = new MultiColumnCombo(this, wxID_ANY);
    SizeCombo(mSymbols, kSymbolsSize);
    mSymbols->SetColumnLayout(kSymbolsColumn2, kSymbolsColumn3 - kSymbolsColumn2, -1);
    mRotational = MakeTextCombo(this, kRotationalSize);
    mReflective = MakeTextCombo(this, kReflectiveSize);
    if (!mSymbols || !mRotational || !mReflective)
        return false;
    mSymbols->SetToolTip("Symmetry group: Schoenflies, orbifold and Coxeter symbols");
    mRotational->SetToolTip("Rotational symmetry");
    mReflective->SetToolTip("Reflective symmetry");
    for (wxOwnerDrawnComboBox* combo : {static_cast<wxOwnerDrawnComboBox*>(mSymbols), mRotational, mReflective})
    {
        combo->Bind(wxEVT_COMBOBOX_DROPDOWN, &OptionToolBar::OnDropDownList, this);
        combo->Bind(wxEVT_COMBOBOX_CLOSEUP, &OptionToolBar::OnCloseUpList, this);
    }
    mSymbols->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) { OnSymbolsSelected(event.GetSelection()); });
    mRotational->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) { OnRotationalSelected(event.GetSelection()); });
    mReflective->Bind(wxEVT_COMBOBOX, [this](wxCommandEvent& event) { OnReflectiveSelected(event.GetSelection()); });
    ShowCurrentSymbols();
    ShowCurrentRotational();
    ShowCurrentReflective();
    return true;
}

void OptionToolBar::AddNextCombo()
{
    wxWindow* combo = mNextCombo == 0   ? static_cast<wxWindow*>(mSymbols)
                      : mNextCombo == 1 ? static_cast<wxWindow*>(mRotational)
                      : mNextCombo == 2 ? static_cast<wxWindow*>(mReflective)
                                        : nullptr;
    if (combo)
        AddControl(static_cast<wxControl*>(combo));
    ++mNextCombo;
}

void OptionToolBar::OnDropDownList(wxCommandEvent& event)
{
    TakeAcceleratorsAway();
    const wxObject* combo = event.GetEventObject();
    if (combo == mSymbols)
        FillSymbolsList(false);
    else if (combo == mRotational)
    {
        FillRotationalList(false);
        FitComboDropWidth(mRotational);
    }
    else if (combo == mReflective)
    {
        FillReflectiveList(false);
        FitComboDropWidth(mReflective);
    }
}

void OptionToolBar::OnCloseUpList(wxCommandEvent& /*event*/)
{
    GiveAcceleratorsBack();
}

void OptionToolBar::ShowCurrentSymbols()
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mSymbols || !group)
        return;
    // An applied subgroup shows as its row of the whole list.
    if (mSymbols->IsPopupShown() || HasSubSymmetry(*poly))
    {
        FillSymbolsList(true);
        return;
    }
    mSymbols->RemoveAllItems();
    mSymbols->AddItem(SymGroup::GetSymbols(group, "\t"));
    mSymbols->SetCurSel(0);
}

void OptionToolBar::ShowCurrentRotational()
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mRotational || !group)
        return;
    if (mRotational->IsPopupShown() || HasSubSymmetry(*poly))
    {
        FillRotationalList(true);
        return;
    }
    SetSingleEntry(mRotational, SymGroup::GetName(group));
}

void OptionToolBar::ShowCurrentReflective()
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mReflective || !group)
        return;
    if (mReflective->IsPopupShown() || HasSubSymmetry(*poly))
    {
        FillReflectiveList(true);
        return;
    }
    SetSingleEntry(mReflective, SymGroup::GetReflectionName(group));
}

void OptionToolBar::FillSymbolsList(bool force)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mSymbols || !group || (!force && mSymbols->GetItemCount() >= 2))
        return;
    mSymbols->RemoveAllItems();
    SymDescriptor d;
    int rot = 0, refl = 0;
    while (SymGroup::NextSubgroup(group, d, rot, refl))
        mSymbols->AddItem(SymGroup::GetSymbols(&d, "\t"));
    const int row = SymGroup::FindSubgroupIndex(group, poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    mSymbols->SetCurSel(std::max(row, 0));
}

void OptionToolBar::FillRotationalList(bool force)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mRotational || !group || (!force && mRotational->GetCount() >= 2))
        return;
    mRotational->Clear();
    SymDescriptor d;
    while (SymGroup::NextRotationalSubgroup(group, d))
        mRotational->Append(wxString::FromUTF8(SymGroup::GetRotationalSubgroupName(group, d)));
    const int row = std::clamp(poly->mSubgroupChoice[0], 0, std::max(0, int(mRotational->GetCount()) - 1));
    if (mRotational->GetCount() > 0)
        mRotational->SetSelection(row);
}

void OptionToolBar::FillReflectiveList(bool force)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = FullGroup(poly);
    if (!mReflective || !mRotational || !group || (!force && mReflective->GetCount() >= 2))
        return;
    // The choices that go with the rotational subgroup the rotational list has selected.
    int rotational = mRotational->GetCount() >= 2 ? mRotational->GetSelection() : poly->mSubgroupChoice[0];
    rotational = std::max(rotational, 0);
    SymDescriptor d;
    if (!SymGroup::GetRotationalSubgroup(group, rotational, d))
        return;
    mReflective->Clear();
    d.mReflection = -1;
    d.mSecondMirrorSet = false;
    while (SymGroup::NextReflectiveSubgroup(group, d))
        mReflective->Append(wxString::FromUTF8(SymGroup::GetReflectiveSubgroupName(group, d)));
    const int row = rotational == poly->mSubgroupChoice[0] ? poly->mSubgroupChoice[1] : 0;
    if (mReflective->GetCount() > 0)
        mReflective->SetSelection(std::clamp(row, 0, int(mReflective->GetCount()) - 1));
}

void OptionToolBar::OnSymbolsSelected(int row)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !FullGroup(poly) || row < 0)
        return;
    AddUndo(kUndoSubSymmetry, false);
    int first = row, second = -1;
    if (!poly->SetSymmetry(first, second))
        DiscardLastUndo();
    ShowSymmetry(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    RedrawAllViews();
}

void OptionToolBar::OnRotationalSelected(int row)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !FullGroup(poly) || row < 0)
        return;
    AddUndo(kUndoSubSymmetry, false);
    int first = row, second = 0;
    if (!poly->SetSymmetry(first, second))
        DiscardLastUndo();
    ShowSymmetry(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    RedrawAllViews();
}

void OptionToolBar::OnReflectiveSelected(int row)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !FullGroup(poly) || row < 0 || !mRotational)
        return;
    AddUndo(kUndoSubSymmetry, false);
    int first = std::max(0, mRotational->GetCount() >= 2 ? mRotational->GetSelection() : poly->mSubgroupChoice[0]);
    int second = row;
    if (!poly->SetSymmetry(first, second))
        DiscardLastUndo();
    ShowSymmetry(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
    RedrawAllViews();
}

void OptionToolBar::ShowSymmetry(int rotational, int reflective)
{
    const Poly* poly = GetCurrentPoly();
    if (!poly || !FullGroup(poly))
        return;
    if (rotational <= 0 && reflective <= 0)
    {
        // The full group: each box its closed single entry.
        if (mSymbols)
            mSymbols->RemoveAllItems();
        if (mRotational)
            mRotational->Clear();
        if (mReflective)
            mReflective->Clear();
        ShowCurrentSymbols();
        ShowCurrentRotational();
        ShowCurrentReflective();
        return;
    }
    FillSymbolsList(true);
    FillRotationalList(true);
    if (mRotational && rotational >= 0 && rotational < int(mRotational->GetCount()))
        mRotational->SetSelection(rotational);
    FillReflectiveList(true);
    if (mReflective && reflective >= 0 && reflective < int(mReflective->GetCount()))
        mReflective->SetSelection(reflective);
}

void OptionToolBar::SetSymmetry(int rotational, int reflective, bool refill)
{
    Poly* poly = GetCurrentPoly();
    if (!poly || !FullGroup(poly))
        return;
    if (refill || rotational > 0 || reflective > 0)
    {
        FillSymbolsList(true);
        FillRotationalList(true);
    }
    int first = rotational, second = reflective;
    poly->SetSymmetry(first, second);
    ShowSymmetry(poly->mSubgroupChoice[0], poly->mSubgroupChoice[1]);
}
