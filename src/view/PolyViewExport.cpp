// The export commands of the model pane.

#include "view/PolyView.h"

#include "document/ModelFileNames.h"
#include "document/PolyApp.h"
#include "document/PolyDoc.h"
#include "kernel/FileDialog.h"
#include "kernel/Mat3.h"
#include "kernel/Messages.h"
#include "kernel/Paths.h"
#include "kernel/SceneParameters.h"
#include "kernel/Strings.h"
#include "kernel/UnitSettings.h"
#include "kernel/ViewTypes.h"
#include "library/Export3DOptions.h"
#include "library/Export3DScene.h"
#include "library/ExportFileNames.h"
#include "library/FlatExportGeometry.h"
#include "library/LibraryEntry.h"
#include "library/LibraryFileNames.h"
#include "mesh/Model3D.h"
#include "model/ElementDisplayOptions.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "operations/VertexPair.h"
#include "platform/CommandIds.h"
#include "platform/OpenLink.h"
#include "render/KitStyle.h"
#include "render/ViewSnapshot.h"
#include "stellation/Stellation.h"
#include "view/ViewOrientation.h"

#include <optional>
#include <string>
#include <utility>

namespace
{
constexpr char kTextFileFilter[] = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";

struct Export3DFormat
{
    int format;
    int command;
    const char* extension;
    const char* caption;
    const char* filter;
    uint32_t request;  // the triangulation the writer needs whatever the options say
};

constexpr Export3DFormat kExport3DFormats[] = {
    {CPolyView::kExportDxf, kCmdExportDxf, "dxf", "Export to DXF format", "DXF Files (*.dxf)|*.dxf|All Files (*.*)|*.*||",
     uint32_t(SimplePoly::kTriangulateAll)},
    {CPolyView::kExportVrml, kCmdExportVrml, "wrl", "Export to VRML format",
     "VRML Files (*.wrl)|*.wrl|All Files (*.*)|*.*||", 0},
    {CPolyView::kExportPovRay, kCmdExportPovRay, "pov", "Export to POV-Ray format",
     "POV-Ray Files (*.pov)|*.pov|All Files (*.*)|*.*||", uint32_t(SimplePoly::kTriangulateAll)},
    {CPolyView::kExportObj, kCmdExportObj, "obj", "Export to Alias|Wavefront format",
     "Wavefront Files (*.obj)|*.obj|All Files (*.*)|*.*||", 0},
    {CPolyView::kExportOff, kCmdExportOff, "off", "Export to OFF format", "OFF Files (*.off)|*.off|All Files (*.*)|*.*||",
     0},
    {CPolyView::kExportStl, kCmdExportStl, "stl", "Export to STL format", "STL Files (*.stl)|*.stl|All Files (*.*)|*.*||",
     uint32_t(SimplePoly::kTriangulateAll)},
};

ExportOptionsAsker gExportOptionsAsker = nullptr;

const Export3DFormat* FindFormat(int format)
{
    for (const Export3DFormat& f : kExport3DFormats)
        if (f.format == format)
            return &f;
    return nullptr;
}

// The conversion's triangulation bit for the export options' choice.
uint32_t TriangulationRequest(uint32_t options)
{
    if (options & kExport3DTriangulateHoles)
        return 0x80;
    if (options & kExport3DTriangulateNonConvex)
        return 0x40;
    return 0x20;
}

// A face of a mirrored part runs the other way round: its corners are put back in order, the first
// kept in place.
void TurnMirroredFaces(SimplePoly& poly)
{
    for (int f = 0; f < poly.mNumFaces; ++f)
    {
        SimpleFace& face = poly.mFaces[f];
        if (!(face.mFlags & SimpleElem::kReversed) || face.mNum < 3)
            continue;
        for (int i = 1; i < (face.mNum + 1) / 2; ++i)
            std::swap(face.mList[i], face.mList[face.mNum - i]);
    }
}
}  // namespace

void CPolyView::BindExportCommands()
{
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ExportMetricData(); }, kCmdExportMetricData);
    Bind(wxEVT_MENU, [this](wxCommandEvent&) { ExportImage(); }, kCmdExportImage);
    for (const Export3DFormat& f : kExport3DFormats)
    {
        const int format = f.format;
        Bind(wxEVT_MENU, [this, format](wxCommandEvent&) { Export3D(format); }, f.command);
        // A faceting diagram is a picture of facets, not a solid.
        Bind(wxEVT_UPDATE_UI, [this](wxUpdateUIEvent& event) { event.Enable(mViewType != kViewTypeFacetDiagram); },
             f.command);
    }
}

Model3D* CPolyView::GetStellationModel3D(bool withNets) const
{
    Stellation* stellation = GetStellation();
    return stellation ? stellation->GetModel3D(withNets) : nullptr;
}

bool CPolyView::ExportMetricData()
{
    Model3D* model = GetStellationModel3D(false);
    if (!model)
    {
        ErrorMessage("Couldn't create 3D model");
        return false;
    }
    // The model file's name, else the model's, as a text file.
    std::string path;
    if (const CPolyDoc* doc = GetPolyDoc(); doc && !IsBlank(doc->GetFilePath()))
        path = WithExtension(GetFileNamePart(doc->GetFilePath().c_str()), "txt");
    else
    {
        path = GetShownModelName(false, false);
        if (IsBlank(path))
            path = "Untitled";
        ToSemicolonNames(path);
        path += ".txt";
    }
    if (!AskSaveFile("Save Face Table Data", path, "txt", kTextFileFilter, &gBrowseExport))
        return false;
    model->ExportMetricData(path.c_str(), GetStellationName().c_str());
    return true;
}

std::string CPolyView::ViewTypeFileSuffix() const
{
    const Poly* poly = GetCurrentPoly();
    const SceneParameters& scene = GetSceneParameters();
    return ::ViewTypeFileSuffix(mViewType, scene.morphRatio, scene.sliceRatio, poly && (poly->mFlags & Poly::kIs4D));
}

std::string CPolyView::DefaultExportFileName(const char* extension, bool useRemembered) const
{
    // The name the last picture export was given, else the model file's, else the model's.
    std::string name;
    const CPolyDoc* doc = GetPolyDoc();
    std::string source = doc ? doc->GetFilePath() : std::string();
    if (useRemembered && doc && !IsBlank(doc->GetExportName()))
        source = doc->GetExportName();
    if (!IsBlank(source))
    {
        name = GetFileNamePart(source.c_str());
        name.resize(size_t(GetExtension(name.c_str()) - name.c_str()));
    }
    else
    {
        const Poly* poly = GetCurrentPoly();
        const LibraryEntry* entry = poly ? poly->mLibraryEntry : nullptr;
        const std::string baseName = entry && entry->mCategory == LibraryEntry::kCategoryJohnson
                                         ? LibraryEntry::GetSymbol(entry)
                                         : GetModelName(false, false);
        if (!ShowsDual())
            name = baseName;
        else
        {
            name = GetDualName(false, false);
            if (name.empty())
                name = "D-" + baseName;
        }
        ToSemicolonNames(name);
        AbbreviateModelName(name);
    }
    return name + ViewTypeFileSuffix() + "." + extension;
}

std::unique_ptr<SimplePoly> CPolyView::PrepareExport3D(uint32_t request, VertexPair** edges) const
{
    Poly* poly = GetCurrentPoly();
    if (edges)
        *edges = nullptr;
    if (!poly)
        return nullptr;
    // Flat cylinders need the edges whether or not the caller does.
    struct OwnEdges
    {
        VertexPair* list = nullptr;
        ~OwnEdges() { FreeVertexPairs(list); }
    } own;
    if (!edges && (gExport3DOptions & kExport3DFlatCylinders))
        edges = &own.list;
    const uint32_t flags =
        request | Poly::kConvertNoHolesWarning | Poly::kConvertFolded | TriangulationRequest(gExport3DOptions);
    bool fromModel = false;
    std::unique_ptr<SimplePoly> simplePoly = poly->CreateSimplePolyFromView(
        flags, edges, &fromModel, static_cast<NewView*>(const_cast<CPolyView*>(this)));
    if (!simplePoly)
        return nullptr;
    // The model's own conversions triangulate as asked; any other result is triangulated here.
    if (!fromModel)
    {
        simplePoly = SimplePoly::CopyTriangulated(simplePoly.get(), int(flags), edges);
        if (!simplePoly)
            return nullptr;
    }
    TurnMirroredFaces(*simplePoly);

    // Edges and vertices as plain geometry, as large as the pane draws its rods and balls.
    const int numModelVerts = simplePoly->mNumVerts;
    const double sphereRadius = GetVertexSphereRadius(true);
    if (edges && *edges && (gExport3DOptions & kExport3DFlatCylinders) &&
        !AddFlatEdgeCylinders(*simplePoly, *edges, sphereRadius * GetElementDisplayOptions().mCylinderRad,
                              gExport3DCylinderSegments, (gExport3DOptions & kExport3DCylinderCaps) != 0,
                              (flags & SimplePoly::kTriangulateAll) != 0))
        return nullptr;
    if ((gExport3DOptions & kExport3DFlatSpheres) &&
        !AddFlatVertexSpheres(*simplePoly, numModelVerts, sphereRadius, gExport3DSphereSubdivisions))
        return nullptr;

    // Into the pane's view, x to the right, y up, z towards the viewer, in the current unit.
    double matrix[9];
    GetViewRotationMatrix(matrix, nullptr, false);
    Mat3 turn;
    turn.SetRows(Vec3D{matrix[0], matrix[3], matrix[6]}, Vec3D{matrix[1], matrix[4], matrix[7]},
                 Vec3D{matrix[2], matrix[5], matrix[8]});
    simplePoly->Rotate(turn);
    simplePoly->Scale(GetUnitSettings().GetScale());
    return simplePoly;
}

bool CPolyView::Export3D(int format)
{
    const Export3DFormat* f = FindFormat(format);
    if (!f)
    {
        InternalError("CPolyView::Export3D(): no writer for format %d", format);
        return false;
    }
    if (gExportOptionsAsker && !gExportOptionsAsker(this, format, ViewTypeHasAll(mViewType, kViewFamilyStellation)))
        return false;
    std::string path = DefaultExportFileName(f->extension, false);
    // The OBJ material file or the POV-Ray include file beside the chosen one.
    std::string companionPath;
    // The OFF dialog tells what an existing file holds before it is replaced.
    std::optional<FileDialogInfoScope> info;
    if (format == kExportOff)
        info.emplace([](const std::string& selected) {
            std::string text;
            ModelFileInfoText(selected.c_str(), text);
            return text;
        });
    for (;;)
    {
        if (!AskSaveFile(f->caption, path, f->extension, f->filter, &gBrowseExport))
            return false;
        if (format == kExportObj)
        {
            companionPath = WithExtension(path.c_str(), "mtl");
            if (!PathExists(companionPath.c_str()) ||
                AskYesNo("Material file '%s' exists.  Overwrite?", companionPath.c_str()))
                break;
        }
        else if (format == kExportPovRay)
        {
            companionPath = WithExtension(path.c_str(), "inc");
            if (!PathExists(companionPath.c_str()) ||
                AskYesNo("POV included file '%s' exists.  Overwrite?", companionPath.c_str()))
                break;
        }
        else
            break;
    }

    // The pane turns as the options ask while the file is written, and back afterwards, whatever
    // happens.
    struct Turned
    {
        CPolyView& view;
        ViewSnapshot store;
        ~Turned() { view.RestoreAfterExport3D(store); }
    } turned{*this, {}};
    OrientForExport3D(ExportOrientation3D{gExport3DOrientation, gExport3DLookDownClass, gExport3DSitOnClass},
                      turned.store);

    VertexPair* edges = nullptr;
    std::unique_ptr<SimplePoly> simplePoly = PrepareExport3D(f->request, &edges);
    if (!simplePoly)
    {
        FreeVertexPairs(edges);
        return false;
    }
    const std::string title = GetExportTitle();
    bool written = false;
    bool reported = false;
    switch (format)
    {
    case kExportVrml:
        written = simplePoly->ExportVrml(path.c_str(), title.c_str(), edges, GetExport3DScene());
        break;
    case kExportPovRay:
        written = simplePoly->ExportPov(companionPath.c_str(), path.c_str(), title.c_str(), edges, GetExport3DScene(),
                                        &reported);
        break;
    case kExportDxf:
        written = simplePoly->ExportDxf(path.c_str(), title.c_str(), edges);
        break;
    case kExportObj:
        written = simplePoly->ExportObj(path.c_str(), companionPath.c_str(), title.c_str());
        break;
    case kExportOff:
        written = simplePoly->ExportOff(path.c_str(), title.c_str());
        break;
    case kExportStl:
        written = simplePoly->ExportStl(path.c_str(), title.c_str());
        break;
    default:
        break;
    }
    FreeVertexPairs(edges);
    if (!written)
    {
        // The POV-Ray scene is written after its include file, which is the one that failed here.
        if (!reported)
            ErrorMessage("Couldn't write '%s'.", (format == kExportPovRay ? companionPath : path).c_str());
        return false;
    }
    if ((format == kExportVrml || format == kExportPovRay) && (gExport3DOptions & kExport3DLaunch) &&
        !OpenLink(path, LinkKind::kProgramFile))
    {
        if (format == kExportVrml)
            ErrorMessage("Couldn't launch '%s'.  Make sure you have a VRML\nviewer installed and that it is associated "
                         "with\n.wrl files.",
                         path.c_str());
        else
            ErrorMessage("Couldn't launch '%s'.  Make sure POV-Ray is\ninstalled and associated with .pov files.",
                         path.c_str());
    }
    return true;
}

ExportOptionsAsker SetExportOptionsAsker(ExportOptionsAsker asker)
{
    const ExportOptionsAsker previous = gExportOptionsAsker;
    gExportOptionsAsker = asker;
    return previous;
}

double CPolyView::GetSphereScaleLength() const
{
    return GetVertexSphereRadius(true);
}

Export3DScene CPolyView::GetExport3DScene() const
{
    Export3DScene scene;
    scene.hasView = true;
    scene.background = GetBackgroundColor();
    // The camera goes where the model goes: into the pane's view, sized by the model scale.
    double m[9];
    GetViewRotationMatrix(m, nullptr, true);
    const auto turn = [&m](const Vec3D& p) {
        return Vec3D{m[0] * p.x + m[3] * p.y + m[6] * p.z, m[1] * p.x + m[4] * p.y + m[7] * p.z,
                     m[2] * p.x + m[5] * p.y + m[8] * p.z};
    };
    Vec3D backward = GetBackward();
    Vec3Normalize(backward);
    scene.eye = turn(GetEye());
    scene.viewVector = turn(backward);
    scene.verticalFov = GetVerticalFOV();
    scene.width = GetWidth();
    scene.height = GetHeight();
    // The user's own spheres, not the kit's.
    const bool kitSuspended = SuspendKitStyle();
    scene.sphereLength = GetSphereScaleLength() * GetUnitSettings().GetScale();
    ResumeKitStyle(kitSuspended);
    return scene;
}
