// The Scale menu from the main window: a measure typed in real units sets the model scale as one
// undo step, the units keep the physical size, and the Stretch dialog and command.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/Edge.h"
#include "model/FaceVert.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/StretchDialog.h"

#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

namespace
{
class ScaleMenuTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        mSavedUnits = GetUnitSettings();
        mSavedChoices = RememberedStretchChoices();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
        ClearUndoList();
        GetUnitSettings().SetScale(1.0, false);
        RememberedStretchChoices() = StretchChoices{};
        mServices.services.Clear();
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSaved;
            GetUnitSettings() = mSavedUnits;
            RememberedStretchChoices() = mSavedChoices;
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    void RunStretch(std::function<void(StretchDialog&)> step)
    {
        DialogDriver driver({[step](wxDialog& top) {
            auto* dialog = dynamic_cast<StretchDialog*>(&top);
            if (!dialog)
                return false;
            step(*dialog);
            return true;
        }});
        RunCommand(kCmdStretch);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(driver.opened.size(), 1u);
    }

    // The radio of the axis class of that fold; null when the dialog hides it.
    static wxRadioButton* AxisRadio(StretchDialog& dialog, int fold)
    {
        const wxString label = wxString::Format("Along %d-fold axis", fold);
        for (int i = 0; i < 3; ++i)
            if (dialog.DirectionRadio(i)->IsShown() && dialog.DirectionRadio(i)->GetLabel() == label)
                return dialog.DirectionRadio(i);
        return nullptr;
    }

    // Stretches the current model by the factor along an axis of the fold, through the menu.
    void StretchAlongAxis(int fold, const char* factor)
    {
        RunStretch([fold, factor](StretchDialog& dialog) {
            wxRadioButton* radio = AxisRadio(dialog, fold);
            ASSERT_NE(radio, nullptr);
            radio->SetValue(true);
            dialog.ModeRadio(0)->SetValue(true);
            dialog.ValueBox()->SetValue(factor);
            DialogDriver::Click(dialog.FindWindow(wxID_OK));
        });
    }

    std::vector<double> EdgeLengths() const
    {
        std::vector<double> lengths;
        for (int i = 0; i < Current().mNumEdges; ++i)
            lengths.push_back(Current().GetEdge(i)->GetLength(false));
        std::sort(lengths.begin(), lengths.end());
        return lengths;
    }

    std::vector<Vec3D> VertexPoints() const
    {
        std::vector<Vec3D> points;
        for (const FaceVert* v = Current().mVerts.mFirst; v; v = v->mNext)
            points.push_back(v->mPoint);
        std::sort(points.begin(), points.end(), [](const Vec3D& a, const Vec3D& b) {
            return std::tie(a.x, a.y, a.z) < std::tie(b.x, b.y, b.z);
        });
        return points;
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    UnitSettings mSavedUnits{true};
    StretchChoices mSavedChoices;
};
}  // namespace

TEST_F(ScaleMenuTest, BaseRadiusSetsTheScaleAsOneUndoStep)
{
    GetUnitSettings().SetScale(2.5, false);
    mServices.services.PushText("10");
    RunCommand(kCmdScaleBaseRadius);
    ASSERT_EQ(mServices.services.promptStarts.size(), 1u);
    EXPECT_EQ(mServices.services.promptStarts[0], "2.5");
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 10.0);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Change of Scale");
    UndoList::Undo();
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 2.5);
    UndoList::Redo();
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 10.0);

    // Cancel changes nothing and records nothing.
    ClearUndoList();
    mServices.services.PushText("3", false);
    RunCommand(kCmdScaleBaseVolume);
    EXPECT_DOUBLE_EQ(GetUnitSettings().GetScale(), 10.0);
    EXPECT_EQ(GetUndoStepCount(), 0);
}

TEST_F(ScaleMenuTest, UnitsKeepThePhysicalSizeAndMarkTheChoice)
{
    wxMenuBar* bar = mFrame->GetMenuBar();
    GetUnitSettings().SetDistanceUnit(kUnitInches);
    GetUnitSettings().SetScale(1.0, false);
    RunCommand(kCmdUnitsMillimetres);
    EXPECT_EQ(GetUnitSettings().GetDistanceUnit(), kUnitMm);
    EXPECT_NEAR(GetUnitSettings().GetScale(), 25.4, 1e-9);
    bar->UpdateMenus();
    EXPECT_TRUE(bar->FindItem(kCmdUnitsMillimetres)->IsChecked());
    EXPECT_FALSE(bar->FindItem(kCmdUnitsInches)->IsChecked());
    RunCommand(kCmdUnitsFeet);
    EXPECT_NEAR(GetUnitSettings().GetScale(), 1.0 / 12.0, 1e-9);

    RunCommand(kCmdAnglesRadians);
    EXPECT_EQ(GetUnitSettings().GetAngleMode(), kAngleRadians);
    bar->UpdateMenus();
    EXPECT_TRUE(bar->FindItem(kCmdAnglesRadians)->IsChecked());
    EXPECT_FALSE(bar->FindItem(kCmdAnglesDegrees)->IsChecked());
    // Neither is a change of the model.
    EXPECT_EQ(GetUndoStepCount(), 0);
}

TEST_F(ScaleMenuTest, MeasuresWaitingForPrintingAndMeasurementAreGreyed)
{
    wxMenuBar* bar = mFrame->GetMenuBar();
    bar->UpdateMenus();
    for (int id : {kCmdFitNetsToPages, kCmdScaleMeasuredDistance})
        EXPECT_FALSE(bar->FindItem(id)->IsEnabled()) << id;
    for (int id : {kCmdScaleBaseRadius, kCmdScaleEdgeLength, kCmdScaleShortestEdge, kCmdScaleBaseInradius, kCmdScaleDualVolume,
                   kCmdScaleStellationRadius, kCmdStretch, kCmdUnitsCentimetres, kCmdAnglesDms})
        EXPECT_TRUE(bar->FindItem(id)->IsEnabled()) << id;
}

TEST_F(ScaleMenuTest, StretchDialogShowsTheModelsChoices)
{
    struct Case
    {
        const char* name;
        const char* model;
        int select;  // 0 nothing, 1 an edge, 2 a vertex
        int rememberedDirection;
        bool segment;
        std::vector<int> folds;  // of the radios shown, in order
        const char* elementLabel;
        int direction;
    };
    const Case cases[] = {
        {"cube", "Cube", 0, 2, false, {4, 3, 2}, "Perpendicular to selected face", 2},
        {"pyramid", "Square Pyramid", 0, 2, true, {4}, "Perpendicular to selected face", 0},
        {"selected edge", "Cube", 1, 3, false, {4, 3, 2}, "Scale along selected edge", 3},
        {"selected vertex", "Cube", 2, 1, false, {4, 3, 2}, "Scale through selected vertex", 1},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry(c.model, nullptr, false)));
        Poly& poly = Current();
        if (c.select == 1)
            poly.SelectElement(poly.GetEdge(0), false);
        else if (c.select == 2)
            poly.SelectFace(poly.mVerts.mFirst, true);
        RememberedStretchChoices().direction = c.rememberedDirection;
        RememberedStretchChoices().mode = 2;
        const StretchSegment segment{{0, 0, 0}, {0, 1, 1}};
        StretchDialog dialog(mFrame, poly, c.segment ? &segment : nullptr);
        EXPECT_EQ(dialog.GetTitle(), "Stretch (Non-Uniform Scale)");
        std::vector<int> shown;
        for (int i = 0; i < 3; ++i)
            if (dialog.DirectionRadio(i)->IsShown())
            {
                int fold = 0;
                ASSERT_EQ(std::sscanf(dialog.DirectionRadio(i)->GetLabel().utf8_str(), "Along %d-fold axis", &fold), 1);
                shown.push_back(fold);
            }
        std::vector<int> wanted = c.folds;
        std::sort(shown.begin(), shown.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(shown, wanted);
        EXPECT_EQ(dialog.DirectionRadio(3)->GetLabel(), c.elementLabel);
        EXPECT_TRUE(dialog.DirectionRadio(c.direction)->GetValue());
        EXPECT_EQ(dialog.ModeRadio(2)->IsEnabled(), c.segment);
        EXPECT_TRUE(dialog.ModeRadio(c.segment ? 2 : 1)->GetValue());
        EXPECT_EQ(dialog.ValueBox()->GetValue(), "1.0");
        EXPECT_FALSE(dialog.RecolorBox()->GetValue());
    }
}

TEST_F(ScaleMenuTest, StretchDialogRemembersOnlyASuccessfulOk)
{
    {
        StretchDialog dialog(mFrame, Current(), nullptr);
        dialog.ValueBox()->SetValue("2*0.5");
        dialog.RecolorBox()->SetValue(true);
        ASSERT_TRUE(dialog.Commit());
        EXPECT_DOUBLE_EQ(dialog.GetResult().factor, 1.0);
    }
    EXPECT_EQ(RememberedStretchChoices().text, "2*0.5");
    EXPECT_TRUE(RememberedStretchChoices().recolor);

    // A refusal keeps the dialog's values to itself; Cancel then leaves the remembered ones.
    StretchDialog dialog(mFrame, Current(), nullptr);
    EXPECT_EQ(dialog.ValueBox()->GetValue(), "2*0.5");
    EXPECT_TRUE(dialog.RecolorBox()->GetValue());
    dialog.ValueBox()->SetValue("2*");
    dialog.RecolorBox()->SetValue(false);
    dialog.DirectionRadio(3)->SetValue(true);
    EXPECT_FALSE(dialog.Commit());
    EXPECT_EQ(mServices.services.LastCall("MessageBox")->text.rfind("Error in equation:", 0), 0u);
    EXPECT_EQ(RememberedStretchChoices().text, "2*0.5");
    EXPECT_TRUE(RememberedStretchChoices().recolor);
    EXPECT_EQ(RememberedStretchChoices().direction, 0);
}

TEST_F(ScaleMenuTest, StretchingTheCubeAlongAFourFoldAxis)
{
    const std::vector<Vec3D> before = VertexPoints();
    StretchAlongAxis(4, "1");
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Non-uniform Scale");
    const std::vector<Vec3D> same = VertexPoints();
    ASSERT_EQ(same.size(), before.size());
    for (size_t i = 0; i < same.size(); ++i)
    {
        EXPECT_NEAR(same[i].x, before[i].x, 1e-9);
        EXPECT_NEAR(same[i].y, before[i].y, 1e-9);
        EXPECT_NEAR(same[i].z, before[i].z, 1e-9);
    }

    StretchAlongAxis(4, "2");
    EXPECT_EQ(GetUndoStepCount(), 2);
    // The model is kept at circumradius 1 again: 8 edges of one length and 4 of twice it.
    const std::vector<double> lengths = EdgeLengths();
    ASSERT_EQ(lengths.size(), 12u);
    for (int i = 0; i < 8; ++i)
        EXPECT_NEAR(lengths[i], lengths[0], 1e-9);
    for (int i = 8; i < 12; ++i)
        EXPECT_NEAR(lengths[i], 2 * lengths[0], 1e-9);
    UndoList::Undo();
    EXPECT_NEAR(EdgeLengths().back(), EdgeLengths().front(), 1e-9);
}

TEST_F(ScaleMenuTest, FlatteningTheModelLeavesItAsItWas)
{
    const std::vector<Vec3D> before = VertexPoints();
    StretchAlongAxis(4, "0");
    // The flat model cannot be built: the user is told, and neither the model nor the undo list
    // changed.
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 1);
    EXPECT_EQ(GetUndoStepCount(), 0);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    const std::vector<Vec3D> after = VertexPoints();
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_TRUE(after[i].x == before[i].x && after[i].y == before[i].y && after[i].z == before[i].z) << i;
}
