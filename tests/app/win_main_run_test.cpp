// Win_Main from creation to the end of the message loop on the headless window system: a
// configuration run saves its settings, a saver run goes full screen and marks the saver as
// running while it runs, a failed creation is reported and ends the program, and a saver
// stopped and continued by its daemon goes on without a jump.
#include "platform/system/saver_flag.h"
#include "program_run.h"

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

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

// Daemons pause a saver with SIGSTOP and let it go on with SIGCONT. The whole program runs in a
// fresh process of this test (a fork alone would inherit the rasterizer's pool without its
// threads) on the real clock at the headless display's 60 Hz, stopped for three seconds after
// its 20th frame; every frame's time step, which is what moves the scene, stays a frame's length.
TEST_F(Win_Main_Run_Test, SaverStoppedForSecondsGoesOnWithoutAJump)
{
    constexpr int Frames = 40;
    constexpr const char* Step_Pipe = "LUCIVANTA_TEST_STEP_PIPE";
    if (const char* fd = std::getenv(Step_Pipe)) {
        const int out = std::atoi(fd);
        Set_Clock_Source(nullptr);
        Exclude_Stopped_Time();
        The_Headless_Backend().Frames_Per_Second = 60;
        EXPECT_EQ(Program_Run_Test::Run("lucivanta /s", Frames,
                                        [&](int) {
                                            const double step = App()->Frame_Timer.elapsed_seconds;
                                            ASSERT_EQ(write(out, &step, sizeof step),
                                                      static_cast<ssize_t>(sizeof step));
                                        }),
                  0);
        return;
    }
    int pipe_ends[2];
    ASSERT_EQ(pipe(pipe_ends), 0);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string filter = std::string("--gtest_filter=") + test->test_suite_name() + "." + test->name();
    std::string pipe_setting = std::string(Step_Pipe) + "=" + std::to_string(pipe_ends[1]);
    std::vector<char*> env{pipe_setting.data()};
    for (char** e = environ; *e != nullptr; ++e)
        env.push_back(*e);
    env.push_back(nullptr);
    char self[] = "/proc/self/exe";
    char* argv[] = {self, filter.data(), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addclose(&actions, pipe_ends[0]);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    ASSERT_EQ(posix_spawn(&child, self, &actions, nullptr, argv, env.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    close(pipe_ends[1]);
    std::vector<double> steps;
    double step = 0;
    while (read(pipe_ends[0], &step, sizeof step) == sizeof step) {
        steps.push_back(step);
        if (steps.size() == 20) {
            kill(child, SIGSTOP);
            std::this_thread::sleep_for(std::chrono::seconds(3));
            kill(child, SIGCONT);
        }
    }
    close(pipe_ends[0]);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    ASSERT_EQ(steps.size(), static_cast<std::size_t>(Frames));
    // A jump would be the three seconds of the stall. A frame of a slow build (the
    // sanitizers') on a busy machine takes well over 0.1 s by itself, several times its
    // neighbours' (0.67 s after 0.26 s has been seen): only half the stall tells the two apart.
    EXPECT_LT(*std::max_element(steps.begin() + 20, steps.end()), 1.5);
}

} // namespace
