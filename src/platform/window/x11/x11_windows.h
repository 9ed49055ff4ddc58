// Other programs' windows as the desktop backend sees them — adopted by id, their size and
// their end watched — and the preview child we make inside one. X events for these windows are
// taken from GDK's one X connection by an event filter and kept until the backend's Pump hands
// them to the window system, so nothing is dispatched from inside GDK's event processing.
#pragma once

#include "platform/window/window_backend.h"

#include <map>
#include <optional>
#include <set>
#include <vector>

typedef struct _XDisplay Display;
typedef unsigned long XID;

// GDK's X connection when the default display is an X11 one, else nullptr.
Display* Gdk_X_Display();

class X11_Window_Watch {
public:
    explicit X11_Window_Watch(Display* display);
    ~X11_Window_Watch();
    X11_Window_Watch(const X11_Window_Watch&) = delete;
    X11_Window_Watch& operator=(const X11_Window_Watch&) = delete;

    // The window's place on the screen when it exists (an id that is no window: nothing).
    // From then on its resizing and its end are reported.
    std::optional<Foreign_Window> Adopt(XID window);

    // A child window of ours at (0, 0) in `parent`; 0 when it cannot be made. Its Expose
    // events are reported.
    XID Create_Child(XID parent, int width, int height, bool visible);
    void Destroy_Child(XID child);
    void Configure_Child(XID child, int x, int y, int width, int height, bool visible);

    struct Event {
        enum Kind { Resized, Gone, Exposed };
        XID Window = 0;
        Kind What = Resized;
        int Width = 0;
        int Height = 0;
    };
    bool Pending() const { return !Events.empty(); }
    std::vector<Event> Take_Events();

private:
    static int Filter(void* xevent, void* event, void* self);
    void Take(const void* xevent);

    Display* X_Display;
    std::map<XID, std::pair<int, int>> Foreign_Sizes;
    std::set<XID> Children;
    std::vector<Event> Events;
};
