// What becomes of X errors on the backend's one X connection. Errors about windows and
// drawables that no longer exist (BadWindow, BadDrawable) are expected — another program's
// window can go at any moment — and are ignored; every other error goes to GDK's own handler.
// A broken connection does not end the process on the spot, as Xlib and GDK would: the
// handler calls `on_lost` once and returns, and from then on the backend leaves X alone and
// closes its windows, so the program ends in its orderly way.
#pragma once

typedef struct _XDisplay Display;

void Install_X_Error_Handlers(Display* display, void (*on_lost)(void* context), void* context);

// While one lives, the requests made are trapped: their errors are ignored whenever they
// arrive. For drawing into windows that may go at any moment: their pictures and graphics
// contexts go with them, and freeing those answers errors GDK would end the process on.
class X_Error_Trap {
public:
    X_Error_Trap();
    ~X_Error_Trap();
    X_Error_Trap(const X_Error_Trap&) = delete;
    X_Error_Trap& operator=(const X_Error_Trap&) = delete;
};
