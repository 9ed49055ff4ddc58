// The program as a screen-saver daemon's hack on the tests' own X server: `--root` draws into
// the window named by $XSCREENSAVER_WINDOW at that window's size and follows it, a termination
// request ends the run in order at once, the window's end ends the run too, and `--window-id`
// wins over `--root`; without a daemon's window the frames go to the root window, and no
// window of the program's own is shown. A plain window of the test's own stands in for the
// daemon's.
#include "temp_folder.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <memory>
#include <string>
#include <vector>

using namespace desktop_test;
using test_support::Read_File;
using test_support::Temp_Folder;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr double End_Bound_Seconds = 1.0; // an instrumented build's clean-up is slow by itself
#else
constexpr double End_Bound_Seconds = 0.1; // what the daemons allow a hack
#endif

class Hack_Contract : public testing::Test {
protected:
    void SetUp() override
    {
        if (X.Name().empty() || !Have("xdotool") || !Have("import")) {
            GTEST_SKIP() << "no Xvfb, xdotool or ImageMagick";
        }
    }

    // A window not the program's, of the given size.
    Plain_Window& Foreign_Window(int width, int height)
    {
        return *Windows.emplace_back(std::make_unique<Plain_Window>(X, width, height));
    }

    // `lucivanta <arguments>` with $XSCREENSAVER_WINDOW set to `daemon_window`, if not empty.
    std::unique_ptr<Process> Start(const std::string& daemon_window, const std::string& arguments)
    {
        return std::make_unique<Process>(std::vector<std::string>{
            "sh", "-c",
            "DISPLAY=" + X.Name() + (daemon_window.empty() ? "" : " XSCREENSAVER_WINDOW=" + daemon_window) +
                " XDG_DATA_HOME=" + Data.Path().string() + " XDG_RUNTIME_DIR=" + Runtime.Path().string() +
                " LUCIVANTA_TRACE=1 NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM " " +
                arguments + " 2>" + (Data / "stderr.txt")});
    }

    std::vector<uint8_t> Shot_When_Filled(const std::string& window, int& width, int& height)
    {
        return X.Shot_When_Filled(window, Data / "shot.png", width, height);
    }

    std::string Log() const { return Read_File(Data / "Lucivanta/error_log.txt"); }
    std::string Errors() const { return Read_File(Data / "stderr.txt"); }

    // SIGTERM, as the daemons end a hack: exit 0 at once, the clean-up run to its end.
    void Expect_Orderly_End_On_Termination(Process& program, const std::string& run)
    {
        const auto signalled = std::chrono::steady_clock::now();
        kill(program.Id(), SIGTERM);
        const int exit_code = program.Wait(5000);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - signalled).count();
        RecordProperty("end_ms_" + run, std::to_string(seconds * 1000));
        EXPECT_EQ(exit_code, 0) << Errors();
        EXPECT_LT(seconds, End_Bound_Seconds);
        EXPECT_NE(Log().find("Exit  FinalCleanup"), std::string::npos);
    }

    X_Server X;
    std::vector<std::unique_ptr<Plain_Window>> Windows;
    Temp_Folder Data;
    Temp_Folder Runtime;
};

TEST_F(Hack_Contract, RootDrawsIntoTheDaemonsWindowAtItsSizeAndEndsAtOnceOnTermination)
{
    Plain_Window& window = Foreign_Window(320, 240);
    ASSERT_FALSE(window.Id().empty());
    auto program = Start(window.Id(), "--root");
    int width = 0, height = 0;
    std::vector<uint8_t> shot = Shot_When_Filled(window.Id(), width, height);
    ASSERT_FALSE(shot.empty()) << Errors();
    EXPECT_EQ(width, 320);
    // The daemon's window grows; the frames follow it.
    window.Resize(480, 360);
    EXPECT_FALSE(X.Shot_When_Filled(window.Id(), Data / "resized.png", width, height).empty());
    EXPECT_EQ(width, 480);

    Expect_Orderly_End_On_Termination(*program, "root");
    // Never ours: the window outlives the run, at the size the daemon gave it.
    EXPECT_NE(X.Run("xdotool getwindowgeometry " + window.Id() + " 2>/dev/null").find("480x360"),
              std::string::npos);
}

TEST_F(Hack_Contract, WithoutADaemonsWindowRootDrawsIntoTheRootWindowAndShowsNoWindowOfItsOwn)
{
    auto program = Start("", "--root");
    int width = 0, height = 0;
    ASSERT_FALSE(Shot_When_Filled("root", width, height).empty()) << Errors();
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(X.Run("xdotool search --onlyvisible --pid " + std::to_string(program->Id())), "");
    Expect_Orderly_End_On_Termination(*program, "root_window");
}

TEST_F(Hack_Contract, TheDaemonsWindowGoingAwayEndsTheRunInOrderWithinASecond)
{
    Plain_Window& window = Foreign_Window(200, 150);
    ASSERT_FALSE(window.Id().empty());
    auto program = Start(window.Id(), "--root");
    int width = 0, height = 0;
    ASSERT_FALSE(Shot_When_Filled(window.Id(), width, height).empty()) << Errors();
    window.Destroy();
    EXPECT_EQ(program->Wait(1000), 0) << Errors();
    EXPECT_NE(Log().find("Exit  FinalCleanup"), std::string::npos);
}

TEST_F(Hack_Contract, WindowIdWinsOverRoot)
{
    const Plain_Window& daemon = Foreign_Window(200, 150);
    const Plain_Window& preview = Foreign_Window(200, 150);
    ASSERT_FALSE(daemon.Id().empty());
    ASSERT_FALSE(preview.Id().empty());
    auto program = Start(daemon.Id(), "--root --window-id " + preview.Id());
    int width = 0, height = 0;
    ASSERT_FALSE(Shot_When_Filled(preview.Id(), width, height).empty()) << Errors();
    // Its black background alone.
    EXPECT_EQ(Colours(X.Shot(daemon.Id(), Data / "daemon.png", width, height)), 1u);
    Expect_Orderly_End_On_Termination(*program, "window_id");
}

} // namespace
