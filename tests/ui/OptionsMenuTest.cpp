// The Options menu given to the main window as the menu gives it: the dual-morph ratio and its
// clamping, the diagnostic numbers with their exclusive groups, and the mouse options.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "kernel/SceneParameters.h"
#include "kernel/SceneThrows.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "library/SceneFile.h"
#include "model/ElementDisplayOptions.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/CommandIds.h"
#include "render/OpenGLView.h"
#include "view/PolyView.h"
#include "view/ViewThrows.h"

#include <cmath>

namespace
{
class OptionsMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mPrevious = SetShell(&mShell);
        mOptions = GetElementDisplayOptions();
        mScene = GetSceneParameters();
        mClamp = gClampMorphing;
        mPivot = gPivotAroundAxis;
        mEdgeData = GetUnitSettings().mNetEdgeData;
        mRecolour = Poly::sRecolourOnSymmetryChange;
        mKeepLayout = KeepLayoutWhenOpening();
        mImplode = GetExplosionImplodeAllowed();
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            GetElementDisplayOptions() = mOptions;
            GetSceneParameters() = mScene;
            gClampMorphing = mClamp;
            gPivotAroundAxis = mPivot;
            GetUnitSettings().mNetEdgeData = mEdgeData;
            Poly::sRecolourOnSymmetryChange = mRecolour;
            KeepLayoutWhenOpening() = mKeepLayout;
            SetExplosionImplodeAllowed(mImplode);
            OpenGLView::ViewsLocked() = false;
        }
        MainFrameFixture::TearDown();
        if (!IsSkipped())
            SetShell(mPrevious);
    }

    bool Checked(int id)
    {
        wxUpdateUIEvent update(id);
        update.SetEventObject(mFrame);
        mFrame->ProcessWindowEvent(update);
        return update.GetSetChecked() && update.GetChecked();
    }

    AppShell mShell;
    Shell* mPrevious = nullptr;
    ScopedScriptedServices mScripted;
    ElementDisplayOptions mOptions;
    SceneParameters mScene;
    bool mClamp = true;
    bool mPivot = false;
    int32_t mEdgeData = 0;
    bool mRecolour = true;
    bool mKeepLayout = false;
    bool mImplode = false;
};
}  // namespace

TEST_F(OptionsMenuTest, TheMorphRatioIsTypedAsAPercentageAndClampedWhileClampingIsOn)
{
    struct Case
    {
        const char* name;
        bool clamp;
        const char* typed;
        bool ok;
        double ratio;
    };
    const Case kCases[] = {
        {"clamped", true, "150", true, 1.0},
        {"not clamped", false, "150", true, 1.5},
        {"below nothing, clamped", true, "-20", true, 0.0},
        {"an expression", true, "100/4", true, 0.25},
        {"cancel keeps it", true, "90", false, 0.5},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        SetMorphRatio(0.5, false);
        gClampMorphing = c.clamp;
        mScripted.services.PushText(c.typed, c.ok);
        RunCommand(kCmdSetMorphRatio);
        EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, c.ratio);
    }
}

TEST_F(OptionsMenuTest, ClampingOnBringsTheRatioBackAtOnce)
{
    gClampMorphing = false;
    SetMorphRatio(-0.2, false);
    RunCommand(kCmdClampMorphing);
    EXPECT_TRUE(gClampMorphing);
    EXPECT_TRUE(Checked(kCmdClampMorphing));
    EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, 0.0);

    RunCommand(kCmdClampMorphing);
    SetMorphRatio(1.7, false);
    RunCommand(kCmdClampMorphing);
    EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, 1.0);
    // Switching it off leaves the ratio where it is.
    RunCommand(kCmdClampMorphing);
    EXPECT_FALSE(gClampMorphing);
    EXPECT_DOUBLE_EQ(GetSceneParameters().morphRatio, 1.0);
}

TEST_F(OptionsMenuTest, DiagnosticGroupsExcludeEachOtherAndTheNumberSetsToggleWhole)
{
    int& mask = GetElementDisplayOptions().mDiagnosticLabelFlags;
    mask = 0;
    EXPECT_TRUE(Checked(kCmdDiagnosticsNone));
    RunCommand(kCmdDiagnosticsCellBelow);
    RunCommand(kCmdDiagnosticsCellAbove);
    EXPECT_FALSE(Checked(kCmdDiagnosticsCellBelow));
    EXPECT_TRUE(Checked(kCmdDiagnosticsCellAbove));
    EXPECT_EQ(mask, kDiagnosticCellAboveNumbers);
    RunCommand(kCmdDiagnosticsCellAbove);
    EXPECT_EQ(mask, 0);
    EXPECT_TRUE(Checked(kCmdDiagnosticsNone));

    RunCommand(kCmdDiagnosticsFaceNumbers);
    RunCommand(kCmdDiagnosticsAllNumbers);
    EXPECT_EQ(mask, kDiagnosticFaceNumbers | kDiagnosticEdgeNumbers | kDiagnosticVertexNumbers);
    EXPECT_TRUE(Checked(kCmdDiagnosticsAllNumbers));
    EXPECT_TRUE(Checked(kCmdDiagnosticsFaceVertexNumbers));
    EXPECT_TRUE(Checked(kCmdDiagnosticsEdgeNumbers));
    RunCommand(kCmdDiagnosticsAllNumbers);
    EXPECT_EQ(mask, 0);

    // Free numbers beside a group member stay when the group changes.
    RunCommand(kCmdDiagnosticsFaceTypeNumbers);
    RunCommand(kCmdDiagnosticsFaceletNumbers);
    RunCommand(kCmdDiagnosticsFaceletTypeNumbers);
    EXPECT_EQ(mask, kDiagnosticFaceTypeNumbers | kDiagnosticFaceletTypeNumbers);
    RunCommand(kCmdDiagnosticsDiagramVertices);
    EXPECT_EQ(mask, kDiagnosticFaceTypeNumbers | kDiagnosticFaceletTypeNumbers | kDiagnosticDiagramVertexNumbers);
}

TEST_F(OptionsMenuTest, EdgeletNumbersReplaceTheNetsEdgeDataAndNoDiagnosticsKeepsTheFaceAngles)
{
    int32_t& data = GetUnitSettings().mNetEdgeData;
    data = kNetEdgeLengths | kNetFaceAngles;
    RunCommand(kCmdDiagnosticsEdgeletNumbers);
    EXPECT_EQ(data, kNetEdgeletNumbers | kNetFaceAngles);
    EXPECT_TRUE(Checked(kCmdDiagnosticsEdgeletNumbers));
    RunCommand(kCmdDiagnosticsEdgeletNumbers);
    EXPECT_EQ(data, kNetFaceAngles);

    RunCommand(kCmdDiagnosticsEdgeletNumbers);
    GetElementDisplayOptions().mDiagnosticLabelFlags = kDiagnosticRegionNumbers | kDiagnosticFaceNumbers;
    RunCommand(kCmdDiagnosticsNone);
    EXPECT_EQ(GetDiagnosticLabelFlags(), 0);
    EXPECT_EQ(data, kNetFaceAngles);
    EXPECT_FALSE(Checked(kCmdDiagnosticsEdgeletNumbers));
}

TEST_F(OptionsMenuTest, TheSwitchesToggleWithTheirMarks)
{
    struct Case
    {
        const char* name;
        int command;
        bool& flag;
    };
    ElementDisplayOptions& o = GetElementDisplayOptions();
    const Case kCases[] = {
        {"coplanar vertex figures", kCmdShowCoplanarVertexFigures, o.mShowCoplanarVertexFigures},
        {"dual face on vertex figures", kCmdShowDualFaceOnVertexFigure, o.mShowDualFaceOnVertexFigure},
        {"recolour sub-symmetries", kCmdRecolorSubSymmetries, Poly::sRecolourOnSymmetryChange},
        {"keep layout", kCmdKeepLayoutOnOpen, KeepLayoutWhenOpening()},
        {"pivot", kCmdPivotAroundSelected, gPivotAroundAxis},
        {"lock", kCmdLockViews, OpenGLView::ViewsLocked()},
    };
    for (const Case& c : kCases)
    {
        SCOPED_TRACE(c.name);
        const bool before = c.flag;
        RunCommand(c.command);
        EXPECT_EQ(c.flag, !before);
        EXPECT_EQ(Checked(c.command), !before);
        RunCommand(c.command);
        EXPECT_EQ(c.flag, before);
    }
    const bool implode = GetExplosionImplodeAllowed();
    RunCommand(kCmdAllowImplodeInertia);
    EXPECT_EQ(GetExplosionImplodeAllowed(), !implode);

    const int labelCommands[] = {kCmdVertexFigureLabelsNone, kCmdVertexFigureLabelsSides,
                                 kCmdVertexFigureLabelsIndices, kCmdVertexFigureLabelsAroundVertex};
    for (int labels = 0; labels < 4; ++labels)
    {
        RunCommand(labelCommands[labels]);
        EXPECT_EQ(o.mVertexFigureLabels, labels);
        for (int other = 0; other < 4; ++other)
            EXPECT_EQ(Checked(labelCommands[other]), other == labels);
    }
}

TEST_F(OptionsMenuTest, PivotingTurnsAboutTheSelectedFace)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
    mDocument->FinishAllTransitions();
    auto* pane = dynamic_cast<CPolyView*>(NewView::GetFirstView());
    ASSERT_NE(pane, nullptr);
    pane->Activate(true);
    Poly* poly = GetCurrentPoly();
    ASSERT_NE(poly, nullptr);
    FaceVert* face = poly->mFaces.mFirst;
    ASSERT_NE(face, nullptr);
    poly->SelectFace(face, false);
    pane->GetPivotThrow().SetAxis(Vec3D{0, 0, 0});
    gPivotAroundAxis = false;
    RunCommand(kCmdPivotAroundSelected);
    EXPECT_TRUE(gPivotAroundAxis);
    Vec3D expected = face->mPoint;
    ASSERT_TRUE(Vec3Normalize(expected));
    const Vec3D& axis = pane->GetPivotThrow().GetAxis();
    EXPECT_NEAR(axis.x, expected.x, 1e-12);
    EXPECT_NEAR(axis.y, expected.y, 1e-12);
    EXPECT_NEAR(axis.z, expected.z, 1e-12);
}
