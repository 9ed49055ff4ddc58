// The five settings dialogs, opened through the Menu object on the headless window system and
// worked by a scripted user: the numbers they open with and the values OK stores, every scroll
// code at and away from the ends, which bar a scroll message moves, Default and Cancel, the
// plasma's two flags with their boxes, and what OK sets off in the effects.
#include "effects/plasma.h"
#include "effects/sine_wave.h"
#include "platform/window/headless/headless_backend.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "ui/menu.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <vector>

namespace {

using Opener = int (Menu_Object::*)();
using Step = std::function<void(HWND dialog)>;

int Number(HWND dialog, int id)
{
    char text[16] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return std::atoi(text);
}

int Position(HWND dialog, int id)
{
    return GetScrollPos(GetDlgItem(dialog, id), SB_CTL);
}

bool Box(HWND dialog, int id)
{
    return IsDlgButtonChecked(dialog, id) == BST_CHECKED;
}

class Settings_Dialog_Test : public ::testing::Test {
protected:
    Settings_Dialog_Test()
    {
        Install_Window_System(nullptr);
        Reset_Settings_File();
        Fill_Defaults(Live_Settings());
        D3DPlasma.Reset();
        D3DSine_Wave.Reset();
    }
    ~Settings_Dialog_Test() override
    {
        Install_Window_System(nullptr);
        Reset_Settings_File();
        D3DPlasma.Reset();
        D3DSine_Wave.Reset();
    }
    // Opens a dialog as its menu command does; each time the dialog waits for the user the next
    // step acts. When the steps run out the dialog is closed, which cancels it.
    void Open(Opener opener, std::vector<Step> steps)
    {
        std::size_t next = 0;
        User().Dialog_Script = [&](HWND dialog, const std::string&) {
            if (next < steps.size())
                steps[next++](dialog);
        };
        EXPECT_EQ((Menu.*opener)(), 1);
        EXPECT_EQ(next, steps.size());
    }
    Headless_Backend& User() { return The_Headless_Backend(); }
    Step Click(int id)
    {
        return [this, id](HWND dialog) { User().Click(dialog, id); };
    }
    // Bar, number and working value are one integer.
    static void Expect_Shown(HWND dialog, int scroll, int number, int value)
    {
        EXPECT_EQ(Number(dialog, number), value);
        EXPECT_EQ(Position(dialog, scroll), value);
    }
};

TEST_F(Settings_Dialog_Test, OpensWithTheFieldInItsUnitsAndOkStoresTheNumberTimesTheUnit)
{
    struct Case {
        const char* Name;
        Opener Open;
        std::function<void(Settings&)> Set;
        int Scroll, Number, Shown;
        WORD Code; // a scroll before OK (SB_ENDSCROLL moves nothing)
        int Thumb;
        std::function<void(const Settings&)> Check;
    } const cases[] = {
        {"interference", &Menu_Object::Plasma_Dialog, [](Settings& s) { s.Plasma_Interference = 3.35f; },
         IDC_INTERFERENCE_SCROLL, IDC_INTERFERENCE_NUMBER, 33, SB_ENDSCROLL, 0,
         [](const Settings& s) { EXPECT_EQ(s.Plasma_Interference, 3.3f); }},
        {"contrast", &Menu_Object::Plasma_Dialog, [](Settings& s) { s.Plasma_Contrast = 7; },
         IDC_CONTRAST_SCROLL, IDC_CONTRAST_NUMBER, 7, SB_LINELEFT, 0,
         [](const Settings& s) { EXPECT_EQ(s.Plasma_Contrast, 6); }},
        {"fade", &Menu_Object::Fade_Dialog, [](Settings& s) { s.Fade_Interval = 0.09; }, IDC_FADE_SCROLL,
         IDC_FADE_NUMBER, 9000, SB_LINERIGHT, 0,
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.Fade_Interval, 0.09001); }},
        {"brightness", &Menu_Object::Brightness_Dialog, [](Settings& s) { s.Brightness = 0x80CCCCCC; },
         IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, 204, SB_ENDSCROLL, 0,
         [](const Settings& s) { EXPECT_EQ(s.Brightness, 0xCCCCCCCCu); }},
        // Positions above 32767 travel in the thumb codes' high word.
        {"rotation", &Menu_Object::Rotation_Dialog, [](Settings& s) { s.Rotation_Speed = 0.125; },
         IDC_ROTATION_SCROLL, IDC_ROTATION_NUMBER, 12500, SB_THUMBTRACK, 50000,
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.Rotation_Speed, 0.5); }},
        {"density", &Menu_Object::Sine_Wave_Dialog, [](Settings& s) { s.Sine_Wave_Density = 0.85; },
         IDC_DENSITY_SCROLL, IDC_DENSITY_NUMBER, 4250, SB_PAGELEFT, 0,
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.Sine_Wave_Density, 4249 * 0.0002); }},
        {"variance", &Menu_Object::Sine_Wave_Dialog, [](Settings& s) { s.Sine_Wave_Variance = 3; },
         IDC_VARIANCE_SCROLL, IDC_VARIANCE_NUMBER, 3, SB_RIGHT, 0,
         [](const Settings& s) { EXPECT_EQ(s.Sine_Wave_Variance, 100); }},
        {"cut toward zero", &Menu_Object::Rotation_Dialog, [](Settings& s) { s.Rotation_Speed = 0.000129; },
         IDC_ROTATION_SCROLL, IDC_ROTATION_NUMBER, 12, SB_ENDSCROLL, 0,
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.Rotation_Speed, 0.00012); }},
        // A damaged file opens within the ranges.
        {"damaged fade", &Menu_Object::Fade_Dialog, [](Settings& s) { s.Fade_Interval = std::nan(""); },
         IDC_FADE_SCROLL, IDC_FADE_NUMBER, 9000, SB_ENDSCROLL, 0,
         [](const Settings& s) { EXPECT_DOUBLE_EQ(s.Fade_Interval, 0.09); }},
        {"damaged brightness", &Menu_Object::Brightness_Dialog, [](Settings& s) { s.Brightness = 0x0A; },
         IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, 40, SB_ENDSCROLL, 0,
         [](const Settings& s) { EXPECT_EQ(s.Brightness, 0x28282828u); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.Name);
        Fill_Defaults(Live_Settings());
        c.Set(Live_Settings());
        Open(c.Open, {[&](HWND dialog) {
                          Expect_Shown(dialog, c.Scroll, c.Number, c.Shown);
                          User().Scroll(dialog, c.Scroll, c.Code, c.Thumb);
                      },
                      Click(IDOK)});
        c.Check(Live_Settings());
    }
}

TEST_F(Settings_Dialog_Test, EveryScrollCodeMovesByOneUnitOrToItsPlaceWithinTheRange)
{
    struct Case {
        int From;
        WORD Code;
        int Thumb;
        int To;
    } const cases[] = {
        {40, SB_LINELEFT, 0, 40},        {40, SB_PAGELEFT, 0, 40},          {255, SB_LINERIGHT, 0, 255},
        {255, SB_PAGERIGHT, 0, 255},     {100, SB_LINELEFT, 0, 99},         {100, SB_PAGELEFT, 0, 99},
        {100, SB_LINERIGHT, 0, 101},     {100, SB_PAGERIGHT, 0, 101},       {100, SB_THUMBTRACK, 150, 150},
        {100, SB_THUMBPOSITION, 60, 60}, {100, SB_THUMBPOSITION, 300, 255}, {100, SB_LEFT, 0, 40},
        {100, SB_RIGHT, 0, 255},         {100, SB_ENDSCROLL, 0, 100},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.From << " code " << c.Code << " thumb " << c.Thumb);
        Live_Settings().Brightness = static_cast<uint32_t>(c.From) * 0x01010101u;
        Open(&Menu_Object::Brightness_Dialog,
             {[&](HWND dialog) { User().Scroll(dialog, IDC_BRIGHTNESS_SCROLL, c.Code, c.Thumb); },
              [&](HWND dialog) {
                  Expect_Shown(dialog, IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, c.To);
                  User().Click(dialog, IDOK);
              }});
        EXPECT_EQ(Live_Settings().Brightness, static_cast<uint32_t>(c.To) * 0x01010101u);
    }
}

TEST_F(Settings_Dialog_Test, ScrollsFromOtherControlsMoveThePlasmaInterferenceAndNoSineWaveValue)
{
    auto scroll_from_ok = [](HWND dialog) {
        PostMessageA(dialog, WM_HSCROLL, MAKEWPARAM(SB_LINERIGHT, 0),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    };
    Open(&Menu_Object::Plasma_Dialog,
         {[&](HWND dialog) { User().Scroll(dialog, IDC_CONTRAST_SCROLL, SB_LINERIGHT); }, scroll_from_ok,
          [&](HWND dialog) {
              Expect_Shown(dialog, IDC_CONTRAST_SCROLL, IDC_CONTRAST_NUMBER, 5);
              Expect_Shown(dialog, IDC_INTERFERENCE_SCROLL, IDC_INTERFERENCE_NUMBER, 96);
              User().Click(dialog, IDCANCEL);
          }});
    Open(&Menu_Object::Sine_Wave_Dialog,
         {scroll_from_ok, [&](HWND dialog) {
              Expect_Shown(dialog, IDC_DENSITY_SCROLL, IDC_DENSITY_NUMBER, 4250);
              Expect_Shown(dialog, IDC_VARIANCE_SCROLL, IDC_VARIANCE_NUMBER, 3);
              User().Click(dialog, IDCANCEL);
          }});
}

TEST_F(Settings_Dialog_Test, DefaultShowsTheDefaultsAndCancelThenLeavesEverySettingAsItWas)
{
    Settings& settings = Live_Settings();
    settings.Plasma_Contrast = 10;
    settings.Plasma_Interference = 5.0f;
    settings.Plasma_Random = 1;
    settings.Plasma_Texture_Size = 512;
    settings.Sine_Wave_Variance = 50;
    settings.Sine_Wave_Density = 0.5;
    settings.Fade_Interval = 0.05;
    settings.Rotation_Speed = 0.3;
    settings.Brightness = 0x64646464;
    const Settings before = settings;
    struct Shown {
        int Scroll, Number, Default;
    };
    struct Case {
        Opener Open;
        std::vector<Shown> Sliders;
    } const cases[] = {
        {&Menu_Object::Plasma_Dialog,
         {{IDC_CONTRAST_SCROLL, IDC_CONTRAST_NUMBER, 4},
          {IDC_INTERFERENCE_SCROLL, IDC_INTERFERENCE_NUMBER, 95}}},
        {&Menu_Object::Sine_Wave_Dialog,
         {{IDC_DENSITY_SCROLL, IDC_DENSITY_NUMBER, 4250}, {IDC_VARIANCE_SCROLL, IDC_VARIANCE_NUMBER, 3}}},
        {&Menu_Object::Fade_Dialog, {{IDC_FADE_SCROLL, IDC_FADE_NUMBER, 9000}}},
        {&Menu_Object::Rotation_Dialog, {{IDC_ROTATION_SCROLL, IDC_ROTATION_NUMBER, 12500}}},
        {&Menu_Object::Brightness_Dialog, {{IDC_BRIGHTNESS_SCROLL, IDC_BRIGHTNESS_NUMBER, 204}}},
    };
    for (const Case& c : cases) {
        const bool plasma = c.Open == &Menu_Object::Plasma_Dialog;
        Open(c.Open, {[&](HWND dialog) {
                          if (plasma) {
                              EXPECT_TRUE(Box(dialog, IDC_RANDOM_CHECK) && Box(dialog, IDC_LARGE_CHECK));
                          }
                          User().Click(dialog, IDC_DEFAULT_BUTTON);
                      },
                      [&](HWND dialog) {
                          for (const Shown& slider : c.Sliders)
                              Expect_Shown(dialog, slider.Scroll, slider.Number, slider.Default);
                          if (plasma) {
                              EXPECT_FALSE(Box(dialog, IDC_RANDOM_CHECK) || Box(dialog, IDC_LARGE_CHECK));
                          }
                          User().Click(dialog, IDCANCEL);
                      }});
    }
    EXPECT_EQ(std::memcmp(&settings, &before, sizeof before), 0);
    EXPECT_FALSE(D3DPlasma.Has_Tables()); // not rebuilt
    EXPECT_FALSE(D3DSine_Wave.redraw);
}

TEST_F(Settings_Dialog_Test, PlasmaButtonsAndTheirBoxesToggleTheSameFlags)
{
    struct Case {
        std::vector<int> Clicks;
        bool Random, Large;
    } const cases[] = {
        {{IDC_RANDOM_BUTTON, IDC_RANDOM_BUTTON}, false, false},
        {{IDC_RANDOM_BUTTON}, true, false},
        {{IDC_RANDOM_CHECK}, true, false},
        {{IDC_RANDOM_CHECK, IDC_RANDOM_BUTTON}, false, false},
        {{IDC_LARGE_BUTTON}, false, true},
        {{IDC_LARGE_CHECK, IDC_LARGE_CHECK}, false, false},
        {{IDC_LARGE_CHECK, IDC_RANDOM_BUTTON}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        Fill_Defaults(Live_Settings());
        std::vector<Step> steps;
        for (int id : c.Clicks)
            steps.push_back(Click(id));
        steps.push_back([&](HWND dialog) {
            EXPECT_EQ(Box(dialog, IDC_RANDOM_CHECK), c.Random);
            EXPECT_EQ(Box(dialog, IDC_LARGE_CHECK), c.Large);
            User().Click(dialog, IDOK);
        });
        Open(&Menu_Object::Plasma_Dialog, steps);
        EXPECT_EQ(Live_Settings().Plasma_Random, c.Random ? 1 : 0);
        EXPECT_EQ(Live_Settings().Plasma_Texture_Size, c.Large ? 512 : 256);
    }
}

TEST_F(Settings_Dialog_Test, OkRebuildsThePlasmaAtItsCurrentSizeAndAsksTheSineWaveForARedraw)
{
    ASSERT_EQ(D3DPlasma.Setup_Plasma(64, 64), 1);
    Open(&Menu_Object::Plasma_Dialog,
         {[&](HWND dialog) { User().Scroll(dialog, IDC_CONTRAST_SCROLL, SB_RIGHT); }, Click(IDC_LARGE_BUTTON),
          Click(IDOK)});
    EXPECT_EQ(Live_Settings().Plasma_Texture_Size, 512); // from the next start
    EXPECT_EQ(D3DPlasma.size, 64);
    PlasmaWave expected;
    ASSERT_TRUE(Build_Plasma_Wave(expected, 64, 64, 25, 9.5f));
    for (const PlasmaWave& wave : D3DPlasma.wave) {
        ASSERT_TRUE(wave.Has_Tables());
        EXPECT_EQ(std::memcmp(wave.ripple_table.get(), expected.ripple_table.get(), 128 * 128), 0);
    }
    EXPECT_FALSE(D3DSine_Wave.redraw);
    Open(&Menu_Object::Sine_Wave_Dialog, {Click(IDOK)});
    EXPECT_TRUE(D3DSine_Wave.redraw);
}

} // namespace
