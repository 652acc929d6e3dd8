#include "platform/DialogUtils.h"

#include <wx/dcclient.h>
#include <wx/settings.h>
#include <wx/window.h>

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
