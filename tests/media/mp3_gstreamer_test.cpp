// The music object against real GStreamer: short MP3s made by the test, played through an
// audio sink that keeps real time without a sound device.
#include "media/mp3.h"
#include "media/mp3_player.h"
#include "platform/audio/gstreamer_playback.h"
#include "platform/system/random.h"
#include "settings/settings_file.h"
#include "temp_folder.h"
#include "test_tones.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

using test_support::Temp_Folder;

namespace {

class MP3_GStreamer : public ::testing::Test {
protected:
    void SetUp() override
    {
        Saved = Live_Settings();
        Program_Random().Reset();
        Select_Playback_Backend([] { return std::make_unique<GStreamer_Playback>("fakesink sync=true"); });
        MP3::Reset();
        const std::string folder = Music.Path().string() + "/";
        std::strncpy(Live_Settings().MP3_Folder, folder.c_str(), sizeof Live_Settings().MP3_Folder - 1);
    }
    void TearDown() override
    {
        MP3::Reset();
        Select_Playback_Backend({});
        Live_Settings() = Saved;
        Program_Random().Reset();
    }
    double Position()
    {
        double seconds = -1.0;
        MP3_Player::Playback->Get_Position(&seconds);
        return seconds;
    }
    static void Sleep(int milliseconds)
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }

    Temp_Folder Music;
    Settings Saved;
};

} // namespace

TEST_F(MP3_GStreamer, TrackPlaysPausesResumesAndFinishes)
{
    ASSERT_TRUE(test_support::Make_Tone_MP3(Music / "Tone.MP3", 40)); // about 0.93 s
    ASSERT_EQ(MP3::Play_Random_MP3(), 1);
    EXPECT_STREQ(MP3::Title, "Tone");
    ASSERT_TRUE(MP3_Player::Loaded);
    Sleep(250);
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Playing);

    MP3::Pause();
    Sleep(50);
    const double paused_at = Position();
    EXPECT_GT(paused_at, 0.1);
    Sleep(400);
    EXPECT_NEAR(Position(), paused_at, 0.03);
    EXPECT_NE(MP3::Track_State(), MP3_Player::Track_Finished);

    MP3::Resume();
    Sleep(100);
    EXPECT_GT(Position(), paused_at);
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int state = MP3::Track_State();
    while (state != MP3_Player::Track_Finished && std::chrono::steady_clock::now() < give_up) {
        EXPECT_TRUE(state == MP3_Player::Track_Playing || state == MP3_Player::Track_Unknown) << state;
        Sleep(20);
        state = MP3::Track_State();
    }
    EXPECT_EQ(state, MP3_Player::Track_Finished);
}

TEST_F(MP3_GStreamer, FileThatIsNotMusicLeavesStateTwo)
{
    test_support::Write_File(Music / "Fake.mp3", "Just some text pretending to be a song.\n");
    ASSERT_EQ(MP3::Play_Random_MP3(), 1); // picked, but it cannot be played
    EXPECT_STREQ(MP3::Title, "Fake");
    EXPECT_FALSE(MP3_Player::Loaded);
    EXPECT_EQ(MP3::Track_State(), MP3_Player::Track_Not_Loaded);
}
