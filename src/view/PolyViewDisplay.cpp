// The Display menu's switches that belong to one pane, and the pivot of its mouse turns.

#include "view/PolyView.h"

#include "kernel/Vec4D.h"
#include "platform/CommandIds.h"
#include "view/PaneHelpers.h"

#include <wx/event.h>

void CPolyView::UpdatePivot()
{
    Vec3D point;
    if (!GetSelectedItemPoint(point))
        return;
    Vec3D axis = point;
    if (!Vec3Normalize(axis))
        return;
    const Vec4D direction{point.x, point.y, point.z, 0.0};
    const auto apply = [&](CPolyView& view) {
        view.GetPivotThrow().SetAxis(axis);
        view.GetRotateThrough4DThrow().SetDirection(direction);
    };
    if (ViewsLocked())
        ForEachPolyView(apply);
    else
        apply(*this);
}

void CPolyView::BindDisplayCommands()
{
    const struct
    {
        int command;
        bool CPolyView::*flag;
    } switches[] = {
        {kCmdShowSymmetryAxes, &CPolyView::mShowSymmetryAxes},
        {kCmdShowReflectionPlanes, &CPolyView::mShowReflectionPlanes},
        {kCmdShowReflectionNormals, &CPolyView::mShowReflectionNormals},
    };
    for (const auto& s : switches)
    {
        bool CPolyView::*flag = s.flag;
        Bind(
            wxEVT_MENU,
            [this, flag](wxCommandEvent&) {
                this->*flag = !(this->*flag);
                NewView::Invalidate(this, true);
            },
            s.command);
        Bind(wxEVT_UPDATE_UI, [this, flag](wxUpdateUIEvent& event) { event.Check(this->*flag); }, s.command);
    }
}
