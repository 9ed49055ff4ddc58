// The display modes of the desktop backend, read through GDK's one X connection: the desktop's
// current mode (the screen's size and the stored bits of its depth, so depth 24 reports 32)
// and the full-screen list (each resolution XRandR offers and the usual ones that fit the
// desktop, 640 x 480 always, each at 16 and at 32 bits: modes are emulated, never switched).
// Installed as the program's sources while the backend lives.
#pragma once

#include "platform/graphics/display_modes.h"
#include "platform/system/display_mode.h"

typedef struct _XDisplay Display;

class Xrandr_Modes final : public Screen_Mode_List, public Display_Mode_Source {
public:
    Xrandr_Modes(Display* display, int scale) : X_Display(display), Scale(scale) {}
    void Install();
    void Uninstall();

    std::vector<Screen_Mode> Modes() override;
    bool Current_Mode(Display_Mode& mode) override;

private:
    Display* X_Display;
    int Scale;
};
