// The program as a screen-saver daemon's hack on the tests' own X server: `--window-id` wins
// over `--root`, and a termination request ends the run in order at once. Another program's
// window (xmessage) stands in for the daemon's.
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
        if (X.Name().empty() || !Have("xmessage") || !Have("xdotool") || !Have("import")) {
            GTEST_SKIP() << "no Xvfb, xmessage, xdotool or ImageMagick";
        }
    }

    // Another program's window of the given size, and its id.
    std::string Foreign_Window(const char* title, int width, int height)
    {
        Owners.push_back(std::make_unique<Process>(std::vector<std::string>{
            "sh", "-c",
            "DISPLAY=" + X.Name() + " exec xmessage -title " + title + " -geometry " + std::to_string(width) +
                "x" + std::to_string(height) + "+0+0 " + title}));
        std::string id = X.Run("timeout 20 xdotool search --sync --onlyvisible --name " + std::string(title) +
                               " 2>/dev/null | head -n 1");
        while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) {
            id.pop_back();
        }
        return id;
    }

    // `lucivanta <arguments>` with $XSCREENSAVER_WINDOW set to `daemon_window`.
    std::unique_ptr<Process> Start(const std::string& daemon_window, const std::string& arguments)
    {
        return std::make_unique<Process>(std::vector<std::string>{
            "sh", "-c",
            "DISPLAY=" + X.Name() + " XSCREENSAVER_WINDOW=" + daemon_window +
                " XDG_DATA_HOME=" + Data.Path().string() + " XDG_RUNTIME_DIR=" + Runtime.Path().string() +
                " LUCIVANTA_TRACE=1 NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM " " +
                arguments + " 2>" + (Data / "stderr.txt")});
    }

    // The window's picture once it shows more than a few colours, waited for.
    std::vector<uint8_t> Shot_When_Drawn(const std::string& window, int& width, int& height)
    {
        std::vector<uint8_t> shot;
        for (int waited = 0; waited < 30000 && Colours(shot) <= 50; waited += 300) {
            Sleep_Ms(300);
            shot = X.Shot(window, Data / "shot.png", width, height);
        }
        return shot;
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
    std::vector<std::unique_ptr<Process>> Owners;
    Temp_Folder Data;
    Temp_Folder Runtime;
};

TEST_F(Hack_Contract, WindowIdWinsOverRoot)
{
    const std::string daemon = Foreign_Window("daemon", 200, 150);
    const std::string preview = Foreign_Window("preview", 200, 150);
    ASSERT_FALSE(daemon.empty());
    ASSERT_FALSE(preview.empty());
    auto program = Start(daemon, "--root --window-id " + preview);
    int width = 0, height = 0;
    EXPECT_GT(Colours(Shot_When_Drawn(preview, width, height)), 50u) << Errors();
    // xmessage's own text and button alone.
    EXPECT_LT(Colours(X.Shot(daemon, Data / "daemon.png", width, height)), 10u);
    Expect_Orderly_End_On_Termination(*program, "window_id");
}

} // namespace
