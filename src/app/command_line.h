// The screen-saver mode from the command line, and the process-wide record that holds it.
#pragma once

#include <cstdint>

enum Screen_Saver_Mode : int32_t {
    Mode_Unrecognised = 0,
    Mode_Configuration = 1,
    Mode_Password_Change = 2,
    Mode_Preview = 3,
    Mode_Screen_Saver = 4,
};

struct Command_Line_Record {
    int32_t Mode = Mode_Unrecognised;
    uint32_t Saved_Saver_Running = 0; // the flag's state before this process set it
    uint32_t Preview_Parent = 0;      // X11 window id of the preview's parent (mode 3)
};

// The process-wide record, zero at start.
Command_Line_Record& Command_Line();
void Reset_Command_Line();

// Reads GetCommandLineA(), stores the mode (and the preview parent) in Command_Line() and
// returns the mode. An unrecognised switch leaves the stored mode as it was.
int32_t Parse_Command_Line();
