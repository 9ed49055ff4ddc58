// The window interface the program calls: windows with handles and window procedures, one
// message queue, accelerators, menus with check marks, placement, cursor, screen metrics and
// modal dialogs, in the shapes and with the names of the original platform's calls.
//
// Every call goes to the installed window system (window_system.h): the headless one by
// default, a display backend where one has been installed. The program's code never knows
// which.
#pragma once

#include "platform/window/window_types.h"

using ATOM = WORD;

// Window classes and windows.
ATOM RegisterClassA(const WNDCLASSA* window_class);
HWND CreateWindowExA(DWORD ex_style, const char* class_name, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
BOOL ShowWindow(HWND window, int command);
BOOL UpdateWindow(HWND window);
BOOL GetClientRect(HWND window, RECT* rect);
BOOL GetWindowRect(HWND window, RECT* rect);
BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int width, int height, UINT flags);
BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement);
BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement);
LONG GetWindowLongA(HWND window, int index);
LONG SetWindowLongA(HWND window, int index, LONG value);
HWND GetParent(HWND window);
BOOL IsIconic(HWND window);

// The message queue.
BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove);
BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessageA(const MSG* message);
BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
void PostQuitMessage(int exit_code);
LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// High bit set while the key is down, as seen by the message being handled.
int16_t GetKeyState(int virtual_key);

// Accelerators.
HACCEL LoadAcceleratorsA(HINSTANCE instance, const char* name);
int TranslateAcceleratorA(HWND window, HACCEL table, MSG* message);

// Menus.
HMENU LoadMenuA(HINSTANCE instance, const char* name);
HMENU GetMenu(HWND window);
BOOL SetMenu(HWND window, HMENU menu);
HMENU GetSubMenu(HMENU menu, int position);
// Returns the previous state (MF_CHECKED or MF_UNCHECKED), or (DWORD)-1 when there is no such item.
DWORD CheckMenuItem(HMENU menu, UINT id, UINT flags);
// MF_CHECKED when checked, 0 when not, (UINT)-1 when there is no such item.
UINT GetMenuState(HMENU menu, UINT id, UINT flags);
BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, void* params);
BOOL DestroyMenu(HMENU menu);

// Cursor and icons.
HCURSOR LoadCursorA(HINSTANCE instance, const char* name);
HICON LoadIconA(HINSTANCE instance, const char* name);
HCURSOR SetCursor(HCURSOR cursor);
int ShowCursor(BOOL show);

// Screen metrics.
int GetSystemMetrics(int index);

// Modal dialogs from the templates of src/resources.
intptr_t DialogBoxParamA(HINSTANCE instance, const char* template_name, HWND owner, DLGPROC procedure,
                         LPARAM param);
BOOL EndDialog(HWND dialog, intptr_t result);
