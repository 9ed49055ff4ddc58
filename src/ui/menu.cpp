// The menu bar's check marks and the settings dialogs' openers.
#include "ui/menu.h"

#include "log/error_log.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "ui/settings_dialogs.h"

Menu_Object Menu;

namespace {

void Check(HMENU menu, UINT id, bool checked)
{
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

} // namespace

void Menu_Object::Update_Menus(HWND window)
{
    HMENU menu = GetMenu(window);
    if (menu == nullptr) {
        // No menu bar while the window covers the screen, none in the preview.
        Report("Menu::Update Menus(): NULL hMenu");
        return;
    }
    // The raw bytes: a damaged value other than 0 or 1 shows Music and Symbols unchecked (they
    // are off for their readers) but the titles' items checked.
    const Settings& settings = Live_Settings();
    Check(menu, IDM_MUSIC_ON, settings.Music_On == 1);
    Check(menu, IDM_SYMBOLS, settings.Symbols_On == 1);
    Check(menu, IDM_RESOLUTION_640, false);
    Check(menu, IDM_RESOLUTION_DESKTOP, false);
    Check(menu, settings.Desktop_Resolution != 0 ? IDM_RESOLUTION_DESKTOP : IDM_RESOLUTION_640, true);
    Check(menu, IDM_TITLES_ON, settings.Titles_On != 0);
    Check(menu, IDM_TITLES_DETAILED, settings.Titles_Detailed != 0);
}

int Menu_Object::Open(const char* template_name, DLGPROC procedure)
{
    DialogBoxParamA(Instance, template_name, Window, procedure, 0);
    return 1;
}

int Menu_Object::Plasma_Dialog()
{
    return Open("PLASMABOX", Plasma_Dialog_Procedure);
}

int Menu_Object::Sine_Wave_Dialog()
{
    return Open("SINEWAVEBOX", Sine_Wave_Dialog_Procedure);
}

int Menu_Object::Fade_Dialog()
{
    return Open("FADEBOX", Fade_Dialog_Procedure);
}

int Menu_Object::Rotation_Dialog()
{
    return Open("ROTATIONBOX", Rotation_Dialog_Procedure);
}

int Menu_Object::Brightness_Dialog()
{
    return Open("BRIGHTNESSBOX", Brightness_Dialog_Procedure);
}
