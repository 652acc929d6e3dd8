#include "platform/MenuPictureChecks.h"

#include <wx/dcmemory.h>
#include <wx/graphics.h>
#include <wx/menu.h>
#include <wx/settings.h>

#include <gtk/gtk.h>

#include <algorithm>
#include <memory>

namespace
{
constexpr const char* kDataKey = "orvane-picture-check";

struct PictureCheck
{
    wxBitmap plain;
    wxBitmap checked;
    bool isChecked = false;
};

void DeletePictureCheck(gpointer data)
{
    delete static_cast<PictureCheck*>(data);
}

PictureCheck* FindPictureCheck(const wxMenuItem* item)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    return widget ? static_cast<PictureCheck*>(g_object_get_data(G_OBJECT(widget), kDataKey)) : nullptr;
}

// Opens the event's protected check request to clearing, without a copy of the event.
struct UpdateUIEventAccess : wxUpdateUIEvent
{
    static bool wxUpdateUIEvent::*CheckRequest() { return &UpdateUIEventAccess::m_setChecked; }
};
}  // namespace

wxBitmap MakeCheckedPicture(const wxBitmap& picture)
{
    if (!picture.IsOk())
        return picture;
    wxImage image(picture.GetWidth(), picture.GetHeight());
    image.InitAlpha();
    std::fill(image.GetAlpha(), image.GetAlpha() + image.GetWidth() * image.GetHeight(), 0);
    wxBitmap out(image);
    {
        wxMemoryDC dc(out);
        std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(dc));
        if (gc)
        {
            const wxColour highlight = wxSystemSettings::GetColour(wxSYS_COLOUR_HIGHLIGHT);
            gc->SetPen(wxPen(highlight, 1));
            gc->SetBrush(wxBrush(wxColour(highlight.Red(), highlight.Green(), highlight.Blue(), 110)));
            gc->DrawRoundedRectangle(0.5, 0.5, picture.GetWidth() - 1.0, picture.GetHeight() - 1.0, 2.0);
            gc->DrawBitmap(picture, 0, 0, picture.GetWidth(), picture.GetHeight());
        }
    }
    return out;
}

void MakePictureCheckItem(wxMenuItem* item, const wxBitmap& picture)
{
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    if (!widget || !picture.IsOk())
        return;
    auto* check = new PictureCheck{picture, MakeCheckedPicture(picture), false};
    g_object_set_data_full(G_OBJECT(widget), kDataKey, check, &DeletePictureCheck);
}

bool IsPictureCheckItem(const wxMenuItem* item)
{
    return FindPictureCheck(item) != nullptr;
}

bool IsPictureCheckItemChecked(const wxMenuItem* item)
{
    const PictureCheck* check = FindPictureCheck(item);
    return check && check->isChecked;
}

void SetPictureCheckItemChecked(wxMenuItem* item, bool checked)
{
    PictureCheck* check = FindPictureCheck(item);
    if (!check || check->isChecked == checked)
        return;
    check->isChecked = checked;
    item->SetBitmap(checked ? check->checked : check->plain);
    // The toolkit reads an item's picture only when it makes the item; give the widget the new one.
    wxMenu* menu = item->GetMenu();
    item->SetupBitmaps(menu ? menu->GetWindow() : nullptr);
}

bool TakePictureCheckFromUpdate(wxUpdateUIEvent& event)
{
    if (!event.GetSetChecked())
        return false;
    wxMenu* menu = wxDynamicCast(event.GetEventObject(), wxMenu);
    wxMenuItem* item = menu ? menu->FindChildItem(event.GetId()) : nullptr;
    if (!item || !IsPictureCheckItem(item))
        return false;
    SetPictureCheckItemChecked(item, event.GetChecked());
    event.*UpdateUIEventAccess::CheckRequest() = false;
    return true;
}
