// Constants and records of the message-shaped window interface, with the values of the
// original platform so that message procedures read as they were written: window messages,
// styles, show and position flags, system metrics, virtual keys, menu flags, and the MSG,
// WNDCLASSA, WINDOWPLACEMENT, MINMAXINFO and ACCEL records.
#pragma once

#include "platform/system/message_box.h" // IDOK, IDCANCEL: the dialog answers too
#include "platform/win_types.h"

// Window messages.
inline constexpr UINT WM_NULL = 0x0000;
inline constexpr UINT WM_CREATE = 0x0001;
inline constexpr UINT WM_DESTROY = 0x0002;
inline constexpr UINT WM_MOVE = 0x0003;
inline constexpr UINT WM_SIZE = 0x0005;
inline constexpr UINT WM_ACTIVATE = 0x0006;
inline constexpr UINT WM_PAINT = 0x000F;
inline constexpr UINT WM_CLOSE = 0x0010;
inline constexpr UINT WM_QUIT = 0x0012;
inline constexpr UINT WM_ACTIVATEAPP = 0x001C;
inline constexpr UINT WM_SETCURSOR = 0x0020;
inline constexpr UINT WM_GETMINMAXINFO = 0x0024;
inline constexpr UINT WM_CONTEXTMENU = 0x007B;
inline constexpr UINT WM_NCHITTEST = 0x0084;
inline constexpr UINT WM_KEYDOWN = 0x0100;
inline constexpr UINT WM_KEYUP = 0x0101;
inline constexpr UINT WM_CHAR = 0x0102;
inline constexpr UINT WM_SYSKEYDOWN = 0x0104;
inline constexpr UINT WM_SYSKEYUP = 0x0105;
inline constexpr UINT WM_SYSCHAR = 0x0106;
inline constexpr UINT WM_INITDIALOG = 0x0110;
inline constexpr UINT WM_COMMAND = 0x0111;
inline constexpr UINT WM_SYSCOMMAND = 0x0112;
inline constexpr UINT WM_HSCROLL = 0x0114;
inline constexpr UINT WM_VSCROLL = 0x0115;
inline constexpr UINT WM_MOUSEMOVE = 0x0200;
inline constexpr UINT WM_LBUTTONDOWN = 0x0201;
inline constexpr UINT WM_LBUTTONUP = 0x0202;
inline constexpr UINT WM_RBUTTONDOWN = 0x0204;
inline constexpr UINT WM_RBUTTONUP = 0x0205;
inline constexpr UINT WM_ENTERMENULOOP = 0x0211;
inline constexpr UINT WM_EXITMENULOOP = 0x0212;
inline constexpr UINT WM_POWERBROADCAST = 0x0218;
inline constexpr UINT WM_ENTERSIZEMOVE = 0x0231;
inline constexpr UINT WM_EXITSIZEMOVE = 0x0232;
inline constexpr UINT WM_USER = 0x0400;

// WM_SIZE codes.
inline constexpr WPARAM SIZE_RESTORED = 0;
inline constexpr WPARAM SIZE_MINIMIZED = 1;
inline constexpr WPARAM SIZE_MAXIMIZED = 2;
inline constexpr WPARAM SIZE_MAXSHOW = 3;
inline constexpr WPARAM SIZE_MAXHIDE = 4;

// WM_SYSCOMMAND codes (the low four bits are the platform's own and are masked off).
inline constexpr WPARAM SC_SIZE = 0xF000;
inline constexpr WPARAM SC_MOVE = 0xF010;
inline constexpr WPARAM SC_MINIMIZE = 0xF020;
inline constexpr WPARAM SC_MAXIMIZE = 0xF030;
inline constexpr WPARAM SC_CLOSE = 0xF060;
inline constexpr WPARAM SC_RESTORE = 0xF120;
inline constexpr WPARAM SC_MONITORPOWER = 0xF170;

// WM_POWERBROADCAST events.
inline constexpr WPARAM PBT_APMQUERYSUSPEND = 0x0000;
inline constexpr WPARAM PBT_APMRESUMESUSPEND = 0x0007;

// WM_NCHITTEST answers.
inline constexpr LRESULT HTCLIENT = 1;

// Window styles.
inline constexpr DWORD WS_OVERLAPPED = 0x00000000;
inline constexpr DWORD WS_POPUP = 0x80000000;
inline constexpr DWORD WS_CHILD = 0x40000000;
inline constexpr DWORD WS_MINIMIZE = 0x20000000;
inline constexpr DWORD WS_VISIBLE = 0x10000000;
inline constexpr DWORD WS_DISABLED = 0x08000000;
inline constexpr DWORD WS_MAXIMIZE = 0x01000000;
inline constexpr DWORD WS_CAPTION = 0x00C00000;
inline constexpr DWORD WS_BORDER = 0x00800000;
inline constexpr DWORD WS_SYSMENU = 0x00080000;
inline constexpr DWORD WS_THICKFRAME = 0x00040000;
inline constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
inline constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
inline constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
inline constexpr DWORD WS_EX_TOPMOST = 0x00000008;

inline constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// GetWindowLongA / SetWindowLongA indices.
inline constexpr int GWL_STYLE = -16;
inline constexpr int GWL_EXSTYLE = -20;

// ShowWindow commands.
inline constexpr int SW_HIDE = 0;
inline constexpr int SW_SHOWNORMAL = 1;
inline constexpr int SW_SHOWMINIMIZED = 2;
inline constexpr int SW_SHOWMAXIMIZED = 3;
inline constexpr int SW_SHOW = 5;
inline constexpr int SW_MINIMIZE = 6;
inline constexpr int SW_RESTORE = 9;

// SetWindowPos insertion points and flags.
inline const HWND HWND_TOP = reinterpret_cast<HWND>(0);
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(1);
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(-1);
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(-2);
inline constexpr UINT SWP_NOSIZE = 0x0001;
inline constexpr UINT SWP_NOMOVE = 0x0002;
inline constexpr UINT SWP_NOZORDER = 0x0004;
inline constexpr UINT SWP_NOACTIVATE = 0x0010;
inline constexpr UINT SWP_SHOWWINDOW = 0x0040;
inline constexpr UINT SWP_HIDEWINDOW = 0x0080;

// PeekMessageA options.
inline constexpr UINT PM_NOREMOVE = 0x0000;
inline constexpr UINT PM_REMOVE = 0x0001;

// GetSystemMetrics indices.
inline constexpr int SM_CXSCREEN = 0;
inline constexpr int SM_CYSCREEN = 1;

// Virtual keys.
inline constexpr int VK_LBUTTON = 0x01;
inline constexpr int VK_RBUTTON = 0x02;
inline constexpr int VK_BACK = 0x08;
inline constexpr int VK_TAB = 0x09;
inline constexpr int VK_RETURN = 0x0D;
inline constexpr int VK_SHIFT = 0x10;
inline constexpr int VK_CONTROL = 0x11;
inline constexpr int VK_MENU = 0x12;
inline constexpr int VK_ESCAPE = 0x1B;
inline constexpr int VK_SPACE = 0x20;
inline constexpr int VK_LEFT = 0x25;
inline constexpr int VK_UP = 0x26;
inline constexpr int VK_RIGHT = 0x27;
inline constexpr int VK_DOWN = 0x28;
inline constexpr int VK_F1 = 0x70;
inline constexpr int VK_F2 = 0x71;

// Accelerator flags.
inline constexpr BYTE FVIRTKEY = 0x01;
inline constexpr BYTE FNOINVERT = 0x02;
inline constexpr BYTE FSHIFT = 0x04;
inline constexpr BYTE FCONTROL = 0x08;
inline constexpr BYTE FALT = 0x10;

// Menu flags.
inline constexpr UINT MF_BYCOMMAND = 0x0000;
inline constexpr UINT MF_UNCHECKED = 0x0000;
inline constexpr UINT MF_CHECKED = 0x0008;
inline constexpr UINT MF_BYPOSITION = 0x0400;
inline constexpr UINT TPM_VERTICAL = 0x0040;

// Stock cursor of MAKEINTRESOURCE(32512).
inline const char* const IDC_ARROW = reinterpret_cast<const char*>(32512);

inline const char* MAKEINTRESOURCEA(int id)
{
    return reinterpret_cast<const char*>(static_cast<uintptr_t>(static_cast<WORD>(id)));
}

// Signed coordinates packed in an LPARAM (WM_MOVE, WM_CONTEXTMENU).
inline constexpr int GET_X_LPARAM(LPARAM value)
{
    return static_cast<int16_t>(LOWORD(static_cast<uintptr_t>(value)));
}
inline constexpr int GET_Y_LPARAM(LPARAM value)
{
    return static_cast<int16_t>(HIWORD(static_cast<uintptr_t>(value)));
}

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using DLGPROC = intptr_t (*)(HWND, UINT, WPARAM, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
    // Modifier keys held when the input was generated (Modifier_* bits below); what
    // GetKeyState answers for them while this message is being handled.
    DWORD lPrivate;
};

inline constexpr DWORD Modifier_Shift = 0x1;
inline constexpr DWORD Modifier_Control = 0x2;
inline constexpr DWORD Modifier_Alt = 0x4;

struct WNDCLASSA {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HANDLE hbrBackground;
    const char* lpszMenuName;
    const char* lpszClassName;
};

struct WINDOWPLACEMENT {
    UINT length;
    UINT flags;
    UINT showCmd;
    POINT ptMinPosition;
    POINT ptMaxPosition;
    RECT rcNormalPosition;
};

struct MINMAXINFO {
    POINT ptReserved;
    POINT ptMaxSize;
    POINT ptMaxPosition;
    POINT ptMinTrackSize;
    POINT ptMaxTrackSize;
};

struct ACCEL {
    BYTE fVirt;
    WORD key;
    WORD cmd;
};
