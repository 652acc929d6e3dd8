#include "ui/SelectByIndexDialog.h"

#include "kernel/Messages.h"
#include "model/Edge.h"
#include "model/ElemList.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "render/NewView.h"

#include <wx/button.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>
#include <wx/valtext.h>

#include <cstdlib>
#include <string>

namespace
{
const char* const kKindWords[4] = {"cell", "face", "edge", "vertex"};

FaceVert* NthElement(ElemList* list, int i)
{
    FaceVert* e = list ? list->mFirst : nullptr;
    for (; e && i > 0; --i)
        e = e->mNext;
    return e;
}
}  // namespace

IndexCounts CountIndexedElements(Poly& poly)
{
    IndexCounts c;
    if (poly.mPolytope)
    {
        Polytope4D* shown = poly.GetShownPolytope4D();
        if (!shown)
            return c;
        c.count[kIndexCell] = shown->mNumCells;
        c.count[kIndexFace] = shown->mNumFaces;
        c.count[kIndexEdge] = shown->mNumEdges;
        c.count[kIndexVertex] = shown->mNumVerts;
        c.current[kIndexCell] = shown->mCurrentCell ? Cell4D::GetNumber(shown->mCurrentCell) : 0;
        c.current[kIndexFace] = shown->mCurrentFace ? Face4D::GetNumber(shown->mCurrentFace) : 0;
        c.current[kIndexEdge] = shown->mCurrentEdge ? Edge4D::GetNumber(shown->mCurrentEdge) : 0;
        c.current[kIndexVertex] = shown->mCurrentVert ? Vert4D::GetNumber(shown->mCurrentVert) : 0;
        return c;
    }
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    poly.GetSideLists(poly.mShowDual, &faces, &verts, nullptr, nullptr);
    c.count[kIndexFace] = faces ? faces->mCount : 0;
    c.count[kIndexVertex] = verts ? verts->mCount : 0;
    c.count[kIndexEdge] = poly.mEdges.count;
    c.current[kIndexFace] = FaceVert::GetNumber(poly.GetStellationFace());
    const Edge* edge = poly.GetSelectedEdge();
    c.current[kIndexEdge] = edge ? Edge::GetNumber(edge, &poly) : 0;
    c.current[kIndexVertex] = FaceVert::GetNumber(poly.GetStellationVert());
    return c;
}

SelectByIndexDialog::SelectByIndexDialog(wxWindow* parent, const IndexCounts& counts, int kind, bool model4D)
    : wxDialog(parent, wxID_ANY, "Select by Index"), mCounts(counts)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    const char* const labels[4] = {"Select cell (%d-%d)", "Select face (%d-%d)", "Select edge (%d-%d)",
                                   "Select vertex (%d-%d)"};
    for (int k = 0; k < 4; ++k)
    {
        char text[64];
        std::snprintf(text, sizeof text, labels[k], 1, counts.count[k]);
        mRadios[k] = new wxRadioButton(this, wxID_ANY, text, wxDefaultPosition, wxDefaultSize, k == 0 ? wxRB_GROUP : 0);
        // A 3D model has no cells: the radio is left out and the others move up.
        if (k == kIndexCell && !model4D)
            mRadios[k]->Hide();
        else
            top->Add(mRadios[k], 0, wxLEFT | wxRIGHT | wxTOP, 6);
        mRadios[k]->Bind(wxEVT_RADIOBUTTON, [this, k](wxCommandEvent&) { ChooseKind(k); });
    }
    top->Add(new wxStaticText(this, wxID_ANY, "Index of selected item:"), 0, wxLEFT | wxRIGHT | wxTOP, 6);
    mIndexBox = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxDefaultSize, 0,
                               wxTextValidator(wxFILTER_DIGITS));
    top->Add(mIndexBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);
    SetSizerAndFit(top);

    mKind = kind >= 0 && kind < 4 ? kind : kIndexFace;
    mRadios[mKind]->SetValue(true);
    ShowIndex(mCounts.current[mKind]);
    mIndexBox->Bind(wxEVT_TEXT, [this](wxCommandEvent& event) {
        mEdited = true;
        event.Skip();
    });
    Bind(
        wxEVT_BUTTON,
        [this](wxCommandEvent&) {
            if (Commit())
                EndModal(wxID_OK);
        },
        wxID_OK);
}

void SelectByIndexDialog::ShowIndex(int index)
{
    // The dialog's own filling of the box is no edit.
    mIndexBox->ChangeValue(std::to_string(index));
}

void SelectByIndexDialog::ChooseKind(int kind)
{
    if (kind < 0 || kind >= 4)
        return;
    mKind = kind;
    mRadios[kind]->SetValue(true);
    if (!mEdited)
        ShowIndex(mCounts.current[kind]);
}

bool SelectByIndexDialog::Commit()
{
    const std::string text = mIndexBox->GetValue().ToStdString();
    const int index = std::atoi(text.c_str());
    if (index < 1 || index > mCounts.count[mKind])
    {
        ErrorMessage("There is no %s with index %d", kKindWords[mKind], index);
        return false;
    }
    mIndex = index;
    return true;
}

bool SelectElementByIndex(Poly& poly, int kind, int index)
{
    const int i = index - 1;
    if (poly.mPolytope)
    {
        Polytope4D* shown = poly.GetShownPolytope4D();
        if (!shown)
            return false;
        switch (kind)
        {
        case kIndexCell:
            if (Cell4D* cell = shown->GetCell(i))
                return Cell4D::Select(cell), true;
            return false;
        case kIndexFace:
            if (Face4D* face = shown->GetFace(i))
                return Face4D::Select(face), true;
            return false;
        case kIndexEdge:
            if (Edge4D* edge = shown->GetEdge(i))
                return Edge4D::Select(edge), true;
            return false;
        case kIndexVertex:
            if (Vert4D* vert = shown->GetVert(i))
                return Vert4D::Select(vert), true;
            return false;
        default:
            return false;
        }
    }
    ElemList* faces = nullptr;
    ElemList* verts = nullptr;
    poly.GetSideLists(poly.mShowDual, &faces, &verts, nullptr, nullptr);
    PolyElement* element = nullptr;
    if (kind == kIndexFace)
        element = NthElement(faces, i);
    else if (kind == kIndexVertex)
        element = NthElement(verts, i);
    else if (kind == kIndexEdge && i >= 0)
        element = poly.GetEdge(i);
    if (!element)
        return false;
    poly.SelectElement(element, kind == kIndexVertex);
    return true;
}

int SelectByIndex(wxWindow* parent, int kind)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return -1;
    const bool model4D = poly->mPolytope != nullptr;
    if (kind == kIndexCell && !model4D)
        kind = kIndexFace;
    SelectByIndexDialog dialog(parent, CountIndexedElements(*poly), kind, model4D);
    if (dialog.ShowModal() != wxID_OK)
        return -1;
    SelectElementByIndex(*poly, dialog.GetKind(), dialog.GetIndex());
    NewView::InvalidateAll(false, false);
    return dialog.GetKind();
}
