#pragma once

#include "kernel/UserServices.h"
#include "platform/AnchorList.h"

#include <wx/dialog.h>

#include <string>

class HtmlRichEdit;
class wxButton;
class wxTextCtrl;

// The "Enter a string" prompt: a rich-text prompt over a one-line or a multi-line edit field, with OK
// at the bottom left and Cancel at the bottom right. The request's accept callback may refuse the
// text on OK; the dialog then stays open.
class StringDialog : public wxDialog
{
public:
    StringDialog(wxWindow* owner, const PromptRequest& request, const std::string& text);

    // The typed text, with "\n" line ends.
    std::string Text() const;
    // Updates the caller's remembered placement, when it keeps one.
    void Remember() const;

    wxTextCtrl* Edit() const { return mEdit; }
    HtmlRichEdit* Prompt() const { return mPrompt; }

private:
    void OnOk(wxCommandEvent& event);

    const PromptRequest& mRequest;
    HtmlRichEdit* mPrompt;
    wxTextCtrl* mEdit;
    AnchorList mAnchors;
};

bool RunPromptDialog(wxWindow* owner, const PromptRequest& request, std::string& text);
