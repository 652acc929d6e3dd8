#include "platform/WxSupport.h"

#include <wx/log.h>
#include <wx/menuitem.h>
#include <wx/string.h>

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

void ShowMenuItemKeyText(wxMenuItem* item, const std::string& keys)
{
#ifdef __WXGTK__
    GtkWidget* widget = item ? item->GetMenuItem() : nullptr;
    GtkWidget* label = widget ? gtk_bin_get_child(GTK_BIN(widget)) : nullptr;
    if (!label || !GTK_IS_LABEL(label))
        return;
    // The item's label moves into a box beside a dimmed text, the way GTK shows an item's key.
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
