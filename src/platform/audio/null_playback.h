// A playback backend without sound for tests and headless runs: it "plays" virtual files of
// known duration against an injectable clock, so a track's life (playing, paused, ended) can
// be driven step by step without waiting in real time.
#pragma once

#include "platform/audio/playback.h"

#include <functional>
#include <map>
#include <memory>
#include <string>

// The virtual files the null backend knows, shared by every playback object made from it.
struct Virtual_Tracks {
    std::function<double()> Now;             // seconds on the clock that drives playback
    std::map<std::string, double> Durations; // path → length in seconds
    double Default_Duration = -1.0;          // for other paths; negative refuses them
    double Duration_Unknown_For = 0.0;       // seconds of play before the length is known
    std::string Last_Opened;                 // the path of the last successful Open
};

class Null_Playback : public Audio_Playback {
public:
    explicit Null_Playback(std::shared_ptr<Virtual_Tracks> tracks);

    bool Open(const char* path) override;
    void Run() override;
    void Pause() override;
    void Stop() override;
    bool Get_Position(double* seconds) override;
    bool Get_Duration(double* seconds) override;
    Stream_Status Status() override;

private:
    std::shared_ptr<Virtual_Tracks> Tracks;
    bool Loaded = false;
    bool Running = false;
    double Length = 0.0;
    double Played_Before_Run = 0.0; // seconds played up to the last Run
    double Run_Started_At = 0.0;

    double Played() const;
};

// A factory for Select_Playback_Backend that makes null playback objects over these tracks.
Playback_Factory Null_Playback_Factory(std::shared_ptr<Virtual_Tracks> tracks);
