#include "platform/DialogUtils.h"

#include <wx/dcclient.h>
#include <wx/display.h>
#include <wx/odcombo.h>
#include <wx/settings.h>
#include <wx/window.h>

#include <algorithm>

void PlaceDialog(wxWindow* window, const int* position, const int* size, wxWindow* reference)
{
    if (!window)
        return;
    if (position && position[0] >= 0)
    {
        if (size && size[0] > 0)
            window->SetSize(position[0], position[1], size[0], size[1]);
        else
            window->Move(position[0], position[1]);
    }
    else if (reference)
        window->Move(reference->GetScreenPosition());
}

void GetWindowPosSize(const wxWindow* window, int* position, int* size)
{
    if (!window)
        return;
    if (position)
    {
        const wxPoint p = window->GetScreenPosition();
        position[0] = p.x;
        position[1] = p.y;
    }
    if (size)
    {
        const wxSize s = window->GetSize();
        size[0] = s.x;
        size[1] = s.y;
    }
}

wxSize MeasureTextGuiFont(wxWindow* window, const std::string& text, int extraHeight)
{
    wxCoord width = 0;
    wxCoord height = 0;
    if (window)
    {
        wxClientDC dc(window);
        dc.SetFont(wxSystemSettings::GetFont(wxSYS_DEFAULT_GUI_FONT));
        dc.GetMultiLineTextExtent(wxString::FromUTF8(text), &width, &height);
    }
    return wxSize(width, height + extraHeight);
}

int FitComboDropWidth(wxOwnerDrawnComboBox* combo)
{
    if (!combo)
        return 0;
    wxClientDC dc(combo);
    dc.SetFont(combo->GetFont());
    int widest = 1;
    for (unsigned int i = 0; i < combo->GetCount(); ++i)
        widest = std::max(widest, dc.GetTextExtent(combo->GetString(i)).x);
    const int extent = widest + 5;
    const int edge = std::max(wxSystemSettings::GetMetric(wxSYS_EDGE_X, combo), 0);
    int width = extent + 2 * edge + wxSystemSettings::GetMetric(wxSYS_VSCROLL_X, combo);
    const int display = wxDisplay::GetFromWindow(combo);
    const wxRect screen = wxDisplay(display == wxNOT_FOUND ? 0u : unsigned(display)).GetGeometry();
    width = std::max(1, std::min(width, screen.GetRight() + 1 - combo->GetScreenPosition().x));
    combo->SetPopupMinWidth(width);
    return width;
}
