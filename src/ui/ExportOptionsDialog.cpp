#include "ui/ExportOptionsDialog.h"

#include "library/Export3DOptions.h"
#include "model/ElementDisplayOptions.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SymGroup.h"
#include "view/PolyView.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/sizer.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>
#include <wx/stattext.h>

#include <algorithm>
#include <string>

namespace
{
constexpr int kBorder = 6;

struct FormatTexts
{
    const char* launch;       // null: no launch box
    const char* nativeEdges;  // null: no box for the format's own edges
    const char* nativeVerts;
    bool triangulation;       // the user chooses; the others always take triangles
};

FormatTexts TextsFor(int format)
{
    switch (format)
    {
    case CPolyView::kExportVrml:
        return {"Launch viewer (requires VRML viewer)",
                GetElementDisplayOptions().mSpheresAndCylinders ? "Export native VRML edge-cylinders"
                                                                : "Export native VRML edge-lines",
                "Export native VRML vertex-spheres", true};
    case CPolyView::kExportPovRay:
        return {"Launch renderer (requires POV-Ray to be installed)", "Export native POV-Ray edge-cylinders",
                "Export native POV-Ray vertex-spheres", false};
    case CPolyView::kExportDxf:
        return {nullptr, "Export edge-lines (in a separate layer)", nullptr, false};
    case CPolyView::kExportStl:
        return {nullptr, nullptr, nullptr, false};
    default:  // OBJ, OFF
        return {nullptr, nullptr, nullptr, true};
    }
}

// The subdivision list's place of a frequency: how often it halves down to 1.
int SubdivisionIndex(int frequency)
{
    int index = 0;
    while (frequency > 1 && index < 3)
    {
        frequency >>= 1;
        ++index;
    }
    return index;
}

void SetBit(uint32_t& word, uint32_t bit, bool on)
{
    word = on ? (word | bit) : (word & ~bit);
}
}  // namespace

ExportOptionsDialog::ExportOptionsDialog(wxWindow* parent, int format, bool stellation)
    : wxDialog(parent, wxID_ANY, "Export Options"), mFormat(format)
{
    const FormatTexts texts = TextsFor(format);
    const uint32_t options = gExport3DOptions;
    auto* top = new wxBoxSizer(wxVERTICAL);

    auto* orientation = new wxStaticBoxSizer(wxVERTICAL, this, "Orientation");
    wxWindow* orientationBox = orientation->GetStaticBox();
    const char* const orientationTexts[kNumOrientations] = {
        "Current", "Default", "Look down...", "Sit on...", "Look at current face/edge/vertex/symmetry",
        "Sit on current face/edge/vertex/symmetry"};
    // The axis classes of the model's group, in both lists.
    wxArrayString classes;
    const Poly* poly = GetCurrentPoly();
    const SymGroup* group = poly ? poly->GetSymGroup() : nullptr;
    std::string text;
    for (int i = 0; SymGroup::GetAxisText(group, text, "", i); ++i)
        classes.Add(wxString::FromUTF8(text));
    const int remembered[2] = {gExport3DLookDownClass, gExport3DSitOnClass};
    int chosen = gExport3DOrientation >= 0 && gExport3DOrientation < kNumOrientations ? gExport3DOrientation : 0;
    if ((chosen == 2 || chosen == 3) && classes.IsEmpty())
        chosen = 0;
    for (int i = 0; i < kNumOrientations; ++i)
    {
        mOrientation[i] = new wxRadioButton(orientationBox, wxID_ANY, orientationTexts[i], wxDefaultPosition,
                                            wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
        if (i != 2 && i != 3)
        {
            orientation->Add(mOrientation[i], 0, wxALL, 2);
            continue;
        }
        auto* row = new wxBoxSizer(wxHORIZONTAL);
        row->Add(mOrientation[i], 1, wxALIGN_CENTER_VERTICAL);
        wxChoice*& list = mAxisLists[i - 2];
        list = new wxChoice(orientationBox, wxID_ANY, wxDefaultPosition, wxDefaultSize, classes);
        row->Add(list, 0, wxALIGN_CENTER_VERTICAL | wxLEFT, kBorder);
        orientation->Add(row, 0, wxEXPAND | wxALL, 2);
        if (classes.IsEmpty())
        {
            list->Disable();
            mOrientation[i]->Disable();
        }
        else
            list->SetSelection(remembered[i - 2] >= 0 && remembered[i - 2] < int(classes.size()) ? remembered[i - 2] : 0);
        // Choosing a class chooses its orientation.
        list->Bind(wxEVT_CHOICE, [this, i](wxCommandEvent&) { mOrientation[i]->SetValue(true); });
    }
    mOrientation[chosen]->SetValue(true);
    top->Add(orientation, 0, wxEXPAND | wxALL, kBorder);

    if (texts.triangulation)
    {
        mTriangulationBox = new wxStaticBoxSizer(wxVERTICAL, this, "Triangulation");
        wxWindow* box = mTriangulationBox->GetStaticBox();
        // Faces other than stellation cells' are convex or stars, which stay whole unless all are cut.
        const char* const labels[3] = {"Triangulate all faces", "Triangulate non-convex faces",
                                       stellation ? "Only triangulate faces with holes" : "Don't triangulate faces"};
        for (int i = 0; i < 3; ++i)
        {
            if (i == 1 && !stellation)
                continue;
            mTriangulation[i] =
                new wxRadioButton(box, wxID_ANY, labels[i], wxDefaultPosition, wxDefaultSize, i == 0 ? wxRB_GROUP : 0);
            mTriangulationBox->Add(mTriangulation[i], 0, wxALL, 2);
        }
        const int chosen = (options & kExport3DTriangulateHoles)                    ? 2
                           : (options & kExport3DTriangulateNonConvex) && stellation ? 1
                                                                                     : 0;
        mTriangulation[chosen]->SetValue(true);
        top->Add(mTriangulationBox, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    }

    auto* edges = new wxStaticBoxSizer(wxVERTICAL, this, "Edges");
    wxWindow* edgeBox = edges->GetStaticBox();
    if (texts.nativeEdges)
    {
        mNativeEdges = new wxCheckBox(edgeBox, wxID_ANY, texts.nativeEdges);
        mNativeEdges->SetValue((options & kExport3DEdges) != 0);
        edges->Add(mNativeEdges, 0, wxALL, 2);
    }
    mFlatCylinders = new wxCheckBox(edgeBox, wxID_ANY, "Export edge-cylinders using flat geometry");
    mFlatCylinders->SetValue((options & kExport3DFlatCylinders) != 0);
    edges->Add(mFlatCylinders, 0, wxALL, 2);
    auto* segmentsRow = new wxBoxSizer(wxHORIZONTAL);
    segmentsRow->Add(new wxStaticText(edgeBox, wxID_ANY, "Cylinder segments:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT,
                     kBorder);
    mSegments = new wxSpinCtrl(edgeBox, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize, wxSP_ARROW_KEYS, 3,
                               9999, gExport3DCylinderSegments & 0xFFFF);
    segmentsRow->Add(mSegments, 0, wxALIGN_CENTER_VERTICAL);
    edges->Add(segmentsRow, 0, wxLEFT | wxALL, 2);
    mCaps = new wxCheckBox(edgeBox, wxID_ANY, "Include cylinder caps");
    mCaps->SetValue((options & kExport3DCylinderCaps) != 0);
    edges->Add(mCaps, 0, wxALL, 2);
    top->Add(edges, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);

    auto* verts = new wxStaticBoxSizer(wxVERTICAL, this, "Vertices");
    wxWindow* vertBox = verts->GetStaticBox();
    if (texts.nativeVerts)
    {
        mNativeVerts = new wxCheckBox(vertBox, wxID_ANY, texts.nativeVerts);
        mNativeVerts->SetValue((options & kExport3DVerts) != 0);
        verts->Add(mNativeVerts, 0, wxALL, 2);
    }
    mFlatSpheres = new wxCheckBox(vertBox, wxID_ANY, "Export vertex-spheres using flat geometry");
    mFlatSpheres->SetValue((options & kExport3DFlatSpheres) != 0);
    verts->Add(mFlatSpheres, 0, wxALL, 2);
    auto* subdivisionsRow = new wxBoxSizer(wxHORIZONTAL);
    subdivisionsRow->Add(new wxStaticText(vertBox, wxID_ANY, "Sphere subdivisions:"), 0,
                         wxALIGN_CENTER_VERTICAL | wxRIGHT, kBorder);
    const wxString subdivisions[4] = {"1: 20 faces", "2: 80 faces", "4: 320 faces", "8: 1280 faces"};
    mSubdivisions = new wxChoice(vertBox, wxID_ANY, wxDefaultPosition, wxDefaultSize, 4, subdivisions);
    mSubdivisions->SetSelection(SubdivisionIndex(gExport3DSphereSubdivisions));
    subdivisionsRow->Add(mSubdivisions, 0, wxALIGN_CENTER_VERTICAL);
    verts->Add(subdivisionsRow, 0, wxALL, 2);
    top->Add(verts, 0, wxEXPAND | wxLEFT | wxRIGHT | wxBOTTOM, kBorder);

    if (texts.launch)
    {
        mLaunch = new wxCheckBox(this, wxID_ANY, texts.launch);
        mLaunch->SetValue((options & kExport3DLaunch) != 0);
        top->Add(mLaunch, 0, wxLEFT | wxRIGHT | wxBOTTOM, kBorder);
    }

    auto* buttons = new wxStdDialogButtonSizer();
    buttons->AddButton(new wxButton(this, wxID_OK, "Export..."));
    buttons->AddButton(new wxButton(this, wxID_CANCEL, "Cancel"));
    buttons->Realize();
    top->Add(buttons, 0, wxEXPAND | wxALL, kBorder);
    SetSizerAndFit(top);

    // The format's own edges (or vertices) and the flat ones exclude each other.
    const auto pair = [this](wxCheckBox* clicked, wxCheckBox* other) {
        if (!clicked)
            return;
        clicked->Bind(wxEVT_CHECKBOX, [this, other](wxCommandEvent&) {
            if (other)
                other->SetValue(false);
            UpdateEnabling();
        });
    };
    pair(mNativeEdges, mFlatCylinders);
    pair(mFlatCylinders, mNativeEdges);
    pair(mNativeVerts, mFlatSpheres);
    pair(mFlatSpheres, mNativeVerts);
    UpdateEnabling();
    Bind(wxEVT_BUTTON, &ExportOptionsDialog::OnOk, this, wxID_OK);
}

wxWindow* ExportOptionsDialog::TriangulationBox() const
{
    return mTriangulationBox ? mTriangulationBox->GetStaticBox() : nullptr;
}

void ExportOptionsDialog::UpdateEnabling()
{
    const bool cylinders = mFlatCylinders->GetValue();
    mSegments->Enable(cylinders);
    mCaps->Enable(cylinders);
    mSubdivisions->Enable(mFlatSpheres->GetValue());
}

void ExportOptionsDialog::Commit()
{
    uint32_t options = gExport3DOptions;
    if (mTriangulationBox)
    {
        options &= ~(kExport3DTriangulateAll | kExport3DTriangulateNonConvex | kExport3DTriangulateHoles);
        if (mTriangulation[1] && mTriangulation[1]->GetValue())
            options |= kExport3DTriangulateNonConvex;
        else if (mTriangulation[2]->GetValue())
            options |= kExport3DTriangulateHoles;
        else
            options |= kExport3DTriangulateAll;
    }
    if (mNativeEdges)
    {
        SetBit(options, kExport3DEdges, mNativeEdges->GetValue());
        if (mNativeEdges->GetValue())
            options &= ~kExport3DFlatCylinders;
    }
    SetBit(options, kExport3DFlatCylinders, mFlatCylinders->GetValue());
    if (options & kExport3DFlatCylinders)
        options &= ~kExport3DEdges;
    SetBit(options, kExport3DCylinderCaps, mCaps->GetValue());
    gExport3DCylinderSegments = mSegments->GetValue() & 0xFFFF;
    if (mNativeVerts)
    {
        SetBit(options, kExport3DVerts, mNativeVerts->GetValue());
        if (mNativeVerts->GetValue())
            options &= ~kExport3DFlatSpheres;
    }
    SetBit(options, kExport3DFlatSpheres, mFlatSpheres->GetValue());
    if (options & kExport3DFlatSpheres)
        options &= ~kExport3DVerts;
    gExport3DSphereSubdivisions = 1 << std::max(mSubdivisions->GetSelection(), 0);
    if (mLaunch)
        SetBit(options, kExport3DLaunch, mLaunch->GetValue());
    gExport3DOptions = options;
    for (int i = 0; i < kNumOrientations; ++i)
        if (mOrientation[i]->GetValue())
            gExport3DOrientation = i;
    gExport3DLookDownClass = std::max(mAxisLists[0]->GetSelection(), 0);
    gExport3DSitOnClass = std::max(mAxisLists[1]->GetSelection(), 0);
}

void ExportOptionsDialog::OnOk(wxCommandEvent& /*event*/)
{
    Commit();
    EndModal(wxID_OK);
}

bool AskExportOptions(wxWindow* parent, int format, bool stellation)
{
    ExportOptionsDialog dialog(parent, format, stellation);
    return dialog.ShowModal() == wxID_OK;
}
