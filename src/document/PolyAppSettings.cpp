// The program's settings: every value of the "Settings" key, read once at start and written once
// when the main window closes.

#include "document/DocumentSettings.h"
#include "document/ExportSettings.h"
#include "document/PolyApp.h"
#include "document/UpdateCheckSettings.h"
#include "kernel/Messages.h"
#include "kernel/NetTabSettings.h"
#include "kernel/Registry.h"
#include "kernel/RenderSettings.h"
#include "kernel/Strings.h"
#include "kernel/UnitSettings.h"
#include "model/ElementDisplayOptions.h"
#include "platform/WindowPlacement.h"
#include "render/BackgroundImageSettings.h"
#include "render/GLContextState.h"
#include "render/GLLight.h"
#include "render/KitStyle.h"
#include "render/NewView.h"
#include "render/OpenGLView.h"
#include "stellation/FacetingSettings.h"
#include "stellation/StellationSettings.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace
{
// The version these settings are written as; older ones are upgraded on reading.
constexpr int kSettingsVersion = 5004;
// Settings older than this came from the version before the mouse and menu changes.
constexpr int kFirstVersionWithNewMouse = 2004;
// Before this the net spacing was measured between the tabs.
constexpr int kFirstVersionWithTabFreeSpacing = 5000;
constexpr int kPathBufferSize = 260;

const char kUpgradeNotice[] = "Some things work differently from the version you used before:\n\n"
                              "    - Right-Drag now zooms the view, and\n"
                              "      Left+Right-Drag twists it.\n\n"
                              "    - Some items of the View and Selection menus\n"
                              "      are now in the Options menu.\n\n"
                              "    - Some keyboard shortcuts for colouring and\n"
                              "      hiding have changed: see the Color and\n"
                              "      Display menus.\n\n"
                              "For a complete list of changes, see the web site.";

// A text read into a buffer: empty when missing.
std::string ReadBufferedText(RegKey* key, const char* name)
{
    char buffer[kPathBufferSize] = "";
    RegReadStringBuf(key, name, buffer, kPathBufferSize);
    return buffer;
}

void ReadColor(RegKey* key, const char* name, float rgb[3])
{
    ColorRGB color{rgb[0], rgb[1], rgb[2]};
    RegReadColor(key, name, color);
    rgb[0] = color.r;
    rgb[1] = color.g;
    rgb[2] = color.b;
}

void WriteColor(RegKey* key, const char* name, const float rgb[3])
{
    RegWriteColor(key, name, ColorRGB{rgb[0], rgb[1], rgb[2]});
}

std::string ExportFolderName(int index)
{
    return "ExportFolder" + std::to_string(index);
}

void ReadDisplayValues(RegKey* key, int version)
{
    DocumentSettings& doc = GetDocumentSettings();
    ElementDisplayOptions& display = GetElementDisplayOptions();
    RenderSettings& render = GetRenderSettings();
    BackgroundImageSettings& background = GetBackgroundImageSettings();
    NetTabSettings& tabs = GetNetTabSettings();
    UnitSettings& units = GetUnitSettings();

    RegReadBool(key, "NewStyleTitleBars", gNewStyleTitleBars);
    RegReadBool(key, "EnableTransitions", doc.enableTransitions);
    RegReadBool(key, "PivotAroundAxis", gPivotAroundAxis);
    RegReadBool(key, "RainbowColors", gRainbowColors);
    RegReadBool(key, "ShowVerts", display.mShowVerts);
    RegReadBool(key, "ShowEdges", display.mShowEdges);
    RegReadBool(key, "ShowStelVerts", display.mShowStelVerts);
    RegReadBool(key, "ShowStelEdges", display.mShowStelEdges);
    RegReadBool(key, "SpheresAndCylinders", display.mSpheresAndCylinders);
    RegReadInt(key, "SphereRadBasedOn", display.mSphereRadBasedOn);
    RegReadFloat(key, "SphereRad", display.mSphereRad);
    RegReadFloat(key, "CylinderRad", display.mCylinderRad);
    RegReadBool(key, "ShareMaterial", display.mShareMaterial);
    RegReadInt(key, "SphereMaterial", display.mSphereMaterial);
    RegReadInt(key, "CylinderMaterial", display.mCylinderMaterial);
    RegReadFloat(key, "VertSize", display.mVertSize);
    RegReadFloat(key, "EdgeWidth", render.edgeWidth);
    RegReadColor(key, "SphereColor", display.mSphereColor);
    RegReadColor(key, "CylinderColor", display.mCylinderColor);
    RegReadColor(key, "VertColor", display.mDefaultVertColor);
    RegReadColor(key, "EdgeColor", display.mDefaultEdgeColor);
    ColorRGB backgroundColor = NewView::GetDefaultBackgroundColor();
    RegReadColor(key, "BGColor", backgroundColor);
    NewView::SetBackgroundColorAll(backgroundColor);
    ReadColor(key, "TitleColor", render.sceneTextColor);
    RegReadColor(key, "MidsphereColor", display.mMidsphereColor);
    const std::string image = ReadBufferedText(key, "BGImage");
    if (!IsBlank(image))
        background.pendingPath = image;
    RegReadInt(key, "BGImageFit", background.fit);
    RegReadFloat(key, "BGImageAlpha", background.alpha);
    RegReadBool(key, "UndoEnabled", doc.undoEnabled);
    RegReadInt(key, "MaxUndoSize", doc.maxUndoSize);
    RegReadInt(key, "MinNumUndos", doc.minNumUndos);
    RegReadInt(key, "MaxNumUndos", doc.maxNumUndos);
    RegReadBool(key, "SaveModelsAsText", doc.saveModelsAsText);
    RegReadBool(key, "AutoFrameStellation", GetStellationSettings().autoFrame);
    RegReadInt(key, "TabType", tabs.tabType);
    RegReadFloat(key, "TabSize", tabs.tabSize);
    if (tabs.tabSize < kSmallestTabSize)
        tabs.tabSize = kDefaultTabSize;
    RegReadBool(key, "Show3DTabs", tabs.show3DTabs);
    // The margins, line widths and net spacing came in with the units.
    if (version < kFirstVersionWithTabFreeSpacing)
        units.mNetSpacing = std::max(0, int(std::lround(units.mNetSpacing - tabs.tabSize * 2.0)));
}

void ReadExportValues(RegKey* key)
{
    ExportSettings& e = GetExportSettings();
    e.folders.clear();
    for (int i = 0; i < ExportSettings::kMaxFolders; ++i)
    {
        const std::string folder = ReadBufferedText(key, ExportFolderName(i).c_str());
        if (!IsBlank(folder))
            e.folders.push_back(folder);
    }
    RegReadInt(key, "ExportOrientation", e.orientation);
    RegReadInt(key, "ExportSameSizeAsView", e.sameSizeAsView);
    RegReadInt(key, "ExportFit", e.fit);
    RegReadInt(key, "ExportFitLoose", e.fitLoose);
    RegReadFloat(key, "ExportBorders", e.borders);
    RegReadString(key, "ExportAspect", e.aspect);
    RegReadInt(key, "ExportHideText", e.hideText);
    RegReadInt(key, "ExportOpen", e.openAfterExport);
    RegReadInt(key, "ExportWidth", e.width);
    RegReadInt(key, "ExportHeight", e.height);
    RegReadInt(key, "ExportOverSample", e.overSample);
    RegReadFloat(key, "ExportUnitScale", e.unitScale);
    RegReadInt(key, "ExportDPI", e.dpi);
    RegReadInt(key, "ExportJPegQuality", e.jpegQuality);
    RegReadInt(key, "ExportIsAnimation", e.isAnimation);
    RegReadInt(key, "ExportTour", e.tour);
    RegReadInt(key, "ExportEndAfterFinalFrame", e.endAfterFinalFrame);
    RegReadString(key, "ExportNumRotations", e.numRotations);
    RegReadInt(key, "Export4DRot", e.rotate4D);
    RegReadString(key, "ExportTiltAxis", e.tiltAxis);
    RegReadString(key, "ExportStartRatio", e.startRatio);
    RegReadString(key, "ExportEndRatio", e.endRatio);
    RegReadBool(key, "ExportIsPreviewing", e.isPreviewing);
    RegReadInt(key, "ExportFps", e.fps);
    RegReadInt(key, "ExportInterlaceMethod", e.interlaceMethod);
    RegReadInt(key, "ExportNumFrames", e.numFrames);
    RegReadInt(key, "ExportCompression", e.compression);
    RegReadInt(key, "ExportQuality", e.quality);
    RegReadInt(key, "ExportImageType", e.imageType);
}

void WriteExportValues(RegKey* key)
{
    const ExportSettings& e = GetExportSettings();
    // Places past the list are written blank: a shorter list must not bring back older folders.
    for (int i = 0; i < ExportSettings::kMaxFolders; ++i)
    {
        const bool used = i < int(e.folders.size()) && !IsBlank(e.folders[size_t(i)]);
        RegWriteString(key, ExportFolderName(i).c_str(), used ? e.folders[size_t(i)].c_str() : "");
    }
    RegWriteInt(key, "ExportOrientation", e.orientation);
    RegWriteInt(key, "ExportSameSizeAsView", e.sameSizeAsView);
    RegWriteInt(key, "ExportFit", e.fit);
    RegWriteInt(key, "ExportFitLoose", e.fitLoose);
    RegWriteFloat(key, "ExportBorders", e.borders);
    RegWriteString(key, "ExportAspect", e.aspect.c_str());
    RegWriteInt(key, "ExportHideText", e.hideText);
    RegWriteInt(key, "ExportOpen", e.openAfterExport);
    RegWriteInt(key, "ExportWidth", e.width);
    RegWriteInt(key, "ExportHeight", e.height);
    RegWriteInt(key, "ExportOverSample", e.overSample);
    RegWriteFloat(key, "ExportUnitScale", e.unitScale);
    RegWriteInt(key, "ExportDPI", e.dpi);
    RegWriteInt(key, "ExportJPegQuality", e.jpegQuality);
    RegWriteInt(key, "ExportIsAnimation", e.isAnimation);
    RegWriteInt(key, "ExportTour", e.tour);
    RegWriteInt(key, "ExportEndAfterFinalFrame", e.endAfterFinalFrame);
    RegWriteString(key, "ExportNumRotations", e.numRotations.c_str());
    RegWriteInt(key, "Export4DRot", e.rotate4D);
    RegWriteString(key, "ExportTiltAxis", e.tiltAxis.c_str());
    RegWriteString(key, "ExportStartRatio", e.startRatio.c_str());
    RegWriteString(key, "ExportEndRatio", e.endRatio.c_str());
    RegWriteBool(key, "ExportIsPreviewing", e.isPreviewing);
    RegWriteInt(key, "ExportFps", e.fps);
    RegWriteInt(key, "ExportInterlaceMethod", e.interlaceMethod);
    RegWriteInt(key, "ExportNumFrames", e.numFrames);
    RegWriteInt(key, "ExportCompression", e.compression);
    RegWriteInt(key, "ExportQuality", e.quality);
    RegWriteInt(key, "ExportImageType", e.imageType);
}

struct FolderSetting
{
    const char* name;
    BrowseFolder* folder;
};

const FolderSetting kFolders[] = {{"BrowseOrva", &gBrowseOrva},
                                  {"BrowseTour", &gBrowseTour},
                                  {"BrowseExport", &gBrowseExport},
                                  {"BrowseImage", &gBrowseImage},
                                  {"BrowseText", &gBrowseText}};
}  // namespace

void CPolyApp::LoadSettings()
{
    LoadWindowPlacement(GetRegistryApp(), 1000, 800);
    RegKeyPtr settings = OpenRegKey(GetRegistryApp(), nullptr, "Settings");
    RegKey* key = settings.get();
    if (!key)
        return;

    ReadUpdateCheckSettings(key);
    UnitSettings& units = GetUnitSettings();
    int storedUnit = 0;
    const bool hadUnits = RegReadInt(key, "DistUnits", storedUnit);
    units.ReadSettings(key);
    int version = 0;
    RegReadInt(key, "Version", version);
    if (hadUnits && version < kFirstVersionWithNewMouse)
        InfoMessage("%s", kUpgradeNotice);

    ReadDisplayValues(key, version);

    int shown = int(ShowMessagesSetting());
    RegReadInt(key, "ShowMessages", shown);
    ShowMessagesSetting() = uint32_t(shown);
    RegReadBool(key, "UseStencil", gUseStencil);
    // A stored "AutoStencil" still wins.
    if (!gUseStencil)
        gAutoStencil = false;
    RegReadBool(key, "AutoStencil", gAutoStencil);
    FacetingSettings& faceting = GetFacetingSettings();
    RegReadBool(key, "HideFacetingDiagram", faceting.hideDiagram);
    RegReadBool(key, "HideFacetingVertices", faceting.hideVertices);

    GetDocumentSettings().topInfoItem = ReadBufferedText(key, "TopInfoItem");
    ReadExportValues(key);
    bool kitStyle = false;
    RegReadBool(key, "Geomag", kitStyle);

    for (const FolderSetting& f : kFolders)
    {
        const std::string path = ReadBufferedText(key, f.name);
        f.folder->SetPath(path.c_str());
        if (f.folder == &gBrowseExport && IsBlank(path))
            f.folder->SetToCurrentDir();
    }
    // The kit style takes the display values just read as the user's own.
    SetKitStyle(kitStyle);
}

void CPolyApp::SaveSettings()
{
    RegKeyPtr settings = CreateRegKey(GetRegistryApp(), nullptr, "Settings");
    RegKey* key = settings.get();
    if (!key)
        return;

    WriteUpdateCheckSettings(key);
    GetUnitSettings().WriteSettings(key);
    RegWriteInt(key, "Version", kSettingsVersion);
    RegWriteBool(key, "NewStyleTitleBars", gNewStyleTitleBars);
    RegWriteBool(key, "Geomag", IsKitStyle());

    // The user's own display values are kept, not the kit style's.
    const bool kitSuspended = SuspendKitStyle();
    const DocumentSettings& doc = GetDocumentSettings();
    const ElementDisplayOptions& display = GetElementDisplayOptions();
    const RenderSettings& render = GetRenderSettings();
    const BackgroundImageSettings& background = GetBackgroundImageSettings();
    const NetTabSettings& tabs = GetNetTabSettings();
    RegWriteBool(key, "EnableTransitions", doc.enableTransitions);
    RegWriteBool(key, "PivotAroundAxis", gPivotAroundAxis);
    RegWriteBool(key, "RainbowColors", gRainbowColors);
    RegWriteBool(key, "ShowVerts", display.mShowVerts);
    RegWriteBool(key, "ShowEdges", display.mShowEdges);
    RegWriteBool(key, "ShowStelVerts", display.mShowStelVerts);
    RegWriteBool(key, "ShowStelEdges", display.mShowStelEdges);
    RegWriteBool(key, "SpheresAndCylinders", display.mSpheresAndCylinders);
    RegWriteInt(key, "SphereRadBasedOn", display.mSphereRadBasedOn);
    RegWriteFloat(key, "SphereRad", display.mSphereRad);
    RegWriteFloat(key, "CylinderRad", display.mCylinderRad);
    RegWriteBool(key, "ShareMaterial", display.mShareMaterial);
    RegWriteInt(key, "SphereMaterial", display.mSphereMaterial);
    RegWriteInt(key, "CylinderMaterial", display.mCylinderMaterial);
    RegWriteFloat(key, "VertSize", display.mVertSize);
    RegWriteFloat(key, "EdgeWidth", render.edgeWidth);
    RegWriteColor(key, "SphereColor", display.mSphereColor);
    RegWriteColor(key, "CylinderColor", display.mCylinderColor);
    RegWriteColor(key, "VertColor", display.mDefaultVertColor);
    RegWriteColor(key, "EdgeColor", display.mDefaultEdgeColor);
    RegWriteColor(key, "BGColor", NewView::GetDefaultBackgroundColor());
    WriteColor(key, "TitleColor", render.sceneTextColor);
    RegWriteColor(key, "MidsphereColor", display.mMidsphereColor);
    RegWriteString(key, "BGImage", background.PathToKeep().c_str());
    RegWriteInt(key, "BGImageFit", background.fit);
    RegWriteFloat(key, "BGImageAlpha", background.alpha);
    RegWriteBool(key, "UndoEnabled", doc.undoEnabled);
    RegWriteInt(key, "MaxUndoSize", doc.maxUndoSize);
    RegWriteInt(key, "MinNumUndos", doc.minNumUndos);
    RegWriteInt(key, "MaxNumUndos", doc.maxNumUndos);
    RegWriteBool(key, "SaveModelsAsText", doc.saveModelsAsText);
    RegWriteBool(key, "AutoFrameStellation", GetStellationSettings().autoFrame);
    RegWriteInt(key, "TabType", tabs.tabType);
    RegWriteFloat(key, "TabSize", tabs.tabSize);
    RegWriteBool(key, "Show3DTabs", tabs.show3DTabs);
    RegWriteInt(key, "ShowMessages", int(ShowMessagesSetting()));
    RegWriteBool(key, "AutoStencil", gAutoStencil);
    RegWriteBool(key, "UseStencil", gUseStencil);
    const FacetingSettings& faceting = GetFacetingSettings();
    RegWriteBool(key, "HideFacetingDiagram", faceting.hideDiagram);
    RegWriteBool(key, "HideFacetingVertices", faceting.hideVertices);
    RegWriteString(key, "TopInfoItem", doc.topInfoItem.c_str());
    WriteExportValues(key);
    ResumeKitStyle(kitSuspended);

    for (const FolderSetting& f : kFolders)
        RegWriteString(key, f.name, f.folder->GetPath());
}
