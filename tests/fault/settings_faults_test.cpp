// The settings file as a careless user or a hostile file system leaves it, through a whole
// configuration run ended by a termination request: the run's report, its orderly end, and
// what is on disk afterwards.
#include "fault_fixture.h"

#include <csignal>
#include <cstring>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

namespace fault {
namespace {

using test_support::Read_File;
using test_support::Write_File;

double Double_At(const std::string& bytes, std::size_t offset)
{
    double value = 0;
    if (bytes.size() >= offset + 8)
        std::memcpy(&value, &bytes[offset], 8);
    return value;
}

// All 0xFF: NaN doubles and floats, -1 integers, booleans that are neither 0 nor 1, a folder
// name without its terminating zero.
std::string Damaged_Record()
{
    return std::string(328, '\xFF');
}

// Finite values far outside every range the dialogs produce.
std::string Extreme_Record()
{
    std::string record = User_Settings();
    for (std::size_t offset : {8u, 16u, 40u}) {
        const double huge = offset == 16 ? -1e308 : 1e308;
        std::memcpy(&record[offset], &huge, 8);
    }
    const int32_t big = 0x7FFFFFFF;
    for (std::size_t offset : {28u, 32u, 60u})
        std::memcpy(&record[offset], &big, 4);
    const float huge = 3e38f;
    std::memcpy(&record[48], &huge, 4);
    record[55] = 1; // random plasma: it writes contrast and interference itself
    return record;
}

struct Settings_Case {
    const char* Name;
    std::function<void(const fs::path& settings, const fs::path& home)> Make;
    const char* Report; // a line the log must hold, or ""
    std::function<void(const fs::path& settings, const fs::path& home)> Check;
    long File_Size_Limit = 0;
};

const Settings_Case Cases[] = {
    {"Missing" /* defaults, saved at the end */, [](const fs::path&, const fs::path&) {}, "",
     [](const fs::path& settings, const fs::path&) {
         const std::string saved = Read_File(settings.string());
         EXPECT_EQ(saved.size(), 328u);
         EXPECT_EQ(Double_At(saved, 8), 0.09);
     }},
    {"DamagedNaNs" /* used safely and kept */,
     [](const fs::path& settings, const fs::path&) { Write_File(settings.string(), Damaged_Record()); }, "",
     [](const fs::path& settings, const fs::path&) {
         EXPECT_EQ(Read_File(settings.string()), Damaged_Record());
     }},
    {"DamagedHugeValues",
     [](const fs::path& settings, const fs::path&) { Write_File(settings.string(), Extreme_Record()); }, "",
     [](const fs::path& settings, const fs::path&) { EXPECT_EQ(Read_File(settings.string()).size(), 328u); }},
    {"WrongSize" /* defaults, replaced at the end */,
     [](const fs::path& settings, const fs::path&) { Write_File(settings.string(), std::string(327, 'x')); },
     "Load(): Invalid settings filesize",
     [](const fs::path& settings, const fs::path&) {
         EXPECT_EQ(Double_At(Read_File(settings.string()), 8), 0.09);
     }},
    {"Folder" /* left alone with what it holds */,
     [](const fs::path& settings, const fs::path&) {
         fs::create_directory(settings);
         Write_File((settings / "keep").string(), "kept");
     },
     "Save CreateFile FILE FAILED", // a folder is no existing settings file: the create fails
     [](const fs::path& settings, const fs::path&) {
         EXPECT_EQ(Read_File((settings / "keep").string()), "kept");
     }},
    {"NamedPipe" /* refused without waiting */,
     [](const fs::path& settings, const fs::path&) { ASSERT_EQ(::mkfifo(settings.c_str(), 0600), 0); },
     "Save() CreateFile APPEND TO FILE FAILED",
     [](const fs::path& settings, const fs::path&) { EXPECT_TRUE(fs::is_fifo(settings)); }},
    {"ReadOnly" /* not written, mode kept */,
     [](const fs::path& settings, const fs::path&) {
         Write_File(settings.string(), User_Settings());
         fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
     },
     "Save() CreateFile APPEND TO FILE FAILED",
     [](const fs::path& settings, const fs::path&) {
         EXPECT_EQ(Read_File(settings.string()), User_Settings());
         // Mode bits, not access: as root a 0444 file still opens for writing.
         EXPECT_EQ(fs::status(settings).permissions(),
                   fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
     }},
    {"SymbolicLink" /* the target gets the settings */,
     [](const fs::path& settings, const fs::path& home) {
         Write_File((home / "elsewhere.dat").string(), User_Settings());
         fs::create_symlink(home / "elsewhere.dat", settings);
     },
     "",
     [](const fs::path& settings, const fs::path& home) {
         EXPECT_TRUE(fs::is_symlink(settings));
         EXPECT_EQ(Read_File((home / "elsewhere.dat").string()), User_Settings());
     }},
    {"FullFileSystem" /* the old file stays whole */,
     [](const fs::path& settings, const fs::path&) { Write_File(settings.string(), User_Settings()); },
     "Save() WriteFile FAILED",
     [](const fs::path& settings, const fs::path&) {
         EXPECT_EQ(Read_File(settings.string()), User_Settings());
         for (const fs::directory_entry& entry : fs::directory_iterator(settings.parent_path()))
             EXPECT_FALSE(entry.path().filename().string().starts_with("Settings.DAT."))
                 << "temporary file left: " << entry.path();
     },
     300},
};

void PrintTo(const Settings_Case& scenario, std::ostream* out)
{
    *out << scenario.Name;
}

class Settings_Faults : public Fault_Test, public ::testing::WithParamInterface<Settings_Case> {};

TEST_P(Settings_Faults, ConfigurationRunEndsInOrderAndLosesNothing)
{
    const Settings_Case& scenario = GetParam();
    Install_Product();
    scenario.Make(Settings_Path(), Home.Path());
    const Program_End end = Run_Then_Signal({"/c"}, SIGTERM, scenario.File_Size_Limit);
    Expect_Orderly_End(end, Flag());
    // A log that cannot grow shows its reports as message boxes, here on standard error.
    const std::string reports = Log() + end.Error_Output;
    EXPECT_NE(reports.find(scenario.Report), std::string::npos) << reports;
    EXPECT_EQ(reports.find("FrameMove"), std::string::npos) << reports;
    scenario.Check(Settings_Path(), Home.Path());
}

INSTANTIATE_TEST_SUITE_P(Scenarios, Settings_Faults, ::testing::ValuesIn(Cases),
                         [](const auto& info) { return std::string(info.param.Name); });

} // namespace
} // namespace fault
