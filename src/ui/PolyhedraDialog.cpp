#include "ui/PolyhedraDialog.h"

#include "document/PolyDoc.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/Strings.h"
#include "kernel/UserServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryCategory.h"
#include "library/LibraryCountFilter.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "library/LibraryFolder.h"
#include "library/LibraryLookup.h"
#include "library/LibraryParameter.h"
#include "library/LibrarySearchResult.h"
#include "library/SceneFile.h"
#include "library/SceneReader.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/DialogUtils.h"
#include "platform/LinkLabel.h"
#include "platform/NewListCtrl.h"
#include "platform/NewTreeCtrl.h"
#include "view/PolyView.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/settings.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/tooltip.h>
#include <wx/wupdlock.h>

#include <algorithm>
#include <cstdlib>

namespace
{
// The template's places, in dialog units: x, y, width, height.
struct Place
{
    int x, y, w, h;
};

constexpr Place kClientSize{0, 0, 456, 284};
constexpr Place kSearchCaption{5, 5, 40, 15};
constexpr Place kSearchBox{50, 5, 215, 15};
constexpr Place kRangeCaptions[4] = {{275, 5, 10, 15}, {321, 5, 10, 15}, {365, 5, 10, 15}, {410, 5, 10, 15}};
constexpr Place kRangeBoxes[4] = {{285, 5, 30, 15}, {331, 5, 30, 15}, {375, 5, 30, 15}, {420, 5, 30, 15}};
constexpr Place kModePlaces[2] = {{50, 20, 45, 10}, {95, 20, 40, 10}};
constexpr Place kLocatePlace{140, 25, 100, 10};
constexpr Place kTreePlace{5, 35, 130, 165};
constexpr Place kListPlace{140, 35, 310, 165};
constexpr Place kOkPlace{345, 265, 50, 14};
constexpr Place kCancelPlace{401, 265, 50, 14};

// The description captions and fields, in the order of PolyhedraDialog::Field.
struct FieldPlace
{
    const char* caption;
    Place captionPlace;
    Place fieldPlace;
};
constexpr FieldPlace kFieldPlaces[PolyhedraDialog::kNumFields] = {
    {"Other names:", {5, 205, 55, 10}, {65, 205, 385, 10}},
    {"Dual names:", {5, 216, 55, 9}, {65, 216, 385, 10}},
    {"Wythoff symbol:", {5, 226, 65, 10}, {75, 226, 60, 10}},
    {"Wenninger number:", {5, 235, 75, 10}, {85, 235, 365, 12}},
    // The two index boxes are wider than the old template's, which clipped "K11" in this font.
    {"Maeder index:", {140, 226, 55, 10}, {200, 226, 30, 12}},
    {"Kaleido index:", {235, 226, 55, 10}, {295, 226, 30, 12}},
    {"Comments:", {5, 245, 45, 10}, {10, 256, 330, 25}},
};

// List columns: title, width in pixels, how the column sorts, and the widest text it holds, so that
// a font larger than the template's never cuts it.
struct Column
{
    const char* title;
    int width;
    uint8_t sort;
    const char* widest;
};
constexpr Column kColumns[9] = {{"", 30, 4, "999"},         {"Symbol", 110, 1, ""},    {"Name", 173, 3, ""},
                                {"Cell", 36, 4, "9999"},    {"Face", 36, 4, "99999"}, {"Edge", 36, 4, "99999"},
                                {"Vert", 36, 4, "99999"},   {"W", 40, 1, "W119"},     {"U", 32, 1, "U80"}};
constexpr int kNameColumn = 2;

const char* const kRangeTips[4] = {
    "Enter a number or a range to only match\npolytopes with that many cells.\n\nFor example:\n\"120\" - Only "
    "polytopes with 120 cells\n\"120-600\" - Only polytopes with between 120 and 600 cells\n\"120-\" - Only "
    "polytopes with 120 cells or more\n\"-120\" - Only polytopes with 120 cells or less",
    "Enter a number or a range to only match\npolyhedra with that many faces.\n\nFor example:\n\"12\" - Only "
    "polyhedra with 12 faces\n\"12-20\" - Only polyhedra with between 12 and 20 faces\n\"12-\" - Only polyhedra "
    "with 12 faces or more\n\"-12\" - Only polyhedra with 12 faces or less",
    "Enter a number or a range to only match\npolyhedra with that many edges.\n\nFor example:\n\"30\" - Only "
    "polyhedra with 30 edges\n\"24-60\" - Only polyhedra with between 24 and 60 edges\n\"30-\" - Only polyhedra "
    "with 30 edges or more\n\"-30\" - Only polyhedra with 30 edges or less",
    "Enter a number or a range to only match\npolyhedra with that many vertices.\n\nFor example:\n\"12\" - Only "
    "polyhedra with 12 vertices\n\"12-20\" - Only polyhedra with between 12 and 20 vertices\n\"12-\" - Only "
    "polyhedra with 12 vertices or more\n\"-12\" - Only polyhedra with 12 vertices or less",
};

int gChooserSearchMode = 0;
int gChooserPosition[2] = {-1, -1};
int gChooserSize[2] = {-1, -1};
// FillSearchResults selects the tree's "Search Results", which comes back to it.
bool gFillingSearchResults = false;

wxString Text(const std::string& text)
{
    return wxString::FromUTF8(text);
}

std::string CountText(int count)
{
    return count > 0 ? std::to_string(count) : std::string();
}

bool IsFileEntry(const LibraryEntry* entry)
{
    return entry && (entry->mFlags & LibraryEntry::kFileEntry);
}

std::string FolderOf(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}
}  // namespace

int& ChooserSearchMode()
{
    return gChooserSearchMode;
}

PolyhedraDialog::PolyhedraDialog(wxWindow* parent, const LibraryEntry* current, const PolyTemplate* templ)
    : wxDialog(parent, wxID_ANY, "Polyhedra", wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxRESIZE_BORDER),
      mSearchMode(gChooserSearchMode),
      mTemplate(templ),
      mResult(const_cast<LibraryEntry*>(current))
{
    BuildControls();
    SetAnchors();
    FillTree();
    mShownCategory = -1;
    SelectInitialItem();
    SetToolTips();
    PlaceDialog(this, gChooserPosition, gChooserSize);
}

PolyhedraDialog::~PolyhedraDialog()
{
    GetWindowPosSize(this, gChooserPosition, gChooserSize);
    FreeFileEntries();
}

void PolyhedraDialog::BuildControls()
{
    SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    const auto rect = [this](const Place& p) {
        return wxRect(ConvertDialogToPixels(wxPoint(p.x, p.y)), ConvertDialogToPixels(wxSize(p.w, p.h)));
    };
    const auto place = [&](wxWindow* window, const Place& p) { window->SetSize(rect(p)); };
    SetClientSize(ConvertDialogToPixels(wxSize(kClientSize.w, kClientSize.h)));

    const LibraryCountFilter& filter = GetLibraryCountFilter();
    mLabels[0] = new LinkLabel(this, wxID_ANY, "Search:");
    place(mLabels[0], kSearchCaption);
    mSearchBox = new wxTextCtrl(this, wxID_ANY, Text(filter.mText));
    place(mSearchBox, kSearchBox);
    const char* const rangeCaptions[4] = {"C:", "F:", "E:", "V:"};
    const std::string ranges[4] = {FormatCountRange(filter.mMinCells, filter.mMaxCells),
                                   FormatCountRange(filter.mMinFaces, filter.mMaxFaces),
                                   FormatCountRange(filter.mMinEdges, filter.mMaxEdges),
                                   FormatCountRange(filter.mMinVerts, filter.mMaxVerts)};
    for (int i = 0; i < 4; ++i)
    {
        place(new wxStaticText(this, wxID_ANY, rangeCaptions[i]), kRangeCaptions[i]);
        mRangeBoxes[i] = new wxTextCtrl(this, wxID_ANY, Text(ranges[i]));
        place(mRangeBoxes[i], kRangeBoxes[i]);
    }
    mModeButtons[0] = new wxRadioButton(this, wxID_ANY, "Find one", wxDefaultPosition, wxDefaultSize, wxRB_GROUP);
    mModeButtons[1] = new wxRadioButton(this, wxID_ANY, "Find all");
    for (int i = 0; i < 2; ++i)
        place(mModeButtons[i], kModePlaces[i]);
    mModeButtons[mSearchMode == 1 ? 1 : 0]->SetValue(true);
    mLocate = new wxButton(this, wxID_ANY, "<--- Locate search result");
    place(mLocate, kLocatePlace);

    mTree = new NewTreeCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxTR_HAS_BUTTONS | wxTR_LINES_AT_ROOT | wxTR_FULL_ROW_HIGHLIGHT | wxTR_HIDE_ROOT |
                                wxTR_SINGLE | wxBORDER_SUNKEN);
    place(mTree, kTreePlace);
    mList = new NewListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                            wxLC_REPORT | wxLC_SINGLE_SEL | wxBORDER_SUNKEN);
    place(mList, kListPlace);
    mList->EnableEditing(false);

    // The captions are labels that can be drawn bold; "Search:" half as large again.
    for (int i = 0; i < kNumFields; ++i)
    {
        const FieldPlace& f = kFieldPlaces[i];
        mLabels[i + 1] = new LinkLabel(this, wxID_ANY, f.caption);
        place(mLabels[i + 1], f.captionPlace);
        const long style = wxTE_READONLY | (i == kComments ? wxTE_MULTILINE | wxVSCROLL : 0);
        mFields[i] = new wxTextCtrl(this, wxID_ANY, wxString(), wxDefaultPosition, wxDefaultSize, style);
        place(mFields[i], f.fieldPlace);
    }
    mOk = new wxButton(this, wxID_OK, "OK");
    place(mOk, kOkPlace);
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    place(cancel, kCancelPlace);
    mOk->SetDefault();
    mOk->Disable();  // RefreshInfo enables it once an entry is shown
    for (LinkLabel* label : mLabels)
        label->SetBold(true);
    mLabels[0]->SetFontHeight(mLabels[0]->GetFontHeight() * 3 / 2);

    for (int c = 0; c < 9; ++c)
    {
        const Column& column = kColumns[c];
        const int fit = std::max(GetTextExtent(column.title).x, GetTextExtent(column.widest).x) + 16;
        mList->AppendColumn(column.title, c == 0 ? wxLIST_FORMAT_RIGHT : wxLIST_FORMAT_LEFT,
                            std::max(column.width, fit));
    }
    std::vector<uint8_t> kinds;
    for (const Column& column : kColumns)
        kinds.push_back(column.sort);
    mList->SetColumnSortTypes(kinds);
    mList->EnableSorting(true);
    mList->SetSecondarySortColumn(kNameColumn, true);

    mSearchBox->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RunSearch(); });
    for (wxTextCtrl* box : mRangeBoxes)
        box->Bind(wxEVT_TEXT, [this](wxCommandEvent&) { RunSearch(); });
    mModeButtons[0]->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { OnFindOne(); });
    mModeButtons[1]->Bind(wxEVT_RADIOBUTTON, [this](wxCommandEvent&) { RunSearch(); });
    mLocate->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnLocateResult(); });
    mOk->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnOK(); });
    mTree->SetSelChangedCallback([this](const wxTreeItemId& item) { OnTreeSelect(item); });
    mList->SetSelectCallback([this](int, bool selected) {
        if (selected)
            OnListSelect();
    });
    // A double click anywhere in the rows, below the last one too.
    if (wxWindow* rows = mList->RowsWindow())
        rows->Bind(wxEVT_LEFT_DCLICK, [this](wxMouseEvent& event) {
            event.Skip();
            CallAfter([this] { OnDoubleClick(); });
        });
}

void PolyhedraDialog::SetAnchors()
{
    constexpr int fixed = AnchorList::kKeepNear | AnchorList::kKeepSize;
    constexpr int follow = AnchorList::kFollowFar | AnchorList::kKeepSize;
    constexpr int stretch = AnchorList::kKeepNear | AnchorList::kFollowFar;
    mAnchors.SetMinSize(400, 292);
    mAnchors.Attach(this);
    mAnchors.AllowGrowth(true, true);
    mAnchors.SetAnchor(mTree, fixed, stretch);
    mAnchors.SetAnchor(mList, stretch, stretch);
    for (wxWindow* child : GetChildren())
    {
        if (dynamic_cast<wxStaticText*>(child) || dynamic_cast<LinkLabel*>(child))
            mAnchors.SetAnchor(child, fixed, follow);
        else if (dynamic_cast<wxTextCtrl*>(child))
            mAnchors.SetAnchor(child, stretch, follow);
    }
    mAnchors.SetAnchor(mLabels[0], fixed, fixed);
    mAnchors.SetAnchor(mSearchBox, stretch, fixed);
    for (wxWindow* child : GetChildren())
        if (auto* caption = dynamic_cast<wxStaticText*>(child); caption && !dynamic_cast<LinkLabel*>(child))
            mAnchors.SetAnchor(caption, follow, fixed);  // the four range captions
    for (wxTextCtrl* box : mRangeBoxes)
        mAnchors.SetAnchor(box, follow, fixed);
    for (wxRadioButton* button : mModeButtons)
        mAnchors.SetAnchor(button, fixed, fixed);
    for (Field field : {kWythoff, kMaeder, kKaleido})
        mAnchors.SetAnchor(mFields[field], fixed, follow);
    mAnchors.SetAnchor(mOk, follow, follow);
    mAnchors.SetAnchor(FindWindow(wxID_CANCEL), follow, follow);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        mAnchors.Layout();
        event.Skip();
    });
}

void PolyhedraDialog::SetToolTips()
{
    wxToolTip::Enable(true);
    wxToolTip::SetAutoPop(32767);
    const wxString search = "Start typing a polyhedron name, abbreviation or symbol\n"
                            "(eg. 5.5.5, cube, ID, J91, W15, U25 or 3 5 | 2)";
    mLabels[0]->SetToolTip(search);
    mSearchBox->SetToolTip(search);
    for (int i = 0; i < 4; ++i)
        mRangeBoxes[i]->SetToolTip(kRangeTips[i]);
    mModeButtons[0]->SetToolTip("Select this if you are just looking for one\nparticular model.  It will be located "
                                "within\nthe standard list of all models.");
    mModeButtons[1]->SetToolTip("Select this if you wish to find ALL matches.\nThey will be stored in the "
                                "\"Search Results\" list,\nand after opening one of them, you will be able to\n"
                                "step through the rest with the left/right arrow keys.");
}

void PolyhedraDialog::FillTree()
{
    const wxTreeItemId root = mTree->AddRoot(wxString());
    wxTreeItemId parents[kNumLibraryCategories + 1];
    for (int i = 0; GetLibraryCategoryName(i); ++i)
    {
        const int depth = GetLibraryCategoryDepth(i);
        const wxTreeItemId parent = depth == 0 ? root : parents[depth - 1];
        const wxTreeItemId item = mTree->AppendItem(parent, Text(GetLibraryCategoryName(i)));
        if (parent != root)
            mTree->Expand(parent);
        mTree->SetItemValue(item, i + 1);
        if (depth <= kNumLibraryCategories)
            parents[depth] = item;
    }
    std::string path;
    for (int i = 0; GetLibraryFolderPath(path, i); ++i)
    {
        LibraryFolder* folder = GetLibraryFolder(i);
        const wxTreeItemId item = mTree->AppendItem(root, Text(std::string("(") + folder->mDisplayName + ")"));
        mTree->SetItemFolder(item, WithoutTrailingSlash(path));
        folder->mTreeItem = item.GetID();
    }
}

void PolyhedraDialog::AddRow(int place, const LibraryEntry* entry, bool dual)
{
    const long row = mList->InsertItem(place, wxString::Format("%d", place + 1));
    std::string cells[9];
    if (IsFileEntry(entry))
    {
        std::string name = GetLibraryFileDisplayName(entry->mName);
        StripModelFileExtension(name);
        ToSlashNames(name);
        cells[2] = name;
        cells[3] = CountText(entry->mNumCells);
        cells[4] = CountText(entry->mNumFaces);
        cells[5] = CountText(entry->mNumEdges);
        cells[6] = CountText(entry->mNumVerts);
    }
    else
    {
        if (entry->mSymbol && !IsBlank(entry->mSymbol))
            cells[1] = dual ? std::string("D-") + entry->mSymbol : std::string(entry->mSymbol);
        cells[2] = dual ? LibraryEntry::GetDualFirstName(entry) : std::string(entry->mName ? entry->mName : "");
        cells[3] = CountText(entry->GetNumCells(dual));
        cells[4] = CountText(entry->GetNumFaces(dual));
        cells[5] = CountText(entry->GetNumEdges(dual));
        cells[6] = CountText(entry->GetNumVerts(dual));
        if (entry->GetWenningerNumber() >= 0)
            cells[7] = "W" + std::to_string(entry->GetWenningerNumber());
        if (entry->GetMaederIndex() != 0)
            cells[8] = "U" + std::to_string(entry->GetMaederIndex());
    }
    for (int c = 1; c < 9; ++c)
        if (!cells[c].empty())
            mList->SetItem(row, c, Text(cells[c]));
}

void PolyhedraDialog::ResortList()
{
    // Sorted again by the column the user last chose; unsorted while none was.
    mList->SortByColumn(-1, true);
}

void PolyhedraDialog::SelectRow(int row)
{
    if (row < 0 || row >= mList->GetItemCount())
        return;
    mList->SetItemState(row, wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED,
                        wxLIST_STATE_SELECTED | wxLIST_STATE_FOCUSED);
    mList->EnsureVisible(row);
}

void PolyhedraDialog::DeselectRows()
{
    for (long row = -1; (row = mList->GetNextItem(row, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED)) != -1;)
        mList->SetItemState(row, 0, wxLIST_STATE_SELECTED);
}

int PolyhedraDialog::SelectedRow() const
{
    return int(mList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED));
}

int PolyhedraDialog::FindRowByNumber(int number) const
{
    for (int row = 0; row < mList->GetItemCount(); ++row)
        if (std::atoi(mList->GetItemText(row, 0).utf8_str()) == number)
            return row;
    return -1;
}

void PolyhedraDialog::FreeFileEntries()
{
    for (LibraryEntry* entry : mFileEntries)
    {
        entry->FreeStrings();
        delete entry;
    }
    mFileEntries.clear();
}

void PolyhedraDialog::ShowCategory(int category)
{
    if (category == 0)
    {
        mLocate->Show();
        mShownCategory = 0;
        FillSearchResults();
        return;
    }
    mLocate->Hide();
    SetCurrentSearchResult(nullptr);
    if (category < 0)
    {
        mShownCategory = category;
        mList->DeleteAllItems();
        FreeFileEntries();
    }
    else if (category != mShownCategory)
    {
        mShownCategory = category;
        mShownFolder.clear();
        wxWindowUpdateLocker freeze(mList);
        mList->DeleteAllItems();
        FreeFileEntries();
        int place = 0;
        for (LibraryEntry& row : GetLibraryTable())
            if (IsInLibraryCategory(row.mCategory, category))
                AddRow(place++, &row, false);
        ResortList();
        SelectRow(0);
    }
    RefreshInfo();
}

void PolyhedraDialog::ShowFolder(const std::string& folder)
{
    ShowCategory(-1);
    mShownFolder = folder;
    wxWindowUpdateLocker freeze(mList);
    const std::string base = folder.empty() || folder.back() == '/' ? folder : folder + "/";
    for (const std::string& name : ListFiles((base + "*.orva").c_str(), 1))
    {
        const std::string path = base + name;
        // Only the header is read, for the counts.
        SceneFileInfo info;
        Poly poly;
        PolyTemplate templ;
        LibraryEntry* entry = CreateFileEntry(path.c_str());
        if (ReadSceneFile(path.c_str(), &poly, &templ, kSceneHeaderOnly | kSceneNoMessages, &info, nullptr,
                          nullptr))
        {
            entry->mNumCells = info.numCells;
            entry->mNumFaces = info.numFaces;
            entry->mNumEdges = info.numEdges;
            entry->mNumVerts = info.numVerts;
        }
        AddRow(int(mFileEntries.size()), entry, false);
        mFileEntries.push_back(entry);
    }
    ResortList();
    SelectRow(0);
    RefreshInfo();
}

void PolyhedraDialog::FillSearchResults()
{
    if (gFillingSearchResults)
        return;
    gFillingSearchResults = true;
    if (mShownCategory != 0)
    {
        const wxTreeItemId item = mTree->FindRootItem(1);
        if (item.IsOk())
            mTree->SelectItem(item);
        ShowCategory(0);
    }
    {
        wxWindowUpdateLocker freeze(mList);
        mList->DeleteAllItems();
        FreeFileEntries();
        int place = 0;
        for (LibrarySearchResult* node = GetFirstSearchResult(); node; node = node->next)
            AddRow(place++, node->mEntry, node->mDual);
        ResortList();
        SelectRow(0);
    }
    SetCurrentSearchResult(GetFirstSearchResult());
    RefreshInfo();
    mLocate->Enable(GetCurrentSearchResult() != nullptr);
    gFillingSearchResults = false;
}

void PolyhedraDialog::RunSearch()
{
    const std::string text = mSearchBox->GetValue().utf8_string();
    mSearchMode = mModeButtons[1]->GetValue() ? 1 : 0;
    LibraryCountFilter& filter = GetLibraryCountFilter();
    filter.Reset();
    filter.mText = text;
    ParseCountRange(mRangeBoxes[0]->GetValue().utf8_str(), filter.mMinCells, filter.mMaxCells);
    ParseCountRange(mRangeBoxes[1]->GetValue().utf8_str(), filter.mMinFaces, filter.mMaxFaces);
    ParseCountRange(mRangeBoxes[2]->GetValue().utf8_str(), filter.mMinEdges, filter.mMaxEdges);
    ParseCountRange(mRangeBoxes[3]->GetValue().utf8_str(), filter.mMinVerts, filter.mMaxVerts);

    bool recognised = false;
    bool dual = false;
    // Typing never raises a message box, however incomplete the text.
    mResult = FindLibraryEntry(text.c_str(), &recognised, false, &dual, mSearchMode == 1);
    mTemplate = nullptr;
    DeselectRows();
    if (mSearchMode == 1)
        FillSearchResults();
    else
        SelectInitialItem();
    mDual = dual;
    mTyped = true;
}

void PolyhedraDialog::OnFindOne()
{
    SetCurrentSearchResult(nullptr);
    RunSearch();
}

bool PolyhedraDialog::SelectFileEntry(const LibraryEntry& entry)
{
    // The file's folder when it lies in a library folder of the tree: the path is walked down from
    // that folder item, expanding each sub-folder on the way.
    const std::string folder = FolderOf(entry.mName ? entry.mName : "");
    std::string full;
    if (folder.empty() || !GetFullPath(full, folder.c_str()))
        return false;
    full = WithoutTrailingSlash(full);
    wxTreeItemIdValue cookie;
    const wxTreeItemId root = mTree->GetRootItem();
    for (wxTreeItemId top = mTree->GetFirstChild(root, cookie); top.IsOk(); top = mTree->GetNextChild(root, cookie))
    {
        std::string topFolder;
        if (mTree->GetItemFolderPath(top).empty() || !GetFullPath(topFolder, mTree->GetItemFolderPath(top).c_str()))
            continue;
        topFolder = WithoutTrailingSlash(topFolder);
        if (full != topFolder && full.compare(0, topFolder.size() + 1, topFolder + "/") != 0)
            continue;
        wxTreeItemId item = top;
        std::string rest = full.substr(std::min(full.size(), topFolder.size() + 1));
        while (!rest.empty() && item.IsOk())
        {
            const size_t slash = rest.find('/');
            const std::string part = rest.substr(0, slash);
            rest = slash == std::string::npos ? std::string() : rest.substr(slash + 1);
            mTree->Expand(item);
            wxTreeItemIdValue childCookie;
            wxTreeItemId found;
            for (wxTreeItemId child = mTree->GetFirstChild(item, childCookie); child.IsOk();
                 child = mTree->GetNextChild(item, childCookie))
                if (mTree->GetItemText(child).utf8_string() == part)
                    found = child;
            item = found;
        }
        if (!item.IsOk())
            return false;
        mTree->SelectItem(item);
        mTree->EnsureVisible(item);
        if (mShownFolder != mTree->GetItemFolderPath(item))
            ShowFolder(mTree->GetItemFolderPath(item));
        DeselectRows();
        const std::string name = GetFileNamePart(entry.mName);
        for (size_t i = 0; i < mFileEntries.size(); ++i)
            if (GetFileNamePart(mFileEntries[i]->mName) == name)
            {
                const int row = FindRowByNumber(int(i) + 1);
                SelectRow(row);
            }
        RefreshInfo();
        return true;
    }
    return false;
}

void PolyhedraDialog::SelectInitialItem()
{
    if (LibrarySearchResult* current = GetCurrentSearchResult())
    {
        int k = 0;
        for (LibrarySearchResult* node = GetFirstSearchResult(); node && node != current; node = node->next)
            ++k;
        const wxTreeItemId item = mTree->FindRootItem(1);
        if (item.IsOk())
            mTree->SelectItem(item);
        ShowCategory(0);
        if (item.IsOk())
            mTree->EnsureVisible(item);
        DeselectRows();
        SelectRow(FindRowByNumber(k + 1));
        RefreshInfo();
        return;
    }
    if (IsFileEntry(mResult) && SelectFileEntry(*mResult))
        return;
    const int p = IsFileEntry(mResult) ? -1 : IndexOfLibraryEntry(mResult, mTemplate, nullptr, nullptr);
    if (p >= 0)
    {
        const std::span<LibraryEntry> table = GetLibraryTable();
        const int c = table[size_t(p)].mCategory;
        const wxTreeItemId item = mTree->FindRootItem(c + 1);
        if (item.IsOk())
            mTree->SelectItem(item);
        ShowCategory(c);
        if (item.IsOk())
            mTree->EnsureVisible(item);
        // The list shows the category's subtree in table order.
        int k = 0;
        for (int i = 0; i < p; ++i)
            if (IsInLibraryCategory(table[size_t(i)].mCategory, c))
                ++k;
        DeselectRows();
        SelectRow(FindRowByNumber(k + 1));
        if (item.IsOk())
        {
            RefreshInfo();
            return;
        }
    }
    const wxTreeItemId all = mTree->FindRootItem(2);
    if (all.IsOk())
        mTree->SelectItem(all);
    ShowCategory(LibraryEntry::kCategoryAll);
    DeselectRows();
    RefreshInfo();
}

LibraryEntry* PolyhedraDialog::GetSelectedEntry()
{
    const int row = SelectedRow();
    if (row < 0)
        return nullptr;
    const int k = std::atoi(mList->GetItemText(row, 0).utf8_str()) - 1;
    if (k < 0)
        return nullptr;
    if (mShownCategory == 0)
    {
        mDual = false;
        LibrarySearchResult* node = GetFirstSearchResult();
        for (int i = 0; i < k && node; ++i)
            node = node->next;
        SetCurrentSearchResult(node);
        if (!node)
            return nullptr;
        mDual = node->mDual;
        return node->mEntry;
    }
    if (mShownCategory > 0)
    {
        int i = 0;
        for (LibraryEntry& entry : GetLibraryTable())
            if (IsInLibraryCategory(entry.mCategory, mShownCategory) && i++ == k)
                return &entry;
    }
    return nullptr;
}

void PolyhedraDialog::RefreshInfo()
{
    const LibraryEntry* e = GetSelectedEntry();
    std::string* texts[kNumFields] = {&mOtherNamesText, &mDualNamesText, &mWythoffText, &mWenningerText,
                                      &mMaederText,     &mKaleidoText,   &mCommentsText};
    if (e)
    {
        mOtherNamesText = e->mOtherNames ? e->mOtherNames : "";
        mDualNamesText = e->mDualNames ? e->mDualNames : "";
        if (mDual && mShownCategory == 0)
        {
            // A dual search result: the names swap roles.
            const std::string duals = mDualNamesText;
            const size_t semicolon = duals.find(';');
            mOtherNamesText.clear();
            if (semicolon != std::string::npos)
            {
                size_t start = semicolon + 1;
                while (start < duals.size() && (duals[start] == ' ' || duals[start] == '\t'))
                    ++start;
                mOtherNamesText = duals.substr(start);
            }
            mDualNamesText = e->mName ? e->mName : "";
            if (e->mOtherNames && !IsBlank(e->mOtherNames))
                mDualNamesText += std::string("; ") + e->mOtherNames;
        }
        const char* wythoff = e->GetWythoffSymbol();
        mWythoffText = wythoff ? wythoff : "";
        mWenningerText.clear();
        if (const int w = e->GetWenningerNumber(); w >= 0)
            mWenningerText = "W" + std::to_string(w) + ", Polyhedron Models p" + std::to_string(e->GetModelsPage()) +
                             ", Dual Models p" + std::to_string(e->GetDualModelsPage()) + ".";
        mMaederText.clear();
        mKaleidoText.clear();
        if (e->GetMaederIndex() != 0)
        {
            mMaederText = "U" + std::to_string(e->GetMaederIndex());
            mKaleidoText = "K" + std::to_string(e->GetKaleidoIndex());
        }
        mCommentsText = e->mDescription ? e->mDescription : "";
        mOk->Enable();
    }
    else
    {
        for (std::string* text : texts)
            text->clear();
        // A model file of a library folder: its header's names and comments.
        const int row = SelectedRow();
        const int k = row < 0 ? -1 : std::atoi(mList->GetItemText(row, 0).utf8_str()) - 1;
        if (mShownCategory < 0 && k >= 0 && k < int(mFileEntries.size()))
        {
            SceneFileInfo info;
            Poly poly;
            PolyTemplate templ;
            const char* path = mFileEntries[size_t(k)]->mName;
            if (ReadSceneFile(path, &poly, &templ, kSceneHeaderOnly | kSceneNoMessages, &info, nullptr, nullptr))
            {
                mOtherNamesText = info.baseName;
                mDualNamesText = info.dualName;
                mCommentsText = info.comments;
            }
            mOk->Enable();
        }
    }
    for (int i = 0; i < kNumFields; ++i)
        mFields[i]->ChangeValue(Text(*texts[i]));
}

void PolyhedraDialog::OnLocateResult()
{
    LibrarySearchResult* current = GetCurrentSearchResult();
    if (!current || !current->mEntry)
        return;
    if (IsFileEntry(current->mEntry))
    {
        SetChosenFilePath(current->mEntry->mName);
        mResult = &GetChosenFileEntry();
    }
    else
    {
        mResult = current->mEntry;
    }
    SetCurrentSearchResult(nullptr);
    SelectInitialItem();
}

void PolyhedraDialog::OnTreeSelect(const wxTreeItemId& item)
{
    mDual = false;
    const int value = mTree->GetItemValue(item);
    if (value > 0)
        ShowCategory(value - 1);
    else
        ShowFolder(mTree->GetItemFolderPath(item));
    mTyped = false;
}

void PolyhedraDialog::OnListSelect()
{
    mDual = false;
    RefreshInfo();
    mTyped = false;
}

void PolyhedraDialog::OnDoubleClick()
{
    if (mList->GetItemCount() > 0)
        OnOK();
}

void PolyhedraDialog::OnOK()
{
    if (mList->GetItemCount() == 0)
    {
        EndModal(wxID_OK);
        return;
    }
    LibraryEntry* e = GetSelectedEntry();
    mSearchMode = mModeButtons[1]->GetValue() ? 1 : 0;
    gChooserSearchMode = mSearchMode;
    if (!e)
    {
        const int row = SelectedRow();
        const int k = row < 0 ? -1 : std::atoi(mList->GetItemText(row, 0).utf8_str()) - 1;
        if (mShownCategory < 0 && k >= 0 && k < int(mFileEntries.size()))
        {
            // A model file of a library folder comes back as the chosen-file entry.
            SetChosenFilePath(mFileEntries[size_t(k)]->mName);
            mResult = &GetChosenFileEntry();
            EndModal(wxID_OK);
            return;
        }
        EndModal(wxID_OK);
        // The text names a model the list did not offer, or a vertex configuration to build; the
        // caller then has nothing more to open.
        const std::string text = mSearchBox->GetValue().utf8_string();
        if (!IsBlank(text.c_str()))
        {
            mResult = nullptr;
            if (CPolyDoc* document = GetPolyDoc())
                document->OpenModelByName(text.c_str());
        }
        return;
    }
    if (!PromptLibraryParameter(e, mResult, !mTyped))
        return;
    if (mDual && !FindViewOfType(kViewTypeDual, kViewTypeDualStellation))
    {
        const int answer = ShowMessage(kMbYesNoCancel | kMbIconQuestion,
                                       "A dual model was requested, but you don't\ncurrently have a dual view open."
                                       "\n\nShall I change the current view to a dual view?");
        if (answer == kIdCancel)
            return;
        if (answer == kIdYes)
        {
            CPolyView* view = dynamic_cast<CPolyView*>(NewView::GetActiveView());
            if (!view)
                view = FindViewOfType(kViewTypePoly, kViewTypePolyAndDual);
            if (view)
                view->SetViewType(kViewTypeDual, false);
        }
    }
    mResult = e;
    EndModal(wxID_OK);
}

LibraryEntry* ChooseLibraryModel(wxWindow* parent, const LibraryEntry* current, const PolyTemplate* templ)
{
    PolyhedraDialog dialog(parent, current, templ);
    if (dialog.ShowModal() != wxID_OK)
        return nullptr;
    return dialog.GetResult();
}

void RunPolyhedronListCommand(wxWindow* parent)
{
    const Poly* poly = GetCurrentPoly();
    LibraryEntry* choice = ChooseLibraryModel(parent, poly ? poly->mLibraryEntry : nullptr, GetCurrentTemplate());
    if (!choice)
        return;
    if (CPolyDoc* document = GetPolyDoc())
        document->OpenLibraryModel(choice, true, true);
}
