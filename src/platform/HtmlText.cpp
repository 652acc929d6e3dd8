#include "platform/HtmlText.h"

#include "kernel/Strings.h"

#include <wx/settings.h>
#include <wx/utils.h>

#include <algorithm>
#include <cstring>

namespace
{
// The subset's tags, matched as prefixes without regard to case.
const char* const kTags[] = {"<ul>", "<ol>", "</ul>", "</ol>", "<li>", "<b>", "</b>", "<i>", "</i>",
                             "<font ", "</font>", "<a ", "</a>"};

// Entity names match when they begin one of these, tried in order (the empty name matches the first).
struct Entity
{
    const char* name;
    const char* html;
};
const Entity kEntities[] = {{"rarr", "-&gt;"}, {"gt", "&gt;"}, {"lt", "&lt;"},
                            {"ccedil", "c"},   {"amp", "&amp;"}, {"copy", "&copy;"}};

bool IsSubsetTag(const std::string& text, size_t at)
{
    for (const char* tag : kTags)
        if (CompareStringsNNoCase(text.c_str() + at, tag, std::strlen(tag)) == 0)
            return true;
    return false;
}

const char* EntityHtml(const std::string& name)
{
    for (const Entity& e : kEntities)
        if (name.size() <= std::strlen(e.name) && CompareStringsNNoCase(name.c_str(), e.name, name.size()) == 0)
            return e.html;
    return " ";
}
}  // namespace

wxString HtmlSubsetToWxHtml(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + 16);
    bool spaceBefore = true;  // at a line start a space is kept as well
    for (size_t i = 0; i < text.size(); ++i)
    {
        const char c = text[i];
        const bool space = c == ' ';
        if (c == '<')
        {
            const size_t close = text.find('>', i);
            if (i + 1 < text.size() && text[i + 1] == '<')
            {
                out += "&lt;";
                ++i;
            }
            else if (close == std::string::npos)
                out += "&lt;";
            else
            {
                if (IsSubsetTag(text, i))
                    out.append(text, i, close - i + 1);
                i = close;
            }
        }
        else if (c == '&')
        {
            const size_t semi = text.find(';', i);
            if (semi == std::string::npos)
                out += "&amp;";
            else
            {
                out += EntityHtml(text.substr(i + 1, semi - i - 1));
                i = semi;
            }
        }
        else if (c == '>')
            out += "&gt;";
        else if (c == '\n')
            out += "<br>";
        else if (c == '\r')
            continue;
        else if (space && spaceBefore)
            out += "&nbsp;";
        else
            out += c;
        spaceBefore = space || c == '\n';
    }
    return wxString::FromUTF8(out);
}

HtmlTextWindow::HtmlTextWindow(wxWindow* parent, wxWindowID id)
    : wxHtmlWindow(parent, id, wxDefaultPosition, wxDefaultSize, wxHW_SCROLLBAR_NEVER | wxBORDER_NONE)
{
    SetBorders(0);
    SetHTMLBackgroundColour(parent ? parent->GetBackgroundColour()
                                   : wxSystemSettings::GetColour(wxSYS_COLOUR_BTNFACE));
}

void HtmlTextWindow::SetHtmlText(const std::string& text)
{
    const wxColour ink = wxSystemSettings::GetColour(wxSYS_COLOUR_BTNTEXT);
    SetPage("<html><body text=\"" + ink.GetAsString(wxC2S_HTML_SYNTAX) + "\">" + HtmlSubsetToWxHtml(text) +
            "</body></html>");
}

wxSize HtmlTextWindow::FitToText(int maxWidth)
{
    wxHtmlContainerCell* cell = GetInternalRepresentation();
    if (!cell)
        return GetSize();
    // Laid out without a limit first: the widest line is the natural width.
    cell->Layout(std::max(maxWidth, 1) * 4);
    const int width = std::min(std::max(cell->GetMaxTotalWidth(), 1), std::max(maxWidth, 1));
    cell->Layout(width);
    const wxSize size(width, std::max(cell->GetHeight(), 1));
    SetInitialSize(size);
    SetSize(size);
    return size;
}

void HtmlTextWindow::OnLinkClicked(const wxHtmlLinkInfo& link)
{
    wxLaunchDefaultBrowser(link.GetHref());
}
