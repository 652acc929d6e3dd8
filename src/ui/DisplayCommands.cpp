#include "ui/DisplayCommands.h"

#include "kernel/Prompt.h"
#include "kernel/RenderSettings.h"
#include "kernel/ViewTypes.h"
#include "model/ColorSchemes.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/MenuPictureChecks.h"
#include "render/NewView.h"
#include "stellation/StellationSettings.h"
#include "ui/Commands.h"
#include "ui/MainFrame.h"
#include "ui/SelectByIndexDialog.h"
#include "ui/ToolBarDropDowns.h"
#include "view/PolyView.h"
#include "view/ViewDisplayOptions.h"

#include <wx/display.h>
#include <wx/menu.h>
#include <wx/settings.h>
#include <wx/window.h>

#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

namespace
{
constexpr int kKitEdgeStyleCommands[] = {
    kCmdKitEdgeYellow,        kCmdKitEdgeRed,          kCmdKitEdgeGreen,       kCmdKitEdgeBlue,
    kCmdKitEdgeMetallicBlue,  kCmdKitEdgeMetallicSilver, kCmdKitEdgeGlow,      kCmdKitEdgePastelLemon,
    kCmdKitEdgePastelMusk,    kCmdKitEdgePastelMauve,  kCmdKitEdgePastelSky,
};

// A switch of the display options that every pane draws by.
struct DisplaySwitch
{
    int command;
    bool& (*flag)();
};

const DisplaySwitch kDisplaySwitches[] = {
    {kCmdShowVertices, []() -> bool& { return GetElementDisplayOptions().mShowVerts; }},
    {kCmdShowEdges, []() -> bool& { return GetElementDisplayOptions().mShowEdges; }},
    {kCmdShowStellationVertices, []() -> bool& { return GetElementDisplayOptions().mShowStelVerts; }},
    {kCmdShowStellationEdges, []() -> bool& { return GetElementDisplayOptions().mShowStelEdges; }},
    {kCmdShowMidsphere, []() -> bool& { return GetViewDisplayOptions().showMidsphere; }},
    {kCmdAutoFrameStellation, []() -> bool& { return GetStellationSettings().autoFrame; }},
    {kCmdShowOriginalEdges, []() -> bool& { return GetStellationSettings().showOriginalEdges; }},
};

void ToggleSpheresAndCylinders()
{
    ElementDisplayOptions& o = GetElementDisplayOptions();
    o.mSpheresAndCylinders = !o.mSpheresAndCylinders;
    if (!o.mShowVerts && !o.mShowEdges && !o.mShowStelVerts && !o.mShowStelEdges)
        NewView::SetMessage(NewView::GetActiveView(),
                            "The effect of changing this option won't be apparent unless you use\n\"%s\" or\n\"%s\".",
                            GetCommandMenuText(kCmdShowVertices).c_str(), GetCommandMenuText(kCmdShowEdges).c_str());
    NewView::InvalidateAll(false, true);
}

constexpr int kStereoCommands[] = {kCmdStereoOff,    kCmdStereoParallel, kCmdStereoCrossEyed,
                                   kCmdStereoRedCyan, kCmdStereoRedBlue,  kCmdStereoRedGreen};

void SetSelectedFaceDisplay(int mode)
{
    const Poly* poly = GetCurrentPoly();
    Poly::SetSelectedFaceDisplay(mode);
    if (poly && !poly->mSelectedFace)
        NewView::SetMessage(NewView::GetActiveView(), "%s",
                            "You must select a face to see the effect of this option.\n"
                            "Use Shift+Left-click to select a face.");
}

void PromptDrawingSize(const char* prompt, float& size)
{
    if (PromptFloat(prompt, size))
        NewView::InvalidateAll(false, false);
}
}  // namespace

wxPoint PlaceKitEdgeStyleMenu(const wxPoint& anchor, int currentOffset, const wxSize& menu, const wxSize& screen,
                              int frameWidth)
{
    int y = anchor.y + 2 - currentOffset;
    if (y < 0)
        y = 0;
    else if (y + menu.y > screen.y)
        y = screen.y - menu.y;
    int x = anchor.x + 2 - frameWidth;
    const int right = screen.x - menu.x - 2 * frameWidth - 12;
    if (x < 0)
        x = 0;
    else if (x > right)
        x = right;
    return wxPoint(x, y);
}

void ShowKitEdgeStyleMenu(wxWindow* owner, int current, int x, int y)
{
    if (!owner)
        return;
    std::vector<int> ids(std::begin(kKitEdgeStyleCommands), std::end(kKitEdgeStyleCommands));
    std::unique_ptr<wxMenu> menu(BuildCommandMenu(GetCommandTable(), ids));
    // The items say what the buttons' tips say: the colour's plain name.
    int widest = 0;
    int count = 0;
    for (const int id : ids)
    {
        wxMenuItem* item = menu->FindItem(id);
        const CommandInfo* info = GetCommandTable().Find(id);
        if (!item || !info || !info->tooltip || !*info->tooltip)
            break;
        item->SetItemLabel(wxString::FromUTF8(info->tooltip));
        if (IsPictureCheckItem(item))
            SetPictureCheckItemChecked(item, count == current);
        else if (item->IsCheckable())
            item->Check(count == current);
        widest = std::max(widest, owner->GetTextExtent(item->GetItemLabelText()).x + 16 + 40);
        ++count;
    }
    const DropDownChooser& chooser = GetDropDownChooser();
    if (chooser)
    {
        menu->UpdateUI(owner->GetEventHandler());
        const int chosen = chooser(*menu, kCmdChooseKitEdgeStyle);
        if (chosen > 0)
        {
            wxCommandEvent event(wxEVT_MENU, chosen);
            event.SetEventObject(owner);
            owner->ProcessWindowEvent(event);
        }
        return;
    }
    // The toolkit does not tell a menu's item heights before it opens: an item is as high as its
    // picture or its text with the usual padding.
    const int itemHeight = std::max(16, owner->GetCharHeight()) + 8;
    int frame = wxSystemSettings::GetMetric(wxSYS_FRAMESIZE_Y, owner);
    if (frame < 0)
        frame = 1;
    int frameX = wxSystemSettings::GetMetric(wxSYS_FRAMESIZE_X, owner);
    if (frameX < 0)
        frameX = 1;
    const int offset = frame + itemHeight * std::clamp(current, 0, std::max(count - 1, 0));
    const wxSize menuSize(widest, 2 * frame + itemHeight * count);
    const int display = wxDisplay::GetFromWindow(owner);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetGeometry();
    const wxPoint at = PlaceKitEdgeStyleMenu(wxPoint(x, y) - screen.GetPosition(), offset, menuSize,
                                             screen.GetSize(), frameX) +
                       screen.GetPosition();
    owner->PopupMenu(menu.get(), owner->ScreenToClient(at));
}

void ShowKitEdgeStyleMenuAtButton(wxWindow* frame)
{
    auto* main = dynamic_cast<CMainFrame*>(frame);
    CToolBarEx* bar = main ? main->GetToolBar(kOptionToolBar) : nullptr;
    if (!bar || !bar->FindTool(kCmdChooseKitEdgeStyle))
        return;
    const wxRect r = bar->GetToolRect(kCmdChooseKitEdgeStyle);
    const wxPoint anchor = bar->ClientToScreen(r.GetTopLeft());
    ShowKitEdgeStyleMenu(frame, GetGeomagEdgeStyle(), anchor.x, anchor.y);
}

void BindDisplayCommands(wxEvtHandler* handler)
{
    const struct
    {
        int command;
        int kind;
    } kIndexCommands[] = {{kCmdSelectFaceByIndex, kIndexCell}, {kCmdSelectEdgeByIndex, kIndexEdge},
                          {kCmdSelectVertexByIndex, kIndexVertex}};
    for (const auto& c : kIndexCommands)
    {
        const int kind = c.kind;
        handler->Bind(
            wxEVT_MENU, [handler, kind](wxCommandEvent&) { SelectByIndex(dynamic_cast<wxWindow*>(handler), kind); },
            c.command);
    }
    const int faceDisplayCommands[] = {kCmdSelectedFaceHighlight, kCmdSelectedFaceDiagram};
    for (int mode = 0; mode < 2; ++mode)
    {
        handler->Bind(wxEVT_MENU, [mode](wxCommandEvent&) { SetSelectedFaceDisplay(mode); },
                      faceDisplayCommands[mode]);
        handler->Bind(
            wxEVT_UPDATE_UI,
            [mode](wxUpdateUIEvent& event) {
                const Poly* poly = GetCurrentPoly();
                event.Enable(poly && !(poly->mFlags & Poly::kIs4D));
                event.Check(SelectedFaceDisplay() == mode);
            },
            faceDisplayCommands[mode]);
    }
    for (int mode = 0; mode < int(std::size(kStereoCommands)); ++mode)
    {
        handler->Bind(wxEVT_MENU, [mode](wxCommandEvent&) { SetStereoDisplay(mode); }, kStereoCommands[mode]);
        handler->Bind(wxEVT_UPDATE_UI, [mode](wxUpdateUIEvent& event) { event.Check(GetStereoMode() == mode); },
                      kStereoCommands[mode]);
    }
    for (const DisplaySwitch& s : kDisplaySwitches)
    {
        bool& (*flag)() = s.flag;
        handler->Bind(
            wxEVT_MENU,
            [flag](wxCommandEvent&) {
                flag() = !flag();
                NewView::InvalidateAll(false, false);
            },
            s.command);
        handler->Bind(wxEVT_UPDATE_UI, [flag](wxUpdateUIEvent& event) { event.Check(flag()); }, s.command);
    }
    handler->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleSpheresAndCylinders(); }, kCmdUseSpheresAndCylinders);
    handler->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check(GetElementDisplayOptions().mSpheresAndCylinders); },
        kCmdUseSpheresAndCylinders);
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            PromptDrawingSize("Enter size for drawing vertices (in pixels)", GetElementDisplayOptions().mVertSize);
        },
        kCmdVertexSize);
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) { PromptDrawingSize("Enter line width for edges (in pixels)", GetRenderSettings().edgeWidth); },
        kCmdEdgeWidth);
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            bool& hide = GetElementDisplayOptions().mHideBetweenHiddenFaces;
            hide = !hide;
            InvalidateViewsOfType(kViewFamily3D, false);
        },
        kCmdHideBetweenHiddenFaces);
    handler->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check(GetElementDisplayOptions().mHideBetweenHiddenFaces); },
        kCmdHideBetweenHiddenFaces);
    auto* window = dynamic_cast<wxWindow*>(handler);
    handler->Bind(wxEVT_MENU, [window](wxCommandEvent&) { ShowKitEdgeStyleMenuAtButton(window); },
                  kCmdChooseKitEdgeStyle);
    handler->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(IsKitStyle()); },
                  kCmdChooseKitEdgeStyle);
}
