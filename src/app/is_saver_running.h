// Whether a screen saver is running already, asked before a saver-mode start.
#pragma once

#include <cstdint>

// What the window system says of the foreground window; used only on systems classified as
// Windows NT, where there is no flag to ask.
struct Foreground_Window_Info {
    bool Exists = false;
    uint32_t Style = 0; // window style bits (WS_POPUP 0x80000000, WS_VISIBLE 0x10000000)
    int Width = 0;
    int Height = 0;
    int Screen_Width = 0;
    int Screen_Height = 0;
};
using Foreground_Window_Query = Foreground_Window_Info (*)();

// Installs a query; nullptr puts back the default, which sees no foreground window.
void Set_Foreground_Window_Query(Foreground_Window_Query query);

bool IsSaverRunning();
