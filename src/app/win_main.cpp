// Win_Main, step by step.
#include "app/win_main.h"

#include "app/command_line.h"
#include "app/is_saver_running.h"
#include "app/scene.h"
#include "d3dframe/d3denum.h"
#include "log/error_log.h"
#include "log/sage_system.h"
#include "media/mp3.h"
#include "platform/system/data_dir.h"
#include "platform/system/saver_flag.h"
#include "platform/window/window.h"
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
    // The device enumeration's start-up copy, which picks the default full-screen mode.
    D3DEnum_Desktop_Resolution = View_Of(Live_Settings()).Desktop_Resolution ? 1 : 0;
}

int Win_Main(HINSTANCE instance, HINSTANCE, const char* command_line, int)
{
    Scene d3dApp;
    const int mode = Parse_Command_Line();
    if (mode == Mode_Screen_Saver && IsSaverRunning())
        return 0;
    if (!Operating_System_Allows(mode))
        return 0;
    if (!Open_Program_Log())
        return 0;
    Load_Program_Settings();
    Trace_Enter("Create_Lucivanta");
    if (mode == Mode_Preview) {
        HWND parent = reinterpret_cast<HWND>(static_cast<uintptr_t>(Command_Line().Preview_Parent));
        if (FAILED(d3dApp.Create_ScreenSaver_Preview(instance, command_line, parent))) {
            Report("Win_Main(): d3dApp.Create_ScreenSaver_Preview() FAILED");
            PostMessageA(d3dApp.Get_Window(), WM_DESTROY, 0, 0);
            return 0;
        }
    } else if (FAILED(d3dApp.Create(instance, command_line))) {
        Report("Win_Main(): d3dApp.Create() FAILED");
        PostMessageA(d3dApp.Get_Window(), WM_DESTROY, 0, 0);
        return 0;
    }
    Trace_Exit("Create_Lucivanta");
    if (mode != Mode_Preview)
        SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, TRUE, &Command_Line().Saved_Saver_Running, 0);
    if (mode == Mode_Screen_Saver && !d3dApp.ToggleFullScreen()) {
        Report("Win_Main(): d3dApp.ToggleFullScreen() FAILED");
        PostMessageA(d3dApp.Get_Window(), WM_DESTROY, 0, 0);
    }
    if (View_Of(Live_Settings()).Music_On && mode != Mode_Preview) {
        MP3::Start();
        MP3::Play_Random_MP3();
    }
    return static_cast<int>(d3dApp.Message_Loop());
}
