// The Stellation menu commands that change the cells of the stellation a pane shows.

#include "kernel/ViewTypes.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/Stellation.h"
#include "view/PaneHelpers.h"
#include "view/PolyView.h"

#include <string>

namespace
{
constexpr int kAxisCommands[3] = {kCmdCellsAboveAxis0, kCmdCellsAboveAxis1, kCmdCellsAboveAxis2};

bool ShowsOneSide(int viewType)
{
    return (viewType & (kViewFamilyBaseOnly | kViewFamilyDualOnly | kViewFamilyFollowsSide)) != 0;
}
}  // namespace

std::string GetCellsAboveAxisMenuText(const Poly* poly, int axisClass)
{
    std::string text;
    SymGroup::GetAxisText(poly ? poly->GetSymGroup() : nullptr, text, "Select All Cells Above", axisClass);
    return text;
}

namespace
{
// The menu keeps its keys: A for the first class, the axis order's digit for the others.
wxString WithMnemonic(const std::string& text, int axisClass)
{
    const size_t above = text.find("Above");
    const size_t at = above == std::string::npos ? above
                      : axisClass == 0           ? above
                                                 : text.find_first_of("0123456789", above);
    if (at == std::string::npos)
        return wxString::FromUTF8(text);
    return wxString::FromUTF8(text.substr(0, at)) + "&" + wxString::FromUTF8(text.substr(at));
}
}  // namespace

bool CanSelectCellsAboveAxis(const CPolyView& view, int axisClass)
{
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = poly && !IsModel4D(poly) ? poly->GetSymGroup() : nullptr;
    if (!group || !ShowsOneSide(view.GetViewType()))
        return false;
    return axisClass < 2 || group->mNumAxisSets >= 3;
}

void CPolyView::SelectCellsAboveAxis(int axisClass)
{
    // The stellation records its own undo step.
    if (Stellation* stellation = GetStellationUpTo(kStellationBuilt))
        stellation->SelectCellsAboveAxis(axisClass);
    NewView::InvalidateAll(false, true);
}

void CPolyView::SelectUnsupportableCells()
{
    if (Stellation* stellation = GetStellationUpTo(kStellationBuilt))
        stellation->SelectUnsupportableCells();
    NewView::InvalidateAll(false, true);
}

void CPolyView::BindStellationCommands()
{
    for (int axis = 0; axis < 3; ++axis)
    {
        Bind(wxEVT_MENU, [this, axis](wxCommandEvent&) { SelectCellsAboveAxis(axis); }, kAxisCommands[axis]);
        Bind(
            wxEVT_UPDATE_UI,
            [this, axis](wxUpdateUIEvent& event) {
                event.SetText(WithMnemonic(GetCellsAboveAxisMenuText(GetCurrentPoly(), axis), axis));
                event.Enable(CanSelectCellsAboveAxis(*this, axis));
            },
            kAxisCommands[axis]);
    }
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SelectUnsupportableCells(); }, kCmdSelectUnsupportableCells);
}
