// The five settings dialogs — plasma, sine wave, fade speed, rotation speed, brightness —
// as dialog procedures over the slider engine (slider_dialog.h). Each loads its process-wide
// working copies from the live settings when it opens and writes them back, converted, only on
// OK: the plasma then rebuilds its tables at its current size, the sine wave asks for a
// redraw. Cancel discards them; Default puts the controls back without touching the settings.
#pragma once

#include "platform/window/window.h"

#include <cstdint>

intptr_t Plasma_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
intptr_t Sine_Wave_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
intptr_t Fade_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
intptr_t Rotation_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);
intptr_t Brightness_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam);

// The working copies, one set per dialog. The scroll position, the number shown and the value
// are always the same integer; the plasma's two flags are what its check boxes show.
struct Plasma_Dialog_Values {
    int32_t Contrast = 0;     // the field itself, 2 … 25
    int32_t Interference = 0; // tenths, 30 … 120
    bool Random = false;
    bool Large = false; // a 512-pixel texture
};
struct Sine_Wave_Dialog_Values {
    int32_t Variance = 0; // 1 … 100
    int32_t Density = 0;  // units of 0.0002, 1 … 5000
};
struct Settings_Dialog_Values {
    Plasma_Dialog_Values Plasma;
    Sine_Wave_Dialog_Values Sine_Wave;
    int32_t Fade = 0;       // units of 0.00001 seconds, 1 … 10000
    int32_t Rotation = 0;   // units of 0.00001 radians a second, 1 … 50000
    int32_t Brightness = 0; // one byte of the grey, 40 … 255
};
Settings_Dialog_Values& Dialog_Working_Copies();
