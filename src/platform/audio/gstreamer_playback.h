// Music playback through GStreamer's playbin, audio only (cover art would otherwise ask for a
// video window). Open prerolls the track (PAUSED) and waits a bounded time, so a file that
// cannot be decoded is refused before Open returns. The bus is polled, never watched, so no
// main loop is needed and nothing runs on the program's thread behind its back.
#pragma once

#include "platform/audio/playback.h"

#include <string>

class GStreamer_Playback : public Audio_Playback {
public:
    // audio_sink: a gst-launch description of the sink ("fakesink sync=true" in tests); empty
    // keeps playbin's default sink, which plays silently in real time on a machine without
    // a sound device.
    explicit GStreamer_Playback(std::string audio_sink = {}, double open_timeout_seconds = 5.0);
    ~GStreamer_Playback() override;
    GStreamer_Playback(const GStreamer_Playback&) = delete;
    GStreamer_Playback& operator=(const GStreamer_Playback&) = delete;

    bool Open(const char* path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    bool Get_Position(double* seconds) override;
    bool Get_Duration(double* seconds) override;
    Stream_Status Status() override;

    // True when GStreamer could be initialised in this process (else every Open fails).
    static bool Available();

private:
    struct Pipeline;
    Pipeline* Player = nullptr;
    std::string Audio_Sink;
    double Open_Timeout;
    Stream_Status Current = Stream_Status::Going;

    void Drain_Bus();
    void Close();
};
