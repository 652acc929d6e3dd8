#include "platform/ColorButton.h"

#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>

#include <algorithm>

namespace
{
uint32_t Packed(const wxColour& c)
{
    return uint32_t(c.Red()) | uint32_t(c.Green()) << 8 | uint32_t(c.Blue()) << 16;
}

wxColour Unpacked(uint32_t rgb)
{
    return wxColour(rgb & 0xFF, (rgb >> 8) & 0xFF, (rgb >> 16) & 0xFF);
}

uint32_t SystemColor(wxSystemColour index)
{
    return Packed(wxSystemSettings::GetColour(index));
}

bool IsDark(uint32_t rgb)
{
    return (rgb & 0xFF) + ((rgb >> 8) & 0xFF) + ((rgb >> 16) & 0xFF) < 383;
}

void Line(wxDC& dc, uint32_t color, int x1, int y1, int x2, int y2)
{
    dc.SetPen(wxPen(Unpacked(color)));
    dc.DrawLine(x1, y1, x2, y2);
}

// Top and left edges in one colour, bottom and right in the other.
void Edges(wxDC& dc, const wxRect& r, uint32_t topLeft, uint32_t bottomRight)
{
    Line(dc, topLeft, r.x, r.GetBottom(), r.x, r.y);
    Line(dc, topLeft, r.x, r.y, r.GetRight() + 1, r.y);
    Line(dc, bottomRight, r.GetRight(), r.y, r.GetRight(), r.GetBottom() + 1);
    Line(dc, bottomRight, r.x, r.GetBottom(), r.GetRight(), r.GetBottom());
}
}  // namespace

ColorButton::ColorButton(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size, long style)
{
    Create(parent, id, label, pos, size, style);
}

bool ColorButton::Create(wxWindow* parent, wxWindowID id, const wxString& label, const wxPoint& pos,
                         const wxSize& size, long style)
{
    Init();
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    if (!wxControl::Create(parent, id, pos, size, style | wxBORDER_NONE | wxWANTS_CHARS))
        return false;
    SetLabel(label);
    SetInitialSize(size);
    Bind(wxEVT_PAINT, &ColorButton::OnPaint, this);
    Bind(wxEVT_LEFT_DOWN, &ColorButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_DCLICK, &ColorButton::OnLeftDown, this);
    Bind(wxEVT_LEFT_UP, &ColorButton::OnLeftUp, this);
    Bind(wxEVT_MOTION, &ColorButton::OnMotion, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &ColorButton::OnCaptureLost, this);
    Bind(wxEVT_KEY_DOWN, &ColorButton::OnKeyDown, this);
    Bind(wxEVT_SET_FOCUS, [this](wxFocusEvent& e) { Refresh(); e.Skip(); });
    Bind(wxEVT_KILL_FOCUS, [this](wxFocusEvent& e) { Refresh(); e.Skip(); });
    return true;
}

void ColorButton::Init()
{
    mText = SystemColor(wxSYS_COLOUR_BTNTEXT);
    mFace = SystemColor(wxSYS_COLOUR_BTNFACE);
    mDisabledFace = mFace;
    mLight = SystemColor(wxSYS_COLOUR_3DLIGHT);
    mHighlight = SystemColor(wxSYS_COLOUR_BTNHIGHLIGHT);
    mShadow = SystemColor(wxSYS_COLOUR_BTNSHADOW);
    mDarkShadow = SystemColor(wxSYS_COLOUR_3DDKSHADOW);
}

void ColorButton::Redraw()
{
    if (GetHandle())
        Refresh(false);
}

void ColorButton::SetColor(uint32_t color)
{
    mFace = color & 0xFFFFFF;
    mText = IsDark(mFace) ? 0xFFFFFF : 0x000000;
    mDisabledFace = SystemColor(wxSYS_COLOUR_BTNFACE);
    Redraw();
}

void ColorButton::SetColors(uint32_t textColor, uint32_t faceColor)
{
    mText = textColor & 0xFFFFFF;
    mFace = faceColor & 0xFFFFFF;
    mDisabledFace = SystemColor(wxSYS_COLOUR_BTNFACE);
    Redraw();
}

void ColorButton::SetDefault(bool isDefault)
{
    mDefault = isDefault;
    Redraw();
}

wxSize ColorButton::DoGetBestClientSize() const
{
    wxCoord width = 0;
    wxCoord height = 0;
    GetTextExtent(GetLabelText().empty() ? wxString("M") : GetLabelText(), &width, &height);
    const wxSize standard(GetCharWidth() * 10, height + 12);
    return wxSize(std::max(width + 20, standard.x), standard.y);
}

void ColorButton::DrawItem(wxDC& dc, const wxRect& rect, bool pressed, bool focused) const
{
    const bool enabled = IsEnabled();
    const wxColour face = Unpacked(enabled ? mFace : mDisabledFace);
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(face));
    dc.DrawRectangle(rect);

    if (pressed)
    {
        Edges(dc, rect, mDarkShadow, mDarkShadow);
        Edges(dc, wxRect(rect).Deflate(1), mShadow, mShadow);
    }
    else
    {
        wxRect raised = rect;
        if (focused || mDefault)
        {
            Edges(dc, rect, 0x000000, 0x000000);
            raised.Deflate(1);
        }
        Edges(dc, raised, mHighlight, mDarkShadow);
        Edges(dc, raised.Deflate(1), mLight, mShadow);
    }

    // Left and one down normally, two down when pressed; a disabled caption is engraved.
    wxRect t1 = rect;
    t1.Offset(-1, 1);
    wxRect t2 = rect;
    t2.Offset(0, 2);
    const wxString caption = GetLabelText().Left(512);
    dc.SetFont(GetFont());
    dc.SetBackgroundMode(wxBRUSHSTYLE_TRANSPARENT);
    if (!enabled)
    {
        dc.SetTextForeground(*wxWHITE);
        dc.DrawLabel(caption, t2, wxALIGN_CENTER);
        dc.SetTextForeground(wxColour(128, 128, 128));
        dc.DrawLabel(caption, t1, wxALIGN_CENTER);
    }
    else
    {
        dc.SetTextForeground(Unpacked(mText));
        dc.DrawLabel(caption, pressed ? t2 : t1, wxALIGN_CENTER);
    }
    if (focused)
        wxRendererNative::Get().DrawFocusRect(const_cast<ColorButton*>(this), dc, wxRect(rect).Deflate(4));
}

void ColorButton::OnPaint(wxPaintEvent&)
{
    wxAutoBufferedPaintDC dc(this);
    DrawItem(dc, GetClientRect(), mPressed, HasFocus());
}

void ColorButton::Click()
{
    wxCommandEvent event(wxEVT_BUTTON, GetId());
    event.SetEventObject(this);
    ProcessWindowEvent(event);
}

void ColorButton::OnLeftDown(wxMouseEvent&)
{
    if (!IsEnabled())
        return;
    SetFocus();
    mTracking = true;
    mPressed = true;
    if (!HasCapture())
        CaptureMouse();
    Redraw();
}

void ColorButton::OnMotion(wxMouseEvent& event)
{
    if (!mTracking)
        return;
    const bool inside = GetClientRect().Contains(event.GetPosition());
    if (inside != mPressed)
    {
        mPressed = inside;
        Redraw();
    }
}

void ColorButton::OnLeftUp(wxMouseEvent& event)
{
    if (!mTracking)
        return;
    const bool inside = GetClientRect().Contains(event.GetPosition());
    mTracking = false;
    mPressed = false;
    if (HasCapture())
        ReleaseMouse();
    Redraw();
    if (inside)
        Click();
}

void ColorButton::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    mTracking = false;
    mPressed = false;
    Redraw();
}

void ColorButton::OnKeyDown(wxKeyEvent& event)
{
    const int key = event.GetKeyCode();
    if (IsEnabled() && !event.HasModifiers() && (key == WXK_SPACE || key == WXK_RETURN || key == WXK_NUMPAD_ENTER))
    {
        Click();
        return;
    }
    event.Skip();
}
