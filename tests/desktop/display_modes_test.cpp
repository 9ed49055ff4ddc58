// The desktop backend's display modes on an X server whose size is none of the usual ones:
// the desktop's own mode is the screen's (depth 24 stored in 32 bits), the full-screen list
// offers it and the usual sizes that fit, each at 16 and 32 bits, and the device enumeration
// takes the desktop's mode as the default when the setting asks for it.
#include "d3dframe/d3denum.h"
#include "platform/graphics/display_modes.h"
#include "platform/system/display_mode.h"
#include "platform/window/window_backends.h"
#include "platform/window/window_system.h"
#include "temp_folder.h"
#include "x_session.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using namespace desktop_test;

namespace {

std::string Text(DWORD width, DWORD height, DWORD bits)
{
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
}

TEST(Desktop_Modes, AnUnusualDesktopIsItsOwnModeAndTheDefaultFullScreenMode)
{
    X_Server server("1152x864x24");
    if (server.Name().empty()) {
        GTEST_SKIP() << "no Xvfb";
    }
    test_support::Env_Guard display("DISPLAY", server.Name());
    ASSERT_STREQ(Start_Window_System("gtk"), "gtk");

    Display_Mode desktop;
    ASSERT_TRUE(Get_Current_Display_Mode(desktop));
    EXPECT_EQ(Text(desktop.Width, desktop.Height, desktop.Bits_Per_Pixel), "1152x864x32");

    std::vector<std::string> modes;
    for (const Screen_Mode& mode : Full_Screen_Modes().Modes()) {
        modes.push_back(Text(mode.Width, mode.Height, mode.Bits_Per_Pixel));
    }
    const std::vector<std::string> expected = {"640x480x16",  "640x480x32",  "800x600x16",  "800x600x32",
                                               "1024x768x16", "1024x768x32", "1152x864x16", "1152x864x32"};
    EXPECT_EQ(modes, expected);

    for (int setting : {1, 0}) {
        D3DEnum_Reset();
        D3DEnum_Desktop_Resolution = setting;
        ASSERT_EQ(D3DEnum_EnumerateDevices(nullptr), S_OK);
        DeviceRecord* chosen = nullptr;
        ASSERT_EQ(D3DEnum_SelectDefaultDevice(&chosen, 0), S_OK);
        const DDSURFACEDESC2& mode = chosen->fullscreen_mode;
        EXPECT_EQ(Text(mode.dwWidth, mode.dwHeight, mode.ddpfPixelFormat.dwRGBBitCount),
                  setting == 1 ? "1152x864x32" : "640x480x16");
    }
    D3DEnum_Reset();
    Install_Window_System(nullptr);
}

} // namespace
