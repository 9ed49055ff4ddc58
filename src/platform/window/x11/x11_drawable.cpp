// Drawing frames into plain X windows.
#include "platform/window/x11/x11_drawable.h"

#include "platform/window/x11/x11_errors.h"

#include <X11/Xlib.h>
#include <cairo-xlib.h>
#include <cairo.h>

X11_Drawable::X11_Drawable(Display* display, XID window, int width, int height)
    : X_Display(display), Target_Window(window), Target_Width(width), Target_Height(height)
{
    X_Error_Trap trap;
    XWindowAttributes attributes{};
    Visual* visual = DefaultVisual(display, DefaultScreen(display));
    if (XGetWindowAttributes(display, window, &attributes) != 0) {
        visual = attributes.visual;
    }
    Target =
        cairo_xlib_surface_create(display, window, visual, width > 0 ? width : 1, height > 0 ? height : 1);
}

X11_Drawable::~X11_Drawable()
{
    X_Error_Trap trap;
    cairo_surface_destroy(Target);
}

void X11_Drawable::Resize(int width, int height)
{
    Target_Width = width;
    Target_Height = height;
    X_Error_Trap trap;
    cairo_xlib_surface_set_size(Target, width > 0 ? width : 1, height > 0 ? height : 1);
}

bool X11_Drawable::Present(const Frame_Pixels& frame)
{
    Showing_Shared = false;
    if (frame.Width == Target_Width && frame.Height == Target_Height && !Shared_Unavailable) {
        if (Shared == nullptr || Shared->Width() != frame.Width || Shared->Height() != frame.Height) {
            Shared.reset();
            Shared = X11_Shm_Image::Make(X_Display, Target_Window, frame.Width, frame.Height);
            Shared_Unavailable = Shared == nullptr;
        }
        if (Shared != nullptr) {
            Shared->Take(frame);
            Showing_Shared = true;
            Repaint();
            return true;
        }
    }
    const bool taken = Image.Take(frame);
    if (taken) {
        Repaint();
    }
    return taken;
}

void X11_Drawable::Repaint()
{
    if (Target_Width <= 0 || Target_Height <= 0) {
        return;
    }
    if (Showing_Shared) {
        Shared->Put();
        return;
    }
    X_Error_Trap trap;
    cairo_t* cr = cairo_create(Target);
    Image.Paint(cr, Target_Width, Target_Height);
    cairo_destroy(cr);
    cairo_surface_flush(Target);
    XFlush(X_Display);
}
