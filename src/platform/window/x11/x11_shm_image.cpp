// Shared-memory images of the X server.
#include "platform/window/x11/x11_shm_image.h"

#include "platform/window/frame_pixels.h"
#include "platform/window/x11/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XShm.h>
#include <cstring>
#include <gdk/gdkx.h>
#include <sys/ipc.h>
#include <sys/shm.h>

struct X11_Shm_Image::Buffer {
    XImage* Image = nullptr;
    XShmSegmentInfo Segment{};
    unsigned long Last_Request = 0; // the serial of the last put that reads it
};

namespace {

// The visual keeps a pixel as the word 0x00RRGGBB, as the kept frames are.
bool Takes_Rgb_Words(const XWindowAttributes& attributes)
{
    const Visual* visual = attributes.visual;
    return visual != nullptr && visual->c_class == TrueColor && visual->red_mask == 0xFF0000 &&
           visual->green_mask == 0xFF00 && visual->blue_mask == 0xFF && attributes.depth == 24;
}

} // namespace

std::unique_ptr<X11_Shm_Image> X11_Shm_Image::Make(Display* display, XID window, int width, int height)
{
    if (width <= 0 || height <= 0 || !XShmQueryExtension(display)) {
        return nullptr;
    }
    XWindowAttributes attributes{};
    {
        X_Error_Trap trap;
        if (XGetWindowAttributes(display, window, &attributes) == 0 || !Takes_Rgb_Words(attributes)) {
            return nullptr;
        }
    }
    std::unique_ptr<X11_Shm_Image> made(new X11_Shm_Image(display, window, width, height));
    for (std::unique_ptr<Buffer>& buffer : made->Buffers) {
        buffer = std::make_unique<Buffer>();
        if (!made->Attach(*buffer, attributes.visual, attributes.depth)) {
            return nullptr;
        }
    }
    X_Error_Trap trap;
    made->Context = XCreateGC(display, window, 0, nullptr);
    return made;
}

X11_Shm_Image::X11_Shm_Image(Display* display, XID window, int width, int height)
    : X_Display(display), Target_Window(window), Image_Width(width), Image_Height(height)
{
}

bool X11_Shm_Image::Attach(Buffer& buffer, void* visual, int depth)
{
    XShmSegmentInfo& segment = buffer.Segment;
    segment.shmid = -1;
    buffer.Image = XShmCreateImage(X_Display, static_cast<Visual*>(visual), static_cast<unsigned>(depth),
                                   ZPixmap, nullptr, &segment, static_cast<unsigned>(Image_Width),
                                   static_cast<unsigned>(Image_Height));
    if (buffer.Image == nullptr || buffer.Image->bits_per_pixel != 32 ||
        buffer.Image->byte_order != LSBFirst) {
        return false;
    }
    const std::size_t bytes = static_cast<std::size_t>(buffer.Image->bytes_per_line) * Image_Height;
    segment.shmid = shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (segment.shmid < 0) {
        return false;
    }
    segment.shmaddr = static_cast<char*>(shmat(segment.shmid, nullptr, 0));
    if (segment.shmaddr == reinterpret_cast<char*>(-1)) {
        segment.shmaddr = nullptr;
        return false;
    }
    buffer.Image->data = segment.shmaddr;
    segment.readOnly = False;
    // A server on another machine cannot attach: that answers an error, waited for here.
    GdkDisplay* gdk = gdk_display_get_default();
    gdk_x11_display_error_trap_push(gdk);
    const Bool attached = XShmAttach(X_Display, &segment);
    const bool failed = gdk_x11_display_error_trap_pop(gdk) != 0 || !attached;
    // Marked for removal now: it goes when both sides have let it go, even after a crash.
    shmctl(segment.shmid, IPC_RMID, nullptr);
    if (failed) {
        shmdt(segment.shmaddr);
        segment.shmaddr = nullptr;
        buffer.Image->data = nullptr;
        return false;
    }
    segment.readOnly = True; // marks it attached for Release
    return true;
}

void X11_Shm_Image::Release(Buffer& buffer)
{
    if (buffer.Segment.shmaddr != nullptr) {
        if (buffer.Segment.readOnly) {
            XShmDetach(X_Display, &buffer.Segment);
        }
        shmdt(buffer.Segment.shmaddr);
    }
    if (buffer.Image != nullptr) {
        buffer.Image->data = nullptr; // the segment's, not Xlib's to free
        XDestroyImage(buffer.Image);
    }
}

X11_Shm_Image::~X11_Shm_Image()
{
    X_Error_Trap trap;
    if (Context != nullptr) {
        XFreeGC(X_Display, Context);
    }
    for (std::unique_ptr<Buffer>& buffer : Buffers) {
        if (buffer != nullptr) {
            Release(*buffer);
        }
    }
}

void X11_Shm_Image::Take(const Frame_Pixels& frame)
{
    Current = Taken ? 1 - Current : 0;
    Buffer& buffer = *Buffers[static_cast<std::size_t>(Current)];
    // The server reads the image while it carries out the put; until then it is not written.
    if (buffer.Last_Request != 0 && LastKnownRequestProcessed(X_Display) < buffer.Last_Request) {
        XSync(X_Display, False);
    }
    XImage* image = buffer.Image;
    for (int y = 0; y < Image_Height; ++y) {
        auto* out =
            reinterpret_cast<uint32_t*>(image->data + static_cast<std::ptrdiff_t>(y) * image->bytes_per_line);
        if (frame.Bits_Per_Pixel == 32) {
            std::memcpy(
                out, static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch,
                static_cast<std::size_t>(Image_Width) * 4);
        } else {
            Frame_Row_Rgb(frame, y, out);
        }
    }
    Taken = true;
}

void X11_Shm_Image::Put()
{
    if (!Taken || Context == nullptr) {
        return;
    }
    Buffer& buffer = *Buffers[static_cast<std::size_t>(Current)];
    X_Error_Trap trap;
    buffer.Last_Request = NextRequest(X_Display);
    XShmPutImage(X_Display, Target_Window, Context, buffer.Image, 0, 0, 0, 0,
                 static_cast<unsigned>(Image_Width), static_cast<unsigned>(Image_Height), False);
    XFlush(X_Display);
}
