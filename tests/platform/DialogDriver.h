#pragma once

// Drives the modal dialogs a test raises: steps run one after another on timer ticks, each against
// the dialog on top once it is on the screen, while the code under test waits in ShowModal. A dialog
// still open a while after the steps ran out, or after too many ticks, is ended (and the driver
// says so), so no test ever hangs.

#include <gtest/gtest.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/timer.h>

#include <gtk/gtk.h>

#include <functional>
#include <string>
#include <vector>

class DialogDriver : public wxTimer, public wxModalDialogHook
{
public:
    // A step answers true when it is done; false runs it again on the next tick.
    using Step = std::function<bool(wxDialog& top)>;

    explicit DialogDriver(std::vector<Step> steps) : mSteps(std::move(steps))
    {
        Register();
        Start(5);
    }
    ~DialogDriver() override
    {
        Stop();
        Unregister();
    }

    size_t StepsDone() const { return mNext; }
    // A dialog had to be ended by the driver.
    bool TimedOut() const { return mTimedOut; }
    // Every dialog that opened, in order.
    std::vector<wxDialog*> opened;

    void Notify() override
    {
        if (mOpen.empty())
            return;
        wxDialog& top = *mOpen.back();
        if (++mTicks > 4000)
        {
            mTimedOut = true;
            End(top);
            return;
        }
        if (!IsOnScreen(top))
            return;
        if (mNext < mSteps.size())
        {
            if (mSteps[mNext](top))
                ++mNext;
            return;
        }
        // The last step's click or key may still be on its way.
        if (++mTicksAfterSteps > 400)
        {
            mTimedOut = true;
            End(top);
        }
    }

    // Native message boxes are on the screen without wx knowing: ask the toolkit.
    static bool IsOnScreen(wxDialog& dialog)
    {
        GtkWidget* widget = dialog.GetHandle();
        return widget && gtk_widget_get_mapped(widget);
    }

    // Clicks the window as the user would, at its centre or at a point of its own. The press and
    // release go through the toolkit's event queue to the window itself, not through the shared
    // pointer: GUI tests run side by side on one display.
    static void Click(wxWindow* window, wxPoint at = wxDefaultPosition)
    {
        GtkWidget* widget = window->GetHandle();
        GdkWindow* target = GTK_IS_BUTTON(widget) ? gtk_button_get_event_window(GTK_BUTTON(widget))
                                                  : gtk_widget_get_window(widget);
        if (!target)
            return;
        GdkDevice* pointer = gdk_seat_get_pointer(gdk_display_get_default_seat(gdk_window_get_display(target)));
        const int x = at == wxDefaultPosition ? gdk_window_get_width(target) / 2 : at.x;
        const int y = at == wxDefaultPosition ? gdk_window_get_height(target) / 2 : at.y;
        int rootX = 0;
        int rootY = 0;
        gdk_window_get_root_coords(target, x, y, &rootX, &rootY);
        for (GdkEventType type : {GDK_ENTER_NOTIFY, GDK_BUTTON_PRESS, GDK_BUTTON_RELEASE})
        {
            GdkEvent* event = gdk_event_new(type);
            if (type == GDK_ENTER_NOTIFY)
            {
                event->crossing.window = GDK_WINDOW(g_object_ref(target));
                event->crossing.send_event = TRUE;
                event->crossing.time = GDK_CURRENT_TIME;
                event->crossing.x = x;
                event->crossing.y = y;
                event->crossing.x_root = rootX;
                event->crossing.y_root = rootY;
                event->crossing.mode = GDK_CROSSING_NORMAL;
                event->crossing.detail = GDK_NOTIFY_NONLINEAR;
            }
            else
            {
                event->button.window = GDK_WINDOW(g_object_ref(target));
                event->button.send_event = TRUE;
                event->button.time = GDK_CURRENT_TIME;
                event->button.x = x;
                event->button.y = y;
                event->button.x_root = rootX;
                event->button.y_root = rootY;
                event->button.button = 1;
                event->button.state = type == GDK_BUTTON_RELEASE ? GDK_BUTTON1_MASK : 0;
            }
            gdk_event_set_device(event, pointer);
            gdk_event_put(event);
            gdk_event_free(event);
        }
    }

    // Types a key into the dialog as the keyboard would, through the toolkit's event queue.
    static void Type(wxDialog& dialog, int key)
    {
        guint keyval;
        switch (key)
        {
        case WXK_RETURN:
            keyval = GDK_KEY_Return;
            break;
        case WXK_ESCAPE:
            keyval = GDK_KEY_Escape;
            break;
        default:
            keyval = gdk_unicode_to_keyval(guint32(key));
            break;
        }
        GdkWindow* target = gtk_widget_get_window(dialog.GetHandle());
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
            event->key.string = g_strdup("");
            event->key.length = 0;
            gdk_event_set_device(event, keyboard);
            gdk_event_put(event);
            gdk_event_free(event);
        }
    }

protected:
    int Enter(wxDialog* dialog) override
    {
        mOpen.push_back(dialog);
        opened.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override
    {
        for (auto it = mOpen.begin(); it != mOpen.end(); ++it)
            if (*it == dialog)
            {
                mOpen.erase(it);
                break;
            }
    }

private:
    static void End(wxDialog& dialog)
    {
        GtkWidget* widget = dialog.GetHandle();
        if (widget && GTK_IS_DIALOG(widget))
            gtk_dialog_response(GTK_DIALOG(widget), GTK_RESPONSE_CANCEL);
        else if (dialog.IsModal())
            dialog.EndModal(wxID_CANCEL);
    }

    std::vector<Step> mSteps;
    std::vector<wxDialog*> mOpen;
    size_t mNext = 0;
    int mTicks = 0;
    int mTicksAfterSteps = 0;
    bool mTimedOut = false;
};
