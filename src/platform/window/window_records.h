// The records the window system keeps and a display backend reads: windows (top-level,
// child, foreign, dialog and control windows alike), menus, and the state of each dialog and
// control. The window system alone changes them; a backend shows what they say.
#pragma once

#include "platform/window/resource_templates.h"
#include "platform/window/window_types.h"

#include <memory>
#include <string>
#include <vector>

struct Menu_Item_Record {
    std::string Text; // "\t" separates the key text
    UINT Id = 0;
    bool Checked = false;
    bool Separator = false;
    HMENU Submenu = nullptr; // a popup item's menu
};

struct Menu_Record {
    std::vector<Menu_Item_Record> Items;
};

// An open modal dialog.
struct Dialog_State {
    DLGPROC Procedure = nullptr;
    const Dialog_Template* Template = nullptr;
    std::string Template_Name;  // the name, or "#<id>" for a numbered template
    std::vector<HWND> Controls; // in template order
    bool Ended = false;
    intptr_t Result = 0;
};

// A control of a dialog; its text is the window's Text.
struct Control_State {
    Control_Kind Kind = Control_Kind::Text;
    int Id = 0;
    DWORD Style = 0;
    RECT Dialog_Units{}; // where the template puts it, in dialog units
    UINT Check = 0;      // BST_CHECKED or BST_UNCHECKED (check boxes)
    int Scroll_Min = 0;  // scroll bars: the range and the thumb's position in it
    int Scroll_Max = 100;
    int Scroll_Pos = 0;
    struct Item {
        std::string Text;
        LPARAM Data = 0;
    };
    std::vector<Item> Items; // combo boxes, in the order added
    int Selection = -1;      // the selected item, -1 for none
};

struct Window_Record {
    HWND Handle = nullptr;
    std::string Class_Name;
    std::string Text; // the title of a window, the text of a control
    DWORD Style = 0;  // WS_* (WS_VISIBLE, WS_DISABLED, WS_POPUP, WS_CHILD …)
    DWORD Ex_Style = 0;
    // The outer rectangle: screen coordinates, or the parent's client coordinates for a
    // child. The client area is this less the backend's insets (menu bar, decorations).
    RECT Rect{};
    RECT Normal_Position{};
    HWND Parent = nullptr; // a child's parent, or a dialog's owner
    HMENU Menu = nullptr;
    WNDPROC Procedure = nullptr;
    bool Minimised = false;
    bool Destroying = false;
    bool Foreign = false;                   // another program's window, adopted through the backend
    std::unique_ptr<Dialog_State> Dialog;   // dialogs only
    std::unique_ptr<Control_State> Control; // controls only

    bool Is_Top_Level() const { return Parent == nullptr && !Foreign && !Dialog && !(Style & WS_CHILD); }
};
