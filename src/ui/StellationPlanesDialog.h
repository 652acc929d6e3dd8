#pragma once

#include "stellation/StellationPlanes.h"

#include <wx/dialog.h>

class Poly;
class Stellation;
class wxBitmapButton;
class wxButton;
class wxChoice;
class wxScrollBar;
class wxScrollEvent;
class wxStaticText;
class wxTextCtrl;

// Stellation > Stellation Planes...: the face planes of one side of the model as rows of X, Y, Z
// and Radius, shown ten at a time, with the symmetry group that repeats them. OK builds the solid
// the planes enclose as the new model, in one undo step. The rows belong to the dialog; copied rows
// go to the program-wide plane clipboard.
class StellationPlanesDialog : public wxDialog
{
public:
    static constexpr int kVisibleRows = 10;

    StellationPlanesDialog(wxWindow* parent, Poly* poly, Stellation* stellation);

    // What OK does: false, with the dialog left open, after telling the user why nothing was built.
    bool Commit();

    const PlaneList& Rows() const { return mRows; }
    int FirstVisible() const { return mFirstVisible; }

    wxChoice* RotationChoice() const { return mRotation; }
    wxChoice* ReflectionChoice() const { return mReflection; }
    wxTextCtrl* FoldBox() const { return mFold; }
    wxScrollBar* ScrollBar() const { return mScrollBar; }
    wxStaticText* RowLabel(int r) const { return mLabels[r]; }
    wxTextCtrl* Cell(int r, int column) const { return mCells[r][column]; }
    wxBitmapButton* CutButton(int r) const { return mCut[r]; }
    wxBitmapButton* CopyButton(int r) const { return mCopy[r]; }
    wxButton* DeleteAllButton() const { return mDeleteAll; }
    wxButton* CutAllButton() const { return mCutAll; }
    wxButton* CopyAllButton() const { return mCopyAll; }
    wxButton* PasteButton() const { return mPaste; }
    wxButton* AddPlaneButton() const { return mAddPlane; }
    wxButton* AddMeasurementPlaneButton() const { return mAddMeasurement; }

private:
    void OnRotationChange();
    void OnFoldKillFocus(wxFocusEvent& event);
    void OnScroll(wxScrollEvent& event);
    void OnCellText(int r, int column);
    void OnCut(int r);
    void OnCopy(int r);
    void OnDeleteAll();
    void OnCutAll();
    void OnCopyAll();
    void OnPaste();
    void OnAddPlane();
    void OnAddMeasurementPlane();

    // The fold typed, 2 at least, shown again.
    int SettleFold();
    void ShowRows();
    bool MoveBack();
    bool MoveForward();
    void MoveTo(int first);
    // After rows were appended: forward while more than ten rows lie from the first visible one on,
    // and, when stop is not negative, the first visible index is below it.
    void BringAppendedIntoView(int stop);
    void DeleteRow(int k);

    Poly* mPoly;
    PlaneList mRows;
    int mFirstVisible = 0;

    wxChoice* mRotation;
    wxChoice* mReflection;
    wxTextCtrl* mFold;
    wxScrollBar* mScrollBar;
    wxStaticText* mLabels[kVisibleRows];
    wxTextCtrl* mCells[kVisibleRows][kPlaneColumns];
    wxBitmapButton* mCut[kVisibleRows];
    wxBitmapButton* mCopy[kVisibleRows];
    wxButton* mDeleteAll;
    wxButton* mCutAll;
    wxButton* mCopyAll;
    wxButton* mPaste;
    wxButton* mAddPlane;
    wxButton* mAddMeasurement;
};

// Runs the dialog modally on the current model and the side the active pane shows.
void RunStellationPlanesCommand(wxWindow* parent);
