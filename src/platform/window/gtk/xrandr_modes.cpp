// Display modes from XRandR.
#include "platform/window/gtk/xrandr_modes.h"

#include "platform/system/display_mode_xlib.h"

#include <X11/Xlib.h>
#include <X11/extensions/Xrandr.h>
#include <algorithm>
#include <gdk/gdk.h>

void Xrandr_Modes::Install()
{
    Set_Full_Screen_Mode_List(this);
    Set_Display_Mode_Source(this);
}

void Xrandr_Modes::Uninstall()
{
    Set_Full_Screen_Mode_List(nullptr);
    Set_Display_Mode_Source(nullptr);
}

bool Xrandr_Modes::Current_Mode(Display_Mode& mode)
{
    // The primary monitor is the desktop the program covers.
    GdkDisplay* display = gdk_display_get_default();
    GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
    if (monitor == nullptr) {
        monitor = gdk_display_get_monitor(display, 0);
    }
    if (monitor == nullptr) {
        return false;
    }
    GdkRectangle area{};
    gdk_monitor_get_geometry(monitor, &area);
    mode.Width = area.width * Scale;
    mode.Height = area.height * Scale;
    const int screen = DefaultScreen(X_Display);
    mode.Bits_Per_Pixel = Bits_Per_Pixel_Of_Depth(X_Display, DefaultDepth(X_Display, screen));
    return true;
}

std::vector<Screen_Mode> Xrandr_Modes::Modes()
{
    std::vector<Screen_Mode> modes;
    auto add = [&modes](DWORD width, DWORD height, DWORD refresh) {
        for (DWORD bits : {16u, 32u}) {
            const bool known = std::any_of(modes.begin(), modes.end(), [&](const Screen_Mode& m) {
                return m.Width == width && m.Height == height && m.Bits_Per_Pixel == bits;
            });
            if (!known) {
                modes.push_back({width, height, bits, refresh});
            }
        }
    };
    int event_base = 0, error_base = 0;
    if (XRRQueryExtension(X_Display, &event_base, &error_base)) {
        if (XRRScreenResources* resources =
                XRRGetScreenResourcesCurrent(X_Display, DefaultRootWindow(X_Display))) {
            for (int i = 0; i < resources->nmode; ++i) {
                const XRRModeInfo& info = resources->modes[i];
                const double frame = static_cast<double>(info.hTotal) * info.vTotal;
                const DWORD refresh = frame > 0 ? static_cast<DWORD>(info.dotClock / frame + 0.5) : 60;
                add(info.width, info.height, refresh);
            }
            XRRFreeScreenResources(resources);
        }
    }
    // Modes are emulated, so the usual sizes that fit the desktop are offered as well; the
    // program's own default, 640 x 480, always is.
    Display_Mode desktop;
    if (Current_Mode(desktop)) {
        add(static_cast<DWORD>(desktop.Width), static_cast<DWORD>(desktop.Height), 60);
    }
    for (const Screen_Mode& usual : Headless_Screen_Modes().Modes()) {
        const bool fits = usual.Width <= static_cast<DWORD>(desktop.Width) &&
                          usual.Height <= static_cast<DWORD>(desktop.Height);
        if (fits || (usual.Width == 640 && usual.Height == 480)) {
            add(usual.Width, usual.Height, usual.Refresh_Rate);
        }
    }
    std::sort(modes.begin(), modes.end(), [](const Screen_Mode& a, const Screen_Mode& b) {
        return a.Width != b.Width     ? a.Width < b.Width
               : a.Height != b.Height ? a.Height < b.Height
                                      : a.Bits_Per_Pixel < b.Bits_Per_Pixel;
    });
    return modes;
}
