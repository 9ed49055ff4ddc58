// X error and I/O error handlers.
#include "platform/window/x11/x11_errors.h"

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <gdk/gdkx.h>

namespace {

XErrorHandler Toolkit_Handler = nullptr;
void (*Lost_Callback)(void*) = nullptr;
void* Lost_Context = nullptr;
bool Lost = false;

int On_Error(Display* display, XErrorEvent* error)
{
    if (error->error_code == BadWindow || error->error_code == BadDrawable) {
        return 0;
    }
    return Toolkit_Handler != nullptr ? Toolkit_Handler(display, error) : 0;
}

// Called first; returning hands over to the exit handler below instead of ending the process.
int On_Io_Error(Display*)
{
    return 0;
}

void On_Io_Error_Exit(Display*, void*)
{
    if (!Lost && Lost_Callback != nullptr) {
        Lost = true;
        Lost_Callback(Lost_Context);
    }
}

} // namespace

void Install_X_Error_Handlers(Display* display, void (*on_lost)(void* context), void* context)
{
    Lost_Callback = on_lost;
    Lost_Context = context;
    XErrorHandler previous = XSetErrorHandler(On_Error);
    if (previous != On_Error) {
        Toolkit_Handler = previous;
    }
    XSetIOErrorHandler(On_Io_Error);
    XSetIOErrorExitHandler(display, On_Io_Error_Exit, nullptr);
}

X_Error_Trap::X_Error_Trap()
{
    gdk_x11_display_error_trap_push(gdk_display_get_default());
}

X_Error_Trap::~X_Error_Trap()
{
    // Without waiting for the server: errors still to come within the trapped requests are
    // ignored when they arrive.
    gdk_x11_display_error_trap_pop_ignored(gdk_display_get_default());
}
