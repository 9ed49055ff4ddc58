// The settings dialogs on a real X display, as a user drives them: opened from the menu bar
// with its mnemonics, scroll bars moved by arrow, trough and thumb presses and by keys, closed
// with Enter, Escape or OK; what they stored is read back from Settings.DAT after the run.
// Clicks land where the template puts each control, in dialog units converted from the
// dialog's own size, so a control out of its place misses.
#include "png_read.h"
#include "settings/settings.h"
#include "temp_folder.h"
#include "x_session.h"

#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace desktop_test;
using namespace test_support;

namespace {

// A dialog's window and the pixels of one dialog unit across and down.
struct Dialog {
    std::string Id;
    double Unit_X = 0;
    double Unit_Y = 0;
};

// The shared layout of the one-value dialogs: scroll bar and OK button, in dialog units.
constexpr int Bar_Left = 33, Bar_Top = 38, Bar_Width = 111, Bar_Height = 16;
constexpr int Ok_X = 129 + 25, Ok_Y = 74 + 7;
constexpr int Dialog_Width = 186, Dialog_Height = 95;

// One thing the user does: keys (xdotool names), or a press on a part of the scroll bar or OK;
// a drag takes the thumb from where `From` (0 … 1 of the range) puts it to the middle.
enum class Target { Keys, Left_Arrow, Right_Arrow, Trough_Near_Left, Trough_Near_Right, Ok, Drag };
struct Step {
    Target What;
    const char* Keys = "";
    double From = 0;
};

class Dialog_Test : public testing::Test {
protected:
    void SetUp() override
    {
        if (!Have("xdotool") || !Have("import")) {
            GTEST_SKIP() << "no xdotool or ImageMagick";
        }
        Server = std::make_unique<X_Server>("1152x864x24");
        if (Server->Name().empty()) {
            GTEST_SKIP() << "no Xvfb";
        }
    }

    std::unique_ptr<Process> Start(const std::string& arguments)
    {
        const std::string command = "DISPLAY=" + Server->Name() + " XDG_DATA_HOME=" + Data.Path().string() +
                                    " XDG_RUNTIME_DIR=" + Runtime.Path().string() +
                                    " NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM " " +
                                    arguments + " 2>" + (Data / "stderr.txt");
        return std::make_unique<Process>(std::vector<std::string>{"sh", "-c", command});
    }
    std::string X(const std::string& command) { return Server->Run(command); }
    std::string Found(const std::string& what) { return Server->Window(what); }

    // Settings > (mnemonic): the menu bar's keys reach GTK, the program's accelerators stay out.
    Dialog Open(const std::string& main, const char* mnemonic, const char* caption)
    {
        X("xdotool mousemove --window " + main + " 100 300 key alt+s");
        Sleep_Ms(400);
        X(std::string("xdotool key ") + mnemonic);
        Dialog dialog;
        dialog.Id = Found(std::string("--name '^") + caption + "$'");
        std::istringstream geometry(X("xdotool getwindowgeometry --shell " + dialog.Id));
        int width = 0, height = 0;
        for (std::string line; std::getline(geometry, line);) {
            std::sscanf(line.c_str(), "WIDTH=%d", &width);
            std::sscanf(line.c_str(), "HEIGHT=%d", &height);
        }
        dialog.Unit_X = width / double(Dialog_Width);
        dialog.Unit_Y = height / double(Dialog_Height);
        return dialog;
    }

    bool Shown(const std::string& caption)
    {
        return !X("xdotool search --onlyvisible --name '^" + caption + "$'").empty();
    }

    void Do(const Dialog& dialog, const Step& step)
    {
        const double middle = (Bar_Top + Bar_Height / 2.0) * dialog.Unit_Y;
        const double left = Bar_Left * dialog.Unit_X, right = (Bar_Left + Bar_Width) * dialog.Unit_X;
        const double arrow = Bar_Height * dialog.Unit_Y; // arrow boxes and thumb are square
        auto to = [&](double x, double y) {
            return " mousemove --window " + dialog.Id + " " + std::to_string(std::lround(x)) + " " +
                   std::to_string(std::lround(y));
        };
        auto click = [&](double x) { X("xdotool" + to(x, middle) + " click 1"); };
        switch (step.What) {
        case Target::Keys:
            X("xdotool" + to(2, 2) + " key --delay 60 " + step.Keys);
            break;
        case Target::Left_Arrow:
            click(left + arrow / 2);
            break;
        case Target::Right_Arrow:
            click(right - arrow / 2);
            break;
        case Target::Trough_Near_Left:
            click(left + arrow + 2);
            break;
        case Target::Trough_Near_Right:
            click(right - arrow - 2);
            break;
        case Target::Ok:
            X("xdotool" + to(Ok_X * dialog.Unit_X, Ok_Y * dialog.Unit_Y) + " click 1");
            break;
        case Target::Drag: {
            const double track = right - left - 2 * arrow;
            const double from = left + arrow + (track - arrow) * step.From + arrow / 2;
            const double mid = (left + right) / 2;
            X("xdotool" + to(from, middle) + " mousedown 1" + to((from + mid) / 2, middle) + to(mid, middle) +
              " mouseup 1");
            break;
        }
        }
        Sleep_Ms(150);
    }

    Settings Stored()
    {
        std::ifstream file(Data / "Lucivanta/Settings.DAT", std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        Settings record;
        if (bytes.size() == Settings_File_Size) {
            Decode_Settings(bytes.data(), record);
        }
        return record;
    }

    std::unique_ptr<X_Server> Server;
    Temp_Folder Data;
    Temp_Folder Runtime;
};

TEST_F(Dialog_Test, ScrollBarsMoveByWholeUnitsAndOnlyOkOrEnterStores)
{
    auto program = Start("/c");
    const std::string main = Found("--pid " + std::to_string(program->Id()));
    ASSERT_FALSE(main.empty()) << Read_File(Data / "stderr.txt");
    Sleep_Ms(1500);

    struct Session {
        const char* Mnemonic;
        const char* Caption;
        std::vector<Step> Steps;
    };
    const Session sessions[] = {
        // Fade speed 1 … 10000, opened at 9000: Home, then one unit per arrow, trough and key.
        {"f",
         "Fade Speed",
         {{Target::Keys, "Home"},
          {Target::Right_Arrow},
          {Target::Trough_Near_Right},
          {Target::Keys, "Right"},
          {Target::Ok}}},
        // Rotation speed 1 … 50000, opened at 12500: Escape is Cancel, Enter the default OK.
        {"r", "Rotation Speed", {{Target::Keys, "End"}, {Target::Keys, "Escape"}}},
        {"r",
         "Rotation Speed",
         {{Target::Left_Arrow},
          {Target::Trough_Near_Left},
          {Target::Keys, "Left Page_Up"},
          {Target::Keys, "Return"}}},
        // Brightness 40 … 255, opened at 204: End, a step back, the thumb dragged to the middle.
        {"b",
         "Brightness",
         {{Target::Keys, "End"},
          {Target::Left_Arrow},
          {Target::Drag, "", (254 - 40) / 215.0},
          {Target::Keys, "Return"}}},
    };
    for (const Session& session : sessions) {
        const Dialog dialog = Open(main, session.Mnemonic, session.Caption);
        ASSERT_FALSE(dialog.Id.empty()) << session.Caption << Read_File(Data / "stderr.txt");
        if (&session == &sessions[0]) {
            // The frame loop stands still while a dialog is open.
            int width = 0, height = 0;
            const auto first = Server->Shot(main, Data / "a.png", width, height);
            Sleep_Ms(600);
            EXPECT_EQ(first, Server->Shot(main, Data / "b.png", width, height)) << "frames went on";
        }
        for (const Step& step : session.Steps) {
            Do(dialog, step);
        }
        Sleep_Ms(200);
        EXPECT_FALSE(Shown(session.Caption)) << session.Caption << " did not close";
    }
    X("xdotool mousemove --window " + main + " 100 300 key Escape");
    ASSERT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
    const Settings stored = Stored();
    EXPECT_DOUBLE_EQ(stored.Fade_Interval, 4 * 0.00001);
    EXPECT_DOUBLE_EQ(stored.Rotation_Speed, 12496 * 0.00001);
    const uint32_t level = stored.Brightness & 0xFF;
    EXPECT_EQ(stored.Brightness, level * 0x01010101u);
    EXPECT_NEAR(level, (40 + 255) / 2.0, 4);
}

// The music folder is chosen through the file chooser: it opens in the folder the settings
// name, shows MP3 files first whatever the case of their names (an A.MP3 before a folder zz,
// which Enter would open instead), and the folder of the chosen file is stored with its '/'.
TEST_F(Dialog_Test, MusicFolderIsChosenThroughTheFileChooser)
{
    const std::string music = Data / "music";
    std::filesystem::create_directories(music + "/zz");
    Write_File(music + "/A.MP3", "");
    Write_File(music + "/zz/x.mp3", "");
    // A first run fills the product folder and writes the settings; the folder is set in them.
    auto first = Start("/c");
    const std::string window = Found("--pid " + std::to_string(first->Id()));
    X("xdotool mousemove --window " + window + " 100 300 key Escape");
    ASSERT_EQ(first->Wait(5000), 0) << Read_File(Data / "stderr.txt");
    Settings record = Stored();
    record.Music_On = 0;
    std::snprintf(record.MP3_Folder, sizeof record.MP3_Folder, "%s", music.c_str()); // no '/' yet
    uint8_t bytes[Settings_File_Size];
    Encode_Settings(record, bytes);
    Write_File(Data / "Lucivanta/Settings.DAT", std::string(bytes, bytes + sizeof bytes));

    auto program = Start("/c");
    const std::string main = Found("--pid " + std::to_string(program->Id()));
    ASSERT_FALSE(main.empty()) << Read_File(Data / "stderr.txt");
    Sleep_Ms(1000);
    // Settings > Music > Select Custom MP3 Folder.
    X("xdotool mousemove --window " + main + " 100 300 key alt+s");
    Sleep_Ms(400);
    X("xdotool key m");
    Sleep_Ms(400);
    X("xdotool key s");
    const std::string chooser = Found("--name '^Open$'");
    ASSERT_FALSE(chooser.empty()) << Read_File(Data / "stderr.txt");
    Sleep_Ms(1000); // the folder is read in the background
    X("xdotool mousemove --window " + chooser + " 300 300 key Return");
    Sleep_Ms(500);
    EXPECT_FALSE(Shown("Open")) << "Enter did not choose the first file";
    X("xdotool mousemove --window " + chooser + " 300 300 key Escape");
    X("xdotool mousemove --window " + main + " 100 300 key Escape");
    ASSERT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
    EXPECT_EQ(std::string(Stored().MP3_Folder), music + "/");
}

// A product folder without its pictures stops the start with an error box; a termination
// request (a daemon ending its saver) closes the box and ends the run.
TEST_F(Dialog_Test, AnErrorBoxAtStartEndsOnATerminationRequest)
{
    std::filesystem::create_directories(Data / "Lucivanta");
    auto program = Start("/s");
    ASSERT_FALSE(Found("--name '^Lucivanta$'").empty()) << Read_File(Data / "stderr.txt");
    kill(program->Id(), SIGTERM);
    EXPECT_NE(program->Wait(3000), -1) << "the box outlived the request";
}

} // namespace
