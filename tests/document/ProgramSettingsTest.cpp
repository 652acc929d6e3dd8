// The settings table: every value read once at start and written once at close, with its stored
// form, its default, and the rules applied while reading.

#include "document/DocumentSettings.h"
#include "document/ExportSettings.h"
#include "document/PolyApp.h"
#include "document/UpdateCheckSettings.h"
#include "kernel/MemorySettingsStore.h"
#include "kernel/NetTabSettings.h"
#include "kernel/Registry.h"
#include "kernel/RenderSettings.h"
#include "kernel/ScriptedServices.h"
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
#include "support/WxTestApp.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>

namespace
{
const char kSettingsPath[] = "Software\\OrvaneSoft\\Orvane\\Settings";

uint32_t FloatBits(float f)
{
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    return bits;
}

// Every global the settings touch, put back after each test.
struct SavedGlobals
{
    DocumentSettings document = GetDocumentSettings();
    ElementDisplayOptions display = GetElementDisplayOptions();
    RenderSettings render = GetRenderSettings();
    BackgroundImageSettings background = GetBackgroundImageSettings();
    NetTabSettings tabs = GetNetTabSettings();
    UnitSettings units = GetUnitSettings();
    ExportSettings exporting = GetExportSettings();
    UpdateCheckSettings updateCheck = GetUpdateCheckSettings();
    FacetingSettings faceting = GetFacetingSettings();
    StellationSettings stellation = GetStellationSettings();
    bool titleBars = gNewStyleTitleBars;
    bool pivot = gPivotAroundAxis;
    bool rainbow = gRainbowColors;
    bool stencil = gUseStencil;
    bool autoStencil = gAutoStencil;
    uint32_t messages = ShowMessagesSetting();
    ColorRGB backgroundColor = NewView::GetDefaultBackgroundColor();
    BrowseFolder folders[5] = {gBrowseOrva, gBrowseTour, gBrowseExport, gBrowseImage, gBrowseText};
    WindowPlacement placement = StoredWindowPlacement();
    int showCommand = MainWindowShowCommand();
    std::string companyKey = CPolyApp::GetRegistryApp().companyKey;

    void Restore() const
    {
        SetKitStyle(false);
        GetDocumentSettings() = document;
        GetElementDisplayOptions() = display;
        GetRenderSettings() = render;
        GetBackgroundImageSettings() = background;
        GetNetTabSettings() = tabs;
        GetUnitSettings() = units;
        GetExportSettings() = exporting;
        GetUpdateCheckSettings() = updateCheck;
        GetFacetingSettings() = faceting;
        GetStellationSettings() = stellation;
        gNewStyleTitleBars = titleBars;
        gPivotAroundAxis = pivot;
        gRainbowColors = rainbow;
        gUseStencil = stencil;
        gAutoStencil = autoStencil;
        ShowMessagesSetting() = messages;
        NewView::SetBackgroundColorAll(backgroundColor);
        gBrowseOrva = folders[0];
        gBrowseTour = folders[1];
        gBrowseExport = folders[2];
        gBrowseImage = folders[3];
        gBrowseText = folders[4];
        StoredWindowPlacement() = placement;
        MainWindowShowCommand() = showCommand;
        CPolyApp::SetRegistryKey(companyKey.c_str());
    }
};

class ProgramSettingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Reading the settings reads the window placement, which asks for the screen.
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mSaved = std::make_unique<SavedGlobals>();
        CPolyApp::SetRegistryKey("OrvaneSoft");
    }
    void TearDown() override
    {
        if (mSaved)
            mSaved->Restore();
    }

    RegKeyPtr Key() { return CreateRegKey(CPolyApp::GetRegistryApp(), nullptr, "Settings"); }

    bool Stored(const char* name, SettingValue& value) const
    {
        return mStore.store.ReadValue(kSettingsPath, name, value);
    }

    ScopedMemorySettingsStore mStore;
    ScopedScriptedServices mScripted;
    std::unique_ptr<SavedGlobals> mSaved;
};

struct StoredDefault
{
    const char* name;
    uint32_t dword;
    const char* text;  // non-null for a string value
};

// The settings as the table gives them, in their stored forms.
const StoredDefault kDefaults[] = {
    {"LatestKnownVersion OrvaneMax", 0, ""},
    {"LastCheckDay OrvaneMax", 0xFFFFFFFFu, nullptr},
    {"WebSite OrvaneMax", 0, "https://www.orvane.org"},
    {"DistUnits", 1, nullptr},
    {"AngleUnits", 0, nullptr},
    {"Version", 5004, nullptr},
    {"NewStyleTitleBars", 1, nullptr},
    {"EnableTransitions", 1, nullptr},
    {"PivotAroundAxis", 0, nullptr},
    {"RainbowColors", 0, nullptr},
    {"ShowVerts", 0, nullptr},
    {"ShowEdges", 0, nullptr},
    {"ShowStelVerts", 0, nullptr},
    {"ShowStelEdges", 0, nullptr},
    {"SpheresAndCylinders", 0, nullptr},
    {"SphereRadBasedOn", 0, nullptr},
    {"SphereRad", FloatBits(0.4f), nullptr},
    {"CylinderRad", FloatBits(0.7f), nullptr},
    {"ShareMaterial", 0, nullptr},
    {"SphereMaterial", 2, nullptr},
    {"CylinderMaterial", 3, nullptr},
    {"VertSize", FloatBits(3.0f), nullptr},
    {"EdgeWidth", FloatBits(1.0f), nullptr},
    {"SphereColor", 0x00CCFFFFu, nullptr},
    {"CylinderColor", 0x00CCFFFFu, nullptr},
    {"VertColor", 0x00CCFFFFu, nullptr},
    {"EdgeColor", 0x00CCFFFFu, nullptr},
    {"BGColor", 0x00808080u, nullptr},
    {"TitleColor", 0x00FFFFFFu, nullptr},
    {"MidsphereColor", 0x00FFB200u, nullptr},
    {"BGImage", 0, ""},
    {"BGImageFit", 0, nullptr},
    {"BGImageAlpha", FloatBits(0.0f), nullptr},
    {"UndoEnabled", 1, nullptr},
    {"MaxUndoSize", 33554432, nullptr},
    {"MinNumUndos", 2, nullptr},
    {"MaxNumUndos", 1000, nullptr},
    {"SaveModelsAsText", 0, nullptr},
    {"AutoFrameStellation", 1, nullptr},
    {"TabType", 3, nullptr},
    {"TabSize", FloatBits(283.46456692913387f), nullptr},
    {"Show3DTabs", 1, nullptr},
    {"LeftMargin", 0, nullptr},
    {"RightMargin", 0, nullptr},
    {"TopMargin", 0, nullptr},
    {"BottomMargin", 0, nullptr},
    {"PrintLineWidth", 1, nullptr},
    {"PrintCellLineWidth", 10, nullptr},
    {"NetSpacing", 567, nullptr},
    {"ShowMessages", 0xFFFFFFFFu, nullptr},
    {"UseStencil", 1, nullptr},
    {"AutoStencil", 1, nullptr},
    {"HideFacetingDiagram", 1, nullptr},
    {"HideFacetingVertices", 1, nullptr},
    {"TopInfoItem", 0, ""},
    {"ExportOrientation", 0, nullptr},
    {"ExportSameSizeAsView", 0, nullptr},
    {"ExportFit", 1, nullptr},
    {"ExportFitLoose", 0, nullptr},
    {"ExportBorders", FloatBits(0.0f), nullptr},
    {"ExportAspect", 0, "1"},
    {"ExportHideText", 1, nullptr},
    {"ExportOpen", 0, nullptr},
    {"ExportWidth", 500, nullptr},
    {"ExportHeight", 500, nullptr},
    {"ExportOverSample", 2, nullptr},
    {"ExportUnitScale", FloatBits(2.54f), nullptr},
    {"ExportDPI", 96, nullptr},
    {"ExportJPegQuality", 95, nullptr},
    {"ExportIsAnimation", 0, nullptr},
    {"ExportTour", 0, nullptr},
    {"ExportEndAfterFinalFrame", 1, nullptr},
    {"ExportNumRotations", 0, "1/5"},
    {"Export4DRot", 1, nullptr},
    {"ExportTiltAxis", 0, "0"},
    {"ExportStartRatio", 0, "0"},
    {"ExportEndRatio", 0, "1"},
    {"ExportIsPreviewing", 1, nullptr},
    {"ExportFps", 0, nullptr},
    {"ExportInterlaceMethod", 0, nullptr},
    {"ExportNumFrames", 0, nullptr},
    {"ExportCompression", 0, nullptr},
    {"ExportQuality", 0, nullptr},
    {"ExportImageType", 0, nullptr},
    {"Geomag", 0, nullptr},
};
}  // namespace

TEST_F(ProgramSettingsTest, AFirstRunKeepsAndStoresEveryDefault)
{
    // No "Settings" key: nothing is read, no notice is shown.
    CPolyApp::LoadSettings();
    EXPECT_TRUE(mScripted.services.calls.empty());
    EXPECT_EQ(GetUnitSettings().mNetSpacing, 567);

    CPolyApp::SaveSettings();
    for (const StoredDefault& d : kDefaults)
    {
        SCOPED_TRACE(d.name);
        SettingValue value;
        ASSERT_TRUE(Stored(d.name, value));
        if (d.text)
        {
            ASSERT_EQ(value.kind, SettingKind::Text);
            EXPECT_EQ(value.text, d.text);
        }
        else
        {
            ASSERT_EQ(value.kind, SettingKind::Dword);
            EXPECT_EQ(value.dword, d.dword);
        }
    }
}

TEST_F(ProgramSettingsTest, SettingsOfAnOlderVersionAreUpgradedOnReading)
{
    struct Case
    {
        const char* name;
        bool units;       // "DistUnits" stored
        int version;      // -1: not stored
        int netSpacing;   // stored
        bool notice;
        int netSpacingRead;
    };
    // The spacing loses two default tab sizes, 566.93 twips, to the nearest twip.
    const Case kCases[] = {
        {"before the mouse changes", true, 2003, 400, true, 0},
        {"before the mouse changes, wide spacing", true, 2003, 1000, true, 433},
        {"before the spacing change", true, 4999, 1000, false, 433},
        {"no units stored", false, 2003, 1000, false, 433},
        {"no version stored", true, -1, 600, true, 33},
        {"this version", true, 5004, 400, false, 400},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        mScripted.services.Clear();
        GetUnitSettings() = mSaved->units;
        {
            RegKeyPtr key = Key();
            if (c.units)
                RegWriteInt(key.get(), "DistUnits", kUnitCm);
            if (c.version >= 0)
                RegWriteInt(key.get(), "Version", c.version);
            RegWriteInt(key.get(), "NetSpacing", c.netSpacing);
        }
        CPolyApp::LoadSettings();
        EXPECT_EQ(GetUnitSettings().mNetSpacing, c.netSpacingRead);
        ASSERT_EQ(mScripted.services.CountCalls("MessageBox"), c.notice ? 1 : 0);
        if (c.notice)
        {
            const ScriptedServices::Call* call = mScripted.services.LastCall("MessageBox");
            EXPECT_EQ(call->caption, "Information");
            EXPECT_EQ(call->text, "Some things work differently from the version you used before:\n\n"
                                  "    - Right-Drag now zooms the view, and\n"
                                  "      Left+Right-Drag twists it.\n\n"
                                  "    - Some items of the View and Selection menus\n"
                                  "      are now in the Options menu.\n\n"
                                  "    - Some keyboard shortcuts for colouring and\n"
                                  "      hiding have changed: see the Color and\n"
                                  "      Display menus.\n\n"
                                  "For a complete list of changes, see the web site.");
        }
        mStore.store = MemorySettingsStore();
    }
}

TEST_F(ProgramSettingsTest, ReadingRules)
{
    {
        RegKeyPtr key = Key();
        RegWriteInt(key.get(), "Version", 5004);
        RegWriteFloat(key.get(), "TabSize", 10.0);
        RegWriteBool(key.get(), "UseStencil", false);
        RegWriteString(key.get(), "BrowseOrva", "/models/here");
        RegWriteString(key.get(), "BrowseTour", "");
        RegWriteString(key.get(), "BrowseExport", "  ");
    }
    CPolyApp::LoadSettings();
    // A damaged tab size is replaced by half a centimetre.
    EXPECT_DOUBLE_EQ(GetNetTabSettings().tabSize, kDefaultTabSize);
    // Without stencils, automatic stencilling is off unless stored.
    EXPECT_FALSE(gUseStencil);
    EXPECT_FALSE(gAutoStencil);
    // Colours missing from an existing key still pass through their stored form.
    EXPECT_NEAR(NewView::GetDefaultBackgroundColor().r, 128.0f / 255.0f, 1e-6f);
    EXPECT_NEAR(GetElementDisplayOptions().mMidsphereColor.g, 178.0f / 255.0f, 1e-6f);
    // A blank export folder is the working folder; the other folders take what is stored.
    std::string cwd = std::filesystem::current_path().string();
    ASSERT_NE(gBrowseExport.GetPath(), nullptr);
    EXPECT_EQ(std::string(gBrowseExport.GetPath()), cwd);
    EXPECT_EQ(gBrowseTour.GetPath(), nullptr);
    ASSERT_NE(gBrowseOrva.GetPath(), nullptr);
    EXPECT_EQ(std::string(gBrowseOrva.GetPath()), "/models/here");

    {
        RegKeyPtr key = Key();
        RegWriteBool(key.get(), "AutoStencil", true);
        RegWriteFloat(key.get(), "TabSize", 30.0);
    }
    gAutoStencil = true;
    CPolyApp::LoadSettings();
    EXPECT_TRUE(gAutoStencil);
    EXPECT_DOUBLE_EQ(GetNetTabSettings().tabSize, 30.0);
}

TEST_F(ProgramSettingsTest, TheKitStyleStoresTheUsersOwnDisplayValues)
{
    ElementDisplayOptions& display = GetElementDisplayOptions();
    display.mShowVerts = false;
    display.mShowEdges = true;
    display.mSpheresAndCylinders = false;
    display.mSphereRadBasedOn = 3;
    display.mSphereRad = 0.25;
    display.mCylinderRad = 0.5;
    SetKitStyle(true);
    ASSERT_TRUE(display.mSpheresAndCylinders);

    CPolyApp::SaveSettings();
    SettingValue value;
    ASSERT_TRUE(Stored("Geomag", value));
    EXPECT_EQ(value.dword, 1u);
    const std::pair<const char*, uint32_t> kUsers[] = {{"ShowVerts", 0},
                                                       {"ShowEdges", 1},
                                                       {"SpheresAndCylinders", 0},
                                                       {"SphereRadBasedOn", 3},
                                                       {"SphereRad", FloatBits(0.25f)},
                                                       {"CylinderRad", FloatBits(0.5f)}};
    for (const auto& [name, dword] : kUsers)
    {
        ASSERT_TRUE(Stored(name, value)) << name;
        EXPECT_EQ(value.dword, dword) << name;
    }
    // Writing leaves the kit style as it was.
    EXPECT_TRUE(IsKitStyle());
    EXPECT_DOUBLE_EQ(display.mSphereRad, 0.17);

    // The next start reads the user's values and puts the kit style back over them.
    SetKitStyle(false);
    GetElementDisplayOptions() = ElementDisplayOptions();
    CPolyApp::LoadSettings();
    EXPECT_TRUE(IsKitStyle());
    EXPECT_TRUE(display.mShowVerts);
    EXPECT_DOUBLE_EQ(display.mSphereRad, 0.17);
    SetKitStyle(false);
    EXPECT_FALSE(display.mShowVerts);
    EXPECT_TRUE(display.mShowEdges);
    EXPECT_EQ(display.mSphereRadBasedOn, 3);
    EXPECT_DOUBLE_EQ(display.mSphereRad, 0.25);
}

TEST_F(ProgramSettingsTest, WhatIsWrittenIsReadBack)
{
    GetUnitSettings().SetDistanceUnit(kUnitInches);
    GetUnitSettings().SetAngleMode(kAngleRadians);
    GetUnitSettings().mLeftMargin = 720;
    GetDocumentSettings().enableTransitions = false;
    GetDocumentSettings().maxNumUndos = 77;
    GetDocumentSettings().saveModelsAsText = true;
    GetDocumentSettings().topInfoItem = "Faces/Face Type 2";
    gPivotAroundAxis = true;
    gNewStyleTitleBars = false;
    GetElementDisplayOptions().mShowStelEdges = true;
    GetElementDisplayOptions().mVertSize = 4.5f;
    GetElementDisplayOptions().mCylinderColor = ColorRGB{0.2f, 0.4f, 0.6f};
    NewView::SetBackgroundColorAll(ColorRGB{0.0f, 0.0f, 1.0f});
    GetRenderSettings().sceneTextColor[1] = 0.0f;
    GetBackgroundImageSettings().pendingPath = "/images/sky.png";
    GetBackgroundImageSettings().fit = 4;
    GetNetTabSettings().tabType = kTabTypeSingle;
    GetNetTabSettings().show3DTabs = false;
    GetStellationSettings().autoFrame = false;
    GetFacetingSettings().hideVertices = false;
    ShowMessagesSetting() = 0x5;
    GetUpdateCheckSettings().latestKnownVersion = "5.5";
    GetUpdateCheckSettings().lastCheckDay = 1234;
    GetUpdateCheckSettings().siteAddress = "http://127.0.0.1:8080/site";
    ExportSettings& e = GetExportSettings();
    e.folders = {"/exports/one", "/exports/two"};
    e.width = 640;
    e.aspect = "4/3";
    e.isPreviewing = false;
    e.unitScale = 1.0;
    gBrowseImage.SetPath("/pictures");
    const UnitSettings units = GetUnitSettings();
    const DocumentSettings document = GetDocumentSettings();
    const ElementDisplayOptions display = GetElementDisplayOptions();
    const ExportSettings exporting = GetExportSettings();
    CPolyApp::SaveSettings();

    mSaved->Restore();
    CPolyApp::SetRegistryKey("OrvaneSoft");
    GetElementDisplayOptions() = ElementDisplayOptions();
    GetExportSettings() = ExportSettings();
    CPolyApp::LoadSettings();
    EXPECT_TRUE(mScripted.services.calls.empty());
    EXPECT_EQ(GetUnitSettings().GetDistanceUnit(), kUnitInches);
    EXPECT_EQ(GetUnitSettings().GetAngleMode(), kAngleRadians);
    EXPECT_EQ(GetUnitSettings().mLeftMargin, units.mLeftMargin);
    EXPECT_EQ(GetUnitSettings().mNetSpacing, units.mNetSpacing);
    EXPECT_FALSE(GetDocumentSettings().enableTransitions);
    EXPECT_EQ(GetDocumentSettings().maxNumUndos, 77);
    EXPECT_TRUE(GetDocumentSettings().saveModelsAsText);
    EXPECT_EQ(GetDocumentSettings().topInfoItem, document.topInfoItem);
    EXPECT_TRUE(gPivotAroundAxis);
    EXPECT_FALSE(gNewStyleTitleBars);
    EXPECT_TRUE(GetElementDisplayOptions().mShowStelEdges);
    EXPECT_FLOAT_EQ(GetElementDisplayOptions().mVertSize, 4.5f);
    EXPECT_EQ(ColorToRGB(GetElementDisplayOptions().mCylinderColor), ColorToRGB(display.mCylinderColor));
    EXPECT_EQ(ColorToRGB(NewView::GetDefaultBackgroundColor()), 0x00FF0000u);
    EXPECT_FLOAT_EQ(GetRenderSettings().sceneTextColor[1], 0.0f);
    EXPECT_EQ(GetBackgroundImageSettings().pendingPath, "/images/sky.png");
    EXPECT_EQ(GetBackgroundImageSettings().fit, 4);
    EXPECT_EQ(GetNetTabSettings().tabType, kTabTypeSingle);
    EXPECT_FALSE(GetNetTabSettings().show3DTabs);
    EXPECT_FALSE(GetStellationSettings().autoFrame);
    EXPECT_FALSE(GetFacetingSettings().hideVertices);
    EXPECT_EQ(ShowMessagesSetting(), 0x5u);
    EXPECT_EQ(GetUpdateCheckSettings().latestKnownVersion, "5.5");
    EXPECT_EQ(GetUpdateCheckSettings().lastCheckDay, 1234);
    EXPECT_EQ(GetUpdateCheckSettings().siteAddress, "http://127.0.0.1:8080/site");
    EXPECT_EQ(GetExportSettings().folders, exporting.folders);
    EXPECT_EQ(GetExportSettings().width, 640);
    EXPECT_EQ(GetExportSettings().aspect, "4/3");
    EXPECT_FALSE(GetExportSettings().isPreviewing);
    EXPECT_DOUBLE_EQ(GetExportSettings().unitScale, 1.0);
    ASSERT_NE(gBrowseImage.GetPath(), nullptr);
    EXPECT_EQ(std::string(gBrowseImage.GetPath()), "/pictures");
}

TEST_F(ProgramSettingsTest, AShorterFolderListDoesNotBringBackOlderFolders)
{
    GetExportSettings().folders = {"/a", "/b", "/c"};
    CPolyApp::SaveSettings();
    GetExportSettings().folders = {"/c"};
    CPolyApp::SaveSettings();
    GetExportSettings().folders.clear();
    CPolyApp::LoadSettings();
    EXPECT_EQ(GetExportSettings().folders, std::vector<std::string>{"/c"});
}

TEST_F(ProgramSettingsTest, KeyPathsNeedTheCompanyWord)
{
    std::string path;
    ASSERT_TRUE(CPolyApp::GetSettingsKeyPath(path, nullptr, nullptr));
    EXPECT_EQ(path, "Software\\OrvaneSoft\\Orvane\\Settings");
    ASSERT_TRUE(CPolyApp::GetSettingsKeyPath(path, "FontSetups", nullptr));
    EXPECT_EQ(path, "Software\\OrvaneSoft\\Orvane\\FontSetups");

    CPolyApp::SetRegistryKey("");
    path = "untouched";
    EXPECT_FALSE(CPolyApp::GetSettingsKeyPath(path, nullptr, nullptr));
    EXPECT_EQ(path, "untouched");
    // Without it nothing is written.
    CPolyApp::SaveSettings();
    EXPECT_FALSE(mStore.store.KeyExists(kSettingsPath));
}
