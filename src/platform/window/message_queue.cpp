// The one message queue: posting and sending, the retrieval calls with their waits on the
// backend, WM_QUIT, keys as the keyboard delivers them, default processing, and the close
// requests that signal handlers make.
#include "platform/window/window_system.h"

#include <algorithm>
#include <atomic>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<bool> Close_Requested{false};

// The self-pipe a close request writes to, so that a waiting Pump wakes at once.
struct Wake_Pipe {
    int Read = -1;
    int Write = -1;
    Wake_Pipe()
    {
        int ends[2];
        if (pipe2(ends, O_NONBLOCK | O_CLOEXEC) == 0) {
            Read = ends[0];
            Write = ends[1];
        }
    }
};

Wake_Pipe& The_Wake_Pipe()
{
    static Wake_Pipe wake; // made before any signal handler is installed (see main)
    return wake;
}

LPARAM Pack(int low, int high)
{
    return MAKELPARAM(static_cast<WORD>(low), static_cast<WORD>(high));
}

} // namespace

void Request_Close_All_Windows()
{
    Close_Requested.store(true);
    const int fd = The_Wake_Pipe().Write;
    if (fd >= 0) {
        const char byte = 1;
        [[maybe_unused]] ssize_t written = write(fd, &byte, 1);
    }
}

int Close_Request_Fd()
{
    return The_Wake_Pipe().Read;
}

bool Take_Close_Request()
{
    if (!Close_Requested.exchange(false)) {
        return false;
    }
    char bytes[64];
    while (The_Wake_Pipe().Read >= 0 && read(The_Wake_Pipe().Read, bytes, sizeof bytes) > 0) {
    }
    return true;
}

// The windows a close request closes: the top-level ones, and those inside another program's
// window (a preview), which are the program's outermost windows there.
bool Window_System::Closes_On_Request(const Window_Record& record) const
{
    if (record.Is_Top_Level()) {
        return true;
    }
    const Window_Record* parent = record.Parent != nullptr ? Find(record.Parent) : nullptr;
    return parent != nullptr && parent->Foreign;
}

void Window_System::Post_Close_Requests()
{
    // A request made before any window exists (a signal during the start) waits for the first
    // one, so that it still ends the run instead of being lost.
    const bool any_window =
        !Open_Dialogs.empty() || std::any_of(Windows.begin(), Windows.end(), [this](const auto& entry) {
            return Closes_On_Request(*entry.second);
        });
    if (!any_window || !Take_Close_Request()) {
        return;
    }
    // Open dialogs are cancelled first; the windows under them close once they have returned.
    for (HWND dialog : Open_Dialogs) {
        Post_Message(dialog, WM_CLOSE, 0, 0);
    }
    for (auto& [handle, record] : Windows) {
        if (Closes_On_Request(*record)) {
            Post_Message(handle, WM_CLOSE, 0, 0);
        }
    }
}

bool Window_System::Take_Message(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    auto matches = [&](const MSG& queued) {
        if (window != nullptr && queued.hwnd != window) {
            return false;
        }
        return (first == 0 && last == 0) || (queued.message >= first && queued.message <= last);
    };
    auto found = std::find_if(Queue.begin(), Queue.end(), matches);
    if (found != Queue.end()) {
        *message = *found;
        if (remove & PM_REMOVE) {
            Current_Modifiers = found->lPrivate;
            Queue.erase(found);
        }
        return true;
    }
    if (Quit_Posted && Queue.empty()) {
        *message = MSG{};
        message->message = WM_QUIT;
        message->wParam = static_cast<WPARAM>(Quit_Code);
        if (remove & PM_REMOVE) {
            Quit_Posted = false;
        }
        return true;
    }
    return false;
}

BOOL Window_System::Peek_Message(MSG* message, HWND window, UINT first, UINT last, UINT remove)
{
    Post_Close_Requests();
    Display->Pump(Pump_Wait::None);
    if (Take_Message(message, window, first, last, remove)) {
        return TRUE;
    }
    // Nothing waiting: the idle turn comes once the display can take the next frame.
    Display->Pump(Pump_Wait::Next_Frame);
    Post_Close_Requests();
    return Take_Message(message, window, first, last, remove) ? TRUE : FALSE;
}

BOOL Window_System::Get_Message(MSG* message, HWND window, UINT first, UINT last)
{
    for (;;) {
        Post_Close_Requests();
        Display->Pump(Pump_Wait::None);
        if (Take_Message(message, window, first, last, PM_REMOVE)) {
            return message->message == WM_QUIT ? FALSE : TRUE;
        }
        const std::size_t before = Queue.size();
        const bool more = Display->Pump(Pump_Wait::Input);
        Post_Close_Requests();
        if (!more && Queue.size() == before && !Quit_Posted) {
            // Nothing can arrive any more: end the loop rather than wait for ever.
            Post_Quit_Message(0);
        }
    }
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
    if (window != nullptr && Record(window) == nullptr) {
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
    Window_Record* record = Record(window);
    if (record == nullptr || record->Foreign) {
        return 0;
    }
    if (record->Dialog) {
        if (record->Dialog->Procedure == nullptr) {
            return 0; // an ended dialog going away
        }
        intptr_t handled = record->Dialog->Procedure(window, message, wparam, lparam);
        if (handled == FALSE && message == WM_CLOSE) {
            // As the platform's dialog manager does: closing a dialog is its Cancel.
            Send_Message(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                         reinterpret_cast<LPARAM>(Get_Dialog_Item(window, IDCANCEL)));
        }
        return handled;
    }
    if (record->Control) {
        return Control_Procedure(*record, message, wparam, lparam);
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
