#include "platform/ToolBarEx.h"

#include <wx/aui/framemanager.h>
#include <wx/toplevel.h>

CToolBarEx::CToolBarEx(wxWindow* parent, wxWindowID id, wxWindow* target)
    : wxAuiToolBar(parent, id, wxDefaultPosition, wxDefaultSize, wxAUI_TB_DEFAULT_STYLE | wxAUI_TB_GRIPPER),
      mTarget(target)
{
    Bind(wxEVT_RIGHT_DOWN, &CToolBarEx::OnRightDown, this);
    Bind(wxEVT_RIGHT_DCLICK, &CToolBarEx::OnRightDown, this);
    Bind(wxEVT_MENU, &CToolBarEx::OnCommandOrUpdate, this);
    Bind(wxEVT_UPDATE_UI, &CToolBarEx::OnCommandOrUpdate, this);
}

void CToolBarEx::OnDropDown(int /*command*/) {}

void CToolBarEx::OnRightDown(wxMouseEvent& event)
{
    const wxAuiToolBarItem* item = FindToolByPosition(event.GetX(), event.GetY());
    if (!item || item->GetKind() == wxITEM_SEPARATOR || item->GetId() == wxID_ANY)
    {
        event.Skip();
        return;
    }
    // A disabled button takes the click and does nothing with it.
    if (item->GetState() & wxAUI_BUTTON_STATE_DISABLED)
        return;
    OnDropDown(item->GetId());
}

void CToolBarEx::UpdateWindowUI(long flags)
{
    RefreshTips();
    wxAuiToolBar::UpdateWindowUI(flags);
}

void CToolBarEx::OnCommandOrUpdate(wxCommandEvent& event)
{
    // A floating bar lives in a window of its own, where commands stop: hand them to the target.
    wxWindow* top = wxGetTopLevelParent(this);
    if (!mTarget || top == mTarget || !mTarget->GetEventHandler())
    {
        event.Skip();
        return;
    }
    if (!mTarget->GetEventHandler()->ProcessEvent(event))
        event.Skip();
}

void CToolBarEx::RefreshTips()
{
    if (!mTips)
        return;
    for (size_t i = 0; i < GetToolCount(); ++i)
    {
        wxAuiToolBarItem* item = FindToolByIndex(int(i));
        if (!item || item->GetKind() == wxITEM_SEPARATOR || item->GetWindow())
            continue;
        const wxString tip = wxString::FromUTF8(mTips(item->GetId()));
        if (tip != item->GetShortHelp())
            item->SetShortHelp(tip);
    }
}

void CToolBarEx::UpdateButtons()
{
    RefreshTips();
    DoIdleUpdate();
}

std::vector<int> CToolBarEx::GetButtonCommands() const
{
    std::vector<int> ids;
    for (size_t i = 0; i < GetToolCount(); ++i)
    {
        const wxAuiToolBarItem* item = FindToolByIndex(int(i));
        ids.push_back(item->GetKind() == wxITEM_SEPARATOR ? 0 : item->GetId());
    }
    return ids;
}
