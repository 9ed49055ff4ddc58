// Inside the desktop backend: a top-level window record shown as a GtkWindow — what it shows
// now (so that a change of the record is applied only where it differs), its menu bar, the
// last frame presented to it, and its geometry as last asked for and as last reported.
#pragma once

#include "platform/window/gtk/frame_image.h"
#include "platform/window/gtk/gtk_backend.h"
#include "platform/window/gtk/gtk_menus.h"
#include "platform/window/x11/x11_drawable.h"

#include <cstdint>
#include <memory>
#include <string>

struct Gtk_Backend::Top_Level {
    Gtk_Backend* Backend = nullptr;
    HWND Handle = nullptr;
    GtkWidget* Window = nullptr; // the GtkWindow
    GtkWidget* Box = nullptr;    // menu bar above the drawing area
    GtkWidget* Area = nullptr;   // the client area
    std::unique_ptr<Gtk_Menu_View> Menu_Bar;
    int Menu_Height = 0; // device pixels
    int Open_Menus = 0;  // menus of the bar now shown (the menu loop)
    Frame_Image Image;
    // The client area's frames go into a plain X child of its native window, drawn by x11/
    // (1:1 from shared memory where the display has it); Image is the fallback without one.
    unsigned long Surface_Window = 0;
    std::unique_ptr<X11_Drawable> Surface;
    bool Paint_Hooked = false;

    // What is shown now.
    bool Visible = false;
    bool Iconified = false;
    bool Decorated = true;
    bool Kept_Above = false;
    bool Full_Screen = false;
    std::string Title;
    RECT Applied{}; // device pixels on the root window, as last asked for

    // What the window manager or the user made of it (configure and state events).
    RECT Reported{};
    bool Reported_New = false;
    bool Iconified_Reported = false;
    bool Iconified_New = false;
    int64_t Request_Time = 0; // when the last geometry request was made (microseconds)
};

// A record's style asks for a window covering its monitor: a popup without a caption, as the
// full-screen device and Maximise_Window make it.
bool Is_Full_Screen_Style(const Window_Record& record);

// Connects the GtkWindow's and the drawing area's signals to the top level.
void Connect_Top_Level_Signals(Gtk_Backend::Top_Level& top);
