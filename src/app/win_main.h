// The program's entry: decides the screen-saver mode, refuses to run where it must not, opens
// the log and loads the settings, then creates the application and runs it.
#pragma once

#include "platform/win_types.h"

// The previous instance and the show flag are not used. Returns the exit code.
int Win_Main(HINSTANCE instance, HINSTANCE previous_instance, const char* command_line, int show);

// The steps of Win_Main, each usable on its own.
// Steps 4-5: false when this system or this mode must not run (after the refusal box, if any).
bool Operating_System_Allows(int mode);
// Steps 6-7: opens "<data dir>/Lucivanta/error_log.txt" and writes the system and display lines.
bool Open_Program_Log();
// Steps 8-9: loads the live settings record.
void Load_Program_Settings();
