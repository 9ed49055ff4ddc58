// How a top-level window record is shown: its title, menu bar, decoration, stacking, geometry,
// visibility and cursor are applied where they differ from what the GtkWindow shows, and what the
// window manager or the user made of its geometry is reported back to the window records.
#include "platform/window/gtk/gtk_backend.h"

#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/window_system.h"

#include <algorithm>
#include <gtk/gtk.h>

namespace {

// A geometry request the window manager has not answered within this time is taken as refused:
// what it reports from then on is the truth.
constexpr int64_t Request_Patience_Microseconds = 300000;

} // namespace

void Gtk_Backend::Apply(Top_Level& top, const Window_Record& record, unsigned)
{
    GtkWindow* window = GTK_WINDOW(top.Window);
    if (record.Text != top.Title || top.Title.empty()) {
        top.Title = record.Text;
        gtk_window_set_title(window, top.Title.c_str());
    }
    if (record.Menu != (top.Menu_Bar ? top.Menu_Bar->Menu() : nullptr)) {
        Apply_Menu(top, record);
    }
    const bool full_screen = Is_Full_Screen_Style(record);
    if (top.Decorated == full_screen) {
        top.Decorated = !full_screen;
        gtk_window_set_decorated(window, top.Decorated);
    }
    const bool above = (record.Ex_Style & WS_EX_TOPMOST) != 0;
    if (above != top.Kept_Above) {
        top.Kept_Above = above;
        gtk_window_set_keep_above(window, above);
    }
    Apply_Geometry(top, record);
    // Where a window manager runs it keeps the window over the monitor; where none runs the
    // undecorated window moved and sized to the monitor does the same. The menu bar is not
    // shown there: the frames own the whole screen.
    const bool covers = Covers_Screen(record);
    if (covers != top.Full_Screen) {
        top.Full_Screen = covers;
        covers ? gtk_window_fullscreen(window) : gtk_window_unfullscreen(window);
        Show_Menu_Bar(top);
    }
    const bool visible = (record.Style & WS_VISIBLE) != 0;
    if (visible != top.Visible) {
        top.Visible = visible;
        visible ? gtk_widget_show(top.Window) : gtk_widget_hide(top.Window);
        if (visible) {
            Set_Cursor(top);
        }
    }
    if (record.Minimised != top.Iconified) {
        top.Iconified = record.Minimised;
        top.Iconified ? gtk_window_iconify(window) : gtk_window_deiconify(window);
    }
}

bool Gtk_Backend::Covers_Screen(const Window_Record& record)
{
    const SIZE screen = Screen_Size();
    return Is_Full_Screen_Style(record) && record.Rect.left <= 0 && record.Rect.top <= 0 &&
           record.Rect.right >= screen.cx && record.Rect.bottom >= screen.cy;
}

void Gtk_Backend::Show_Menu_Bar(Top_Level& top)
{
    if (top.Menu_Bar) {
        gtk_widget_set_visible(top.Menu_Bar->Widget(), !top.Full_Screen);
    }
}

void Gtk_Backend::Set_Cursor(Top_Level& top)
{
    GdkWindow* window = gtk_widget_get_window(top.Window);
    if (window == nullptr) {
        return;
    }
    GdkCursor* blank =
        Cursor_Visible ? nullptr : gdk_cursor_new_for_display(gdk_display_get_default(), GDK_BLANK_CURSOR);
    gdk_window_set_cursor(window, blank);
    if (blank != nullptr) {
        g_object_unref(blank);
    }
}

void Gtk_Backend::Apply_Geometry(Top_Level& top, const Window_Record& record)
{
    const RECT& rect = record.Rect;
    if (Same_Rect(rect, top.Applied) || Rect_Width(rect) <= 0 || Rect_Height(rect) <= 0) {
        return;
    }
    top.Applied = rect;
    top.Request_Time = g_get_monotonic_time();
    gtk_window_move(GTK_WINDOW(top.Window), rect.left / Scale_Factor, rect.top / Scale_Factor);
    gtk_window_resize(GTK_WINDOW(top.Window), std::max<LONG>(1, Rect_Width(rect) / Scale_Factor),
                      std::max<LONG>(1, Rect_Height(rect) / Scale_Factor));
}

namespace {

struct Menu_Loop {
    static void Shown(GtkWidget*, gpointer data)
    {
        auto& top = *static_cast<Gtk_Backend::Top_Level*>(data);
        if (top.Open_Menus++ == 0) {
            top.Backend->Windows().Post_Message(top.Handle, WM_ENTERMENULOOP, FALSE, 0);
        }
    }
    static void Hidden(GtkWidget*, gpointer data)
    {
        auto& top = *static_cast<Gtk_Backend::Top_Level*>(data);
        if (top.Open_Menus > 0 && --top.Open_Menus == 0) {
            top.Backend->Windows().Post_Message(top.Handle, WM_EXITMENULOOP, FALSE, 0);
        }
    }
};

} // namespace

void Gtk_Backend::Apply_Menu(Top_Level& top, const Window_Record& record)
{
    if (top.Open_Menus > 0) {
        top.Open_Menus = 0;
        System->Post_Message(top.Handle, WM_EXITMENULOOP, FALSE, 0);
    }
    top.Menu_Bar.reset();
    top.Menu_Height = 0;
    if (record.Menu == nullptr || System->Find_Menu(record.Menu) == nullptr) {
        return;
    }
    HWND handle = top.Handle;
    top.Menu_Bar = std::make_unique<Gtk_Menu_View>(*System, record.Menu, true, [this, handle](UINT id) {
        System->Post_Message(handle, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 0), 0);
    });
    GtkWidget* bar = top.Menu_Bar->Widget();
    gtk_box_pack_start(GTK_BOX(top.Box), bar, FALSE, FALSE, 0);
    // Each menu of the bar opens and closes the menu loop; moving from one to the next keeps it.
    GList* items = gtk_container_get_children(GTK_CONTAINER(bar));
    for (GList* node = items; node != nullptr; node = node->next) {
        if (GtkWidget* submenu = gtk_menu_item_get_submenu(GTK_MENU_ITEM(node->data))) {
            g_signal_connect(submenu, "show", G_CALLBACK(Menu_Loop::Shown), &top);
            g_signal_connect(submenu, "hide", G_CALLBACK(Menu_Loop::Hidden), &top);
        }
    }
    g_list_free(items);
    int natural = 0;
    gtk_widget_get_preferred_height(bar, nullptr, &natural);
    top.Menu_Height = natural * Scale_Factor;
    Show_Menu_Bar(top);
}

RECT Gtk_Backend::Client_Insets(const Window_Record& window)
{
    const Top_Level* top = Top(window.Handle);
    const bool bar_shown = top != nullptr && top->Menu_Bar && !Covers_Screen(window);
    return RECT{0, bar_shown ? top->Menu_Height : 0, 0, 0};
}

void Gtk_Backend::Menu_Item_Changed(HMENU menu, UINT id, bool checked)
{
    for (auto& [handle, top] : Tops) {
        if (top->Menu_Bar) {
            top->Menu_Bar->Set_Check(menu, id, checked);
        }
    }
}

void Gtk_Backend::Cursor_Changed(bool visible)
{
    if (visible == Cursor_Visible || Connection_Lost) {
        return;
    }
    Cursor_Visible = visible;
    for (auto& [handle, top] : Tops) {
        Set_Cursor(*top);
    }
}

void Gtk_Backend::Activity_Changed()
{
    bool active = false;
    for (auto& [handle, top] : Tops) {
        active = active || gtk_window_has_toplevel_focus(GTK_WINDOW(top->Window));
    }
    if (active == App_Active) {
        return;
    }
    App_Active = active;
    for (auto& [handle, top] : Tops) {
        System->Post_Message(handle, WM_ACTIVATEAPP, active ? TRUE : FALSE, 0);
    }
}

void Gtk_Backend::Report_Geometry(Top_Level& top)
{
    const Window_Record* record = System->Find(top.Handle);
    if (record == nullptr) {
        return;
    }
    if (top.Iconified_New) {
        top.Iconified_New = false;
        if (top.Iconified_Reported != record->Minimised) {
            top.Iconified = top.Iconified_Reported;
            System->Native_Geometry_Changed(top.Handle, record->Rect, top.Iconified_Reported);
            return;
        }
    }
    if (!top.Reported_New || record->Minimised) {
        return;
    }
    const bool answered = Rect_Width(top.Reported) == Rect_Width(top.Applied) &&
                          Rect_Height(top.Reported) == Rect_Height(top.Applied);
    if (!answered && g_get_monotonic_time() - top.Request_Time < Request_Patience_Microseconds) {
        return; // the window manager has yet to answer the last request
    }
    top.Reported_New = false;
    if (!Same_Rect(top.Reported, record->Rect)) {
        top.Applied = top.Reported;
        System->Native_Geometry_Changed(top.Handle, top.Reported, false);
    }
}
