// The window a screen-saver daemon hands us to draw into (its own window, or the root window):
// not ours, so it is never mapped, moved, resized or destroyed here. Frames are drawn into it
// at its size, whatever that becomes; its end is noticed from the watch's events.
#pragma once

#include "platform/window/x11/x11_drawable.h"
#include "platform/window/x11/x11_windows.h"

#include <memory>

class X11_Daemon_Window {
public:
    // `window` 0 is the root window of the default screen. An id that is no window leaves the
    // object Gone() from the start.
    X11_Daemon_Window(Display* display, X11_Window_Watch& watch, XID window);

    XID Window() const { return Target_Window; }
    bool Gone() const { return Drawable == nullptr; }
    // Draws the frame scaled to the window; false when it cannot be taken.
    bool Present(const Frame_Pixels& frame);
    // One of the watch's events; true when it was about this window (a new size, or its end).
    bool Take(const X11_Window_Watch::Event& event);

private:
    XID Target_Window;
    std::unique_ptr<X11_Drawable> Drawable;
};
