// How many frames a second the configuration window shows: the program's window at a 640 x 480
// client area for 10 s on an Xvfb of the test's own, each frame counted as the X server sees it
// (one damage report per drawing the window or its inferiors receive), and the process's
// processor time over the same seconds. Both are recorded, not judged: a shared or loaded
// machine paces slower; only a window that shows no frames at all fails.
#include "temp_folder.h"
#include "x_session.h"

#include <chrono>
#include <cstdio>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <unistd.h>
// Last: Xlib's macros (None, Bool) would break the headers above.
#include <X11/Xlib.h>
#include <X11/extensions/Xdamage.h>

using namespace desktop_test;

namespace {

// utime + stime of a process, in seconds.
double Cpu_Seconds(pid_t pid)
{
    const std::string stat = test_support::Read_File("/proc/" + std::to_string(pid) + "/stat");
    std::istringstream fields(stat.substr(stat.rfind(") ") + 2));
    std::string field;
    double ticks = 0;
    for (int index = 3; fields >> field && index <= 15; ++index) {
        if (index >= 14) {
            ticks += std::stod(field);
        }
    }
    return ticks / static_cast<double>(sysconf(_SC_CLK_TCK));
}

// The height of what the window holds above its client area (the menu bar): the window's height
// less its largest child's.
int Menu_Height(Display* display, Window window)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XWindowAttributes top{}, child{};
    XGetWindowAttributes(display, window, &top);
    int largest = 0, client_height = top.height;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            if (XGetWindowAttributes(display, children[i], &child) != 0 &&
                child.width * child.height > largest) {
                largest = child.width * child.height;
                client_height = child.height;
            }
        }
        XFree(children);
    }
    return top.height - client_height;
}

// Frames the window receives during `seconds`.
int Frames_Counted(Display* display, Window window, double seconds)
{
    int event_base = 0, error_base = 0;
    if (XDamageQueryExtension(display, &event_base, &error_base) == 0) {
        return -1;
    }
    const Damage damage = XDamageCreate(display, window, XDamageReportRawRectangles);
    XSync(display, False);
    int frames = 0;
    const auto start = std::chrono::steady_clock::now();
    while (std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() < seconds) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            // A drawing damaging several rectangles reports each; the last has `more` clear.
            if (event.type == event_base + XDamageNotify &&
                !reinterpret_cast<XDamageNotifyEvent*>(&event)->more) {
                ++frames;
            }
        }
        Sleep_Ms(1);
    }
    XDamageDestroy(display, damage);
    return frames;
}

TEST(Pacing, TenSecondsOfTheConfigurationWindowAt640x480AreCountedAndReported)
{
    if (!Have("xdotool")) {
        GTEST_SKIP() << "no xdotool";
    }
    X_Server server;
    if (server.Name().empty()) {
        GTEST_SKIP() << "no Xvfb";
    }
    test_support::Temp_Folder data, runtime;
    Process program({"sh", "-c",
                     "DISPLAY=" + server.Name() + " XDG_DATA_HOME=" + data.Path().string() +
                         " XDG_RUNTIME_DIR=" + runtime.Path().string() +
                         " NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM " /c"});
    const std::string window = server.Window("--pid " + std::to_string(program.Id()), 20);
    ASSERT_FALSE(window.empty()) << "no window";
    Display* display = XOpenDisplay(server.Name().c_str());
    ASSERT_NE(display, nullptr);
    const Window handle = std::stoul(window);
    server.Run("xdotool windowsize " + window + " 640 " + std::to_string(480 + Menu_Height(display, handle)));
    Sleep_Ms(2000); // the new size reaches the device and the frames settle

    const double cpu_before = Cpu_Seconds(program.Id());
    const double seconds = 10;
    const int frames = Frames_Counted(display, handle, seconds);
    const double cpu_share = (Cpu_Seconds(program.Id()) - cpu_before) / seconds * 100;
    XCloseDisplay(display);

    const double rate = frames / seconds;
    ::testing::Test::RecordProperty("frames_per_second", std::to_string(rate));
    ::testing::Test::RecordProperty("cpu_percent_of_a_core", std::to_string(cpu_share));
    std::printf("640 x 480 configuration window: %.1f frames a second, %.1f %% of a core\n", rate, cpu_share);
    EXPECT_GT(frames, 0) << "the window shows no frames";
    server.Run("xdotool mousemove --window " + window + " 50 80 key Escape");
    EXPECT_EQ(program.Wait(5000), 0);
}

} // namespace
