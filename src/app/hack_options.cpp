// The screen-saver daemons' command line, turned into the program's own switches.
#include "app/hack_options.h"

#include "platform/system/command_line.h"
#include "platform/window/saver_target.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr uint32_t Largest_Window_Id = 0x1FFFFFFF;

bool Is_Any_Of(const std::string& argument, std::initializer_list<const char*> names)
{
    for (const char* name : names) {
        if (argument == name)
            return true;
    }
    return false;
}

Hack_Options Refused(std::string reason)
{
    Hack_Options refused;
    refused.What = Hack_Options::Refuse;
    refused.Error = std::move(reason);
    return refused;
}

// The options themselves, before they are turned into switches.
struct Found_Options {
    bool Help = false, Version = false, Root = false, Window_Id = false;
    uint32_t Window = 0;
    std::vector<std::string> Switches; // everything that is not a hack option
};

// Fills `found`, or returns why the arguments are refused.
std::string Collect(const std::vector<std::string>& arguments, Found_Options& found)
{
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help") {
            found.Help = true;
        } else if (argument == "--version") {
            found.Version = true;
        } else if (Is_Any_Of(argument, {"--root", "-root"})) {
            found.Root = true;
        } else if (Is_Any_Of(argument, {"--window-id", "-window-id"}) ||
                   argument.rfind("--window-id=", 0) == 0) {
            const std::size_t equals = argument.find('=');
            std::string value;
            if (equals != std::string::npos)
                value = argument.substr(equals + 1);
            else if (i + 1 < arguments.size())
                value = arguments[++i];
            if (!Parse_Window_Id(value, found.Window))
                return "--window-id needs a window id (hexadecimal 0x… or decimal), not \"" + value + "\"";
            found.Window_Id = true;
        } else if (argument.rfind("--", 0) == 0) {
            return "unknown option " + argument;
        } else {
            found.Switches.push_back(argument);
        }
    }
    return "";
}

} // namespace

bool Parse_Window_Id(const std::string& text, uint32_t& window)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 10 ||
        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos)
        return false;
    const unsigned long long value = std::strtoull(digits.c_str(), nullptr, hex ? 16 : 10);
    if (value == 0 || value > Largest_Window_Id)
        return false;
    window = static_cast<uint32_t>(value);
    return true;
}

Hack_Options Parse_Hack_Options(const std::vector<std::string>& arguments, const char* xscreensaver_window)
{
    Found_Options found;
    if (std::string error = Collect(arguments, found); !error.empty())
        return Refused(error);
    Hack_Options options;
    if (found.Help || found.Version) {
        options.What = found.Help ? Hack_Options::Show_Help : Hack_Options::Show_Version;
        return options;
    }
    const std::string program = arguments.empty() ? "lucivanta" : arguments[0];
    if (!found.Root && !found.Window_Id) {
        options.Arguments = arguments;
        return options;
    }
    if (!found.Switches.empty())
        return Refused(std::string(found.Window_Id ? "--window-id" : "--root") + " does not go with " +
                       found.Switches[0]);
    if (found.Window_Id) {
        options.Arguments = {program, "/p", std::to_string(found.Window)};
        return options;
    }
    // An empty variable is as good as none: the root window.
    if (xscreensaver_window != nullptr && *xscreensaver_window != '\0' &&
        !Parse_Window_Id(xscreensaver_window, options.Window))
        return Refused(
            std::string("XSCREENSAVER_WINDOW is not a window id (hexadecimal 0x… or decimal): \"") +
            xscreensaver_window + "\"");
    options.Daemon_Window = true;
    options.Arguments = {program, "/s"};
    return options;
}

const char* Hack_Usage()
{
    return "usage: lucivanta [/c | /s | /p ID | /a]\n"
           "       lucivanta --root | --window-id ID | --help | --version\n"
           "Lucivanta draws an endlessly changing, layered kaleidoscope.\n"
           "\n"
           "  (none), /c        the configuration window with its menus\n"
           "  /s                full screen as the screen saver; any key or click ends it\n"
           "  /p ID, /l:ID      draw inside the X11 window ID (decimal) as a preview\n"
           "  /a                password change (runs like the configuration window)\n"
           "  --root, -root     as a screen-saver daemon's saver: draw into the window named\n"
           "                    by $XSCREENSAVER_WINDOW, else the root window\n"
           "  --window-id ID, -window-id ID\n"
           "                    draw into window ID (0x… or decimal) as a preview, like /p\n"
           "  --help            this text\n"
           "  --version         the program's version\n";
}

int Apply_Hack_Options(int argc, const char* const* argv)
{
    const std::vector<std::string> arguments(argv, argv + argc);
    const Hack_Options options = Parse_Hack_Options(arguments, std::getenv("XSCREENSAVER_WINDOW"));
    switch (options.What) {
    case Hack_Options::Show_Help:
        std::fputs(Hack_Usage(), stdout);
        return 0;
    case Hack_Options::Show_Version:
        std::printf("lucivanta %s\n", LUCIVANTA_VERSION);
        return 0;
    case Hack_Options::Refuse:
        std::fprintf(stderr, "lucivanta: %s\n\n%s", options.Error.c_str(), Hack_Usage());
        return 1;
    case Hack_Options::Run:
        break;
    }
    std::vector<const char*> program_arguments;
    for (const std::string& argument : options.Arguments)
        program_arguments.push_back(argument.c_str());
    Set_Command_Line(Join_Command_Line(static_cast<int>(program_arguments.size()), program_arguments.data()));
    Current_Saver_Target().Daemon_Window = options.Daemon_Window;
    Current_Saver_Target().Window = options.Window;
    return -1;
}
