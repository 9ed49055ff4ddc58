// The music object: the random pick and its title rule over real folders, and the track life
// cycle over the null playback backend driven by a hand-moved clock.
#include "log/error_log.h"
#include "media/mp3.h"
#include "media/mp3_player.h"
#include "platform/audio/null_playback.h"
#include "platform/system/message_box.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"
#include "temp_folder.h"

#include <gtest/gtest.h>

#include <cstring>

using test_support::Temp_Folder;
using test_support::Write_File;

namespace {

class MP3_Test : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = Live_Settings();
        Program_Random().Reset();
        Reset_Diagnostics();
        Tracks->Now = [this] { return Now; };
        Select_Playback_Backend(Null_Playback_Factory(Tracks));
        MP3::Reset();
        Use_Folder(Music.Path().string() + "/");
    }
    void TearDown() override
    {
        MP3::Reset();
        Select_Playback_Backend({});
        Live_Settings() = Saved;
        Program_Random().Reset();
    }
    void Use_Folder(const std::string& folder)
    {
        std::memset(Live_Settings().MP3_Folder, 0, sizeof Live_Settings().MP3_Folder);
        std::strncpy(Live_Settings().MP3_Folder, folder.c_str(), sizeof Live_Settings().MP3_Folder - 1);
    }
    std::string Pick()
    {
        char path[MP3::Path_Size] = {};
        EXPECT_EQ(MP3::Select_Random_MP3(path), 1);
        return path;
    }

    Temp_Folder Music;
    Settings Saved;
    double Now = 0.0;
    std::shared_ptr<Virtual_Tracks> Tracks = std::make_shared<Virtual_Tracks>();
    Message_Box_Recorder Reports;
};

} // namespace

TEST_F(MP3_Test, OneFileIsAlwaysPicked)
{
    Write_File(Music / "Only.MP3", "x");
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Pick(), Music / "Only.MP3");
    EXPECT_STREQ(MP3::Title, "Only");
}

TEST_F(MP3_Test, TwoFilesStartWithTheSecondAndAlternate)
{
    Write_File(Music / "b.mp3", "x"); // lower-case extensions count too
    Write_File(Music / "a.MP3", "x");
    Write_File(Music / "notes.txt", "x");
    EXPECT_EQ(Pick(), Music / "b.mp3");
    EXPECT_EQ(Pick(), Music / "a.MP3");
    EXPECT_EQ(Pick(), Music / "b.mp3");
    EXPECT_EQ(MP3::Last_MP3, 1);
}

TEST_F(MP3_Test, PicksFollowTheSharedGeneratorWithoutImmediateRepeats)
{
    for (const char* name : {"1.MP3", "2.MP3", "3.MP3", "4.MP3", "5.MP3"})
        Write_File(Music / name, "x");
    Random::srand(2024);
    Random_Generator expected;
    expected.Seed(2024);
    int last = 0;
    for (int i = 0; i < 20; ++i) {
        int k = expected.Next() % 5;
        while (k == last)
            k = expected.Next() % 5;
        last = k;
        EXPECT_EQ(Pick(), Music / (std::to_string(k + 1) + ".MP3"));
    }
}

TEST_F(MP3_Test, TitleIsTheNameWithoutItsExtensionUnlessTooShort)
{
    Write_File(Music / "Morning Song.MP3", "x");
    Pick();
    EXPECT_STREQ(MP3::Title, "Morning Song");
    std::filesystem::remove(Music / "Morning Song.MP3");
    Write_File(Music / ".mp3", "x"); // four characters: stays whole
    Pick();
    EXPECT_STREQ(MP3::Title, ".mp3");
}

TEST_F(MP3_Test, EmptyOrMissingFolderFailsWithItsReportAndKeepsTheTitle)
{
    char path[MP3::Path_Size] = "unchanged";
    EXPECT_EQ(MP3::Select_Random_MP3(path), 0);
    Use_Folder(Music / "missing/");
    EXPECT_EQ(MP3::Play_Random_MP3(), 0);
    ASSERT_EQ(Reports.Boxes.size(), 2u);
    EXPECT_EQ(Reports.Boxes[0].Text, "Select_Random_MP3(): Count_Files_In_Folder FAILED");
    EXPECT_EQ(Reports.Boxes[1].Text, "Select_Random_MP3(): Count_Files_In_Folder FAILED");
    EXPECT_STREQ(MP3::Title, "No music");
    EXPECT_STREQ(path, "unchanged");
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
}

TEST_F(MP3_Test, FolderWithoutTrailingSeparatorStillNamesTheFilesInside)
{
    Write_File(Music / "Inside.MP3", "x");
    Use_Folder(Music.Path().string());
    EXPECT_EQ(Pick(), Music / "Inside.MP3");
}

TEST_F(MP3_Test, PathsTooLongForTheBufferAreNotOffered)
{
    const std::string long_name = std::string(259 - Music.Path().string().size(), 'x') + ".MP3";
    Write_File(Music / long_name, "x");
    char path[MP3::Path_Size] = {};
    EXPECT_EQ(MP3::Select_Random_MP3(path), 0);
    Write_File(Music / "Short.MP3", "x");
    EXPECT_EQ(Pick(), Music / "Short.MP3");
}

TEST_F(MP3_Test, TrackLifeCycleOverTheNullBackend)
{
    Write_File(Music / "a.MP3", "x");
    Write_File(Music / "b.MP3", "x");
    Tracks->Durations[Music / "a.MP3"] = 3.0;
    Tracks->Durations[Music / "b.MP3"] = 2.0;
    Tracks->Duration_Unknown_For = 0.5;

    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
    EXPECT_EQ(MP3::Pause(), 1); // nothing loaded: nothing happens
    ASSERT_EQ(MP3::Play_Random_MP3(), 1);
    EXPECT_EQ(Tracks->Last_Opened, Music / "b.MP3");
    EXPECT_STREQ(MP3::Title, "b");
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Unknown); // length not known yet
    Now += 1.0;
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Playing);
    MP3::Pause();
    Now += 5.0;
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Playing);
    MP3::Resume();
    Now += 1.0;
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Finished);

    ASSERT_EQ(MP3::Play_Random_MP3(), 1); // a fresh track, never the same one twice in a row
    EXPECT_EQ(Tracks->Last_Opened, Music / "a.MP3");
    Now += 1.0;
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Playing);
    MP3::Close();
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
    EXPECT_STREQ(MP3::Title, "a"); // kept when music stops
}

TEST_F(MP3_Test, UnplayableFileLeavesNothingLoaded)
{
    Write_File(Music / "broken.MP3", "x"); // the null backend knows no duration for it
    ASSERT_EQ(MP3::Play_Random_MP3(), 1);
    EXPECT_STREQ(MP3::Title, "broken");
    EXPECT_FALSE(MP3_Player::Loaded);
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
    MP3::Resume(); // harmless
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
}
