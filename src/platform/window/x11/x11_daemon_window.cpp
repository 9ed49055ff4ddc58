// Drawing into a screen-saver daemon's window.
#include "platform/window/x11/x11_daemon_window.h"

#include <X11/Xlib.h>

X11_Daemon_Window::X11_Daemon_Window(Display* display, X11_Window_Watch& watch, XID window)
    : Target_Window(window != 0 ? window : DefaultRootWindow(display))
{
    if (const std::optional<Foreign_Window> found = watch.Adopt(Target_Window)) {
        const RECT& rect = found->Rect;
        Drawable = std::make_unique<X11_Drawable>(display, Target_Window, rect.right - rect.left,
                                                  rect.bottom - rect.top);
    }
}

bool X11_Daemon_Window::Present(const Frame_Pixels& frame)
{
    // A window that went away takes no more frames, but that is no failure to take one: the
    // run is ending in order.
    return Drawable == nullptr || Drawable->Present(frame);
}

bool X11_Daemon_Window::Take(const X11_Window_Watch::Event& event)
{
    if (event.Window != Target_Window || Drawable == nullptr) {
        return false;
    }
    if (event.What == X11_Window_Watch::Event::Gone) {
        Drawable.reset();
    } else if (event.What == X11_Window_Watch::Event::Resized) {
        Drawable->Resize(event.Width, event.Height);
    }
    return true;
}
