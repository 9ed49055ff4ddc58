// The engine the five settings dialogs share: each value is a horizontal scroll bar with its
// number in a static text, and a working copy that the bar, the number and the value always
// agree on. A dialog is a table of its sliders plus what it does on opening, on OK and on its
// own buttons; the engine answers WM_INITDIALOG, WM_HSCROLL and the OK, Cancel and Default
// buttons the same way for all of them, through the window.h calls only.
#pragma once

#include "platform/window/window.h"

#include <cstdint>
#include <span>

struct Slider {
    int Scroll_Id;
    int Number_Id;
    int32_t Minimum;
    int32_t Maximum;
    int32_t Default;
    int32_t* Value; // the dialog's process-wide working copy
};

struct Slider_Dialog {
    std::span<const Slider> Sliders;
    // The slider that scroll messages from any other control move, or -1 when they move none.
    int Other_Bars;
    // Working copies from the settings (and the dialog's own controls set), before the
    // sliders are shown.
    void (*Load)(HWND dialog);
    // The settings from the working copies, and what OK sets off besides.
    void (*Store)();
    // Optional: the dialog's own controls. Answers true when it handled the command id.
    bool (*Command)(HWND dialog, int id);
    // Optional: after Default has put the sliders back, the rest of the dialog's defaults.
    void (*Defaults)(HWND dialog);
};

// The working value after a scroll code: a line or page step is one unit, kept within the
// range; the thumb codes take the position (kept within the range too); SB_LEFT and SB_RIGHT
// the ends. Any other code (SB_ENDSCROLL) leaves it and answers handled = false.
int32_t Scrolled_Value(int32_t value, WORD code, int position, int32_t minimum, int32_t maximum,
                       bool& handled);

// The dialog procedure of a slider dialog (each dialog's DLGPROC calls it with its table).
intptr_t Slider_Dialog_Procedure(const Slider_Dialog& table, HWND dialog, UINT message, WPARAM wparam,
                                 LPARAM lparam);
