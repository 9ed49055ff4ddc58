// Win_Main from creation to the end of the message loop on the headless window system: a
// configuration run saves its settings, a saver run goes full screen and marks the saver as
// running while it runs, and a failed creation is reported and ends the program.
#include "platform/system/saver_flag.h"
#include "program_run.h"

#include <filesystem>

namespace fs = std::filesystem;
using test_support::Read_File;

namespace {

class Win_Main_Run_Test : public Program_Run_Test {
protected:
    // Runs the program for a few frames; at the last one `during` looks at it.
    int Run(const char* command_line, int frames, std::function<void()> during = nullptr)
    {
        return Program_Run_Test::Run(command_line, frames, [frames, during](int turn) {
            if (turn == frames && during)
                during();
        });
    }
    bool Saver_Flag_Set()
    {
        uint32_t previous = 0;
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &previous, 0);
        if (!previous)
            SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, FALSE, nullptr, 0);
        return previous != 0;
    }
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
