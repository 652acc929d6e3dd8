// Showing and hiding elements, stepping face types, the stereo modes, the selected-face display,
// the mouse modes' 4D fallback and the Section menu, given to the main window as the menu does.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/ShowHide.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/RenderSettings.h"
#include "kernel/SceneParameters.h"
#include "kernel/ScriptedServices.h"
#include "library/LibraryLookup.h"
#include "model/ColorSchemes.h"
#include "model/ElementDisplayOptions.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SectionGeometry.h"
#include "platform/CommandIds.h"
#include "render/GLLight.h"
#include "render/OpenGLView.h"
#include "stellation/FaceType.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/EscapeCommands.h"
#include "ui/SelectByIndexDialog.h"
#include "view/PolyView.h"
#include "view/SectionDisplay.h"
#include "view/ViewDisplayOptions.h"

#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace
{
class DisplaySelectionTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSavedSettings = GetDocumentSettings();
        mSavedScene = GetSceneParameters();
        mSavedViewOptions = GetViewDisplayOptions();
        mSavedFaceDisplay = SelectedFaceDisplay();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        Open("Cuboctahedron");
        Panes()[0]->Activate(false);
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            SetStereoDisplay(0);
            OpenGLView::SetRainbowColorMode(false);
            CPolyView::SetMouseMode(kMouseModeSelect);
            GetDocumentSettings() = mSavedSettings;
            GetSceneParameters() = mSavedScene;
            GetViewDisplayOptions() = mSavedViewOptions;
            SelectedFaceDisplay() = mSavedFaceDisplay;
        }
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
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

    std::vector<bool> FaceMarks()
    {
        std::vector<bool> marks;
        for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
            marks.push_back((f->mFlags & FaceVert::kHidden) != 0);
        return marks;
    }

    FaceVert* FirstFaceWithSides(int sides)
    {
        for (FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
            if (f->mNumSides == sides)
                return f;
        return nullptr;
    }

    int SelectedSides()
    {
        const FaceVert* face = Current().GetSelectedFace();
        return face ? face->mNumSides : 0;
    }

    std::string PaneMessage() { return Panes()[0]->GetMessage(); }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSavedSettings;
    SceneParameters mSavedScene;
    ViewDisplayOptions mSavedViewOptions;
    int mSavedFaceDisplay = 0;
};

TEST_F(DisplaySelectionTest, ShowHideColorGroupShowsAPartlyHiddenGroupThenHidesIt)
{
    FaceVert* triangle = FirstFaceWithSides(3);
    ASSERT_NE(triangle, nullptr);
    Current().SelectElement(triangle, false);
    // One other face of the triangles' colour is hidden.
    FaceVert* other = nullptr;
    for (FaceVert* f = Current().mFaces.mFirst; f && !other; f = f->mNext)
        if (f != triangle && f->mNumSides == 3)
            other = f;
    ASSERT_NE(other, nullptr);
    other->mFlags |= FaceVert::kHidden;

    RunCommand(kCmdShowHideSelectedColor);
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        EXPECT_FALSE(f->mFlags & FaceVert::kHidden) << f->mIndex;

    RunCommand(kCmdShowHideSelectedColor);
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
    {
        const bool sameColor = f->mColor.r == triangle->mColor.r && f->mColor.g == triangle->mColor.g &&
                               f->mColor.b == triangle->mColor.b;
        EXPECT_EQ((f->mFlags & FaceVert::kHidden) != 0, sameColor) << f->mIndex;
    }
}

TEST_F(DisplaySelectionTest, TypeSingleAndAllFollowTheirRules)
{
    FaceVert* square = FirstFaceWithSides(4);
    ASSERT_NE(square, nullptr);
    Current().SelectElement(square, false);
    RunCommand(kCmdShowHideSelectedType);
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        EXPECT_EQ((f->mFlags & FaceVert::kHidden) != 0, f->mNumSides == 4) << f->mIndex;
    // Ctrl+H flips the square alone: it is shown again.
    RunCommand(kCmdShowHideSelected);
    EXPECT_FALSE(square->mFlags & FaceVert::kHidden);
    // Some faces are hidden: Show/Hide All Faces shows them all, and again hides them all.
    RunCommand(kCmdShowHideAll);
    for (bool hidden : FaceMarks())
        EXPECT_FALSE(hidden);
    RunCommand(kCmdShowHideAll);
    for (bool hidden : FaceMarks())
        EXPECT_TRUE(hidden);
}

TEST_F(DisplaySelectionTest, ToggleTwiceRestoresEveryMark)
{
    Current().SelectElement(FirstFaceWithSides(3), false);
    int i = 0;
    for (FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext, ++i)
        if (i % 3 == 0)
            f->mFlags |= FaceVert::kHidden;
    const std::vector<bool> before = FaceMarks();
    RunCommand(kCmdToggleShownHidden);
    const std::vector<bool> toggled = FaceMarks();
    for (size_t k = 0; k < before.size(); ++k)
        EXPECT_NE(toggled[k], before[k]) << k;
    RunCommand(kCmdToggleShownHidden);
    EXPECT_EQ(FaceMarks(), before);
}

TEST_F(DisplaySelectionTest, InPlaneIsGreyedForASelectedVertex)
{
    EXPECT_TRUE(Item(kCmdShowHideInPlane)->IsEnabled());
    Current().SelectElement(Current().mVerts.mFirst, true);
    EXPECT_FALSE(Item(kCmdShowHideInPlane)->IsEnabled());
    EXPECT_TRUE(Item(kCmdShowHideAroundVertex)->IsEnabled());
    Current().SelectElement(FirstFaceWithSides(4), false);
    EXPECT_TRUE(Item(kCmdShowHideInPlane)->IsEnabled());
    EXPECT_FALSE(Item(kCmdShowHideAroundVertex)->IsEnabled());
}

TEST_F(DisplaySelectionTest, FacesAroundAVertexHideAndShowTogether)
{
    FaceVert* vert = Current().mVerts.mFirst;
    Current().SelectElement(vert, true);
    RunCommand(kCmdShowHideAroundVertex);
    // The cuboctahedron's vertex has two triangles and two squares about it, and nothing coincides.
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    int hidden = 0;
    for (const FaceVert* f = Current().mFaces.mFirst; f; f = f->mNext)
        if (f->mFlags & FaceVert::kHidden)
        {
            ++hidden;
            EXPECT_TRUE(vert->HasNeighbour(f));
        }
    EXPECT_EQ(hidden, 4);
    RunCommand(kCmdShowHideAroundVertex);
    for (bool h : FaceMarks())
        EXPECT_FALSE(h);
}

TEST(CoincidentVertexQuestionTest, WordingFollowsTheCount)
{
    struct Case
    {
        const char* name;
        std::vector<int> others;
        const char* text;
    };
    const Case kCases[] = {
        {"one", {7}, "This vertex (index 3) is coincident with 1 other\n(index 7).\nShow/hide faces around those too?"},
        {"three",
         {4, 5, 9},
         "This vertex (index 3) is coincident with 3 others\n(indices 4, 5 & 9).\nShow/hide faces around those too?"},
        {"twelve",
         {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13},
         "This vertex (index 3) is coincident with 12 others\n(indices 1, 2, 4, 5, 6, 7, 8, 9, 10, 11...).\n"
         "Show/hide faces around those too?"},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(CoincidentVertexQuestion(3, c.others), c.text);
    }
}

TEST_F(DisplaySelectionTest, NextFaceTypeStepsAndWraps)
{
    Current().SelectElement(FirstFaceWithSides(3), false);
    RunCommand(kCmdSelectNextFaceType);
    EXPECT_EQ(SelectedSides(), 4);
    RunCommand(kCmdSelectNextFaceType);
    EXPECT_EQ(SelectedSides(), 3);
    RunCommand(kCmdSelectPreviousFaceType);
    EXPECT_EQ(SelectedSides(), 4);
    RunCommand(kCmdSelectPreviousFaceType);
    EXPECT_EQ(SelectedSides(), 3);
}

TEST_F(DisplaySelectionTest, OneFaceTypeIsSaidAndTheSelectionStays)
{
    Open("Icosahedron");
    FaceVert* face = Current().mFaces.mFirst;
    Current().SelectElement(face, false);
    RunCommand(kCmdSelectNextFaceType);
    EXPECT_EQ(Current().GetSelectedFace(), face);
    EXPECT_NE(PaneMessage().find("There is only one type of face"), std::string::npos) << PaneMessage();
}

TEST_F(DisplaySelectionTest, GlassesDrawWithDefaultLightsAndOffRestoresRainbow)
{
    OpenGLView::SetRainbowColorMode(true);
    Pump();
    LightSet* rainbow = FindLightSet("Rainbow", false);
    ASSERT_NE(rainbow, nullptr);
    EXPECT_EQ(GetCurrentLightSet(), rainbow);

    RunCommand(kCmdStereoRedCyan);
    EXPECT_EQ(GetStereoMode(), 3);
    EXPECT_TRUE(GetRenderFlags() & RenderSettings::kStereoGlasses);
    EXPECT_NE(GetCurrentLightSet(), rainbow);
    EXPECT_TRUE(Item(kCmdStereoRedCyan)->IsChecked());

    RunCommand(kCmdStereoOff);
    EXPECT_EQ(GetStereoMode(), 0);
    EXPECT_FALSE(GetRenderFlags() & RenderSettings::kStereoGlasses);
    EXPECT_EQ(GetCurrentLightSet(), rainbow);
    EXPECT_TRUE(Item(kCmdStereoOff)->IsChecked());

    RunCommand(kCmdStereoCrossEyed);
    EXPECT_EQ(GetStereoMode(), 2);
    EXPECT_FALSE(GetRenderFlags() & RenderSettings::kStereoGlasses);
}

TEST_F(DisplaySelectionTest, EscapeEndsGlassesStereoTheSameWay)
{
    OpenGLView::SetRainbowColorMode(true);
    RunCommand(kCmdStereoRedGreen);
    ASSERT_EQ(GetStereoMode(), 5);
    EXPECT_TRUE(RunEscapeKey());
    EXPECT_EQ(GetStereoMode(), 0);
    EXPECT_FALSE(GetRenderFlags() & RenderSettings::kStereoGlasses);
    EXPECT_EQ(GetCurrentLightSet(), FindLightSet("Rainbow", false));
}

TEST_F(DisplaySelectionTest, HighlightWithoutASelectedFaceSaysHowToSelectOne)
{
    Current().ClearSelection();
    RunCommand(kCmdSelectedFaceDiagram);
    EXPECT_EQ(SelectedFaceDisplay(), 1);
    RunCommand(kCmdSelectedFaceHighlight);
    EXPECT_EQ(SelectedFaceDisplay(), 0);
    EXPECT_EQ(PaneMessage(),
              "You must select a face to see the effect of this option.\nUse Shift+Left-click to select a face.");
    wxUpdateUIEvent update(kCmdSelectedFaceHighlight);
    mFrame->ProcessWindowEvent(update);
    EXPECT_TRUE(update.GetChecked());
}

TEST_F(DisplaySelectionTest, FourDTumbleModeFallsBackOnA3DModel)
{
    Open("Cube");
    RunCommand(kCmdCreate4DPrism);
    mDocument->FinishAllTransitions();
    ASSERT_TRUE(Current().mFlags & Poly::kIs4D);
    RunCommand(kCmdMode4DTumble);
    Item(kCmdMode4DTumble);
    EXPECT_EQ(GetMouseMode(), kMouseMode4DTumble);
    for (int id : {kCmdSectionAlongAxis0, kCmdSectionAlongAxis1, kCmdSectionAlongAxis2})
        EXPECT_FALSE(Item(id)->IsEnabled());
    Open("Cube");
    Item(kCmdMode4DTumble);
    EXPECT_EQ(GetMouseMode(), kMouseModeSelect);
}

TEST_F(DisplaySelectionTest, SectionDepthIsHeldToTheUnitRange)
{
    mServices.services.PushText("1.5");
    RunCommand(kCmdSetSectionDepth);
    EXPECT_EQ(GetSceneParameters().sliceRatio, 1.0);
    mServices.services.PushText("-3");
    RunCommand(kCmdSetSectionDepth);
    EXPECT_EQ(GetSceneParameters().sliceRatio, 0.0);
    mServices.services.PushText("0.25");
    RunCommand(kCmdSetSectionDepth);
    EXPECT_EQ(GetSceneParameters().sliceRatio, 0.25);
    mServices.services.PushText("0.75", false);
    RunCommand(kCmdSetSectionDepth);
    EXPECT_EQ(GetSceneParameters().sliceRatio, 0.25);
}

TEST_F(DisplaySelectionTest, SnapPutsThePlaneOnTheNearestVertexOnce)
{
    SetCrossSectionDirection3D(Vec3D{0, 0, 1});
    GetSceneParameters().sliceRatio = 0.3;
    RunCommand(kCmdSnapSectionDepth);
    const double snapped = GetSceneParameters().sliceRatio;
    // The plane now passes through a vertex of the cuboctahedron.
    const Mat4& frame = GetSceneParameters().sliceMatrix;
    double lowest, highest;
    ASSERT_TRUE(GetShownSectionRange(Current(), frame, lowest, highest));
    const double plane = highest - snapped * (highest - lowest);
    double nearest = 1e9;
    for (const FaceVert* v = Current().mVerts.mFirst; v; v = v->mNext)
        nearest = std::min(nearest, std::fabs(SectionOffsetOf(frame, v->mPoint) - plane));
    EXPECT_LT(nearest, 1e-9);
    // The cuboctahedron's vertices lie in three layers along a 4-fold axis, at depths 0, 0.5 and
    // 1: from 0.3 the middle one is nearest.
    EXPECT_NEAR(snapped, 0.5, 1e-9);
    RunCommand(kCmdSnapSectionDepth);
    EXPECT_EQ(GetSceneParameters().sliceRatio, snapped);
}

TEST_F(DisplaySelectionTest, AlongAxisFollowsTheModelsAxisClasses)
{
    // The cuboctahedron's full group has three classes; Along Axis 0 is its 4-fold axis.
    EXPECT_TRUE(Item(kCmdSectionAlongAxis1)->IsEnabled());
    EXPECT_NE(Item(kCmdSectionAlongAxis0)->GetItemLabelText().Find("4-fold"), wxNOT_FOUND);
    SetCrossSectionDirection3D(Vec3D{1, 1, 1});
    RunCommand(kCmdSectionAlongAxis0);
    Vec3D u, v, n;
    GetSectionFrame(u, v, n);
    // A 4-fold axis of the cuboctahedron is a coordinate axis.
    const double largest = std::max({std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)});
    EXPECT_NEAR(largest, 1.0, 1e-9);

    // The square pyramid's axis has two unlike ends, two classes: no third.
    Open("Square Pyramid");
    EXPECT_TRUE(Item(kCmdSectionAlongAxis1)->IsEnabled());
    EXPECT_FALSE(Item(kCmdSectionAlongAxis2)->IsEnabled());
}

TEST_F(DisplaySelectionTest, ModelViewModesAreRadios)
{
    const int commands[] = {kCmdSectionInModelsNever, kCmdSectionInModelsWithView, kCmdSectionInModelsAlways};
    for (int mode = 2; mode >= 0; --mode)
    {
        RunCommand(commands[mode]);
        EXPECT_EQ(GetViewDisplayOptions().sectionDisplayMode, mode);
        for (int other = 0; other < 3; ++other)
            EXPECT_EQ(Item(commands[other])->IsChecked(), other == mode);
    }
}

TEST_F(DisplaySelectionTest, AutomaticDirectionGoesBackToTheModelsAxis)
{
    RunCommand(kCmdSectionAutomatic);  // off
    EXPECT_FALSE(GetViewDisplayOptions().autoSectionDirection);
    SetCrossSectionDirection3D(Vec3D{1, 2, 3});
    RunCommand(kCmdSectionAutomatic);  // on again
    EXPECT_TRUE(GetViewDisplayOptions().autoSectionDirection);
    EXPECT_TRUE(Item(kCmdSectionAutomatic)->IsChecked());
    Vec3D u, v, n;
    GetSectionFrame(u, v, n);
    const double largest = std::max({std::fabs(n.x), std::fabs(n.y), std::fabs(n.z)});
    EXPECT_NEAR(largest, 1.0, 1e-9);
}
}  // namespace

namespace
{
std::vector<Vec3D> VertexPoints(const Poly& poly)
{
    std::vector<Vec3D> points;
    for (const FaceVert* v = poly.mVerts.mFirst; v; v = v->mNext)
        points.push_back(v->mPoint);
    return points;
}

// Every point of a has a point of b within 1e-9, and the counts agree.
bool SamePointSet(const std::vector<Vec3D>& a, const std::vector<Vec3D>& b)
{
    if (a.size() != b.size())
        return false;
    for (const Vec3D& p : a)
    {
        bool found = false;
        for (const Vec3D& q : b)
            found = found || (std::fabs(p.x - q.x) < 1e-9 && std::fabs(p.y - q.y) < 1e-9 && std::fabs(p.z - q.z) < 1e-9);
        if (!found)
            return false;
    }
    return true;
}

TEST_F(DisplaySelectionTest, GoToVariationMirrorsAChiralModelInOneStep)
{
    Open("Snub Cube");
    EXPECT_EQ(Item(kCmdGoToVariation)->GetItemLabelText(), "Create Mirror Image");
    ASSERT_TRUE(Item(kCmdGoToVariation)->IsEnabled());
    const std::vector<Vec3D> before = VertexPoints(Current());
    std::vector<Vec3D> mirrored = before;
    for (Vec3D& p : mirrored)
        p.x = -p.x;
    // The snub cube is not its own mirror image.
    ASSERT_FALSE(SamePointSet(before, mirrored));
    const int steps = GetUndoStepCount();
    RunCommand(kCmdGoToVariation);
    mDocument->FinishAllTransitions();
    EXPECT_EQ(GetUndoStepCount(), steps + 1);
    EXPECT_NE(UndoMenuText(false).find("Go To Variation"), std::string::npos) << UndoMenuText(false);
    EXPECT_EQ(Current().mFaces.mCount, 38);
    EXPECT_EQ(Current().mVerts.mCount, 24);
    EXPECT_TRUE(SamePointSet(VertexPoints(Current()), mirrored));
    RunCommand(kCmdGoToVariation);
    mDocument->FinishAllTransitions();
    EXPECT_TRUE(SamePointSet(VertexPoints(Current()), before));
}

TEST_F(DisplaySelectionTest, GoToVariationIsGreyedForAReflexibleModel)
{
    Open("Rhombicuboctahedron");
    EXPECT_FALSE(Item(kCmdGoToVariation)->IsEnabled());
    EXPECT_EQ(Item(kCmdGoToVariation)->GetItemLabelText(), "Mirror Image/Pseudo Version");
}
}  // namespace

namespace
{
TEST_F(DisplaySelectionTest, SelectByIndexDialogShowsTheRangesOfTheModelAsShown)
{
    Current().ClearSelection();
    {
        SelectByIndexDialog dialog(mFrame, CountIndexedElements(Current()), kIndexFace, false);
        EXPECT_FALSE(dialog.KindButton(kIndexCell)->IsShown());
        EXPECT_EQ(dialog.KindButton(kIndexFace)->GetLabel(), "Select face (1-14)");
        EXPECT_EQ(dialog.KindButton(kIndexEdge)->GetLabel(), "Select edge (1-24)");
        EXPECT_EQ(dialog.KindButton(kIndexVertex)->GetLabel(), "Select vertex (1-12)");
        // No edge is selected: its number reads 0. A typed number stays when the kind changes.
        dialog.ChooseKind(kIndexEdge);
        EXPECT_EQ(dialog.IndexBox()->GetValue(), "0");
        dialog.IndexBox()->SetValue("5");
        dialog.ChooseKind(kIndexVertex);
        EXPECT_EQ(dialog.IndexBox()->GetValue(), "5");
        dialog.IndexBox()->SetValue("0");
        EXPECT_FALSE(dialog.Commit());
        const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
        ASSERT_NE(call, nullptr);
        EXPECT_EQ(call->text, "There is no vertex with index 0");
        dialog.IndexBox()->SetValue("12");
        EXPECT_TRUE(dialog.Commit());
        EXPECT_EQ(dialog.GetIndex(), 12);
        EXPECT_EQ(dialog.GetKind(), kIndexVertex);
    }
    // With the dual shown its faces are the base's twelve vertices.
    Current().SetShowDual(true);
    SelectByIndexDialog dual(mFrame, CountIndexedElements(Current()), kIndexFace, false);
    EXPECT_EQ(dual.KindButton(kIndexFace)->GetLabel(), "Select face (1-12)");
    EXPECT_EQ(dual.KindButton(kIndexVertex)->GetLabel(), "Select vertex (1-14)");
    Current().SetShowDual(false);
}

TEST_F(DisplaySelectionTest, SelectByIndexSelectsTheNumberedElement)
{
    ASSERT_TRUE(SelectElementByIndex(Current(), kIndexFace, 3));
    EXPECT_EQ(FaceVert::GetNumber(Current().GetSelectedFace()), 3);
    EXPECT_TRUE(Current().GetSelectedFace()->IsFace());
    ASSERT_TRUE(SelectElementByIndex(Current(), kIndexEdge, 7));
    ASSERT_NE(Current().GetSelectedEdge(), nullptr);
    EXPECT_EQ(Edge::GetNumber(Current().GetSelectedEdge(), &Current()), 7);
    // The dialog opens on the selected edge's number.
    SelectByIndexDialog dialog(mFrame, CountIndexedElements(Current()), kIndexEdge, false);
    EXPECT_EQ(dialog.IndexBox()->GetValue(), "7");
    ASSERT_TRUE(SelectElementByIndex(Current(), kIndexVertex, 12));
    EXPECT_TRUE(PolyElement::IsVertInView(Current().mSelectedElement, false));
    EXPECT_FALSE(SelectElementByIndex(Current(), kIndexVertex, 13));
}
}  // namespace

namespace
{
TEST_F(DisplaySelectionTest, FacesAroundACoincidentVertexAskFirst)
{
    // Two vertices far apart are made one coincidence ring: the command treats them as one place.
    FaceVert* vert = Current().mVerts.mFirst;
    FaceVert* other = nullptr;
    for (FaceVert* v = vert->mNext; v && !other; v = v->mNext)
    {
        bool sharesFace = false;
        for (int i = 0; i < v->mNumSides; ++i)
            sharesFace = sharesFace || vert->HasNeighbour(v->mNeighbours[i]);
        if (!sharesFace)
            other = v;
    }
    ASSERT_NE(other, nullptr);
    FaceVert* const savedVert = vert->mNextCoplanar;
    FaceVert* const savedOther = other->mNextCoplanar;
    vert->mNextCoplanar = other;
    other->mNextCoplanar = vert;
    Current().SelectElement(vert, true);
    const auto hiddenCount = [this] {
        int n = 0;
        for (bool h : FaceMarks())
            n += h;
        return n;
    };

    mServices.services.PushAnswer(kIdCancel);
    RunCommand(kCmdShowHideAroundVertex);
    const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
    ASSERT_NE(call, nullptr);
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "This vertex (index %d) is coincident with 1 other\n(index %d).\nShow/hide faces around those too?",
                  FaceVert::GetNumber(vert), FaceVert::GetNumber(other));
    EXPECT_EQ(call->text, expected);
    EXPECT_EQ(hiddenCount(), 0);

    mServices.services.PushAnswer(kIdNo);
    RunCommand(kCmdShowHideAroundVertex);
    EXPECT_EQ(hiddenCount(), 4);
    RunCommand(kCmdShowHideAroundVertex);  // the default answer, Yes: both vertices' faces
    EXPECT_EQ(hiddenCount(), 0);  // some of the group were hidden: all are shown
    mServices.services.PushAnswer(kIdYes);
    RunCommand(kCmdShowHideAroundVertex);
    EXPECT_EQ(hiddenCount(), 8);

    vert->mNextCoplanar = savedVert;
    other->mNextCoplanar = savedOther;
}
}  // namespace
