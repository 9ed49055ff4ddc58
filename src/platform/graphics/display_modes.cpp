// The full-screen mode list switch and its headless answer.
#include "platform/graphics/display_modes.h"

namespace {
Screen_Mode_List* Installed = nullptr;
}

Headless_Screen_Modes::Headless_Screen_Modes()
{
    const DWORD sizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 720}, {1920, 1080}};
    for (auto& size : sizes) {
        for (DWORD bits : {16u, 32u}) {
            Mode_List.push_back({size[0], size[1], bits, 60});
        }
    }
}

Screen_Mode_List& Full_Screen_Modes()
{
    static Headless_Screen_Modes headless;
    return Installed ? *Installed : headless;
}

void Set_Full_Screen_Mode_List(Screen_Mode_List* list)
{
    Installed = list;
}
