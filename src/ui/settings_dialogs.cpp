// The five settings dialogs: their sliders, how each opens from the settings and what its OK
// writes back, and the plasma's Random and Large flags with their check boxes.
//
// Opening reads the settings through the sanitised view, so a damaged file opens within the
// ranges. The stored values are the number times the dialog's unit, the product taken in
// double precision (the interference then rounded to float).
#include "ui/settings_dialogs.h"

#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "ui/slider_dialog.h"

namespace {

Settings_Dialog_Values Working;

Settings_View Current()
{
    return View_Of(Live_Settings());
}

// A number of `unit`s, cut toward zero.
int32_t Units(double value, double per_unit)
{
    return static_cast<int32_t>(value * per_unit);
}

// --- Plasma ---------------------------------------------------------------------------------

const Slider Plasma_Sliders[] = {
    {IDC_CONTRAST_SCROLL, IDC_CONTRAST_NUMBER, 2, 25, 4, &Working.Plasma.Contrast},
    {IDC_INTERFERENCE_SCROLL, IDC_INTERFERENCE_NUMBER, 30, 120, 95, &Working.Plasma.Interference},
};

void Show_Plasma_Flags(HWND dialog)
{
    CheckDlgButton(dialog, IDC_RANDOM_CHECK, Working.Plasma.Random ? BST_CHECKED : BST_UNCHECKED);
    CheckDlgButton(dialog, IDC_LARGE_CHECK, Working.Plasma.Large ? BST_CHECKED : BST_UNCHECKED);
}

void Load_Plasma(HWND dialog)
{
    const Settings_View settings = Current();
    Working.Plasma.Contrast = settings.Plasma_Contrast;
    Working.Plasma.Interference = Units(settings.Plasma_Interference, 10.0);
    Working.Plasma.Random = settings.Plasma_Random;
    Working.Plasma.Large = settings.Plasma_Texture_Size > 256;
    Show_Plasma_Flags(dialog);
}

void Store_Plasma()
{
    Settings& settings = Live_Settings();
    settings.Plasma_Contrast = Working.Plasma.Contrast;
    settings.Plasma_Interference = static_cast<float>(Working.Plasma.Interference * 0.1);
    settings.Plasma_Random = Working.Plasma.Random ? 1 : 0;
    settings.Plasma_Texture_Size = Working.Plasma.Large ? 512 : 256;
    // New contrast and interference show at once; a new size only from the next start.
    D3DPlasma.Shutdown_Plasma();
    D3DPlasma.Setup_Plasma(D3DPlasma.size, D3DPlasma.size);
}

// The buttons toggle their flag. The boxes are automatic check boxes, which would otherwise
// change only their look: a click on a box counts as a click on its button.
bool Plasma_Command(HWND dialog, int id)
{
    switch (id) {
    case IDC_RANDOM_BUTTON:
    case IDC_RANDOM_CHECK:
        Working.Plasma.Random = !Working.Plasma.Random;
        break;
    case IDC_LARGE_BUTTON:
    case IDC_LARGE_CHECK:
        Working.Plasma.Large = !Working.Plasma.Large;
        break;
    default:
        return false;
    }
    Show_Plasma_Flags(dialog);
    return true;
}

void Plasma_Defaults(HWND dialog)
{
    Working.Plasma.Random = false;
    Working.Plasma.Large = false;
    Show_Plasma_Flags(dialog);
}

// Every bar other than the contrast's moves the interference.
const Slider_Dialog Plasma_Table{Plasma_Sliders, 1, Load_Plasma, Store_Plasma, Plasma_Command,
                                 Plasma_Defaults};

// --- Sine wave ------------------------------------------------------------------------------

const Slider Sine_Wave_Sliders[] = {
    {IDC_DENSITY_SCROLL, IDC_DENSITY_NUMBER, 1, 5000, 4250, &Working.Sine_Wave.Density},
    {IDC_VARIANCE_SCROLL, IDC_VARIANCE_NUMBER, 1, 100, 3, &Working.Sine_Wave.Variance},
};

void Load_Sine_Wave(HWND)
{
    const Settings_View settings = Current();
    Working.Sine_Wave.Variance = settings.Sine_Wave_Variance;
    Working.Sine_Wave.Density = Units(settings.Sine_Wave_Density, 5000.0);
}

void Store_Sine_Wave()
{
    Settings& settings = Live_Settings();
    settings.Sine_Wave_Variance = Working.Sine_Wave.Variance;
    settings.Sine_Wave_Density = Working.Sine_Wave.Density * 0.0002;
    D3DSine_Wave.redraw = TRUE; // new amplitudes and steps at the next fill
}

// Scroll messages from other controls change nothing.
const Slider_Dialog Sine_Wave_Table{Sine_Wave_Sliders, -1, Load_Sine_Wave, Store_Sine_Wave, nullptr, nullptr};

// --- Fade speed, rotation speed, brightness -------------------------------------------------

const Slider Fade_Sliders[] = {{IDC_FADE_SCROLL, IDC_FADE_NUMBER, 1, 10000, 9000, &Working.Fade}};
const Slider Rotation_Sliders[] = {
    {IDC_ROTATION_SCROLL, IDC_ROTATION_NUMBER, 1, 50000, 12500, &Working.Rotation}};
const Slider Brightness_Sliders[] = {
    {IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, 40, 255, 204, &Working.Brightness}};

const Slider_Dialog Fade_Table{Fade_Sliders,
                               0,
                               [](HWND) { Working.Fade = Units(Current().Fade_Interval, 100000.0); },
                               [] { Live_Settings().Fade_Interval = Working.Fade * 0.00001; },
                               nullptr,
                               nullptr};

const Slider_Dialog Rotation_Table{Rotation_Sliders,
                                   0,
                                   [](HWND) { Working.Rotation = Units(Current().Rotation_Speed, 100000.0); },
                                   [] { Live_Settings().Rotation_Speed = Working.Rotation * 0.00001; },
                                   nullptr,
                                   nullptr};

const Slider_Dialog Brightness_Table{
    Brightness_Sliders,
    0,
    [](HWND) { Working.Brightness = static_cast<int32_t>(Current().Brightness & 0xFF); },
    [] { Live_Settings().Brightness = static_cast<uint32_t>(Working.Brightness) * 0x01010101u; },
    nullptr,
    nullptr};

} // namespace

Settings_Dialog_Values& Dialog_Working_Copies()
{
    return Working;
}

intptr_t Plasma_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Slider_Dialog_Procedure(Plasma_Table, dialog, message, wparam, lparam);
}

intptr_t Sine_Wave_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Slider_Dialog_Procedure(Sine_Wave_Table, dialog, message, wparam, lparam);
}

intptr_t Fade_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Slider_Dialog_Procedure(Fade_Table, dialog, message, wparam, lparam);
}

intptr_t Rotation_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Slider_Dialog_Procedure(Rotation_Table, dialog, message, wparam, lparam);
}

intptr_t Brightness_Dialog_Procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam)
{
    return Slider_Dialog_Procedure(Brightness_Table, dialog, message, wparam, lparam);
}
