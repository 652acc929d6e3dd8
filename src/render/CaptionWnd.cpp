#include "render/CaptionWnd.h"

#include "render/NewView.h"

#include <wx/app.h>
#include <wx/dcbuffer.h>
#include <wx/renderer.h>
#include <wx/settings.h>
#include <wx/toplevel.h>

CaptionWnd::CaptionWnd(NewView* view)
    : wxWindow(view, 1, wxPoint(0, 0), wxSize(100, NewView::GetCaptionHeight()), wxFULL_REPAINT_ON_RESIZE),
      mView(view)
{
    SetName("View");
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &CaptionWnd::OnPaint, this);
    for (const wxEventTypeTag<wxMouseEvent>& type : {wxEVT_LEFT_DOWN, wxEVT_LEFT_DCLICK, wxEVT_LEFT_UP,
                                                     wxEVT_MIDDLE_DOWN, wxEVT_MIDDLE_DCLICK, wxEVT_RIGHT_DOWN,
                                                     wxEVT_RIGHT_DCLICK, wxEVT_MOTION})
        Bind(type, &CaptionWnd::OnMouse, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CaptionWnd::OnCaptureLost, this);
}

void CaptionWnd::OnPaint(wxPaintEvent& /*event*/)
{
    wxAutoBufferedPaintDC dc(this);
    const bool active = NewView::GetActiveView() == mView;
    const wxSize size = GetClientSize();
    wxRect rect(0, 0, size.x, size.y);
    const int reserved = std::min(mView->GetReservedCaptionWidth(), size.x);
    // GTK's caption colours are its window-frame greys: the active pane takes the selection colour.
    const wxColour from = wxSystemSettings::GetColour(active ? wxSYS_COLOUR_HIGHLIGHT : wxSYS_COLOUR_BTNSHADOW);
    const wxColour to = from.ChangeLightness(active ? 150 : 130);
    if (reserved > 0)
    {
        dc.SetBrush(wxBrush(from));
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.DrawRectangle(0, 0, reserved, size.y);
    }
    rect.x += reserved;
    rect.width -= reserved;
    if (rect.width > 0)
    {
        dc.GradientFillLinear(rect, from, to, wxEAST);
        dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
        dc.SetTextForeground(wxSystemSettings::GetColour(active ? wxSYS_COLOUR_HIGHLIGHTTEXT : wxSYS_COLOUR_BTNTEXT));
        const wxString title = wxString::FromUTF8(mView->GetTitle());
        const int textHeight = dc.GetCharHeight();
        dc.SetClippingRegion(rect);
        dc.DrawText(title, rect.x + 4 + GetTitleIndent(), rect.y + (rect.height - textHeight) / 2);
        dc.DestroyClippingRegion();
    }
    // Right to left.
    for (int i = 0; i < mView->GetButtonCount(); ++i)
    {
        wxRect button;
        mView->GetButtonRect(i, button, false);
        const bool pushed = mView->GetPressedButton() == i && mView->IsPressedInside();
        wxRendererNative::Get().DrawPushButton(this, dc, button, pushed ? int(wxCONTROL_PRESSED) : 0);
        const wxBitmap& icon = mView->GetButton(i).icon;
        if (icon.IsOk())
        {
            const int shift = pushed ? 3 : 2;
            dc.SetClippingRegion(button.x + shift, button.y + shift, 12, 11);
            dc.DrawBitmap(icon, button.x + shift, button.y + shift, true);
            dc.DestroyClippingRegion();
        }
    }
    PaintIndent(dc, size);
}

void CaptionWnd::OnMouse(wxMouseEvent& event)
{
    const wxPoint point = event.GetPosition();
    const wxEventType type = event.GetEventType();
    if (type == wxEVT_MOTION)
    {
        mView->TrackTitleButton(point);
        if (NewView::GetHintView() != mView)
        {
            NewView::sHintView = mView;
            NewView::UpdateMouseHints();
            NewView::UpdateModeCursor(mView->GetClientChild() ? mView->GetClientChild() : mView);
        }
        return;
    }
    if (type == wxEVT_LEFT_UP)
    {
        int under = -1;
        for (int i = 0; i < mView->GetButtonCount() && under < 0; ++i)
        {
            wxRect rect;
            mView->GetButtonRect(i, rect, false);
            if (rect.Contains(point))
                under = i;
        }
        mView->ReleaseTitleButton(under);
        return;
    }
    mView->Activate(true);
    if ((type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN) && OnCaptionPress(point))
        return;
    if (type != wxEVT_LEFT_DOWN && type != wxEVT_LEFT_DCLICK)
    {
        event.Skip();
        return;
    }
    if (wxWindow* top = wxGetTopLevelParent(mView))
        top->Raise();
    for (int i = 0; i < mView->GetButtonCount(); ++i)
    {
        wxRect rect;
        mView->GetButtonRect(i, rect, false);
        if (rect.Contains(point))
        {
            if (!HasCapture())
                CaptureMouse();
            mView->mPressedButton = i;
            mView->mPressedInside = true;
            mView->RedrawButton(i);
            break;
        }
    }
}

void CaptionWnd::OnCaptureLost(wxMouseCaptureLostEvent& /*event*/)
{
    mView->mPressedButton = -1;
    mView->mPressedInside = false;
    Refresh();
}
