#include "platform/NewTreeCtrl.h"

#include "kernel/Paths.h"
#include "platform/ReplaceControl.h"

struct NewTreeCtrl::ItemRecord : wxTreeItemData
{
    std::string folder;  // empty for items that follow their parent's folder
    int value = 0;
};

NewTreeCtrl::NewTreeCtrl(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
    Create(parent, id, pos, size, style);
}

bool NewTreeCtrl::Create(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size, long style)
{
    // Labels are never edited here, whatever style the caller asks for.
    if (!wxTreeCtrl::Create(parent, id, pos, size, style & ~long(wxTR_EDIT_LABELS)))
        return false;
    Bind(wxEVT_TREE_ITEM_EXPANDING, &NewTreeCtrl::OnItemExpanding, this);
    Bind(wxEVT_TREE_SEL_CHANGED, &NewTreeCtrl::OnSelChanged, this);
    Bind(wxEVT_TREE_BEGIN_LABEL_EDIT, [](wxTreeEvent& event) { event.Veto(); });
    Bind(wxEVT_RIGHT_DOWN, [](wxMouseEvent&) {});
    Bind(wxEVT_LEFT_UP, [this](wxMouseEvent& event) {
        if (HasCapture())
            ReleaseMouse();
        event.Skip();
    });
    return true;
}

bool NewTreeCtrl::ReplaceDlgItem(wxWindow* dialog, int id, long style)
{
    wxWindow* placeholder = dialog ? dialog->FindWindow(id) : nullptr;
    if (!placeholder || placeholder == this || GetHandle())
        return false;
    if (!Create(placeholder->GetParent(), id, placeholder->GetPosition(), placeholder->GetSize(),
                style | wxBORDER_SUNKEN))
        return false;
    ReplaceControl(placeholder, this);
    return true;
}

NewTreeCtrl::ItemRecord* NewTreeCtrl::Record(const wxTreeItemId& item, bool create)
{
    if (!item.IsOk() || item == GetRootItem())
        return nullptr;
    auto* record = static_cast<ItemRecord*>(GetItemData(item));
    if (!record && create)
    {
        record = new ItemRecord;
        SetItemData(item, record);  // the tree frees it with the item
    }
    return record;
}

const NewTreeCtrl::ItemRecord* NewTreeCtrl::Record(const wxTreeItemId& item) const
{
    if (!item.IsOk() || item == GetRootItem())
        return nullptr;
    return static_cast<const ItemRecord*>(GetItemData(item));
}

int NewTreeCtrl::GetItemValue(const wxTreeItemId& item) const
{
    const ItemRecord* record = Record(item);
    return record ? record->value : 0;
}

bool NewTreeCtrl::SetItemValue(const wxTreeItemId& item, int value)
{
    ItemRecord* record = Record(item, true);
    if (!record)
        return false;
    record->value = value;
    return true;
}

void NewTreeCtrl::SetItemFolder(const wxTreeItemId& item, const std::string& path)
{
    ItemRecord* record = Record(item, true);
    if (!record)
        return;
    record->folder = path;
    if (HasSubfolders(path))
        AppendItem(item, kPlaceholder);
}

std::string NewTreeCtrl::GetItemFolderPath(const wxTreeItemId& item) const
{
    if (!item.IsOk() || item == GetRootItem())
        return std::string();
    if (const ItemRecord* record = Record(item); record && !record->folder.empty())
        return record->folder;
    const wxTreeItemId parent = GetItemParent(item);
    std::string folder = GetItemFolderPath(parent);
    if (folder.empty())
        return folder;
    if (folder.back() != '/')
        folder += '/';
    return folder + GetItemText(item).utf8_string();
}

bool NewTreeCtrl::HasSubfolders(const std::string& path)
{
    if (path.empty() || !FolderExists(path.c_str()))
        return false;
    const std::string pattern = path + (path.back() == '/' ? "*" : "/*");
    return !ListFiles(pattern.c_str(), 0).empty();
}

wxTreeItemId NewTreeCtrl::FindBelow(const wxTreeItemId& parent, int value) const
{
    wxTreeItemIdValue cookie;
    for (wxTreeItemId child = GetFirstChild(parent, cookie); child.IsOk(); child = GetNextChild(parent, cookie))
    {
        const ItemRecord* record = Record(child);
        if (record && !record->folder.empty())
            continue;
        if ((record ? record->value : 0) == value)
            return child;
        if (wxTreeItemId found = FindBelow(child, value); found.IsOk())
            return found;
    }
    return wxTreeItemId();
}

wxTreeItemId NewTreeCtrl::FindRootItem(int value) const
{
    const wxTreeItemId root = GetRootItem();
    return root.IsOk() ? FindBelow(root, value) : wxTreeItemId();
}

void NewTreeCtrl::FillFolderItem(const wxTreeItemId& item, const std::string& folder)
{
    const std::string base = folder.back() == '/' ? folder : folder + "/";
    for (const std::string& name : ListFiles((base + "*").c_str(), 0))
    {
        const wxTreeItemId child = AppendItem(item, wxString::FromUTF8(name));
        if (HasSubfolders(base + name))
            AppendItem(child, kPlaceholder);
    }
}

void NewTreeCtrl::OnItemExpanding(wxTreeEvent& event)
{
    const wxTreeItemId item = event.GetItem();
    wxTreeItemIdValue cookie;
    const wxTreeItemId first = item.IsOk() ? GetFirstChild(item, cookie) : wxTreeItemId();
    if (first.IsOk() && GetItemText(first) == kPlaceholder)
    {
        // A folder that has gone keeps its placeholder, and is tried again next time.
        const std::string folder = GetItemFolderPath(item);
        if (!folder.empty() && FolderExists(folder.c_str()))
        {
            Delete(first);
            FillFolderItem(item, folder);
        }
    }
    event.Skip();
}

void NewTreeCtrl::OnSelChanged(wxTreeEvent& event)
{
    if (mSelectCallback && event.GetItem().IsOk())
        mSelectCallback(event.GetItem());
    event.Skip();
}
