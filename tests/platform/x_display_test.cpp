// The X display's current mode, read from a private Xvfb server (skipped where there is none).
#include "platform/system/display_mode.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <csignal>
#include <optional>
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

// The mode of a fresh server with this screen, or nothing when no server could be started.
std::optional<Display_Mode> Mode_Of_Screen(const char* screen)
{
    Private_X_Server server(screen);
    if (server.Display.empty())
        return std::nullopt;
    test_support::Env_Guard display("DISPLAY", server.Display);
    Display_Mode mode;
    EXPECT_TRUE(X_Display_Current_Mode(mode));
    return mode;
}

TEST(X_Display, StoredBitsPerPixelOfTheScreenDepth)
{
    const std::optional<Display_Mode> deep = Mode_Of_Screen("800x600x24");
    if (!deep)
        GTEST_SKIP() << "no Xvfb";
    EXPECT_EQ(deep->Width, 800);
    EXPECT_EQ(deep->Height, 600);
    EXPECT_EQ(deep->Bits_Per_Pixel, 32); // depth 24 is stored in 32 bits
    const std::optional<Display_Mode> shallow = Mode_Of_Screen("640x480x16");
    ASSERT_TRUE(shallow);
    EXPECT_EQ(shallow->Bits_Per_Pixel, 16);
}

} // namespace
