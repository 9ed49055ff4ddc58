// Both playback backends: the GStreamer one against short MP3s made by the test and an audio
// sink that needs no sound device, and the null one against a hand-driven clock.
#include "platform/audio/gstreamer_playback.h"
#include "platform/audio/null_playback.h"
#include "temp_folder.h"
#include "test_tones.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using test_support::Temp_Folder;
using Status = Audio_Playback::Stream_Status;

namespace {

const char* const Silent_Real_Time_Sink = "fakesink sync=true";

// Polls until the condition holds or the time runs out; true when it held.
template <typename Condition> bool Eventually(Condition condition, double seconds = 5.0)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

} // namespace

TEST(GStreamer_Playback, RefusesWhatCannotBePlayedBeforeOpenReturns)
{
    Temp_Folder folder;
    test_support::Write_File(folder / "text.mp3", "This is not music at all, just words.\n");
    test_support::Write_File(folder / "empty.mp3", "");
    std::string noise(20000, '\0');
    for (size_t i = 0; i < noise.size(); ++i)
        noise[i] = static_cast<char>((i * 7919u) >> 3);
    test_support::Write_File(folder / "noise.mp3", noise);

    for (const char* name : {"text.mp3", "empty.mp3", "noise.mp3", "missing.mp3"}) {
        GStreamer_Playback playback(Silent_Real_Time_Sink);
        EXPECT_FALSE(playback.Open((folder / name).c_str())) << name;
        double seconds = 0;
        EXPECT_FALSE(playback.Get_Position(&seconds)) << name;
        EXPECT_EQ(playback.Status(), Status::Failed) << name;
        playback.Run(); // harmless with nothing loaded
    }
}

TEST(GStreamer_Playback, PlaysInRealTimeAndEndsWithEndOfStream)
{
    Temp_Folder folder;
    const std::string track = folder / "tone.mp3";
    ASSERT_TRUE(test_support::Make_Tone_MP3(track, 20)); // about 0.46 s

    // The injected sink, and the default one, which on a machine without a sound device
    // falls back to a silent sink that still keeps time.
    for (const char* sink : {Silent_Real_Time_Sink, ""}) {
        GStreamer_Playback playback(sink);
        ASSERT_TRUE(playback.Open(track.c_str())) << sink;
        const auto started = std::chrono::steady_clock::now();
        playback.Run();
        EXPECT_EQ(playback.Status(), Status::Going);
        ASSERT_TRUE(Eventually([&] { return playback.Status() == Status::Ended; })) << sink;
        const double took = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        EXPECT_GT(took, 0.3) << sink; // the tone is played, not swallowed at once

        double duration = 0;
        if (playback.Get_Duration(&duration)) {
            EXPECT_NEAR(duration, 0.46, 0.1);
        }
    }
}

TEST(GStreamer_Playback, StopHaltsAndRunStartsAgain)
{
    Temp_Folder folder;
    const std::string track = folder / "tone.mp3";
    ASSERT_TRUE(test_support::Make_Tone_MP3(track, 30));

    GStreamer_Playback playback(Silent_Real_Time_Sink);
    ASSERT_TRUE(playback.Open(track.c_str()));
    playback.Run();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    playback.Stop();
    std::this_thread::sleep_for(std::chrono::milliseconds(800)); // longer than the track
    EXPECT_EQ(playback.Status(), Status::Going);
    playback.Run();
    EXPECT_TRUE(Eventually([&] { return playback.Status() == Status::Ended; }));
}

TEST(Null_Playback, PlaysVirtualTracksOnTheInjectedClock)
{
    double now = 100.0;
    auto tracks = std::make_shared<Virtual_Tracks>();
    tracks->Now = [&] { return now; };
    tracks->Durations["/music/a.MP3"] = 3.0;
    tracks->Duration_Unknown_For = 0.5;
    Null_Playback playback(tracks);

    EXPECT_FALSE(playback.Open("/music/unknown.MP3")); // no default duration: refused
    EXPECT_EQ(playback.Status(), Status::Failed);
    ASSERT_TRUE(playback.Open("/music/a.MP3"));
    EXPECT_EQ(tracks->Last_Opened, "/music/a.MP3");

    double position = -1, duration = -1;
    playback.Run();
    now += 0.25;
    EXPECT_TRUE(playback.Get_Position(&position));
    EXPECT_DOUBLE_EQ(position, 0.25);
    EXPECT_FALSE(playback.Get_Duration(&duration)); // not known yet
    now += 1.0;
    playback.Pause();
    now += 10.0; // paused time does not count
    playback.Run();
    now += 0.5;
    EXPECT_TRUE(playback.Get_Position(&position));
    EXPECT_DOUBLE_EQ(position, 1.75);
    EXPECT_TRUE(playback.Get_Duration(&duration));
    EXPECT_DOUBLE_EQ(duration, 3.0);
    EXPECT_EQ(playback.Status(), Status::Going);
    now += 5.0;
    EXPECT_EQ(playback.Status(), Status::Ended);
    EXPECT_TRUE(playback.Get_Position(&position));
    EXPECT_DOUBLE_EQ(position, 3.0);

    playback.Stop(); // back to the start, halted
    now += 1.0;
    EXPECT_EQ(playback.Status(), Status::Going);
    EXPECT_TRUE(playback.Get_Position(&position));
    EXPECT_DOUBLE_EQ(position, 0.0);
}

TEST(Null_Playback, DefaultDurationAcceptsAnyPathThroughTheSelectedBackend)
{
    double now = 0.0;
    auto tracks = std::make_shared<Virtual_Tracks>();
    tracks->Now = [&] { return now; };
    tracks->Default_Duration = 2.0;
    Select_Playback_Backend(Null_Playback_Factory(tracks));
    auto playback = Create_Playback();
    Select_Playback_Backend({});
    ASSERT_TRUE(playback->Open("/anything.MP3"));
    double duration = 0;
    EXPECT_TRUE(playback->Get_Duration(&duration));
    EXPECT_DOUBLE_EQ(duration, 2.0);
}
