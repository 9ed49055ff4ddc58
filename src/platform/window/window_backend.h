// Window_Backend: what differs from one display to the next, and the only place a display
// plugs into the window layer. The window system (window_system.h) keeps the platform's rules
// — window records, the one message queue, menus and accelerators, dialogs and controls,
// placement, cursor — and calls the backend to make them visible and to hear the user.
//
// Rules for every hook:
// - One thread. Every hook is called on the program's one thread, from inside a window.h call.
//   A backend that runs its own threads must hand their results to that thread (in Pump).
// - Never re-enter. A hook never calls a window procedure, SendMessageA or DispatchMessageA;
//   it reports the user's doings by posting through the window system (Post_Message,
//   Post_Key, Post_Click, Post_Button_Click, Post_Scroll, Post_Combo_Choice) or, for
//   geometry the user changed, through Native_Geometry_Changed — all from inside Pump only.
// - Records are the truth. The records (window_records.h) say what to show; a hook reads
//   them and never changes them. They live until the matching *_Destroyed or *_Closed hook.
// - Messages carry the platform's values: WM_KEYDOWN with virtual keys (VK_*, 'A'…'Z',
//   '0'…'9'), WM_SYSKEYDOWN while Alt is held, WM_LBUTTONDOWN/WM_RBUTTONDOWN with client
//   coordinates, WM_CONTEXTMENU with screen coordinates, WM_COMMAND with a menu item's id,
//   WM_ENTERMENULOOP/WM_EXITMENULOOP around a menu bar's menu, WM_ACTIVATEAPP (wParam 1 on
//   activation, 0 on deactivation), WM_CLOSE when the user closes a window, WM_SYSCOMMAND
//   SC_MONITORPOWER when the display goes to sleep.
#pragma once

#include "platform/window/window.h"
#include "platform/window/window_records.h"

#include <optional>
#include <string>
#include <vector>

class Window_System;

// What changed in a window record (bits of Window_Changed's `changes`).
inline constexpr unsigned Change_Geometry = 0x1; // Rect (and so the client area)
inline constexpr unsigned Change_Style = 0x2;    // Style or Ex_Style: visibility, popup, topmost, disabled
inline constexpr unsigned Change_Text = 0x4;     // Text
inline constexpr unsigned Change_Menu = 0x8;     // the window's menu bar (Menu) was set or removed

// How long Pump may block.
enum class Pump_Wait {
    None,       // take what is pending and return at once
    Next_Frame, // until input has been posted or the display can take the next frame
    Input,      // until input has been posted (or a close request arrived)
};

// Another program's window, as far as the program asks about it.
struct Foreign_Window {
    DWORD Style = 0; // WS_POPUP, WS_VISIBLE … as the platform would report them
    RECT Rect{};     // screen coordinates; the client area is the whole of it
};

// What the program asks of the open-file dialog, read from its OPENFILENAMEA.
struct Open_File_Request {
    HWND Owner = nullptr;
    struct Filter {
        std::string Description; // "Mp3 Files (*.MP3)"
        std::string Pattern;     // "*.mp3" (";" separates several)
    };
    std::vector<Filter> Filters;
    int Filter_Index = 0; // 0-based index of the filter shown first, -1 when there are none
    std::string Initial_Folder;
    std::string Initial_File; // a previous choice, to start at
    std::string Title;        // empty: the backend's own ("Open")
    std::string Default_Extension;
    bool Create_Prompt = false; // a typed name that does not exist may be chosen after asking
};

class Window_Backend {
public:
    virtual ~Window_Backend() = default;

    // Called once, before any other hook, by the window system that owns this backend.
    virtual void Attach(Window_System& system) { System = &system; }

    // --- Screen ----------------------------------------------------------------------------
    // The screen's size in pixels (GetSystemMetrics SM_CXSCREEN / SM_CYSCREEN).
    virtual SIZE Screen_Size() = 0;

    // --- Native windows ----------------------------------------------------------------------
    // A window record was made (top-level or child; also a child whose parent is foreign).
    // Make its native window, shown only when its Style has WS_VISIBLE. Dialogs and controls
    // never come here (see Dialog_Opened).
    virtual void Window_Created(const Window_Record& window) = 0;
    // The record is about to go; destroy the native window. Children come first.
    virtual void Window_Destroyed(const Window_Record& window) = 0;
    // The program changed the record (the Change_* bits); show the change. A top-level
    // window's Rect is where the whole window goes; WS_POPUP without WS_CAPTION means no
    // decorations; WS_EX_TOPMOST keeps it above others.
    virtual void Window_Changed(const Window_Record& window, unsigned changes) = 0;
    // How far the client area lies inside Rect on each side (decorations and the menu bar),
    // so that GetClientRect answers the real client area. Called often: answer from memory.
    virtual RECT Client_Insets(const Window_Record& window) = 0;
    // A menu item's check mark changed; `menu` is the menu the program named (the item may be
    // in one of its submenus). Menus shown as a menu bar are built from Find_Menu's records.
    virtual void Menu_Item_Changed(HMENU menu, UINT id, bool checked) = 0;
    // The cursor over the program's windows is shown or hidden.
    virtual void Cursor_Changed(bool visible) = 0;

    // --- Other programs' windows -------------------------------------------------------------
    // Called for a handle that is no window of ours (a preview parent given on the command
    // line, the foreground window). Answer it when the display has such a window; the window
    // system then keeps a Foreign record for it. Watch it: when it is resized call
    // Foreign_Window_Resized, when it goes away Foreign_Window_Gone (from inside Pump).
    virtual std::optional<Foreign_Window> Adopt_Foreign_Window(HWND handle) = 0;
    // The window that has the keyboard focus on the display, ours or not; nullptr for none.
    virtual HWND Foreground_Window() = 0;

    // --- Frames ------------------------------------------------------------------------------
    // Show the frame in the window's client area, scaled to it (keeping the frame's aspect,
    // black around it, when Frame_Pixels::Keep_Aspect is set). The pixels are only valid
    // during the call: copy them. Answer true even when nothing shows (a hidden or covered
    // window); false means the frame could not be taken at all, which ends the run. From
    // now until the display has shown this frame, Pump(Next_Frame) must wait: that is the
    // frame pacing (one frame per refresh) that keeps the program off the processor.
    virtual bool Present(const Window_Record& window, const Frame_Pixels& frame) = 0;

    // --- Input -------------------------------------------------------------------------------
    // Move the display's pending events into the queue as posted messages, blocking as `wait`
    // says. A close request (Close_Request_Fd readable) ends any wait. Answer false only when
    // no input can ever arrive (then GetMessageA ends the loop instead of waiting for ever).
    virtual bool Pump(Pump_Wait wait) = 0;

    // --- Modal things ------------------------------------------------------------------------
    // A modal dialog opens: its record and its controls' records (Dialog->Controls, each with
    // Control and Text) are complete and WM_INITDIALOG has run. Show it over its owner (Parent,
    // may be none), laid out from Dialog->Template in dialog units. The window system then
    // runs the modal loop (Pump(Input) and dispatch) until the dialog ends; meanwhile input
    // to other windows of ours is not to be posted. User actions on controls are posted with
    // Post_Button_Click, Post_Scroll, Post_Combo_Choice; Escape or closing the dialog with
    // Post_Message(dialog, WM_CLOSE); Enter as a click on the BS_DEFPUSHBUTTON control.
    // Scroll bars do not move by themselves: the program positions them.
    virtual void Dialog_Opened(const Window_Record& dialog) = 0;
    // A control's record changed (text, check, enabled, range, position, items, selection).
    virtual void Control_Changed(const Window_Record& control) = 0;
    // The dialog has ended; hide it. Its records go right after.
    virtual void Dialog_Closed(const Window_Record& dialog) = 0;
    // Show a popup menu at (x, y) on the screen and block until it closes; answer the chosen
    // item's id, or 0 for none. The window system sends the menu-loop messages around it.
    virtual UINT Track_Popup_Menu(HMENU menu, int x, int y, const Window_Record& owner) = 0;
    // A modal message box; answer the button pressed (IDOK, IDCANCEL, IDYES, IDNO).
    virtual int Message_Box(HWND owner, const char* text, const char* caption, UINT type) = 0;
    // The open-file dialog; true with the chosen path (absolute) when the user chose a file.
    virtual bool Open_File(const Open_File_Request& request, std::string& chosen) = 0;

protected:
    Window_System* System = nullptr;
};
