// Frames drawn with cairo-xlib into an X window that GTK does not manage: the preview child we
// make inside another program's window, or (for the screen-saver daemons) a window that is not
// ours at all. A drawable never maps, moves, resizes or destroys the window it draws into: it
// is told the window's size when that changes and draws the last frame again on Expose.
// Frames of the window's size are put 1:1 from shared memory; others are scaled by cairo.
#pragma once

#include "platform/window/gtk/frame_image.h"
#include "platform/window/x11/x11_shm_image.h"

#include <memory>

typedef struct _XDisplay Display;
typedef unsigned long XID;

class X11_Drawable {
public:
    X11_Drawable(Display* display, XID window, int width, int height);
    ~X11_Drawable();
    X11_Drawable(const X11_Drawable&) = delete;
    X11_Drawable& operator=(const X11_Drawable&) = delete;

    XID Window() const { return Target_Window; }
    int Width() const { return Target_Width; }
    int Height() const { return Target_Height; }
    // The window's size changed.
    void Resize(int width, int height);
    // Takes the frame and draws it scaled to the window; false when it cannot be taken.
    bool Present(const Frame_Pixels& frame);
    // Draws the last frame again (Expose).
    void Repaint();

private:
    Display* X_Display;
    XID Target_Window;
    int Target_Width;
    int Target_Height;
    cairo_surface_t* Target = nullptr;
    Frame_Image Image;
    // Frames of the window's own size go through shared memory where the display has it.
    std::unique_ptr<X11_Shm_Image> Shared;
    bool Shared_Unavailable = false;
    bool Showing_Shared = false;
};
