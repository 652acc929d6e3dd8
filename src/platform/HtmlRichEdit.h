#pragma once

#include <wx/richtext/richtextctrl.h>

#include <cstdint>
#include <string>

// A read-only rich text that shows the program's small HTML subset (HtmlSubset.h) on its parent's
// face colour: the question box, the "Enter a string" prompt and the option dialogs' explanations.
// Links show the hand cursor and open through OpenLink when clicked. Owned by its dialog.
class HtmlRichEdit : public wxRichTextCtrl
{
public:
    HtmlRichEdit(wxWindow* parent, wxWindowID id = wxID_ANY, const wxPoint& pos = wxDefaultPosition,
                 const wxSize& size = wxDefaultSize);

    // Empties the control and appends the text.
    void SetHtmlText(const std::string& text);
    // Parses the text and appends it at the end.
    void AppendHtml(const std::string& text);
    // Appends plain text in HtmlStyle bits, a 0x00BBGGRR colour and a size in twips (negative keeps
    // the control's size); the caret ends after it.
    void AppendFormatted(const std::string& text, int style, uint32_t color, int twips);

    // The text colour and size (in twips) that parsing starts from.
    uint32_t DefaultColor() const;
    int DefaultTwips() const;

    // Sizes the control to its content, wrapping lines longer than maxWidth; answers the new size.
    wxSize FitToText(int maxWidth);

    // Read-only text is no stop for the Tab key.
    bool AcceptsFocusFromKeyboard() const override { return false; }

private:
    void AppendRun(const std::string& text, int style, uint32_t color, int twips, const std::string& url);
    void OnUrl(wxTextUrlEvent& event);
};
