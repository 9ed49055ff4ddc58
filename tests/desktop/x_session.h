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

// An X server of 1024 × 768 × 24; Name() is empty when it could not start.
class X_Server {
public:
    X_Server();
    const std::string& Name() const { return Display_Name; }
    // A shell command's output with DISPLAY set to this server.
    std::string Run(const std::string& command) const;
    // A window's (or "root"'s) picture as RGB triples, also kept at `path`.
    std::vector<uint8_t> Shot(const std::string& window, const std::string& path, int& width,
                              int& height) const;

private:
    std::unique_ptr<Process> Server;
    std::string Display_Name;
};

// How many distinct colours a picture has: a black, blank or garbled-to-one-colour window has
// one or two, a kaleidoscope hundreds.
std::size_t Colours(const std::vector<uint8_t>& rgb);

} // namespace desktop_test
