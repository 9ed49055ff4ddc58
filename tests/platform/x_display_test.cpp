// The X display's current mode, read from a private Xvfb server (skipped where there is none).
#include "platform/system/display_mode.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// Starts Xvfb with the given screen and waits until it tells its display number.
class Private_X_Server {
public:
    explicit Private_X_Server(const char* screen)
    {
        int fds[2];
        if (access("/usr/bin/Xvfb", X_OK) != 0 || pipe(fds) != 0)
            return;
        Pid = fork();
        if (Pid == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execl("/usr/bin/Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen, "-nolisten",
                  "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // The server writes the number and then a newline; the pipe stays open until it is
        // stopped, or its second write would fail and end it.
        Ready_Pipe = fds[0];
        std::string number;
        char c = 0;
        while (read(Ready_Pipe, &c, 1) == 1 && c != '\n')
            number += c;
        if (c == '\n' && !number.empty())
            Display = ":" + number;
    }
    ~Private_X_Server()
    {
        if (Pid > 0) {
            kill(Pid, SIGTERM);
            waitpid(Pid, nullptr, 0);
        }
        if (Ready_Pipe >= 0)
            close(Ready_Pipe);
    }

    std::string Display;

private:
    pid_t Pid = 0;
    int Ready_Pipe = -1;
};

TEST(X_Display, DepthTwentyFourReportsThirtyTwoBitsPerPixel)
{
    Private_X_Server server("800x600x24");
    if (server.Display.empty())
        GTEST_SKIP() << "no Xvfb";
    test_support::Env_Guard display("DISPLAY", server.Display);
    Display_Mode mode;
    ASSERT_TRUE(X_Display_Current_Mode(mode));
    EXPECT_EQ(mode.Width, 800);
    EXPECT_EQ(mode.Height, 600);
    EXPECT_EQ(mode.Bits_Per_Pixel, 32);
}

TEST(X_Display, DepthSixteenReportsSixteen)
{
    Private_X_Server server("640x480x16");
    if (server.Display.empty())
        GTEST_SKIP() << "no Xvfb";
    test_support::Env_Guard display("DISPLAY", server.Display);
    Display_Mode mode;
    ASSERT_TRUE(X_Display_Current_Mode(mode));
    EXPECT_EQ(mode.Bits_Per_Pixel, 16);
}

} // namespace
