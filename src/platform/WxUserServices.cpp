#include "platform/WxUserServices.h"

#include "platform/NumberDialog.h"
#include "platform/QuestionDialog.h"
#include "platform/StringDialog.h"
#include "platform/TableDialog.h"
#include "platform/WxDialogs.h"

#include <wx/app.h>
#include <wx/colordlg.h>
#include <wx/frame.h>
#include <wx/msgdlg.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filedlgcustomize.h>
#include <wx/utils.h>

#include <functional>
#include <optional>
#include <string>

namespace
{
// The active window owns a box; else the main window; else nothing.
wxWindow* DialogOwner()
{
    if (wxWindow* active = wxGetActiveWindow())
        return wxGetTopLevelParent(active);
    return wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
}

long MessageStyle(unsigned type)
{
    long style = 0;
    switch (type & kMbButtonMask)
    {
    case kMbOkCancel:
        style |= wxOK | wxCANCEL;
        break;
    case kMbYesNoCancel:
        style |= wxYES_NO | wxCANCEL;
        break;
    case kMbYesNo:
        style |= wxYES_NO;
        break;
    default:
        style |= wxOK;
        break;
    }
    switch (type & kMbIconMask)
    {
    case kMbIconStop:
        style |= wxICON_ERROR;
        break;
    case kMbIconQuestion:
        style |= wxICON_QUESTION;
        break;
    case kMbIconExclamation:
        style |= wxICON_WARNING;
        break;
    case kMbIconInformation:
        style |= wxICON_INFORMATION;
        break;
    default:
        style |= wxICON_NONE;
        break;
    }
    return style;
}

int ButtonId(int wxResult)
{
    switch (wxResult)
    {
    case wxID_YES:
        return kIdYes;
    case wxID_NO:
        return kIdNo;
    case wxID_CANCEL:
        return kIdCancel;
    default:
        return kIdOk;
    }
}
}  // namespace

WxUserServices::WxUserServices() = default;

WxUserServices::~WxUserServices()
{
    CloseProgressWindow();
}

int WxUserServices::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    wxMessageDialog dialog(DialogOwner(), wxString::FromUTF8(text), wxString::FromUTF8(caption), MessageStyle(type));
    return ButtonId(dialog.ShowModal());
}

bool WxUserServices::OptionalMessage(const std::string& text, int options)
{
    OptionalMessageDialog dialog(DialogOwner(), text, options);
    dialog.ShowModal();
    return dialog.IsChecked();
}

int WxUserServices::AskQuestion(const QuestionRequest& request)
{
    return RunQuestionDialog(DialogOwner(), request);
}

bool WxUserServices::Prompt(const PromptRequest& request, std::string& text)
{
    return RunPromptDialog(DialogOwner(), request, text);
}

int WxUserServices::ShowTable(TableRequest& request)
{
    return RunTableDialog(DialogOwner(), request);
}

namespace
{
// The two lines about the selected file below the dialog's file list.
class FileInfoHook : public wxFileDialogCustomizeHook
{
public:
    FileInfoHook(wxFileDialog& dialog, std::function<std::string(const std::string&)> describe)
        : mDialog(dialog), mDescribe(std::move(describe))
    {
    }

    void AddCustomControls(wxFileDialogCustomize& customizer) override
    {
        mFirst = customizer.AddStaticText(wxString());
        mSecond = customizer.AddStaticText(wxString());
    }

    void UpdateCustomControls() override
    {
        const std::string text = mDescribe(mDialog.GetCurrentlySelectedFilename().utf8_string());
        const size_t cut = text.find('\n');
        mFirst->SetLabelText(wxString::FromUTF8(text.substr(0, cut)));
        mSecond->SetLabelText(cut == std::string::npos ? wxString() : wxString::FromUTF8(text.substr(cut + 1)));
    }

private:
    wxFileDialog& mDialog;
    std::function<std::string(const std::string&)> mDescribe;
    wxFileDialogStaticText* mFirst = nullptr;
    wxFileDialogStaticText* mSecond = nullptr;
};
}  // namespace

bool WxUserServices::FileDialog(FileDialogRequest& request)
{
    // The dialog takes "description|patterns" pairs without the old closing "||".
    wxString wildcard = wxString::FromUTF8(request.filter);
    while (wildcard.EndsWith("|"))
        wildcard.RemoveLast();
    long style = request.save ? wxFD_SAVE : wxFD_OPEN;
    if (request.mustExist)
        style |= wxFD_FILE_MUST_EXIST;
    if (request.confirmOverwrite)
        style |= wxFD_OVERWRITE_PROMPT;
    // The hook outlives the dialog that calls it.
    std::optional<FileInfoHook> hook;
    wxFileDialog dialog(DialogOwner(), wxString::FromUTF8(request.title), wxString::FromUTF8(request.folder),
                        wxString::FromUTF8(request.name), wildcard, style);
    if (request.filterIndex > 0)
        dialog.SetFilterIndex(request.filterIndex - 1);
    if (request.describe)
    {
        hook.emplace(dialog, request.describe);
        dialog.SetCustomizeHook(*hook);
    }
    dialog.CentreOnParent();
    if (dialog.ShowModal() != wxID_OK)
        return false;
    request.path = dialog.GetPath().utf8_string();
    request.filterIndex = dialog.GetFilterIndex() + 1;
    return true;
}

bool WxUserServices::ChooseColor(uint32_t& color)
{
    wxColourData data;
    data.SetChooseFull(true);
    data.SetColour(wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    wxColourDialog dialog(DialogOwner(), &data);
    if (dialog.ShowModal() != wxID_OK)
        return false;
    const wxColour chosen = dialog.GetColourData().GetColour();
    color = uint32_t(chosen.Red()) | uint32_t(chosen.Green()) << 8 | uint32_t(chosen.Blue()) << 16;
    return true;
}

bool WxUserServices::PromptInteger(const std::string& prompt, int& value)
{
    return RunNumberDialog(DialogOwner(), prompt, value);
}

void WxUserServices::OpenProgressWindow()
{
    if (mProgress)
        return;
    mProgress = new ProgressWindow();
    mProgress->Show();
    // Input to every other window is dropped while an operation runs.
    mDisabler = std::make_unique<wxWindowDisabler>(mProgress);
    mProgress->Update();
}

void WxUserServices::UpdateProgressWindow(const ProgressDisplay& display)
{
    if (mProgress)
        mProgress->ShowState(display);
}

ProgressInput WxUserServices::PumpProgressWindow()
{
    if (!mProgress)
        return {};
    // The disabler keeps input away from every other window; paints still reach them. Timers and
    // other events wait until the operation ends.
    const long events = wxEVT_CATEGORY_UI | wxEVT_CATEGORY_USER_INPUT;
    if (wxEventLoopBase* loop = wxEventLoopBase::GetActive())
        loop->YieldFor(events);
    else
    {
        wxGUIEventLoop temporary;
        wxEventLoopActivator active(&temporary);
        temporary.YieldFor(events);
    }
    return mProgress->Input();
}

ProgressInput WxUserServices::WaitProgressWindow()
{
    wxMilliSleep(20);
    return PumpProgressWindow();
}

void WxUserServices::CloseProgressWindow()
{
    mDisabler.reset();
    if (mProgress)
    {
        mProgress->Destroy();
        mProgress = nullptr;
    }
}

void WxUserServices::SetStatusText(const std::string& text)
{
    wxFrame* frame = wxTheApp ? wxDynamicCast(wxTheApp->GetTopWindow(), wxFrame) : nullptr;
    if (frame && frame->GetStatusBar())
        frame->SetStatusText(wxString::FromUTF8(text));
}

void WxUserServices::BeginWaitCursor()
{
    wxBeginBusyCursor();
}

void WxUserServices::EndWaitCursor()
{
    if (wxIsBusy())
        wxEndBusyCursor();
}
