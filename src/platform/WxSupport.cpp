#include "platform/WxSupport.h"

#include <wx/log.h>
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
