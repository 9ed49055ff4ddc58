// The window interface the program calls: windows with handles and window procedures, one
// message queue, accelerators, menus with check marks, placement, cursor, screen metrics,
// modal dialogs with their controls, message boxes, the open-file dialog and the present step,
// in the shapes and with the names of the original platform's calls.
//
// Every call goes to the window system (window_system.h) and through it to the display
// backend chosen at start-up (headless where there is no display). The program's code never
// knows which.
#pragma once

#include "platform/window/dialog_types.h"
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
// Client coordinates of the window to screen coordinates.
BOOL ClientToScreen(HWND window, POINT* point);
// The window with the keyboard focus, ours or another program's; nullptr for none.
HWND GetForegroundWindow();
BOOL SetWindowTextA(HWND window, const char* text);
int GetWindowTextA(HWND window, char* text, int size);
// Returns whether the window was disabled before.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

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

// Modal dialogs from the templates of src/resources. The procedure gets WM_INITDIALOG
// (lParam = param) before anything else; DialogBoxParamA returns what EndDialog was given,
// or -1 when the template or the owner does not exist.
intptr_t DialogBoxParamA(HINSTANCE instance, const char* template_name, HWND owner, DLGPROC procedure,
                         LPARAM param);
BOOL EndDialog(HWND dialog, intptr_t result);

// A dialog's controls, by id.
HWND GetDlgItem(HWND dialog, int id);
// The id of a dialog's control (a WM_HSCROLL's lParam, say); 0 for any other window.
int GetDlgCtrlID(HWND control);
// Shows the number in decimal; unsigned unless is_signed.
BOOL SetDlgItemInt(HWND dialog, int id, UINT value, BOOL is_signed);
BOOL SetDlgItemTextA(HWND dialog, int id, const char* text);
UINT GetDlgItemTextA(HWND dialog, int id, char* text, int size);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
LRESULT SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wparam, LPARAM lparam);
// Scroll-bar controls (bar = SB_CTL). The position is kept inside the range.
BOOL SetScrollRange(HWND window, int bar, int minimum, int maximum, BOOL redraw);
BOOL GetScrollRange(HWND window, int bar, int* minimum, int* maximum);
// Returns the previous position.
int SetScrollPos(HWND window, int bar, int position, BOOL redraw);
int GetScrollPos(HWND window, int bar);

// The open-file dialog: true when the user chose a file, which is then in lpstrFile with
// nFileOffset and nFileExtension set (and its name in lpstrFileTitle when given). False when
// cancelled, or when the record's size is not one of the platform's or a buffer is too small.
BOOL GetOpenFileNameA(OPENFILENAMEA* record);

// A finished frame: a back buffer's pixels as they are, in 16-bit (5-6-5 or 5-5-5), 24-bit or
// 32-bit (X8R8G8B8) format.
struct Frame_Pixels {
    const void* Pixels = nullptr;
    int Pitch = 0;
    int Width = 0;
    int Height = 0;
    int Bits_Per_Pixel = 0;
    uint32_t Green_Mask = 0; // 0x07E0 for 5-6-5 at 16 bits
    // Full screen: the display modes are emulated, so the frame is scaled to the whole
    // client area keeping its aspect, black around it. Windowed it fills the client area.
    bool Keep_Aspect = false;
};
// The present step: shows the frame in the window's client area. False when there is no such
// window or the frame cannot be shown. The display's frame clock paces the frame loop: the
// message loop's idle turn comes only once the display can take the next frame.
BOOL Present_Frame(HWND window, const Frame_Pixels* frame);
