// Win_Main's early exits, the log it writes, and the screen-saver-running flag shared between
// two processes.
#include "app/win_main.h"

#include "app/command_line.h"
#include "app/is_saver_running.h"
#include "log/error_log.h"
#include "platform/system/clock.h"
#include "platform/system/command_line.h"
#include "platform/system/display_mode.h"
#include "platform/system/message_box.h"
#include "platform/system/os_version.h"
#include "platform/system/saver_flag.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using test_support::Env_Guard;
using test_support::Read_File;
using test_support::Temp_Folder;

namespace {

DWORD Fake_Platform = VER_PLATFORM_LINUX, Fake_Major = 0;
BOOL Fake_Version(OSVERSIONINFOA* info)
{
    info->dwPlatformId = Fake_Platform;
    info->dwMajorVersion = Fake_Major;
    info->dwMinorVersion = 0;
    return TRUE;
}
BOOL Failing_Version(OSVERSIONINFOA*)
{
    return FALSE;
}

class Win_Main_Test : public ::testing::Test {
protected:
    Win_Main_Test()
    {
        std::filesystem::create_directory(Data.Path() / "Lucivanta");
        Reset_Diagnostics();
        Reset_Command_Line();
        Reset_Settings_File();
        Set_Clock_Source(&Clock);
        Set_Display_Mode_Source(&Display);
    }
    ~Win_Main_Test() override
    {
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        Reset_Diagnostics();
        Reset_Command_Line();
        Reset_Settings_File();
        Set_Clock_Source(nullptr);
        Set_Display_Mode_Source(nullptr);
        Set_Version_Query(nullptr);
        Set_Command_Line("");
    }

    int Run(const char* command_line)
    {
        Set_Command_Line(command_line);
        return Win_Main(nullptr, nullptr, GetCommandLineA(), 1);
    }

    Temp_Folder Data;
    Temp_Folder Runtime;
    Env_Guard Data_Home{"XDG_DATA_HOME", Data.Path().string()};
    Env_Guard Runtime_Dir{"XDG_RUNTIME_DIR", Runtime.Path().string()};
    Manual_Clock Clock;
    Fixed_Display_Mode Display{1920, 1080, 32};
    Message_Box_Recorder Boxes;
    std::string Log_Path = Data / "Lucivanta/error_log.txt";
};

// A child process that sets the flag and lives until killed.
class Other_Saver {
public:
    Other_Saver()
    {
        int ready[2];
        EXPECT_EQ(pipe(ready), 0);
        Pid = fork();
        if (Pid == 0) {
            SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, nullptr, 0);
            (void)!write(ready[1], "x", 1);
            pause();
            _exit(0);
        }
        char byte;
        (void)!read(ready[0], &byte, 1);
        close(ready[0]);
        close(ready[1]);
    }
    ~Other_Saver() { Stop(); }
    void Stop()
    {
        if (Pid > 0) {
            kill(Pid, SIGKILL);
            waitpid(Pid, nullptr, 0);
            Pid = 0;
        }
    }

private:
    pid_t Pid = 0;
};

TEST_F(Win_Main_Test, ConfigurationRunWritesTheLogAndLoadsDefaults)
{
    // The product folder holds no pictures here, so the run ends at creation (the whole run
    // is shown in win_main_run_test.cpp); the log's header comes first.
    EXPECT_EQ(Run("lucivanta /c"), 0);
    const std::string header = "\r\n\r\n9:5:3, Sunday December 6, 2026\r\nError Log File\r\n"
                               "\r\n** Operating System: UNKNOWN **\r\n"
                               "\r\n** Display (w,h,bpp) == (1920, 1080, 32) **\r\n";
    EXPECT_EQ(Read_File(Log_Path).substr(0, header.size()), header);
    EXPECT_EQ(Live_Settings().Plasma_Contrast, 4);
    EXPECT_FALSE(std::filesystem::exists(Data / "Lucivanta/Settings.DAT"));
}

TEST_F(Win_Main_Test, TraceOnWritesTheCreationEnterLine)
{
    Set_Trace_Enabled(true);
    EXPECT_EQ(Run("lucivanta"), 0);
    EXPECT_NE(Read_File(Log_Path).find("\r\nEnter Create_Lucivanta"), std::string::npos);
}

TEST_F(Win_Main_Test, WithoutTheProductFolderTheLogFailureIsShown)
{
    std::filesystem::remove_all(Data / "Lucivanta");
    EXPECT_EQ(Run("lucivanta /c"), 0);
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Save_Error_Log_To_File() CreateFile FILE FAILED");
}

TEST_F(Win_Main_Test, SaverModeLeavesAtOnceWhenAnotherSaverRuns)
{
    Other_Saver other;
    EXPECT_TRUE(Saver_Flag_Is_Set());
    EXPECT_EQ(Run("lucivanta /s"), 0);
    EXPECT_FALSE(std::filesystem::exists(Log_Path));
    EXPECT_FALSE(std::filesystem::exists(Data / "Lucivanta/Settings.DAT"));
    // The check put the other saver's flag back untouched.
    EXPECT_TRUE(Saver_Flag_Is_Set());
    other.Stop();
    EXPECT_FALSE(Saver_Flag_Is_Set()); // its pid is gone: the flag counts as not set
    EXPECT_EQ(Run("lucivanta /s"), 0);
    EXPECT_TRUE(std::filesystem::exists(Log_Path));
}

TEST_F(Win_Main_Test, FlagSetReturnsPreviousStateAndClearsOnlyItsOwn)
{
    uint32_t previous = 7;
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0));
    EXPECT_EQ(previous, 0u);
    EXPECT_TRUE(IsSaverRunning());
    EXPECT_TRUE(IsSaverRunning()); // asking does not clear it
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0));
    EXPECT_EQ(previous, 1u);
    EXPECT_FALSE(IsSaverRunning());
    EXPECT_FALSE(SystemParametersInfoA(12345, TRUE, &previous, 0));

    Other_Saver other;
    EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, &previous, 0));
    EXPECT_EQ(previous, 1u);
    EXPECT_TRUE(Saver_Flag_Is_Set());
}

TEST_F(Win_Main_Test, FlagsLeftBehindCountAsNotSet)
{
    const std::string ours = std::to_string(getpid());
    for (const std::string& content :
         {ours + " 1\n", std::string("2147483000 0\n"), std::string("garbage")}) {
        test_support::Write_File(Saver_Flag_Path(), content);
        EXPECT_FALSE(Saver_Flag_Is_Set()) << content;
        uint32_t previous = 7;
        EXPECT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0));
        EXPECT_EQ(previous, 0u);
        EXPECT_TRUE(Saver_Flag_Is_Set());
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        EXPECT_FALSE(std::filesystem::exists(Saver_Flag_Path()));
    }
}

TEST_F(Win_Main_Test, UnsupportedSystemsAreRefusedWithABox)
{
    Set_Version_Query(Fake_Version);
    Fake_Platform = VER_PLATFORM_WIN32_NT, Fake_Major = 4;
    EXPECT_EQ(Run("lucivanta /c"), 0);
    Fake_Platform = VER_PLATFORM_WIN32s;
    EXPECT_EQ(Run("lucivanta /c"), 0);
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Main-WinMain(): Lucivanta requires Windows 95/98 or 2000 to run");
    EXPECT_EQ(Boxes.Boxes[0].Caption, "Error");
    EXPECT_EQ(Boxes.Boxes[0].Type, MB_ICONERROR);
    EXPECT_FALSE(std::filesystem::exists(Log_Path));
}

TEST_F(Win_Main_Test, PreviewOnWindows2000ExitsSilently)
{
    Set_Version_Query(Fake_Version);
    Fake_Platform = VER_PLATFORM_WIN32_NT, Fake_Major = 5;
    EXPECT_EQ(Run("lucivanta /p 1234"), 0);
    EXPECT_TRUE(Boxes.Boxes.empty());
    EXPECT_FALSE(std::filesystem::exists(Log_Path));
    EXPECT_EQ(Run("lucivanta /c"), 0);
    EXPECT_NE(Read_File(Log_Path).find("Windows 2000"), std::string::npos);
}

TEST_F(Win_Main_Test, FailingVersionQueryIsReported)
{
    Set_Version_Query(Failing_Version);
    EXPECT_FALSE(IsSaverRunning());
    ASSERT_EQ(Boxes.Boxes.size(), 2u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Determine_Operating_System(): GetVersionEx FAILED");
    EXPECT_EQ(Boxes.Boxes[1].Text, "IsSaverRunning(): Determine Operating System FAILED");
}

TEST_F(Win_Main_Test, OnNtTheForegroundWindowDecides)
{
    Set_Version_Query(Fake_Version);
    Fake_Platform = VER_PLATFORM_WIN32_NT, Fake_Major = 4;
    Headless_Backend& display = The_Headless_Backend();
    display.Screen = SIZE{800, 600};
    EXPECT_TRUE(IsSaverRunning()); // no foreground window
    struct Case {
        DWORD Style;
        LONG Height;
        bool Running;
    } cases[] = {
        {0x90000000u, 600, true},
        {0x90CF0000u, 600, true}, // the low bits do not matter
        {0xD0000000u, 600, false},
        {0x90000000u, 599, false},
    };
    HWND other = reinterpret_cast<HWND>(0x7001);
    for (const Case& c : cases) {
        Install_Window_System(nullptr); // forgets the adopted window
        The_Headless_Backend().Screen = SIZE{800, 600};
        The_Headless_Backend().Foreign_Windows[other] = Foreign_Window{c.Style, RECT{0, 0, 800, c.Height}};
        The_Headless_Backend().Foreground = other;
        EXPECT_EQ(IsSaverRunning(), c.Running) << std::hex << c.Style;
    }
    Install_Window_System(nullptr);
}

} // namespace
