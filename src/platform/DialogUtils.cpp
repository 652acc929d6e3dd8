#include "platform/DialogUtils.h"

#include "kernel/Strings.h"

#include <wx/dc.h>
#include <wx/dcclient.h>
#include <wx/dcmemory.h>
#include <wx/display.h>
#include <wx/odcombo.h>
#include <wx/settings.h>
#include <wx/spinbutt.h>
#include <wx/textctrl.h>
#include <wx/toplevel.h>
#include <wx/window.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace
{
// The desktop's usable area on the screen that shows the window.
wxRect DesktopArea(const wxWindow* window)
{
    const int index = window ? wxDisplay::GetFromWindow(window) : wxNOT_FOUND;
    return wxDisplay(index == wxNOT_FOUND ? 0u : unsigned(index)).GetClientArea();
}

std::vector<wxString> SplitLines(const wxString& text)
{
    std::vector<wxString> lines(1);
    for (wxUniChar c : text)
    {
        if (c == '\n')
            lines.emplace_back();
        else
            lines.back() += c;
    }
    return lines;
}

wxSize MeasureLines(wxDC& dc, const std::vector<wxString>& lines)
{
    wxSize total(0, 0);
    for (const wxString& line : lines)
    {
        const wxSize size = dc.GetTextExtent(line.empty() ? wxString(" ") : line);
        total.x = std::max(total.x, size.x);
        total.y += size.y;
    }
    return total;
}
}  // namespace

void PlaceDialog(wxWindow* window, const int* position, const int* size, wxWindow* reference, FirstPlacement first)
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
    else if (first == FirstPlacement::kInCorner)
        PlaceInCorner(window, reference);
    else if (reference)
        window->Move(reference->GetScreenPosition());
}

void PlaceInCorner(wxWindow* window, wxWindow* reference)
{
    if (!window)
        return;
    if (!reference)
        reference = window->GetParent();
    // A frame's client area already ends above its status bar.
    const wxRect area = reference ? wxRect(reference->ClientToScreen(wxPoint(0, 0)), reference->GetClientSize())
                                  : DesktopArea(window);
    wxRect r(window->GetScreenPosition(), window->GetSize());
    if (r.width < area.width)
        r.x = area.GetRight() + 1 - r.width;
    if (r.height < area.height)
        r.y = area.GetBottom() + 1 - r.height;

    const wxRect desktop = DesktopArea(reference ? reference : window);
    if (r.GetRight() > desktop.GetRight())
        r.x = desktop.GetRight() + 1 - r.width;
    if (r.x < desktop.x)
        r.x = desktop.x;
    if (r.GetBottom() > desktop.GetBottom())
        r.y = desktop.GetBottom() + 1 - r.height;
    if (r.y < desktop.y)
        r.y = desktop.y;

    if (!window->IsTopLevel() && window->GetParent())
        window->Move(window->GetParent()->ScreenToClient(r.GetPosition()));
    else
        window->Move(r.GetPosition());
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

wxSize MeasureTextLines(wxDC& dc, const wxFont& font, const std::string& text)
{
    dc.SetFont(font);
    return MeasureLines(dc, SplitLines(wxString::FromUTF8(text)));
}

wxSize MeasureTextLinesEllipsis(wxDC& dc, const wxFont& font, int maxWidth, std::string& text)
{
    dc.SetFont(font);
    const int room = maxWidth - dc.GetTextExtent("....").x;
    std::vector<wxString> lines = SplitLines(wxString::FromUTF8(text));
    if (room <= 5)
        lines.assign(1, wxString());
    else
        for (wxString& line : lines)
        {
            // A character stays while the text before it is narrower than the room.
            size_t kept = 0;
            while (kept < line.length() && dc.GetTextExtent(line.Left(kept)).x < room)
                ++kept;
            if (kept < line.length())
                line = line.Left(kept) + "...";
        }
    wxString joined;
    for (size_t i = 0; i < lines.size(); ++i)
        joined += (i ? "\n" : "") + lines[i];
    text = joined.utf8_string();
    return MeasureLines(dc, lines);
}

void SetWindowTextNumber(wxWindow* window, double value, int decimals)
{
    if (!window)
        return;
    char text[400];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    TrimTrailingZeros(text);
    if (auto* edit = dynamic_cast<wxTextCtrl*>(window))
        edit->ChangeValue(text);
    else
        window->SetLabel(text);
}

void StepDlgItemNumber(wxTextCtrl* edit, int direction, double step, double minimum, double maximum, int decimals)
{
    if (!edit)
        return;
    double value = std::atof(edit->GetValue().Left(80).utf8_string().c_str());
    if (direction != 0 && step > 0.0)
    {
        // Onto the multiple of the step one step away, so uneven values are tidied as they move.
        const double n = std::round((value + direction * step) / step);
        value = step * n;
    }
    value = std::min(std::max(value, minimum), maximum);
    SetWindowTextNumber(edit, value, decimals);
}

void BindSpinStep(wxSpinButton* spin, wxTextCtrl* edit, double step, double minimum, double maximum, int decimals)
{
    if (!spin || !edit)
        return;
    // The button keeps no position of its own: each press steps the box and is refused.
    spin->SetRange(-1000, 1000);
    spin->SetValue(0);
    auto stepped = [=](int direction) {
        return [=](wxSpinEvent& event) {
            StepDlgItemNumber(edit, direction, step, minimum, maximum, decimals);
            event.Veto();
        };
    };
    spin->Bind(wxEVT_SPIN_UP, stepped(+1));
    spin->Bind(wxEVT_SPIN_DOWN, stepped(-1));
}

int FindComboItemByData(const wxItemContainer* combo, intptr_t value)
{
    if (!combo || !combo->HasClientUntypedData())
        return -1;
    for (unsigned i = 0; i < combo->GetCount(); ++i)
        if (reinterpret_cast<intptr_t>(combo->GetClientData(i)) == value)
            return int(i);
    return -1;
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

bool MenuTextEquals(const std::string& menuText, const std::string& text)
{
    size_t j = 0;
    for (char c : menuText)
    {
        if (c == '&')
            continue;
        if (j >= text.size() || text[j] != c)
            return false;
        ++j;
    }
    return j == text.size();
}

void DrawBitmap(wxDC& dc, const wxBitmap& bitmap, int x, int y, int sourceLeft, int sourceTop, int width, int height)
{
    if (!bitmap.IsOk())
        return;
    wxMemoryDC source;
    source.SelectObjectAsSource(bitmap);
    source.SetMapMode(dc.GetMapMode());
    const wxSize size(source.DeviceToLogicalXRel(bitmap.GetWidth()), source.DeviceToLogicalYRel(bitmap.GetHeight()));
    dc.Blit(x, y, width < 0 ? size.x : width, height < 0 ? size.y : height, &source, sourceLeft < 0 ? 0 : sourceLeft,
            sourceTop < 0 ? 0 : sourceTop);
    source.SelectObject(wxNullBitmap);
}
