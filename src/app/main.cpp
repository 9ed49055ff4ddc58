// The program's entry: builds the command-line text the way the original platform hands it
// over, reads the diagnostic trace switch, and runs Win_Main.
#include "app/win_main.h"
#include "log/error_log.h"
#include "platform/system/command_line.h"

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    Set_Command_Line(Join_Command_Line(argc, argv));
    // A diagnostic run turns the Enter/Exit trace on; nothing in the program itself does.
    if (const char* trace = std::getenv("LUCIVANTA_TRACE"); trace != nullptr && std::strcmp(trace, "1") == 0)
        Set_Trace_Enabled(true);
    return Win_Main(nullptr, nullptr, GetCommandLineA(), 1);
}
