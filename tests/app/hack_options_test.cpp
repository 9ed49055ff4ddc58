// The screen-saver daemons' command line: which switches the program's own parser then sees,
// the daemon's window, and what is refused.
#include "app/hack_options.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

std::string Joined(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments)
        text += (text.empty() ? "" : " ") + argument;
    return text;
}

TEST(Hack_Options, TurnIntoTheSwitchesTheyStandFor)
{
    struct Case {
        std::vector<std::string> Arguments;
        const char* Environment; // $XSCREENSAVER_WINDOW
        const char* Switches;
        bool Daemon_Window;
        uint32_t Window;
    };
    const Case cases[] = {
        {{"lucivanta", "/s"}, "0x10", "lucivanta /s", false, 0}, // switches keep their meaning
        {{"lucivanta", "-S"}, nullptr, "lucivanta -S", false, 0},
        {{"lucivanta"}, nullptr, "lucivanta", false, 0},
        {{"lucivanta", "--root"}, "0x2a00007", "lucivanta /s", true, 0x2a00007},
        {{"lucivanta", "-root"}, "44040199", "lucivanta /s", true, 44040199},
        {{"lucivanta", "--root"}, nullptr, "lucivanta /s", true, 0}, // the root window
        {{"lucivanta", "--root"}, "", "lucivanta /s", true, 0},
        {{"lucivanta", "--window-id", "0x1F"}, nullptr, "lucivanta /p 31", false, 0},
        {{"lucivanta", "-window-id", "77"}, nullptr, "lucivanta /p 77", false, 0},
        {{"lucivanta", "--window-id=0X1f"}, nullptr, "lucivanta /p 31", false, 0},
        // The window id wins, and then a broken variable does not matter.
        {{"lucivanta", "--root", "--window-id", "9"}, "garbage", "lucivanta /p 9", false, 0},
    };
    for (const Case& c : cases) {
        const Hack_Options options = Parse_Hack_Options(c.Arguments, c.Environment);
        const std::string name = Joined(c.Arguments);
        EXPECT_EQ(options.What, Hack_Options::Run) << name << ": " << options.Error;
        EXPECT_EQ(Joined(options.Arguments), c.Switches) << name;
        EXPECT_EQ(options.Daemon_Window, c.Daemon_Window) << name;
        EXPECT_EQ(options.Window, c.Window) << name;
    }
}

TEST(Hack_Options, HelpVersionAndRefusals)
{
    struct Case {
        std::vector<std::string> Arguments;
        const char* Environment;
        Hack_Options::Action What;
        const char* Error_Part;
    };
    const Case cases[] = {
        {{"lucivanta", "--help"}, nullptr, Hack_Options::Show_Help, ""},
        {{"lucivanta", "--root", "--help"}, "garbage", Hack_Options::Show_Help, ""},
        {{"lucivanta", "--version"}, nullptr, Hack_Options::Show_Version, ""},
        {{"lucivanta", "--fullscreen"}, nullptr, Hack_Options::Refuse, "unknown option --fullscreen"},
        {{"lucivanta", "--help", "--nonsense"}, nullptr, Hack_Options::Refuse, "--nonsense"},
        {{"lucivanta", "--root"}, "garbage", Hack_Options::Refuse, "XSCREENSAVER_WINDOW"},
        {{"lucivanta", "--root", "/c"}, nullptr, Hack_Options::Refuse, "does not go with /c"},
        {{"lucivanta", "--window-id"}, nullptr, Hack_Options::Refuse, "--window-id needs"},
        {{"lucivanta", "--window-id", "/s"}, nullptr, Hack_Options::Refuse, "--window-id needs"},
    };
    for (const Case& c : cases) {
        const Hack_Options options = Parse_Hack_Options(c.Arguments, c.Environment);
        EXPECT_EQ(options.What, c.What) << Joined(c.Arguments);
        EXPECT_NE(options.Error.find(c.Error_Part), std::string::npos) << options.Error;
    }
}

TEST(Hack_Options, WindowIdsAreHexOrDecimalXIds)
{
    struct Case {
        const char* Text;
        bool Valid;
        uint32_t Window;
    };
    const Case cases[] = {
        {"0x2a00007", true, 0x2a00007},
        {"0X2A00007", true, 0x2a00007},
        {"123", true, 123},
        {"0x1FFFFFFF", true, 0x1FFFFFFF},
        {"0x20000000", false, 0},
        {"0", false, 0},
        {"0x", false, 0},
        {"", false, 0},
        {"-5", false, 0},
        {" 12", false, 0},
        {"12 ", false, 0},
        {"0x12g", false, 0},
        {"1e3", false, 0},
        {"99999999999999999999", false, 0},
    };
    for (const Case& c : cases) {
        uint32_t window = 0;
        EXPECT_EQ(Parse_Window_Id(c.Text, window), c.Valid) << '"' << c.Text << '"';
        EXPECT_EQ(window, c.Window) << '"' << c.Text << '"';
    }
}

} // namespace

// The program itself: usage on standard output for --help, on standard error with exit 1 for
// what it refuses, before it touches the product folder.
TEST(Hack_Options, ProgramAnswersAndRefusesBeforeItStarts)
{
    struct Case {
        const char* Command;
        int Exit_Code;
        bool Usage_On_Stdout, Usage_On_Stderr;
    };
    const Case cases[] = {
        {"--help", 0, true, false},
        {"--bogus", 1, false, true},
        {"--root", 1, false, true}, // with XSCREENSAVER_WINDOW=garbage below
    };
    test_support::Temp_Folder folder;
    for (const Case& c : cases) {
        const std::string out = folder / "out", err = folder / "err";
        const std::string command = "XDG_DATA_HOME=" + folder.Path().string() +
                                    " XSCREENSAVER_WINDOW=garbage " LUCIVANTA_PROGRAM " " + c.Command + " >" +
                                    out + " 2>" + err;
        const int status = std::system(command.c_str());
        EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, c.Exit_Code) << c.Command;
        EXPECT_EQ(test_support::Read_File(out).find("usage:") != std::string::npos, c.Usage_On_Stdout);
        EXPECT_EQ(test_support::Read_File(err).find("usage:") != std::string::npos, c.Usage_On_Stderr);
    }
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Lucivanta"));
}
