// The command line that Linux screen-saver daemons and lock screens use for a saver program,
// understood before the screen-saver switches (/s, /p, /c, /a), which keep their meaning:
//   --root, -root             the daemon's window in $XSCREENSAVER_WINDOW, else the root window,
//                             as the screen saver proper
//   --window-id ID, -window-id ID   that window as a preview, like /p ID; wins over --root
//   --help, --version
// Any other argument that starts with "--" is refused. The hack options are turned into the
// switches they stand for, so the program's own parsing decides the mode as always.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct Hack_Options {
    enum Action { Run, Show_Help, Show_Version, Refuse };
    Action What = Run;
    std::vector<std::string> Arguments; // the arguments the switch parser sees, program name first
    bool Daemon_Window = false;         // --root: draw into Window, a window that is not ours
    uint32_t Window = 0;                // 0: the root window
    std::string Error;                  // why the command line was refused
};

// `xscreensaver_window` is the value of $XSCREENSAVER_WINDOW, or nullptr when it is not set.
Hack_Options Parse_Hack_Options(const std::vector<std::string>& arguments, const char* xscreensaver_window);

// A window id as the daemons write it: hexadecimal "0x…" or decimal, 1 … 0x1FFFFFFF (an X11
// id has its top three bits clear). False for anything else.
bool Parse_Window_Id(const std::string& text, uint32_t& window);

const char* Hack_Usage();

// The entry's part: parses argv and $XSCREENSAVER_WINDOW, prints the usage, the version or the
// error, and otherwise stores the program's command line and the daemon's window. Returns the
// exit code when the program ends here, or -1 when it runs.
int Apply_Hack_Options(int argc, const char* const* argv);
