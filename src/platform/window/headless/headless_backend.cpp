// The headless backend: kept frames, real pacing, and the scripted user of the tests.
#include "platform/window/headless/headless_backend.h"

#include "platform/window/frame_pixels.h"
#include "platform/window/window_system.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <thread>

namespace {

int64_t Now_Nanoseconds()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

std::optional<Foreign_Window> Headless_Backend::Adopt_Foreign_Window(HWND handle)
{
    auto found = Foreign_Windows.find(handle);
    if (found == Foreign_Windows.end()) {
        return std::nullopt;
    }
    return found->second;
}

void Headless_Backend::Window_Destroyed(const Window_Record& window)
{
    Frames.erase(window.Handle);
}

bool Headless_Backend::Present(const Window_Record& window, const Frame_Pixels& frame)
{
    // Kept as it came and converted only when someone looks: a live run shows nothing, so
    // converting every frame would only cost processor time.
    Kept_Frame& kept = Frames[window.Handle];
    Pace_Next_Frame();
    kept.Shown.Count += 1;
    kept.Converted = false;
    if (!Keep_Frames) {
        kept.Bytes.clear();
        return true;
    }
    const std::size_t row =
        static_cast<std::size_t>(frame.Width) * static_cast<std::size_t>(frame.Bits_Per_Pixel / 8);
    kept.Bytes.resize(row * static_cast<std::size_t>(frame.Height));
    for (int y = 0; y < frame.Height; ++y) {
        std::memcpy(kept.Bytes.data() + row * static_cast<std::size_t>(y),
                    static_cast<const uint8_t*>(frame.Pixels) + static_cast<std::ptrdiff_t>(y) * frame.Pitch,
                    row);
    }
    kept.Format = frame;
    kept.Format.Pixels = nullptr;
    kept.Format.Pitch = static_cast<int>(row);
    RECT client{};
    System->Get_Client_Rect(window.Handle, &client);
    kept.Client =
        SIZE{client.right > 0 ? client.right : frame.Width, client.bottom > 0 ? client.bottom : frame.Height};
    return true;
}

// The pretended display shows the frame just presented at its next tick; the loop waits for that.
void Headless_Backend::Pace_Next_Frame()
{
    if (Frames_Per_Second > 0) {
        const int64_t interval = 1000000000 / Frames_Per_Second;
        Next_Frame_Nanoseconds = std::max(Next_Frame_Nanoseconds + interval, Now_Nanoseconds());
    }
}

const Presented_Frame* Headless_Backend::Last_Frame(HWND window) const
{
    auto found = Frames.find(window);
    if (found == Frames.end() || !Keep_Frames) {
        return nullptr;
    }
    Kept_Frame& kept = found->second;
    if (!kept.Converted) {
        Convert(kept);
    }
    return &kept.Shown;
}

void Headless_Backend::Convert(Kept_Frame& kept)
{
    Frame_Pixels frame = kept.Format;
    frame.Pixels = kept.Bytes.data();
    const int width = kept.Client.cx, height = kept.Client.cy;
    const RECT box = frame.Keep_Aspect ? Frame_Aspect_Box(frame.Width, frame.Height, width, height)
                                       : RECT{0, 0, width, height};
    Presented_Frame& shown = kept.Shown;
    shown.Width = width;
    shown.Height = height;
    shown.Pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const int box_width = std::max<LONG>(box.right - box.left, 1);
    const int box_height = std::max<LONG>(box.bottom - box.top, 1);
    for (int y = box.top; y < box.bottom; ++y) {
        const int source_y = static_cast<int>(static_cast<int64_t>(y - box.top) * frame.Height / box_height);
        uint32_t* row = shown.Pixels.data() + static_cast<std::size_t>(y) * width;
        for (int x = box.left; x < box.right; ++x) {
            const int source_x =
                static_cast<int>(static_cast<int64_t>(x - box.left) * frame.Width / box_width);
            row[x] = Frame_Pixel_Rgb(frame, source_x, source_y);
        }
    }
    kept.Converted = true;
}

void Headless_Backend::Wait_For_Next_Frame()
{
    const int64_t now = Now_Nanoseconds();
    if (Frames_Per_Second <= 0 || Next_Frame_Nanoseconds <= now) {
        return;
    }
    // Sleep, but wake for a close request.
    pollfd wake{Close_Request_Fd(), POLLIN, 0};
    const int64_t milliseconds = (Next_Frame_Nanoseconds - now + 999999) / 1000000;
    if (wake.fd < 0 || poll(&wake, 1, static_cast<int>(milliseconds)) == 0) {
        const int64_t left = Next_Frame_Nanoseconds - Now_Nanoseconds();
        if (left > 0) {
            std::this_thread::sleep_for(std::chrono::nanoseconds(left));
        }
    }
}

void Headless_Backend::Wait_For_Close_Request()
{
    pollfd wake{Close_Request_Fd(), POLLIN, 0};
    while (wake.fd >= 0 && poll(&wake, 1, -1) < 0) {
        // interrupted by a signal: its handler may have asked to close; poll again sees it
    }
}

bool Headless_Backend::Pump(Pump_Wait wait)
{
    switch (wait) {
    case Pump_Wait::None:
        return true;
    case Pump_Wait::Next_Frame:
        Wait_For_Next_Frame();
        if (On_Idle_Poll && System->Pending_Messages() == 0 && !System->Quit_Pending()) {
            On_Idle_Poll();
        }
        return true;
    case Pump_Wait::Input:
        break;
    }
    if (!Dialogs.empty()) {
        return Run_Dialog_Script();
    }
    if (On_Idle_Wait) {
        const std::size_t before = System->Pending_Messages();
        On_Idle_Wait();
        return System->Pending_Messages() != before;
    }
    if (Live) {
        Wait_For_Close_Request();
        return true;
    }
    return false;
}

void Headless_Backend::Dialog_Opened(const Window_Record& dialog)
{
    Dialogs.push_back(dialog.Handle);
}

void Headless_Backend::Dialog_Closed(const Window_Record& dialog)
{
    std::erase(Dialogs, dialog.Handle);
}

bool Headless_Backend::Run_Dialog_Script()
{
    const Window_Record* dialog = System->Find(Dialogs.back());
    if (!Dialog_Script || dialog == nullptr) {
        return false;
    }
    const std::size_t before = System->Pending_Messages();
    Dialog_Script(dialog->Handle, dialog->Dialog->Template_Name);
    return System->Pending_Messages() != before;
}

bool Headless_Backend::Click(HWND dialog, int id)
{
    return System->Post_Button_Click(System->Get_Dialog_Item(dialog, id));
}

bool Headless_Backend::Scroll(HWND dialog, int id, WORD code, int position)
{
    return System->Post_Scroll(System->Get_Dialog_Item(dialog, id), code, position);
}

bool Headless_Backend::Choose(HWND dialog, int id, int index)
{
    return System->Post_Combo_Choice(System->Get_Dialog_Item(dialog, id), index);
}

UINT Headless_Backend::Track_Popup_Menu(HMENU menu, int, int, const Window_Record&)
{
    Last_Popup_Menu = menu;
    Popup_Count += 1;
    return Popup_Choice ? Popup_Choice(menu) : 0;
}

int Headless_Backend::Message_Box(HWND owner, const char* text, const char* caption, UINT type)
{
    return Stderr_Message_Boxes().Show(owner, text, caption, type);
}

bool Headless_Backend::Open_File(const Open_File_Request& request, std::string& chosen)
{
    return Open_File_Answer ? Open_File_Answer(request, chosen) : false;
}

Headless_Backend* Installed_Headless_Backend()
{
    return dynamic_cast<Headless_Backend*>(&Current_Window_System().Backend());
}

Headless_Backend& The_Headless_Backend()
{
    if (Installed_Headless_Backend() == nullptr) {
        Install_Window_System(nullptr);
    }
    return *Installed_Headless_Backend();
}
