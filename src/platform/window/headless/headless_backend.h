// The headless backend: a display that shows nothing. Windows are their records, each
// window's last frame is kept (converted to 0x00RRGGBB and scaled to the client area), frames
// are paced at a set rate by sleeping until the next tick, and input is only what is posted —
// by the program, by a close request, or by the knobs below, with which tests and the render
// tool script idle turns, dialogs, popup menus, message boxes and open-file answers.
#pragma once

#include "platform/window/window_backend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The last frame shown in a window, as 0x00RRGGBB words, row after row.
struct Presented_Frame {
    int Width = 0;
    int Height = 0;
    std::vector<uint32_t> Pixels;
    uint64_t Count = 0; // frames presented to this window so far
};

class Headless_Backend final : public Window_Backend {
public:
    // --- Knobs --------------------------------------------------------------------------
    SIZE Screen{1024, 768};
    // Frames per second of the pretended display's frame clock; 0 shows every frame at once.
    int Frames_Per_Second = 0;
    // A live run (the program itself): with nothing posted, waiting for input sleeps until a
    // close request. Otherwise (tests, tools) no input can come and GetMessageA answers WM_QUIT.
    bool Live = false;
    // Whether each presented frame is copied for Last_Frame. A tool that reads the frames from
    // the device's own target turns it off: at 1920 x 1080 the copy is ~7 % of a frame's time.
    bool Keep_Frames = true;
    // Called when PeekMessageA finds nothing (the frame loop's idle turn, once per frame); it
    // may post input, e.g. end a run after so many frames.
    std::function<void()> On_Idle_Poll;
    // Called when GetMessageA finds nothing; it may post input. When it posts nothing, no
    // input will ever come.
    std::function<void()> On_Idle_Wait;
    // Called each time an open dialog has nothing to do (first right after WM_INITDIALOG); it
    // acts as the user: posts clicks with the helpers below. When it posts nothing, or there
    // is no script, the dialog is closed (WM_CLOSE, then cancelled).
    std::function<void(HWND dialog, const std::string& template_name)> Dialog_Script;
    // Chooses from a popup menu: the command id, or 0 for none.
    std::function<UINT(HMENU popup)> Popup_Choice;
    // Answers the open-file dialog: true with a path, false for cancel (the default).
    std::function<bool(const Open_File_Request& request, std::string& chosen)> Open_File_Answer;
    // Other programs' windows the display pretends to have, and the foreground window.
    std::map<HWND, Foreign_Window> Foreign_Windows;
    HWND Foreground = nullptr;

    // --- The user's clicks in a dialog, by control id --------------------------------------
    bool Click(HWND dialog, int id);
    bool Scroll(HWND dialog, int id, WORD code, int position = 0);
    bool Choose(HWND dialog, int id, int index);

    // --- What was shown ----------------------------------------------------------------------
    // Null when nothing was presented to the window, or frames are not kept.
    const Presented_Frame* Last_Frame(HWND window) const;
    HMENU Last_Popup() const { return Last_Popup_Menu; }
    int Popups_Shown() const { return Popup_Count; }
    bool Cursor_Visible() const { return Cursor_Shown; }

    // --- Window_Backend ----------------------------------------------------------------------
    SIZE Screen_Size() override { return Screen; }
    void Window_Created(const Window_Record&) override {}
    void Window_Destroyed(const Window_Record& window) override;
    void Window_Changed(const Window_Record&, unsigned) override {}
    RECT Client_Insets(const Window_Record&) override { return RECT{0, 0, 0, 0}; }
    void Menu_Item_Changed(HMENU, UINT, bool) override {}
    void Cursor_Changed(bool visible) override { Cursor_Shown = visible; }
    std::optional<Foreign_Window> Adopt_Foreign_Window(HWND handle) override;
    HWND Foreground_Window() override { return Foreground; }
    bool Present(const Window_Record& window, const Frame_Pixels& frame) override;
    bool Pump(Pump_Wait wait) override;
    void Dialog_Opened(const Window_Record& dialog) override;
    void Control_Changed(const Window_Record&) override {}
    void Dialog_Closed(const Window_Record& dialog) override;
    UINT Track_Popup_Menu(HMENU menu, int x, int y, const Window_Record& owner) override;
    int Message_Box(HWND owner, const char* text, const char* caption, UINT type) override;
    bool Open_File(const Open_File_Request& request, std::string& chosen) override;

private:
    void Pace_Next_Frame();
    void Wait_For_Next_Frame();
    void Wait_For_Close_Request();
    bool Run_Dialog_Script();

    // A presented frame as it came (rows packed), converted for Last_Frame when first asked.
    struct Kept_Frame {
        std::vector<uint8_t> Bytes;
        Frame_Pixels Format; // without its pixels
        SIZE Client{};       // the client area it was shown in
        bool Converted = false;
        Presented_Frame Shown;
    };
    static void Convert(Kept_Frame& kept);

    mutable std::map<HWND, Kept_Frame> Frames;
    std::vector<HWND> Dialogs; // open, innermost last
    int64_t Next_Frame_Nanoseconds = 0;
    HMENU Last_Popup_Menu = nullptr;
    int Popup_Count = 0;
    bool Cursor_Shown = true;
};

// The installed backend when it is the headless one, else nullptr.
Headless_Backend* Installed_Headless_Backend();
// The installed headless backend; installs a fresh headless window system when another backend
// is installed. For tests and tools.
Headless_Backend& The_Headless_Backend();
