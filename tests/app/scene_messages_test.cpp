// The scene's message procedure in whole program runs: which input ends a saver run and which
// keeps its command, the monitor power-down, the menu commands with their check marks, the
// frame-rate flag shared by menu and popup, Default, pausing on deactivation, and a settings
// change made through a dialog that a configuration run saves and an unrecognised mode does not.
#include "media/mp3_player.h"
#include "program_run.h"
#include "resources/resource_ids.h"

#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

class Scene_Messages_Test : public Program_Run_Test {
protected:
    Window_System& Windows() { return Current_Window_System(); }
    HWND Window() { return App()->Window; }
    void Key(int virtual_key, DWORD modifiers = 0) { Windows().Post_Key(Window(), virtual_key, modifiers); }
    void Command(int id) { SendMessageA(Window(), WM_COMMAND, static_cast<WPARAM>(id), 0); }
    bool Checked(int id) { return GetMenuState(Menu_Bar, static_cast<UINT>(id), MF_BYCOMMAND) == MF_CHECKED; }
    // A track of 100 seconds to play, on the test's clock.
    void Give_Music()
    {
        test_support::Write_File(Data / "Lucivanta/MP3/Song.mp3", "");
        Tracks->Default_Duration = 100.0;
        Tracks->Now = [this] { return static_cast<double>(Clock.Nanoseconds) * 1e-9; };
    }
    double Played()
    {
        double seconds = -1.0;
        MP3_Player::Playback->Get_Position(&seconds);
        return seconds;
    }
    HMENU Menu_Bar = nullptr;
};

// Which input ends the run: in a saver run the accelerator table has its turn first, so only
// input without a command (and a monitor power-down) ends it; in other modes nothing does.
struct Input_Case {
    const char* Command_Line;
    const char* Input;
    int Key;
    DWORD Modifiers;
    UINT Message; // WM_KEYDOWN for the key, else the message posted
    bool Ends;
};

void PrintTo(const Input_Case& c, std::ostream* out)
{
    *out << c.Command_Line << " " << c.Input;
}

class Input_Test : public Scene_Messages_Test, public ::testing::WithParamInterface<Input_Case> {};

TEST_P(Input_Test, EndsTheRunOnlyWhereItShould)
{
    const Input_Case& c = GetParam();
    const int frames = 12;
    std::vector<std::string> dialogs;
    The_Headless_Backend().Dialog_Script = [&](HWND, const std::string& name) { dialogs.push_back(name); };
    bool moving = true, music = true;
    Run(c.Command_Line, frames, [&](int turn) {
        if (turn == 3 && c.Message == WM_KEYDOWN)
            Key(c.Key, c.Modifiers);
        else if (turn == 3 && c.Message == WM_SYSCOMMAND)
            PostMessageA(Window(), WM_SYSCOMMAND, SC_MONITORPOWER, 2);
        else if (turn == 3)
            Windows().Post_Click(Window(), c.Message, 5, 5);
        if (turn == frames) {
            moving = App()->Frame_Moving;
            music = Live_Settings().Music_On == 1;
        }
    });
    EXPECT_EQ(Turns < frames, c.Ends);
    const bool reported =
        Log().find("Main-MsgProc(): Shutting down Lucivanta due to Monitor Powerdown") != std::string::npos;
    EXPECT_EQ(reported, c.Message == WM_SYSCOMMAND && c.Ends);
    // The accelerator keys kept their commands.
    const std::string input = c.Input;
    EXPECT_EQ(moving, input != "Enter" && input != "Space");
    EXPECT_EQ(music, input != "Ctrl+M");
    EXPECT_EQ(dialogs, input == "F1" ? std::vector<std::string>{"#143"} : std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(
    Modes, Input_Test,
    ::testing::Values(Input_Case{"lucivanta /s", "A", 'A', 0, WM_KEYDOWN, true},
                      Input_Case{"lucivanta /s", "LeftClick", 0, 0, WM_LBUTTONDOWN, true},
                      Input_Case{"lucivanta /s", "RightClick", 0, 0, WM_RBUTTONDOWN, true},
                      Input_Case{"lucivanta /s", "Escape", VK_ESCAPE, 0, WM_KEYDOWN, true},
                      Input_Case{"lucivanta /s", "AltX", 'X', Modifier_Alt, WM_KEYDOWN, true},
                      Input_Case{"lucivanta /s", "Enter", VK_RETURN, 0, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /s", "Space", VK_SPACE, 0, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /s", "F1", VK_F1, 0, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /s", "Ctrl+M", 'M', Modifier_Control, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /s", "PowerDown", 0, 0, WM_SYSCOMMAND, true},
                      Input_Case{"lucivanta /c", "A", 'A', 0, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /c", "LeftClick", 0, 0, WM_LBUTTONDOWN, false},
                      Input_Case{"lucivanta /c", "RightClick", 0, 0, WM_RBUTTONDOWN, false},
                      Input_Case{"lucivanta /c", "PowerDown", 0, 0, WM_SYSCOMMAND, false},
                      Input_Case{"lucivanta /q", "A", 'A', 0, WM_KEYDOWN, false},
                      Input_Case{"lucivanta /q", "PowerDown", 0, 0, WM_SYSCOMMAND, false}),
    [](const ::testing::TestParamInfo<Input_Case>& info) {
        std::string name = std::string(info.param.Command_Line + 11) + "_" + info.param.Input;
        for (char& ch : name)
            if (!std::isalnum(static_cast<unsigned char>(ch)))
                ch = '_';
        return name;
    });

// F1 shows the About box with the program's icon and its three lines; OK closes it, and so
// does Cancel (as Escape sends it), each on the first try.
TEST_F(Scene_Messages_Test, AboutBoxShowsItsLinesAndClosesOnOkOrCancel)
{
    std::vector<std::string> seen;
    The_Headless_Backend().Dialog_Script = [&](HWND dialog, const std::string& name) {
        char text[128] = {};
        GetWindowTextA(dialog, text, sizeof text);
        seen.push_back(name + " " + text);
        for (int id : {IDC_ABOUT_NAME, IDC_ABOUT_OWNER, IDC_ABOUT_CONTACT}) {
            GetDlgItemTextA(dialog, id, text, sizeof text);
            seen.back() += std::string("|") + text;
        }
        EXPECT_NE(GetDlgItem(dialog, IDC_ABOUT_ICON), nullptr);
        PostMessageA(dialog, WM_COMMAND, seen.size() == 1 ? IDOK : IDCANCEL, 0);
    };
    Run("lucivanta /c", 8, [&](int turn) {
        if (turn == 2 || turn == 4)
            Key(VK_F1);
    });
    const std::string about =
        "#143 About Lucivanta|Lucivanta|A layered kaleidoscope for the desktop|lucivanta@example.org";
    EXPECT_EQ(seen, (std::vector<std::string>{about, about})); // never asked twice: closed at once
    EXPECT_EQ(Turns, 8);
}

// The two "Beat Detection" lines are in the menu bar and their commands change nothing.
TEST_F(Scene_Messages_Test, BeatDetectionItemsAreShownAndDoNothing)
{
    Run("lucivanta /c", 3, [&](int turn) {
        if (turn != 2)
            return;
        HMENU menu = GetMenu(Window());
        const Settings before = Live_Settings();
        for (int id : {IDM_BEAT_DETECTION_1, IDM_BEAT_DETECTION_2}) {
            EXPECT_EQ(GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND), 0u);
            Command(id);
        }
        EXPECT_EQ(std::memcmp(&before, &Live_Settings(), sizeof before), 0);
        EXPECT_TRUE(App()->Frame_Moving);
    });
    EXPECT_EQ(Turns, 3);
}

TEST_F(Scene_Messages_Test, MenuCommandsChangeTheirSettingAndItsCheckMarkAtOnce)
{
    struct Case {
        int Command;
        uint8_t Settings::*Field;
        uint8_t Before, After;
        int Item;     // the menu item whose mark follows
        bool Checked; // its mark afterwards
    } const cases[] = {
        {IDM_SYMBOLS, &Settings::Symbols_On, 1, 0, IDM_SYMBOLS, false},
        {IDM_SYMBOLS, &Settings::Symbols_On, 0, 1, IDM_SYMBOLS, true},
        {IDM_SYMBOLS, &Settings::Symbols_On, 2, 0, IDM_SYMBOLS, false},
        {IDM_RESOLUTION_640, &Settings::Desktop_Resolution, 1, 0, IDM_RESOLUTION_640, true},
        {IDM_RESOLUTION_640, &Settings::Desktop_Resolution, 1, 0, IDM_RESOLUTION_DESKTOP, false},
        {IDM_RESOLUTION_DESKTOP, &Settings::Desktop_Resolution, 0, 1, IDM_RESOLUTION_DESKTOP, true},
        {IDM_RESOLUTION_DESKTOP, &Settings::Desktop_Resolution, 0, 1, IDM_RESOLUTION_640, false},
        {IDM_TITLES_ON, &Settings::Titles_On, 1, 0, IDM_TITLES_ON, false},
        {IDM_TITLES_DETAILED, &Settings::Titles_Detailed, 0, 1, IDM_TITLES_DETAILED, true},
        {IDM_MUSIC_ON, &Settings::Music_On, 1, 0, IDM_MUSIC_ON, false},
        {IDM_MUSIC_ON, &Settings::Music_On, 2, 1, IDM_MUSIC_ON, true},
    };
    Run("lucivanta /c", 3, [&](int turn) {
        if (turn != 2)
            return;
        Menu_Bar = GetMenu(Window());
        for (const Case& c : cases) {
            SCOPED_TRACE(c.Command);
            Live_Settings().*c.Field = c.Before;
            Command(c.Command);
            EXPECT_EQ(Live_Settings().*c.Field, c.After);
            EXPECT_EQ(Checked(c.Item), c.Checked);
        }
    });
    EXPECT_EQ(Log().find("NULL hMenu"), std::string::npos);
}

TEST_F(Scene_Messages_Test, MusicKeyWhileMaximisedTogglesMusicAndReportsTheMissingMenuBar)
{
    Give_Music();
    bool maximised = false;
    Run("lucivanta /c", 6, [&](int turn) {
        if (turn == 2)
            Key('U', Modifier_Control);
        if (turn == 3) {
            maximised = App()->Window_Maximised;
            Key('M', Modifier_Control);
        }
    });
    EXPECT_TRUE(maximised);
    EXPECT_EQ(Live_Settings().Music_On, 0);
    EXPECT_NE(Log().find("Menu::Update Menus(): NULL hMenu"), std::string::npos);
}

TEST_F(Scene_Messages_Test, PopupFpsItemAndMenuFrameRateFlipTheSameFlag)
{
    The_Headless_Backend().Popup_Choice = [](HMENU) { return UINT{IDM_TOGGLE_FPS}; };
    std::vector<bool> shown;
    Run("lucivanta /c", 6, [&](int turn) {
        if (turn == 2)
            PostMessageA(Window(), WM_CONTEXTMENU, reinterpret_cast<WPARAM>(Window()), 0);
        if (turn == 3) {
            shown.push_back(App()->Show_Stats);
            Key('F', Modifier_Control);
        }
        if (turn == 4)
            shown.push_back(App()->Show_Stats);
    });
    EXPECT_EQ(shown, (std::vector<bool>{true, false}));
}

TEST_F(Scene_Messages_Test, DefaultResetsTheLiveSettingsButNeitherStartsNorStopsMusic)
{
    Give_Music();
    Run("lucivanta /c", 4, [&](int turn) {
        if (turn != 2)
            return;
        Menu_Bar = GetMenu(Window());
        Command(IDM_MUSIC_ON); // off
        Settings& settings = Live_Settings();
        std::snprintf(settings.MP3_Folder, sizeof settings.MP3_Folder, "/elsewhere/");
        settings.Fade_Interval = 0.05;
        settings.Symbols_On = 0;
        Tracks->Last_Opened.clear();
        Command(IDM_DEFAULT);
        EXPECT_EQ(settings.Music_On, 1);
        EXPECT_EQ(settings.Fade_Interval, 0.09);
        EXPECT_EQ(std::string(settings.MP3_Folder), Data / "Lucivanta/MP3/");
        EXPECT_TRUE(Checked(IDM_MUSIC_ON));
        EXPECT_TRUE(Checked(IDM_SYMBOLS));
        EXPECT_EQ(Tracks->Last_Opened, ""); // nothing started
    });
}

TEST_F(Scene_Messages_Test, DeactivationPausesTheMusicOnlyInConfigurationMode)
{
    Give_Music();
    for (const char* command_line : {"lucivanta /c", "lucivanta /s"}) {
        SCOPED_TRACE(command_line);
        double during_pause = -1, after_resume = -1;
        Run(command_line, 5, [&](int turn) {
            if (turn == 2)
                SendMessageA(Window(), WM_ACTIVATEAPP, 0, 0);
            if (turn == 3) {
                const double before = Played();
                Clock.Advance_Milliseconds(1000);
                during_pause = Played() - before;
                SendMessageA(Window(), WM_ACTIVATEAPP, 1, 0);
                Clock.Advance_Milliseconds(1000);
                after_resume = Played() - before - during_pause;
            }
        });
        const bool pauses = std::string(command_line) == "lucivanta /c";
        EXPECT_NEAR(during_pause, pauses ? 0.0 : 1.0, 1e-6);
        EXPECT_NEAR(after_resume, 1.0, 1e-6);
        Reset_Settings_File();
        Reset_Program_Objects();
        Reset_Command_Line();
    }
}

// The user opens the Brightness dialog from the menu, drags the bar to 100, presses OK and
// leaves with Escape: a configuration run saves the new value, an unrecognised mode does not.
TEST_F(Scene_Messages_Test, BrightnessChangedThroughItsDialogIsSavedOnlyByAConfigurationRun)
{
    for (const char* command_line : {"lucivanta /c", "lucivanta /q"}) {
        SCOPED_TRACE(command_line);
        int step = 0;
        The_Headless_Backend().Dialog_Script = [&](HWND dialog, const std::string& name) {
            ASSERT_EQ(name, "BRIGHTNESSBOX");
            if (step++ == 0)
                The_Headless_Backend().Scroll(dialog, IDC_BRIGHTNESS_SCROLL, SB_THUMBPOSITION, 100);
            else
                The_Headless_Backend().Click(dialog, IDOK);
        };
        const int frames = 20;
        Run(command_line, frames, [&](int turn) {
            if (turn == 2)
                PostMessageA(Window(), WM_COMMAND, IDM_BRIGHTNESS, 0); // as the menu posts it
            if (turn == 4)
                Key(VK_ESCAPE);
        });
        EXPECT_LT(Turns, frames); // Escape ended it
        EXPECT_EQ(step, 2);
        const std::string saved = test_support::Read_File(Data / "Lucivanta/Settings.DAT");
        if (std::string(command_line) == "lucivanta /c") {
            ASSERT_EQ(saved.size(), 328u);
            EXPECT_EQ(saved.substr(56, 4), std::string(4, '\x64'));
        } else {
            EXPECT_EQ(saved, "");
        }
        std::filesystem::remove(Data / "Lucivanta/Settings.DAT");
        Reset_Settings_File();
        Reset_Command_Line();
    }
}

} // namespace
