// The X server dying under the program, in each way the program can be using it: the run ends
// in order (exit 0, the log closed, the saver flag gone, the settings saved only where the
// configuration window saves them), never left spinning on the dead connection.
#include "temp_folder.h"
#include "x_session.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace desktop_test;
using test_support::Read_File;
using test_support::Temp_Folder;

namespace {

struct Lost_Case {
    const char* Name;
    const char* Arguments; // "{parent}" stands for the id of a window of the test's own
    // What shows the program is using the display: a window found by this xdotool search
    // ("--pid {pid}"), or frames filling this window ("root", "{parent}").
    const char* Search;
    const char* Filled;
    bool Empty_Product_Folder; // the start stops with an error box
    bool Saves_Settings;
};

const Lost_Case Cases[] = {
    {"ConfigurationWindow", "/c", "--pid {pid}", "", false, true},
    {"DaemonWindow", "--root", "", "root", false, false},
    {"Preview", "/p {parent}", "", "{parent}", false, false},
    {"ErrorBoxAtStart", "/s", "--name '^Lucivanta$'", "", true, false},
};

void PrintTo(const Lost_Case& c, std::ostream* out)
{
    *out << c.Name;
}

std::string Replaced(std::string text, const std::string& name, const std::string& value)
{
    for (std::size_t at; (at = text.find(name)) != std::string::npos;) {
        text.replace(at, name.size(), value);
    }
    return text;
}

class Lost_Display : public testing::TestWithParam<Lost_Case> {};

TEST_P(Lost_Display, EndsTheRunInOrder)
{
    const Lost_Case& c = GetParam();
    X_Server x("800x600x24");
    if (x.Name().empty() || !Have("xdotool") || !Have("import")) {
        GTEST_SKIP() << "no Xvfb, xdotool or ImageMagick";
    }
    Temp_Folder data, runtime;
    if (c.Empty_Product_Folder) {
        std::filesystem::create_directories(data / "Lucivanta");
    }
    Plain_Window parent(x, 320, 240);
    // In decimal, as /p takes it.
    const std::string parent_id = std::to_string(std::stoul(parent.Id(), nullptr, 16));
    const auto in_case = [&](const std::string& text) { return Replaced(text, "{parent}", parent_id); };
    Process program({"sh", "-c",
                     "DISPLAY=" + x.Name() + " XDG_DATA_HOME=" + data.Path().string() +
                         " XDG_RUNTIME_DIR=" + runtime.Path().string() +
                         " LUCIVANTA_TRACE=1 NO_AT_BRIDGE=1 GSETTINGS_BACKEND=memory exec " LUCIVANTA_PROGRAM
                         " " +
                         in_case(c.Arguments) + " 2>" + (data / "stderr.txt")});
    if (*c.Search != '\0') {
        ASSERT_FALSE(x.Window(Replaced(c.Search, "{pid}", std::to_string(program.Id())), 20).empty());
    }
    if (*c.Filled != '\0') {
        int width = 0, height = 0;
        ASSERT_FALSE(x.Shot_When_Filled(in_case(c.Filled), data / "shot.png", width, height).empty())
            << Read_File(data / "stderr.txt") << Read_File(data / "Lucivanta/error_log.txt");
    }
    Sleep_Ms(500);

    x.Kill();
    EXPECT_EQ(program.Wait(5000), 0) << Read_File(data / "stderr.txt");
    const std::string log = Read_File(data / "Lucivanta/error_log.txt");
    EXPECT_EQ(log.find("FinalCleanup") != std::string::npos, !c.Empty_Product_Folder) << log;
    EXPECT_EQ(std::filesystem::exists(data / "Lucivanta/Settings.DAT"), c.Saves_Settings);
    EXPECT_TRUE(std::filesystem::is_empty(runtime.Path())) << "the saver flag is left behind";
}

INSTANTIATE_TEST_SUITE_P(Each_Use, Lost_Display, testing::ValuesIn(Cases),
                         [](const testing::TestParamInfo<Lost_Case>& info) { return info.param.Name; });

} // namespace
