#include "ui/StellationPlanesDialog.h"

#include "kernel/Messages.h"
#include "kernel/Shell.h"
#include "kernel/Strings.h"
#include "kernel/UndoKinds.h"
#include "kernel/UnitSettings.h"
#include "kernel/Vec3D.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymAxisSet.h"
#include "model/SymGroup.h"
#include "operations/PickedPoints.h"
#include "platform/CommandIds.h"
#include "render/NewView.h"
#include "stellation/Stellation.h"
#include "ui/MainFrame.h"
#include "view/PolyView.h"

#include <wx/bmpbuttn.h>
#include <wx/button.h>
#include <wx/choice.h>
#include <wx/dcmemory.h>
#include <wx/scrolbar.h>
#include <wx/sizer.h>
#include <wx/statbox.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
constexpr int kGroupKinds = 6;

// The reflection kinds offered with a group kind, in kind order.
bool IsReflectionOffered(int kind, int reflection)
{
    switch (reflection)
    {
    case SymGroup::kHorizontal:
    case SymGroup::kChiral:
        return true;
    case SymGroup::kVertical:
        return kind == SymGroup::kDihedral || kind == SymGroup::kPyramidal;
    case SymGroup::kDiagonal:
        return kind == SymGroup::kTetrahedral;
    case SymGroup::kRotationReflection:
        return kind == SymGroup::kPyramidal;
    case SymGroup::kCentralInversion:
        return kind == SymGroup::kNoSymmetry;
    default:
        return false;
    }
}

// The row buttons' pictures, drawn here: scissors for Cut, two pages for Copy.
wxBitmap RowButtonPicture(bool scissors)
{
    wxBitmap bitmap(16, 16);
    wxMemoryDC dc(bitmap);
    dc.SetBackground(*wxWHITE_BRUSH);
    dc.Clear();
    dc.SetPen(wxPen(*wxBLACK, 1));
    if (scissors)
    {
        dc.DrawLine(4, 1, 10, 10);
        dc.DrawLine(11, 1, 5, 10);
        dc.SetBrush(*wxTRANSPARENT_BRUSH);
        dc.DrawCircle(4, 12, 3);
        dc.DrawCircle(11, 12, 3);
    }
    else
    {
        dc.SetBrush(*wxWHITE_BRUSH);
        dc.DrawRectangle(1, 1, 9, 11);
        dc.DrawRectangle(6, 4, 9, 11);
        for (int y = 7; y <= 12; y += 2)
            dc.DrawLine(8, y, 13, y);
    }
    dc.SelectObject(wxNullBitmap);
    return bitmap;
}

// The direction from the centre towards the plane of the three measured points and the distance
// of that plane; false unless the current measured item is a plane.
bool GetMeasuredPlane(Vec3D& direction, double& distance)
{
    const PickedPoints& item = GetPickedSets()[0];
    if (item.mCount != 3 || !item.AllSet())
        return false;
    Vec3D p[3];
    for (int i = 0; i < 3; ++i)
    {
        const Vec4D& q = item.GetPoint(i);
        p[i] = Vec3D{q.x, q.y, q.z};
    }
    Vec3Normal3(direction, p[0], p[1], p[2]);
    if (!Vec3Normalize(direction))
        return false;
    distance = Vec3Dot(direction, p[0]);
    if (distance < 0.0)
    {
        Vec3Negate(direction);
        distance = -distance;
    }
    return true;
}
}  // namespace

StellationPlanesDialog::StellationPlanesDialog(wxWindow* parent, Poly* poly, Stellation* stellation)
    : wxDialog(parent, wxID_ANY, "Stellation Planes"), mPoly(poly)
{
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* symmetry = new wxStaticBoxSizer(wxHORIZONTAL, this, "Symmetry");
    wxWindow* symmetryBox = symmetry->GetStaticBox();
    auto* symmetryGrid = new wxFlexGridSizer(3, 2, 10);
    for (const char* head : {"Rotation", "Reflection", "N"})
        symmetryGrid->Add(new wxStaticText(symmetryBox, wxID_ANY, head));
    mRotation = new wxChoice(symmetryBox, wxID_ANY);
    for (int kind = 0; kind < kGroupKinds; ++kind)
        mRotation->Append(wxString::FromUTF8(SymGroup::GetKindName(kind)));
    mReflection = new wxChoice(symmetryBox, wxID_ANY);
    mFold = new wxTextCtrl(symmetryBox, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(60, -1));
    symmetryGrid->Add(mRotation);
    symmetryGrid->Add(mReflection);
    symmetryGrid->Add(mFold);
    symmetry->Add(symmetryGrid, 0, wxALL, 4);
    top->Add(symmetry, 0, wxEXPAND | wxALL, 6);

    auto* planes = new wxStaticBoxSizer(wxVERTICAL, this, "Stellation Planes");
    wxWindow* planesBox = planes->GetStaticBox();
    auto* table = new wxBoxSizer(wxHORIZONTAL);
    auto* grid = new wxFlexGridSizer(kPlaneColumns + 3, 2, 4);
    grid->AddSpacer(0);
    for (int c = 0; c < kPlaneColumns; ++c)
        grid->Add(new wxStaticText(planesBox, wxID_ANY, PlaneColumnName(c)), 0, wxALIGN_CENTER_HORIZONTAL);
    grid->AddSpacer(0);
    grid->AddSpacer(0);
    const wxBitmap cutPicture = RowButtonPicture(true);
    const wxBitmap copyPicture = RowButtonPicture(false);
    for (int r = 0; r < kVisibleRows; ++r)
    {
        mLabels[r] = new wxStaticText(planesBox, wxID_ANY, "000", wxDefaultPosition, wxDefaultSize, wxALIGN_RIGHT);
        grid->Add(mLabels[r], 0, wxALIGN_CENTER_VERTICAL | wxEXPAND);
        for (int c = 0; c < kPlaneColumns; ++c)
        {
            mCells[r][c] = new wxTextCtrl(planesBox, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(170, -1));
            mCells[r][c]->Bind(wxEVT_TEXT, [this, r, c](wxCommandEvent&) { OnCellText(r, c); });
            grid->Add(mCells[r][c]);
        }
        mCut[r] = new wxBitmapButton(planesBox, wxID_ANY, cutPicture);
        mCut[r]->SetToolTip("Cut this plane");
        mCut[r]->Bind(wxEVT_BUTTON, [this, r](wxCommandEvent&) { OnCut(r); });
        mCopy[r] = new wxBitmapButton(planesBox, wxID_ANY, copyPicture);
        mCopy[r]->SetToolTip("Copy this plane");
        mCopy[r]->Bind(wxEVT_BUTTON, [this, r](wxCommandEvent&) { OnCopy(r); });
        grid->Add(mCut[r], 0, wxALIGN_CENTER_VERTICAL);
        grid->Add(mCopy[r], 0, wxALIGN_CENTER_VERTICAL);
    }
    table->Add(grid, 1, wxEXPAND);
    mScrollBar = new wxScrollBar(planesBox, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
    table->Add(mScrollBar, 0, wxEXPAND | wxLEFT, 4);
    planes->Add(table, 1, wxEXPAND | wxALL, 4);

    auto* listButtons = new wxBoxSizer(wxHORIZONTAL);
    mDeleteAll = new wxButton(planesBox, wxID_ANY, "Delete All");
    mCutAll = new wxButton(planesBox, wxID_ANY, "Cut All");
    mCopyAll = new wxButton(planesBox, wxID_ANY, "Copy All");
    mPaste = new wxButton(planesBox, wxID_ANY, "Paste");
    mAddPlane = new wxButton(planesBox, wxID_ANY, "Add Plane");
    mAddMeasurement = new wxButton(planesBox, wxID_ANY, "Add Measurement Plane");
    for (wxButton* button : {mDeleteAll, mCutAll, mCopyAll, mPaste, mAddPlane, mAddMeasurement})
        listButtons->Add(button, 0, wxRIGHT, 4);
    planes->Add(listButtons, 0, wxALL, 4);
    top->Add(planes, 1, wxEXPAND | wxLEFT | wxRIGHT, 6);
    top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 6);

    mRotation->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { OnRotationChange(); });
    mFold->Bind(wxEVT_KILL_FOCUS, &StellationPlanesDialog::OnFoldKillFocus, this);
    mScrollBar->Bind(wxEVT_SCROLL_LINEUP, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_LINEDOWN, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_PAGEUP, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_PAGEDOWN, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_THUMBTRACK, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_THUMBRELEASE, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_TOP, &StellationPlanesDialog::OnScroll, this);
    mScrollBar->Bind(wxEVT_SCROLL_BOTTOM, &StellationPlanesDialog::OnScroll, this);
    mDeleteAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnDeleteAll(); });
    mCutAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCutAll(); });
    mCopyAll->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnCopyAll(); });
    mPaste->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnPaste(); });
    mAddPlane->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddPlane(); });
    mAddMeasurement->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { OnAddMeasurementPlane(); });
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (!Commit())
            return;
        if (IsModal())
            EndModal(wxID_OK);
        else
        {
            SetReturnCode(wxID_OK);
            Hide();
        }
    }, wxID_OK);

    // The model's own group and fold; the icosahedral kind without a group.
    const SymGroup* group = poly ? poly->GetSymGroup() : nullptr;
    const int kind = group && group->mKind >= 0 && group->mKind < kGroupKinds ? group->mKind : 0;
    int fold = 5;
    if ((kind == SymGroup::kDihedral || kind == SymGroup::kPyramidal) && group->mNumAxisSets > 0)
        fold = group->mAxisSets[0].mOrder;
    mRotation->SetSelection(kind);
    OnRotationChange();
    mFold->ChangeValue(wxString::Format("%d", fold));
    if (group)
        for (unsigned i = 0; i < mReflection->GetCount(); ++i)
            if (int(reinterpret_cast<intptr_t>(mReflection->GetClientData(i))) == group->mReflection)
                mReflection->SetSelection(int(i));

    if (stellation)
        CollectStellationPlanes(*stellation, GetUnitSettings().GetScale(), mRows);
    ShowRows();
    SetSizerAndFit(top);
}

void StellationPlanesDialog::OnRotationChange()
{
    const int kind = mRotation->GetSelection();
    mFold->Enable(kind == SymGroup::kDihedral || kind == SymGroup::kPyramidal);
    mReflection->Clear();
    for (int reflection = 0; reflection <= SymGroup::kChiral; ++reflection)
        if (IsReflectionOffered(kind, reflection))
            mReflection->Append(wxString::FromUTF8(SymGroup::GetReflectionKindName(reflection)),
                                reinterpret_cast<void*>(intptr_t(reflection)));
    mReflection->SetSelection(0);
}

int StellationPlanesDialog::SettleFold()
{
    int fold = std::atoi(mFold->GetValue().utf8_string().c_str());
    if (fold < 2)
    {
        fold = 2;
        mFold->ChangeValue("2");
    }
    return fold;
}

void StellationPlanesDialog::OnFoldKillFocus(wxFocusEvent& event)
{
    SettleFold();
    event.Skip();
}

void StellationPlanesDialog::ShowRows()
{
    mScrollBar->SetScrollbar(mFirstVisible, kVisibleRows, std::max(mRows.mCount, 1), kVisibleRows);
    PlaneEquation* row = mRows.At(mFirstVisible);
    for (int r = 0; r < kVisibleRows; ++r)
    {
        const int k = mFirstVisible + r;
        const bool exists = row != nullptr;
        mLabels[r]->SetLabel(wxString::Format("%d", k));
        mLabels[r]->Enable(exists);
        mCut[r]->Enable(exists);
        mCopy[r]->Enable(exists);
        for (int c = 0; c < kPlaneColumns; ++c)
        {
            mCells[r][c]->Enable(exists);
            std::string text;
            if (row)
            {
                // What the edit shows is the row's text from now on, as if typed.
                text = row->mText[c] ? *row->mText[c] : FormatReal(row->mValue[c], 16);
                row->mText[c] = text;
            }
            mCells[r][c]->ChangeValue(wxString::FromUTF8(text));
        }
        if (row)
            row = row->next;
    }
}

void StellationPlanesDialog::OnCellText(int r, int column)
{
    if (PlaneEquation* row = mRows.At(mFirstVisible + r))
        row->mText[column] = mCells[r][column]->GetValue().utf8_string();
}

bool StellationPlanesDialog::MoveBack()
{
    if (mFirstVisible <= 0)
        return false;
    --mFirstVisible;
    return true;
}

bool StellationPlanesDialog::MoveForward()
{
    if (mFirstVisible >= mRows.mCount - kVisibleRows || mFirstVisible + 1 >= mRows.mCount)
        return false;
    ++mFirstVisible;
    return true;
}

void StellationPlanesDialog::MoveTo(int first)
{
    while (mFirstVisible > first && MoveBack())
        ;
    while (mFirstVisible < first && MoveForward())
        ;
}

void StellationPlanesDialog::OnScroll(wxScrollEvent& event)
{
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_SCROLL_LINEUP)
        MoveTo(mFirstVisible - 1);
    else if (type == wxEVT_SCROLL_LINEDOWN)
        MoveTo(mFirstVisible + 1);
    else if (type == wxEVT_SCROLL_PAGEUP)
        MoveTo(mFirstVisible - kVisibleRows);
    else if (type == wxEVT_SCROLL_PAGEDOWN)
        MoveTo(mFirstVisible + kVisibleRows);
    else if (type == wxEVT_SCROLL_TOP)
        MoveTo(0);
    else if (type == wxEVT_SCROLL_BOTTOM)
        MoveTo(mRows.mCount - kVisibleRows);
    else
        MoveTo(event.GetPosition());
    ShowRows();
}

void StellationPlanesDialog::DeleteRow(int k)
{
    PlaneEquation* row = mRows.At(k);
    if (!row)
        return;
    // Keep the window full: it moves back by one when fewer than eleven rows start at its top.
    if (mRows.mCount - mFirstVisible < kVisibleRows + 1 && mFirstVisible > 0)
        --mFirstVisible;
    mRows.Delete(row);
}

void StellationPlanesDialog::OnCopy(int r)
{
    PlaneEquation* row = mRows.At(mFirstVisible + r);
    if (!row)
        return;
    PlaneList& clipboard = GetPlaneClipboard();
    clipboard.Clear();
    clipboard.Append(row->Clone());
    ShowRows();
}

void StellationPlanesDialog::OnCut(int r)
{
    if (!mRows.At(mFirstVisible + r))
        return;
    OnCopy(r);
    DeleteRow(mFirstVisible + r);
    ShowRows();
}

void StellationPlanesDialog::OnDeleteAll()
{
    while (mRows.mCount > 0)
        DeleteRow(0);
    mFirstVisible = 0;
    ShowRows();
}

void StellationPlanesDialog::OnCopyAll()
{
    PlaneList& clipboard = GetPlaneClipboard();
    clipboard.Clear();
    clipboard.AppendCopies(mRows);
    ShowRows();
}

void StellationPlanesDialog::OnCutAll()
{
    OnCopyAll();
    OnDeleteAll();
}

void StellationPlanesDialog::BringAppendedIntoView(int stop)
{
    while (mRows.mCount - mFirstVisible > kVisibleRows && (stop < 0 || mFirstVisible < stop) && MoveForward())
        ;
}

void StellationPlanesDialog::OnPaste()
{
    const int oldCount = mRows.mCount;
    mRows.AppendCopies(GetPlaneClipboard());
    BringAppendedIntoView(oldCount);
    ShowRows();
}

void StellationPlanesDialog::OnAddPlane()
{
    mRows.Append(PlaneEquation::CreateDefault());
    BringAppendedIntoView(-1);
    ShowRows();
}

void StellationPlanesDialog::OnAddMeasurementPlane()
{
    Vec3D direction;
    double distance = 0.0;
    if (!GetMeasuredPlane(direction, distance))
    {
        std::string menu = GetCommandMenuText(kCmdModeMeasure);
        if (menu.size() > 256)
            menu.resize(256);
        InfoMessage("To use this button, first define a plane using Measurement Mode.\n\nTo enter Measurement Mode, "
                    "use\n\"%s\"\nor its matching toolbar button.",
                    menu.c_str());
        return;
    }
    mRows.Append(PlaneEquation::CreateFromValues(direction[0], direction[1], direction[2],
                                                 distance * GetUnitSettings().GetScale()));
    BringAppendedIntoView(-1);
    ShowRows();
}

bool StellationPlanesDialog::Commit()
{
    if (mRows.mCount == 0)
    {
        ErrorMessage("No planes are defined");
        return false;
    }
    const int fold = SettleFold();
    if (!EvaluatePlaneEquations(mRows))
    {
        ShowRows();
        return false;
    }
    const int selected = mReflection->GetSelection();
    const int reflection = selected == wxNOT_FOUND
                               ? SymGroup::kChiral
                               : int(reinterpret_cast<intptr_t>(mReflection->GetClientData(unsigned(selected))));
    // The new model is built before the old one is touched: planes that enclose nothing leave the
    // model and the undo list as they were.
    std::unique_ptr<SimplePoly> solid = BuildPlanesSolid(mRows, mRotation->GetSelection(), fold, reflection);
    if (!solid || !mPoly)
        return false;
    Shell& shell = GetShell();
    shell.AddUndo(kUndoStellationPlanes, false);
    if (!CreatePoly(solid.get(), mPoly, false, true))
    {
        shell.DiscardLastUndo();
        shell.RefreshDocument(0);
        return false;
    }
    shell.RefreshDocument(0);
    shell.InvalidateAllViews(false, 0);
    return true;
}

void RunStellationPlanesCommand(wxWindow* parent)
{
    Poly* poly = GetCurrentPoly();
    if (!poly)
        return;
    Stellation* stellation = nullptr;
    if (auto* view = dynamic_cast<CPolyView*>(NewView::GetActiveView()))
        stellation = view->GetStellation();
    if (!stellation)
        stellation = poly->GetShownStellation();
    StellationPlanesDialog dialog(parent, poly, stellation);
    dialog.ShowModal();
}
