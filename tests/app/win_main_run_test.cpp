// Win_Main from creation to the end of the message loop on the headless window system: a
// configuration run saves its settings, a saver run goes full screen and marks the saver as
// running while it runs, and a failed creation is reported and ends the program.
#include "app/command_line.h"
#include "app/d3dapp.h"
#include "app/scene.h"
#include "app/win_main.h"
#include "d3dframe/d3dtextr.h"
#include "effects/gradient.h"
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "effects/titles.h"
#include "geometry/kaleidoscope.h"
#include "geometry/wall.h"
#include "log/error_log.h"
#include "media/mp3.h"
#include "platform/audio/null_playback.h"
#include "platform/system/clock.h"
#include "platform/system/command_line.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/system/saver_flag.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "program_objects.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using test_support::Env_Guard;
using test_support::Read_File;
using test_support::Temp_Folder;

namespace {

class Win_Main_Run_Test : public ::testing::Test {
protected:
    Win_Main_Run_Test()
    {
        fs::copy(LUCIVANTA_BUILD_DATA_DIR, Data.Path() / "Lucivanta", fs::copy_options::recursive);
        fs::create_directory(Data.Path() / "Lucivanta/MP3");
        Select_Playback_Backend(Null_Playback_Factory(Tracks));
        Install_Window_System(nullptr);
        Reset_Frame_State();
        D3DEnum_Reset();
        Reset_Scene_State();
        Reset_Diagnostics();
        Reset_Command_Line();
        Reset_Settings_File();
        Reset_Program_Objects();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Desktop);
        Set_Scene_Seed_Source([] { return 11u; });
    }
    ~Win_Main_Run_Test() override
    {
        Set_Scene_Seed_Source(nullptr);
        Select_Playback_Backend(nullptr);
        Set_Clock_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Install_Window_System(nullptr);
        Reset_Command_Line();
        Reset_Settings_File();
        Reset_Diagnostics();
        Set_Command_Line("");
    }
    // Runs the program for a few frames; while it runs, `during` looks at it.
    int Run(const char* command_line, int frames, std::function<void()> during = nullptr)
    {
        int polls = 0;
        The_Headless_Backend().On_Idle_Poll = [&, frames] {
            Clock.Advance_Milliseconds(20);
            if (++polls == frames) {
                if (during)
                    during();
                for (HWND window : Top_Level_Windows())
                    PostMessageA(window, WM_CLOSE, 0, 0);
            }
        };
        Set_Command_Line(command_line);
        return Win_Main(nullptr, nullptr, GetCommandLineA(), 1);
    }
    std::vector<HWND> Top_Level_Windows()
    {
        std::vector<HWND> windows;
        Program_Frame_State().Message_Receiver
            ? windows.push_back(Program_Frame_State().Message_Receiver->Window)
            : void();
        return windows;
    }
    bool Saver_Flag_Set()
    {
        uint32_t previous = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0);
        if (!previous)
            SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        return previous != 0;
    }

    Temp_Folder Data;
    Temp_Folder Runtime;
    Env_Guard Data_Home{"XDG_DATA_HOME", Data.Path().string()};
    Env_Guard Runtime_Dir{"XDG_RUNTIME_DIR", Runtime.Path().string()};
    Manual_Clock Clock;
    std::shared_ptr<Virtual_Tracks> Tracks = std::make_shared<Virtual_Tracks>();
    Fixed_Display_Mode Desktop{800, 600, 32};
    Message_Box_Recorder Boxes;
    std::string Log_Path = Data / "Lucivanta/error_log.txt";
};

TEST_F(Win_Main_Run_Test, ConfigurationRunDrawsAndSavesItsSettingsAtTheEnd)
{
    EXPECT_EQ(Run("lucivanta /c", 5), 0);
    EXPECT_TRUE(fs::exists(Data / "Lucivanta/Settings.DAT"));
    EXPECT_FALSE(Program_Error_Log().Is_Open());
    EXPECT_TRUE(Boxes.Boxes.empty());
    const std::string log = Read_File(Log_Path);
    EXPECT_EQ(log.find("Main-"), std::string::npos) << log;
    EXPECT_EQ(log.find("Win_Main"), std::string::npos) << log;
}

TEST_F(Win_Main_Run_Test, SaverRunGoesFullScreenAndHoldsTheSaverFlagWhileItRuns)
{
    bool flag_during = false;
    DWORD style_during = 0;
    EXPECT_EQ(Run("lucivanta /s", 5,
                  [&] {
                      flag_during = Saver_Flag_Set();
                      style_during = static_cast<DWORD>(
                          GetWindowLongA(Program_Frame_State().Message_Receiver->Window, GWL_STYLE));
                  }),
              0);
    EXPECT_TRUE(flag_during);
    EXPECT_EQ(style_during, WS_POPUP | WS_SYSMENU | WS_VISIBLE);
    EXPECT_FALSE(Saver_Flag_Set());
    EXPECT_FALSE(fs::exists(Data / "Lucivanta/Settings.DAT")); // only a configuration run saves
}

TEST_F(Win_Main_Run_Test, FailedCreationIsReportedAndEndsTheProgram)
{
    fs::remove(Data / "Lucivanta/Lucivanta.bmp");
    EXPECT_EQ(Run("lucivanta /c", 5), 0);
    const std::string log = Read_File(Log_Path);
    EXPECT_NE(log.find("Main-OneTimeSceneInit(): D3DTextr_CreateTextureFromFile"), std::string::npos) << log;
    EXPECT_NE(log.find("CD3DApplication::Create(): OneTimeSceneInit() FAILED"), std::string::npos);
    EXPECT_NE(log.find("Win_Main(): d3dApp.Create() FAILED"), std::string::npos);
    EXPECT_FALSE(Saver_Flag_Set());
}

} // namespace
