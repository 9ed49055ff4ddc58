// The shapes of the program's resources as the window system reads them: menu templates
// (nested item lists) and accelerator tables. The tables themselves are data of the program
// (src/resources); a display backend builds its real menus and key bindings from the same
// tables, so the texts, ids and keys are stated once.
#pragma once

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

// Lookups by resource id, provided by src/resources; nullptr when there is no such resource.
const Menu_Template* Find_Menu_Template(int id);
const Accelerator_Template* Find_Accelerator_Template(int id);
