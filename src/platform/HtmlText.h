#pragma once

#include <wx/html/htmlwin.h>

#include <string>

// Texts in the program's small HTML subset (bold, italic, font colour and size, lists, links, line
// breaks as "\n", "<<" for a literal "<", six entities), as wx's HTML window reads them: the subset's
// tags pass, other tags are dropped, line breaks and runs of spaces are kept, and a "<" or "&" that
// starts no markup is shown as itself.
wxString HtmlSubsetToWxHtml(const std::string& text);

// A read-only rich text of the subset on the dialog's face colour, sized to its text. Links open in
// the user's browser.
class HtmlTextWindow : public wxHtmlWindow
{
public:
    explicit HtmlTextWindow(wxWindow* parent, wxWindowID id = wxID_ANY);

    void SetHtmlText(const std::string& text);
    // Sizes the window to its text, wrapping lines longer than maxWidth; answers the new size.
    wxSize FitToText(int maxWidth);

protected:
    void OnLinkClicked(const wxHtmlLinkInfo& link) override;
};
