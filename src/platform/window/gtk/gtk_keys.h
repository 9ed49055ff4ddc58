// Keys of the keyboard as the platform's virtual keys: what a GDK key event becomes in
// WM_KEYDOWN / WM_SYSKEYDOWN. The key is read as the unshifted key of the keyboard layout, so
// Shift+1 is still '1' and Ctrl+F is 'F', as the accelerator tables expect.
#pragma once

#include "platform/window/window_types.h"

// The virtual key of an unshifted key value (a GDK keyval); 0 for keys the program never
// hears of (modifiers alone, dead keys).
int Virtual_Key_Of(unsigned keyval);
// Modifier_* bits of a GDK modifier state.
DWORD Modifiers_Of(unsigned state);
