// The shapes of the program's resources as the window system reads them: menu templates
// (nested item lists), accelerator tables and dialog templates. The tables themselves are
// data of the program (src/resources); a display backend builds its real menus, key bindings
// and dialogs from the same tables, so the texts, ids, keys and layouts are stated once.
#pragma once

#include "platform/window/dialog_types.h"
#include "platform/window/window_types.h"

#include <cstddef>

enum class Menu_Entry_Kind { Item, Separator, Popup_Begin, Popup_End };

struct Menu_Template_Entry {
    Menu_Entry_Kind Kind;
    const char* Text; // items and popups; "\t" separates the key text
    UINT Id;          // items only
    bool Checked;     // state the template gives the item
};

struct Menu_Template {
    int Id;
    const Menu_Template_Entry* Entries;
    std::size_t Count;
};

struct Accelerator_Template {
    int Id;
    const ACCEL* Entries;
    std::size_t Count;
};

// What a dialog control is; the Style bits say the rest (BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX,
// SS_CENTER, CBS_DROPDOWNLIST, WS_DISABLED …).
enum class Control_Kind {
    Push_Button, // sends BN_CLICKED; BS_DEFPUSHBUTTON also answers Enter
    Check_Box,   // BS_AUTOCHECKBOX: a click toggles the check, then sends BN_CLICKED
    Group_Box,   // a labelled frame round other controls
    Text,        // a static text (SS_LEFT or SS_CENTER)
    Icon,        // the program's icon (Text unused)
    Scroll_Bar,  // horizontal; sends WM_HSCROLL with SB_* codes
    Combo_Box,   // a drop-down list; sends CBN_SELENDOK when the user picks an item
};

// Positions and sizes are in dialog units: x units are a quarter, y units an eighth of the
// dialog font's average character width and height.
struct Dialog_Control_Template {
    Control_Kind Kind;
    int Id; // IDC_STATIC for controls nobody asks for
    const char* Text;
    short X, Y, Width, Height;
    DWORD Style;
};

struct Dialog_Template {
    int Id;           // a numbered resource, or 0
    const char* Name; // a named resource ("PLASMABOX"), or nullptr
    const char* Caption;
    short Width, Height;
    const char* Font_Name;
    int Font_Points;
    const Dialog_Control_Template* Controls;
    std::size_t Count;
};

// Lookups by resource id, provided by src/resources; nullptr when there is no such resource.
const Menu_Template* Find_Menu_Template(int id);
const Accelerator_Template* Find_Accelerator_Template(int id);
// By number (MAKEINTRESOURCEA) or by name, the name compared without regard to case.
const Dialog_Template* Find_Dialog_Template(const char* name);
