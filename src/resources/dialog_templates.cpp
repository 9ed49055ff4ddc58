// The dialog templates: About (143), "Change device" (144) and the five settings dialogs, in
// dialog units with their fonts, captions, control kinds, ids, texts and styles, from which
// every window backend builds its dialogs.
#include "platform/window/resource_templates.h"
#include "resources/about_texts.h"
#include "resources/resource_ids.h"

#include <array>
#include <iterator>
#include <strings.h>

namespace {

using C = Control_Kind;

constexpr const char* Font = "MS Sans Serif";
constexpr DWORD Tab = WS_TABSTOP;
constexpr DWORD Centred = SS_CENTER;
constexpr DWORD List = CBS_DROPDOWNLIST | WS_TABSTOP;
constexpr DWORD Auto = BS_AUTOCHECKBOX | WS_TABSTOP;
constexpr DWORD Default = BS_DEFPUSHBUTTON | WS_TABSTOP;

constexpr Dialog_Control_Template About[] = {
    {C::Icon, IDC_ABOUT_ICON, nullptr, 7, 7, 21, 20, 0},
    {C::Text, IDC_ABOUT_NAME, About_Name, 40, 10, 125, 8, SS_LEFT},
    {C::Text, IDC_ABOUT_OWNER, About_Owner_Line, 40, 22, 125, 8, SS_LEFT},
    {C::Text, IDC_ABOUT_CONTACT, About_Contact_Line, 40, 34, 125, 8, SS_LEFT},
    {C::Push_Button, IDOK, "OK", 61, 50, 50, 14, Default},
};

constexpr Dialog_Control_Template Change_Device[] = {
    {C::Group_Box, IDC_STATIC, "&Device selection", 5, 5, 115, 40, 0},
    {C::Combo_Box, IDC_DEVICE_COMBO, nullptr, 10, 15, 105, 100, List},
    {C::Check_Box, IDC_WINDOWED_CHECKBOX, "Use desktop &window", 10, 30, 85, 10, Auto},
    {C::Group_Box, IDC_FULLSCREEN_TEXT, "Fullscreen &modes", 5, 45, 115, 40, 0},
    {C::Combo_Box, IDC_MODE_COMBO, nullptr, 10, 61, 105, 100, List},
    {C::Push_Button, IDOK, "OK", 125, 5, 50, 14, Default},
    {C::Push_Button, IDCANCEL, "Cancel", 125, 25, 50, 14, Tab},
};

constexpr Dialog_Control_Template Plasma[] = {
    {C::Push_Button, IDOK, "OK", 260, 133, 50, 14, Default},
    {C::Push_Button, IDCANCEL, "Cancel", 7, 133, 50, 14, Tab},
    {C::Push_Button, IDC_DEFAULT_BUTTON, "Default", 136, 133, 50, 14, Tab},
    {C::Group_Box, IDC_STATIC, "Contrast", 7, 7, 144, 81, 0},
    {C::Text, IDC_CONTRAST_NUMBER, nullptr, 39, 25, 75, 15, Centred},
    {C::Scroll_Bar, IDC_CONTRAST_SCROLL, nullptr, 35, 44, 83, 11, SBS_HORZ | Tab},
    {C::Text, IDC_STATIC, "max", 13, 46, 22, 10, SS_LEFT},
    {C::Text, IDC_STATIC, "min", 127, 48, 20, 8, SS_LEFT},
    {C::Group_Box, IDC_STATIC, "Interference", 163, 7, 142, 82, 0},
    {C::Text, IDC_INTERFERENCE_NUMBER, nullptr, 196, 28, 70, 8, Centred},
    {C::Scroll_Bar, IDC_INTERFERENCE_SCROLL, nullptr, 192, 44, 83, 11, SBS_HORZ | Tab},
    {C::Text, IDC_STATIC, "max", 171, 45, 14, 8, SS_LEFT},
    {C::Text, IDC_STATIC, "min", 282, 46, 12, 8, SS_LEFT},
    {C::Check_Box, IDC_RANDOM_CHECK, nullptr, 176, 102, 10, 11, Auto},
    {C::Push_Button, IDC_RANDOM_BUTTON, "Random", 199, 101, 104, 14, Tab},
    {C::Check_Box, IDC_LARGE_CHECK, nullptr, 7, 102, 10, 11, Auto},
    {C::Push_Button, IDC_LARGE_BUTTON, "Large ( 1.2Ghz  CPU or better)", 25, 100, 104, 14, Tab},
};

constexpr Dialog_Control_Template Sine_Wave[] = {
    {C::Push_Button, IDOK, "OK", 278, 109, 50, 14, Default},
    {C::Push_Button, IDCANCEL, "Cancel", 15, 109, 50, 14, Tab},
    {C::Push_Button, IDC_DEFAULT_BUTTON, "Default", 145, 109, 50, 14, Tab},
    {C::Group_Box, IDC_STATIC, "Wave Density", 15, 22, 150, 70, 0},
    {C::Text, IDC_DENSITY_NUMBER, nullptr, 54, 44, 68, 12, Centred},
    {C::Scroll_Bar, IDC_DENSITY_SCROLL, nullptr, 47, 62, 81, 12, SBS_HORZ | Tab},
    {C::Text, IDC_STATIC, "max", 27, 66, 14, 8, SS_LEFT},
    {C::Text, IDC_STATIC, "min", 139, 66, 12, 8, SS_LEFT},
    {C::Group_Box, IDC_STATIC, "Wave Variance", 177, 22, 150, 70, 0},
    {C::Text, IDC_VARIANCE_NUMBER, nullptr, 216, 44, 68, 12, Centred},
    {C::Scroll_Bar, IDC_VARIANCE_SCROLL, nullptr, 209, 62, 81, 12, SBS_HORZ | Tab},
    {C::Text, IDC_STATIC, "min", 189, 66, 12, 8, SS_LEFT},
    {C::Text, IDC_STATIC, "max", 299, 66, 14, 8, SS_LEFT},
};

// Fade speed, rotation speed and brightness share one layout.
constexpr std::array<Dialog_Control_Template, 7> One_Slider(int scroll, int number, const char* left,
                                                            const char* right)
{
    return {{
        {C::Push_Button, IDOK, "OK", 129, 74, 50, 14, Default},
        {C::Push_Button, IDCANCEL, "Cancel", 7, 74, 50, 14, Tab},
        {C::Push_Button, IDC_DEFAULT_BUTTON, "Default", 68, 74, 50, 14, Tab},
        {C::Text, number, nullptr, 41, 16, 98, 19, Centred},
        {C::Scroll_Bar, scroll, nullptr, 33, 38, 111, 16, SBS_HORZ | Tab},
        {C::Text, IDC_STATIC, left, 13, 41, 18, 8, SS_LEFT},
        {C::Text, IDC_STATIC, right, 156, 41, 18, 8, SS_LEFT},
    }};
}

constexpr auto Fade = One_Slider(IDC_FADE_SCROLL, IDC_FADE_NUMBER, "fast", "slow");
constexpr auto Rotation = One_Slider(IDC_ROTATION_SCROLL, IDC_ROTATION_NUMBER, "slow", "fast");
constexpr auto Brightness = One_Slider(IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, "min", "max");

constexpr Dialog_Template Dialogs[] = {
    {IDD_ABOUT, nullptr, "About Lucivanta", 172, 71, Font, 8, About, std::size(About)},
    {IDD_SELECTDEVICE, nullptr, "Change device", 182, 90, Font, 8, Change_Device, std::size(Change_Device)},
    {0, "PLASMABOX", "Plasma Dialog", 317, 154, Font, 8, Plasma, std::size(Plasma)},
    {0, "SINEWAVEBOX", "Sine Wave Configuration", 343, 130, Font, 8, Sine_Wave, std::size(Sine_Wave)},
    {0, "FADEBOX", "Fade Speed", 186, 95, Font, 8, Fade.data(), Fade.size()},
    {0, "ROTATIONBOX", "Rotation Speed", 186, 95, Font, 8, Rotation.data(), Rotation.size()},
    {0, "BRIGHTNESSBOX", "Brightness", 186, 95, Font, 8, Brightness.data(), Brightness.size()},
};

} // namespace

const Dialog_Template* Find_Dialog_Template(const char* name)
{
    const auto number = reinterpret_cast<uintptr_t>(name);
    for (const Dialog_Template& dialog : Dialogs) {
        const bool by_number = (number >> 16) == 0;
        if (by_number ? dialog.Id != 0 && static_cast<uintptr_t>(dialog.Id) == number
                      : dialog.Name != nullptr && strcasecmp(dialog.Name, name) == 0) {
            return &dialog;
        }
    }
    return nullptr;
}
