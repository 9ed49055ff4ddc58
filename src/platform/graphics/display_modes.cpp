// The display-mode source switch and its headless answer.
#include "platform/graphics/display_modes.h"

namespace {
Display_Mode_Source* Installed = nullptr;
}

Headless_Display_Modes::Headless_Display_Modes()
{
    const DWORD sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1920, 1080}};
    for (auto& size : sizes) {
        for (DWORD bits : {16u, 32u}) {
            Mode_List.push_back({size[0], size[1], bits, 60});
        }
    }
}

bool Headless_Display_Modes::Current_Mode(Display_Mode* mode)
{
    if (!Readable || !mode) {
        return false;
    }
    *mode = Desktop;
    return true;
}

Headless_Display_Modes& Headless_Modes()
{
    static Headless_Display_Modes modes;
    return modes;
}

Display_Mode_Source& Display_Modes()
{
    return Installed ? *Installed : Headless_Modes();
}

void Set_Display_Mode_Source(Display_Mode_Source* source)
{
    Installed = source;
}
