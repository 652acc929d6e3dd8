#pragma once

// The port's static text first: the generic header hides it from later includes.
#include <wx/stattext.h>

#include <wx/generic/stattextg.h>

#include <cstdint>
#include <functional>
#include <string>

// A label in a colour and font of its own that can act as a link: blue, underlined, the hand cursor,
// and a click that hands its target to a callback or opens it (OpenLink). The About box, the notes of
// the option dialogs and the chooser's headings use it; owned by its dialog.
class LinkLabel : public wxGenericStaticText
{
public:
    using Callback = std::function<void(const std::string& target)>;

    // Made later by SubclassAndSetLink, or at once.
    LinkLabel() = default;
    LinkLabel(wxWindow* parent, wxWindowID id, const std::string& text, const wxPoint& pos = wxDefaultPosition,
              const wxSize& size = wxDefaultSize, long style = 0);

    // 0x00BBGGRR.
    void SetTextColor(uint32_t color);
    void SetBold(bool bold);
    void SetUnderline(bool underline);
    // The character height of the font in pixels.
    int GetFontHeight() const;
    void SetFontHeight(int pixels);
    // Whether clicks reach the label; a label that is no link ignores them unless this is set.
    void SetNotify(bool notify);
    void SetLinkTarget(const std::string& target);
    // Makes the label a link showing text; an empty target opens the label's own text.
    void SetLink(const std::string& text, const std::string& target = std::string(), Callback callback = nullptr);
    // Makes the label in place of the dialog's control of that id (when both are given), then a link.
    // False when the label has no window in the end.
    bool SubclassAndSetLink(int id, wxWindow* dialog, const std::string& text,
                            const std::string& target = std::string(), Callback callback = nullptr);

    // The text a click opens.
    std::string Target() const;

private:
    void ApplyFont(wxFont font);
    void Redraw();
    void OnLeftDown(wxMouseEvent& event);

    std::string mTarget;
    Callback mCallback;
    bool mNotify = false;
    int mFontHeight = 0;  // pixels; 0 until set or first asked
};
