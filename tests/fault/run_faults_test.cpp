// The whole program under the faults of a desktop: a broken product folder or log, music files
// that are not music, termination signals at any moment, and two instances at once. Each
// scenario checks the report, the exit status and that nothing on disk was lost.
#include "fault_fixture.h"
#include "test_tones.h"

#include <csignal>
#include <functional>
#include <random>
#include <sys/stat.h>
#include <thread>

namespace fault {
namespace {

using test_support::Read_File;
using test_support::Write_File;

bool Product_Complete(const fs::path& product)
{
    for (const char* part : {"Lucivanta.bmp", "Images", "Backdrop", "MP3"})
        if (!fs::exists(product / part))
            return false;
    return true;
}

bool Partial_Copy_Left(const fs::path& data_home)
{
    for (const fs::directory_entry& entry : fs::directory_iterator(data_home))
        if (entry.path().filename().string().starts_with("Lucivanta.partial-"))
            return true;
    return false;
}

// Scenarios in which the program ends by itself, before or right after it starts drawing.
struct Start_Case {
    const char* Name;
    std::function<void(Fault_Test&)> Make;
    const char* Report; // in the log, or on standard error where the log cannot be written
    std::function<void(Fault_Test&)> Check;
};

const Start_Case Start_Cases[] = {
    {"ProductFolderCannotBeMade", // a file where the data folder should be
     [](Fault_Test& t) {
         fs::remove_all(t.Data_Home);
         Write_File(t.Data_Home.string(), "not a folder");
     },
     "Error: Save_Error_Log_To_File() CreateFile FILE FAILED",
     [](Fault_Test& t) { EXPECT_EQ(Read_File(t.Data_Home.string()), "not a folder"); }},
    {"LogoMissing",
     [](Fault_Test& t) {
         t.Install_Product();
         fs::remove(t.Product() / "Lucivanta.bmp");
         Write_File(t.Settings_Path().string(), User_Settings());
     },
     "Main-OneTimeSceneInit(): D3DTextr_CreateTextureFromFile",
     [](Fault_Test& t) { EXPECT_EQ(Read_File(t.Settings_Path().string()), User_Settings()); }},
    {"LogIsANamedPipe",
     [](Fault_Test& t) {
         t.Install_Product();
         ASSERT_EQ(::mkfifo((t.Product() / "error_log.txt").c_str(), 0600), 0);
     },
     "Error: Save_Error_Log_To_File() CreateFile FILE FAILED",
     [](Fault_Test& t) { EXPECT_TRUE(fs::is_fifo(t.Product() / "error_log.txt")); }},
};

void PrintTo(const Start_Case& scenario, std::ostream* out)
{
    *out << scenario.Name;
}

class Start_Faults : public Fault_Test, public ::testing::WithParamInterface<Start_Case> {};

TEST_P(Start_Faults, ProgramReportsAndEndsByItself)
{
    const Start_Case& scenario = GetParam();
    scenario.Make(*this);
    const Program_End end = Start({"/c"})->Wait_For_End(Start_Bound);
    Expect_Orderly_End(end, Flag());
    const std::string reports =
        (fs::is_regular_file(Product() / "error_log.txt") ? Log() : "") + end.Error_Output;
    EXPECT_NE(reports.find(scenario.Report), std::string::npos) << reports;
    scenario.Check(*this);
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Start_Faults, ::testing::ValuesIn(Start_Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

TEST_F(Fault_Test, EveryTerminationSignalSavesTheSettingsAndClearsTheFlag)
{
    for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
        SCOPED_TRACE(strsignal(signal));
        fs::remove_all(Product());
        Install_Product();
        const auto start = std::chrono::steady_clock::now();
        const Program_End end = Run_Then_Signal({"/c"}, signal);
        Expect_Orderly_End(end, Flag());
        EXPECT_EQ(Read_File(Settings_Path().string()).size(), 328u) << "configuration run not saved";
        RecordProperty(strsignal(signal), std::to_string((std::chrono::steady_clock::now() - start) / 1ms));
    }
}

TEST_F(Fault_Test, FirstStartMakesTheProductFolderAndAPreviousLogIsStartedAfresh)
{
    Program_End end = Run_Then_Signal({"/s"}, SIGTERM);
    Expect_Orderly_End(end, Flag());
    EXPECT_TRUE(Product_Complete(Product()));
    EXPECT_FALSE(fs::exists(Settings_Path())) << "only a configuration run saves";

    Write_File((Product() / "error_log.txt").string(), std::string(40000, 'x')); // over its limit
    end = Run_Then_Signal({"/s"}, SIGTERM);
    Expect_Orderly_End(end, Flag());
    const std::string log = Log();
    EXPECT_LT(log.size(), 1000u);
    EXPECT_NE(log.find("Error Log File"), std::string::npos) << log;
}

TEST_F(Fault_Test, MusicFilesThatAreNotMusicArePassedOverInSilence)
{
    Install_Product();
    const fs::path music = Product() / "MP3";
    Write_File((music / "notes.mp3").string(), "these are my notes, not music\n");
    Write_File((music / "empty.MP3").string(), "");
    ASSERT_TRUE(test_support::Make_Tone_MP3((music / "short.mp3").string(), 40));
    const std::string whole = Read_File((music / "short.mp3").string());
    Write_File((music / "short.mp3").string(), whole.substr(0, whole.size() / 3)); // truncated
    // Defaults: music on, from this folder.
    auto run = Start({"/c"});
    ASSERT_TRUE(run->Wait_Until([&] { return fs::exists(Flag()); }, Start_Bound));
    std::this_thread::sleep_for(1500ms); // the short track ends and others are picked
    run->Send(SIGTERM);
    const Program_End end = run->Wait_For_End(End_Bound);
    Expect_Orderly_End(end, Flag());
    const std::string log = Log();
    EXPECT_EQ(log.find("FAILED"), std::string::npos) << log;
    EXPECT_EQ(Read_File((music / "notes.mp3").string()), "these are my notes, not music\n");
}

TEST_F(Fault_Test, SignalsAtRandomMomentsEndTheRunInOrder)
{
    std::mt19937 random(15);
    const int signals[] = {SIGTERM, SIGINT, SIGHUP};
    for (int round = 0; round < 8; ++round) {
        const bool first_start = round % 2 == 0;
        const int delay = std::uniform_int_distribution<int>(0, 1200)(random);
        const int signal = signals[round % 3];
        SCOPED_TRACE("round " + std::to_string(round) + ": " + strsignal(signal) + " after " +
                     std::to_string(delay) + " ms" + (first_start ? ", first start" : ""));
        fs::remove_all(Product());
        if (!first_start) {
            Install_Product();
            Write_File(Settings_Path().string(), User_Settings());
        }
        auto run = Start({"/c"});
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
        run->Send(signal);
        const Program_End end = run->Wait_For_End(End_Bound + Start_Bound);
        ASSERT_TRUE(end.Ended);
        // Only before the program's own code runs may the signal's default action end it.
        if (end.Signal == signal) {
            EXPECT_FALSE(fs::exists(Product() / "error_log.txt")) << "killed after it started";
        } else {
            Expect_Orderly_End(end, Flag());
        }
        EXPECT_FALSE(fs::exists(Flag()));
        EXPECT_FALSE(Partial_Copy_Left(Data_Home));
        if (fs::exists(Product())) {
            EXPECT_TRUE(Product_Complete(Product()));
        }
        if (!first_start) {
            EXPECT_EQ(Read_File(Settings_Path().string()), User_Settings());
        }
    }
}

TEST_F(Fault_Test, ASecondSaverLeavesAtOnceAndTwoConfigurationRunsBothSave)
{
    Install_Product();
    auto first = Start({"/s"});
    ASSERT_TRUE(first->Wait_Until([&] { return fs::exists(Flag()); }, Start_Bound));
    std::this_thread::sleep_for(200ms);
    const std::string log = Log();
    const Program_End second = Start({"/s"})->Wait_For_End(Start_Bound);
    EXPECT_EQ(second.Exit_Code, 0) << second.Error_Output;
    EXPECT_EQ(Log().substr(0, log.size()), log) << "the second saver touched the first one's log";
    EXPECT_TRUE(fs::exists(Flag()));
    first->Send(SIGTERM);
    Expect_Orderly_End(first->Wait_For_End(End_Bound), Flag());

    Write_File(Settings_Path().string(), User_Settings());
    auto one = Start({"/c"});
    ASSERT_TRUE(one->Wait_Until([&] { return fs::exists(Flag()); }, Start_Bound));
    auto two = Start({"/c"});
    std::this_thread::sleep_for(500ms);
    two->Send(SIGTERM); // a request before its window exists waits for it
    Expect_Orderly_End(two->Wait_For_End(Start_Bound), "");
    EXPECT_TRUE(fs::exists(Flag())) << "the second run cleared the first one's flag";
    one->Send(SIGTERM);
    Expect_Orderly_End(one->Wait_For_End(End_Bound), Flag());
    EXPECT_EQ(Read_File(Settings_Path().string()), User_Settings());
}

} // namespace
} // namespace fault
