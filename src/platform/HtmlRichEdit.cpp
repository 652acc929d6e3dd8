#include "platform/HtmlRichEdit.h"

#include "platform/HtmlSubset.h"
#include "platform/OpenLink.h"
#include "platform/RichTextMeasure.h"

#include <wx/settings.h>

#include <algorithm>
#include <cmath>

namespace
{
wxColour ToColour(uint32_t rgb)
{
    return wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}
}  // namespace

HtmlRichEdit::HtmlRichEdit(wxWindow* parent, wxWindowID id, const wxPoint& pos, const wxSize& size)
    : wxRichTextCtrl(parent, id, wxString(), pos, size, wxRE_MULTILINE | wxRE_READONLY | wxBORDER_NONE)
{
    SetBackgroundColour(parent ? parent->GetBackgroundColour() : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
    SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    SetMargins(0, 0);
    ShowScrollbars(wxSHOW_SB_NEVER, wxSHOW_SB_NEVER);
    Bind(wxEVT_TEXT_URL, &HtmlRichEdit::OnUrl, this);
}

uint32_t HtmlRichEdit::DefaultColor() const
{
    const wxColour ink = wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT);
    return uint32_t(ink.Red()) | uint32_t(ink.Green()) << 8 | uint32_t(ink.Blue()) << 16;
}

int HtmlRichEdit::DefaultTwips() const
{
    return int(std::lround(GetFont().GetFractionalPointSize() * 20.0));
}

void HtmlRichEdit::SetHtmlText(const std::string& text)
{
    Clear();
    AppendHtml(text);
}

void HtmlRichEdit::AppendHtml(const std::string& text)
{
    const HtmlText parsed = ParseHtmlSubset(text, DefaultColor(), DefaultTwips());
    Freeze();
    BeginSuppressUndo();
    for (const HtmlRun& run : parsed.runs)
    {
        // A link that never saw its closing tag looks like one but opens nothing.
        const bool clickable = run.link >= 0 && parsed.links[size_t(run.link)].closed;
        AppendRun(run.text, run.style, run.color, run.twips,
                  clickable ? parsed.links[size_t(run.link)].target : std::string());
    }
    EndSuppressUndo();
    Thaw();
}

void HtmlRichEdit::AppendFormatted(const std::string& text, int style, uint32_t color, int twips)
{
    AppendRun(text, style, color, twips, std::string());
}

void HtmlRichEdit::AppendRun(const std::string& text, int style, uint32_t color, int twips, const std::string& url)
{
    wxRichTextAttr attr;
    attr.SetFontWeight(style & kHtmlBold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    attr.SetFontStyle(style & kHtmlItalic ? wxFONTSTYLE_ITALIC : wxFONTSTYLE_NORMAL);
    attr.SetFontUnderlined((style & kHtmlUnderline) != 0);
    attr.SetTextColour(ToColour(color));
    // A size taken below one point by the markup stays readable.
    if (twips >= 0)
        attr.SetFontPointSize(std::max(1, int(std::lround(twips / 20.0))));
    if (!url.empty())
        attr.SetURL(wxString::FromUTF8(url));
    SetInsertionPointEnd();
    BeginStyle(attr);
    WriteText(wxString::FromUTF8(text));
    EndStyle();
    SetInsertionPointEnd();
}

wxSize HtmlRichEdit::FitToText(int maxWidth)
{
    const wxSize natural = MeasureRichEditText(this, 0);
    const int width = std::min(natural.x, std::max(maxWidth, 1));
    SetInitialSize(wxSize(width, natural.y));
    SetSize(wxSize(width, natural.y));
    // Wrapped lines make the text higher than its lines measure.
    LayoutContent();
    const int height = std::max(natural.y, GetBuffer().GetCachedSize().y);
    const wxSize size(width, height);
    SetInitialSize(size);
    SetSize(size);
    return size;
}

void HtmlRichEdit::OnUrl(wxTextUrlEvent& event)
{
    // A failed open says nothing: the text stays as it is.
    OpenLink(event.GetString().utf8_string());
}
