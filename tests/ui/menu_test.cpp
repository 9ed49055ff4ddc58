// The menu bar's check marks from the settings, damaged values included, and the report when
// the window has no menu bar.
#include "log/error_log.h"
#include "platform/system/message_box.h"
#include "platform/window/window_system.h"
#include "resources/resource_ids.h"
#include "settings/settings_file.h"
#include "ui/menu.h"

#include <gtest/gtest.h>

namespace {

class Menu_Test : public ::testing::Test {
protected:
    Menu_Test()
    {
        Install_Window_System(nullptr);
        Reset_Settings_File();
        Reset_Diagnostics();
        WNDCLASSA window_class{};
        window_class.lpfnWndProc = DefWindowProcA;
        window_class.lpszClassName = "Menu Test";
        RegisterClassA(&window_class);
    }
    ~Menu_Test() override
    {
        Install_Window_System(nullptr);
        Reset_Settings_File();
    }
    HWND Make(HMENU menu)
    {
        return CreateWindowExA(0, "Menu Test", "", WS_OVERLAPPEDWINDOW, 0, 0, 300, 300, nullptr, menu,
                               nullptr, nullptr);
    }
    Message_Box_Recorder Boxes;
};

TEST_F(Menu_Test, MusicAndSymbolsAreCheckedOnlyForOneTheTitlesForAnythingButZero)
{
    struct Case {
        uint8_t Music, Symbols, Desktop, Titles, Detailed;
        bool Music_Mark, Symbols_Mark, Desktop_Mark, Titles_Mark, Detailed_Mark;
    } const cases[] = {
        {1, 1, 0, 1, 1, true, true, false, true, true},
        {0, 0, 1, 0, 0, false, false, true, false, false},
        {2, 7, 2, 2, 255, false, false, true, true, true}, // a damaged file
    };
    HMENU menu = LoadMenuA(nullptr, MAKEINTRESOURCEA(IDR_MENU));
    HWND window = Make(menu);
    auto mark = [&](int id) { return GetMenuState(menu, static_cast<UINT>(id), MF_BYCOMMAND) == MF_CHECKED; };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "case " << (&c - cases));
        Settings& settings = Live_Settings();
        settings.Music_On = c.Music;
        settings.Symbols_On = c.Symbols;
        settings.Desktop_Resolution = c.Desktop;
        settings.Titles_On = c.Titles;
        settings.Titles_Detailed = c.Detailed;
        Menu.Update_Menus(window);
        EXPECT_EQ(mark(IDM_MUSIC_ON), c.Music_Mark);
        EXPECT_EQ(mark(IDM_SYMBOLS), c.Symbols_Mark);
        EXPECT_EQ(mark(IDM_RESOLUTION_DESKTOP), c.Desktop_Mark);
        EXPECT_EQ(mark(IDM_RESOLUTION_640), !c.Desktop_Mark);
        EXPECT_EQ(mark(IDM_TITLES_ON), c.Titles_Mark);
        EXPECT_EQ(mark(IDM_TITLES_DETAILED), c.Detailed_Mark);
    }
    EXPECT_TRUE(Boxes.Boxes.empty());
}

TEST_F(Menu_Test, AWindowWithoutMenuBarIsReported)
{
    Menu.Update_Menus(Make(nullptr));
    ASSERT_EQ(Boxes.Boxes.size(), 1u);
    EXPECT_EQ(Boxes.Boxes[0].Text, "Menu::Update Menus(): NULL hMenu");
}

} // namespace
