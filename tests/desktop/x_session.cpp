// Child processes, the tests' own X server and screenshots through ImageMagick's import.
#include "x_session.h"

#include "png_read.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include <X11/Xlib.h>

namespace desktop_test {

bool Have(const char* tool)
{
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

std::string Output_Of(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr)
            out += buffer;
        pclose(pipe);
    }
    return out;
}

void Sleep_Ms(int milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

Process::Process(const std::vector<std::string>& argv)
{
    Pid = fork();
    if (Pid == 0) {
        std::vector<char*> args;
        for (const std::string& arg : argv)
            args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        execvp(args[0], args.data());
        _exit(127);
    }
}

Process::~Process()
{
    if (Pid > 0) {
        kill(Pid, SIGKILL);
        waitpid(Pid, nullptr, 0);
    }
}

int Process::Wait(int milliseconds)
{
    for (int waited = 0; Pid > 0 && waited <= milliseconds; waited += 5) {
        int status = 0;
        if (waitpid(Pid, &status, WNOHANG) == Pid) {
            Pid = 0;
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        Sleep_Ms(5);
    }
    return -1;
}

X_Server::X_Server(const char* screen)
{
    if (!Have("Xvfb"))
        return;
    int ready[2];
    if (pipe(ready) != 0)
        return;
    Server = std::make_unique<Process>(std::vector<std::string>{"Xvfb", "-displayfd",
                                                                std::to_string(ready[1]), "-noreset",
                                                                "-nolisten", "tcp", "-screen", "0", screen});
    close(ready[1]);
    char number[16] = {};
    const ssize_t got = read(ready[0], number, sizeof number - 1);
    close(ready[0]);
    if (got > 0)
        Display_Name = ":" + std::string(number, number + std::strcspn(number, "\n"));
}

std::string X_Server::Run(const std::string& command) const
{
    return Output_Of("DISPLAY=" + Display_Name + " " + command);
}

std::string X_Server::Window(const std::string& search, int seconds) const
{
    std::string id = Run("timeout " + std::to_string(seconds) + " xdotool search --sync --onlyvisible " +
                         search + " 2>/dev/null | head -n 1");
    while (!id.empty() && (id.back() == '\n' || id.back() == ' ')) {
        id.pop_back();
    }
    return id;
}

std::vector<uint8_t> X_Server::Shot(const std::string& window, const std::string& path, int& width,
                                    int& height) const
{
    Run("import -window " + window + " " + path + " 2>/dev/null");
    return test_support::Read_Png_Rgb(path, width, height);
}

// The picture's bottom-right quarter.
static std::vector<uint8_t> Far_Corner(const std::vector<uint8_t>& shot, int width, int height)
{
    std::vector<uint8_t> corner;
    if (shot.size() < static_cast<std::size_t>(width) * height * 3)
        return corner;
    for (int y = height / 2; y < height; ++y) {
        const auto row = shot.begin() + (static_cast<long>(y) * width + width / 2) * 3;
        corner.insert(corner.end(), row, row + (width - width / 2) * 3);
    }
    return corner;
}

std::vector<uint8_t> X_Server::Shot_When_Filled(const std::string& window, const std::string& path,
                                                int& width, int& height) const
{
    for (int waited = 0; waited < 30000; waited += 300) {
        std::vector<uint8_t> shot = Shot(window, path, width, height);
        if (Colours(shot) > 50 && Colours(Far_Corner(shot, width, height)) > 30)
            return shot;
        Sleep_Ms(300);
    }
    return {};
}

Plain_Window::Plain_Window(const X_Server& server, int width, int height)
{
    Display* display = XOpenDisplay(server.Name().c_str());
    if (display == nullptr)
        return;
    Connection = display;
    // Some tests kill the server under the window: its connection then breaks without ending
    // the test (Xlib's defaults end the process).
    XSetIOErrorHandler([](Display*) { return 0; });
    XSetIOErrorExitHandler(
        display, [](Display*, void*) {}, nullptr);
    const int screen = DefaultScreen(display);
    Handle = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                                 static_cast<unsigned>(height), 0, 0, BlackPixel(display, screen));
    XMapWindow(display, Handle);
    XSync(display, False);
    char id[32];
    std::snprintf(id, sizeof id, "0x%lx", Handle);
    Hex_Id = id;
}

Plain_Window::~Plain_Window()
{
    if (Connection != nullptr)
        XCloseDisplay(static_cast<Display*>(Connection));
}

void Plain_Window::Resize(int width, int height)
{
    if (Connection == nullptr)
        return;
    XResizeWindow(static_cast<Display*>(Connection), Handle, static_cast<unsigned>(width),
                  static_cast<unsigned>(height));
    XSync(static_cast<Display*>(Connection), False);
}

void Plain_Window::Destroy()
{
    if (Connection == nullptr)
        return;
    XDestroyWindow(static_cast<Display*>(Connection), Handle);
    XSync(static_cast<Display*>(Connection), False);
}

std::size_t Colours(const std::vector<uint8_t>& rgb)
{
    std::set<uint32_t> seen;
    for (std::size_t i = 0; i + 2 < rgb.size(); i += 3)
        seen.insert((rgb[i] << 16) | (rgb[i + 1] << 8) | rgb[i + 2]);
    return seen.size();
}

} // namespace desktop_test
