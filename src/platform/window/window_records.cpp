// Window records: classes, creation and destruction with the messages the platform sends for
// them, visibility, styles, text, enabling, the present call, cursor and screen metrics, and
// the windows of other programs adopted through the backend (where windows are and how they
// move is in window_placement.cpp).
#include "platform/window/window_system.h"

#include <algorithm>
#include <cctype>

namespace {

std::string Upper(const char* text)
{
    std::string result = text ? text : "";
    for (char& c : result) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return result;
}

} // namespace

Window_System::Window_System(std::unique_ptr<Window_Backend> backend) : Display(std::move(backend))
{
    Close_Request_Fd(); // the wake-up pipe exists before any signal handler may write to it
    Display->Attach(*this);
}

Window_System::~Window_System() = default;

HWND Window_System::New_Handle()
{
    HWND handle = reinterpret_cast<HWND>(Next_Handle);
    Next_Handle += 0x10;
    return handle;
}

Window_Record& Window_System::Add_Record(HWND handle)
{
    auto& slot = Windows[handle];
    slot = std::make_unique<Window_Record>();
    slot->Handle = handle;
    return *slot;
}

const Window_Record* Window_System::Find(HWND window) const
{
    auto found = Windows.find(window);
    return found == Windows.end() ? nullptr : found->second.get();
}

Window_Record* Window_System::Record(HWND window)
{
    auto found = Windows.find(window);
    if (found != Windows.end()) {
        return found->second.get();
    }
    if (window == nullptr) {
        return nullptr;
    }
    // Another program's window: known only when the display has it.
    std::optional<Foreign_Window> foreign = Display->Adopt_Foreign_Window(window);
    if (!foreign) {
        return nullptr;
    }
    Window_Record& record = Add_Record(window);
    record.Foreign = true;
    record.Style = foreign->Style;
    record.Rect = foreign->Rect;
    record.Normal_Position = foreign->Rect;
    return &record;
}

void Window_System::Changed(Window_Record& record, unsigned changes)
{
    if (record.Control) {
        Display->Control_Changed(record);
    } else if (!record.Foreign && !record.Dialog) {
        Display->Window_Changed(record, changes);
    }
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
    if (found == Classes.end() || (parent != nullptr && Record(parent) == nullptr)) {
        return nullptr;
    }
    const SIZE screen = Display->Screen_Size();
    if (x == CW_USEDEFAULT) {
        x = 0;
        y = 0;
    }
    if (width == CW_USEDEFAULT) {
        width = screen.cx * 3 / 4;
        height = screen.cy * 3 / 4;
    }
    HWND handle = New_Handle();
    Window_Record& record = Add_Record(handle);
    record.Class_Name = class_name;
    record.Text = title ? title : "";
    record.Style = style;
    record.Ex_Style = ex_style;
    record.Parent = parent;
    record.Menu = (style & WS_CHILD) ? nullptr : menu;
    record.Procedure = found->second.lpfnWndProc;
    record.Rect = RECT{x, y, x + std::max(width, 0), y + std::max(height, 0)};
    record.Normal_Position = record.Rect;
    Display->Window_Created(record);

    MINMAXINFO limits{};
    limits.ptMaxSize = POINT{screen.cx, screen.cy};
    limits.ptMaxTrackSize = POINT{screen.cx, screen.cy};
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
    Window_Record* record = Record(window);
    // Another program's window is never ours to destroy.
    if (record == nullptr || record->Destroying || record->Foreign) {
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
        if (!found->second->Dialog && !found->second->Control) {
            Display->Window_Destroyed(*found->second);
        }
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
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return FALSE;
    }
    BOOL was_visible = (record->Style & WS_VISIBLE) ? TRUE : FALSE;
    if (command == SW_HIDE) {
        record->Style &= ~WS_VISIBLE;
        Changed(*record, Change_Style);
        return was_visible;
    }
    record->Style |= WS_VISIBLE;
    bool minimise = command == SW_MINIMIZE || command == SW_SHOWMINIMIZED;
    bool changed = minimise != record->Minimised;
    record->Minimised = minimise;
    Changed(*record, Change_Style);
    if (changed) {
        if (minimise) {
            Send_Message(window, WM_SIZE, SIZE_MINIMIZED, 0);
        } else {
            Send_Size_And_Move(window, true, false);
            // The uncovered client area asks to be painted, as on the original platform.
            Post_Message(window, WM_PAINT, 0, 0);
        }
    }
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

void Window_System::Foreign_Window_Gone(HWND window)
{
    std::vector<HWND> children;
    for (auto& [handle, child] : Windows) {
        if (child->Parent == window) {
            children.push_back(handle);
        }
    }
    for (HWND child : children) {
        Destroy_Window(child);
    }
    Windows.erase(window);
}

LONG Window_System::Get_Window_Long(HWND window, int index)
{
    const Window_Record* record = Record(window);
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
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign || (index != GWL_STYLE && index != GWL_EXSTYLE)) {
        return 0;
    }
    LONG previous = Get_Window_Long(window, index);
    if (index == GWL_STYLE) {
        record->Style = static_cast<DWORD>(value) & ~WS_MINIMIZE;
    } else {
        record->Ex_Style = static_cast<DWORD>(value);
    }
    Changed(*record, Change_Style);
    return previous;
}

HWND Window_System::Get_Parent(HWND window)
{
    const Window_Record* record = Record(window);
    return record ? record->Parent : nullptr;
}

BOOL Window_System::Is_Iconic(HWND window)
{
    const Window_Record* record = Record(window);
    return record && record->Minimised ? TRUE : FALSE;
}

HWND Window_System::Get_Foreground_Window()
{
    return Display->Foreground_Window();
}

BOOL Window_System::Set_Window_Text(HWND window, const char* text)
{
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return FALSE;
    }
    record->Text = text ? text : "";
    Changed(*record, Change_Text);
    return TRUE;
}

int Window_System::Get_Window_Text(HWND window, char* text, int size)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || text == nullptr || size <= 0) {
        return 0;
    }
    const std::size_t length = std::min<std::size_t>(record->Text.size(), static_cast<std::size_t>(size - 1));
    record->Text.copy(text, length);
    text[length] = '\0';
    return static_cast<int>(length);
}

BOOL Window_System::Enable_Window(HWND window, BOOL enable)
{
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return FALSE;
    }
    const BOOL was_disabled = (record->Style & WS_DISABLED) ? TRUE : FALSE;
    record->Style = enable ? record->Style & ~WS_DISABLED : record->Style | WS_DISABLED;
    if (was_disabled != (enable ? FALSE : TRUE)) {
        Changed(*record, Change_Style);
    }
    return was_disabled;
}

BOOL Window_System::Is_Window_Enabled(HWND window)
{
    const Window_Record* record = Record(window);
    return record && !(record->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL Window_System::Present(HWND window, const Frame_Pixels& frame)
{
    const Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign || record->Dialog || record->Control) {
        return FALSE;
    }
    return Display->Present(*record, frame) ? TRUE : FALSE;
}

HCURSOR Window_System::Load_Cursor(const char* name)
{
    return name == IDC_ARROW ? reinterpret_cast<HCURSOR>(static_cast<uintptr_t>(32512)) : nullptr;
}

HCURSOR Window_System::Set_Cursor(HCURSOR cursor)
{
    HCURSOR previous = Current_Cursor;
    Current_Cursor = cursor;
    Display->Cursor_Changed(!Cursor_Hidden());
    return previous;
}

int Window_System::Show_Cursor(BOOL show)
{
    Cursor_Count += show ? 1 : -1;
    Display->Cursor_Changed(!Cursor_Hidden());
    return Cursor_Count;
}

int Window_System::Get_System_Metrics(int index)
{
    const SIZE screen = Display->Screen_Size();
    return index == SM_CXSCREEN ? screen.cx : index == SM_CYSCREEN ? screen.cy : 0;
}
