#include "ui/OptionsCommands.h"

#include "kernel/Prompt.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/SceneFile.h"
#include "model/ElementDisplayOptions.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "view/PolyView.h"
#include "view/ViewThrows.h"

#include <wx/event.h>

#include <algorithm>

namespace
{
CPolyView* ActivePolyView()
{
    return dynamic_cast<CPolyView*>(NewView::GetActiveView());
}

void TogglePivot()
{
    gPivotAroundAxis = !gPivotAroundAxis;
    if (CPolyView* view = ActivePolyView())
        if (!view->GetPivotThrow().IsMoving())
            view->UpdatePivot();
    NewView::UpdateMouseHints();
}

void ToggleLockViews()
{
    OpenGLView::ViewsLocked() = !OpenGLView::ViewsLocked();
    if (CPolyView* view = ActivePolyView())
        view->SyncOtherViews();
}

// A command of the diagnostic numbers with the label bits it chooses.
struct DiagnosticCommand
{
    int command;
    int bits;
};

const DiagnosticCommand kDiagnosticCommands[] = {
    {kCmdDiagnosticsAllNumbers, kDiagnosticFaceNumbers | kDiagnosticEdgeNumbers | kDiagnosticVertexNumbers},
    {kCmdDiagnosticsFaceVertexNumbers, kDiagnosticFaceNumbers | kDiagnosticVertexNumbers},
    {kCmdDiagnosticsFaceNumbers, kDiagnosticFaceNumbers},
    {kCmdDiagnosticsFaceTypeNumbers, kDiagnosticFaceTypeNumbers},
    {kCmdDiagnosticsEdgeNumbers, kDiagnosticEdgeNumbers},
    {kCmdDiagnosticsEdgeTypeNumbers, kDiagnosticEdgeTypeNumbers},
    {kCmdDiagnosticsVertexNumbers, kDiagnosticVertexNumbers},
    {kCmdDiagnosticsVertexTypeNumbers, kDiagnosticVertexTypeNumbers},
    {kCmdDiagnosticsFaceletNumbers, kDiagnosticFaceletNumbers},
    {kCmdDiagnosticsFaceletTypeNumbers, kDiagnosticFaceletTypeNumbers},
    {kCmdDiagnosticsCellBelow, kDiagnosticCellBelowNumbers},
    {kCmdDiagnosticsCellAbove, kDiagnosticCellAboveNumbers},
    {kCmdDiagnosticsRegionTypes, kDiagnosticRegionTypeNumbers},
    {kCmdDiagnosticsRegions, kDiagnosticRegionNumbers},
    {kCmdDiagnosticsDiagramVertices, kDiagnosticDiagramVertexNumbers},
};

const struct
{
    int command;
    int labels;
} kVertexFigureLabelCommands[] = {
    {kCmdVertexFigureLabelsNone, kVertexFigureLabelNothing},
    {kCmdVertexFigureLabelsSides, kVertexFigureLabelSides},
    {kCmdVertexFigureLabelsIndices, kVertexFigureLabelFaceIndices},
    {kCmdVertexFigureLabelsAroundVertex, kVertexFigureLabelAroundVertex},
};

// A program-wide switch of the menu with the redraw it needs.
struct OptionSwitch
{
    int command;
    bool& (*flag)();
    int redrawTypes;  // the view-type code of the panes to redraw; 0 none
};

const OptionSwitch kOptionSwitches[] = {
    {kCmdShowCoplanarVertexFigures, []() -> bool& { return GetElementDisplayOptions().mShowCoplanarVertexFigures; },
     kViewTypeVertexFigure},
    {kCmdShowDualFaceOnVertexFigure, []() -> bool& { return GetElementDisplayOptions().mShowDualFaceOnVertexFigure; },
     kViewTypeVertexFigure},
    {kCmdRecolorSubSymmetries, []() -> bool& { return Poly::sRecolourOnSymmetryChange; }, 0},
    {kCmdKeepLayoutOnOpen, []() -> bool& { return KeepLayoutWhenOpening(); }, 0},
};
}  // namespace

void PromptMorphRatio()
{
    GetSceneThrows().morph.Stop();
    double percent = GetSceneParameters().morphRatio * 100.0;
    PromptReal("Enter dual morphing ratio as a percentage\n(0 = base model, 100 = dual)", percent);
    double ratio = percent * 0.01;
    if (gClampMorphing)
        ratio = std::clamp(ratio, 0.0, 1.0);
    SetMorphRatio(ratio, true);
}

void ToggleClampMorphing()
{
    gClampMorphing = !gClampMorphing;
    const double ratio = GetSceneParameters().morphRatio;
    if (gClampMorphing && (ratio < 0.0 || ratio > 1.0))
        SetMorphRatio(std::clamp(ratio, 0.0, 1.0), true);
}

void BindOptionsCommands(wxEvtHandler* frame)
{
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { TogglePivot(); }, kCmdPivotAroundSelected);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(gPivotAroundAxis); },
                kCmdPivotAroundSelected);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleLockViews(); }, kCmdLockViews);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(OpenGLView::ViewsLocked()); },
                kCmdLockViews);
    frame->Bind(
        wxEVT_MENU, [](wxCommandEvent&) { SetExplosionImplodeAllowed(!GetExplosionImplodeAllowed()); },
        kCmdAllowImplodeInertia);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetExplosionImplodeAllowed()); },
                kCmdAllowImplodeInertia);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { PromptMorphRatio(); }, kCmdSetMorphRatio);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ToggleClampMorphing(); }, kCmdClampMorphing);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(gClampMorphing); }, kCmdClampMorphing);

    for (const OptionSwitch& s : kOptionSwitches)
    {
        bool& (*flag)() = s.flag;
        const int types = s.redrawTypes;
        frame->Bind(
            wxEVT_MENU,
            [flag, types](wxCommandEvent&) {
                flag() = !flag();
                if (types)
                    InvalidateViewsOfType(types, false);
            },
            s.command);
        frame->Bind(wxEVT_UPDATE_UI, [flag](wxUpdateUIEvent& event) { event.Check(flag()); }, s.command);
    }
    for (const auto& c : kVertexFigureLabelCommands)
    {
        const int labels = c.labels;
        frame->Bind(
            wxEVT_MENU,
            [labels](wxCommandEvent&) {
                GetElementDisplayOptions().mVertexFigureLabels = labels;
                InvalidateViewsOfType(kViewTypeVertexFigure, false);
            },
            c.command);
        frame->Bind(
            wxEVT_UPDATE_UI,
            [labels](wxUpdateUIEvent& event) { event.Check(GetElementDisplayOptions().mVertexFigureLabels == labels); },
            c.command);
    }

    frame->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            GetElementDisplayOptions().mDiagnosticLabelFlags = 0;
            GetUnitSettings().mNetEdgeData &= ~kNetEdgeletNumbers;
            NewView::InvalidateAll(false, false);
        },
        kCmdDiagnosticsNone);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetDiagnosticLabelFlags() == 0); },
                kCmdDiagnosticsNone);
    for (const DiagnosticCommand& c : kDiagnosticCommands)
    {
        const int bits = c.bits;
        frame->Bind(
            wxEVT_MENU,
            [bits](wxCommandEvent&) {
                int& mask = GetElementDisplayOptions().mDiagnosticLabelFlags;
                mask = ToggleDiagnosticBits(mask, bits);
                NewView::InvalidateAll(false, false);
            },
            c.command);
        frame->Bind(
            wxEVT_UPDATE_UI, [bits](wxUpdateUIEvent& event) { event.Check((GetDiagnosticLabelFlags() & bits) == bits); },
            c.command);
    }
    frame->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            int32_t& data = GetUnitSettings().mNetEdgeData;
            data = ToggleEdgeletNumbers(data);
            NewView::InvalidateAll(false, false);
        },
        kCmdDiagnosticsEdgeletNumbers);
    frame->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) { event.Check((GetUnitSettings().mNetEdgeData & kNetEdgeletNumbers) != 0); },
        kCmdDiagnosticsEdgeletNumbers);
}
