// A real screen-saver daemon runs the program as its only hack: xscreensaver on the tests' own
// X server, configured through a ~/.xscreensaver in a home of the test's own, blanks the screen
// on `xscreensaver-command -activate` and ends the hack on `-deactivate`. xscreensaver refuses
// to launch hacks as root, so a test run by root runs the daemon as nobody, with a copy of the
// program and its data where nobody can reach them. Skipped where xscreensaver is missing.
#include "temp_folder.h"
#include "x_session.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace desktop_test;
using test_support::Read_File;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

namespace fs = std::filesystem;

// The process whose program is `program`, waited for; 0 when none appears.
pid_t Process_Running(const fs::path& program, int milliseconds)
{
    for (int waited = 0; waited < milliseconds; waited += 50) {
        for (const fs::directory_entry& entry : fs::directory_iterator("/proc")) {
            std::error_code error;
            if (fs::read_symlink(entry.path() / "exe", error) == program)
                return static_cast<pid_t>(std::atoi(entry.path().filename().c_str()));
        }
        Sleep_Ms(50);
    }
    return 0;
}

struct Ending {
    bool Ended = false;
    int Status = -1; // the wait status when the hack came to us (see below), else -1
};

// Waits for a process that is not ours to end. The test is a subreaper, so a hack whose daemon
// went first becomes its child and is waited for here, status and all.
Ending Wait_For_End(pid_t pid, int milliseconds)
{
    Ending ending;
    for (int waited = 0; waited <= milliseconds; waited += 5) {
        int status = 0;
        const pid_t got = waitpid(pid, &status, WNOHANG);
        if (got == pid) {
            ending = {true, status};
            return ending;
        }
        // Not our child: gone, or a zombie its parent has yet to collect.
        const std::string stat = Read_File("/proc/" + std::to_string(pid) + "/stat");
        const std::size_t state = stat.rfind(") ");
        if (got < 0 && errno == ECHILD &&
            (stat.empty() || (state != std::string::npos && stat[state + 2] == 'Z'))) {
            ending.Ended = true;
            return ending;
        }
        Sleep_Ms(5);
    }
    return ending;
}

TEST(Xscreensaver, RunsTheProgramAsItsOnlyHackAndEndsItInOrder)
{
    const bool as_root = getuid() == 0;
    if (!Have("xscreensaver") || !Have("xscreensaver-command") || !Have("import") ||
        (as_root && !Have("setpriv"))) {
        GTEST_SKIP() << "no xscreensaver, ImageMagick or setpriv";
    }
    X_Server x;
    if (x.Name().empty()) {
        GTEST_SKIP() << "no Xvfb";
    }
    ASSERT_EQ(prctl(PR_SET_CHILD_SUBREAPER, 1), 0);

    Temp_Folder folder;
    const fs::path root = folder.Path();
    const fs::path program = root / "bin/lucivanta";
    fs::create_directories(root / "bin");
    fs::create_directories(root / "share");
    fs::copy_file(LUCIVANTA_PROGRAM, program);
    fs::copy(LUCIVANTA_BUILD_DATA_DIR, root / "share/lucivanta", fs::copy_options::recursive);
    for (const char* name : {"home", "data", "run"})
        fs::create_directory(root / name);
    fs::permissions(root, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(root / "run", fs::perms::owner_all);
    Write_File(root / "home/.xscreensaver", "timeout: 0:30:00\nlock: False\nfade: False\nunfade: False\n"
                                            "splash: False\nmode: one\nselected: 0\nprograms: " +
                                                program.string() + " --root\n");
    if (as_root) {
        ASSERT_EQ(std::system(("chown -R nobody: " + root.string()).c_str()), 0);
    }

    const std::string log = (root / "daemon.txt").string();
    const std::string environment = "HOME=" + (root / "home").string() + " DISPLAY=" + x.Name() +
                                    " XDG_DATA_HOME=" + (root / "data").string() +
                                    " XDG_RUNTIME_DIR=" + (root / "run").string() +
                                    " LUCIVANTA_TRACE=1 NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory";
    Process daemon({"sh", "-c",
                    "cd " + (root / "home").string() + " && exec env " + environment +
                        (as_root ? " setpriv --reuid=nobody --regid=nogroup --clear-groups" : "") +
                        " xscreensaver -no-splash -verbose >" + log + " 2>&1"});
    const auto command = [&](const char* what) {
        return std::system(
            ("DISPLAY=" + x.Name() + " xscreensaver-command " + what + " >/dev/null 2>&1").c_str());
    };
    for (int tries = 0; tries < 100 && command("-time") != 0; ++tries)
        Sleep_Ms(100);
    ASSERT_EQ(command("-activate"), 0) << Read_File(log);
    const pid_t hack = Process_Running(program, 20000);
    ASSERT_NE(hack, 0) << Read_File(log);
    // Whatever the test's outcome, the daemon and its hack end with it.
    const std::unique_ptr<void, std::function<void(void*)>> end_all(&daemon, [&](void*) {
        command("-exit");
        kill(hack, SIGKILL);
        waitpid(hack, nullptr, WNOHANG);
    });

    // The daemon's window covers the screen; the frames fill all of it and move.
    int width = 0, height = 0;
    const std::string shot_path = (fs::current_path() / "xscreensaver_shot.png").string();
    const std::vector<uint8_t> shot = x.Shot_When_Filled("root", shot_path, width, height);
    ::testing::Test::RecordProperty("screenshot", shot_path);
    ASSERT_FALSE(shot.empty()) << "the screen shows no picture filling it: " << Read_File(log);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    Sleep_Ms(500);
    EXPECT_TRUE(x.Shot("root", (root / "later.png").string(), width, height) != shot)
        << "the picture does not move";

    const auto asked = std::chrono::steady_clock::now();
    ASSERT_EQ(command("-deactivate"), 0);
    const Ending ending = Wait_For_End(hack, 1000);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - asked).count();
    ::testing::Test::RecordProperty("end_ms", std::to_string(seconds * 1000));
    EXPECT_TRUE(ending.Ended) << "still running a second after -deactivate";
    if (ending.Status != -1) {
        EXPECT_TRUE(WIFEXITED(ending.Status) && WEXITSTATUS(ending.Status) == 0) << ending.Status;
    }
    EXPECT_FALSE(fs::exists(root / "home/core"));
    const std::string trace = Read_File((root / "data/Lucivanta/error_log.txt").string());
    EXPECT_NE(trace.find("Exit  FinalCleanup"), std::string::npos) << "the log was not closed in order";
    EXPECT_TRUE(fs::is_empty(root / "run")) << "the saver flag is left behind";
}

} // namespace
