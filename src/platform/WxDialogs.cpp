#include "platform/WxDialogs.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/gauge.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/toplevel.h>

namespace
{
// The main window's icon; none until the program has its pictures.
wxIcon ProgramIcon()
{
    const auto* main = wxTheApp ? dynamic_cast<const wxTopLevelWindow*>(wxTheApp->GetTopWindow()) : nullptr;
    return main ? main->GetIcon() : wxIcon();
}
}  // namespace

OptionalMessageDialog::OptionalMessageDialog(wxWindow* owner, const std::string& text, int options)
    : wxDialog(owner, wxID_ANY, wxTheApp ? wxTheApp->GetAppDisplayName() : wxString("Orvane"))
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    auto* row = new wxBoxSizer(wxHORIZONTAL);
    wxArtID icon;
    if (options & kOptStopIcon)
        icon = wxART_ERROR;
    else if (options & kOptExclamationIcon)
        icon = wxART_WARNING;
    else if (options & kOptInformationIcon)
        icon = wxART_INFORMATION;
    if (!icon.empty())
        row->Add(new wxStaticBitmap(this, wxID_ANY, wxArtProvider::GetBitmap(icon, wxART_MESSAGE_BOX)), 0,
                 wxRIGHT, 10);
    else if (const wxIcon programIcon = ProgramIcon(); programIcon.IsOk())
        row->Add(new wxStaticBitmap(this, wxID_ANY, programIcon), 0, wxRIGHT, 10);
    auto* message = new wxStaticText(this, wxID_ANY, wxString::FromUTF8(text));
    // Long texts wrap instead of widening the dialog past the screen.
    message->Wrap(GetCharWidth() * 70);
    row->Add(message, 1);
    top->Add(row, 0, wxEXPAND | wxALL, 10);
    mCheck = new wxCheckBox(this, wxID_ANY,
                            (options & kOptOncePerRun) ? "Show this message again next session"
                                                       : "Show this message again when appropriate");
    mCheck->SetValue(true);
    top->Add(mCheck, 0, wxLEFT | wxRIGHT, 10);
    top->Add(CreateStdDialogButtonSizer(wxOK), 0, wxEXPAND | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnParent();
}

bool OptionalMessageDialog::IsChecked() const
{
    return mCheck->GetValue();
}

ProgressWindow::ProgressWindow()
    : wxDialog(nullptr, wxID_ANY, "Processing...", wxDefaultPosition, wxDefaultSize, wxCAPTION | wxSTAY_ON_TOP)
{
    auto* top = new wxBoxSizer(wxVERTICAL);
    mCaption = new wxStaticText(this, wxID_ANY, "Please Wait...");
    mBar = new wxGauge(this, wxID_ANY, kProgressBarRange, wxDefaultPosition, wxSize(360, -1));
    mTimeTaken = new wxStaticText(this, wxID_ANY, wxString());
    mTimeRemaining = new wxStaticText(this, wxID_ANY, wxString());
    top->Add(mCaption, 0, wxEXPAND | wxALL, 10);
    top->Add(mBar, 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
    top->Add(mTimeTaken, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
    top->Add(mTimeRemaining, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 10);
    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    mPause = new wxButton(this, wxID_ANY, "Pause");
    buttons->Add(mPause, 0, wxRIGHT, 10);
    buttons->Add(new wxButton(this, wxID_CANCEL, "Cancel"));
    top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
    SetSizerAndFit(top);
    CentreOnScreen();

    mPause->Bind(wxEVT_BUTTON, &ProgressWindow::OnPause, this);
    Bind(wxEVT_BUTTON, &ProgressWindow::OnCancel, this, wxID_CANCEL);
    Bind(wxEVT_CLOSE_WINDOW, &ProgressWindow::OnClose, this);
}

void ProgressWindow::ShowState(const ProgressDisplay& display)
{
    if (display.setCaption)
        mCaption->SetLabel(wxString::FromUTF8(display.caption));
    mTimeTaken->SetLabel(wxString::FromUTF8(display.timeTaken));
    if (display.setTimeRemaining)
        mTimeRemaining->SetLabel(wxString::FromUTF8(display.timeRemaining));
    mBar->SetValue(display.barPosition);
    Layout();
}

void ProgressWindow::OnPause(wxCommandEvent&)
{
    mPaused = !mPaused;
    mPause->SetLabel(mPaused ? "Resume" : "Pause");
}

void ProgressWindow::OnCancel(wxCommandEvent&)
{
    // The window stays until the operation's outermost level ends.
    mCancelled = true;
}

void ProgressWindow::OnClose(wxCloseEvent& event)
{
    if (event.CanVeto())
    {
        mCancelled = true;
        event.Veto();
    }
    else
        Destroy();
}
