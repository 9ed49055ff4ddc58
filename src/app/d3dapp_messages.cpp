// The application frame's message procedure and its window placement: centring, blowing the
// window up to cover the screen and putting it back.
#include "app/d3dapp.h"

#include "platform/system/clock.h"
#include "resources/resource_ids.h"

namespace {

intptr_t About_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM)
{
    if (message == WM_INITDIALOG) {
        return TRUE;
    }
    if (message == WM_COMMAND && (LOWORD(wparam) == IDOK || LOWORD(wparam) == IDCANCEL)) {
        EndDialog(dialog, TRUE);
        return TRUE;
    }
    return FALSE;
}

} // namespace

void CD3DApplication::Centre_Window(HWND window)
{
    int width = GetSystemMetrics(SM_CXSCREEN);
    int height = GetSystemMetrics(SM_CYSCREEN);
    int side = (2 * height) / 3;
    RECT r{(width - side) / 2, (height - side) / 2, (side + width) / 2, (side + height) / 2};
    SetWindowPos(window, HWND_NOTOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    placement.showCmd = SW_RESTORE;
    placement.rcNormalPosition = r;
    SetWindowPlacement(window, &placement);
    RECT client{};
    if (GetClientRect(window, &client)) {
        Window_Maximised = false;
    }
}

void CD3DApplication::Set_Full_Screen_Style()
{
    SetMenu(Window, nullptr);
    SetWindowLongA(Window, GWL_STYLE, static_cast<LONG>(WS_POPUP | WS_VISIBLE));
    SetWindowLongA(Window, GWL_EXSTYLE, static_cast<LONG>(WS_EX_TOPMOST));
    SetWindowPos(Window, HWND_TOPMOST, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                 SWP_SHOWWINDOW);
    SetCursor(nullptr);
    ShowCursor(FALSE);
}

void CD3DApplication::Maximise_Window()
{
    Set_Full_Screen_Style();
    Window_Maximised = true;
}

void CD3DApplication::Restore_Window()
{
    if (!Device_Info->windowed) {
        Set_Full_Screen_Style();
        return;
    }
    SetMenu(Window, Menu_Handle);
    SetWindowLongA(Window, GWL_EXSTYLE, 0);
    SetWindowLongA(Window, GWL_STYLE, static_cast<LONG>(WS_VISIBLE | WS_OVERLAPPEDWINDOW));
    Centre_Window(Window);
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));
    ShowCursor(TRUE);
}

LRESULT CD3DApplication::MsgProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    bool windowed = Device_Info == nullptr || Device_Info->windowed;
    switch (message) {
    case WM_PAINT:
        if (Framework != nullptr && !Ready) {
            if (windowed) {
                Framework->PresentFrame();
            } else {
                Framework->ShowGdiSurface(true);
            }
        }
        break;
    case WM_MOVE:
        if (Framework != nullptr && Active && Ready && windowed) {
            Framework->MoveScreenRect(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam));
        }
        break;
    case WM_SIZE:
        Active = !(wparam == SIZE_MAXHIDE || wparam == SIZE_MINIMIZED);
        if (Active && Ready && windowed) {
            Ready = false;
            if (FAILED(Rebuild3DEnvironment())) {
                return 0;
            }
            Ready = true;
        }
        break;
    case WM_SETCURSOR:
        if (Active && Ready && !windowed) {
            SetCursor(nullptr);
            return TRUE;
        }
        break;
    case WM_ENTERSIZEMOVE:
        if (Frame_Moving) {
            Stop_Time = timeGetTime();
        }
        break;
    case WM_EXITSIZEMOVE:
        if (Frame_Moving) {
            Base_Time += timeGetTime() - Stop_Time;
        }
        break;
    case WM_ENTERMENULOOP:
        Set_Paused(true);
        break;
    case WM_EXITMENULOOP:
        Set_Paused(false);
        break;
    case WM_CONTEXTMENU:
        if (!Window_Maximised) {
            HMENU menu = LoadMenuA(Instance, MAKEINTRESOURCEA(IDR_POPUP));
            HMENU popup = GetSubMenu(menu, 0);
            if (popup != nullptr) {
                TrackPopupMenuEx(popup, TPM_VERTICAL, GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), window,
                                 nullptr);
            }
            DestroyMenu(menu);
        }
        break;
    case WM_GETMINMAXINFO:
        if (lparam != 0) {
            reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = POINT{100, 100};
        }
        break;
    case WM_NCHITTEST:
        if (!windowed) {
            return HTCLIENT;
        }
        break;
    case WM_SYSCOMMAND: {
        WPARAM command = wparam & 0xFFF0;
        if ((command == SC_MOVE || command == SC_SIZE || command == SC_MAXIMIZE ||
             command == SC_MONITORPOWER) &&
            !windowed) {
            return 1;
        }
        break;
    }
    case WM_POWERBROADCAST:
        if (wparam == PBT_APMQUERYSUSPEND) {
            return On_Suspend_Query(static_cast<DWORD>(lparam));
        }
        if (wparam == PBT_APMRESUMESUSPEND) {
            return On_Resume(static_cast<DWORD>(lparam));
        }
        break;
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        Release3DEnvironment();
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDM_ABOUT:
            Set_Paused(true);
            DialogBoxParamA(Instance, MAKEINTRESOURCEA(IDD_ABOUT), window, About_Procedure, 0);
            Set_Paused(false);
            return 0;
        case IDM_CHANGEDEVICE:
            if (Active && Ready) {
                Set_Paused(true);
                if (FAILED(D3DEnum_ChangeDeviceDialog(&Device_Info)) || SUCCEEDED(Rebuild3DEnvironment())) {
                    Set_Paused(false);
                }
            }
            return 0;
        case IDM_TOGGLEFULLSCREEN:
            if (Active && Ready) {
                Ready = false;
                Device_Info->windowed = !Device_Info->windowed;
                if (SUCCEEDED(Rebuild3DEnvironment())) {
                    Ready = true;
                }
            }
            return 0;
        case IDM_TOGGLESTART:
            Frame_Moving = !Frame_Moving;
            if (Frame_Moving) {
                Base_Time += timeGetTime() - Stop_Time;
            } else {
                Stop_Time = timeGetTime();
            }
            break;
        case IDM_SINGLESTEP:
            if (!Frame_Moving) {
                Base_Time += timeGetTime() - Stop_Time - 100;
            }
            Stop_Time = timeGetTime();
            Frame_Moving = false;
            Single_Step = true;
            break;
        case IDM_EXIT:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return 0;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}
