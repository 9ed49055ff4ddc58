// The program-wide Menu object: the menu bar's check marks (Update_Menus) and the openers of
// the five settings dialogs.
//
// Its window and instance handles stay null, as for an object that never made a window: the
// dialogs come from the program's own templates and have no owner window.
#pragma once

#include "platform/window/window.h"

class Menu_Object {
public:
    HWND Window = nullptr;
    HINSTANCE Instance = nullptr;

    // Check marks of the window's menu bar from the live settings: Music and Symbols only for
    // exactly 1, the titles' two items for any value but 0, one of the two resolutions.
    void Update_Menus(HWND window);

    // Each shows its dialog, returns when it has closed, and answers 1.
    int Plasma_Dialog();
    int Sine_Wave_Dialog();
    int Fade_Dialog();
    int Rotation_Dialog();
    int Brightness_Dialog();

private:
    int Open(const char* template_name, DLGPROC procedure);
};

extern Menu_Object Menu;
