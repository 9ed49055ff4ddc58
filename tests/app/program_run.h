// A whole program run on the headless window system: Win_Main from creation to the end of its
// message loop, in a product folder of its own filled with the default data, on the software
// device with a manual clock, null playback and a fixed seed. A script sees every idle turn of
// the frame loop and acts as the user.
#pragma once

#include "app/command_line.h"
#include "app/d3dapp.h"
#include "app/scene.h"
#include "app/win_main.h"
#include "d3dframe/d3denum.h"
#include "log/error_log.h"
#include "platform/audio/null_playback.h"
#include "platform/system/clock.h"
#include "platform/system/command_line.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "program_objects.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class Program_Run_Test : public ::testing::Test {
protected:
    Program_Run_Test()
    {
        namespace fs = std::filesystem;
        fs::copy(LUCIVANTA_BUILD_DATA_DIR, Data.Path() / "Lucivanta", fs::copy_options::recursive);
        fs::create_directory(Data.Path() / "Lucivanta/MP3");
        Select_Playback_Backend(Null_Playback_Factory(Tracks));
        Reset_Program_State();
        Reset_Settings_File();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Desktop);
        Set_Scene_Seed_Source([] { return 11u; });
    }
    ~Program_Run_Test() override
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
    // Runs the program until its window is closed after `frames` idle turns (or until it ends
    // by itself); `each` is called at every turn with its number, from 1.
    int Run(const char* command_line, int frames, std::function<void(int turn)> each = nullptr)
    {
        Turns = 0;
        The_Headless_Backend().On_Idle_Poll = [this, frames, each] {
            Clock.Advance_Milliseconds(20);
            ++Turns;
            if (each)
                each(Turns);
            if (Turns == frames && App() != nullptr)
                PostMessageA(App()->Window, WM_CLOSE, 0, 0);
        };
        Set_Command_Line(command_line);
        return Win_Main(nullptr, nullptr, GetCommandLineA(), 1);
    }
    // The running program's scene.
    Scene* App() { return dynamic_cast<Scene*>(Program_Frame_State().Message_Receiver); }
    std::string Log() const { return test_support::Read_File(Log_Path); }

    test_support::Temp_Folder Data;
    test_support::Temp_Folder Runtime;
    test_support::Env_Guard Data_Home{"XDG_DATA_HOME", Data.Path().string()};
    test_support::Env_Guard Runtime_Dir{"XDG_RUNTIME_DIR", Runtime.Path().string()};
    Manual_Clock Clock;
    std::shared_ptr<Virtual_Tracks> Tracks = std::make_shared<Virtual_Tracks>();
    Fixed_Display_Mode Desktop{800, 600, 32};
    Message_Box_Recorder Boxes;
    std::string Log_Path = Data / "Lucivanta/error_log.txt";
    int Turns = 0;
};
