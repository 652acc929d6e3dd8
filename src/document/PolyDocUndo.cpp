#include "document/PolyDoc.h"
#include "document/UndoList.h"
#include "platform/CommandIds.h"

#include <wx/event.h>

void CPolyDoc::BindUndoCommands()
{
    for (int id : {kCmdUndo, kCmdEditUndo})
    {
        Bind(wxEVT_MENU, &CPolyDoc::OnUndo, this, id);
        Bind(wxEVT_UPDATE_UI, &CPolyDoc::OnUpdateUndo, this, id);
    }
    for (int id : {kCmdRedo, kCmdEditRedo})
    {
        Bind(wxEVT_MENU, &CPolyDoc::OnRedo, this, id);
        Bind(wxEVT_UPDATE_UI, &CPolyDoc::OnUpdateRedo, this, id);
    }
}

void CPolyDoc::OnUndo(wxCommandEvent& /*event*/)
{
    UndoList::Undo();
}

void CPolyDoc::OnRedo(wxCommandEvent& /*event*/)
{
    UndoList::Redo();
}

void CPolyDoc::OnUpdateUndo(wxUpdateUIEvent& event)
{
    event.Enable(CanUndo());
    event.SetText(wxString::FromUTF8(UndoMenuText(true)));
}

void CPolyDoc::OnUpdateRedo(wxUpdateUIEvent& event)
{
    event.Enable(CanRedo());
    event.SetText(wxString::FromUTF8(RedoMenuText(true)));
}
