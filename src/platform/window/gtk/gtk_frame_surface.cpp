// A top level's frames go into a plain X child window of the client area, drawn by x11/ as the
// preview's are: 1:1 from the X server's shared memory, with no GTK paint and no copy of a
// double buffer in between. The toplevel's frame clock still paces them: each Present asks
// for its paint phase, and the phase's end is the next frame slot. Input falls through the
// child, which selects none, to the client area.
#include "platform/window/gtk/gtk_backend.h"

#include "platform/window/gtk/gtk_top_level.h"
#include "platform/window/x11/x11_windows.h"

#include <gdk/gdkx.h>
#include <gtk/gtk.h>

namespace {

void On_After_Paint(GdkFrameClock*, gpointer data)
{
    auto& top = *static_cast<Gtk_Backend::Top_Level*>(data);
    top.Backend->Frame_Shown();
}

} // namespace

X11_Drawable* Gtk_Backend::Surface_Of(Top_Level& top)
{
    if (top.Surface != nullptr) {
        return top.Surface.get();
    }
    GdkWindow* area = gtk_widget_get_window(top.Area);
    GdkFrameClock* clock = gtk_widget_get_frame_clock(top.Area);
    if (area == nullptr || clock == nullptr || !gtk_widget_get_realized(top.Area) ||
        !gdk_window_ensure_native(area)) {
        return nullptr;
    }
    const int width = gtk_widget_get_allocated_width(top.Area) * Scale_Factor;
    const int height = gtk_widget_get_allocated_height(top.Area) * Scale_Factor;
    top.Surface_Window = Foreign->Create_Child(gdk_x11_window_get_xid(area), width, height, true);
    if (top.Surface_Window == 0) {
        return nullptr;
    }
    top.Surface = std::make_unique<X11_Drawable>(X_Display, top.Surface_Window, width, height);
    if (!top.Paint_Hooked) {
        top.Paint_Hooked = true;
        g_signal_connect(clock, "after-paint", G_CALLBACK(On_After_Paint), &top);
    }
    return top.Surface.get();
}

void Gtk_Backend::Area_Resized(Top_Level& top, int width, int height)
{
    if (top.Surface == nullptr || Connection_Lost) {
        return;
    }
    const int device_width = width * Scale_Factor, device_height = height * Scale_Factor;
    if (device_width != top.Surface->Width() || device_height != top.Surface->Height()) {
        Foreign->Configure_Child(top.Surface_Window, 0, 0, device_width, device_height, true);
        top.Surface->Resize(device_width, device_height);
    }
}
