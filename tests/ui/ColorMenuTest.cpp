// The Color menu given to the main window as the menu or a key gives it, with the colour chooser
// and the questions answered by the scripted services.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/ViewTypes.h"
#include "library/LibraryLookup.h"
#include "model/ColorSchemes.h"
#include "model/Edge.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/PredefinedColorIndex.h"
#include "platform/CommandIds.h"
#include "polytope4d/Element4D.h"
#include "polytope4d/Polytope4D.h"
#include "polytope4d/RegularPolytopes4D.h"
#include "stellation/StellationSettings.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"

#include <wx/menu.h>

#include <algorithm>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace
{
constexpr uint32_t kRed = 0x0000ff;
constexpr uint32_t kFresh = 0x123456;
constexpr uint32_t kPaint = 0x654321;

class ColorMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        mSavedScheme = FaceColorScheme();
        mSavedEdgeScheme = EdgeColorScheme();
        mSavedDiagramScheme = StellationDiagramColorScheme();
        mSavedDisplay = GetElementDisplayOptions();
        mSavedStellation = GetStellationSettings();
        mSavedBackground = NewView::GetDefaultBackgroundColor();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        Open("Cuboctahedron");
        Panes()[0]->Activate(false);
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSavedSettings;
            FaceColorScheme() = mSavedScheme;
            EdgeColorScheme() = mSavedEdgeScheme;
            StellationDiagramColorScheme() = mSavedDiagramScheme;
            GetElementDisplayOptions() = mSavedDisplay;
            GetStellationSettings() = mSavedStellation;
            NewView::SetBackgroundColorAll(mSavedBackground);
        }
        MainFrameFixture::TearDown();
    }

    void Open(const char* name)
    {
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(name, nullptr, false), false, false)) << name;
    }
    Poly& Current() { return mDocument->GetCurrentRecord()->mPoly; }

    wxMenuItem* Item(int id)
    {
        mFrame->GetMenuBar()->UpdateMenus();
        return mFrame->GetMenuBar()->FindItem(id);
    }

    // Every colour of the model: faces and vertices front and back, then the edges.
    std::vector<uint32_t> Colors()
    {
        std::vector<uint32_t> colors;
        for (ElemList* list : {static_cast<ElemList*>(&Current().mFaces), static_cast<ElemList*>(&Current().mVerts)})
            for (const FaceVert* e = list->mFirst; e; e = e->mNext)
            {
                colors.push_back(ColorToRGB(e->mColor));
                colors.push_back(ColorToRGB(e->mBackColor));
            }
        for (int i = 0; i < Current().mEdges.count; ++i)
            colors.push_back(ColorToRGB(Current().mEdges[i].mColor));
        return colors;
    }

    // How many faces carry each front colour.
    std::map<uint32_t, int> FaceColorUse()
    {
        std::map<uint32_t, int> use;
        for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
            ++use[ColorToRGB(f->mColor)];
        return use;
    }

    FaceVert* FirstFaceWithSides(int sides)
    {
        for (FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
            if (f->mNumSides == sides)
                return f;
        return nullptr;
    }

    std::string PaneMessage() { return Panes()[0]->GetMessage(); }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    uint32_t mSavedScheme = 0;
    int mSavedEdgeScheme = 0;
    int mSavedDiagramScheme = 0;
    ElementDisplayOptions mSavedDisplay;
    StellationSettings mSavedStellation;
    ColorRGB mSavedBackground;
};
}  // namespace

TEST_F(ColorMenuTest, ACancelledChooserChangesNothingAndLeavesNoUndoStep)
{
    Current().SelectFace(FirstFaceWithSides(4), false);
    const std::vector<uint32_t> before = Colors();
    const int steps = GetUndoStepCount();
    const ColorRGB background = NewView::GetDefaultBackgroundColor();
    const ElementDisplayOptions display = GetElementDisplayOptions();
    for (int id : {kCmdReplaceFaceColor, kCmdSetFaceTypeColor, kCmdSetSingleFaceColor, kCmdSetAllFaceColors,
                   kCmdReplaceBackFaceColor, kCmdSetBackFaceTypeColor, kCmdSetSingleBackFaceColor,
                   kCmdSetAllBackFaceColors, kCmdColorCompoundPart, kCmdSetBackgroundColor, kCmdDefaultVertexColor,
                   kCmdDefaultEdgeColor, kCmdSetMidsphereColor, kCmdSetCellLineColor})
    {
        SCOPED_TRACE(id);
        const int opened = mServices.services.CountCalls("Color");
        mServices.services.PushText("", false);
        RunCommand(id);
        EXPECT_EQ(mServices.services.CountCalls("Color"), opened + 1);
        EXPECT_EQ(Colors(), before);
        EXPECT_EQ(GetUndoStepCount(), steps);
    }
    const ColorRGB after = NewView::GetDefaultBackgroundColor();
    EXPECT_TRUE(after.r == background.r && after.g == background.g && after.b == background.b);
    EXPECT_EQ(ColorToRGB(GetElementDisplayOptions().mDefaultVertColor), ColorToRGB(display.mDefaultVertColor));
    EXPECT_EQ(ColorToRGB(GetElementDisplayOptions().mMidsphereColor), ColorToRGB(display.mMidsphereColor));
}

TEST_F(ColorMenuTest, ByFaceTypeTheCuboctahedronHasOneColourForTrianglesAndOneForSquares)
{
    RunCommand(kCmdSchemeByFaceType);
    EXPECT_TRUE(Item(kCmdSchemeByFaceType)->IsChecked());
    EXPECT_FALSE(Item(kCmdSchemeSingleColor)->IsChecked());
    const std::map<uint32_t, int> use = FaceColorUse();
    ASSERT_EQ(use.size(), 2u);
    const uint32_t triangles = ColorToRGB(FirstFaceWithSides(3)->mColor);
    const uint32_t squares = ColorToRGB(FirstFaceWithSides(4)->mColor);
    EXPECT_EQ(use.at(triangles), 8);
    EXPECT_EQ(use.at(squares), 6);

    // A single colour, then undone in one step.
    RunCommand(kCmdSchemeSingleColor);
    EXPECT_EQ(FaceColorUse().size(), 1u);
    EXPECT_TRUE(Item(kCmdSchemeSingleColor)->IsChecked());
    UndoList::Undo();
    EXPECT_EQ(FaceColorUse(), use);
}

TEST_F(ColorMenuTest, ReplacingAskedBeforeMergingAndNoOffersTheOldColourAgain)
{
    RunCommand(kCmdSchemeByFaceType);
    FaceVert* square = FirstFaceWithSides(4);
    FaceVert* triangle = FirstFaceWithSides(3);
    Current().SelectFace(square, false);
    const uint32_t squareColor = ColorToRGB(square->mColor);
    const uint32_t triangleColor = ColorToRGB(triangle->mColor);
    const int steps = GetUndoStepCount();

    // The triangles' colour: the question; No, and a colour nobody has replaces at once.
    mServices.services.PushAnswer(int(triangleColor));
    mServices.services.PushAnswer(kIdNo);
    mServices.services.PushAnswer(int(kFresh));
    mServices.services.offeredColors.clear();
    RunCommand(kCmdReplaceFaceColor);
    ASSERT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text,
              "There are already other faces of that color.\nWould you like to merge the two sets of faces\n"
              "into a single color group?");
    EXPECT_EQ(mServices.services.offeredColors, (std::vector<uint32_t>{squareColor, squareColor}));
    std::map<uint32_t, int> use = FaceColorUse();
    EXPECT_EQ(use, (std::map<uint32_t, int>{{kFresh, 6}, {triangleColor, 8}}));
    EXPECT_EQ(GetUndoStepCount(), steps + 1);

    // Yes merges the two groups.
    mServices.services.PushAnswer(int(triangleColor));
    mServices.services.PushAnswer(kIdYes);
    RunCommand(kCmdReplaceFaceColor);
    EXPECT_EQ(FaceColorUse(), (std::map<uint32_t, int>{{triangleColor, 14}}));
    UndoList::Undo();
    EXPECT_EQ(FaceColorUse(), use);
}

TEST_F(ColorMenuTest, SetAndBackCommandsColourWhatTheySay)
{
    RunCommand(kCmdSchemeByFaceType);
    FaceVert* triangle = FirstFaceWithSides(3);
    Current().SelectFace(triangle, false);
    mServices.services.PushAnswer(int(kPaint));
    RunCommand(kCmdSetFaceTypeColor);
    EXPECT_EQ(FaceColorUse()[kPaint], 8);
    mServices.services.PushAnswer(int(kFresh));
    RunCommand(kCmdSetSingleFaceColor);
    EXPECT_EQ(ColorToRGB(triangle->mColor), kFresh);
    EXPECT_EQ(FaceColorUse()[kPaint], 7);
    mServices.services.PushAnswer(int(kFresh));
    RunCommand(kCmdSetAllBackFaceColors);
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ(ColorToRGB(f->mBackColor), kFresh);
    EXPECT_EQ(FaceColorUse()[kPaint], 7);
}

TEST_F(ColorMenuTest, TabTwiceGoesThroughASingleColourBackToAuto)
{
    RunCommand(kCmdSchemeByFaceType);
    for (uint32_t expected : {kFaceColorSingle, kFaceColorAuto})
    {
        // The pane passes Tab on as the command.
        EXPECT_TRUE(Panes()[0]->OnPaneKey(WXK_TAB, false));
        EXPECT_EQ(FaceColorScheme() & kFaceColorBasicMask, expected);
    }
    EXPECT_TRUE(Item(kCmdSchemeSingleColor)->IsEnabled());
    EXPECT_FALSE(Item(kCmdSchemeSingleColor)->IsChecked());
}

TEST_F(ColorMenuTest, AnArrangementChosenAgainGoesAndOneOfItsClassReplacesTheOther)
{
    Open("Icosidodecahedron");
    RunCommand(kCmdArrangeDodecahedral1);
    EXPECT_TRUE(FaceColorScheme() & kDodecahedralArrangement1);
    EXPECT_TRUE(Item(kCmdArrangeDodecahedral1)->IsChecked());
    RunCommand(kCmdArrangeDodecahedral1);
    EXPECT_FALSE(FaceColorScheme() & (kDodecahedralArrangement1 | kDodecahedralArrangement2));
    RunCommand(kCmdArrangeDodecahedral2);
    RunCommand(kCmdArrangeDodecahedral1);
    EXPECT_EQ(FaceColorScheme() & (kDodecahedralArrangement1 | kDodecahedralArrangement2), kDodecahedralArrangement1);
    EXPECT_FALSE(Item(kCmdArrangeDodecahedral2)->IsChecked());
    // The cubic arrangement toggles on its own.
    RunCommand(kCmdArrangeCubic);
    RunCommand(kCmdArrangeCubic);
    EXPECT_FALSE(FaceColorScheme() & kCubicArrangement);
    RunCommand(kCmdArrangeDodecahedral1);
}

TEST_F(ColorMenuTest, ModifiersAreGreyedUnlessTheSchemeTheyModifyIsOn)
{
    RunCommand(kCmdSchemeSingleColor);
    EXPECT_FALSE(Item(kCmdSameColorChiralPairs)->IsEnabled());
    EXPECT_FALSE(Item(kCmdSameColorCoplanar)->IsEnabled());
    EXPECT_TRUE(Item(kCmdSameColorFrontAndBack)->IsEnabled());
    RunCommand(kCmdSchemeByFaceType);
    EXPECT_TRUE(Item(kCmdSameColorChiralPairs)->IsEnabled());
    EXPECT_TRUE(Item(kCmdSameColorCoplanarChiral)->IsEnabled());
    const bool was = FaceColorScheme() & kFaceColorChiralAlike;
    RunCommand(kCmdSameColorChiralPairs);
    EXPECT_EQ(Item(kCmdSameColorChiralPairs)->IsChecked(), !was);
    RunCommand(kCmdSchemePerFace);
    EXPECT_FALSE(Item(kCmdSameColorChiralPairs)->IsEnabled());
    EXPECT_FALSE(Item(kCmdSameColorFrontAndBack)->IsEnabled());
}

TEST_F(ColorMenuTest, TheBandOfACubeTakesItsNeighboursColoursOnceAskedAndUndoesInOneStep)
{
    Open("Cube");
    Poly& cube = Current();
    auto towards = [&cube](double z) {
        FaceVert* best = cube.mFaces.mFirst;
        for (FaceVert* f = cube.mFaces.mFirst; f; f = f->mNext)
            if (f->mZAxis.z * z > best->mZAxis.z * z)
                best = f;
        return best;
    };
    const ColorRGB green{0.0f, 1.0f, 0.0f};
    for (FaceVert* f = cube.mFaces.mFirst; f; f = f->mNext)
        f->mColor = f->mBackColor = green;
    FaceVert* top = towards(1.0);
    FaceVert* bottom = towards(-1.0);
    top->mColor = top->mBackColor = ColorRGB{1.0f, 0.0f, 0.0f};
    bottom->mColor = bottom->mBackColor = ColorRGB{0.0f, 0.0f, 1.0f};
    FaceVert* band = nullptr;
    for (FaceVert* f = cube.mFaces.mFirst; f && !band; f = f->mNext)
        if (f != top && f != bottom)
            band = f;
    cube.SelectFace(band, false);
    const std::vector<uint32_t> before = Colors();

    mServices.services.PushAnswer(0);
    RunCommand(kCmdTakeNeighbourColors);
    EXPECT_EQ(mServices.services.CountCalls("Question"), 1);
    for (const FaceVert* f = cube.mFaces.mFirst; f; f = f->mNext)
    {
        EXPECT_NE(ColorToRGB(f->mColor), ColorToRGB(green));
        EXPECT_EQ(ColorToRGB(f->mColor), ColorToRGB(f->mBackColor));
    }
    UndoList::Undo();
    EXPECT_EQ(Colors(), before);
}

TEST_F(ColorMenuTest, TheBackgroundColourReachesEveryPaneAndPanesMadeLater)
{
    RunCommand(kCmdLayout2);
    Pump();
    ASSERT_GE(Panes().size(), 2u);
    mServices.services.PushAnswer(0x604020);
    RunCommand(kCmdSetBackgroundColor);
    for (const ModelPane* pane : Panes())
        EXPECT_EQ(ColorToRGB(pane->GetBackgroundColor()), 0x604020u);
    EXPECT_EQ(ColorToRGB(NewView::GetDefaultBackgroundColor()), 0x604020u);
    RunCommand(kCmdLayout1);
    Pump();
    for (const ModelPane* pane : Panes())
        EXPECT_EQ(ColorToRGB(pane->GetBackgroundColor()), 0x604020u);
}

TEST_F(ColorMenuTest, DefaultVertexAndEdgeColoursTellWhyTheyMayNotShow)
{
    ElementDisplayOptions& display = GetElementDisplayOptions();
    display.mShowVerts = display.mShowStelVerts = false;
    mServices.services.PushAnswer(int(kRed));
    RunCommand(kCmdDefaultVertexColor);
    EXPECT_EQ(ColorToRGB(display.mDefaultVertColor), kRed);
    EXPECT_NE(PaneMessage().find("won't be apparent unless you use"), std::string::npos);
    EXPECT_NE(PaneMessage().find("Show Vertices"), std::string::npos);

    display.mShowEdges = true;
    display.mSpheresAndCylinders = display.mCylinderSwitch = true;
    display.mCylinderMaterial = 3;
    mServices.services.PushAnswer(int(kFresh));
    RunCommand(kCmdDefaultEdgeColor);
    EXPECT_EQ(ColorToRGB(display.mDefaultEdgeColor), kFresh);
    EXPECT_NE(PaneMessage().find("does not affect the color of cylinders"), std::string::npos);
    EXPECT_NE(PaneMessage().find("Sphere and Cylinder Options"), std::string::npos);

    // Vertices drawn in the default colour: a vertex's own colour cannot be seen.
    display.mColorVertsSameAsDualFace = false;
    Current().SelectFace(Current().mVerts.mFirst, true);
    ASSERT_TRUE(Current().HasSelectedVert());
    mServices.services.PushAnswer(int(kFresh));
    RunCommand(kCmdSetSingleFaceColor);
    EXPECT_NE(PaneMessage().find("Color Vertices Same as Dual Face"), std::string::npos);
    RunCommand(kCmdVertexColorsFromDualFaces);
    EXPECT_TRUE(display.mColorVertsSameAsDualFace);
    EXPECT_TRUE(Item(kCmdVertexColorsFromDualFaces)->IsChecked());
}

TEST_F(ColorMenuTest, ColorAsACompoundIsGreyedWhereNoSingleSideIsShown)
{
    EXPECT_TRUE(Item(kCmdColorAsCompound)->IsEnabled());
    for (int type : {kViewTypePolyAndDual, kViewTypeMorphSizing})
    {
        Panes()[0]->SetViewType(type, false);
        Panes()[0]->Activate(false);
        EXPECT_FALSE(Item(kCmdColorAsCompound)->IsEnabled()) << type;
    }
}

TEST_F(ColorMenuTest, EachEdgeColouringCarriesItsMarkAndColoursTheIcosidodecahedron)
{
    Open("Icosidodecahedron");
    struct Case
    {
        int command;
        int classes;  // distinct edge colours; 0: not counted
    };
    for (const Case& c : {Case{kCmdEdgeColorsParallel, 15}, Case{kCmdEdgeColorsGreatCircles, 6},
                          Case{kCmdEdgeColorsSame, 1}, Case{kCmdEdgeColorsByTypeWithReflections, 1},
                          Case{kCmdEdgeColorsByTypeWithoutReflections, 1}, Case{kCmdEdgeColorsFromFaces, 0},
                          Case{kCmdEdgeColorsFromFacesComplement, 0}})
    {
        SCOPED_TRACE(c.command);
        RunCommand(c.command);
        EXPECT_TRUE(Item(c.command)->IsChecked());
        std::set<uint32_t> colors;
        for (int i = 0; i < Current().mEdges.count; ++i)
            colors.insert(ColorToRGB(Current().mEdges[i].mColor));
        if (c.classes)
        {
            EXPECT_EQ(int(colors.size()), c.classes);
        }
    }
}

namespace
{
// Two tesseracts side by side along w, as one polytope of two parts.
std::unique_ptr<Polytope4D> TwoTesseracts()
{
    auto p = std::make_unique<Polytope4D>();
    for (double w : {-3.0, 3.0})
    {
        PolytopeSpec4D spec = TesseractSpec(1.0, true);
        for (Vec4D& v : spec.verts)
            v.w += w;
        AddSpec(*p, spec);
    }
    EXPECT_TRUE(p->FinishPolytope());
    return p;
}

std::vector<uint32_t> CellColors(const Polytope4D& p)
{
    std::vector<uint32_t> colors;
    for (const Element4D* c = p.mFirstCell; c; c = c->next)
        colors.push_back(c->mColor);
    return colors;
}
}  // namespace

TEST_F(ColorMenuTest, TheCellsOfA4DModelTakeTheirColoursAndGiveThemBackInOneStep)
{
    Current().SetPolytope4D(TwoTesseracts(), 0);
    Polytope4D& p = *Current().mPolytope;
    ASSERT_EQ(p.GetNumParts(), 2);
    int cells = 0;
    for (Element4D* c = p.mFirstCell; c; c = c->next, ++cells)
        c->mColor = 0x808080;
    ASSERT_EQ(cells, 16);
    const std::vector<uint32_t> start = CellColors(p);
    Cell4D* current = p.GetCurrentCell(true);
    ASSERT_NE(current, nullptr);

    mServices.services.PushAnswer(int(kPaint));
    RunCommand(kCmdSetSingleFaceColor);
    EXPECT_EQ(current->mColor, kPaint);
    const std::vector<uint32_t> single = CellColors(p);
    EXPECT_EQ(std::count(single.begin(), single.end(), kPaint), 1);

    // One part: the eight cubes of the current cell's tesseract.
    mServices.services.PushAnswer(int(kFresh));
    RunCommand(kCmdColorCompoundPart);
    const std::vector<uint32_t> parted = CellColors(p);
    EXPECT_EQ(std::count(parted.begin(), parted.end(), kFresh), 8);
    EXPECT_EQ(std::count(parted.begin(), parted.end(), 0x808080u), 8);

    // That part's colour throughout: no cell is red yet, so nothing is asked.
    mServices.services.PushAnswer(int(kRed));
    RunCommand(kCmdReplaceFaceColor);
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    const std::vector<uint32_t> replaced = CellColors(p);
    EXPECT_EQ(std::count(replaced.begin(), replaced.end(), kRed), 8);

    mServices.services.PushAnswer(int(kPaint));
    RunCommand(kCmdSetAllFaceColors);
    const std::vector<uint32_t> all = CellColors(p);
    EXPECT_EQ(std::count(all.begin(), all.end(), kPaint), 16);

    for (int i = 0; i < 4; ++i)
        UndoList::Undo();
    EXPECT_EQ(CellColors(p), start);
}
