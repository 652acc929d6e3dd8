#include "platform/LinkLabel.h"

#include "platform/OpenLink.h"
#include "platform/ReplaceControl.h"

#include <wx/dcscreen.h>
#include <wx/settings.h>

#include <cmath>

namespace
{
// Pixels per inch vertically, for turning character heights into point sizes.
double VerticalDpi()
{
    const int dpi = wxScreenDC().GetPPI().y;
    return dpi > 0 ? dpi : 96.0;
}
}  // namespace

LinkLabel::LinkLabel(wxWindow* parent, wxWindowID id, const std::string& text, const wxPoint& pos,
                     const wxSize& size, long style)
    : wxGenericStaticText(parent, id, wxString(), pos, size, style)
{
    SetLabelText(wxString::FromUTF8(text));
    SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
    SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
    Bind(wxEVT_LEFT_DOWN, &LinkLabel::OnLeftDown, this);
}

void LinkLabel::Redraw()
{
    // A new font may need more room: the label takes its best size, and the owner's sizer follows.
    InvalidateBestSize();
    SetInitialSize();
    if (GetContainingSizer() && GetParent())
        GetParent()->Layout();
    Refresh();
    Update();
}

void LinkLabel::ApplyFont(wxFont font)
{
    SetFont(font);
    Redraw();
}

void LinkLabel::SetTextColor(uint32_t color)
{
    SetForegroundColour(wxColour(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
    Refresh();
    Update();
}

void LinkLabel::SetBold(bool bold)
{
    wxFont font = GetFont();
    font.SetWeight(bold ? wxFONTWEIGHT_BOLD : wxFONTWEIGHT_NORMAL);
    ApplyFont(font);
}

void LinkLabel::SetUnderline(bool underline)
{
    wxFont font = GetFont();
    font.SetUnderlined(underline);
    ApplyFont(font);
}

int LinkLabel::GetFontHeight() const
{
    if (mFontHeight > 0)
        return mFontHeight;
    return int(std::lround(GetFont().GetFractionalPointSize() * VerticalDpi() / 72.0));
}

void LinkLabel::SetFontHeight(int pixels)
{
    if (pixels <= 0)
        return;
    wxFont font = GetFont();
    font.SetFractionalPointSize(pixels * 72.0 / VerticalDpi());
    mFontHeight = pixels;
    ApplyFont(font);
}

void LinkLabel::SetNotify(bool notify)
{
    mNotify = notify;
}

void LinkLabel::SetLinkTarget(const std::string& target)
{
    mTarget = target;
}

std::string LinkLabel::Target() const
{
    return mTarget.empty() ? GetLabelText().utf8_string() : mTarget;
}

void LinkLabel::SetLink(const std::string& text, const std::string& target, Callback callback)
{
    mNotify = true;
    SetLabelText(wxString::FromUTF8(text));
    mTarget = target;
    mCallback = std::move(callback);
    SetForegroundColour(wxColour(0, 0, 255));
    SetCursor(wxCursor(wxCURSOR_HAND));
    SetUnderline(true);
}

bool LinkLabel::SubclassAndSetLink(int id, wxWindow* dialog, const std::string& text, const std::string& target,
                                   Callback callback)
{
    if (dialog && id != wxID_ANY && !GetHandle())
    {
        wxWindow* placeholder = dialog->FindWindow(id);
        if (!placeholder || placeholder == this)
            return false;
        Create(placeholder->GetParent(), id, wxString(), placeholder->GetPosition(), placeholder->GetSize());
        SetForegroundColour(wxSystemSettings::GetColour(wxSYS_COLOUR_WINDOWTEXT));
        SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
        Bind(wxEVT_LEFT_DOWN, &LinkLabel::OnLeftDown, this);
        ReplaceControl(placeholder, this);
    }
    if (!GetHandle())
        return false;
    SetLink(text, target, std::move(callback));
    return true;
}

void LinkLabel::OnLeftDown(wxMouseEvent& event)
{
    event.Skip();
    if (!mNotify)
        return;
    const std::string target = Target();
    if (mCallback)
        mCallback(target);
    else
        OpenLink(target);  // a failed open says nothing, as a click on a dead link would
}
