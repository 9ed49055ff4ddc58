// The stored process command line.
#include "platform/system/command_line.h"

namespace {

std::string& Stored_Command_Line()
{
    static std::string text;
    return text;
}

} // namespace

std::string Join_Command_Line(int argc, const char* const* argv)
{
    std::string text;
    for (int i = 0; i < argc; ++i) {
        const std::string argument = argv[i] != nullptr ? argv[i] : "";
        if (i > 0)
            text += ' ';
        if (i == 0 && argument.find(' ') != std::string::npos)
            text += '"' + argument + '"';
        else
            text += argument;
    }
    return text;
}

void Set_Command_Line(const std::string& text)
{
    Stored_Command_Line() = text;
}

const char* GetCommandLineA()
{
    return Stored_Command_Line().c_str();
}
