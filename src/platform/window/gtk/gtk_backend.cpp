// The desktop backend's entry: opening the display, making and destroying the native windows
// that stand for the window records (GtkWindows, preview children in other programs' windows,
// a screen-saver daemon's window), and the things that ask about them.
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
#include <gtk/gtk.h>

namespace {

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
    const int width = Rect_Width(window.Rect), height = Rect_Height(window.Rect);
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
        if (top->second->Surface != nullptr) {
            top->second->Surface.reset();
            Foreign->Destroy_Child(top->second->Surface_Window);
        }
        if (GdkFrameClock* clock = gtk_widget_get_frame_clock(top->second->Area)) {
            g_signal_handlers_disconnect_by_data(clock, top->second.get());
        }
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
        const int width = Rect_Width(window.Rect), height = Rect_Height(window.Rect);
        Foreign->Configure_Child(child->second->Window(), window.Rect.left, window.Rect.top, width, height,
                                 (window.Style & WS_VISIBLE) != 0);
        child->second->Resize(width, height);
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
