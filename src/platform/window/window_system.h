// The window system behind the calls of window.h: the platform's rules, kept the same over
// every display. It holds the window records, the one message queue, menus and accelerators,
// dialogs and their controls, placement and cursor, and owns the display backend
// (window_backend.h) that shows them and turns the user's doings into posted messages.
//
// Its implementation is split by concern: window_records.cpp (windows), window_placement.cpp
// (where they are and how they move), message_queue.cpp (the queue and the close requests),
// menus.cpp (menus and accelerators), dialogs.cpp (modal dialogs, message boxes, the open-file
// dialog) and controls.cpp (the controls' calls and messages).
#pragma once

#include "platform/window/window.h"
#include "platform/window/window_backend.h"
#include "platform/window/window_records.h"

#include <deque>
#include <map>
#include <memory>
#include <string>
#include <vector>

class Window_System {
public:
    explicit Window_System(std::unique_ptr<Window_Backend> backend);
    ~Window_System();
    Window_System(const Window_System&) = delete;
    Window_System& operator=(const Window_System&) = delete;

    Window_Backend& Backend() { return *Display; }

    // --- The calls of window.h -----------------------------------------------------------
    ATOM Register_Class(const WNDCLASSA& window_class);
    HWND Create_Window(DWORD ex_style, const char* class_name, const char* title, DWORD style, int x, int y,
                       int width, int height, HWND parent, HMENU menu, void* param);
    BOOL Destroy_Window(HWND window);
    bool Is_Window(HWND window) const;
    BOOL Show_Window(HWND window, int command);
    BOOL Update_Window(HWND window);
    BOOL Get_Client_Rect(HWND window, RECT* rect);
    BOOL Get_Window_Rect(HWND window, RECT* rect);
    BOOL Client_To_Screen(HWND window, POINT* point);
    BOOL Set_Window_Pos(HWND window, HWND insert_after, int x, int y, int width, int height, UINT flags);
    BOOL Get_Window_Placement(HWND window, WINDOWPLACEMENT* placement);
    BOOL Set_Window_Placement(HWND window, const WINDOWPLACEMENT* placement);
    LONG Get_Window_Long(HWND window, int index);
    LONG Set_Window_Long(HWND window, int index, LONG value);
    HWND Get_Parent(HWND window);
    BOOL Is_Iconic(HWND window);
    HWND Get_Foreground_Window();
    BOOL Set_Window_Text(HWND window, const char* text);
    int Get_Window_Text(HWND window, char* text, int size);
    BOOL Enable_Window(HWND window, BOOL enable);
    BOOL Is_Window_Enabled(HWND window);
    BOOL Present(HWND window, const Frame_Pixels& frame);

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
    HMENU Get_Menu(HWND window);
    BOOL Set_Menu(HWND window, HMENU menu);
    HMENU Get_Sub_Menu(HMENU menu, int position) const;
    DWORD Check_Menu_Item(HMENU menu, UINT id, UINT flags);
    UINT Get_Menu_State(HMENU menu, UINT id, UINT flags);
    BOOL Track_Popup_Menu(HMENU menu, UINT flags, int x, int y, HWND window);
    BOOL Destroy_Menu(HMENU menu);

    HCURSOR Load_Cursor(const char* name);
    HCURSOR Set_Cursor(HCURSOR cursor);
    int Show_Cursor(BOOL show);
    int Get_System_Metrics(int index);

    intptr_t Dialog_Box(const char* template_name, HWND owner, DLGPROC procedure, LPARAM param);
    BOOL End_Dialog(HWND dialog, intptr_t result);
    HWND Get_Dialog_Item(HWND dialog, int id);
    int Message_Box(HWND owner, const char* text, const char* caption, UINT type);
    BOOL Get_Open_File_Name(OPENFILENAMEA* record);

    // --- For backends: what they read ----------------------------------------------------
    const Window_Record* Find(HWND window) const;
    const Menu_Record* Find_Menu(HMENU menu) const;
    std::size_t Window_Count() const { return Windows.size(); }
    std::size_t Pending_Messages() const { return Queue.size(); }
    bool Quit_Pending() const { return Quit_Posted; }
    bool Cursor_Hidden() const { return Cursor_Count < 0 || Current_Cursor == nullptr; }

    // --- For backends: the user's doings, posted as the platform posts them --------------
    // A key press (WM_SYSKEYDOWN when Alt is held).
    void Post_Key(HWND window, int virtual_key, DWORD modifiers = 0);
    // A mouse button message at client coordinates.
    void Post_Click(HWND window, UINT button_message, int x, int y);
    // A click on a dialog's button or check box (an automatic check box toggles first).
    bool Post_Button_Click(HWND control);
    // A scroll bar's WM_HSCROLL to its dialog; position only for the thumb codes.
    bool Post_Scroll(HWND scroll_bar, WORD code, int position = 0);
    // The user picked item `index` of a combo box: selected, then CBN_SELENDOK.
    bool Post_Combo_Choice(HWND combo_box, int index);
    // The user moved, resized, minimised or restored a top-level window: the record follows
    // and the window gets WM_SIZE and WM_MOVE as for SetWindowPos.
    void Native_Geometry_Changed(HWND window, const RECT& rect, bool minimised);
    // Another program's window that we adopted was resized (its children that fill it follow)
    // or is gone (its children are destroyed, which ends a preview in order).
    void Foreign_Window_Resized(HWND window, int width, int height);
    void Foreign_Window_Gone(HWND window);

private:
    Window_Record* Record(HWND window);
    Menu_Record* Menu(HMENU menu);
    HWND New_Handle();
    Window_Record& Add_Record(HWND handle);
    void Changed(Window_Record& record, unsigned changes);
    RECT Client_Rect_Of(const Window_Record& record);
    void Send_Size_And_Move(HWND window, bool sized, bool moved);
    bool Take_Message(MSG* message, HWND window, UINT first, UINT last, UINT remove);
    bool Closes_On_Request(const Window_Record& record) const;
    void Post_Close_Requests();
    HMENU Build_Menu(const Menu_Template& menu_template, std::size_t& index);
    Menu_Item_Record* Find_Menu_Item(HMENU menu, UINT id, UINT flags);
    HWND Make_Dialog(const Dialog_Template& dialog_template, const std::string& name, HWND owner,
                     DLGPROC procedure);
    void Run_Modal_Loop(HWND dialog);
    bool Is_For_Dialog(const MSG& message, HWND dialog) const;
    LRESULT Control_Procedure(Window_Record& control, UINT message, WPARAM wparam, LPARAM lparam);
    LRESULT Combo_Box_Message(Window_Record& control, UINT message, WPARAM wparam, LPARAM lparam);

    std::unique_ptr<Window_Backend> Display;
    std::map<std::string, WNDCLASSA> Classes; // by upper-case name
    std::map<HWND, std::unique_ptr<Window_Record>> Windows;
    std::map<HMENU, Menu_Record> Menus;
    std::map<HACCEL, std::vector<ACCEL>> Accelerators;
    std::deque<MSG> Queue;
    std::vector<HWND> Open_Dialogs; // innermost last
    bool Quit_Posted = false;
    int Quit_Code = 0;
    DWORD Current_Modifiers = 0;
    uintptr_t Next_Handle = 0x10000;
    HCURSOR Current_Cursor = nullptr;
    int Cursor_Count = 0;
};

// Asks every top-level window to close (WM_CLOSE, and every open dialog to cancel) at the next
// look at the queue, and wakes a waiting Pump. Safe to call from a signal handler: the program
// then ends in its orderly way.
void Request_Close_All_Windows();
// Readable while a close request waits: a backend's Pump wakes on it (poll, or a GLib source).
int Close_Request_Fd();
// Takes the pending close request, if any.
bool Take_Close_Request();

// The installed window system: a fresh headless one until another backend was installed.
Window_System& Current_Window_System();
// Installs a window system over the backend; nullptr installs a fresh headless one (as the
// tests use it: no pacing, input only what is posted).
void Install_Window_System(std::unique_ptr<Window_Backend> backend);
