#pragma once

#include <wx/treectrl.h>

#include <functional>
#include <string>

// A tree whose items carry a value chosen by the owner and, optionally, a folder on disk. A folder
// item is filled with its sub-folders only when it first expands, so a whole disk can hang under one
// item without being read in advance; the items below it know their folder from their parent's and
// their own text. Labels cannot be edited. The "Polyhedra" chooser puts the library's categories
// (items with values) and the library folders (folder items) into one. Owned by its dialog.
class NewTreeCtrl : public wxTreeCtrl
{
public:
    using SelectCallback = std::function<void(const wxTreeItemId& item)>;
    // The text of the child that gives a folder item not yet filled its expand button.
    static constexpr const char* kPlaceholder = "/";

    NewTreeCtrl() = default;
    NewTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);
    bool Create(wxWindow* parent, wxWindowID id, const wxPoint& pos = wxDefaultPosition,
                const wxSize& size = wxDefaultSize, long style = wxTR_DEFAULT_STYLE);

    // Makes the tree in place of the dialog's placeholder control of that id, with its place and
    // size and a sunken border; false when there is none or the tree exists already.
    bool ReplaceDlgItem(wxWindow* dialog, int id, long style = wxTR_DEFAULT_STYLE);

    // Called whenever the selection has changed, with the newly selected item.
    void SetSelChangedCallback(SelectCallback callback) { mSelectCallback = std::move(callback); }

    // 0 for an item never given a value, a missing item or the hidden root.
    int GetItemValue(const wxTreeItemId& item) const;
    // False for a missing item or the hidden root.
    bool SetItemValue(const wxTreeItemId& item, int value);
    // The item's folder becomes the path; a folder with sub-folders gives the item a placeholder
    // child. Nothing for a missing item or the hidden root.
    void SetItemFolder(const wxTreeItemId& item, const std::string& path);
    // The folder an item stands for: its own, else its parent's folder joined with its text; empty
    // for an item outside every folder item.
    std::string GetItemFolderPath(const wxTreeItemId& item) const;

    // Depth first, each item before its children, the first item whose value is the given one. Folder
    // items and everything below them are never answered.
    wxTreeItemId FindRootItem(int value) const;

    // The path names an existing folder that holds at least one folder.
    static bool HasSubfolders(const std::string& path);

private:
    struct ItemRecord;

    ItemRecord* Record(const wxTreeItemId& item, bool create);
    const ItemRecord* Record(const wxTreeItemId& item) const;
    wxTreeItemId FindBelow(const wxTreeItemId& parent, int value) const;
    void FillFolderItem(const wxTreeItemId& item, const std::string& folder);

    void OnItemExpanding(wxTreeEvent& event);
    void OnSelChanged(wxTreeEvent& event);

    SelectCallback mSelectCallback;
};
