// The list of full-screen modes the DirectDraw object offers (EnumDisplayModes, and the modes
// SetDisplayMode accepts). The desktop's current mode comes from platform/system/display_mode.h.
// The window backends (XRandR) install their list; until one is installed the headless list
// answers: 640 × 480, 800 × 600, 1024 × 768, 1280 × 720 and 1920 × 1080 at 16 and 32 bits.
#pragma once

#include "platform/win_types.h"

#include <vector>

struct Screen_Mode {
    DWORD Width = 0;
    DWORD Height = 0;
    DWORD Bits_Per_Pixel = 0;
    DWORD Refresh_Rate = 0;
};

class Screen_Mode_List {
public:
    virtual ~Screen_Mode_List() = default;
    virtual std::vector<Screen_Mode> Modes() = 0;
};

class Headless_Screen_Modes : public Screen_Mode_List {
public:
    Headless_Screen_Modes();
    std::vector<Screen_Mode> Modes() override { return Mode_List; }

    std::vector<Screen_Mode> Mode_List;
};

// The installed list (the headless one when none was installed).
Screen_Mode_List& Full_Screen_Modes();
// Installs a list (not owned; it must outlive its use); null goes back to the headless one.
void Set_Full_Screen_Mode_List(Screen_Mode_List* list);
