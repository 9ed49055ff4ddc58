// A presented frame kept as a cairo image surface in RGB24 (16-bit frames widened, 5-6-5 and
// 5-5-5 alike) and painted into an area of the window: 1:1 when
// the sizes agree, else scaled, keeping the frame's aspect with black around it when the frame
// asks for that (the emulated full-screen modes).
//
// The surface is a plain image in our memory, never one of cairo-xlib's shared-memory images:
// writing into one of those waits in a loop until the X server has read it, and that loop
// never ends once the connection is lost.
#pragma once

#include "platform/window/window.h"

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;

class Frame_Image {
public:
    Frame_Image() = default;
    ~Frame_Image();
    Frame_Image(const Frame_Image&) = delete;
    Frame_Image& operator=(const Frame_Image&) = delete;

    // Copies the frame's pixels; false when no surface could be had.
    bool Take(const Frame_Pixels& frame);
    // Paints into `cr`, whose user space must be device pixels, an area of width × height.
    void Paint(cairo_t* cr, int width, int height) const;
    bool Empty() const { return Surface == nullptr; }
    int Width() const { return Image_Width; }
    int Height() const { return Image_Height; }

private:
    cairo_surface_t* Surface = nullptr;
    int Image_Width = 0;
    int Image_Height = 0;
    bool Keep_Aspect = false;
};
