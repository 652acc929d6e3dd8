// Poly > Create Waterman Polyhedron: the dialog's checks, and the command making the model that
// Next Polyhedron then steps from, all through the main window.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UnitSettings.h"
#include "library/LibraryEntry.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "operations/WatermanPoly.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "ui/WatermanDialog.h"

#include <wx/radiobut.h>
#include <wx/textctrl.h>

namespace
{
class WatermanDialogTest : public MainFrameFixture
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
    }
    void TearDown() override
    {
        if (!IsSkipped())
        {
            GetDocumentSettings() = mSaved;
            GetUnitSettings().SetScale(mSavedScale, false);
        }
        MainFrameFixture::TearDown();
    }

    Poly& Current() const { return mDocument->GetCurrentRecord()->mPoly; }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
    double mSavedScale = 1.0;
};

TEST_F(WatermanDialogTest, OnlyARootFromOneToTheLargestUnsignedIsTaken)
{
    WatermanDialog dialog(mFrame, 6, 1);
    EXPECT_EQ(dialog.RootBox()->GetValue(), "6");
    EXPECT_TRUE(dialog.CentreButton(1)->GetValue());
    for (const char* text : {"0", "-3", "abc", "2.5", "4294967296", ""})
    {
        SCOPED_TRACE(text);
        mServices.services.Clear();
        dialog.RootBox()->SetValue(text);
        EXPECT_FALSE(dialog.Commit());
        ASSERT_EQ(mServices.services.CountCalls("MessageBox"), 1);
        EXPECT_EQ(mServices.services.LastCall("MessageBox")->text, "Please enter a whole number from 1 to 4294967295.");
    }
    dialog.RootBox()->SetValue(" 4294967295 ");
    dialog.CentreButton(2)->SetValue(true);
    ASSERT_TRUE(dialog.Commit());
    EXPECT_EQ(dialog.GetRoot(), 4294967295ul);
    EXPECT_EQ(dialog.GetCentre(), 2);
}

TEST_F(WatermanDialogTest, TheCommandMakesThePolyhedronThatNextStepsFrom)
{
    DialogDriver driver({[](wxDialog& top) {
        auto* dialog = dynamic_cast<WatermanDialog*>(&top);
        if (!dialog)
            return false;
        dialog->RootBox()->SetValue("3");
        dialog->CentreButton(2)->SetValue(true);
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    RunCommand(kCmdCreateWatermanPolyhedron);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(Current().mBaseName, "Waterman R3, cubic");
    // The lattice points within squared radius 3 are the corners of a cube and what lies inside.
    EXPECT_EQ(Current().mVerts.mCount, 8);
    EXPECT_EQ(Current().mFaces.mCount, 6);
    // The choice is offered again next time.
    EXPECT_EQ(GetWatermanRoot(), 3);
    EXPECT_EQ(GetWatermanCentre(), 2);

    RunCommand(kCmdNextPolyhedron);
    EXPECT_EQ(Current().mBaseName, "Waterman R4, cubic");
    // Squared radius 4 adds the six points two steps along the axes: a rhombic dodecahedron.
    EXPECT_EQ(Current().mVerts.mCount, 14);
    EXPECT_EQ(Current().mFaces.mCount, 12);
}

TEST_F(WatermanDialogTest, CancelChangesNothing)
{
    ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false)));
    DialogDriver driver({[](wxDialog& top) {
        auto* dialog = dynamic_cast<WatermanDialog*>(&top);
        if (!dialog)
            return false;
        dialog->RootBox()->SetValue("5");
        DialogDriver::Click(dialog->FindWindow(wxID_CANCEL));
        return true;
    }});
    RunCommand(kCmdCreateWatermanPolyhedron);
    EXPECT_FALSE(driver.TimedOut());
    ASSERT_NE(Current().mLibraryEntry, nullptr);
    EXPECT_STREQ(Current().mLibraryEntry->mName, "Cube");
}

}  // namespace
