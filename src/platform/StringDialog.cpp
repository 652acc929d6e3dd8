#include "platform/StringDialog.h"

#include "platform/DialogUtils.h"
#include "platform/HtmlRichEdit.h"

#include <wx/button.h>
#include <wx/display.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

#include <algorithm>

namespace
{
constexpr int kMargin = 10;

// The edit control's own line ends, whatever the text came with.
wxString EditText(const std::string& text)
{
    wxString value = wxString::FromUTF8(text);
    value.Replace("\r\n", "\n");
    value.Replace("\r", "\n");
    return value;
}
}  // namespace

StringDialog::StringDialog(wxWindow* owner, const PromptRequest& request, const std::string& text)
    : wxDialog(owner, wxID_ANY, request.title.empty() ? wxString("Enter a string") : wxString::FromUTF8(request.title),
               wxDefaultPosition, wxDefaultSize, wxDEFAULT_DIALOG_STYLE | wxRESIZE_BORDER),
      mRequest(request)
{
    // Sizers give the controls their natural places; the anchor list takes over for resizing.
    auto* top = new wxBoxSizer(wxVERTICAL);
    mPrompt = new HtmlRichEdit(this);
    mPrompt->SetHtmlText(request.prompt);
    const int display = wxDisplay::GetFromWindow(owner ? owner : this);
    const int maxWidth = wxDisplay(display == wxNOT_FOUND ? 0 : unsigned(display)).GetClientArea().width * 2 / 3;
    mPrompt->FitToText(std::max(maxWidth, 200));
    top->Add(mPrompt, 0, wxLEFT | wxRIGHT | wxTOP, kMargin);

    const wxSize aSize = MeasureTextGuiFont(this, "a", 0);
    if (request.multiLine)
        mEdit = new wxTextCtrl(this, wxID_ANY, EditText(text), wxDefaultPosition, wxDefaultSize, wxTE_MULTILINE);
    else
        mEdit = new wxTextCtrl(this, wxID_ANY, EditText(text));
    const int lineHeight = mEdit->GetCharHeight();
    if (request.multiLine)
        mEdit->SetInitialSize(mEdit->GetSizeFromTextSize(aSize.x * 50, lineHeight * 8));
    else
        mEdit->SetInitialSize(wxSize(std::max(aSize.x * 40, mPrompt->GetSize().x), -1));
    if (request.maxLength > 0 && !request.multiLine)
        mEdit->SetMaxLength(unsigned(request.maxLength));
    top->Add(mEdit, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, kMargin);

    auto* buttons = new wxBoxSizer(wxHORIZONTAL);
    auto* ok = new wxButton(this, wxID_OK, "OK");
    auto* cancel = new wxButton(this, wxID_CANCEL, "Cancel");
    buttons->Add(ok);
    buttons->AddStretchSpacer();
    buttons->Add(cancel);
    top->Add(buttons, 0, wxEXPAND | wxALL, kMargin);
    SetSizerAndFit(top);
    Layout();
    SetSizer(nullptr);

    mAnchors.Attach(this);
    mAnchors.SetAnchor(mPrompt, AnchorList::kKeepSize | AnchorList::kKeepNear,
                       AnchorList::kKeepSize | AnchorList::kKeepNear);
    mAnchors.SetAnchor(mEdit, AnchorList::kKeepNear | AnchorList::kFollowFar,
                       AnchorList::kKeepNear | AnchorList::kFollowFar);
    mAnchors.SetAnchor(ok, AnchorList::kKeepNear, AnchorList::kKeepSize | AnchorList::kFollowFar);
    mAnchors.SetAnchor(cancel, AnchorList::kFollowFar, AnchorList::kKeepSize | AnchorList::kFollowFar);
    mAnchors.AllowGrowth(true, request.multiLine);
    Bind(wxEVT_SIZE, [this](wxSizeEvent& event) {
        mAnchors.Layout();
        event.Skip();
    });

    ok->SetDefault();
    mEdit->SetFocus();
    if (!request.multiLine)
        mEdit->SelectAll();
    if (request.rememberedPos && request.rememberedPos[0] >= 0)
        PlaceDialog(this, request.rememberedPos, request.rememberedSize);
    else
        CentreOnParent();
    Bind(wxEVT_BUTTON, &StringDialog::OnOk, this, wxID_OK);
}

std::string StringDialog::Text() const
{
    wxString value = mEdit->GetValue();
    value.Replace("\r\n", "\n");
    return value.utf8_string();
}

void StringDialog::Remember() const
{
    if (mRequest.rememberedPos)
        GetWindowPosSize(this, mRequest.rememberedPos, mRequest.rememberedSize);
}

void StringDialog::OnOk(wxCommandEvent&)
{
    if (mRequest.accept && !mRequest.accept(Text()))
    {
        mEdit->SetFocus();
        return;
    }
    EndModal(wxID_OK);
}

bool RunPromptDialog(wxWindow* owner, const PromptRequest& request, std::string& text)
{
    StringDialog dialog(owner, request, text);
    const bool ok = dialog.ShowModal() == wxID_OK;
    dialog.Remember();
    if (ok)
        text = dialog.Text();
    return ok;
}
