// The music player's playback service: one track at a time, opened by path, started, paused,
// resumed and stopped, with its position and duration in seconds. The player polls it once
// per frame; nothing here calls back into the program.
//
// Backends are chosen like drivers: GStreamer playbin by default, a null backend that plays
// virtual files against a clock for tests. Each track gets a fresh playback object.
#pragma once

#include <functional>
#include <memory>

class Audio_Playback {
public:
    // How the stream stands, as far as the backend has heard.
    enum class Stream_Status { Going, Ended, Failed };

    virtual ~Audio_Playback() = default;

    // Loads the file and decides, before returning, whether it can be played. False leaves
    // nothing loaded; the object may then be thrown away.
    virtual bool Open(const char* path) = 0;
    virtual void Run() = 0;
    virtual void Pause() = 0;
    // Halts playback but keeps the track loaded; a later Run starts it from the beginning.
    virtual void Stop() = 0;

    // Seconds; false when the backend cannot tell (yet), which is not an error.
    virtual bool Get_Position(double* seconds) = 0;
    virtual bool Get_Duration(double* seconds) = 0;

    // Ended once the end of the stream was reached, whatever the estimated duration says;
    // Failed when playback broke off after a successful Open.
    virtual Stream_Status Status() = 0;
};

using Playback_Factory = std::function<std::unique_ptr<Audio_Playback>()>;

// Replaces the backend for every playback object made from now on; an empty factory selects
// the default (GStreamer with the default audio sink).
void Select_Playback_Backend(Playback_Factory factory);
std::unique_ptr<Audio_Playback> Create_Playback();
