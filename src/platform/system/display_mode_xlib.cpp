// The current display mode of the X display: the default screen's size in pixels and the
// bits per pixel of its depth's pixmap format (24-bit colour is stored in 32 bits).
#include "platform/system/display_mode_xlib.h"
#include "platform/system/display_mode.h"

#include <X11/Xlib.h>

int Bits_Per_Pixel_Of_Depth(Display* display, int depth)
{
    int count = 0;
    XPixmapFormatValues* formats = XListPixmapFormats(display, &count);
    int bits = depth;
    for (int i = 0; formats != nullptr && i < count; ++i) {
        if (formats[i].depth == depth)
            bits = formats[i].bits_per_pixel;
    }
    if (formats != nullptr)
        XFree(formats);
    return bits;
}

bool X_Display_Current_Mode(Display_Mode& mode)
{
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    const int screen = DefaultScreen(display);
    mode.Width = DisplayWidth(display, screen);
    mode.Height = DisplayHeight(display, screen);
    mode.Bits_Per_Pixel = Bits_Per_Pixel_Of_Depth(display, DefaultDepth(display, screen));
    XCloseDisplay(display);
    return true;
}
