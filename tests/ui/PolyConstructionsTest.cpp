// Poly > Create Torus..., Create X x Y x Z Block... and Zonohedrify from the main window: their
// dialogs' checks, and each result adopted as one undo step.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/UndoList.h"
#include "document/WholeModelUndo.h"
#include "kernel/Progress.h"
#include "kernel/ScriptedServices.h"
#include "kernel/Shell.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryLookup.h"
#include "model/CreatePoly.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "model/SimplePoly.h"
#include "model/SymGroup.h"
#include "platform/CommandIds.h"
#include "platform/CommandTable.h"
#include "platform/DialogDriver.h"
#include "ui/CreateBlockDialog.h"
#include "ui/TorusDialog.h"
#include "support/ModelUndoByCopy.h"
#include "support/RecordingShell.h"
#include "ui/ZonohedrifyDialog.h"

#include <wx/checkbox.h>
#include <wx/menu.h>
#include <wx/radiobut.h>
#include <wx/spinctrl.h>
#include <wx/textctrl.h>

#include <functional>
#include <string>

namespace
{
class PolyConstructionsTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        mSavedScale = GetUnitSettings().GetScale();
        GetDocumentSettings().enableTransitions = false;
        InstallModelUndoByCopy();
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
        ClearUndoList();
        mServices.services.Clear();
    }
    void TearDown() override
    {
        ClearUndoList();
        WholeModelUndo::SetModelFunctions(nullptr, nullptr);
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSaved;
            GetUnitSettings().SetScale(mSavedScale, false);
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    // Runs the command with one step against its dialog, which the step ends.
    template <class Dialog>
    void RunWithDialog(int command, std::function<void(Dialog&)> step)
    {
        DialogDriver driver({[step](wxDialog& top) {
            auto* dialog = dynamic_cast<Dialog*>(&top);
            if (!dialog)
                return false;
            step(*dialog);
            return true;
        }});
        RunCommand(command);
        EXPECT_FALSE(driver.TimedOut());
        EXPECT_EQ(driver.opened.size(), 1u);
    }

    // A tick as the user's click gives it: the value, then the event.
    static void Tick(wxCheckBox* box)
    {
        box->SetValue(true);
        wxCommandEvent event(wxEVT_CHECKBOX, box->GetId());
        event.SetEventObject(box);
        event.SetInt(1);
        box->ProcessWindowEvent(event);
    }

    std::string LastMessage() const
    {
        const ScriptedServices::Call* call = mServices.services.LastCall("MessageBox");
        return call ? call->text : std::string();
    }

    AppShell mShell;
    ScopedShell mShellScope{&mShell};
    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    double mSavedScale = 1.0;
};

TEST_F(PolyConstructionsTest, BlockDimensionsFollowXWhileLinkedAndMustBePositive)
{
    CreateBlockDialog dialog(mFrame);
    EXPECT_EQ(dialog.GetTitle(), "Create Block");
    ASSERT_TRUE(dialog.LinkBox()->GetValue());
    for (int axis = 0; axis < 3; ++axis)
        EXPECT_EQ(dialog.DimensionBox(axis)->GetValue(), "3");
    EXPECT_FALSE(dialog.DimensionBox(1)->IsEnabled());
    EXPECT_FALSE(dialog.DimensionBox(2)->IsEnabled());

    dialog.DimensionBox(0)->SetValue("5");
    EXPECT_EQ(dialog.DimensionBox(1)->GetValue(), "5");
    EXPECT_EQ(dialog.DimensionBox(2)->GetValue(), "5");

    dialog.LinkBox()->SetValue(false);
    wxCommandEvent untick(wxEVT_CHECKBOX, dialog.LinkBox()->GetId());
    untick.SetEventObject(dialog.LinkBox());
    dialog.LinkBox()->ProcessWindowEvent(untick);
    EXPECT_TRUE(dialog.DimensionBox(1)->IsEnabled());
    EXPECT_TRUE(dialog.DimensionBox(2)->IsEnabled());
    EXPECT_EQ(dialog.DimensionBox(1)->GetValue(), "5");
    dialog.DimensionBox(0)->SetValue("7");
    EXPECT_EQ(dialog.DimensionBox(1)->GetValue(), "5");

    for (const char* bad : {"0", "-2", "", "x"})
    {
        SCOPED_TRACE(bad);
        mServices.services.Clear();
        dialog.DimensionBox(2)->SetValue(bad);
        EXPECT_FALSE(dialog.Commit());
        EXPECT_EQ(LastMessage(), "Dimensions must all be greater than zero");
    }
    dialog.DimensionBox(2)->SetValue("2");
    ASSERT_TRUE(dialog.Commit());
    EXPECT_EQ(CreateBlockDialog::GetDimension(0), 7);
    EXPECT_EQ(CreateBlockDialog::GetDimension(1), 5);
    EXPECT_EQ(CreateBlockDialog::GetDimension(2), 2);
    EXPECT_FALSE(CreateBlockDialog::GetLinked());
}

TEST_F(PolyConstructionsTest, TheBlockCommandMakesTheBlockAsOneUndoStep)
{
    mFrame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdCreateBlock)->IsEnabled());
    RunWithDialog<CreateBlockDialog>(kCmdCreateBlock, [](CreateBlockDialog& dialog) {
        dialog.LinkBox()->SetValue(false);
        dialog.DimensionBox(0)->SetValue("2");
        dialog.DimensionBox(1)->SetValue("1");
        dialog.DimensionBox(2)->SetValue("1");
        DialogDriver::Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    // 2 x 1 x 1 cubes: 10 squares and 12 corners.
    EXPECT_EQ(Current().mFaces.mCount, 10);
    EXPECT_EQ(Current().mVerts.mCount, 12);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Create Block");
    UndoList::Undo();
    EXPECT_EQ(Current().mFaces.mCount, 6);
}

TEST_F(PolyConstructionsTest, TorusDialogKeepsItselfOpenUntilTheTorusCanBeMade)
{
    TorusDialog dialog(mFrame);
    EXPECT_EQ(dialog.GetTitle(), "Create a torus");
    EXPECT_EQ(dialog.SegmentsBox()->GetValue(), "24");
    EXPECT_EQ(dialog.ArmSegmentsBox()->GetValue(), "12");
    EXPECT_EQ(dialog.RadiusBox()->GetValue(), "0.5");
    struct Case
    {
        const char* segments;
        const char* armSegments;
        const char* radius;
        const char* message;
    };
    const Case refused[] = {
        {"2", "12", "0.5", "Torus must have at least 3 segments"},
        {"abc", "12", "0.5", "Torus must have at least 3 segments"},
        {"3", "2", "0.5", "Torus arm must have at least 3 segments"},
        {"3", "3", "0", "Torus arm must not have zero radius"},
        {"3", "3", "1/2 - 0.5", "Torus arm must not have zero radius"},
        {"3", "3", "0.5 +", nullptr},  // the expression's own error
    };
    for (const Case& c : refused)
    {
        SCOPED_TRACE(std::string(c.segments) + " " + c.armSegments + " " + c.radius);
        mServices.services.Clear();
        dialog.SegmentsBox()->SetValue(c.segments);
        dialog.ArmSegmentsBox()->SetValue(c.armSegments);
        dialog.RadiusBox()->SetValue(c.radius);
        EXPECT_FALSE(dialog.Commit());
        if (c.message)
            EXPECT_EQ(LastMessage(), c.message);
        else
            EXPECT_EQ(LastMessage().rfind("Error in equation:", 0), 0u) << LastMessage();
    }
    dialog.SegmentsBox()->SetValue("3");
    dialog.ArmSegmentsBox()->SetValue("3");
    dialog.RadiusBox()->SetValue("0.5");
    EXPECT_TRUE(dialog.Commit());
    EXPECT_EQ(TorusDialog::GetSegments(), 3);
    EXPECT_EQ(TorusDialog::GetArmSegments(), 3);
    EXPECT_EQ(TorusDialog::GetRadiusText(), "0.5");
}

TEST_F(PolyConstructionsTest, TheTorusCommandMakesTheTorus)
{
    RunWithDialog<TorusDialog>(kCmdCreateTorus, [](TorusDialog& dialog) {
        dialog.SegmentsBox()->SetValue("8");
        dialog.ArmSegmentsBox()->SetValue("6");
        dialog.RadiusBox()->SetValue("1/4");
        DialogDriver::Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 48);
    EXPECT_EQ(Current().mVerts.mCount, 48);
    EXPECT_EQ(UndoMenuText(false), "&Undo Create New Model");
}

TEST_F(PolyConstructionsTest, ZonohedrifyDialogShowsTheModelsAxisClassesAndOneChoicePerRow)
{
    // The cube's octahedral group: three classes, 4-fold first.
    {
        ZonohedrifyDialog dialog(mFrame, Current().GetSymGroup(), false);
        EXPECT_EQ(dialog.GetTitle(), "Zonohedrify");
        int shown = 0;
        for (int set = 0; set < 3; ++set)
            shown += dialog.AxisBox(set) != nullptr;
        EXPECT_EQ(shown, 3);
        EXPECT_EQ(dialog.AxisBox(0)->GetLabel(), "4-fold symmetry axis (3 zones)");
        EXPECT_TRUE(dialog.ModeButton(0)->GetValue());
        EXPECT_FALSE(dialog.EdgeScaleBox()->IsEnabled());
        EXPECT_TRUE(dialog.GridBox(0, 0)->GetValue());

        Tick(dialog.GridBox(1, 0));
        Tick(dialog.GridBox(1, 2));
        EXPECT_FALSE(dialog.GridBox(1, 0)->GetValue());
        EXPECT_FALSE(dialog.GridBox(1, 1)->GetValue());
        EXPECT_TRUE(dialog.GridBox(1, 2)->GetValue());
        // Other rows keep their own.
        EXPECT_TRUE(dialog.GridBox(0, 0)->GetValue());

        dialog.EdgeScaleBox()->SetValue("2 *");
        mServices.services.Clear();
        EXPECT_FALSE(dialog.Commit());
        EXPECT_EQ(LastMessage().rfind("Error in equation:", 0), 0u) << LastMessage();
    }

    // A pentagonal pyramid (C5v): two classes, the 5-fold axis's two ends, and only the first box
    // shows.
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Pentagonal Pyramid", nullptr, false)));
    const SymGroup* group = Current().GetSymGroup();
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(group->mNumAxisSets, 2);
    ZonohedrifyDialog dialog(mFrame, group, false);
    ASSERT_NE(dialog.AxisBox(0), nullptr);
    EXPECT_EQ(dialog.AxisBox(0)->GetLabel(), "5-fold symmetry axis (1 zones)");
    EXPECT_EQ(dialog.AxisBox(1), nullptr);
    EXPECT_EQ(dialog.AxisBox(2), nullptr);
}

TEST_F(PolyConstructionsTest, TheZonohedrifyCommandMakesTheRhombicDodecahedronOfTheCube)
{
    mFrame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdZonohedrify)->IsEnabled());
    RunWithDialog<ZonohedrifyDialog>(kCmdZonohedrify, [](ZonohedrifyDialog& dialog) {
        dialog.ModeButton(0)->SetValue(true);
        for (int row = 0; row < 3; ++row)
            for (int column = 0; column < 3; ++column)
                dialog.GridBox(row, column)->SetValue(row == 0 && column == 0);
        DialogDriver::Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(mServices.services.CountCalls("MessageBox"), 0);
    EXPECT_EQ(Current().mFaces.mCount, 12);
    EXPECT_EQ(Current().mVerts.mCount, 14);
    EXPECT_STREQ(SymGroup::GetSchoenflies(Current().GetSymGroup()), "Oh");
    EXPECT_EQ(UndoMenuText(false), "&Undo Zonohedrify");

    // Zones that span no solid: refused, the cube kept and no undo step added.
    UndoList::Undo();
    ClearUndoList();
    RunWithDialog<ZonohedrifyDialog>(kCmdZonohedrify, [](ZonohedrifyDialog& dialog) {
        dialog.MaxZonesBox()->SetValue(2);
        DialogDriver::Click(dialog.FindWindow(wxID_OK));
    });
    EXPECT_EQ(LastMessage(), "The zone vectors all lie in one plane, so they make no zonohedron.");
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(GetUndoStepCount(), 0);
}

// Subdivide Faces... keeps the colours and adds no transition; Create Geodesic Sphere... makes a
// new model. Each offers the number given last.
TEST_F(PolyConstructionsTest, SubdivisionCommandsAskForTheirFrequency)
{
    mFrame->GetMenuBar()->UpdateMenus();
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdCreateGeodesicSphere)->IsEnabled());
    EXPECT_TRUE(mFrame->GetMenuBar()->FindItem(kCmdSubdivideFaces)->IsEnabled());
    mServices.services.PushAnswer(3);
    RunCommand(kCmdSubdivideFaces);
    ASSERT_EQ(mServices.services.CountCalls("Integer"), 1);
    EXPECT_EQ(mServices.services.LastCall("Integer")->text, "Enter number of edge subdivisions");
    EXPECT_EQ(mServices.services.promptStarts.back(), "2");
    // Six squares, each fanned into four triangles of nine: 216 triangles, 8 + 12 x 2 + 6 x 13 points.
    EXPECT_EQ(Current().mFaces.mCount, 216);
    EXPECT_EQ(Current().mVerts.mCount, 110);
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(UndoMenuText(false), "&Undo Subdivide Faces");

    // 0 is refused by the construction, and nothing is recorded.
    mServices.services.PushAnswer(0);
    RunCommand(kCmdCreateGeodesicSphere);
    EXPECT_EQ(mServices.services.LastCall("Integer")->text, "Enter frequency of geodesic sphere");
    EXPECT_EQ(LastMessage(), "Number of subdivisions must be at least 1.");
    EXPECT_EQ(GetUndoStepCount(), 1);
    EXPECT_EQ(Current().mFaces.mCount, 216);

    UndoList::Undo();
    ClearUndoList();
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Icosahedron", nullptr, false)));
    ClearUndoList();
    mServices.services.PushAnswer(4);
    RunCommand(kCmdCreateGeodesicSphere);
    EXPECT_EQ(mServices.services.promptStarts.back(), "0");
    EXPECT_EQ(Current().mFaces.mCount, 320);
    EXPECT_EQ(Current().mVerts.mCount, 162);
    EXPECT_STREQ(SymGroup::GetSchoenflies(Current().GetSymGroup()), "Ih");
    EXPECT_EQ(UndoMenuText(false), "&Undo Geodesic Sphere");

    // The number given last is offered again; Cancel changes nothing.
    mServices.services.cancelUnanswered = true;
    RunCommand(kCmdCreateGeodesicSphere);
    EXPECT_EQ(mServices.services.promptStarts.back(), "4");
    EXPECT_EQ(Current().mFaces.mCount, 320);
    EXPECT_EQ(GetUndoStepCount(), 1);
}

// A cancelled subdivision leaves the model and the undo list as they were.
TEST_F(PolyConstructionsTest, ACancelledSubdivisionAddsNoUndoStep)
{
    static int64_t now = 0;
    const ProgressClock previous = SetProgressClock([] { return now += 2000; });
    mServices.services.cancelAtPump = 2;
    mServices.services.PushAnswer(30);
    RunCommand(kCmdSubdivideFaces);
    SetProgressClock(previous);
    EXPECT_GE(mServices.services.progressOpened, 1);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    EXPECT_EQ(GetUndoStepCount(), 0);
    EXPECT_FALSE(CanUndo());
}
}  // namespace
