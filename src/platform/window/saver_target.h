// The window a screen-saver daemon hands the saver to draw into (`--root`): the daemon's own
// window, or the root window. Such a window is not ours, so a backend draws into it at its
// size, follows its size changes, and never maps, resizes or destroys it; ending on input is
// the daemon's business, not the saver's. The entry sets the record once before the program
// runs, and the display backend reads it when it makes the full-screen window.
#pragma once

#include <cstdint>

struct Saver_Target {
    bool Daemon_Window = false; // draw into Window instead of a window of our own
    uint32_t Window = 0;        // the X11 window id; 0 is the root window of the default screen
};

Saver_Target& Current_Saver_Target();
void Reset_Saver_Target();
