// The window system behind the calls of window.h: window records, the one message queue,
// menus, accelerators, cursor and screen state, and the last frame presented into each window.
//
// This class is complete without a display — windows are records and input is what is posted
// to the queue — and is the headless backend used by the tests and the render tool. A display
// backend derives from it and overrides the hooks at the end: it shows what the records say,
// and turns its events into posted messages, so the program's message procedures run
// unchanged over either.
#pragma once

#include "platform/window/window.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

// A frame handed to a window by the device layer's presenter: the back buffer's pixels as
// they are, in a 16-bit (5-6-5 or 5-5-5) or 32-bit (X8R8G8B8) format.
struct Frame_Pixels {
    const void* Pixels = nullptr;
    int Pitch = 0;
    int Width = 0;
    int Height = 0;
    int Bits_Per_Pixel = 0;
    uint32_t Green_Mask = 0; // 0x07E0 for 5-6-5 at 16 bits
};

// The last frame shown in a window, kept as 32-bit 0x00RRGGBB words, row after row.
struct Presented_Frame {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint64_t Count = 0; // frames presented to this window so far
};

class Window_System {
public:
    struct Menu_Item {
        std::string Text;
        UINT Id = 0;
        bool Checked = false;
        bool Separator = false;
        HMENU Submenu = nullptr;
    };
    struct Menu {
        std::vector<Menu_Item> Items;
    };
    struct Window {
        HWND Handle = nullptr;
        std::string Class_Name;
        std::string Title;
        DWORD Style = 0;
        DWORD Ex_Style = 0;
        RECT Rect{}; // screen coordinates, or the parent's client coordinates for a child
        RECT Normal_Position{};
        HWND Parent = nullptr;
        HMENU Menu = nullptr;
        WNDPROC Procedure = nullptr;
        bool Minimised = false;
        bool Destroying = false;
        // Dialogs.
        DLGPROC Dialog_Procedure = nullptr;
        std::string Template_Name;
        bool Dialog_Ended = false;
        intptr_t Dialog_Result = 0;
        Presented_Frame Frame;
    };

    Window_System();
    virtual ~Window_System();

    // Back to a fresh process: no windows, classes, menus or messages; 1024 × 768 screen.
    void Reset();

    // --- The calls of window.h -----------------------------------------------------------
    ATOM Register_Class(const WNDCLASSA& window_class);
    HWND Create_Window(DWORD ex_style, const char* class_name, const char* title, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, void* param);
    BOOL Destroy_Window(HWND window);
    bool Is_Window(HWND window) const;
    BOOL Show_Window(HWND window, int command);
    BOOL Update_Window(HWND window);
    BOOL Get_Client_Rect(HWND window, RECT* rect) const;
    BOOL Get_Window_Rect(HWND window, RECT* rect) const;
    BOOL Set_Window_Pos(HWND window, HWND insert_after, int x, int y, int width, int height, UINT flags);
    BOOL Get_Window_Placement(HWND window, WINDOWPLACEMENT* placement) const;
    BOOL Set_Window_Placement(HWND window, const WINDOWPLACEMENT* placement);
    LONG Get_Window_Long(HWND window, int index) const;
    LONG Set_Window_Long(HWND window, int index, LONG value);
    HWND Get_Parent(HWND window) const;
    BOOL Is_Iconic(HWND window) const;

    BOOL Peek_Message(MSG* message, HWND window, UINT first, UINT last, UINT remove);
    BOOL Get_Message(MSG* message, HWND window, UINT first, UINT last);
    BOOL Translate_Message(const MSG* message);
    LRESULT Dispatch_Message(const MSG* message);
    BOOL Post_Message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD modifiers = 0);
    LRESULT Send_Message(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    void Post_Quit_Message(int exit_code);
    LRESULT Def_Window_Proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
    int16_t Get_Key_State(int virtual_key) const;

    HACCEL Load_Accelerators(const char* name);
    int Translate_Accelerator(HWND window, HACCEL table, MSG* message);

    HMENU Load_Menu(const char* name);
    HMENU Get_Menu(HWND window) const;
    BOOL Set_Menu(HWND window, HMENU menu);
    HMENU Get_Sub_Menu(HMENU menu, int position) const;
    DWORD Check_Menu_Item(HMENU menu, UINT id, UINT flags);
    UINT Get_Menu_State(HMENU menu, UINT id, UINT flags) const;
    BOOL Track_Popup_Menu(HMENU menu, UINT flags, int x, int y, HWND window);
    BOOL Destroy_Menu(HMENU menu);

    HCURSOR Load_Cursor(const char* name);
    HCURSOR Set_Cursor(HCURSOR cursor);
    int Show_Cursor(BOOL show);
    int Get_System_Metrics(int index) const;

    intptr_t Dialog_Box(const char* template_name, HWND owner, DLGPROC procedure, LPARAM param);
    BOOL End_Dialog(HWND dialog, intptr_t result);

    // --- Presenting ---------------------------------------------------------------------
    // Shows a frame in the window's client area (scaled to it) and keeps it as the window's
    // last frame; false when the window does not exist.
    bool Present(HWND window, const Frame_Pixels& frame);
    const Presented_Frame* Last_Frame(HWND window) const;

    // --- Inspection and input for tests and tools ----------------------------------------
    void Set_Screen_Size(int width, int height);
    // A key press as the keyboard would deliver it (WM_SYSKEYDOWN when Alt is held).
    void Post_Key(HWND window, int virtual_key, DWORD modifiers = 0);
    void Post_Click(HWND window, UINT button_message, int x, int y);
    // Called when GetMessageA finds the queue empty; it may post input. When it posts
    // nothing (or there is none), no input will ever come and GetMessageA answers WM_QUIT.
    std::function<void()> On_Idle_Wait;
    // Called when PeekMessageA finds nothing (the frame loop's "idle turn", once per frame);
    // it may post input, e.g. end a run after so many frames.
    std::function<void()> On_Idle_Poll;
    // Frames shown per second when the system paces presenting (as a display's frame clock
    // does); 0, the default, presents at once.
    int Frames_Per_Second = 0;
    // Runs a modal dialog: may send it messages and end it. Without one a dialog is cancelled.
    std::function<void(HWND dialog, const std::string& template_name)> Dialog_Script;
    // Chooses from a popup menu: the command id, or 0 for none.
    std::function<UINT(HMENU popup)> Popup_Choice;
    const Window* Find(HWND window) const;
    const Menu* Find_Menu(HMENU menu) const;
    std::size_t Window_Count() const { return Windows.size(); }
    std::size_t Pending_Messages() const { return Queue.size(); }
    bool Cursor_Hidden() const { return Cursor_Count < 0 || Current_Cursor == nullptr; }
    int Cursor_Display_Count() const { return Cursor_Count; }
    HMENU Last_Popup() const { return Last_Popup_Menu; }
    int Popups_Shown() const { return Popup_Count; }

protected:
    Window* Find(HWND window);
    Menu* Find_Menu(HMENU menu);

    // --- Hooks of a display backend (the headless system does nothing in them) -----------
    // Called for a handle that is no window of ours (e.g. a preview parent made by another
    // program); true when the backend has adopted it as a window record.
    virtual bool Adopt_Foreign_Window(HWND) { return false; }
    virtual void On_Window_Created(Window&) {}
    virtual void On_Window_Destroyed(Window&) {}
    virtual void On_Geometry_Changed(Window&) {}
    virtual void On_Style_Changed(Window&) {}
    virtual void On_Menu_Changed(Window&) {}
    virtual void On_Cursor_Changed() {}
    virtual void On_Frame_Presented(Window&) {}
    // Moves pending display events into the queue; with wait, blocks until there is one.
    // Returns false when no input can ever arrive.
    virtual bool Pump_Input(bool wait);
    // Runs a dialog until it has ended.
    virtual void Run_Dialog(HWND dialog);
    // Shows a popup menu and answers the chosen command id (0 for none).
    virtual UINT Run_Popup(HMENU popup, int x, int y, HWND owner);

private:
    HMENU Build_Menu(const struct Menu_Template& menu_template, std::size_t& index);
    void Send_Size_And_Move(HWND window, bool sized, bool moved);
    Menu_Item* Find_Menu_Item(HMENU menu, UINT id, UINT flags);
    bool Matches(const MSG& message, HWND window, UINT first, UINT last) const;
    void Post_Close_Requests();
    void Pace_Frame();

    std::map<std::string, WNDCLASSA> Classes; // by upper-case name
    std::map<HWND, std::unique_ptr<Window>> Windows;
    std::map<HMENU, Menu> Menus;
    std::map<HACCEL, std::vector<ACCEL>> Accelerators;
    std::deque<MSG> Queue;
    bool Quit_Posted = false;
    int Quit_Code = 0;
    DWORD Current_Modifiers = 0;
    uintptr_t Next_Handle = 0x10000;
    int Screen_Width = 1024;
    int Screen_Height = 768;
    HCURSOR Current_Cursor = nullptr;
    int Cursor_Count = 0;
    HMENU Last_Popup_Menu = nullptr;
    int Popup_Count = 0;
    int64_t Next_Frame_Nanoseconds = 0;
};

// Asks every top-level window to close (WM_CLOSE) at the next look at the queue. Safe to
// call from a signal handler: the program then ends in its orderly way.
void Request_Close_All_Windows();

// The installed window system: the headless one unless a backend was installed.
Window_System& Current_Window_System();
// Installs a backend (owned); nullptr puts a fresh headless system back.
void Install_Window_System(std::unique_ptr<Window_System> system);
