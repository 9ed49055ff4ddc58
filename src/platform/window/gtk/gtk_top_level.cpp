// The signals of a top-level window: keys, buttons, focus, close, geometry, the menu loop and
// the painting of the client area. Each handler runs inside the backend's Pump (GTK dispatches
// only there) and posts what the user did; geometry is kept for Pump to report.
#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/gtk/gtk_keys.h"
#include "platform/window/window_system.h"

#include <gtk/gtk.h>

bool Is_Full_Screen_Style(const Window_Record& record)
{
    return (record.Style & WS_POPUP) != 0 && (record.Style & WS_CAPTION) != WS_CAPTION;
}

namespace {

using Top = Gtk_Backend::Top_Level;

LPARAM Pack(int low, int high)
{
    return MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high));
}

gboolean On_Key(GtkWidget*, GdkEventKey* event, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    // The key without Shift, so that the accelerator table sees the key, not the character.
    guint keyval = event->keyval;
    gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(gdk_window_get_display(event->window)),
                                        event->hardware_keycode, static_cast<GdkModifierType>(0), 0, &keyval,
                                        nullptr, nullptr, nullptr);
    const int key = Virtual_Key_Of(keyval);
    if (key == 0) {
        return FALSE;
    }
    const DWORD modifiers = Modifiers_Of(event->state);
    top.Backend->Windows().Post_Key(top.Handle, key, modifiers);
    // Alt+letter and F10 also open the menu bar's menus, as its mnemonics do.
    const bool menu_key =
        top.Menu_Bar != nullptr &&
        ((modifiers == Modifier_Alt && key >= 'A' && key <= 'Z') || (modifiers == 0 && key == VK_F1 + 9));
    return menu_key ? FALSE : TRUE;
}

gboolean On_Button(GtkWidget*, GdkEventButton* event, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    if (event->type != GDK_BUTTON_PRESS && event->type != GDK_BUTTON_RELEASE) {
        return FALSE; // double and triple clicks come as presses as well
    }
    const int scale = top.Backend->Scale();
    const int x = static_cast<int>(event->x * scale), y = static_cast<int>(event->y * scale);
    Window_System& windows = top.Backend->Windows();
    if (event->type == GDK_BUTTON_PRESS) {
        top.Backend->Keep_Button_Event(reinterpret_cast<GdkEvent*>(event));
        if (event->button == 1 || event->button == 3) {
            windows.Post_Click(top.Handle, event->button == 1 ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, x, y);
        }
    } else if (event->button == 3) {
        // The platform asks for a context menu when the right button comes up.
        windows.Post_Message(
            top.Handle, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(top.Handle),
            Pack(static_cast<int>(event->x_root * scale), static_cast<int>(event->y_root * scale)));
    }
    return TRUE;
}

gboolean On_Configure(GtkWidget*, GdkEventConfigure* event, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    const int scale = top.Backend->Scale();
    top.Reported = RECT{event->x * scale, event->y * scale, (event->x + event->width) * scale,
                        (event->y + event->height) * scale};
    top.Reported_New = true;
    return FALSE;
}

gboolean On_Window_State(GtkWidget*, GdkEventWindowState* event, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    if (event->changed_mask & GDK_WINDOW_STATE_ICONIFIED) {
        top.Iconified_Reported = (event->new_window_state & GDK_WINDOW_STATE_ICONIFIED) != 0;
        top.Iconified_New = true;
    }
    return FALSE;
}

gboolean On_Delete(GtkWidget*, GdkEvent*, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    top.Backend->Windows().Post_Message(top.Handle, WM_CLOSE, 0, 0);
    return TRUE; // the program destroys the window, or not
}

gboolean On_Focus(GtkWidget*, GdkEventFocus*, gpointer data)
{
    static_cast<Top*>(data)->Backend->Activity_Changed();
    return FALSE;
}

gboolean On_Draw(GtkWidget* area, cairo_t* cr, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    const int scale = top.Backend->Scale();
    cairo_scale(cr, 1.0 / scale, 1.0 / scale);
    top.Image.Paint(cr, gtk_widget_get_allocated_width(area) * scale,
                    gtk_widget_get_allocated_height(area) * scale);
    top.Backend->Frame_Shown();
    return TRUE;
}

void On_Area_Allocated(GtkWidget*, GdkRectangle* allocation, gpointer data)
{
    auto& top = *static_cast<Top*>(data);
    top.Backend->Area_Resized(top, allocation->width, allocation->height);
}

} // namespace

void Connect_Top_Level_Signals(Top& top)
{
    GtkWidget* window = top.Window;
    gtk_widget_add_events(window, GDK_KEY_PRESS_MASK | GDK_STRUCTURE_MASK | GDK_FOCUS_CHANGE_MASK);
    gtk_widget_add_events(top.Area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK);
    g_signal_connect(window, "key-press-event", G_CALLBACK(On_Key), &top);
    g_signal_connect(window, "configure-event", G_CALLBACK(On_Configure), &top);
    g_signal_connect(window, "window-state-event", G_CALLBACK(On_Window_State), &top);
    g_signal_connect(window, "delete-event", G_CALLBACK(On_Delete), &top);
    g_signal_connect_after(window, "focus-in-event", G_CALLBACK(On_Focus), &top);
    g_signal_connect_after(window, "focus-out-event", G_CALLBACK(On_Focus), &top);
    g_signal_connect(top.Area, "button-press-event", G_CALLBACK(On_Button), &top);
    g_signal_connect(top.Area, "button-release-event", G_CALLBACK(On_Button), &top);
    g_signal_connect(top.Area, "draw", G_CALLBACK(On_Draw), &top);
    g_signal_connect(top.Area, "size-allocate", G_CALLBACK(On_Area_Allocated), &top);
}
