// The Display and Selection menu commands of the document that show and hide parts of the model
// and step the selected face type.

#include "document/PolyDoc.h"
#include "document/ShowHide.h"
#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/UserServices.h"
#include "kernel/Mat3.h"
#include "kernel/UndoKinds.h"
#include "model/CreatePoly.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PolyElement.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "polytope4d/Polytope4D.h"
#include "render/NewView.h"

#include <wx/event.h>

#include <vector>

namespace
{
void ElementsShownOrHidden(Poly& poly)
{
    Shell& shell = GetShell();
    shell.InvalidateModelDisplay(&poly, poly.mShowDual, false);
    shell.MarkDiagramColorsChanged();
}

bool Is3D(const Poly* poly)
{
    return poly && !(poly->mFlags & Poly::kIs4D);
}

// A selected element, when there is one, must be a face of the model as shown.
bool SelectionIsShownFaceOrNone(Poly& poly)
{
    PolyElement* selected = poly.mSelectedElement;
    return !selected || PolyElement::IsFaceInView(selected, poly.mShowDual);
}
// A 3D model whose full group has no reflections.
bool IsChiral(const Poly* poly)
{
    const SymGroup* group = Is3D(poly) ? poly->GetSymGroup() : nullptr;
    Mat3 reflection;
    return group && !group->GetReflectionMatrix(reflection);
}
}  // namespace

bool CPolyDoc::GoToVariation()
{
    Poly* poly = GetCurrentPoly();
    // The pseudo version of a reflexible model waits for stepping through the vertex matching's
    // branches; only the mirror image is made.
    if (!IsChiral(poly))
        return false;
    std::unique_ptr<SimplePoly> copy = poly->CreateSimplePolyFromView(0, nullptr, nullptr, nullptr);
    if (!copy)
        return false;
    copy->MirrorImage(poly->GetSymGroup());
    return SetModelFromSimplePoly(copy.get(), kUndoGoToVariation, true, true);
}

void CPolyDoc::ShowHide(int group)
{
    Poly* poly = GetCurrentPoly();
    if (poly && ShowHideElements(*poly, ShowHideGroup(group)))
        ElementsShownOrHidden(*poly);
}

void CPolyDoc::ShowHideFacesAroundVertex()
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    bool includeCoincident = false;
    if (!poly->mPolytope)
    {
        FaceVert* vert = poly->GetStellationVert();
        if (!vert || !vert->mList)
            return;
        std::vector<int> others;
        int limit = vert->mList->mCount + 1;
        for (FaceVert* e = vert->mNextCoplanar; e && e != vert && --limit > 0; e = e->mNextCoplanar)
            others.push_back(FaceVert::GetNumber(e));
        if (!others.empty())
        {
            const std::string question = CoincidentVertexQuestion(FaceVert::GetNumber(vert), others);
            const int answer = ShowMessage(kMbYesNoCancel | kMbIconQuestion, "%s", question.c_str());
            if (answer == kIdCancel)
                return;
            includeCoincident = answer == kIdYes;
        }
    }
    if (ShowHideAroundVertex(*poly, includeCoincident))
        ElementsShownOrHidden(*poly);
}

void CPolyDoc::SelectNextFaceType(int step, bool allTypes, bool vertices)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    if (StepSelectedType(*poly, step, vertices, !allTypes))
    {
        NewView::InvalidateAll(false, false);
        return;
    }
    const char* kind = vertices ? "vertex" : poly->mPolytope ? "cell" : "face";
    NewView::SetMessage(NewView::GetActiveView(), "There is only one type of %s", kind);
}

void CPolyDoc::BindDisplayCommands()
{
    const struct
    {
        int command;
        ShowHideGroup group;
    } kShowHideCommands[] = {
        {kCmdShowHideSelectedColor, ShowHideGroup::Color}, {kCmdShowHideSelectedType, ShowHideGroup::Type},
        {kCmdShowHideSelected, ShowHideGroup::Single},     {kCmdShowHideAll, ShowHideGroup::All},
        {kCmdToggleShownHidden, ShowHideGroup::Toggle},    {kCmdShowHideInPlane, ShowHideGroup::Plane},
        {kCmdShowHideCompoundPart, ShowHideGroup::CompoundPart},
    };
    for (const auto& c : kShowHideCommands)
    {
        const int group = int(c.group);
        Bind(wxEVT_MENU, [this, group](wxCommandEvent&) { ShowHide(group); }, c.command);
    }
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            Poly* poly = GetCurrentPoly();
            event.Enable(Is3D(poly) && SelectionIsShownFaceOrNone(*poly));
        },
        kCmdShowHideInPlane);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            Poly* poly = GetCurrentPoly();
            if (!poly)
                event.Enable(false);
            else if (poly->mPolytope)
            {
                const Selection4D& s = GetSelection4D();
                event.Enable(!s.mFace && !s.mEdge && !s.mVert);
            }
            else
                event.Enable(SelectionIsShownFaceOrNone(*poly));
        },
        kCmdShowHideCompoundPart);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ShowHideFacesAroundVertex(); }, kCmdShowHideAroundVertex);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            Poly* poly = GetCurrentPoly();
            if (!poly)
                event.Enable(false);
            else if (poly->mPolytope)
                event.Enable(GetSelection4D().mVert != nullptr);
            else
                event.Enable(PolyElement::IsVertInView(poly->mSelectedElement, poly->mShowDual));
        },
        kCmdShowHideAroundVertex);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { GoToVariation(); }, kCmdGoToVariation);
    Bind(
        wxEVT_UPDATE_UI,
        [](wxUpdateUIEvent& event) {
            const bool chiral = IsChiral(GetCurrentPoly());
            event.SetText(chiral ? "Create Mirror &Image" : "Mirror &Image/Pseudo Version");
            event.Enable(chiral);
        },
        kCmdGoToVariation);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SelectNextFaceType(1, false, false); }, kCmdSelectNextFaceType);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { SelectNextFaceType(-1, false, false); }, kCmdSelectPreviousFaceType);
}
