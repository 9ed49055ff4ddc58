// A popup menu shown at a point of a window: it runs its own nested main loop until an item is
// chosen or the menu is dismissed; a close request (a signal) ends it.
#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/gtk/gtk_menus.h"
#include "platform/window/gtk/gtk_top_level.h"

#include <gtk/gtk.h>

UINT Gtk_Backend::Track_Popup_Menu(HMENU menu, int x, int y, const Window_Record& owner)
{
    if (Connection_Lost) {
        return 0;
    }
    UINT chosen = 0;
    Gtk_Menu_View view(*System, menu, false, [&chosen](UINT id) { chosen = id; });
    GtkWidget* popup = view.Widget();
    bool open = true;
    g_signal_connect_swapped(popup, "deactivate", G_CALLBACK(+[](bool* flag) { *flag = false; }), &open);
    Top_Level* top = Top(owner.Handle);
    GdkWindow* relative = top != nullptr ? gtk_widget_get_window(top->Window) : nullptr;
    if (relative != nullptr) {
        gtk_menu_attach_to_widget(GTK_MENU(popup), top->Window, nullptr);
        int origin_x = 0, origin_y = 0;
        gdk_window_get_origin(relative, &origin_x, &origin_y);
        const GdkRectangle at{x / Scale_Factor - origin_x, y / Scale_Factor - origin_y, 1, 1};
        gtk_menu_popup_at_rect(GTK_MENU(popup), relative, &at, GDK_GRAVITY_NORTH_WEST, GDK_GRAVITY_NORTH_WEST,
                               Last_Press);
    } else {
        gtk_menu_popup_at_pointer(GTK_MENU(popup), Last_Press);
    }
    Set_Native_Modal(popup, Native_Kind::Menu);
    Run_Nested_Loop([&open, popup] { return !open || !gtk_widget_get_visible(popup); });
    Set_Native_Modal(nullptr, Native_Kind::Menu);
    if (!Connection_Lost && top != nullptr) {
        gtk_menu_detach(GTK_MENU(popup));
    }
    return chosen;
}
