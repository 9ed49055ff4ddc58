// The program on a real X display: an Xvfb server of the tests' own (-displayfd, so parallel
// runs never collide; -noreset), input through xdotool and screenshots read back. Skipped
// where Xvfb or xdotool is missing.
#include "png_read.h"
#include "temp_folder.h"
#include "x_session.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

using namespace desktop_test;
using namespace test_support;

namespace {

class Desktop_Test : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (Have("xdotool") && Have("import")) {
            Server = new X_Server;
            Display_Name = Server->Name();
        }
    }
    static void TearDownTestSuite()
    {
        delete Server;
        Server = nullptr;
    }
    void SetUp() override
    {
        if (Display_Name.empty()) {
            GTEST_SKIP() << "no Xvfb, xdotool or ImageMagick";
        }
    }

    // The program with a fresh product folder, on the tests' display.
    std::unique_ptr<Process> Start(const std::string& arguments, const std::string& environment = "")
    {
        const std::string command = environment + " DISPLAY=" + Display_Name +
                                    " XDG_DATA_HOME=" + Data.Path().string() +
                                    " XDG_RUNTIME_DIR=" + Runtime.Path().string() +
                                    " NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM " " +
                                    arguments + " 2>" + (Data / "stderr.txt");
        return std::make_unique<Process>(std::vector<std::string>{"sh", "-c", command});
    }
    std::string X(const std::string& command) { return Server->Run(command); }
    // The program's visible window, waited for.
    std::string Window_Of(const Process& program)
    {
        return Window_Found("--pid " + std::to_string(program.Id()));
    }
    std::string Window_Found(const std::string& what) { return Server->Window(what, 20); }
    // A screenshot of a window as RGB triples.
    std::vector<uint8_t> Shot(const std::string& window, int& width, int& height)
    {
        const std::string path = Data / "shot.png";
        X("import -window " + window + " " + path + " 2>/dev/null");
        return Read_Png_Rgb(path, width, height);
    }

    // A screenshot once the window shows more than a few colours, waited for.
    std::vector<uint8_t> Shot_When_Shown(const std::string& window, int& width, int& height)
    {
        std::vector<uint8_t> shot;
        for (int waited = 0; waited < 30000; waited += 500) {
            shot = Shot(window, width, height);
            // Below the menu bar, whose text alone has many shades.
            const std::size_t menu_bytes = static_cast<std::size_t>(width) * 3 * std::min(height / 4, 40);
            if (shot.size() > menu_bytes && Colours({shot.begin() + menu_bytes, shot.end()}) > 50) {
                break;
            }
            Sleep_Ms(500);
        }
        return shot;
    }

    // A window's place and size on the screen, "WxH+X+Y", frame of a window manager excluded.
    std::string Geometry_Of(const std::string& window)
    {
        return X("xwininfo -id " + window +
                 " | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} /Width:/{w=$2}"
                 " /Height:/{h=$2} END{printf \"%sx%s+%s+%s\", w, h, x, y}'");
    }
    // Waits until the window has that geometry; answers the last one seen.
    std::string Geometry_Becomes(const std::string& window, const std::string& wanted)
    {
        std::string geometry;
        for (int waited = 0; waited < 5000 && (geometry = Geometry_Of(window)) != wanted; waited += 100) {
            Sleep_Ms(100);
        }
        return geometry;
    }

    static X_Server* Server;
    static std::string Display_Name;
    Temp_Folder Data;
    Temp_Folder Runtime;
};

X_Server* Desktop_Test::Server = nullptr;
std::string Desktop_Test::Display_Name;

TEST_F(Desktop_Test, ConfigurationWindowShowsMovingFramesAndEscapeEndsTheRun)
{
    auto program = Start("/c");
    const std::string window = Window_Of(*program);
    ASSERT_FALSE(window.empty()) << Read_File(Data / "stderr.txt");
    // The scene fades in from black.
    int width = 0, height = 0;
    const std::vector<uint8_t> first = Shot_When_Shown(window, width, height);
    Sleep_Ms(500);
    int width2 = 0, height2 = 0;
    const std::vector<uint8_t> second = Shot(window, width2, height2);
    ASSERT_GT(width, 100);
    EXPECT_GT(Colours(first), 50u) << "the window shows no picture";
    EXPECT_NE(first, second) << "the picture does not move";
    // Without a window manager the keyboard focus follows the pointer.
    X("xdotool mousemove --window " + window + " 50 80 key Escape");
    EXPECT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
}

TEST_F(Desktop_Test, PreviewDrawsIntoAForeignWindowFollowsItsSizeAndEndsWhenItsOwnerIsKilled)
{
    // Another program's window to preview in; /p takes its id in decimal.
    auto owner = std::make_unique<Plain_Window>(*Server, 160, 120);
    ASSERT_FALSE(owner->Id().empty());
    const std::string id = std::to_string(std::stoul(owner->Id(), nullptr, 16));
    auto program = Start("/p " + id);
    int width = 0, height = 0;
    EXPECT_GT(Colours(Shot_When_Shown(id, width, height)), 50u) << Read_File(Data / "stderr.txt");
    owner->Resize(320, 200);
    Sleep_Ms(800);
    const std::vector<uint8_t> resized = Shot(id, width, height);
    ASSERT_EQ(width, 320);
    ASSERT_EQ(height, 200);
    // The child grew with its parent: its far corner shows the picture too.
    std::vector<uint8_t> corner;
    for (int y = 120; y < 200; ++y) {
        corner.insert(corner.end(), resized.begin() + (y * 320 + 160) * 3,
                      resized.begin() + (y * 320 + 320) * 3);
    }
    EXPECT_GT(Colours(corner), 30u);
    owner.reset(); // its owner's connection ends, as a kill -9 ends it: the window goes without a word
    EXPECT_EQ(program->Wait(3000), 0) << Read_File(Data / "stderr.txt");
}

TEST_F(Desktop_Test, PreviewOfAnIdThatIsNoWindowFailsWithoutAWindow)
{
    auto program = Start("/p 12345");
    EXPECT_NE(program->Wait(10000), -1);
    EXPECT_TRUE(Window_Of(*program).empty());
}

TEST_F(Desktop_Test, FullScreenCoversTheScreenWithOrWithoutAWindowManagerAndAKeyEndsItUnsaved)
{
    for (const bool window_manager : {false, true}) {
        SCOPED_TRACE(window_manager ? "openbox" : "no window manager");
        std::unique_ptr<Process> manager;
        if (window_manager) {
            if (!Have("openbox")) {
                continue;
            }
            manager = std::make_unique<Process>(
                std::vector<std::string>{"sh", "-c", "DISPLAY=" + Display_Name + " exec openbox"});
            // A manager that comes up after our window was mapped keeps the focus on its own
            // window, and the key below would go there: wait until it manages the screen.
            for (int waited = 0;
                 waited < 10000 &&
                 X("xprop -root _NET_SUPPORTING_WM_CHECK").find("window id") == std::string::npos;
                 waited += 100) {
                Sleep_Ms(100);
            }
        }
        auto program = Start("/s");
        const std::string window = Window_Of(*program);
        ASSERT_FALSE(window.empty()) << Read_File(Data / "stderr.txt");
        EXPECT_EQ(Geometry_Becomes(window, "1024x768+0+0"), "1024x768+0+0");
        int width = 0, height = 0;
        EXPECT_GT(Colours(Shot_When_Shown("root", width, height)), 50u) << "the screen shows no picture";
        // Every frame shows the picture: none is black in between.
        for (int shot = 0; shot < 4; ++shot) {
            Sleep_Ms(120);
            EXPECT_GT(Colours(Shot("root", width, height)), 50u) << "a black frame";
        }
        X("xdotool mousemove 500 400 key x");
        EXPECT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
        EXPECT_FALSE(std::filesystem::exists(Data / "Lucivanta/Settings.DAT"));
    }
}

// Also on a display of two device pixels a point: the program's coordinates are device pixels.
TEST_F(Desktop_Test, MaximiseCoversTheScreenWithoutMenuAndRestoreBringsTheWindowBackAtEachScale)
{
    for (const char* scale : {"1", "2"}) {
        SCOPED_TRACE(std::string("GDK_SCALE=") + scale);
        auto program = Start("/c", std::string("GDK_SCALE=") + scale);
        const std::string window = Window_Of(*program);
        ASSERT_FALSE(window.empty()) << Read_File(Data / "stderr.txt");
        const std::string windowed = Geometry_Becomes(window, "512x512+256+128");
        ASSERT_EQ(windowed, "512x512+256+128");
        // The menu bar is light; the scene below it and the whole maximised window are dark.
        const auto top_row_light = [&] {
            int width = 0, height = 0;
            const std::vector<uint8_t> shot = Shot(window, width, height);
            return shot.size() > 30u * width * 3 && shot[(10 * width + 5) * 3] > 128;
        };
        EXPECT_TRUE(top_row_light());
        X("xdotool mousemove --window " + window + " 50 80 key ctrl+u");
        EXPECT_EQ(Geometry_Becomes(window, "1024x768+0+0"), "1024x768+0+0");
        EXPECT_FALSE(top_row_light()) << "the menu bar is still shown";
        X("xdotool mousemove 500 400 key ctrl+u");
        EXPECT_EQ(Geometry_Becomes(window, windowed), windowed);
        EXPECT_TRUE(top_row_light());
        X("xdotool mousemove --window " + window + " 50 80 key Escape");
        EXPECT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
    }
}

// Light pixels (the menu, the frame-rate text) in a block of a picture of `width` columns.
std::size_t Light_Pixels(const std::vector<uint8_t>& rgb, int width, int left, int top, int right, int bottom)
{
    std::size_t light = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 3;
            light += at + 2 < rgb.size() && rgb[at] > 150 && rgb[at + 1] > 150 && rgb[at + 2] > 150;
        }
    }
    return light;
}

TEST_F(Desktop_Test, PopupMenuFrameRateTextAboutAndResizeInTheConfigurationWindow)
{
    auto program = Start("/c");
    const std::string window = Window_Of(*program);
    ASSERT_FALSE(window.empty()) << Read_File(Data / "stderr.txt");
    ASSERT_EQ(Geometry_Becomes(window, "512x512+256+128"), "512x512+256+128");
    int width = 0, height = 0;
    // Light pixels in a block of a screenshot (the shot is taken before its width is read).
    const auto light = [&](const std::string& of, int left, int top, int right, int bottom) {
        const std::vector<uint8_t> shot = Shot(of, width, height);
        return Light_Pixels(shot, width, left, top, right, bottom);
    };
    const auto text_pixels = [&] { return light(window, 0, 28, 200, 42); };
    const auto popup_pixels = [&] { return light("root", 366, 288, 416, 320); };
    // The client area is dark once the first frame is shown.
    std::size_t without_text = text_pixels();
    for (int waited = 0; waited < 10000 && without_text > 30; waited += 200) {
        Sleep_Ms(200);
        without_text = text_pixels();
    }

    // The popup opens where the right button came up, is painted, and takes the keys: its fifth
    // item shows the frame rate. The loop goes on after it.
    X("xdotool mousemove --window " + window + " 100 150 click 3");
    Sleep_Ms(800);
    EXPECT_GT(popup_pixels(), 1000u) << "no popup shown";
    X("xdotool key Down Down Down Down Down Return");
    Sleep_Ms(800);
    EXPECT_GT(text_pixels(), without_text + 30) << "no frame-rate text";
    X("xdotool mousemove --window " + window + " 50 80 key ctrl+f");
    Sleep_Ms(800);
    EXPECT_LT(text_pixels(), without_text + 30) << "Ctrl+F leaves the frame-rate text";

    // Escape closes the popup without a choice.
    X("xdotool mousemove --window " + window + " 100 150 click 3");
    Sleep_Ms(800);
    X("xdotool key Escape");
    Sleep_Ms(500);
    EXPECT_LT(popup_pixels(), 100u) << "the popup stays";

    // F1 opens About; Escape closes it.
    X("xdotool mousemove --window " + window + " 50 80 key F1");
    EXPECT_FALSE(Window_Found("--name 'About Lucivanta'").empty());
    X("xdotool key Escape");
    Sleep_Ms(800);
    EXPECT_EQ(X("xdotool search --onlyvisible --name 'About Lucivanta'"), "");

    // A larger window renders more pixels: the picture reaches its far corner.
    X("xdotool windowsize " + window + " 700 400");
    ASSERT_EQ(Geometry_Becomes(window, "700x400+256+128"), "700x400+256+128");
    std::vector<uint8_t> corner;
    for (int waited = 0; waited < 20000 && Colours(corner) <= 30; waited += 500) {
        Sleep_Ms(500);
        const std::vector<uint8_t> shot = Shot(window, width, height);
        corner.clear();
        for (int y = 300; y < std::min(height, 400); ++y) {
            corner.insert(corner.end(), shot.begin() + (y * width + 520) * 3,
                          shot.begin() + (y * width + 700) * 3);
        }
    }
    EXPECT_GT(Colours(corner), 30u);
    X("xdotool mousemove --window " + window + " 50 80 key Escape");
    EXPECT_EQ(program->Wait(5000), 0) << Read_File(Data / "stderr.txt");
}

} // namespace
