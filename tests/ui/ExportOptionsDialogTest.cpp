// File > 3D Export...'s Export Options: the controls each format shows, what OK stores, and the
// ticks that exclude each other.

#include "MainFrameFixture.h"

#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "library/Export3DOptions.h"
#include "model/ElementDisplayOptions.h"
#include "platform/DialogDriver.h"
#include "ui/ExportOptionsDialog.h"
#include "view/PolyView.h"

#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/statbox.h>

#include <string>

namespace
{
class ExportOptionsDialogTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        mOptions = gExport3DOptions;
        mSegments = gExport3DCylinderSegments;
        mSubdivisions = gExport3DSphereSubdivisions;
        mDisplay = GetElementDisplayOptions();
    }
    void TearDown() override
    {
        gExport3DOptions = mOptions;
        gExport3DCylinderSegments = mSegments;
        gExport3DSphereSubdivisions = mSubdivisions;
        gExport3DOrientation = 0;
        gExport3DLookDownClass = 0;
        gExport3DSitOnClass = 0;
        GetElementDisplayOptions() = mDisplay;
        MainFrameFixture::TearDown();
    }

    static std::string Label(wxWindow* window) { return window ? window->GetLabel().ToStdString() : "(none)"; }

    ScopedScriptedServices mServices;
    uint32_t mOptions = 0;
    int mSegments = 0;
    int mSubdivisions = 0;
    ElementDisplayOptions mDisplay;
};

// Sends the click's event as the control's own handler would receive it.
void Toggle(wxCheckBox* box)
{
    box->SetValue(!box->GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
    event.SetEventObject(box);
    event.SetInt(box->GetValue() ? 1 : 0);
    box->ProcessWindowEvent(event);
}
}  // namespace

TEST_F(ExportOptionsDialogTest, EachFormatShowsTheControlsItCanUse)
{
    struct Case
    {
        const char* name;
        int format;
        bool spheresAndCylinders;
        const char* launch;
        const char* edges;
        const char* verts;
        bool triangulation;
    };
    const Case kCases[] = {
        {"VRML cylinders", CPolyView::kExportVrml, true, "Launch viewer (requires VRML viewer)",
         "Export native VRML edge-cylinders", "Export native VRML vertex-spheres", true},
        {"VRML lines", CPolyView::kExportVrml, false, "Launch viewer (requires VRML viewer)",
         "Export native VRML edge-lines", "Export native VRML vertex-spheres", true},
        {"POV-Ray", CPolyView::kExportPovRay, true, "Launch renderer (requires POV-Ray to be installed)",
         "Export native POV-Ray edge-cylinders", "Export native POV-Ray vertex-spheres", false},
        {"DXF", CPolyView::kExportDxf, true, "(none)", "Export edge-lines (in a separate layer)", "(none)", false},
        {"OBJ", CPolyView::kExportObj, true, "(none)", "(none)", "(none)", true},
        {"OFF", CPolyView::kExportOff, true, "(none)", "(none)", "(none)", true},
        {"STL", CPolyView::kExportStl, true, "(none)", "(none)", "(none)", false},
    };
    int vrmlHeight = 0;
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        GetElementDisplayOptions().mSpheresAndCylinders = c.spheresAndCylinders;
        ExportOptionsDialog dialog(mFrame, c.format, false);
        EXPECT_EQ(dialog.GetTitle(), "Export Options");
        EXPECT_EQ(Label(dialog.Launch()), c.launch);
        EXPECT_EQ(Label(dialog.NativeEdges()), c.edges);
        EXPECT_EQ(Label(dialog.NativeVerts()), c.verts);
        EXPECT_EQ(dialog.TriangulationBox() != nullptr, c.triangulation);
        // Every format offers the orientation and the flat cylinders and spheres.
        EXPECT_EQ(Label(dialog.OrientationButton(0)), "Current");
        EXPECT_EQ(Label(dialog.OrientationButton(1)), "Default");
        EXPECT_EQ(Label(dialog.OrientationButton(2)), "Look down...");
        EXPECT_EQ(Label(dialog.OrientationButton(3)), "Sit on...");
        EXPECT_EQ(Label(dialog.OrientationButton(4)), "Look at current face/edge/vertex/symmetry");
        EXPECT_EQ(Label(dialog.OrientationButton(5)), "Sit on current face/edge/vertex/symmetry");
        EXPECT_EQ(Label(dialog.FlatCylinders()), "Export edge-cylinders using flat geometry");
        EXPECT_EQ(Label(dialog.Caps()), "Include cylinder caps");
        EXPECT_EQ(Label(dialog.FlatSpheres()), "Export vertex-spheres using flat geometry");
        ASSERT_EQ(dialog.Subdivisions()->GetCount(), 4u);
        EXPECT_EQ(dialog.Subdivisions()->GetString(3), "8: 1280 faces");
        EXPECT_EQ(Label(dialog.FindWindow(wxID_OK)), "Export...");
        // The dialog holds what it shows and no more.
        const int height = dialog.GetSize().y;
        if (c.format == CPolyView::kExportVrml && c.spheresAndCylinders)
            vrmlHeight = height;
        if (c.format == CPolyView::kExportStl)
        {
            EXPECT_LT(height, vrmlHeight - 60);
        }
    }
}

TEST_F(ExportOptionsDialogTest, TriangulationChoicesFollowTheStellationFlag)
{
    gExport3DOptions = 0x11A;
    {
        ExportOptionsDialog dialog(mFrame, CPolyView::kExportObj, false);
        EXPECT_EQ(Label(dialog.TriangulationButton(0)), "Triangulate all faces");
        EXPECT_EQ(dialog.TriangulationButton(1), nullptr);
        EXPECT_EQ(Label(dialog.TriangulationButton(2)), "Don't triangulate faces");
        // The initial non-convex choice has no button here: all faces.
        EXPECT_TRUE(dialog.TriangulationButton(0)->GetValue());
        dialog.TriangulationButton(2)->SetValue(true);
        dialog.Commit();
        EXPECT_EQ(gExport3DOptions & 7u, kExport3DTriangulateHoles);
    }
    {
        gExport3DOptions = 0x11A;
        ExportOptionsDialog dialog(mFrame, CPolyView::kExportOff, true);
        EXPECT_EQ(Label(dialog.TriangulationButton(1)), "Triangulate non-convex faces");
        EXPECT_EQ(Label(dialog.TriangulationButton(2)), "Only triangulate faces with holes");
        EXPECT_TRUE(dialog.TriangulationButton(1)->GetValue());
        dialog.TriangulationButton(0)->SetValue(true);
        dialog.Commit();
        EXPECT_EQ(gExport3DOptions & 7u, kExport3DTriangulateAll);
    }
    // A format that always takes triangles leaves the choice as it was.
    gExport3DOptions = 0x11C;
    ExportOptionsDialog dialog(mFrame, CPolyView::kExportStl, false);
    dialog.Commit();
    EXPECT_EQ(gExport3DOptions & 7u, kExport3DTriangulateHoles);
}

TEST_F(ExportOptionsDialogTest, TheFormatsOwnAndTheFlatEdgesAndVerticesExcludeEachOther)
{
    gExport3DOptions = kExport3DTriangulateNonConvex | kExport3DFlatCylinders | kExport3DFlatSpheres |
                       kExport3DCylinderCaps;
    ExportOptionsDialog dialog(mFrame, CPolyView::kExportVrml, false);
    EXPECT_TRUE(dialog.FlatCylinders()->GetValue());
    EXPECT_TRUE(dialog.Segments()->IsEnabled());
    EXPECT_TRUE(dialog.Caps()->IsEnabled());
    EXPECT_TRUE(dialog.Subdivisions()->IsEnabled());

    Toggle(dialog.NativeEdges());
    EXPECT_TRUE(dialog.NativeEdges()->GetValue());
    EXPECT_FALSE(dialog.FlatCylinders()->GetValue());
    EXPECT_FALSE(dialog.Segments()->IsEnabled());
    EXPECT_FALSE(dialog.Caps()->IsEnabled());

    Toggle(dialog.NativeVerts());
    EXPECT_FALSE(dialog.FlatSpheres()->GetValue());
    EXPECT_FALSE(dialog.Subdivisions()->IsEnabled());
    Toggle(dialog.FlatSpheres());
    EXPECT_FALSE(dialog.NativeVerts()->GetValue());
    EXPECT_TRUE(dialog.Subdivisions()->IsEnabled());

    dialog.Subdivisions()->SetSelection(3);
    dialog.Launch()->SetValue(true);
    dialog.Commit();
    EXPECT_EQ(gExport3DOptions & (kExport3DEdges | kExport3DFlatCylinders), kExport3DEdges);
    EXPECT_EQ(gExport3DOptions & (kExport3DVerts | kExport3DFlatSpheres), kExport3DFlatSpheres);
    EXPECT_TRUE(gExport3DOptions & kExport3DLaunch);
    EXPECT_EQ(gExport3DSphereSubdivisions, 8);
}

TEST_F(ExportOptionsDialogTest, SegmentsAreKeptWithinTheRange)
{
    for (const int typed : {2, 20000, 7})
    {
        SCOPED_TRACE(typed);
        ExportOptionsDialog dialog(mFrame, CPolyView::kExportStl, false);
        EXPECT_EQ(dialog.Segments()->GetMin(), 3);
        EXPECT_EQ(dialog.Segments()->GetMax(), 9999);
        dialog.Segments()->SetValue(wxString::Format("%d", typed));
        dialog.Commit();
        EXPECT_EQ(gExport3DCylinderSegments, typed < 3 ? 3 : typed > 9999 ? 9999 : typed);
    }
}

TEST_F(ExportOptionsDialogTest, OkThroughTheWindowStoresTheChoicesAndCancelNothing)
{
    gExport3DOptions = 0x11A;
    gExport3DOrientation = 0;
    DialogDriver cancel({[](wxDialog& top) {
        auto* dialog = dynamic_cast<ExportOptionsDialog*>(&top);
        if (!dialog)
            return false;
        dialog->OrientationButton(1)->SetValue(true);
        dialog->NativeVerts()->SetValue(false);
        DialogDriver::Click(dialog->FindWindow(wxID_CANCEL));
        return true;
    }});
    EXPECT_FALSE(AskExportOptions(mFrame, CPolyView::kExportPovRay, false));
    EXPECT_FALSE(cancel.TimedOut());
    EXPECT_EQ(gExport3DOptions, 0x11Au);
    EXPECT_EQ(gExport3DOrientation, 0);

    DialogDriver ok({[](wxDialog& top) {
        auto* dialog = dynamic_cast<ExportOptionsDialog*>(&top);
        if (!dialog)
            return false;
        dialog->OrientationButton(1)->SetValue(true);
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    EXPECT_TRUE(AskExportOptions(mFrame, CPolyView::kExportPovRay, false));
    EXPECT_FALSE(ok.TimedOut());
    EXPECT_EQ(gExport3DOrientation, 1);
    // The orientation is offered again.
    ExportOptionsDialog again(mFrame, CPolyView::kExportDxf, false);
    EXPECT_TRUE(again.OrientationButton(1)->GetValue());
}

TEST_F(ExportOptionsDialogTest, TheAxisListsHoldTheModelsClassesAndChoosingOneChoosesItsOrientation)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
    mDocument->FinishAllTransitions();
    gExport3DOrientation = 3;
    gExport3DLookDownClass = 7;  // no such class: the first
    gExport3DSitOnClass = 2;
    ExportOptionsDialog dialog(mFrame, CPolyView::kExportStl, false);
    EXPECT_TRUE(dialog.OrientationButton(3)->GetValue());
    for (wxChoice* list : {dialog.LookDownList(), dialog.SitOnList()})
    {
        ASSERT_EQ(list->GetCount(), 3u);
        EXPECT_EQ(list->GetString(0), "5-fold Axis");
        EXPECT_EQ(list->GetString(1), "3-fold Axis");
        EXPECT_EQ(list->GetString(2), "2-fold Axis");
        EXPECT_TRUE(list->IsEnabled());
    }
    EXPECT_EQ(dialog.LookDownList()->GetSelection(), 0);
    EXPECT_EQ(dialog.SitOnList()->GetSelection(), 2);

    dialog.LookDownList()->SetSelection(1);
    wxCommandEvent event(wxEVT_CHOICE, dialog.LookDownList()->GetId());
    event.SetEventObject(dialog.LookDownList());
    event.SetInt(1);
    dialog.LookDownList()->ProcessWindowEvent(event);
    EXPECT_TRUE(dialog.OrientationButton(2)->GetValue());
    EXPECT_FALSE(dialog.OrientationButton(3)->GetValue());
    dialog.Commit();
    EXPECT_EQ(gExport3DOrientation, 2);
    EXPECT_EQ(gExport3DLookDownClass, 1);
    EXPECT_EQ(gExport3DSitOnClass, 2);
}
