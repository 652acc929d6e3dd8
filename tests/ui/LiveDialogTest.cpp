// The loop of the option dialogs that stay open while the model moves: a small dialog built on
// it keeps the idle step going, ends by its buttons and close box, and ends when the main window
// closes. Time comes from the frozen program clock, moved by the test at each idle step.

#include "MainFrameFixture.h"

#include "document/AppShell.h"
#include "document/DocumentSettings.h"
#include "document/PolyApp.h"
#include "kernel/MemorySettingsStore.h"
#include "kernel/ProgramClock.h"
#include "kernel/Registry.h"
#include "kernel/ScriptedServices.h"
#include "kernel/TransitionSettings.h"
#include "library/LibraryLookup.h"
#include "model/ModelRecord.h"
#include "model/Poly.h"
#include "platform/GLCanvasWindow.h"
#include "render/OpenGLView.h"
#include "ui/LiveDialog.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include <string>

namespace
{
// The smallest live dialog: OK and Cancel.
class TestLiveDialog : public LiveDialog
{
public:
    explicit TestLiveDialog(wxWindow* parent) : LiveDialog(parent, "Live test")
    {
        auto* sizer = new wxBoxSizer(wxVERTICAL);
        sizer->Add(CreateButtonSizer(wxOK | wxCANCEL), 0, wxALL, 8);
        SetSizerAndFit(sizer);
    }
};

// The occasion of opening a library model.
constexpr int kOccasionLoadBuiltInModel = 3;

class LiveDialogTest : public MainFrameFixture
{
protected:
    void SetUp() override
    {
        MainFrameFixture::SetUp();
        if (IsSkipped())
            return;
        mPrevious = SetShell(&mShell);
        mSettings = GetDocumentSettings();
        mOccasion = GetTransitionOccasions()[kOccasionLoadBuiltInModel];
        mPreviousTime = SetFrozenTime(100.0);
    }
    void TearDown() override
    {
        LiveDialog::SetIdleHook(nullptr);
        if (!IsSkipped())
        {
            SetFrozenTime(mPreviousTime);
            GetDocumentSettings() = mSettings;
            GetTransitionOccasions()[kOccasionLoadBuiltInModel] = mOccasion;
        }
        MainFrameFixture::TearDown();
        if (!IsSkipped())
            SetShell(mPrevious);
    }

    // A two-second transition from the current model to the cube, started at the frozen time.
    void StartTransition()
    {
        GetDocumentSettings().enableTransitions = true;
        GetTransitionOccasions()[kOccasionLoadBuiltInModel].type = TransitionSettings::kTypeOrbit;
        GetTransitionOccasions()[kOccasionLoadBuiltInModel].duration = 2.0;
        ASSERT_TRUE(mDocument->OpenLibraryModel(FindLibraryEntry("Cube", nullptr, false), false, false));
        ASSERT_TRUE(GetCurrentPoly()->InTransition());
    }

    AppShell mShell;
    Shell* mPrevious = nullptr;
    ScopedScriptedServices mScripted;
    DocumentSettings mSettings;
    TransitionSettings mOccasion;
    double mPreviousTime = -1.0;
};
}  // namespace

TEST_F(LiveDialogTest, ATransitionRunsToItsEndAndThePanesPaintWhileTheDialogIsOpen)
{
    StartTransition();
    auto* pane = dynamic_cast<OpenGLView*>(NewView::GetFirstView());
    ASSERT_NE(pane, nullptr);
    int frames = 0;
    pane->GetCanvas()->SetFrameDrawnCallback([&](GLCanvasWindow&) { ++frames; });
    double now = 100.0;
    bool endedWhileOpen = false;
    LiveDialog::SetIdleHook([&](LiveDialog& dialog) {
        EXPECT_EQ(LiveDialog::FirstOpen(), &dialog);
        EXPECT_TRUE(dialog.IsShown());
        if (!GetCurrentPoly()->InTransition())
        {
            endedWhileOpen = true;
            wxCommandEvent ok(wxEVT_BUTTON, wxID_OK);
            ok.SetEventObject(&dialog);
            dialog.ProcessWindowEvent(ok);
            return;
        }
        now += 0.25;
        SetFrozenTime(now);
    });
    auto* dialog = new TestLiveDialog(mFrame);
    EXPECT_EQ(dialog->RunLive(), wxID_OK);
    pane->GetCanvas()->SetFrameDrawnCallback(nullptr);
    EXPECT_TRUE(endedWhileOpen);
    EXPECT_GE(dialog->GetIdleSteps(), 8u) << "two seconds in steps of a quarter";
    EXPECT_GT(frames, 4);
    EXPECT_FALSE(dialog->IsShown());
    EXPECT_EQ(LiveDialog::FirstOpen(), nullptr);
    dialog->Destroy();
}

TEST_F(LiveDialogTest, TheCloseBoxEndsItAsCancel)
{
    LiveDialog::SetIdleHook([](LiveDialog& dialog) {
        if (dialog.GetIdleSteps() == 3)
            dialog.Close();
    });
    auto* dialog = new TestLiveDialog(mFrame);
    EXPECT_EQ(dialog->RunLive(), wxID_CANCEL);
    EXPECT_FALSE(dialog->IsLiveRunning());
    EXPECT_EQ(LiveDialog::FirstOpen(), nullptr);
    dialog->Destroy();
}

TEST_F(LiveDialogTest, ClosingTheMainWindowEndsEveryOpenDialogAndSavesTheSettings)
{
    ScopedMemorySettingsStore store;
    const std::string company = CPolyApp::GetRegistryApp().companyKey;
    CPolyApp::SetRegistryKey("OrvaneSoft");
    StartTransition();
    int inner = -1;
    LiveDialog::SetIdleHook([&](LiveDialog& dialog) {
        if (dialog.GetIdleSteps() != 2)
            return;
        if (LiveDialog::FirstOpen() == &dialog && !dialog.NextOpen())
        {
            // A second dialog, opened from inside the first one's loop.
            auto* second = new TestLiveDialog(mFrame);
            inner = second->RunLive();
            second->Destroy();
            return;
        }
        mFrame->Close();
    });
    auto* dialog = new TestLiveDialog(mFrame);
    const int outer = dialog->RunLive();
    LiveDialog::SetIdleHook(nullptr);
    EXPECT_EQ(inner, wxID_CANCEL);
    EXPECT_EQ(outer, wxID_CANCEL);
    EXPECT_EQ(LiveDialog::FirstOpen(), nullptr);
    mFrame = nullptr;
    Pump();
    EXPECT_EQ(NewView::GetFirstView(), nullptr) << "the main window went";
    SettingValue value;
    EXPECT_TRUE(store.store.ReadValue("Software\\OrvaneSoft\\Orvane\\Settings", "ShowVerts", value));
    CPolyApp::SetRegistryKey(company.c_str());
}
