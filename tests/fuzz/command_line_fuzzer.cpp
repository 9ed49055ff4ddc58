// Any command line, as the daemons' options and then as the screen-saver switches: a mode the
// program knows, and a window id only where one was accepted.
#include "app/command_line.h"
#include "app/hack_options.h"
#include "fuzz_input.h"
#include "platform/system/command_line.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments = fuzz::Split_Texts(data, size);
    arguments.insert(arguments.begin(), "lucivanta");
    const Hack_Options options =
        Parse_Hack_Options(arguments, arguments.size() > 2 ? arguments[2].c_str() : nullptr);
    if (options.What == Hack_Options::Refuse && options.Error.empty())
        std::abort();
    uint32_t window = 0;
    if (Parse_Window_Id(arguments.back(), window) && (window == 0 || window > 0x1FFFFFFF))
        std::abort();
    std::vector<const char*> argv;
    for (const std::string& argument : options.What == Hack_Options::Run ? options.Arguments : arguments)
        argv.push_back(argument.c_str());
    Reset_Command_Line();
    Set_Command_Line(Join_Command_Line(static_cast<int>(argv.size()), argv.data()));
    const int32_t mode = Parse_Command_Line();
    if (mode < Mode_Unrecognised || mode > Mode_Screen_Saver)
        std::abort();
    return 0;
}
