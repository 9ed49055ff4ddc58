// The calls of window.h, each handed to the installed window system.
#include "platform/window/window.h"

#include "platform/window/frame_pixels.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"

namespace {

// Message boxes asked for through the system's service (the log's, the framework's) are
// shown by the display backend of the installed window system.
class Window_Message_Boxes final : public Message_Box_Backend {
public:
    int Show(HWND owner, const char* text, const char* caption, UINT type) override
    {
        return Current_Window_System().Message_Box(owner, text, caption, type);
    }
};

// Never destroyed: reports made while the program's static objects go may still show boxes.
Window_System*& Installed()
{
    static Window_System* system = nullptr;
    return system;
}

Window_System& System()
{
    if (Installed() == nullptr) {
        Install_Window_System(nullptr);
    }
    return *Installed();
}

} // namespace

Window_System& Current_Window_System()
{
    return System();
}

void Install_Window_System(std::unique_ptr<Window_Backend> backend)
{
    static Window_Message_Boxes* const boxes = new Window_Message_Boxes;
    delete Installed();
    Installed() = new Window_System(backend ? std::move(backend) : std::make_unique<Headless_Backend>());
    Set_Default_Message_Box_Backend(boxes);
}

ATOM RegisterClassA(const WNDCLASSA* window_class)
{
    return window_class ? System().Register_Class(*window_class) : 0;
}

HWND CreateWindowExA(DWORD ex_style, const char* class_name, const char* title, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE, void* param)
{
    return System().Create_Window(ex_style, class_name, title, style, x, y, width, height, parent, menu,
                                  param);
}

BOOL DestroyWindow(HWND window)
{
    return System().Destroy_Window(window);
}

BOOL IsWindow(HWND window)
{
    return System().Is_Window(window) ? TRUE : FALSE;
}

BOOL ShowWindow(HWND window, int command)
{
    return System().Show_Window(window, command);
}

BOOL UpdateWindow(HWND window)
{
    return System().Update_Window(window);
}

BOOL GetClientRect(HWND window, RECT* rect)
{
    return System().Get_Client_Rect(window, rect);
}

BOOL GetWindowRect(HWND window, RECT* rect)
{
    return System().Get_Window_Rect(window, rect);
}

BOOL SetWindowPos(HWND window, HWND insert_after, int x, int y, int width, int height, UINT flags)
{
    return System().Set_Window_Pos(window, insert_after, x, y, width, height, flags);
}

BOOL GetWindowPlacement(HWND window, WINDOWPLACEMENT* placement)
{
    return System().Get_Window_Placement(window, placement);
}

BOOL SetWindowPlacement(HWND window, const WINDOWPLACEMENT* placement)
{
    return System().Set_Window_Placement(window, placement);
}

LONG GetWindowLongA(HWND window, int index)
{
    return System().Get_Window_Long(window, index);
}

LONG SetWindowLongA(HWND window, int index, LONG value)
{
    return System().Set_Window_Long(window, index, value);
}

HWND GetParent(HWND window)
{
    return System().Get_Parent(window);
}

BOOL IsIconic(HWND window)
{
    return System().Is_Iconic(window);
}

BOOL ClientToScreen(HWND window, POINT* point)
{
    return System().Client_To_Screen(window, point);
}

HWND GetForegroundWindow()
{
    return System().Get_Foreground_Window();
}

BOOL SetWindowTextA(HWND window, const char* text)
{
    return System().Set_Window_Text(window, text);
}

int GetWindowTextA(HWND window, char* text, int size)
{
    return System().Get_Window_Text(window, text, size);
}

BOOL EnableWindow(HWND window, BOOL enable)
{
    return System().Enable_Window(window, enable);
}

BOOL IsWindowEnabled(HWND window)
{
    return System().Is_Window_Enabled(window);
}

BOOL Present_Frame(HWND window, const Frame_Pixels* frame)
{
    return frame != nullptr && Frame_Is_Valid(*frame) ? System().Present(window, *frame) : FALSE;
}

BOOL PeekMessageA(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    return message ? System().Peek_Message(message, window, first, last, remove) : FALSE;
}

BOOL GetMessageA(MSG* message, HWND window, UINT first, UINT last)
{
    return message ? System().Get_Message(message, window, first, last) : FALSE;
}

BOOL TranslateMessage(const MSG* message)
{
    return System().Translate_Message(message);
}

LRESULT DispatchMessageA(const MSG* message)
{
    return System().Dispatch_Message(message);
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return System().Post_Message(window, message, wparam, lparam);
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return System().Send_Message(window, message, wparam, lparam);
}

void PostQuitMessage(int exit_code)
{
    System().Post_Quit_Message(exit_code);
}

LRESULT DefWindowProcA(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    return System().Def_Window_Proc(window, message, wparam, lparam);
}

int16_t GetKeyState(int virtual_key)
{
    return System().Get_Key_State(virtual_key);
}

HACCEL LoadAcceleratorsA(HINSTANCE, const char* name)
{
    return System().Load_Accelerators(name);
}

int TranslateAcceleratorA(HWND window, HACCEL table, MSG* message)
{
    return System().Translate_Accelerator(window, table, message);
}

HMENU LoadMenuA(HINSTANCE, const char* name)
{
    return System().Load_Menu(name);
}

HMENU GetMenu(HWND window)
{
    return System().Get_Menu(window);
}

BOOL SetMenu(HWND window, HMENU menu)
{
    return System().Set_Menu(window, menu);
}

HMENU GetSubMenu(HMENU menu, int position)
{
    return System().Get_Sub_Menu(menu, position);
}

DWORD CheckMenuItem(HMENU menu, UINT id, UINT flags)
{
    return System().Check_Menu_Item(menu, id, flags);
}

UINT GetMenuState(HMENU menu, UINT id, UINT flags)
{
    return System().Get_Menu_State(menu, id, flags);
}

BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND window, void*)
{
    return System().Track_Popup_Menu(menu, flags, x, y, window);
}

BOOL DestroyMenu(HMENU menu)
{
    return System().Destroy_Menu(menu);
}

HCURSOR LoadCursorA(HINSTANCE, const char* name)
{
    return System().Load_Cursor(name);
}

HICON LoadIconA(HINSTANCE, const char* name)
{
    // The program's one icon; a display backend shows the installed icon file for it.
    return name ? reinterpret_cast<HICON>(static_cast<uintptr_t>(0x101)) : nullptr;
}

HCURSOR SetCursor(HCURSOR cursor)
{
    return System().Set_Cursor(cursor);
}

int ShowCursor(BOOL show)
{
    return System().Show_Cursor(show);
}

int GetSystemMetrics(int index)
{
    return System().Get_System_Metrics(index);
}

intptr_t DialogBoxParamA(HINSTANCE, const char* template_name, HWND owner, DLGPROC procedure, LPARAM param)
{
    return System().Dialog_Box(template_name, owner, procedure, param);
}

BOOL EndDialog(HWND dialog, intptr_t result)
{
    return System().End_Dialog(dialog, result);
}

BOOL GetOpenFileNameA(OPENFILENAMEA* record)
{
    return System().Get_Open_File_Name(record);
}
