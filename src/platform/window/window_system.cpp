// The headless window system: window records, the message queue and the rules by which the
// original platform sends its messages (creation, size and move, destruction, accelerators).
#include "platform/window/window_system.h"

#include "platform/window/resource_templates.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <thread>

namespace {

std::string Upper(const char* text)
{
    std::string result = text ? text : "";
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

bool Is_Int_Resource(const char* name)
{
    return (reinterpret_cast<uintptr_t>(name) >> 16) == 0;
}

int Resource_Id(const char* name)
{
    return Is_Int_Resource(name) ? static_cast<int>(reinterpret_cast<uintptr_t>(name)) : -1;
}

std::string Resource_Name(const char* name)
{
    if (name == nullptr) {
        return "";
    }
    return Is_Int_Resource(name) ? "#" + std::to_string(Resource_Id(name)) : std::string(name);
}

LPARAM Pack(int low, int high)
{
    return MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high));
}

std::atomic<bool> Close_Requested{false};

const HCURSOR Arrow_Cursor = reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(32512));

} // namespace

Window_System::Window_System() = default;
Window_System::~Window_System() = default;

void Window_System::Reset()
{
    Classes.clear();
    Windows.clear();
    Menus.clear();
    Accelerators.clear();
    Queue.clear();
    Quit_Posted = false;
    Quit_Code = 0;
    Current_Modifiers = 0;
    Screen_Width = 1024;
    Screen_Height = 768;
    Current_Cursor = nullptr;
    Cursor_Count = 0;
    Last_Popup_Menu = nullptr;
    Popup_Count = 0;
    On_Idle_Wait = nullptr;
    On_Idle_Poll = nullptr;
    Frames_Per_Second = 0;
    Next_Frame_Nanoseconds = 0;
    Dialog_Script = nullptr;
    Popup_Choice = nullptr;
}

Window_System::Window* Window_System::Find(HWND window)
{
    auto found = Windows.find(window);
    if (found == Windows.end() && window != nullptr && Adopt_Foreign_Window(window)) {
        found = Windows.find(window);
    }
    return found == Windows.end() ? nullptr : found->second.get();
}

const Window_System::Window* Window_System::Find(HWND window) const
{
    auto found = Windows.find(window);
    return found == Windows.end() ? nullptr : found->second.get();
}

ATOM Window_System::Register_Class(const WNDCLASSA& window_class)
{
    std::string name = Upper(window_class.lpszClassName);
    if (name.empty() || Classes.count(name) != 0) {
        return 0; // the platform refuses a class registered twice
    }
    Classes[name] = window_class;
    return static_cast<ATOM>(0xC000 + Classes.size());
}

HWND Window_System::Create_Window(DWORD ex_style, const char* class_name, const char* title, DWORD style,
                                  int x, int y, int width, int height, HWND parent, HMENU menu, void* param)
{
    auto found = Classes.find(Upper(class_name));
    if (found == Classes.end()) {
        return nullptr;
    }
    if (parent != nullptr && Find(parent) == nullptr) {
        return nullptr;
    }
    auto record = std::make_unique<Window>();
    HWND handle = reinterpret_cast<HWND>(Next_Handle);
    Next_Handle += 0x10;
    record->Handle = handle;
    record->Class_Name = class_name;
    record->Title = title ? title : "";
    record->Style = style;
    record->Ex_Style = ex_style;
    record->Parent = parent;
    record->Menu = (style & WS_CHILD) ? nullptr : menu;
    record->Procedure = found->second.lpfnWndProc;
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = Screen_Width * 3 / 4;
        height = Screen_Height * 3 / 4;
    }
    record->Rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    record->Normal_Position = record->Rect;
    Windows[handle] = std::move(record);
    On_Window_Created(*Windows[handle]);

    MINMAXINFO limits{};
    limits.ptMaxSize = POINT{Screen_Width, Screen_Height};
    limits.ptMaxTrackSize = POINT{Screen_Width, Screen_Height};
    Send_Message(handle, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
    if (Send_Message(handle, WM_CREATE, 0, reinterpret_cast<LPARAM>(param)) == -1) {
        Destroy_Window(handle);
        return nullptr;
    }
    if (Is_Window(handle)) {
        Send_Size_And_Move(handle, true, true);
    }
    return Is_Window(handle) ? handle : nullptr;
}

BOOL Window_System::Destroy_Window(HWND window)
{
    Window* record = Find(window);
    if (record == nullptr || record->Destroying) {
        return FALSE;
    }
    record->Destroying = true;
    Send_Message(window, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    for (auto& [handle, other] : Windows) {
        if (other->Parent == window) {
            children.push_back(handle);
        }
    }
    for (HWND child : children) {
        Destroy_Window(child);
    }
    auto found = Windows.find(window);
    if (found != Windows.end()) {
        On_Window_Destroyed(*found->second);
        Windows.erase(found);
    }
    std::erase_if(Queue, [window](const MSG& message) { return message.hwnd == window; });
    return TRUE;
}

bool Window_System::Is_Window(HWND window) const
{
    return Windows.count(window) != 0;
}

BOOL Window_System::Show_Window(HWND window, int command)
{
    Window* record = Find(window);
    if (record == nullptr) {
        return FALSE;
    }
    BOOL was_visible = (record->Style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        record->Style &= ~WS_VISIBLE;
        On_Style_Changed(*record);
        return was_visible;
    }
    record->Style |= WS_VISIBLE;
    bool minimise = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
    if (minimise != record->Minimised) {
        record->Minimised = minimise;
        if (minimise) {
            Send_Message(window, WM_SIZE, SIZE_MINIMIZED, 0);
        } else {
            Send_Size_And_Move(window, true, false);
            // The uncovered client area asks to be painted, as on the original platform.
            Post_Message(window, WM_PAINT, 0, 0);
        }
    }
    On_Style_Changed(*record);
    return was_visible;
}

BOOL Window_System::Update_Window(HWND window)
{
    if (!Is_Window(window)) {
        return FALSE;
    }
    Send_Message(window, WM_PAINT, 0, 0);
    return TRUE;
}

BOOL Window_System::Get_Client_Rect(HWND window, RECT* rect) const
{
    const Window* record = Find(window);
    if (record == nullptr || rect == nullptr) {
        return FALSE;
    }
    // Headless windows have no frame: the client area is the whole window.
    *rect = RECT{0, 0, record->Rect.right - record->Rect.left, record->Rect.bottom - record->Rect.top};
    if (record->Minimised) {
        *rect = RECT{0, 0, 0, 0};
    }
    return TRUE;
}

BOOL Window_System::Get_Window_Rect(HWND window, RECT* rect) const
{
    const Window* record = Find(window);
    if (record == nullptr || rect == nullptr) {
        return FALSE;
    }
    *rect = record->Rect;
    for (const Window* parent = Find(record->Parent); parent != nullptr; parent = Find(parent->Parent)) {
        rect->left += parent->Rect.left;
        rect->right += parent->Rect.left;
        rect->top += parent->Rect.top;
        rect->bottom += parent->Rect.top;
    }
    return TRUE;
}

BOOL Window_System::Set_Window_Pos(HWND window, HWND insert_after, int x, int y, int width, int height,
                                   UINT flags)
{
    Window* record = Find(window);
    if (record == nullptr) {
        return FALSE;
    }
    RECT old = record->Rect;
    if (!(flags & SWP_NOMOVE)) {
        record->Rect.right += x - record->Rect.left;
        record->Rect.bottom += y - record->Rect.top;
        record->Rect.left = x;
        record->Rect.top = y;
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
    bool sized = (old.right - old.left) != (record->Rect.right - record->Rect.left) ||
                 (old.bottom - old.top) != (record->Rect.bottom - record->Rect.top);
    bool moved = old.left != record->Rect.left || old.top != record->Rect.top;
    On_Geometry_Changed(*record);
    Send_Size_And_Move(window, sized, moved);
    return TRUE;
}

BOOL Window_System::Get_Window_Placement(HWND window, WINDOWPLACEMENT* placement) const
{
    const Window* record = Find(window);
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
    Window* record = Find(window);
    if (record == nullptr || placement == nullptr) {
        return FALSE;
    }
    const RECT& normal = placement->rcNormalPosition;
    bool minimise = placement->showCmd == SW_MINIMIZE || placement->showCmd == SW_SHOWMINIMIZED;
    if (minimise) {
        record->Normal_Position = normal;
        return Show_Window(window, SW_MINIMIZE) >= 0;
    }
    if (record->Minimised) {
        record->Minimised = false;
        record->Rect = normal;
        record->Style |= WS_VISIBLE;
        On_Geometry_Changed(*record);
        Send_Size_And_Move(window, true, true);
        return TRUE;
    }
    return Set_Window_Pos(window, nullptr, normal.left, normal.top, normal.right - normal.left,
                          normal.bottom - normal.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

LONG Window_System::Get_Window_Long(HWND window, int index) const
{
    const Window* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    if (index == GWL_STYLE) {
        return static_cast<LONG>(record->Style | (record->Minimised ? WS_MINIMIZE : 0));
    }
    if (index == GWL_EXSTYLE) {
        return static_cast<LONG>(record->Ex_Style);
    }
    return 0;
}

LONG Window_System::Set_Window_Long(HWND window, int index, LONG value)
{
    Window* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    LONG previous = Get_Window_Long(window, index);
    if (index == GWL_STYLE) {
        record->Style = static_cast<DWORD>(value) & ~WS_MINIMIZE;
    } else if (index == GWL_EXSTYLE) {
        record->Ex_Style = static_cast<DWORD>(value);
    } else {
        return 0;
    }
    On_Style_Changed(*record);
    return previous;
}

HWND Window_System::Get_Parent(HWND window) const
{
    const Window* record = Find(window);
    return record ? record->Parent : nullptr;
}

BOOL Window_System::Is_Iconic(HWND window) const
{
    const Window* record = Find(window);
    return record && record->Minimised ? TRUE : FALSE;
}

void Window_System::Send_Size_And_Move(HWND window, bool sized, bool moved)
{
    const Window* record = Find(window);
    if (record == nullptr || record->Minimised) {
        return;
    }
    RECT client{};
    Get_Client_Rect(window, &client);
    POINT origin{record->Rect.left, record->Rect.top};
    if (sized) {
        Send_Message(window, WM_SIZE, SIZE_RESTORED, Pack(client.right, client.bottom));
    }
    if (moved && Is_Window(window)) {
        Send_Message(window, WM_MOVE, 0, Pack(origin.x, origin.y));
    }
}

bool Window_System::Matches(const MSG& message, HWND window, UINT first, UINT last) const
{
    if (window != nullptr && message.hwnd != window) {
        return false;
    }
    if (first == 0 && last == 0) {
        return true;
    }
    return message.message >= first && message.message <= last;
}

void Request_Close_All_Windows()
{
    Close_Requested.store(true);
}

void Window_System::Post_Close_Requests()
{
    if (!Close_Requested.exchange(false)) {
        return;
    }
    for (auto& [handle, record] : Windows) {
        if (record->Parent == nullptr && record->Dialog_Procedure == nullptr) {
            Post_Message(handle, WM_CLOSE, 0, 0);
        }
    }
}

BOOL Window_System::Peek_Message(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    Post_Close_Requests();
    Pump_Input(false);
    if (On_Idle_Poll && Queue.empty() && !Quit_Posted) {
        On_Idle_Poll();
    }
    auto found = std::find_if(Queue.begin(), Queue.end(),
                              [&](const MSG& queued) { return Matches(queued, window, first, last); });
    if (found != Queue.end()) {
        *message = *found;
        if (remove & PM_REMOVE) {
            Current_Modifiers = found->lPrivate;
            Queue.erase(found);
        }
        return TRUE;
    }
    if (Quit_Posted && Queue.empty()) {
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = static_cast<WPARAM>(Quit_Code);
        if (remove & PM_REMOVE) {
            Quit_Posted = false;
        }
        return TRUE;
    }
    return FALSE;
}

BOOL Window_System::Get_Message(MSG* message, HWND window, UINT first, UINT last)
{
    while (!Peek_Message(message, window, first, last, PM_REMOVE)) {
        std::size_t before = Queue.size();
        bool more = true;
        if (On_Idle_Wait) {
            On_Idle_Wait();
        } else {
            more = Pump_Input(true);
        }
        if (Queue.size() == before && !Quit_Posted && (!more || On_Idle_Wait)) {
            // Nothing can arrive any more: end the loop rather than wait for ever.
            Post_Quit_Message(0);
        }
    }
    return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL Window_System::Translate_Message(const MSG* message)
{
    if (message == nullptr || (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN)) {
        return FALSE;
    }
    int key = static_cast<int>(message->wParam);
    char character = 0;
    if ((key >= '0' && key <= '9') || key == VK_SPACE || key == VK_RETURN || key == VK_ESCAPE ||
        key == VK_BACK || key == VK_TAB) {
        character = static_cast<char>(key);
    } else if (key >= 'A' && key <= 'Z') {
        character = static_cast<char>((message->lPrivate & Modifier_Shift) ? key : key - 'A' + 'a');
        if (message->lPrivate & Modifier_Control) {
            character = static_cast<char>(key - 'A' + 1);
        }
    }
    if (character == 0) {
        return FALSE;
    }
    UINT char_message = message->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    Post_Message(message->hwnd, char_message, static_cast<WPARAM>(static_cast<unsigned char>(character)),
                 message->lParam, message->lPrivate);
    return TRUE;
}

LRESULT Window_System::Dispatch_Message(const MSG* message)
{
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    return Send_Message(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL Window_System::Post_Message(HWND window, UINT message, WPARAM wparam, LPARAM lparam, DWORD modifiers)
{
    if (window != nullptr && Find(window) == nullptr) {
        return FALSE;
    }
    MSG queued{};
    queued.hwnd = window;
    queued.message = message;
    queued.wParam = wparam;
    queued.lParam = lparam;
    queued.lPrivate = modifiers;
    Queue.push_back(queued);
    return TRUE;
}

LRESULT Window_System::Send_Message(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    Window* record = Find(window);
    if (record == nullptr) {
        return 0;
    }
    if (record->Dialog_Procedure != nullptr) {
        intptr_t handled = record->Dialog_Procedure(window, message, wparam, lparam);
        if (handled == FALSE && message == WM_CLOSE) {
            End_Dialog(window, IDCANCEL);
        }
        return handled;
    }
    if (record->Procedure == nullptr) {
        return Def_Window_Proc(window, message, wparam, lparam);
    }
    return record->Procedure(window, message, wparam, lparam);
}

void Window_System::Post_Quit_Message(int exit_code)
{
    Quit_Posted = true;
    Quit_Code = exit_code;
}

LRESULT Window_System::Def_Window_Proc(HWND window, UINT message, WPARAM wparam, LPARAM)
{
    switch (message) {
    case WM_CLOSE:
        Destroy_Window(window);
        return 0;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_CLOSE) {
            Send_Message(window, WM_CLOSE, 0, 0);
        }
        return 0;
    case WM_NCHITTEST:
        return HTCLIENT;
    default:
        return 0;
    }
}

int16_t Window_System::Get_Key_State(int virtual_key) const
{
    DWORD bit = virtual_key == VK_SHIFT     ? Modifier_Shift
                : virtual_key == VK_CONTROL ? Modifier_Control
                : virtual_key == VK_MENU    ? Modifier_Alt
                                            : 0;
    return (Current_Modifiers & bit) ? static_cast<int16_t>(0x8000) : 0;
}

HACCEL Window_System::Load_Accelerators(const char* name)
{
    const Accelerator_Template* table = Find_Accelerator_Template(Resource_Id(name));
    if (table == nullptr) {
        return nullptr;
    }
    HACCEL handle = reinterpret_cast<HACCEL>(Next_Handle);
    Next_Handle += 0x10;
    Accelerators[handle].assign(table->Entries, table->Entries + table->Count);
    return handle;
}

int Window_System::Translate_Accelerator(HWND window, HACCEL table, MSG* message)
{
    auto found = Accelerators.find(table);
    if (found == Accelerators.end() || message == nullptr || !Is_Window(window)) {
        return 0;
    }
    if (message->message != WM_KEYDOWN && message->message != WM_SYSKEYDOWN) {
        return 0;
    }
    DWORD modifiers = message->lPrivate;
    if (message->message == WM_SYSKEYDOWN && (message->lParam & (1 << 29))) {
        modifiers |= Modifier_Alt;
    }
    for (const ACCEL& entry : found->second) {
        if (!(entry.fVirt & FVIRTKEY) || entry.key != message->wParam) {
            continue;
        }
        bool shift = (modifiers & Modifier_Shift) != 0;
        bool control = (modifiers & Modifier_Control) != 0;
        bool alt = (modifiers & Modifier_Alt) != 0;
        if (shift != ((entry.fVirt & FSHIFT) != 0) || control != ((entry.fVirt & FCONTROL) != 0) ||
            alt != ((entry.fVirt & FALT) != 0)) {
            continue;
        }
        Send_Message(window, WM_COMMAND, MAKEWPARAM(entry.cmd, 1), 0);
        return 1;
    }
    return 0;
}

HMENU Window_System::Build_Menu(const Menu_Template& menu_template, std::size_t& index)
{
    HMENU handle = reinterpret_cast<HMENU>(Next_Handle);
    Next_Handle += 0x10;
    Menu menu;
    while (index < menu_template.Count) {
        const Menu_Template_Entry& entry = menu_template.Entries[index++];
        if (entry.Kind == Menu_Entry_Kind::Popup_End) {
            break;
        }
        Menu_Item item;
        item.Text = entry.Text ? entry.Text : "";
        item.Id = entry.Id;
        item.Checked = entry.Checked;
        item.Separator = entry.Kind == Menu_Entry_Kind::Separator;
        if (entry.Kind == Menu_Entry_Kind::Popup_Begin) {
            item.Submenu = Build_Menu(menu_template, index);
        }
        menu.Items.push_back(std::move(item));
    }
    Menus[handle] = std::move(menu);
    return handle;
}

HMENU Window_System::Load_Menu(const char* name)
{
    const Menu_Template* menu_template = Find_Menu_Template(Resource_Id(name));
    if (menu_template == nullptr) {
        return nullptr;
    }
    std::size_t index = 0;
    return Build_Menu(*menu_template, index);
}

HMENU Window_System::Get_Menu(HWND window) const
{
    const Window* record = Find(window);
    return record ? record->Menu : nullptr;
}

BOOL Window_System::Set_Menu(HWND window, HMENU menu)
{
    Window* record = Find(window);
    if (record == nullptr || (record->Style & WS_CHILD) || (menu != nullptr && Find_Menu(menu) == nullptr)) {
        return FALSE;
    }
    record->Menu = menu;
    On_Menu_Changed(*record);
    return TRUE;
}

Window_System::Menu* Window_System::Find_Menu(HMENU menu)
{
    auto found = Menus.find(menu);
    return found == Menus.end() ? nullptr : &found->second;
}

const Window_System::Menu* Window_System::Find_Menu(HMENU menu) const
{
    auto found = Menus.find(menu);
    return found == Menus.end() ? nullptr : &found->second;
}

HMENU Window_System::Get_Sub_Menu(HMENU menu, int position) const
{
    const Menu* record = Find_Menu(menu);
    if (record == nullptr || position < 0 || position >= static_cast<int>(record->Items.size())) {
        return nullptr;
    }
    return record->Items[static_cast<std::size_t>(position)].Submenu;
}

Window_System::Menu_Item* Window_System::Find_Menu_Item(HMENU menu, UINT id, UINT flags)
{
    Menu* record = Find_Menu(menu);
    if (record == nullptr) {
        return nullptr;
    }
    if (flags & MF_BYPOSITION) {
        return id < record->Items.size() ? &record->Items[id] : nullptr;
    }
    for (Menu_Item& item : record->Items) {
        if (item.Submenu != nullptr) {
            if (Menu_Item* inner = Find_Menu_Item(item.Submenu, id, flags)) {
                return inner;
            }
        } else if (!item.Separator && item.Id == id) {
            return &item;
        }
    }
    return nullptr;
}

DWORD Window_System::Check_Menu_Item(HMENU menu, UINT id, UINT flags)
{
    Menu_Item* item = Find_Menu_Item(menu, id, flags);
    if (item == nullptr) {
        return static_cast<DWORD>(-1);
    }
    DWORD previous = item->Checked ? MF_CHECKED : MF_UNCHECKED;
    item->Checked = (flags & MF_CHECKED) != 0;
    for (auto& [handle, record] : Windows) {
        if (record->Menu != nullptr) {
            On_Menu_Changed(*record);
        }
    }
    return previous;
}

UINT Window_System::Get_Menu_State(HMENU menu, UINT id, UINT flags) const
{
    Menu_Item* item = const_cast<Window_System*>(this)->Find_Menu_Item(menu, id, flags);
    if (item == nullptr) {
        return static_cast<UINT>(-1);
    }
    return item->Checked ? MF_CHECKED : 0;
}

BOOL Window_System::Track_Popup_Menu(HMENU menu, UINT, int x, int y, HWND window)
{
    if (Find_Menu(menu) == nullptr || !Is_Window(window)) {
        return FALSE;
    }
    Last_Popup_Menu = menu;
    Popup_Count += 1;
    Send_Message(window, WM_ENTERMENULOOP, TRUE, 0);
    UINT chosen = Run_Popup(menu, x, y, window);
    if (Is_Window(window)) {
        Send_Message(window, WM_EXITMENULOOP, TRUE, 0);
    }
    if (chosen != 0) {
        Post_Message(window, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(chosen), 0), 0);
    }
    return TRUE;
}

UINT Window_System::Run_Popup(HMENU popup, int, int, HWND)
{
    return Popup_Choice ? Popup_Choice(popup) : 0;
}

BOOL Window_System::Destroy_Menu(HMENU menu)
{
    Menu* record = Find_Menu(menu);
    if (record == nullptr) {
        return FALSE;
    }
    std::vector<HMENU> submenus;
    for (const Menu_Item& item : record->Items) {
        if (item.Submenu != nullptr) {
            submenus.push_back(item.Submenu);
        }
    }
    Menus.erase(menu);
    for (HMENU submenu : submenus) {
        Destroy_Menu(submenu);
    }
    return TRUE;
}

HCURSOR Window_System::Load_Cursor(const char* name)
{
    return name == IDC_ARROW ? Arrow_Cursor : nullptr;
}

HCURSOR Window_System::Set_Cursor(HCURSOR cursor)
{
    HCURSOR previous = Current_Cursor;
    Current_Cursor = cursor;
    On_Cursor_Changed();
    return previous;
}

int Window_System::Show_Cursor(BOOL show)
{
    Cursor_Count += show ? 1 : -1;
    On_Cursor_Changed();
    return Cursor_Count;
}

int Window_System::Get_System_Metrics(int index) const
{
    if (index == SM_CXSCREEN) {
        return Screen_Width;
    }
    if (index == SM_CYSCREEN) {
        return Screen_Height;
    }
    return 0;
}

intptr_t Window_System::Dialog_Box(const char* template_name, HWND owner, DLGPROC procedure, LPARAM param)
{
    if (procedure == nullptr || (owner != nullptr && !Is_Window(owner))) {
        return -1;
    }
    auto record = std::make_unique<Window>();
    HWND handle = reinterpret_cast<HWND>(Next_Handle);
    Next_Handle += 0x10;
    record->Handle = handle;
    record->Class_Name = "#32770";
    record->Style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    record->Parent = owner;
    record->Dialog_Procedure = procedure;
    record->Template_Name = Resource_Name(template_name);
    Windows[handle] = std::move(record);
    On_Window_Created(*Windows[handle]);
    procedure(handle, WM_INITDIALOG, 0, param);
    if (Find(handle) != nullptr && !Find(handle)->Dialog_Ended) {
        Run_Dialog(handle);
    }
    intptr_t result = IDCANCEL;
    if (Window* dialog = Find(handle)) {
        result = dialog->Dialog_Result;
        dialog->Dialog_Procedure = nullptr; // WM_DESTROY goes to DefWindowProc only
        Destroy_Window(handle);
    }
    return result;
}

void Window_System::Run_Dialog(HWND dialog)
{
    const Window* record = Find(dialog);
    if (Dialog_Script && record != nullptr) {
        Dialog_Script(dialog, record->Template_Name);
    }
    record = Find(dialog);
    if (record != nullptr && !record->Dialog_Ended) {
        Send_Message(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
    }
    Window* still = Find(dialog);
    if (still != nullptr && !still->Dialog_Ended) {
        End_Dialog(dialog, IDCANCEL);
    }
}

BOOL Window_System::End_Dialog(HWND dialog, intptr_t result)
{
    Window* record = Find(dialog);
    if (record == nullptr || record->Dialog_Procedure == nullptr) {
        return FALSE;
    }
    record->Dialog_Ended = true;
    record->Dialog_Result = result;
    return TRUE;
}

bool Window_System::Pump_Input(bool wait)
{
    // Headless: input is only what has been posted, or a close request from a signal.
    if (wait) {
        while (!Close_Requested.load() && Queue.empty() && Frames_Per_Second > 0) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        Post_Close_Requests();
        return !Queue.empty();
    }
    return false;
}

void Window_System::Pace_Frame()
{
    if (Frames_Per_Second <= 0) {
        return;
    }
    using namespace std::chrono;
    const int64_t interval = 1000000000 / Frames_Per_Second;
    int64_t now = duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
    if (Next_Frame_Nanoseconds > now) {
        std::this_thread::sleep_for(nanoseconds(Next_Frame_Nanoseconds - now));
        now = Next_Frame_Nanoseconds;
    }
    Next_Frame_Nanoseconds = std::max(Next_Frame_Nanoseconds + interval, now);
}

void Window_System::Set_Screen_Size(int width, int height)
{
    Screen_Width = width;
    Screen_Height = height;
}

void Window_System::Post_Key(HWND window, int virtual_key, DWORD modifiers)
{
    bool alt = (modifiers & Modifier_Alt) != 0;
    LPARAM lparam = 1 | (alt ? (1 << 29) : 0);
    Post_Message(window, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(virtual_key), lparam,
                 modifiers);
}

void Window_System::Post_Click(HWND window, UINT button_message, int x, int y)
{
    Post_Message(window, button_message, 0, Pack(x, y));
}
