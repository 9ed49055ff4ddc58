// The desktop backend in this process, on an X server of the test's own whose size is none of
// the usual ones: its display modes, and its message boxes answered by keys as a user would.
#include "d3dframe/d3denum.h"
#include "platform/graphics/display_modes.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/window/window_backends.h"
#include "platform/window/window_system.h"
#include "temp_folder.h"
#include "x_session.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

using namespace desktop_test;

namespace {

std::string Text(DWORD width, DWORD height, DWORD bits)
{
    return std::to_string(width) + "x" + std::to_string(height) + "x" + std::to_string(bits);
}

// GTK opens its display once per process: the server and the backend serve every test here.
class Gtk_In_Process : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!Have("xdotool") || !Have("import")) {
            return;
        }
        Server = new X_Server("1152x864x24");
        if (!Server->Name().empty()) {
            setenv("DISPLAY", Server->Name().c_str(), 1);
            Started = std::string(Start_Window_System("gtk")) == "gtk";
        }
    }
    static void TearDownTestSuite()
    {
        Install_Window_System(nullptr);
        delete Server;
        Server = nullptr;
    }
    void SetUp() override
    {
        if (!Started) {
            GTEST_SKIP() << "no Xvfb, xdotool or ImageMagick";
        }
    }

    static X_Server* Server;
    static bool Started;
    test_support::Temp_Folder Shots;
};

X_Server* Gtk_In_Process::Server = nullptr;
bool Gtk_In_Process::Started = false;

// The desktop's own mode is the screen's (depth 24 stored in 32 bits); the full-screen list
// offers it and the usual sizes that fit, each at 16 and 32 bits; the device enumeration takes
// the desktop's mode as the default when the setting asks for it, else 640 x 480 x 16.
TEST_F(Gtk_In_Process, AnUnusualDesktopIsItsOwnModeAndTheDefaultFullScreenMode)
{
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
}

// Each box is centred, shows the icon of its kind (none without one) and answers by the button
// the keys choose; closing it answers Cancel, No or OK as the platform does.
TEST_F(Gtk_In_Process, MessageBoxesShowTheirKindAndAnswerByTheirButtons)
{
    struct Case {
        UINT Type;
        const char* Keys;
        int Answer;
    };
    const Case cases[] = {
        {MB_OK | MB_ICONERROR, "Return", IDOK},
        {MB_OK | MB_ICONWARNING, "Escape", IDOK},
        {MB_OK | MB_ICONINFORMATION, "space", IDOK},
        {MB_OK | MB_ICONQUESTION, "Return", IDOK},
        {MB_OK, "Return", IDOK},
        {MB_OKCANCEL, "Escape", IDCANCEL},
        {MB_YESNO, "Escape", IDNO},
        {MB_YESNO, "Tab Return", IDNO},
        {MB_YESNOCANCEL, "Return", IDYES},
    };
    std::vector<std::vector<uint8_t>> icons; // the corner where the icon stands (text without one)
    for (const Case& c : cases) {
        const std::string caption = "Box " + std::to_string(&c - cases);
        int x = 0, y = 0, width = 0, height = 0;
        std::vector<uint8_t> shot;
        std::thread user([&] {
            const std::string id = Server->Window("--name '^" + caption + "$'");
            if (id.empty()) {
                Request_Close_All_Windows(); // a box that never showed must not hang the test
                return;
            }
            std::istringstream geometry(Server->Run("xdotool getwindowgeometry --shell " + id));
            for (std::string line; std::getline(geometry, line);) {
                std::sscanf(line.c_str(), "X=%d", &x);
                std::sscanf(line.c_str(), "Y=%d", &y);
            }
            shot = Server->Shot(id, Shots / "box.png", width, height);
            Server->Run("xdotool mousemove --window " + id + " 5 5 key --delay 80 " + c.Keys);
        });
        const int answer =
            Current_Window_System().Message_Box(nullptr, "Text of the box", caption.c_str(), c.Type);
        user.join();
        Take_Close_Request();
        EXPECT_EQ(answer, c.Answer) << caption;
        EXPECT_NEAR(x + width / 2, 1152 / 2, 2) << caption;
        EXPECT_NEAR(y + height / 2, 864 / 2, 2) << caption;
        std::vector<uint8_t> corner;
        for (int row = 0; row < 64 && row < height; ++row) {
            corner.insert(corner.end(), shot.begin() + row * width * 3,
                          shot.begin() + (row * width + 64) * 3);
        }
        icons.push_back(corner);
    }
    for (std::size_t kind = 0; kind < 4; ++kind) {
        EXPECT_GT(Colours(icons[kind]), 10u) << "no icon in box " << kind;
        for (std::size_t other = kind + 1; other < 5; ++other) {
            EXPECT_NE(icons[kind], icons[other]) << "boxes " << kind << " and " << other << " look alike";
        }
    }
}

} // namespace
