#include "platform/WxDialogs.h"

#include "platform/DialogUtils.h"

#include <wx/app.h>
#include <wx/artprov.h>
#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/statbmp.h>
#include <wx/gauge.h>
#include <wx/listctrl.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/textctrl.h>

#include <vector>

namespace
{
// Prompts and questions may carry a small HTML subset; until rich text is shown, show the words.
wxString PlainText(const std::string& html)
{
    std::string out;
    bool inTag = false;
    for (size_t i = 0; i < html.size(); ++i)
    {
        const char c = html[i];
        if (c == '<')
        {
            inTag = true;
            if (html.compare(i, 4, "<br>") == 0 || html.compare(i, 3, "<p>") == 0)
                out += '\n';
        }
        else if (c == '>' && inTag)
            inTag = false;
        else if (!inTag)
            out += c;
    }
    return wxString::FromUTF8(out);
}

class QuestionDialog : public wxDialog
{
public:
    QuestionDialog(wxWindow* owner, const QuestionRequest& request)
        : wxDialog(owner, wxID_ANY, request.caption.empty() ? wxString("Question") : wxString::FromUTF8(request.caption)),
          mRequest(request)
    {
        auto* top = new wxBoxSizer(wxVERTICAL);
        if (!request.message.empty())
        {
            const wxString text = (request.flags & QuestionRequest::kHtml) ? PlainText(request.message)
                                                                           : wxString::FromUTF8(request.message);
            top->Add(new wxStaticText(this, wxID_ANY, text), 0, wxALL, 10);
        }

        auto* columns = new wxBoxSizer(wxHORIZONTAL);
        wxBoxSizer* column = nullptr;
        wxBoxSizer* row = nullptr;
        for (size_t i = 0; i < request.buttons.size(); ++i)
        {
            const QuestionButton& b = request.buttons[i];
            if (!column || (i > 0 && b.place == QuestionButton::Place::NewColumn))
            {
                column = new wxBoxSizer(wxVERTICAL);
                columns->Add(column, 1, wxLEFT | wxRIGHT, 5);
                row = nullptr;
            }
            if (!row || (i > 0 && (b.place == QuestionButton::Place::NewRow ||
                                   b.place == QuestionButton::Place::NewRowWithGap)))
            {
                row = new wxBoxSizer(wxHORIZONTAL);
                const int gap = i > 0 && b.place == QuestionButton::Place::NewRowWithGap ? 8 : 0;
                column->Add(row, 0, wxEXPAND | wxTOP, 5 + gap);
            }
            auto* button = new wxButton(this, wxID_HIGHEST + 1 + int(i), wxString::FromUTF8(b.text), wxDefaultPosition,
                                        wxDefaultSize, b.alignLeft ? wxBU_LEFT : 0);
            button->Enable(!b.disabled);
            button->Bind(wxEVT_BUTTON, [this, i](wxCommandEvent&) { Finish(int(i)); });
            row->Add(button, 1, wxLEFT | wxRIGHT, 5);
            if (int(i) == request.defaultIndex)
                button->SetDefault();
        }
        top->Add(columns, 0, wxEXPAND | wxALL, 5);
        SetSizerAndFit(top);
        CentreOnParent();

        Bind(wxEVT_CHAR_HOOK, &QuestionDialog::OnCharHook, this);
        Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { Finish(mRequest.cancelIndex); });
    }

    int Result() const { return mResult; }

private:
    void Finish(int index)
    {
        mResult = index;
        EndModal(wxID_OK);
    }

    void OnCharHook(wxKeyEvent& event)
    {
        const int key = event.GetKeyCode();
        if (key == WXK_ESCAPE)
        {
            Finish(mRequest.cancelIndex);
            return;
        }
        if ((key == WXK_RETURN || key == WXK_NUMPAD_ENTER) && mRequest.defaultIndex >= 0)
        {
            Finish(mRequest.defaultIndex);
            return;
        }
        const wxChar c = event.GetUnicodeKey();
        for (size_t i = 0; i < mRequest.buttons.size(); ++i)
        {
            const QuestionButton& b = mRequest.buttons[i];
            // A disabled label stays shut to its accelerator too: an empty memory slot keeps its digit.
            if (b.accelerator && !b.disabled && wxToupper(c) == wxToupper(wxChar(b.accelerator)))
            {
                Finish(int(i));
                return;
            }
        }
        event.Skip();
    }

    const QuestionRequest& mRequest;
    int mResult = -1;
};

class PromptDialog : public wxDialog
{
public:
    PromptDialog(wxWindow* owner, const PromptRequest& request, const std::string& text)
        : wxDialog(owner, wxID_ANY, wxString::FromUTF8(request.title), wxDefaultPosition, wxDefaultSize,
                   wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
          mRequest(request)
    {
        auto* top = new wxBoxSizer(wxVERTICAL);
        top->Add(new wxStaticText(this, wxID_ANY, PlainText(request.prompt)), 0, wxALL, 10);
        wxString value = wxString::FromUTF8(text);
        if (request.multiLine)
            value.Replace("\n", "\r\n");
        mEdit = new wxTextCtrl(this, wxID_ANY, value, wxDefaultPosition,
                               request.multiLine ? wxSize(GetCharWidth() * 50, GetCharHeight() * 8) : wxSize(300, -1),
                               request.multiLine ? wxTE_MULTILINE : 0);
        top->Add(mEdit, request.multiLine ? 1 : 0, wxEXPAND | wxLEFT | wxRIGHT, 10);
        top->Add(CreateStdDialogButtonSizer(wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
        SetSizerAndFit(top);
        SetMinSize(GetSize());
        if (!request.multiLine)
            SetMaxSize(wxSize(-1, GetSize().y));

        if (request.rememberedPos && request.rememberedPos[0] >= 0)
            PlaceDialog(this, request.rememberedPos, request.rememberedSize);
        else
            CentreOnParent();
        Bind(wxEVT_BUTTON, &PromptDialog::OnOk, this, wxID_OK);
    }

    std::string Text() const
    {
        wxString value = mEdit->GetValue();
        value.Replace("\r\n", "\n");
        return value.utf8_string();
    }

    void Remember() const { GetWindowPosSize(this, mRequest.rememberedPos, mRequest.rememberedSize); }

private:
    void OnOk(wxCommandEvent&)
    {
        if (mRequest.accept && !mRequest.accept(Text()))
            return;
        EndModal(wxID_OK);
    }

    const PromptRequest& mRequest;
    wxTextCtrl* mEdit;
};

class TableDialog : public wxDialog
{
public:
    TableDialog(wxWindow* owner, const TableRequest& request)
        : wxDialog(owner, wxID_ANY, request.title.empty() ? wxString("Table") : wxString::FromUTF8(request.title),
                   wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER)
    {
        auto* top = new wxBoxSizer(wxVERTICAL);
        if (!request.prompt.empty())
            top->Add(new wxStaticText(this, wxID_ANY, PlainText(request.prompt)), 0, wxALL, 10);
        mList = new wxListCtrl(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxLC_REPORT | wxLC_SINGLE_SEL);
        for (int c = 0; c < request.columns; ++c)
            mList->AppendColumn(c < int(request.headings.size()) ? wxString::FromUTF8(request.headings[c]) : wxString());
        for (int r = 0; r < request.rows; ++r)
        {
            const long item = mList->InsertItem(r, wxString());
            for (int c = 0; c < request.columns; ++c)
            {
                const size_t cell = size_t(r) * request.columns + c;
                if (cell < request.cells.size())
                    mList->SetItem(item, c, wxString::FromUTF8(request.cells[cell]));
            }
            mList->SetItemData(item, r);
            if (r < int(request.rowColors.size()))
            {
                const uint32_t rgb = request.rowColors[r];
                mList->SetItemTextColour(item, wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF));
            }
        }
        for (int c = 0; c < request.columns; ++c)
            mList->SetColumnWidth(c, wxLIST_AUTOSIZE_USEHEADER);
        if (request.initialRow >= 0 && request.initialRow < request.rows)
        {
            mList->SetItemState(request.initialRow, wxLIST_STATE_SELECTED, wxLIST_STATE_SELECTED);
            mList->EnsureVisible(request.initialRow);
        }
        mList->SetMinSize(wxSize(400, 358));
        top->Add(mList, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
        top->Add(CreateStdDialogButtonSizer(request.initialRow == -2 ? wxOK : wxOK | wxCANCEL), 0, wxEXPAND | wxALL, 10);
        SetSizerAndFit(top);
        CentreOnParent();
    }

    int SelectedRow() const
    {
        const long item = mList->GetNextItem(-1, wxLIST_NEXT_ALL, wxLIST_STATE_SELECTED);
        return item < 0 ? -1 : int(mList->GetItemData(item));
    }

private:
    wxListCtrl* mList;
};
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

int RunQuestionDialog(wxWindow* owner, const QuestionRequest& request)
{
    QuestionDialog dialog(owner, request);
    dialog.ShowModal();
    return dialog.Result();
}

bool RunPromptDialog(wxWindow* owner, const PromptRequest& request, std::string& text)
{
    PromptDialog dialog(owner, request, text);
    const bool ok = dialog.ShowModal() == wxID_OK;
    dialog.Remember();
    if (ok)
        text = dialog.Text();
    return ok;
}

int RunTableDialog(wxWindow* owner, TableRequest& request)
{
    TableDialog dialog(owner, request);
    const bool ok = dialog.ShowModal() == wxID_OK;
    if (request.initialRow == -2)
        return 0;
    return ok ? dialog.SelectedRow() : -1;
}
