#include "ui/ScaleMenu.h"

#include "kernel/Shell.h"
#include "kernel/Tolerance.h"
#include "kernel/UnitSettings.h"
#include "mesh/Model3D.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "operations/PickedPoints.h"
#include "operations/ScaleMeasures.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "ui/StretchDialog.h"
#include "view/PolyView.h"

#include <wx/window.h>

#include <cfloat>

namespace
{
struct MeasureCommand
{
    int command;
    ScaleMeasureKind kind;
};

constexpr MeasureCommand kMeasureCommands[] = {
    {kCmdScaleBaseRadius, ScaleMeasureKind::BaseRadius},
    {kCmdScaleBaseCircumference, ScaleMeasureKind::BaseCircumference},
    {kCmdScaleBaseArea, ScaleMeasureKind::BaseArea},
    {kCmdScaleBaseVolume, ScaleMeasureKind::BaseVolume},
    {kCmdScaleDualRadius, ScaleMeasureKind::DualRadius},
    {kCmdScaleDualArea, ScaleMeasureKind::DualArea},
    {kCmdScaleDualVolume, ScaleMeasureKind::DualVolume},
    {kCmdScaleMidradius, ScaleMeasureKind::Midradius},
};

constexpr int kUnitCommands[] = {kCmdUnitsMillimetres, kCmdUnitsCentimetres, kCmdUnitsMetres, kCmdUnitsInches,
                                 kCmdUnitsFeet};
constexpr int kAngleCommands[] = {kCmdAnglesDegrees, kCmdAnglesDms, kCmdAnglesRadians};

CPolyView* ActivePolyView()
{
    return dynamic_cast<CPolyView*>(NewView::GetActiveView());
}

void ScaleByEdgeLength()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    // A pane of both sides measures the base.
    Stellation* shown = nullptr;
    bool dual = false;
    if (const CPolyView* view = ActivePolyView(); view && view->GetShownSide(dual))
        shown = view->GetStellation();
    else
        dual = false;
    ScaleToMeasure(GetEdgeLengthMeasure(*poly, shown, dual));
}

void ScaleByInradius(bool dual)
{
    Poly* poly = GetCurrentPoly();
    ScaleMeasure measure;
    if (poly && GetInradiusMeasure(*poly, dual, measure))
        ScaleToMeasure(measure);
}

void ScaleByStellationRadius()
{
    Poly* poly = GetCurrentPoly();
    const CPolyView* view = ActivePolyView();
    bool dual = false;
    if (!poly || !view || !view->GetShownSide(dual))
        return;
    ScaleToMeasure(GetStellationRadiusMeasure(*poly, view->GetStellation(), dual));
}

// The shortest edge of the nets of the side the pane shows, its nets made when needed.
void ScaleByShortestEdge()
{
    const CPolyView* view = ActivePolyView();
    Model3D* mesh = view ? view->GetStellationModel3D(true) : nullptr;
    if (!mesh)
        return;
    ScaleMeasure measure;
    measure.value = mesh->GetShortestEdgeLength();
    if (measure.value <= 0.0)
        return;
    measure.prompt = "Enter length of shortest edge\n  (Note: this refers to edges that will be\n  part of the "
                     "nets, and not necessarily\n  true edges of the original model)";
    ScaleToMeasure(measure);
}

bool HasMeasuredDistance()
{
    const double distance = GetMeasuredDistance();
    return distance < DBL_MAX && distance > kTol;
}

void ScaleByMeasuredDistance()
{
    if (!HasMeasuredDistance())
        return;
    ScaleMeasure measure;
    measure.value = GetMeasuredDistance();
    measure.prompt = "Enter measured distance";
    ScaleToMeasure(measure);
}

// Lengths and angles are shown in the units everywhere.
void UnitsChanged()
{
    GetShell().InvalidateAllViews(false, 0);
    GetShell().InfoNeedsUpdate(1);
}
}  // namespace

void BindScaleCommands(wxWindow* frame)
{
    for (const MeasureCommand& m : kMeasureCommands)
    {
        const ScaleMeasureKind kind = m.kind;
        frame->Bind(
            wxEVT_MENU,
            [kind](wxCommandEvent&) {
                if (Poly* poly = GetCurrentPoly())
                    ScaleToMeasure(GetScaleMeasure(*poly, kind));
            },
            m.command);
    }
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByEdgeLength(); }, kCmdScaleEdgeLength);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByInradius(false); }, kCmdScaleBaseInradius);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByInradius(true); }, kCmdScaleDualInradius);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByStellationRadius(); }, kCmdScaleStellationRadius);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByShortestEdge(); }, kCmdScaleShortestEdge);
    frame->Bind(wxEVT_MENU, [](wxCommandEvent&) { ScaleByMeasuredDistance(); }, kCmdScaleMeasuredDistance);
    frame->Bind(wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Enable(HasMeasuredDistance()); },
                kCmdScaleMeasuredDistance);
    frame->Bind(wxEVT_MENU, [frame](wxCommandEvent&) { RunStretchCommand(frame); }, kCmdStretch);

    for (int unit = 0; unit < int(std::size(kUnitCommands)); ++unit)
    {
        frame->Bind(
            wxEVT_MENU,
            [unit](wxCommandEvent&) {
                GetUnitSettings().SetDistanceUnit(unit);
                UnitsChanged();
            },
            kUnitCommands[unit]);
        frame->Bind(wxEVT_UPDATE_UI,
                    [unit](wxUpdateUIEvent& event) { event.Check(GetUnitSettings().GetDistanceUnit() == unit); },
                    kUnitCommands[unit]);
    }
    for (int mode = 0; mode < int(std::size(kAngleCommands)); ++mode)
    {
        frame->Bind(
            wxEVT_MENU,
            [mode](wxCommandEvent&) {
                GetUnitSettings().SetAngleMode(mode);
                UnitsChanged();
            },
            kAngleCommands[mode]);
        frame->Bind(wxEVT_UPDATE_UI,
                    [mode](wxUpdateUIEvent& event) { event.Check(GetUnitSettings().GetAngleMode() == mode); },
                    kAngleCommands[mode]);
    }
}
