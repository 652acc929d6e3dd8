// The program's own dialogs, raised for real under the test display and answered from the test.

#include "kernel/Messages.h"
#include "kernel/Progress.h"
#include "platform/WxUserServices.h"
#include "support/WxTestApp.h"

#include <gtest/gtest.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/timer.h>
#include <wx/toplevel.h>
#include <wx/uiaction.h>

#include <gtk/gtk.h>

#include <string>

namespace
{
class WxUserServicesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!WxTestAppRunning())
            GTEST_SKIP() << "needs a display (the GUI tests run under Xvfb)";
        mServices = std::make_unique<WxUserServices>();
        mPrevious = SetServices(mServices.get());
    }
    void TearDown() override
    {
        if (!mServices)
            return;
        SetServices(mPrevious);
        mServices.reset();
    }

    std::unique_ptr<WxUserServices> mServices;
    UserServices* mPrevious = nullptr;
};

// Sees every modal dialog as it starts.
class DialogSpy : public wxModalDialogHook
{
public:
    explicit DialogSpy(bool refuse = false) : mRefuse(refuse) {}
    wxDialog* dialog = nullptr;
    std::string caption;
    std::string message;
    int seen = 0;

protected:
    int Enter(wxDialog* d) override
    {
        ++seen;
        if (mRefuse)
            return wxID_OK;  // answered without showing: nothing may wait on it
        dialog = d;
        if (auto* box = dynamic_cast<wxMessageDialogBase*>(d))
        {
            caption = box->GetCaption().utf8_string();
            message = box->GetMessage().utf8_string();
        }
        return wxID_NONE;  // show it
    }
    void Exit(wxDialog*) override { dialog = nullptr; }

private:
    bool mRefuse;
};

// Once the box is on the screen, notes its title and presses its default button.
class BoxCloser : public wxTimer
{
public:
    explicit BoxCloser(DialogSpy& spy) : mSpy(spy) {}
    bool mapped = false;
    std::string title;
    int ticks = 0;

    void Notify() override
    {
        ++ticks;
        GtkWidget* widget = mSpy.dialog ? mSpy.dialog->GetHandle() : nullptr;
        if (widget && GTK_IS_DIALOG(widget) && gtk_widget_get_mapped(widget))
        {
            mapped = true;
            title = gtk_window_get_title(GTK_WINDOW(widget));
            gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);
            Stop();
        }
        else if (ticks > 2000 && widget && GTK_IS_DIALOG(widget))
        {
            gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_OK);  // never hang the run
            Stop();
        }
    }

private:
    DialogSpy& mSpy;
};

// Once our own dialog is on the screen, unticks its check box and presses OK.
class UntickAndClose : public wxTimer
{
public:
    explicit UntickAndClose(DialogSpy& spy) : mSpy(spy) {}
    bool shown = false;
    std::string boxLabel;
    int ticks = 0;

    void Notify() override
    {
        wxDialog* dialog = mSpy.dialog;
        if (!dialog)
            return;
        if (dialog->IsShownOnScreen() || ++ticks > 2000)
        {
            shown = dialog->IsShownOnScreen();
            for (wxWindow* child : dialog->GetChildren())
                if (auto* box = dynamic_cast<wxCheckBox*>(child))
                {
                    boxLabel = box->GetLabel().utf8_string();
                    box->SetValue(false);
                }
            dialog->EndModal(wxID_OK);
            Stop();
        }
    }

private:
    DialogSpy& mSpy;
};

int64_t gNowMs = 0;
// Each reading of the clock moves it on: an operation that takes a quarter second per step.
int64_t SteppingClock()
{
    return gNowMs += 250;
}

wxTopLevelWindow* FindProgressWindow()
{
    for (wxWindow* w : wxTopLevelWindows)
        if (auto* tlw = dynamic_cast<wxTopLevelWindow*>(w); tlw && tlw->GetTitle() == "Processing..." &&
                                                           !tlw->IsBeingDeleted())
            return tlw;
    return nullptr;
}
}  // namespace

TEST_F(WxUserServicesTest, AnErrorBoxAppearsWithItsCaption)
{
    DialogSpy spy;
    spy.Register();
    BoxCloser closer(spy);
    closer.Start(5);
    const int button = ErrorMessage("Couldn't open %s", "cube.orva");
    closer.Stop();
    spy.Unregister();

    EXPECT_EQ(button, kIdOk);
    EXPECT_TRUE(closer.mapped) << "the box never showed";
    EXPECT_EQ(closer.title, "Error");
    EXPECT_EQ(spy.caption, "Error");
    EXPECT_EQ(spy.message, "Couldn't open cube.orva");
}

TEST_F(WxUserServicesTest, AQuestionBoxAnswersWithTheButtonPressed)
{
    DialogSpy spy;
    spy.Register();
    BoxCloser closer(spy);
    closer.Start(5);
    const bool ok = AskOkCancel("Replace %s?", "cube.orva");
    closer.Stop();
    spy.Unregister();
    EXPECT_TRUE(closer.mapped);
    EXPECT_EQ(closer.title, "Question");
    EXPECT_TRUE(ok);  // OK was pressed
}

TEST_F(WxUserServicesTest, AnOptionalMessageCanBeSilencedForGood)
{
    const uint32_t runMask = OptionalMessageRunMask();
    const uint32_t stored = ShowMessagesSetting();
    OptionalMessageRunMask() = ShowMessagesSetting() = 0xFFFFFFFFu;
    DialogSpy spy;
    spy.Register();
    UntickAndClose closer(spy);
    closer.Start(5);
    ShowOptionalMessage(kOptionalMsgLowColorDepth, kOptExclamationIcon | kOptOncePerRun,
                        "WARNING: Your display is set to use only %d-bit color.", 16);
    closer.Stop();
    spy.Unregister();
    EXPECT_TRUE(closer.shown);
    EXPECT_EQ(closer.boxLabel, "Show this message again next session");
    EXPECT_FALSE(ShowMessagesSetting() & kOptionalMsgLowColorDepth);
    EXPECT_FALSE(OptionalMessageRunMask() & kOptionalMsgLowColorDepth);
    OptionalMessageRunMask() = runMask;
    ShowMessagesSetting() = stored;
}

TEST_F(WxUserServicesTest, TheProgressWindowAppearsAndCancels)
{
    gNowMs = 0;
    DialogSpy noBoxes(true);
    noBoxes.Register();
    const ProgressClock previousClock = SetProgressClock(SteppingClock);
    wxUIActionSimulator sim;
    bool cancelled = false;
    bool sawWindow = false;
    bool clicked = false;
    BeginProgress();
    for (int step = 0; step < 5000 && !cancelled; ++step)
    {
        if (!ShowProgress(step / 5000.0, "Step %d", step))
        {
            cancelled = true;
            break;
        }
        wxTopLevelWindow* window = FindProgressWindow();
        if (!window || !window->IsShownOnScreen())
            continue;
        sawWindow = true;
        if (!clicked)
        {
            auto* cancel = dynamic_cast<wxButton*>(window->FindWindow(wxID_CANCEL));
            ASSERT_NE(cancel, nullptr);
            // Wait for the button to be on the screen, then click it as the user would.
            GtkWidget* widget = cancel->GetHandle();
            if (!gtk_widget_get_mapped(widget))
                continue;
            const wxRect r = cancel->GetScreenRect();
            sim.MouseMove(r.x + r.width / 2, r.y + r.height / 2);
            sim.MouseClick();
            clicked = true;
        }
        wxMilliSleep(1);  // the operation's work
    }
    const bool levelClosedByCancel = !InProgress();
    EndProgress();  // the operation's own end after a cancel
    SetProgressClock(previousClock);
    noBoxes.Unregister();
    EXPECT_EQ(noBoxes.seen, 0) << "a message box came up during the operation";

    EXPECT_TRUE(sawWindow) << "the progress window never appeared";
    EXPECT_TRUE(clicked);
    EXPECT_TRUE(cancelled) << "the click on Cancel never reached the operation";
    EXPECT_TRUE(levelClosedByCancel);
    EXPECT_FALSE(InProgress());
    PumpEventsUntil([] { return FindProgressWindow() == nullptr; }, 200);
    EXPECT_EQ(FindProgressWindow(), nullptr) << "the window outlived the operation";
}
