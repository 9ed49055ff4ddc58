// Sage: the holder of the program's small system utilities. It is a namespace so that each
// subsystem declares its own Sage helpers in its own header (Sage::Clear,
// Sage::Count_Files_In_Folder, Sage::Create_Font live with the code that needs them).
// This header holds the operating-system helpers used at start-up and by the log; they report
// their failures, so they live beside the log rather than in the platform layer.
#pragma once

namespace Sage {

// Operating-system classes.
enum Operating_System : int {
    OS_Not_Classified = 0,
    OS_Win32s = 1,
    OS_Windows_95 = 2,
    OS_Windows_98 = 3,
    OS_Windows_NT = 4,
    OS_Windows_2000 = 5,
};

// Classifies the version query's answer; false (with a report) when the query fails.
bool Determine_Operating_System(int& os);

// Width, height and bits per pixel of the desktop's current mode. On failure reports
// "Sage::Grab_Current_Display_Mode FAILED", returns false and leaves the outputs as they were.
bool Grab_Current_Display_Mode(int& width, int& height, int& bits_per_pixel);

// True when the file exists and can be opened for reading.
bool FileExists(const char* file_name);

} // namespace Sage

// The program calls it by its plain name too.
using Sage::Determine_Operating_System;
