// GDK key values to virtual keys.
#include "platform/window/gtk/gtk_keys.h"

#include <gdk/gdk.h>

namespace {

struct Key_Pair {
    unsigned Keyval;
    int Virtual_Key;
};

// The platform's fixed virtual-key values for keys without a character of their own.
constexpr Key_Pair Named_Keys[] = {
    {GDK_KEY_BackSpace, VK_BACK},
    {GDK_KEY_Tab, VK_TAB},
    {GDK_KEY_ISO_Left_Tab, VK_TAB},
    {GDK_KEY_Return, VK_RETURN},
    {GDK_KEY_KP_Enter, VK_RETURN},
    {GDK_KEY_Escape, VK_ESCAPE},
    {GDK_KEY_space, VK_SPACE},
    {GDK_KEY_KP_Space, VK_SPACE},
    {GDK_KEY_Pause, 0x13},
    {GDK_KEY_Page_Up, 0x21},
    {GDK_KEY_Page_Down, 0x22},
    {GDK_KEY_End, 0x23},
    {GDK_KEY_Home, 0x24},
    {GDK_KEY_Left, VK_LEFT},
    {GDK_KEY_Up, VK_UP},
    {GDK_KEY_Right, VK_RIGHT},
    {GDK_KEY_Down, VK_DOWN},
    {GDK_KEY_Insert, 0x2D},
    {GDK_KEY_Delete, 0x2E},
    {GDK_KEY_KP_Multiply, 0x6A},
    {GDK_KEY_KP_Add, 0x6B},
    {GDK_KEY_KP_Subtract, 0x6D},
    {GDK_KEY_KP_Decimal, 0x6E},
    {GDK_KEY_KP_Divide, 0x6F},
    {GDK_KEY_plus, 0xBB},
    {GDK_KEY_equal, 0xBB},
    {GDK_KEY_comma, 0xBC},
    {GDK_KEY_minus, 0xBD},
    {GDK_KEY_period, 0xBE},
    {GDK_KEY_slash, 0xBF},
    {GDK_KEY_Shift_L, VK_SHIFT},
    {GDK_KEY_Shift_R, VK_SHIFT},
    {GDK_KEY_Control_L, VK_CONTROL},
    {GDK_KEY_Control_R, VK_CONTROL},
    {GDK_KEY_Alt_L, VK_MENU},
    {GDK_KEY_Alt_R, VK_MENU},
};

} // namespace

int Virtual_Key_Of(unsigned keyval)
{
    if (keyval >= GDK_KEY_a && keyval <= GDK_KEY_z) {
        return static_cast<int>('A' + (keyval - GDK_KEY_a));
    }
    if (keyval >= GDK_KEY_A && keyval <= GDK_KEY_Z) {
        return static_cast<int>(keyval);
    }
    if (keyval >= GDK_KEY_0 && keyval <= GDK_KEY_9) {
        return static_cast<int>(keyval);
    }
    if (keyval >= GDK_KEY_KP_0 && keyval <= GDK_KEY_KP_9) {
        return static_cast<int>(0x60 + (keyval - GDK_KEY_KP_0));
    }
    if (keyval >= GDK_KEY_F1 && keyval <= GDK_KEY_F24) {
        return static_cast<int>(VK_F1 + (keyval - GDK_KEY_F1));
    }
    for (const Key_Pair& pair : Named_Keys) {
        if (pair.Keyval == keyval) {
            return pair.Virtual_Key;
        }
    }
    return 0;
}

DWORD Modifiers_Of(unsigned state)
{
    return ((state & GDK_SHIFT_MASK) ? Modifier_Shift : 0) |
           ((state & GDK_CONTROL_MASK) ? Modifier_Control : 0) | ((state & GDK_MOD1_MASK) ? Modifier_Alt : 0);
}
