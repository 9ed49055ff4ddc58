// Frames shown through the X server's shared-memory images (MIT-SHM): the frame is copied once
// into memory the server reads itself, and XShmPutImage sends only the request, where a plain
// XPutImage pushes all 8 MB of a 1920 x 1080 frame through the socket. Two images take turns,
// so that a frame is written while the server may still be reading the one before.
//
// Only for windows whose visual keeps pixels as 32-bit words of 8-bit red, green and blue (the
// usual depth-24 TrueColor visual), and only 1:1: a frame of another size is drawn by
// the caller through cairo. Make() answers nullptr where the display has no shared memory (a
// remote display) or it cannot be attached; X errors of the attach are trapped.
#pragma once

#include "platform/window/window.h"

#include <array>
#include <memory>

typedef struct _XDisplay Display;
typedef unsigned long XID;
typedef struct _XGC* GC;

class X11_Shm_Image {
public:
    static std::unique_ptr<X11_Shm_Image> Make(Display* display, XID window, int width, int height);
    ~X11_Shm_Image();
    X11_Shm_Image(const X11_Shm_Image&) = delete;
    X11_Shm_Image& operator=(const X11_Shm_Image&) = delete;

    int Width() const { return Image_Width; }
    int Height() const { return Image_Height; }
    // Copies a frame of this size into the next image (16-bit frames widened).
    void Take(const Frame_Pixels& frame);
    // Draws the last frame taken at the window's corner.
    void Put();
    bool Empty() const { return !Taken; }

private:
    X11_Shm_Image(Display* display, XID window, int width, int height);
    struct Buffer;
    bool Attach(Buffer& buffer, void* visual, int depth);
    void Release(Buffer& buffer);

    Display* X_Display;
    XID Target_Window;
    GC Context = nullptr;
    int Image_Width;
    int Image_Height;
    std::array<std::unique_ptr<Buffer>, 2> Buffers;
    int Current = 0;
    bool Taken = false;
};
