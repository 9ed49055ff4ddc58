// Foreign windows and preview children on GDK's X connection.
#include "platform/window/x11/x11_windows.h"

#include <X11/Xlib.h>
#include <gdk/gdkx.h>

Display* Gdk_X_Display()
{
    GdkDisplay* display = gdk_display_get_default();
    return display != nullptr && GDK_IS_X11_DISPLAY(display) ? gdk_x11_display_get_xdisplay(display)
                                                             : nullptr;
}

X11_Window_Watch::X11_Window_Watch(Display* display) : X_Display(display)
{
    gdk_window_add_filter(nullptr, reinterpret_cast<GdkFilterFunc>(&X11_Window_Watch::Filter), this);
}

X11_Window_Watch::~X11_Window_Watch()
{
    gdk_window_remove_filter(nullptr, reinterpret_cast<GdkFilterFunc>(&X11_Window_Watch::Filter), this);
}

std::optional<Foreign_Window> X11_Window_Watch::Adopt(XID window)
{
    XWindowAttributes attributes{};
    // An id that is no window answers BadWindow, which the error handler swallows.
    if (window == 0 || XGetWindowAttributes(X_Display, window, &attributes) == 0) {
        return std::nullopt;
    }
    int x = 0, y = 0;
    ::Window child = 0;
    XTranslateCoordinates(X_Display, window, attributes.root, 0, 0, &x, &y, &child);
    // Our own interest in its structure; the owner's event mask is its own.
    XSelectInput(X_Display, window, attributes.your_event_mask | StructureNotifyMask);
    Foreign_Sizes[window] = {attributes.width, attributes.height};
    Foreign_Window foreign;
    foreign.Style = attributes.map_state == IsViewable ? WS_VISIBLE : 0;
    foreign.Rect = RECT{x, y, x + attributes.width, y + attributes.height};
    return foreign;
}

XID X11_Window_Watch::Create_Child(XID parent, int width, int height, bool visible)
{
    const int screen = DefaultScreen(X_Display);
    XWindowAttributes attributes{};
    if (XGetWindowAttributes(X_Display, parent, &attributes) == 0) {
        return 0;
    }
    XID child = XCreateSimpleWindow(X_Display, parent, 0, 0, width > 0 ? width : 1, height > 0 ? height : 1,
                                    0, BlackPixel(X_Display, screen), BlackPixel(X_Display, screen));
    XSync(X_Display, False);
    if (child == 0 || XGetWindowAttributes(X_Display, child, &attributes) == 0) {
        return 0;
    }
    XSelectInput(X_Display, child, ExposureMask | StructureNotifyMask);
    if (visible) {
        XMapWindow(X_Display, child);
    }
    XFlush(X_Display);
    Children.insert(child);
    return child;
}

void X11_Window_Watch::Destroy_Child(XID child)
{
    if (Children.erase(child) != 0) {
        XDestroyWindow(X_Display, child); // already gone with its parent: BadWindow, swallowed
        XFlush(X_Display);
    }
}

void X11_Window_Watch::Configure_Child(XID child, int x, int y, int width, int height, bool visible)
{
    XMoveResizeWindow(X_Display, child, x, y, width > 0 ? width : 1, height > 0 ? height : 1);
    if (visible) {
        XMapWindow(X_Display, child);
    } else {
        XUnmapWindow(X_Display, child);
    }
    XFlush(X_Display);
}

int X11_Window_Watch::Filter(void* xevent, void*, void* self)
{
    static_cast<X11_Window_Watch*>(self)->Take(xevent);
    return GDK_FILTER_CONTINUE;
}

void X11_Window_Watch::Take(const void* raw)
{
    const XEvent& event = *static_cast<const XEvent*>(raw);
    if (event.type == ConfigureNotify) {
        auto found = Foreign_Sizes.find(event.xconfigure.window);
        if (found != Foreign_Sizes.end() &&
            found->second != std::make_pair(event.xconfigure.width, event.xconfigure.height)) {
            found->second = {event.xconfigure.width, event.xconfigure.height};
            Events.push_back({found->first, Event::Resized, event.xconfigure.width, event.xconfigure.height});
        }
    } else if (event.type == DestroyNotify) {
        const XID window = event.xdestroywindow.window;
        if (Foreign_Sizes.erase(window) != 0) {
            Events.push_back({window, Event::Gone, 0, 0});
        }
        Children.erase(window);
    } else if (event.type == Expose && event.xexpose.count == 0 &&
               Children.count(event.xexpose.window) != 0) {
        Events.push_back({event.xexpose.window, Event::Exposed, 0, 0});
    }
}

std::vector<X11_Window_Watch::Event> X11_Window_Watch::Take_Events()
{
    std::vector<Event> taken;
    taken.swap(Events);
    return taken;
}
