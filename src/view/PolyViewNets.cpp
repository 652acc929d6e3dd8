// The net commands a pane answers for the side it shows.

#include "view/PolyView.h"

#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"

#include <wx/event.h>

bool CPolyView::StepNet(bool forward)
{
    Model3D* mesh = PeekStellationModel3D();
    if (!Model3D::HasNets(mesh) || !mesh->mNetTypes)
        return false;
    mesh->StepCurrentNet(forward);
    GetShell().InvalidateViewsOfType(kViewFamilyNet, 0);
    return true;
}

void CPolyView::BindNetCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { StepNet(true); }, kCmdNextNet);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { StepNet(false); }, kCmdPreviousNet);
}
