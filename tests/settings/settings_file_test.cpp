// Loading and saving Settings.DAT: defaults, bad sizes, byte-exact round trips and failures.
#include "settings/settings_file.h"

#include "log/error_log.h"
#include "platform/system/message_box.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <sys/stat.h>

using test_support::Env_Guard;
using test_support::Read_File;
using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

class Settings_File_Test : public ::testing::Test {
protected:
    Settings_File_Test()
    {
        std::filesystem::create_directory(Folder / "Lucivanta");
        Reset_Diagnostics();
        Reset_Settings_File();
    }
    ~Settings_File_Test() override { Reset_Settings_File(); }

    std::string Bytes() const { return Read_File(File_Path); }

    Temp_Folder Folder;
    Env_Guard Data_Home{"XDG_DATA_HOME", Folder.Path().string()};
    Message_Box_Recorder Reports; // the log is closed, so every report is a box
    Settings_File& File = Program_Settings_File();
    std::string File_Path = Folder / "Lucivanta/Settings.DAT";
};

TEST_F(Settings_File_Test, PathAndDefaultFolderFollowTheDataDirectory)
{
    EXPECT_EQ(std::string(File.Path), File_Path);
    File.Set_Defaults();
    EXPECT_EQ(std::string(File.Settings.MP3_Folder), Folder / "Lucivanta/MP3/");
}

TEST_F(Settings_File_Test, NoFileGivesDefaultsWithoutAReport)
{
    std::memset(static_cast<void*>(&File.Settings), 0x55, sizeof File.Settings);
    EXPECT_TRUE(File.Load());
    EXPECT_TRUE(Reports.Boxes.empty());
    EXPECT_EQ(File.Settings.Fade_Interval, 0.09);
    EXPECT_EQ(File.Settings.Brightness, 0xCCCCCCCCu);
    EXPECT_EQ(File.Settings.Plasma_Texture_Size, 256);
}

TEST_F(Settings_File_Test, WrongSizesAreRefusedWithDefaults)
{
    for (std::size_t size : {327u, 329u, 0u}) {
        Reports.Boxes.clear();
        Write_File(File_Path, std::string(size, '\x7F'));
        EXPECT_FALSE(File.Load());
        ASSERT_EQ(Reports.Boxes.size(), 1u);
        EXPECT_EQ(Reports.Boxes[0].Text, "Load(): Invalid settings filesize");
        EXPECT_EQ(File.Settings.Sine_Wave_Variance, 3);
        EXPECT_EQ(Bytes().size(), size); // the bad file stays until the next save
    }
}

TEST_F(Settings_File_Test, SavedDefaultsHaveTheStatedBytes)
{
    File.Set_Defaults();
    ASSERT_TRUE(File.Save());
    const std::string bytes = Bytes();
    ASSERT_EQ(bytes.size(), 328u);
    double fade = 0;
    std::memcpy(&fade, bytes.data() + 8, 8);
    EXPECT_EQ(fade, 0.09);
    EXPECT_EQ(bytes[0], 0);
    EXPECT_EQ(bytes.substr(24, 2), std::string("\x01\x01", 2));
    EXPECT_EQ(bytes.substr(28, 8), std::string("\x04\0\0\0\x03\0\0\0", 8));
    EXPECT_EQ(bytes.substr(52, 12), std::string("\0\x01\x01\0\xCC\xCC\xCC\xCC\0\x01\0\0", 12));
    EXPECT_EQ(bytes.substr(64, Folder.Path().string().size()), Folder.Path().string());
    // No temporary file is left beside it.
    int entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(Folder / "Lucivanta"))
        ++entries;
    EXPECT_EQ(entries, 1);
}

TEST_F(Settings_File_Test, AnyFileRoundTripsByteForByte)
{
    std::string original(328, '\0');
    for (std::size_t i = 0; i < original.size(); ++i)
        original[i] = static_cast<char>(i * 37 + 11); // padding bytes non-zero, values out of range
    Write_File(File_Path, original);
    ASSERT_TRUE(File.Load());
    EXPECT_TRUE(Reports.Boxes.empty());
    std::filesystem::remove(File_Path);
    ASSERT_TRUE(File.Save());
    EXPECT_EQ(Bytes(), original);
}

TEST_F(Settings_File_Test, SaveIntoAMissingFolderReportsTheCreateFailure)
{
    std::filesystem::remove_all(Folder / "Lucivanta");
    File.Set_Defaults();
    EXPECT_FALSE(File.Save());
    ASSERT_EQ(Reports.Boxes.size(), 1u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Save CreateFile FILE FAILED");
}

TEST_F(Settings_File_Test, SaveReplacesAnOlderFileWhole)
{
    Write_File(File_Path, std::string(400, 'z'));
    File.Set_Defaults();
    ASSERT_TRUE(File.Save());
    EXPECT_EQ(Bytes().size(), 328u);
    ASSERT_TRUE(File.Load());
    EXPECT_EQ(File.Settings.Rotation_Speed, 0.125);
}

TEST_F(Settings_File_Test, DefaultsKeepPaddingAndResetTheFolder)
{
    File.Settings.Padding_4[0] = 9;
    File.Settings.Padding_324[3] = 7;
    std::snprintf(File.Settings.MP3_Folder, sizeof File.Settings.MP3_Folder, "/music/");
    File.Set_Defaults();
    EXPECT_EQ(File.Settings.Padding_4[0], 9);
    EXPECT_EQ(File.Settings.Padding_324[3], 7);
    EXPECT_EQ(std::string(File.Settings.MP3_Folder), Folder / "Lucivanta/MP3/");
}

TEST_F(Settings_File_Test, AFolderInPlaceOfTheFileCountsAsMissing)
{
    std::filesystem::create_directory(File_Path);
    EXPECT_TRUE(File.Load());
    EXPECT_EQ(File.Settings.Plasma_Contrast, 4);
    EXPECT_FALSE(File.Save());
    EXPECT_EQ(Reports.Boxes.back().Text, "Save CreateFile FILE FAILED");
}

TEST_F(Settings_File_Test, APipeInPlaceOfTheFileIsReportedAndLeftAlone)
{
    ASSERT_EQ(::mkfifo(File_Path.c_str(), 0600), 0);
    EXPECT_FALSE(File.Load());
    EXPECT_EQ(File.Settings.Plasma_Contrast, 4);
    EXPECT_FALSE(File.Save());
    ASSERT_EQ(Reports.Boxes.size(), 2u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Load() CreateFile OPEN READ FAILED");
    EXPECT_EQ(Reports.Boxes[1].Text, "Save() CreateFile APPEND TO FILE FAILED");
    EXPECT_EQ(std::filesystem::status(File_Path).type(), std::filesystem::file_type::fifo);
}

// A save keeps the file's permissions; a file its owner made read-only is reported and kept.
TEST_F(Settings_File_Test, SaveKeepsTheModeAndLeavesAReadOnlyFileAlone)
{
    namespace fs = std::filesystem;
    Write_File(File_Path, std::string(328, '\x01'));
    fs::permissions(File_Path, fs::perms::owner_read | fs::perms::owner_write);
    File.Set_Defaults();
    ASSERT_TRUE(File.Save());
    EXPECT_EQ(fs::status(File_Path).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    const std::string saved = Bytes();
    fs::permissions(File_Path, fs::perms::owner_read | fs::perms::group_read);
    File.Settings.Fade_Interval = 0.05;
    EXPECT_FALSE(File.Save());
    ASSERT_EQ(Reports.Boxes.size(), 1u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Save() CreateFile APPEND TO FILE FAILED");
    EXPECT_EQ(Bytes(), saved);
    EXPECT_EQ(fs::status(File_Path).permissions(), fs::perms::owner_read | fs::perms::group_read);
}

// A symbolic link keeps pointing at the file that gets the settings; nothing is left beside
// either. A link that points nowhere gets its file made.
TEST_F(Settings_File_Test, SaveWritesThroughASymbolicLink)
{
    namespace fs = std::filesystem;
    fs::create_directory(Folder / "kept");
    fs::create_symlink("../kept/settings.bin", File_Path);
    File.Set_Defaults();
    ASSERT_TRUE(File.Save());
    ASSERT_TRUE(File.Save());
    EXPECT_TRUE(fs::is_symlink(File_Path));
    EXPECT_EQ(Read_File(Folder / "kept/settings.bin").size(), 328u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder / "kept"), fs::directory_iterator()), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator(Folder / "Lucivanta"), fs::directory_iterator()), 1);
    ASSERT_TRUE(File.Load());
    EXPECT_EQ(File.Settings.Fade_Interval, 0.09);
}

} // namespace
