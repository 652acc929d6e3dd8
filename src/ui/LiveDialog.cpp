#include "ui/LiveDialog.h"

#include "document/PolyApp.h"
#include "platform/DialogUtils.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include <utility>

namespace
{
LiveDialog::IdleHook gIdleHook;

// How long the loop sleeps for events while nothing moves.
constexpr int kIdleWaitMs = 50;
constexpr int kEventsPerStep = 64;
}  // namespace

LiveDialog* LiveDialog::sFirstOpen = nullptr;

LiveDialog::LiveDialog(wxWindow* parent, const wxString& title)
    : wxDialog(parent, wxID_ANY, title, wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE)
{
    // A modeless dialog would only hide on these; here they end the loop.
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
        if (Validate() && TransferDataFromWindow())
            EndLive(wxID_OK);
    }, wxID_OK);
    Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { EndLive(wxID_CANCEL); }, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { EndLive(wxID_CANCEL); });
}

LiveDialog::~LiveDialog()
{
    mRunning = false;
    Unlink();
}

void LiveDialog::SetIdleHook(IdleHook hook)
{
    gIdleHook = std::move(hook);
}

void LiveDialog::Unlink()
{
    for (LiveDialog** link = &sFirstOpen; *link; link = &(*link)->mNextOpen)
        if (*link == this)
        {
            *link = mNextOpen;
            break;
        }
    mNextOpen = nullptr;
}

int LiveDialog::RunLive()
{
    if (mRunning)
        return wxID_CANCEL;
    if (!mPlaced)
    {
        mPlaced = true;
        PlaceInCorner(this);
    }
    SetReturnCode(wxID_CANCEL);
    mNextOpen = sFirstOpen;
    sFirstOpen = this;
    mRunning = true;
    mIdleSteps = 0;
    Show();
    Raise();

    wxGUIEventLoop loop;
    wxEventLoopActivator active(&loop);
    while (mRunning)
    {
        // The window system may never run dry (redraws, timers): a bounded batch of its events,
        // then an idle step, so that the model keeps moving whatever arrives.
        for (int n = 0; n < kEventsPerStep && mRunning && loop.Pending(); ++n)
            loop.Dispatch();
        if (!mRunning)
            break;
        // The idle events of the toolkit do not step while a command runs: this loop is the
        // command's own, so it steps here.
        const bool more = CPolyApp::IdleStep(-1.0);
        ++mIdleSteps;
        if (gIdleHook)
            gIdleHook(*this);
        if (!mRunning)
            break;
        if (wxTheApp)
            wxTheApp->ProcessIdle();
        if (mRunning && !more && !loop.Pending())
            loop.DispatchTimeout(kIdleWaitMs);
    }
    Unlink();
    if (IsShown())
        Hide();
    return GetReturnCode();
}

void LiveDialog::EndLive(int result)
{
    if (!mRunning)
        return;
    mRunning = false;
    SetReturnCode(result);
    Unlink();
    Hide();
}

void LiveDialog::EndAll(int result)
{
    while (LiveDialog* dialog = sFirstOpen)
    {
        if (dialog->mRunning)
            dialog->EndLive(result);
        else
            dialog->Unlink();
    }
}
