#pragma once

// Mouse and keyboard input for GUI tests, put into the toolkit's event queue aimed at one window, as
// the user's pointer and keyboard would deliver it there. The shared pointer is never moved, so tests
// that run side by side on one display do not disturb each other. Pump events to deliver them.

#include <wx/window.h>

#include <gtk/gtk.h>

namespace GuiInput
{
enum Modifier
{
    kShift = GDK_SHIFT_MASK,
    kCtrl = GDK_CONTROL_MASK,
};

// The toolkit window that receives a wx window's mouse events.
inline GdkWindow* MouseWindow(wxWindow* window)
{
    GtkWidget* widget = window->m_wxwindow ? window->m_wxwindow : window->m_widget;
    return widget ? gtk_widget_get_window(widget) : nullptr;
}

inline void PutMouse(wxWindow* window, GdkEventType type, wxPoint at, unsigned state, unsigned button = 1)
{
    GdkWindow* target = MouseWindow(window);
    if (!target)
        return;
    GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(target)));
    int rootX = 0;
    int rootY = 0;
    gdk_window_get_root_coords(target, at.x, at.y, &rootX, &rootY);
    GdkEvent* event = gdk_event_new(type);
    if (type == GDK_ENTER_NOTIFY)
    {
        event->crossing.window = GDK_WINDOW(g_object_ref(target));
        event->crossing.send_event = TRUE;
        event->crossing.time = GDK_CURRENT_TIME;
        event->crossing.x = at.x;
        event->crossing.y = at.y;
        event->crossing.x_root = rootX;
        event->crossing.y_root = rootY;
        event->crossing.mode = GDK_CROSSING_NORMAL;
        event->crossing.detail = GDK_NOTIFY_NONLINEAR;
        event->crossing.state = state;
    }
    else if (type == GDK_MOTION_NOTIFY)
    {
        event->motion.window = GDK_WINDOW(g_object_ref(target));
        event->motion.send_event = TRUE;
        event->motion.time = GDK_CURRENT_TIME;
        event->motion.x = at.x;
        event->motion.y = at.y;
        event->motion.x_root = rootX;
        event->motion.y_root = rootY;
        event->motion.state = state;
    }
    else
    {
        event->button.window = GDK_WINDOW(g_object_ref(target));
        event->button.send_event = TRUE;
        event->button.time = GDK_CURRENT_TIME;
        event->button.x = at.x;
        event->button.y = at.y;
        event->button.x_root = rootX;
        event->button.y_root = rootY;
        event->button.button = button;
        event->button.state = state;
    }
    gdk_event_set_device(event, pointer);
    gdk_event_put(event);
    gdk_event_free(event);
}

// A left click at a point of the window's client area, with Shift or Ctrl held when asked.
inline void Click(wxWindow* window, wxPoint at, unsigned modifiers = 0)
{
    PutMouse(window, GDK_ENTER_NOTIFY, at, modifiers);
    PutMouse(window, GDK_MOTION_NOTIFY, at, modifiers);
    PutMouse(window, GDK_BUTTON_PRESS, at, modifiers);
    PutMouse(window, GDK_BUTTON_RELEASE, at, modifiers | GDK_BUTTON1_MASK);
}

// Two left clicks in quick succession, as the toolkit reports a double click.
inline void DoubleClick(wxWindow* window, wxPoint at)
{
    Click(window, at);
    PutMouse(window, GDK_BUTTON_PRESS, at, 0);
    PutMouse(window, GDK_2BUTTON_PRESS, at, 0);
    PutMouse(window, GDK_BUTTON_RELEASE, at, GDK_BUTTON1_MASK);
}

inline void Press(wxWindow* window, wxPoint at)
{
    PutMouse(window, GDK_ENTER_NOTIFY, at, 0);
    PutMouse(window, GDK_MOTION_NOTIFY, at, 0);
    PutMouse(window, GDK_BUTTON_PRESS, at, 0);
}

// Moves the pointer with the left button held; the point may lie outside the window.
inline void DragTo(wxWindow* window, wxPoint at)
{
    PutMouse(window, GDK_MOTION_NOTIFY, at, GDK_BUTTON1_MASK);
}

inline void Release(wxWindow* window, wxPoint at)
{
    PutMouse(window, GDK_BUTTON_RELEASE, at, GDK_BUTTON1_MASK);
}

inline void MoveTo(wxWindow* window, wxPoint at)
{
    PutMouse(window, GDK_ENTER_NOTIFY, at, 0);
    PutMouse(window, GDK_MOTION_NOTIFY, at, 0);
}

// A key pressed and let go in the window's top-level window, which hands it to the focus.
inline void Key(wxWindow* window, guint keyval, unsigned modifiers = 0)
{
    GdkWindow* target = gtk_widget_get_window(gtk_widget_get_toplevel(window->m_widget));
    if (!target)
        return;
    GdkDisplay* display = gdk_window_get_display(target);
    GdkDevice* keyboard = gdk_seat_get_keyboard(gdk_display_get_default_seat(display));
    guint16 keycode = 0;
    GdkKeymapKey* keys = nullptr;
    gint count = 0;
    if (gdk_keymap_get_entries_for_keyval(gdk_keymap_get_for_display(display), keyval, &keys, &count) && count)
        keycode = guint16(keys[0].keycode);
    g_free(keys);
    for (GdkEventType type : {GDK_KEY_PRESS, GDK_KEY_RELEASE})
    {
        GdkEvent* event = gdk_event_new(type);
        event->key.window = GDK_WINDOW(g_object_ref(target));
        event->key.send_event = TRUE;
        event->key.time = GDK_CURRENT_TIME;
        event->key.keyval = keyval;
        event->key.hardware_keycode = keycode;
        event->key.state = modifiers;
        const gunichar c = gdk_keyval_to_unicode(keyval);
        gchar text[8] = {};
        const gint length = c ? g_unichar_to_utf8(c, text) : 0;
        event->key.string = g_strndup(text, gsize(length));
        event->key.length = length;
        gdk_event_set_device(event, keyboard);
        gdk_event_put(event);
        gdk_event_free(event);
    }
}
}  // namespace GuiInput
