// The desktop backend: GTK 3 on X11 (XWayland included). Top-level windows are GtkWindows
// holding a menu bar built from the window's menu record and a drawing area that shows the
// presented frames through cairo; children of other programs' windows (the preview) are plain
// X windows drawn by x11/. Input becomes the platform's messages: keys as virtual keys (the
// program's own accelerator table turns them into commands), buttons, focus, close, size and
// position. The frame loop is paced by the toplevel's frame clock and waits inside the GLib
// main loop. Dialogs are built from their templates (gtk_dialogs.cpp), the common dialogs are
// GTK's own (gtk_common_dialogs.cpp), display modes come from XRandR (xrandr_modes.cpp).
//
// Coordinates: the window records are in device pixels (the monitor's scale factor applied),
// GTK works in logical pixels; this backend converts at its edges. A top-level record's Rect is
// the GtkWindow's own area (menu bar and client area) on the root window: the window manager's
// frame lies outside it, as only the window manager knows its size.
#pragma once

#include "platform/window/window_backend.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

typedef struct _GtkWidget GtkWidget;
typedef union _GdkEvent GdkEvent;
#include <glib.h> // GIOCondition
typedef struct _XDisplay Display;
class X11_Window_Watch;
class X11_Drawable;
class X11_Daemon_Window;
class Gtk_Dialog_View;
class Xrandr_Modes;

class Gtk_Backend final : public Window_Backend {
public:
    Gtk_Backend();
    ~Gtk_Backend() override;
    Gtk_Backend(const Gtk_Backend&) = delete;
    Gtk_Backend& operator=(const Gtk_Backend&) = delete;

    // Opens the display through GTK (once per process); false when none can be opened.
    static bool Display_Opens();

    void Attach(Window_System& system) override;
    SIZE Screen_Size() override;
    void Window_Created(const Window_Record& window) override;
    void Window_Destroyed(const Window_Record& window) override;
    void Window_Changed(const Window_Record& window, unsigned changes) override;
    RECT Client_Insets(const Window_Record& window) override;
    void Menu_Item_Changed(HMENU menu, UINT id, bool checked) override;
    void Cursor_Changed(bool visible) override;
    std::optional<Foreign_Window> Adopt_Foreign_Window(HWND handle) override;
    HWND Foreground_Window() override;
    bool Present(const Window_Record& window, const Frame_Pixels& frame) override;
    bool Pump(Pump_Wait wait) override;
    void Dialog_Opened(const Window_Record& dialog) override;
    void Control_Changed(const Window_Record& control) override;
    void Dialog_Closed(const Window_Record& dialog) override;
    UINT Track_Popup_Menu(HMENU menu, int x, int y, const Window_Record& owner) override;
    int Message_Box(HWND owner, const char* text, const char* caption, UINT type) override;
    bool Open_File(const Open_File_Request& request, std::string& chosen) override;

    // --- For the parts of this backend --------------------------------------------------------
    Window_System& Windows() { return *System; }
    int Scale() const { return Scale_Factor; }
    // The GtkWindow a dialog or message box goes over: the owner's, else a visible one of ours.
    GtkWidget* Parent_Window_For(HWND owner);
    // The X connection broke: from now on nothing touches GTK or X, and every window closes.
    void Display_Lost();
    // The last button press on one of our windows, for popup menus to grab with.
    GdkEvent* Last_Button_Event() const { return Last_Press; }
    void Keep_Button_Event(const GdkEvent* event);
    // A native modal thing a close request must end: a message box or file chooser (a
    // GtkDialog or GtkNativeDialog), or a popup menu; nullptr when it has closed. Requests are
    // watched from then on, also where the frame loop never ran (an error box at start-up).
    enum class Native_Kind { Dialog, Chooser, Menu };
    void Set_Native_Modal(void* thing, Native_Kind kind)
    {
        Native_Modal = thing;
        Native_Modal_Kind = kind;
        if (thing != nullptr) {
            Watch_Close_Requests();
        }
    }
    // Our own windows' focus changed: WM_ACTIVATEAPP when the application's activity did.
    void Activity_Changed();

    struct Top_Level; // gtk_top_level.h

private:
    Top_Level* Top(HWND window);
    void Make_Top_Level(const Window_Record& window);
    void Make_Child(const Window_Record& window);
    void Make_Daemon_Window(const Window_Record& window);
    void Apply(Top_Level& top, const Window_Record& record, unsigned changes);
    void Apply_Menu(Top_Level& top, const Window_Record& record);
    void Apply_Geometry(Top_Level& top, const Window_Record& record);
    // A popup without a caption over the whole monitor: shown full screen, without menu bar.
    bool Covers_Screen(const Window_Record& record);
    void Show_Menu_Bar(Top_Level& top);
    void Set_Cursor(Top_Level& top);
    // The client area's X child for frames, made once the area has been realized.
    X11_Drawable* Surface_Of(Top_Level& top);
    void Report_Geometry(Top_Level& top);
    void Deliver_X_Events();
    void Arm_Refresh_Tick(bool fallback);
    void Watch_Close_Requests();
    bool Idle(std::size_t queued_before) const;
    void Close_Native_Modal();
    // A modal thing's own main loop, until `ended` says so or the connection is lost. GTK's
    // gtk_dialog_run and gtk_native_dialog_run would go on for ever at full speed on a dead
    // connection, whose socket never stops being readable.
    void Run_Nested_Loop(const std::function<bool()>& ended);
    static int On_Close_Request(int fd, GIOCondition condition, void* self);
    static int On_Refresh_Tick(void* self);

    std::map<HWND, std::unique_ptr<Top_Level>> Tops;
    std::map<HWND, std::unique_ptr<X11_Drawable>> Children; // in other programs' windows
    std::unique_ptr<X11_Window_Watch> Foreign;
    // A screen-saver daemon's window (--root), drawn into in place of the first top level.
    std::unique_ptr<X11_Daemon_Window> Daemon;
    HWND Daemon_Handle = nullptr;
    bool Daemon_End_Reported = false;
    std::map<HWND, std::unique_ptr<Gtk_Dialog_View>> Dialogs;
    std::unique_ptr<Xrandr_Modes> Modes;
    Display* X_Display = nullptr;
    GdkEvent* Last_Press = nullptr;
    int Scale_Factor = 1;
    int64_t Refresh_Microseconds = 16667;
    int64_t Last_Tick = 0;
    bool Frame_Pending = false;
    bool Woken = false;
    bool Connection_Lost = false;
    bool App_Active = false;
    bool Cursor_Visible = true;
    void* Native_Modal = nullptr;
    Native_Kind Native_Modal_Kind = Native_Kind::Dialog;
    unsigned Close_Watch = 0;
    unsigned Refresh_Timer = 0;

public:
    // The frame clock painted a frame, or the refresh tick came: the next frame may be drawn.
    void Frame_Shown();
    // The client area got a new size (logical pixels): its frame child follows.
    void Area_Resized(Top_Level& top, int width, int height);
};
