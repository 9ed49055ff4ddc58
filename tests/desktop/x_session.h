// What the desktop tests share: child processes that are killed when a test ends, an Xvfb
// server of the tests' own (-displayfd, so parallel runs never collide; -noreset, so it
// outlives its clients), commands run against it, and screenshots read back.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

namespace desktop_test {

// Whether a tool is on the PATH.
bool Have(const char* tool);
// The standard output of a shell command.
std::string Output_Of(const std::string& command);
void Sleep_Ms(int milliseconds);

// A child process; killed when still running at the end.
class Process {
public:
    explicit Process(const std::vector<std::string>& argv);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;
    pid_t Id() const { return Pid; }
    // The exit code once it ended within the time (128 + the signal when one ended it), else -1.
    int Wait(int milliseconds);

private:
    pid_t Pid = 0;
};

// An X server with one screen (width x height x depth); Name() is empty when it could not start.
class X_Server {
public:
    explicit X_Server(const char* screen = "1024x768x24");
    const std::string& Name() const { return Display_Name; }
    // The server dies at once, as a crashed or killed one does: its clients' connections break.
    void Kill() { Server.reset(); }
    // A shell command's output with DISPLAY set to this server.
    std::string Run(const std::string& command) const;
    // The first visible window xdotool's `search` finds (e.g. "--pid 42"), waited for up to
    // `seconds`; empty when none came.
    std::string Window(const std::string& search, int seconds = 10) const;
    // A window's (or "root"'s) picture as RGB triples, also kept at `path`.
    std::vector<uint8_t> Shot(const std::string& window, const std::string& path, int& width,
                              int& height) const;
    // The picture once frames fill the window — many colours, in its bottom-right quarter too,
    // so neither a half-drawn window nor the fade from black passes — waited for up to 30 s; empty
    // when that never came.
    std::vector<uint8_t> Shot_When_Filled(const std::string& window, const std::string& path, int& width,
                                          int& height) const;

private:
    std::unique_ptr<Process> Server;
    std::string Display_Name;
};

// A plain window of the test's own, childless and never covered, standing in for a screen-saver
// daemon's or a settings dialog's: what another program draws into it is all a screenshot shows.
// Lives as long as the object (or until Destroy).
class Plain_Window {
public:
    Plain_Window(const X_Server& server, int width, int height);
    ~Plain_Window();
    Plain_Window(const Plain_Window&) = delete;
    Plain_Window& operator=(const Plain_Window&) = delete;
    // The id as the daemons pass it (hexadecimal), empty when the window could not be made.
    const std::string& Id() const { return Hex_Id; }
    void Resize(int width, int height);
    void Destroy();

private:
    void* Connection = nullptr;
    unsigned long Handle = 0;
    std::string Hex_Id;
};

// How many distinct colours a picture has: a black, blank or garbled-to-one-colour window has
// one or two, a kaleidoscope hundreds.
std::size_t Colours(const std::vector<uint8_t>& rgb);

} // namespace desktop_test
