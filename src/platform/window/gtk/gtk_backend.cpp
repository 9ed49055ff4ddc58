// The desktop backend's windows, frames and message pump.
#include "platform/window/gtk/gtk_backend.h"

#include "platform/window/gtk/gtk_dialogs.h"
#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/gtk/xrandr_modes.h"
#include "platform/window/saver_target.h"
#include "platform/window/window_system.h"
#include "platform/window/x11/x11_daemon_window.h"
#include "platform/window/x11/x11_drawable.h"
#include "platform/window/x11/x11_errors.h"
#include "platform/window/x11/x11_windows.h"

#include <algorithm>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <vector>

namespace {

LONG Width(const RECT& r)
{
    return r.right - r.left;
}

LONG Height(const RECT& r)
{
    return r.bottom - r.top;
}

bool Same(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// A geometry request the window manager has not answered within this time is taken as refused:
// what it reports from then on is the truth.
constexpr int64_t Request_Patience_Microseconds = 300000;
// A presented frame the frame clock never paints (a hidden or unmapped window) stops holding
// the loop back after this long.
constexpr int64_t Unpainted_Frame_Microseconds = 100000;

GdkMonitor* Primary_Monitor()
{
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    return monitor != nullptr ? monitor : gdk_display_get_monitor(display, 0);
}

void On_Display_Lost(void* backend)
{
    static_cast<Gtk_Backend*>(backend)->Display_Lost();
}

} // namespace

Gtk_Backend::Gtk_Backend() = default;

Gtk_Backend::~Gtk_Backend()
{
    if (Modes != nullptr) {
        Modes->Uninstall();
    }
    if (Connection_Lost) {
        // Nothing may talk to the dead connection; the process ends right after.
        for (auto& [handle, top] : Tops) {
            top.release();
        }
        for (auto& [handle, child] : Children) {
            child.release();
        }
        Daemon.release();
        Foreign.release();
        return;
    }
    Dialogs.clear();
    Tops.clear();
    Children.clear();
    Daemon.reset();
    Foreign.reset();
    if (Last_Press != nullptr) {
        gdk_event_free(Last_Press);
    }
    if (Close_Watch != 0) {
        g_source_remove(Close_Watch);
    }
    if (Refresh_Timer != 0) {
        g_source_remove(Refresh_Timer);
    }
}

bool Gtk_Backend::Display_Opens()
{
    static int opens = -1;
    if (opens < 0) {
        // The program formats its numbers itself; GTK must not change the C locale under it.
        gtk_disable_setlocale();
        gdk_set_allowed_backends("x11");
        g_set_prgname("lucivanta");
        opens = gtk_init_check(nullptr, nullptr) && Gdk_X_Display() != nullptr ? 1 : 0;
    }
    return opens == 1;
}

void Gtk_Backend::Attach(Window_System& system)
{
    Window_Backend::Attach(system);
    X_Display = Gdk_X_Display();
    Install_X_Error_Handlers(X_Display, On_Display_Lost, this);
    Foreign = std::make_unique<X11_Window_Watch>(X_Display);
    GdkMonitor* monitor = Primary_Monitor();
    Scale_Factor = std::max(1, gdk_monitor_get_scale_factor(monitor));
    const int millihertz = gdk_monitor_get_refresh_rate(monitor);
    if (millihertz >= 20000 && millihertz <= 500000) {
        Refresh_Microseconds = 1000000000LL / millihertz;
    }
    Modes = std::make_unique<Xrandr_Modes>(X_Display, Scale_Factor);
    Modes->Install();
    gtk_window_set_default_icon_name("lucivanta");
}

SIZE Gtk_Backend::Screen_Size()
{
    if (Connection_Lost) {
        return SIZE{640, 480};
    }
    GdkRectangle area{};
    gdk_monitor_get_geometry(Primary_Monitor(), &area);
    return SIZE{area.width * Scale_Factor, area.height * Scale_Factor};
}

Gtk_Backend::Top_Level* Gtk_Backend::Top(HWND window)
{
    auto found = Tops.find(window);
    return found == Tops.end() ? nullptr : found->second.get();
}

void Gtk_Backend::Window_Created(const Window_Record& window)
{
    if (Connection_Lost) {
        return;
    }
    const Window_Record* parent = window.Parent != nullptr ? System->Find(window.Parent) : nullptr;
    if (parent != nullptr && parent->Foreign) {
        Make_Child(window);
    } else if (window.Is_Top_Level() && Current_Saver_Target().Daemon_Window && Daemon_Handle == nullptr) {
        Make_Daemon_Window(window);
    } else if (window.Is_Top_Level()) {
        Make_Top_Level(window);
    }
}

void Gtk_Backend::Make_Top_Level(const Window_Record& window)
{
    auto top = std::make_unique<Top_Level>();
    top->Backend = this;
    top->Handle = window.Handle;
    top->Window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    top->Box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
    top->Area = gtk_drawing_area_new();
    gtk_widget_set_size_request(top->Area, 1, 1);
    gtk_widget_set_hexpand(top->Area, TRUE);
    gtk_widget_set_vexpand(top->Area, TRUE);
    gtk_box_pack_end(GTK_BOX(top->Box), top->Area, TRUE, TRUE, 0);
    gtk_container_add(GTK_CONTAINER(top->Window), top->Box);
    gtk_widget_show_all(top->Box);
    Connect_Top_Level_Signals(*top);
    Top_Level& made = *top;
    Tops[window.Handle] = std::move(top);
    Apply(made, window, ~0u);
}

void Gtk_Backend::Make_Child(const Window_Record& window)
{
    const XID parent = static_cast<XID>(reinterpret_cast<uintptr_t>(window.Parent));
    const int width = Width(window.Rect), height = Height(window.Rect);
    const XID child = Foreign->Create_Child(parent, width, height, (window.Style & WS_VISIBLE) != 0);
    if (child != 0) {
        Children[window.Handle] = std::make_unique<X11_Drawable>(X_Display, child, width, height);
    }
}

// The daemon's window stands for the program's main window: the frames go there, and no window
// of ours is shown over it. An id that is no window ends the run at the first Pump.
void Gtk_Backend::Make_Daemon_Window(const Window_Record& window)
{
    Daemon_Handle = window.Handle;
    Daemon = std::make_unique<X11_Daemon_Window>(X_Display, *Foreign, Current_Saver_Target().Window);
}

void Gtk_Backend::Window_Destroyed(const Window_Record& window)
{
    if (Connection_Lost) {
        return;
    }
    if (window.Handle == Daemon_Handle) {
        Daemon.reset();
    }
    if (auto top = Tops.find(window.Handle); top != Tops.end()) {
        gtk_widget_destroy(top->second->Window);
        Tops.erase(top);
    }
    if (auto child = Children.find(window.Handle); child != Children.end()) {
        const XID id = child->second->Window();
        Children.erase(child);
        Foreign->Destroy_Child(id);
    }
}

void Gtk_Backend::Window_Changed(const Window_Record& window, unsigned changes)
{
    if (Connection_Lost) {
        return;
    }
    if (Top_Level* top = Top(window.Handle)) {
        Apply(*top, window, changes);
    } else if (auto child = Children.find(window.Handle); child != Children.end()) {
        const int width = Width(window.Rect), height = Height(window.Rect);
        Foreign->Configure_Child(child->second->Window(), window.Rect.left, window.Rect.top, width, height,
                                 (window.Style & WS_VISIBLE) != 0);
        child->second->Resize(width, height);
    }
}

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
    // undecorated window moved and sized to the monitor does the same.
    const SIZE screen = Screen_Size();
    const bool covers = full_screen && record.Rect.left <= 0 && record.Rect.top <= 0 &&
                        record.Rect.right >= screen.cx && record.Rect.bottom >= screen.cy;
    if (covers != top.Full_Screen) {
        top.Full_Screen = covers;
        covers ? gtk_window_fullscreen(window) : gtk_window_unfullscreen(window);
    }
    const bool visible = (record.Style & WS_VISIBLE) != 0;
    if (visible != top.Visible) {
        top.Visible = visible;
        visible ? gtk_widget_show(top.Window) : gtk_widget_hide(top.Window);
        if (visible) {
            gdk_window_set_cursor(
                gtk_widget_get_window(top.Window),
                Cursor_Visible ? nullptr
                               : gdk_cursor_new_for_display(gdk_display_get_default(), GDK_BLANK_CURSOR));
        }
    }
    if (record.Minimised != top.Iconified) {
        top.Iconified = record.Minimised;
        top.Iconified ? gtk_window_iconify(window) : gtk_window_deiconify(window);
    }
}

void Gtk_Backend::Apply_Geometry(Top_Level& top, const Window_Record& record)
{
    const RECT& rect = record.Rect;
    if (Same(rect, top.Applied) || Width(rect) <= 0 || Height(rect) <= 0) {
        return;
    }
    top.Applied = rect;
    top.Request_Time = g_get_monotonic_time();
    gtk_window_move(GTK_WINDOW(top.Window), rect.left / Scale_Factor, rect.top / Scale_Factor);
    gtk_window_resize(GTK_WINDOW(top.Window), std::max<LONG>(1, Width(rect) / Scale_Factor),
                      std::max<LONG>(1, Height(rect) / Scale_Factor));
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
}

RECT Gtk_Backend::Client_Insets(const Window_Record& window)
{
    const Top_Level* top = Top(window.Handle);
    return RECT{0, top != nullptr && top->Menu_Bar ? top->Menu_Height : 0, 0, 0};
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
    GdkCursor* blank =
        visible ? nullptr : gdk_cursor_new_for_display(gdk_display_get_default(), GDK_BLANK_CURSOR);
    for (auto& [handle, top] : Tops) {
        if (GdkWindow* window = gtk_widget_get_window(top->Window)) {
            gdk_window_set_cursor(window, blank);
        }
    }
    if (blank != nullptr) {
        g_object_unref(blank);
    }
}

std::optional<Foreign_Window> Gtk_Backend::Adopt_Foreign_Window(HWND handle)
{
    const uintptr_t id = reinterpret_cast<uintptr_t>(handle);
    if (Connection_Lost || id == 0 || id > 0x1FFFFFFF) {
        return std::nullopt; // X ids have 29 bits
    }
    return Foreign->Adopt(static_cast<XID>(id));
}

HWND Gtk_Backend::Foreground_Window()
{
    for (auto& [handle, top] : Tops) {
        if (!Connection_Lost && gtk_window_is_active(GTK_WINDOW(top->Window))) {
            return handle;
        }
    }
    return nullptr;
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

bool Gtk_Backend::Present(const Window_Record& window, const Frame_Pixels& frame)
{
    if (Connection_Lost) {
        return true;
    }
    if (window.Handle == Daemon_Handle && Daemon != nullptr) {
        if (!Daemon->Present(frame)) {
            return false;
        }
        Frame_Pending = true;
        Arm_Refresh_Tick(false);
        return true;
    }
    if (auto child = Children.find(window.Handle); child != Children.end()) {
        if (!child->second->Present(frame)) {
            return false;
        }
        Frame_Pending = true;
        Arm_Refresh_Tick(false);
        return true;
    }
    Top_Level* top = Top(window.Handle);
    if (top == nullptr) {
        return true;
    }
    GdkWindow* target = gtk_widget_get_window(top->Area);
    const bool taken = top->Image.Take(frame, [target](int format, int width, int height) {
        return target == nullptr ? nullptr
                                 : gdk_window_create_similar_image_surface(
                                       target, static_cast<cairo_format_t>(format), width, height, 1);
    });
    if (!taken) {
        return false;
    }
    Frame_Pending = true;
    if (gtk_widget_get_mapped(top->Area)) {
        gtk_widget_queue_draw(top->Area);
    }
    Arm_Refresh_Tick(true);
    return true;
}

void Gtk_Backend::Frame_Shown()
{
    Frame_Pending = false;
    Last_Tick = g_get_monotonic_time();
    if (Refresh_Timer != 0) {
        g_source_remove(Refresh_Timer);
        Refresh_Timer = 0;
    }
}

// The next frame slot for what the frame clock does not pace: preview children, idle turns
// that showed nothing, and frames a hidden window never paints.
void Gtk_Backend::Arm_Refresh_Tick(bool fallback)
{
    if (Refresh_Timer != 0) {
        return;
    }
    const int64_t now = g_get_monotonic_time();
    int64_t due = fallback ? now + Unpainted_Frame_Microseconds : Last_Tick + Refresh_Microseconds;
    due = std::max(due, now);
    Refresh_Timer = g_timeout_add_full(G_PRIORITY_DEFAULT, static_cast<guint>((due - now + 999) / 1000),
                                       &Gtk_Backend::On_Refresh_Tick, this, nullptr);
}

int Gtk_Backend::On_Refresh_Tick(void* self)
{
    auto& backend = *static_cast<Gtk_Backend*>(self);
    backend.Refresh_Timer = 0;
    backend.Frame_Shown();
    return G_SOURCE_REMOVE;
}

int Gtk_Backend::On_Close_Request(int, GIOCondition, void* self)
{
    auto& backend = *static_cast<Gtk_Backend*>(self);
    backend.Close_Watch = 0; // watched again by the next Pump, once the request was taken
    backend.Woken = true;
    backend.Close_Native_Modal();
    return G_SOURCE_REMOVE;
}

void Gtk_Backend::Watch_Close_Requests()
{
    if (Close_Watch == 0 && Close_Request_Fd() >= 0) {
        Close_Watch = g_unix_fd_add(Close_Request_Fd(), G_IO_IN, &Gtk_Backend::On_Close_Request, this);
    }
}

void Gtk_Backend::Display_Lost()
{
    Connection_Lost = true;
    Woken = true;
    Request_Close_All_Windows();
}

void Gtk_Backend::Keep_Button_Event(const GdkEvent* event)
{
    if (Last_Press != nullptr) {
        gdk_event_free(Last_Press);
    }
    Last_Press = gdk_event_copy(event);
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
    const bool answered =
        Width(top.Reported) == Width(top.Applied) && Height(top.Reported) == Height(top.Applied);
    if (!answered && g_get_monotonic_time() - top.Request_Time < Request_Patience_Microseconds) {
        return; // the window manager has yet to answer the last request
    }
    top.Reported_New = false;
    if (!Same(top.Reported, record->Rect)) {
        top.Applied = top.Reported;
        System->Native_Geometry_Changed(top.Handle, top.Reported, false);
    }
}

void Gtk_Backend::Deliver_X_Events()
{
    if (Connection_Lost) {
        return;
    }
    for (const X11_Window_Watch::Event& event : Foreign->Take_Events()) {
        if (Daemon != nullptr && Daemon->Take(event)) {
            continue;
        }
        const HWND handle = reinterpret_cast<HWND>(static_cast<uintptr_t>(event.Window));
        if (event.What == X11_Window_Watch::Event::Resized) {
            System->Foreign_Window_Resized(handle, event.Width, event.Height);
        } else if (event.What == X11_Window_Watch::Event::Gone) {
            System->Foreign_Window_Gone(handle);
        } else {
            for (auto& [child_handle, child] : Children) {
                if (child->Window() == event.Window) {
                    child->Repaint();
                }
            }
        }
    }
    if (Daemon != nullptr && Daemon->Gone() && !Daemon_End_Reported) {
        // The daemon took its window away (or never had one by that id): end as it would on
        // its termination signal.
        Daemon_End_Reported = true;
        Request_Close_All_Windows();
    }
    std::vector<HWND> handles;
    for (auto& [handle, top] : Tops) {
        handles.push_back(handle);
    }
    for (HWND handle : handles) {
        if (Top_Level* top = Top(handle)) {
            Report_Geometry(*top);
        }
    }
}

bool Gtk_Backend::Idle(std::size_t queued_before) const
{
    return !Woken && !Connection_Lost && System->Pending_Messages() == queued_before &&
           !System->Quit_Pending();
}

bool Gtk_Backend::Pump(Pump_Wait wait)
{
    if (Connection_Lost) {
        return false;
    }
    Watch_Close_Requests();
    Woken = false;
    const std::size_t before = System->Pending_Messages();
    for (int turn = 0; turn < 64 && g_main_context_iteration(nullptr, FALSE); ++turn) {
    }
    Deliver_X_Events();
    if (wait == Pump_Wait::Next_Frame && !Frame_Pending) {
        // An idle turn that shows nothing still waits for its frame slot.
        Frame_Pending = true;
        Arm_Refresh_Tick(false);
    }
    while (wait != Pump_Wait::None && Idle(before) && (wait == Pump_Wait::Input || Frame_Pending)) {
        g_main_context_iteration(nullptr, TRUE);
        Deliver_X_Events();
    }
    return !Connection_Lost;
}

void Gtk_Backend::Dialog_Opened(const Window_Record& dialog)
{
    if (!Connection_Lost && dialog.Dialog != nullptr && dialog.Dialog->Template != nullptr) {
        Dialogs[dialog.Handle] = std::make_unique<Gtk_Dialog_View>(*this, dialog);
    }
}

void Gtk_Backend::Control_Changed(const Window_Record& control)
{
    if (auto dialog = Dialogs.find(control.Parent); dialog != Dialogs.end() && !Connection_Lost) {
        dialog->second->Update(control);
    }
}

void Gtk_Backend::Dialog_Closed(const Window_Record& dialog)
{
    if (auto found = Dialogs.find(dialog.Handle); found != Dialogs.end()) {
        if (Connection_Lost) {
            found->second.release();
        }
        Dialogs.erase(found);
    }
}
