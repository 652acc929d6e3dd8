#include "ui/SectionSwitches.h"

#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionSettings.h"
#include "platform/CommandIds.h"
#include "view/PolyView.h"

#include <wx/event.h>

namespace
{
// The section panes and the model panes that show the section draw it again.
void SectionDisplayChanged()
{
    if (Poly* poly = GetCurrentPoly())
        poly->InvalidateCrossSection();
    InvalidateCrossSectionViews(false);
}

bool HasSection()
{
    const Poly* poly = GetCurrentPoly();
    return poly && !(poly->mFlags & Poly::kIs4D);
}
}  // namespace

void BindSectionSwitches(wxEvtHandler* handler)
{
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            SetSectionFill(!GetSectionSettings().fill);
            SectionDisplayChanged();
        },
        kCmdFillSection);
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            SetSectionEdges(!GetSectionSettings().showEdges);
            SectionDisplayChanged();
        },
        kCmdShowSectionEdges);
    handler->Bind(
        wxEVT_MENU,
        [](wxCommandEvent&) {
            SectionSettings& s = GetSectionSettings();
            s.showNearVerts = !s.showNearVerts;
            InvalidateCrossSectionViews(false);
        },
        kCmdShowVerticesNearSlice);
    handler->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            event.Enable(HasSection());
            event.Check(GetSectionSettings().fill);
        },
        kCmdFillSection);
    handler->Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            event.Enable(HasSection());
            event.Check(GetSectionSettings().showEdges);
        },
        kCmdShowSectionEdges);
    handler->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& event) { event.Check(GetSectionSettings().showNearVerts); },
        kCmdShowVerticesNearSlice);
}
