// The scene's message procedure: the program's own menu commands and keys, the check marks
// kept in step with the settings, the end of a saver run on input or on a monitor power-down,
// and the music paused while the configuration window is inactive. Everything, handled or
// not, then goes on to the frame's procedure, except the power-down request it answers itself.
#include "app/scene.h"

#include "app/command_line.h"
#include "log/error_log.h"
#include "media/mp3.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "ui/file_chooser.h"
#include "ui/menu.h"

namespace {

bool Mode_Is(int mode)
{
    return Command_Line().Mode == mode;
}

// A boolean setting flipped: 1 when it was 0, else 0.
void Flip(uint8_t& field)
{
    field = field == 0 ? 1 : 0;
}

void Toggle_Music()
{
    Settings& settings = Live_Settings();
    if (settings.Music_On == 1) {
        settings.Music_On = 0;
        MP3::Stop();
    } else {
        settings.Music_On = 1;
        MP3::Play_Random_MP3();
    }
}

} // namespace

LRESULT Scene::MsgProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam)
{
    switch (message) {
    case WM_ACTIVATEAPP:
        if (Mode_Is(Mode_Configuration)) {
            Set_Paused(!(wparam == 1 || wparam == 2));
        }
        break;
    case WM_KEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
        // The accelerator table has had its turn: only keys without a command get here.
        if (Mode_Is(Mode_Screen_Saver)) {
            PostMessageA(Window, WM_DESTROY, 0, 0);
        }
        break;
    case WM_SYSCOMMAND:
        if ((wparam & 0xFFF0) == SC_MONITORPOWER && Mode_Is(Mode_Screen_Saver)) {
            Report("Main-MsgProc(): Shutting down Lucivanta due to Monitor Powerdown");
            PostMessageA(Window, WM_DESTROY, 0, 0);
            return DefWindowProcA(window, WM_SYSCOMMAND, SC_MONITORPOWER, lparam);
        }
        break;
    case WM_ENTERMENULOOP:
        Menu.Update_Menus(window);
        break;
    case WM_COMMAND:
        Command(window, LOWORD(wparam));
        break;
    default:
        break;
    }
    return CD3DApplication::MsgProc(window, message, wparam, lparam);
}

void Scene::Command(HWND window, int id)
{
    Settings& settings = Live_Settings();
    switch (id) {
    case IDM_FRAMERATE:
    case IDM_TOGGLE_FPS:
        Show_Stats = !Show_Stats;
        return;
    case IDM_MAXIMISE:
        Window_Maximised ? Restore_Window() : Maximise_Window();
        return;
    case IDM_PLASMA:
        Menu.Plasma_Dialog();
        return;
    case IDM_SINEWAVE:
        Menu.Sine_Wave_Dialog();
        return;
    case IDM_FADE_SPEED:
        Menu.Fade_Dialog();
        return;
    case IDM_ROTATION_SPEED:
        Menu.Rotation_Dialog();
        return;
    case IDM_BRIGHTNESS:
        Menu.Brightness_Dialog();
        return;
    case IDM_MP3_FOLDER:
        Select_Custom_MP3_Folder(window);
        return;
    case IDM_MUSIC_ON:
        Toggle_Music();
        break;
    case IDM_SYMBOLS:
        Flip(settings.Symbols_On);
        break;
    case IDM_RESOLUTION_640:
        settings.Desktop_Resolution = 0;
        break;
    case IDM_RESOLUTION_DESKTOP:
        settings.Desktop_Resolution = 1;
        break;
    case IDM_TITLES_ON:
        Flip(settings.Titles_On);
        break;
    case IDM_TITLES_DETAILED:
        Flip(settings.Titles_Detailed);
        break;
    case IDM_DEFAULT:
        // The live record only: music neither starts nor stops, the marks follow.
        Program_Settings_File().Set_Defaults();
        break;
    default:
        return; // the frame's own commands, and the rest
    }
    Menu.Update_Menus(window);
}
