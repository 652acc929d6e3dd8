#include "ui/ToolBarDropDowns.h"

#include "document/UndoList.h"
#include "kernel/Progress.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "ui/Commands.h"

#include <wx/menu.h>

#include <memory>
#include <string>

namespace
{
DropDownChooser gChooser;

bool CurrentModelIs4D()
{
    const Poly* poly = GetCurrentPoly();
    return poly && (poly->mFlags & Poly::kIs4D) != 0;
}

// The 3D section menu names its axis items after the model's own axes.
void NameSectionAxisItems(wxMenu& menu)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = !poly ? nullptr : poly->mFullGroup ? poly->mFullGroup.get() : poly->GetSymGroup();
    const int ids[3] = {kCmdSectionAlongAxis0, kCmdSectionAlongAxis1, kCmdSectionAlongAxis2};
    for (int i = 0; i < 3; ++i)
    {
        wxMenuItem* item = menu.FindItem(ids[i]);
        if (!item)
            continue;
        std::string text;
        const bool present = SymGroup::GetAxisText(group, text, "Along", i);
        item->SetItemLabel(wxString::FromUTF8(text));
        if (!present)
            item->Enable(false);
    }
}

// Far above every command id.
constexpr int kHistoryIdBase = 30000;

// The chosen id, wxID_NONE for none; the menu is updated as the main window's menus are.
int TrackMenu(CToolBarEx& bar, wxMenu& menu, int command)
{
    const wxRect r = bar.GetToolRect(command);
    if (gChooser)
    {
        menu.UpdateUI(bar.GetEventHandler());
        return gChooser(menu, command);
    }
    return bar.GetPopupMenuSelectionFromUser(menu, r.GetBottomLeft());
}
}  // namespace

void SetDropDownChooser(DropDownChooser chooser)
{
    gChooser = std::move(chooser);
}

const DropDownChooser& GetDropDownChooser()
{
    return gChooser;
}

std::vector<int> GetDropDownCommands(int command, bool model4D)
{
    switch (command)
    {
    case kCmdShowVertices:
        return {kCmdVertexSize, kCmdDefaultVertexColor, kCmdVertexColorsFromDualFaces};
    case kCmdShowEdges:
        return {kCmdEdgeWidth,
                kCmdDefaultEdgeColor,
                0,
                kCmdEdgeColorsSame,
                kCmdEdgeColorsByTypeWithReflections,
                kCmdEdgeColorsByTypeWithoutReflections,
                kCmdEdgeColorsParallel,
                kCmdEdgeColorsGreatCircles,
                kCmdEdgeColorsFromFaces,
                kCmdEdgeColorsFromFacesComplement};
    case kCmdModeImage:
        return {kCmdImageOptions, kCmdOptionsForAllImages};
    case kCmdMode4DTumble:
        if (!model4D)
            return {};
        return {kCmdProjectCellFirst,   kCmdProjectFaceFirst, kCmdProjectEdgeFirst, kCmdProjectVertexFirst,
                kCmdProjectMeasuredFirst, 0,                  kCmdProjectAutomatic};
    case kCmdModeSectionTumble:
    case kCmdViewCrossSection:
        if (model4D)
            return {kCmdSectionSelectedFirst, kCmdSectionCellFirst, kCmdSectionFaceFirst,     kCmdSectionEdgeFirst,
                    kCmdSectionVertexFirst,   0,                    kCmdSectionSameAsProjection, 0,
                    kCmdSectionMeasuredFirst, kCmdSectionAutomatic};
        return {kCmdSectionSelectedFirst, kCmdSectionAlongAxis0,    kCmdSectionAlongAxis1, kCmdSectionAlongAxis2, 0,
                kCmdSectionMeasuredFirst, kCmdSectionAutomatic};
    default:
        return {};
    }
}

int RunUndoHistorySteps(bool undoSide, int count)
{
    if (count <= 0)
        return 0;
    BeginProgress();
    int done = 0;
    for (; done < count; ++done)
    {
        const char* format = undoSide ? "Undone %d changes out of %d" : "Redone %d changes out of %d";
        if (!ShowProgress(double(done) / count, format, done, count))
            break;
        if (undoSide ? !CanUndo() : !CanRedo())
            break;
        if (undoSide)
            UndoList::Undo();
        else
            UndoList::Redo();
    }
    EndProgress();
    return done;
}

void MainWindowToolBar::OnDropDown(int command)
{
    if (command == kCmdEditUndo || command == kCmdEditRedo)
    {
        const bool undoSide = command == kCmdEditUndo;
        wxMenu history;
        BuildUndoHistoryMenu(history, undoSide);
        if (history.GetMenuItemCount() == 0)
            return;
        // The entries' ids 1..20 are also command ids (the view types): the main window's update
        // rules would grey, mark or rename them. They move out of the commands' range here.
        wxMenu menu;
        for (const wxMenuItem* item : history.GetMenuItems())
            menu.Append(kHistoryIdBase + item->GetId(), item->GetItemLabel())->Enable(item->IsEnabled());
        const int chosen = TrackMenu(*this, menu, command) - kHistoryIdBase;
        if (chosen > 0 && chosen <= kUndoHistoryEntries)
            RunUndoHistorySteps(undoSide, chosen);
        return;
    }
    if (command == kCmdUseSpheresAndCylinders)
    {
        wxCommandEvent event(wxEVT_MENU, kCmdSphereCylinderOptions);
        event.SetEventObject(this);
        ProcessWindowEvent(event);
        return;
    }
    const std::vector<int> ids = GetDropDownCommands(command, CurrentModelIs4D());
    if (ids.empty())
        return;
    std::unique_ptr<wxMenu> menu(BuildCommandMenu(GetCommandTable(), ids));
    NameSectionAxisItems(*menu);
    const int chosen = TrackMenu(*this, *menu, command);
    if (chosen == wxID_NONE || chosen <= 0)
        return;
    wxCommandEvent event(wxEVT_MENU, chosen);
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}
