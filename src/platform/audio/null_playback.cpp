// Null backend of the music player: virtual tracks on an injectable clock.
#include "platform/audio/null_playback.h"

#include <algorithm>
#include <utility>

Null_Playback::Null_Playback(std::shared_ptr<Virtual_Tracks> tracks) : Tracks(std::move(tracks)) {}

bool Null_Playback::Open(const char* path)
{
    Loaded = false;
    Running = false;
    Played_Before_Run = 0.0;
    if (!path)
        return false;
    const auto known = Tracks->Durations.find(path);
    Length = known != Tracks->Durations.end() ? known->second : Tracks->Default_Duration;
    if (Length < 0.0)
        return false;
    Loaded = true;
    Tracks->Last_Opened = path;
    return true;
}

double Null_Playback::Played() const
{
    double played = Played_Before_Run;
    if (Running)
        played += Tracks->Now() - Run_Started_At;
    return std::min(played, Length);
}

void Null_Playback::Run()
{
    if (!Loaded || Running)
        return;
    Running = true;
    Run_Started_At = Tracks->Now();
}

void Null_Playback::Pause()
{
    if (!Loaded || !Running)
        return;
    Played_Before_Run = Played();
    Running = false;
}

void Null_Playback::Stop()
{
    Running = false;
    Played_Before_Run = 0.0;
}

bool Null_Playback::Get_Position(double* seconds)
{
    if (!Loaded)
        return false;
    *seconds = Played();
    return true;
}

bool Null_Playback::Get_Duration(double* seconds)
{
    if (!Loaded || Played() < Tracks->Duration_Unknown_For)
        return false;
    *seconds = Length;
    return true;
}

Audio_Playback::Stream_Status Null_Playback::Status()
{
    if (!Loaded)
        return Stream_Status::Failed;
    return Played() >= Length ? Stream_Status::Ended : Stream_Status::Going;
}

Playback_Factory Null_Playback_Factory(std::shared_ptr<Virtual_Tracks> tracks)
{
    return [tracks] { return std::make_unique<Null_Playback>(tracks); };
}
