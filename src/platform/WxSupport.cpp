#include "platform/WxSupport.h"

#include <wx/accel.h>
#include <wx/log.h>
#include <wx/menuitem.h>
#include <wx/string.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>

#ifdef __WXGTK__
#include <gtk/gtk.h>
#endif

namespace
{
void AssertToStderr(const wxString& file, int line, const wxString& func, const wxString& cond,
                    const wxString& msg)
{
    std::fprintf(stderr, "wx assert failed: %s(%d) in %s: %s %s\n", file.utf8_str().data(), line,
                 func.utf8_str().data(), cond.utf8_str().data(), msg.utf8_str().data());
    std::fflush(stderr);
    if (std::getenv("ORVANE_FATAL_ASSERTS"))
        std::abort();
}
}  // namespace

void PreferX11Backend()
{
    setenv("GDK_BACKEND", "x11", 0);
}

void InstallStderrDiagnostics()
{
    delete wxLog::SetActiveTarget(new wxLogStderr);
    wxSetAssertHandler(AssertToStderr);
}

void EnableMenuImages()
{
#ifdef __WXGTK__
    // Deprecated in GTK 3.10 but still honoured; there is no other switch for menu images.
    if (GtkSettings* settings = gtk_settings_get_default())
        g_object_set(settings, "gtk-menu-images", TRUE, nullptr);
#endif
}

namespace
{
#ifdef __WXGTK__
// The toolkit's key for one of ours; 0 for none.
guint GdkKey(int code)
{
    switch (code)
    {
    case WXK_ESCAPE:
        return GDK_KEY_Escape;
    case WXK_UP:
        return GDK_KEY_Up;
    case WXK_DOWN:
        return GDK_KEY_Down;
    case WXK_LEFT:
        return GDK_KEY_Left;
    case WXK_RIGHT:
        return GDK_KEY_Right;
    case WXK_HOME:
        return GDK_KEY_Home;
    case WXK_END:
        return GDK_KEY_End;
    case WXK_PAGEUP:
        return GDK_KEY_Page_Up;
    case WXK_PAGEDOWN:
        return GDK_KEY_Page_Down;
    case WXK_DELETE:
        return GDK_KEY_Delete;
    case WXK_BACK:
        return GDK_KEY_BackSpace;
    case WXK_RETURN:
        return GDK_KEY_Return;
    case WXK_TAB:
        return GDK_KEY_Tab;
    default:
        break;
    }
    if (code >= WXK_F1 && code <= WXK_F12)
        return GDK_KEY_F1 + guint(code - WXK_F1);
    if (code > ' ' && code < 127)
        return gdk_unicode_to_keyval(guint32(std::tolower(code)));
    return 0;
}
#endif
}  // namespace

void ShowMenuItemKeyText(wxMenuItem* item, const std::string& keys)
{
#ifdef __WXGTK__
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    GtkWidget* label = widget ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
    if (!label || !GTK_IS_ACCEL_LABEL(label))
        return;
    // A real key: the label shows it as the item's key would be shown, and keeps it when the
    // item's text changes.
    wxAcceleratorEntry entry;
    bool range = false;
    for (size_t i = 1; i + 1 < keys.size(); ++i)
        range = range || (keys[i] == '-' && std::isdigit(static_cast<unsigned char>(keys[i - 1])) &&
                          std::isdigit(static_cast<unsigned char>(keys[i + 1])));
    const guint key = !range && entry.FromString(wxString::FromUTF8(keys)) ? GdkKey(entry.GetKeyCode()) : 0;
    if (key)
    {
        int mods = 0;
        if (entry.GetFlags() & wxACCEL_CTRL)
            mods |= GDK_CONTROL_MASK;
        if (entry.GetFlags() & wxACCEL_SHIFT)
            mods |= GDK_SHIFT_MASK;
        if (entry.GetFlags() & wxACCEL_ALT)
            mods |= GDK_MOD1_MASK;
        gtk_accel_label_set_accel(GTK_ACCEL_LABEL(label), key, GdkModifierType(mods));
        return;
    }
    // Anything else stands beside the item's label in a box; the item's text must not change.
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 0);
    g_object_ref(label);
    gtk_container_remove(GTK_CONTAINER(widget), label);
    gtk_box_pack_start(GTK_BOX(box), label, TRUE, TRUE, 0);
    g_object_unref(label);
    GtkWidget* keyText = gtk_label_new(keys.c_str());
    gtk_widget_set_opacity(keyText, 0.55);
    gtk_widget_set_margin_start(keyText, 24);
    gtk_box_pack_end(GTK_BOX(box), keyText, FALSE, FALSE, 0);
    gtk_container_add(GTK_CONTAINER(widget), box);
    gtk_widget_show_all(box);
#else
    (void)item;
    (void)keys;
#endif
}
