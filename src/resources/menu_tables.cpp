// The menu bar (141), the popup menu (142) and the accelerator table (113): texts, command
// ids, keys and template check marks, from which every window backend builds its menus.
#include "platform/window/resource_templates.h"
#include "resources/about_texts.h"
#include "resources/resource_ids.h"

#include <iterator>

namespace {

using K = Menu_Entry_Kind;

constexpr Menu_Template_Entry Menu_Bar[] = {
    {K::Popup_Begin, "&File", 0, false},
    {K::Item, "&Go/stop\tEnter", IDM_TOGGLESTART, false},
    {K::Item, "&Single step\tSpace", IDM_SINGLESTEP, false},
    {K::Separator, nullptr, 0, false},
    {K::Item, "&About...\tF1", IDM_ABOUT, false},
    {K::Item, "&Change device...\tF2", IDM_CHANGEDEVICE, false},
    {K::Separator, nullptr, 0, false},
    {K::Item, "E&xit\tESC", IDM_EXIT, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Popup_Begin, "&View", 0, false},
    {K::Item, "Frame &Rate\tCtrl + F", IDM_FRAMERATE, false},
    {K::Item, "Maximise &Window\tCtrl + U", IDM_MAXIMISE, false},
    {K::Popup_Begin, "Beat Detection", 0, false},
    {K::Item, Beat_Detection_Line_1, IDM_BEAT_DETECTION_1, false},
    {K::Item, Beat_Detection_Line_2, IDM_BEAT_DETECTION_2, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Popup_Begin, "&Settings", 0, false},
    {K::Item, "&Plasma", IDM_PLASMA, false},
    {K::Item, "Sine &Wave", IDM_SINEWAVE, false},
    {K::Item, "S&ymbols\tCtrl + T", IDM_SYMBOLS, true},
    {K::Popup_Begin, "&Screensaver Resolution", 0, false},
    {K::Item, "640x480x16", IDM_RESOLUTION_640, false},
    {K::Item, "Desktop", IDM_RESOLUTION_DESKTOP, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Popup_Begin, "&Music", 0, false},
    {K::Item, "&On\tCtrl + M", IDM_MUSIC_ON, true},
    {K::Popup_Begin, "&Titles", 0, false},
    {K::Item, "&On", IDM_TITLES_ON, false},
    {K::Item, "&Detailed", IDM_TITLES_DETAILED, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Item, "&Select Custom MP3 Folder ", IDM_MP3_FOLDER, false},
    {K::Popup_End, nullptr, 0, false},
    {K::Item, "&Fade Speed", IDM_FADE_SPEED, false},
    {K::Item, "&Rotation Speed", IDM_ROTATION_SPEED, false},
    {K::Item, "&Brightness", IDM_BRIGHTNESS, false},
    {K::Item, "&Default", IDM_DEFAULT, false},
    {K::Popup_End, nullptr, 0, false},
};

constexpr Menu_Template_Entry Popup_Menu[] = {
    {K::Popup_Begin, "Popup", 0, false},
    {K::Item, "&Go/stop", IDM_TOGGLESTART, false},
    {K::Item, "&Single step", IDM_SINGLESTEP, false},
    {K::Separator, nullptr, 0, false},
    {K::Item, "&About...", IDM_ABOUT, false},
    {K::Item, "&Change device...", IDM_CHANGEDEVICE, false},
    {K::Separator, nullptr, 0, false},
    {K::Item, "&Toggle FPS Display", IDM_TOGGLE_FPS, false},
    {K::Item, "E&xit", IDM_EXIT, false},
    {K::Popup_End, nullptr, 0, false},
};

// Virtual-key entries that do not flash the menu.
constexpr BYTE Key = FVIRTKEY | FNOINVERT;
constexpr ACCEL Accelerators[] = {
    {Key | FCONTROL, 'F', IDM_FRAMERATE},
    {Key | FCONTROL, 'M', IDM_MUSIC_ON},
    {Key | FCONTROL, 'T', IDM_SYMBOLS},
    {Key | FCONTROL, 'U', IDM_MAXIMISE},
    {Key, VK_ESCAPE, IDM_EXIT},
    {Key, VK_F1, IDM_ABOUT},
    {Key, VK_F2, IDM_CHANGEDEVICE},
    {Key, VK_RETURN, IDM_TOGGLESTART},
    {Key | FALT, VK_RETURN, IDM_TOGGLEFULLSCREEN},
    {Key, VK_SPACE, IDM_SINGLESTEP},
    {Key | FALT, 'X', IDM_EXIT},
};

constexpr Menu_Template Menus[] = {
    {IDR_MENU, Menu_Bar, std::size(Menu_Bar)},
    {IDR_POPUP, Popup_Menu, std::size(Popup_Menu)},
};

constexpr Accelerator_Template Accelerator_Tables[] = {
    {IDR_MAIN_ACCEL, Accelerators, std::size(Accelerators)},
};

} // namespace

const Menu_Template* Find_Menu_Template(int id)
{
    for (const Menu_Template& menu : Menus) {
        if (menu.Id == id) {
            return &menu;
        }
    }
    return nullptr;
}

const Accelerator_Template* Find_Accelerator_Template(int id)
{
    for (const Accelerator_Template& table : Accelerator_Tables) {
        if (table.Id == id) {
            return &table;
        }
    }
    return nullptr;
}
