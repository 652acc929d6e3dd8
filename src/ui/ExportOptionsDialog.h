#pragma once

#include <wx/dialog.h>

class wxCheckBox;
class wxChoice;
class wxRadioButton;
class wxSpinCtrl;
class wxStaticBoxSizer;
class wxWindow;

// File > 3D Export...: the "Export Options" every 3D export asks for before its file: how the
// model is turned, how faces are triangulated, whether edges and vertices go into the file in
// the format's own way or as plain cylinders and spheres, and whether the file is opened after.
// The controls a format cannot use are left out. It reads the 3D export options when it opens and
// writes them on OK; the orientation and its axis classes are kept for the run.
class ExportOptionsDialog : public wxDialog
{
public:
    // format: the export's code (CPolyView::kExportVrml ...); stellation: the pane shows one.
    ExportOptionsDialog(wxWindow* parent, int format, bool stellation);

    // What OK does before the dialog closes: the options written.
    void Commit();

    // The orientations, as gExport3DOrientation numbers them.
    static constexpr int kNumOrientations = 6;
    wxRadioButton* OrientationButton(int orientation) const { return mOrientation[orientation]; }
    // The model's axis classes to look down and to sit on.
    wxChoice* LookDownList() const { return mAxisLists[0]; }
    wxChoice* SitOnList() const { return mAxisLists[1]; }
    // 0 all faces, 1 non-convex faces, 2 faces with holes (or, without the second, none).
    wxRadioButton* TriangulationButton(int i) const { return mTriangulation[i]; }
    wxCheckBox* NativeEdges() const { return mNativeEdges; }
    wxCheckBox* FlatCylinders() const { return mFlatCylinders; }
    wxSpinCtrl* Segments() const { return mSegments; }
    wxCheckBox* Caps() const { return mCaps; }
    wxCheckBox* NativeVerts() const { return mNativeVerts; }
    wxCheckBox* FlatSpheres() const { return mFlatSpheres; }
    wxChoice* Subdivisions() const { return mSubdivisions; }
    wxCheckBox* Launch() const { return mLaunch; }
    wxWindow* TriangulationBox() const;

private:
    void UpdateEnabling();
    void OnOk(wxCommandEvent& event);

    int mFormat;
    wxRadioButton* mOrientation[kNumOrientations] = {};
    wxChoice* mAxisLists[2] = {};
    wxStaticBoxSizer* mTriangulationBox = nullptr;
    wxRadioButton* mTriangulation[3] = {};
    wxCheckBox* mNativeEdges = nullptr;
    wxCheckBox* mFlatCylinders = nullptr;
    wxSpinCtrl* mSegments = nullptr;
    wxCheckBox* mCaps = nullptr;
    wxCheckBox* mNativeVerts = nullptr;
    wxCheckBox* mFlatSpheres = nullptr;
    wxChoice* mSubdivisions = nullptr;
    wxCheckBox* mLaunch = nullptr;
};

// Shows the dialog for the export; false when the user cancelled.
bool AskExportOptions(wxWindow* parent, int format, bool stellation);
