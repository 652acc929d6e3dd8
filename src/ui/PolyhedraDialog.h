#pragma once

#include "platform/AnchorList.h"

#include <wx/dialog.h>

#include <string>
#include <vector>

class LinkLabel;
class NewListCtrl;
class NewTreeCtrl;
class PolyTemplate;
class wxButton;
class wxRadioButton;
class wxTextCtrl;
class wxTreeItemId;
struct LibraryEntry;

// The "Polyhedra" dialog, the browser of the model library: the categories and the library folders
// in a tree, the entries of the chosen one (or the search results) in a sortable list, a search box
// that searches as the user types with count ranges beside it, and the names and indices of the
// selected entry. Every search rewrites the global count filter, which stays in force after the
// dialog closes. Made and run by ChooseLibraryModel.
class PolyhedraDialog : public wxDialog
{
public:
    // The dialog starts with the filter's text and ranges and the search mode last confirmed with OK;
    // the entry (may be null) and, failing it, the template choose the row shown first.
    PolyhedraDialog(wxWindow* parent, const LibraryEntry* current, const PolyTemplate* templ);
    ~PolyhedraDialog() override;

    // The entry chosen with OK; the caller's entry when OK changed nothing; null after a search that
    // found nothing (the typed text has then been handed to the document).
    LibraryEntry* GetResult() const { return mResult; }

    // What the buttons and the list do, for the window's events and for tests.
    void OnOK();
    void RunSearch();
    void OnFindOne();
    void OnLocateResult();
    // A click that selected a row.
    void OnListSelect();
    // The shown list: 0 the search results, a category, below 0 a library folder.
    void ShowCategory(int category);
    LibraryEntry* GetSelectedEntry();

    NewTreeCtrl* Tree() const { return mTree; }
    NewListCtrl* List() const { return mList; }
    wxTextCtrl* SearchBox() const { return mSearchBox; }
    // 0 cells, 1 faces, 2 edges, 3 vertices.
    wxTextCtrl* RangeBox(int which) const { return mRangeBoxes[which]; }
    wxRadioButton* ModeButton(int mode) const { return mModeButtons[mode]; }
    wxButton* LocateButton() const { return mLocate; }
    wxButton* OkButton() const { return mOk; }
    // The description fields in the order of the data: other names, dual names, Wythoff symbol,
    // Wenninger number, Maeder index, Kaleido index, comments.
    enum Field
    {
        kOtherNames,
        kDualNames,
        kWythoff,
        kWenninger,
        kMaeder,
        kKaleido,
        kComments,
        kNumFields
    };
    wxTextCtrl* FieldBox(Field field) const { return mFields[field]; }
    LinkLabel* Caption(int index) const { return mLabels[index]; }
    int ShownCategory() const { return mShownCategory; }

    // The row whose column 0 holds the number (from 1), -1 when none does.
    int FindRowByNumber(int number) const;

private:
    void BuildControls();
    void SetAnchors();
    void SetToolTips();
    void FillTree();
    void AddRow(int place, const LibraryEntry* entry, bool dual);
    void FillSearchResults();
    void SelectInitialItem();
    bool SelectFileEntry(const LibraryEntry& entry);
    void ShowFolder(const std::string& folder);
    void RefreshInfo();
    void SelectRow(int row);
    void DeselectRows();
    int SelectedRow() const;
    void ResortList();
    void FreeFileEntries();
    void OnTreeSelect(const wxTreeItemId& item);
    void OnDoubleClick();

    std::string mCommentsText;
    std::string mDualNamesText;
    std::string mOtherNamesText;
    std::string mWythoffText;
    std::string mWenningerText;
    std::string mMaederText;
    std::string mKaleidoText;
    int mSearchMode = 0;
    AnchorList mAnchors;
    LinkLabel* mLabels[8] = {};
    const PolyTemplate* mTemplate;
    LibraryEntry* mResult;
    int mShownCategory = -1;
    std::string mShownFolder;  // while a library folder is shown
    NewTreeCtrl* mTree = nullptr;
    NewListCtrl* mList = nullptr;
    bool mDual = false;
    bool mTyped = false;

    wxTextCtrl* mSearchBox = nullptr;
    wxTextCtrl* mRangeBoxes[4] = {};
    wxRadioButton* mModeButtons[2] = {};
    wxButton* mLocate = nullptr;
    wxButton* mOk = nullptr;
    wxTextCtrl* mFields[kNumFields] = {};
    std::vector<LibraryEntry*> mFileEntries;  // the rows of the shown folder, in list order
};

// Runs the chooser modally: the entry chosen with OK (a model file chosen from a library folder comes
// as the chosen-file entry with its path), else null.
LibraryEntry* ChooseLibraryModel(wxWindow* parent, const LibraryEntry* current, const PolyTemplate* templ);

// File > Polyhedron List...: the chooser, then its choice opened as the current model.
void RunPolyhedronListCommand(wxWindow* parent);

// The search mode last confirmed with OK, and where the dialog was last; both live for the run.
int& ChooserSearchMode();
