// The desktop backend's frame loop: presented frames are kept and painted when the frame clock
// asks, the loop waits for the next frame slot (or for input) inside the GLib main loop, and the
// events of other programs' windows and close requests are delivered from there.
#include "platform/window/gtk/gtk_backend.h"

#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/window_system.h"
#include "platform/window/x11/x11_daemon_window.h"
#include "platform/window/x11/x11_drawable.h"
#include "platform/window/x11/x11_windows.h"

#include <algorithm>
#include <glib-unix.h>
#include <gtk/gtk.h>
#include <vector>

namespace {

// A presented frame the frame clock never paints (a hidden or unmapped window) stops holding
// the loop back after this long.
constexpr int64_t Unpainted_Frame_Microseconds = 100000;

} // namespace

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
    if (X11_Drawable* surface = Surface_Of(*top)) {
        if (!surface->Present(frame)) {
            return false;
        }
        Frame_Pending = true;
        // Nothing is painted by GTK: the frame clock's next paint phase is the frame slot.
        GdkFrameClock* clock = gtk_widget_get_frame_clock(top->Area);
        if (clock != nullptr) {
            gdk_frame_clock_request_phase(clock, GDK_FRAME_CLOCK_PHASE_PAINT);
        }
        Arm_Refresh_Tick(true);
        return true;
    }
    // Before the client area's frame child exists: kept, and painted by GTK's draw.
    if (!top->Image.Take(frame)) {
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

void Gtk_Backend::Run_Nested_Loop(const std::function<bool()>& ended)
{
    while (!Connection_Lost && !ended()) {
        g_main_context_iteration(nullptr, TRUE);
    }
}

void Gtk_Backend::Watch_Close_Requests()
{
    if (Close_Watch == 0 && Close_Request_Fd() >= 0) {
        Close_Watch = g_unix_fd_add(Close_Request_Fd(), G_IO_IN, &Gtk_Backend::On_Close_Request, this);
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
            for (auto& [top_handle, top] : Tops) {
                if (top->Surface != nullptr && top->Surface_Window == event.Window) {
                    top->Surface->Repaint();
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
