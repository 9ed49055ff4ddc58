// The program's entry: takes the screen-saver daemons' options, builds the command-line text
// the way the original platform hands it over, reads the diagnostic trace switch, makes the
// product folder on a first start, and runs Win_Main.
#include "app/first_start.h"
#include "app/hack_options.h"
#include "app/win_main.h"
#include "log/error_log.h"
#include "platform/system/clock.h"
#include "platform/system/command_line.h"
#include "platform/system/data_dir.h"
#include "platform/system/display_mode.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_backends.h"
#include "platform/window/window_system.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

// The installed default data: beside the program (an installation moved elsewhere), where it
// was installed, or in the build folder (a program run from where it was built).
std::vector<std::string> Installed_Data_Candidates()
{
    std::vector<std::string> candidates;
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (!error)
        candidates.push_back((program.parent_path().parent_path() / "share/lucivanta").string());
    candidates.push_back(LUCIVANTA_INSTALLED_DATA);
    candidates.push_back(LUCIVANTA_BUILD_DATA);
    return candidates;
}

// Ctrl+C, a termination request or a hang-up (a closed terminal; xss-lock sends one) closes
// the window, so the run ends in its orderly way: settings saved in configuration mode, the
// saver flag cleared, the log closed last. A hang-up the caller chose to ignore (nohup) stays
// ignored. SIGQUIT keeps its default: it is the user's way to get a core dump.
void Close_On_Signal(int)
{
    Request_Close_All_Windows();
}

void Close_On_Termination_Signals()
{
    Close_Request_Fd(); // the wake-up pipe exists before a handler may write to it
    struct sigaction close_on {};
    close_on.sa_handler = Close_On_Signal;
    sigemptyset(&close_on.sa_mask);
    close_on.sa_flags = SA_RESTART;
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && signal == SIGHUP && previous.sa_handler == SIG_IGN)
            continue;
        sigaction(signal, &close_on, nullptr);
    }
}

// The display backend, chosen once ($LUCIVANTA_BACKEND may name one). Headless, frames are
// drawn at the pace of a 60 Hz display and shown nowhere.
void Start_Display()
{
    const char* backend = Start_Window_System(std::getenv("LUCIVANTA_BACKEND"));
    if (Headless_Backend* headless = Installed_Headless_Backend()) {
        // The X display is asked once (each later query would open a connection of its own);
        // where none can be asked, the headless screen is a 1024 × 768 desktop of 32 bits.
        static Fixed_Display_Mode headless_desktop(1024, 768, 32);
        Display_Mode desktop{};
        if (Get_Current_Display_Mode(desktop)) {
            headless_desktop.Mode = desktop;
            headless->Screen = SIZE{desktop.Width, desktop.Height};
        }
        Set_Display_Mode_Source(&headless_desktop);
        std::fprintf(stderr, "lucivanta: running %s (no display shows it); Ctrl+C ends the run\n", backend);
    }
}

} // namespace

int main(int argc, char** argv)
{
    // First, so that a termination request at any moment of the start ends the run in order:
    // it waits for the window and closes it.
    Close_On_Termination_Signals();
    if (const int exit_code = Apply_Hack_Options(argc, argv); exit_code >= 0)
        return exit_code;
    // Daemons pause a saver with SIGSTOP; the scene goes on where it stopped.
    Exclude_Stopped_Time();
    // The installer's part: a first start fills the product folder before the program runs.
    Install_Default_Data(Windows_Directory_Plus("/Lucivanta"),
                         Find_Installed_Data(Installed_Data_Candidates()));
    // A diagnostic run turns the Enter/Exit trace on; nothing in the program itself does.
    if (const char* trace = std::getenv("LUCIVANTA_TRACE"); trace != nullptr && std::strcmp(trace, "1") == 0)
        Set_Trace_Enabled(true);
    Start_Display();
    return Win_Main(nullptr, nullptr, GetCommandLineA(), 1);
}
