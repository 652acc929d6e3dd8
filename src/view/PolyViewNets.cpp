// The net commands a pane answers for the side it shows.

#include "view/PolyView.h"

#include "kernel/RenderSettings.h"
#include "kernel/Shell.h"
#include "kernel/ViewTypes.h"
#include "mesh/Model3D.h"
#include "mesh/Net.h"
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

void CPolyView::DrawUnfoldedNet()
{
    Model3D* mesh = GetStellationModel3D(true);
    mNetInfoLine = NetInfoLine(mesh);
    if (Model3D::HasNets(mesh) && mesh->mCurrentNet)
        mesh->mCurrentNet->DrawUnfolded();
}

const std::string& CPolyView::GetNetInfoLine() const
{
    mNetInfoLine = NetInfoLine(GetStellationModel3D(true));
    return mNetInfoLine;
}

void CPolyView::DrawFoldingNet()
{
    Model3D* mesh = GetStellationModel3D(true);
    if (Model3D::HasNets(mesh))
        mesh->DrawFoldedNets();
}

bool CPolyView::IsGeomagNetView() const
{
    if (mViewType != kViewTypeNet2D || !IsKitStyle())
        return false;
    Model3D* mesh = PeekStellationModel3D();
    const Poly* poly = GetCurrentPoly();
    if (!mesh || !poly || !Model3D::IsKitBuildable(mesh))
        return false;
    const ElemList& shown = poly->mShowDual ? static_cast<const ElemList&>(poly->mVerts) : poly->mFaces;
    return shown.HasOtherImage(nullptr);
}

void CPolyView::BindNetCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { StepNet(true); }, kCmdNextNet);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { StepNet(false); }, kCmdPreviousNet);
}
