// Where the DirectDraw object learns the desktop's display mode and the list of full-screen
// modes. The window backends (XRandR) and the headless tools install their source; until one is
// installed the headless source answers: a 1024 × 768 × 32 desktop and the modes 640 × 480,
// 800 × 600, 1024 × 768, 1280 × 720 and 1920 × 1080 at 16 and 32 bits.
#pragma once

#include "platform/win_types.h"

#include <vector>

struct Display_Mode {
    DWORD Width = 0;
    DWORD Height = 0;
    DWORD Bits_Per_Pixel = 0;
    DWORD Refresh_Rate = 0;
};

class Display_Mode_Source {
public:
    virtual ~Display_Mode_Source() = default;
    // False when the desktop's mode cannot be read.
    virtual bool Current_Mode(Display_Mode* mode) = 0;
    virtual std::vector<Display_Mode> Modes() = 0;
};

class Headless_Display_Modes : public Display_Mode_Source {
public:
    Headless_Display_Modes();
    bool Current_Mode(Display_Mode* mode) override;
    std::vector<Display_Mode> Modes() override { return Mode_List; }

    // Tests change these to stage a desktop (an 8-bit one, an unreadable one, …).
    Display_Mode Desktop{1024, 768, 32, 60};
    bool Readable = true;
    std::vector<Display_Mode> Mode_List;
};

// The installed source (the process-wide headless one when none was installed).
Display_Mode_Source& Display_Modes();
// Installs a source (not owned; it must outlive its use); null goes back to the headless one.
void Set_Display_Mode_Source(Display_Mode_Source* source);
// The process-wide headless source, for tests that stage a desktop.
Headless_Display_Modes& Headless_Modes();
