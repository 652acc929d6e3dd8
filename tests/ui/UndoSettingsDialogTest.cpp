// The Undo Settings dialog: what it shows, what OK stores and trims, and the history deletion.

#include "MainFrameFixture.h"

#include "document/DocumentSettings.h"
#include "document/UndoItem.h"
#include "document/UndoList.h"
#include "kernel/Messages.h"
#include "kernel/ScriptedServices.h"
#include "kernel/UndoKinds.h"
#include "platform/CommandIds.h"
#include "platform/DialogDriver.h"
#include "ui/UndoSettingsDialog.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/textctrl.h>

namespace
{
TEST(UndoSettingsDialog, MegabytesAreShownWithFewerDecimalsAsTheyGrow)
{
    struct Case
    {
        double bytes;
        const char* text;
    };
    const double mb = 1048576.0;
    const Case cases[] = {
        {0, "0"}, {524288, "0.5"}, {0.0014 * mb, "0.001"}, {1.5 * mb, "1.5"},
        {5.26 * mb, "5.3"}, {9.99 * mb, "10"}, {12.6 * mb, "13"}, {32 * mb, "32"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FormatUndoMegabytes(c.bytes), c.text) << c.bytes << " bytes";
}

class UndoSettingsDialogTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mSaved = GetDocumentSettings();
        ClearUndoList();
        SetUndoItemMaker([](int kind) { return new UndoItem(kind); });
    }
    void TearDown() override
    {
        ClearUndoList();
        SetUndoItemMaker(nullptr);
        if (!IsSkipped())
            GetDocumentSettings() = mSaved;
        MainFrameFixture::TearDown();
    }

    static void Steps(int n)
    {
        for (int i = 0; i < n; ++i)
            AddUndo(kUndoImageOptions, false);
    }

    ScopedScriptedServices mServices;
    DocumentSettings mSaved;
};

TEST_F(UndoSettingsDialogTest, ItShowsTheLimitsAndTheMemoryInUse)
{
    DocumentSettings& s = GetDocumentSettings();
    s = DocumentSettings();
    {
        UndoSettingsDialog dialog(mFrame);
        EXPECT_TRUE(dialog.EnableBox()->GetValue());
        EXPECT_EQ(dialog.MaxSizeBox()->GetValue(), "32");
        EXPECT_EQ(dialog.MinLevelsBox()->GetValue(), "2");
        EXPECT_EQ(dialog.MaxLevelsBox()->GetValue(), "1000");
        EXPECT_EQ(dialog.UsageBox()->GetValue(), "0");
        EXPECT_FALSE(dialog.DeleteButton()->IsEnabled()) << "nothing to delete";
    }
    Steps(3);
    UndoSettingsDialog dialog(mFrame);
    EXPECT_TRUE(dialog.DeleteButton()->IsEnabled());
    EXPECT_EQ(dialog.UsageBox()->GetValue(), FormatUndoMegabytes(GetUndoSize()));
    // Unticking greys the limits at once.
    dialog.EnableBox()->SetValue(false);
    wxCommandEvent tick(wxEVT_CHECKBOX, dialog.EnableBox()->GetId());
    tick.SetEventObject(dialog.EnableBox());
    dialog.EnableBox()->ProcessWindowEvent(tick);
    EXPECT_FALSE(dialog.MaxLevelsBox()->IsEnabled());
    EXPECT_FALSE(dialog.DeleteButton()->IsEnabled());
}

TEST_F(UndoSettingsDialogTest, OkStoresTheLimitsAndTrimsAtOnce)
{
    struct Case
    {
        const char* name;
        bool enabled;
        const char* maxLevels;
        int stepsLeft;
    };
    const Case cases[] = {
        {"fewer levels remove the oldest steps", true, "3", 3},
        {"undo switched off empties the list", false, "1000", 0},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.name);
        GetDocumentSettings() = DocumentSettings();
        ClearUndoList();
        Steps(5);
        UndoSettingsDialog dialog(mFrame);
        dialog.EnableBox()->SetValue(c.enabled);
        dialog.MaxLevelsBox()->SetValue(c.maxLevels);
        dialog.MaxSizeBox()->SetValue("1.5");
        ASSERT_TRUE(dialog.Commit());
        EXPECT_EQ(GetDocumentSettings().undoEnabled, c.enabled);
        EXPECT_EQ(GetUndoStepCount(), c.stepsLeft);
        if (c.enabled)
        {
            EXPECT_EQ(GetDocumentSettings().maxUndoSize, 1572864);
            EXPECT_EQ(GetDocumentSettings().maxNumUndos, 3);
        }
    }
}

TEST_F(UndoSettingsDialogTest, ABoxWithoutAValidNumberKeepsTheDialogAndTheSettings)
{
    const char* const bad[][3] = {
        {"lots", "2", "1000"}, {"-1", "2", "1000"}, {"5000", "2", "1000"}, {"32", "two", "1000"}, {"32", "2", "2.5"},
    };
    for (const auto& boxes : bad)
    {
        SCOPED_TRACE(std::string(boxes[0]) + " / " + boxes[1] + " / " + boxes[2]);
        GetDocumentSettings() = DocumentSettings();
        UndoSettingsDialog dialog(mFrame);
        dialog.MaxSizeBox()->SetValue(boxes[0]);
        dialog.MinLevelsBox()->SetValue(boxes[1]);
        dialog.MaxLevelsBox()->SetValue(boxes[2]);
        const int errorsBefore = mServices.services.CountCalls("MessageBox");
        EXPECT_FALSE(dialog.Commit());
        EXPECT_EQ(mServices.services.CountCalls("MessageBox"), errorsBefore + 1);
        EXPECT_EQ(GetDocumentSettings().maxUndoSize, 33554432);
        EXPECT_EQ(GetDocumentSettings().maxNumUndos, 1000);
    }
}

TEST_F(UndoSettingsDialogTest, DeletingTheHistoryAsksFirst)
{
    for (int answer : {kIdNo, kIdYes})
    {
        SCOPED_TRACE(answer == kIdYes ? "yes" : "no");
        Steps(2);
        UndoSettingsDialog dialog(mFrame);
        const wxString usageBefore = dialog.UsageBox()->GetValue();
        mServices.services.PushAnswer(answer);
        wxCommandEvent click(wxEVT_BUTTON, dialog.DeleteButton()->GetId());
        click.SetEventObject(dialog.DeleteButton());
        dialog.DeleteButton()->ProcessWindowEvent(click);
        EXPECT_EQ(mServices.services.LastCall("MessageBox")->text,
                  "Are you sure you want to delete the undo history?\nYou won't be able to undo any changes thus far.");
        EXPECT_EQ(IsUndoListEmpty(), answer == kIdYes);
        EXPECT_EQ(dialog.DeleteButton()->IsEnabled(), answer != kIdYes);
        EXPECT_EQ(dialog.UsageBox()->GetValue(), answer == kIdYes ? wxString("0") : usageBefore);
    }
}

TEST_F(UndoSettingsDialogTest, TheEditCommandOpensItModally)
{
    Steps(4);
    DialogDriver driver({[](wxDialog& top) {
        auto* dialog = dynamic_cast<UndoSettingsDialog*>(&top);
        if (!dialog)
            return false;
        dialog->MaxLevelsBox()->SetValue("1");
        DialogDriver::Click(dialog->FindWindow(wxID_OK));
        return true;
    }});
    RunCommand(kCmdUndoSettings);
    EXPECT_FALSE(driver.TimedOut());
    EXPECT_EQ(driver.StepsDone(), 1u);
    EXPECT_EQ(GetDocumentSettings().maxNumUndos, 1);
    EXPECT_EQ(GetUndoStepCount(), 1);
}
}  // namespace
