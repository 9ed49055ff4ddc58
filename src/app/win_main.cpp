// Win_Main, step by step.
#include "app/win_main.h"

#include "app/command_line.h"
#include "app/is_saver_running.h"
#include "log/error_log.h"
#include "platform/system/data_dir.h"
#include "platform/system/sage_system.h"
#include "settings/settings_file.h"

#include <string>

bool Operating_System_Allows(int mode)
{
    int os = 0;
    Determine_Operating_System(os);
    if (os == Sage::OS_Win32s || os == Sage::OS_Windows_NT) {
        Report("Main-WinMain(): Lucivanta requires Windows 95/98 or 2000 to run");
        return false;
    }
    // No preview is drawn on Windows 2000.
    return !(mode == Mode_Preview && os == Sage::OS_Windows_2000);
}

bool Open_Program_Log()
{
    const std::string path = Windows_Directory_Plus("/Lucivanta/error_log.txt");
    Error_Log& log = Program_Error_Log();
    if (!log.Open_Log(path.c_str()))
        return false;
    log.Log_Operating_System();
    log.Log_Display_Mode();
    return true;
}

void Load_Program_Settings()
{
    Program_Settings_File().Load();
    // The device enumeration takes its start-up copy of Desktop_Resolution here once it exists.
}

int Win_Main(HINSTANCE, HINSTANCE, const char*, int)
{
    const int mode = Parse_Command_Line();
    if (mode == Mode_Screen_Saver && IsSaverRunning())
        return 0;
    if (!Operating_System_Allows(mode))
        return 0;
    if (!Open_Program_Log())
        return 0;
    Load_Program_Settings();
    Trace_Enter("Create_Lucivanta");
    // Creating the application, marking the saver as running, full screen, music and the
    // message loop come here; until the application frame exists the run ends after loading.
    Program_Error_Log().Close_Log();
    return 0;
}
