// Where windows are: the client area inside the backend's insets, client-to-screen mapping,
// SetWindowPos and the placement calls with the WM_SIZE and WM_MOVE they send, the geometry the
// user changed on the display, and children that follow a resized foreign parent.
#include "platform/window/window_system.h"

#include <algorithm>

namespace {

LPARAM Pack(int low, int high)
{
    return MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high));
}

} // namespace

RECT Window_System::Client_Rect_Of(const Window_Record& record)
{
    if (record.Minimised) {
        return RECT{0, 0, 0, 0};
    }
    const RECT insets = record.Foreign ? RECT{0, 0, 0, 0} : Display->Client_Insets(record);
    const LONG width = Rect_Width(record.Rect) - insets.left - insets.right;
    const LONG height = Rect_Height(record.Rect) - insets.top - insets.bottom;
    return RECT{0, 0, std::max<LONG>(width, 0), std::max<LONG>(height, 0)};
}

BOOL Window_System::Get_Client_Rect(HWND window, RECT* rect)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = Client_Rect_Of(*record);
    return TRUE;
}

BOOL Window_System::Client_To_Screen(HWND window, POINT* point)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || point == nullptr) {
        return FALSE;
    }
    const RECT insets = record->Foreign ? RECT{0, 0, 0, 0} : Display->Client_Insets(*record);
    point->x += record->Rect.left + insets.left;
    point->y += record->Rect.top + insets.top;
    // A child's rectangle is in its parent's client coordinates.
    return record->Parent != nullptr && (record->Style & WS_CHILD) ? Client_To_Screen(record->Parent, point)
                                                                   : TRUE;
}

BOOL Window_System::Get_Window_Rect(HWND window, RECT* rect)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = record->Rect;
    POINT origin{0, 0};
    if (record->Parent != nullptr && (record->Style & WS_CHILD) &&
        Client_To_Screen(record->Parent, &origin)) {
        *rect = RECT{rect->left + origin.x, rect->top + origin.y, rect->right + origin.x,
                     rect->bottom + origin.y};
    }
    return TRUE;
}

BOOL Window_System::Set_Window_Pos(HWND window, HWND insert_after, int x, int y, int width, int height,
                                   UINT flags)
{
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return FALSE;
    }
    RECT old = record->Rect;
    DWORD old_style = record->Style, old_ex_style = record->Ex_Style;
    if (!(flags & SWP_NOMOVE)) {
        record->Rect = RECT{x, y, x + Rect_Width(old), y + Rect_Height(old)};
    }
    if (!(flags & SWP_NOSIZE)) {
        record->Rect.right = record->Rect.left + std::max(width, 0);
        record->Rect.bottom = record->Rect.top + std::max(height, 0);
    }
    if (!(flags & SWP_NOZORDER)) {
        if (insert_after == HWND_TOPMOST) {
            record->Ex_Style |= WS_EX_TOPMOST;
        } else if (insert_after == HWND_NOTOPMOST) {
            record->Ex_Style &= ~WS_EX_TOPMOST;
        }
    }
    if (flags & SWP_SHOWWINDOW) {
        record->Style |= WS_VISIBLE;
    }
    if (flags & SWP_HIDEWINDOW) {
        record->Style &= ~WS_VISIBLE;
    }
    if (!record->Minimised) {
        record->Normal_Position = record->Rect;
    }
    bool sized = Rect_Width(old) != Rect_Width(record->Rect) || Rect_Height(old) != Rect_Height(record->Rect);
    bool moved = old.left != record->Rect.left || old.top != record->Rect.top;
    unsigned changes = (sized || moved ? Change_Geometry : 0) |
                       (old_style != record->Style || old_ex_style != record->Ex_Style ? Change_Style : 0);
    if (changes != 0) {
        Changed(*record, changes);
    }
    Send_Size_And_Move(window, sized, moved);
    return TRUE;
}

void Window_System::Native_Geometry_Changed(HWND window, const RECT& rect, bool minimised)
{
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return;
    }
    if (minimised != record->Minimised) {
        Show_Window(window, minimised ? SW_MINIMIZE : SW_RESTORE);
    }
    if (minimised) {
        return;
    }
    RECT old = record->Rect;
    record->Rect = rect;
    record->Normal_Position = rect;
    Send_Size_And_Move(window, Rect_Width(old) != Rect_Width(rect) || Rect_Height(old) != Rect_Height(rect),
                       old.left != rect.left || old.top != rect.top);
}

void Window_System::Foreign_Window_Resized(HWND window, int width, int height)
{
    Window_Record* record = Record(window);
    if (record == nullptr || !record->Foreign) {
        return;
    }
    const RECT old = record->Rect;
    record->Rect.right = record->Rect.left + width;
    record->Rect.bottom = record->Rect.top + height;
    std::vector<HWND> filling;
    for (auto& [handle, child] : Windows) {
        if (child->Parent == window && Rect_Width(child->Rect) == Rect_Width(old) &&
            Rect_Height(child->Rect) == Rect_Height(old)) {
            filling.push_back(handle);
        }
    }
    for (HWND child : filling) {
        Set_Window_Pos(child, nullptr, 0, 0, width, height, SWP_NOZORDER | SWP_NOMOVE);
    }
}

BOOL Window_System::Get_Window_Placement(HWND window, WINDOWPLACEMENT* placement)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || placement == nullptr) {
        return FALSE;
    }
    placement->flags = 0;
    placement->showCmd = record->Minimised ? SW_SHOWMINIMIZED : SW_SHOWNORMAL;
    placement->ptMinPosition = POINT{-1, -1};
    placement->ptMaxPosition = POINT{-1, -1};
    placement->rcNormalPosition = record->Normal_Position;
    return TRUE;
}

BOOL Window_System::Set_Window_Placement(HWND window, const WINDOWPLACEMENT* placement)
{
    Window_Record* record = Record(window);
    if (record == nullptr || placement == nullptr || record->Foreign) {
        return FALSE;
    }
    const RECT& normal = placement->rcNormalPosition;
    bool minimise = placement->showCmd == SW_MINIMIZE || placement->showCmd == SW_SHOWMINIMIZED;
    if (minimise) {
        record->Normal_Position = normal;
        Show_Window(window, SW_MINIMIZE);
        return TRUE;
    }
    if (record->Minimised) {
        record->Minimised = false;
        record->Rect = normal;
        record->Style |= WS_VISIBLE;
        Changed(*record, Change_Geometry | Change_Style);
        Send_Size_And_Move(window, true, true);
        return TRUE;
    }
    // Any show command but SW_HIDE shows the window, as the platform's placement call does.
    const UINT show = placement->showCmd == SW_HIDE ? SWP_HIDEWINDOW : SWP_SHOWWINDOW;
    return Set_Window_Pos(window, nullptr, normal.left, normal.top, Rect_Width(normal), Rect_Height(normal),
                          SWP_NOZORDER | SWP_NOACTIVATE | show);
}

void Window_System::Send_Size_And_Move(HWND window, bool sized, bool moved)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || record->Minimised) {
        return;
    }
    const RECT client = Client_Rect_Of(*record);
    // WM_MOVE gives where the client area starts (in the parent's client area for a child).
    const RECT insets = record->Foreign ? RECT{0, 0, 0, 0} : Display->Client_Insets(*record);
    const POINT origin{record->Rect.left + insets.left, record->Rect.top + insets.top};
    if (sized) {
        Send_Message(window, WM_SIZE, SIZE_RESTORED, Pack(client.right, client.bottom));
    }
    if (moved && Is_Window(window)) {
        Send_Message(window, WM_MOVE, 0, Pack(origin.x, origin.y));
    }
}
