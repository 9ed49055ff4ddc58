// The record of the playback service that the music object drives: one track at a time, a
// fresh playback object for every track, and the track state polled once per frame.
//
// Track states: 0 playing, 1 finished, 2 nothing loaded (no track, or one that cannot be
// played), 3 position or duration not known (treated by the frame as still playing).
#pragma once

#include "platform/audio/playback.h"
#include "platform/win_types.h"

#include <memory>

class MP3_Player {
public:
    static constexpr int Track_Playing = 0;
    static constexpr int Track_Finished = 1;
    static constexpr int Track_Not_Loaded = 2;
    static constexpr int Track_Unknown = 3;

    static inline std::unique_ptr<Audio_Playback> Playback; // the track's pipeline, or none
    static inline bool Loaded = false;                      // the track can be played
    static inline bool Initialised = false;

    static void Initialise();
    // Stops and lets go of the track; harmless when nothing is open.
    static void Shutdown();
    // S_OK whether or not the file can be played (Loaded tells); E_FAIL without a backend.
    static HRESULT Open(const char* path);
    static void Run();
    static void Pause();
    static void Stop();
    static int Track_State();
};
